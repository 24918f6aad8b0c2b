#include "app/command_line.h"

#include "app/long_path.h"
#include "textcode/text_code.h"

namespace rd {

TCommandLine ParseCommandLine(std::span<const std::string_view> args) {
  TCommandLine line;
  for (std::string_view arg : args) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string key = AsciiLower(arg.substr(0, eq));
    const std::string value(arg.substr(eq + 1));
    if (key == "texta") line.texta = value;
    else if (key == "textb") line.textb = value;
    else if (key == "ret") line.ret = value;
    else if (key == "path") line.path = value;
  }
  return line;
}

void ResolveFiles(TCommandLine& line, const std::function<bool(const std::string&)>& exists) {
  if (!line.path.empty() && line.path.back() != '/') line.path += '/';
  for (std::string* name : {&line.texta, &line.textb, &line.ret}) {
    if (name->empty()) continue;
    *name = ToLongPath(line.path + *name);
    if (exists(*name)) continue;
    line.missing.push_back(*name);
    name->clear();
  }
}

}  // namespace rd
