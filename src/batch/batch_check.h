// The batch check without its window: candidate files of both sides, the
// pair rows with their result file names, and the run that compares every
// checked pair and writes its result file. The window shows this state and
// forwards its buttons, drops and double clicks here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_engine.h"
#include "batch/candidates.h"
#include "compare/side.h"

namespace rd {

inline constexpr std::string_view kNothingToCheck = "チェック対象のファイルがありません。";
inline constexpr std::string_view kRunFinished = "終了しました";
inline constexpr std::string_view kSelectCandidateA = "TextA候補を選択してください";
inline constexpr std::string_view kSelectCandidateB = "TextB候補を選択してください";
inline constexpr std::string_view kSameFile = "選択したファイルは同一ファイルです";
inline constexpr std::string_view kFileMissing = "ファイルが存在しません";

enum class TRowState : std::uint8_t {
  Unchecked,     // registered, never run
  Checking,      // being compared
  NoDifference,  // no entries in either text
  Both,          // entries in both texts
  OnlyA,         // entries in TextA only
  OnlyB,         // entries in TextB only
  Failed,        // the comparison, the result file or something unexpected failed
};

// The caption of the row's "結果" column: "ﾁｪｯｸ未", "ﾁｪｯｸ中", "なし", "両方",
// "Ａのみ", "Ｂのみ", "異常".
std::string_view Caption(TRowState state);

struct TPairRow {
  bool checked = true;  // compared by the next run
  TRowState state = TRowState::Unchecked;
  std::string nameA;
  std::string nameB;
  std::string folderA;  // ends in "/"
  std::string folderB;  // ends in "/"
  std::string message;  // shown when the row is selected
  std::string resultName;

  std::string PathA() const { return folderA + nameA; }
  std::string PathB() const { return folderB + nameB; }
};

// The name of a pair's result file before the counter: nameA with its last
// extension replaced by ".ret", or ".ret" appended when it has none. A dot
// that starts the name begins no extension (".profile" gives ".profile.ret").
std::string ResultFileBase(std::string_view nameA);

// Ctrl+A selects all rows; Ctrl with Shift or Alt does not.
constexpr bool SelectsAllRows(bool ctrl, bool shift, bool alt, char key) {
  return ctrl && !shift && !alt && (key == 'A' || key == 'a');
}

class TBatchCheck {
 public:
  // `engine` and `observer` outlive the model (the window owns all three).
  explicit TBatchCheck(TBatchEngine& engine, TBatchObserver* observer = nullptr)
      : engine_(engine), observer_(observer) {}

  const TCandidateList& Candidates(Side side) const { return candidates_[Index(side)]; }
  // Empty at first; otherwise ends in "/".
  const std::string& CandidateFolder(Side side) const { return folders_[Index(side)]; }
  const std::vector<TPairRow>& Rows() const { return rows_; }
  bool Running() const { return running_; }

  // "自動登録": a new candidate whose name the other side holds becomes a pair.
  bool AutoRegister() const { return autoRegister_; }
  void SetAutoRegister(bool on) { autoRegister_ = on; }

  void SetChecked(std::size_t row, bool checked);

  // Files one file as a candidate of TextA (isTextA) or TextB. A file outside
  // the side's candidate folder is ignored. With automatic registration a
  // name that the other side holds (ignoring letter case) becomes a pair
  // instead, unless both name one file.
  void AddCandidate(std::string_view path, bool isTextA);
  // Appends a checked, never-run row with a result file name that no row
  // holds yet: the base, else the base followed by 1, 2, ...
  void AddPair(std::string_view nameA, std::string_view nameB, std::string_view folderA, std::string_view folderB);

  // Files picked in the open dialog: the side's list is emptied, its folder
  // becomes that of the first file, and every file is added. No files: nothing.
  void OpenCandidates(Side side, std::span<const std::string> paths);
  void ClearCandidates(Side side);
  // Items dropped on a side's list. A first item that is a folder replaces
  // the list by the ordinary files of that folder (the other items are
  // ignored); otherwise the first file, and each further item that is an
  // ordinary file, is added, after the list was emptied and took the first
  // file's folder if that differs.
  void DropCandidates(Side side, std::span<const std::string> items);

  // "挿入": pairs the selected candidates of both lists by hand. Returns a
  // message for the user, empty when the pair was added.
  std::string InsertPair(std::optional<std::size_t> selectedA, std::optional<std::size_t> selectedB);
  // "解除": removes the rows; their result files stay.
  void RemovePairs(std::span<const std::size_t> rows);

  // "一括ﾁｪｯｸ": compares every checked row, writes its result file and
  // unchecks the rows that got both. Returns kNothingToCheck (nothing
  // changed) or kRunFinished.
  std::string Run();

  // Double click: loads the row's files into the panes and reads its result
  // file. Returns the message to show ("ファイルが存在しません" CR path, or the
  // result file's), empty when all went well or there is no row.
  std::string OpenPair(std::optional<std::size_t> row, TPairViewer& viewer);

 private:
  void CheckRow(std::size_t row);
  void SetRow(std::size_t row, TRowState state, std::string_view message);
  void Step();
  void NotifyCandidates(Side side) const;
  void NotifyRows() const;

  TBatchEngine& engine_;
  TBatchObserver* observer_;
  PerSide<TCandidateList> candidates_;
  PerSide<std::string> folders_;
  std::vector<TPairRow> rows_;
  bool autoRegister_ = true;
  bool running_ = false;
  int progress_ = 0;
  int progressMax_ = 0;
};

}  // namespace rd
