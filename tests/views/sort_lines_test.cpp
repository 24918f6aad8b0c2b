#include <gtest/gtest.h>

#include <cctype>

#include "views/sort_lines.h"

namespace rd {
namespace {

TEST(ApplyOrder, MovesEachLineToItsPlace) {
  const struct {
    std::vector<std::string> lines;
    std::vector<std::size_t> order;
    std::vector<std::string> sorted;
  } cases[] = {
      {{"b", "A", "c"}, {1, 0, 2}, {"A", "b", "c"}},
      {{"x", "y", "z", "w"}, {3, 2, 1, 0}, {"w", "z", "y", "x"}},
      {{"only"}, {0}, {"only"}},
      {{}, {}, {}},
  };
  for (auto c : cases) {
    ApplyOrder(c.lines, c.order);
    EXPECT_EQ(c.lines, c.sorted);
  }
}

TEST(SortOrder, ByKeysComputedOnce) {
  // Keys as a collation would give them: letters without case.
  const std::vector<std::string> lines{"b", "A", "c", "a2", "B1"};
  std::vector<std::string> keys;
  for (const std::string& line : lines) {
    std::string key;
    for (const char ch : line) key += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    keys.push_back(key);
  }
  const auto order = SortOrder(lines.size(), [&](std::size_t i, std::size_t j) { return keys[i] < keys[j]; });
  EXPECT_EQ(order, (std::vector<std::size_t>{1, 3, 0, 4, 2}));
  std::vector<std::string> sorted = lines;
  ApplyOrder(sorted, order);
  EXPECT_EQ(sorted, (std::vector<std::string>{"A", "a2", "b", "B1", "c"}));
}

}  // namespace
}  // namespace rd
