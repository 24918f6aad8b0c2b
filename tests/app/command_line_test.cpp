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
  EXPECT_EQ(CheckFolder("/opt/rd/"), "/opt/rd/check/");
}

}  // namespace
}  // namespace rd
