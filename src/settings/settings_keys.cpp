// The table of the settings file's keys: section, default, reading rule,
// whether the key is written, and where its value lives in TSettings.
#include <cassert>

#include "settings/settings.h"

namespace rd {

namespace {

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
    {"Editor", "CharDiff", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Editor.CharDiff)},
    {"Editor", "UpdCharColor", Colour, 11184895, nullptr, nullptr, Always, RD_INT(Editor.UpdCharColor)},
    // Read only: a search colour changed in the dialog lasts until exit.
    {"Editor", "FindColor", Colour, 16711680, nullptr, nullptr, Never, RD_INT(Editor.FindColor)},

    {"Check", "TrimLR", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.TrimLR)},
    {"Check", "TrimR", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Check.TrimR)},
    {"Check", "Blank", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Check.Blank)},
    {"Check", "Text", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.Text)},
    {"Check", "FMove", Boolean, 1, nullptr, nullptr, Always, RD_BOOL(Check.FMove)},
    {"Check", "Width", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.Width)},
    {"Check", "ZSpace", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.ZSpace)},
    {"Check", "AllSpace", Boolean, 0, nullptr, nullptr, Always, RD_BOOL(Check.AllSpace)},

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

}  // namespace

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
    else key.Set(*this, key.Rule ? key.Rule(key.DefaultFor(base)) : key.DefaultFor(base));
  }
}

}  // namespace rd
