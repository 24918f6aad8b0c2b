#include "textcode/pane_text.h"

#include <algorithm>
#include <cassert>

#include "textcode/code_detect.h"
#include "textcode/file_bytes.h"
#include "textcode/jis_convert.h"
#include "textcode/line_split.h"
#include "textcode/load_lines.h"
#include "textcode/utf8_convert.h"

namespace rd {

namespace {

std::size_t CountQuestionMarks(const TLineList& lines) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) n += static_cast<std::size_t>(std::ranges::count(lines[i], '?'));
  return n;
}

}  // namespace

TTextBuffer JoinWithCrLf(std::size_t count, const std::function<std::string_view(std::size_t)>& line) {
  std::size_t size = 0;
  for (std::size_t i = 0; i < count; ++i) size += line(i).size() + 2;
  TTextBuffer text{std::make_unique<char[]>(std::max<std::size_t>(size, 1)), size};
  char* out = text.bytes.get();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view l = line(i);
    out = std::copy(l.begin(), l.end(), out);
    *out++ = '\r';
    *out++ = '\n';
  }
  return text;
}

TPaneText ReadPaneText(const std::string& path, TextCode code) {
  const TLineList lines = SplitLines(ReadFileBytes(path));
  TPaneText result;
  result.code = code;
  if (code == TextCode::Auto) result.code = ChooseTextCode(DetectLinesCode(lines));
  if (result.code != TextCode::Euc && result.code != TextCode::Utf8) {
    result.code = TextCode::Sjis;
    result.text = JoinWithCrLf(lines.Count(), [&lines](std::size_t i) { return lines[i]; });
    return result;
  }
  const std::optional<TLineList> converted = ConvertLines(lines, result.code);
  if (!converted) {
    result.failed = true;
    return result;
  }
  // Every character without a Shift_JIS form, and every ill-formed
  // sequence, became one "?"; a "?" in the file stays one "?". A "?" is
  // never the second byte of a Shift_JIS character, so counting is exact.
  if (result.code == TextCode::Utf8) result.lost = CountQuestionMarks(*converted) - CountQuestionMarks(lines);
  const TLineList& text = *converted;
  result.text = JoinWithCrLf(text.Count(), [&text](std::size_t i) { return text[i]; });
  return result;
}

std::optional<std::string> EncodePaneLines(int count, const std::function<std::string_view(int)>& line, TextCode code) {
  assert((code == TextCode::Euc || code == TextCode::Utf8) && "a Shift_JIS pane writes its own text");
  const bool euc = code == TextCode::Euc;
  std::string bytes;
  std::string buffer;
  for (int i = 0; i < count; ++i) {
    const std::string_view text = line(i);
    buffer.resize(euc ? 2 * text.size() : 3 * text.size());
    const char* end = euc ? SjisToEucInto(text, buffer.data()) : SjisToUtf8Into(text, buffer.data());
    if (!end) return std::nullopt;
    bytes.append(buffer.data(), static_cast<std::size_t>(end - buffer.data())).push_back('\n');
  }
  return bytes;
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string FileLabelCaption(TextCode code, std::string_view path) {
  std::string caption = code == TextCode::Euc ? "[EUC] " : code == TextCode::Utf8 ? "[UTF8] " : "";
  return caption.append(FileNameOf(path));
}

}  // namespace rd
