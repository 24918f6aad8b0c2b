// Entry of the window module: the application object, Qt's own texts in
// Japanese, and the windows in their fixed order.
#include "app/gui_entry.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/about_box.h"
#include "app/application.h"
#include "app/main_window.h"
#include "batch/batch_window.h"
#include "settings/settings_dialog.h"

namespace {

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
  rd::TApplication app(argc, start->argv);
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
