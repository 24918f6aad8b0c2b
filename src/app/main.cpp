// Program entry. The headless report is decided and written here without
// the window system; only an interactive start loads the window module.
#include <dlfcn.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/display_check.h"
#include "app/gui_entry.h"
#include "app/headless.h"
#include "app/program_folder.h"
#include "textcode/text_code.h"

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

// Whether the window system can be reached: a platform chosen for Qt, or
// an X or Wayland display named. Without one, Qt would abort.
bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// One line on standard error: why no window opens, and the named files that
// were not found (the reason the headless report did not run).
int NoDisplay(const rd::TCommandLine& line, const std::string& reason = "ディスプレイがありません") {
  std::string text = "ウィンドウを表示できません（" + reason + "）。";
  if (!line.missing.empty()) {
    text += "見つからないファイル: ";
    for (std::size_t i = 0; i < line.missing.size(); ++i) text += (i ? ", " : "") + line.missing[i];
  } else {
    text += "ヘッドレス実行には texta=, textb=, ret= の 3 つのファイルが要ります。";
  }
  std::cerr << "RavelleDiff: " << rd::OneLine(std::move(text)) << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string programDir = rd::ProgramDirectory(argc > 0 ? argv[0] : nullptr);
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  rd::TCommandLine line = rd::ParseCommandLine(args);
  if (line.help) {
    std::cout << rd::UsageText(rd::MessageLocale());
    return 0;
  }
  if (line.version) {
    std::cout << "RavelleDiff " << RD_VERSION << '\n';
    return 0;
  }
  rd::ResolveFiles(line, rd::FileExists);
  if (line.Headless()) return rd::RunHeadless(programDir, line);
  if (!HasDisplay()) return NoDisplay(line);
  if (const std::optional<std::string> display = rd::UnreachableXDisplay())
    return NoDisplay(line, "ディスプレイ " + *display + " に接続できません");
  return RunWindows(argc, argv, programDir, line);
}
