#include <gtest/gtest.h>

#include <random>

#include "views/map_bar_model.h"

namespace rd {

void PrintTo(const TMapStrokeRun& r, std::ostream* os) { *os << "[" << r.Top << "," << r.Bottom << ") kind " << r.Kind; }
void PrintTo(const TMapThumb& t, std::ostream* os) {
  *os << "top " << t.Top << " height " << t.Height << (t.Enabled ? "" : " disabled");
}
void PrintTo(const TMapRect& r, std::ostream* os) { *os << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom; }

namespace {

TDiffList Entries(std::initializer_list<std::pair<int, int>> lineKind) {
  TDiffList list;
  for (auto [line, kind] : lineKind) list.push_back({line, 0, kind, 0});
  return list;
}

TEST(MapBar, BarsThumbsAndScale) {
  const struct {
    const char* name;
    int height;
    PerSide<TPaneExtent> panes;
    int scale;
    PerSide<TMapRect> bars;
    PerSide<TMapThumb> thumbs;
  } cases[] = {
      {"100 and 50 lines on 200 pixels", 200, {{{100, 0, 20}, {50, 10, 20}}}, 100,
       {{{4, 0, 11, 200}, {16, 0, 23, 100}}}, {{{2, 41, true}, {22, 41, true}}}},
      {"both panes empty", 150, {{{0, 0, 30}, {0, 0, 30}}}, 1,
       {{{4, 0, 11, 150}, {16, 0, 23, 150}}}, {{{2, 150, false}, {2, 150, false}}}},
      {"a text that fits has a disabled thumb, its partner not", 400, {{{20, 0, 30}, {1000, 100, 50}}}, 1000,
       {{{4, 0, 11, 8}, {16, 0, 23, 400}}}, {{{2, 400, false}, {42, 21, true}}}},
      {"as many rows as lines is not fitting", 100, {{{30, 0, 30}, {30, 0, 30}}}, 30,
       {{{4, 0, 11, 100}, {16, 0, 23, 100}}}, {{{2, 101, true}, {2, 101, true}}}},
      {"thumb height 0 shows 1 pixel", 100, {{{10000, 5000, 10}, {10, 0, 20}}}, 10000,
       {{{4, 0, 11, 100}, {16, 0, 23, 0}}}, {{{52, 1, true}, {2, 100, false}}}},
      {"a million lines on a tall map", 3000, {{{1000000, 999000, 1000}, {999999, 0, 40}}}, 1000000,
       {{{4, 0, 11, 3000}, {16, 0, 23, 2999}}}, {{{2999, 4, true}, {2, 1, true}}}},
      {"no height", 0, {{{100, 50, 10}, {10, 0, 20}}}, 100,
       {{{4, 0, 11, 0}, {16, 0, 23, 0}}}, {{{2, 1, true}, {2, 0, false}}}},
  };
  for (const auto& c : cases) {
    TMapBarModel map;
    map.Recompute(c.height, c.panes);
    EXPECT_EQ(map.Scale(), c.scale) << c.name;
    for (const Side side : {Side::A, Side::B}) {
      EXPECT_EQ(map.Bar(side), c.bars[Index(side)]) << c.name;
      EXPECT_EQ(map.Thumb(side), c.thumbs[Index(side)]) << c.name;
    }
  }
}

TEST(MapBar, LineCountsAreAtLeastOne) {
  TMapBarModel map;
  map.Recompute(100, {{{0, 0, 10}, {7, 0, 10}}});
  EXPECT_EQ(map.LineCount(Side::A), 1);
  EXPECT_EQ(map.LineCount(Side::B), 7);
  EXPECT_EQ(map.BelowBar(Side::A), (TMapRect{4, 14, 11, 100}));  // bar A ends at 100 * 1 / 7
  EXPECT_EQ(map.BelowBar(Side::B), (TMapRect{16, 100, 23, 100}));
  // A pane's text changed: recompute when its count differs; an empty pane always differs.
  EXPECT_TRUE(map.LineCountChanged(Side::A, 0));
  EXPECT_FALSE(map.LineCountChanged(Side::A, 1));
  EXPECT_FALSE(map.LineCountChanged(Side::B, 7));
  EXPECT_TRUE(map.LineCountChanged(Side::B, 8));
}

TEST(MapBar, LinesToPixelsAndBack) {
  EXPECT_EQ(MapY(10, 200, 100), 20);
  EXPECT_EQ(MapY(999999, 3000, 1000000), 2999);  // 3000 * 999999 passes 2^31
  EXPECT_EQ(MapY(7, 10, 0), 70);                  // a scale below 1 counts as 1
  EXPECT_EQ(MapRow(20, 200, 100), 10);
  EXPECT_EQ(MapRow(1, 3, 10), 3);
  EXPECT_EQ(MapRow(0, 200, 100), 0);
  EXPECT_EQ(MapRow(-3, 200, 100), 0);
  EXPECT_EQ(MapRow(5, 0, 100), 0);  // no height: no division
  EXPECT_EQ(MapRow(2999, 3000, 1000000), 999666);
}

TEST(MapStrokes, OneStrokePerPixelRowTheLastEntryWins) {
  const struct {
    const char* name;
    TDiffList list;
    int height;
    int scale;
    std::vector<TMapStrokeRun> runs;
  } cases[] = {
      {"difference at TextB line 10 of 50, longer text 100, 200 pixels", Entries({{10, 2}}), 200, 100, {{20, 21, 2}}},
      {"ten lines per pixel row", Entries({{0, 1}, {5, 2}, {9, 3}, {10, 1}, {25, 2}, {26, 2}, {31, 3}, {35, 9},
                                           {40, 3}, {60, 8}, {99, 1}, {100, 2}}),
       10, 100, {{0, 1, 3}, {1, 2, 1}, {2, 3, 2}, {3, 5, 3}, {9, 10, 1}}},
      {"fewer lines than pixels", Entries({{0, 1}, {1, 1}, {2, 2}}), 100, 10, {{0, 1, 1}, {10, 11, 1}, {20, 21, 2}}},
      {"neighbouring rows of one kind make one run", Entries({{3, 2}, {4, 2}, {5, 2}, {6, 1}}), 100, 100,
       {{3, 6, 2}, {6, 7, 1}}},
      {"a row of other kinds only draws nothing", Entries({{1, 0}, {2, 4}}), 100, 100, {}},
      {"negative lines are no lines", Entries({{-1, 1}, {0, 2}}), 10, 10, {{0, 1, 2}}},
      {"empty list", {}, 100, 100, {}},
      {"no height", Entries({{1, 1}}), 0, 100, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(MapStrokes(c.list, c.height, c.scale), c.runs) << c.name;
}

// The plain way the map is painted: every entry strokes its pixel row in
// list order, later strokes over earlier ones.
std::vector<TMapStrokeRun> PaintEveryEntry(const TDiffList& list, int height, int scale) {
  std::vector<int> row(static_cast<std::size_t>(height), 0);
  for (const TDiffEntry& e : list) {
    if (e.kind < 1 || e.kind > 3) continue;
    const long long y = static_cast<long long>(height) * e.line / scale;
    if (y >= 0 && y < height) row[static_cast<std::size_t>(y)] = e.kind;
  }
  std::vector<TMapStrokeRun> runs;
  for (int y = 0; y < height; ++y) {
    const int kind = row[static_cast<std::size_t>(y)];
    if (kind == 0) continue;
    if (!runs.empty() && runs.back().Bottom == y && runs.back().Kind == kind) ++runs.back().Bottom;
    else runs.push_back({y, y + 1, kind});
  }
  return runs;
}

TEST(MapStrokes, SameAsPaintingEveryEntry) {
  std::mt19937 random(12);
  for (int round = 0; round < 300; ++round) {
    const int lines = 1 + static_cast<int>(random() % 5000);
    const int height = 1 + static_cast<int>(random() % 700);
    const int density = 1 + static_cast<int>(random() % 50);
    TDiffList list;
    for (int line = 0; line < lines; ++line) {
      if (static_cast<int>(random() % 100) < density) list.push_back({line, 0, static_cast<int>(random() % 5), 0});
    }
    const int scale = lines + static_cast<int>(random() % 3) * (lines / 2);
    ASSERT_EQ(MapStrokes(list, height, scale), PaintEveryEntry(list, height, scale))
        << "round " << round << ", " << list.size() << " entries";
  }
}

TEST(MapStrokes, AListOutOfOrderStillEnds) {
  const TDiffList list = Entries({{50, 1}, {10, 2}, {60, 3}, {0, 1}});
  EXPECT_FALSE(MapStrokes(list, 100, 100).empty());
}

class MapDrag : public ::testing::Test {
 protected:
  // 200 pixels; TextA 1000 lines, TextB 500, both showing 50 rows: scale
  // 1000, thumbs 11 high. The panel is 204 high.
  void SetUp() override { map.Recompute(200, {{{1000, 0, 50}, {500, 0, 50}}}); }
  static constexpr int kPanel = 204;
  TMapBarModel map;
};

TEST_F(MapDrag, LeftButtonScrollsOnlyItsPane) {
  map.BeginDrag(Side::A, false, kPanel, {2, 2});
  const auto step = map.DragTo(42);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->TopRow, 200);  // (42 - 2) * 1000 / 200
  EXPECT_FALSE(step->OtherThumbTop);
  EXPECT_FALSE(step->OtherTopRow);
}

TEST_F(MapDrag, RightButtonKeepsTheDistanceWithinThePanel) {
  const struct {
    Side dragged;
    PerSide<int> tops;
    int to;
    int rows;
    int otherTop;
    int otherRows;
  } cases[] = {
      {Side::A, {12, 32}, 42, 200, 62, 300},    // distance 20 kept
      {Side::A, {12, 32}, 190, 940, 193, 955},  // the other thumb stops at the panel's bottom (204 - 11)
      {Side::B, {12, 32}, 10, 40, 2, 0},        // distance -20: the other thumb stops at 2
      {Side::B, {40, 20}, 20, 90, 40, 190},
  };
  for (const auto& c : cases) {
    map.BeginDrag(c.dragged, true, kPanel, c.tops);
    const auto step = map.DragTo(c.to);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->TopRow, c.rows) << c.to;
    EXPECT_EQ(step->OtherThumbTop, c.otherTop) << c.to;
    EXPECT_EQ(step->OtherTopRow, c.otherRows) << c.to;
    EXPECT_EQ(map.Thumb(Other(c.dragged)).Top, c.otherTop);
    map.EndDrag();
  }
}

TEST_F(MapDrag, ScrollingMovesThumbsOnlyOutsideADrag) {
  EXPECT_EQ(map.FollowPane(Side::A, 300), 62);  // 200 * 300 / 1000 + 2
  EXPECT_EQ(map.Thumb(Side::A).Top, 62);
  map.BeginDrag(Side::A, false, kPanel, {62, 2});
  EXPECT_EQ(map.Dragged(), Side::A);
  EXPECT_FALSE(map.FollowPane(Side::B, 100));  // the other thumb does not follow its pane during a drag
  EXPECT_FALSE(map.FollowPane(Side::A, 100));
  map.EndDrag();
  EXPECT_FALSE(map.Dragged());
  EXPECT_FALSE(map.DragTo(50));  // no drag, no step
  EXPECT_EQ(map.FollowPane(Side::B, 100), 22);
}

TEST(MapDragFits, ALinkedDragLeavesADisabledThumbAlone) {
  TMapBarModel map;
  map.Recompute(200, {{{1000, 0, 50}, {20, 0, 50}}});
  ASSERT_FALSE(map.Thumb(Side::B).Enabled);
  map.BeginDrag(Side::A, true, 204, {2, 2});
  const auto step = map.DragTo(102);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->TopRow, 500);
  EXPECT_FALSE(step->OtherThumbTop);
  EXPECT_EQ(map.Thumb(Side::B), (TMapThumb{2, 200, false}));
  EXPECT_FALSE(map.FollowPane(Side::B, 3));
}

}  // namespace
}  // namespace rd
