#include <gtest/gtest.h>

#include "editor/editor_geometry.h"

namespace rd {
namespace {

TEST(EditorGeometry, FromMetricsAndSettings) {
  TGeometryInput in;
  in.Font = {14, 2, 7, 12};
  in.Margin = {1, 3, 2, 5};  // Character, Line, Left, Top
  in.UnderlineVisible = true;
  in.LeftbarDigits = 4;
  in.Width = 600;
  in.Height = 300;
  const TEditorGeometry g = ComputeGeometry(in);
  EXPECT_EQ(g.FontHeight, 16);
  EXPECT_EQ(g.ColumnWidth, 8);
  EXPECT_EQ(g.RowHeight, 20);              // 16 + Margin.Line 3 + underline 1
  EXPECT_EQ(g.RulerHeight, 11);            // with its edge
  EXPECT_EQ(g.TextTop, 16);
  EXPECT_EQ(g.LeftbarWidth, 8 + 32 + 4 + 2);
  EXPECT_EQ(g.TextLeft, 2 + 46);
  EXPECT_EQ(g.VisibleRows, (300 - 16 - 5) / 20);
  EXPECT_EQ(g.VisibleCols, (600 - 48 - 4) / 8);

  in.Ruler.Visible = false;
  in.Leftbar.Visible = false;
  in.Height = 10;
  const TEditorGeometry bare = ComputeGeometry(in);
  EXPECT_EQ(bare.RulerHeight, 0);
  EXPECT_EQ(bare.TextLeft, 2);
  EXPECT_EQ(bare.VisibleRows, 1);  // never below one
}

TEST(EditorGeometry, LeftbarDigits) {
  TEditorLeftbar bar;
  bar.Column = 1;
  EXPECT_EQ(LeftbarDigits(bar, 0, false), 1);       // shows 1
  EXPECT_EQ(LeftbarDigits(bar, 8, true), 2);        // 9 rows and one more: 10
  EXPECT_EQ(LeftbarDigits(bar, 8, false), 1);       // 9
  bar.ZeroBase = true;
  EXPECT_EQ(LeftbarDigits(bar, 9, false), 1);       // 9
  EXPECT_EQ(LeftbarDigits(bar, 999999999, true), 8);  // at most 8
  bar.Column = 4;
  EXPECT_EQ(LeftbarDigits(bar, 5, false), 4);       // at least Column
  bar.ShowNumber = false;
  bar.Column = 6;
  EXPECT_EQ(LeftbarDigits(bar, 123456789, false), 6);
}

TEST(EditorGeometry, LeftbarNumbers) {
  TEditorLeftbar bar;
  EXPECT_EQ(LeftbarNumber(bar, 0, 4), "1");
  bar.ZeroBase = true;
  bar.ZeroLead = true;
  EXPECT_EQ(LeftbarNumber(bar, 7, 4), "0007");
}

}  // namespace
}  // namespace rd
