// A regular file's bytes mapped read-only into memory: a large file is read
// without copying it, its pages being the system's file cache itself.
//
// The bytes stay readable while the file keeps its length. A file shortened
// by another program while it is mapped makes the next read of a page past
// its new end fault: a process that maps files calls GuardMappedFiles first,
// which turns that fault into a message and an exit instead of a crash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rd {

class TMappedFile {
 public:
  TMappedFile() = default;
  ~TMappedFile();
  TMappedFile(TMappedFile&& other) noexcept;
  TMappedFile& operator=(TMappedFile&& other) noexcept;
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // The file at `path` mapped whole, or nothing (an empty object) when it
  // is not a regular file of one byte or more, or cannot be mapped: such a
  // file is read instead, which also tells why it cannot be. A file larger
  // than `maxBytes` is not mapped either.
  static TMappedFile Map(std::string_view path, std::size_t maxBytes);

  explicit operator bool() const { return data_ != nullptr; }
  std::string_view Bytes() const { return {static_cast<const char*>(data_), size_}; }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

// From now on, a fault on the bytes of a mapped file prints `message` and a
// line end on standard error and ends the process with status 1. Nothing
// else in the program maps files, so no other fault is taken for it.
void GuardMappedFiles(std::string message);

}  // namespace rd
