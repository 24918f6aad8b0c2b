// Entry of the window module: the application object and the main window.
#include "app/gui_entry.h"

#include <QApplication>

#include "app/main_window.h"
#include "app/program_folder.h"

extern "C" __attribute__((visibility("default"))) int RdRunInteractive(const TRdGuiStart* start) {
  int argc = start->argc;
  QApplication app(argc, start->argv);
  QApplication::setApplicationName("RavelleDiff");
  rd::TForm1 form;
  form.show();
  rd::TidyCheckFolder(rd::CheckFolder(start->programDir));
  return QApplication::exec();
}
