// Folding a line's characters under the width, space and case options, in
// one pass that takes each run of characters of one kind at once: white
// space and other ASCII sixteen bytes a step, kanji and kana that no option
// changes by a table of pairs, half-width kana with their marks. A line of
// ASCII that folding leaves as it is is told without writing anything.
#pragma once

#include <optional>
#include <string_view>

#include "compare/compare_options.h"
#include "compare/line_key.h"

namespace rd {

// FoldKey for the width, space and case options of `options`; the other
// options are read when it is called.
TFoldKey FoldKeyFor(const TCompareOptions& options);

}  // namespace rd
