#include "app/companion.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace rd {

std::optional<TCompanionOpen> TCompanionName::Apply(const TCompanionFrame& frame, bool& valid) {
  valid = true;
  switch (frame.wParam) {
    case 0:
      if (frame.lParam == 0) {
        pending_.clear();
        overflow_ = false;
      } else if (!overflow_ && pending_.size() < kMaxName) {
        pending_.push_back(static_cast<char>(frame.lParam & 0xFF));
      } else {
        overflow_ = true;
      }
      return std::nullopt;
    case 1:
    case 2:
      if (overflow_ || pending_.empty()) return std::nullopt;
      return TCompanionOpen{frame.wParam == 1 ? Side::A : Side::B, pending_};
    default:
      valid = false;
      return std::nullopt;
  }
}

std::optional<TCompanionFrame> TCompanionFrameReader::Next() {
  if (buffer_.size() - used_ < kCompanionFrameSize) {
    buffer_.erase(0, used_);
    used_ = 0;
    return std::nullopt;
  }
  TCompanionFrame frame;
  std::memcpy(&frame.wParam, buffer_.data() + used_, 4);
  std::memcpy(&frame.lParam, buffer_.data() + used_ + 4, 4);
  used_ += kCompanionFrameSize;
  return frame;
}

std::string CompanionMessage(Side side, std::string_view path) {
  std::string bytes;
  const auto put = [&bytes](std::int32_t w, std::int32_t l) {
    char frame[kCompanionFrameSize];
    std::memcpy(frame, &w, 4);
    std::memcpy(frame + 4, &l, 4);
    bytes.append(frame, sizeof frame);
  };
  put(0, 0);
  for (const char c : path) put(0, static_cast<unsigned char>(c));
  put(side == Side::A ? 1 : 2, 0);
  return bytes;
}

std::string CompanionSocketPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat st {};
  if (runtime && *runtime == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
    return std::string(runtime) + "/RavelleDiff.sock";
  return "/tmp/RavelleDiff-" + std::to_string(::getuid()) + ".sock";
}

}  // namespace rd
