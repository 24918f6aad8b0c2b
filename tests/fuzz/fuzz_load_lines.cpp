// LoadLines on fuzzed file contents in every code. Properties: with the
// code fixed to Shift_JIS the lines are the file's bytes split by a plain
// reference splitter; every code gives lines without CR, LF or NUL; an
// automatic read takes the code ChooseTextCode gives for the detection, and
// a converted text has as many lines as the plain one.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "textcode/code_detect.h"
#include "textcode/file_bytes.h"
#include "textcode/line_split.h"
#include "textcode/load_lines.h"

namespace {

using namespace rd;

// The splitting rules, one byte at a time: a line ends at CR, LF or CR LF;
// a break at the very end adds no empty line; a NUL ends the text.
std::vector<std::string> ReferenceSplit(std::string_view bytes) {
  bytes = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      continue;
    }
    line += c;
    open = true;
  }
  if (open) lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static const std::string path = fuzz::ScratchFolder() + "text.txt";
  fuzz::WriteScratch("text.txt", bytes);

  const std::vector<std::string> expected = ReferenceSplit(bytes);
  std::size_t plainCount = 0;
  for (const TextCode code : {TextCode::Sjis, TextCode::Auto, TextCode::Euc, TextCode::Utf8, static_cast<TextCode>(9)}) {
    TLineList list{"old"};
    const TextCode got = LoadLines(list, code, path);
    for (std::size_t i = 0; i < list.Count(); ++i)
      RD_FUZZ_CHECK(list[i].find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    if (code == TextCode::Sjis || code == static_cast<TextCode>(9)) {
      RD_FUZZ_CHECK(got == TextCode::Sjis);
      RD_FUZZ_CHECK(list.Count() == expected.size());
      for (std::size_t i = 0; i < list.Count(); ++i) RD_FUZZ_CHECK(list[i] == expected[i]);
      plainCount = list.Count();
    } else {
      RD_FUZZ_CHECK(list.Count() == plainCount);
    }
    if (code == TextCode::Auto) {
      std::string joined;
      for (const std::string& line : expected) joined.append(line).append("\r\n");
      RD_FUZZ_CHECK(got == ChooseTextCode(DetectCode(joined)));
    }
    if (code == TextCode::Euc || code == TextCode::Utf8) RD_FUZZ_CHECK(got == code);
  }
  // The same bytes through a pipe give the same lines.
  int fds[2];
  if (size <= 60000 && ::pipe(fds) == 0) {
    RD_FUZZ_CHECK(::write(fds[1], data, size) == static_cast<ssize_t>(size));
    ::close(fds[1]);
    TLineList list;
    LoadLines(list, TextCode::Sjis, "/proc/self/fd/" + std::to_string(fds[0]));
    ::close(fds[0]);
    RD_FUZZ_CHECK(list.Count() == expected.size());
    for (std::size_t i = 0; i < list.Count(); ++i) RD_FUZZ_CHECK(list[i] == expected[i]);
  }
  return 0;
}
