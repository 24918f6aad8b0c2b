// The companion's frames on fuzzed byte streams cut into fuzzed pieces.
// Properties: the frames read are the stream's 8-byte groups in order; the
// pending name never passes its bound; a name opened is exactly the bytes
// sent since the last reset; unknown word parameters are refused.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/companion.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rd;
  if (size < 1) return 0;
  // The first byte chooses the piece length; the rest is the stream.
  const std::size_t piece = 1 + data[0] % 13;
  const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);

  TCompanionFrameReader reader;
  TCompanionName name;
  std::string expected;  // what a literal reading of the protocol holds pending
  bool overflow = false;
  std::size_t frames = 0;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    reader.Feed(stream.substr(at, piece));
    while (const auto frame = reader.Next()) {
      std::int32_t w = 0, l = 0;
      std::memcpy(&w, stream.data() + frames * 8, 4);
      std::memcpy(&l, stream.data() + frames * 8 + 4, 4);
      RD_FUZZ_CHECK(frame->wParam == w && frame->lParam == l);
      ++frames;
      bool valid = true;
      const auto opened = name.Apply(*frame, valid);
      RD_FUZZ_CHECK(valid == (w >= 0 && w <= 2));
      if (!valid) continue;  // the window would close this connection
      if (w == 0 && l == 0) {
        expected.clear();
        overflow = false;
      } else if (w == 0) {
        if (expected.size() < TCompanionName::kMaxName && !overflow) expected.push_back(static_cast<char>(l & 0xFF));
        else overflow = true;
      } else {
        RD_FUZZ_CHECK(opened.has_value() == (!overflow && !expected.empty()));
        if (opened) {
          RD_FUZZ_CHECK(opened->path == expected);
          RD_FUZZ_CHECK(opened->side == (w == 1 ? Side::A : Side::B));
        }
      }
      RD_FUZZ_CHECK(name.Pending().size() <= TCompanionName::kMaxName);
    }
  }
  RD_FUZZ_CHECK(frames == stream.size() / 8);
  return 0;
}
