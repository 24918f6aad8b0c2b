#include "compare/line_key.h"

#include "compare/fold_chars.h"
#include "compare/width_fold.h"

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

std::optional<TFoldedKey> FoldKey(std::string_view line, const TCompareOptions& o, char* out) {
  return FoldKeyFor(o)(line, o, out);
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
  if (o.Width && IsHalfWidthKana(c)) {
    const unsigned char next = pos + 1 < line.size() ? static_cast<unsigned char>(line[pos + 1]) : 0;
    return FullWidthKana(c, next, length);
  }
  return upper(c);
}

std::optional<std::string> FoldedKeyOf(TFoldKey fold, std::string_view line, const TCompareOptions& options) {
  std::string out(2 * line.size() + kFoldSlack, '\0');
  const std::optional<TFoldedKey> key = fold(line, options, out.data());
  if (!key) return std::nullopt;
  if (key->Verbatim) return std::string(line.substr(key->From, key->Length));
  out.resize(key->Length);
  return out;
}

std::optional<std::string> KeyOf(std::string_view line, const TCompareOptions& options) {
  if (FoldsKeys(options)) return FoldedKeyOf(FoldKeyFor(options), line, options);
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
  fold_ = FoldKeyFor(options);
  bytes_.clear();
  if (!folded_ && options.Text) {
    // The same bytes at the same offsets, each line upper-cased.
    bytes_.assign(lines.Bytes());
    for (std::size_t i = 0; i < lines.Count(); ++i)
      UpperSjisInPlace(std::span<char>(bytes_.data() + lines.Offset(i), lines[i].size()));
  }
}

std::optional<std::string_view> TTextKeys::Folded(std::string_view line, std::string& scratch) const {
  if (scratch.size() < 2 * line.size() + kFoldSlack) scratch.resize(2 * line.size() + kFoldSlack);
  const std::optional<TFoldedKey> key = fold_(line, *options_, scratch.data());
  if (!key) return std::nullopt;
  return key->Verbatim ? line.substr(key->From, key->Length) : std::string_view(scratch.data(), key->Length);
}

}  // namespace rd
