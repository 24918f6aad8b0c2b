#include <gtest/gtest.h>

#include <string>

#include "views/row_marks.h"

namespace rd {

void PrintTo(const TRowMark& m, std::ostream* os) { *os << (m.Kind == TMarkKind::Tab ? "tab@" : "wide@") << m.Column; }

namespace {

constexpr TMarkKind Tab = TMarkKind::Tab;
constexpr TMarkKind Wide = TMarkKind::WideSpace;
const std::string kWide = "\x81\x40";  // "　"

TEST(RowMarks, ColumnsOfTabsAndWideSpaces) {
  const TMarkSwitches both{true, true};
  const struct {
    const char* name;
    std::string row;
    int tabWidth;
    TMarkSwitches switches;
    std::vector<TRowMark> marks;
  } cases[] = {
      {"a tab wide, tab 4", "a\t" + kWide, 4, both, {{Tab, 1}, {Wide, 4}}},
      {"tab marks off keep the space in place", "a\t" + kWide, 4, {false, true}, {{Wide, 4}}},
      {"space marks off", "a\t" + kWide, 4, {true, false}, {{Tab, 1}}},
      {"both off", "a\t" + kWide, 4, {false, false}, {}},
      {"empty", "", 4, both, {}},
      {"plain", "abc def", 4, both, {}},
      {"two tabs, tab 4", "\t\t", 4, both, {{Tab, 0}, {Tab, 4}}},
      {"two tabs, tab 2", "\t\t", 2, both, {{Tab, 0}, {Tab, 2}}},
      {"two tabs, tab 8", "\t\t", 8, both, {{Tab, 0}, {Tab, 8}}},
      {"tab on a stop", "abcd\tx", 4, both, {{Tab, 4}}},
      {"tabs after text", "abc\tx\t", 4, both, {{Tab, 3}, {Tab, 5}}},
      {"wide space after a tab", "\t" + kWide, 8, both, {{Tab, 0}, {Wide, 8}}},
      {"two wide spaces", kWide + kWide, 4, both, {{Wide, 0}, {Wide, 2}}},
      {"double-byte char before a tab", "\x8a\xbf\t", 4, both, {{Tab, 2}}},
      {"ideographic comma is no space", "\x81\x41", 4, both, {}},
      {"pair straddling two characters", "\x88\x81\x40", 4, both, {}},
      {"trail byte swallows a tab", "\x81\t", 4, both, {}},
      {"lead byte at the end", "a\t\x81", 4, both, {{Tab, 1}}},
      {"tab width 0 counts as 1", "\t\t", 0, both, {{Tab, 0}, {Tab, 1}}},
  };
  for (const auto& c : cases) EXPECT_EQ(RowMarks(c.row, c.tabWidth, c.switches), c.marks) << c.name;
}

TEST(RowMarks, CheapTestBeforeAnyWalk) {
  const struct {
    std::string row;
    bool may;
  } cases[] = {{"", false},       {"abc", false},           {"\t", true},         {kWide, true},
               {"x" + kWide, true}, {"\x88\x81\x40", true}, {"\x81\x41", false}, {"\x81", false}};
  for (const auto& c : cases) EXPECT_EQ(MayHoldMarks(c.row), c.may) << c.row;
}

TEST(TabMarkShape, ChevronAndClipping) {
  const TMarkCell cell{8, 16, 2, 0};
  // x 10 -> 12; middle 32 + (16 - 2) / 2 = 39; half height 2; length 4.
  const auto shape = TabMarkShape(10, 32, cell, 0, 100);
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->PenWidth, 1);
  EXPECT_EQ(shape->Upper[0], (TMarkPoint{12, 37}));
  EXPECT_EQ(shape->Upper[1], (TMarkPoint{16, 39}));
  EXPECT_EQ(shape->Lower[0], (TMarkPoint{12, 41}));
  EXPECT_EQ(shape->Lower[1], (TMarkPoint{16, 39}));

  EXPECT_TRUE(TabMarkShape(92, 0, cell, 0, 100));   // exactly one column before the right edge
  EXPECT_FALSE(TabMarkShape(93, 0, cell, 0, 100));  // less than one column left
  EXPECT_FALSE(TabMarkShape(-1, 0, cell, 0, 100));  // begins left of the painted part
  EXPECT_TRUE(TabMarkShape(0, 0, cell, 0, 100));

  // Wide cells: pen cw / 8; short rows: half height at least 1.
  const auto wide = TabMarkShape(0, 0, TMarkCell{20, 7, 1, 0}, 0, 100);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->PenWidth, 2);
  EXPECT_EQ(wide->Upper[0], (TMarkPoint{2, 2}));   // middle (7 - 1) / 2 = 3, half 1
  EXPECT_EQ(wide->Upper[1], (TMarkPoint{12, 3}));  // length 10
  const auto tiny = TabMarkShape(0, 0, TMarkCell{1, 4, 0, 0}, 0, 100);
  ASSERT_TRUE(tiny);
  EXPECT_EQ(tiny->PenWidth, 1);
  EXPECT_EQ(tiny->Upper[1], (TMarkPoint{3, 2}));  // length at least 1
}

TEST(WideSpaceMark, BoxOpenOnTheLeftWhenCut) {
  const TMarkCell cell{8, 16, 2, 0};  // side 2 * 8 - 4 = 12
  const struct {
    const char* name;
    int x;
    int clipLeft;
    std::vector<TMarkPoint> points;
  } cases[] = {
      {"whole box", 10, 0, {{12, 45}, {24, 45}, {24, 34}, {12, 34}, {12, 45}}},
      {"cut on the left", 10, 15, {{15, 45}, {24, 45}, {24, 34}, {14, 34}}},
      {"only the right side left", 10, 24, {{24, 45}, {24, 45}, {24, 34}, {23, 34}}},
      {"wholly left of the painted part", 10, 25, {}},
      {"starting on the clip edge", 10, 12, {{12, 45}, {24, 45}, {24, 34}, {12, 34}, {12, 45}}},
  };
  for (const auto& c : cases) EXPECT_EQ(WideSpaceMarkPolyline(c.x, 32, cell, c.clipLeft), c.points) << c.name;
  // A character margin narrows the box: 2 * (8 - 1) - 4 = 10.
  EXPECT_EQ(WideSpaceMarkPolyline(0, 0, TMarkCell{8, 16, 2, 1}, 0),
            (std::vector<TMarkPoint>{{2, 11}, {12, 11}, {12, 2}, {2, 2}, {2, 11}}));
}

TEST(MarkX, ColumnsToPixels) {
  EXPECT_EQ(MarkX(0, 40, 8, 0), 40);
  EXPECT_EQ(MarkX(4, 40, 8, 0), 72);
  EXPECT_EQ(MarkX(4, 40, 8, 16), 56);
}

}  // namespace
}  // namespace rd
