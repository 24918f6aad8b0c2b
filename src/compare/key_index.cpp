#include "compare/key_index.h"

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
  if (keys_.size() + 1 > slots_.size() * 2 / 3) Grow();
  const std::uint64_t h = HashBytes(key);
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
  std::vector<TSlot> bigger(SlotCount(slots_.size()));
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
