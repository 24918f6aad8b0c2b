// The panes' line-drawing hook: the band of a difference line in the colour
// of its kind, the differing characters of a changed line over it, and the
// marks of tabs and full-width spaces. The information strip gets the marks
// only.
#pragma once

#include <functional>
#include <string>

#include "compare/comparison.h"
#include "compare/side.h"
#include "settings/settings.h"
#include "views/char_diff.h"

namespace rd {

class TEditor;
struct TDrawLineEvent;

class TPaneColouring {
 public:
  // `comparison` and `settings` are the main window's and outlive this.
  TPaneColouring(const TComparison& comparison, const TEditorSettings& settings)
      : comparison_(comparison), settings_(settings) {}

  // "エラー行非表示": no difference colour while on.
  bool ColouringOff = false;

  // The text of a row of the pane of `side` (empty past its end): where the
  // partner of a changed line is read.
  std::function<std::string(Side side, int row)> RowText;

  // Forgets the differing characters found so far; called whenever the
  // results, a pane's text or the rows shown change.
  void DropCharDiffs() { charDiffs_.Clear(); }

  // MemoADrawLine: the pane of `side` painted one part of a row.
  void DrawRow(Side side, TDrawLineEvent& e) const;
  // InfoMemoDrawLine and the second step of DrawRow.
  void DrawMarks(TDrawLineEvent& e) const;

 private:
  void DrawChangedChars(Side side, const TDiffEntry& entry, TDrawLineEvent& e) const;

  const TComparison& comparison_;
  const TEditorSettings& settings_;
  // Filled while painting, which is const towards the comparison and the panes.
  mutable TCharDiffCache charDiffs_;
};

}  // namespace rd
