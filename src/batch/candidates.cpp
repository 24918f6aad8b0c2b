// Candidate lists and the file system questions of collecting candidates.
#include "batch/candidates.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cassert>

#include "textcode/text_code.h"

namespace rd {

namespace {

// <0, 0, >0 as a ignoring letter case compares with b; bytes compare unsigned.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) { return CompareIgnoringCase(a, b) == 0; }

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  const int c = CompareIgnoringCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

std::optional<std::size_t> TCandidateList::Find(std::string_view name) const {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, [](const std::string& held, std::string_view n) {
    return CompareIgnoringCase(held, n) < 0;
  });
  if (it == names_.end() || !EqualIgnoringCase(*it, name)) return std::nullopt;
  return static_cast<std::size_t>(it - names_.begin());
}

bool TCandidateList::Add(std::string_view name) {
  if (Find(name)) return false;
  const auto it = std::lower_bound(names_.begin(), names_.end(), name,
                                   [](const std::string& held, std::string_view n) { return LessIgnoringCase(held, n); });
  names_.insert(it, std::string(name));
  return true;
}

void TCandidateList::Remove(std::size_t index) {
  assert(index < names_.size() && "candidate index out of range");
  names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(index));
}

TSplitPath SplitPath(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {"/", std::string(path)};
  return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

std::string WithSlash(std::string_view folder) {
  std::string s(folder);
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsOrdinaryFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> ListOrdinaryFiles(const std::string& folder) {
  std::vector<std::string> paths;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return paths;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    std::string path = folder + std::string(name);
    if (IsOrdinaryFile(path)) paths.push_back(std::move(path));
  }
  ::closedir(dir);
  return paths;
}

}  // namespace rd
