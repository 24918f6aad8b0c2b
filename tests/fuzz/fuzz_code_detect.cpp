// DetectCode and every converter on fuzzed bytes. Properties: detection over
// the lines equals detection over their join; the buffer forms stay inside
// the room they are given and agree with the string forms; conversions give
// well-formed output and invert each other where they promise to.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "textcode/code_detect.h"
#include "textcode/jis_convert.h"
#include "textcode/line_split.h"
#include "textcode/load_lines.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"

namespace {

using namespace rd;

// Runs a buffer form into a heap block of exactly `room` bytes, so that
// AddressSanitizer sees any write past it; the result, or nothing.
std::optional<std::string> IntoExactly(char* (*convert)(std::string_view, char*), std::string_view in,
                                       std::size_t room) {
  const std::unique_ptr<char[]> out(new char[room == 0 ? 1 : room]);
  char* end = convert(in, out.get());
  if (!end) return std::nullopt;
  RD_FUZZ_CHECK(end >= out.get() && static_cast<std::size_t>(end - out.get()) <= room);
  return std::string(out.get(), end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const DetectedCode detected = DetectCode(bytes);
  RD_FUZZ_CHECK(static_cast<int>(detected) <= static_cast<int>(DetectedCode::Utf8));
  if (size == 0) RD_FUZZ_CHECK(detected == DetectedCode::Binary);
  const TextCode chosen = ChooseTextCode(detected);
  RD_FUZZ_CHECK(chosen == TextCode::Sjis || chosen == TextCode::Euc || chosen == TextCode::Utf8);
  const DetectedCode japanese = DetectJapaneseCode(bytes);
  RD_FUZZ_CHECK(static_cast<int>(japanese) <= static_cast<int>(DetectedCode::EucOrSjis));

  // Detection over the lines is detection over the lines joined with CR LF.
  const TLineList lines = SplitLines(std::string(bytes));
  std::string joined;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    RD_FUZZ_CHECK(lines[i].find_first_of("\r\n") == std::string_view::npos);
    RD_FUZZ_CHECK(lines[i].find('\0') == std::string_view::npos);
    joined.append(lines[i]).append("\r\n");
  }
  RD_FUZZ_CHECK(DetectLinesCode(lines) == DetectCode(joined));

  // Every converter, string and buffer form, on the whole input.
  const std::optional<std::string> eucToSjis = EucToSjis(bytes);
  RD_FUZZ_CHECK(eucToSjis == IntoExactly(EucToSjisInto, bytes, size));
  const std::optional<std::string> sjisToEuc = SjisToEuc(bytes);
  RD_FUZZ_CHECK(sjisToEuc == IntoExactly(SjisToEucInto, bytes, 2 * size));
  const std::optional<std::string> utf8ToSjis = Utf8ToSjis(bytes);
  RD_FUZZ_CHECK(utf8ToSjis.has_value());
  RD_FUZZ_CHECK(utf8ToSjis == IntoExactly(Utf8ToSjisInto, bytes, size));
  const std::optional<std::string> sjisToUtf8 = SjisToUtf8(bytes);
  RD_FUZZ_CHECK(sjisToUtf8.has_value());
  RD_FUZZ_CHECK(sjisToUtf8 == IntoExactly(SjisToUtf8Into, bytes, 3 * size));
  RD_FUZZ_CHECK(IsValidUtf8(*sjisToUtf8));

  // Shift_JIS to EUC-JP and back gives the line again, where the line is
  // well-formed Shift_JIS of JIS X 0208 rows and half-width katakana (no
  // NUL, no user-defined rows F0..FC, no trail byte outside 40..7E, 80..FC).
  const bool plainSjis = [&] {
    for (std::size_t i = 0; i < size; ++i) {
      const std::uint8_t b = data[i];
      if (b == 0) return false;
      if (b <= 0x7F || (b >= 0xA1 && b <= 0xDF)) continue;
      if (!((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF)) || i + 1 >= size) return false;
      const std::uint8_t t = data[++i];
      if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    }
    return true;
  }();
  if (sjisToEuc && plainSjis) {
    const std::optional<std::string> back = EucToSjis(*sjisToEuc);
    RD_FUZZ_CHECK(back.has_value());
    RD_FUZZ_CHECK(*back == bytes);
  }
  // Valid UTF-8 that came from Shift_JIS converts back without a failure.
  RD_FUZZ_CHECK(Utf8ToSjis(*sjisToUtf8).has_value());

  // The pair conversions invert each other on every pair that has a JIS form.
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    if (const std::optional<TBytePair> jis = SjisToJis(data[i], data[i + 1])) {
      const TBytePair sjis = JisToSjis(jis->first, jis->second);
      (void)sjis;  // JisToSjis is total; the inverse holds only on the JIS grid
      if (jis->first >= 0x21 && jis->first <= 0x7E && jis->second >= 0x21 && jis->second <= 0x7E)
        RD_FUZZ_CHECK(SjisToJis(sjis.first, sjis.second) == jis);
    }
  }

  // The conversion of the lines as LoadLines does it.
  for (const TextCode code : {TextCode::Euc, TextCode::Utf8})
    if (const std::optional<TLineList> converted = ConvertLines(lines, code))
      RD_FUZZ_CHECK(converted->Count() == lines.Count());
  return 0;
}
