#include "compare/line_key.h"

#include <algorithm>
#include <array>
#include <cstring>

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

}  // namespace

std::optional<std::size_t> FoldKey(std::string_view line, const TCompareOptions& o, char* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  char* w = out;
  char* firstSolid = nullptr;  // where the first character that is not white space went
  char* solidEnd = out;        // end of the last one
  const auto solid = [&](char* from) {
    if (!firstSolid) firstSolid = from;
    solidEnd = w;
  };
  const auto upper = [&](unsigned char c) {
    return static_cast<char>(o.Text && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  };
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    char* const at = w;
    if (c < 0x80) {
      ++i;
      if (IsCompareSpace(c)) {
        if (!o.AllSpace) *w++ = static_cast<char>(c);
        continue;
      }
      *w++ = upper(c);
      solid(at);
      continue;
    }
    if (IsSjisLead(c) && i + 1 < n && IsTrail(s[i + 1])) {
      const unsigned char t = s[i + 1];
      i += 2;
      if (o.ZSpace && c == 0x81 && t == 0x40) {  // "　"
        if (!o.AllSpace) {
          *w++ = static_cast<char>(c);
          *w++ = static_cast<char>(t);
        }
        continue;
      }
      if (const char ascii = o.Width ? FullWidthAscii(c, t) : 0) {
        *w++ = upper(static_cast<unsigned char>(ascii));
      } else {
        *w++ = static_cast<char>(c);
        *w++ = static_cast<char>(t);
      }
      solid(at);
      continue;
    }
    if (o.Width && c >= 0xA1 && c <= 0xDF) {
      std::size_t used = 1;
      const std::uint16_t code = FullWidthKana(c, i + 1 < n ? s[i + 1] : 0, used);
      i += used;
      *w++ = static_cast<char>(code >> 8);
      *w++ = static_cast<char>(code & 0xFF);
      solid(at);
      continue;
    }
    ++i;
    *w++ = static_cast<char>(c);
    solid(at);
  }
  if (!firstSolid && (o.Blank || o.TrimLR || o.TrimR)) return std::nullopt;
  if (o.TrimLR) {
    const std::size_t length = firstSolid ? static_cast<std::size_t>(solidEnd - firstSolid) : 0;
    if (firstSolid != out) std::memmove(out, firstSolid, length);
    return length;
  }
  if (o.TrimR) return static_cast<std::size_t>(solidEnd - out);
  return static_cast<std::size_t>(w - out);
}

std::optional<std::string> KeyOf(std::string_view line, const TCompareOptions& options) {
  if (FoldsKeys(options)) {
    std::string out(2 * line.size(), '\0');
    const std::optional<std::size_t> length = FoldKey(line, options, out.data());
    if (!length) return std::nullopt;
    out.resize(*length);
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
  bytes_.clear();
  ends_.clear();
  folded_ = FoldsKeys(options);
  if (folded_) {
    ends_.reserve(lines.Count());
    // Keys are seldom longer than their lines; the buffer grows when they are.
    bytes_.resize(lines.Bytes().size() + 64);
    std::size_t end = 0;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      const std::string_view line = lines[i];
      if (end + 2 * line.size() > bytes_.size()) bytes_.resize(std::max(2 * bytes_.size(), end + 2 * line.size()));
      const std::optional<std::size_t> length = FoldKey(line, options, bytes_.data() + end);
      if (length) end += *length;
      ends_.push_back(length ? end : end | kLeftOut);
    }
    bytes_.resize(end);
  } else if (options.Text) {
    // The same bytes at the same offsets, each line upper-cased.
    bytes_.assign(lines.Bytes());
    for (std::size_t i = 0; i < lines.Count(); ++i)
      UpperSjisInPlace(std::span<char>(bytes_.data() + lines.Offset(i), lines[i].size()));
  }
}

std::optional<std::string_view> TTextKeys::Key(std::size_t i) const {
  if (folded_) {
    if (ends_[i] & kLeftOut) return std::nullopt;
    const std::uint64_t begin = i == 0 ? 0 : ends_[i - 1] & ~kLeftOut;
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
  }
  const std::string_view line = (*lines_)[i];
  const std::string_view upper =
      options_->Text ? std::string_view(bytes_).substr(lines_->Offset(i), line.size()) : std::string_view();
  return LineKey(line, upper, *options_);
}

const char* TTextKeys::KeyData(std::size_t i) const {
  if (folded_) return bytes_.data() + (i == 0 ? 0 : ends_[i - 1] & ~kLeftOut);
  return options_->Text ? bytes_.data() + lines_->Offset(i) : (*lines_)[i].data();
}

}  // namespace rd
