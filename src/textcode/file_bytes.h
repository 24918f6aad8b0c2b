// Reading a whole file into memory, with an error that names the file and
// the system's reason when it cannot be read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rd {

// How much of a pipe or device (a file without a size) is read at most.
inline constexpr std::uint64_t kMaxStreamBytes = std::uint64_t{4} << 30;

// Reasons of TFileReadError that are not the system's.
inline constexpr std::string_view kReasonOutOfMemory = "メモリが不足しています";
// "too many lines (at most N)"
std::string TooManyLinesReason(std::uint64_t maxLines);
// "a pipe or device that does not end (at most N bytes are read)"
std::string StreamTooLongReason(std::uint64_t maxBytes);

struct TReadLimits {
  std::uint64_t maxLines = UINT64_MAX;            // lines as SplitLines counts them
  std::uint64_t maxStreamBytes = kMaxStreamBytes;  // bytes of a file without a size
};

class TFileReadError : public std::runtime_error {
 public:
  TFileReadError(std::string path, std::string reason);
  const std::string& Path() const { return path_; }
  // The system's text for the cause (strerror), e.g. "No such file or directory".
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// True for an existing file that is not a folder.
bool FileExists(const std::string& path);

// Sees a regular file's bytes while they are read, so that it can look at
// each piece while the piece is still in the processor's cache.
class TReadObserver {
 public:
  virtual ~TReadObserver() = default;
  // Once, before the first read, with the size the file reports.
  virtual void Start(std::uint64_t size) = 0;
  // After every read, with all bytes read so far.
  virtual void Read(std::string_view sofar) = 0;
};

// All bytes of the file at `path`. Throws TFileReadError when it is missing,
// a folder, not permitted, or a read fails.
//
// A file without a size (a pipe, a device) is read only up to its first NUL
// byte, which ends the text anyway, and fails with TooManyLinesReason or
// StreamTooLongReason as soon as what has come exceeds `limits`, so a source
// that never ends costs a bounded amount of memory. A regular file is read
// whole; its lines are counted by SplitLines.
//
// An observer, when given, sees a regular file read in pieces of bounded
// size; a pipe or device is read without it.
std::string ReadFileBytes(std::string_view path, const TReadLimits& limits = {}, TReadObserver* observer = nullptr);

}  // namespace rd
