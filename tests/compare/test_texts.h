// Texts of the comparison tests: a vector of lines, and the line list a
// comparison takes.
#pragma once

#include <string>
#include <vector>

#include "textcode/line_list.h"

namespace rd::testing {

using Text = std::vector<std::string>;

inline TLineList ToList(const Text& t) {
  TLineList list;
  for (const std::string& line : t) list.Add(line);
  return list;
}

}  // namespace rd::testing
