// TEditorUndoObj: the undo and redo lists of one row store.
//
// An entry says which rows a change produced and what stood there before,
// so that undoing it is one more replacement of rows.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace rd {

struct TEditorUndoEntry {
  int CaretRow = 0;
  int CaretCol = 0;
  int FirstRow = 0;      // first row of the change
  int RowCount = 0;      // rows the change produced
  std::uint8_t OldEndKind = kNoOldRows;  // end kind of the old last row
  std::string OldText;   // old rows, CR LF after each that ended a line

  static constexpr std::uint8_t kNoOldRows = 3;
};

class TEditorUndoObj {
 public:
  static constexpr int kMinListMax = 64;

  int UndoListMax() const { return max_; }
  // Values below 64 are raised to 64.
  void SetUndoListMax(int v);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  int UndoCount() const { return static_cast<int>(undo_.size()); }
  int RedoCount() const { return static_cast<int>(redo_.size()); }
  void Clear();

  // A new change: appended to the undo list (dropping the oldest beyond the
  // limit); the redo list is emptied unless an undo or redo is running.
  void Record(TEditorUndoEntry entry);
  TEditorUndoEntry PopUndo();
  TEditorUndoEntry PopRedo();
  void PushUndo(TEditorUndoEntry entry);
  void PushRedo(TEditorUndoEntry entry) { redo_.push_back(std::move(entry)); }
  bool Replaying() const { return replaying_; }
  void SetReplaying(bool v) { replaying_ = v; }

 private:
  std::deque<TEditorUndoEntry> undo_;
  std::deque<TEditorUndoEntry> redo_;
  int max_ = kMinListMax;
  bool replaying_ = false;
};

}  // namespace rd
