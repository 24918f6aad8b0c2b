// What a comparison leaves behind: one difference list per text.
//
// Every consumer (panes, map bar, navigation, report, result files, export)
// reads these lists; nothing re-derives them from the texts.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace rd {

constexpr std::int32_t KindAdded = 1;    // "INS"
constexpr std::int32_t KindChanged = 2;  // "UDT"
constexpr std::int32_t KindMoved = 3;    // "MOV"

struct TDiffEntry {
  std::int32_t line = 0;     // line index in its own text, from 0
  std::int32_t partner = 0;  // kinds 2, 3: the paired line; kind 1: the partner of the nearest paired line before it, or 0
  std::int32_t kind = 0;     // KindAdded, KindChanged or KindMoved
  std::int32_t fullLine = 0; // the line in the full text while identical lines are hidden

  friend bool operator==(const TDiffEntry&, const TDiffEntry&) = default;
};

// Ascending `line` order without duplicates; the lookups rely on it.
using TDiffList = std::vector<TDiffEntry>;

// "INS", "UDT" or "MOV"; empty for anything else.
std::string_view KindName(std::int32_t kind);

// The entry whose `line` (or `fullLine`) equals `line`, or nullptr.
const TDiffEntry* FindEntry(std::int32_t line, const TDiffList& list);
const TDiffEntry* FindEntryByFullLine(std::int32_t line, const TDiffList& list);

// The first entry of the next block (backward: the last entry of the previous
// block) as seen from `line`. A block is a run of entries of one kind on
// consecutive lines. nullptr when there is none in that direction.
const TDiffEntry* FindNextBlock(std::int32_t line, const TDiffList& list, bool backward);

void PrintTo(const TDiffEntry& entry, std::ostream* os);

}  // namespace rd
