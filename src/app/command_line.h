// The command line: key=value arguments naming the files to open, and the
// decision between a headless report and an interactive start.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "textcode/file_bytes.h"

namespace rd {

struct TCommandLine {
  std::string texta;  // file for TextA
  std::string textb;  // file for TextB
  std::string ret;    // report file
  std::string path;   // folder put in front of the three names
  bool help = false;     // --help
  bool version = false;  // --version
  // Names given but dropped by ResolveFiles because no such file exists, in
  // the order texta, textb, ret, as they were looked up.
  std::vector<std::string> missing;

  // Headless when all three files were given and exist.
  bool Headless() const { return !texta.empty() && !textb.empty() && !ret.empty(); }
};

// Keys are compared in lower case; the value is everything after the first
// "="; the last occurrence of a key wins. Arguments without "=" name files
// for the texts that no "texta=" or "textb=" named, TextA first (so that
// "RavelleDiff a b" works as a difftool); after "--" every argument is such
// a name. "--help"
// and "--version" ask for those texts; other arguments starting with "-"
// (the window system's own options) are left alone.
TCommandLine ParseCommandLine(std::span<const std::string_view> args);

// Puts `path` (with a "/" appended when missing) in front of each file name,
// respells it as the file system lists it, and drops names of files that do
// not exist (listing them in `missing`). `exists` is asked about each
// resulting name.
void ResolveFiles(TCommandLine& line, const std::function<bool(const std::string&)>& exists);

// The text of --help: Japanese, or English when the messages' locale
// (LC_ALL, LC_MESSAGES, LANG, the first one set) is C, POSIX or English.
std::string UsageText(std::string_view locale);
// The locale that decides the language of messages.
std::string MessageLocale();

}  // namespace rd
