#include "settings/settings_dialog.h"

namespace rd {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8("環境設定"));
  setModal(false);
}

}  // namespace rd
