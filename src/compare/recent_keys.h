// The keys met lately while a table is built, to tell at once that a line
// repeats one. A text's frequent lines (blank lines, braces, "return 0;")
// come back every few dozen lines; comparing one with its first occurrence
// later, in a text far bigger than the caches, costs reads from memory,
// while here both are at hand. One key is remembered for each of 1024 hash
// values, by its hash and the position it was given.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace rd {

class TRecentKeys {
 public:
  // The position remembered with the hash of a key, or -1 when there is
  // none. An equal hash is not yet an equal key: the caller compares the
  // keys, and calls Remember when they differ. A key met again and again
  // keeps its place against keys met once; others take a free place.
  std::int32_t Find(std::uint64_t hash, std::int32_t position) {
    TSlot& slot = SlotOf(hash);
    if (slot.position >= 0 && slot.hash == hash) {
      slot.hits = std::min(slot.hits + 1, kMostHits);
      return slot.position;
    }
    if (slot.hits > 0) --slot.hits;
    else slot = TSlot{hash, position, 0};
    return -1;
  }
  void Remember(std::uint64_t hash, std::int32_t position) { SlotOf(hash) = TSlot{hash, position, 0}; }

 private:
  static constexpr std::size_t kSlots = 1024;
  static constexpr std::int32_t kMostHits = 64;
  struct TSlot {
    std::uint64_t hash = 0;
    std::int32_t position = -1;
    std::int32_t hits = 0;  // finds, less the keys that would have taken the place since
  };
  TSlot& SlotOf(std::uint64_t hash) { return slots_[(hash >> 20) % kSlots]; }

  std::array<TSlot, kSlots> slots_{};
};

}  // namespace rd
