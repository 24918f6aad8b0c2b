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
      {{10, 5}, 20, 30, Z::Top},
      {{10, 25}, 20, 30, Z::Bottom},
      {{0, 0}, 20, 30, Z::TopLeft},
      {{19, 29}, 20, 30, Z::BottomRight},
      {{-3, 15}, 20, 30, Z::Left},  // outside, as a grabbed pointer can be
      // A shape too small for two bands: left and top win.
      {{4, 4}, 8, 8, Z::TopLeft},
      {{6, 6}, 8, 8, Z::BottomRight},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZoneAt(c.p, c.width, c.height, 5), c.zone) << c.p.X << "," << c.p.Y << " in " << c.width << "x" << c.height;
}

TEST(SelShapeZone, RestrictedByTheOptions) {
  // Rows: the zones 0..8 in order, restricted by one option set.
  using Row = std::array<TGrabZone, 9>;
  const Row all = {Z::Inside, Z::Top, Z::Bottom, Z::Left, Z::Right, Z::TopRight, Z::TopLeft, Z::BottomRight, Z::BottomLeft};
  const Row inside = {Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside, Z::Inside};
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
      {{O::MoveY}, inside},  // the map bar's thumbs: moved wherever they are grabbed
  };
  for (const Case& c : cases)
    for (size_t z = 0; z < all.size(); ++z)
      EXPECT_EQ(RestrictZone(all[z], c.options), c.expected[z]) << "zone " << z;
}

// The map bar's thumb: 13 wide, 40 high at top 50 in a 30 x 300 panel.
constexpr TShapeRect kThumb{3, 50, 13, 40};
constexpr TShapeRect kBox{10, 50, 13, 40};

TEST(SelShapeDrag, Steps) {
  struct Case {
    const char* what;
    TShapeRect shape;
    TShapePoint down, pointer;
    TGrabZone zone;
    TSelOpt options;
    TShapeRect rect;
    TShapePoint newDown;
    int maxBottom = 0, maxRight = 0, minLeft = 0;
  };
  const TSelOpt moveY{O::MoveY};
  const TSelOpt all = TSelOpt::All();
  const Case cases[] = {
      {"move up", kThumb, {6, 10}, {6, 0}, Z::Inside, moveY, {3, 40, 13, 40}, {6, 10}},
      {"move up to MinTop", kThumb, {6, 10}, {6, -100}, Z::Inside, moveY, {3, 2, 13, 40}, {6, 10}},
      {"move down to the parent's bottom", kThumb, {6, 10}, {6, 500}, Z::Inside, moveY, {3, 260, 13, 40}, {6, 10}},
      {"MoveY only: no sideways move", kThumb, {6, 10}, {16, 10}, Z::Inside, moveY, kThumb, {6, 10}},
      {"no move option", kThumb, {6, 10}, {16, 30}, Z::Inside, {O::ResizeX}, kThumb, {6, 10}},
      {"move sideways to the parent's width", kThumb, {6, 10}, {56, 10}, Z::Inside, all, {17, 50, 13, 40}, {6, 10}},
      {"move down to MaxBottom", kThumb, {6, 10}, {6, 500}, Z::Inside, moveY, {3, 160, 13, 40}, {6, 10}, 200},
      {"MaxBottom at MinTop: the parent's bottom", kThumb, {6, 10}, {6, 500}, Z::Inside, moveY, {3, 260, 13, 40}, {6, 10}, 2},
      {"taller than the room: MinTop wins", {3, 10, 13, 400}, {6, 10}, {6, 50}, Z::Inside, moveY, {3, 2, 13, 400}, {6, 10}},
      {"top edge up to MinTop", kThumb, {6, 1}, {6, -99}, Z::Top, all, {3, 2, 13, 88}, {6, 1}},
      {"top edge down to MinHeight", kThumb, {6, 1}, {6, 36}, Z::Top, all, {3, 85, 13, 5}, {6, 1}},
      {"top edge down past MinHeight stays", kThumb, {6, 1}, {6, 37}, Z::Top, all, kThumb, {6, 1}},
      {"bottom edge to the parent's bottom", kThumb, {6, 39}, {6, 1000}, Z::Bottom, all, {3, 50, 13, 250}, {6, 249}},
      {"bottom edge up to MinHeight", kThumb, {6, 39}, {6, 4}, Z::Bottom, all, {3, 50, 13, 5}, {6, 4}},
      {"bottom edge up past MinHeight stays", kThumb, {6, 39}, {6, 3}, Z::Bottom, all, kThumb, {6, 39}},
      {"a shape below MinHeight may grow", {3, 50, 13, 3}, {6, 2}, {6, 3}, Z::Bottom, all, {3, 50, 13, 4}, {6, 3}},
      {"left edge to MinLeft", kBox, {1, 20}, {-50, 20}, Z::Left, all, {4, 50, 19, 40}, {1, 20}, 0, 0, 4},
      {"left edge past MinWidth stays", kBox, {1, 20}, {10, 20}, Z::Left, all, kBox, {1, 20}},
      {"right edge to the parent's width", kBox, {12, 20}, {100, 20}, Z::Right, all, {10, 50, 20, 40}, {19, 20}},
      {"right edge to MaxRight", kBox, {12, 20}, {100, 20}, Z::Right, all, {10, 50, 15, 40}, {14, 20}, 0, 25},
      {"top left corner", kBox, {0, 0}, {-3, -5}, Z::TopLeft, all, {7, 45, 16, 45}, {0, 0}},
      {"top right corner, width held", kBox, {12, 0}, {2, 10}, Z::TopRight, all, {10, 60, 13, 30}, {12, 0}},
  };
  for (const Case& c : cases) {
    TShapeLimits limits;  // MinWidth and MinHeight 5
    limits.MinTop = 2;
    limits.MinLeft = c.minLeft;
    limits.MaxBottom = c.maxBottom;
    limits.MaxRight = c.maxRight;
    limits.ParentWidth = 30;
    limits.ParentHeight = 300;
    const TDragStep step = DragShape(c.shape, c.down, c.pointer, c.zone, c.options, limits);
    EXPECT_EQ(step.Rect, c.rect) << c.what << ": " << step.Rect.Left << "," << step.Rect.Top << " " << step.Rect.Width
                                 << "x" << step.Rect.Height;
    EXPECT_EQ(step.Down, c.newDown) << c.what << ": " << step.Down.X << "," << step.Down.Y;
  }
}

TEST(SelShapeDrag, PointerConfinedToTheParent) {
  EXPECT_EQ(ConfinePointer({5, 5}, kThumb, 30, 300), (TShapePoint{5, 5}));
  EXPECT_EQ(ConfinePointer({-10, -100}, kThumb, 30, 300), (TShapePoint{-3, -50}));  // the panel's (0, 0)
  EXPECT_EQ(ConfinePointer({100, 1000}, kThumb, 30, 300), (TShapePoint{26, 249}));  // its (29, 299)
}

}  // namespace
}  // namespace rd
