// Texts of the comparison tests: a vector of lines, and the line list a
// comparison takes.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_options.h"
#include "textcode/line_list.h"

namespace rd::testing {

using Text = std::vector<std::string>;

inline TLineList ToList(const Text& t) {
  TLineList list;
  for (const std::string& line : t) list.Add(line);
  return list;
}

// Options drawn at random; `below(n)` draws from 0 to n - 1. The options
// for Japanese text are drawn when `japanese`, one in `oneIn` times each
// (AllSpace one in oneIn + 1).
template <class TBelow>
TCompareOptions RandomOptions(TBelow below, bool japanese, int oneIn = 2) {
  TCompareOptions o;
  o.TrimLR = below(3) == 0;
  o.TrimR = below(2) == 0;
  o.Blank = below(3) != 0;
  o.Text = below(3) == 0;
  if (japanese) {
    o.Width = below(oneIn) == 0;
    o.ZSpace = below(oneIn) == 0;
    o.AllSpace = below(oneIn + 1) == 0;
  }
  return o;
}

}  // namespace rd::testing
