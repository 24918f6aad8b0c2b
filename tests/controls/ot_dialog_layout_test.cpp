#include <gtest/gtest.h>

#include "controls/ot_dialog_layout.h"

namespace rd {
namespace {

using A = TOtDialogControlAlign;

TEST(OtDialogLayout, HostPlacesByControlAlign) {
  // The standard controls fill 4 rows of 3 columns; the right host gets
  // column 3, the bottom host row 4.
  struct Case {
    TOtDialogControlAlign align;
    THostPlacement right, bottom;
  };
  const Case cases[] = {
      {A::otdaNone, {{0, 3, 4, 1}, false, false}, {{4, 0, 1, 3}, false, false}},
      {A::otdaBottom, {{0, 3, 4, 1}, false, false}, {{4, 0, 1, 4}, true, false}},
      {A::otdaRight, {{0, 3, 5, 1}, false, true}, {{4, 0, 1, 3}, false, false}},
      {A::otdaBottomRight, {{0, 3, 4, 1}, false, true}, {{4, 0, 1, 4}, true, false}},
      {A::otdaRightBottom, {{0, 3, 5, 1}, false, true}, {{4, 0, 1, 3}, true, false}},
  };
  for (const Case& c : cases) {
    const TEmbedPlan plan = PlanEmbedding(c.align, 4, 3);
    EXPECT_EQ(plan.Right, c.right) << static_cast<int>(c.align);
    EXPECT_EQ(plan.Bottom, c.bottom) << static_cast<int>(c.align);
  }
}

TEST(OtDialogLayout, FilterList) {
  struct Case {
    const char* filter;
    std::vector<TFileFilter> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"テキスト(*.txt)|*.txt|データ(*.csv,*.dat)|*.csv;*.dat|全てのファイル(*.*)|*.*",
       {{"テキスト(*.txt)", {"*.txt"}}, {"データ(*.csv,*.dat)", {"*.csv", "*.dat"}}, {"全てのファイル(*.*)", {"*"}}}},
      {" Text | *.a ; *.b ;", {{"Text", {"*.a", "*.b"}}}},
      {"A|*.a|B", {{"A", {"*.a"}}}},       // a name without patterns
      {"A|*.a|", {{"A", {"*.a"}}}},        // a trailing separator
      {"All|", {{"All", {"*"}}}},          // empty patterns: every file
      {"|*.c", {{"", {"*.c"}}}},
      {"Backup|*.*~;*.bak", {{"Backup", {"*.*~", "*.bak"}}}},  // only a whole "*.*" means every file
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFilterList(c.filter), c.expected) << c.filter;
}

TEST(OtDialogLayout, NameFilter) {
  EXPECT_EQ(ToNameFilter({"テキスト(*.txt)", {"*.txt"}}), "テキスト(*.txt) (*.txt)");
  EXPECT_EQ(ToNameFilter({"C", {"*.c", "*.h"}}), "C (*.c *.h)");
  EXPECT_EQ(ToNameFilter({"", {"*"}}), "(*)");
}

}  // namespace
}  // namespace rd
