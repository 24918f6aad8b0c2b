// Binary searches over a difference list, and the block walk of navigation.
#include "compare/diff_entry.h"

#include <cstddef>

namespace rd {

namespace {

struct Bracket {
  std::ptrdiff_t found = -1;  // index of the entry with the line, or -1
  std::ptrdiff_t lo = 0;
  std::ptrdiff_t hi = 0;
};

// The search leaves lo and hi where the block walk expects them, so both
// lookups share it. Field is &TDiffEntry::line or &TDiffEntry::fullLine.
Bracket Search(std::int32_t line, const TDiffList& list, std::int32_t TDiffEntry::*field) {
  Bracket b;
  b.hi = static_cast<std::ptrdiff_t>(list.size()) - 1;
  while (b.hi - b.lo > 1) {
    const std::ptrdiff_t mid = b.lo + (b.hi - b.lo) / 2;
    const std::int32_t value = list[mid].*field;
    if (value == line) {
      b.found = mid;
      return b;
    }
    if (value > line) b.hi = mid; else b.lo = mid;
  }
  if (list[b.hi].*field == line) b.found = b.hi;
  else if (list[b.lo].*field == line) b.found = b.lo;
  return b;
}

const TDiffEntry* Find(std::int32_t line, const TDiffList& list, std::int32_t TDiffEntry::*field) {
  if (list.empty()) return nullptr;
  const Bracket b = Search(line, list, field);
  return b.found < 0 ? nullptr : &list[b.found];
}

}  // namespace

std::string_view KindName(std::int32_t kind) {
  switch (kind) {
    case KindAdded: return "INS";
    case KindChanged: return "UDT";
    case KindMoved: return "MOV";
    default: return {};
  }
}

const TDiffEntry* FindEntry(std::int32_t line, const TDiffList& list) {
  return Find(line, list, &TDiffEntry::line);
}

const TDiffEntry* FindEntryByFullLine(std::int32_t line, const TDiffList& list) {
  return Find(line, list, &TDiffEntry::fullLine);
}

const TDiffEntry* FindNextBlock(std::int32_t line, const TDiffList& list, bool backward) {
  if (list.empty()) return nullptr;
  const Bracket b = Search(line, list, &TDiffEntry::line);
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(list.size());
  if (b.found >= 0) {
    const std::ptrdiff_t step = backward ? -1 : 1;
    const TDiffEntry& start = list[b.found];
    std::int64_t expected = start.line;
    for (std::ptrdiff_t i = b.found + step; i >= 0 && i < n; i += step) {
      expected += step;
      if (list[i].kind != start.kind || list[i].line != expected) return &list[i];
    }
    return nullptr;
  }
  if (backward) {
    if (list[b.hi].line < line) return &list[b.hi];
    if (list[b.lo].line < line) return &list[b.lo];
    return nullptr;
  }
  if (list[b.lo].line > line) return &list[b.lo];
  if (list[b.hi].line > line) return &list[b.hi];
  return nullptr;
}

void PrintTo(const TDiffEntry& e, std::ostream* os) {
  *os << "{line " << e.line << ", partner " << e.partner << ", " << KindName(e.kind);
  if (KindName(e.kind).empty()) *os << "kind " << e.kind;
  *os << "}";
}

}  // namespace rd
