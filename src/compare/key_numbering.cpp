// The keys are numbered in three steps, each of which splits over two
// threads without locks:
// 1. each text's table, one text per thread: an entry per line that takes
//    part, holding the hash of its key;
// 2. TextA's keys through the key index, one part of it per thread: each
//    thread walks the whole table and interns the keys of its part, in text
//    order, so every key gets the position of its first entry;
// 3. TextB, one half per thread: most of its lines follow the lines of
//    TextA in the same order and take the number of the A entry they
//    match; the others are looked up without changing the index, and those
//    found nowhere are interned afterwards in text order.
#include "compare/key_numbering.h"

#include <optional>
#include <string_view>
#include <vector>

#include "compare/key_index.h"
#include "compare/line_key.h"
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

  bool SameKey(std::int32_t x, std::int32_t y) const {
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
    const TDataFile& entry = tables_.table[Index(side)][number - Base(side)];
    if (stage == 0) {
      __builtin_prefetch(&entry);
    } else if (stage == 1) {
      keys_[Index(side)].Prefetch(entry.line);
    } else {
      keys_[Index(side)].PrefetchKey(entry.line);
    }
  }

 private:
  Side SideOf(std::int32_t number) const { return number < baseB_ ? Side::A : Side::B; }
  std::size_t LineOf(std::int32_t number) const {
    const Side side = SideOf(number);
    return static_cast<std::size_t>(tables_.table[Index(side)][number - Base(side)].line);
  }

  PerSide<const TLineList*> lines_;
  PerSide<TTextKeys> keys_;
  const TCompareOptions& options_;  // the comparison's; outlives this
  const TLineTables& tables_;       // the tables being numbered; complete before any key is asked for
  std::int32_t baseB_;
};

using TIndex = TKeyIndex<TTableKeys>;

constexpr std::size_t kChunk = 256;  // entries handed to the index at a time

// Appends an entry for every line of `side` that takes part, holding the
// hash of its key.
void BuildTable(Side side, std::size_t lineCount, const TTableKeys& keys, TBigVector<TDataFile>& table) {
  table.reserve(lineCount);
  std::string scratch;
  for (std::size_t i = 0; i < lineCount; ++i)
    if (const std::optional<std::string_view> key = keys.LineKeyOf(side, i, scratch))
      table.emplace_back(static_cast<std::int32_t>(i), 0).HoldHash(HashBytes(*key));
}

// Interns the held hashes of a[numbers[0..n)] (keys of TextA in `part`,
// numbered by position) and gives each entry its key's number.
void InternA(TIndex& index, int part, TBigVector<TDataFile>& a, const std::int32_t* numbers, std::size_t n) {
  std::uint64_t hashes[kChunk];
  std::int32_t ids[kChunk];
  for (std::size_t j = 0; j < n; ++j) hashes[j] = a[numbers[j]].HeldHash();
  index.InternAll(part, std::span(hashes, n), std::span(numbers, n), std::span(ids, n));
  for (std::size_t j = 0; j < n; ++j) a[numbers[j]].Number(ids[j]);
}

// Numbers the keys of TextA that fall in one part of the index. Another
// thread may do the same for the other part at the same time: it writes
// only the key words of its own entries, and reads only the partners of these.
void NumberPartOfA(int part, TIndex& index, TBigVector<TDataFile>& a) {
  const auto n = static_cast<std::int32_t>(a.size());
  std::int32_t numbers[kChunk];
  for (std::int32_t from = 0; from < n;) {
    std::size_t k = 0;
    // Entries of the other part are passed over without a branch, which
    // would miss half the time.
    for (; from < n && k < kChunk; ++from) {
      numbers[k] = from;
      k += TIndex::PartOf(std::uint64_t{a[from].HeldHashHigh()} << 32) == part;
    }
    InternA(index, part, a, numbers, k);
  }
}

// Numbers a range of TextB's entries whose keys occur in TextA. Each line
// is first held against the A entry after the last match, and only lines
// that do not follow ask the index, which is not changed: a line whose key
// is not in TextA keeps its hash and goes to `missing`. A match needs equal
// key bytes and takes the A entry's number, which is its key's, so the
// numbers are those the index gives.
class TFollowA {
 public:
  TFollowA(const TTableKeys& keys, const TIndex& index, const TLineTables& t, TBigVector<TDataFile>& b)
      : keys_(keys), index_(index), a_(t.table[0]), b_(b), count_(t.count),
        nA_(static_cast<std::int32_t>(a_.size())), baseB_(keys.Base(Side::B)) {}

  // Entries [from, to) of TextB; the positions of the missing ones are
  // appended in order. A range that does not start at the top starts with
  // its place in TextA unknown.
  void Build(std::int32_t from, std::int32_t to, std::vector<std::int32_t>& missing) {
    missing_ = &missing;
    lost_ = from > 0;
    for (std::int32_t position = from; position < to; ++position) {
      if (!lost_ && next_ < nA_ && Follows(position)) {
        b_[position].Number(a_[next_++].Key());
        missed_ = false;
        resynced_ = false;
      } else {
        Queue(position);
      }
    }
    Flush();
  }

 private:
  bool Follows(std::int32_t position) const {
    return a_[next_].HeldHashHigh() == b_[position].HeldHashHigh() && keys_.SameKey(next_, baseB_ + position);
  }

  // A line that does not follow TextA waits for a batch of lookups. Alone,
  // it is most often a changed line, and TextA goes on at the next one. A
  // second in a row, or a miss right after the place was found, means the
  // texts went apart: lines are then only looked up, in whole batches, until
  // a batch ends on a line that tells where TextB picks up again.
  // A full batch is looked up whatever the state: the one that fills as
  // the place is lost too.
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
      else missing_->push_back(position);
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
  const TBigVector<TDataFile>& a_;  // TextA's table, numbered
  TBigVector<TDataFile>& b_;
  const TKeyCounts& count_;  // TextA's counts, complete
  std::int32_t nA_;
  std::int32_t baseB_;
  std::vector<std::int32_t>* missing_ = nullptr;
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
  bool parallel;
};

TKeyNumbering::TKeyNumbering(const TLineList& a, const TLineList& b, const TCompareOptions& options, TLineTables& t,
                             bool parallel)
    : state_(std::make_unique<TState>(a, b, options, t, parallel)) {}

TKeyNumbering::~TKeyNumbering() = default;

void TKeyNumbering::BuildTables() {
  TState& s = *state_;
  const auto build = [&s](Side side) {
    s.keys.Prepare(side);
    // Built apart and moved in: the two tables' own fields share a cache line.
    TBigVector<TDataFile> table;
    BuildTable(side, s.lines[Index(side)]->Count(), s.keys, table);
    s.t.table[Index(side)] = std::move(table);
  };
  RunBoth(s.parallel, [&] { build(Side::A); }, [&] { build(Side::B); });
}

void TKeyNumbering::NumberA() {
  TState& s = *state_;
  // Key numbers run over the lines of both texts; those of keys in TextA
  // stay below its number of lines, and only those are counted.
  s.t.count.Reset(s.lines[0]->Count());
  // Most keys of TextB are those of TextA; the index grows when they are not.
  s.index.emplace(s.lines[0]->Count() + s.lines[1]->Count() / 8, s.keys);
  static_assert(TIndex::kParts == 2, "one part per thread");
  RunBoth(
      s.parallel, [&] { NumberPartOfA(0, *s.index, s.t.A()); }, [&] { NumberPartOfA(1, *s.index, s.t.A()); });
  for (const TDataFile& e : s.t.A()) s.t.count.Add(Side::A, e.Key());
}

void TKeyNumbering::NumberB() {
  TState& s = *state_;
  TBigVector<TDataFile>& a = s.t.A();
  TBigVector<TDataFile>& b = s.t.B();
  const auto nB = static_cast<std::int32_t>(b.size());
  const std::int32_t half = s.parallel ? nB / 2 : nB;
  struct alignas(64) TMissing {  // filled on two threads
    std::vector<std::int32_t> positions;
  };
  PerSide<TMissing> missing;
  RunBoth(
      s.parallel, [&] { TFollowA(s.keys, *s.index, s.t, b).Build(0, half, missing[0].positions); },
      [&] { TFollowA(s.keys, *s.index, s.t, b).Build(half, nB, missing[1].positions); });

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
