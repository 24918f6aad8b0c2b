// The rules of TOtOpenDialog / TOtSaveDialog that need no dialog on screen:
// where the embedded controls go in the dialog's grid and which way they
// stretch, and the conversion of a "Name|*.a;*.b|..." filter list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rd {

// How the embedded controls are stretched.
enum class TOtDialogControlAlign : std::uint8_t {
  otdaNone,         // neither; both keep their own size
  otdaBottom,       // the bottom control reaches the dialog's right margin
  otdaRight,        // the right control reaches the dialog's bottom margin
  otdaBottomRight,  // both; the bottom control spans the whole width, the right one ends above it
  otdaRightBottom,  // both; the right control spans the whole height, the bottom one ends left of it
};

// Cells of a grid, counted from 0.
struct TGridArea {
  int Row = 0;
  int Column = 0;
  int RowSpan = 1;
  int ColumnSpan = 1;
  friend bool operator==(const TGridArea&, const TGridArea&) = default;
};

// Where one host of an embedded control sits and whether it fills its area
// across (FillWidth) or down (FillHeight); otherwise it keeps the control's
// own size at the area's top left.
struct THostPlacement {
  TGridArea Area;
  bool FillWidth = false;
  bool FillHeight = false;
  friend bool operator==(const THostPlacement&, const THostPlacement&) = default;
};

struct TEmbedPlan {
  THostPlacement Right;
  THostPlacement Bottom;
};

// Places the right host in a new column after the standard controls' grid of
// `rows` x `columns` cells and the bottom host in a new row below it. The
// corner cell belongs to the right host with otdaRight and otdaRightBottom,
// to the bottom host with otdaBottom and otdaBottomRight, and to neither with
// otdaNone, so the two hosts never overlap.
TEmbedPlan PlanEmbedding(TOtDialogControlAlign align, int rows, int columns);

// One entry of a filter list: its description and its patterns.
struct TFileFilter {
  std::string Name;
  std::vector<std::string> Patterns;
  friend bool operator==(const TFileFilter&, const TFileFilter&) = default;
};

// Splits "Name|*.a;*.b|Name2|*.c" into its entries. Patterns are separated by
// ';'; blanks around them are dropped, and "*.*" (every file, dotted or not)
// becomes "*". A last name without patterns is dropped; an entry with empty
// patterns matches every file.
std::vector<TFileFilter> ParseFilterList(std::string_view filter);

// One entry as a name filter of the dialog: the name, then the patterns
// between parentheses, separated by blanks ("テキスト(*.txt) (*.txt)"). The
// dialog shows only the name; the parenthesised part lists what it matches.
std::string ToNameFilter(const TFileFilter& filter);

}  // namespace rd
