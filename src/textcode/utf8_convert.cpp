// UTF-8 <-> Shift_JIS through the code page 932 tables. ASCII, which both
// codes share, is copied as it is. Output never runs ahead of input by more
// than the buffer bound allows, so eight-byte copies stay inside it.
#include "textcode/utf8_convert.h"

#include <cstring>

#include "textcode/convert_into.h"
#include "textcode/cp932_table.h"
#include "textcode/text_code.h"
#include "textcode/utf8_sequence.h"

namespace rd {
namespace {

std::size_t UpToNul(std::string_view line) {
  const void* nul = std::memchr(line.data(), 0, line.size());
  return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()) : line.size();
}

constexpr bool IsSjisTrail(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

char* PutUtf8(char16_t cp, char* out) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | cp >> 6);
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | cp >> 12);
    *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace

char* Utf8ToSjisInto(std::string_view line, char* out) {
  // The table is built at the first character beyond ASCII: a text or a
  // name of ASCII alone (a report's file names, as a rule) needs none.
  const TCp932Table* table = nullptr;
  const auto* p = reinterpret_cast<const std::uint8_t*>(line.data());
  const std::size_t n = UpToNul(line);
  std::size_t i = 0;
  while (i < n) {
    if (i + 8 <= n && CopyAscii8(p + i, out)) {
      i += 8;
      out += 8;
      continue;
    }
    if (p[i] < 0x80) {
      *out++ = static_cast<char>(p[i++]);
      continue;
    }
    // Never longer than its input: a sequence of two to four bytes gives
    // at most two, an ill-formed part one "?".
    if (!table && !(table = TCp932Table::Get())) return nullptr;
    const TUtf8Step step = DecodeUtf8(p + i, n - i);
    i += step.length;
    const std::uint16_t code = step.codePoint <= 0xFFFF ? table->Encode(char16_t(step.codePoint)) : 0;
    if (code == 0) {
      *out++ = '?';
    } else if (code < 0x100) {
      *out++ = static_cast<char>(code);
    } else {
      *out++ = static_cast<char>(code >> 8);
      *out++ = static_cast<char>(code & 0xFF);
    }
  }
  return out;
}

char* SjisToUtf8Into(std::string_view line, char* out) {
  const TCp932Table* table = TCp932Table::Get();
  if (!table) return nullptr;
  const auto* p = reinterpret_cast<const std::uint8_t*>(line.data());
  const std::size_t n = UpToNul(line);
  std::size_t i = 0;
  while (i < n) {
    if (i + 8 <= n && CopyAscii8(p + i, out)) {
      i += 8;
      out += 8;
      continue;
    }
    const std::uint8_t b = p[i];
    char16_t cp;
    if (b < 0x80) {
      *out++ = static_cast<char>(b);
      ++i;
      continue;
    }
    if (!IsSjisLead(b)) {
      cp = table->Single(b);
      i += 1;
    } else if (i + 1 < n && IsSjisTrail(p[i + 1])) {
      cp = table->Double(b, p[i + 1]);  // U+FFFD for the pair when unassigned
      i += 2;
    } else {
      cp = char16_t(kReplacement);  // the next byte is read on its own
      i += 1;
    }
    out = PutUtf8(cp, out);
  }
  return out;
}

std::optional<std::string> Utf8ToSjis(std::string_view line) { return ConvertToString(line, 1, Utf8ToSjisInto); }

std::optional<std::string> SjisToUtf8(std::string_view line) { return ConvertToString(line, 3, SjisToUtf8Into); }

}  // namespace rd
