// The split looks at sixteen bytes at a time: one comparison gives a bit
// for every CR and LF among them, and only those bits are visited. A first
// pass counts them, so the offsets are allocated once, exactly.
#include "textcode/line_split.h"
#include "textcode/huge_pages.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rd {
namespace {

// One bit per CR or LF in p[0..16).
std::uint32_t BreakBits(const char* p) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
#else
  std::uint32_t bits = 0;
  for (int k = 0; k < 16; ++k)
    if (p[k] == '\n' || p[k] == '\r') bits |= 1u << k;
  return bits;
#endif
}

// Calls f(i) for the position i of every CR and LF before `end`.
template <class F>
void ForEachBreakByte(const char* p, std::size_t end, F&& f) {
  std::size_t i = 0;
  for (; i + 16 <= end; i += 16)
    for (std::uint32_t bits = BreakBits(p + i); bits != 0; bits &= bits - 1) f(i + __builtin_ctz(bits));
  for (; i < end; ++i)
    if (p[i] == '\n' || p[i] == '\r') f(i);
}

// The number of CR and LF bytes before `end`.
std::size_t CountBreakBytes(const char* p, std::size_t end) {
  std::size_t count = 0;
  std::size_t i = 0;
  for (; i + 16 <= end; i += 16) count += static_cast<std::size_t>(__builtin_popcount(BreakBits(p + i)));
  for (; i < end; ++i) count += p[i] == '\n' || p[i] == '\r';
  return count;
}

}  // namespace

void TLineCounter::Add(std::string_view piece) {
  if (piece.empty()) return;
  const char* p = piece.data();
  const std::size_t n = piece.size();
  if (afterCr_ && p[0] == '\n') {
    // The LF of a CR LF split between two pieces: no break of its own.
    ++p;
    afterCr_ = false;
    if (n == 1) return;
    Add(std::string_view(p, n - 1));
    return;
  }
  std::size_t lastBreak = n;  // position of the last CR or LF, n when none
  ForEachBreakByte(p, n, [&](std::size_t i) {
    lastBreak = i;
    if (p[i] == '\n' && i > 0 && p[i - 1] == '\r') return;
    ++breaks_;
  });
  if (lastBreak == n) {
    open_ = true;
    afterCr_ = false;
    return;
  }
  open_ = lastBreak + 1 < n;
  afterCr_ = !open_ && p[lastBreak] == '\r';
}

TLineList SplitLines(std::string bytes, std::size_t maxLines) {
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()) : bytes.size();
  const char* p = bytes.data();

  const std::size_t breakBytes = CountBreakBytes(p, end);
  // Every line but the last ends in at least one break byte.
  if (breakBytes >= maxLines) {
    TLineCounter counter;
    counter.Add(std::string_view(p, end));
    if (counter.Lines() > maxLines) throw TTooManyLines();
  }
  TLineStarts starts;
  starts.Reserve(breakBytes + 2);
  AdviseHugePages(starts.Data(), starts.CapacityBytes());
  starts.Push(0);
  // A CR directly followed by LF is one break: the LF then ends no line.
  ForEachBreakByte(p, end, [&](std::size_t i) {
    if (p[i] == '\n' && i > 0 && p[i - 1] == '\r' && starts.Back() == i) {
      starts.AdvanceBack(i + 1);
      return;
    }
    starts.Push(i + 1);
  });
  if (starts.Back() < end) starts.Push(end);  // a last line without a break
  return TLineList::AdoptText(std::move(bytes), std::move(starts));
}

}  // namespace rd
