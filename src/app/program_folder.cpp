#include "app/program_folder.h"

#include <fnmatch.h>

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

std::string CheckFolder(const std::string& programDir) { return programDir + "check/"; }

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
