// Folding a line's characters under the width, space and case options, in
// one pass that takes each run of characters of one kind at once: white
// space and other ASCII sixteen bytes a step, kanji and kana that no option
// changes by a table of pairs, half-width kana with their marks. A line of
// ASCII that folding leaves as it is is told without writing anything.
// Where the processor has AVX-512, lines that do not start with ASCII are
// folded 64 bytes at a time instead (fold_wide.cpp).
#pragma once

#include <optional>
#include <string_view>

#include "compare/compare_options.h"
#include "compare/line_key.h"

namespace rd {

// FoldKey for the width, space and case options of `options`; the other
// options are read when it is called. Where the processor runs the wide
// fold below, lines that start with ASCII (program text) go to the other,
// which tells an ASCII line that folding leaves as it is without writing.
TFoldKey FoldKeyFor(const TCompareOptions& options);

// The fold that takes a run of characters of one kind at a time, on any
// processor.
TFoldKey CharFoldKeyFor(const TCompareOptions& options);

// The fold that takes 64 bytes at a time (fold_wide.cpp), or nullptr when
// the processor lacks AVX-512 with its byte instructions. Hands lines with
// half-width kana to CharFoldKeyFor's under Width.
TFoldKey WideFoldKeyFor(const TCompareOptions& options);

}  // namespace rd
