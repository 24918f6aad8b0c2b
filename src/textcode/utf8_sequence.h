// Decoding of one UTF-8 sequence, with the Unicode practice for ill-formed
// input: each maximal subpart of an ill-formed sequence is one U+FFFD.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rd {

inline constexpr char32_t kReplacement = 0xFFFD;

struct TUtf8Step {
  char32_t codePoint;  // kReplacement when ill-formed
  std::uint8_t length;  // bytes consumed, at least 1
  bool wellFormed;
};

// Decodes the sequence at p (n >= 1 bytes available). An ill-formed sequence
// consumes its lead and the continuation bytes that were still acceptable,
// so "E3 81" is one replacement and "FF FE" is two.
inline TUtf8Step DecodeUtf8(const std::uint8_t* p, std::size_t n) {
  const std::uint8_t b0 = p[0];
  const auto cont = [](std::uint8_t b) { return b >= 0x80 && b <= 0xBF; };
  if (b0 < 0x80) return {b0, 1, true};
  if (b0 < 0xC2) return {kReplacement, 1, false};
  if (b0 < 0xE0) {
    if (n < 2 || !cont(p[1])) return {kReplacement, 1, false};
    return {char32_t((b0 & 0x1Fu) << 6 | (p[1] & 0x3Fu)), 2, true};
  }
  if (b0 < 0xF0) {
    const std::uint8_t lo = b0 == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
    const std::uint8_t hi = b0 == 0xED ? 0x9F : 0xBF;  // no surrogates
    if (n < 2 || p[1] < lo || p[1] > hi) return {kReplacement, 1, false};
    if (n < 3 || !cont(p[2])) return {kReplacement, 2, false};
    return {char32_t((b0 & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu)), 3, true};
  }
  if (b0 < 0xF5) {
    const std::uint8_t lo = b0 == 0xF0 ? 0x90 : 0x80;  // no overlong forms
    const std::uint8_t hi = b0 == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    if (n < 2 || p[1] < lo || p[1] > hi) return {kReplacement, 1, false};
    if (n < 3 || !cont(p[2])) return {kReplacement, 2, false};
    if (n < 4 || !cont(p[3])) return {kReplacement, 3, false};
    return {char32_t((b0 & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu)), 4,
            true};
  }
  return {kReplacement, 1, false};
}

// Copies eight bytes from p to out when all are below 0x80; false otherwise.
// Lines are mostly short runs of ASCII between other characters, where a
// fixed eight-byte copy beats a call to memcpy.
inline bool CopyAscii8(const std::uint8_t* p, char* out) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  if (word & 0x8080808080808080ull) return false;
  std::memcpy(out, &word, 8);
  return true;
}

// Number of leading bytes below 0x80, eight at a time where possible.
inline std::size_t AsciiRun(const std::uint8_t* p, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080ull) break;
  }
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

}  // namespace rd
