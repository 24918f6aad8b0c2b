#include "settings/font_combo.h"

#include <QFontDatabase>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace rd {

namespace {

constexpr int kIconSize = 16;

// An outlined "T" for scalable fonts; a grid of square dots for bitmap fonts.
QIcon FontKindIcon(bool scalable) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  if (scalable) {
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.drawLine(3, 3, 13, 3);
    p.drawLine(8, 3, 8, 13);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawLine(5, 13, 11, 13);
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 80, 80));
    for (int y = 2; y < 14; y += 3)
      for (int x = 2; x < 14; x += 3)
        if ((x + y) % 2 == 0) p.drawRect(x, y, 2, 2);
  }
  return QIcon(pixmap);
}

}  // namespace

TFontComboBox::TFontComboBox(QWidget* parent) : QComboBox(parent) {
  setIconSize(QSize(kIconSize, kIconSize));
  setMaxVisibleItems(16);
  const QIcon outline = FontKindIcon(true), bitmap = FontKindIcon(false);
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    addItem(QFontDatabase::isScalable(family) ? outline : bitmap, family);
  }
}

void TFontComboBox::SetFontName(const QString& family) {
  int index = findText(family, Qt::MatchFixedString | Qt::MatchCaseSensitive);
  if (index < 0) {
    insertItem(0, family);
    index = 0;
  }
  setCurrentIndex(index);
}

}  // namespace rd
