#include "app/long_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <memory>

namespace rd {

namespace {

// The name under which `folder` lists the entry that `path` reaches: the
// same spelling when it is there, else an entry that differs only in letter
// case and is the same file. Empty when the entry cannot be found.
std::string ListedName(const std::string& folder, const std::string& name, const std::string& path) {
  struct stat target {};
  if (::lstat(path.c_str(), &target) != 0) return {};
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
  if (!dir) return name;  // cannot be listed: keep the spelling we were given
  std::string caseMatch;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string listed = entry->d_name;
    if (listed == name) return listed;
    if (caseMatch.empty() && ::strcasecmp(listed.c_str(), name.c_str()) == 0) {
      struct stat st {};
      const std::string candidate = folder + listed;
      if (::lstat(candidate.c_str(), &st) == 0 && st.st_dev == target.st_dev && st.st_ino == target.st_ino)
        caseMatch = listed;
    }
  }
  return caseMatch.empty() ? name : caseMatch;
}

}  // namespace

std::string ToLongPath(std::string_view path) {
  std::string p(path);
  if (!p.empty() && p.back() == '/') p.pop_back();
  if (p.empty()) return p;
  const std::size_t slash = p.rfind('/');
  const std::string parent = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
  const std::string name = p.substr(parent.size());
  if (name.empty() || name == "." || name == "..") return p;
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return p;  // not found: the path as given
  if (slash == std::string::npos) return ListedName("", name, p);
  const std::string longParent = ToLongPath(parent);
  return longParent + "/" + ListedName(parent, name, p);
}

}  // namespace rd
