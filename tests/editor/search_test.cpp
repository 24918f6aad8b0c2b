// SearchText with its option bits, and random editing commands checked
// against undo and redo.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/editor_model.h"

namespace rd {
namespace {

struct SearchCase {
  const char* name;
  std::string text;
  std::string what;
  int options;
  int startRow, startCol;
  bool found;
  std::string selected;
  int row, col;  // caret after the hit
};

class SearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTest, FindsAndSelects) {
  const SearchCase& c = GetParam();
  TEditorModel m;
  m.Lines().SetText(c.text);
  m.SetRowCol(c.startRow, c.startCol);
  EXPECT_EQ(m.SearchText(c.what, c.options), c.found);
  if (!c.found) return;
  EXPECT_EQ(m.SelText(), c.selected);
  EXPECT_EQ(m.SelectionState(), TSelectionState::Hit);
  EXPECT_EQ(m.Row(), c.row);
  EXPECT_EQ(m.Col(), c.col);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchTest,
    ::testing::Values(
        SearchCase{"ForwardIgnoresCase", "xx\r\nab ABC", "abc", 1, 0, 0, true, "ABC", 1, 6},
        SearchCase{"ForwardFromCaret", "abc abc", "abc", 1, 0, 1, true, "abc", 0, 7},
        SearchCase{"MatchCase", "ABC abc", "abc", 1 | 2, 0, 0, true, "abc", 0, 7},
        SearchCase{"MatchCaseMisses", "ABC", "abc", 1 | 2, 0, 0, false, "", 0, 0},
        SearchCase{"Backward", "abc abc x", "abc", 0, 0, 9, true, "abc", 0, 4},
        SearchCase{"BackwardBeforeCaretOnly", "abc x", "abc", 0, 0, 2, false, "", 0, 0},
        SearchCase{"WholeWord", "abcd abc", "abc", 1 | 4, 0, 0, true, "abc", 0, 8},
        SearchCase{"NeverInsideADoubleByteCharacter", "\x83\x41" "A", "A", 1, 0, 0, true, "A", 0, 3},
        SearchCase{"DoubleByteWord", "x\x8A\xBF\x8E\x9A" "y", "\x8E\x9A", 1, 0, 0, true, "\x8E\x9A", 0, 5},
        SearchCase{"HalfWidthMatchesFullWidthKana", "\xB6\xDE\xDD", "\x83\x4B\x83\x93", 1 | 8, 0, 0, true, "\xB6\xDE\xDD", 0, 3},
        SearchCase{"FullWidthLetterMatchesAscii", "\x82\x60\x82\x61", "ab", 1 | 8, 0, 0, true, "\x82\x60\x82\x61", 0, 4},
        SearchCase{"WithoutFoldingNoMatch", "\x82\x60", "a", 1, 0, 0, false, "", 0, 0},
        SearchCase{"SkipsLineBreaks", "ab\r\ncd", "abcd", 1 | 128, 0, 0, true, "ab\r\ncd", 1, 2},
        SearchCase{"SkipsBlanks", "a \x81\x40\tb", "ab", 1 | 256, 0, 0, true, "a \x81\x40\tb", 0, 9},
        SearchCase{"PatternWithLineBreak", "ab\r\ncd", "b\r\nc", 1, 0, 0, true, "b\r\nc", 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchText, CrossesChunksBothWays) {
  TEditorModel m;
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "filler line " + std::to_string(i) + "\r\n";
  text += "needle\r\n";
  for (int i = 0; i < 3000; ++i) text += "more " + std::to_string(i) + "\r\n";
  m.Lines().SetText(text);
  EXPECT_TRUE(m.SearchText("NEEDLE", 1));
  EXPECT_EQ(m.Row(), 3000);
  m.SetRow(5999);
  EXPECT_TRUE(m.SearchText("needle", 0));
  EXPECT_EQ(m.Row(), 3000);
  EXPECT_EQ(m.Col(), 0);
  EXPECT_FALSE(m.SearchText("needle", 0)) << "nothing before the hit";
  EXPECT_FALSE(m.SearchText("absent", 1));
}

// Random editing commands; undo all must give the original text and redo
// all the final one, with wrapping off and on.
void RandomCommands(bool wrap, unsigned seed) {
  TEditorModel m;
  m.SetUndoListMax(100000);
  m.Caret.FreeCaret = seed % 2 == 0;
  if (wrap) {
    m.WrapOption().SetWrapByte(20);
    m.WrapOption().SetLeading(true);
    m.SetWordWrap(true);
  }
  m.View().Brackets.Add("(", ")");
  const std::string original = "first line\r\n\tsecond (open\r\n\x82\xA0\x82\xA2\x82\xA4 " + std::string(30, 'w') + "\r\nend)";
  m.Lines().SetText(original);
  std::mt19937 rng(seed);
  const char* typed[] = {"a", "\x82\xA0", "(", ")", " ", "\x81\x42", "\x81\x75"};
  int edits = 0;
  for (int step = 0; step < 300; ++step) {
    const int rows = m.Rows().Count();
    m.SetRowCol(static_cast<int>(rng() % (rows + 1)), static_cast<int>(rng() % 40));
    if (rng() % 4 == 0) {
      m.MoveDown(true);
      m.MoveRight(true);
    }
    const bool canUndo = m.CanUndo();
    const std::string before = m.Lines().Text();
    switch (rng() % 7) {
      case 0: m.TypeChar(typed[rng() % std::size(typed)]); break;
      case 1: m.DeleteChar(); break;
      case 2: m.BackSpace(); break;
      case 3: m.NewLine(); break;
      case 4: m.TabKey(); break;
      case 5: m.PasteText("p\r\nq", false); break;
      case 6: m.CutText(); break;
    }
    if (m.Lines().Text() != before || (m.CanUndo() && !canUndo)) ++edits;
    ASSERT_EQ(m.checkInvariants(), "") << "step " << step;
  }
  const std::string final = m.Lines().Text();
  while (m.CanUndo()) m.Undo();
  EXPECT_EQ(m.Lines().Text(), original);
  ASSERT_EQ(m.checkInvariants(), "");
  while (m.CanRedo()) m.Redo();
  EXPECT_EQ(m.Lines().Text(), final);
  EXPECT_GT(edits, 100);
}

TEST(RandomCommands, UndoRedoWithoutWrapping) {
  for (unsigned seed = 1; seed <= 3; ++seed) RandomCommands(false, seed);
}

TEST(RandomCommands, UndoRedoWithWrapping) {
  for (unsigned seed = 4; seed <= 6; ++seed) RandomCommands(true, seed);
}

}  // namespace
}  // namespace rd
