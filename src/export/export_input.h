// What the spreadsheet export reads from the window: both texts, both
// difference lists, the file labels and the colour and context settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "compare/diff_entry.h"
#include "compare/side.h"

namespace rd {

// The lines of one pane, read one at a time.
struct TExportLines {
  std::size_t Count = 0;
  // Line i (0 <= i < Count) as Shift_JIS bytes; the view may point into the
  // pane and must stay valid until the next call.
  std::function<std::string_view(std::size_t i)> Line;
};

struct TExportInput {
  PerSide<TExportLines> Lines;
  // Views of the window's difference lists, ascending by line; they outlive
  // the export, which runs to its end before the window goes on.
  PerSide<std::span<const TDiffEntry>> Diff;
  PerSide<std::string> Caption;  // the file labels' captions, UTF-8
  std::int32_t InsColor = 16768477;
  std::int32_t UpdColor = 14540287;
  std::int32_t MovColor = 14548957;
  int AddRow = 5;  // context lines around each difference in the difference mode
};

}  // namespace rd
