// One open, one fstat and as few reads as the file needs; files that grow
// while being read are read to their end. Pipes and devices are read in
// pieces of bounded size, joined once at the end.
#include "textcode/file_bytes.h"
#include "textcode/huge_pages.h"
#include "textcode/line_split.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

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

// One read, repeated when a signal interrupts it; the bytes read, or -1.
ssize_t ReadSome(int fd, char* to, std::size_t n) {
  for (;;) {
    const ssize_t got = ::read(fd, to, n);
    if (got >= 0 || errno != EINTR) return got;
  }
}

std::string Grouped(std::uint64_t n) {
  std::string digits = std::to_string(n);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return digits;
}

// A pipe or device: pieces of 1 MiB until its end, its first NUL byte or a limit.
std::string ReadStream(int fd, const std::string& name, const TReadLimits& limits) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::vector<std::string> pieces;
  std::uint64_t total = 0;
  TLineCounter lines;
  for (bool more = true; more;) {
    std::string piece(kPiece, '\0');
    std::size_t used = 0;
    while (used < piece.size()) {
      const ssize_t got = ReadSome(fd, piece.data() + used, piece.size() - used);
      if (got < 0) Fail(name, errno);
      if (got == 0) {
        more = false;
        break;
      }
      const std::string_view fresh(piece.data() + used, static_cast<std::size_t>(got));
      used += static_cast<std::size_t>(got);
      if (const std::size_t nul = fresh.find('\0'); nul != std::string_view::npos) {
        // The text ends here; nothing after it would be read.
        used -= fresh.size() - nul;
        lines.Add(fresh.substr(0, nul));
        more = false;
        break;
      }
      lines.Add(fresh);
      if (lines.Lines() > limits.maxLines) throw TFileReadError(name, TooManyLinesReason(limits.maxLines));
      if (total + used > limits.maxStreamBytes) throw TFileReadError(name, StreamTooLongReason(limits.maxStreamBytes));
    }
    piece.resize(used);
    total += used;
    if (used > 0) pieces.push_back(std::move(piece));
  }
  if (pieces.size() == 1) return std::move(pieces.front());
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(total));
  for (std::string& piece : pieces) {
    bytes.append(piece);
    std::string().swap(piece);  // so that the text is held about once, not twice
  }
  return bytes;
}

}  // namespace

std::string TooManyLinesReason(std::uint64_t maxLines) {
  return "行数が多すぎます（" + Grouped(maxLines) + " 行まで）";
}

std::string StreamTooLongReason(std::uint64_t maxBytes) {
  return "終わりのないパイプまたは装置です（" + Grouped(maxBytes) + " バイトまで読みます）";
}

TFileReadError::TFileReadError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ReadFileBytes(std::string_view path, const TReadLimits& limits, TReadObserver* observer) {
  const std::string name(path);
  const TFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) Fail(name, errno);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) Fail(name, errno);
  if (S_ISDIR(st.st_mode)) Fail(name, EISDIR);
  if (!S_ISREG(st.st_mode)) return ReadStream(fd.Get(), name, limits);

  if (observer) observer->Start(static_cast<std::uint64_t>(st.st_size));
  // An observer looks at a piece while it is still in the cache.
  constexpr std::size_t kObservedPiece = std::size_t{512} << 10;
  std::string bytes;
  // One byte more than the size says, so that a file of the stated size
  // ends with a read of 0 without growing the buffer.
  bytes.reserve(static_cast<std::size_t>(st.st_size) + 1);
  AdviseHugePages(bytes.data(), bytes.capacity());  // before the pages are first touched
  std::size_t used = 0;
  for (;;) {
    // The buffer is sized piece by piece, so that it is written while the
    // read is about to fill it; it doubles for a file that has grown.
    if (used == bytes.size()) {
      const std::size_t room = bytes.capacity() > used ? bytes.capacity() - used : used;
      bytes.resize(used + (observer ? std::min(room, kObservedPiece) : room));
    }
    const ssize_t got = ReadSome(fd.Get(), bytes.data() + used, bytes.size() - used);
    if (got < 0) Fail(name, errno);
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
    if (observer) observer->Read(std::string_view(bytes.data(), used));
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace rd
