// Numbers the distinct keys of both texts. A key's number is one its caller
// chose for its first occurrence (the comparison uses the position of that
// line's table entry); every equal key later gets the same number.
//
// Only the equality of keys matters to the pairing, so a hash table replaces
// sorting the tables by key. The table stores no keys: it asks its key
// source for the key of a number, which keeps it at 6 bytes per slot. Its
// size is not rounded to a power of two (a hash picks its slot by a
// multiplication), so it stays at one and a half slots per expected key.
//
// The index is made of parts, each a table of its own for the keys whose
// hash falls in it (PartOf): equal keys always meet in the same part, so
// the parts can be filled on different threads at once, each by one.
#pragma once

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "compare/huge_page_allocator.h"

namespace rd {

std::uint64_t HashBytes(std::string_view bytes);

// TKeys has `bool SameKey(std::int32_t, std::int32_t) const` for the keys
// of two numbers, `std::uint64_t Hash(std::int32_t number) const` (HashBytes
// of its key) and `void Prefetch(int stage, std::int32_t number) const`,
// stages 0 to 2 fetching, in turn, what the next stage reads on the way to
// the key bytes.
template <class TKeys>
class TKeyIndex {
 public:
  // One part for each thread of a comparison.
  static constexpr int kParts = 2;

  // The part of a key with this hash: a bit that neither the home slot nor
  // the tag uses.
  static int PartOf(std::uint64_t hash) { return static_cast<int>((hash >> 32) & (kParts - 1)); }

  // `expected` is about the number of distinct keys; the parts grow past
  // it. Each part is made by MakePart before it is used, the parts on
  // different threads at once if need be.
  TKeyIndex(std::size_t expected, const TKeys& keys) : keys_(&keys), expected_(expected) {}

  void MakePart(int part) { parts_[part].slots.assign(SlotCount(expected_ / kParts), TSlot()); }

  // For keys that all fall in `part`: ids[i] = the number of the key of
  // numbers[i] when an equal key was interned before, or numbers[i] itself
  // when none was (the key is then interned under it). hashes[i] is
  // HashBytes of that key. Different parts may be filled on different
  // threads at once.
  //
  // Works through the keys in batches and fetches the slots each lookup
  // will read two batches ahead: a table for a large text is far bigger
  // than the caches. (A key met again while a text is interned is mostly
  // one of its few frequent lines, whose bytes are in the cache already.)
  void InternAll(int part, std::span<const std::uint64_t> hashes, std::span<const std::int32_t> numbers,
                 std::span<std::int32_t> ids) {
    TPart& into = parts_[part];
    assert(!into.slots.empty() && "the part is made");
    FetchHomes(hashes, 0);
    FetchHomes(hashes, kBatch);
    for (std::size_t base = 0; base < hashes.size(); base += kBatch) {
      const std::span<const std::uint64_t> batch = hashes.subspan(base, std::min(kBatch, hashes.size() - base));
      while (into.count + batch.size() > into.slots.size() * 2 / 3) Grow(into);  // slots stay put within a batch
      FetchHomes(hashes, base + 2 * kBatch);
      for (std::size_t j = 0; j < batch.size(); ++j) {
        assert(PartOf(batch[j]) == part && "a key of another part");
        ids[base + j] = Intern(into, batch[j], numbers[base + j]);
      }
    }
  }

  // The same lookups, leaving the index as it is: ids[i] = -1 where no equal
  // key is held. Any number of threads may look up at once while none
  // interns. The keys found in the home slots are fetched ahead too.
  void FindAll(std::span<const std::uint64_t> hashes, std::span<const std::int32_t> numbers,
               std::span<std::int32_t> ids) const {
    FetchHomes(hashes, 0);
    FetchHomes(hashes, kBatch);
    for (std::size_t base = 0; base < hashes.size(); base += kBatch) {
      const std::span<const std::uint64_t> batch = hashes.subspan(base, std::min(kBatch, hashes.size() - base));
      FetchHomes(hashes, base + 2 * kBatch);
      FetchAhead(batch);
      for (std::size_t j = 0; j < batch.size(); ++j) {
        const TPart& part = parts_[PartOf(batch[j])];
        ids[base + j] = part.slots[Locate(part, batch[j], numbers[base + j])].id;
      }
    }
  }

 private:
  static constexpr std::size_t kBatch = 32;

  // Six bytes: the number and 16 bits of the hash that the home slot does
  // not already tell, enough to pass over nearly every other key without
  // reading its bytes.
  struct __attribute__((packed)) TSlot {
    std::int32_t id = -1;
    std::uint16_t tag = 0;
  };
  static_assert(sizeof(TSlot) == 6, "slots are packed");

  // Each part on a cache line of its own: different threads fill them.
  struct alignas(64) TPart {
    TBigVector<TSlot> slots;  // fewer than 2^32
    std::size_t count = 0;
  };

  static std::uint16_t Tag(std::uint64_t hash) { return static_cast<std::uint16_t>(hash >> 48); }
  static std::size_t SlotCount(std::size_t keys) { return keys + keys / 2 + 16; }

  // The slot a hash starts from: its low half scaled to the part's size.
  static std::size_t Home(const TPart& part, std::uint64_t hash) {
    return static_cast<std::size_t>(((hash & 0xFFFFFFFFu) * part.slots.size()) >> 32);
  }
  static std::size_t Next(const TPart& part, std::size_t i) { return i + 1 == part.slots.size() ? 0 : i + 1; }

  // Asks for the home slots of the batch at `base`. Both fetching helpers
  // are inlined by force: a function that only prefetches has no effect the
  // compiler counts, and GCC drops every call to it when left on its own.
  [[gnu::always_inline]] void FetchHomes(std::span<const std::uint64_t> hashes, std::size_t base) const {
    for (std::size_t j = base; j < std::min(base + kBatch, hashes.size()); ++j) {
      const TPart& part = parts_[PartOf(hashes[j])];
      __builtin_prefetch(&part.slots[Home(part, hashes[j])]);
    }
  }

  // Fetches what comparing with the keys in a batch's home slots will read.
  [[gnu::always_inline]] void FetchAhead(std::span<const std::uint64_t> batch) const {
    std::int32_t candidate[kBatch];
    for (std::size_t j = 0; j < batch.size(); ++j) {
      const TPart& part = parts_[PartOf(batch[j])];
      const TSlot& slot = part.slots[Home(part, batch[j])];
      candidate[j] = slot.id >= 0 && slot.tag == Tag(batch[j]) ? slot.id : -1;
    }
    for (int stage = 0; stage < 3; ++stage)
      for (std::size_t j = 0; j < batch.size(); ++j)
        if (candidate[j] >= 0) keys_->Prefetch(stage, candidate[j]);
  }

  // The slot holding the key of `number`, or the empty slot where it would go.
  std::size_t Locate(const TPart& part, std::uint64_t hash, std::int32_t number) const {
    for (std::size_t i = Home(part, hash);; i = Next(part, i)) {
      const TSlot& slot = part.slots[i];
      if (slot.id < 0) return i;
      if (slot.tag == Tag(hash) && keys_->SameKey(slot.id, number)) return i;
    }
  }

  std::int32_t Intern(TPart& part, std::uint64_t hash, std::int32_t number) {
    TSlot& slot = part.slots[Locate(part, hash, number)];
    if (slot.id >= 0) return slot.id;
    slot.id = number;
    slot.tag = Tag(hash);
    ++part.count;
    return number;
  }

  void Grow(TPart& part) {
    TBigVector<TSlot> old;
    old.swap(part.slots);
    part.slots.assign(old.size() * 2, TSlot());
    for (const TSlot& s : old) {
      if (s.id < 0) continue;
      const std::uint64_t h = keys_->Hash(s.id);
      std::size_t i = Home(part, h);
      while (part.slots[i].id >= 0) i = Next(part, i);
      part.slots[i] = s;
    }
  }

  const TKeys* keys_;  // the comparison's key source; outlives the index
  std::size_t expected_;
  TPart parts_[kParts];
};

}  // namespace rd
