// Result files: exact bytes written, the reading rules line by line, names
// that would leave the check folder, and writes that fail part-way.
#include "batch/result_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "temp_folder.h"

namespace rd {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

// Records what the comparison tells the window.
class TRecordingHost final : public TCompareHost {
 public:
  void ShowErrorCounts(const PerSide<std::size_t>& counts) override {
    shown = {ErrorCountText(counts[0]), ErrorCountText(counts[1])};
  }
  void ClearErrorCounts() override { shown = {"", ""}; }
  void RepaintPanes() override {}
  PerSide<std::string> shown{"(untouched)", "(untouched)"};
};

class ResultFile : public ::testing::Test {
 protected:
  void Fill(TDiffList a, TDiffList b) {
    comparison_.MutableDiff(Side::A) = std::move(a);
    comparison_.MutableDiff(Side::B) = std::move(b);
  }
  std::string Read(std::string_view name = "r.ret") { return ReadResultFile(comparison_, dir_.Path(), name); }
  std::string ReadBytes(std::string_view bytes) {
    dir_.Write("r.ret", bytes);
    return Read();
  }
  const TDiffList& A() const { return comparison_.Diff(Side::A); }
  const TDiffList& B() const { return comparison_.Diff(Side::B); }

  testing::TempFolder dir_;
  TRecordingHost host_;
  TComparison comparison_{&host_};
};

TEST_F(ResultFile, WritesTheExactLayout) {
  Fill({{12, 10, 2, 99}, {13, 10, 1, 0}}, {{0, 0, 1, 0}, {-5, 2147483647, 3, 0}});
  ASSERT_EQ(WriteResultFile(comparison_, dir_.Path(), "memo.ret"), "");
  EXPECT_EQ(Slurp(dir_.Path() + "memo.ret"), "[TextA]\r\n12,10,2\r\n13,10,1\r\n[TextB]\r\n0,0,1\r\n-5,2147483647,3\r\n");
  EXPECT_EQ(A().size(), 2u) << "writing leaves the lists alone";
}

TEST_F(ResultFile, EmptyListsWriteBothHeadersAndReadBackAsZeroLines) {
  ASSERT_EQ(WriteResultFile(comparison_, dir_.Path(), "e.ret"), "");
  EXPECT_EQ(Slurp(dir_.Path() + "e.ret"), "[TextA]\r\n[TextB]\r\n");
  Fill({{1, 1, 1, 0}}, {});
  EXPECT_EQ(Read("e.ret"), "");
  EXPECT_TRUE(A().empty());
  EXPECT_TRUE(B().empty());
  EXPECT_EQ(host_.shown, (PerSide<std::string>{"0行", "0行"}));
}

TEST_F(ResultFile, RoundTripKeepsEntriesAndOrder) {
  TDiffList a;
  TDiffList b;
  for (std::int32_t i = 0; i < 5000; ++i) {
    a.push_back({i * 3, i * 7 % 1000, 1 + i % 3, 0});
    if (i % 2) b.push_back({i, i / 2, 1 + (i + 1) % 3, 0});
  }
  Fill(a, b);
  ASSERT_EQ(WriteResultFile(comparison_, dir_.Path(), "big.ret"), "");
  EXPECT_EQ(Read("big.ret"), "");
  EXPECT_EQ(A(), a);  // fullLine is 0 in both: not written, left unset
  EXPECT_EQ(B(), b);
  EXPECT_EQ(host_.shown, (PerSide<std::string>{"5000行", "2500行"}));
}

TEST_F(ResultFile, ReplacesAnOlderFileAndLeavesNoTemporaryFile) {
  dir_.Write("r.ret", std::string(10000, 'x'));
  Fill({{1, 2, 3, 0}}, {});
  ASSERT_EQ(WriteResultFile(comparison_, dir_.Path(), "r.ret"), "");
  EXPECT_EQ(Slurp(dir_.Path() + "r.ret"), "[TextA]\r\n1,2,3\r\n[TextB]\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
}

struct ReadCase {
  const char* what;
  std::string bytes;
  bool broken;
  TDiffList a;
  TDiffList b;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class ResultFileRead : public ResultFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ResultFileRead, GivesTheEntriesAndMessage) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(ReadBytes(c.bytes), c.broken ? kResultBroken : "");
  EXPECT_EQ(A(), c.a);
  EXPECT_EQ(B(), c.b);
  EXPECT_EQ(host_.shown, (PerSide<std::string>{std::to_string(c.a.size()) + "行", std::to_string(c.b.size()) + "行"}))
      << "the counts are shown, also for a broken file";
}

const TDiffEntry e421{4, 2, 1, 0};
const TDiffEntry e532{5, 3, 2, 0};

INSTANTIATE_TEST_SUITE_P(
    Lines, ResultFileRead,
    ::testing::Values(
        ReadCase{"empty file", "", false, {}, {}},
        ReadCase{"entry before any header goes to TextA", "4,2,1\r\n[TextB]\r\n5,3,2\r\n", false, {e421}, {e532}},
        ReadCase{"TextB before TextA", "[TextB]\r\n5,3,2\r\n[TextA]\r\n4,2,1\r\n", false, {e421}, {e532}},
        ReadCase{"repeated headers", "[TextA]\r\n4,2,1\r\n[TextB]\r\n[TextA]\r\n5,3,2\r\n", false, {e421, e532}, {}},
        ReadCase{"fields after the third ignored", "4,2,1,9\r\n5,3,2,x,\"\r\n", false, {e421, e532}, {}},
        ReadCase{"blanks separate", "4 2 1\r\n 5 ,\t3 , 2 \r\n", false, {e421, e532}, {}},
        ReadCase{"quoted fields", "\"4\",\"2\",1\r\n5 \"3\" \"2\"\r\n", false, {e421, e532}, {}},
        ReadCase{"LF alone and no line end at the end", "[TextA]\n4,2,1\n[TextB]\r\n5,3,2", false, {e421}, {e532}},
        ReadCase{"signs and leading zeros", "+4,02,01\r\n", false, {e421}, {}},
        ReadCase{"limits of 32 bits", "2147483647,2147483647,3\r\n", false, {{2147483647, 2147483647, 3, 0}}, {}},
        ReadCase{"empty line in the middle", "4,2,1\r\n\r\n5,3,2\r\n", true, {e421}, {}},
        ReadCase{"trailing empty line", "[TextA]\r\n4,2,1\r\n[TextB]\r\n5,3,2\r\n\r\n", true, {e421}, {e532}},
        ReadCase{"line of blanks", "4,2,1\r\n  \r\n", true, {e421}, {}},
        ReadCase{"letters in a field", "4,2,1\r\n4,x,1\r\n", true, {e421}, {}},
        ReadCase{"lower-case header", "[texta]\r\n4,2,1\r\n", true, {}, {}},
        ReadCase{"header with a blank after it", "[TextA] \r\n4,2,1\r\n", true, {}, {}},
        ReadCase{"two fields", "4,2\r\n", true, {}, {}},
        ReadCase{"empty field", "4,,1\r\n", true, {}, {}},
        ReadCase{"trailing comma after two", "4,2,\r\n", true, {}, {}},
        ReadCase{"over 32 bits", "2147483648,0,1\r\n", true, {}, {}},
        ReadCase{"far over 32 bits", "4,99999999999999999999,1\r\n", true, {}, {}},
        ReadCase{"unclosed quote", "4,\"2,1\r\n", true, {}, {}},
        ReadCase{"text after a quote", "4,\"2\"x,1\r\n", true, {}, {}},
        ReadCase{"sign alone", "4,-,1\r\n", true, {}, {}},
        ReadCase{"CR inside a line", "4,2\r,1\r\n", true, {}, {}},
        ReadCase{"NUL inside a line", std::string("4,2,1\r\n5,3\0,2\r\n", 15), true, {e421}, {}},
        ReadCase{"descending lines", "5,3,2\r\n4,2,1\r\n", true, {e532}, {}},
        ReadCase{"duplicate line", "4,2,1\r\n4,2,1\r\n", true, {e421}, {}},
        ReadCase{"descending across a repeated header", "[TextA]\r\n5,3,2\r\n[TextB]\r\n[TextA]\r\n4,2,1\r\n", true,
                 {e532}, {}},
        ReadCase{"unknown kind", "4,2,1\r\n5,3,4\r\n", true, {e421}, {}},
        ReadCase{"negative line", "-1,0,1\r\n", true, {}, {}},
        ReadCase{"negative partner", "4,-2,1\r\n", true, {}, {}}));

TEST_F(ResultFile, MissingFileDiscardsResultsAndLeavesCountsBlank) {
  Fill({e421}, {e532});
  EXPECT_EQ(Read("none.ret"), kResultMissing);
  EXPECT_TRUE(A().empty());
  EXPECT_TRUE(B().empty());
  EXPECT_EQ(host_.shown, (PerSide<std::string>{"", ""}));
}

TEST_F(ResultFile, AFolderInPlaceOfTheFileIsBroken) {
  fs::create_directory(dir_.Path() + "r.ret");
  EXPECT_EQ(Read(), kResultBroken);
  EXPECT_EQ(host_.shown, (PerSide<std::string>{"0行", "0行"}));
}

TEST_F(ResultFile, APipeInPlaceOfTheFileIsBrokenWithoutWaiting) {
  ASSERT_EQ(::mkfifo((dir_.Path() + "r.ret").c_str(), 0600), 0);
  EXPECT_EQ(Read(), kResultBroken);
}

TEST_F(ResultFile, LongLinesAreBrokenWithoutReadingThemWhole) {
  const std::string limitLine = "4,2,1," + std::string(kResultLineLimit - 6, '9');
  EXPECT_EQ(ReadBytes(limitLine + "\r\n"), "") << "a line of the limit is read";
  EXPECT_EQ(ReadBytes("4,2,1\r\n" + limitLine + "9\r\n5,3,2\r\n"), kResultBroken);
  EXPECT_EQ(A(), (TDiffList{e421}));
  // A line of megabytes spanning many read buffers, without any line end.
  EXPECT_EQ(ReadBytes("[TextB]\r\n5,3,2\r\n" + std::string(8 << 20, '7')), kResultBroken);
  EXPECT_EQ(B(), (TDiffList{e532}));
}

TEST_F(ResultFile, AHugeFileWithoutLineEndsEndsAtOnce) {
  // 4 GiB of zero bytes, stored sparse: the first line already runs too long.
  const std::string path = dir_.Path() + "huge.ret";
  std::ofstream(path, std::ios::binary).put('1');
  std::error_code ec;
  fs::resize_file(path, std::uintmax_t{4} << 30, ec);
  if (ec) GTEST_SKIP() << "no sparse file: " << ec.message();
  EXPECT_EQ(Read("huge.ret"), kResultBroken);
}

TEST_F(ResultFile, NamesOutsideTheCheckFolderAreRefused) {
  const std::string inner = dir_.Path() + "check/";
  fs::create_directory(inner);
  dir_.Write("outside.ret", "[TextA]\r\n4,2,1\r\n");
  fs::create_directory(inner + "sub");
  for (const std::string& name : std::vector<std::string>{"", ".", "..", "../outside.ret", "sub/x.ret", "/tmp/x.ret", std::string("a\0b", 3)}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(WriteResultFile(comparison_, inner, name), kResultWriteFailed);
    EXPECT_EQ(ReadResultFile(comparison_, inner, name), kResultMissing);
    EXPECT_TRUE(A().empty());
  }
  EXPECT_EQ(Slurp(dir_.Path() + "outside.ret"), "[TextA]\r\n4,2,1\r\n");
  EXPECT_TRUE(fs::is_empty(inner + "sub"));
  EXPECT_FALSE(fs::exists("/tmp/x.ret"));
}

TEST_F(ResultFile, AFolderInTheWayFailsTheWriteAndLeavesNoTemporaryFile) {
  fs::create_directories(dir_.Path() + "r.ret/inner");
  Fill({e421}, {});
  EXPECT_EQ(WriteResultFile(comparison_, dir_.Path(), "r.ret"), kResultWriteFailed);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
  EXPECT_EQ(A(), (TDiffList{e421}));
}

TEST_F(ResultFile, AMissingCheckFolderFailsTheWrite) {
  EXPECT_EQ(WriteResultFile(comparison_, dir_.Path() + "no-such/", "r.ret"), kResultWriteFailed);
}

// A file size limit makes write() fail once the file reaches it: the
// write stops part-way, as on a full disk.
TEST_F(ResultFile, AWriteThatFailsPartWayKeepsThePreviousFile) {
  const std::string old = "[TextA]\r\n4,2,1\r\n[TextB]\r\n";
  dir_.Write("r.ret", old);
  TDiffList many;
  for (std::int32_t i = 0; i < 20000; ++i) many.push_back({i, i, 2, 0});
  Fill(many, many);

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message = WriteResultFile(comparison_, dir_.Path(), "r.ret");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, kResultWriteFailed);
  EXPECT_EQ(Slurp(dir_.Path() + "r.ret"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace rd
