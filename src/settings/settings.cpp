#include "settings/settings.h"

#include <cassert>
#include <charconv>
#include <optional>

namespace rd {

namespace {

// Decimal, or hexadecimal after "$" or "0x"; a sign may lead. Anything else,
// or a number outside 32 bits, is no integer.
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
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (negative) value = -value;
  // A hexadecimal colour may be written with all 32 bits.
  if (base == 16 && !negative && value > INT32_MAX && value <= UINT32_MAX) value -= std::int64_t{1} << 32;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// Accessors of the table: captureless lambdas, one per key.
#define RD_INT(field) \
  [](const TSettings& s) -> std::int32_t { return s.field; }, [](TSettings& s, std::int32_t v) { s.field = v; }, nullptr, nullptr
#define RD_BOOL(field) \
  [](const TSettings& s) -> std::int32_t { return s.field ? 1 : 0; }, [](TSettings& s, std::int32_t v) { s.field = v != 0; }, \
      nullptr, nullptr

constexpr std::int32_t kNoDefault = 0;

std::int32_t TabRule(std::int32_t v) { return TabWidthOf(v); }
std::int32_t CodeRule(std::int32_t v) { return static_cast<std::int32_t>(CodeTypeOf(v)); }

using enum TSettingKind;
using enum TSettingWrite;

// The keys in the order they are written, with the defaults and reading
// rules of the settings file.
const TSettingKey kKeys[] = {
    {"Editor", "FontName", Text, kNoDefault, nullptr, nullptr, Always, nullptr, nullptr,
     [](const TSettings& s) -> const std::string& { return s.Editor.FontName; },
     [](TSettings& s, std::string v) { s.Editor.FontName = std::move(v); }},
    {"Editor", "FontSize", Integer, kNoDefault, [](const TSettingsBase& b) { return b.FontSize; }, nullptr, Always,
     RD_INT(Editor.FontSize)},
    {"Editor", "FontColor", Colour, kNoDefault, [](const TSettingsBase& b) { return b.FontColor; }, nullptr, Always,
     RD_INT(Editor.FontColor)},
    {"Editor", "BackColor", Colour, kNoDefault, [](const TSettingsBase& b) { return b.BackColor; }, nullptr, Always,
     RD_INT(Editor.BackColor)},
    {"Editor", "TabIndent", Integer, kNoDefault, [](const TSettingsBase& b) { return b.TabIndent; }, TabRule, Always,
     RD_INT(Editor.TabIndent)},
    {"Editor", "TabShow", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Editor.TabShow)},
    {"Editor", "DSpcShow", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Editor.DSpcShow)},
    {"Editor", "RetShow", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Editor.RetShow)},
    {"Editor", "VScroll", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Editor.VScroll)},
    {"Editor", "HScroll", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Editor.HScroll)},
    {"Editor", "RulerShow", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Editor.RulerShow)},
    {"Editor", "RowNumShow", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Editor.RowNumShow)},
    {"Editor", "FreeCur", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Editor.FreeCur)},
    {"Editor", "InsColor", Colour, 16768477, nullptr, nullptr, Always, RD_INT(Editor.InsColor)},
    {"Editor", "MovColor", Colour, 14548957, nullptr, nullptr, Always, RD_INT(Editor.MovColor)},
    {"Editor", "UpdColor", Colour, 14540287, nullptr, nullptr, Always, RD_INT(Editor.UpdColor)},
    {"Editor", "CodeType", Integer, 1, nullptr, CodeRule, Always,
     [](const TSettings& s) -> std::int32_t { return static_cast<std::int32_t>(s.Editor.CodeType); },
     [](TSettings& s, std::int32_t v) { s.Editor.CodeType = CodeTypeOf(v); }, nullptr, nullptr},
    {"Editor", "UpdateDlg", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Editor.UpdateDlg)},
    // Read only: a search colour changed in the dialog lasts until exit.
    {"Editor", "FindColor", Colour, 16711680, nullptr, nullptr, Never, RD_INT(Editor.FindColor)},

    {"Check", "TrimLR", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.TrimLR)},
    {"Check", "TrimR", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Check.TrimR)},
    {"Check", "Blank", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Check.Blank)},
    {"Check", "Text", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.Text)},
    {"Check", "FMove", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Check.FMove)},

    {"Excel", "AddRow", Integer, 5, nullptr, nullptr, Always, RD_INT(AddRow)},

    // A maximised window keeps the last normal bounds in the file.
    {"Form", "Maximized", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Form.Maximized)},
    {"Form", "Top", Integer, kNoDefault, [](const TSettingsBase& b) { return b.ScreenHeight / 2 - 250; }, nullptr,
     UnlessMaximized, RD_INT(Form.Top)},
    {"Form", "Left", Integer, kNoDefault, [](const TSettingsBase& b) { return b.ScreenWidth / 2 - 300; }, nullptr,
     UnlessMaximized, RD_INT(Form.Left)},
    {"Form", "W", Integer, 600, nullptr, nullptr, UnlessMaximized, RD_INT(Form.W)},
    {"Form", "H", Integer, 500, nullptr, nullptr, UnlessMaximized, RD_INT(Form.H)},
    // Read only: the layout at start.
    {"Form", "EditTate", Boolean, 1, nullptr, nullptr, Never, RD_BOOL(Form.EditTate)},
};

#undef RD_INT
#undef RD_BOOL

std::int32_t DefaultOf(const TSettingKey& key, const TSettingsBase& base) {
  return key.BaseDefault ? key.BaseDefault(base) : key.Default;
}

// One key from the file into `s`, or its default.
void ReadKey(const TSettingKey& key, const TIniFile& ini, const TSettingsBase& base, TSettings& s) {
  const std::optional<std::string> text = ini.Get(key.Section, key.Name);
  if (key.Kind == TSettingKind::Text) {
    key.SetText(s, text.value_or(base.FontName));
    return;
  }
  std::int32_t value = DefaultOf(key, base);
  if (text) value = ParseInt(*text).value_or(value);
  if (key.Kind == TSettingKind::Boolean) value = value != 0;
  if (key.Rule) value = key.Rule(value);
  key.Set(s, value);
}

void WriteKey(const TSettingKey& key, const TSettings& s, TIniFile& ini) {
  switch (key.Kind) {
    case TSettingKind::Text: ini.Set(key.Section, key.Name, "\"" + key.GetText(s) + "\""); break;
    case TSettingKind::Boolean: ini.Set(key.Section, key.Name, key.Get(s) ? "1" : "0"); break;
    case TSettingKind::Integer:
    case TSettingKind::Colour: ini.Set(key.Section, key.Name, std::to_string(key.Get(s))); break;
  }
}

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

std::span<const TSettingKey> SettingKeys() { return kKeys; }

const TSettingKey& SettingKey(std::string_view name) {
  for (const TSettingKey& key : kKeys)
    if (name == key.Name) return key;
  assert(false && "no settings key of that name");
  return kKeys[0];
}

TSettings::TSettings() {
  const TSettingsBase base;
  for (const TSettingKey& key : kKeys) {
    if (key.Kind == TSettingKind::Text) key.SetText(*this, base.FontName);
    else key.Set(*this, key.Rule ? key.Rule(DefaultOf(key, base)) : DefaultOf(key, base));
  }
}

TSettings ReadSettings(const TIniFile& ini, const TSettingsBase& base) {
  TSettings s;
  for (const TSettingKey& key : kKeys) ReadKey(key, ini, base, s);
  return s;
}

void WriteSettings(const TSettings& s, TIniFile& ini) {
  for (const TSettingKey& key : kKeys) {
    if (key.Write == TSettingWrite::Never) continue;
    if (key.Write == TSettingWrite::UnlessMaximized && s.Form.Maximized) continue;
    WriteKey(key, s, ini);
  }
}

}  // namespace rd
