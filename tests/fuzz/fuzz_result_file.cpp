// ReadResultFile on fuzzed files. Properties: the lists it leaves are what
// every reader relies on (ascending lines, kinds 1 to 3, no negative
// numbers); a file it reads whole is written back and reads the same; a
// broken file keeps only the entries before the bad line.
#include <cstdint>
#include <string>
#include <string_view>

#include "batch/result_file.h"
#include "fuzz_check.h"

namespace {

using namespace rd;

void ExpectUsable(const TDiffList& list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    RD_FUZZ_CHECK(list[i].line >= 0 && list[i].partner >= 0);
    RD_FUZZ_CHECK(list[i].kind == KindAdded || list[i].kind == KindChanged || list[i].kind == KindMoved);
    if (i > 0) RD_FUZZ_CHECK(list[i - 1].line < list[i].line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::WriteScratch("pair.ret", bytes);
  TComparison comparison;
  comparison.MutableDiff(Side::A).push_back({1, 1, KindAdded, 0});  // discarded by the read
  const std::string message = ReadResultFile(comparison, fuzz::ScratchFolder(), "pair.ret");
  RD_FUZZ_CHECK(message.empty() || message == kResultBroken);
  ExpectUsable(comparison.Diff(Side::A));
  ExpectUsable(comparison.Diff(Side::B));
  if (!message.empty()) return 0;

  // Written back in our layout, the lists read the same.
  RD_FUZZ_CHECK(WriteResultFile(comparison, fuzz::ScratchFolder(), "again.ret").empty());
  TComparison reread;
  RD_FUZZ_CHECK(ReadResultFile(reread, fuzz::ScratchFolder(), "again.ret").empty());
  RD_FUZZ_CHECK(reread.Diff(Side::A) == comparison.Diff(Side::A));
  RD_FUZZ_CHECK(reread.Diff(Side::B) == comparison.Diff(Side::B));
  return 0;
}
