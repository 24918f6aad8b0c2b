#include "app/application.h"

#include <QMessageBox>

#include <exception>
#include <new>

namespace rd {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  ShowError = [](const QString& text) { QMessageBox::critical(activeWindow(), applicationName(), text); };
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    Report(QString::fromUtf8("メモリが不足しています"));
  } catch (const std::exception& e) {
    Report(QString::fromUtf8(e.what()));
  }
  return false;
}

void TApplication::Report(const QString& text) {
  if (showing_) return;  // an error inside the box itself goes unreported
  showing_ = true;
  ShowError(text);
  showing_ = false;
}

}  // namespace rd
