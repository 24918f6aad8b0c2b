// The messages of the companion program that sends a file to one of the
// panes: frames of two 32-bit integers (word parameter, long parameter) in
// the machine's byte order, over a local socket private to the user.
//
//   (0, 0)      empty the pending file name
//   (0, byte)   append the byte (low 8 bits) to the pending name
//   (1, any)    open the pending name in TextA
//   (2, any)    open the pending name in TextB
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compare/side.h"

namespace rd {

struct TCompanionFrame {
  std::int32_t wParam = 0;
  std::int32_t lParam = 0;
};
inline constexpr std::size_t kCompanionFrameSize = 8;

// A file name to open and the pane it goes to.
struct TCompanionOpen {
  Side side = Side::A;
  std::string path;
};

// The pending file name; lives as long as the window.
class TCompanionName {
 public:
  // Longest name kept; the bytes of a longer one are ignored until the next reset.
  static constexpr std::size_t kMaxName = 4096;

  // Applies one frame. Answers the file to open for (1, x) and (2, x);
  // false from `valid` for a word parameter the protocol does not know.
  std::optional<TCompanionOpen> Apply(const TCompanionFrame& frame, bool& valid);
  const std::string& Pending() const { return pending_; }

 private:
  std::string pending_;
  bool overflow_ = false;
};

// Cuts a byte stream of one connection into frames.
class TCompanionFrameReader {
 public:
  void Feed(std::string_view bytes) { buffer_.append(bytes); }
  // The next whole frame, or nothing until more bytes arrive.
  std::optional<TCompanionFrame> Next();

 private:
  std::string buffer_;
  std::size_t used_ = 0;
};

// The frames that send `path` to a pane: reset, one per byte, then the side.
std::string CompanionMessage(Side side, std::string_view path);

// Where the window listens: $XDG_RUNTIME_DIR/RavelleDiff.sock, or a name in
// /tmp carrying the user id when there is no runtime folder.
std::string CompanionSocketPath();

}  // namespace rd
