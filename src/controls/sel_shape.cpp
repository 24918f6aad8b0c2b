// TSelShape: mouse handling on top of the drag steps of sel_shape_drag, its
// painting, and its accessible interface.
#include "controls/sel_shape.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace rd {
namespace {

// Screen readers meet the shape as an indicator; its name is the widget's
// accessible name, which the owner sets.
class TSelShapeAccessible : public QAccessibleWidget {
 public:
  explicit TSelShapeAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Indicator) {}
};

QAccessibleInterface* SelShapeAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String(TSelShape::staticMetaObject.className()) && object && object->isWidgetType())
    return new TSelShapeAccessible(static_cast<QWidget*>(object));
  return nullptr;
}

Qt::CursorShape ToCursorShape(TZoneCursor c) {
  switch (c) {
    case TZoneCursor::SizeNS: return Qt::SizeVerCursor;
    case TZoneCursor::SizeWE: return Qt::SizeHorCursor;
    case TZoneCursor::SizeNESW: return Qt::SizeBDiagCursor;
    case TZoneCursor::SizeNWSE: return Qt::SizeFDiagCursor;
    case TZoneCursor::Default: break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

TSelShape::TSelShape(QWidget* parent) : QWidget(parent), pen_(Qt::black, 1), brush_(Qt::NoBrush) {
  static const bool factoryInstalled = (QAccessible::installFactory(SelShapeAccessibleFactory), true);
  (void)factoryInstalled;
  // The zone cursor follows the pointer before any button is pressed.
  setMouseTracking(true);
}

TSelShape::~TSelShape() {
  if (QWidget::mouseGrabber() == this) releaseMouse();
}

void TSelShape::SetPen(const QPen& pen) {
  pen_ = pen;
  update();
}

void TSelShape::SetBrush(const QBrush& brush) {
  brush_ = brush;
  update();
}

void TSelShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(pen_);
  p.setBrush(brush_);
  // The outline lies inside the shape: a pen w pixels wide covers the outer
  // w pixels of each edge (a cosmetic pen of width 0 draws one pixel).
  const int w = std::max(1, pen_.width());
  const int inner = w - w / 2;
  p.drawRect(rect().adjusted(w / 2, w / 2, -inner, -inner));
}

TShapeRect TSelShape::Rect() const { return {x(), y(), width(), height()}; }

TShapeLimits TSelShape::Limits() const {
  const QWidget* parent = parentWidget();
  return {MinWidth, MinHeight, MinTop, MinLeft, MaxBottom, MaxRight, parent->width(), parent->height()};
}

TShapeMouseEvent TSelShape::Translate(const QMouseEvent& event, Qt::MouseButton button) const {
  TShapeMouseEvent m{button, event.buttons(), event.modifiers(), event.position().toPoint()};
  // The pointer cannot be held inside the parent on every display server, so
  // what it reports is held there instead.
  if (dragging_) {
    const TShapePoint p = ConfinePointer({m.Pos.x(), m.Pos.y()}, Rect(), parentWidget()->width(),
                                         parentWidget()->height());
    m.Pos = QPoint(p.X, p.Y);
  }
  return m;
}

void TSelShape::ShowZoneCursor() {
  const TZoneCursor c = CursorOfZone(zone_);
  if (c == TZoneCursor::Default)
    unsetCursor();
  else
    setCursor(ToCursorShape(c));
}

void TSelShape::mousePressEvent(QMouseEvent* event) {
  const TShapeMouseEvent m = Translate(*event, event->button());
  if (OnMouseDown) OnMouseDown(m);
  // A second button joins the drag under way; a shape without a parent has
  // no room to be dragged in.
  if (dragging_ || !parentWidget()) return;
  // The zone is taken here too: a press need not follow a movement.
  zone_ = RestrictZone(ZoneAt({m.Pos.x(), m.Pos.y()}, width(), height(), SizeSense), SelOption);
  dragging_ = true;
  dragButton_ = event->button();
  down_ = {m.Pos.x(), m.Pos.y()};
  grabMouse();
  ShowZoneCursor();
}

void TSelShape::mouseMoveEvent(QMouseEvent* event) {
  // The release of the dragging button went elsewhere (a window that popped
  // up took it): the drag is over, and the grab must not outlive it.
  if (dragging_ && !(event->buttons() & dragButton_)) AbandonDrag();
  const TShapeMouseEvent m = Translate(*event, Qt::NoButton);
  if (OnMouseMove) OnMouseMove(m);
  const TShapePoint p{m.Pos.x(), m.Pos.y()};
  if (dragging_) {
    zone_ = RestrictZone(zone_, SelOption);
    const TDragStep step = DragShape(Rect(), down_, p, zone_, SelOption, Limits());
    down_ = step.Down;
    setGeometry(step.Rect.Left, step.Rect.Top, step.Rect.Width, step.Rect.Height);
  } else {
    zone_ = RestrictZone(ZoneAt(p, width(), height(), SizeSense), SelOption);
  }
  ShowZoneCursor();
}

void TSelShape::mouseReleaseEvent(QMouseEvent* event) {
  const TShapeMouseEvent m = Translate(*event, event->button());
  if (OnMouseUp) OnMouseUp(m);
  if (!dragging_ || event->button() != dragButton_) return;
  dragging_ = false;
  dragButton_ = Qt::NoButton;
  releaseMouse();
}

void TSelShape::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) AbandonDrag();
  QWidget::changeEvent(event);
}

void TSelShape::hideEvent(QHideEvent* event) {
  AbandonDrag();
  QWidget::hideEvent(event);
}

void TSelShape::AbandonDrag() {
  if (!dragging_) return;
  dragging_ = false;
  dragButton_ = Qt::NoButton;
  releaseMouse();
}

}  // namespace rd
