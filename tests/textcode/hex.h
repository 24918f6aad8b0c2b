// Test helpers: bytes written as hex text ("82 A0 41"), and back for messages.
#pragma once

#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

namespace rd::test {

inline std::string Hex(std::string_view text) {
  std::string bytes;
  int nibbles = 0;
  unsigned value = 0;
  for (char ch : text) {
    if (ch == ' ') continue;
    const unsigned d = ch <= '9' ? unsigned(ch - '0') : unsigned((ch | 0x20) - 'a' + 10);
    assert(d < 16 && "not a hex digit");
    value = value << 4 | d;
    if (++nibbles == 2) {
      bytes.push_back(static_cast<char>(value));
      nibbles = 0;
      value = 0;
    }
  }
  assert(nibbles == 0 && "odd number of hex digits");
  return bytes;
}

inline std::string ToHex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (!text.empty()) text.push_back(' ');
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 15]);
  }
  return text;
}

}  // namespace rd::test
