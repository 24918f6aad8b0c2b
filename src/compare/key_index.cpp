#include "compare/key_index.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace rd {

namespace {

constexpr std::uint64_t K1 = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t K2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

std::size_t SlotCount(std::size_t keys) {
  return std::bit_ceil(keys + keys / 2 + 16);  // load factor at most 2/3
}

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  std::uint64_t h = K1 ^ (n * K2);
  while (n >= 8) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    h = std::rotl(h ^ (w * K2), 31) * K1;
    p += 8;
    n -= 8;
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, p, n);
  h = std::rotl(h ^ (tail * K2), 31) * K1;
  return Mix(h);
}

TKeyIndex::TKeyIndex(std::size_t expected) {
  slots_.resize(SlotCount(expected));
  mask_ = slots_.size() - 1;
  keys_.reserve(expected);
}

std::int32_t TKeyIndex::Intern(std::string_view key) {
  Reserve(1);
  return InternHashed(key, HashBytes(key));
}

void TKeyIndex::InternAll(std::span<const std::string_view> keys, std::span<std::int32_t> ids) {
  constexpr std::size_t kBatch = 32;
  std::uint64_t hash[kBatch];
  for (std::size_t base = 0; base < keys.size(); base += kBatch) {
    const std::size_t n = std::min(kBatch, keys.size() - base);
    Reserve(n);  // the slots must not move while a batch is under way
    for (std::size_t j = 0; j < n; ++j) {
      hash[j] = HashBytes(keys[base + j]);
      __builtin_prefetch(&slots_[hash[j] & mask_]);
    }
    for (std::size_t j = 0; j < n; ++j) {
      const TSlot& slot = slots_[hash[j] & mask_];
      if (slot.id >= 0) __builtin_prefetch(&keys_[slot.id]);
    }
    for (std::size_t j = 0; j < n; ++j) {
      const TSlot& slot = slots_[hash[j] & mask_];
      if (slot.id >= 0 && slot.tag == static_cast<std::uint32_t>(hash[j] >> 32))
        __builtin_prefetch(keys_[slot.id].data());
    }
    for (std::size_t j = 0; j < n; ++j) ids[base + j] = InternHashed(keys[base + j], hash[j]);
  }
}

void TKeyIndex::Reserve(std::size_t more) {
  while (keys_.size() + more > slots_.size() * 2 / 3) Grow();
}

std::int32_t TKeyIndex::InternHashed(std::string_view key, std::uint64_t h) {
  const auto tag = static_cast<std::uint32_t>(h >> 32);
  for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
    TSlot& slot = slots_[i];
    if (slot.id < 0) {
      slot.tag = tag;
      slot.id = static_cast<std::int32_t>(keys_.size());
      keys_.push_back(key);
      return slot.id;
    }
    if (slot.tag == tag && keys_[slot.id] == key) return slot.id;
  }
}

void TKeyIndex::Grow() {
  TBigVector<TSlot> bigger(SlotCount(slots_.size()));
  slots_.swap(bigger);
  mask_ = slots_.size() - 1;
  for (std::size_t id = 0; id < keys_.size(); ++id) {
    const std::uint64_t h = HashBytes(keys_[id]);
    std::size_t i = h & mask_;
    while (slots_[i].id >= 0) i = (i + 1) & mask_;
    slots_[i] = {static_cast<std::uint32_t>(h >> 32), static_cast<std::int32_t>(id)};
  }
}

}  // namespace rd
