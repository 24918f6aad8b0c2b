#include "compare/key_index.h"

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

}  // namespace rd
