// Large blocks kept for reuse while a comparison runs.
//
// A block that the system hands out is new memory, which the system clears
// page by page when it is first touched; on a virtual machine that costs
// more than the work the comparison does with it. A comparison of a million
// lines frees the key index (some megabytes) just before the pairing steps
// ask for arrays of about that size, so while a TBlockShelfScope lives, a
// freed block is kept and the next block asked for that fits is handed it.
// The kept blocks go back to the system when the last scope ends, and as
// soon as a block is asked for that none of them fits: no block is kept
// while new memory is taken, so the peak stays what it was.
#pragma once

#include <cstddef>

namespace rd {

// Keeps freed blocks while one lives (they may nest, on any threads).
class TBlockShelfScope {
 public:
  TBlockShelfScope();
  ~TBlockShelfScope();
  TBlockShelfScope(const TBlockShelfScope&) = delete;
  TBlockShelfScope& operator=(const TBlockShelfScope&) = delete;
};

// A block of at least `bytes` (a multiple of `kShelfAlign`), aligned to
// kShelfAlign: a kept one, or a new one. `fresh` tells which.
void* TakeBlock(std::size_t bytes, bool& fresh);

// Gives back a block from TakeBlock; `bytes` as asked for.
void GiveBackBlock(void* p, std::size_t bytes) noexcept;

inline constexpr std::size_t kShelfAlign = std::size_t{2} << 20;

}  // namespace rd
