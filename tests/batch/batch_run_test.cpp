// A batch run with the real engine on files in a temporary folder: pairs
// that differ, agree, vanished, are folders, have no comparable lines, or
// cannot write their result file; then a checked pair opened again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "batch/batch_check.h"
#include "temp_folder.h"

namespace rd {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

class TLoads final : public TPairViewer {
 public:
  void LoadText(Side side, const std::string& path) override { loaded[Index(side)] = path; }
  void ShowResults() override { ++shown; }
  PerSide<std::string> loaded;
  int shown = 0;
};

class BatchRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"a", "b", "check"}) fs::create_directory(dir_.Path() + folder);
    Pair("diff.txt", "one\ntwo\nthree\n", "one\nTWO\nthree\nfour\n");
    Pair("same.txt", "x\r\ny\r\n", "x\r\ny\r\n");
    Pair("gone.txt", "x\n", "y\n");
    Pair("dir.txt", "", "y\n");
    Pair("blank.txt", "\n   \n\n", "y\n");
    Pair("locked.txt", "p\nq\n", "q\np\n");
    fs::remove(A("gone.txt"));
    fs::remove(A("dir.txt"));
    fs::create_directory(A("dir.txt"));
    fs::create_directories(Check() + "locked.ret/inner");  // the result file cannot take this name

    model_.OpenCandidates(Side::A, pathsA_);
    model_.OpenCandidates(Side::B, pathsB_);
  }
  void Pair(const std::string& name, const std::string& a, const std::string& b) {
    pathsA_.push_back(dir_.Write("a/" + name, a));
    pathsB_.push_back(dir_.Write("b/" + name, b));
  }
  std::string A(const std::string& name) const { return dir_.Path() + "a/" + name; }
  std::string Check() const { return dir_.Path() + "check/"; }

  testing::TempFolder dir_;
  std::vector<std::string> pathsA_;
  std::vector<std::string> pathsB_;
  TComparison comparison_;
  TComparisonBatchEngine engine_{comparison_, Check(), [] { return TextCode::Auto; }};
  TBatchCheck model_{engine_};
};

TEST_F(BatchRun, EveryPairEndsInItsStateAndResultFile) {
  ASSERT_EQ(model_.Rows().size(), 6u);
  EXPECT_EQ(model_.Run(), "終了しました");

  const std::tuple<const char*, std::string, bool> expected[] = {
      {"両方", "TextABともに違いあり", false},
      {"なし", "違いはありません", false},
      {"異常", "ファイルが存在しません。" + A("gone.txt"), true},
      {"異常", "ファイルが存在しません。" + A("dir.txt"), true},
      {"異常", "データがありません" + A("blank.txt"), true},
      {"異常", "結果ファイルの書込みに失敗しました。", true},
  };
  for (std::size_t i = 0; i < 6; ++i) {
    const auto& [caption, message, checked] = expected[i];
    SCOPED_TRACE(model_.Rows()[i].nameA);
    EXPECT_EQ(Caption(model_.Rows()[i].state), caption);
    EXPECT_EQ(model_.Rows()[i].message, message);
    EXPECT_EQ(model_.Rows()[i].checked, checked);
  }
  EXPECT_EQ(Slurp(Check() + "diff.ret"), "[TextA]\r\n1,1,2\r\n[TextB]\r\n1,1,2\r\n3,2,1\r\n");
  EXPECT_EQ(Slurp(Check() + "same.ret"), "[TextA]\r\n[TextB]\r\n");
  for (const char* name : {"gone.ret", "dir.ret", "blank.ret"}) EXPECT_FALSE(fs::exists(Check() + name)) << name;
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(Check())) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"diff.ret", "locked.ret", "same.ret"})) << "no temporary file stays";
  // After the run the lists hold the last pair compared.
  EXPECT_EQ(comparison_.Diff(Side::A).size(), 1u);
  EXPECT_EQ(comparison_.Diff(Side::B).size(), 1u);
}

TEST_F(BatchRun, OpeningACheckedPairRestoresItsDifferences) {
  model_.Run();
  TLoads loads;
  EXPECT_EQ(model_.OpenPair(0, loads), "");
  EXPECT_EQ(loads.loaded, (PerSide<std::string>{A("diff.txt"), dir_.Path() + "b/diff.txt"}));
  EXPECT_EQ(loads.shown, 1);
  EXPECT_EQ(comparison_.Diff(Side::A), (TDiffList{{1, 1, 2, 0}}));
  EXPECT_EQ(comparison_.Diff(Side::B), (TDiffList{{1, 1, 2, 0}, {3, 2, 1, 0}}));

  EXPECT_EQ(model_.OpenPair(2, loads), "ファイルが存在しません\r" + A("gone.txt"));
  EXPECT_EQ(model_.OpenPair(4, loads), "結果ファイルが存在しません") << "the pair has no result file";
  EXPECT_TRUE(comparison_.Diff(Side::A).empty());
}

TEST_F(BatchRun, ASecondRunComparesTheFailedRowsAgain) {
  model_.Run();
  fs::remove_all(Check() + "locked.ret");
  dir_.Write("a/blank.txt", "y\n");
  EXPECT_EQ(model_.Run(), "終了しました");
  EXPECT_EQ(Caption(model_.Rows()[4].state), "なし");
  EXPECT_EQ(Caption(model_.Rows()[5].state), "両方") << "p q against q p: moved lines";
  EXPECT_EQ(Slurp(Check() + "blank.ret"), "[TextA]\r\n[TextB]\r\n");
  EXPECT_EQ(Caption(model_.Rows()[2].state), "異常");
}

// A pair that could not be read used to keep the lists of the pair before
// it, be classed from them and get a result file of that pair's differences.
TEST(BatchRunFailures, APairThatCannotBeReadEndsAsFailedWithoutAResultFile) {
  testing::TempFolder dir;
  for (const char* folder : {"a", "b", "check"}) fs::create_directory(dir.Path() + folder);
  const std::string diffA = dir.Write("a/1diff.txt", "one\ntwo\n");
  const std::string diffB = dir.Write("b/1diff.txt", "one\nTWO\n");
  // Reading /proc/self/mem fails with EIO, also for root.
  fs::create_symlink("/proc/self/mem", dir.Path() + "a/2mem.txt");
  const std::string memB = dir.Write("b/2mem.txt", "one\n");
  TComparison comparison;
  TComparisonBatchEngine engine{comparison, dir.Path() + "check/", [] { return TextCode::Auto; }};
  TBatchCheck model{engine};
  model.OpenCandidates(Side::A, std::vector<std::string>{diffA, dir.Path() + "a/2mem.txt"});
  model.OpenCandidates(Side::B, std::vector<std::string>{diffB, memB});
  ASSERT_EQ(model.Rows().size(), 2u);
  EXPECT_EQ(model.Run(), "終了しました");
  EXPECT_EQ(Caption(model.Rows()[0].state), "両方");
  EXPECT_EQ(Caption(model.Rows()[1].state), "異常");
  EXPECT_EQ(model.Rows()[1].message, "ファイルを読み込めません。" + dir.Path() + "a/2mem.txt: Input/output error");
  EXPECT_TRUE(model.Rows()[1].checked);
  EXPECT_TRUE(fs::exists(dir.Path() + "check/1diff.ret"));
  EXPECT_FALSE(fs::exists(dir.Path() + "check/2mem.ret"));
}

}  // namespace
}  // namespace rd
