// Which characters of a changed line differ from its partner line: a
// difference over characters (a Shift_JIS double-byte character is one),
// then a clean-up that lets short equal runs between two changes join
// them, so that a line shows a few readable stretches instead of confetti.
// The panes paint the stretches over the band of a changed line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compare/compare_options.h"
#include "compare/side.h"

namespace rd {

// Bytes [Begin, End) of a line, always whole characters.
struct TCharStretch {
  int Begin = 0;
  int End = 0;
  friend bool operator==(const TCharStretch&, const TCharStretch&) = default;
};
using TCharStretches = std::vector<TCharStretch>;

// Past these bounds a pair of lines is not diffed character by character:
// everything between their common prefix and suffix is one stretch. They
// keep the cost of one pair at about MaxChars * MaxEdits steps.
struct TCharDiffLimits {
  std::size_t MaxChars = 4000;  // characters of the longer line
  int MaxEdits = 300;           // inserted plus deleted characters
};

// The differing stretches of line `a` (element A) and line `b` (element B),
// left to right. Equal runs of one or two characters, or of white space
// only (bytes of 32 or less and "　"), between two changes count as changed;
// the common prefix and suffix never do. A side whose only changes are the
// other side's insertions has no stretch.
//
// Characters compare as the comparison's keys do under the options Width
// and Text (FoldedCharCode), so that a difference the comparison ignores is
// not shown either; under AllSpace white space (with ZSpace also "　") takes
// no part and is never marked on its own.
PerSide<TCharStretches> CharDiff(std::string_view a, std::string_view b, const TCompareOptions& options = {},
                                 const TCharDiffLimits& limits = {});

// Display columns [Begin, End) of stretches in the editor's column model
// (a tab reaches the next multiple of `tabWidth`), as far as the editor
// draws: stretches past its last column are left out or cut.
std::vector<TCharStretch> StretchColumns(std::string_view line, const TCharStretches& stretches, int tabWidth);

// The stretches of the changed lines painted so far, computed when a row
// is first painted and kept until the texts or the results change.
class TCharDiffCache {
 public:
  explicit TCharDiffCache(TCharDiffLimits limits = {}) : limits_(limits) {}

  // The stretches of line `line` of `side`, whose partner is line `partner`
  // of the other side, under `options`; `partnerText` is asked only when
  // the pair is not cached yet. The partner's stretches are kept at the
  // same time.
  const TCharStretches& Stretches(Side side, int line, int partner, std::string_view text,
                                  const std::function<std::string()>& partnerText, const TCompareOptions& options);

  void Clear();
  std::size_t Size() const { return lines_[0].size() + lines_[1].size(); }

 private:
  TCharDiffLimits limits_;
  PerSide<std::unordered_map<int, TCharStretches>> lines_;  // by line of each side
};

}  // namespace rd
