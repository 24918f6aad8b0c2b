// A reader of desktop entries written from freedesktop.org's desktop-entry rules
// for the tests, independent of the writer: the value of a key with the
// string escapes undone, and an Exec line split into arguments the way a
// launcher does it (escapes, then quoting, then field codes).
#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace rd::testing {

// The value of `key` in the [Desktop Entry] group, escapes undone.
inline std::optional<std::string> DesktopValue(const std::string& text, const std::string& key) {
  std::istringstream in(text);
  std::string line;
  bool inGroup = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    if (!inGroup || line.rfind(key + "=", 0) != 0) continue;
    std::string value;
    const std::string raw = line.substr(key.size() + 1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\' || i + 1 == raw.size()) {
        value += raw[i];
        continue;
      }
      switch (raw[++i]) {
        case 's': value += ' '; break;
        case 'n': value += '\n'; break;
        case 't': value += '\t'; break;
        case 'r': value += '\r'; break;
        case '\\': value += '\\'; break;
        default: value += '\\', value += raw[i];
      }
    }
    return value;
  }
  return std::nullopt;
}

// Splits an Exec value (escapes already undone) into arguments and expands
// %f to `file` and %% to %. Nothing when the quoting is broken.
inline std::optional<std::vector<std::string>> SplitExec(const std::string& exec, const std::string& file) {
  std::vector<std::string> args;
  std::vector<bool> quoted;
  std::string current;
  bool inArg = false, inQuotes = false, wasQuoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (inQuotes) {
      if (c == '\\' && i + 1 < exec.size() && std::string("\"`$\\").find(exec[i + 1]) != std::string::npos) {
        current += exec[++i];
      } else if (c == '"') {
        inQuotes = false;
      } else {
        current += c;
      }
    } else if (c == ' ') {
      if (inArg) args.push_back(current), quoted.push_back(wasQuoted);
      current.clear();
      inArg = wasQuoted = false;
    } else if (c == '"') {
      inArg = inQuotes = wasQuoted = true;
    } else {
      inArg = true;
      current += c;
    }
  }
  if (inQuotes) return std::nullopt;
  if (inArg) args.push_back(current), quoted.push_back(wasQuoted);
  // Field codes: "%f" alone stands for the file; "%%" is a percent sign.
  for (std::string& arg : args) {
    if (arg == "%f") {
      arg = file;
      continue;
    }
    std::string out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
      if (arg[i] == '%' && i + 1 < arg.size() && arg[i + 1] == '%') ++i;
      out += arg[i];
    }
    arg = out;
  }
  return args;
}

}  // namespace rd::testing
