// The split skips eight bytes at a time while none of them is CR or LF.
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

}  // namespace

std::vector<TLineList::TSpan> SplitLines(std::string_view bytes) {
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()) : bytes.size();
  const char* p = bytes.data();

  std::vector<TLineList::TSpan> lines;
  lines.reserve(end / 32 + 1);
  std::size_t begin = 0;
  std::size_t i = 0;
  while (i < end) {
    while (i + 8 <= end && !HasBreak(p + i)) i += 8;
    while (i < end && p[i] != '\n' && p[i] != '\r') ++i;
    if (i == end) break;
    lines.push_back({begin, i - begin});
    i += (p[i] == '\r' && i + 1 < end && p[i + 1] == '\n') ? 2 : 1;
    begin = i;
  }
  if (begin < end) lines.push_back({begin, end - begin});
  return lines;
}

}  // namespace rd
