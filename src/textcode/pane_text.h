// A pane's text read from and written to a file in one of the tool's
// character codes. The panes hold Shift_JIS; conversion happens only here.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "textcode/text_code.h"

namespace rd {

// A text's bytes in a buffer that a pane can take over as it is.
struct TTextBuffer {
  std::unique_ptr<char[]> bytes;
  std::size_t size = 0;
  std::string_view View() const { return {bytes.get(), size}; }
};

// `count` lines, each followed by CR LF, in one buffer sized once.
TTextBuffer JoinWithCrLf(std::size_t count, const std::function<std::string_view(std::size_t)>& line);

struct TPaneText {
  TTextBuffer text;                 // Shift_JIS lines, each followed by CR LF
  TextCode code = TextCode::Sjis;   // the code the file was taken in
  std::size_t lost = 0;             // characters that had no Shift_JIS form
  bool failed = false;              // a line could not be converted; `text` is empty
};

// Reads the file at `path` for a pane in `code` (Auto detects it). Lines end
// at CR LF, CR or LF and a NUL byte ends the text. Throws TFileReadError
// when the file cannot be read.
TPaneText ReadPaneText(const std::string& path, TextCode code);

// The bytes of a pane's `count` lines in `code`: Euc and Utf8 convert each
// line and end it with LF; nothing when a line cannot be converted. (A
// Shift_JIS pane writes its own text with CR LF line ends.)
std::optional<std::string> EncodePaneLines(int count, const std::function<std::string_view(int)>& line, TextCode code);

// What the file label shows: "[EUC] " or "[UTF8] " before the file name
// without its folder; no prefix for Shift_JIS.
std::string FileLabelCaption(TextCode code, std::string_view path);

// The name after the last "/".
std::string_view FileNameOf(std::string_view path);

}  // namespace rd
