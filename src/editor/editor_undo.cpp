// The undo and redo lists and their limit.
#include "editor/editor_undo.h"

#include <algorithm>
#include <cassert>

namespace rd {

void TEditorUndoObj::SetUndoListMax(int v) {
  max_ = std::max(v, kMinListMax);
  while (static_cast<int>(undo_.size()) > max_) undo_.pop_front();
}

void TEditorUndoObj::Clear() {
  undo_.clear();
  redo_.clear();
}

void TEditorUndoObj::Record(TEditorUndoEntry entry) {
  if (replaying_) return;
  PushUndo(std::move(entry));
  redo_.clear();
}

void TEditorUndoObj::PushUndo(TEditorUndoEntry entry) {
  undo_.push_back(std::move(entry));
  if (static_cast<int>(undo_.size()) > max_) undo_.pop_front();
}

TEditorUndoEntry TEditorUndoObj::PopUndo() {
  assert(!undo_.empty() && "nothing to undo");
  TEditorUndoEntry e = std::move(undo_.back());
  undo_.pop_back();
  return e;
}

TEditorUndoEntry TEditorUndoObj::PopRedo() {
  assert(!redo_.empty() && "nothing to redo");
  TEditorUndoEntry e = std::move(redo_.back());
  redo_.pop_back();
  return e;
}

}  // namespace rd
