// The editor's view settings that decide its geometry and its marks: margins,
// the left bar, the ruler, the row-end marks and the key speeds.
#pragma once

#include "editor/fountain.h"

namespace rd {

enum class TScrollBars : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

struct TEditorMargin {
  int Character = 0;  // added to the font's average character width
  int Line = 0;       // added to the font height
  int Left = 0;
  int Top = 0;
};

enum class TNumberMode : std::uint8_t { nmRow, nmLine };

struct TEditorLeftbar {
  TColor BkColor = clNone;
  TColor Color = clNone;
  int Column = 4;  // digits shown at least
  bool Edge = true;
  int LeftMargin = 8;
  int RightMargin = 4;
  bool ShowNumber = true;
  TNumberMode ShowNumberMode = TNumberMode::nmRow;
  bool Visible = true;
  bool ZeroBase = false;
  bool ZeroLead = false;
};

struct TEditorRuler {
  TColor BkColor = clNone;
  TColor Color = clNone;
  bool Edge = true;
  int GaugeRange = 10;
  TColor MarkColor = 0x0000FF;
  bool Visible = true;
};

struct TEditorMark {
  TColor Color = 0x808080;
  bool Visible = false;
};

struct TEditorMarks {
  TEditorMark EofMark;
  TEditorMark RetMark;
  TEditorMark WrapMark;
  TEditorMark HideMark;
  TEditorMark Underline;
};

struct TEditorSpeed {
  int CaretVerticalAc = 2;
  int PageVerticalRange = 2;
  int PageVerticalRangeAc = 4;
};

}  // namespace rd
