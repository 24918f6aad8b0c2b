// Tab and full-width space marks; see row_marks.h.
#include "views/row_marks.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "editor/column_model.h"

namespace rd {

namespace {

constexpr std::string_view kWideSpace = "\x81\x40";  // "　" in Shift_JIS
constexpr int kMarkIndent = 2;                       // pixels between a character's left edge and its mark

}  // namespace

bool MayHoldMarks(std::string_view row) {
  return row.find('\t') != std::string_view::npos || row.find(kWideSpace) != std::string_view::npos;
}

std::vector<TRowMark> RowMarks(std::string_view row, int tabWidth, TMarkSwitches switches) {
  std::vector<TRowMark> marks;
  if (!MayHoldMarks(row) || (!switches.Tabs && !switches.WideSpaces)) return marks;
  // The editor's own column attributes: one entry per column, fillers ('3')
  // for the columns a tab adds; every other column starts or continues one
  // byte, so counting the non-filler columns walks the bytes.
  const std::string attrs = ColumnAttributesFull(row, TColumnLayout{std::max(tabWidth, 1), false, 80});
  std::size_t byte = 0;
  for (std::size_t col = 0; col < attrs.size() && byte < row.size(); ++col) {
    const char attr = attrs[col];
    if (attr == '3') continue;
    if (attr == '5') {  // trail byte: part of the character before, whatever its value
      ++byte;
      continue;
    }
    if (row[byte] == '\t') {
      if (switches.Tabs) marks.push_back({TMarkKind::Tab, static_cast<int>(col)});
    } else if (attr == '4' && switches.WideSpaces && row.substr(byte, 2) == kWideSpace) {
      marks.push_back({TMarkKind::WideSpace, static_cast<int>(col)});
    }
    ++byte;
  }
  return marks;
}

std::optional<TTabMarkShape> TabMarkShape(int x, int rowTop, const TMarkCell& cell, int clipLeft, int clipRight) {
  if (x < clipLeft || x > clipRight - cell.CellWidth) return std::nullopt;
  x += kMarkIndent;
  const int middle = rowTop + (cell.RowHeight - cell.LineMargin) / 2;
  const int half = std::max(cell.RowHeight / 8, 1);
  const int length = std::max(cell.CellWidth / 2, 1);
  TTabMarkShape shape;
  shape.PenWidth = std::max(cell.CellWidth / 8, 1);
  shape.Upper[0] = {x, middle - half};
  shape.Upper[1] = {x + length, middle};
  shape.Lower[0] = {x, middle + half};
  shape.Lower[1] = {x + length, middle};
  return shape;
}

std::vector<TMarkPoint> WideSpaceMarkPolyline(int x, int rowTop, const TMarkCell& cell, int clipLeft) {
  x += kMarkIndent;
  const int top = rowTop + kMarkIndent;
  const int side = 2 * (cell.CellWidth - cell.CharMargin) - 4;
  const int bottom = top + side - 1;
  if (x + side < clipLeft) return {};
  std::vector<TMarkPoint> points{
      {std::max(clipLeft, x), bottom}, {x + side, bottom}, {x + side, top}, {std::max(clipLeft - 1, x), top}};
  if (x >= clipLeft) points.push_back({x, bottom});
  return points;
}

}  // namespace rd
