// The one colour of each difference kind, shared by the panes, the map bar
// and the spreadsheet export, so that they can never disagree.
#pragma once

#include <cstdint>
#include <optional>

#include "settings/settings.h"

namespace rd {

// InsColor for added lines, UpdColor for changed lines, MovColor for moved
// lines (colour values with red in the low byte); nothing for any other
// kind, which is then painted like an unchanged line.
std::optional<std::int32_t> KindColor(std::int32_t kind, const TEditorSettings& colours);

}  // namespace rd
