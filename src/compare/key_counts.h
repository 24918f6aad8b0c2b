// How often each key of TextA occurs in each text, counted up to two: the
// pairing only asks whether a key occurs not at all, once or more often.
// Both texts share one byte per key number, two bits each. A key found only
// in TextB is not counted: its lines are added whatever its count, so its
// number, at or past the range held, reads as occurring nowhere.
#pragma once

#include <cstddef>
#include <cstdint>

#include "compare/huge_page_allocator.h"
#include "compare/side.h"

namespace rd {

class TKeyCounts {
 public:
  // Counts key numbers below `keys`, all at zero.
  void Reset(std::size_t keys) { bits_.assign(keys, 0); }

  // 0, 1, or 2 for twice or more.
  int Of(Side side, std::int32_t key) const { return Held(key) ? (bits_[key] >> Shift(side)) & 3 : 0; }
  void Add(Side side, std::int32_t key) {
    if (Held(key) && Of(side, key) < 2) bits_[key] = static_cast<std::uint8_t>(bits_[key] + (1 << Shift(side)));
  }

 private:
  bool Held(std::int32_t key) const { return static_cast<std::size_t>(key) < bits_.size(); }
  static int Shift(Side side) { return side == Side::A ? 0 : 2; }

  TBigVector<std::uint8_t> bits_;
};

}  // namespace rd
