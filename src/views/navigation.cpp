// Navigation between differences; see navigation.h.
#include "views/navigation.h"

#include <algorithm>

namespace rd {

namespace {

int LastRow(int lineCount) { return std::max(lineCount - 1, 0); }
int ClampRow(std::int64_t row, int lineCount) {
  return static_cast<int>(std::clamp<std::int64_t>(row, 0, LastRow(lineCount)));
}

}  // namespace

std::optional<TNavRequest> NavRequestForTag(int tag) {
  switch (tag) {
    case 1: return TNavRequest{Side::A, false};
    case 2: return TNavRequest{Side::A, true};
    case 3: return TNavRequest{Side::B, false};
    case 4: return TNavRequest{Side::B, true};
    default: return std::nullopt;
  }
}

int NavTagOf(TNavRequest request) { return (request.Own == Side::A ? 1 : 3) + (request.Backward ? 1 : 0); }

std::optional<TNavRequest> NavRequestForKey(Side pane, TNavChord chord) {
  if (chord.Alt) return std::nullopt;
  switch (chord.Key) {
    case TNavKey::F4:
      if (chord.Ctrl) return std::nullopt;
      return TNavRequest{pane, chord.Shift};
    case TNavKey::Up:
    case TNavKey::Down:
      if (!chord.Ctrl || chord.Shift) return std::nullopt;
      return TNavRequest{pane, chord.Key == TNavKey::Up};
    case TNavKey::Other: break;
  }
  return std::nullopt;
}

TNavPlan PlanNavigation(TNavRequest request, const TDiffList& ownList, const TNavPane& own, const TNavPane& other) {
  TNavPlan plan;
  const TDiffEntry* target = FindNextBlock(own.CaretRow, ownList, request.Backward);
  if (!target) {
    // No further difference: to the top or to the end of the own text.
    if (request.Backward) {
      plan.OtherTopRow = 0;
      plan.OwnCaretRow = 0;
    } else {
      plan.OtherTopRow = std::max(own.LineCount - own.VisibleRows, 0);
      plan.OwnCaretRow = LastRow(own.LineCount);
    }
    return plan;
  }
  const int line = target->line;
  int ownTop = own.TopRow;
  // Rows TopRow .. TopRow + VisibleRows - 1 are on screen.
  if (line < own.TopRow || line >= own.TopRow + own.VisibleRows) {
    const int half = own.VisibleRows / 2;
    ownTop = half < line ? line - half : 0;
    plan.OwnTopRow = ownTop;
  }
  plan.OwnCaretRow = ClampRow(line, own.LineCount);
  plan.OtherTopRow = ClampRow(static_cast<std::int64_t>(target->partner) + ownTop - line, other.LineCount);
  plan.OtherCaretRow = ClampRow(target->partner, other.LineCount);
  plan.FocusOwn = true;
  return plan;
}

}  // namespace rd
