// Sorting a pane's lines by keys that the caller computes once per line
// (a locale's collation key, say): the order is found on indexes and then
// applied to the lines by moving them, so no line is compared or copied
// more than it must be.
#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <span>
#include <string>
#include <vector>

namespace rd {

// Indexes 0 .. count - 1 in the order `less(i, j)` defines. Lines that
// compare equal keep no particular order.
template <class Less>
std::vector<std::size_t> SortOrder(std::size_t count, Less less) {
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), less);
  return order;
}

// Reorders `lines` so that line i is the former line order[i]. `order`
// must be a permutation of the line indexes.
void ApplyOrder(std::vector<std::string>& lines, std::span<const std::size_t> order);

}  // namespace rd
