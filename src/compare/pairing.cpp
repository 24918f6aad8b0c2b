// The pairing steps, in the order the comparison runs them.
//
// Each step walks the tables in text order. Where a step looks for "the next
// entry that is not Added" or "the Pending entries between two positions",
// skip arrays answer at once, so no input makes those walks quadratic; the
// run counting at a crossing (MarkMoved) walks as far as the runs reach.
#include "compare/pairing.h"

#include <algorithm>
#include <cassert>

namespace rd {

namespace {

using Table = std::vector<TDataFile>;

std::int32_t Size(const Table& t) { return static_cast<std::int32_t>(t.size()); }

void Pair(Table& a, std::int32_t posA, Table& b, std::int32_t posB, TState state) {
  assert(!a[posA].Paired() && !b[posB].Paired() && "an entry is paired once");
  a[posA].partnerPosition = posB;
  b[posB].partnerPosition = posA;
  a[posA].state = state;
  b[posB].state = state;
}

// Next Pending entry of B at or after a position; paired entries drop out.
class TPendingCursor {
 public:
  explicit TPendingCursor(const Table& b) : next_(b.size() + 1) {
    for (std::size_t j = 0; j < b.size(); ++j)
      next_[j] = static_cast<std::int32_t>(b[j].state == TState::Pending ? j : j + 1);
    next_[b.size()] = static_cast<std::int32_t>(b.size());
  }
  // The first Pending position at or after x; the table's size when none.
  std::int32_t Find(std::int32_t x) {
    while (next_[x] != x) {
      next_[x] = next_[next_[x]];
      x = next_[x];
    }
    return x;
  }
  void Remove(std::int32_t x) { next_[x] = x + 1; }

 private:
  std::vector<std::int32_t> next_;
};

// Pairs the entries of one block: for every key with as many entries in
// blockA as in blockB, the entries in position order. Keys are compared by
// number, so two different lines are never paired.
void PairBlock(Table& a, Table& b, std::vector<std::int32_t>& blockA, std::vector<std::int32_t>& blockB,
               TPendingCursor& pending) {
  const auto byKey = [](const Table& t) {
    return [&t](std::int32_t x, std::int32_t y) { return t[x].key != t[y].key ? t[x].key < t[y].key : x < y; };
  };
  std::sort(blockA.begin(), blockA.end(), byKey(a));
  std::sort(blockB.begin(), blockB.end(), byKey(b));
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < blockA.size() && j < blockB.size()) {
    const std::int32_t key = a[blockA[i]].key;
    if (key < b[blockB[j]].key) {
      ++i;
    } else if (key > b[blockB[j]].key) {
      ++j;
    } else {
      std::size_t ci = 1;
      while (i + ci < blockA.size() && a[blockA[i + ci]].key == key) ++ci;
      std::size_t cj = 1;
      while (j + cj < blockB.size() && b[blockB[j + cj]].key == key) ++cj;
      if (ci == cj) {
        for (std::size_t k = 0; k < ci; ++k) {
          Pair(a, blockA[i + k], b, blockB[j + k], TState::Same);
          pending.Remove(blockB[j + k]);
        }
      }
      i += ci;
      j += cj;
    }
  }
}

void MarkMovedRange(Table& a, Table& b, std::int32_t first, std::int32_t last) {
  for (std::int32_t q = first; q <= last; ++q) {
    a[q].state = TState::Moved;
    b[a[q].partnerPosition].state = TState::Moved;
  }
}

void AppendDifferences(const Table& own, const Table& other, TDiffList& out) {
  std::int32_t last = 0;
  for (const TDataFile& e : own) {
    if (e.Paired()) last = other[e.partnerPosition].line;
    if (e.state == TState::Same) continue;
    const std::int32_t kind = e.state == TState::Pending ? KindAdded : static_cast<std::int32_t>(e.state);
    out.push_back({e.line, last, kind, 0});
  }
}

}  // namespace

void ClassifyByCount(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  const std::vector<std::int32_t>& countA = t.count[0];
  const std::vector<std::int32_t>& countB = t.count[1];
  std::vector<std::int32_t> onlyInB(countB.size(), -1);  // position of each key that occurs once in B
  for (std::int32_t j = 0; j < Size(b); ++j)
    if (countB[b[j].key] == 1) onlyInB[b[j].key] = j;

  for (std::int32_t i = 0; i < Size(a); ++i) {
    const std::int32_t key = a[i].key;
    if (countB[key] == 0) a[i].state = TState::Added;
    else if (countA[key] == 1 && countB[key] == 1) Pair(a, i, b, onlyInB[key], TState::Same);
    else a[i].state = TState::Pending;
  }
  for (TDataFile& f : b) {
    if (countA[f.key] == 0) f.state = TState::Added;
    else if (!(countA[f.key] == 1 && countB[f.key] == 1)) f.state = TState::Pending;
  }
}

void ExtendPairs(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  const std::vector<std::int32_t>& countA = t.count[0];
  const std::int32_t nB = Size(b);
  // An unpaired entry pairs with the unpaired B entry it meets when that has
  // the same key and the key is repeated in A.
  const auto extends = [&](const TDataFile& e, const TDataFile& f) {
    return !f.Paired() && countA[e.key] > 1 && f.key == e.key;
  };

  // Forward. skip[x]: first B position at or after x that is not Added, nB if none.
  std::vector<std::int32_t> skip(nB + 1);
  skip[nB] = nB;
  for (std::int32_t j = nB - 1; j >= 0; --j) skip[j] = b[j].state == TState::Added ? skip[j + 1] : j;
  std::int32_t cursor = -1;
  for (std::int32_t i = 0; i < Size(a); ++i) {
    if (a[i].state == TState::Added) continue;
    if (a[i].Paired()) {
      cursor = a[i].partnerPosition;
      continue;
    }
    cursor = skip[cursor + 1];
    if (cursor == nB) break;
    if (extends(a[i], b[cursor])) Pair(a, i, b, cursor, TState::Same);
  }

  // Backward. skip[x + 1]: last B position at or before x that is not Added, -1 if none.
  skip[0] = -1;
  for (std::int32_t j = 0; j < nB; ++j) skip[j + 1] = b[j].state == TState::Added ? skip[j] : j;
  cursor = nB;
  for (std::int32_t i = Size(a) - 1; i >= 0; --i) {
    if (a[i].state == TState::Added) continue;
    if (a[i].Paired()) {
      cursor = a[i].partnerPosition;
      continue;
    }
    cursor = skip[cursor];
    if (cursor < 0) break;
    if (extends(a[i], b[cursor])) Pair(a, i, b, cursor, TState::Same);
  }
}

void PairBlocks(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  TPendingCursor pending(b);
  std::vector<std::int32_t> blockA;
  std::vector<std::int32_t> blockB;
  std::int32_t cursor = 0;
  for (std::int32_t i = 0; i < Size(a); ++i) {
    if (!a[i].Paired()) {
      if (a[i].state == TState::Pending) blockA.push_back(i);
      continue;
    }
    const std::int32_t to = a[i].partnerPosition;
    if (blockA.empty()) {
      cursor = to;
      continue;
    }
    for (std::int32_t j = pending.Find(cursor); j <= to; j = pending.Find(j + 1)) blockB.push_back(j);
    cursor = to;
    if (!blockB.empty()) PairBlock(a, b, blockA, blockB, pending);
    blockA.clear();
    blockB.clear();
  }
}

void MarkMoved(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  std::int32_t top = 0;  // the TextA position of the pair that set the order so far
  for (std::int32_t f = 0; f < Size(b); ++f) {
    if (b[f].state != TState::Same || !b[f].Paired()) continue;
    const std::int32_t p = b[f].partnerPosition;
    if (p >= top) {
      top = p;
      continue;
    }
    // The pair crosses: count the run of pairs ending at `top` (k) and the
    // run starting at p (l), and mark the shorter one.
    std::int32_t k = 1;
    std::int32_t bound = f;
    for (std::int32_t q = top - 1; q >= 0; --q) {
      if (!a[q].Paired() || a[q].partnerPosition > bound) break;
      bound = a[q].partnerPosition;
      ++k;
    }
    std::int32_t l = 1;
    bound = f;
    for (std::int32_t q = p + 1; q < Size(a); ++q) {
      if (!a[q].Paired() || a[q].partnerPosition < bound) break;
      bound = a[q].partnerPosition;
      ++l;
    }
    if (k > l) MarkMovedRange(a, b, p, p + l - 1);
    else MarkMovedRange(a, b, top - k + 1, top);
    top = p;
  }
}

void PairChanged(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  std::int32_t cursor = -1;  // TextA position
  std::int32_t limit = -1;   // TextB position
  for (std::int32_t f = 0; f < Size(b); ++f) {
    if (b[f].Paired()) {
      cursor = b[f].partnerPosition;
      limit = f;
      continue;
    }
    if (f <= limit) continue;
    ++cursor;
    if (cursor >= Size(a)) continue;
    if (a[cursor].Paired()) limit = a[cursor].partnerPosition;
    else Pair(a, cursor, b, f, TState::Changed);
  }
}

PerSide<TDiffList> ListDifferences(const TLineTables& t) {
  PerSide<TDiffList> lists;
  AppendDifferences(t.table[0], t.table[1], lists[0]);
  AppendDifferences(t.table[1], t.table[0], lists[1]);
  return lists;
}

}  // namespace rd
