// Jumping from difference to difference: the four navigation buttons and
// their keys. The plan says which rows the panes scroll to and where the
// carets go; the window applies it in the order of the fields.
#pragma once

#include <cstdint>
#include <optional>

#include "compare/diff_entry.h"
#include "compare/side.h"

namespace rd {

// One navigation command: the pane searched and moved first, and the direction.
struct TNavRequest {
  Side Own = Side::A;
  bool Backward = false;  // up: the last line of the block above
  friend bool operator==(const TNavRequest&, const TNavRequest&) = default;
};

// Buttons by tag: 1 TextA down, 2 TextA up, 3 TextB down, 4 TextB up.
// Any other tag is no navigation button.
std::optional<TNavRequest> NavRequestForTag(int tag);
int NavTagOf(TNavRequest request);

// The keys of a pane that navigate, matched with exactly these modifiers:
// F4 down, Shift+F4 up, Ctrl+Up up, Ctrl+Down down.
enum class TNavKey : unsigned char { Other, F4, Up, Down };
struct TNavChord {
  TNavKey Key = TNavKey::Other;
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};
std::optional<TNavRequest> NavRequestForKey(Side pane, TNavChord chord);

// The panes as navigation sees them.
struct TNavPane {
  int CaretRow = 0;
  int TopRow = 0;
  int VisibleRows = 0;
  int LineCount = 0;
};

// Where the panes go. Apply in this order: own top row (when set), own
// caret, other top row, other caret (when set), then focus the own pane
// when FocusOwn is set and it has not got the focus. Rows are within the
// panes' texts (row 0 for an empty text).
struct TNavPlan {
  std::optional<int> OwnTopRow;
  int OwnCaretRow = 0;
  int OtherTopRow = 0;
  std::optional<int> OtherCaretRow;
  bool FocusOwn = false;
  friend bool operator==(const TNavPlan&, const TNavPlan&) = default;
};

// The plan for `request` with the own pane's difference list `ownList`.
// The target is the nearest entry outside the caret's block; a target off
// screen is centred, and the other pane scrolls so that the partner line
// stands at the target's height. Without a target the own caret goes to
// the first (up) or last (down) line.
TNavPlan PlanNavigation(TNavRequest request, const TDiffList& ownList, const TNavPane& own, const TNavPane& other);

}  // namespace rd
