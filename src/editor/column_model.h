// The editor's column model: a byte is one display column, a Shift_JIS
// double-byte character two, a tab runs to the next tab stop.
//
// The column attribute string of a row has one character per column:
// '1' single byte, '2' delimiter byte, '3' tab filler, '4' lead byte,
// '5' trail byte ('0' is the end marker of the wrapping cursor).
#pragma once

#include <string>
#include <string_view>

namespace rd {

inline constexpr int kMaxColumns = 1000;  // columns laid out, caret and drawing limit

struct TColumnLayout {
  int TabSpaceCount = 8;
  bool WordWrap = false;
  int WrapByte = 80;
};

// Attribute string of `text`, cut off after 1000 columns (wrapping off) or
// WrapByte + 3 columns (wrapping on).
std::string ColumnAttributes(std::string_view text, const TColumnLayout& layout);
// Like ColumnAttributes but without the cut-off (caret and selection maths
// on long lines).
std::string ColumnAttributesFull(std::string_view text, const TColumnLayout& layout);

// Byte offset of column `col` in a row with attribute string `attrs`: col
// minus the tab filler columns before it. Columns past the end map past the
// last byte by the excess.
int ColumnToByte(std::string_view attrs, int col);
// Display column at which byte `byte` of `text` starts.
int ByteToColumn(std::string_view text, int byte, const TColumnLayout& layout);
// Columns `text` occupies (wrapping on: tabs never pass a multiple of WrapByte).
int DisplayWidth(std::string_view text, const TColumnLayout& layout);

}  // namespace rd
