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

  friend bool operator==(const TCompareOptions&, const TCompareOptions&) = default;
};

}  // namespace rd
