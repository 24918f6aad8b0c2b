// The main window of the comparison tool.
#pragma once

#include <QMainWindow>

namespace rd {

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
};

}  // namespace rd
