// The fold 64 bytes at a time, with AVX-512: which bytes start a double-byte
// character, which characters fold and which are white space are all told
// by masks of 64 bits, and the bytes kept are packed together by one
// instruction. No branch depends on the characters, which is what makes a
// line that mixes kanji, "　" and ASCII words cheap.
//
// Where a double-byte character starts: a byte that may be a lead byte and
// follows one that may not always starts a character, and so does every
// other byte of a run of such bytes from there on. A block always starts
// at a character; a character of two bytes that its last byte starts goes
// to the next block.
//
// A half-width kana becomes two bytes, or two with the mark after it: a
// block with k kana takes 64 - k bytes, at least 32, so that its key still
// fits in 64. A line with a lead byte without a valid trail byte, or with
// one of the rare extension characters that fold, is handed to the fold of
// fold_chars.cpp.
#include "compare/fold_chars.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "compare/width_fold.h"

#define RD_WIDE [[gnu::target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")]]

namespace rd {

namespace {

using TMask = std::uint64_t;

constexpr TMask kEven = 0x5555555555555555ULL;  // bytes 0, 2, 4 ... of a block

// The ASCII form of the character 0x81 t for t = 0x40 + i, 0 for none.
constexpr std::array<char, 128> kRow1 = [] {
  std::array<char, 128> a{};
  for (unsigned i = 0; i < 128; ++i) a[i] = FullWidthAscii(0x81, static_cast<unsigned char>(0x40 + i));
  return a;
}();

// The first and second bytes of the full-width form of the half-width
// character 0xA1 + i.
constexpr std::array<std::array<char, 64>, 2> kKana = [] {
  std::array<std::array<char, 64>, 2> a{};
  for (unsigned i = 0; i < 63; ++i) {
    std::size_t used = 0;
    const std::uint16_t code = FullWidthKana(static_cast<unsigned char>(0xA1 + i), 0, used);
    a[0][i] = static_cast<char>(code >> 8);
    a[1][i] = static_cast<char>(code & 0xFF);
  }
  return a;
}();

// i - 1 for byte i: a permutation that moves every byte one place up.
constexpr std::array<char, 64> kOneUp = [] {
  std::array<char, 64> a{};
  for (unsigned i = 1; i < 64; ++i) a[i] = static_cast<char>(i - 1);
  return a;
}();

// 64 times the byte c, read from memory where it is used: made in a
// register instead, as the compiler would for a constant, each costs two
// instructions at every call, which is every line. (The empty asm hides
// what the table holds.)
alignas(64) constexpr std::array<std::array<unsigned char, 64>, 256> kSplats = [] {
  std::array<std::array<unsigned char, 64>, 256> a{};
  for (unsigned c = 0; c < 256; ++c) a[c].fill(static_cast<unsigned char>(c));
  return a;
}();
RD_WIDE inline __m512i Bytes(unsigned char c) {
  const auto* splats = kSplats.data();
  __asm__("" : "+r"(splats));
  return _mm512_load_si512(splats[c].data());
}

RD_WIDE inline __m512i Table(const char* bytes) { return _mm512_loadu_si512(bytes); }

// The bytes of v from `low` to `high`, both included.
RD_WIDE inline TMask InRange(__m512i v, unsigned char low, unsigned char high) {
  return _mm512_cmple_epu8_mask(_mm512_sub_epi8(v, Bytes(low)), Bytes(static_cast<unsigned char>(high - low)));
}

RD_WIDE inline TMask Equal(__m512i v, unsigned char c) { return _mm512_cmpeq_epi8_mask(v, Bytes(c)); }

// The first `count` bits (count may be 64 or more).
RD_WIDE inline TMask FirstBits(std::size_t count) {
  return count >= 64 ? ~TMask{0} : _bzhi_u64(~TMask{0}, static_cast<unsigned>(count));
}

RD_WIDE inline std::size_t Count(TMask m) { return static_cast<std::size_t>(_mm_popcnt_u64(m)); }

// How many bytes of the key a block's bytes before `bit` make: those kept,
// and one more for each kana that grows.
RD_WIDE inline std::size_t KeyBytesBefore(TMask kept, TMask grown, unsigned bit) {
  return Count(_bzhi_u64(kept, bit)) + Count(_bzhi_u64(grown, bit));
}

// The bytes that start a double-byte character, in a block that starts at
// a character: runs of bytes that may be lead bytes, from their first byte
// on, every other byte.
RD_WIDE inline TMask LeadBytes(TMask mayLead) {
  const TMask starts = mayLead & ~(mayLead << 1);
  // Adding a run's first bit clears the run: the runs that start at an even byte.
  const TMask evenRuns = mayLead & ~(mayLead + (starts & kEven));
  return (evenRuns & kEven) | (mayLead & ~evenRuns & ~kEven);
}

// The half-width kana of v that the mark in `next` joins: "ﾞ" after ｶ to ﾄ,
// ﾊ to ﾎ and ｳ, "ﾟ" after ﾊ to ﾎ.
RD_WIDE inline TMask Voiced(__m512i v, __m512i next) {
  return Equal(next, kVoicedMark) & (InRange(v, 0xB6, 0xC4) | InRange(v, 0xCA, 0xCE) | Equal(v, 0xB3));
}
RD_WIDE inline TMask SemiVoiced(__m512i v, __m512i next) {
  return Equal(next, kSemiVoicedMark) & InRange(v, 0xCA, 0xCE);
}

// Where `count` bytes kept go in a key in which the i-th is followed by a
// byte of its own when bit i of `grows` is set (at most 64 in all): each
// byte kept takes an even place of a sequence of pairs, its second byte the
// odd place after it, and closing up the places without a byte leaves each
// where it goes. Two halves, as 64 bytes make 128 places.
RD_WIDE inline TMask PlacesOfKept(std::size_t count, TMask grows) {
  const std::size_t low = std::min<std::size_t>(count, 32);
  const TMask lowPlaces = (FirstBits(2 * low) & kEven) | _pdep_u64(grows, kEven) << 1;
  const TMask places = _pext_u64(kEven, lowPlaces);
  if (count <= 32) return places;
  const TMask highPlaces = (FirstBits(2 * (count - 32)) & kEven) | _pdep_u64(grows >> 32, kEven) << 1;
  return places | _pext_u64(kEven, highPlaces) << Count(lowPlaces);
}

// The kana of a block in full width: `folded` gets each one's first byte,
// and a joined mark the second byte of its kana; returns the second bytes
// of the kana that grow by a byte, each at its kana.
RD_WIDE inline __m512i FoldKana(__m512i v, TMask kana, TMask voiced, TMask semiVoiced,
                                 __m512i& folded) {
  const __m512i index = _mm512_sub_epi8(v, Bytes(0xA1));
  __m512i second = _mm512_maskz_permutexvar_epi8(kana, index, Table(kKana[1].data()));
  second = _mm512_mask_add_epi8(second, voiced, second, Bytes(1));
  second = _mm512_mask_add_epi8(second, semiVoiced, second, Bytes(2));
  second = _mm512_mask_mov_epi8(second, voiced & Equal(v, 0xB3), Bytes(0x94));  // ｳﾞ is ヴ
  const TMask marks = (voiced | semiVoiced) << 1;
  folded = _mm512_mask_permutexvar_epi8(folded, kana & ~marks, index, Table(kKana[0].data()));
  folded = _mm512_mask_permutexvar_epi8(folded, marks, Table(kOneUp.data()), second);
  return second;
}

template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
RD_WIDE std::optional<TFoldedKey> FoldWideAs(std::string_view line, const TCompareOptions& o, char* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  char* w = out;
  std::size_t firstSolid = SIZE_MAX;  // where the first character that is not white space went in `out`
  std::size_t solidEnd = 0;           // the end of the last one there
  for (std::size_t p = 0; p < n;) {
    TMask valid = FirstBits(n - p);
    const TMask nextValid = FirstBits(n - p - 1);
    const __m512i v = _mm512_maskz_loadu_epi8(valid, s + p);
    const __m512i next = _mm512_maskz_loadu_epi8(nextValid, s + p + 1);  // the byte after each
    TMask leads = LeadBytes(InRange(v, 0x81, 0x9F) | InRange(v, 0xE0, 0xFC));
    TMask kana = 0;
    TMask voiced = 0;
    TMask semiVoiced = 0;
    std::size_t size = 64;
    if (kWidth) {
      kana = valid & ~leads & ~(leads << 1) & InRange(v, 0xA1, 0xDF);
      if (kana) {
        voiced = kana & nextValid & Voiced(v, next);
        semiVoiced = kana & nextValid & SemiVoiced(v, next);
        size = std::max<std::size_t>(32, 64 - Count(kana));
      }
    }
    if ((((leads | voiced | semiVoiced) >> (size - 1)) & 1) != 0) --size;  // that character goes to the next block
    valid &= FirstBits(size);
    leads &= valid;
    kana &= valid;
    voiced &= valid;
    semiVoiced &= valid;

    const TMask trails = leads << 1;
    const TMask singles = valid & ~leads & ~trails;
    TMask odd = leads & ~((InRange(next, 0x40, 0x7E) | InRange(next, 0x80, 0xFC)) & nextValid);
    if (kWidth) odd |= leads & (Equal(v, 0xEE) | Equal(v, 0xFA));
    if (odd) return CharFoldKeyFor(o)(line, o, out);

    __m512i folded = v;
    TMask lost = 0;   // trail bytes of characters folded to one byte
    TMask grown = 0;  // kana that become two bytes
    __m512i seconds = _mm512_setzero_si512();  // their second bytes
    if (kWidth) {
      const TMask row1 = leads & Equal(v, 0x81) & InRange(next, 0x40, 0xBF);
      const __m512i ascii = _mm512_permutex2var_epi8(Table(kRow1.data()), _mm512_sub_epi8(next, Bytes(0x40)),
                                                     Table(kRow1.data() + 64));
      const TMask symbols = row1 & _mm512_test_epi8_mask(ascii, ascii);
      const TMask row2 = leads & Equal(v, 0x82);
      const TMask digitsAndCapitals = row2 & (InRange(next, 0x4F, 0x58) | InRange(next, 0x60, 0x79));
      const TMask small = row2 & InRange(next, 0x81, 0x9A);
      folded = _mm512_mask_mov_epi8(folded, symbols, ascii);
      folded = _mm512_mask_sub_epi8(folded, digitsAndCapitals, next, Bytes(0x4F - '0'));
      folded = _mm512_mask_sub_epi8(folded, small, next, Bytes(0x81 - (kText ? 'A' : 'a')));
      lost = (symbols | digitsAndCapitals | small) << 1;
      if (kana) {
        seconds = FoldKana(v, kana, voiced, semiVoiced, folded);
        grown = kana & ~voiced & ~semiVoiced & ~((voiced | semiVoiced) << 1);
      }
    }
    if (kText) {
      const TMask lower = singles & InRange(v, 'a', 'z');
      folded = _mm512_mask_sub_epi8(folded, lower, folded, Bytes(0x20));
    }
    TMask white = singles & _mm512_cmple_epu8_mask(v, Bytes(0x20));
    if (kZSpace) {
      const TMask blanks = leads & Equal(v, 0x81) & Equal(next, 0x40);
      white |= blanks | blanks << 1;
    }
    const TMask kept = valid & ~lost & ~(kAllSpace ? white : 0);
    // Where the key's first and last characters that are not white space
    // went, for the trimming options; with all white space left out, the
    // key has no other characters.
    const auto at = static_cast<std::size_t>(w - out);
    const TMask solid = kept & ~white;
    if (!kAllSpace && solid) {
      if (firstSolid == SIZE_MAX) firstSolid = at + KeyBytesBefore(kept, grown, static_cast<unsigned>(__builtin_ctzll(solid)));
      solidEnd = at + KeyBytesBefore(kept, grown, static_cast<unsigned>(64 - __builtin_clzll(solid)));
    }
    __m512i key = _mm512_maskz_compress_epi8(kept, folded);
    if (grown) {
      const TMask firsts = PlacesOfKept(Count(kept), _pext_u64(grown, kept));
      key = _mm512_maskz_expand_epi8(firsts, key);
      key = _mm512_mask_expand_epi8(key, ~firsts, _mm512_maskz_compress_epi8(grown, seconds));
    }
    _mm512_storeu_si512(w, key);  // the slack takes what is past the key
    w += Count(kept) + Count(grown);
    p += size;
  }
  if (kAllSpace && w > out) {
    firstSolid = 0;
    solidEnd = static_cast<std::size_t>(w - out);
  }
  if (firstSolid == SIZE_MAX && (o.Blank || o.TrimLR || o.TrimR)) return std::nullopt;
  if (firstSolid == SIZE_MAX) firstSolid = solidEnd = 0;
  if (o.TrimLR) {
    if (firstSolid > 0) std::memmove(out, out + firstSolid, solidEnd - firstSolid);
    return TFoldedKey{solidEnd - firstSolid, 0, false};
  }
  return TFoldedKey{static_cast<std::size_t>((o.TrimR ? out + solidEnd : w) - out), 0, false};
}

template <bool kWidth, bool kZSpace, bool kAllSpace, bool kText>
struct TWideFold {
  static constexpr TFoldKey Key = FoldWideAs<kWidth, kZSpace, kAllSpace, kText>;
};

}  // namespace

TFoldKey WideFoldKeyFor(const TCompareOptions& o) {
  static const bool kCan = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
                           __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                           __builtin_cpu_supports("popcnt");
  return kCan ? FoldMadeFor<TWideFold>(o) : nullptr;
}

}  // namespace rd
