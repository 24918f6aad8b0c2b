#include "textcode/mapped_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace rd {

TMappedFile::~TMappedFile() {
  if (data_) ::munmap(data_, size_);
}

TMappedFile::TMappedFile(TMappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

TMappedFile& TMappedFile::operator=(TMappedFile&& other) noexcept {
  if (this != &other) {
    if (data_) ::munmap(data_, size_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

TMappedFile TMappedFile::Map(std::string_view path, std::size_t maxBytes) {
  TMappedFile file;
  // Without waiting: opening a FIFO would wait for a writer.
  const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return file;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
      static_cast<std::uint64_t>(st.st_size) <= maxBytes) {
    const auto size = static_cast<std::size_t>(st.st_size);
    // All pages at once: the whole text is about to be read.
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (data != MAP_FAILED) {
      file.data_ = data;
      file.size_ = size;
    }
  }
  ::close(fd);
  return file;
}

namespace {

std::string* guardMessage = nullptr;  // set once, before any file is mapped

extern "C" void OnMappedFileFault(int) {
  // Only what may be done in a signal handler.
  if (guardMessage) {
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, guardMessage->data(), guardMessage->size());
  }
  ::_exit(1);
}

}  // namespace

void GuardMappedFiles(std::string message) {
  static std::string held;
  held = std::move(message) + "\n";
  guardMessage = &held;
  struct sigaction action {};
  action.sa_handler = OnMappedFileFault;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGBUS, &action, nullptr);
}

}  // namespace rd
