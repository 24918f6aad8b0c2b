// CompareTexts: builds the line tables, numbers the keys, and runs the
// pairing steps. The keys of both texts are numbered through one hash table,
// which serves where sorting by key would: the pairing only asks whether two
// keys are equal and how often a key occurs on each side.
#include "compare/comparison.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "compare/key_index.h"
#include "compare/line_key.h"
#include "compare/pairing.h"

namespace rd {

static_assert(TDataFile::kMaxKeys == kMaxTextLines + 1, "a text that can be read can be compared");

namespace {

// The key of every table entry, recomputed from its line: the key index
// keeps numbers only. A key's number is the position of the entry where it
// first occurs; TextB's positions are counted after all lines of TextA.
class TTableKeys {
 public:
  TTableKeys(const TLineList& a, const TLineList& b, const TCompareOptions& options, const TLineTables& tables)
      : lines_{&a, &b}, options_(options), tables_(tables), baseB_(static_cast<std::int32_t>(a.Count())) {}

  // Makes the keys of one text (an upper-cased copy, or folded keys) before
  // its lines are numbered.
  void Prepare(Side side) { keys_[Index(side)].Prepare(*lines_[Index(side)], options_); }

  std::int32_t Base(Side side) const { return side == Side::A ? 0 : baseB_; }

  // The key of line i, or nothing when the line takes no part.
  std::optional<std::string_view> LineKeyOf(Side side, std::size_t i) const { return keys_[Index(side)].Key(i); }

  std::string_view Key(std::int32_t number) const {
    const Side side = number < baseB_ ? Side::A : Side::B;
    return *LineKeyOf(side, tables_.table[Index(side)][number - Base(side)].line);
  }

  void Prefetch(int stage, std::int32_t number) const {
    const Side side = number < baseB_ ? Side::A : Side::B;
    const TDataFile& entry = tables_.table[Index(side)][number - Base(side)];
    if (stage == 0) {
      __builtin_prefetch(&entry);
    } else if (stage == 1) {
      keys_[Index(side)].Prefetch(entry.line);
    } else {
      __builtin_prefetch(keys_[Index(side)].KeyData(entry.line));
    }
  }

 private:
  PerSide<const TLineList*> lines_;
  PerSide<TTextKeys> keys_;
  const TCompareOptions& options_;  // the comparison's; outlives this
  const TLineTables& tables_;       // the tables being built; entries are never moved
  std::int32_t baseB_;
};

using TIndex = TKeyIndex<TTableKeys>;

// Appends one entry per line of `side` that takes part and numbers its key.
void BuildTable(Side side, std::size_t lineCount, TTableKeys& keys, TIndex& index, TLineTables& t) {
  TBigVector<TDataFile>& table = t.table[Index(side)];
  table.reserve(lineCount);  // never reallocates below: the key source reads entries as they are added
  constexpr std::size_t kChunk = 256;
  std::string_view chunkKeys[kChunk] = {};
  std::int32_t fresh[kChunk] = {};
  std::int32_t ids[kChunk] = {};
  std::size_t pending = 0;
  const auto flush = [&] {
    index.InternAll(std::span(chunkKeys, pending), std::span(fresh, pending), std::span(ids, pending));
    for (std::size_t j = 0; j < pending; ++j) {
      TDataFile& entry = table[table.size() - pending + j];
      entry.SetKey(ids[j]);
      t.count.Add(side, ids[j]);
    }
    pending = 0;
  };
  for (std::size_t i = 0; i < lineCount; ++i) {
    const std::optional<std::string_view> key = keys.LineKeyOf(side, i);
    if (!key) continue;
    chunkKeys[pending] = *key;
    fresh[pending] = keys.Base(side) + static_cast<std::int32_t>(table.size());
    table.emplace_back(static_cast<std::int32_t>(i), 0);
    if (++pending == kChunk) flush();
  }
  flush();
}

// Numbers TextB's keys as BuildTable would, but most lines of TextB follow
// the lines of TextA in the same order: each line is first held against the
// A entry after the last match, and only lines that do not follow ask the
// index. A match needs equal key bytes and takes the A entry's number, which
// is its key's, so the numbers are those the index would give; keys found
// only in TextB reach the index in text order and number as before.
class TFollowA {
 public:
  TFollowA(TTableKeys& keys, TIndex& index, TLineTables& t)
      : keys_(keys), index_(index), a_(t.table[0]), b_(t.table[1]), count_(t.count),
        nA_(static_cast<std::int32_t>(a_.size())) {}

  void Build(std::size_t lineCount) {
    b_.reserve(lineCount);  // never reallocates below: queued lines keep their positions
    for (std::size_t i = 0; i < lineCount; ++i) {
      const std::optional<std::string_view> key = keys_.LineKeyOf(Side::B, i);
      if (!key) continue;
      const auto position = static_cast<std::int32_t>(b_.size());
      b_.emplace_back(static_cast<std::int32_t>(i), 0);
      if (!lost_ && next_ < nA_ && keys_.LineKeyOf(Side::A, a_[next_].line) == key) {
        Settle(position, a_[next_++].Key());
        missed_ = false;
        resynced_ = false;
      } else {
        Queue(*key, position);
      }
    }
    Flush();
  }

 private:
  void Settle(std::int32_t position, std::int32_t id) {
    b_[position].SetKey(id);
    count_.Add(Side::B, id);
  }

  // A line that does not follow TextA waits for a batch of lookups. Alone,
  // it is most often a changed line, and TextA goes on at the next one. A
  // second in a row, or a miss right after the place was found, means the
  // texts went apart: lines are then only looked up, in whole batches, until
  // a batch ends on a line that tells where TextB picks up again.
  void Queue(std::string_view key, std::int32_t position) {
    queued_[pending_] = key;
    fresh_[pending_] = keys_.Base(Side::B) + position;
    at_[pending_] = position;
    ++pending_;
    if (lost_) {
      if (pending_ == kBatch && Flush()) {
        lost_ = false;
        missed_ = false;
        resynced_ = true;
      }
    } else if (missed_ || resynced_) {
      lost_ = true;
    } else {
      ++next_;
      missed_ = true;
      if (pending_ == kBatch) Flush();
    }
  }

  // Looks up the queued lines; true when the last of them occurs once in
  // TextA, which tells where TextB picks up again.
  bool Flush() {
    if (pending_ == 0) return false;
    index_.InternAll(std::span(queued_, pending_), std::span(fresh_, pending_), std::span(ids_, pending_));
    for (std::size_t j = 0; j < pending_; ++j) Settle(at_[j], ids_[j]);
    const std::int32_t last = ids_[pending_ - 1];
    pending_ = 0;
    if (last >= nA_ || count_.Of(Side::A, last) != 1) return false;
    next_ = last + 1;
    return true;
  }

  static constexpr std::size_t kBatch = 32;  // lines looked up together
  TTableKeys& keys_;
  TIndex& index_;
  const TBigVector<TDataFile>& a_;  // TextA's table, complete
  TBigVector<TDataFile>& b_;
  TKeyCounts& count_;
  std::int32_t nA_;
  std::int32_t next_ = 0;  // the A position that a following line matches
  bool missed_ = false;    // the line before did not follow
  bool resynced_ = false;  // the place in TextA was just found by the lookups, not yet confirmed
  bool lost_ = false;      // the place in TextA is unknown: lines are only looked up
  std::string_view queued_[kBatch] = {};
  std::int32_t fresh_[kBatch] = {};
  std::int32_t ids_[kBatch] = {};
  std::int32_t at_[kBatch] = {};
  std::size_t pending_ = 0;
};

std::string NoData(std::string_view name) { return "データがありません" + std::string(name); }

}  // namespace

std::string ErrorCountText(std::size_t count) { return std::to_string(count) + "行"; }

void TComparison::Progress(bool show) const {
  if (show && host_) host_->ProgressStep();
}

void TComparison::ShowErrorCounts() const {
  if (host_) host_->ShowErrorCounts({diff_[0].size(), diff_[1].size()});
}

void TComparison::ResetResults() {
  if (host_) host_->ResultsDiscarding();
  const bool hadEntries = !diff_[0].empty() || !diff_[1].empty();
  diff_[0] = {};
  diff_[1] = {};
  if (host_) {
    host_->ClearErrorCounts();
    if (hadEntries) host_->RepaintPanes();
  }
}

std::string TComparison::CompareTexts(const TLineList& linesA, const TLineList& linesB, bool showProgress,
                                      std::string_view nameA, std::string_view nameB) {
  ResetResults();
  Progress(showProgress);

  if (linesA.Count() + linesB.Count() >= TDataFile::kMaxKeys) throw std::length_error("too many lines to compare");
  TLineTables t;
  // Key numbers run over the lines of both texts; those of keys in TextA
  // stay below its number of lines, and only those are counted.
  t.count.Reset(linesA.Count());
  {
    TTableKeys keys(linesA, linesB, Options, t);
    // Most keys of TextB are those of TextA; the index grows when they are not.
    TIndex index(linesA.Count() + linesB.Count() / 8, keys);
    keys.Prepare(Side::A);
    BuildTable(Side::A, linesA.Count(), keys, index, t);
    if (t.A().empty()) return NoData(nameA);
    Progress(showProgress);
    Progress(showProgress);

    keys.Prepare(Side::B);
    TFollowA(keys, index, t).Build(linesB.Count());
    if (t.B().empty()) return NoData(nameB);
    Progress(showProgress);
    Progress(showProgress);
  }  // the keys are numbered: the index and the prepared keys go before the pairing

  ClassifyByCount(t);
  Progress(showProgress);
  ExtendPairs(t);
  Progress(showProgress);
  PairBlocks(t);
  Progress(showProgress);
  MarkMoved(t);
  Progress(showProgress);
  PairChanged(t);
  Progress(showProgress);
  diff_ = ListDifferences(t);
  Progress(showProgress);

  ShowErrorCounts();
  if (host_) host_->RepaintPanes();
  return {};
}

}  // namespace rd
