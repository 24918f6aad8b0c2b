#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/long_path.h"
#include "app/program_folder.h"
#include "temp_folder.h"

namespace rd {
namespace {

TCommandLine Parse(std::vector<std::string_view> args) { return ParseCommandLine(args); }

TEST(ParseCommandLine, KeysValuesAndRepeats) {
  const TCommandLine l = Parse({"TEXTA=a.txt", "textb=b.txt", "Ret=r.txt", "path=/d", "other=x", "plain"});
  EXPECT_EQ(l.texta, "a.txt");
  EXPECT_EQ(l.textb, "b.txt");
  EXPECT_EQ(l.ret, "r.txt");
  EXPECT_EQ(l.path, "/d");

  EXPECT_EQ(Parse({"texta=a=b.txt"}).texta, "a=b.txt");      // value after the first "="
  EXPECT_EQ(Parse({"texta=one", "texta=two"}).texta, "two");  // the last one wins
  EXPECT_EQ(Parse({"texta =a.txt"}).texta, "");                // the key ends in a blank
  EXPECT_EQ(Parse({"texta=x", "texta="}).texta, "");          // an empty value counts too
}

TEST(ParseCommandLine, BareNamesAndOptions) {
  struct Case {
    std::vector<std::string_view> args;
    std::string a, b, ret;
    bool help, version;
  };
  const Case cases[] = {
      {{"old.txt", "new.txt"}, "old.txt", "new.txt", "", false, false},
      {{"only.txt"}, "only.txt", "", "", false, false},
      {{"a", "b", "c"}, "a", "b", "", false, false},                      // a third name is ignored
      {{"textb=x", "y"}, "y", "x", "", false, false},                     // keys win, names fill the rest
      {{"x=y.txt", "z"}, "z", "", "", false, false},                      // "=" keeps the key meaning
      {{"a", "b", "ret=r"}, "a", "b", "r", false, false},                 // a difftool with a report
      {{"-platform", "a", "--help"}, "a", "", "", true, false},           // options are not names
      {{"--", "--help", "-x"}, "--help", "-x", "", false, false},         // after "--" everything is
      {{"--version"}, "", "", "", false, true},
  };
  for (const Case& c : cases) {
    const TCommandLine l = Parse(c.args);
    EXPECT_EQ(l.texta, c.a) << c.args.front();
    EXPECT_EQ(l.textb, c.b) << c.args.front();
    EXPECT_EQ(l.ret, c.ret) << c.args.front();
    EXPECT_EQ(l.help, c.help) << c.args.front();
    EXPECT_EQ(l.version, c.version) << c.args.front();
  }
  EXPECT_TRUE(UsageText("ja_JP.UTF-8").starts_with("使い方: RavelleDiff"));
  EXPECT_TRUE(UsageText("").starts_with("使い方:"));
  EXPECT_TRUE(UsageText("C").starts_with("Usage: RavelleDiff"));
  EXPECT_TRUE(UsageText("en_US.UTF-8").starts_with("Usage:"));
}

TEST(ResolveFiles, PathPrefixAndMissingFiles) {
  testing::TempFolder dir;
  dir.Write("a.txt", "a");
  dir.Write("r.txt", "");
  TCommandLine l = Parse({"texta=a.txt", "textb=b.txt", "ret=r.txt"});
  l.path = dir.Path().substr(0, dir.Path().size() - 1);  // without its "/"
  ResolveFiles(l, FileExists);
  EXPECT_EQ(l.path, dir.Path());
  EXPECT_EQ(l.texta, dir.Path() + "a.txt");
  EXPECT_EQ(l.textb, "");  // b.txt does not exist
  EXPECT_EQ(l.ret, dir.Path() + "r.txt");
  EXPECT_FALSE(l.Headless());
  EXPECT_EQ(l.missing, std::vector<std::string>{dir.Path() + "b.txt"});  // for the message without a display

  dir.Write("b.txt", "b");
  l = Parse({"texta=a.txt", "textb=b.txt", "ret=r.txt", "path=" + dir.Path()});
  ResolveFiles(l, FileExists);
  EXPECT_TRUE(l.Headless());
  EXPECT_TRUE(l.missing.empty());
}

TEST(ResolveFiles, AFolderIsNotAFile) {
  testing::TempFolder dir;
  std::filesystem::create_directory(dir.Path() + "sub");
  TCommandLine l = Parse({"texta=" + dir.Path() + "sub"});
  ResolveFiles(l, FileExists);
  EXPECT_EQ(l.texta, "");
}

TEST(ToLongPath, ExistingAndMissingComponents) {
  testing::TempFolder dir;
  dir.Write("f.txt", "x");
  EXPECT_EQ(ToLongPath(dir.Path() + "f.txt"), dir.Path() + "f.txt");
  EXPECT_EQ(ToLongPath(dir.Path()), dir.Path().substr(0, dir.Path().size() - 1));  // one trailing "/" goes
  EXPECT_EQ(ToLongPath(dir.Path() + "missing/f.txt"), dir.Path() + "missing/f.txt");
  EXPECT_EQ(ToLongPath("no-such-file-here"), "no-such-file-here");
  EXPECT_EQ(ToLongPath(""), "");
}

TEST(TidyCheckFolder, DeletesOnlyResultFiles) {
  testing::TempFolder dir;
  for (const char* name : {"x.ret", "x.ret2", "X.RET1", "x.txt", ".hidden.ret", "xret"}) dir.Write(name, "1");
  std::filesystem::create_directory(dir.Path() + "sub.ret");
  std::filesystem::create_symlink(dir.Path() + "x.txt", dir.Path() + "link.ret");
  TidyCheckFolder(dir.Path());
  std::set<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) left.insert(e.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"x.txt", ".hidden.ret", "xret", "sub.ret", "link.ret"}));
}

TEST(TidyCheckFolder, CreatesTheFolderWithItsParents) {
  testing::TempFolder dir;
  const std::string check = dir.Path() + "deep/er/check/";
  TidyCheckFolder(check);
  EXPECT_TRUE(std::filesystem::is_directory(check));
}

TEST(ProgramDirectory, EndsInASlash) {
  const std::string d = ProgramDirectory(nullptr);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(d));
  // A folder the program may write: its files lie beside it.
  testing::TempFolder folder;
  EXPECT_EQ(CheckFolder(folder.Path()), folder.Path() + "check/");
  EXPECT_EQ(SettingsFile(folder.Path()), folder.Path() + "RavelleDiff.INI");
}

}  // namespace
}  // namespace rd
