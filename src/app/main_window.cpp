#include "app/main_window.h"

namespace rd {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("RavelleDiff");
  resize(600, 500);
}

}  // namespace rd
