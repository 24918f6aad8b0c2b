// Folding a line's characters under the width, space and case options, in
// one pass that takes each run of characters of one kind at once: white
// space and other ASCII sixteen bytes a step, kanji and kana that no option
// changes by a table of pairs, half-width kana with their marks. A line of
// ASCII that folding leaves as it is is told without writing anything.
// Where the processor has AVX-512, lines that do not start with ASCII are
// folded 64 bytes at a time instead (fold_wide.cpp).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

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
// the processor lacks AVX-512 with its byte instructions. Hands the few
// lines it does not fold itself (a lead byte without a valid trail byte,
// the extension characters that fold) to CharFoldKeyFor's.
TFoldKey WideFoldKeyFor(const TCompareOptions& options);

// TFold<kWidth, kZSpace, kAllSpace, kText>::Key, a fold made for one set of
// the width, space and case options, for those of `options`.
template <template <bool, bool, bool, bool> class TFold>
TFoldKey FoldMadeFor(const TCompareOptions& options) {
  static constexpr auto kFolds = []<std::size_t... kSet>(std::index_sequence<kSet...>) {
    return std::array<TFoldKey, 16>{
        TFold<(kSet & 1) != 0, (kSet & 2) != 0, (kSet & 4) != 0, (kSet & 8) != 0>::Key...};
  }(std::make_index_sequence<16>{});
  return kFolds[std::size_t{options.Width} | std::size_t{options.ZSpace} << 1 | std::size_t{options.AllSpace} << 2 |
                std::size_t{options.Text} << 3];
}

}  // namespace rd
