// The pairing steps, in the order the comparison runs them.
//
// Each step walks the tables in text order. Where a step looks for "the next
// entry that is not Added" or "the Pending entries between two positions",
// skip arrays answer at once, so no input makes those walks quadratic. The
// run lengths that the moved step counts at each crossing are computed once
// before it, and its marking visits each entry once.
#include "compare/pairing.h"

#include "compare/run_both.h"

#include <algorithm>
#include <cassert>
#include <optional>

namespace rd {

namespace {

using Table = TTable;

template <class TVector>
std::int32_t Size(const TVector& v) {
  return static_cast<std::int32_t>(v.size());
}

void Pair(Table& a, std::int32_t posA, Table& b, std::int32_t posB, TState state) {
  assert(!a[posA].Paired() && !b[posB].Paired() && "an entry is paired once");
  a[posA].partnerPosition = posB;
  b[posB].partnerPosition = posA;
  a[posA].SetState(state);
  b[posB].SetState(state);
}

// The positions 0..n-1 of a table that are still in a set, each found in
// near-constant time once others have left it.
class TSkipList {
 public:
  TSkipList() = default;
  explicit TSkipList(std::int32_t n) : next_(static_cast<std::size_t>(n) + 1) {
    for (std::size_t i = 0; i < next_.size(); ++i) next_[i] = static_cast<std::int32_t>(i);
  }
  // The first position at or after x still in the set; n when none.
  std::int32_t Find(std::int32_t x) {
    while (next_[x] != x) {
      next_[x] = next_[next_[x]];
      x = next_[x];
    }
    return x;
  }
  void Remove(std::int32_t x) { next_[x] = x + 1; }

 private:
  TUnsetVector<std::int32_t> next_;
};

// Sorts key << 32 | position words that come in position order, by key and
// then position: two stable passes over the key's 30 bits.
void SortByKey(TBigVector<std::uint64_t>& entries) {
  constexpr int kDigit = 15;
  TBigVector<std::uint64_t> other(entries.size());
  for (const int shift : {32, 32 + kDigit}) {
    std::vector<std::size_t> start((std::size_t{1} << kDigit) + 1, 0);
    const auto digit = [shift](std::uint64_t e) { return static_cast<std::size_t>(e >> shift) & ((1u << kDigit) - 1); };
    for (const std::uint64_t e : entries) ++start[digit(e) + 1];
    for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
    for (const std::uint64_t e : entries) other[start[digit(e)]++] = e;
    entries.swap(other);
  }
}

// The Pending entries of B in position order, as a sorted list of what is
// usually a small part of the table; paired entries drop out.
class TPendingCursor {
 public:
  explicit TPendingCursor(const Table& b) {
    for (std::int32_t j = 0; j < Size(b); ++j)
      if (b[j].State() == TState::Pending) pos_.push_back(j);
    alive_ = TSkipList(Size(pos_));
  }
  // The first Pending position at or after x; the table's size when none.
  std::int32_t Find(std::int32_t x, std::int32_t size) {
    const std::int32_t i = alive_.Find(Index(x));
    return i < Size(pos_) ? pos_[i] : size;
  }
  void Remove(std::int32_t x) { alive_.Remove(Index(x)); }

 private:
  std::int32_t Index(std::int32_t x) const {
    return static_cast<std::int32_t>(std::lower_bound(pos_.begin(), pos_.end(), x) - pos_.begin());
  }

  TBigVector<std::int32_t> pos_;
  TSkipList alive_;
};

// The Pending entries of B grouped by key, in position order, so that a
// block can count the entries of one key between two positions without
// walking the others. Entries drop out once paired. Only the Pending
// entries are held, sorted by key and position in one word each.
class TPendingByKey {
 public:
  explicit TPendingByKey(const Table& b) {
    for (std::int32_t j = 0; j < Size(b); ++j)
      if (b[j].State() == TState::Pending) entries_.push_back(Entry(b[j].Key(), j));
    SortByKey(entries_);
    alive_ = TSkipList(static_cast<std::int32_t>(entries_.size()));
  }

  // The indexes of the Pending entries of `key` at positions lo..hi, in
  // order; at most `limit` + 1 of them, which is enough to tell whether
  // there are exactly `limit`.
  void Collect(std::int32_t key, std::int32_t lo, std::int32_t hi, std::size_t limit, std::vector<std::int32_t>& out) {
    out.clear();
    const auto first = std::lower_bound(entries_.begin(), entries_.end(), Entry(key, lo));
    const std::uint64_t last = Entry(key, hi);
    const auto n = static_cast<std::int32_t>(entries_.size());
    for (std::int32_t i = alive_.Find(static_cast<std::int32_t>(first - entries_.begin()));
         i < n && entries_[i] <= last && out.size() <= limit; i = alive_.Find(i + 1))
      out.push_back(i);
  }
  std::int32_t Position(std::int32_t index) const { return static_cast<std::int32_t>(entries_[index] & 0xFFFFFFFFu); }
  void Remove(std::int32_t index) { alive_.Remove(index); }

 private:
  static std::uint64_t Entry(std::int32_t key, std::int32_t position) {
    return static_cast<std::uint64_t>(key) << 32 | static_cast<std::uint32_t>(position);
  }

  TBigVector<std::uint64_t> entries_;  // key << 32 | position, ascending
  TSkipList alive_;
};

// Pairs the entries of one block, the Pending entries of A in blockA with
// the Pending entries of B at positions lo..hi: for every key with as many
// entries on each side, the entries in position order. Keys are compared by
// number, so two different lines are never paired.
void PairBlock(Table& a, Table& b, std::vector<std::int32_t>& blockA, std::int32_t lo, std::int32_t hi,
               TPendingByKey& byKey, TPendingCursor& pending) {
  std::sort(blockA.begin(), blockA.end(), [&a](std::int32_t x, std::int32_t y) {
    return a[x].Key() != a[y].Key() ? a[x].Key() < a[y].Key() : x < y;
  });
  std::vector<std::int32_t> found;
  for (std::size_t i = 0; i < blockA.size();) {
    const std::int32_t key = a[blockA[i]].Key();
    std::size_t ci = 1;
    while (i + ci < blockA.size() && a[blockA[i + ci]].Key() == key) ++ci;
    byKey.Collect(key, lo, hi, ci, found);
    if (found.size() == ci) {
      for (std::size_t k = 0; k < ci; ++k) {
        const std::int32_t j = byKey.Position(found[k]);
        Pair(a, blockA[i + k], b, j, TState::Same);
        byKey.Remove(found[k]);
        pending.Remove(j);
      }
    }
    i += ci;
  }
}

// The runs of paired A entries whose partners ascend. Partners stay fixed
// while the moved-lines step turns states to Moved, so the runs are found
// once, and a run that the step counts at a crossing is looked up instead
// of walked. One number per position: inside a run, where the run starts;
// at a run's start, where it ends; -1 for an unpaired entry.
class TAscendingRuns {
 public:
  explicit TAscendingRuns(const Table& a) : mark_(a.size()) {
    std::int32_t start = -1;
    for (std::int32_t q = 0; q < Size(a); ++q) {
      if (!a[q].Paired()) {
        mark_[q] = -1;
        start = -1;
      } else if (start >= 0 && a[q - 1].partnerPosition < a[q].partnerPosition) {
        mark_[q] = start;
        mark_[start] = q;
      } else {
        start = q;
        mark_[q] = q;
      }
    }
  }
  // Entries of q's run up to q, and from q on; q is paired.
  std::int32_t Back(std::int32_t q) const { return q - (mark_[q] < q ? mark_[q] : q) + 1; }
  std::int32_t Ahead(std::int32_t q) const { return (mark_[q] >= q ? mark_[q] : mark_[mark_[q]]) - q + 1; }

 private:
  TUnsetVector<std::int32_t> mark_;
};

// Marks the A entries at first..last, and their partners, as Moved. An entry
// already marked stays as it is.
void MarkMovedRange(Table& a, Table& b, std::int32_t first, std::int32_t last, TSkipList& unmarked) {
  for (std::int32_t q = unmarked.Find(first); q <= last; q = unmarked.Find(q)) {
    a[q].SetState(TState::Moved);
    b[a[q].partnerPosition].SetState(TState::Moved);
    unmarked.Remove(q);
  }
}

void AppendDifferences(const Table& own, const TEntryLines& ownLines, const TEntryLines& otherLines, TDiffList& out) {
  std::int32_t lastPartner = -1;  // the partner of the last paired entry; its line is looked up when needed
  for (std::size_t p = 0; p < own.size(); ++p) {
    const TDataFile& e = own[p];
    if (e.Paired()) lastPartner = e.partnerPosition;
    if (e.State() == TState::Same) continue;
    const std::int32_t kind = e.State() == TState::Pending ? KindAdded : static_cast<std::int32_t>(e.State());
    const std::int32_t last = lastPartner < 0 ? 0 : otherLines[static_cast<std::size_t>(lastPartner)];
    out.push_back({ownLines[p], last, kind, 0});
  }
}

// A key of TextA is numbered by the position of its first entry there, so
// the one A entry of a key found once on each side is the entry at its number.
// The A entry keeps its state, Same from the numbering, which lets the A
// entries be classified at the same time.
void PairOnce(Table& a, std::int32_t key, Table& b, std::int32_t posB) {
  assert(a[key].Key() == key && "a key of TextA is the position of its first entry");
  assert(a[key].State() == TState::Same && !a[key].Paired() && !b[posB].Paired() && "an entry is paired once");
  a[key].partnerPosition = posB;
  b[posB].partnerPosition = key;
  b[posB].SetState(TState::Same);
}

}  // namespace

// Each half of both tables may be classified on a thread of its own: the A
// loop writes the states of A entries whose keys do not occur once on each
// side, the B loop the partners of those whose keys do. Most lines of TextB
// follow those of TextA, so each thread mostly touches its own half of A.
void ClassifyByCount(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  const TKeyCounts& count = t.count;
  const auto once = [&](std::int32_t key) { return count.Of(Side::A, key) == 1 && count.Of(Side::B, key) == 1; };
  // Positions [from, to) of the half of a table of n entries.
  const auto from = [](int half, std::int32_t n) { return half == 0 ? 0 : n / 2; };
  const auto to = [](int half, std::int32_t n) { return half == 0 ? n / 2 : n; };
  const auto classify = [&](int half) {
    for (std::int32_t i = from(half, Size(a)); i < to(half, Size(a)); ++i) {
      TDataFile& e = a[i];
      if (count.Of(Side::B, e.Key()) == 0) e.SetState(TState::Added);
      else if (!once(e.Key())) e.SetState(TState::Pending);
    }
    for (std::int32_t j = from(half, Size(b)); j < to(half, Size(b)); ++j) {
      const std::int32_t key = b[j].Key();
      if (count.Of(Side::A, key) == 0) b[j].SetState(TState::Added);
      else if (!once(key)) b[j].SetState(TState::Pending);
      else PairOnce(a, key, b, j);
    }
  };
  RunBoth(a.size() + b.size() >= kParallelFrom, [&] { classify(0); }, [&] { classify(1); });
}

void ExtendPairs(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  const TKeyCounts& count = t.count;
  const std::int32_t nB = Size(b);
  // An unpaired entry pairs with the unpaired B entry it meets when that has
  // the same key and the key is repeated in A.
  const auto extends = [&](const TDataFile& e, const TDataFile& f) {
    return !f.Paired() && count.Of(Side::A, e.Key()) > 1 && f.Key() == e.Key();
  };

  // Forward. skip[x]: first B position at or after x that is not Added, nB if none.
  TUnsetVector<std::int32_t> skip(nB + 1);
  skip[nB] = nB;
  for (std::int32_t j = nB - 1; j >= 0; --j) skip[j] = b[j].State() == TState::Added ? skip[j + 1] : j;
  std::int32_t cursor = -1;
  for (std::int32_t i = 0; i < Size(a); ++i) {
    if (a[i].State() == TState::Added) continue;
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
  for (std::int32_t j = 0; j < nB; ++j) skip[j + 1] = b[j].State() == TState::Added ? skip[j] : j;
  cursor = nB;
  for (std::int32_t i = Size(a) - 1; i >= 0; --i) {
    if (a[i].State() == TState::Added) continue;
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
  TPendingByKey byKey(b);
  std::vector<std::int32_t> blockA;
  std::int32_t cursor = 0;
  for (std::int32_t i = 0; i < Size(a); ++i) {
    if (!a[i].Paired()) {
      if (a[i].State() == TState::Pending) blockA.push_back(i);
      continue;
    }
    const std::int32_t to = a[i].partnerPosition;
    if (!blockA.empty()) {
      // The block of B holds every Pending entry from the cursor to the partner.
      if (pending.Find(cursor, Size(b)) <= to) PairBlock(a, b, blockA, cursor, to, byKey, pending);
      blockA.clear();
    }
    cursor = to;
  }
}

void MarkMoved(TLineTables& t) {
  Table& a = t.A();
  Table& b = t.B();
  const std::int32_t nA = Size(a);
  // Built at the first crossing: texts without one pay nothing for them.
  std::optional<TAscendingRuns> runs;
  std::optional<TSkipList> unmarked;  // A positions not yet marked as moved

  std::int32_t top = 0;  // the TextA position of the pair that set the order so far
  for (std::int32_t f = 0; f < Size(b); ++f) {
    if (b[f].State() != TState::Same || !b[f].Paired()) continue;
    const std::int32_t p = b[f].partnerPosition;
    if (p >= top) {
      top = p;
      continue;
    }
    if (!runs) {
      runs.emplace(a);
      unmarked.emplace(nA);
    }
    // The pair crosses: the run of pairs ending at `top` (k) and the run
    // starting at p (l), each bounded on the side of F by F's position.
    const std::int32_t before = top - 1;
    const std::int32_t k = 1 + (before >= 0 && a[before].Paired() && a[before].partnerPosition <= f ? runs->Back(before) : 0);
    const std::int32_t after = p + 1;
    const std::int32_t l = 1 + (after < nA && a[after].Paired() && a[after].partnerPosition >= f ? runs->Ahead(after) : 0);
    if (k > l) MarkMovedRange(a, b, p, p + l - 1, *unmarked);
    else MarkMovedRange(a, b, top - k + 1, top, *unmarked);
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
  RunBoth(
      t.table[0].size() + t.table[1].size() >= kParallelFrom,
      [&] { AppendDifferences(t.table[0], t.line[0], t.line[1], lists[0]); },
      [&] { AppendDifferences(t.table[1], t.line[1], t.line[0], lists[1]); });
  return lists;
}

}  // namespace rd
