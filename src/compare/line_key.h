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

// Room that FoldKey may write past the key itself.
inline constexpr std::size_t kFoldSlack = 64;

// The key of `line` under options that fold keys, written to `out`, which
// must have room for 2 * line.size() + kFoldSlack bytes (a half-width
// katakana becomes a double-byte character), or nullopt when the line takes
// no part.
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

// FoldKey, made for one set of options (see fold_chars.h).
using TFoldKey = std::optional<TFoldedKey> (*)(std::string_view line, const TCompareOptions& options, char* out);

// The code by which the character at `pos` of `line` compares under Width
// and Text: a byte, or lead byte * 256 + trail byte, folded as FoldKey folds
// it. `length` is the character's length in bytes (1, or 2 for a lead
// byte and the byte after it); under Width a half-width kana followed by
// its voicing mark makes one character, and `length` becomes 2.
std::uint16_t FoldedCharCode(std::string_view line, std::size_t pos, std::size_t& length, const TCompareOptions& options);

// The key of `line` as a string, made by `fold` (FoldKey's for `options`, or
// another fold made for the same options).
std::optional<std::string> FoldedKeyOf(TFoldKey fold, std::string_view line, const TCompareOptions& options);

// The key of `line` as a string: LineKey or FoldKey as the options ask.
std::optional<std::string> KeyOf(std::string_view line, const TCompareOptions& options);

// The keys of the lines of one text during a comparison. A key is a view
// of its line, or of the line in an upper-cased copy of the text under Text
// alone; under a folding option it is written out when asked for, into a
// buffer of the caller's, and never kept: most comparisons of keys are of
// equal lines, which have equal keys whatever the options.
class alignas(64) TTextKeys {  // on cache lines of its own: the two texts' keys are made on two threads
 public:
  // `lines` and `options` are the comparison's and outlive this.
  void Prepare(const TLineList& lines, const TCompareOptions& options);

  // The key of line i, or nullopt when the line takes no part. A folded key
  // may be written to `scratch`, which the view then points into.
  std::optional<std::string_view> Key(std::size_t i, std::string& scratch) const {
    const std::string_view line = (*lines_)[i];
    if (folded_) return Folded(line, scratch);
    const std::string_view upper =
        options_->Text ? std::string_view(bytes_).substr(lines_->Offset(i), line.size()) : std::string_view();
    return LineKey(line, upper, *options_);
  }

  // Whether line i here and line j of `other` (a text compared under the
  // same options) have equal keys; both lines take part.
  bool SameKey(std::size_t i, const TTextKeys& other, std::size_t j) const {
    const std::string_view x = (*lines_)[i];
    const std::string_view y = (*other.lines_)[j];
    if (x == y) return true;
    thread_local std::string scratchX;
    thread_local std::string scratchY;
    return *Key(i, scratchX) == *other.Key(j, scratchY);
  }

  // Asks the processor to fetch where line i lies, then the bytes that
  // Key reads: the line's first byte, and the break after it, which tells
  // where it ends.
  void Prefetch(std::size_t i) const { lines_->Prefetch(i); }
  void PrefetchKey(std::size_t i) const {
    const std::size_t begin = lines_->Offset(i);
    __builtin_prefetch(lines_->Bytes().data() + begin);
    __builtin_prefetch(lines_->Bytes().data() + lines_->Offset(i + 1) - 1);
    if (options_->Text && !folded_) __builtin_prefetch(bytes_.data() + begin);
  }

 private:
  std::optional<std::string_view> Folded(std::string_view line, std::string& scratch) const;

  const TLineList* lines_ = nullptr;
  const TCompareOptions* options_ = nullptr;
  bool folded_ = false;
  TFoldKey fold_ = nullptr;  // under folded_
  std::string bytes_;  // the upper-cased text (same offsets) under Text alone
};

}  // namespace rd
