// The settings of "RavelleDiff.INI": what the main window reads once at
// start and writes back once at exit.
#pragma once

#include <cstdint>
#include <string>

#include "compare/compare_options.h"
#include "editor/editor_view_settings.h"
#include "settings/ini_file.h"
#include "textcode/text_code.h"

namespace rd {

constexpr const char* kSettingsFileName = "RavelleDiff.INI";

struct TEditorSettings {
  std::string FontName;
  int FontSize = 10;
  std::int32_t FontColor = 0;
  std::int32_t BackColor = 0xFFFFFF;
  std::int32_t InsColor = 16768477;
  std::int32_t MovColor = 14548957;
  std::int32_t UpdColor = 14540287;
  std::int32_t FindColor = 16711680;
  int TabIndent = 2;  // 2, 4 or 8
  bool TabShow = true;
  bool DSpcShow = true;
  bool RetShow = false;
  TScrollBars ScrollBars = TScrollBars::ssNone;
  bool RulerShow = true;
  bool RowNumShow = true;
  bool FreeCur = true;
  TextCode CodeType = TextCode::Sjis;
  bool UpdateDlg = false;
};

struct TFormSettings {
  bool Maximized = false;
  int H = 500;
  int W = 600;
  int Top = 0;
  int Left = 0;
  bool EditTate = true;  // panes side by side; read, never written
};

struct TSettings {
  TEditorSettings Editor;
  TCompareOptions Check;
  int AddRow = 5;
  TFormSettings Form;
};

// What a missing key falls back to where the default is the current state
// of the window: TextA's font, colours and tab width, and the screen size.
struct TSettingsBase {
  std::string FontName = "ＭＳ ゴシック";
  int FontSize = 10;
  std::int32_t FontColor = 0;
  std::int32_t BackColor = 0xFFFFFF;
  int TabIndent = 2;
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
};

TSettings ReadSettings(const TIniFile& ini, const TSettingsBase& base);
// Writes every key the program owns; FindColor and EditTate are left as the
// user wrote them, and a maximised window keeps its last normal bounds.
void WriteSettings(const TSettings& settings, TIniFile& ini);

// The value of a TabIndent setting: 2 and 8 stand, anything else is 4.
int TabWidthOf(int value);
// The value of a CodeType setting: 0, 2 and 3 stand, anything else is Sjis.
TextCode CodeTypeOf(int value);

}  // namespace rd
