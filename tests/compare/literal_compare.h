// A second, literal implementation of the comparison: full line-table
// records, two sorts by key per text, and group numbers, step by step as the
// comparison is defined. The engine must give exactly its results.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_options.h"
#include "compare/diff_entry.h"
#include "compare/side.h"

namespace rd::testing {

struct LiteralResult {
  bool noData = false;
  Side emptySide = Side::A;
  PerSide<TDiffList> diff;
};

LiteralResult LiteralCompare(const std::vector<std::string>& a, const std::vector<std::string>& b,
                             const TCompareOptions& options);

}  // namespace rd::testing
