// CompareFiles: files compared by path, and what it says when they cannot be.
#include <gtest/gtest.h>

#include "compare/compare_files.h"
#include "temp_folder.h"

namespace rd {
namespace {

class CompareFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a_ = dir_.Write("a.txt", "x\ny\n");
    b_ = dir_.Write("b.txt", "x\nz\n");
    ASSERT_EQ(CompareFiles(cmp_, TextCode::Auto, a_, b_), "");
    ASSERT_EQ(cmp_.Diff(Side::A).size(), 1u);
  }
  testing::TempFolder dir_;
  std::string a_;
  std::string b_;
  TComparison cmp_;
};

// A read error used to give an empty message: a success with the lists of
// the pair compared before.
TEST_F(CompareFilesTest, AReadErrorComesBackAsAMessage) {
  EXPECT_EQ(CompareFiles(cmp_, TextCode::Auto, "/proc/self/mem", b_),
            "ファイルを読み込めません。/proc/self/mem: Input/output error");
  EXPECT_TRUE(cmp_.Diff(Side::A).empty()) << "no lists of another pair stay";
  EXPECT_TRUE(cmp_.Diff(Side::B).empty());
  EXPECT_EQ(CompareFiles(cmp_, TextCode::Sjis, a_, "/proc/self/mem"),
            "ファイルを読み込めません。/proc/self/mem: Input/output error");
}

TEST_F(CompareFilesTest, MissingFilesKeepTheirMessageAndTheLists) {
  EXPECT_EQ(CompareFiles(cmp_, TextCode::Auto, a_, dir_.Path() + "none.txt"),
            "ファイルが存在しません。" + dir_.Path() + "none.txt");
  EXPECT_EQ(CompareFiles(cmp_, TextCode::Auto, dir_.Path(), b_), "ファイルが存在しません。" + dir_.Path());
  EXPECT_EQ(cmp_.Diff(Side::A).size(), 1u);
}

TEST_F(CompareFilesTest, TextsWithoutComparableLinesKeepTheirMessage) {
  EXPECT_EQ(CompareFiles(cmp_, TextCode::Auto, dir_.Write("blank.txt", "\n \n"), b_),
            "データがありません" + dir_.Path() + "blank.txt");
  // A device is read up to its first NUL: no lines.
  EXPECT_EQ(CompareFiles(cmp_, TextCode::Auto, a_, "/dev/zero"), "データがありません/dev/zero");
}

TEST(ReadFailure, NamesThePathAndTheReason) {
  EXPECT_EQ(ReadFailure("/x/a.txt", "メモリが不足しています"), "ファイルを読み込めません。/x/a.txt: メモリが不足しています");
}

}  // namespace
}  // namespace rd
