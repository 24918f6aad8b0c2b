// How TSelShape follows the pointer, without pixels on a screen: the grab zone
// under the pointer, its restriction by the allowed operations, one drag step
// against the limits, and the pointer confined to the parent.
//
// Coordinates: the shape's rectangle is in its parent's client coordinates;
// pointer positions are relative to the shape's top left corner.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace rd {

struct TShapeRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TShapeRect&, const TShapeRect&) = default;
};

struct TShapePoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TShapePoint&, const TShapePoint&) = default;
};

// The part of the shape the pointer holds. The values are those the shape has
// always used for its zones (0 inside, 1..4 edges, 5..8 corners).
enum class TGrabZone : std::uint8_t {
  Inside = 0,
  Top = 1,
  Bottom = 2,
  Left = 3,
  Right = 4,
  TopRight = 5,
  TopLeft = 6,
  BottomRight = 7,
  BottomLeft = 8,
};

enum class TSelOptSet : std::uint8_t { ResizeX, ResizeY, MoveX, MoveY };

// A set of TSelOptSet values.
class TSelOpt {
 public:
  constexpr TSelOpt() = default;
  constexpr TSelOpt(std::initializer_list<TSelOptSet> values) {
    for (const TSelOptSet v : values) bits_ |= Bit(v);
  }
  static constexpr TSelOpt All() {
    return {TSelOptSet::ResizeX, TSelOptSet::ResizeY, TSelOptSet::MoveX, TSelOptSet::MoveY};
  }
  constexpr bool Contains(TSelOptSet v) const { return (bits_ & Bit(v)) != 0; }
  friend constexpr bool operator==(TSelOpt, TSelOpt) = default;

 private:
  static constexpr std::uint8_t Bit(TSelOptSet v) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(v)); }
  std::uint8_t bits_ = 0;
};

// The pointer shape shown over a zone.
enum class TZoneCursor : std::uint8_t { Default, SizeNS, SizeWE, SizeNESW, SizeNWSE };

struct TShapeLimits {
  int MinWidth = 5;
  int MinHeight = 5;
  int MinTop = 0;
  int MinLeft = 0;
  int MaxBottom = 0;  // used only when greater than MinTop, else the parent's height
  int MaxRight = 0;   // used only when greater than MinLeft, else the parent's width
  int ParentWidth = 0;
  int ParentHeight = 0;
};

// The zone of a pointer that is not dragging. A band `sizeSense` pixels wide
// along each edge grabs that edge; left beats right and top beats bottom on
// shapes too small for both bands.
TGrabZone ZoneAt(TShapePoint p, int width, int height, int sizeSense);

// The zone that the allowed operations leave: without ResizeX the side edges
// fall away (corners become their top or bottom edge), then without ResizeY
// the top and bottom edges fall away (corners become their side edge).
TGrabZone RestrictZone(TGrabZone zone, TSelOpt options);

TZoneCursor CursorOfZone(TGrabZone zone);

// The shape after one pointer movement of a drag, and the pointer position
// the next movement is measured from.
struct TDragStep {
  TShapeRect Rect;
  TShapePoint Down;
};

// One drag step: the pointer is at `pointer`, the button went down at `down`
// (both relative to the shape). Edges stay inside the limits; a resize that
// would make the shape smaller than the minimum size leaves that edge where it
// was. Moving keeps the size, and needs MoveX or MoveY for its direction.
TDragStep DragShape(const TShapeRect& shape, TShapePoint down, TShapePoint pointer, TGrabZone zone,
                    TSelOpt options, const TShapeLimits& limits);

// A pointer position relative to the shape, moved onto the nearest pixel of
// the parent's client area: what a pointer held inside the parent reports.
TShapePoint ConfinePointer(TShapePoint p, const TShapeRect& shape, int parentWidth, int parentHeight);

}  // namespace rd
