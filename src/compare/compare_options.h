// The options that decide which lines take part in a comparison and how
// their text is compared. The program takes them from the settings file;
// a default-made set equals the file's defaults (a settings test holds the
// two together).
#pragma once

namespace rd {

struct TCompareOptions {
  bool TrimLR = false;  // key is the line without white space at both ends
  bool TrimR = true;    // key is the line without white space at its end
  bool Blank = true;    // lines that are empty after trimming both ends take no part
  bool Text = false;    // letter case is ignored
  bool FMove = true;    // after a comparison both panes go to the top (read by the window)
  // Options for Japanese text; with all three off, keys are exactly those of
  // the options above.
  bool Width = false;     // full-width ASCII forms and half-width katakana compare as their other width
  bool ZSpace = false;    // the full-width space "　" is white space
  bool AllSpace = false;  // all white space inside a line is ignored

  friend bool operator==(const TCompareOptions&, const TCompareOptions&) = default;
};

// True when a key is built by folding the line (a width or space option);
// otherwise a key is a view of the line or of its upper-cased copy.
constexpr bool FoldsKeys(const TCompareOptions& o) { return o.Width || o.ZSpace || o.AllSpace; }

}  // namespace rd
