#include "compare/fold_chars.h"

#include <emmintrin.h>  // SSE2, part of every x86-64 processor

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "compare/width_fold.h"
#include "textcode/text_code.h"

namespace rd {

namespace {

// ---- reading and writing a few bytes ------------------------------------------------------

template <class T>
inline T Load(const unsigned char* p) {
  T t;
  std::memcpy(&t, p, sizeof t);
  return t;
}

// Sixteen bytes from p, of which the line has `left`: past them, zeros.
// Never reads a byte past the line.
inline __m128i LoadBlock(const unsigned char* p, std::size_t left) {
  if (left >= 16) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  std::uint64_t lo = 0;
  std::uint64_t hi = 0;
  if (left >= 8) {
    lo = Load<std::uint64_t>(p);
    if (left > 8) hi = Load<std::uint64_t>(p + left - 8) >> (8 * (16 - left));
  } else if (left >= 4) {
    lo = Load<std::uint32_t>(p) | std::uint64_t{Load<std::uint32_t>(p + left - 4)} << (8 * (left - 4));
  } else if (left > 0) {
    lo = p[0] | std::uint64_t{p[left / 2]} << (8 * (left / 2)) | std::uint64_t{p[left - 1]} << (8 * (left - 1));
  }
  return _mm_set_epi64x(static_cast<long long>(hi), static_cast<long long>(lo));
}

// Copies s[from, to) to w, which has room for eight bytes past the copy;
// reads only bytes of the line, whose last is s[n - 1].
inline void CopyRun(char* w, const unsigned char* s, std::size_t from, std::size_t to, std::size_t n) {
  const std::size_t length = to - from;
  if (from + 8 * ((length + 7) / 8) <= n) {
    for (std::size_t k = 0; k < length; k += 8) std::memcpy(w + k, s + from + k, 8);
  } else if (length >= 8) {
    for (std::size_t k = 0; k + 8 < length; k += 8) std::memcpy(w + k, s + from + k, 8);
    std::memcpy(w + length - 8, s + to - 8, 8);
  } else if (length >= 4) {
    std::memcpy(w, s + from, 4);
    std::memcpy(w + length - 4, s + to - 4, 4);
  } else if (length > 0) {
    w[0] = static_cast<char>(s[from]);
    w[length / 2] = static_cast<char>(s[from + length / 2]);
    w[length - 1] = static_cast<char>(s[to - 1]);
  }
}

// ---- which characters change ------------------------------------------------------------

// Whether a double-byte character may be changed by the options: "　"
// under ZSpace, a full-width form of ASCII under Width.
inline bool MayFold(unsigned char lead, unsigned char trail, const TCompareOptions& o) {
  if (lead == 0x81) return (o.ZSpace && trail == 0x40) || (o.Width && FullWidthAscii(lead, trail) != 0);
  return o.Width && (lead == 0x82 || lead == 0xEE || lead == 0xFA) && FullWidthAscii(lead, trail) != 0;
}

// The double-byte characters that no option of a set changes, one bit for
// each pair of a lead byte and a trail byte: a run of kanji and kana is
// found one look-up a character.
class TQuietPairs {
 public:
  template <class TMayFold>
  explicit TQuietPairs(TMayFold mayFold) {
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
        if (IsSjisLead(static_cast<std::uint8_t>(lead)) && IsTrail(static_cast<unsigned char>(trail)) &&
            !mayFold(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)))
          Set(lead | trail << 8);
  }
  // Whether the two bytes at p are such a character.
  bool At(const unsigned char* p) const {
    const std::uint16_t pair = Load<std::uint16_t>(p);  // lead byte low, as the bytes lie in memory
    std::uint16_t index;
    if constexpr (std::endian::native == std::endian::little) index = pair;
    else index = static_cast<std::uint16_t>(pair >> 8 | pair << 8);
    return (bits_[index / 64] >> (index % 64)) & 1;
  }

 private:
  void Set(unsigned index) { bits_[index / 64] |= std::uint64_t{1} << (index % 64); }
  std::uint64_t bits_[65536 / 64] = {};
};

template <bool kWidth, bool kZSpace>
const TQuietPairs& QuietPairs() {
  static const TQuietPairs pairs([](unsigned char lead, unsigned char trail) {
    TCompareOptions o;
    o.Width = kWidth;
    o.ZSpace = kZSpace;
    return MayFold(lead, trail, o);
  });
  return pairs;
}

// FullWidthAscii as two look-ups: the lead bytes that have full-width
// forms of ASCII (0x81, 0x82, 0xEE, 0xFA) each have a row of 256, the
// other bytes a row of zeros.
constexpr std::array<std::uint8_t, 256> kPairSlot = [] {
  std::array<std::uint8_t, 256> a{};
  a.fill(4);  // a row of none
  a[0x81] = 0;
  a[0x82] = 1;
  a[0xEE] = 2;
  a[0xFA] = 3;
  return a;
}();
constexpr std::array<char, 5 * 256> kAsciiOfPair = [] {
  std::array<char, 5 * 256> a{};
  constexpr unsigned char kLeads[] = {0x81, 0x82, 0xEE, 0xFA};
  for (std::size_t slot = 0; slot < 4; ++slot)
    for (unsigned t = 0; t < 256; ++t) a[slot * 256 + t] = FullWidthAscii(kLeads[slot], static_cast<unsigned char>(t));
  return a;
}();

// ---- lines of ASCII ----------------------------------------------------------------------

// Eight bytes at a time. Both work on ASCII bytes, where no byte
// borrows from or carries into the next; bytes of 0x80 and above are
// looked at one by one.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The high bit of every byte below 0x21 (white space), of every a-z. (WhiteBits
// also marks the bytes 0x80 to 0xA0: callers take bytes of 0x80 and above apart.)
constexpr std::uint64_t WhiteBits(std::uint64_t x) { return ~((x | kHighBits) - kOnes * 0x21) & kHighBits; }
constexpr std::uint64_t LowerBits(std::uint64_t x) {
  return (x + kOnes * (0x80 - 'a')) & ~(x + kOnes * (0x80 - 'z' - 1)) & kHighBits;
}

static_assert(WhiteBits(0x2120004142200921ULL) == 0x0080800000808000ULL);
static_assert(LowerBits(0x607A617B405A4121ULL) == 0x0080800000000000ULL);

// The key of a line that folding leaves as it is, found without writing:
// a line of ASCII only, without lower-case letters when case is ignored and
// without white space inside when all white space is. No for other lines.
// (The key is filled in place: a returned struct read back at once stalls
// on the stores that made it.)
enum class TPlain : std::uint8_t { No, LeftOut, Key };

template <bool kAllSpace, bool kText>
inline TPlain PlainAsciiKey(std::string_view line, const TCompareOptions& o, TFoldedKey& key) {
  const std::size_t n = line.size();
  std::uint64_t high = 0, lower = 0, whiteCount = 0;
  std::size_t lead = n;  // the first byte that is not white space
  std::size_t end = 0;   // one past the last
  // Eight bytes from `at`, of which those with their high bit in `valid` belong to the line.
  const auto block = [&](std::uint64_t x, std::size_t at, std::uint64_t valid) {
    high |= x & kHighBits;
    lower |= LowerBits(x);
    const std::uint64_t white = WhiteBits(x) & valid;
    whiteCount += ((white >> 7) * kOnes) >> 56;  // the number of marked bytes
    if (const std::uint64_t solid = ~white & valid) {
      if (lead == n) lead = at + static_cast<std::size_t>(std::countr_zero(solid)) / 8;
      end = at + static_cast<std::size_t>(63 - std::countl_zero(solid)) / 8 + 1;
    }
  };
  if (n >= 8) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t x;
      std::memcpy(&x, line.data() + i, 8);
      block(x, i, kHighBits);
      if (high) return TPlain::No;
    }
    if (const std::size_t rest = n - i) {
      // The last eight bytes, shifted past those already seen.
      std::uint64_t x;
      std::memcpy(&x, line.data() + n - 8, 8);
      block(x >> (8 * (8 - rest)), i, kHighBits >> (8 * (8 - rest)));
      if (high) return TPlain::No;
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      const auto c = static_cast<unsigned char>(line[i]);
      if (c >= 0x80) return TPlain::No;
      lower |= c >= 'a' && c <= 'z';
      if (IsCompareSpace(c)) {
        ++whiteCount;
      } else {
        if (lead == n) lead = i;
        end = i + 1;
      }
    }
  }
  if (kText && lower) return TPlain::No;
  if (lead == n) end = n;  // nothing but white space
  if (kAllSpace && whiteCount != lead + (n - end)) return TPlain::No;
  if (lead == n && (o.Blank || o.TrimLR || o.TrimR)) return TPlain::LeftOut;
  key.Verbatim = true;
  key.From = kAllSpace || o.TrimLR ? lead : 0;
  key.Length = (kAllSpace || o.TrimLR || o.TrimR ? end : n) - key.From;
  return TPlain::Key;
}

// ---- the fold -------------------------------------------------------------------------------

template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
std::optional<TFoldedKey> FoldCharsAs(std::string_view line, const TCompareOptions& o, char* out) {
  const TQuietPairs& quiet = QuietPairs<kWidth, kZSpace>();
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  char* w = out;
  char* firstSolid = nullptr;      // where the first character that is not white space went
  char* solidEnd = out;            // end of the last one
  std::size_t firstSolidFrom = 0;  // its offset in the line
  // Whether the bytes written differ from the bytes they came from: a
  // folded character, or white space dropped between two written ones.
  bool changed = false;
  bool dropped = false;  // white space dropped since the first written byte
  // Characters that are not white space went from `at` on, from line offset `from`.
  const auto written = [&](char* at, std::size_t from) {
    if (!firstSolid) {
      firstSolid = at;
      firstSolidFrom = from;
    } else if (dropped) {
      changed = true;
    }
    solidEnd = w;
  };
  const auto drop = [&] { dropped = firstSolid != nullptr; };
  const __m128i kBlank = _mm_set1_epi8(0x21);
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    char* const at = w;
    const std::size_t from = i;
    if (c < 0x80) {
      // A run of white space, or of other ASCII, sixteen bytes a step.
      const bool blank = c < 0x21;
      std::size_t run;
      do {
        const std::size_t left = n - i;
        __m128i v = LoadBlock(s + i, left);
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
        const auto white = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, kBlank))) & ~high;
        const unsigned end = left < 16 ? 1u << left : 0x10000u;
        run = static_cast<std::size_t>(std::countr_zero((blank ? ~white : high | white) | end));
        if (kText && !blank) {
          // a-z to A-Z: only the run's bytes count
          const __m128i x = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>('a' + 128)));
          const __m128i lower = _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(-128 + 26)));
          changed |= (static_cast<unsigned>(_mm_movemask_epi8(lower)) & ((1u << run) - 1)) != 0;
          v = _mm_sub_epi8(v, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
        }
        if (!(kAllSpace && blank)) {
          _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);  // only the run's bytes count
          w += run;
        }
        i += run;
      } while (run == 16 && i < n);
      if (blank) {
        if (kAllSpace) drop();
      } else {
        written(at, from);
      }
      continue;
    }
    if (kWidth && IsHalfWidthKana(c)) {
      // A run of half-width kana, each joined with its mark.
      unsigned char k = c;
      do {
        // Branches, not a look-up: whether a mark joins is most often guessed
        // right, and the next kana need not wait for the answer.
        std::size_t used = 1;
        const std::uint16_t code = FullWidthKana(k, i + 1 < n ? s[i + 1] : 0, used);
        w[0] = static_cast<char>(code >> 8);
        w[1] = static_cast<char>(code & 0xFF);
        w += 2;
        i += used;
      } while (i < n && IsHalfWidthKana(k = s[i]));
      changed = true;
      written(at, from);
      continue;
    }
    if (i + 1 < n && quiet.At(s + i)) {
      // Kanji and kana mostly come in runs that no option changes: copied as they are.
      std::size_t end = i + 2;
      while (end + 1 < n && quiet.At(s + end)) end += 2;
      CopyRun(w, s, i, end, n);
      w += end - i;
      written(at, from);
      i = end;
      continue;
    }
    if (IsSjisLead(c) && i + 1 < n && IsTrail(s[i + 1])) {
      const unsigned char t = s[i + 1];
      i += 2;
      if (kZSpace && c == 0x81 && t == 0x40) {
        // "　", and those after it (Japanese text is indented with them)
        while (i + 1 < n && s[i] == 0x81 && s[i + 1] == 0x40) i += 2;
        if (kAllSpace) {
          drop();
        } else {
          CopyRun(w, s, from, i, n);
          w += i - from;
        }
        continue;
      }
      // Not "　", and changed: a full-width form of ASCII, and those after it.
      const auto asciiAt = [&](std::size_t k) { return kAsciiOfPair[std::size_t{kPairSlot[s[k]]} * 256 + s[k + 1]]; };
      for (char ascii = kAsciiOfPair[std::size_t{kPairSlot[c]} * 256 + t];;) {
        *w++ = static_cast<char>(kText && ascii >= 'a' && ascii <= 'z' ? ascii - 'a' + 'A' : ascii);
        if (i + 1 >= n || (ascii = asciiAt(i)) == 0) break;
        i += 2;
      }
      changed = true;
      written(at, from);
      continue;
    }
    ++i;
    *w++ = static_cast<char>(c);
    written(at, from);
  }
  if (!firstSolid && (o.Blank || o.TrimLR || o.TrimR)) return std::nullopt;
  // White space before the first character that is not is written only
  // when it is kept, so it came from the start of the line.
  const bool leadingDropped = kAllSpace && firstSolid;
  if (o.TrimLR || leadingDropped) {
    const std::size_t length = static_cast<std::size_t>((o.TrimLR ? solidEnd : w) - firstSolid);
    if (firstSolid != out) std::memmove(out, firstSolid, length);
    return TFoldedKey{length, firstSolidFrom, !changed};
  }
  return TFoldedKey{static_cast<std::size_t>((o.TrimR ? solidEnd : w) - out), 0, !changed};
}

// A line that starts with ASCII, as program text does: mostly one that
// folding leaves as it is, or one of ASCII words that runs fold fast.
template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
std::optional<TFoldedKey> FoldAsciiFirst(std::string_view line, const TCompareOptions& o, char* out) {
  TFoldedKey key;
  switch (PlainAsciiKey<kAllSpace, kText>(line, o, key)) {
    case TPlain::Key: return key;
    case TPlain::LeftOut: return std::nullopt;
    case TPlain::No: break;
  }
  return FoldCharsAs<kWidth, kZSpace, kAllSpace, kText>(line, o, out);
}

template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
std::optional<TFoldedKey> FoldKeyAs(std::string_view line, const TCompareOptions& o, char* out) {
  // A line that starts with a byte of 0x80 or more is not plain ASCII.
  if (line.empty() || static_cast<unsigned char>(line[0]) < 0x80)
    return FoldAsciiFirst<kWidth, kZSpace, kAllSpace, kText>(line, o, out);
  return FoldCharsAs<kWidth, kZSpace, kAllSpace, kText>(line, o, out);
}

// Lines that start with ASCII as above, the others by `wide`.
template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
std::optional<TFoldedKey> FoldKeyWideAs(std::string_view line, const TCompareOptions& o, char* out) {
  static const TFoldKey wide = WideFoldKeyFor(o);  // one set of options: the same function for all
  if (line.empty() || static_cast<unsigned char>(line[0]) < 0x80)
    return FoldAsciiFirst<kWidth, kZSpace, kAllSpace, kText>(line, o, out);
  return wide(line, o, out);
}

template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
struct TCharFold {
  static constexpr TFoldKey Key = FoldKeyAs<kWidth, kZSpace, kAllSpace, kText>;
};

template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
struct TWideAfterAscii {
  static constexpr TFoldKey Key = FoldKeyWideAs<kWidth, kZSpace, kAllSpace, kText>;
};

}  // namespace

TFoldKey FoldKeyFor(const TCompareOptions& o) {
  return WideFoldKeyFor(o) ? FoldMadeFor<TWideAfterAscii>(o) : CharFoldKeyFor(o);
}

TFoldKey CharFoldKeyFor(const TCompareOptions& o) { return FoldMadeFor<TCharFold>(o); }

}  // namespace rd
