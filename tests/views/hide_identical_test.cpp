#include <gtest/gtest.h>

#include <string>

#include "views/hide_identical.h"

namespace rd {
namespace {

TPaneLines Numbered(const std::string& prefix, int count) {
  TPaneLines lines;
  for (int i = 0; i < count; ++i) lines.push_back(prefix + std::to_string(i));
  return lines;
}

struct HideCase {
  const char* name;
  PerSide<TDiffList> lists;
  PerSide<int> lineCounts;
  PerSide<TPaneLines> reduced;
  PerSide<TDiffList> hiddenLists;  // line, partner, kind, fullLine
};

TEST(HiddenLines, HideAndShowAgain) {
  const HideCase cases[] = {
      {"changed and added lines",
       {TDiffList{{3, 4, 2, 0}, {7, 2, 1, 0}}, TDiffList{{4, 3, 2, 0}, {9, 5, 1, 0}}},
       {10, 12},
       {TPaneLines{"a3", "a7"}, TPaneLines{"b4", "b9"}},
       {TDiffList{{0, 0, 2, 3}, {1, 2, 1, 7}}, TDiffList{{0, 0, 2, 4}, {1, 5, 1, 9}}}},
      {"no differences", {}, {3, 2}, {}, {}},
      {"crossing moved lines",
       {TDiffList{{1, 6, 3, 0}, {2, 5, 3, 0}}, TDiffList{{5, 2, 3, 0}, {6, 1, 3, 0}}},
       {4, 8},
       {TPaneLines{"a1", "a2"}, TPaneLines{"b5", "b6"}},
       {TDiffList{{0, 1, 3, 1}, {1, 0, 3, 2}}, TDiffList{{0, 1, 3, 5}, {1, 0, 3, 6}}}},
      {"a line past the end of its text is an empty line",
       {TDiffList{{1, 0, 1, 0}, {12, 0, 1, 0}}, TDiffList{}},
       {10, 1},
       {TPaneLines{"a1", ""}, TPaneLines{}},
       {TDiffList{{0, 0, 1, 1}, {1, 0, 1, 12}}, TDiffList{}}},
      {"a partner without an entry keeps its full line",
       {TDiffList{{2, 9, 2, 0}}, TDiffList{{0, 0, 1, 0}}},
       {5, 10},
       {TPaneLines{"a2"}, TPaneLines{"b0"}},
       {TDiffList{{0, 9, 2, 2}}, TDiffList{{0, 0, 1, 0}}}},
  };
  for (const auto& c : cases) {
    TComparison comparison;
    comparison.MutableDiff(Side::A) = c.lists[0];
    comparison.MutableDiff(Side::B) = c.lists[1];
    const PerSide<TPaneLines> full{Numbered("a", c.lineCounts[0]), Numbered("b", c.lineCounts[1])};
    THiddenLines hidden;
    const PerSide<TPaneLines> reduced = hidden.Hide(comparison, {full, {true, false}});
    EXPECT_TRUE(hidden.Active());
    EXPECT_EQ(reduced, c.reduced) << c.name;
    EXPECT_EQ(comparison.Diff(Side::A), c.hiddenLists[0]) << c.name;
    EXPECT_EQ(comparison.Diff(Side::B), c.hiddenLists[1]) << c.name;

    const TPaneTexts back = hidden.Show(comparison);
    EXPECT_FALSE(hidden.Active());
    EXPECT_EQ(back.Lines, full) << c.name;
    EXPECT_EQ(back.Modified, (PerSide<bool>{true, false})) << c.name;
    EXPECT_EQ(comparison.Diff(Side::A), c.lists[0]) << c.name;
    EXPECT_EQ(comparison.Diff(Side::B), c.lists[1]) << c.name;
  }
}

TEST(HiddenLines, ShowWhenNotHiddenChangesNothing) {
  TComparison comparison;
  comparison.MutableDiff(Side::A) = {{1, 0, 1, 0}};
  THiddenLines hidden;
  const TPaneTexts back = hidden.Show(comparison);
  EXPECT_EQ(back.Lines, PerSide<TPaneLines>{});
  EXPECT_EQ(comparison.Diff(Side::A), (TDiffList{{1, 0, 1, 0}}));
}

TEST(HiddenLines, EditsOfTheReducedListsDoNotReachTheRestoredOnes) {
  TComparison comparison;
  comparison.MutableDiff(Side::A) = {{3, 4, 2, 0}};
  comparison.MutableDiff(Side::B) = {{4, 3, 2, 0}};
  THiddenLines hidden;
  hidden.Hide(comparison, {{Numbered("a", 5), Numbered("b", 5)}, {false, true}});
  comparison.MutableDiff(Side::A).clear();  // as a discard of the results would
  const TPaneTexts back = hidden.Show(comparison);
  EXPECT_EQ(back.Modified, (PerSide<bool>{false, true}));
  EXPECT_EQ(comparison.Diff(Side::A), (TDiffList{{3, 4, 2, 0}}));
  // A second round starts from the restored lists.
  const auto reduced = hidden.Hide(comparison, {{Numbered("a", 5), Numbered("b", 5)}, {false, false}});
  EXPECT_EQ(reduced[0], (TPaneLines{"a3"}));
  EXPECT_EQ(comparison.Diff(Side::B), (TDiffList{{0, 0, 2, 4}}));
}

}  // namespace
}  // namespace rd
