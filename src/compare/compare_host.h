// What a comparison tells the window that shows it. The window implements
// this; the headless report and the batch run compare without one.
#pragma once

#include <cstddef>

#include "compare/side.h"

namespace rd {

class TCompareHost {
 public:
  virtual ~TCompareHost() = default;

  // Before results are discarded: clear the panes' modified flags, show
  // hidden identical lines again, uncheck the error-hiding menu items and
  // forget the last handled row of the line information.
  virtual void ResultsDiscarding() {}
  // The numbers of difference entries for the status bar ("3行").
  virtual void ShowErrorCounts(const PerSide<std::size_t>& counts) = 0;
  // Empties the status bar panels of the counts.
  virtual void ClearErrorCounts() = 0;
  virtual void RepaintPanes() = 0;
  // One of the eleven progress points of a comparison.
  virtual void ProgressStep() {}
};

}  // namespace rd
