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

namespace rd {

bool AskInformation(QWidget* parent, const QString& text) {
  return QMessageBox::information(parent, QApplication::applicationName(), text, QMessageBox::Ok | QMessageBox::Cancel,
                                  QMessageBox::Cancel) == QMessageBox::Ok;
}

}  // namespace rd
