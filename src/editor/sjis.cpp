// Shift_JIS helpers shared by the editor's layout, tokenizer and search.
#include "editor/sjis.h"

namespace rd::sjis {

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size();) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b) && i + 1 < out.size()) {
      i += 2;
      continue;
    }
    if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 32);
    ++i;
  }
  return out;
}

bool ContainsChar(std::string_view set, std::string_view ch) {
  if (ch.empty()) return false;
  for (std::size_t i = 0; i < set.size();) {
    const std::size_t len = CharLength(set, i);
    if (set.substr(i, len) == ch) return true;
    i += len;
  }
  return false;
}

}  // namespace rd::sjis
