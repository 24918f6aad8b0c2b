// The map bar beside the panes: one bar per text, as long as the text is
// relative to the longer one, a stroke at the height of every difference,
// and a thumb per bar over the rows its pane shows. All of it is integer
// geometry in the map's own pixels; the widget layer fills, strokes and
// places its two thumbs from these values.
//
// Coordinates: bars and strokes are in the paint area (top 0, height H);
// thumbs are in the surrounding panel, whose client area starts
// kMapAreaTop pixels above the paint area.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "compare/diff_entry.h"
#include "compare/side.h"

namespace rd {

inline constexpr int kMapPanelWidth = 30;
inline constexpr int kMapAreaTop = 2;        // paint area inside the panel
inline constexpr int kMapAreaLeft = 2;
inline constexpr PerSide<int> kMapBarLeft{4, 16};     // in the paint area
inline constexpr PerSide<int> kMapBarRight{11, 23};   // exclusive
inline constexpr PerSide<int> kMapThumbLeft{3, 15};   // in the panel
inline constexpr int kMapThumbWidth = 13;
inline constexpr int kMapThumbMinTop = 2;    // a thumb never rises above this (panel coordinates)
inline constexpr int kMapThumbMinSize = 5;   // the thumb control's minimum width and height

// What the map needs to know of one pane.
struct TPaneExtent {
  int LineCount = 0;    // lines of the pane's text (0 for an empty pane)
  int TopRow = 0;       // first visible row
  int VisibleRows = 0;  // rows the pane shows
};

// A rectangle [Left, Right) x [Top, Bottom).
struct TMapRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TMapRect&, const TMapRect&) = default;
};

struct TMapThumb {
  int Top = 0;          // panel coordinates
  int Height = 0;
  bool Enabled = false; // false: the whole text fits in the pane; the thumb covers the map and cannot be dragged
  friend bool operator==(const TMapThumb&, const TMapThumb&) = default;
};

// Consecutive pixel rows [Top, Bottom) of one bar that carry strokes of
// one kind. Several lines on one pixel row share one stroke: the last
// entry of the list on that row decides its kind.
struct TMapStrokeRun {
  int Top = 0;
  int Bottom = 0;
  std::int32_t Kind = 0;
  friend bool operator==(const TMapStrokeRun&, const TMapStrokeRun&) = default;
};

// Line `line` maps to H * line / scale; the longer text fills the height.
// 64-bit products, so a million lines on a tall map do not overflow.
int MapY(std::int64_t line, int height, int scale);
// The inverse used by dragging: the first row of the pixel `y` of the area.
int MapRow(int y, int height, int scale);

// The strokes of one difference list on a map of height `height` with the
// given scale, one run per stretch of pixel rows of one kind, top to
// bottom. Entries of other kinds draw nothing; rows outside [0, height)
// are dropped. Works per pixel row, so the cost grows with the rows that
// carry strokes rather than with the entries.
std::vector<TMapStrokeRun> MapStrokes(const TDiffList& list, int height, int scale);

// The map state between two recomputations, with the thumb drag. One per
// main window; every change of pane size, line count, layout, colours or
// results calls Recompute.
class TMapBarModel {
 public:
  // Recomputes scale, bars and both thumbs for a paint area of `height`
  // pixels (H) and the panes as they are now.
  void Recompute(int height, const PerSide<TPaneExtent>& panes);

  int Height() const { return height_; }
  // The line count of a side as last recomputed, at least 1.
  int LineCount(Side side) const { return lineCount_[Index(side)]; }
  // A pane whose text changed needs a recomputation when its line count
  // differs from the one recomputed; an empty pane always does.
  bool LineCountChanged(Side side, int lineCount) const { return lineCount != lineCount_[Index(side)]; }
  int Scale() const { return scale_; }
  // The bar of a side in paint area coordinates; the area below it down to
  // Height() is left to the background of the panel.
  TMapRect Bar(Side side) const;
  TMapRect BelowBar(Side side) const;
  const TMapThumb& Thumb(Side side) const { return thumb_[Index(side)]; }

  // A pane scrolled to `topRow`: the new top of its thumb, or nothing while
  // a thumb is being dragged (the drag owns both thumbs then) or when the
  // thumb is disabled. The model keeps the new top.
  std::optional<int> FollowPane(Side side, int topRow);

  // What a drag step asks for: the top row of the dragged thumb's pane and,
  // in a linked drag, the other thumb's new top and its pane's top row.
  struct TDragStep {
    int TopRow = 0;
    std::optional<int> OtherThumbTop;
    std::optional<int> OtherTopRow;
  };
  // Mouse down on a thumb. `linked` when exactly the right button is down
  // without modifier keys; the distance between the thumbs, taken from
  // `thumbTops` (both thumbs' tops as the widgets show them now), is kept
  // then. `panelHeight` is the panel's height, the lower limit of a thumb.
  void BeginDrag(Side side, bool linked, int panelHeight, const PerSide<int>& thumbTops);
  // Mouse move: `thumbTop` is the dragged thumb's top as the widget shows
  // it now. Nothing when no drag of a thumb is in progress.
  std::optional<TDragStep> DragTo(int thumbTop);
  void EndDrag();
  std::optional<Side> Dragged() const { return dragged_; }

 private:
  TMapThumb ThumbFor(const TPaneExtent& pane, int lineCount) const;

  int height_ = 0;
  int scale_ = 1;
  PerSide<int> lineCount_{1, 1};
  PerSide<TMapThumb> thumb_{};
  std::optional<Side> dragged_;
  bool linked_ = false;
  int distance_ = 0;     // other thumb's top minus dragged thumb's top at mouse down
  int panelHeight_ = 0;
};

}  // namespace rd
