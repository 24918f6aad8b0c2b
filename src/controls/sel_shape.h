// TSelShape: an outlined rectangle that the user moves and resizes with the
// mouse inside its parent; the map bar's thumbs are two of them. The owner's
// mouse events fire before the shape reacts to the same mouse event.
#pragma once

#include <QBrush>
#include <QPen>
#include <QWidget>

#include <functional>

#include "controls/sel_shape_drag.h"

namespace rd {

// One mouse event as the owner of a TSelShape sees it.
struct TShapeMouseEvent {
  Qt::MouseButton Button = Qt::NoButton;  // the button pressed or released; none for a movement
  Qt::MouseButtons Buttons;               // the buttons held, the pressed one included
  Qt::KeyboardModifiers Modifiers;
  QPoint Pos;  // relative to the shape; while dragging, confined to the parent's client area
};

class TSelShape : public QWidget {
  Q_OBJECT
 public:
  explicit TSelShape(QWidget* parent = nullptr);
  ~TSelShape() override;

  // Width of the band along each edge that grabs the edge for resizing.
  int SizeSense = 5;
  // Resizing never makes the shape smaller than this.
  int MinWidth = 5;
  int MinHeight = 5;
  // Dragging never moves the top edge above MinTop or the left edge left of
  // MinLeft (parent coordinates).
  int MinTop = 0;
  int MinLeft = 0;
  // Dragging never moves the bottom edge below MaxBottom, or below the
  // parent's client height when MaxBottom is not greater than MinTop.
  int MaxBottom = 0;
  // The same for the right edge, against the parent's client width.
  int MaxRight = 0;
  TSelOpt SelOption = TSelOpt::All();

  const QPen& Pen() const { return pen_; }
  void SetPen(const QPen& pen);
  // Qt::NoBrush (the default) leaves the inside transparent.
  const QBrush& Brush() const { return brush_; }
  void SetBrush(const QBrush& brush);

  // True from a button press on the shape until that button's release.
  bool Dragging() const { return dragging_; }

  // The owner's events; each fires before the shape's own reaction, so a
  // handler of OnMouseMove sees the geometry reached by the previous event.
  std::function<void(const TShapeMouseEvent&)> OnMouseDown;
  std::function<void(const TShapeMouseEvent&)> OnMouseMove;
  std::function<void(const TShapeMouseEvent&)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  TShapeRect Rect() const;
  TShapeLimits Limits() const;
  // The event's position, confined to the parent while dragging.
  TShapeMouseEvent Translate(const QMouseEvent& event, Qt::MouseButton button) const;
  void ShowZoneCursor();
  // Ends a drag without a button release (the shape was hidden or disabled,
  // or the release went to another window).
  void AbandonDrag();

  QPen pen_;
  QBrush brush_;
  bool dragging_ = false;
  Qt::MouseButton dragButton_ = Qt::NoButton;
  TShapePoint down_;
  TGrabZone zone_ = TGrabZone::Inside;
};

}  // namespace rd
