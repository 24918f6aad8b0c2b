// TForm4: the settings dialog "環境設定". Modeless; hidden until called and
// hidden again when closed.
#pragma once

#include <QDialog>

namespace rd {

class TForm4 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);
};

}  // namespace rd
