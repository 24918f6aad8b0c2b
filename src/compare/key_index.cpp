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

template <class T>
T Load(const char* p) {
  T w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

std::uint64_t Round(std::uint64_t h, std::uint64_t w) { return std::rotl(h ^ (w * K2), 31) * K1; }

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  const char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::uint64_t h = K1 ^ (n * K2);
  // Every byte is read by whole loads, without a loop over the tail: the
  // last words may overlap those before, and short keys are read in two
  // halves that may overlap. With the length mixed in first, that stays
  // one reading of each key.
  if (n > 16) {
    // Two words a step, each into a hash of its own: half the chain of
    // multiplications that one hash would make.
    std::uint64_t g = h ^ K2;
    const char* last = p + n - 16;
    for (; p < last; p += 16) {
      h = Round(h, Load<std::uint64_t>(p));
      g = Round(g, Load<std::uint64_t>(p + 8));
    }
    h = Round(h, Load<std::uint64_t>(last));
    g = Round(g, Load<std::uint64_t>(last + 8));
    h ^= std::rotl(g, 29);
  } else if (n > 8) {
    // Both words at once, the second overlapping the first.
    h = Round(h, Load<std::uint64_t>(p)) ^ std::rotl(Round(h ^ K2, Load<std::uint64_t>(p + n - 8)), 29);
  } else if (n >= 4) {
    h = Round(h, std::uint64_t{Load<std::uint32_t>(p)} << 32 | Load<std::uint32_t>(p + n - 4));
  } else if (n > 0) {
    const auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])}; };
    h = Round(h, byte(0) << 16 | byte(n / 2) << 8 | byte(n - 1));
  }
  return Mix(h);
}

}  // namespace rd
