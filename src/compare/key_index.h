// Numbers the distinct keys of both texts: equal byte strings get the same
// number, numbers count from 0 in order of first appearance.
//
// Only the equality of keys matters to the pairing, so a hash table replaces
// sorting the tables by key.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "compare/huge_page_allocator.h"

namespace rd {

std::uint64_t HashBytes(std::string_view bytes);

class TKeyIndex {
 public:
  // `expected` is the number of keys that will be interned at most; the
  // table never grows past what that needs.
  explicit TKeyIndex(std::size_t expected);

  // The stored views must stay valid while the index lives: they point into
  // the line lists (or the upper-cased copy) of the running comparison.
  std::int32_t Intern(std::string_view key);
  // Interns keys[i] into ids[i]. Works through the keys in small batches
  // and fetches the table slots and stored keys of a batch ahead of time:
  // the table of a large text is far bigger than the caches.
  void InternAll(std::span<const std::string_view> keys, std::span<std::int32_t> ids);
  std::size_t Count() const { return keys_.size(); }

 private:
  struct TSlot {
    std::uint32_t tag = 0;
    std::int32_t id = -1;
  };
  std::int32_t InternHashed(std::string_view key, std::uint64_t hash);
  void Reserve(std::size_t more);
  void Grow();

  TBigVector<TSlot> slots_;
  TBigVector<std::string_view> keys_;
  std::size_t mask_ = 0;
};

}  // namespace rd
