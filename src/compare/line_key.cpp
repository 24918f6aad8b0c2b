#include "compare/line_key.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rd {

std::string_view TrimBoth(std::string_view s) {
  std::size_t b = 0;
  while (b < s.size() && IsCompareSpace(static_cast<unsigned char>(s[b]))) ++b;
  return TrimRight(s.substr(b));
}

std::string_view TrimRight(std::string_view s) {
  std::size_t e = s.size();
  while (e > 0 && IsCompareSpace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(0, e);
}

void UpperSjisInPlace(std::span<char> s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (IsSjisLead(c)) {
      ++i;  // the trail byte stays as it is
    } else if (c >= 'a' && c <= 'z') {
      s[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
}

std::optional<std::string_view> LineKey(std::string_view line, std::string_view upper, const TCompareOptions& options) {
  const std::string_view s = options.Text ? upper : line;
  // Trimming the right end leaves nothing exactly when trimming both ends does.
  const std::string_view right = TrimRight(s);
  if (right.empty() && (options.Blank || options.TrimLR || options.TrimR)) return std::nullopt;
  if (options.TrimLR) return TrimBoth(right);
  if (options.TrimR) return right;
  return s;
}

// ---- folding ----------------------------------------------------------------------------

namespace {

constexpr bool IsTrail(unsigned char t) { return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC); }

// ASCII for the second byte of a full-width symbol with lead byte 0x81, 0 for none.
constexpr std::array<char, 256> MakeRow1Ascii() {
  std::array<char, 256> a{};
  const struct {
    unsigned char trail;
    char ascii;
  } pairs[] = {{0x49, '!'}, {0x94, '#'}, {0x90, '$'}, {0x93, '%'}, {0x95, '&'}, {0x69, '('}, {0x6A, ')'},
               {0x96, '*'}, {0x7B, '+'}, {0x43, ','}, {0x7C, '-'}, {0x44, '.'}, {0x5E, '/'}, {0x46, ':'},
               {0x47, ';'}, {0x83, '<'}, {0x81, '='}, {0x84, '>'}, {0x48, '?'}, {0x97, '@'}, {0x6D, '['},
               {0x5F, '\\'}, {0x6E, ']'}, {0x4F, '^'}, {0x51, '_'}, {0x4D, '`'}, {0x6F, '{'}, {0x62, '|'},
               {0x70, '}'}, {0x60, '~'}};
  for (const auto& p : pairs) a[p.trail] = p.ascii;
  return a;
}
constexpr std::array<char, 256> kRow1Ascii = MakeRow1Ascii();

// The ASCII form of a full-width character, 0 when it has none.
constexpr char FullWidthAscii(unsigned char lead, unsigned char trail) {
  if (lead == 0x81) return kRow1Ascii[trail];
  if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) return static_cast<char>('0' + (trail - 0x4F));
    if (trail >= 0x60 && trail <= 0x79) return static_cast<char>('A' + (trail - 0x60));
    if (trail >= 0x81 && trail <= 0x9A) return static_cast<char>('a' + (trail - 0x81));
    return 0;
  }
  // The quotation marks live among the extension characters, twice.
  if (lead == 0xFA || lead == 0xEE) {
    const unsigned char apostrophe = lead == 0xFA ? 0x56 : 0xFB;
    if (trail == apostrophe) return '\'';
    if (trail == apostrophe + 1) return '"';
  }
  return 0;
}

// Whether a double-byte character may be changed by the options: "　"
// under ZSpace, a full-width form of ASCII under Width.
inline bool MayFold(unsigned char lead, unsigned char trail, const TCompareOptions& o) {
  if (lead == 0x81) return (o.ZSpace && trail == 0x40) || (o.Width && kRow1Ascii[trail] != 0);
  return o.Width && (lead == 0x82 || lead == 0xEE || lead == 0xFA) && FullWidthAscii(lead, trail) != 0;
}

// Full-width forms of the half-width bytes 0xA1 to 0xDF.
constexpr std::uint16_t kHalfKana[] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342,  // ｡｢｣､･ｦｧｨ
    0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B,  // ｩｪｫｬｭｮｯｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E,  // ｱｲｳｴｵｶｷｸ
    0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E,  // ｹｺｻｼｽｾｿﾀ
    0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C,  // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E,  // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389, 0x838A,  // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,          // ﾙﾚﾛﾜﾝﾞﾟ
};
constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

// The full-width form of the half-width character `c`, joined with the mark
// `next` when they make one kana; `used` is 1 or 2 bytes.
std::uint16_t FullWidthKana(unsigned char c, unsigned char next, std::size_t& used) {
  std::uint16_t code = kHalfKana[c - 0xA1];
  used = 1;
  const bool hRow = c >= 0xCA && c <= 0xCE;                   // ﾊ to ﾎ
  const bool voiceable = (c >= 0xB6 && c <= 0xC4) || hRow;    // ｶ to ﾄ, ﾊ to ﾎ
  if (next == kVoicedMark && (voiceable || c == 0xB3)) {
    code = c == 0xB3 ? 0x8394 : static_cast<std::uint16_t>(code + 1);  // ｳﾞ is ヴ
    used = 2;
  } else if (next == kSemiVoicedMark && hRow) {
    code = static_cast<std::uint16_t>(code + 2);
    used = 2;
  }
  return code;
}

// Eight bytes at a time. All three work on ASCII bytes, where no byte
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

// a-z to A-Z.
constexpr std::uint64_t UpperAscii(std::uint64_t x) { return x - (LowerBits(x) >> 2); }

static_assert(WhiteBits(0x2120004142200921ULL) == 0x0080800000808000ULL);
static_assert(LowerBits(0x607A617B405A4121ULL) == 0x0080800000000000ULL);
static_assert(UpperAscii(0x607A617B405A4121ULL) == 0x605A417B405A4121ULL);

// The key of a line that folding leaves as it is, found without writing:
// a line of ASCII only, without lower-case letters when case is ignored and
// without white space inside when all white space is. No for other lines.
// (The key is filled in place: a returned struct read back at once stalls
// on the stores that made it.)
enum class TPlain : std::uint8_t { No, LeftOut, Key };

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
  if (o.Text && lower) return TPlain::No;
  if (lead == n) end = n;  // nothing but white space
  if (o.AllSpace && whiteCount != lead + (n - end)) return TPlain::No;
  if (lead == n && (o.Blank || o.TrimLR || o.TrimR)) return TPlain::LeftOut;
  key.Verbatim = true;
  key.From = o.AllSpace || o.TrimLR ? lead : 0;
  key.Length = (o.AllSpace || o.TrimLR || o.TrimR ? end : n) - key.From;
  return TPlain::Key;
}

}  // namespace

// Copies s[from, to) to w. Short runs, the usual ones, go eight bytes at a
// time, which may copy a few more bytes than asked where the line and the
// output have room for them (the output has room for two bytes a byte).
inline void CopyRun(char* w, const unsigned char* s, std::size_t from, std::size_t to, std::size_t n) {
  if (to + 8 > n) {
    std::memcpy(w, s + from, to - from);
    return;
  }
  for (std::size_t i = from; i < to; i += 8, w += 8) std::memcpy(w, s + i, 8);
}

// The double-byte characters that no option of a set changes, one bit for
// every lead and trail byte: a run of kanji and kana is found one look-up a
// character.
class TQuietPairs {
 public:
  template <class TMayFold>
  explicit TQuietPairs(TMayFold mayFold) {
    for (unsigned lead = 0; lead < 256; ++lead)
      for (unsigned trail = 0; trail < 256; ++trail)
        if (IsSjisLead(static_cast<std::uint8_t>(lead)) && IsTrail(static_cast<unsigned char>(trail)) &&
            !mayFold(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)))
          bits_[lead * 4 + trail / 64] |= std::uint64_t{1} << (trail % 64);
  }
  bool Has(unsigned char lead, unsigned char trail) const { return (bits_[lead * 4u + trail / 64u] >> (trail % 64u)) & 1; }

 private:
  std::uint64_t bits_[256 * 4] = {};
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

// FoldKey for lines that PlainAsciiKey does not answer, with the options
// that change characters fixed when it is compiled.
template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
std::optional<TFoldedKey> FoldCharsAs(std::string_view line, const TCompareOptions& o, char* out) {
  const TQuietPairs& quiet = QuietPairs<kWidth, kZSpace>();
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  char* w = out;
  char* firstSolid = nullptr;  // where the first character that is not white space went
  char* solidEnd = out;        // end of the last one
  std::size_t firstSolidFrom = 0;  // its offset in the line
  // Whether the bytes written differ from the bytes they came from: a
  // folded character, or white space dropped between two written ones.
  bool changed = false;
  bool dropped = false;  // white space dropped since the first written byte
  const auto written = [&](char* at, std::size_t from) {
    if (!firstSolid) {
      firstSolid = at;
      firstSolidFrom = from;
    } else if (dropped) {
      changed = true;
    }
    solidEnd = w;
  };
  const auto upper = [&](unsigned char c) {
    const char u = static_cast<char>(kText && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    changed |= u != static_cast<char>(c);
    return u;
  };
  const auto drop = [&] { dropped = firstSolid != nullptr; };
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    char* const at = w;
    const std::size_t from = i;
    if (c < 0x80) {
#if defined(__SSE2__)
      if (!kText && i + 16 <= n) {
        // The same runs as below, up to sixteen bytes in one step.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
        const auto white = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(0x21)))) & ~high;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);  // only the run's bytes count
        if (white & 1) {
          const auto run = static_cast<std::size_t>(std::countr_zero(~white));
          if (kAllSpace) drop();
          else w += run;
          i += run;
          continue;
        }
        const auto run = static_cast<std::size_t>(std::countr_zero(high | white | 0x10000u));
        w += run;
        written(at, i);
        i += run;
        continue;
      }
#endif
      std::uint64_t x;
      if (i + 8 <= n) {
        std::memcpy(&x, s + i, 8);
        // The run of white space, or of other ASCII, that starts here,
        // up to eight bytes in one step. WhiteBits marks some bytes of
        // 0x80 and above too: only bytes below 0x80 are white space.
        const std::uint64_t white = WhiteBits(x) & ~x;
        if (white & 0x80) {
          const auto run = static_cast<std::size_t>(std::countr_zero(~white & kHighBits)) / 8;
          if (kAllSpace) {
            drop();
          } else {
            std::memcpy(w, &x, 8);  // only `run` of them count
            w += run;
          }
          i += run;
          continue;
        }
        // Upper-casing a byte of 0x80 or more may carry into the bytes
        // after it, never into those before: the run's bytes are right.
        const auto run = static_cast<std::size_t>(std::countr_zero((x & kHighBits) | white)) / 8;
        if (kText) {
          const std::uint64_t u = UpperAscii(x);
          const std::uint64_t inRun = run == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * run)) - 1;
          changed |= ((u ^ x) & inRun) != 0;
          x = u;
        }
        std::memcpy(w, &x, 8);  // only `run` of them count
        w += run;
        written(at, i);
        i += run;
        continue;
      }
      ++i;
      if (IsCompareSpace(c)) {
        if (kAllSpace) drop();
        else *w++ = static_cast<char>(c);
        continue;
      }
      *w++ = upper(c);
      written(at, from);
      continue;
    }
    if (IsSjisLead(c) && i + 1 < n && IsTrail(s[i + 1])) {
      // Kanji and kana mostly come in runs that no option changes: copied as they are.
      std::size_t end = i;
      while (end + 1 < n && quiet.Has(s[end], s[end + 1])) end += 2;
      if (end > i) {
        CopyRun(w, s, i, end, n);
        w += end - i;
        written(at, from);
        i = end;
        continue;
      }
      const unsigned char t = s[i + 1];
      i += 2;
      if (kZSpace && c == 0x81 && t == 0x40) {  // "　"
        if (kAllSpace) {
          drop();
        } else {
          *w++ = static_cast<char>(c);
          *w++ = static_cast<char>(t);
        }
        continue;
      }
      if (const char ascii = kWidth ? FullWidthAscii(c, t) : 0) {
        *w++ = upper(static_cast<unsigned char>(ascii));
        changed = true;
      } else {
        *w++ = static_cast<char>(c);
        *w++ = static_cast<char>(t);
      }
      written(at, from);
      continue;
    }
    if (kWidth && c >= 0xA1 && c <= 0xDF) {
      std::size_t used = 1;
      const std::uint16_t code = FullWidthKana(c, i + 1 < n ? s[i + 1] : 0, used);
      i += used;
      *w++ = static_cast<char>(code >> 8);
      *w++ = static_cast<char>(code & 0xFF);
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

[[gnu::noinline]] static std::optional<TFoldedKey> FoldChars(std::string_view line, const TCompareOptions& o, char* out) {
  using TFold = std::optional<TFoldedKey> (*)(std::string_view, const TCompareOptions&, char*);
  static constexpr TFold kFolds[16] = {
      FoldCharsAs<false, false, false, false>, FoldCharsAs<true, false, false, false>,
      FoldCharsAs<false, true, false, false>,  FoldCharsAs<true, true, false, false>,
      FoldCharsAs<false, false, true, false>,  FoldCharsAs<true, false, true, false>,
      FoldCharsAs<false, true, true, false>,   FoldCharsAs<true, true, true, false>,
      FoldCharsAs<false, false, false, true>,  FoldCharsAs<true, false, false, true>,
      FoldCharsAs<false, true, false, true>,   FoldCharsAs<true, true, false, true>,
      FoldCharsAs<false, false, true, true>,   FoldCharsAs<true, false, true, true>,
      FoldCharsAs<false, true, true, true>,    FoldCharsAs<true, true, true, true>,
  };
  return kFolds[int{o.Width} | int{o.ZSpace} << 1 | int{o.AllSpace} << 2 | int{o.Text} << 3](line, o, out);
}

std::optional<TFoldedKey> FoldKey(std::string_view line, const TCompareOptions& o, char* out) {
  // A line that starts with a byte of 0x80 or more is not plain ASCII.
  if (!line.empty() && static_cast<unsigned char>(line[0]) >= 0x80) return FoldChars(line, o, out);
  TFoldedKey key;
  switch (PlainAsciiKey(line, o, key)) {
    case TPlain::Key: return key;
    case TPlain::LeftOut: return std::nullopt;
    case TPlain::No: break;
  }
  return FoldChars(line, o, out);
}

std::uint16_t FoldedCharCode(std::string_view line, std::size_t pos, std::size_t& length, const TCompareOptions& o) {
  const auto c = static_cast<unsigned char>(line[pos]);
  const auto upper = [&](unsigned char b) {
    return static_cast<std::uint16_t>(o.Text && b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
  };
  if (length == 2) {
    const auto t = static_cast<unsigned char>(line[pos + 1]);
    if (const char ascii = o.Width && IsTrail(t) ? FullWidthAscii(c, t) : 0) return upper(static_cast<unsigned char>(ascii));
    return static_cast<std::uint16_t>(c << 8 | t);
  }
  if (o.Width && c >= 0xA1 && c <= 0xDF) {
    const unsigned char next = pos + 1 < line.size() ? static_cast<unsigned char>(line[pos + 1]) : 0;
    return FullWidthKana(c, next, length);
  }
  return upper(c);
}

std::optional<std::string> KeyOf(std::string_view line, const TCompareOptions& options) {
  if (FoldsKeys(options)) {
    std::string out(2 * line.size(), '\0');
    const std::optional<TFoldedKey> key = FoldKey(line, options, out.data());
    if (!key) return std::nullopt;
    if (key->Verbatim) return std::string(line.substr(key->From, key->Length));
    out.resize(key->Length);
    return out;
  }
  std::string upper(line);
  UpperSjisInPlace(upper);
  const std::optional<std::string_view> key = LineKey(line, upper, options);
  if (!key) return std::nullopt;
  return std::string(*key);
}

// ---- the keys of a text -------------------------------------------------------------------

void TTextKeys::Prepare(const TLineList& lines, const TCompareOptions& options) {
  lines_ = &lines;
  options_ = &options;
  folded_ = FoldsKeys(options);
  bytes_.clear();
  if (!folded_ && options.Text) {
    // The same bytes at the same offsets, each line upper-cased.
    bytes_.assign(lines.Bytes());
    for (std::size_t i = 0; i < lines.Count(); ++i)
      UpperSjisInPlace(std::span<char>(bytes_.data() + lines.Offset(i), lines[i].size()));
  }
}

std::optional<std::string_view> TTextKeys::Folded(std::string_view line, std::string& scratch) const {
  if (scratch.size() < 2 * line.size()) scratch.resize(2 * line.size());
  const std::optional<TFoldedKey> key = FoldKey(line, *options_, scratch.data());
  if (!key) return std::nullopt;
  return key->Verbatim ? line.substr(key->From, key->Length) : std::string_view(scratch.data(), key->Length);
}

}  // namespace rd
