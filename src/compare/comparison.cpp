// CompareTexts: builds the line tables, numbers the keys, and runs the
// pairing steps. The keys of both texts are numbered through a hash table,
// which serves where sorting by key would: the pairing only asks whether two
// keys are equal and how often a key occurs on each side.
#include "compare/comparison.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "compare/block_shelf.h"
#include "compare/key_numbering.h"
#include "compare/pairing.h"
#include "compare/run_both.h"

namespace rd {

static_assert(TDataFile::kMaxKeys == kMaxTextLines + 1, "a text that can be read can be compared");

namespace {

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
  const TBlockShelfScope shelf;  // outlives the tables: what they free is kept for the later steps
  TLineTables t;
  {
    TKeyNumbering numbering(linesA, linesB, Options, t, linesA.Count() + linesB.Count() >= kParallelFrom);
    numbering.BuildTableA();
    if (t.A().empty()) return NoData(nameA);
    numbering.NumberA();
    Progress(showProgress);
    Progress(showProgress);
    numbering.BuildAndNumberB();
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
