// The character codes a text can be read and written in, the codes the
// detector can name, and byte classification shared by other modules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rd {

// Code of a pane's file; also the selector index and the setting `CodeType`.
enum class TextCode : std::uint8_t { Auto = 0, Sjis = 1, Euc = 2, Utf8 = 3 };

// What the detector found in a text's bytes.
enum class DetectedCode : std::uint8_t {
  Ascii = 0,      // nothing that decides
  Binary = 1,     // empty, or a byte below 0x08 or 0xFF
  JisNew = 2,     // ESC $ B (ISO-2022-JP, JIS X 0208-1983)
  JisOld = 3,     // ESC $ @ (ISO-2022-JP, JIS C 6226-1978)
  Euc = 4,
  Sjis = 5,
  EucOrSjis = 6,  // valid in both as far as it was read
  Utf16Le = 7,    // begins FF FE
  Utf16Be = 8,    // begins FE FF
  Utf8Bom = 9,    // begins EF BB BF
  Utf8 = 10,      // UTF-8 without a mark, found by the UTF-8 scan
};

// Bytes looked at by the binary test and the UTF-8 scan.
inline constexpr std::size_t DetectLimit = 1024;

// The code a text is read in when the user left the choice to the detector.
// Only UTF-8 without a mark and EUC-JP (or undecided) texts are converted;
// everything else, marks and ISO-2022-JP included, is taken as it is.
TextCode ChooseTextCode(DetectedCode detected);

// A byte that starts a double-byte character in Shift_JIS (code page 932).
constexpr bool IsSjisLead(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// A-Z to a-z; every other byte as it is (names, keys and sections).
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view s);

// `s` without the spaces and tabs around it (names, keys, values, patterns).
std::string_view TrimBlanks(std::string_view s);

// The text with each CR and LF byte as "?", for a name or message that must
// stay on one line of a report or of standard error. (No Shift_JIS or UTF-8
// character holds either byte.)
std::string OneLine(std::string text);

// Well-formed UTF-8 in the strict sense: no overlong forms, no surrogates,
// nothing above U+10FFFF, no truncated sequence. An empty string is valid.
bool IsValidUtf8(std::string_view bytes);

}  // namespace rd
