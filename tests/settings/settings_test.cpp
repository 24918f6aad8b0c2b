#include <gtest/gtest.h>

#include <set>

#include "settings/settings.h"

namespace rd {
namespace {

TEST(Settings, DefaultsWithoutAFile) {
  TSettingsBase base;
  base.ScreenWidth = 1920;
  base.ScreenHeight = 1080;
  const TSettings s = ReadSettings(TIniFile(), base);
  EXPECT_EQ(s.Editor.FontName, "ＭＳ ゴシック");
  EXPECT_EQ(s.Editor.FontSize, 10);
  EXPECT_EQ(s.Editor.InsColor, 16768477);
  EXPECT_EQ(s.Editor.MovColor, 14548957);
  EXPECT_EQ(s.Editor.UpdColor, 14540287);
  EXPECT_EQ(s.Editor.FindColor, 16711680);
  EXPECT_EQ(s.Editor.TabIndent, 2);
  EXPECT_TRUE(s.Editor.TabShow);
  EXPECT_FALSE(s.Editor.RetShow);
  EXPECT_FALSE(s.Editor.HScroll);
  EXPECT_FALSE(s.Editor.VScroll);
  EXPECT_EQ(s.Editor.CodeType, TextCode::Sjis);
  EXPECT_FALSE(s.Editor.UpdateDlg);
  EXPECT_TRUE(s.Editor.CharDiff);
  EXPECT_EQ(s.Editor.UpdCharColor, 11184895);  // red 255, green 170, blue 170
  EXPECT_FALSE(s.Check.TrimLR);
  EXPECT_TRUE(s.Check.TrimR);
  EXPECT_TRUE(s.Check.Blank);
  EXPECT_FALSE(s.Check.Text);
  EXPECT_TRUE(s.Check.FMove);
  EXPECT_FALSE(s.Check.Width);
  EXPECT_FALSE(s.Check.ZSpace);
  EXPECT_FALSE(s.Check.AllSpace);
  EXPECT_EQ(s.AddRow, 5);
  EXPECT_EQ(s.Form.W, 600);
  EXPECT_EQ(s.Form.H, 500);
  EXPECT_EQ(s.Form.Top, 1080 / 2 - 250);
  EXPECT_EQ(s.Form.Left, 1920 / 2 - 300);
  EXPECT_TRUE(s.Form.EditTate);
}

// An empty file read and written back gives exactly the defaults, each
// key in its section, in the order they are written.
TEST(Settings, EmptyFileGivesTheDefaults) {
  TSettingsBase base;
  base.ScreenWidth = 1366;
  base.ScreenHeight = 767;
  const TSettings s = ReadSettings(TIniFile(), base);
  TIniFile out;
  WriteSettings(s, out);
  EXPECT_EQ(out.Text(),
            "[Editor]\r\n"
            "FontName=\"ＭＳ ゴシック\"\r\nFontSize=10\r\nFontColor=0\r\nBackColor=16777215\r\nTabIndent=2\r\n"
            "TabShow=1\r\nDSpcShow=1\r\nRetShow=0\r\nVScroll=0\r\nHScroll=0\r\nRulerShow=1\r\nRowNumShow=1\r\n"
            "FreeCur=1\r\nInsColor=16768477\r\nMovColor=14548957\r\nUpdColor=14540287\r\nCodeType=1\r\n"
            "UpdateDlg=0\r\nCharDiff=1\r\nUpdCharColor=11184895\r\n"
            "[Check]\r\nTrimLR=0\r\nTrimR=1\r\nBlank=1\r\nText=0\r\nFMove=1\r\nWidth=0\r\nZSpace=0\r\nAllSpace=0\r\n"
            "[Excel]\r\nAddRow=5\r\n"
            "[Form]\r\nMaximized=0\r\nTop=133\r\nLeft=383\r\nW=600\r\nH=500\r\n");
  // The two keys that are only read.
  EXPECT_EQ(s.Editor.FindColor, 16711680);
  EXPECT_TRUE(s.Form.EditTate);
  // A default-made TSettings is the same as an empty file over the default base.
  TIniFile fromDefault, fromEmpty;
  WriteSettings(TSettings(), fromDefault);
  WriteSettings(ReadSettings(TIniFile(), TSettingsBase()), fromEmpty);
  EXPECT_EQ(fromDefault.Text(), fromEmpty.Text());
}

// The comparison options of an empty file, of a default-made TSettings and
// of a default-made option set are the same.
TEST(Settings, CheckDefaultsAgreeWithTheEngine) {
  const TCompareOptions want{.TrimLR = false, .TrimR = true, .Blank = true, .Text = false, .FMove = true,
                             .Width = false, .ZSpace = false, .AllSpace = false};
  EXPECT_EQ(ReadSettings(TIniFile(), TSettingsBase()).Check, want);
  EXPECT_EQ(TSettings().Check, want);
  EXPECT_EQ(TCompareOptions(), want);
}

TEST(Settings, KeyTableNamesEveryKeyOnce) {
  std::set<std::string> names;
  for (const TSettingKey& key : SettingKeys()) EXPECT_TRUE(names.insert(key.Name).second) << key.Name;
  EXPECT_EQ(names.size(), 36u);
  EXPECT_STREQ(SettingKey("FMove").Section, "Check");
  EXPECT_EQ(SettingKey("FindColor").Write, TSettingWrite::Never);
}

struct ReadCase {
  const char* text;
  int tab;
  TextCode code;
  bool h, v;
};

TEST(Settings, ReadingRules) {
  const ReadCase cases[] = {
      {"TabIndent=3\nCodeType=5\n", 4, TextCode::Sjis, false, false},
      {"TabIndent=8\nCodeType=0\nVScroll=1\n", 8, TextCode::Auto, false, true},
      {"TabIndent=2\nCodeType=2\nHScroll=7\n", 2, TextCode::Euc, true, false},
      {"TabIndent=x\nCodeType=3\nVScroll=-1\nHScroll=1\n", 2, TextCode::Utf8, true, true},
      {"TabIndent=4\nCodeType=-1\nVScroll=yes\n", 4, TextCode::Sjis, false, false},
  };
  for (const ReadCase& c : cases) {
    const TSettings s = ReadSettings(TIniFile(std::string("[Editor]\n") + c.text), TSettingsBase());
    EXPECT_EQ(s.Editor.TabIndent, c.tab) << c.text;
    EXPECT_EQ(s.Editor.CodeType, c.code) << c.text;
    EXPECT_EQ(s.Editor.HScroll, c.h) << c.text;
    EXPECT_EQ(s.Editor.VScroll, c.v) << c.text;
  }
}

TEST(Settings, IntegersThatAreNotIntegersReadAsTheDefault) {
  const TSettings s = ReadSettings(
      TIniFile("[Editor]\nFontSize=12pt\nInsColor=$FF\nMovColor=0xFFFFFFFF\nUpdColor=99999999999\nFontColor=-5\n"
               "[Excel]\nAddRow= 7 \n"),
      TSettingsBase());
  EXPECT_EQ(s.Editor.FontSize, 10);
  EXPECT_EQ(s.Editor.InsColor, 255);
  EXPECT_EQ(s.Editor.MovColor, -1);
  EXPECT_EQ(s.Editor.UpdColor, 14540287);
  EXPECT_EQ(s.Editor.FontColor, -5);  // a system colour keeps its negative form
  EXPECT_EQ(s.AddRow, 7);
}

// "--3" used to read as 3, and "--9223372036854775808" negated the smallest
// 64-bit value (undefined behaviour).
TEST(Settings, OneSignAtMost) {
  const char* const wrong[] = {"--3", "++3", "+-3", "-+3", "--9223372036854775808", "-9223372036854775808",
                               "$-5", "-$-5", "0x-5", "0x+5", "$+5", "- 3", "+", "-", "-$", "0x"};
  for (const char* value : wrong) {
    const TSettings s = ReadSettings(TIniFile(std::string("[Editor]\nFontSize=") + value + "\n"), TSettingsBase());
    EXPECT_EQ(s.Editor.FontSize, 10) << value;
  }
  const std::pair<const char*, int> right[] = {{"+3", 3},           {"-3", -3},       {"-$10", -16},
                                               {"-0x80000000", INT32_MIN}, {"2147483647", INT32_MAX},
                                               {"0xFFFFFFFF", -1}};
  for (const auto& [value, expected] : right) {
    const TSettings s = ReadSettings(TIniFile(std::string("[Editor]\nFontColor=") + value + "\n"), TSettingsBase());
    EXPECT_EQ(s.Editor.FontColor, expected) << value;
  }
}

TEST(Settings, WriteBackNormalisesAndLeavesReadOnlyKeys) {
  TIniFile ini("[Editor]\nTabIndent=3\nCodeType=5\nFindColor=123\n[Form]\nEditTate=0\nTop=1\nLeft=2\nW=3\nH=4\n");
  TSettings s = ReadSettings(ini, TSettingsBase());
  EXPECT_FALSE(s.Form.EditTate);
  EXPECT_EQ(s.Editor.FindColor, 123);
  s.Editor.FindColor = 456;  // changed in the dialog: lasts until exit only
  s.Form.Maximized = true;
  s.Form.W = 999;
  WriteSettings(s, ini);
  EXPECT_EQ(ini.Get("Editor", "TabIndent"), "4");
  EXPECT_EQ(ini.Get("Editor", "CodeType"), "1");
  EXPECT_EQ(ini.Get("Editor", "FindColor"), "123");
  EXPECT_EQ(ini.Get("Form", "EditTate"), "0");
  EXPECT_EQ(ini.Get("Form", "Maximized"), "1");
  EXPECT_EQ(ini.Get("Form", "W"), "3");  // the last normal bounds stay

  s.Form.Maximized = false;
  WriteSettings(s, ini);
  EXPECT_EQ(ini.Get("Form", "W"), "999");
  const std::string text = ini.Text();
  EXPECT_NE(text.find("FontName=\"ＭＳ ゴシック\""), std::string::npos);
  EXPECT_EQ(ReadSettings(ini, TSettingsBase()).Editor.FontName, "ＭＳ ゴシック");
}

TEST(Settings, FullRoundTrip) {
  TSettings s;
  s.Editor.FontName = "IPAGothic";
  s.Editor.FontSize = 13;
  s.Editor.TabIndent = 8;
  s.Editor.HScroll = s.Editor.VScroll = true;
  s.Editor.CodeType = TextCode::Utf8;
  s.Editor.UpdateDlg = true;
  s.Editor.RetShow = true;
  s.Check.TrimLR = true;
  s.Check.Text = true;
  s.AddRow = 2;
  s.Form = {false, 480, 640, 10, 20, true};
  TIniFile ini;
  WriteSettings(s, ini);
  const TSettings back = ReadSettings(TIniFile(ini.Text()), TSettingsBase());
  EXPECT_EQ(back.Editor.FontName, "IPAGothic");
  EXPECT_EQ(back.Editor.FontSize, 13);
  EXPECT_EQ(back.Editor.TabIndent, 8);
  EXPECT_TRUE(back.Editor.HScroll && back.Editor.VScroll);
  EXPECT_EQ(back.Editor.CodeType, TextCode::Utf8);
  EXPECT_TRUE(back.Editor.UpdateDlg);
  EXPECT_TRUE(back.Editor.RetShow);
  EXPECT_EQ(back.Check, s.Check);
  EXPECT_EQ(back.AddRow, 2);
  EXPECT_EQ(back.Form.H, 480);
  EXPECT_EQ(back.Form.W, 640);
  EXPECT_EQ(back.Form.Top, 10);
  EXPECT_EQ(back.Form.Left, 20);
}

}  // namespace
}  // namespace rd
