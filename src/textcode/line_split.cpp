// The split skips eight bytes at a time while none of them is CR or LF. A
// first pass counts the breaks, so the offsets are allocated once, exactly.
#include "textcode/line_split.h"

#include <cstdint>
#include <cstring>

namespace rd {
namespace {

bool HasBreak(const char* p) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  const std::uint64_t lf = w ^ ('\n' * kOnes);
  const std::uint64_t cr = w ^ ('\r' * kOnes);
  return (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHigh;
}

// Calls f(nextStart) for every line break before `end`, with the offset
// where the line after the break begins.
template <class F>
void ForEachBreak(const char* p, std::size_t end, F&& f) {
  std::size_t i = 0;
  while (i < end) {
    while (i + 8 <= end && !HasBreak(p + i)) i += 8;
    while (i < end && p[i] != '\n' && p[i] != '\r') ++i;
    if (i == end) break;
    i += (p[i] == '\r' && i + 1 < end && p[i + 1] == '\n') ? 2 : 1;
    f(i);
  }
}

}  // namespace

TLineList SplitLines(std::string bytes) {
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()) : bytes.size();
  const char* p = bytes.data();

  std::size_t breaks = 0;
  ForEachBreak(p, end, [&](std::size_t) { ++breaks; });
  std::vector<std::uint64_t> starts;
  starts.reserve(breaks + 2);
  starts.push_back(0);
  std::size_t lastStart = 0;
  ForEachBreak(p, end, [&](std::size_t next) {
    starts.push_back(next);
    lastStart = next;
  });
  if (lastStart < end) starts.push_back(end);  // a last line without a break
  return TLineList::AdoptText(std::move(bytes), std::move(starts));
}

}  // namespace rd
