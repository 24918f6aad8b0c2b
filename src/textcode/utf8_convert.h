// Conversion of lines between UTF-8 and Shift_JIS (code page 932), with the
// results of the Windows conversion functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rd {

// What a failed UTF-8 conversion reports.
inline constexpr std::string_view kUtf8ConvertFailed = "UTF8の文字列変換に失敗しました.";

// UTF-8 line to Shift_JIS. Each maximal ill-formed part of the input, and
// each character without a Shift_JIS form, becomes "?"; a NUL byte ends the
// line. Fails only when the system offers no CP932 conversion at all.
std::optional<std::string> Utf8ToSjis(std::string_view line);

// Shift_JIS line to UTF-8 without a byte-order mark. Bytes that are not
// code page 932 become U+FFFD; a NUL byte ends the line. Fails only when
// the system offers no CP932 conversion at all.
std::optional<std::string> SjisToUtf8(std::string_view line);

// Buffer forms for converting many lines without an allocation per line:
// write to `out`, which must have room for line.size() bytes (Utf8ToSjisInto)
// or 3 * line.size() bytes (SjisToUtf8Into); return the end of what was
// written, or nullptr on failure.
char* Utf8ToSjisInto(std::string_view line, char* out);
char* SjisToUtf8Into(std::string_view line, char* out);

}  // namespace rd
