// The settings reader on fuzzed files. Properties: reading never fails and
// gives values in their ranges; the text of a read file reads the same when
// read again; settings written into the file read back as they were.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace {

using namespace rd;

bool Same(const TSettings& x, const TSettings& y) {
  const TEditorSettings& a = x.Editor;
  const TEditorSettings& b = y.Editor;
  return a.FontName == b.FontName && a.FontSize == b.FontSize && a.FontColor == b.FontColor &&
         a.BackColor == b.BackColor && a.InsColor == b.InsColor && a.MovColor == b.MovColor &&
         a.UpdColor == b.UpdColor && a.FindColor == b.FindColor && a.TabIndent == b.TabIndent &&
         a.TabShow == b.TabShow && a.DSpcShow == b.DSpcShow && a.RetShow == b.RetShow &&
         a.HScroll == b.HScroll && a.VScroll == b.VScroll && a.RulerShow == b.RulerShow && a.RowNumShow == b.RowNumShow &&
         a.FreeCur == b.FreeCur && a.CodeType == b.CodeType && a.UpdateDlg == b.UpdateDlg && x.Check == y.Check &&
         x.AddRow == y.AddRow && x.Form.Maximized == y.Form.Maximized && x.Form.H == y.Form.H &&
         x.Form.W == y.Form.W && x.Form.Top == y.Form.Top && x.Form.Left == y.Form.Left &&
         x.Form.EditTate == y.Form.EditTate;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Through the file reader, which decodes UTF-8 or Shift_JIS.
  const TIniFile ini = ReadIniFile(fuzz::WriteScratch("RavelleDiff.INI", bytes));
  const TSettings settings = ReadSettings(ini, TSettingsBase());
  RD_FUZZ_CHECK(settings.Editor.TabIndent == 2 || settings.Editor.TabIndent == 4 || settings.Editor.TabIndent == 8);
  RD_FUZZ_CHECK(static_cast<int>(settings.Editor.CodeType) <= 3);

  // The text of a read file is read the same way again. (A CR at the very
  // end, without an LF after it, is taken for a line end and dropped.)
  const std::string text = ini.Text();
  const TIniFile again(text);
  const auto withoutFinalCrs = [](std::string s) {
    while (!s.empty() && s.back() == '\r') s.pop_back();
    return s;
  };
  RD_FUZZ_CHECK(withoutFinalCrs(again.Text()) == withoutFinalCrs(text));
  RD_FUZZ_CHECK(Same(ReadSettings(again, TSettingsBase()), settings));

  // What is written reads back (a font name too long for a line aside).
  if (settings.Editor.FontName.size() + 12 <= TIniFile::kMaxLine) {
    TIniFile written = ini;
    WriteSettings(settings, written);
    RD_FUZZ_CHECK(Same(ReadSettings(TIniFile(written.Text()), TSettingsBase()), settings));
  }
  // The raw bytes as a text, without the file reader's decoding.
  const TIniFile raw(bytes);
  (void)ReadSettings(raw, TSettingsBase());
  return 0;
}
