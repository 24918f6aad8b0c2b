// The characters that the width option folds: full-width forms of ASCII
// and half-width katakana, in Shift_JIS.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace rd {

// A byte that may follow a lead byte as the second byte of its character.
constexpr bool IsTrail(unsigned char t) { return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC); }

namespace width_detail {

// ASCII for the second byte of a full-width symbol with lead byte 0x81, 0 for none.
constexpr std::array<char, 256> MakeRow1Ascii() {
  std::array<char, 256> a{};
  const struct {
    unsigned char trail;
    char ascii;
  } pairs[] = {{0x49, '!'}, {0x94, '#'}, {0x90, '$'}, {0x93, '%'}, {0x95, '&'}, {0x69, '('}, {0x6A, ')'},
               {0x96, '*'}, {0x7B, '+'}, {0x43, ','}, {0x7C, '-'}, {0x44, '.'}, {0x5E, '/'}, {0x46, ':'},
               {0x47, ';'}, {0x83, '<'}, {0x81, '='}, {0x84, '>'}, {0x48, '?'}, {0x97, '@'}, {0x6D, '['},
               {0x5F, '\\'}, {0x6E, ']'}, {0x4F, '^'}, {0x51, '_'}, {0x4D, '`'}, {0x6F, '{'}, {0x62, '|'},
               {0x70, '}'}, {0x60, '~'}};
  for (const auto& p : pairs) a[p.trail] = p.ascii;
  return a;
}
inline constexpr std::array<char, 256> kRow1Ascii = MakeRow1Ascii();

// Full-width forms of the half-width bytes 0xA1 to 0xDF.
inline constexpr std::uint16_t kHalfKana[] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342,  // ｡｢｣､･ｦｧｨ
    0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B,  // ｩｪｫｬｭｮｯｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E,  // ｱｲｳｴｵｶｷｸ
    0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E,  // ｹｺｻｼｽｾｿﾀ
    0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C,  // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E,  // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389, 0x838A,  // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,          // ﾙﾚﾛﾜﾝﾞﾟ
};

}  // namespace width_detail

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

constexpr bool IsHalfWidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

// The ASCII form of a full-width character, 0 when it has none.
constexpr char FullWidthAscii(unsigned char lead, unsigned char trail) {
  if (lead == 0x81) return width_detail::kRow1Ascii[trail];
  if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) return static_cast<char>('0' + (trail - 0x4F));
    if (trail >= 0x60 && trail <= 0x79) return static_cast<char>('A' + (trail - 0x60));
    if (trail >= 0x81 && trail <= 0x9A) return static_cast<char>('a' + (trail - 0x81));
    return 0;
  }
  // The quotation marks live among the extension characters, twice.
  if (lead == 0xFA || lead == 0xEE) {
    const unsigned char apostrophe = lead == 0xFA ? 0x56 : 0xFB;
    if (trail == apostrophe) return '\'';
    if (trail == apostrophe + 1) return '"';
  }
  return 0;
}

// The full-width form of the half-width character `c`, joined with the mark
// `next` when they make one kana; `used` is 1 or 2 bytes.
constexpr std::uint16_t FullWidthKana(unsigned char c, unsigned char next, std::size_t& used) {
  std::uint16_t code = width_detail::kHalfKana[c - 0xA1];
  used = 1;
  const bool hRow = c >= 0xCA && c <= 0xCE;                 // ﾊ to ﾎ
  const bool voiceable = (c >= 0xB6 && c <= 0xC4) || hRow;  // ｶ to ﾄ, ﾊ to ﾎ
  if (next == kVoicedMark && (voiceable || c == 0xB3)) {
    code = c == 0xB3 ? 0x8394 : static_cast<std::uint16_t>(code + 1);  // ｳﾞ is ヴ
    used = 2;
  } else if (next == kSemiVoicedMark && hRow) {
    code = static_cast<std::uint16_t>(code + 2);
    used = 2;
  }
  return code;
}

}  // namespace rd
