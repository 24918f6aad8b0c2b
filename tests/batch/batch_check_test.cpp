// The batch model with a scripted engine: candidates and automatic pairing,
// result file names, pairing by hand, the run's row states and progress,
// dropping folders, and opening a pair.
#include "batch/batch_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <vector>

#include "temp_folder.h"

namespace rd {
namespace {

// What the engine does for one pair, keyed by pathA.
struct TScript {
  std::string compareMessage;
  PerSide<std::size_t> counts{0, 0};
  std::string writeMessage;
  bool throws = false;
};

class TFakeEngine final : public TBatchEngine {
 public:
  void ResetResults() override { calls.push_back("reset"); }
  std::string CompareFiles(const std::string& pathA, const std::string& pathB) override {
    calls.push_back("compare " + pathA + " " + pathB);
    if (onCompare) onCompare();
    const TScript& s = scripts[pathA];
    if (s.throws) throw std::runtime_error("disk on fire");
    counts_ = s.counts;
    write_ = s.writeMessage;
    return s.compareMessage;
  }
  PerSide<std::size_t> DiffCounts() const override { return counts_; }
  std::string WriteResultFile(std::string_view name) override {
    calls.push_back("write " + std::string(name));
    return write_;
  }
  std::string ReadResultFile(std::string_view name) override {
    calls.push_back("read " + std::string(name));
    return readMessage;
  }

  std::map<std::string, TScript> scripts;
  std::vector<std::string> calls;
  std::function<void()> onCompare;
  std::string readMessage;

 private:
  PerSide<std::size_t> counts_{0, 0};
  std::string write_;
};

class TRecorder final : public TBatchObserver, public TPairViewer {
 public:
  void ProgressChanged(int position, int maximum) override {
    progress.push_back(position);
    max = maximum;
  }
  void RunningChanged(bool running) override { events.push_back(running ? "disable" : "enable"); }
  void LoadText(Side side, const std::string& path) override {
    events.push_back(std::string(side == Side::A ? "loadA " : "loadB ") + path);
  }
  void ShowResults() override { events.push_back("show"); }

  std::vector<int> progress;
  int max = -1;
  std::vector<std::string> events;
};

using Names = std::vector<std::string>;

class BatchCheck : public ::testing::Test {
 protected:
  void Open(Side side, const Names& paths) { model_.OpenCandidates(side, paths); }
  const Names& ListOf(Side side) const { return model_.Candidates(side).Names(); }
  Names ResultNames() const {
    Names names;
    for (const TPairRow& r : model_.Rows()) names.push_back(r.resultName);
    return names;
  }

  TFakeEngine engine_;
  TRecorder recorder_;
  TBatchCheck model_{engine_, &recorder_};
};

TEST_F(BatchCheck, AutomaticRegistrationPairsEqualNames) {
  Open(Side::A, {"/x/a.txt", "/x/b.txt"});
  Open(Side::B, {"/y/a.txt"});
  ASSERT_EQ(model_.Rows().size(), 1u);
  const TPairRow& row = model_.Rows()[0];
  EXPECT_EQ(row.nameA, "a.txt");
  EXPECT_EQ(row.nameB, "a.txt");
  EXPECT_EQ(row.folderA, "/x/");
  EXPECT_EQ(row.folderB, "/y/");
  EXPECT_TRUE(row.checked);
  EXPECT_EQ(Caption(row.state), "ﾁｪｯｸ未");
  EXPECT_EQ(row.message, "チェックされてません");
  EXPECT_EQ(row.resultName, "a.ret");
  EXPECT_EQ(ListOf(Side::A), (Names{"b.txt"}));
  EXPECT_EQ(ListOf(Side::B), Names{});
}

TEST_F(BatchCheck, NamesDifferingInCaseOnlyPairWithTextAFirst) {
  Open(Side::B, {"/y/MEMO.TXT"});
  Open(Side::A, {"/x/memo.txt"});
  ASSERT_EQ(model_.Rows().size(), 1u);
  EXPECT_EQ(model_.Rows()[0].PathA(), "/x/memo.txt");
  EXPECT_EQ(model_.Rows()[0].PathB(), "/y/MEMO.TXT");
  EXPECT_EQ(model_.Rows()[0].resultName, "memo.ret");
}

TEST_F(BatchCheck, OneFileOnBothSidesIsNeverPaired) {
  Open(Side::A, {"/x/a.txt"});
  Open(Side::B, {"/x/a.txt"});
  EXPECT_TRUE(model_.Rows().empty());
  EXPECT_EQ(ListOf(Side::A), (Names{"a.txt"}));
  EXPECT_EQ(ListOf(Side::B), (Names{"a.txt"}));
  EXPECT_EQ(model_.InsertPair(0, 0), "選択したファイルは同一ファイルです");
  EXPECT_TRUE(model_.Rows().empty());
  // Same folder, names differing in case: two files on this system.
  Open(Side::B, {"/x/A.txt"});
  EXPECT_EQ(model_.Rows().size(), 1u);
}

TEST_F(BatchCheck, CandidatesOutsideTheFolderAreIgnoredAndListsStaySortedAndUnique) {
  model_.SetAutoRegister(false);
  model_.AddCandidate("/x/a.txt", true);
  EXPECT_EQ(ListOf(Side::A), Names{}) << "no candidate folder yet";
  Open(Side::A, {"/x/b.txt", "/x/C.txt", "/x/A.txt", "/x/a.txt", "/x/sub/d.txt", "/X/e.txt", "/x/b.txt"});
  EXPECT_EQ(ListOf(Side::A), (Names{"A.txt", "b.txt", "C.txt"}));
  Open(Side::B, {"/y/b.txt"});
  EXPECT_EQ(ListOf(Side::B), (Names{"b.txt"}));
  EXPECT_TRUE(model_.Rows().empty()) << "automatic registration is off";
  model_.ClearCandidates(Side::A);
  EXPECT_EQ(ListOf(Side::A), Names{});
  EXPECT_EQ(model_.CandidateFolder(Side::A), "/x/") << "clearing keeps the folder";
}

TEST_F(BatchCheck, OpeningReplacesTheListAndFolder) {
  model_.SetAutoRegister(false);
  Open(Side::A, {"/x/a.txt"});
  Open(Side::A, {"/z/q.txt", "/x/b.txt"});
  EXPECT_EQ(model_.CandidateFolder(Side::A), "/z/");
  EXPECT_EQ(ListOf(Side::A), (Names{"q.txt"}));
  Open(Side::A, {});
  EXPECT_EQ(ListOf(Side::A), (Names{"q.txt"})) << "a cancelled dialog changes nothing";
}

TEST(ResultFileBase, ReplacesTheLastExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"memo.txt", "memo.ret"}, {"memo", "memo.ret"},        {"a.b.c", "a.b.ret"},
      {"memo.", "memo.ret"},    {".profile", ".profile.ret"}, {"日本語.テキスト", "日本語.ret"},
  };
  for (const auto& [name, base] : cases) EXPECT_EQ(ResultFileBase(name), base) << name;
}

TEST_F(BatchCheck, ResultNamesCountAmongTheRowsOnly) {
  model_.AddPair("memo.txt", "b1", "/1/", "/9/");
  model_.AddPair("memo.txt", "b2", "/2/", "/9/");
  model_.AddPair("memo", "b3", "/3/", "/9/");
  model_.AddPair("memo.csv", "b4", "/4/", "/9/");
  EXPECT_EQ(ResultNames(), (Names{"memo.ret", "memo.ret1", "memo.ret2", "memo.ret3"}));
  const std::size_t second[] = {1};
  model_.RemovePairs(second);
  model_.AddPair("memo.txt", "b5", "/5/", "/9/");
  EXPECT_EQ(ResultNames(), (Names{"memo.ret", "memo.ret2", "memo.ret3", "memo.ret1"}));
}

TEST_F(BatchCheck, PairingByHand) {
  model_.SetAutoRegister(false);
  Open(Side::A, {"/x/a.txt", "/x/b.txt"});
  Open(Side::B, {"/y/c.txt"});
  EXPECT_EQ(model_.InsertPair(std::nullopt, 0), "TextA候補を選択してください");
  EXPECT_EQ(model_.InsertPair(0, std::nullopt), "TextB候補を選択してください");
  EXPECT_EQ(model_.InsertPair(2, 0), "TextA候補を選択してください");
  EXPECT_EQ(model_.InsertPair(1, 0), "");
  ASSERT_EQ(model_.Rows().size(), 1u);
  EXPECT_EQ(model_.Rows()[0].PathA(), "/x/b.txt");
  EXPECT_EQ(model_.Rows()[0].PathB(), "/y/c.txt");
  EXPECT_EQ(ListOf(Side::A), (Names{"a.txt"}));
  EXPECT_EQ(ListOf(Side::B), Names{});
}

TEST_F(BatchCheck, RemovingRowsKeepsTheOthersInOrder) {
  for (const char* n : {"0.txt", "1.txt", "2.txt", "3.txt"}) model_.AddPair(n, n, "/a/", "/b/");
  const std::size_t rows[] = {2, 0, 2, 9};
  model_.RemovePairs(rows);
  ASSERT_EQ(model_.Rows().size(), 2u);
  EXPECT_EQ(model_.Rows()[0].nameA, "1.txt");
  EXPECT_EQ(model_.Rows()[1].nameA, "3.txt");
}

TEST_F(BatchCheck, RunGivesEveryRowItsStateAndUnchecksOnlyWrittenResults) {
  const std::string writeFailed = "結果ファイルの書込みに失敗しました。";
  const std::pair<const char*, TScript> pairs[] = {
      {"none", {"", {0, 0}, "", false}},
      {"onlyA", {"", {3, 0}, "", false}},
      {"onlyB", {"", {0, 2}, "", false}},
      {"both", {"", {1, 1}, "", false}},
      {"missing", {"ファイルが存在しません。/a/missing", {0, 0}, "", false}},
      {"unwritable", {"", {1, 0}, writeFailed, false}},
      {"throws", {"", {0, 0}, "", true}},
      {"unchecked", {"", {0, 0}, "", false}},
  };
  for (const auto& [name, script] : pairs) {
    model_.AddPair(name, name, "/a/", "/b/");
    engine_.scripts["/a/" + std::string(name)] = script;
  }
  model_.SetChecked(7, false);
  engine_.onCompare = [&] {
    EXPECT_TRUE(model_.Running());
    if (engine_.calls.size() != 2) return;
    EXPECT_EQ(Caption(model_.Rows()[0].state), "ﾁｪｯｸ中");
    EXPECT_EQ(model_.Rows()[0].message, "");
  };

  EXPECT_EQ(model_.Run(), "終了しました");

  const std::tuple<const char*, const char*, bool> expected[] = {
      {"なし", "違いはありません", false},
      {"Ａのみ", "TextAのみに違いあり", false},
      {"Ｂのみ", "TextBのみに違いあり", false},
      {"両方", "TextABともに違いあり", false},
      {"異常", "ファイルが存在しません。/a/missing", true},
      {"異常", "結果ファイルの書込みに失敗しました。", true},
      {"異常", "チェック中に異常発生", true},
      {"ﾁｪｯｸ未", "チェックされてません", false},
  };
  for (std::size_t i = 0; i < 8; ++i) {
    const auto& [caption, message, checked] = expected[i];
    EXPECT_EQ(Caption(model_.Rows()[i].state), caption) << i;
    EXPECT_EQ(model_.Rows()[i].message, message) << i;
    EXPECT_EQ(model_.Rows()[i].checked, checked) << i;
  }
  EXPECT_EQ(engine_.calls, (Names{"reset", "compare /a/none /b/none", "write none.ret", "compare /a/onlyA /b/onlyA",
                                  "write onlyA.ret", "compare /a/onlyB /b/onlyB", "write onlyB.ret",
                                  "compare /a/both /b/both", "write both.ret", "compare /a/missing /b/missing",
                                  "compare /a/unwritable /b/unwritable", "write unwritable.ret",
                                  "compare /a/throws /b/throws"}));
  EXPECT_EQ(recorder_.max, 14);
  EXPECT_EQ(recorder_.progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}));
  EXPECT_EQ(recorder_.events, (Names{"disable", "enable"}));
  EXPECT_FALSE(model_.Running());

  // The second run takes exactly the rows that failed.
  engine_.calls.clear();
  engine_.onCompare = nullptr;
  engine_.scripts["/a/missing"] = {};
  engine_.scripts["/a/unwritable"] = {};
  engine_.scripts["/a/throws"] = {"", {0, 4}, "", false};
  EXPECT_EQ(model_.Run(), "終了しました");
  EXPECT_EQ(engine_.calls, (Names{"reset", "compare /a/missing /b/missing", "write missing.ret",
                                  "compare /a/unwritable /b/unwritable", "write unwritable.ret",
                                  "compare /a/throws /b/throws", "write throws.ret"}));
  EXPECT_EQ(Caption(model_.Rows()[6].state), "Ｂのみ");

  // Every row unchecked now: nothing to do, nothing touched.
  engine_.calls.clear();
  recorder_.progress.clear();
  EXPECT_EQ(model_.Run(), "チェック対象のファイルがありません。");
  EXPECT_TRUE(engine_.calls.empty());
  EXPECT_TRUE(recorder_.progress.empty());
}

TEST_F(BatchCheck, ProgressStaysAtItsMaximumWhenTheLastWriteFails) {
  model_.AddPair("w.txt", "w.txt", "/a/", "/b/");
  engine_.scripts["/a/w.txt"] = {"", {1, 1}, "結果ファイルの書込みに失敗しました。", false};
  model_.Run();
  EXPECT_EQ(recorder_.max, 2);
  EXPECT_EQ(recorder_.progress, (std::vector<int>{0, 1, 2, 2, 0}));
}

TEST(BatchKeys, OnlyCtrlAloneWithASelectsAll) {
  EXPECT_TRUE(SelectsAllRows(true, false, false, 'A'));
  EXPECT_FALSE(SelectsAllRows(true, true, false, 'A'));
  EXPECT_FALSE(SelectsAllRows(true, false, true, 'A'));
  EXPECT_FALSE(SelectsAllRows(false, false, false, 'A'));
  EXPECT_FALSE(SelectsAllRows(true, false, false, 'B'));
}

class BatchDrop : public BatchCheck {
 protected:
  void SetUp() override {
    model_.SetAutoRegister(false);
    namespace fs = std::filesystem;
    fs::create_directory(dir_.Path() + "src");
    for (const char* name : {"b.txt", "a.txt", ".hidden", "c.dat"}) dir_.Write("src/" + std::string(name), "x\n");
    fs::create_directory(dir_.Path() + "src/sub.txt");
    ::mkfifo((dir_.Path() + "src/pipe.txt").c_str(), 0600);
    fs::create_directory(dir_.Path() + "other");
    dir_.Write("other/o.txt", "x\n");
  }
  std::string P(const std::string& name) const { return dir_.Path() + name; }

  testing::TempFolder dir_;
};

TEST_F(BatchDrop, AFolderGivesItsOrdinaryFilesAndIgnoresTheOtherItems) {
  Open(Side::A, {"/elsewhere/z.txt"});
  const Names items{dir_.Path() + "src", P("other/o.txt")};
  model_.DropCandidates(Side::A, items);
  EXPECT_EQ(model_.CandidateFolder(Side::A), P("src/"));
  EXPECT_EQ(ListOf(Side::A), (Names{"a.txt", "b.txt", "c.dat"}));
}

TEST_F(BatchDrop, FilesTakeTheFolderOfTheFirstAndOnlyExistingFilesAfterIt) {
  Open(Side::A, {"/elsewhere/z.txt"});
  const Names items{P("src/b.txt"), P("src/missing.txt"), P("src/sub.txt"), P("src/a.txt"), P("other/o.txt")};
  model_.DropCandidates(Side::A, items);
  EXPECT_EQ(model_.CandidateFolder(Side::A), P("src/"));
  EXPECT_EQ(ListOf(Side::A), (Names{"a.txt", "b.txt"})) << "o.txt lies in another folder";
  // A drop from the same folder adds to the list.
  const Names more{P("src/c.dat")};
  model_.DropCandidates(Side::A, more);
  EXPECT_EQ(ListOf(Side::A), (Names{"a.txt", "b.txt", "c.dat"}));
}

TEST_F(BatchDrop, DroppedFolderPairsWithTheOtherSide) {
  model_.SetAutoRegister(true);
  Open(Side::B, {"/y/A.TXT", "/y/q.txt"});
  const Names items{P("src/")};
  model_.DropCandidates(Side::A, items);
  ASSERT_EQ(model_.Rows().size(), 1u);
  EXPECT_EQ(model_.Rows()[0].PathA(), P("src/a.txt"));
  EXPECT_EQ(model_.Rows()[0].PathB(), "/y/A.TXT");
  EXPECT_EQ(ListOf(Side::B), (Names{"q.txt"}));
}

TEST_F(BatchDrop, OpeningAPairChecksBothFilesThenLoadsAndReads) {
  model_.AddPair("a.txt", "missing.txt", P("src/"), P("src/"));
  model_.AddPair("sub.txt", "a.txt", P("src/"), P("src/"));
  model_.AddPair("a.txt", "o.txt", P("src/"), P("other/"));
  EXPECT_EQ(model_.OpenPair(0, recorder_), "ファイルが存在しません\r" + P("src/missing.txt"));
  EXPECT_EQ(model_.OpenPair(1, recorder_), "ファイルが存在しません\r" + P("src/sub.txt")) << "a folder is no file";
  EXPECT_TRUE(recorder_.events.empty());
  EXPECT_EQ(model_.OpenPair(std::nullopt, recorder_), "");
  EXPECT_TRUE(engine_.calls.empty());

  engine_.readMessage = "結果ファイルが存在しません";
  EXPECT_EQ(model_.OpenPair(2, recorder_), "結果ファイルが存在しません");
  EXPECT_EQ(recorder_.events, (Names{"loadA " + P("src/a.txt"), "loadB " + P("other/o.txt"), "show"}));
  EXPECT_EQ(engine_.calls, (Names{"read a.ret1"}));
}

}  // namespace
}  // namespace rd
