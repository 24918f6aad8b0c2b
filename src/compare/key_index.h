// Numbers the distinct keys of both texts. A key's number is one its caller
// chose for its first occurrence (the comparison uses the position of that
// line's table entry); every equal key later gets the same number.
//
// Only the equality of keys matters to the pairing, so a hash table replaces
// sorting the tables by key. The table stores no keys: it asks its key
// source for the key of a number, which keeps it at 6 bytes per slot. Its
// size is not rounded to a power of two (a hash picks its slot by a
// multiplication), so it stays at one and a half slots per expected key.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <string_view>

#include "compare/huge_page_allocator.h"

namespace rd {

std::uint64_t HashBytes(std::string_view bytes);

// TKeys has `std::string_view Key(std::int32_t number) const` and
// `void Prefetch(int stage, std::int32_t number) const`, stages 0 to 2
// fetching, in turn, what the next stage reads on the way to the key bytes.
template <class TKeys>
class TKeyIndex {
 public:
  // `expected` is about the number of distinct keys; the table grows past it.
  TKeyIndex(std::size_t expected, const TKeys& keys) : keys_(&keys) { Resize(SlotCount(expected)); }

  // ids[i] = the number of the key equal to keys[i] interned before, or
  // fresh[i] when there is none (keys[i] is then interned with that number).
  // Works through the keys in batches and fetches what each lookup will read
  // a few steps ahead: a table for a large text is far bigger than the caches.
  void InternAll(std::span<const std::string_view> keys, std::span<const std::int32_t> fresh,
                 std::span<std::int32_t> ids) {
    constexpr std::size_t kBatch = 32;
    std::uint64_t hash[kBatch];
    std::int32_t candidate[kBatch];
    for (std::size_t base = 0; base < keys.size(); base += kBatch) {
      const std::size_t n = std::min(kBatch, keys.size() - base);
      while (count_ + n > slots_.size() * 2 / 3) Grow();  // slots stay put within a batch
      for (std::size_t j = 0; j < n; ++j) {
        hash[j] = HashBytes(keys[base + j]);
        __builtin_prefetch(&slots_[Home(hash[j])]);
      }
      for (std::size_t j = 0; j < n; ++j) {
        const TSlot& slot = slots_[Home(hash[j])];
        candidate[j] = slot.id >= 0 && slot.tag == Tag(hash[j]) ? slot.id : -1;
      }
      for (int stage = 0; stage < 3; ++stage)
        for (std::size_t j = 0; j < n; ++j)
          if (candidate[j] >= 0) keys_->Prefetch(stage, candidate[j]);
      for (std::size_t j = 0; j < n; ++j) ids[base + j] = Intern(keys[base + j], hash[j], fresh[base + j]);
    }
  }

  std::size_t Count() const { return count_; }

 private:
  // Six bytes: the number and 16 bits of the hash that the home slot does
  // not already tell, enough to pass over nearly every other key without
  // reading its bytes.
  struct __attribute__((packed)) TSlot {
    std::int32_t id = -1;
    std::uint16_t tag = 0;
  };
  static_assert(sizeof(TSlot) == 6, "slots are packed");

  static std::uint16_t Tag(std::uint64_t hash) { return static_cast<std::uint16_t>(hash >> 48); }
  static std::size_t SlotCount(std::size_t keys) { return keys + keys / 2 + 16; }

  // The slot a hash starts from: its low half scaled to the table's size
  // (the high half is the tag).
  std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(((hash & 0xFFFFFFFFu) * slots_.size()) >> 32); }
  std::size_t Next(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

  std::int32_t Intern(std::string_view key, std::uint64_t hash, std::int32_t fresh) {
    for (std::size_t i = Home(hash);; i = Next(i)) {
      TSlot& slot = slots_[i];
      if (slot.id < 0) {
        slot.id = fresh;
        slot.tag = Tag(hash);
        ++count_;
        return fresh;
      }
      if (slot.tag == Tag(hash) && keys_->Key(slot.id) == key) return slot.id;
    }
  }

  void Resize(std::size_t slots) { slots_.assign(slots, TSlot()); }

  void Grow() {
    TBigVector<TSlot> old;
    old.swap(slots_);
    Resize(old.size() * 2);
    for (const TSlot& s : old) {
      if (s.id < 0) continue;
      const std::uint64_t h = HashBytes(keys_->Key(s.id));
      std::size_t i = Home(h);
      while (slots_[i].id >= 0) i = Next(i);
      slots_[i] = s;
    }
  }

  const TKeys* keys_;  // the comparison's key source; outlives the index
  TBigVector<TSlot> slots_;  // fewer than 2^32
  std::size_t count_ = 0;
};

}  // namespace rd
