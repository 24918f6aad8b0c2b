// The comparison text ("key") of a line under the comparison options.
//
// Without a width or space option a key is a view of the line, or of its
// upper-cased copy under Text. With one (FoldsKeys) the key is written out
// in one pass over the line that folds widths, letter case and white space
// and finds the trimmed ends as it goes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compare/compare_options.h"
#include "textcode/line_list.h"
#include "textcode/text_code.h"

namespace rd {

// Every byte of 32 or less is white space; the full-width blank is not.
constexpr bool IsCompareSpace(unsigned char c) { return c <= 32; }

std::string_view TrimBoth(std::string_view s);
std::string_view TrimRight(std::string_view s);

// Upper-cases the ASCII letters a-z in place and leaves every other byte,
// including the second byte of each double-byte character, as it is.
void UpperSjisInPlace(std::span<char> s);

// The key of `line`, or nullopt when the line takes no part. `upper` must be
// the line upper-cased when options.Text is on (it is ignored otherwise); the
// returned view points into `line` or `upper`. Options that fold keys are
// not looked at: see FoldKey.
std::optional<std::string_view> LineKey(std::string_view line, std::string_view upper, const TCompareOptions& options);

// A folded key: a part of its line (Verbatim; `out` may hold anything), or
// the bytes FoldKey wrote to `out`.
struct TFoldedKey {
  std::size_t Length = 0;
  std::size_t From = 0;   // where the key starts in the line when Verbatim
  bool Verbatim = false;  // the key is the line's bytes from From on
};

// The key of `line` under options that fold keys, written to `out`, which
// must have room for 2 * line.size() bytes (a half-width katakana becomes a
// double-byte character), or nullopt when the line takes no part.
//
// A lead byte and a valid trail byte (0x40-0x7E, 0x80-0xFC) are one
// character; any other byte is a character of its own. In order:
// - Width: the full-width forms of ASCII letters, digits and symbols become
//   ASCII; half-width katakana and punctuation become full-width, a kana
//   followed by "ﾞ" or "ﾟ" becoming the voiced or semi-voiced kana when
//   there is one;
// - Text: ASCII letters are upper-cased (so, under Width, full-width ones too);
// - white space is every byte of 32 or less and, under ZSpace, "　";
//   AllSpace drops it all;
// - then the trimming and blank-line rules of LineKey.
std::optional<TFoldedKey> FoldKey(std::string_view line, const TCompareOptions& options, char* out);

// The code by which the character at `pos` of `line` compares under Width
// and Text: a byte, or lead byte * 256 + trail byte, folded as FoldKey folds
// it. `length` is the character's length in bytes (1, or 2 for a lead
// byte and the byte after it); under Width a half-width kana followed by
// its voicing mark makes one character, and `length` becomes 2.
std::uint16_t FoldedCharCode(std::string_view line, std::size_t pos, std::size_t& length, const TCompareOptions& options);

// The key of `line` as a string: LineKey or FoldKey as the options ask.
std::optional<std::string> KeyOf(std::string_view line, const TCompareOptions& options);

// The keys of all lines of one text, made once before a comparison numbers
// them: nothing for views of the lines, an upper-cased copy of the text
// under Text alone, or under a folding option the folded keys, kept as
// views of the text where they are a part of their line.
class alignas(64) TTextKeys {  // on cache lines of its own: the two texts' keys are made on two threads
 public:
  // `lines` and `options` are the comparison's and outlive this.
  void Prepare(const TLineList& lines, const TCompareOptions& options);

  std::optional<std::string_view> Key(std::size_t i) const {
    if (folded_) {
      const std::uint64_t span = spans_[i];
      if (span & kLeftOut) return std::nullopt;
      const std::uint64_t length = (span >> kLengthShift) & kLengthMask;
      return std::string_view(KeyData(i), length == kLengthMask ? longLengths_.at(i) : length);
    }
    const std::string_view line = (*lines_)[i];
    const std::string_view upper =
        options_->Text ? std::string_view(bytes_).substr(lines_->Offset(i), line.size()) : std::string_view();
    return LineKey(line, upper, *options_);
  }

  // Where the key of line i lies, for prefetching.
  const char* KeyData(std::size_t i) const {
    if (folded_) {
      const std::uint64_t span = spans_[i];
      return (span & kInBuffer ? bytes_.data() : lines_->Bytes().data()) + (span & kBeginMask);
    }
    // The line's start alone: finding its end would read the text itself.
    return (options_->Text ? bytes_.data() : lines_->Bytes().data()) + lines_->Offset(i);
  }
  // Asks the processor to fetch what KeyData reads before the key itself.
  void Prefetch(std::size_t i) const {
    lines_->Prefetch(i);
    if (folded_) __builtin_prefetch(&spans_[i]);
  }
  // Then the bytes that Key reads: the key's first byte, and its last or
  // the break after the line, which tells where the line ends.
  void PrefetchKey(std::size_t i) const {
    const char* begin = KeyData(i);
    __builtin_prefetch(begin);
    if (folded_) __builtin_prefetch(begin + ((spans_[i] >> kLengthShift) & kLengthMask));
    else __builtin_prefetch(lines_->Bytes().data() + lines_->Offset(i + 1) - 1);
  }

 private:
  // A span is one word: where the key begins (in the text, or in bytes_
  // when kInBuffer) in the low 40 bits, its length in the next 22, and the
  // flags. Lengths that do not fit are kept in longLengths_.
  static constexpr std::uint64_t kLeftOut = std::uint64_t{1} << 63;   // the line takes no part
  static constexpr std::uint64_t kInBuffer = std::uint64_t{1} << 62;  // the key lies in bytes_, not in the text
  static constexpr int kLengthShift = 40;
  static constexpr std::uint64_t kBeginMask = (std::uint64_t{1} << kLengthShift) - 1;
  static constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << 22) - 1;

  std::uint64_t Span(std::size_t line, std::uint64_t begin, std::size_t length);

  const TLineList* lines_ = nullptr;
  const TCompareOptions* options_ = nullptr;
  bool folded_ = false;
  std::string bytes_;  // the upper-cased text (same offsets), or the folded keys that differ from their lines
  std::vector<std::uint64_t> spans_;  // folded: where the key of each line lies
  std::unordered_map<std::size_t, std::size_t> longLengths_;  // by line
};

}  // namespace rd
