// The real program, run headless on files in a temporary folder with a
// settings file beside a copy of the binary; reports compared byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
// ファイルを読み込めません。 メモリが不足しています 行数が多すぎます（536,870,911 行まで）
const std::string kCannotRead =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x81\x42";
const std::string kOutOfMemory = "\x83\x81\x83\x82\x83\x8a\x82\xaa\x95\x73\x91\xab\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7";
const std::string kTooManyLines = "\x8d\x73\x90\x94\x82\xaa\x91\xbd\x82\xb7\x82\xac\x82\xdc\x82\xb7\x81\x69"
                                  "536,870,911 \x8d\x73\x82\xdc\x82\xc5\x81\x6a";

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

bool HaveCommand(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

class Headless : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = dir_.Path() + "bin/RavelleDiff";
    fs::create_directories(dir_.Path() + "bin");
    fs::copy_file(RD_PROGRAM, program_);
  }
  void Settings(const std::string& text) const { dir_.Write("bin/RavelleDiff.INI", text); }

  // Runs the program without any display; returns its exit status. `prefix`
  // comes before the program (another user, a memory limit).
  int Run(const std::string& args, const std::string& prefix = "") {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + prefix + " '" + program_ +
                                "' " + args + " 2>'" + dir_.Path() + "stderr.txt'";
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
    return Head(dir_.Path() + "a.txt", dir_.Path() + "b.txt", errA, errB, msg);
  }
  static std::string Head(const std::string& a, const std::string& b, std::size_t errA, std::size_t errB,
                          const std::string& msg) {
    return "[INFO]\r\nTextA=" + a + "\r\nTextB=" + b + "\r\nMsg=" + msg +
           "\r\nErrA=" + std::to_string(errA) + kGyo + "\r\nErrB=" + std::to_string(errB) + kGyo +
           "\r\n[RESULT]\r\n[TextA]\r\n";
  }

  std::string Stderr() const { return Slurp(dir_.Path() + "stderr.txt"); }
  // Standard error holds exactly one line.
  void ExpectOneErrorLine(const std::string& part) const {
    const std::string err = Stderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(part), std::string::npos) << err;
  }
  // A report on a text that cannot be read: the message, no result lines, status 1.
  void ExpectUnreadable(const std::string& a, const std::string& reason, const std::string& prefix = "") {
    dir_.Write("b.txt", "b\n");
    dir_.Write("r.txt", "old");
    EXPECT_EQ(Run("texta=" + a + " textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt", prefix), 1);
    EXPECT_EQ(Slurp(dir_.Path() + "r.txt"), Head(a, dir_.Path() + "b.txt", 0, 0, kCannotRead + a + ": " + reason));
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

// A report of many thousand result lines, in order.
TEST_F(Headless, ALargeReportKeepsItsOrder) {
  std::string a, b, expected;
  for (int i = 0; i < 9000; ++i) {
    a += "a" + std::to_string(i) + "\r\n";
    b += "b" + std::to_string(i) + "\r\n";
    expected += "UDT:A" + std::to_string(i) + ">a" + std::to_string(i) + "\r\n    B" + std::to_string(i) + ">b" +
                std::to_string(i) + "\r\n";
  }
  for (int i = 9000; i < 9005; ++i) {
    b += "b" + std::to_string(i) + "\r\n";
    expected += "INS:B" + std::to_string(i) + ">b" + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(Report(a, b), Head(9000, 9005) + expected);
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

// A folder in the settings file's place used to abort the program (status 134).
TEST_F(Headless, ASettingsFileThatCannotBeReadGivesTheDefaults) {
  fs::create_directory(dir_.Path() + "bin/RavelleDiff.INI");
  EXPECT_EQ(Report("a\r\nb\r\n", "a\r\nb \r\n"), Head(0, 0));  // TrimR by default
}

// Reading failures used to give the report of two equal files, status 0.
TEST_F(Headless, AReadErrorIsReportedNotSwallowed) {
  // Reading /proc/self/mem at offset 0 fails with EIO, also for root.
  ExpectUnreadable("/proc/self/mem", "Input/output error");
  ExpectOneErrorLine("ファイルを読み込めません。/proc/self/mem: Input/output error");
}

TEST_F(Headless, AFileWithoutReadPermissionIsReported) {
  dir_.Write("a.txt", "a\n");
  ::chmod((dir_.Path() + "a.txt").c_str(), 0);
  std::string prefix;
  if (::geteuid() == 0) {
    // Root reads any file: run the program as an unprivileged user.
    if (!HaveCommand("setpriv")) GTEST_SKIP() << "setpriv is needed to run as another user";
    prefix = "setpriv --reuid=nobody --regid=nogroup --clear-groups";
    ::chmod(dir_.Path().c_str(), 0777);
    fs::permissions(dir_.Path() + "bin", fs::perms::all);
    dir_.Write("r.txt", "");
    dir_.Write("b.txt", "");
    ::chmod((dir_.Path() + "r.txt").c_str(), 0666);
    ::chmod((dir_.Path() + "b.txt").c_str(), 0666);
  }
  ExpectUnreadable(dir_.Path() + "a.txt", "Permission denied", prefix);
  ExpectOneErrorLine("Permission denied");
}

TEST_F(Headless, OutOfMemoryIsReported) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
  if (!HaveCommand("prlimit")) GTEST_SKIP() << "prlimit is needed to limit the memory";
  const std::string a = dir_.Write("a.txt", std::string(100u << 20, 'q'));
  ExpectUnreadable(a, kOutOfMemory, "prlimit --as=50000000");
  ExpectOneErrorLine("メモリが不足しています");
  // Without the limit the same pair compares.
  EXPECT_EQ(Run("texta=" + a + " textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt"), 0);
}

TEST_F(Headless, ATextOfMoreLinesThanTheTablesHoldIsReported) {
  if (kSanitized) GTEST_SKIP() << "half a gigabyte of line ends: the release build checks it";
  // 536,870,912 empty lines: one more than a comparison can take.
  const std::string a = dir_.Path() + "a.txt";
  {
    std::ofstream out(a, std::ios::binary);
    const std::string block(1u << 20, '\n');
    for (int i = 0; i < 512; ++i) out << block;
  }
  ExpectUnreadable(a, kTooManyLines);
  ExpectOneErrorLine("行数が多すぎます（536,870,911 行まで）");
  fs::remove(a);
}

TEST_F(Headless, ADeviceIsReadUpToItsFirstNul) {
  // /dev/zero never ends; its first byte is a NUL, which ends the text.
  dir_.Write("b.txt", "b\n");
  dir_.Write("r.txt", "");
  EXPECT_EQ(Run("texta=/dev/zero textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt"), 0);
  EXPECT_EQ(Slurp(dir_.Path() + "r.txt"), Head("/dev/zero", dir_.Path() + "b.txt", 0, 0, kNoData + "/dev/zero"));
}

TEST_F(Headless, APipeThatNeverEndsStopsAtTheLineBound) {
  if (kSanitized) GTEST_SKIP() << "a gigabyte through a pipe: the release build checks it";
  const std::string fifo = dir_.Path() + "endless";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The writer ends when the program closes its side.
  ASSERT_EQ(std::system(("(yes > '" + fifo + "' 2>/dev/null &)").c_str()), 0);
  ExpectUnreadable(fifo, kTooManyLines);
}

// A name holding CR LF used to write lines of its own into [INFO].
TEST_F(Headless, LineBreaksInANameAreWrittenAsQuestionMarks) {
  const std::string forged = "x\r\nErrA=99";
  dir_.Write(forged, "a\n");
  dir_.Write("b.txt", "b\n");
  dir_.Write("r.txt", "");
  ASSERT_EQ(Run("'texta=" + dir_.Path() + forged + "' textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt"), 0);
  EXPECT_EQ(Slurp(dir_.Path() + "r.txt"), Head(dir_.Path() + "x??ErrA=99", dir_.Path() + "b.txt", 1, 1, "") +
                                              "UDT:A0>a\r\n    B0>b\r\n");
  // Also in the message that names the file.
  dir_.Write(forged, "\n");
  ASSERT_EQ(Run("'texta=" + dir_.Path() + forged + "' textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt"), 0);
  EXPECT_EQ(Slurp(dir_.Path() + "r.txt"), Head(dir_.Path() + "x??ErrA=99", dir_.Path() + "b.txt", 0, 0,
                                               kNoData + dir_.Path() + "x??ErrA=99"));
}

// A legacy Shift_JIS name used to lose its bytes ("??r.txt").
TEST_F(Headless, AShiftJisNameKeepsItsBytes) {
  const std::string name = "\x94\xe4\x8a\x72r.txt";  // 比較r.txt in Shift_JIS: not UTF-8
  dir_.Write(name, "\n");
  dir_.Write("b.txt", "b\n");
  dir_.Write("r.txt", "");
  ASSERT_EQ(Run("'texta=" + dir_.Path() + name + "' textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt"), 0);
  EXPECT_EQ(Slurp(dir_.Path() + "r.txt"),
            Head(dir_.Path() + name, dir_.Path() + "b.txt", 0, 0, kNoData + dir_.Path() + name));
}

// Without the headless mode and without a display, Qt used to abort (status 134).
TEST_F(Headless, NoDisplayEndsWithOneLineNamingTheMissingFile) {
  dir_.Write("a.txt", "a\n");
  dir_.Write("b.txt", "b\n");
  EXPECT_EQ(Run("path=" + dir_.Path() + " texta=a.txt textb=b.txt ret=missing.txt"), 1);
  ExpectOneErrorLine("ウィンドウを表示できません（ディスプレイがありません）。見つからないファイル: " + dir_.Path() +
                     "missing.txt");
  EXPECT_EQ(Run(""), 1);
  ExpectOneErrorLine("ウィンドウを表示できません（ディスプレイがありません）");
}

// A display that does not answer used to let Qt abort (status 134) too.
TEST_F(Headless, AnUnreachableDisplayEndsWithOneLine) {
  if (std::system("test -e /usr/lib/x86_64-linux-gnu/libxcb.so.1 || ldconfig -p | grep -q libxcb.so.1") != 0)
    GTEST_SKIP() << "no X client library to ask the display";
  EXPECT_EQ(Run("", "DISPLAY=:9871"), 1);
  ExpectOneErrorLine("ウィンドウを表示できません（ディスプレイ :9871 に接続できません）");
  EXPECT_EQ(Run("", "DISPLAY=not-a-display QT_QPA_PLATFORM=xcb"), 1);
  ExpectOneErrorLine("ウィンドウを表示できません（ディスプレイ not-a-display に接続できません）");
}

TEST_F(Headless, HelpAndVersion) {
  EXPECT_EQ(Run("--help > '" + dir_.Path() + "out.txt'", "LANG=C LC_ALL="), 0);
  EXPECT_TRUE(Slurp(dir_.Path() + "out.txt").starts_with("Usage: RavelleDiff [FILE_A [FILE_B]]"));
  EXPECT_EQ(Run("--help > '" + dir_.Path() + "out.txt'", "LANG=ja_JP.UTF-8 LC_ALL="), 0);
  EXPECT_TRUE(Slurp(dir_.Path() + "out.txt").starts_with("使い方: RavelleDiff"));
  EXPECT_EQ(Run("--version > '" + dir_.Path() + "out.txt'"), 0);
  EXPECT_EQ(Slurp(dir_.Path() + "out.txt"), "RavelleDiff " RD_VERSION "\n");
}

// Two bare names work like texta= and textb=, so git can use the program as
// its difftool; with ret= the run is headless and leaves a report to read.
TEST_F(Headless, GitDifftoolPassesBothFiles) {
  if (!HaveCommand("git")) GTEST_SKIP() << "git is needed";
  const std::string repo = dir_.Path() + "repo";
  fs::create_directories(repo);
  dir_.Write("repo/memo.txt", "one\ntwo\n");
  const std::string git = "git -C '" + repo + "' -c user.name=t -c user.email=t@example.invalid ";
  ASSERT_EQ(std::system((git + "init -q && " + git + "add memo.txt && " + git + "commit -qm first").c_str()), 0);
  dir_.Write("repo/memo.txt", "one\nTWO\nthree\n");
  dir_.Write("r.txt", "");
  // The three configuration lines a user writes, given here with -c.
  const std::string tool = program_ + " \"$LOCAL\" \"$REMOTE\" ret=" + dir_.Path() + "r.txt";
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + git + "-c 'difftool.ravellediff.cmd=" + tool +
                              "' difftool -y -t ravellediff memo.txt >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string report = Slurp(dir_.Path() + "r.txt");
  EXPECT_NE(report.find("ErrA=1" + kGyo), std::string::npos) << report;
  EXPECT_NE(report.find("ErrB=2" + kGyo), std::string::npos) << report;
}

// An installed program cannot write beside itself: its settings come from
// the user's configuration folder. Run as another user, since root may
// write anywhere.
TEST_F(Headless, AProgramInAFolderItCannotWriteReadsTheUsersSettings) {
  if (::geteuid() != 0 || !HaveCommand("setpriv")) GTEST_SKIP() << "needs root and setpriv";
  fs::permissions(dir_.Path() + "bin", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
  ::chmod(dir_.Path().c_str(), 0777);
  // Beside the program: ignored. In the user's folder: TrimR off, so "a " and "a" differ.
  Settings("[Check]\r\nTrimR=1\r\n");
  fs::create_directories(dir_.Path() + "config/RavelleDiff");
  dir_.Write("config/RavelleDiff/RavelleDiff.INI", "[Check]\r\nTrimR=0\r\n");
  for (const char* f : {"a.txt", "b.txt", "r.txt"}) {
    dir_.Write(f, std::string(f) == "a.txt" ? "a \n" : std::string(f) == "b.txt" ? "a\n" : "");
    ::chmod((dir_.Path() + f).c_str(), 0666);
  }
  const std::string prefix = "XDG_CONFIG_HOME='" + dir_.Path() + "config' setpriv --reuid=nobody --regid=nogroup --clear-groups";
  ASSERT_EQ(Run("texta=" + dir_.Path() + "a.txt textb=" + dir_.Path() + "b.txt ret=" + dir_.Path() + "r.txt", prefix), 0);
  EXPECT_NE(Slurp(dir_.Path() + "r.txt").find("ErrA=1" + kGyo), std::string::npos) << Slurp(dir_.Path() + "r.txt");
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
