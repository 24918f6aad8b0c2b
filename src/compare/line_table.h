// The line table: one entry per line that takes part in a comparison.
// Tables live only while CompareTexts runs.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "compare/huge_page_allocator.h"

namespace rd {

enum class TState : std::uint8_t {
  Same = 0,     // paired with an equal line, in order
  Added = 1,    // the key does not occur in the other text
  Changed = 2,  // paired with an unequal line standing in the corresponding place
  Moved = 3,    // paired with an equal line, but the pair crosses other pairs
  Pending = 4,  // the key occurs in both texts, more than once in one of them, and has no pair yet
};

// An entry's position is its index in its table (text order), and its key is
// a key number shared by both tables: equal keys have equal numbers, below
// the number of lines of both texts. The
// duplicate groups of the comparison follow from the key numbers and the
// number of times each key occurs on each side, so they are not stored.
// The key number and the state share one word: a table entry is 8 bytes.
// The line an entry stands for is kept beside the table (TEntryLines): the
// pairing walks the entries again and again, and needs the lines only at
// the end.
struct TDataFile {
  static constexpr std::uint32_t kMaxKeys = std::uint32_t{1} << 29;

  TDataFile() = default;  // unset: a table is sized, then each entry is made
  explicit TDataFile(std::int32_t key) : partnerPosition(-1), keyState_(static_cast<std::uint32_t>(key) << 3) {}

  std::int32_t partnerPosition;  // position of the paired entry in the other table, -1 while unpaired

  bool Paired() const { return partnerPosition >= 0; }
  std::int32_t Key() const { return static_cast<std::int32_t>(keyState_ >> 3); }
  TState State() const { return static_cast<TState>(keyState_ & 7); }
  void SetState(TState state) { keyState_ = (keyState_ & ~std::uint32_t{7}) | static_cast<std::uint32_t>(state); }

  // While the keys are numbered, an entry holds the hash of its key where
  // its partner and key will be: the high half in the partner, the low half
  // in the key word. Number replaces the low half with the key number
  // (state Same); Release ends the holding (no partner).
  void HoldHash(std::uint64_t hash) {
    partnerPosition = static_cast<std::int32_t>(hash >> 32);
    keyState_ = static_cast<std::uint32_t>(hash);
  }
  std::uint64_t HeldHash() const { return std::uint64_t{HeldHashHigh()} << 32 | keyState_; }
  // Reads the partner only, which Number leaves alone.
  std::uint32_t HeldHashHigh() const { return static_cast<std::uint32_t>(partnerPosition); }
  void Number(std::int32_t key) { keyState_ = static_cast<std::uint32_t>(key) << 3; }
  void Release() { partnerPosition = -1; }

 private:
  std::uint32_t keyState_;  // key number << 3 | state
};

static_assert(std::is_trivially_default_constructible_v<TDataFile>, "a table is sized without writing it");
static_assert(sizeof(TDataFile) == 8, "an entry is two words");

// The entries of one text, in text order.
using TTable = TUnsetVector<TDataFile>;
// For each entry of a table, the index of its line in its text, over all lines.
using TEntryLines = TUnsetVector<std::int32_t>;

}  // namespace rd
