// A second, literal implementation of the comparison: full line-table
// records, two sorts by key per text, and group numbers, step by step as the
// comparison is defined. The engine must give exactly its results.
#pragma once

#include <optional>
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

// The key of a line under a width or space option, character by character,
// or nothing when the line takes no part.
std::optional<std::string> JapaneseKey(const std::string& line, const TCompareOptions& o);

}  // namespace rd::testing
