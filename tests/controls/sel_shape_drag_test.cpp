#include <gtest/gtest.h>

#include <array>

#include "controls/sel_shape_drag.h"

namespace rd {
namespace {

using Z = TGrabZone;
using O = TSelOptSet;

TEST(SelShapeZone, FromThePointer) {
  struct Case {
    TShapePoint p;
    int width, height;
    TGrabZone zone;
  };
  const Case cases[] = {
      {{10, 15}, 20, 30, Z::Inside},
      {{5, 15}, 20, 30, Z::Left},  // the band includes its inner pixel
      {{6, 15}, 20, 30, Z::Inside},
      {{15, 15}, 20, 30, Z::Right},  // 20 - 15 = 5
      {{14, 15}, 20, 30, Z::Inside},
      {{10, 5}, 20, 30, Z::Top},
      {{10, 25}, 20, 30, Z::Bottom},
      {{10, 24}, 20, 30, Z::Inside},
      {{0, 0}, 20, 30, Z::TopLeft},
      {{19, 0}, 20, 30, Z::TopRight},
      {{0, 29}, 20, 30, Z::BottomLeft},
      {{19, 29}, 20, 30, Z::BottomRight},
      {{-3, 15}, 20, 30, Z::Left},  // outside, as a grabbed pointer can be
      // A shape too small for two bands: left and top win.
      {{4, 4}, 8, 8, Z::TopLeft},
      {{6, 6}, 8, 8, Z::BottomRight},
      {{6, 2}, 8, 8, Z::TopRight},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZoneAt(c.p, c.width, c.height, 5), c.zone) << c.p.X << "," << c.p.Y << " in " << c.width << "x" << c.height;
  EXPECT_EQ(ZoneAt({2, 15}, 20, 30, 1), Z::Inside);  // a narrower band
}

TEST(SelShapeZone, RestrictedByTheOptions) {
  // Rows: the zones 0..8 in order, restricted by one option set.
  using Row = std::array<TGrabZone, 9>;
  const Row all = {Z::Inside, Z::Top, Z::Bottom, Z::Left, Z::Right, Z::TopRight, Z::TopLeft, Z::BottomRight, Z::BottomLeft};
  struct Case {
    TSelOpt options;
    Row expected;
  };
  const Case cases[] = {
      {TSelOpt::All(), all},
      {{O::ResizeY, O::MoveX, O::MoveY},
       {Z::Inside, Z::Top, Z::Bottom, Z::Inside, Z::Inside, Z::Top, Z::Top, Z::Bottom, Z::Bottom}},
      {{O::ResizeX, O::MoveX, O::MoveY},
       {Z::Inside, Z::Inside, Z::Inside, Z::Left, Z::Right, Z::Right, Z::Left, Z::Right, Z::Left}},
      // The map bar's thumbs: moved only, wherever they are grabbed.
      {{O::MoveY}, {Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside}},
      {{}, {Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside}},
  };
  for (const Case& c : cases)
    for (size_t z = 0; z < all.size(); ++z)
      EXPECT_EQ(RestrictZone(all[z], c.options), c.expected[z]) << "zone " << z;
}

TEST(SelShapeZone, Cursor) {
  using C = TZoneCursor;
  const std::array<TZoneCursor, 9> expected = {C::Default, C::SizeNS,   C::SizeNS,   C::SizeWE,  C::SizeWE,
                                               C::SizeNESW, C::SizeNWSE, C::SizeNWSE, C::SizeNESW};
  for (int z = 0; z <= 8; ++z) EXPECT_EQ(CursorOfZone(static_cast<TGrabZone>(z)), expected[z]) << "zone " << z;
}

// The map bar's thumb: 13 wide, 40 high at top 50 in a 30 x 300 panel.
constexpr TShapeRect kThumb{3, 50, 13, 40};

TShapeLimits ThumbLimits() {
  TShapeLimits l;
  l.MinTop = 2;
  l.ParentWidth = 30;
  l.ParentHeight = 300;
  return l;
}

TEST(SelShapeDrag, Steps) {
  struct Case {
    const char* what;
    TShapeRect shape;
    TShapePoint down, pointer;
    TGrabZone zone;
    TSelOpt options;
    TShapeLimits limits;
    TShapeRect rect;
    TShapePoint newDown;
  };
  const TSelOpt moveY{O::MoveY};
  const TSelOpt moveXY{O::MoveX, O::MoveY};
  const TSelOpt all = TSelOpt::All();
  const TShapeLimits thumb = ThumbLimits();
  TShapeLimits maxBottom200 = thumb;
  maxBottom200.MaxBottom = 200;
  TShapeLimits maxBottomAtMinTop = thumb;
  maxBottomAtMinTop.MaxBottom = 2;
  TShapeLimits maxRight20 = thumb;
  maxRight20.MaxRight = 20;
  TShapeLimits minLeft4 = thumb;
  minLeft4.MinLeft = 4;
  const Case cases[] = {
      {"move up", kThumb, {6, 10}, {6, 0}, Z::Inside, moveY, thumb, {3, 40, 13, 40}, {6, 10}},
      {"move up to MinTop", kThumb, {6, 10}, {6, -100}, Z::Inside, moveY, thumb, {3, 2, 13, 40}, {6, 10}},
      {"move down to the parent's bottom", kThumb, {6, 10}, {6, 500}, Z::Inside, moveY, thumb, {3, 260, 13, 40}, {6, 10}},
      {"MoveY only: no sideways move", kThumb, {6, 10}, {16, 10}, Z::Inside, moveY, thumb, kThumb, {6, 10}},
      {"move without any move option", kThumb, {6, 10}, {16, 30}, Z::Inside, {O::ResizeX}, thumb, kThumb, {6, 10}},
      {"move sideways to the parent's width", kThumb, {6, 10}, {56, 10}, Z::Inside, moveXY, thumb, {17, 50, 13, 40}, {6, 10}},
      {"move sideways to MaxRight", kThumb, {6, 10}, {56, 10}, Z::Inside, moveXY, maxRight20, {7, 50, 13, 40}, {6, 10}},
      {"move left to MinLeft", kThumb, {6, 10}, {-50, 10}, Z::Inside, moveXY, minLeft4, {4, 50, 13, 40}, {6, 10}},
      {"move down to MaxBottom", kThumb, {6, 10}, {6, 500}, Z::Inside, moveY, maxBottom200, {3, 160, 13, 40}, {6, 10}},
      {"MaxBottom not above MinTop", kThumb, {6, 10}, {6, 500}, Z::Inside, moveY, maxBottomAtMinTop, {3, 260, 13, 40}, {6, 10}},
      {"taller than the room: MinTop wins", {3, 10, 13, 400}, {6, 10}, {6, 50}, Z::Inside, moveY, thumb, {3, 2, 13, 400}, {6, 10}},
      {"top edge up", kThumb, {6, 1}, {6, -9}, Z::Top, all, thumb, {3, 40, 13, 50}, {6, 1}},
      {"top edge up to MinTop", kThumb, {6, 1}, {6, -99}, Z::Top, all, thumb, {3, 2, 13, 88}, {6, 1}},
      {"top edge down to MinHeight", kThumb, {6, 1}, {6, 36}, Z::Top, all, thumb, {3, 85, 13, 5}, {6, 1}},
      {"top edge down past MinHeight stays", kThumb, {6, 1}, {6, 37}, Z::Top, all, thumb, kThumb, {6, 1}},
      {"bottom edge down", kThumb, {6, 39}, {6, 49}, Z::Bottom, all, thumb, {3, 50, 13, 50}, {6, 49}},
      {"bottom edge down to the parent's bottom", kThumb, {6, 39}, {6, 1000}, Z::Bottom, all, thumb, {3, 50, 13, 250}, {6, 249}},
      {"bottom edge down to MaxBottom", kThumb, {6, 39}, {6, 1000}, Z::Bottom, all, maxBottom200, {3, 50, 13, 150}, {6, 149}},
      {"bottom edge up to MinHeight", kThumb, {6, 39}, {6, 4}, Z::Bottom, all, thumb, {3, 50, 13, 5}, {6, 4}},
      {"bottom edge up past MinHeight stays", kThumb, {6, 39}, {6, 3}, Z::Bottom, all, thumb, kThumb, {6, 39}},
      {"a shape below MinHeight may grow", {3, 50, 13, 3}, {6, 2}, {6, 3}, Z::Bottom, all, thumb, {3, 50, 13, 4}, {6, 3}},
      {"left edge", {10, 50, 13, 40}, {1, 20}, {-4, 20}, Z::Left, all, thumb, {5, 50, 18, 40}, {1, 20}},
      {"left edge to MinLeft", {10, 50, 13, 40}, {1, 20}, {-50, 20}, Z::Left, all, minLeft4, {4, 50, 19, 40}, {1, 20}},
      {"left edge past MinWidth stays", {10, 50, 13, 40}, {1, 20}, {10, 20}, Z::Left, all, thumb, {10, 50, 13, 40}, {1, 20}},
      {"right edge", {10, 50, 13, 40}, {12, 20}, {17, 20}, Z::Right, all, thumb, {10, 50, 18, 40}, {17, 20}},
      {"right edge to the parent's width", {10, 50, 13, 40}, {12, 20}, {100, 20}, Z::Right, all, thumb, {10, 50, 20, 40}, {19, 20}},
      {"right edge to MaxRight", {10, 50, 5, 40}, {4, 20}, {100, 20}, Z::Right, all, maxRight20, {10, 50, 10, 40}, {9, 20}},
      {"bottom right corner", {10, 50, 13, 40}, {12, 39}, {14, 49}, Z::BottomRight, all, thumb, {10, 50, 15, 50}, {14, 49}},
      {"top left corner", {10, 50, 13, 40}, {0, 0}, {-3, -5}, Z::TopLeft, all, thumb, {7, 45, 16, 45}, {0, 0}},
      {"top right corner, width held at its minimum", {10, 50, 13, 40}, {12, 0}, {2, 10}, Z::TopRight, all, thumb,
       {10, 60, 13, 30}, {12, 0}},
      {"bottom left corner", {10, 50, 13, 40}, {0, 39}, {2, 41}, Z::BottomLeft, all, thumb, {12, 50, 11, 42}, {0, 41}},
  };
  for (const Case& c : cases) {
    const TDragStep step = DragShape(c.shape, c.down, c.pointer, c.zone, c.options, c.limits);
    EXPECT_EQ(step.Rect, c.rect) << c.what << ": " << step.Rect.Left << "," << step.Rect.Top << " " << step.Rect.Width
                                 << "x" << step.Rect.Height;
    EXPECT_EQ(step.Down, c.newDown) << c.what << ": " << step.Down.X << "," << step.Down.Y;
  }
}

// Many small steps in one direction end where one big step ends, and a
// resize never leaves the limits on the way.
TEST(SelShapeDrag, StepByStepStaysInsideTheLimits) {
  const TShapeLimits limits = ThumbLimits();
  TShapeRect r = kThumb;
  TShapePoint down{6, 39};
  for (int i = 0; i < 400; ++i) {
    const TDragStep step = DragShape(r, down, {down.X + 3, down.Y + 7}, Z::BottomRight, TSelOpt::All(), limits);
    r = step.Rect;
    down = step.Down;
    ASSERT_LE(r.Top + r.Height, 300);
    ASSERT_LE(r.Left + r.Width, 30);
  }
  EXPECT_EQ(r, (TShapeRect{3, 50, 27, 250}));
  for (int i = 0; i < 400; ++i) {
    const TDragStep step = DragShape(r, down, {down.X - 5, down.Y - 2}, Z::BottomRight, TSelOpt::All(), limits);
    r = step.Rect;
    down = step.Down;
    ASSERT_GE(r.Width, 5);
    ASSERT_GE(r.Height, 5);
  }
  // The last steps that fit: width 27 - 5k stops at 7, height 250 - 2k at 6.
  EXPECT_EQ(r, (TShapeRect{3, 50, 7, 6}));
}

TEST(SelShapeDrag, PointerConfinedToTheParent) {
  struct Case {
    TShapePoint p, expected;
  };
  const Case cases[] = {
      {{5, 5}, {5, 5}},
      {{-10, -100}, {-3, -50}},   // parent's (0, 0)
      {{100, 1000}, {26, 249}},   // parent's (29, 299)
      {{26, 249}, {26, 249}},
  };
  for (const Case& c : cases) EXPECT_EQ(ConfinePointer(c.p, kThumb, 30, 300), c.expected) << c.p.X << "," << c.p.Y;
}

}  // namespace
}  // namespace rd
