#include "app/program_folder.h"

#include "settings/settings.h"

#include <fnmatch.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <system_error>

namespace rd {

namespace fs = std::filesystem;

std::string ProgramDirectory(const char* argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec && argv0) exe = fs::absolute(argv0, ec);
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool Portable(const std::string& programDir) { return ::access(programDir.c_str(), W_OK) == 0; }

namespace {

// $NAME/RavelleDiff/ when NAME is an absolute path, else $HOME/`fallback`/RavelleDiff/.
std::string UserFolder(const char* name, const char* fallback) {
  const char* base = std::getenv(name);
  if (base && *base == '/') return std::string(base) + "/RavelleDiff/";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/" + fallback + "/RavelleDiff/";
}

}  // namespace

std::string SettingsFile(const std::string& programDir) {
  if (Portable(programDir)) return programDir + kSettingsFileName;
  const std::string folder = UserFolder("XDG_CONFIG_HOME", ".config");
  std::error_code ec;
  fs::create_directories(folder, ec);
  return folder + kSettingsFileName;
}

std::string CheckFolder(const std::string& programDir) {
  if (Portable(programDir)) return programDir + "check/";
  return UserFolder("XDG_CACHE_HOME", ".cache") + "check/";
}

void TidyCheckFolder(const std::string& checkFolder) {
  std::error_code ec;
  if (!fs::is_directory(checkFolder, ec)) {
    fs::create_directories(checkFolder, ec);
    return;
  }
  fs::directory_iterator it(checkFolder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    if (::fnmatch("*.ret*", name.c_str(), FNM_CASEFOLD) != 0) continue;
    std::error_code ignored;
    fs::remove(it->path(), ignored);
  }
}

}  // namespace rd
