// Entry of the window module: the application object, Qt's own texts in
// Japanese, and the windows in their fixed order.
#include "app/gui_entry.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>
#include <new>

#include "app/about_box.h"
#include "app/main_window.h"
#include "batch/batch_window.h"
#include "settings/settings_dialog.h"

namespace {

// Every handler runs inside notify: an error a handler did not catch is
// shown in a box with its text, and the program goes on.
class TApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      ShowError(QString::fromUtf8("メモリが不足しています"));
    } catch (const std::exception& e) {
      ShowError(QString::fromUtf8(e.what()));
    }
    return false;
  }

 private:
  void ShowError(const QString& text) {
    if (showing_) return;  // an error inside the box itself goes unreported
    showing_ = true;
    QMessageBox::critical(activeWindow(), applicationName(), text);
    showing_ = false;
  }
  bool showing_ = false;
};

void LoadJapaneseTexts(QApplication& app) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* name : {"qtbase_ja", "qt_ja"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QString::fromLatin1(name), folder)) QApplication::installTranslator(translator);
    else delete translator;
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int RdRunInteractive(const TRdGuiStart* start) {
  int argc = start->argc;
  TApplication app(argc, start->argv);
  QApplication::setApplicationName(QStringLiteral("RavelleDiff"));
  QApplication::setApplicationDisplayName(QStringLiteral("RavelleDiff"));
  QApplication::setDesktopFileName(QStringLiteral("ravellediff"));
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  LoadJapaneseTexts(app);

  rd::TForm1 form({start->programDir, start->texta, start->textb});
  rd::TForm3 about(QString::fromUtf8(start->programDir), &form);
  rd::TForm2 batch(form.BatchEngine(), form.PairViewer(), &form);
  rd::TForm4 settings({&form.Settings(), [&form] { form.ApplySettings(); }, form.ProgramDir()}, &form);
  form.SetSecondaryWindows(&about, &batch, &settings);
  form.Start();
  form.show();
  return QApplication::exec();
}
