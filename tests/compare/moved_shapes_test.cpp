// The moved-lines step on texts that move many lines at once: interleaved
// halves and quarters, block swaps, rotations and reversal. The results
// must be the literal implementation's. (Their cost per line is measured by
// BM_MovedShapes in bench/compare_bench.cpp: the interleaved halves used to
// cost a walk over half the text at every crossing.)
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "compare/comparison.h"
#include "literal_compare.h"
#include "test_texts.h"

namespace rd {
namespace {

using testing::Text;
using testing::ToList;

Text Unique(std::size_t n) {
  Text t;
  for (std::size_t i = 0; i < n; ++i) t.push_back("l" + std::to_string(i));
  return t;
}

// Lines of a small vocabulary, so that keys repeat and the block pairing
// and the extension take part too.
Text Repeating(std::size_t n, int vocabulary, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Text t;
  for (std::size_t i = 0; i < n; ++i) {
    const int r = std::uniform_int_distribution<int>(0, 9)(rng);
    t.push_back(r < 3 ? "w" + std::to_string(std::uniform_int_distribution<int>(0, vocabulary - 1)(rng))
                      : "u" + std::to_string(i));
  }
  return t;
}

// One line of each part in turn, the last part first: line n/2, line 0,
// line n/2+1, line 1, ... for two parts.
Text Interleaved(const Text& a, std::size_t parts) {
  const std::size_t len = a.size() / parts;
  Text b;
  for (std::size_t i = 0; i < len; ++i)
    for (std::size_t part = parts; part-- > 0;) b.push_back(a[part * len + i]);
  for (std::size_t i = parts * len; i < a.size(); ++i) b.push_back(a[i]);
  return b;
}

Text BlockSwaps(Text b, std::size_t block) {
  for (std::size_t i = 0; i + 2 * block <= b.size(); i += 2 * block)
    std::rotate(b.begin() + i, b.begin() + i + block, b.begin() + i + 2 * block);
  return b;
}

Text Rotated(Text b, std::size_t by) {
  std::rotate(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(by % std::max<std::size_t>(1, b.size())), b.end());
  return b;
}

std::vector<Text> Shapes(const Text& a) {
  return {Interleaved(a, 2),
          Interleaved(a, 3),
          Interleaved(a, 4),
          BlockSwaps(a, 1),
          BlockSwaps(a, 7),
          BlockSwaps(a, std::max<std::size_t>(1, a.size() / 8)),
          Rotated(a, a.size() / 3),
          Rotated(a, 1),
          Text(a.rbegin(), a.rend()),
          Interleaved(Text(a.rbegin(), a.rend()), 2)};
}

void ExpectLiteral(const Text& a, const Text& b, const TCompareOptions& options) {
  TComparison cmp;
  cmp.Options = options;
  ASSERT_EQ(cmp.CompareTexts(ToList(a), ToList(b), false, "A", "B"), "");
  const testing::LiteralResult expected = testing::LiteralCompare(a, b, options);
  ASSERT_FALSE(expected.noData);
  EXPECT_EQ(cmp.Diff(Side::A), expected.diff[0]);
  EXPECT_EQ(cmp.Diff(Side::B), expected.diff[1]);
  // Both directions: the crossing runs are counted on TextA's side.
  cmp.CompareTexts(ToList(b), ToList(a), false, "B", "A");
  const testing::LiteralResult reverse = testing::LiteralCompare(b, a, options);
  EXPECT_EQ(cmp.Diff(Side::A), reverse.diff[0]);
  EXPECT_EQ(cmp.Diff(Side::B), reverse.diff[1]);
}

TEST(MovedShapes, UniqueLinesGiveTheLiteralResults) {
  for (const std::size_t n : {1u, 2u, 3u, 5u, 8u, 13u, 64u, 101u, 1000u, 2001u}) {
    const Text a = Unique(n);
    for (const Text& b : Shapes(a)) {
      SCOPED_TRACE(n);
      ExpectLiteral(a, b, TCompareOptions{});
    }
  }
}

TEST(MovedShapes, RepeatedLinesGiveTheLiteralResults) {
  std::uint32_t seed = 1;
  for (const std::size_t n : {10u, 50u, 200u, 1500u})
    for (const int vocabulary : {2, 5, 30}) {
      const Text a = Repeating(n, vocabulary, seed++);
      for (const Text& b : Shapes(a)) {
        SCOPED_TRACE(n);
        ExpectLiteral(a, b, TCompareOptions{});
      }
    }
}

}  // namespace
}  // namespace rd
