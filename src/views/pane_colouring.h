// The panes' line-drawing hook: the band of a difference line in the colour
// of its kind, and the marks of tabs and full-width spaces. The information
// strip gets the marks only.
#pragma once

#include <functional>

#include "compare/comparison.h"
#include "compare/side.h"
#include "settings/settings.h"

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

  // MemoADrawLine: the pane of `side` painted one part of a row.
  void DrawRow(Side side, TDrawLineEvent& e) const;
  // InfoMemoDrawLine and the second step of DrawRow.
  void DrawMarks(TDrawLineEvent& e) const;

 private:
  const TComparison& comparison_;
  const TEditorSettings& settings_;
};

}  // namespace rd
