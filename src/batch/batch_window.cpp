#include "batch/batch_window.h"

namespace rd {

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QString::fromUtf8("一括チェック"));
  resize(376, 484);
}

}  // namespace rd
