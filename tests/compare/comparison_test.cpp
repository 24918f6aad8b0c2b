// The comparison on small texts whose results are written out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compare/comparison.h"

namespace rd {
namespace {

struct Case {
  const char* name;
  std::vector<const char*> a;
  std::vector<const char*> b;
  TDiffList diffA;
  TDiffList diffB;
  TCompareOptions options = {};
};

TLineList Lines(const std::vector<const char*>& lines) {
  TLineList list;
  for (const char* line : lines) list.Add(line);
  return list;
}

TCompareOptions With(bool trimLR, bool trimR, bool blank, bool text) {
  TCompareOptions o;
  o.TrimLR = trimLR;
  o.TrimR = trimR;
  o.Blank = blank;
  o.Text = text;
  return o;
}

class CompareCases : public ::testing::TestWithParam<Case> {};

TEST_P(CompareCases, GivesTheWrittenDifferences) {
  const Case& c = GetParam();
  TComparison cmp;
  cmp.Options = c.options;
  EXPECT_EQ(cmp.CompareTexts(Lines(c.a), Lines(c.b), false, "A", "B"), "");
  EXPECT_EQ(cmp.Diff(Side::A), c.diffA);
  EXPECT_EQ(cmp.Diff(Side::B), c.diffB);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, CompareCases,
    ::testing::Values(
        Case{"identical", {"x", "y", "z"}, {"x", "y", "z"}, {}, {}},
        Case{"added_in_b", {"x", "y"}, {"x", "q", "y"}, {}, {{1, 0, KindAdded, 0}}},
        Case{"changed_pair", {"x", "y", "z"}, {"x", "w", "z"}, {{1, 1, KindChanged, 0}}, {{1, 1, KindChanged, 0}}},
        Case{"swap_marks_the_later_run", {"x", "y"}, {"y", "x"}, {{0, 1, KindMoved, 0}}, {{1, 0, KindMoved, 0}}},
        Case{"braces_extend_from_anchors",
             {"a", "}", "b", "}"},
             {"a", "}", "b", "}", "c", "}"},
             {},
             {{4, 3, KindAdded, 0}, {5, 3, KindAdded, 0}}},
        Case{"block_pairing_then_moved",
             {"a", "x", "y", "b", "x", "y", "c"},
             {"a", "x", "y", "b", "y", "x", "c"},
             {{4, 5, KindMoved, 0}},
             {{5, 4, KindMoved, 0}}},
        Case{"extension_then_added", {"a", "x", "x"}, {"a", "x", "x", "x"}, {}, {{3, 2, KindAdded, 0}}},
        Case{"blank_lines_keep_numbering", {"a", "", "b"}, {"a", "c"}, {{2, 1, KindChanged, 0}}, {{1, 2, KindChanged, 0}}},
        Case{"trim_right_drops_white_lines_without_blank",
             {"a", "   ", "b"},
             {"a", "b"},
             {},
             {},
             With(false, true, false, false)},
        Case{"no_option_keeps_white_lines",
             {"a", "   ", "b"},
             {"a", "b"},
             {{1, 0, KindAdded, 0}},
             {},
             With(false, false, false, false)},
        Case{"trim_both", {"  a", "b "}, {"a", "b"}, {}, {}, With(true, false, true, false)},
        Case{"trailing_space_counts_without_trim", {"a", "b "}, {"a", "b"},
             {{1, 1, KindChanged, 0}}, {{1, 1, KindChanged, 0}}, With(false, false, true, false)},
        Case{"case_ignored", {"abc"}, {"ABC"}, {}, {}, With(false, true, true, true)},
        Case{"case_counts", {"abc"}, {"ABC"}, {{0, 0, KindChanged, 0}}, {{0, 0, KindChanged, 0}}},
        // A line that occurs once in TextA and twice in TextB, between anchors, may only pair with itself.
        Case{"unique_in_a_never_pairs_with_another_key",
             {"a", "p", "q", "b"},
             {"a", "q", "p", "b", "p", "q"},
             {{1, 2, KindMoved, 0}},
             {{2, 1, KindMoved, 0}, {4, 3, KindAdded, 0}, {5, 3, KindAdded, 0}}},
        Case{"pending_left_over",
             {"x", "x", "m"},
             {"m", "x", "x", "x"},
             {{0, 0, KindAdded, 0}, {1, 1, KindMoved, 0}},
             {{1, 1, KindMoved, 0}, {2, 1, KindAdded, 0}, {3, 1, KindAdded, 0}}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(CompareTexts, UpperCasingLeavesTrailBytesAlone) {
  // "ッ" is 83 62; a byte-wise upper-casing would make it 83 42, "ィ".
  TComparison cmp;
  cmp.Options.Text = true;
  EXPECT_EQ(cmp.CompareTexts(TLineList{"\x83\x62"}, TLineList{"\x83\x42"}, false, "A", "B"), "");
  EXPECT_EQ(cmp.Diff(Side::A), (TDiffList{{0, 0, KindChanged, 0}}));
  // Full-width letters stay as they are: "ａ" (82 81) is not "Ａ" (82 60).
  EXPECT_EQ(cmp.CompareTexts(TLineList{"\x82\x81"}, TLineList{"\x82\x60"}, false, "A", "B"), "");
  EXPECT_EQ(cmp.Diff(Side::B), (TDiffList{{0, 0, KindChanged, 0}}));
  EXPECT_EQ(cmp.CompareTexts(TLineList{"\x83\x62x"}, TLineList{"\x83\x62X"}, false, "A", "B"), "");
  EXPECT_TRUE(cmp.Diff(Side::A).empty());
}

TEST(CompareTexts, FullWidthBlankIsNotWhiteSpace) {
  TComparison cmp;
  cmp.Options = With(true, false, true, false);
  EXPECT_EQ(cmp.CompareTexts(TLineList{"a\x81\x40"}, TLineList{"a"}, false, "A", "B"), "");
  EXPECT_EQ(cmp.Diff(Side::A).size(), 1u);
}

TEST(CompareTexts, NoComparableLinesNamesTheText) {
  TComparison cmp;
  EXPECT_EQ(cmp.CompareTexts(TLineList{}, TLineList{}, false, "a.txt", "b.txt"), "データがありませんa.txt");
  EXPECT_EQ(cmp.CompareTexts(TLineList{"x"}, TLineList{"", " "}, false, "a.txt", "b.txt"), "データがありませんb.txt");
  EXPECT_TRUE(cmp.Diff(Side::A).empty());
  EXPECT_TRUE(cmp.Diff(Side::B).empty());
}

TEST(CompareTexts, EveryComparisonStartsFromNothing) {
  TComparison cmp;
  cmp.CompareTexts(TLineList{"a", "b"}, TLineList{"a", "c"}, false, "A", "B");
  ASSERT_EQ(cmp.Diff(Side::A).size(), 1u);
  EXPECT_EQ(cmp.CompareTexts(TLineList{""}, TLineList{"a"}, false, "A", "B"), "データがありませんA");
  EXPECT_TRUE(cmp.Diff(Side::A).empty());
  EXPECT_TRUE(cmp.Diff(Side::B).empty());
}

TEST(CompareTexts, ErrorCountText) {
  EXPECT_EQ(ErrorCountText(3), "3行");
  EXPECT_EQ(ErrorCountText(0), "0行");
}

struct RecordingHost : TCompareHost {
  std::vector<std::string> calls;
  void ResultsDiscarding() override { calls.push_back("discarding"); }
  void ShowErrorCounts(const PerSide<std::size_t>& c) override {
    calls.push_back(ErrorCountText(c[0]) + "/" + ErrorCountText(c[1]));
  }
  void ClearErrorCounts() override { calls.push_back("clear"); }
  void RepaintPanes() override { calls.push_back("repaint"); }
  void ProgressStep() override { calls.push_back("step"); }
};

TEST(CompareTexts, TellsTheHostInOrder) {
  RecordingHost host;
  TComparison cmp(&host);
  cmp.CompareTexts(TLineList{"a", "b"}, TLineList{"a", "c", "d"}, true, "A", "B");
  std::vector<std::string> expected = {"discarding", "clear"};
  for (int i = 0; i < 11; ++i) expected.push_back("step");
  expected.push_back("1行/2行");
  expected.push_back("repaint");
  EXPECT_EQ(host.calls, expected);

  host.calls.clear();
  cmp.ResetResults();  // had entries: the panes repaint
  EXPECT_EQ(host.calls, (std::vector<std::string>{"discarding", "clear", "repaint"}));
  host.calls.clear();
  cmp.ResetResults();  // nothing to take away
  EXPECT_EQ(host.calls, (std::vector<std::string>{"discarding", "clear"}));
}

TEST(CompareTexts, WithoutProgressNoStepIsTaken) {
  RecordingHost host;
  TComparison cmp(&host);
  cmp.CompareTexts(TLineList{"a"}, TLineList{"a"}, false, "A", "B");
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "step"), 0);
  host.calls.clear();
  cmp.CompareTexts(TLineList{""}, TLineList{"a"}, true, "A", "B");
  // An empty TextA stops after the first progress point, with blank counts.
  EXPECT_EQ(host.calls, (std::vector<std::string>{"discarding", "clear", "step"}));
}

}  // namespace
}  // namespace rd
