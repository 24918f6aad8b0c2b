// Byte classes of Shift_JIS (code page 932) text as the editor sees them.
//
// The editor holds Shift_JIS byte strings: a lead byte and the byte after it
// form one double-byte character of two display columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rd::sjis {

constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes that end a word: controls, space, ASCII punctuation and a few
// high single bytes. Letters, digits and the underscore are not among them.
constexpr bool IsDelimiter(unsigned char b) {
  return b <= 47 || (b >= 58 && b <= 64) || (b >= 91 && b <= 94) || b == 96 || (b >= 123 && b <= 128) ||
         (b >= 160 && b <= 165) || b >= 253;
}

// Length in bytes of the character that starts at `pos` (1 or 2; a lead
// byte at the very end counts as one byte).
inline std::size_t CharLength(std::string_view s, std::size_t pos) {
  return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// ASCII letters upper-cased; trail bytes of double-byte characters are
// left alone even when they look like letters.
std::string UpperCase(std::string_view s);

// True when `ch` (one whole character) occurs as a whole character in `set`.
bool ContainsChar(std::string_view set, std::string_view ch);

}  // namespace rd::sjis
