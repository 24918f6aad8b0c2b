// The editor's geometry in pixels, from the font's metrics and the view
// settings: column width, row height, the bars around the text and how many
// rows and columns are visible.
#pragma once

#include "editor/editor_view_settings.h"

namespace rd {

struct TFontCell {
  int Height = 16;           // cell height
  int ExternalLeading = 0;
  int AverageCharWidth = 8;
  int Ascent = 13;
};

struct TGeometryInput {
  TFontCell Font;
  TEditorMargin Margin;
  TEditorLeftbar Leftbar;
  TEditorRuler Ruler;
  bool UnderlineVisible = false;
  int LeftbarDigits = 4;
  int Width = 185;   // of the text area and bars, without scroll bars
  int Height = 89;
};

struct TEditorGeometry {
  int FontHeight = 0;
  int ColumnWidth = 0;
  int RowHeight = 0;
  int RulerHeight = 0;
  int TextTop = 0;
  int LeftbarWidth = 0;
  int TextLeft = 0;
  int VisibleRows = 1;
  int VisibleCols = 0;
};

TEditorGeometry ComputeGeometry(const TGeometryInput& in);

// Digits of the left bar: those of the largest number it can show, at least
// Leftbar.Column and at most 8. `lastIndex` is the index of the last row
// (rows) or the number of line breaks before it (lines); `endsWithBreak`
// tells whether that row ends with a line break.
int LeftbarDigits(const TEditorLeftbar& bar, int lastIndex, bool endsWithBreak);

// The number the left bar shows for a row, as text with ZeroLead applied,
// or empty when the row shows none.
// `number` is the 0-based row or line index; `digits` from LeftbarDigits.
std::string LeftbarNumber(const TEditorLeftbar& bar, int number, int digits);

}  // namespace rd
