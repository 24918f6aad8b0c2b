#include "app/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace rd {

void ShowMessageBox(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QApplication::applicationName(), text);
}

bool AskWarning(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace rd
