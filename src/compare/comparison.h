// The comparison model: both difference lists, the options, and the two
// operations that fill and discard them.
#pragma once

#include <string>
#include <string_view>

#include "compare/compare_host.h"
#include "compare/compare_options.h"
#include "compare/diff_entry.h"
#include "textcode/line_list.h"
#include "compare/side.h"

namespace rd {

class TComparison {
 public:
  explicit TComparison(TCompareHost* host = nullptr) : host_(host) {}

  TCompareOptions Options;

  const TDiffList& Diff(Side side) const { return diff_[Index(side)]; }
  // For readers that replace the lists (a result file) or rewrite them in
  // place (hiding identical lines); they keep the ascending order.
  TDiffList& MutableDiff(Side side) { return diff_[Index(side)]; }

  // Discards every comparison result.
  void ResetResults();

  // Shows the sizes of both lists in the window's status bar, as a
  // comparison does; for readers that filled the lists themselves.
  void ShowErrorCounts() const;

  // Compares the two texts and fills both difference lists. Returns an empty
  // message, or "データがありません" followed by the name of a text with no
  // comparable lines. Messages are UTF-8; the lines are Shift_JIS bytes.
  std::string CompareTexts(const TLineList& linesA, const TLineList& linesB, bool showProgress,
                           std::string_view nameA, std::string_view nameB);

 private:
  void Progress(bool show) const;

  TCompareHost* host_;  // the window that shows the results; outlives the model
  PerSide<TDiffList> diff_;
};

// "N行", the count text of the status bar and the result files.
std::string ErrorCountText(std::size_t count);

}  // namespace rd
