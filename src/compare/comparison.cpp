// CompareTexts: builds the line tables, numbers the keys, and runs the
// pairing steps. The keys of both texts are numbered through one hash table,
// which serves where sorting by key would: the pairing only asks whether two
// keys are equal and how often a key occurs on each side.
#include "compare/comparison.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "compare/key_index.h"
#include "compare/line_key.h"
#include "compare/pairing.h"

namespace rd {

namespace {

// Appends one entry per line that takes part. `upper` receives the
// upper-cased text when letter case is ignored; keys point into it.
void BuildTable(const TLineList& lines, const TCompareOptions& options, std::string& upper, TKeyIndex& index,
                TBigVector<TDataFile>& table, TBigVector<std::uint8_t>& count) {
  if (lines.Count() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("too many lines to compare");
  if (options.Text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < lines.Count(); ++i) bytes += lines[i].size();
    upper.reserve(bytes);  // never reallocates below, so the keys stay valid
  }
  table.reserve(lines.Count());
  constexpr std::size_t kChunk = 256;
  std::string_view keys[kChunk];
  std::int32_t lineOf[kChunk];
  std::int32_t ids[kChunk];
  std::size_t pending = 0;
  const auto flush = [&] {
    index.InternAll(std::span(keys, pending), std::span(ids, pending));
    for (std::size_t j = 0; j < pending; ++j) {
      if (static_cast<std::size_t>(ids[j]) >= count.size()) count.resize(ids[j] + 1, 0);
      if (count[ids[j]] < 2) ++count[ids[j]];
      table.emplace_back(lineOf[j], ids[j]);
    }
    pending = 0;
  };
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines[i];
    std::string_view upperLine;
    if (options.Text) {
      const std::size_t at = upper.size();
      upper.append(line);
      UpperSjisInPlace(std::span<char>(upper.data() + at, line.size()));
      upperLine = std::string_view(upper).substr(at, line.size());
    }
    const std::optional<std::string_view> key = LineKey(line, upperLine, options);
    if (!key) continue;
    keys[pending] = *key;
    lineOf[pending] = static_cast<std::int32_t>(i);
    if (++pending == kChunk) flush();
  }
  flush();
}

std::string NoData(std::string_view name) { return "データがありません" + std::string(name); }

}  // namespace

std::string ErrorCountText(std::size_t count) { return std::to_string(count) + "行"; }

void TComparison::Progress(bool show) const {
  if (show && host_) host_->ProgressStep();
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

  TLineTables t;
  // Most keys of TextB are those of TextA; the index grows when they are not.
  TKeyIndex index(linesA.Count() + linesB.Count() / 8);
  PerSide<std::string> upper;
  BuildTable(linesA, Options, upper[0], index, t.A(), t.count[0]);
  if (t.A().empty()) return NoData(nameA);
  Progress(showProgress);
  Progress(showProgress);

  BuildTable(linesB, Options, upper[1], index, t.B(), t.count[1]);
  if (t.B().empty()) return NoData(nameB);
  if (index.Count() > TDataFile::kMaxKeys) throw std::length_error("too many different lines to compare");
  t.count[0].resize(index.Count(), 0);
  t.count[1].resize(index.Count(), 0);
  index = TKeyIndex(0);  // the keys are numbered; free the table before pairing
  Progress(showProgress);
  Progress(showProgress);

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

  if (host_) {
    host_->ShowErrorCounts({diff_[0].size(), diff_[1].size()});
    host_->RepaintPanes();
  }
  return {};
}

}  // namespace rd
