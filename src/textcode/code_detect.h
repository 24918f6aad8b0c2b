// Detection of the character code a text is written in: byte-order marks,
// UTF-8, ISO-2022-JP, Shift_JIS, EUC-JP and binary data.
#pragma once

#include <span>
#include <string_view>

#include "textcode/line_list.h"
#include "textcode/text_code.h"

namespace rd {

// Full detection: marks, the UTF-8 scan of the first DetectLimit bytes, then
// DetectJapaneseCode. Never fails; empty data is Binary.
DetectedCode DetectCode(std::string_view data);

// The binary test of the first DetectLimit bytes and the Shift_JIS / EUC-JP /
// JIS scan, which runs until a byte decides. Returns only Ascii..EucOrSjis.
DetectedCode DetectJapaneseCode(std::string_view data);

// DetectCode of `lines` joined again with CR LF after each line, without
// building the joined text. `lines` are the lines of `text` as SplitLines
// gives them: in order from the start, apart only by CR and LF bytes.
// `quiet` bytes from the text's start are known to decide nothing (see
// AllQuiet64), and the Japanese scan starts after them.
DetectedCode DetectLinesCode(const TLineList& lines, std::size_t quiet = 0);  // lines of an adopted text

// Whether p[0..64) are bytes that decide nothing in the Japanese scan:
// 0x08 to 0x7F, none of them ESC.
bool AllQuiet64(const char* p);

}  // namespace rd
