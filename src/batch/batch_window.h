// TForm2: the batch check window "一括チェック". Hidden until called, and
// hidden again when closed.
#pragma once

#include <QWidget>

namespace rd {

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
};

}  // namespace rd
