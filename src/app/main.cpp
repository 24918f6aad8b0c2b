// Program entry. The headless report is decided and written here without
// the window system; only an interactive start loads the window module.
#include <dlfcn.h>

#include <iostream>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/gui_entry.h"
#include "app/headless.h"
#include "app/program_folder.h"

namespace {

int RunWindows(int argc, char** argv, const std::string& programDir, const rd::TCommandLine& line) {
  const std::string module = programDir + kGuiModuleName;
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::cerr << "RavelleDiff: cannot load the windows: " << ::dlerror() << '\n';
    return 1;
  }
  const auto run = reinterpret_cast<TRdRunInteractive>(::dlsym(handle, "RdRunInteractive"));
  if (!run) {
    std::cerr << "RavelleDiff: " << module << " has no entry: " << ::dlerror() << '\n';
    return 1;
  }
  const TRdGuiStart start{argc, argv, programDir.c_str(), line.texta.c_str(), line.textb.c_str()};
  return run(&start);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string programDir = rd::ProgramDirectory(argc > 0 ? argv[0] : nullptr);
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  rd::TCommandLine line = rd::ParseCommandLine(args);
  rd::ResolveFiles(line, rd::FileExists);
  if (line.Headless()) return rd::RunHeadless(programDir, line);
  return RunWindows(argc, argv, programDir, line);
}
