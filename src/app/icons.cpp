// Each picture is drawn on a 16 by 16 grid and scaled by the painter, so
// QIcon asks for any size and gets sharp lines.
#include "app/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace rd {

namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2A, 0x64, 0xC8);
const QColor kRed(0xD0, 0x40, 0x40);
const QColor kGreen(0x2E, 0x8B, 0x3E);
const QColor kYellow(0xF0, 0xC0, 0x40);

void Page(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void Lines(QPainter& p, const QRectF& r, const QColor& c) {
  p.setPen(QPen(c, 1));
  for (double y = r.top() + 3; y < r.bottom() - 1; y += 2.5) p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Arrow(QPainter& p, bool down, const QColor& c) {
  QPainterPath path;
  if (down) {
    path.moveTo(3, 6);
    path.lineTo(13, 6);
    path.lineTo(8, 12);
  } else {
    path.moveTo(3, 10);
    path.lineTo(13, 10);
    path.lineTo(8, 4);
  }
  path.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(path);
  p.fillRect(QRectF(3, down ? 13 : 1.5, 10, 1.5), c);
}

void Draw(QPainter& p, TIconKind kind) {
  switch (kind) {
    case TIconKind::Compare:
      Page(p, {1.5, 2.5, 6, 11});
      Page(p, {8.5, 2.5, 6, 11});
      p.fillRect(QRectF(2.5, 7, 4, 2), QColor(0xFF, 0xB0, 0xB0));
      p.fillRect(QRectF(9.5, 7, 4, 2), QColor(0xFF, 0xB0, 0xB0));
      Lines(p, {1.5, 2.5, 6, 4}, kInk);
      Lines(p, {8.5, 2.5, 6, 4}, kInk);
      break;
    case TIconKind::Batch:
      Page(p, {5.5, 1.5, 9, 9});
      Page(p, {3.5, 3.5, 9, 9});
      Page(p, {1.5, 5.5, 9, 9});
      Lines(p, {1.5, 5.5, 9, 9}, kBlue);
      break;
    case TIconKind::LayoutSideBySide:
      Page(p, {1.5, 2.5, 6, 11});
      Page(p, {8.5, 2.5, 6, 11});
      break;
    case TIconKind::LayoutStacked:
      Page(p, {1.5, 1.5, 13, 6});
      Page(p, {1.5, 8.5, 13, 6});
      break;
    case TIconKind::Settings: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(0xC8, 0xC8, 0xC8));
      p.drawEllipse(QPointF(8, 8), 5, 5);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(8, 8), 2, 2);
      p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::FlatCap));
      for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(45.0 * i);
        p.drawLine(QPointF(5, 0), QPointF(7, 0));
        p.restore();
      }
      break;
    }
    case TIconKind::About:
      p.setPen(QPen(kBlue, 1.2));
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
      p.fillRect(QRectF(7.2, 7, 1.6, 5), kBlue);
      p.fillRect(QRectF(7.2, 4, 1.6, 1.6), kBlue);
      break;
    case TIconKind::Help: {
      p.setPen(QPen(kGreen, 1.2));
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
      QFont f = p.font();
      f.setPixelSize(10);
      f.setBold(true);
      p.setFont(f);
      p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case TIconKind::New:
      Page(p, {3.5, 1.5, 9, 13});
      break;
    case TIconKind::Open: {
      QPainterPath path;
      path.moveTo(1.5, 3.5);
      path.lineTo(6, 3.5);
      path.lineTo(7.5, 5);
      path.lineTo(14.5, 5);
      path.lineTo(14.5, 13.5);
      path.lineTo(1.5, 13.5);
      path.closeSubpath();
      p.setPen(QPen(kInk, 1));
      p.setBrush(kYellow);
      p.drawPath(path);
      break;
    }
    case TIconKind::Save:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(kPaper);
      p.drawRect(QRectF(4, 1.5, 8, 5));
      p.fillRect(QRectF(4, 9.5, 8, 5), QColor(0xE0, 0xE0, 0xE0));
      break;
    case TIconKind::Down: Arrow(p, true, kRed); break;
    case TIconKind::Up: Arrow(p, false, kRed); break;
    case TIconKind::Close:
      p.setPen(QPen(kInk, 1.6));
      p.drawLine(QPointF(4, 4), QPointF(12, 12));
      p.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
  }
}

class TPaintedIconEngine : public QIconEngine {
 public:
  explicit TPaintedIconEngine(TIconKind kind) : kind_(kind) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 16.0, rect.height() / 16.0);
    if (mode == QIcon::Disabled) painter->setOpacity(0.35);
    Draw(*painter, kind_);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pm;
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pm = pixmap(size * scale, mode, state);
    pm.setDevicePixelRatio(scale);
    return pm;
  }
  QIconEngine* clone() const override { return new TPaintedIconEngine(kind_); }

 private:
  TIconKind kind_;
};

}  // namespace

QIcon PaintedIcon(TIconKind kind) { return QIcon(new TPaintedIconEngine(kind)); }

}  // namespace rd
