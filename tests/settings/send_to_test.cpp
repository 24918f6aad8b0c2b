// The send-to entries: their folder, their quoting against a reader written
// from freedesktop.org's desktop-entry rules, the register button's decisions and
// its work on a real folder, and desktop-file-validate on what it writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "desktop_entry_reader.h"
#include "settings/send_to.h"
#include "temp_folder.h"

namespace rd {
namespace {

using testing::DesktopValue;
using testing::Slurp;
using testing::SplitExec;
using testing::TempFolder;

const char* const kNameA = "RavelleDiff テキストA.desktop";
const char* const kNameB = "RavelleDiff テキストB.desktop";

TEST(SendTo, FolderFromTheEnvironment) {
  const struct {
    const char* xdg;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/x/data", "/home/u", "/x/data/applications/"},
      {"/x/data/", "/home/u", "/x/data/applications/"},
      {nullptr, "/home/u", "/home/u/.local/share/applications/"},
      {"", "/home/u/", "/home/u/.local/share/applications/"},
      {"relative/data", "/home/u", "/home/u/.local/share/applications/"},  // relative: invalid, ignored
      {nullptr, nullptr, ""},
      {"", "relative", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindSendToFolder(c.xdg, c.home), c.folder) << (c.xdg ? c.xdg : "(null)") << " " << (c.home ? c.home : "(null)");
}

TEST(SendTo, ExecArgumentsAndStringValues) {
  const struct {
    const char* arg;
    const char* quoted;
  } quoting[] = {
      {"/usr/bin/ravelle_diff_tool", "/usr/bin/ravelle_diff_tool"},
      {"/opt/日本語/tool", "/opt/日本語/tool"},
      {"/opt/a b/tool", "\"/opt/a b/tool\""},
      {"/opt/x$y/tool", "\"/opt/x\\$y/tool\""},
      {"/opt/a\\b/tool", "\"/opt/a\\\\b/tool\""},
      {"/opt/q\"`/tool", "\"/opt/q\\\"\\`/tool\""},
      {"/opt/it's/t", "\"/opt/it's/t\""},
      {"/opt/~#;&|<>*?()/t", "\"/opt/~#;&|<>*?()/t\""},
      {"/opt/100%/t", "/opt/100%%/t"},
      {"/opt/1 00%/t", "\"/opt/1 00%%/t\""},
      {"", "\"\""},
  };
  for (const auto& c : quoting) EXPECT_EQ(QuoteExecArgument(c.arg), c.quoted) << c.arg;

  const struct {
    const char* value;
    const char* escaped;
  } escaping[] = {{"plain", "plain"}, {"a\\b", "a\\\\b"}, {"l1\nl2", "l1\\nl2"}, {"t\tr\r", "t\\tr\\r"}, {"日本", "日本"}};
  for (const auto& c : escaping) EXPECT_EQ(EscapeDesktopValue(c.value), c.escaped) << c.value;
}

TEST(SendTo, EntryTextWrittenOut) {
  EXPECT_EQ(SendToEntryName(Side::A), kNameA);
  EXPECT_EQ(SendToEntryName(Side::B), kNameB);
  const std::string mime =
      "MimeType=text/plain;text/csv;application/xml;text/xml;text/x-csrc;text/x-c++src;text/x-chdr;text/x-c++hdr;"
      "text/x-java;text/x-pascal;application/sql;text/html;application/xhtml+xml;application/javascript;"
      "text/javascript;text/vbscript;text/css;application/xml-dtd;\n";
  EXPECT_EQ(SendToEntryText(Side::A, "/opt/rd/ravelle_diff_tool"),
            "[Desktop Entry]\nType=Application\nName=RavelleDiff テキストA\nComment=RavelleDiff\n"
            "Exec=/opt/rd/ravelle_diff_tool -a %f\nPath=/opt/rd/\n" +
                mime + "NoDisplay=true\n");
  EXPECT_EQ(SendToEntryText(Side::B, "/home/u/比較 ツール/ravelle_diff_tool"),
            "[Desktop Entry]\nType=Application\nName=RavelleDiff テキストB\nComment=RavelleDiff\n"
            "Exec=\"/home/u/比較 ツール/ravelle_diff_tool\" -b %f\nPath=/home/u/比較 ツール/\n" +
                mime + "NoDisplay=true\n");
  // A backslash is escaped twice in Exec (quoting, then the string escape), once in Path.
  const std::optional<std::string> odd = SendToEntryText(Side::A, "/a\\b/t");
  ASSERT_TRUE(odd);
  EXPECT_NE(odd->find("Exec=\"/a\\\\\\\\b/t\" -a %f\n"), std::string::npos) << *odd;
  EXPECT_NE(odd->find("Path=/a\\\\b/\n"), std::string::npos) << *odd;

  // Paths an entry cannot carry.
  for (const char* bad : {"/opt/\xff\xfe/t", "/opt/a\x01/t", "/opt/a=b/t", "relative"})
    EXPECT_FALSE(SendToEntryText(Side::A, bad)) << bad;
}

// Whatever the folder is called, a launcher reading the entry starts the
// companion program by its exact path, with the flag and the file.
TEST(SendTo, ExecLineSplitsBackToTheProgram) {
  const char* folders[] = {"/opt/rd/",       "/home/u/比較 ツール/", "/tmp/x$y\\z w\"q`b/", "/tmp/100% sure/",
                           "/tmp/it's (1)/", "/tmp/tab\there/",       "/tmp/~a;b&c|d/"};
  for (const char* folder : folders) {
    const std::string companion = std::string(folder) + "ravelle_diff_tool";
    for (const Side side : {Side::A, Side::B}) {
      const std::optional<std::string> text = SendToEntryText(side, companion);
      ASSERT_TRUE(text) << folder;
      const std::optional<std::string> exec = DesktopValue(*text, "Exec");
      ASSERT_TRUE(exec) << folder;
      const auto args = SplitExec(*exec, "/docs/a file.txt");
      ASSERT_TRUE(args) << *exec;
      const std::vector<std::string> expected{companion, side == Side::A ? "-a" : "-b", "/docs/a file.txt"};
      EXPECT_EQ(*args, expected) << *exec;
      EXPECT_EQ(DesktopValue(*text, "Path"), std::string(folder));
    }
  }
}

TEST(SendTo, PlanOfTheRegisterButton) {
  const struct {
    bool wanted;
    PerSide<bool> exists;
    TSendToPlan plan;
  } cases[] = {
      {true, {false, false}, {{true, true}, {false, false}}},
      {true, {true, true}, {{false, false}, {false, false}}},  // both present: nothing changes
      {true, {false, true}, {{true, false}, {false, false}}},  // only B: A is created
      {true, {true, false}, {{false, true}, {false, false}}},
      {false, {true, true}, {{false, false}, {true, true}}},
      {false, {false, true}, {{false, false}, {true, true}}},
      {false, {false, false}, {{false, false}, {true, true}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlanSendTo(c.wanted, c.exists), c.plan) << c.wanted << c.exists[0] << c.exists[1];
}

class SendToFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    programDir_ = folder_.Path() + "プログラム フォルダ/";
    std::filesystem::create_directories(programDir_);
    companion_ = folder_.Write("プログラム フォルダ/ravelle_diff_tool", "#!/bin/sh\n");
    ::chmod(companion_.c_str(), 0755);
    entries_ = folder_.Path() + "data/applications/";
  }
  bool Exists(const char* name) const { return std::filesystem::is_regular_file(entries_ + name); }

  TempFolder folder_;
  std::string programDir_, companion_, entries_;
};

// The button's cases as the dialog uses them are in the dialog's test; here
// what only the files show: the bytes, the folder's mode, removing twice.
TEST_F(SendToFolder, WritesWholeEntriesInAPrivateFolder) {
  TSendToResult r = UpdateSendTo(entries_, programDir_, true);
  EXPECT_EQ(r.refusal, TSendToRefusal::None);
  EXPECT_TRUE(r.textAExists);
  EXPECT_EQ(r.failures, "");
  EXPECT_EQ(Slurp(entries_ + kNameA), SendToEntryText(Side::A, companion_));
  EXPECT_EQ(Slurp(entries_ + kNameB), SendToEntryText(Side::B, companion_));
  struct stat st {};
  ASSERT_EQ(::stat((folder_.Path() + "data").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  r = UpdateSendTo(entries_, programDir_, false);
  EXPECT_FALSE(r.textAExists);
  EXPECT_FALSE(Exists(kNameA) || Exists(kNameB));
  EXPECT_EQ(UpdateSendTo(entries_, programDir_, false).failures, "");  // nothing left to remove is no failure
}

TEST_F(SendToFolder, RefusalsAndFailures) {
  // No folder at all, or one that cannot be created (a file stands in its way).
  EXPECT_EQ(UpdateSendTo("", programDir_, true).refusal, TSendToRefusal::NoFolder);
  folder_.Write("blocker", "x");
  EXPECT_EQ(UpdateSendTo(folder_.Path() + "blocker/applications/", programDir_, true).refusal, TSendToRefusal::NoFolder);
  // No companion, or one that cannot be run: nothing is written.
  EXPECT_EQ(UpdateSendTo(entries_, folder_.Path() + "elsewhere/", true).refusal, TSendToRefusal::NoCompanion);
  ::chmod(companion_.c_str(), 0644);
  EXPECT_EQ(UpdateSendTo(entries_, programDir_, true).refusal, TSendToRefusal::NoCompanion);
  EXPECT_FALSE(std::filesystem::exists(entries_));
  ::chmod(companion_.c_str(), 0755);

  // An entry that cannot be written is reported, not passed over.
  std::filesystem::create_directories(entries_ + kNameB);  // a folder where the file should go
  const TSendToResult r = UpdateSendTo(entries_, programDir_, true);
  EXPECT_EQ(r.refusal, TSendToRefusal::None);
  EXPECT_TRUE(r.textAExists);
  EXPECT_NE(r.failures.find(kNameB), std::string::npos) << r.failures;
}

// The entries pass Debian's validator, the desktop database lists them for
// text files, and NoDisplay keeps them out of the application menu.
TEST_F(SendToFolder, ValidatorAcceptsBothEntries) {
  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "desktop-file-validate is not installed (Debian: desktop-file-utils)";
  ASSERT_EQ(UpdateSendTo(entries_, programDir_, true).failures, "");
  for (const char* name : {kNameA, kNameB}) {
    const std::string command = "desktop-file-validate '" + entries_ + name + "' > '" + folder_.Path() + "v.txt' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << name << ": " << Slurp(folder_.Path() + "v.txt");
    EXPECT_EQ(Slurp(folder_.Path() + "v.txt"), "") << name;
  }
  if (std::system("command -v update-desktop-database >/dev/null 2>&1") == 0) {
    const std::string cache = Slurp(entries_ + "mimeinfo.cache");
    EXPECT_NE(cache.find("text/plain=RavelleDiff テキストA.desktop;RavelleDiff テキストB.desktop;"), std::string::npos)
        << cache;
  }
}

}  // namespace
}  // namespace rd
