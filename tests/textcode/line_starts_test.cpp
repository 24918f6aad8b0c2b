// Line starts kept in four bytes, also past 4 GiB, and moved back by a CR LF.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "textcode/line_starts.h"

namespace rd {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

std::vector<std::uint64_t> All(const TLineStarts& starts) {
  std::vector<std::uint64_t> out;
  for (std::size_t i = 0; i < starts.Size(); ++i) out.push_back(starts[i]);
  return out;
}

TEST(LineStarts, BelowFourGiBTheyAreAsPushed) {
  TLineStarts starts;
  for (const std::uint64_t s : std::vector<std::uint64_t>{0, 5, 5, 4 * kGiB - 1}) starts.Push(s);
  EXPECT_EQ(All(starts), (std::vector<std::uint64_t>{0, 5, 5, 4 * kGiB - 1}));
  EXPECT_EQ(starts.Back(), 4 * kGiB - 1);
}

TEST(LineStarts, PastFourGiBTheyKeepTheirHighPart) {
  const std::vector<std::uint64_t> pushed = {0, 7, 4 * kGiB, 4 * kGiB + 3, 13 * kGiB + 1, 13 * kGiB + 1, 16 * kGiB};
  TLineStarts starts;
  for (const std::uint64_t s : pushed) starts.Push(s);
  EXPECT_EQ(All(starts), pushed);
}

TEST(LineStarts, AdvancingTheLastStartAcrossFourGiB) {
  TLineStarts starts;
  starts.Push(0);
  starts.Push(4 * kGiB - 1);
  starts.AdvanceBack(4 * kGiB);
  EXPECT_EQ(All(starts), (std::vector<std::uint64_t>{0, 4 * kGiB}));
  starts.AdvanceBack(4 * kGiB + 1);
  starts.Push(8 * kGiB + 2);
  EXPECT_EQ(All(starts), (std::vector<std::uint64_t>{0, 4 * kGiB + 1, 8 * kGiB + 2}));
}

}  // namespace
}  // namespace rd
