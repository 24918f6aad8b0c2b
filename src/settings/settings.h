// The settings of "RavelleDiff.INI": what the main window reads once at
// start and writes back once at exit, and what the settings dialog edits in
// between. One table of keys (SettingKeys) holds each key's section, its
// default, its reading rule and whether it is written; reading, writing and
// the dialog all go through it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "compare/compare_options.h"
#include "settings/ini_file.h"
#include "textcode/text_code.h"

namespace rd {

constexpr const char* kSettingsFileName = "RavelleDiff.INI";

// Colours are 0x00BBGGRR values; system colours keep their negative form.
struct TEditorSettings {
  std::string FontName;
  int FontSize = 0;
  std::int32_t FontColor = 0;
  std::int32_t BackColor = 0;
  std::int32_t InsColor = 0;
  std::int32_t MovColor = 0;
  std::int32_t UpdColor = 0;
  std::int32_t FindColor = 0;
  int TabIndent = 0;  // 2, 4 or 8 once read
  bool TabShow = false;
  bool DSpcShow = false;
  bool RetShow = false;
  bool HScroll = false;  // the panes' scroll bars: both, one or none
  bool VScroll = false;
  bool RulerShow = false;
  bool RowNumShow = false;
  bool FreeCur = false;
  TextCode CodeType = TextCode::Sjis;
  bool UpdateDlg = false;
  bool CharDiff = false;            // the differing characters of changed lines are painted
  std::int32_t UpdCharColor = 0;    // their colour, over the band of UpdColor
};

struct TFormSettings {
  bool Maximized = false;
  int H = 0;
  int W = 0;
  int Top = 0;
  int Left = 0;
  bool EditTate = false;  // panes side by side; read, never written
};

// What a missing key falls back to where the default is the current state
// of the window: TextA's own font, colours and tab width, and the screen size.
struct TSettingsBase {
  std::string FontName = "ＭＳ ゴシック";
  int FontSize = 10;
  std::int32_t FontColor = 0;
  std::int32_t BackColor = 0xFFFFFF;
  int TabIndent = 2;
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
};

struct TSettings {
  // The defaults of the key table over a default base: what an empty file reads as.
  TSettings();

  TEditorSettings Editor;
  TCompareOptions Check;
  int AddRow = 0;
  TFormSettings Form;
};

enum class TSettingKind : std::uint8_t { Text, Integer, Colour, Boolean };
enum class TSettingWrite : std::uint8_t { Always, Never, UnlessMaximized };

// One key of the settings file. Every key but FontName (the one Text key)
// is an integer as far as the file goes; Get and Set move it in and out of
// TSettings, GetText and SetText do so for FontName.
struct TSettingKey {
  const char* Section;
  const char* Name;
  TSettingKind Kind;
  std::int32_t Default;                               // used when BaseDefault is null
  std::int32_t (*BaseDefault)(const TSettingsBase&);  // a default taken from the window's state
  std::int32_t (*Rule)(std::int32_t);                 // reading rule; null: as written
  TSettingWrite Write;
  std::int32_t (*Get)(const TSettings&);
  void (*Set)(TSettings&, std::int32_t);
  const std::string& (*GetText)(const TSettings&);
  void (*SetText)(TSettings&, std::string);

  std::int32_t DefaultFor(const TSettingsBase& base) const { return BaseDefault ? BaseDefault(base) : Default; }
};

// Every key, in the order they are written.
std::span<const TSettingKey> SettingKeys();
// The key of that name (names are unique across the sections); asserts it exists.
const TSettingKey& SettingKey(std::string_view name);

// A missing key, or an integer that does not parse, gives the key's default.
TSettings ReadSettings(const TIniFile& ini, const TSettingsBase& base);
// Writes every key the program owns; FindColor and EditTate are left as the
// user wrote them, and a maximised window keeps its last normal bounds.
void WriteSettings(const TSettings& settings, TIniFile& ini);

// The value of a TabIndent setting: 2 and 8 stand, anything else is 4.
int TabWidthOf(int value);
// The value of a CodeType setting: 0, 2 and 3 stand, anything else is Sjis.
TextCode CodeTypeOf(int value);

}  // namespace rd
