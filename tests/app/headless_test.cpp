// The real program, run headless on files in a temporary folder with a
// settings file beside a copy of the binary; reports compared byte for byte.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "temp_folder.h"

namespace rd {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

const std::string kNoData = "\x83\x66\x81\x5b\x83\x5e\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";  // データがありません
const std::string kGyo = " \x8d\x73";                                                                    // " 行"

class Headless : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = dir_.Path() + "bin/RavelleDiff";
    fs::create_directories(dir_.Path() + "bin");
    fs::copy_file(RD_PROGRAM, program_);
  }
  void Settings(const std::string& text) const { dir_.Write("bin/RavelleDiff.INI", text); }

  // Runs the program without any display; returns its exit status.
  int Run(const std::string& args) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + program_ + "' " + args +
                                " 2>'" + dir_.Path() + "stderr.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Writes a and b, runs the report into r.txt and returns its bytes.
  std::string Report(const std::string& a, const std::string& b) {
    dir_.Write("a.txt", a);
    dir_.Write("b.txt", b);
    dir_.Write("r.txt", "old contents that must go");
    EXPECT_EQ(Run("path=" + dir_.Path() + " texta=a.txt textb=b.txt ret=r.txt"), 0);
    return Slurp(dir_.Path() + "r.txt");
  }
  std::string Head(std::size_t errA, std::size_t errB, const std::string& msg = "") const {
    return "[INFO]\r\nTextA=" + dir_.Path() + "a.txt\r\nTextB=" + dir_.Path() + "b.txt\r\nMsg=" + msg +
           "\r\nErrA=" + std::to_string(errA) + kGyo + "\r\nErrB=" + std::to_string(errB) + kGyo +
           "\r\n[RESULT]\r\n[TextA]\r\n";
  }

  testing::TempFolder dir_;
  std::string program_;
};

TEST_F(Headless, IdenticalFiles) {
  EXPECT_EQ(Report("x\r\ny\r\nz\r\n", "x\r\ny\r\nz\r\n"), Head(0, 0));
}

TEST_F(Headless, ChangedAddedAndMovedLines) {
  EXPECT_EQ(Report("a\r\nb\r\nc\r\n", "a\r\nx\r\nc\r\n"), Head(1, 1) + "UDT:A1>b\r\n    B1>x\r\n");
  EXPECT_EQ(Report("a\r\nb\r\n", "a\r\nb\r\nc\r\n"), Head(0, 1) + "INS:B2>c\r\n");
  EXPECT_EQ(Report("x\r\ny\r\n", "y\r\nx\r\n"), Head(1, 1) + "MOV:A0>x\r\n    B1>x\r\n");
  // The blank line is left out but still counts; ">" in a line is written as it is.
  EXPECT_EQ(Report("a\n\nb>c\n", "a\nd\n"), Head(1, 1) + "UDT:A2>b>c\r\n    B1>d\r\n");
}

TEST_F(Headless, OptionsComeFromTheSettingsFile) {
  Settings("[Check]\r\nText=1\r\nTrimLR=1\r\n");
  EXPECT_EQ(Report("abc\r\n  x\r\n", "ABC\r\nx\r\n"), Head(0, 0));
  Settings("[Check]\r\nTrimR=0\r\n");
  EXPECT_EQ(Report("a \r\n", "a\r\n"), Head(1, 1) + "UDT:A0>a \r\n    B0>a\r\n");
}

TEST_F(Headless, CharacterCodes) {
  const std::string sjisA = "\x82\xa0";  // あ
  const std::string sjisI = "\x82\xa2";  // い
  Settings("[Editor]\r\nCodeType=0\r\n");
  EXPECT_EQ(Report("\xa4\xa2\n\xa4\xa2\n", "\xa4\xa2\n\xa4\xa4\n"),  // EUC-JP, detected
            Head(1, 1) + "UDT:A1>" + sjisA + "\r\n    B1>" + sjisI + "\r\n");
  Settings("[Editor]\r\nCodeType=3\r\n");
  EXPECT_EQ(Report("\xe3\x81\x82\n", "\xe3\x81\x84\n"),  // UTF-8, fixed code
            Head(1, 1) + "UDT:A0>" + sjisA + "\r\n    B0>" + sjisI + "\r\n");
  Settings("");
  EXPECT_EQ(Report(sjisA + "\n", sjisI + "\n"), Head(1, 1) + "UDT:A0>" + sjisA + "\r\n    B0>" + sjisI + "\r\n");
}

TEST_F(Headless, BrokenBytesInEveryCode) {
  // Detection sees neither EUC-JP nor UTF-8 here: the bytes are taken as they are.
  Settings("[Editor]\r\nCodeType=0\r\n");
  EXPECT_EQ(Report("a\n\xa4\n", "a\n\xe3\x81\n"), Head(1, 1) + "UDT:A1>\xa4\r\n    B1>\xe3\x81\r\n");
  // A fixed UTF-8 code replaces each ill-formed part by "?".
  Settings("[Editor]\r\nCodeType=3\r\n");
  EXPECT_EQ(Report("a\n\xff\xfe\n", "a\n\xe3\x81\n"), Head(1, 1) + "UDT:A1>??\r\n    B1>?\r\n");
  // A fixed EUC-JP code that meets a cut character keeps that file's own bytes;
  // the other file converts.
  Settings("[Editor]\r\nCodeType=2\r\n");
  EXPECT_EQ(Report("\xa4\xa2\n\xa4\n", "\xa4\xa2\n"),
            Head(2, 1) + "UDT:A0>\xa4\xa2\r\n    B0>\x82\xa0\r\nINS:A1>\xa4\r\n");
}

TEST_F(Headless, JapanesePathsAreWrittenInShiftJis) {
  fs::create_directory(dir_.Path() + "比較");
  dir_.Write("比較/a.txt", "1\n");
  dir_.Write("比較/b.txt", "2\n");
  dir_.Write("r.txt", "");
  ASSERT_EQ(Run("texta=" + dir_.Path() + "比較/a.txt textb=" + dir_.Path() + "比較/b.txt ret=" + dir_.Path() + "r.txt"), 0);
  const std::string folder = dir_.Path() + "\x94\xe4\x8a\x72/";  // 比較 in Shift_JIS
  EXPECT_EQ(Slurp(dir_.Path() + "r.txt"), "[INFO]\r\nTextA=" + folder + "a.txt\r\nTextB=" + folder +
                                              "b.txt\r\nMsg=\r\nErrA=1" + kGyo + "\r\nErrB=1" + kGyo +
                                              "\r\n[RESULT]\r\n[TextA]\r\nUDT:A0>1\r\n    B0>2\r\n");
}

TEST_F(Headless, NoComparableLines) {
  EXPECT_EQ(Report("\r\n  \r\n", "a\r\n"), Head(0, 0, kNoData + dir_.Path() + "a.txt"));
  EXPECT_EQ(Report("a\r\n", ""), Head(0, 0, kNoData + dir_.Path() + "b.txt"));
}

TEST_F(Headless, BadInputStillGivesAReport) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  EXPECT_EQ(Report(binary, binary).substr(0, 8), "[INFO]\r\n");
  EXPECT_EQ(Report(std::string("a\nb\0c\nd\n", 8), "a\nb\n"), Head(0, 0));  // NUL ends the text
  EXPECT_EQ(Report(std::string(200000, '\n'), "x\n"), Head(0, 0, kNoData + dir_.Path() + "a.txt"));
  EXPECT_EQ(Report("\xff\xfe\x80\n", "\xe3\x81\n"), Head(1, 1) + "UDT:A0>\xff\xfe\x80\r\n    B0>\xe3\x81\r\n");
  const std::string huge(50u << 20, 'q');
  EXPECT_EQ(Report(huge, huge + "\nz\n"), Head(0, 1) + "INS:B1>z\r\n");
}

TEST_F(Headless, AReportThatCannotBeWrittenFailsWithAReason) {
  dir_.Write("a.txt", "a\n");
  dir_.Write("b.txt", "b\n");
  // Every write to /dev/full fails for lack of space, also for root.
  EXPECT_EQ(Run("texta=" + dir_.Path() + "a.txt textb=" + dir_.Path() + "b.txt ret=/dev/full"), 1);
  EXPECT_NE(Slurp(dir_.Path() + "stderr.txt").find("/dev/full"), std::string::npos);
}

TEST_F(Headless, AReportPathThatIsAFolderFails) {
  dir_.Write("a.txt", "a\n");
  dir_.Write("b.txt", "b\n");
  fs::create_directory(dir_.Path() + "r.dir");
  // A folder is not a file: no headless run. With no display the window cannot open either,
  // so the program ends with an error instead of hanging.
  EXPECT_NE(Run("path=" + dir_.Path() + " texta=a.txt textb=b.txt ret=r.dir"), 0);
}

// The options for Japanese text reach the headless comparison; the report
// still shows the lines as they are.
TEST_F(Headless, JapaneseOptionsComeFromTheSettingsFile) {
  const std::string fullWidth = "\x82\x60\x82\x61\x82\x62\x82\x50";  // ＡＢＣ１
  const std::string kana = "\xB6\xDE\xB2\xC4\xDE";                     // ｶﾞｲﾄﾞ
  const std::string a = fullWidth + "\x81\x40\r\n" + kana + "\r\nx  =  1\r\n";  // "　" after ＡＢＣ１
  const std::string b = "ABC1\r\n\x83\x4B\x83\x43\x83\x68\r\nx=1\r\n";    // ガイド
  EXPECT_EQ(Report(a, b), Head(3, 3) + "UDT:A0>" + fullWidth + "\x81\x40\r\n    B0>ABC1\r\n" + "UDT:A1>" + kana +
                              "\r\n    B1>\x83\x4B\x83\x43\x83\x68\r\nUDT:A2>x  =  1\r\n    B2>x=1\r\n");
  Settings("[Check]\r\nWidth=1\r\nZSpace=1\r\nAllSpace=1\r\n");
  EXPECT_EQ(Report(a, b), Head(0, 0));
  Settings("[Check]\r\nWidth=1\r\n");  // "　" at the end still counts, and so do the spaces of x = 1
  EXPECT_EQ(Report(a, b), Head(2, 2) + "UDT:A0>" + fullWidth + "\x81\x40\r\n    B0>ABC1\r\n" +
                              "UDT:A2>x  =  1\r\n    B2>x=1\r\n");
}

}  // namespace
}  // namespace rd
