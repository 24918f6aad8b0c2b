// Reading files into line lists: the splitting rules as a table of bytes and
// lines, the code each kind of file is taken in, and unreadable files.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "textcode/file_bytes.h"
#include "textcode/load_lines.h"
#include "textcode/hex.h"

namespace rd {
namespace {

using test::Hex;

// Each test runs with the file read into a buffer and mapped.
class LoadLinesTest : public ::testing::TestWithParam<TReadWay> {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "rd_textcode_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(dir_ / "locked.txt", std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string Write(const std::string& bytes, const char* name = "file.txt") {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::filesystem::path dir_;
};

std::vector<std::string> Lines(const TLineList& list) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < list.Count(); ++i) lines.emplace_back(list[i]);
  return lines;
}

using Strings = std::vector<std::string>;

TEST_P(LoadLinesTest, SplitsAtCrLfCrOrLfAndStopsAtNul) {
  const struct {
    std::string bytes;
    Strings lines;
  } table[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\r", {"a"}},
      {"a\r\r\n", {"a", ""}},
      {"\r\nx", {"", "x"}},
      {std::string("a\r\nb\0c\nd", 9), {"a", "b"}},
      {std::string("a\n\0b", 4), {"a"}},
      {std::string("\0abc", 4), {}},
      {"0123456789abcdefghij\n0123456789abcdefghijk\r0123456789abcdefghijkl",
       {"0123456789abcdefghij", "0123456789abcdefghijk", "0123456789abcdefghijkl"}},
  };
  for (const auto& row : table) {
    TLineList list{"old"};
    EXPECT_EQ(LoadLines(list, TextCode::Sjis, Write(row.bytes), GetParam()), TextCode::Sjis);
    EXPECT_EQ(Lines(list), row.lines) << testing::PrintToString(row.bytes);
  }
}

TEST_P(LoadLinesTest, BreakAtEveryOffsetOfALongLine) {
  for (std::size_t at = 0; at <= 40; ++at) {
    for (const char* brk : {"\n", "\r", "\r\n"}) {
      const std::string head(at, 'x');
      const std::string tail(40 - at, 'y');
      TLineList list;
      LoadLines(list, TextCode::Sjis, Write(head + brk + tail), GetParam());
      const Strings expected = tail.empty() ? Strings{head} : Strings{head, tail};
      ASSERT_EQ(Lines(list), expected) << at;
    }
  }
}

const std::string kEucFile = Hex("B4 C1 BB FA 0D 0A A4 A2 0D 0A") + "abc\r\n";
const Strings kEucAsSjis = {Hex("8A BF 8E 9A"), Hex("82 A0"), "abc"};
const Strings kEucUnconverted = {Hex("B4 C1 BB FA"), Hex("A4 A2"), "abc"};

TEST_P(LoadLinesTest, EucFileDetectedAndConverted) {
  TLineList list;
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write(kEucFile), GetParam()), TextCode::Euc);
  EXPECT_EQ(Lines(list), kEucAsSjis);
}

TEST_P(LoadLinesTest, FixedEucCodeConverts) {
  TLineList list;
  EXPECT_EQ(LoadLines(list, TextCode::Euc, Write(kEucFile), GetParam()), TextCode::Euc);
  EXPECT_EQ(Lines(list), kEucAsSjis);
}

TEST_P(LoadLinesTest, FixedSjisCodeAndCodesOutOfRangeTakeTheBytes) {
  TLineList list;
  EXPECT_EQ(LoadLines(list, TextCode::Sjis, Write(kEucFile), GetParam()), TextCode::Sjis);
  EXPECT_EQ(Lines(list), kEucUnconverted);
  EXPECT_EQ(LoadLines(list, static_cast<TextCode>(7), Write(kEucFile), GetParam()), TextCode::Sjis);
  EXPECT_EQ(Lines(list), kEucUnconverted);
}

TEST_P(LoadLinesTest, EucLineThatFailsKeepsTheWholeFileUnconverted) {
  const std::string file = kEucFile + Hex("41 A4");  // cut two-byte form in the last line
  Strings unconverted = kEucUnconverted;
  unconverted.push_back(Hex("41 A4"));
  for (TextCode code : {TextCode::Auto, TextCode::Euc}) {
    TLineList list;
    EXPECT_EQ(LoadLines(list, code, Write(file), GetParam()), TextCode::Euc);
    EXPECT_EQ(Lines(list), unconverted);
  }
}

TEST_P(LoadLinesTest, Utf8FileDetectedAndConverted) {
  const std::string file = Hex("E3 81 82 0A") + Hex("E6 BC A2 E5 AD 97 0A") + "abc\n";
  for (TextCode code : {TextCode::Auto, TextCode::Utf8}) {
    TLineList list;
    EXPECT_EQ(LoadLines(list, code, Write(file), GetParam()), TextCode::Utf8);
    EXPECT_EQ(Lines(list), (Strings{Hex("82 A0"), Hex("8A BF 8E 9A"), "abc"}));
  }
}

// Ill-formed UTF-8 past the detector's first 1024 bytes converts to "?" like
// any character without a Shift_JIS form; it does not make the line, and so
// the file, fail.
TEST_P(LoadLinesTest, Utf8FileWithAnIllFormedLaterLineIsStillConverted) {
  const std::string plain(1100, 'p');
  const std::string file = Hex("E3 81 82 E3 81 84 0A") + plain + "\n" + "x" + Hex("C3 28 E3 81") + "y\n";
  TLineList list;
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write(file), GetParam()), TextCode::Utf8);
  EXPECT_EQ(Lines(list), (Strings{Hex("82 A0 82 A2"), plain, "x?(?y"}));
}

TEST_P(LoadLinesTest, DetectionSeesTheLinesJoinedWithCrLf) {
  TLineList list;
  // Five bytes are too few for the UTF-8 scan; joined with CR LF they are seven.
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write(Hex("E3 81 82 41 41")), GetParam()), TextCode::Utf8);
  EXPECT_EQ(Lines(list), (Strings{Hex("82 A0 41 41")}));
  // 1020 LF breaks are 2040 joined bytes: the sequence lies past the scan limit.
  const std::string late = std::string(1020, '\n') + Hex("E3 81 82") + "aaa\n";
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write(late), GetParam()), TextCode::Sjis);
  EXPECT_EQ(list.Count(), 1021u);
  EXPECT_EQ(list[1020], Hex("E3 81 82") + "aaa");
}

TEST_P(LoadLinesTest, MarksAndAsciiAreTakenAsTheyAre) {
  TLineList list;
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write(Hex("EF BB BF E3 81 82 0A 41")), GetParam()), TextCode::Sjis);
  EXPECT_EQ(Lines(list), (Strings{Hex("EF BB BF E3 81 82"), "A"}));
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write("int main() {}\n"), GetParam()), TextCode::Sjis);
  EXPECT_EQ(Lines(list), (Strings{"int main() {}"}));
  EXPECT_EQ(LoadLines(list, TextCode::Auto, Write(""), GetParam()), TextCode::Sjis);
  EXPECT_EQ(list.Count(), 0u);
}

TEST_P(LoadLinesTest, UnreadableFilesRaiseAnErrorAndKeepTheList) {
  const std::string missing = (dir_ / "missing.txt").string();
  const std::string folder = dir_.string();
  std::vector<std::pair<std::string, std::string>> cases = {{missing, "No such file or directory"},
                                                            {folder, "Is a directory"}};
  if (::geteuid() != 0) {
    const std::string locked = Write("secret", "locked.txt");
    ::chmod(locked.c_str(), 0);
    cases.push_back({locked, "Permission denied"});
  }
  for (const auto& [path, reason] : cases) {
    TLineList list{"kept"};
    try {
      LoadLines(list, TextCode::Auto, path, GetParam());
      ADD_FAILURE() << "no error for " << path;
    } catch (const TFileReadError& e) {
      EXPECT_EQ(e.Path(), path);
      EXPECT_EQ(e.Reason(), reason);
      EXPECT_EQ(std::string(e.what()), path + ": " + reason);
    }
    EXPECT_EQ(Lines(list), (Strings{"kept"}));
  }
}

INSTANTIATE_TEST_SUITE_P(ReadAndMapped, LoadLinesTest, ::testing::Values(TReadWay::Read, TReadWay::Map),
                         [](const auto& info) { return info.param == TReadWay::Read ? "Read" : "Mapped"; });

}  // namespace
}  // namespace rd
