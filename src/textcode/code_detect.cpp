// The detector. Marks, the binary test and the UTF-8 scan need only the
// first DetectLimit + 2 bytes and the length; the Japanese scan walks on
// until a byte decides, with a fast skip over bytes that decide nothing.
#include "textcode/code_detect.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rd {
namespace {

// The UTF-8 scan may look two bytes past its last lead position.
constexpr std::size_t kHeadSize = DetectLimit + 2;

// The bytes the Japanese scan walks: stored bytes, optionally followed by a
// CR LF that is not stored (the break after the last of a text's lines).
struct TScanText {
  std::string_view raw;
  bool crLf = false;

  std::size_t Size() const { return raw.size() + (crLf ? 2 : 0); }
  std::uint8_t operator[](std::size_t i) const {
    if (i < raw.size()) return static_cast<std::uint8_t>(raw[i]);
    return i == raw.size() ? '\r' : '\n';
  }
};

constexpr bool In(std::uint8_t b, std::uint8_t lo, std::uint8_t hi) { return b >= lo && b <= hi; }

// Eight bytes that all decide nothing in the Japanese scan: 08..7F, no ESC.
bool AllQuiet(const char* p) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if (w & kHigh) return false;
  if (((w + 0x78 * kOnes) & kHigh) != kHigh) return false;  // some byte below 0x08
  const std::uint64_t esc = w ^ (0x1B * kOnes);
  return ((esc - kOnes) & ~esc & kHigh) == 0;
}

}  // namespace

bool AllQuiet64(const char* p) {
#if defined(__SSE2__)
  __m128i loud = _mm_setzero_si128();
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    // Bytes of 0x80 and above are negative here: below 0x08 too.
    const __m128i low = _mm_cmplt_epi8(v, _mm_set1_epi8(0x08));
    loud = _mm_or_si128(loud, _mm_or_si128(low, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x1B))));
  }
  return _mm_movemask_epi8(loud) == 0;
#else
  for (int k = 0; k < 8; ++k)
    if (!AllQuiet(p + 8 * k)) return false;
  return true;
#endif
}

namespace {

bool IsOpen(DetectedCode r) { return r == DetectedCode::Ascii || r == DetectedCode::EucOrSjis; }

// From byte `from` on: the bytes before it are quiet.
DetectedCode ScanJapanese(const TScanText& t, std::size_t from = 0) {
  const std::size_t n = t.Size();
  DetectedCode result = DetectedCode::Ascii;
  std::size_t i = std::min(from, t.raw.size());
  // A step starts only where a byte follows: the last byte never leads.
  while (IsOpen(result) && i + 1 < n) {
    if (i + 64 <= t.raw.size() && AllQuiet64(t.raw.data() + i)) {
      i += 64;
      continue;
    }
    if (i + 8 <= t.raw.size() && AllQuiet(t.raw.data() + i)) {
      i += 8;
      continue;
    }
    const std::uint8_t b = t[i++];
    if (b == 0x1B) {
      const std::uint8_t c = t[i++];
      if (c == '$' && i < n) {
        const std::uint8_t d = t[i++];
        if (d == 'B') result = DetectedCode::JisNew;
        if (d == '@') result = DetectedCode::JisOld;
      }
    } else if (b < 0x08 || b == 0xFF) {
      result = DetectedCode::Binary;
    } else if (b <= 0x7F) {
    } else if (In(b, 0x81, 0x8D) || In(b, 0x8F, 0x9F)) {
      result = DetectedCode::Sjis;
    } else if (b == 0x8E) {
      const std::uint8_t c = t[i++];
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0) || In(c, 0xE0, 0xFC)) result = DetectedCode::Sjis;
      else if (In(c, 0xA1, 0xDF)) result = DetectedCode::EucOrSjis;
    } else if (In(b, 0xA1, 0xDF)) {
      std::uint8_t c = t[i++];
      if (In(c, 0xF0, 0xFE)) {
        result = DetectedCode::Euc;
      } else if (In(c, 0xA1, 0xDF)) {
        result = DetectedCode::EucOrSjis;
      } else if (In(c, 0xE0, 0xEF)) {
        // Half-width katakana in Shift_JIS or a kanji in EUC-JP: read on
        // to the end of the run of bytes from 0x40 for a deciding one. The
        // byte that ends the run is consumed with it; a run that reaches the
        // end of the data ends with its last byte consumed but not examined.
        result = DetectedCode::EucOrSjis;
        while (c >= 0x40 && result == DetectedCode::EucOrSjis && i < n) {
          if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9C)) result = DetectedCode::Sjis;
          else if (In(c, 0xFD, 0xFE)) result = DetectedCode::Euc;
          c = t[i++];
        }
      } else if (c <= 0x9F) {
        result = DetectedCode::Sjis;
      }
    } else if (In(b, 0xF0, 0xFE)) {
      result = DetectedCode::Euc;
    } else if (In(b, 0xE0, 0xEF)) {
      const std::uint8_t c = t[i++];
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0)) result = DetectedCode::Sjis;
      else if (In(c, 0xFD, 0xFE)) result = DetectedCode::Euc;
      else if (In(c, 0xA1, 0xFC)) result = DetectedCode::EucOrSjis;
    }
  }
  return result;
}

// A control byte below 0x08 or 0xFF among the first DetectLimit bytes; the
// last byte of the data is not tested. `head` holds at least those bytes.
bool HasBinaryByte(std::string_view head, std::size_t n) {
  const std::size_t limit = n == 0 ? 0 : std::min(DetectLimit, n - 1);
  for (std::size_t i = 0; i < limit; ++i) {
    const auto b = static_cast<std::uint8_t>(head[i]);
    if (b < 0x08 || b == 0xFF) return true;
  }
  return false;
}

// Only three-byte sequences count; any other non-ASCII lead stops the scan
// with a "no". The last five bytes of the data are never taken as a lead.
bool LooksUtf8(std::string_view head, std::size_t n) {
  const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(head[i]); };
  bool seen = false;
  std::size_t i = 0;
  while (i < DetectLimit && i + 5 < n) {
    const std::uint8_t b = at(i);
    if (b < 0x80) {
      ++i;
    } else if (In(b, 0xE0, 0xEF)) {
      const std::uint8_t lo = b == 0xE0 ? 0xA0 : 0x80;
      if (!In(at(i + 1), lo, 0xBF) || !In(at(i + 2), 0x80, 0xBF)) return false;
      seen = true;
      i += 3;
    } else {
      return false;  // continuation byte, two- or four-byte lead, or invalid
    }
  }
  return seen;
}

// `head` holds the first min(n, kHeadSize) bytes of the n-byte data that
// `all` walks.
DetectedCode Detect(std::string_view head, std::size_t n, const TScanText& all, std::size_t quiet = 0) {
  const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(head[i]); };
  if (n == 0) return DetectedCode::Binary;
  if (n >= 2 && at(0) == 0xFF && at(1) == 0xFE) return DetectedCode::Utf16Le;
  if (n >= 2 && at(0) == 0xFE && at(1) == 0xFF) return DetectedCode::Utf16Be;
  if (n >= 4 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return DetectedCode::Utf8Bom;
  if (LooksUtf8(head, n)) return DetectedCode::Utf8;
  if (HasBinaryByte(head, n)) return DetectedCode::Binary;
  return ScanJapanese(all, quiet);
}

}  // namespace

DetectedCode DetectCode(std::string_view data) {
  return Detect(data.substr(0, kHeadSize), data.size(), TScanText{data});
}

DetectedCode DetectJapaneseCode(std::string_view data) {
  if (HasBinaryByte(data, data.size())) return DetectedCode::Binary;
  return ScanJapanese(TScanText{data});
}

DetectedCode DetectLinesCode(const TLineList& lines, std::size_t quiet) {
  assert((lines.HoldsBreaks() || lines.Count() < 2) && "the scan walks the breaks between the lines");
  if (lines.Empty()) return DetectedCode::Binary;
  // The marks, the binary test and the UTF-8 scan count positions, so they
  // see the true joined head. The Japanese scan treats CR and LF alike and a
  // run of them like any other, so it may walk the text's own bytes up to
  // the end of the last line, followed by the one CR LF of the joined text.
  std::array<char, kHeadSize> head{};
  std::size_t headSize = 0;
  // The joined length matters only while it is short: past DetectLimit + 5
  // bytes no test depends on it, and the lines after are not visited.
  std::size_t n = 0;
  for (std::size_t i = 0; i < lines.Count() && (headSize < head.size() || n < DetectLimit + 6); ++i) {
    const std::string_view line = lines[i];
    n += line.size() + 2;
    if (headSize < head.size()) {
      const std::size_t take = std::min(line.size(), head.size() - headSize);
      std::memcpy(head.data() + headSize, line.data(), take);
      headSize += take;
      for (char brk : {'\r', '\n'})
        if (headSize < head.size()) head[headSize++] = brk;
    }
  }
  const std::size_t last = lines.Count() - 1;
  const TScanText all{lines.Bytes().substr(0, lines.Offset(last) + lines[last].size()), true};
  return Detect(std::string_view(head.data(), headSize), n, all, quiet);
}

}  // namespace rd
