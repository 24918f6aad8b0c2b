// The marks that make invisible characters visible in the panes and the
// information strip: a chevron on every tab and an open box on every
// full-width space. Finding them is column arithmetic on the row's
// Shift_JIS bytes; the shapes are integer geometry that the painting
// layer draws with its own pen.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace rd {

// The two switches of the settings: TabShow and DSpcShow.
struct TMarkSwitches {
  bool Tabs = true;
  bool WideSpaces = true;
};

enum class TMarkKind : unsigned char { Tab, WideSpace };

struct TRowMark {
  TMarkKind Kind = TMarkKind::Tab;
  int Column = 0;  // display column where the character starts
  friend bool operator==(const TRowMark&, const TRowMark&) = default;
};

// The cheap test done for every painted row before any walk: does the row
// hold a tab byte or the byte pair of "　"? It may answer true for a pair
// that straddles two characters; RowMarks then simply finds nothing.
bool MayHoldMarks(std::string_view row);

// The marks of one row, left to right, in the editor's column model (a
// byte one column, a double-byte character two, a tab up to the next
// multiple of `tabWidth`). Switched-off marks are left out, but their
// characters still take their columns, so the other marks keep their
// places. A tab width below 1 counts as 1.
std::vector<TRowMark> RowMarks(std::string_view row, int tabWidth, TMarkSwitches switches);

// ---- geometry ----------------------------------------------------------------------
// Pixel coordinates of the row being painted; all divisions truncate.

struct TMarkPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TMarkPoint&, const TMarkPoint&) = default;
};

// The character cell of the editor that paints the row.
struct TMarkCell {
  int CellWidth = 0;   // width of one column (CharWidth)
  int RowHeight = 0;   // height of one row
  int LineMargin = 0;  // blank pixels below the text of a row (Margin.Line)
  int CharMargin = 0;  // blank pixels between characters (Margin.Character)
};

// Left edge of the character at `column`: the text's left edge plus the
// columns, minus the pixels scrolled out on the left.
constexpr int MarkX(int column, int textLeft, int cellWidth, int leftOffset) {
  return textLeft + column * cellWidth - leftOffset;
}

// A right-pointing chevron of two strokes, drawn with a pen `PenWidth` wide.
struct TTabMarkShape {
  int PenWidth = 1;
  TMarkPoint Upper[2];  // from, to
  TMarkPoint Lower[2];  // from, to
};

// The chevron of a tab whose character starts at `x` in a row whose top is
// `rowTop`; nothing when the mark would begin left of `clipLeft` or less
// than one column before `clipRight` (the painted part of the row).
std::optional<TTabMarkShape> TabMarkShape(int x, int rowTop, const TMarkCell& cell, int clipLeft, int clipRight);

// The box of a full-width space starting at `x`, as an open polyline drawn
// with a 1-pixel pen and no fill. A box cut by `clipLeft` loses its left
// side; a box wholly left of it gives no points.
std::vector<TMarkPoint> WideSpaceMarkPolyline(int x, int rowTop, const TMarkCell& cell, int clipLeft);

}  // namespace rd
