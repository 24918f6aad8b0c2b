#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/ini_file.h"
#include "temp_folder.h"

namespace rd {
namespace {

using testing::Slurp;

TEST(IniFile, ReadsSectionsAndKeysInAnyCase) {
  const TIniFile ini(
      "; my settings\r\n"
      "[Editor]\r\n"
      "FontName=\"ＭＳ ゴシック\"\r\n"
      "  fontsize = 12  \r\n"
      "FontSize=99\r\n"
      "[check]\r\n"
      "TrimLR=1\r\n"
      "Quoted='x'\r\n"
      "Empty=\r\n");
  EXPECT_EQ(ini.Get("editor", "FONTNAME"), "ＭＳ ゴシック");
  EXPECT_EQ(ini.Get("Editor", "FontSize"), "12");  // the first one counts
  EXPECT_EQ(ini.Get("Check", "trimlr"), "1");
  EXPECT_EQ(ini.Get("Check", "Quoted"), "x");
  EXPECT_EQ(ini.Get("Check", "Empty"), "");
  EXPECT_EQ(ini.Get("Check", "FontSize"), std::nullopt);
  EXPECT_EQ(ini.Get("Form", "H"), std::nullopt);
}

TEST(IniFile, BrokenLinesNeverMatch) {
  const std::string longLine = "Long=" + std::string(TIniFile::kMaxLine, 'x');
  const TIniFile ini("[Editor\nFontSize=12\n[Form]\nH=1\x01\n" + longLine + "\nW=7\nkey before section\n");
  EXPECT_EQ(ini.Get("Editor", "FontSize"), std::nullopt);  // its header has no "]"
  EXPECT_EQ(ini.Get("Form", "H"), std::nullopt);           // a control byte
  EXPECT_EQ(ini.Get("Form", "Long"), std::nullopt);        // overlong
  EXPECT_EQ(ini.Get("Form", "W"), "7");
  EXPECT_EQ(TIniFile("x=1\n[A]\n").Get("", "x"), std::nullopt);  // before any section
}

TEST(IniFile, WritingKeepsWhatTheUserWrote) {
  TIniFile ini(
      "; comment\n"
      "[Editor]\n"
      "FontSize=12\n"
      "Custom=keep me\n"
      "\n"
      "[Mine]\n"
      "a=b\n");
  ini.Set("editor", "fontsize", "14");  // in place, in the file's spelling of the section
  ini.Set("Editor", "TabShow", "1");    // after the last line of the section
  ini.Set("Check", "TrimR", "0");       // a new section at the end
  EXPECT_EQ(ini.Text(),
            "; comment\n"
            "[Editor]\n"
            "fontsize=14\n"
            "Custom=keep me\n"
            "TabShow=1\n"
            "\n"
            "[Mine]\n"
            "a=b\n"
            "[Check]\n"
            "TrimR=0\n");
}

TEST(IniFile, NewFileUsesCrLf) {
  TIniFile ini;
  ini.Set("Form", "W", "600");
  ini.Set("Form", "H", "500");
  EXPECT_EQ(ini.Text(), "[Form]\r\nW=600\r\nH=500\r\n");
  TIniFile noFinalBreak("[Form]\r\nW=1");
  noFinalBreak.Set("Form", "H", "2");
  EXPECT_EQ(noFinalBreak.Text(), "[Form]\r\nW=1\r\nH=2\r\n");
}

TEST(IniFile, FilesRoundTripAndShiftJisIsDecoded) {
  testing::TempFolder dir;
  const std::string path = dir.Path() + "RavelleDiff.INI";
  EXPECT_EQ(ReadIniFile(path).Text(), "");  // missing file: empty
  TIniFile ini;
  ini.Set("Editor", "FontName", "\"ＭＳ ゴシック\"");
  ASSERT_TRUE(WriteIniFile(path, ini));
  EXPECT_EQ(Slurp(path), "[Editor]\r\nFontName=\"ＭＳ ゴシック\"\r\n");
  EXPECT_EQ(ReadIniFile(path).Get("Editor", "FontName"), "ＭＳ ゴシック");

  // "ＭＳ ゴシック" as the original platform stored it, in Shift_JIS.
  dir.Write("sjis.ini", "[Editor]\r\nFontName=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\n");
  EXPECT_EQ(ReadIniFile(dir.Path() + "sjis.ini").Get("Editor", "FontName"), "ＭＳ ゴシック");
}

TEST(IniFile, AFailedWriteLeavesTheOldFile) {
  testing::TempFolder dir;
  const std::string path = dir.Write("RavelleDiff.INI", "[Form]\r\nW=1\r\n");
  TIniFile ini;
  ini.Set("Form", "W", "2");
  // A folder that cannot be written: no temporary file, nothing changes.
  EXPECT_FALSE(WriteIniFile(dir.Path() + "no/such/folder/RavelleDiff.INI", ini));
  // The target is a folder: the rename fails and the temporary file goes.
  std::filesystem::create_directory(dir.Path() + "taken");
  std::filesystem::create_directory(dir.Path() + "taken/x");
  EXPECT_FALSE(WriteIniFile(dir.Path() + "taken", ini));
  EXPECT_EQ(Slurp(path), "[Form]\r\nW=1\r\n");
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
}

// A folder in the settings file's place used to abort the program with an
// uncaught std::ios_base::failure.
TEST(IniFile, AFileThatCannotBeReadGivesTheDefaults) {
  testing::TempFolder dir;
  std::filesystem::create_directory(dir.Path() + "RavelleDiff.INI");
  EXPECT_EQ(ReadIniFile(dir.Path() + "RavelleDiff.INI").Text(), "");
  // A pipe without a writer is neither waited for nor read.
  const std::string fifo = dir.Path() + "pipe.INI";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadIniFile(fifo).Text(), "");
  // A device that never ends is not read to its end.
  EXPECT_EQ(ReadIniFile("/dev/zero").Text(), "");
  // A read error.
  EXPECT_EQ(ReadIniFile("/proc/self/mem").Text(), "");
}

// Each line used to copy its section's name: a header of 4,094 characters
// and a million empty lines cost 4 GB.
TEST(IniFile, MemoryStaysProportionalToTheFile) {
  std::string text = "[" + std::string(4092, 's') + "]\n";
  text.append(200000, '\n');
  text += "key=value\n";
#if defined(__SANITIZE_ADDRESS__)
  const TIniFile ini(text);  // the sanitizers' allocator keeps its own books
#else
  const auto inUse = [] {
    const struct mallinfo2 m = ::mallinfo2();
    return m.uordblks + m.hblkhd;
  };
  const std::size_t before = inUse();
  const TIniFile ini(text);
  const std::size_t used = inUse() - before;
  EXPECT_LT(used, 100 * text.size()) << used << " bytes for a file of " << text.size();  // before: 4 KB per line
#endif
  EXPECT_EQ(ini.Get(std::string(4092, 'S'), "KEY"), "value");
  EXPECT_EQ(ini.Text(), text);
}

}  // namespace
}  // namespace rd
