// Shift_JIS places the 94 x 94 JIS rows in pairs: lead byte = row pair,
// trail byte = cell, shifted past 7F for odd rows. EUC-JP is JIS with bit 7
// set on both bytes, and 8E before a half-width katakana byte.
#include "textcode/jis_convert.h"

#include "textcode/convert_into.h"

namespace rd {

TBytePair JisToSjis(std::uint8_t j1, std::uint8_t j2) {
  const auto first = static_cast<std::uint8_t>(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
  std::uint8_t offset = 0x7E;
  if (j1 & 1) offset = j2 <= 0x5F ? 0x1F : 0x20;
  return {first, static_cast<std::uint8_t>(j2 + offset)};
}

std::optional<TBytePair> SjisToJis(std::uint8_t s1, std::uint8_t s2) {
  const int base = s1 >= 0xA0 ? 0xB0 : 0x70;
  if (s1 < base) return std::nullopt;
  int j1 = (s1 - base) * 2;
  int j2 = 0;
  if (s2 < 0x9F) {
    j1 -= 1;
    j2 = s2 <= 0x7F ? s2 - 0x1F : s2 - 0x20;
  } else {
    j2 = s2 - 0x7E;
  }
  if (j2 < 0) return std::nullopt;
  return TBytePair{static_cast<std::uint8_t>(j1), static_cast<std::uint8_t>(j2)};
}

char* EucToSjisInto(std::string_view line, char* out) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(line.data());
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = p[i];
    if (b <= 0x80 || b == 0xFF) {
      *out++ = static_cast<char>(b);
      ++i;
      continue;
    }
    if (i + 1 >= n) return nullptr;
    if (b == 0x8E) {
      *out++ = static_cast<char>(p[i + 1]);  // half-width katakana
    } else {
      const TBytePair s = JisToSjis(b & 0x7F, p[i + 1] & 0x7F);
      *out++ = static_cast<char>(s.first);
      *out++ = static_cast<char>(s.second);
    }
    i += 2;
  }
  return out;
}

char* SjisToEucInto(std::string_view line, char* out) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(line.data());
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n) {
    const std::uint8_t b = p[i];
    if (b <= 0x7F) {
      *out++ = static_cast<char>(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      *out++ = static_cast<char>(0x8E);
      *out++ = static_cast<char>(b);
      ++i;
    } else {
      if (i + 1 >= n) return nullptr;
      const std::optional<TBytePair> j = SjisToJis(b, p[i + 1]);
      if (!j) return nullptr;
      *out++ = static_cast<char>(j->first | 0x80);
      *out++ = static_cast<char>(j->second | 0x80);
      i += 2;
    }
  }
  return out;
}

std::optional<std::string> EucToSjis(std::string_view line) { return ConvertToString(line, 1, EucToSjisInto); }

std::optional<std::string> SjisToEuc(std::string_view line) { return ConvertToString(line, 2, SjisToEucInto); }

}  // namespace rd
