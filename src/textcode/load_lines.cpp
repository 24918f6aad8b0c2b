// The file is read in one go and its lines are adopted in place; only a
// converted text gets a second buffer, the size of the first.
#include "textcode/load_lines.h"

#include <cassert>
#include <string>
#include <utility>
#include <vector>

#include "textcode/code_detect.h"
#include "textcode/file_bytes.h"
#include "textcode/jis_convert.h"
#include "textcode/line_split.h"
#include "textcode/utf8_convert.h"

namespace rd {

std::optional<TLineList> ConvertLines(std::string_view text, std::span<const TLineList::TSpan> lines,
                                      TextCode code) {
  assert((code == TextCode::Euc || code == TextCode::Utf8) && "only EUC-JP and UTF-8 are converted");
  char* (*convert)(std::string_view, char*) = code == TextCode::Euc ? EucToSjisInto : Utf8ToSjisInto;
  // Both conversions give at most as many bytes as they read.
  std::size_t total = 0;
  for (const TLineList::TSpan& line : lines) total += line.size;
  std::string bytes(total, '\0');
  std::vector<TLineList::TSpan> spans;
  spans.reserve(lines.size());
  char* out = bytes.data();
  for (const TLineList::TSpan& line : lines) {
    char* end = convert(text.substr(line.begin, line.size), out);
    if (!end) return std::nullopt;
    spans.push_back({static_cast<std::size_t>(out - bytes.data()), static_cast<std::size_t>(end - out)});
    out = end;
  }
  bytes.resize(static_cast<std::size_t>(out - bytes.data()));
  return TLineList::Adopt(std::move(bytes), std::move(spans));
}

TextCode LoadLines(TLineList& list, TextCode code, std::string_view path) {
  std::string bytes = ReadFileBytes(path);
  std::vector<TLineList::TSpan> lines = SplitLines(bytes);

  TextCode result = TextCode::Sjis;
  if (code == TextCode::Auto) result = ChooseTextCode(DetectLinesCode(bytes, lines));
  else if (code == TextCode::Euc || code == TextCode::Utf8) result = code;

  if (result != TextCode::Sjis) {
    if (std::optional<TLineList> converted = ConvertLines(bytes, lines, result)) {
      list = std::move(*converted);
      return result;
    }
  }
  list = TLineList::Adopt(std::move(bytes), std::move(lines));
  return result;
}

}  // namespace rd
