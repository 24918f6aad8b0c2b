// Large blocks kept for reuse while a comparison runs: handed out again
// while a scope lives, always freed in the end (the sanitizer builds check
// that each block goes back once, as it came), on several threads at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "compare/block_shelf.h"
#include "compare/huge_page_allocator.h"

namespace rd {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

TEST(BlockShelf, AFreedBlockGoesToTheNextArrayThatFitsWhileAScopeLives) {
  const TBlockShelfScope scope;
  const void* first = nullptr;
  {
    TBigVector<std::uint32_t> index(3 * kMiB);  // 12 MiB
    first = index.data();
  }
  // Smaller: the same block, its contents made anew.
  TBigVector<std::uint32_t> skip(kMiB, 7);
  EXPECT_EQ(skip.data(), first);
  EXPECT_EQ(skip.front(), 7u);
  EXPECT_EQ(skip.back(), 7u);
  // Nothing left to hand out: a new block.
  TBigVector<std::uint32_t> other(kMiB);
  EXPECT_NE(other.data(), first);
}

TEST(BlockShelf, ABlockHandedOutInAScopeMayOutliveIt) {
  TBigVector<std::uint64_t> kept;
  {
    const TBlockShelfScope scope;
    { TBigVector<std::uint64_t> freed(kMiB); }
    kept.assign(kMiB / 2, 5);
  }
  // Its whole size is still known when it is freed after the scope.
  EXPECT_EQ(kept[kMiB / 4], 5u);
  kept = {};
}

TEST(BlockShelf, ThreadsTakeAndGiveBackAtOnce) {
  const auto work = [](unsigned seed) {
    std::mt19937 rng(seed);
    for (int round = 0; round < 40; ++round) {
      const TBlockShelfScope scope;
      std::vector<TBigVector<std::uint32_t>> arrays;
      for (int k = 0; k < 6; ++k) {
        const std::size_t n = kMiB / 4 + rng() % (2 * kMiB);
        arrays.emplace_back(n, static_cast<std::uint32_t>(n));
        if (rng() % 2) arrays.erase(arrays.begin());
      }
      for (const auto& a : arrays) {
        ASSERT_EQ(a.front(), a.size());
        ASSERT_EQ(a.back(), a.size());
      }
    }
  };
  std::thread other(work, 1u);
  work(2u);
  other.join();
}

}  // namespace
}  // namespace rd
