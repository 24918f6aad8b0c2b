// The batch check model: collecting candidates, pairing them, and the run.
#include "batch/batch_check.h"

#include <algorithm>
#include <cassert>

namespace rd {

namespace {

constexpr std::string_view kNotChecked = "チェックされてません";
constexpr std::string_view kNoDifference = "違いはありません";
constexpr std::string_view kDifferBoth = "TextABともに違いあり";
constexpr std::string_view kDifferA = "TextAのみに違いあり";
constexpr std::string_view kDifferB = "TextBのみに違いあり";
constexpr std::string_view kUnexpected = "チェック中に異常発生";

TRowState Classify(const PerSide<std::size_t>& counts) {
  const bool a = counts[0] > 0;
  const bool b = counts[1] > 0;
  if (a && b) return TRowState::Both;
  if (a) return TRowState::OnlyA;
  if (b) return TRowState::OnlyB;
  return TRowState::NoDifference;
}

std::string_view ClassMessage(TRowState state) {
  switch (state) {
    case TRowState::Both: return kDifferBoth;
    case TRowState::OnlyA: return kDifferA;
    case TRowState::OnlyB: return kDifferB;
    default: return kNoDifference;
  }
}

}  // namespace

std::string_view Caption(TRowState state) {
  switch (state) {
    case TRowState::Unchecked: return "ﾁｪｯｸ未";
    case TRowState::Checking: return "ﾁｪｯｸ中";
    case TRowState::NoDifference: return "なし";
    case TRowState::Both: return "両方";
    case TRowState::OnlyA: return "Ａのみ";
    case TRowState::OnlyB: return "Ｂのみ";
    case TRowState::Failed: return "異常";
  }
  return {};
}

std::string ResultFileBase(std::string_view nameA) {
  const std::size_t dot = nameA.rfind('.');
  const std::string_view stem = dot == std::string_view::npos || dot == 0 ? nameA : nameA.substr(0, dot);
  return std::string(stem) + ".ret";
}

void TBatchCheck::SetChecked(std::size_t row, bool checked) {
  assert(row < rows_.size() && "row index out of range");
  if (rows_[row].checked == checked) return;
  rows_[row].checked = checked;
  if (observer_) observer_->RowChanged(row);
}

void TBatchCheck::AddCandidate(std::string_view path, bool isTextA) {
  const Side own = isTextA ? Side::A : Side::B;
  const Side other = Other(own);
  const TSplitPath split = SplitPath(path);
  if (split.name.empty() || split.folder != folders_[Index(own)]) return;

  if (autoRegister_) {
    TCandidateList& others = candidates_[Index(other)];
    if (const std::optional<std::size_t> found = others.Find(split.name)) {
      const std::string otherName = others[*found];
      const bool oneFile = otherName == split.name && folders_[Index(other)] == split.folder;
      if (!oneFile) {
        if (isTextA)
          AddPair(split.name, otherName, split.folder, folders_[Index(other)]);
        else
          AddPair(otherName, split.name, folders_[Index(other)], split.folder);
        others.Remove(*found);
        NotifyCandidates(other);
        return;
      }
    }
  }
  if (candidates_[Index(own)].Add(split.name)) NotifyCandidates(own);
}

void TBatchCheck::AddPair(std::string_view nameA, std::string_view nameB, std::string_view folderA,
                          std::string_view folderB) {
  const std::string base = ResultFileBase(nameA);
  const auto taken = [&](const std::string& name) {
    return std::any_of(rows_.begin(), rows_.end(), [&](const TPairRow& r) { return r.resultName == name; });
  };
  std::string resultName = base;
  for (std::size_t counter = 1; taken(resultName); ++counter) resultName = base + std::to_string(counter);

  TPairRow row;
  row.nameA = nameA;
  row.nameB = nameB;
  row.folderA = folderA;
  row.folderB = folderB;
  row.message = kNotChecked;
  row.resultName = std::move(resultName);
  rows_.push_back(std::move(row));
  NotifyRows();
}

void TBatchCheck::OpenCandidates(Side side, std::span<const std::string> paths) {
  if (paths.empty()) return;
  candidates_[Index(side)].Clear();
  folders_[Index(side)] = SplitPath(paths.front()).folder;
  NotifyCandidates(side);
  for (const std::string& path : paths) AddCandidate(path, side == Side::A);
}

void TBatchCheck::ClearCandidates(Side side) {
  candidates_[Index(side)].Clear();
  NotifyCandidates(side);
}

void TBatchCheck::DropCandidates(Side side, std::span<const std::string> items) {
  if (items.empty()) return;
  const bool isTextA = side == Side::A;
  if (IsFolder(items.front())) {
    candidates_[Index(side)].Clear();
    folders_[Index(side)] = WithSlash(items.front());
    NotifyCandidates(side);
    for (const std::string& path : ListOrdinaryFiles(folders_[Index(side)])) AddCandidate(path, isTextA);
    return;
  }
  const std::string folder = SplitPath(items.front()).folder;
  if (folder != folders_[Index(side)]) {
    candidates_[Index(side)].Clear();
    folders_[Index(side)] = folder;
    NotifyCandidates(side);
  }
  AddCandidate(items.front(), isTextA);
  for (const std::string& item : items.subspan(1))
    if (IsOrdinaryFile(item)) AddCandidate(item, isTextA);
}

std::string TBatchCheck::InsertPair(std::optional<std::size_t> selectedA, std::optional<std::size_t> selectedB) {
  TCandidateList& listA = candidates_[Index(Side::A)];
  TCandidateList& listB = candidates_[Index(Side::B)];
  if (!selectedA || *selectedA >= listA.Count()) return std::string(kSelectCandidateA);
  if (!selectedB || *selectedB >= listB.Count()) return std::string(kSelectCandidateB);
  const std::string nameA = listA[*selectedA];
  const std::string nameB = listB[*selectedB];
  if (folders_[0] == folders_[1] && nameA == nameB) return std::string(kSameFile);
  AddPair(nameA, nameB, folders_[0], folders_[1]);
  listA.Remove(*selectedA);
  listB.Remove(*selectedB);
  NotifyCandidates(Side::A);
  NotifyCandidates(Side::B);
  return {};
}

void TBatchCheck::RemovePairs(std::span<const std::size_t> rows) {
  assert(!running_ && "rows are removed only between runs");
  std::vector<bool> doomed(rows_.size(), false);
  for (const std::size_t row : rows)
    if (row < rows_.size()) doomed[row] = true;
  std::size_t i = 0;
  std::erase_if(rows_, [&](const TPairRow&) { return doomed[i++]; });
  if (!rows.empty()) NotifyRows();
}

std::string TBatchCheck::Run() {
  assert(!running_ && "a run does not start another");
  const auto checked = std::count_if(rows_.begin(), rows_.end(), [](const TPairRow& r) { return r.checked; });
  if (checked == 0) return std::string(kNothingToCheck);

  engine_.ResetResults();
  progress_ = 0;
  progressMax_ = static_cast<int>(std::min<std::ptrdiff_t>(checked, INT32_MAX / 2) * 2);
  running_ = true;
  if (observer_) {
    observer_->ProgressChanged(progress_, progressMax_);
    observer_->RunningChanged(true);
  }
  for (std::size_t row = 0; row < rows_.size(); ++row)
    if (rows_[row].checked) CheckRow(row);

  running_ = false;
  progress_ = 0;
  if (observer_) {
    observer_->RunningChanged(false);
    observer_->ProgressChanged(progress_, progressMax_);
  }
  return std::string(kRunFinished);
}

// One row of the run. The progress advances by one at the start and one
// when the row has its outcome, and once more when its result file cannot
// be written.
void TBatchCheck::CheckRow(std::size_t row) {
  SetRow(row, TRowState::Checking, {});
  try {
    Step();
    const TPairRow& r = rows_[row];
    const std::string compared = engine_.CompareFiles(r.PathA(), r.PathB());
    if (!compared.empty()) {
      SetRow(row, TRowState::Failed, compared);
      Step();
      return;
    }
    const TRowState state = Classify(engine_.DiffCounts());
    SetRow(row, state, ClassMessage(state));
    Step();
    const std::string written = engine_.WriteResultFile(rows_[row].resultName);
    if (!written.empty()) {
      SetRow(row, TRowState::Failed, written);
      Step();
      return;
    }
    SetChecked(row, false);
  } catch (...) {
    // Whatever went wrong is this pair's: the run goes on with the next.
    SetRow(row, TRowState::Failed, kUnexpected);
  }
}

void TBatchCheck::SetRow(std::size_t row, TRowState state, std::string_view message) {
  rows_[row].state = state;
  rows_[row].message = message;
  if (observer_) observer_->RowChanged(row);
}

// The outcome's extra step for a failed write can run past the maximum; the
// position stays at the maximum then.
void TBatchCheck::Step() {
  if (progress_ < progressMax_) ++progress_;
  if (observer_) observer_->ProgressChanged(progress_, progressMax_);
}

std::string TBatchCheck::OpenPair(std::optional<std::size_t> row, TPairViewer& viewer) {
  if (!row || *row >= rows_.size()) return {};
  const std::string pathA = rows_[*row].PathA();
  const std::string pathB = rows_[*row].PathB();
  for (const std::string* path : {&pathA, &pathB})
    if (!IsOrdinaryFile(*path)) return std::string(kFileMissing) + "\r" + *path;
  viewer.LoadText(Side::A, pathA);
  viewer.LoadText(Side::B, pathB);
  std::string message = engine_.ReadResultFile(rows_[*row].resultName);
  viewer.ShowResults();
  return message;
}

void TBatchCheck::NotifyCandidates(Side side) const {
  if (observer_) observer_->CandidatesChanged(side);
}

void TBatchCheck::NotifyRows() const {
  if (observer_) observer_->RowsChanged();
}

}  // namespace rd
