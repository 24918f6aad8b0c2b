#include "textcode/file_replace.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rd {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

std::string ReplaceFileContents(const std::string& path, std::string_view bytes, std::string_view tempSuffix) {
  // A link keeps pointing at its file: the file it names is the one replaced.
  struct stat old {};
  const bool existed = ::stat(path.c_str(), &old) == 0;
  std::string target = path;
  if (existed) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) target = resolved;
  }
  std::string temp = target;
  temp.append(tempSuffix).append("XXXXXX");
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return std::strerror(errno);

  const mode_t mode = existed ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return std::strerror(error);
  }
  return {};
}

}  // namespace rd
