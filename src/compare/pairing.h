// The pairing steps of a comparison, on the two line tables after the keys
// have been numbered and the unique keys paired.
#pragma once

#include <cstdint>
#include <vector>

#include "compare/diff_entry.h"
#include "compare/huge_page_allocator.h"
#include "compare/key_counts.h"
#include "compare/line_table.h"
#include "compare/side.h"

namespace rd {

// A key that occurs in TextA is numbered by the position of its first entry
// in TextA's table; keys found only in TextB have numbers from the number of
// lines of TextA on.
struct TLineTables {
  PerSide<TTable> table;     // text order
  PerSide<TEntryLines> line;  // the line of each entry
  TKeyCounts count;

  TTable& A() { return table[0]; }
  TTable& B() { return table[1]; }
};

// Marks each entry Added, Same (paired: its key occurs once on each side) or
// Pending, from the key counts.
void ClassifyByCount(TLineTables& t);
// Pairs repeated lines next to existing pairs, forward then backward.
void ExtendPairs(TLineTables& t);
// Pairs repeated lines between two pairs when they occur equally often there.
void PairBlocks(TLineTables& t);
// Marks the shorter of two crossing runs of pairs as moved.
void MarkMoved(TLineTables& t);
// Pairs leftover lines that stand in corresponding places as changed.
void PairChanged(TLineTables& t);
// The difference lists of both tables, in ascending line order.
PerSide<TDiffList> ListDifferences(const TLineTables& t);

}  // namespace rd
