// A combo box of the installed font families, each with an icon that tells
// a scalable (outline) font from a bitmap font.
#pragma once

#include <QComboBox>

namespace rd {

class TFontComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TFontComboBox(QWidget* parent = nullptr);

  // Selects `family`; a name that is not installed (the settings may name a
  // font of another system) is added at the top so that it still shows.
  void SetFontName(const QString& family);
  QString FontName() const { return currentText(); }
};

}  // namespace rd
