// One open, one fstat and as few reads as the file needs; files that grow
// while being read, and pipes, are read to their end.
#include "textcode/file_bytes.h"
#include "textcode/huge_pages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rd {
namespace {

class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& path, int error) { throw TFileReadError(path, std::strerror(error)); }

}  // namespace

TFileReadError::TFileReadError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ReadFileBytes(std::string_view path) {
  const std::string name(path);
  const TFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) Fail(name, errno);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) Fail(name, errno);
  if (S_ISDIR(st.st_mode)) Fail(name, EISDIR);

  std::string bytes;
  // One byte more than the size says, so that a file of the stated size
  // ends with a read of 0 without growing the buffer.
  const std::size_t size = S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : 64 * 1024;
  bytes.reserve(size);
  AdviseHugePages(bytes.data(), bytes.capacity());  // before the pages are first touched
  bytes.resize(size);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd.Get(), bytes.data() + used, bytes.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(name, errno);
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace rd
