// The keys are numbered in three steps, each of which splits over two
// threads without locks:
// 1. TextA's table, one half of its lines per thread: an entry per line
//    that takes part, holding the hash of its key; a line that repeats a
//    recent one is noted while both are at hand;
// 2. TextA's keys through the key index, one part of it per thread: each
//    thread walks the whole table and interns the keys of its part, in text
//    order, so every key gets the position of its first entry; a repeat
//    takes the number of the entry it repeats;
// 3. TextB's table and numbers, one half of its lines per thread: most of
//    its lines are those of TextA in the same order and take the number of
//    the A entry they equal, without a key being made; the others are
//    looked up without changing the index, and those found nowhere are
//    interned afterwards in text order.
// A half's entries go where its first line would, as no line makes more
// than one entry; the gap before the second half is closed afterwards.
#include "compare/key_numbering.h"

#include <optional>
#include <string_view>
#include <vector>

#include "compare/key_index.h"
#include "compare/line_key.h"
#include "compare/recent_keys.h"
#include "compare/run_both.h"

namespace rd {

namespace {

// The key of every table entry, recomputed from its line: the key index
// keeps numbers only. TextB's numbers are counted after all lines of TextA.
class TTableKeys {
 public:
  TTableKeys(const TLineList& a, const TLineList& b, const TCompareOptions& options, const TLineTables& tables)
      : lines_{&a, &b}, options_(options), tables_(tables), baseB_(static_cast<std::int32_t>(a.Count())) {}

  // Readies the keys of one text (an upper-cased copy under Text) before
  // its table is built. The two sides may be readied at once.
  void Prepare(Side side) { keys_[Index(side)].Prepare(*lines_[Index(side)], options_); }

  std::int32_t Base(Side side) const { return side == Side::A ? 0 : baseB_; }

  // The key of line i, or nothing when the line takes no part; a folded
  // key is written to `scratch`.
  std::optional<std::string_view> LineKeyOf(Side side, std::size_t i, std::string& scratch) const {
    return keys_[Index(side)].Key(i, scratch);
  }

  // Whether line i of TextB and line j of TextA are equal, and so have
  // equal keys.
  bool SameLines(std::size_t i, std::size_t j) const { return (*lines_[1])[i] == (*lines_[0])[j]; }

  bool SameKey(std::int32_t x, std::int32_t y) const {
    if (x == y) return true;
    const Side sx = SideOf(x);
    const Side sy = SideOf(y);
    return keys_[Index(sx)].SameKey(LineOf(x), keys_[Index(sy)], LineOf(y));
  }

  std::uint64_t Hash(std::int32_t number) const {
    thread_local std::string scratch;
    return HashBytes(*LineKeyOf(SideOf(number), LineOf(number), scratch));
  }

  void Prefetch(int stage, std::int32_t number) const {
    const Side side = SideOf(number);
    const std::int32_t& line = tables_.line[Index(side)][static_cast<std::size_t>(number - Base(side))];
    if (stage == 0) {
      __builtin_prefetch(&line);
    } else if (stage == 1) {
      keys_[Index(side)].Prefetch(static_cast<std::size_t>(line));
    } else {
      keys_[Index(side)].PrefetchKey(static_cast<std::size_t>(line));
    }
  }

 private:
  Side SideOf(std::int32_t number) const { return number < baseB_ ? Side::A : Side::B; }
  std::size_t LineOf(std::int32_t number) const {
    const Side side = SideOf(number);
    return static_cast<std::size_t>(tables_.line[Index(side)][static_cast<std::size_t>(number - Base(side))]);
  }

  PerSide<const TLineList*> lines_;
  PerSide<TTextKeys> keys_;
  const TCompareOptions& options_;  // the comparison's; outlives this
  const TLineTables& tables_;       // the tables being numbered; complete before any key is asked for
  std::int32_t baseB_;
};

using TIndex = TKeyIndex<TTableKeys>;

constexpr std::size_t kChunk = 256;  // entries handed to the index at a time

// An entry of TextA whose key is that of an earlier entry, told while
// its table was built.
struct TRepeat {
  std::int32_t entry;
  std::int32_t earlier;
};

// Writes an entry for every line of TextA in [from, to) that takes part,
// holding the hash of its key, from a[at] on (its line in lines[at]);
// returns how many. The entries found to repeat an earlier one go to
// `repeats`, in order.
std::size_t BuildA(std::size_t from, std::size_t to, const TTableKeys& keys, TTable& a, TEntryLines& lines,
                   std::size_t at, std::vector<TRepeat>& repeats) {
  std::string scratch;
  TRecentKeys recent;
  const std::size_t first = at;
  for (std::size_t i = from; i < to; ++i) {
    if (const std::optional<std::string_view> key = keys.LineKeyOf(Side::A, i, scratch)) {
      const std::uint64_t hash = HashBytes(*key);
      const auto position = static_cast<std::int32_t>(at);
      lines[at] = static_cast<std::int32_t>(i);  // before SameKey reads it
      if (const std::int32_t earlier = recent.Find(hash, position); earlier >= 0) {
        if (keys.SameKey(earlier, position)) repeats.push_back({position, earlier});
        else recent.Remember(hash, position);
      }
      a[at] = TDataFile(0);
      a[at++].HoldHash(hash);
    }
  }
  return at - first;
}

// Fills a table and its entries' lines for `lines` lines in two halves, on
// two threads when `parallel`: build(half, from, to, at) writes the entries
// of lines [from, to) from position `at` on and returns how many it wrote.
// The second half starts where its first line would stand; what it wrote is
// moved down to follow the first, and `close(gap)` is told how far.
template <class TBuild, class TClose>
void BuildInHalves(TTable& table, TEntryLines& entryLines, std::size_t lines, bool parallel, TBuild build,
                   TClose close) {
  table.resize(lines);  // unset: each half writes its own entries
  entryLines.resize(lines);
  const std::size_t half = lines / 2;
  std::size_t counts[2] = {};
  RunBoth(parallel, [&] { counts[0] = build(0, 0, half, 0); }, [&] { counts[1] = build(1, half, lines, half); });
  const std::size_t gap = half - counts[0];
  if (gap > 0) {
    const auto from = static_cast<std::ptrdiff_t>(half);
    const auto to = static_cast<std::ptrdiff_t>(half + counts[1]);
    const auto into = static_cast<std::ptrdiff_t>(counts[0]);
    std::move(table.begin() + from, table.begin() + to, table.begin() + into);
    std::move(entryLines.begin() + from, entryLines.begin() + to, entryLines.begin() + into);
    close(gap);
  }
  table.resize(counts[0] + counts[1]);
  entryLines.resize(counts[0] + counts[1]);
}

// Gives the entries a[positions[0..n)] (keys of TextA in `part`) the
// numbers of their keys. An entry that repeats one numbered before takes
// that entry's number; the others are interned, by their own position or,
// repeating an entry of this same chunk, by that entry's, whose bytes are
// at hand.
void InternA(TIndex& index, int part, TTable& a, const std::int32_t* positions, std::size_t n,
             const TRepeat*& repeat, const TRepeat* repeatsEnd) {
  std::uint64_t hashes[kChunk];
  std::int32_t numbers[kChunk];
  std::int32_t targets[kChunk];  // the entries interned
  std::int32_t ids[kChunk];
  std::size_t k = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const std::int32_t position = positions[j];
    while (repeat != repeatsEnd && repeat->entry < position) ++repeat;
    std::int32_t number = position;
    if (repeat != repeatsEnd && repeat->entry == position) {
      number = repeat->earlier;
      if (number < positions[0]) {
        // Numbered with an earlier chunk: the same part, this thread's.
        a[position].Number(a[number].Key());
        continue;
      }
    }
    hashes[k] = a[position].HeldHash();
    numbers[k] = number;
    targets[k++] = position;
  }
  index.InternAll(part, std::span(hashes, k), std::span(numbers, k), std::span(ids, k));
  for (std::size_t j = 0; j < k; ++j) a[targets[j]].Number(ids[j]);
}

// Numbers the keys of TextA that fall in one part of the index. Another
// thread may do the same for the other part at the same time: it writes
// only the key words of its own entries, and reads only the partners of these.
void NumberPartOfA(int part, TIndex& index, TTable& a, const std::vector<TRepeat>& repeats) {
  const auto n = static_cast<std::int32_t>(a.size());
  std::int32_t positions[kChunk];
  const TRepeat* repeat = repeats.data();
  for (std::int32_t from = 0; from < n;) {
    std::size_t k = 0;
    // Entries of the other part are passed over without a branch, which
    // would miss half the time.
    for (; from < n && k < kChunk; ++from) {
      positions[k] = from;
      k += TIndex::PartOf(std::uint64_t{a[from].HeldHashHigh()} << 32) == part;
    }
    InternA(index, part, a, positions, k, repeat, repeats.data() + repeats.size());
  }
}

// Builds and numbers TextB's entries for a range of its lines. Each line
// is first held against the line of the A entry after the last match: an
// equal line takes that entry's number at once. Other lines get their key
// and its hash; a key equal to that A entry's takes its number too, and
// the rest wait for lookups in the index, which is not changed: a line
// whose key is not in TextA keeps its hash and goes to `missing`.
class TBuildB {
 public:
  TBuildB(const TTableKeys& keys, const TIndex& index, const TLineTables& t, TTable& b, TEntryLines& bLines,
          std::vector<std::int32_t>& missing)
      : keys_(keys), index_(index), a_(t.table[0]), aLines_(t.line[0]), b_(b), bLines_(bLines), count_(t.count),
        missing_(missing),
        nA_(static_cast<std::int32_t>(a_.size())), baseB_(keys.Base(Side::B)) {}

  // Lines [from, to), their entries from b[at] on; returns how many. A
  // range that does not start at the top starts with its place in TextA
  // unknown.
  std::size_t Build(std::size_t from, std::size_t to, std::size_t at) {
    lost_ = from > 0;
    auto position = static_cast<std::int32_t>(at);
    for (std::size_t i = from; i < to; ++i) {
      if (!lost_ && next_ < nA_ &&
          keys_.SameLines(i, static_cast<std::size_t>(aLines_[static_cast<std::size_t>(next_)]))) {
        Make(position, i);
        Follow(position++);
        continue;
      }
      const std::optional<std::string_view> key = keys_.LineKeyOf(Side::B, i, scratch_);
      if (!key) continue;
      const std::uint64_t hash = HashBytes(*key);
      Make(position, i);
      b_[position].HoldHash(hash);
      if (!lost_ && next_ < nA_ && a_[next_].HeldHashHigh() == static_cast<std::uint32_t>(hash >> 32) &&
          keys_.SameKey(next_, baseB_ + position)) {
        Follow(position++);
      } else {
        Queue(position++);
      }
    }
    Flush();
    return static_cast<std::size_t>(position) - at;
  }

 private:
  // The entry at `position` for line i, its key still to come.
  void Make(std::int32_t position, std::size_t i) {
    bLines_[static_cast<std::size_t>(position)] = static_cast<std::int32_t>(i);
    b_[position] = TDataFile(0);
  }

  void Follow(std::int32_t position) {
    b_[position].Number(a_[next_++].Key());
    missed_ = false;
    resynced_ = false;
  }

  // A line that does not follow TextA waits for a batch of lookups. Alone,
  // it is most often a changed line, and TextA goes on at the next one. A
  // second in a row, or a miss right after the place was found, means the
  // texts went apart: lines are then only looked up, in whole batches, until
  // a batch ends on a line that tells where TextB picks up again. A full
  // batch is looked up whatever the state: the one that fills as the place
  // is lost too.
  void Queue(std::int32_t position) {
    hashes_[pending_] = b_[position].HeldHash();
    numbers_[pending_] = baseB_ + position;
    ++pending_;
    if (!lost_) {
      if (missed_ || resynced_) {
        lost_ = true;
      } else {
        ++next_;
        missed_ = true;
      }
    }
    if (pending_ == kBatch && Flush() && lost_) {
      lost_ = false;
      missed_ = false;
      resynced_ = true;
    }
  }

  // Looks up the queued lines; true when the last of them occurs once in
  // TextA, which tells where TextB picks up again.
  bool Flush() {
    if (pending_ == 0) return false;
    index_.FindAll(std::span(hashes_, pending_), std::span(numbers_, pending_), std::span(ids_, pending_));
    for (std::size_t j = 0; j < pending_; ++j) {
      const std::int32_t position = numbers_[j] - baseB_;
      if (ids_[j] >= 0) b_[position].Number(ids_[j]);
      else missing_.push_back(position);
    }
    const std::int32_t last = ids_[pending_ - 1];
    pending_ = 0;
    if (last < 0 || last >= nA_ || count_.Of(Side::A, last) != 1) return false;
    next_ = last + 1;
    return true;
  }

  static constexpr std::size_t kBatch = 32;  // lines looked up together
  const TTableKeys& keys_;
  const TIndex& index_;
  const TTable& a_;  // TextA's table, numbered
  const TEntryLines& aLines_;
  TTable& b_;             // as long as TextB has lines
  TEntryLines& bLines_;  // as long too
  const TKeyCounts& count_;         // TextA's counts, complete
  std::vector<std::int32_t>& missing_;
  std::int32_t nA_;
  std::int32_t baseB_;
  std::string scratch_;    // a folded key
  std::int32_t next_ = 0;  // the A position that a following line matches
  bool missed_ = false;    // the line before did not follow
  bool resynced_ = false;  // the place in TextA was just found by the lookups, not yet confirmed
  bool lost_ = false;      // the place in TextA is unknown: lines are only looked up
  std::uint64_t hashes_[kBatch] = {};
  std::int32_t numbers_[kBatch] = {};
  std::int32_t ids_[kBatch] = {};
  std::size_t pending_ = 0;
};

}  // namespace

struct TKeyNumbering::TState {
  TState(const TLineList& a, const TLineList& b, const TCompareOptions& options, TLineTables& t, bool parallel)
      : lines{&a, &b}, t(t), keys(a, b, options, t), parallel(parallel) {}

  PerSide<const TLineList*> lines;
  TLineTables& t;
  TTableKeys keys;
  std::optional<TIndex> index;
  std::vector<TRepeat> repeats;  // TextA's entries that repeat an earlier one, in order
  bool parallel;
};

TKeyNumbering::TKeyNumbering(const TLineList& a, const TLineList& b, const TCompareOptions& options, TLineTables& t,
                             bool parallel)
    : state_(std::make_unique<TState>(a, b, options, t, parallel)) {}

TKeyNumbering::~TKeyNumbering() = default;

void TKeyNumbering::BuildTableA() {
  TState& s = *state_;
  RunBoth(s.parallel, [&] { s.keys.Prepare(Side::A); }, [&] { s.keys.Prepare(Side::B); });
  // Most keys of TextB are those of TextA; the index grows when they are
  // not. Its parts are made by the threads that build the table, at the end.
  s.index.emplace(s.lines[0]->Count() + s.lines[1]->Count() / 8, s.keys);
  static_assert(TIndex::kParts == 2, "one part per thread");
  PerSide<std::vector<TRepeat>> repeats;
  BuildInHalves(
      s.t.A(), s.t.line[0], s.lines[0]->Count(), s.parallel,
      [&](int half, std::size_t from, std::size_t to, std::size_t at) {
        const std::size_t count = BuildA(from, to, s.keys, s.t.A(), s.t.line[0], at, repeats[half]);
        s.index->MakePart(half);
        return count;
      },
      [&](std::size_t gap) {
        for (TRepeat& r : repeats[1]) {
          r.entry -= static_cast<std::int32_t>(gap);
          r.earlier -= static_cast<std::int32_t>(gap);
        }
      });
  s.repeats = std::move(repeats[0]);
  s.repeats.insert(s.repeats.end(), repeats[1].begin(), repeats[1].end());
}

void TKeyNumbering::NumberA() {
  TState& s = *state_;
  // Key numbers run over the lines of both texts; those of keys in TextA
  // stay below its number of lines, and only those are counted.
  s.t.count.Reset(s.lines[0]->Count());
  RunBoth(
      s.parallel, [&] { NumberPartOfA(0, *s.index, s.t.A(), s.repeats); },
      [&] { NumberPartOfA(1, *s.index, s.t.A(), s.repeats); });
  s.repeats = {};
  for (const TDataFile& e : s.t.A()) s.t.count.Add(Side::A, e.Key());
}

void TKeyNumbering::BuildAndNumberB() {
  TState& s = *state_;
  TTable& a = s.t.A();
  TTable& b = s.t.B();
  struct alignas(64) TMissing {  // filled on two threads
    std::vector<std::int32_t> positions;
  };
  PerSide<TMissing> missing;
  const auto build = [&](int half, std::size_t from, std::size_t to, std::size_t at) {
    return TBuildB(s.keys, *s.index, s.t, b, s.t.line[1], missing[half].positions).Build(from, to, at);
  };
  const auto close = [&](std::size_t gap) {
    for (std::int32_t& position : missing[1].positions) position -= static_cast<std::int32_t>(gap);
  };
  if (s.parallel) {
    BuildInHalves(b, s.t.line[1], s.lines[1]->Count(), true, build, close);
  } else {
    // One range: the place in TextA is never lost for a start in the middle.
    b.resize(s.lines[1]->Count());
    s.t.line[1].resize(s.lines[1]->Count());
    const std::size_t count = build(0, 0, s.lines[1]->Count(), 0);
    b.resize(count);
    s.t.line[1].resize(count);
  }

  // The keys found only in TextB, in text order within each part of the
  // index: each takes the number of its first entry.
  std::int32_t numbers[kChunk];
  std::uint64_t hashes[kChunk];
  std::int32_t ids[kChunk];
  std::size_t n = 0;
  const auto intern = [&](int part) {
    s.index->InternAll(part, std::span(hashes, n), std::span(numbers, n), std::span(ids, n));
    for (std::size_t j = 0; j < n; ++j) b[numbers[j] - s.keys.Base(Side::B)].Number(ids[j]);
    n = 0;
  };
  for (int part = 0; part < TIndex::kParts; ++part) {
    for (const TMissing& half : missing) {
      for (const std::int32_t position : half.positions) {
        const std::uint64_t hash = b[position].HeldHash();
        if (TIndex::PartOf(hash) != part) continue;
        hashes[n] = hash;
        numbers[n] = s.keys.Base(Side::B) + position;
        if (++n == kChunk) intern(part);
      }
    }
    intern(part);
  }
  RunBoth(
      s.parallel,
      [&] {
        for (TDataFile& e : b) {
          s.t.count.Add(Side::B, e.Key());
          e.Release();
        }
      },
      [&] {
        for (TDataFile& e : a) e.Release();
      });
  s.index.reset();
}

}  // namespace rd
