// Hiding and showing identical lines; see hide_identical.h.
#include "views/hide_identical.h"

#include <cassert>
#include <cstddef>
#include <utility>

namespace rd {

PerSide<TPaneLines> THiddenLines::Hide(TComparison& lists, TPaneTexts full) {
  assert(!active_ && "hiding twice would lose the saved full texts");
  PerSide<TPaneLines> reduced;
  saved_ = std::move(full);
  for (const Side side : {Side::A, Side::B}) {
    TDiffList& list = lists.MutableDiff(side);
    const TPaneLines& text = saved_.Lines[Index(side)];
    hiddenRows_[Index(side)] = list;
    reduced[Index(side)].reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
      TDiffEntry& e = list[i];
      const bool inText = e.line >= 0 && static_cast<std::size_t>(e.line) < text.size();
      reduced[Index(side)].push_back(inText ? text[static_cast<std::size_t>(e.line)] : std::string());
      e.fullLine = e.line;
      e.line = static_cast<std::int32_t>(i);
    }
  }
  // Partners are looked up by full line in the other list, which no pass
  // below changes; a partner without an entry (a list read from a damaged
  // result file) keeps its full line.
  for (const Side side : {Side::A, Side::B}) {
    const TDiffList& other = lists.Diff(Other(side));
    for (TDiffEntry& e : lists.MutableDiff(side)) {
      if (e.kind == KindAdded) continue;
      if (const TDiffEntry* partner = FindEntryByFullLine(e.partner, other)) e.partner = partner->line;
    }
  }
  active_ = true;
  return reduced;
}

TPaneTexts THiddenLines::Show(TComparison& lists) {
  if (!active_) return {};
  active_ = false;
  for (const Side side : {Side::A, Side::B}) {
    lists.MutableDiff(side) = std::move(hiddenRows_[Index(side)]);
    hiddenRows_[Index(side)].clear();
  }
  TPaneTexts full = std::move(saved_);
  saved_ = {};
  return full;
}

}  // namespace rd
