// Reading a file into a line list in the tool's Shift_JIS form, detecting
// or applying the file's character code.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "textcode/line_list.h"
#include "textcode/text_code.h"

namespace rd {

// The lines of `text` converted to Shift_JIS from `code` (Euc or Utf8), in
// one buffer; nothing when a line cannot be converted.
std::optional<TLineList> ConvertLines(const TLineList& lines, TextCode code);

// How a file comes into memory: read into a buffer of the list's own, or
// mapped (see TMappedFile; a file that cannot be mapped is read).
enum class TReadWay { Read, Map };

// Fills `list` with the lines of the file at `path` and returns the code in
// which they were taken. Auto detects the code (over the lines as if joined
// with CR LF); Euc and Utf8 convert from that code; Sjis, and any value out
// of range, take the bytes as they are. When a line fails to convert, the
// lines are taken unconverted and the code is still returned. Throws
// TFileReadError when the file cannot be read; `list` is then unchanged.
// Besides the system's reasons, that is also when the file has more than
// kMaxTextLines lines, when a pipe or device runs on past kMaxStreamBytes,
// and when memory runs out (kReasonOutOfMemory).
TextCode LoadLines(TLineList& list, TextCode code, std::string_view path, TReadWay way = TReadWay::Read);

}  // namespace rd
