// The editor model: caret and view clamping, notifications, Lines,
// selection, editing commands and undo limits.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/editor_error.h"
#include "editor/editor_model.h"

namespace rd {
namespace {

struct Viewport : IEditorViewport {
  int rows = 10, cols = 40;
  bool focus = true;
  int VisibleRowCount() const override { return rows; }
  int VisibleColCount() const override { return cols; }
  bool HasFocus() const override { return focus; }
};

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.SetViewport(&view);
    m.OnChange = [this] { ++changes; };
    m.OnCaretMoved = [this] { ++caretMoves; };
    m.OnTopRowChange = [this] { ++topRowChanges; };
  }
  void TearDown() override { EXPECT_EQ(m.checkInvariants(), ""); }
  Viewport view;
  TEditorModel m;
  int changes = 0, caretMoves = 0, topRowChanges = 0;
};

TEST_F(ModelTest, RowClampsToTheRowCountOnlyAfterAFinalBreak) {
  m.Lines().SetText("1\r\n2\r\n3\r\n4\r\n5\r\n");
  m.SetRow(10);
  EXPECT_EQ(m.Row(), 5);
  m.Lines().SetText("1\r\n2\r\n3\r\n4\r\n5");
  m.SetRow(10);
  EXPECT_EQ(m.Row(), 4);
  m.SetRow(-3);
  EXPECT_EQ(m.Row(), 0);
}

TEST_F(ModelTest, TopRowFiresOnlyOnChangeAndClamps) {
  m.Lines().SetText("a\r\nb\r\nc");
  topRowChanges = 0;
  m.SetTopRow(0);
  EXPECT_EQ(topRowChanges, 0);
  m.SetTopRow(50);
  EXPECT_EQ(m.TopRow(), 3);
  EXPECT_EQ(topRowChanges, 1);
}

TEST_F(ModelTest, CaretOfAnUnfocusedEditorOnlyStoresThePosition) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  m.Lines().SetText(text);
  caretMoves = topRowChanges = 0;
  view.focus = false;
  m.SetRow(50);
  EXPECT_EQ(m.Row(), 50);
  EXPECT_EQ(m.TopRow(), 0);
  EXPECT_EQ(caretMoves, 0);
  view.focus = true;
  m.SetRow(60);
  EXPECT_EQ(m.TopRow(), 51) << "row - visible rows + 1";
  EXPECT_EQ(caretMoves, 1);
  m.SetRow(3);
  EXPECT_EQ(m.TopRow(), 3);
}

TEST_F(ModelTest, ColumnIsNormalisedOnTheRow) {
  m.SetTabSpaceCount(4);
  m.Lines().SetText("a\tb\x82\xA0\r\n");  // columns: a, tab and two fillers, b, lead, trail
  m.SetCol(2);  // inside the tab's filler, moving right
  EXPECT_EQ(m.Col(), 4);
  m.SetCol(3);  // moving left
  EXPECT_EQ(m.Col(), 1);
  m.SetCol(6);  // trail half, moving right
  EXPECT_EQ(m.Col(), 7);
  m.SetCol(6);  // moving left
  EXPECT_EQ(m.Col(), 5);
  m.SetCol(50);
  EXPECT_EQ(m.Col(), 7) << "pulled back to the row end";
  m.Caret.InTab = true;
  m.SetCol(2);
  EXPECT_EQ(m.Col(), 2);
  m.Caret.FreeCaret = true;
  m.SetCol(2000);
  EXPECT_EQ(m.Col(), 1000);
}

TEST_F(ModelTest, AssigningTextKeepsModifiedTypingSetsIt) {
  m.Lines().SetText("abc");
  EXPECT_FALSE(m.Modified);
  EXPECT_EQ(changes, 0);
  m.SetRowCol(0, 1);
  m.TypeChar("x");
  EXPECT_TRUE(m.Modified);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(m.Lines().Text(), "axbc");
  EXPECT_EQ(m.Col(), 2);
}

TEST_F(ModelTest, UndoListMaxIsAtLeast64AndDropsTheOldest) {
  m.SetUndoListMax(10);
  EXPECT_EQ(m.UndoListMax(), 64);
  m.Lines().SetText("");
  for (int i = 0; i < 65; ++i) m.TypeChar("a");
  for (int i = 0; i < 64; ++i) m.Undo();
  EXPECT_FALSE(m.CanUndo());
  EXPECT_EQ(m.Lines().Text(), "a") << "the first keystroke can no longer be undone";
  for (int i = 0; i < 64; ++i) m.Redo();
  EXPECT_EQ(m.Lines().Text(), std::string(65, 'a'));
}

TEST_F(ModelTest, SelStartAndLengthCountCrLfAsTwo) {
  m.Lines().SetText("ab\r\ncd\r\nef");
  m.SetSelStart(0);
  m.SetSelLength(10);
  EXPECT_EQ(m.SelText(), "ab\r\ncd\r\nef");
  EXPECT_EQ(m.SelLength(), 10);
  m.SetSelStart(5);
  EXPECT_EQ(m.Row(), 1);
  EXPECT_EQ(m.Col(), 1);
  EXPECT_EQ(m.SelStart(), 5);
  m.SetSelStart(3);  // inside the line break: start of the next row
  EXPECT_EQ(m.Row(), 1);
  EXPECT_EQ(m.Col(), 0);
  m.SetSelStart(99);
  EXPECT_EQ(m.Row(), 2);
  EXPECT_EQ(m.Col(), 2);
  m.SetSelLength(0);
  EXPECT_FALSE(m.Selected());
  EXPECT_EQ(m.CopyText(), "") << "no selection, nothing to copy";
}

TEST_F(ModelTest, SelectAllAndCut) {
  m.Lines().SetText("ab\r\ncd\r\n");
  m.SelectAll();
  EXPECT_EQ(m.SelText(), "ab\r\ncd\r\n");
  EXPECT_EQ(m.CutText(), "ab\r\ncd\r\n");
  EXPECT_EQ(m.Lines().Text(), "");
  m.ReadOnly = true;
  m.PasteText("x", false);
  EXPECT_EQ(m.Lines().Text(), "");
}

TEST_F(ModelTest, LinesEditsPlaceTheCaret) {
  m.Lines().SetText("a\r\nb\r\nc");
  m.Lines().Put(1, "B");
  EXPECT_EQ(m.Lines().Text(), "a\r\nB\r\nc");
  EXPECT_EQ(m.Row(), 2);
  EXPECT_EQ(m.Col(), 0);
  m.Lines().Put(2, "C");
  EXPECT_EQ(m.Lines().Text(), "a\r\nB\r\nC") << "a line without a break stays without one";
  EXPECT_EQ(m.Row(), 2);
  EXPECT_EQ(m.Col(), 1);
  m.Lines().Insert(0, "z");
  EXPECT_EQ(m.Lines().Text(), "z\r\na\r\nB\r\nC");
  EXPECT_EQ(m.Row(), 1);
  EXPECT_EQ(m.Lines().Add("end"), 4);
  EXPECT_EQ(m.Lines().Text(), "z\r\na\r\nB\r\nC\r\nend\r\n");
  EXPECT_EQ(m.Row(), 5);
  m.Lines().Delete(1);
  EXPECT_EQ(m.Lines().Text(), "z\r\nB\r\nC\r\nend\r\n");
  EXPECT_EQ(m.Row(), 1);
  EXPECT_EQ(m.Lines().Count(), 4);
  EXPECT_EQ(m.Lines().Get(3), "end");
  EXPECT_THROW(m.Lines().Get(4), EListError);
  EXPECT_THROW(m.Lines().Delete(-1), EListError);
  EXPECT_EQ(changes, 5);
  m.Lines().Clear();
  EXPECT_EQ(m.Lines().Count(), 0);
  EXPECT_FALSE(m.CanUndo());
  EXPECT_EQ(changes, 6) << "clearing a non-empty text is a change";
}

TEST_F(ModelTest, UpdateBracketDefersTheNotification) {
  m.Lines().SetText("");
  m.Lines().BeginUpdate();
  m.Lines().Add("a");
  m.Lines().Add("b");
  EXPECT_EQ(changes, 0);
  m.Lines().EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(m.Lines().Text(), "a\r\nb\r\n");
}

struct EditCase {
  const char* name;
  std::string text;
  int row, col;
  void (*edit)(TEditorModel&);
  std::string after;
  int caretRow, caretCol;
};

class EditCommandTest : public ModelTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditCommandTest, ChangesTextAndCaret) {
  const EditCase& c = GetParam();
  m.SetTabSpaceCount(4);
  m.Caret.FreeCaret = true;
  m.Lines().SetText(c.text);
  m.SetRowCol(c.row, c.col);
  c.edit(m);
  EXPECT_EQ(m.Lines().Text(), c.after);
  EXPECT_EQ(m.Row(), c.caretRow);
  EXPECT_EQ(m.Col(), c.caretCol);
  m.Undo();
  EXPECT_EQ(m.Lines().Text(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditCommandTest,
    ::testing::Values(
        EditCase{"DeleteDoubleByteWhole", "a\x82\xA0" "b", 0, 1, [](TEditorModel& e) { e.DeleteChar(); }, "ab", 0, 1},
        EditCase{"DeleteTabWithFiller", "\tb", 0, 0, [](TEditorModel& e) { e.DeleteChar(); }, "b", 0, 0},
        EditCase{"DeleteJoinsLines", "ab\r\ncd", 0, 2, [](TEditorModel& e) { e.DeleteChar(); }, "abcd", 0, 2},
        EditCase{"DeleteFinalBreak", "ab\r\n", 0, 2, [](TEditorModel& e) { e.DeleteChar(); }, "ab", 0, 2},
        EditCase{"BackSpaceDoubleByte", "a\x82\xA0" "b", 0, 3, [](TEditorModel& e) { e.BackSpace(); }, "ab", 0, 1},
        EditCase{"BackSpaceJoinsLines", "ab\r\ncd", 1, 0, [](TEditorModel& e) { e.BackSpace(); }, "abcd", 0, 2},
        EditCase{"InsertPastEndPads", "ab", 0, 5, [](TEditorModel& e) { e.TypeChar("x"); }, "ab   x", 0, 6},
        EditCase{"OverwriteDoubleByteWhole", "\x82\xA0" "b", 0, 0,
                 [](TEditorModel& e) {
                   e.Overwrite = true;
                   e.TypeChar("x");
                 },
                 "xb", 0, 1},
        EditCase{"NewLineAutoIndent", "  ab", 0, 3, [](TEditorModel& e) { e.NewLine(); }, "  a\r\n  b", 1, 2},
        EditCase{"TypeOnEmptyRowAfterBreak", "ab\r\n", 1, 0, [](TEditorModel& e) { e.TypeChar("\x82\xA0"); },
                 "ab\r\n\x82\xA0", 1, 2},
        EditCase{"PasteMultiLine", "ab", 0, 1, [](TEditorModel& e) { e.PasteText("x\ny\r\nz", false); },
                 "ax\r\ny\r\nzb", 2, 1},
        EditCase{"SoftTab", "ab", 0, 1,
                 [](TEditorModel& e) {
                   e.Caret.SoftTab = true;
                   e.TabKey();
                 },
                 "a   b", 0, 4},
        EditCase{"ReplaceStreamSelection", "abc\r\ndef", 0, 1,
                 [](TEditorModel& e) {
                   e.Select(0, 1, 1, 2);
                   e.InsertText("Z");
                 },
                 "aZf", 0, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelTest, BlockSelectionCutAndPaste) {
  m.Lines().SetText("abcd\r\nef\r\nghij\r\n");
  m.Select(0, 1, 2, 3, TSelectionMode::Block);
  EXPECT_EQ(m.SelText(), "bc\r\nf\r\nhi");
  const std::string cut = m.CutText();
  EXPECT_EQ(m.Lines().Text(), "ad\r\ne\r\ngj\r\n");
  m.SetRowCol(1, 1);
  m.PasteText(cut, true);
  EXPECT_EQ(m.Lines().Text(), "ad\r\nebc\r\ngfj\r\n hi\r\n");
  m.Undo();
  EXPECT_EQ(m.Lines().Text(), "ad\r\ne\r\ngj\r\n");
}

TEST_F(ModelTest, SelectTokenUnderTheCaret) {
  m.Lines().SetText("foo bar_1 \x82\xA0\x82\xA2!");
  m.SetRowCol(0, 6);
  m.SelectTokenAtCaret();
  EXPECT_EQ(m.SelText(), "bar_1");
  EXPECT_EQ(m.Col(), 4);
  EXPECT_EQ(m.SelLength(), 5);
  m.SelectTokenAt(0, 11);
  EXPECT_EQ(m.SelText(), "\x82\xA0\x82\xA2");
  m.ClearSelection();
  m.SelectTokenAt(0, 3);  // on the blank
  EXPECT_FALSE(m.Selected());
  m.SelectTokenAt(5, 0);  // outside the text
  EXPECT_FALSE(m.Selected());
}

TEST_F(ModelTest, WrappingOnAndOffClampsTheCaret) {
  m.WrapOption().SetWrapByte(20);
  m.Lines().SetText(std::string(50, 'a') + "\r\nb");
  m.SetWordWrap(true);
  EXPECT_EQ(m.Rows().Count(), 4);
  EXPECT_EQ(m.Lines().Count(), 2);
  EXPECT_EQ(m.Lines().Get(0), std::string(50, 'a'));
  m.SetRow(3);
  m.SetWordWrap(false);
  EXPECT_EQ(m.Row(), 1);
}

}  // namespace
}  // namespace rd

namespace rd {
namespace {

TEST(SharedRows, TwoEditorsShowOneStoreAndTheSecondTakesOverTheScheme) {
  auto first = std::make_unique<TEditorModel>();
  TEditorModel second(first->SharedRows());
  int secondChanges = 0;
  second.OnChange = [&] { ++secondChanges; };
  first->View().Brackets.Add("(", ")");
  second.View().Brackets.Add("[", "]");
  first->Lines().SetText("[a\r\nb]\r\n");
  EXPECT_EQ(second.Rows().BracketIndex(1), -1) << "the first editor's scheme knows no square brackets";
  first->SetRowCol(0, 0);
  first->TypeChar("x");
  EXPECT_EQ(secondChanges, 1);
  EXPECT_EQ(second.Lines().Text(), "x[a\r\nb]\r\n");
  first.reset();
  EXPECT_EQ(second.Rows().BracketIndex(1), 0) << "the second editor's scheme took over";
  EXPECT_EQ(second.checkInvariants(), "");
}

}  // namespace
}  // namespace rd

namespace rd {
namespace {

TEST(UndoCaret, UndoReturnsTheCaretToWhereTheEditWasMade) {
  TEditorModel m;
  m.Lines().SetText("abc\r\ndef\r\n");
  m.SetRowCol(1, 2);
  m.TypeChar("X");
  m.SetRowCol(0, 0);
  m.Undo();
  EXPECT_EQ(m.Lines().Text(), "abc\r\ndef\r\n");
  EXPECT_EQ(m.Row(), 1);
  EXPECT_EQ(m.Col(), 2);
  m.Redo();
  EXPECT_EQ(m.Lines().Text(), "abc\r\ndeXf\r\n");
  EXPECT_TRUE(m.Modified);
}

TEST(TopCol, ClampsAndFollowsTheCaret) {
  TEditorModel m;  // 80 visible columns without a viewport
  int changes = 0;
  m.OnTopColChange = [&] { ++changes; };
  m.SetTopCol(5000);
  EXPECT_EQ(m.TopCol(), 960) << "1000 - visible columns div 2";
  m.SetTopCol(960);
  EXPECT_EQ(changes, 1);
  m.Lines().SetText(std::string(300, 'a'));
  m.SetRowCol(0, 0);
  EXPECT_EQ(m.TopCol(), 0);
  m.SetCol(200);
  EXPECT_EQ(m.TopCol(), 121) << "col - visible columns + 1";
}

TEST(LinesAssign, PutsTheCaretOnRowCount) {
  TEditorModel m;
  const std::vector<std::string> lines{"x", "y"};
  m.Lines().Assign(lines);
  EXPECT_EQ(m.Lines().Text(), "x\r\ny\r\n");
  EXPECT_EQ(m.Row(), 2);
  EXPECT_FALSE(m.Modified);
}

}  // namespace
}  // namespace rd
