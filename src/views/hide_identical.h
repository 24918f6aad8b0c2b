// Hiding identical lines: both panes are reduced to their difference lines
// and the difference lists are rewritten to match, keeping what is needed
// to give the full texts and the original lists back.
//
// The window owns one THiddenLines. The toggle asks it to Hide or Show; a
// discard of the results (ResultsDiscarding of the compare host) calls
// Show first, without a question, so that the full texts always come back
// before anything else happens to them. A comparison must therefore read
// the panes' lines only after that discard. Around either call the window
// puts the answered texts into the panes, sets both carets and top rows
// to 0, forgets the last described caret row, turns the error-colour
// hiding off and recomputes the map bar.
#pragma once

#include <string>
#include <vector>

#include "compare/comparison.h"
#include "compare/diff_entry.h"
#include "compare/side.h"

namespace rd {

using TPaneLines = std::vector<std::string>;  // one Shift_JIS line per element

// The panes' texts and modified flags, given to Hide and given back by Show.
struct TPaneTexts {
  PerSide<TPaneLines> Lines;
  PerSide<bool> Modified{false, false};
};

class THiddenLines {
 public:
  bool Active() const { return active_; }

  // Turns hiding on (it must be off). `full` are the panes' texts and modified flags as they
  // are now (the object keeps them); `lists` are both difference lists,
  // rewritten in place through MutableDiff: `line` becomes the list index, `fullLine` the old
  // line, and the partner of a changed or moved entry the reduced line of
  // its partner entry (an added entry keeps its partner, a line of the
  // full other text). Answers the reduced texts to put into the panes,
  // whose modified flags are then cleared. An entry naming a line past
  // the end of its text gets an empty line.
  PerSide<TPaneLines> Hide(TComparison& lists, TPaneTexts full);

  // Turns hiding off: puts the original entries back into `lists` and
  // answers the full texts with the modified flags they had when hiding
  // began. Edits made to the reduced panes are dropped; the window asks
  // first when a reduced pane was modified. Does nothing and answers
  // empty texts when hiding is not on.
  TPaneTexts Show(TComparison& lists);

 private:
  bool active_ = false;
  PerSide<TDiffList> hiddenRows_;  // the entries as they were before hiding
  TPaneTexts saved_;               // the full texts and their modified flags
};

// The question asked before a modified reduced pane is given up.
inline constexpr const char* kShowDropsEditsQuestion = "変更内容が反映されませんが戻しても宜しいでしょうか？";

}  // namespace rd
