// Choice of the reading code and the strict UTF-8 check.
#include "textcode/text_code.h"

#include <cstring>

#include "textcode/utf8_sequence.h"

namespace rd {

TextCode ChooseTextCode(DetectedCode detected) {
  switch (detected) {
    case DetectedCode::Euc:
    case DetectedCode::EucOrSjis:
      return TextCode::Euc;
    case DetectedCode::Utf8:
      return TextCode::Utf8;
    default:
      return TextCode::Sjis;
  }
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    i += AsciiRun(p + i, n - i);
    if (i == n) break;
    const TUtf8Step step = DecodeUtf8(p + i, n - i);
    if (!step.wellFormed) return false;
    i += step.length;
  }
  return true;
}

std::string AsciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

std::string_view TrimBlanks(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = '?';
  return text;
}

}  // namespace rd
