// Reading a whole file into memory, with an error that names the file and
// the system's reason when it cannot be read.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace rd {

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

// All bytes of the file at `path`. Throws TFileReadError when it is missing,
// a folder, not permitted, or a read fails.
std::string ReadFileBytes(std::string_view path);

}  // namespace rd
