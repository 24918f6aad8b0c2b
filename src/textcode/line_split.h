// Splitting a file's bytes into lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "textcode/file_bytes.h"
#include "textcode/line_list.h"

namespace rd {

// Raised by SplitLines when a text has more lines than it was allowed.
class TTooManyLines : public std::length_error {
 public:
  TTooManyLines() : std::length_error("too many lines") {}
};

// The lines of a file's bytes, adopted in place. A line ends at CR, at LF,
// or at CR LF (one break); LF CR is two breaks. A break at the very end adds
// no empty line. The first NUL byte ends the text: nothing after it is read.
// Throws TTooManyLines, before the line offsets are allocated, when there
// would be more than maxLines lines.
TLineList SplitLines(std::string bytes, std::size_t maxLines = SIZE_MAX);
// The same lines' starts, for adopting the bytes otherwise.
TLineStarts SplitStarts(std::string_view bytes, std::size_t maxLines = SIZE_MAX);

// Splits a regular file into lines while it is read, as SplitLines splits
// its bytes: each piece is scanned while it is still in the processor's
// cache, so the text goes through memory once. Hand it to ReadFileBytes,
// then give Finish what that returned.
class TSplitWhileReading : public TReadObserver {
 public:
  explicit TSplitWhileReading(std::size_t maxLines = SIZE_MAX) : maxLines_(maxLines) {}
  void Start(std::uint64_t size) override;
  void Read(std::string_view sofar) override;
  // The lines of `bytes`, all that was read; throws TTooManyLines as
  // SplitLines does.
  TLineList Finish(std::string bytes);
  // Their starts, for bytes that stay where they are (a mapped file's).
  TLineStarts FinishStarts(std::string_view bytes);
  // How many bytes from the start decide nothing for the code detection
  // (AllQuiet64), as far as the split has seen: a multiple of 64.
  std::size_t QuietBytes() const { return quiet_; }

 private:
  static constexpr std::size_t kOpen = SIZE_MAX;
  void Scan(std::string_view sofar, bool last);

  std::size_t maxLines_;
  bool on_ = false;         // a regular file small enough to split as it comes
  TLineStarts starts_;
  std::size_t done_ = 0;    // bytes scanned, whole blocks
  std::size_t quiet_ = 0;   // the quiet blocks before the first that is not
  std::size_t end_ = kOpen; // where the text ends, once known
};

// Counts the lines of a text that arrives in pieces, as SplitLines would
// split the pieces joined (the caller stops at a NUL byte).
class TLineCounter {
 public:
  void Add(std::string_view piece);
  std::uint64_t Lines() const { return breaks_ + (open_ ? 1 : 0); }

 private:
  std::uint64_t breaks_ = 0;
  bool open_ = false;     // bytes after the last break
  bool afterCr_ = false;  // the last byte was a CR: an LF next belongs to it
};

}  // namespace rd
