#include "editor/editor_geometry.h"

#include <algorithm>
#include <string>

namespace rd {

TEditorGeometry ComputeGeometry(const TGeometryInput& in) {
  TEditorGeometry g;
  g.FontHeight = in.Font.Height + in.Font.ExternalLeading;
  g.ColumnWidth = std::max(1, in.Font.AverageCharWidth + in.Margin.Character);
  g.RowHeight = std::max(1, g.FontHeight + in.Margin.Line + (in.UnderlineVisible ? 1 : 0));
  g.RulerHeight = in.Ruler.Visible ? (in.Ruler.Edge ? 11 : 10) : 0;
  g.TextTop = in.Margin.Top + g.RulerHeight;
  g.LeftbarWidth = in.Leftbar.Visible
                       ? in.Leftbar.LeftMargin + in.LeftbarDigits * g.ColumnWidth + in.Leftbar.RightMargin + 2
                       : 0;
  g.TextLeft = in.Margin.Left + g.LeftbarWidth;
  g.VisibleRows = std::max(1, (in.Height - g.TextTop - 5) / g.RowHeight);
  g.VisibleCols = std::max(0, (in.Width - g.TextLeft - g.ColumnWidth / 2) / g.ColumnWidth);
  return g;
}

int LeftbarDigits(const TEditorLeftbar& bar, int lastIndex, bool endsWithBreak) {
  if (!bar.Visible || !bar.ShowNumber) return bar.Column;
  long long largest = std::max(0, lastIndex) + (endsWithBreak ? 1 : 0) + (bar.ZeroBase ? 0 : 1);
  int digits = 1;
  while (largest >= 10) {
    largest /= 10;
    ++digits;
  }
  return std::min(std::max(digits, bar.Column), 8);
}

std::string LeftbarNumber(const TEditorLeftbar& bar, int number, int digits) {
  std::string text = std::to_string(number + (bar.ZeroBase ? 0 : 1));
  if (bar.ZeroLead && static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

}  // namespace rd
