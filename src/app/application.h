// The application object: every handler runs inside notify, so an error a
// handler did not catch is shown in a box with its text and the program
// goes on.
#pragma once

#include <QApplication>

#include <functional>

namespace rd {

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the error's text; default: a critical message box. Tests replace it.
  std::function<void(const QString& text)> ShowError;

 private:
  void Report(const QString& text);
  bool showing_ = false;
};

}  // namespace rd
