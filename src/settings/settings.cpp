#include "settings/settings.h"

#include <charconv>
#include <optional>

namespace rd {

namespace {

// Decimal, or hexadecimal after "$" or "0x"; one sign may lead. Anything
// else (a second sign, a sign after "$" or "0x"), or a number outside 32
// bits, is no integer.
std::optional<std::int32_t> ParseInt(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.starts_with("$")) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  // Unsigned: from_chars then takes digits only, no sign of its own.
  std::uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size() || magnitude > UINT32_MAX) return std::nullopt;
  std::int64_t value = static_cast<std::int64_t>(magnitude);
  if (negative) value = -value;
  // A hexadecimal colour may be written with all 32 bits.
  if (base == 16 && !negative && value > INT32_MAX) value -= std::int64_t{1} << 32;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

class TReader {
 public:
  TReader(const TIniFile& ini, const char* section) : ini_(ini), section_(section) {}
  std::int32_t Int(const char* key, std::int32_t fallback) const {
    const std::optional<std::string> v = ini_.Get(section_, key);
    if (!v) return fallback;
    return ParseInt(*v).value_or(fallback);
  }
  bool Bool(const char* key, bool fallback) const { return Int(key, fallback ? 1 : 0) != 0; }
  std::string Text(const char* key, const std::string& fallback) const {
    return ini_.Get(section_, key).value_or(fallback);
  }

 private:
  const TIniFile& ini_;
  const char* section_;
};

class TWriter {
 public:
  TWriter(TIniFile& ini, const char* section) : ini_(ini), section_(section) {}
  void Int(const char* key, std::int64_t value) { ini_.Set(section_, key, std::to_string(value)); }
  void Bool(const char* key, bool value) { ini_.Set(section_, key, value ? "1" : "0"); }
  void Text(const char* key, const std::string& value) { ini_.Set(section_, key, value); }

 private:
  TIniFile& ini_;
  const char* section_;
};

}  // namespace

int TabWidthOf(int value) { return value == 2 || value == 8 ? value : 4; }

TextCode CodeTypeOf(int value) {
  switch (value) {
    case 0: return TextCode::Auto;
    case 2: return TextCode::Euc;
    case 3: return TextCode::Utf8;
    default: return TextCode::Sjis;
  }
}

TSettings ReadSettings(const TIniFile& ini, const TSettingsBase& base) {
  TSettings s;
  const TReader editor(ini, "Editor");
  TEditorSettings& e = s.Editor;
  e.FontName = editor.Text("FontName", base.FontName);
  e.FontSize = editor.Int("FontSize", base.FontSize);
  e.FontColor = editor.Int("FontColor", base.FontColor);
  e.BackColor = editor.Int("BackColor", base.BackColor);
  e.InsColor = editor.Int("InsColor", 16768477);
  e.MovColor = editor.Int("MovColor", 14548957);
  e.UpdColor = editor.Int("UpdColor", 14540287);
  e.FindColor = editor.Int("FindColor", 16711680);
  e.TabIndent = TabWidthOf(editor.Int("TabIndent", base.TabIndent));
  e.TabShow = editor.Bool("TabShow", true);
  e.DSpcShow = editor.Bool("DSpcShow", true);
  e.RetShow = editor.Bool("RetShow", false);
  const bool v = editor.Bool("VScroll", false);
  const bool h = editor.Bool("HScroll", false);
  e.ScrollBars = v && h ? TScrollBars::ssBoth
                 : v    ? TScrollBars::ssVertical
                 : h    ? TScrollBars::ssHorizontal
                        : TScrollBars::ssNone;
  e.RulerShow = editor.Bool("RulerShow", true);
  e.RowNumShow = editor.Bool("RowNumShow", true);
  e.FreeCur = editor.Bool("FreeCur", true);
  e.CodeType = CodeTypeOf(editor.Int("CodeType", 1));
  e.UpdateDlg = editor.Bool("UpdateDlg", false);

  const TReader check(ini, "Check");
  s.Check.TrimLR = check.Bool("TrimLR", false);
  s.Check.TrimR = check.Bool("TrimR", true);
  s.Check.Blank = check.Bool("Blank", true);
  s.Check.Text = check.Bool("Text", false);
  s.Check.FMove = check.Bool("FMove", true);
  s.AddRow = TReader(ini, "Excel").Int("AddRow", 5);

  const TReader form(ini, "Form");
  s.Form.Maximized = form.Bool("Maximized", false);
  s.Form.H = form.Int("H", 500);
  s.Form.W = form.Int("W", 600);
  s.Form.Top = form.Int("Top", base.ScreenHeight / 2 - 250);
  s.Form.Left = form.Int("Left", base.ScreenWidth / 2 - 300);
  s.Form.EditTate = form.Bool("EditTate", true);
  return s;
}

void WriteSettings(const TSettings& s, TIniFile& ini) {
  TWriter editor(ini, "Editor");
  const TEditorSettings& e = s.Editor;
  editor.Text("FontName", "\"" + e.FontName + "\"");
  editor.Int("FontSize", e.FontSize);
  editor.Int("FontColor", e.FontColor);
  editor.Int("BackColor", e.BackColor);
  editor.Int("TabIndent", e.TabIndent);
  editor.Bool("TabShow", e.TabShow);
  editor.Bool("DSpcShow", e.DSpcShow);
  editor.Bool("RetShow", e.RetShow);
  editor.Bool("VScroll", e.ScrollBars == TScrollBars::ssVertical || e.ScrollBars == TScrollBars::ssBoth);
  editor.Bool("HScroll", e.ScrollBars == TScrollBars::ssHorizontal || e.ScrollBars == TScrollBars::ssBoth);
  editor.Bool("RulerShow", e.RulerShow);
  editor.Bool("RowNumShow", e.RowNumShow);
  editor.Bool("FreeCur", e.FreeCur);
  editor.Int("InsColor", e.InsColor);
  editor.Int("MovColor", e.MovColor);
  editor.Int("UpdColor", e.UpdColor);
  editor.Int("CodeType", static_cast<int>(e.CodeType));
  editor.Bool("UpdateDlg", e.UpdateDlg);

  TWriter check(ini, "Check");
  check.Bool("TrimLR", s.Check.TrimLR);
  check.Bool("TrimR", s.Check.TrimR);
  check.Bool("Blank", s.Check.Blank);
  check.Bool("Text", s.Check.Text);
  check.Bool("FMove", s.Check.FMove);
  TWriter(ini, "Excel").Int("AddRow", s.AddRow);

  TWriter form(ini, "Form");
  form.Bool("Maximized", s.Form.Maximized);
  if (s.Form.Maximized) return;
  form.Int("Top", s.Form.Top);
  form.Int("Left", s.Form.Left);
  form.Int("W", s.Form.W);
  form.Int("H", s.Form.H);
}

}  // namespace rd
