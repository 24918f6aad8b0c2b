// The send-to entries: their folder, their text, and creating and removing
// them. The quoting follows freedesktop.org's desktop-entry rules: an Exec
// argument is quoted first, then the whole value is escaped as a string.
#include "settings/send_to.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "textcode/file_bytes.h"
#include "textcode/file_replace.h"
#include "textcode/text_code.h"

extern char** environ;

namespace rd {

namespace {

// The text types of the file dialogs' filter list, as the shared MIME
// database names them; files of the listed kinds without a type of their
// own (.dat, .jsp, .bat, .ini, .inf) are recognised as text/plain.
constexpr const char* kMimeTypes =
    "text/plain;text/csv;application/xml;text/xml;text/x-csrc;text/x-c++src;text/x-chdr;text/x-c++hdr;"
    "text/x-java;text/x-pascal;application/sql;text/html;application/xhtml+xml;application/javascript;"
    "text/javascript;text/vbscript;text/css;application/xml-dtd;";

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Creates `folder` and its missing parents, new ones private to the user.
bool MakeFolders(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Runs update-desktop-database on the folder when it is installed, so that
// file managers that read its cache see the change at once.
void RefreshDesktopDatabase(const std::string& folder) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string program = "update-desktop-database", quiet = "-q", target = folder;
  char* argv[] = {program.data(), quiet.data(), target.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ) == 0) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

bool HasForbiddenControl(std::string_view s) {
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != '\n' && c != '\t' && c != '\r') || b == 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string FindSendToFolder(const char* xdgDataHome, const char* home) {
  if (IsAbsolute(xdgDataHome)) return WithSlash(xdgDataHome) + "applications/";
  if (IsAbsolute(home)) return WithSlash(home) + ".local/share/applications/";
  return {};
}

std::string FindSendToFolder() { return FindSendToFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

std::string SendToEntryName(Side side) {
  return side == Side::A ? "RavelleDiff テキストA.desktop" : "RavelleDiff テキストB.desktop";
}

std::string QuoteExecArgument(std::string_view arg) {
  const bool quote = arg.empty() || arg.find_first_of(kReserved) != std::string_view::npos;
  std::string out;
  if (quote) out += '"';
  for (const char c : arg) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c;
    if (c == '%') out += '%';
  }
  if (quote) out += '"';
  return out;
}

std::string EscapeDesktopValue(std::string_view value) {
  std::string out;
  for (const char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::optional<std::string> SendToEntryText(Side side, std::string_view companion) {
  if (!IsValidUtf8(companion) || HasForbiddenControl(companion)) return std::nullopt;
  if (companion.find('=') != std::string_view::npos) return std::nullopt;
  const std::size_t slash = companion.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view folder = companion.substr(0, slash + 1);
  const bool a = side == Side::A;
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += a ? "Name=RavelleDiff テキストA\n" : "Name=RavelleDiff テキストB\n";
  text += "Comment=RavelleDiff\n";
  text += "Exec=" + EscapeDesktopValue(QuoteExecArgument(companion) + (a ? " -a %f" : " -b %f")) + "\n";
  text += "Path=" + EscapeDesktopValue(folder) + "\n";
  text += std::string("MimeType=") + kMimeTypes + "\n";
  text += "NoDisplay=true\n";
  return text;
}

TSendToPlan PlanSendTo(bool wanted, PerSide<bool> exists) {
  TSendToPlan plan;
  for (const Side side : {Side::A, Side::B}) {
    plan.create[Index(side)] = wanted && !exists[Index(side)];
    plan.remove[Index(side)] = !wanted;
  }
  return plan;
}

bool SendToEntryExists(const std::string& folder, Side side) {
  return !folder.empty() && FileExists(folder + SendToEntryName(side));
}

TSendToResult UpdateSendTo(const std::string& folder, const std::string& programDir, bool wanted) {
  TSendToResult result;
  const std::string companion = programDir + kCompanionName;
  if (folder.empty()) {
    result.refusal = TSendToRefusal::NoFolder;
  } else if (!IsExecutableFile(companion)) {
    result.refusal = TSendToRefusal::NoCompanion;
  } else if (wanted && !MakeFolders(folder)) {
    result.refusal = TSendToRefusal::NoFolder;
  }
  if (result.refusal != TSendToRefusal::None) {
    result.textAExists = SendToEntryExists(folder, Side::A);
    return result;
  }

  const TSendToPlan plan =
      PlanSendTo(wanted, {SendToEntryExists(folder, Side::A), SendToEntryExists(folder, Side::B)});
  bool changed = false;
  for (const Side side : {Side::A, Side::B}) {
    const std::string path = folder + SendToEntryName(side);
    if (plan.create[Index(side)]) {
      const std::optional<std::string> text = SendToEntryText(side, companion);
      const std::string error = text ? ReplaceFileContents(path, *text) : "このフォルダ名はデスクトップエントリに書けません";
      if (error.empty()) changed = true;
      else result.failures += path + ": " + error + "\n";
    }
    if (plan.remove[Index(side)]) {
      if (::unlink(path.c_str()) == 0) changed = true;
      else if (errno != ENOENT) result.failures += path + ": " + std::strerror(errno) + "\n";
    }
  }
  if (changed) RefreshDesktopDatabase(folder);
  result.textAExists = SendToEntryExists(folder, Side::A);
  return result;
}

}  // namespace rd
