#include "compare/line_key.h"

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

}  // namespace rd
