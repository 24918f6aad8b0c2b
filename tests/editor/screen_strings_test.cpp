// The row store: the replace-rows primitive with and without wrapping,
// marks, loading files, start-state upkeep, undo and redo.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_error.h"
#include "editor/editor_fountain.h"
#include "editor/screen_strings.h"

namespace rd {
namespace {

struct FakeClient : IRowStoreClient {
  int rows = 5;
  int caretRow = 0, caretCol = 0;
  std::vector<TChangeRecord> changes;
  int RowsPerScreen() const override { return rows; }
  int TopRowOfView() const override { return 0; }
  void CaretPosition(int& r, int& c) const override {
    r = caretRow;
    c = caretCol;
  }
  void RowsChanged(const TChangeRecord& c) override { changes.push_back(c); }
  void RowsInvalidated(int, int) override {}
  const TFountain* Scheme() const override { return nullptr; }
};

struct Row {
  std::string text;
  int kind;
  bool operator==(const Row&) const = default;
};
void PrintTo(const Row& r, std::ostream* os) { *os << "{\"" << r.text << "\"," << r.kind << "}"; }

std::vector<Row> Rows(const TEditorScreenStrings& s) {
  std::vector<Row> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back({std::string(s.View(i)), s.RowEndKind(i)});
  return out;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store.Attach(&client); }
  void TearDown() override { EXPECT_EQ(store.checkInvariants(), ""); }
  FakeClient client;
  TEditorScreenStrings store;
};

TEST_F(StoreTest, TextSplitsAtEveryKindOfBreak) {
  store.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(Rows(store), (std::vector<Row>{{"a", 0}, {"b", 0}, {"c", 0}, {"d", 2}}));
  EXPECT_EQ(store.Text(), "a\r\nb\r\nc\r\nd");
  store.SetText("a\r\n");
  EXPECT_EQ(Rows(store), (std::vector<Row>{{"a", 0}}));
  EXPECT_EQ(store.TextLength(), 3);
  ASSERT_FALSE(client.changes.empty());
  EXPECT_FALSE(client.changes.back().Changed) << "assigning the text is no edit";
  EXPECT_TRUE(client.changes.back().WholeText);
}

struct ReplaceCase {
  const char* name;
  std::string before;
  int s, n;
  std::string t;
  std::vector<Row> rows;
  TChangeRecord change;  // FirstRow, OldCount, NewCount
};

class ReplaceRowsTest : public StoreTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceRowsTest, ReplacesWholeLines) {
  const ReplaceCase& c = GetParam();
  store.SetText(c.before);
  client.changes.clear();
  store.ReplaceRows(c.s, c.n, c.t);
  EXPECT_EQ(Rows(store), c.rows);
  if (c.change.Changed) {
    ASSERT_EQ(client.changes.size(), 1u);
    EXPECT_EQ(client.changes[0].FirstRow, c.change.FirstRow);
    EXPECT_EQ(client.changes[0].OldCount, c.change.OldCount);
    EXPECT_EQ(client.changes[0].NewCount, c.change.NewCount);
    EXPECT_TRUE(client.changes[0].Changed);
  } else {
    EXPECT_TRUE(client.changes.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    WrapOff, ReplaceRowsTest,
    ::testing::Values(
        ReplaceCase{"PutMiddle", "a\r\nb\r\nc", 1, 1, "x\r\n", {{"a", 0}, {"x", 0}, {"c", 2}}, {1, 1, 1, 0, true}},
        ReplaceCase{"PutKeepsBreakWithoutOne", "a\r\nb\r\nc", 1, 1, "x", {{"a", 0}, {"x", 0}, {"c", 2}}, {1, 1, 1, 0, true}},
        ReplaceCase{"InsertBeforeRow", "a\r\nb", 1, 0, "x\r\n", {{"a", 0}, {"x", 0}, {"b", 2}}, {1, 1, 2, 0, true}},
        ReplaceCase{"InsertJoinsWithoutBreak", "a\r\nb", 1, 0, "x", {{"a", 0}, {"xb", 2}}, {1, 1, 1, 0, true}},
        ReplaceCase{"DeleteFastPath", "a\r\nb\r\nc\r\n", 0, 2, "", {{"c", 0}}, {0, 2, 0, 0, true}},
        ReplaceCase{"DeleteLastLine", "a\r\nb", 1, 1, "", {{"a", 0}}, {1, 1, 0, 0, true}},
        ReplaceCase{"ReplaceLastWithBreak", "a\r\nb", 1, 1, "y\r\nz\r\n", {{"a", 0}, {"y", 0}, {"z", 0}}, {1, 1, 2, 0, true}},
        ReplaceCase{"ReplaceLastWithoutBreak", "a\r\nb\r\n", 1, 1, "y", {{"a", 0}, {"y", 2}}, {1, 1, 1, 0, true}},
        ReplaceCase{"AppendAtRowCount", "a\r\n", 1, 0, "z", {{"a", 0}, {"z", 2}}, {1, 0, 1, 0, true}},
        ReplaceCase{"IntoEmptyText", "", 0, 0, "p\r\nq", {{"p", 0}, {"q", 2}}, {0, 0, 2, 0, true}},
        ReplaceCase{"NothingWhenPastEnd", "a\r\nb", 1, 2, "x", {{"a", 0}, {"b", 2}}, {}},
        ReplaceCase{"NothingWhenNegative", "a", -1, 1, "x", {{"a", 2}}, {}},
        ReplaceCase{"NothingWhenEmptyInsert", "a", 0, 0, "", {{"a", 2}}, {}},
        ReplaceCase{"NoAppendAfterTextWithoutBreak", "a", 1, 0, "x", {{"a", 2}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, WrappedLinesAreReplacedWhole) {
  store.WrapOption().SetWrapByte(20);
  store.SetWordWrap(true);
  store.SetText(std::string(30, 'a') + "\r\nz");
  EXPECT_EQ(Rows(store), (std::vector<Row>{{std::string(20, 'a'), 1}, {std::string(10, 'a'), 0}, {"z", 2}}));
  client.changes.clear();
  // Replacing the second row of a line re-wraps the line from its first row.
  store.ReplaceRows(1, 1, "bb\x82\xA0");
  EXPECT_EQ(Rows(store), (std::vector<Row>{{std::string(20, 'a'), 1}, {"bb\x82\xA0", 0}, {"z", 2}}));
  ASSERT_EQ(client.changes.size(), 1u);
  EXPECT_EQ(client.changes[0].FirstRow, 0);
  EXPECT_EQ(client.changes[0].OldCount, 2);
  EXPECT_EQ(client.changes[0].NewCount, 2);
  // Inserting before a row in the middle of a line lands inside the line.
  store.ReplaceRows(1, 0, "c");
  EXPECT_EQ(Rows(store), (std::vector<Row>{{std::string(20, 'a'), 1}, {"cbb\x82\xA0", 0}, {"z", 2}}));
  EXPECT_EQ(store.LineCount(), 2);
  EXPECT_EQ(store.LineToRow(1), 2);
  EXPECT_EQ(store.RowRangeText(1, -1), "cbb\x82\xA0\r\n");
  // Unwrapping joins the rows again and the last row keeps rowEndText.
  store.SetWordWrap(false);
  EXPECT_EQ(Rows(store), (std::vector<Row>{{std::string(20, 'a') + "cbb\x82\xA0", 0}, {"z", 2}}));
}

TEST_F(StoreTest, MarksOfDeletedLinesMoveToTheRowThatMovesUp) {
  store.SetText("a\r\nb\r\nc\r\n");
  store.SetMarks(0, 0x1);
  store.SetMarks(1, 0x4);
  store.ReplaceRows(0, 2, "");
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(store.RowMarks(0), 0x5);
  store.ReplaceRows(0, 1, "");
  EXPECT_EQ(store.MarksUnion(), 0x5);
}

TEST_F(StoreTest, MarksFollowRowsThroughRewrap) {
  store.WrapOption().SetWrapByte(20);
  store.SetText(std::string(30, 'a') + "\r\nb\r\n");
  store.SetMarks(0, 0x2);
  store.SetWordWrap(true);
  ASSERT_EQ(store.Count(), 3);
  EXPECT_EQ(store.RowMarks(0), 0x2);
  store.SetMarks(1, 0x8);
  store.SetWordWrap(false);
  EXPECT_EQ(store.RowMarks(0), 0xA) << "a joined line carries the union of its marks";
}

TEST_F(StoreTest, WrapOptionChangeRewrapsEverything) {
  store.SetText(std::string(50, 'a'));
  store.SetWordWrap(true);
  EXPECT_EQ(store.Count(), 1);
  store.WrapOption().SetWrapByte(20);
  EXPECT_EQ(Rows(store), (std::vector<Row>{{std::string(20, 'a'), 1}, {std::string(20, 'a'), 1}, {std::string(10, 'a'), 2}}));
  store.SetTabSpaceCount(5);
  EXPECT_EQ(store.TabSpaceCount(), 4);
  store.SetTabSpaceCount(1);
  EXPECT_EQ(store.TabSpaceCount(), 2);
  store.SetTabSpaceCount(9);
  EXPECT_EQ(store.TabSpaceCount(), 8);
}

class LoadTest : public StoreTest {
 protected:
  std::string write(const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "rd_editor_load.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
};

TEST_F(LoadTest, LineBreaksAndEndOfText) {
  store.LoadFromFile(write("a\r\nb\rc\nd"));
  EXPECT_EQ(Rows(store), (std::vector<Row>{{"a", 0}, {"b", 0}, {"c", 0}, {"d", 2}}));
  store.LoadFromFile(write("a\r\nb\x1A" "cc\r\n"));
  EXPECT_EQ(Rows(store), (std::vector<Row>{{"a", 0}, {"b", 2}}));
  store.LoadFromFile(write("x\n\n"));
  EXPECT_EQ(Rows(store), (std::vector<Row>{{"x", 0}, {"", 0}}));
  store.LoadFromFile(write(""));
  EXPECT_EQ(store.Count(), 0);
  store.LoadFromFile(write(std::string("n\0l\r", 4)));
  EXPECT_EQ(Rows(store), (std::vector<Row>{{std::string("n\0l", 3), 0}}));
}

TEST_F(LoadTest, CrLfSplitAcrossBlocksIsOneBreak) {
  store.LoadFromFile(write(std::string(8191, 'x') + "\r\n" + "y"));
  ASSERT_EQ(store.Count(), 2);
  EXPECT_EQ(store.View(0).size(), 8191u);
  EXPECT_EQ(store.Get(1), "y");
}

TEST_F(LoadTest, UnreadableFileRaisesAndKeepsText) {
  store.SetText("keep");
  const std::string path = ::testing::TempDir() + "no/such/file.txt";
  try {
    store.LoadFromFile(path);
    FAIL();
  } catch (const EEditorFileError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
  }
  EXPECT_EQ(store.Text(), "keep");
}

TEST_F(LoadTest, LoadedRowsCanBeEditedAndWrapped) {
  store.LoadFromFile(write("first\r\nsecond\r\n" + std::string(45, 'z')));
  store.ReplaceRows(1, 1, "2nd\r\n");
  EXPECT_EQ(store.Text(), "first\r\n2nd\r\n" + std::string(45, 'z'));
  store.WrapOption().SetWrapByte(20);
  store.SetWordWrap(true);
  EXPECT_EQ(store.Count(), 5);
  EXPECT_EQ(store.RowEndKind(4), rowEndText);
}

// A scheme with a bracket pair, so that start states carry across rows.
class StateTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    scheme.Brackets.Add("/*", "*/");
    store.SetFountain(&scheme);
  }
  void TearDown() override {
    StoreTest::TearDown();
    store.SetFountain(nullptr);
  }
  TEditorFountain scheme;
};

TEST_F(StateTest, ComputedTwoScreensAheadAfterAssignment) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line\r\n";
  store.SetText(text);
  EXPECT_EQ(store.ComputedRows(), 11) << "rows 0 to 0 + 2 * 5";
  EXPECT_EQ(store.BracketIndex(10), -1);
  EXPECT_EQ(store.BracketIndex(11), -2);
  store.EnsureState(30);
  EXPECT_GE(store.ComputedRows(), 31);
}

TEST_F(StateTest, OpeningABracketChangesFollowingRowsAndClosingRestoresThem) {
  std::string text;
  for (int i = 0; i < 8; ++i) text += "x\r\n";
  store.SetText(text);
  store.ReplaceRows(2, 1, "a /* b\r\n");
  EXPECT_EQ(store.BracketIndex(3), 0);
  EXPECT_EQ(store.StartToken(7), tkBracket);
  EXPECT_EQ(store.checkInvariants(), "");
  client.changes.clear();
  store.ReplaceRows(4, 1, "*/\r\n");
  EXPECT_EQ(store.BracketIndex(4), 0);
  EXPECT_EQ(store.BracketIndex(5), -1);
  ASSERT_EQ(client.changes.size(), 1u);
  EXPECT_EQ(client.changes[0].StateRows, 3) << "rows 5, 6 and 7 changed";
  client.changes.clear();
  // An edit that leaves the end state alone stops after the edited row.
  store.ReplaceRows(6, 1, "y\r\n");
  EXPECT_EQ(client.changes[0].StateRows, 0);
}

TEST_F(StateTest, EditsBeyondTheComputedRowsComputeNothing) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "/* open\r\n";
  store.SetText(text);
  const int computed = store.ComputedRows();
  store.ReplaceRows(900, 1, "*/\r\n");
  EXPECT_EQ(store.ComputedRows(), computed);
}

// Random edits against a plain string; then undo all and redo all.
void RandomEdits(TEditorScreenStrings& store, std::mt19937& rng, int steps) {
  store.UndoObj().SetUndoListMax(10000);
  std::string model = store.Text();
  std::vector<std::string> history{model};
  const char* pieces[] = {"", "a", "bc", "\r\n", "d\r\n", "\x82\xA0\x82\xA2", "\t", "ef\r\ngh",
                          "/*", "*/", "0123456789012345678901234"};
  for (int step = 0; step < steps; ++step) {
    const int count = store.Count();
    const bool appendable = count == 0 || store.RowEndKind(count - 1) == rowEndLine;
    const int s = static_cast<int>(rng() % (count + (appendable ? 1 : 0) + 1)) - (count == 0 && !appendable);
    if (s < 0 || s > count || (s == count && !appendable)) continue;
    const int n = s == count ? 0 : static_cast<int>(rng() % std::min(3, count - s + 1));
    std::string t = pieces[rng() % std::size(pieces)];
    if (rng() % 2) t += pieces[rng() % std::size(pieces)];
    if (n == 0 && t.empty()) continue;
    store.ReplaceRows(s, n, t);
    ASSERT_EQ(store.checkInvariants(), "") << "step " << step;
    history.push_back(store.Text());
  }
  const std::string final = store.Text();
  int row = 0, col = 0;
  for (std::size_t k = history.size() - 1; k > 0; --k) {
    ASSERT_TRUE(store.Undo(row, col));
    ASSERT_EQ(store.Text(), history[k - 1]) << "undo " << k;
    ASSERT_EQ(store.checkInvariants(), "");
  }
  EXPECT_FALSE(store.Undo(row, col));
  EXPECT_EQ(store.Text(), model);
  while (store.Redo(row, col)) ASSERT_EQ(store.checkInvariants(), "");
  EXPECT_EQ(store.Text(), final);
}

TEST_F(StateTest, RandomEditsUndoRedoWithoutWrapping) {
  std::mt19937 rng(11);
  store.SetText("one\r\n/* two\r\nthree */\r\nfour");
  RandomEdits(store, rng, 400);
}

TEST_F(StateTest, RandomEditsUndoRedoWithWrapping) {
  std::mt19937 rng(12);
  store.WrapOption().SetWrapByte(20);
  store.WrapOption().SetLeading(true);
  store.WrapOption().SetFollowPunctuation(true);
  store.SetWordWrap(true);
  store.SetText(std::string(45, 'q') + "\r\n/* two\r\nthree */\r\nfour");
  RandomEdits(store, rng, 400);
}

// The text a simple model predicts for ReplaceRows without wrapping.
TEST_F(StoreTest, RandomReplaceMatchesLineModel) {
  std::mt19937 rng(5);
  std::vector<std::string> lines{"a", "b"};
  bool finalBreak = false;
  store.SetText("a\r\nb");
  for (int step = 0; step < 500; ++step) {
    const int count = static_cast<int>(lines.size());
    const int s = static_cast<int>(rng() % (count + 1));
    if (s == count && count > 0 && !finalBreak) continue;
    const int n = s == count ? 0 : static_cast<int>(rng() % 3 % (count - s + 1));
    std::vector<std::string> add;
    const int k = static_cast<int>(rng() % 3);
    for (int i = 0; i < k; ++i) add.push_back(std::string(1, static_cast<char>('c' + rng() % 20)));
    const bool tBreak = k > 0 && rng() % 2;
    std::string t;
    for (int i = 0; i < k; ++i) t += add[static_cast<std::size_t>(i)] + (i + 1 < k || tBreak ? "\r\n" : "");
    if (n == 0 && t.empty()) continue;
    store.ReplaceRows(s, n, t);
    // Expected: lines [s, s + n) replaced; for n == 0 t joins the line at s.
    const bool toEnd = s + std::max(n, 1) >= count;
    if (n == 0) {
      if (s < count && !tBreak && k > 0) {
        add.back() += lines[static_cast<std::size_t>(s)];
        lines.erase(lines.begin() + s);
      }
    } else {
      lines.erase(lines.begin() + s, lines.begin() + s + n);
      if (toEnd) finalBreak = t.empty() ? finalBreak || s > 0 : tBreak;
    }
    if (n == 0 && s == count) finalBreak = tBreak;
    lines.insert(lines.begin() + s, add.begin(), add.end());
    if (lines.empty()) finalBreak = false;
    std::string want;
    for (std::size_t i = 0; i < lines.size(); ++i) want += lines[i] + (i + 1 < lines.size() || finalBreak ? "\r\n" : "");
    ASSERT_EQ(store.Text(), want) << "step " << step;
    ASSERT_EQ(store.checkInvariants(), "");
  }
}

}  // namespace
}  // namespace rd
