// Applying a sort order to lines; see sort_lines.h.
#include "views/sort_lines.h"

#include <cassert>
#include <utility>

namespace rd {

void ApplyOrder(std::vector<std::string>& lines, std::span<const std::size_t> order) {
  assert(order.size() == lines.size() && "the order must name every line once");
  std::vector<std::string> sorted;
  sorted.reserve(lines.size());
  for (const std::size_t from : order) {
    assert(from < lines.size() && "an index outside the lines");
    sorted.push_back(std::move(lines[from]));
  }
  lines = std::move(sorted);
}

}  // namespace rd
