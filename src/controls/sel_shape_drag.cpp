// Grab zones and drag steps of TSelShape.
#include "controls/sel_shape_drag.h"

#include <algorithm>

namespace rd {
namespace {

bool MovesTop(TGrabZone z) { return z == TGrabZone::Top || z == TGrabZone::TopRight || z == TGrabZone::TopLeft; }
bool MovesBottom(TGrabZone z) {
  return z == TGrabZone::Bottom || z == TGrabZone::BottomRight || z == TGrabZone::BottomLeft;
}
bool MovesLeft(TGrabZone z) { return z == TGrabZone::Left || z == TGrabZone::TopLeft || z == TGrabZone::BottomLeft; }
bool MovesRight(TGrabZone z) {
  return z == TGrabZone::Right || z == TGrabZone::TopRight || z == TGrabZone::BottomRight;
}

// One axis of the shape: its start (top or left), its length and the limits
// along it. Resizing and moving work the same on both axes.
struct TAxis {
  int& Start;
  int& Length;
  int& Down;        // the pointer's down position along this axis
  int Delta;        // pointer position minus down position
  int MinStart;     // MinTop / MinLeft
  int MaxEnd;       // the effective MaxBottom / MaxRight
  int MinLength;    // MinHeight / MinWidth
};

int EffectiveEnd(int maxEnd, int minStart, int parentExtent) { return maxEnd > minStart ? maxEnd : parentExtent; }

// The start edge follows the pointer; the far edge stays.
void DragStartEdge(TAxis a) {
  int d = a.Delta;
  if (a.Start + d < a.MinStart) d = a.MinStart - a.Start;
  const int length = a.Length - d;
  // A step may always grow a shape that is already below its minimum size.
  if (length >= a.MinLength || length > a.Length) {
    a.Start += d;
    a.Length = length;
  }
}

// The far edge follows the pointer. The pointer's distance to the shape's
// start changes with it, so the down position moves along.
void DragEndEdge(TAxis a) {
  int d = a.Delta;
  if (a.Start + a.Length + d > a.MaxEnd) d = a.MaxEnd - a.Start - a.Length;
  const int length = a.Length + d;
  if (length >= a.MinLength || length > a.Length) {
    a.Length = length;
    a.Down += d;
  }
}

// Moves the whole shape. When it is longer than the room between the limits,
// the start limit wins, so the shape never leaves through the top or left.
void Move(TAxis a) {
  int d = a.Delta;
  if (a.Start + a.Length + d > a.MaxEnd) d = a.MaxEnd - a.Start - a.Length;
  if (a.Start + d < a.MinStart) d = a.MinStart - a.Start;
  a.Start += d;
}

}  // namespace

TGrabZone ZoneAt(TShapePoint p, int width, int height, int sizeSense) {
  const bool left = p.X <= sizeSense;
  const bool right = !left && width - p.X <= sizeSense;
  const bool top = p.Y <= sizeSense;
  const bool bottom = !top && height - p.Y <= sizeSense;
  if (top) return left ? TGrabZone::TopLeft : right ? TGrabZone::TopRight : TGrabZone::Top;
  if (bottom) return left ? TGrabZone::BottomLeft : right ? TGrabZone::BottomRight : TGrabZone::Bottom;
  if (left) return TGrabZone::Left;
  if (right) return TGrabZone::Right;
  return TGrabZone::Inside;
}

TGrabZone RestrictZone(TGrabZone zone, TSelOpt options) {
  if (!options.Contains(TSelOptSet::ResizeX)) {
    switch (zone) {
      case TGrabZone::Left:
      case TGrabZone::Right: zone = TGrabZone::Inside; break;
      case TGrabZone::TopRight:
      case TGrabZone::TopLeft: zone = TGrabZone::Top; break;
      case TGrabZone::BottomRight:
      case TGrabZone::BottomLeft: zone = TGrabZone::Bottom; break;
      default: break;
    }
  }
  if (!options.Contains(TSelOptSet::ResizeY)) {
    switch (zone) {
      case TGrabZone::Top:
      case TGrabZone::Bottom: zone = TGrabZone::Inside; break;
      case TGrabZone::TopRight:
      case TGrabZone::BottomRight: zone = TGrabZone::Right; break;
      case TGrabZone::TopLeft:
      case TGrabZone::BottomLeft: zone = TGrabZone::Left; break;
      default: break;
    }
  }
  return zone;
}

TZoneCursor CursorOfZone(TGrabZone zone) {
  switch (zone) {
    case TGrabZone::Inside: return TZoneCursor::Default;
    case TGrabZone::Top:
    case TGrabZone::Bottom: return TZoneCursor::SizeNS;
    case TGrabZone::Left:
    case TGrabZone::Right: return TZoneCursor::SizeWE;
    case TGrabZone::TopRight:
    case TGrabZone::BottomLeft: return TZoneCursor::SizeNESW;
    case TGrabZone::TopLeft:
    case TGrabZone::BottomRight: return TZoneCursor::SizeNWSE;
  }
  return TZoneCursor::Default;
}

TDragStep DragShape(const TShapeRect& shape, TShapePoint down, TShapePoint pointer, TGrabZone zone,
                    TSelOpt options, const TShapeLimits& limits) {
  TDragStep step{shape, down};
  TShapeRect& r = step.Rect;
  const TAxis vertical{r.Top, r.Height, step.Down.Y, pointer.Y - down.Y, limits.MinTop,
                       EffectiveEnd(limits.MaxBottom, limits.MinTop, limits.ParentHeight), limits.MinHeight};
  const TAxis horizontal{r.Left, r.Width, step.Down.X, pointer.X - down.X, limits.MinLeft,
                         EffectiveEnd(limits.MaxRight, limits.MinLeft, limits.ParentWidth), limits.MinWidth};
  if (zone == TGrabZone::Inside) {
    if (options.Contains(TSelOptSet::MoveY)) Move(vertical);
    if (options.Contains(TSelOptSet::MoveX)) Move(horizontal);
    return step;
  }
  if (MovesTop(zone)) DragStartEdge(vertical);
  if (MovesBottom(zone)) DragEndEdge(vertical);
  if (MovesLeft(zone)) DragStartEdge(horizontal);
  if (MovesRight(zone)) DragEndEdge(horizontal);
  return step;
}

TShapePoint ConfinePointer(TShapePoint p, const TShapeRect& shape, int parentWidth, int parentHeight) {
  const int x = std::clamp(shape.Left + p.X, 0, std::max(parentWidth - 1, 0));
  const int y = std::clamp(shape.Top + p.Y, 0, std::max(parentHeight - 1, 0));
  return {x - shape.Left, y - shape.Top};
}

}  // namespace rd
