// The split looks at 64 bytes at a time: comparisons give a bit for every
// CR, LF and NUL among them. A first pass counts the break bytes and finds
// the first NUL, so the offsets are allocated once; the second turns the
// bits into line starts, so only the starts themselves are visited.
#include "textcode/line_split.h"
#include "textcode/code_detect.h"
#include "textcode/huge_pages.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rd {
namespace {

constexpr std::size_t kBlock = 64;
constexpr std::size_t kAhead = 2048;  // bytes a scan asks for before it reads them

struct TBlockBits {
  std::uint64_t cr = 0;
  std::uint64_t lf = 0;
  std::uint64_t nul = 0;
};

// One bit per CR, LF and NUL in p[0..64).
[[gnu::always_inline]] inline TBlockBits BlockBits(const char* p) {
  TBlockBits bits;
#if defined(__SSE2__)
  __m128i v[4];
  __m128i nul = _mm_setzero_si128();  // a NUL anywhere, which ends the text: rare
  const auto mask = [](__m128i x, char c) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8(c)))));
  };
  for (int k = 0; k < 4; ++k) {
    v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    bits.cr |= mask(v[k], '\r') << (16 * k);
    bits.lf |= mask(v[k], '\n') << (16 * k);
    nul = _mm_or_si128(nul, _mm_cmpeq_epi8(v[k], _mm_setzero_si128()));
  }
  if (_mm_movemask_epi8(nul) != 0)
    for (int k = 0; k < 4; ++k) bits.nul |= mask(v[k], '\0') << (16 * k);
#else
  for (std::size_t k = 0; k < kBlock; ++k) {
    bits.cr |= std::uint64_t{p[k] == '\r'} << k;
    bits.lf |= std::uint64_t{p[k] == '\n'} << k;
    bits.nul |= std::uint64_t{p[k] == '\0'} << k;
  }
#endif
  return bits;
}

// The same bits for the n < 64 bytes at p.
TBlockBits TailBits(const char* p, std::size_t n) {
  char block[kBlock];
  std::memset(block, 'x', kBlock);
  std::memcpy(block, p, n);
  return BlockBits(block);
}

// Set bits, counted in registers: without a population-count instruction
// in the baseline, the compiler would call a library function per block.
int BitCount(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// Where the text ends (its first NUL, else its size), and the number of CR
// and LF bytes before that.
struct TScan {
  std::size_t end = 0;
  std::size_t breakBytes = 0;
};

TScan Scan(const char* p, std::size_t size) {
  TScan scan;
  for (std::size_t i = 0; i < size; i += kBlock) {
    const TBlockBits bits = i + kBlock <= size ? BlockBits(p + i) : TailBits(p + i, size - i);
    std::uint64_t breaks = bits.cr | bits.lf;
    if (bits.nul != 0) {
      const int at = __builtin_ctzll(bits.nul);
      scan.end = i + static_cast<std::size_t>(at);
      scan.breakBytes += static_cast<std::size_t>(BitCount(breaks & ((std::uint64_t{1} << at) - 1)));
      return scan;
    }
    scan.breakBytes += static_cast<std::size_t>(BitCount(breaks));
  }
  scan.end = size;
  return scan;
}

// Pushes the starts that the breaks of the block at `base` make: a line
// starts after every LF, and after every CR that no LF follows (a CR LF is
// one break). lfNext: the byte after the block is an LF.
void PushStarts(std::uint64_t cr, std::uint64_t lf, std::size_t base, bool lfNext, TLineStarts& starts) {
  const std::uint64_t lfAfter = (lf >> 1) | (std::uint64_t{lfNext} << 63);
  for (std::uint64_t s = lf | (cr & ~lfAfter); s != 0; s &= s - 1)
    starts.Push(base + static_cast<std::size_t>(__builtin_ctzll(s)) + 1);
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
  std::uint64_t crBefore = 0;  // the byte before the block is a CR
  for (std::size_t i = 0; i < n; i += kBlock) {
    const TBlockBits bits = i + kBlock <= n ? BlockBits(p + i) : TailBits(p + i, n - i);
    // The LF of a CR LF ends no line of its own.
    breaks_ += static_cast<std::uint64_t>(BitCount(bits.cr | (bits.lf & ~((bits.cr << 1) | crBefore))));
    if (const std::uint64_t any = bits.cr | bits.lf; any != 0) lastBreak = i + 63 - static_cast<std::size_t>(__builtin_clzll(any));
    crBefore = bits.cr >> 63;
  }
  if (lastBreak == n) {
    open_ = true;
    afterCr_ = false;
    return;
  }
  open_ = lastBreak + 1 < n;
  afterCr_ = !open_ && p[lastBreak] == '\r';
}

TLineList SplitLines(std::string bytes, std::size_t maxLines) {
  TLineStarts starts = SplitStarts(bytes, maxLines);
  return TLineList::AdoptText(std::move(bytes), std::move(starts));
}

TLineStarts SplitStarts(std::string_view bytes, std::size_t maxLines) {
  const char* p = bytes.data();
  const TScan scan = Scan(p, bytes.size());
  const std::size_t end = scan.end;

  // Every line but the last ends in at least one break byte.
  if (scan.breakBytes >= maxLines) {
    TLineCounter counter;
    counter.Add(std::string_view(p, end));
    if (counter.Lines() > maxLines) throw TTooManyLines();
  }
  TLineStarts starts;
  starts.Reserve(scan.breakBytes + 2);
  AdviseHugePages(starts.Data(), starts.CapacityBytes());
  starts.Push(0);
  for (std::size_t i = 0; i < end; i += kBlock) {
    const TBlockBits bits = i + kBlock <= end ? BlockBits(p + i) : TailBits(p + i, end - i);
    PushStarts(bits.cr, bits.lf, i, i + kBlock < end && p[i + kBlock] == '\n', starts);
  }
  if (starts.Back() < end) starts.Push(end);  // a last line without a break
  return starts;
}

void TSplitWhileReading::Start(std::uint64_t size) {
  // A file no longer than the limit cannot hold too many lines, so the
  // offsets cannot grow past what the limit allows before it is checked.
  on_ = size <= maxLines_;
  if (!on_) return;
  // Lines of fewer than 8 bytes are rare; the offsets grow past this if need be.
  starts_.Reserve(static_cast<std::size_t>(size / 8) + 2);
  AdviseHugePages(starts_.Data(), starts_.CapacityBytes());
  starts_.Push(0);
}

void TSplitWhileReading::Read(std::string_view sofar) {
  if (on_) Scan(sofar, false);
}

// A block is scanned once the byte after it has come, which tells whether a
// CR at its end begins a CR LF.
void TSplitWhileReading::Scan(std::string_view sofar, bool last) {
  const char* p = sofar.data();
  while (end_ == kOpen) {
    const std::size_t rest = sofar.size() - done_;
    if (rest <= kBlock && !last) return;
    // The bytes of a file's pages come from the system's cache a page at
    // a time: asked for well ahead, they arrive before they are needed.
    __builtin_prefetch(p + done_ + kAhead);
    const TBlockBits bits = rest >= kBlock ? BlockBits(p + done_) : TailBits(p + done_, rest);
    if (quiet_ == done_ && rest >= kBlock && AllQuiet64(p + done_)) quiet_ += kBlock;
    bool lfNext = rest > kBlock && p[done_ + kBlock] == '\n';
    std::uint64_t inside = ~std::uint64_t{0};
    if (bits.nul != 0) {
      // The text ends at its first NUL.
      const int at = __builtin_ctzll(bits.nul);
      inside = (std::uint64_t{1} << at) - 1;
      lfNext = false;
      end_ = done_ + static_cast<std::size_t>(at);
    } else if (rest <= kBlock) {
      end_ = sofar.size();
    }
    PushStarts(bits.cr & inside, bits.lf & inside, done_, lfNext, starts_);
    done_ += kBlock;
  }
}

TLineList TSplitWhileReading::Finish(std::string bytes) {
  TLineStarts starts = FinishStarts(bytes);
  return TLineList::AdoptText(std::move(bytes), std::move(starts));
}

TLineStarts TSplitWhileReading::FinishStarts(std::string_view bytes) {
  if (!on_) return SplitStarts(bytes, maxLines_);
  Scan(bytes, true);
  if (starts_.Back() < end_) starts_.Push(end_);  // a last line without a break
  if (starts_.Size() - 1 > maxLines_) throw TTooManyLines();  // only a file that grew while read
  return std::move(starts_);
}

}  // namespace rd
