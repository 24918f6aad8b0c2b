// A pane's text read from a file in each code, written back in each code,
// and the safe replacement of the file it is written to.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "temp_folder.h"
#include "textcode/file_bytes.h"
#include "textcode/file_replace.h"
#include "textcode/pane_text.h"

namespace rd {
namespace {

using namespace std::literals;

using testing::Slurp;
using testing::TempFolder;

TEST(ReadPaneText, TakesEachCodeAndCountsLostCharacters) {
  TempFolder folder;
  struct Case {
    std::string_view bytes;
    TextCode asked;
    TextCode taken;
    const char* text;  // Shift_JIS, CR LF after every line
    std::size_t lost;
  };
  const Case cases[] = {
      // "日本語" in EUC-JP, detected; LF and a lone CR end lines too.
      {"\xC6\xFC\xCB\xDC\xB8\xEC\nx\ry"sv, TextCode::Auto, TextCode::Euc, "\x93\xfa\x96\x7b\x8c\xea\r\nx\r\ny\r\n", 0},
      // UTF-8 asked for: an emoji and a broken byte become "?", a "?" of the file stays.
      {"a\xF0\x9F\x98\x80?\xFF\n"sv, TextCode::Utf8, TextCode::Utf8, "a??" "?\r\n", 2},
      // Shift_JIS as it is; a NUL ends the text.
      {"\x83\x65\x83\x58\x83\x67\r\nend\0hidden"sv, TextCode::Sjis, TextCode::Sjis, "\x83\x65\x83\x58\x83\x67\r\nend\r\n", 0},
      {""sv, TextCode::Auto, TextCode::Sjis, "", 0},
  };
  for (const Case& c : cases) {
    const std::string path = folder.Write("f.txt", c.bytes);
    const TPaneText t = ReadPaneText(path, c.asked);
    EXPECT_EQ(t.code, c.taken) << c.bytes;
    EXPECT_EQ(t.text.View(), c.text) << c.bytes;
    EXPECT_EQ(t.lost, c.lost) << c.bytes;
    EXPECT_FALSE(t.failed);
  }
  // EUC-JP asked for where a line ends inside a character: nothing is taken.
  const TPaneText broken = ReadPaneText(folder.Write("g.txt", "ok\nA\x8e\n"), TextCode::Euc);
  EXPECT_TRUE(broken.failed);
  EXPECT_EQ(broken.text.size, 0u);
  EXPECT_THROW(ReadPaneText(folder.Path() + "missing.txt", TextCode::Auto), TFileReadError);
}

TEST(EncodePaneLines, ConvertsEachLineAndEndsItWithLf) {
  const std::vector<std::string> lines{"\x93\xfa\x96\x7b", "a\0b"s, ""};
  const auto at = [&](int i) { return std::string_view(lines[static_cast<std::size_t>(i)]); };
  EXPECT_EQ(EncodePaneLines(3, at, TextCode::Utf8), std::string("日本\na\n\n"));
  EXPECT_EQ(EncodePaneLines(1, at, TextCode::Euc), std::string("\xC6\xFC\xCB\xDC\n"));
  const std::vector<std::string> bad{"\xA0\xA1"};
  EXPECT_FALSE(EncodePaneLines(1, [&](int) { return std::string_view(bad[0]); }, TextCode::Euc));
  EXPECT_EQ(FileLabelCaption(TextCode::Utf8, "/a/b/c.txt"), "[UTF8] c.txt");
  EXPECT_EQ(FileLabelCaption(TextCode::Euc, "c.txt"), "[EUC] c.txt");
  EXPECT_EQ(FileLabelCaption(TextCode::Sjis, "/c.txt"), "c.txt");
}

TEST(ReplaceFileContents, KeepsModeAndLinksAndLeavesNoTemporaryFile) {
  TempFolder folder;
  const std::string path = folder.Write("t.txt", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(::symlink(path.c_str(), (folder.Path() + "link").c_str()), 0);
  EXPECT_EQ(ReplaceFileContents(folder.Path() + "link", "new"), "");
  EXPECT_EQ(Slurp(path), "new");
  struct stat st {};
  ASSERT_EQ(::lstat((folder.Path() + "link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  // A folder in the file's place: the reason comes back, the folder stays.
  ASSERT_EQ(::mkdir((folder.Path() + "dir").c_str(), 0755), 0);
  EXPECT_NE(ReplaceFileContents(folder.Path() + "dir", "x"), "");
  EXPECT_EQ(ReplaceFileContents(folder.Path() + "no/such", "x"), "No such file or directory");
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    files += entry.is_regular_file() && !entry.is_symlink();
  EXPECT_EQ(files, 1u);  // t.txt only: no temporary file left behind
}

}  // namespace
}  // namespace rd
