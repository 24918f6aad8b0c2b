// Program entry. The headless report is decided and written before any
// window-system object exists, so it runs without a display.
#include <QApplication>

#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/headless.h"
#include "app/main_window.h"
#include "app/program_folder.h"

int main(int argc, char** argv) {
  const std::string programDir = rd::ProgramDirectory(argc > 0 ? argv[0] : nullptr);
  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  rd::TCommandLine line = rd::ParseCommandLine(args);
  rd::ResolveFiles(line, rd::FileExists);
  if (line.Headless()) return rd::RunHeadless(programDir, line);

  QApplication app(argc, argv);
  QApplication::setApplicationName("RavelleDiff");
  rd::TForm1 form;
  form.show();
  rd::TidyCheckFolder(rd::CheckFolder(programDir));
  return QApplication::exec();
}
