// Map bar geometry and thumb dragging; see map_bar_model.h.
#include "views/map_bar_model.h"

#include <algorithm>

namespace rd {

int MapY(std::int64_t line, int height, int scale) {
  if (scale < 1) scale = 1;
  return static_cast<int>(static_cast<std::int64_t>(height) * line / scale);
}

int MapRow(int y, int height, int scale) {
  if (height <= 0 || y <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(y) * std::max(scale, 1) / height);
}

namespace {

bool Drawable(std::int32_t kind) { return kind == KindAdded || kind == KindChanged || kind == KindMoved; }

// The first line that maps to pixel row `y` or below: ceil(y * scale / height).
std::int64_t FirstLineOfRow(int y, int height, int scale) {
  const std::int64_t product = static_cast<std::int64_t>(y) * scale;
  return (product + height - 1) / height;
}

void Append(std::vector<TMapStrokeRun>& runs, int y, std::int32_t kind) {
  if (!runs.empty() && runs.back().Bottom == y && runs.back().Kind == kind) {
    runs.back().Bottom = y + 1;
    return;
  }
  runs.push_back({y, y + 1, kind});
}

}  // namespace

std::vector<TMapStrokeRun> MapStrokes(const TDiffList& list, int height, int scale) {
  std::vector<TMapStrokeRun> runs;
  if (height <= 0) return runs;
  scale = std::max(scale, 1);
  const auto end = list.end();
  auto it = std::lower_bound(list.begin(), end, 0, [](const TDiffEntry& e, int line) { return e.line < line; });
  while (it != end) {
    const int y = MapY(it->line, height, scale);
    if (y >= height) break;  // ascending lines: every later entry lies lower still
    // All entries up to the first line of the next pixel row share row y;
    // the last drawable one of them is the stroke that stays visible.
    const std::int64_t next = FirstLineOfRow(y + 1, height, scale);
    auto rowEnd = std::lower_bound(it, end, next, [](const TDiffEntry& e, std::int64_t line) { return e.line < line; });
    if (rowEnd == it) rowEnd = it + 1;  // a list out of order must still end the walk
    for (auto last = rowEnd; last != it;) {
      --last;
      if (Drawable(last->kind)) {
        Append(runs, y, last->kind);
        break;
      }
    }
    it = rowEnd;
  }
  return runs;
}

void TMapBarModel::Recompute(int height, const PerSide<TPaneExtent>& panes) {
  height_ = std::max(height, 0);
  for (const Side side : {Side::A, Side::B}) lineCount_[Index(side)] = std::max(panes[Index(side)].LineCount, 1);
  scale_ = std::max(lineCount_[0], lineCount_[1]);
  for (const Side side : {Side::A, Side::B})
    thumb_[Index(side)] = ThumbFor(panes[Index(side)], lineCount_[Index(side)]);
}

TMapThumb TMapBarModel::ThumbFor(const TPaneExtent& pane, int lineCount) const {
  if (pane.VisibleRows > lineCount) return {kMapAreaTop, height_, false};
  return {MapY(pane.TopRow, height_, scale_) + kMapAreaTop, MapY(pane.VisibleRows, height_, scale_) + 1, true};
}

TMapRect TMapBarModel::Bar(Side side) const {
  return {kMapBarLeft[Index(side)], 0, kMapBarRight[Index(side)], MapY(lineCount_[Index(side)], height_, scale_)};
}

TMapRect TMapBarModel::BelowBar(Side side) const {
  const TMapRect bar = Bar(side);
  return {bar.Left, bar.Bottom, bar.Right, std::max(height_, bar.Bottom)};
}

std::optional<int> TMapBarModel::FollowPane(Side side, int topRow) {
  TMapThumb& thumb = thumb_[Index(side)];
  if (dragged_ || !thumb.Enabled) return std::nullopt;
  thumb.Top = MapY(topRow, height_, scale_) + kMapAreaTop;
  return thumb.Top;
}

void TMapBarModel::BeginDrag(Side side, bool linked, int panelHeight, const PerSide<int>& thumbTops) {
  dragged_ = side;
  linked_ = linked;
  panelHeight_ = panelHeight;
  distance_ = thumbTops[Index(Other(side))] - thumbTops[Index(side)];
  thumb_[0].Top = thumbTops[0];
  thumb_[1].Top = thumbTops[1];
}

std::optional<TMapBarModel::TDragStep> TMapBarModel::DragTo(int thumbTop) {
  if (!dragged_) return std::nullopt;
  const Side side = *dragged_;
  thumb_[Index(side)].Top = thumbTop;
  TDragStep step;
  step.TopRow = MapRow(thumbTop - kMapAreaTop, height_, scale_);
  TMapThumb& other = thumb_[Index(Other(side))];
  // A disabled thumb stands for a pane that shows its whole text; a linked
  // drag has nothing to scroll there and leaves that thumb covering the map.
  if (!linked_ || !other.Enabled) return step;
  int top = thumbTop + distance_;
  if (top < kMapThumbMinTop) top = kMapThumbMinTop;
  else if (top + other.Height > panelHeight_) top = panelHeight_ - other.Height;
  other.Top = top;
  step.OtherThumbTop = top;
  step.OtherTopRow = MapRow(top - kMapAreaTop, height_, scale_);
  return step;
}

void TMapBarModel::EndDrag() {
  dragged_.reset();
  linked_ = false;
}

}  // namespace rd
