// UTF-8 <-> Shift_JIS against code chart values and the results Windows
// gives with code page 932: its NEC/IBM code choices, the one-way mappings of
// characters common in UTF-8 text, "?" and U+FFFD for what does not convert.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "textcode/jis_convert.h"
#include "textcode/utf8_convert.h"
#include "textcode/hex.h"
#include "textcode/jis0208.h"

namespace rd {
namespace {

using test::Hex;
using test::ToHex;

std::string ToSjis(std::string_view utf8) {
  const std::optional<std::string> s = Utf8ToSjis(utf8);
  EXPECT_TRUE(s) << ToHex(utf8);
  return s ? ToHex(*s) : "failed";
}

std::string ToUtf8(std::string_view sjis) {
  const std::optional<std::string> s = SjisToUtf8(sjis);
  EXPECT_TRUE(s) << ToHex(sjis);
  return s ? ToHex(*s) : "failed";
}

struct Pair {
  const char* sjis;
  const char* utf8;
  const char* what;
};

// Characters that convert both ways.
constexpr Pair kBothWays[] = {
    {"41 5C 7E", "41 5C 7E", "ASCII, backslash and tilde kept"},
    {"82 A0", "E3 81 82", "hiragana a"},
    {"8A BF", "E6 BC A2", "kanji kan"},
    {"81 40", "E3 80 80", "ideographic space"},
    {"83 5C 95 5C", "E3 82 BD E8 A1 A8", "trail byte 5C"},
    {"B1", "EF BD B1", "half-width katakana a"},
    {"EA A4", "E7 86 99", "last JIS X 0208 character"},
    {"81 7E", "C3 97", "multiplication sign"},
    {"81 60", "EF BD 9E", "81 60 is FULLWIDTH TILDE"},
    {"81 61", "E2 88 A5", "81 61 is PARALLEL TO"},
    {"81 7C", "EF BC 8D", "81 7C is FULLWIDTH HYPHEN-MINUS"},
    {"81 91 81 92 81 CA", "EF BF A0 EF BF A1 EF BF A2", "fullwidth cent, pound, not"},
    {"81 5C", "E2 80 95", "81 5C is HORIZONTAL BAR"},
    {"87 40", "E2 91 A0", "NEC row 13: circled one"},
    {"87 54", "E2 85 A0", "NEC row 13: roman numeral one"},
    {"FA 40", "E2 85 B0", "IBM extension: small roman numeral one"},
    {"FA 5C", "E7 BA 8A", "IBM extension kanji"},
    {"FB FC", "E9 AB 99", "U+9AD9 is FB FC"},
    {"F0 40 F9 FC", "EE 80 80 EE 9D 97", "user-defined area to private use"},
};

TEST(Utf8Convert, CharactersBothWays) {
  for (const Pair& p : kBothWays) {
    EXPECT_EQ(ToUtf8(Hex(p.sjis)), p.utf8) << p.what;
    EXPECT_EQ(ToSjis(Hex(p.utf8)), p.sjis) << p.what;
  }
}

TEST(Utf8Convert, DuplicatesTakeTheCodeWindowsWrites) {
  const Pair table[] = {
      {"81 E0", "E2 89 92", "NEC 87 90 is written as JIS 81 E0"},
      {"81 E6", "E2 88 B5", "NEC 87 9A and IBM FA 5B as JIS 81 E6"},
      {"81 CA", "EF BF A2", "IBM FA 54 and NEC EE F9 as JIS 81 CA"},
      {"87 54", "E2 85 A0", "IBM FA 4A as NEC 87 54"},
      {"87 82", "E2 84 96", "IBM FA 59 as NEC 87 82"},
      {"FA 5C", "E7 BA 8A", "NEC-selected ED 40 as IBM FA 5C"},
      {"FA 40", "E2 85 B0", "NEC-selected EE EF as IBM FA 40"},
  };
  for (const Pair& p : table) EXPECT_EQ(ToSjis(Hex(p.utf8)), p.sjis) << p.what;
  EXPECT_EQ(ToUtf8(Hex("87 90 87 9A FA 5B FA 54 EE F9 ED 40 EE EF")),
            "E2 89 92 E2 88 B5 E2 88 B5 EF BF A2 EF BF A2 E7 BA 8A E2 85 B0");
}

TEST(Utf8ToSjis, CharactersOfUnixTextWithAShiftJisForm) {
  const Pair table[] = {
      {"81 60", "E3 80 9C", "U+301C WAVE DASH"},
      {"81 61", "E2 80 96", "U+2016 DOUBLE VERTICAL LINE"},
      {"81 7C", "E2 88 92", "U+2212 MINUS SIGN"},
      {"81 91", "C2 A2", "U+00A2 CENT SIGN"},
      {"81 92", "C2 A3", "U+00A3 POUND SIGN"},
      {"81 CA", "C2 AC", "U+00AC NOT SIGN"},
      {"81 5C", "E2 80 94", "U+2014 EM DASH"},
      {"5C", "C2 A5", "U+00A5 YEN SIGN"},
      {"7E", "E2 80 BE", "U+203E OVERLINE"},
  };
  for (const Pair& p : table) EXPECT_EQ(ToSjis(Hex(p.utf8)), p.sjis) << p.what;
}

TEST(Utf8ToSjis, WhatHasNoShiftJisFormOrIsIllFormedBecomesQuestionMarks) {
  const struct {
    const char* utf8;
    const char* sjis;
  } table[] = {
      {"", ""},
      {"C3 A9", "3F"},                 // e acute: no Shift_JIS form
      {"F0 9F 98 80", "3F"},           // outside the BMP: one "?"
      {"F3 A0 80 81", "3F"},           // tag character
      {"EF BF BD", "3F"},              // U+FFFD itself
      {"E3 81", "3F"},                 // cut: one maximal part
      {"E3 81 41", "3F 41"},
      {"FF FE", "3F 3F"},
      {"C0 80", "3F 3F"},              // overlong NUL
      {"ED A0 80", "3F 3F 3F"},        // surrogate: ED alone is the part
      {"E0 80 80", "3F 3F 3F"},
      {"F0 9F 98", "3F"},
      {"F4 90 80 80", "3F 3F 3F 3F"},
      {"80 BF", "3F 3F"},
      {"41 E3 81 82 C3", "41 82 A0 3F"},
      {"82 A0", "3F 3F"},              // Shift_JIS bytes read as UTF-8
  };
  for (const auto& row : table) EXPECT_EQ(ToSjis(Hex(row.utf8)), row.sjis) << row.utf8;
}

TEST(SjisToUtf8, BytesThatAreNotCodePage932BecomeReplacementCharacters) {
  const struct {
    const char* sjis;
    const char* utf8;
  } table[] = {
      {"", ""},
      {"80", "EF BF BD"},
      {"A0", "EF BF BD"},
      {"FD FE FF", "EF BF BD EF BF BD EF BF BD"},
      {"82", "EF BF BD"},                     // lead byte at the end
      {"82 20 41", "EF BF BD 20 41"},         // no trail byte: the next byte stands alone
      {"82 7F", "EF BF BD 7F"},
      {"85 40", "EF BF BD"},                  // unassigned pair: one replacement
      {"EF 40 41", "EF BF BD 41"},
      {"82 A0 81", "E3 81 82 EF BF BD"},
  };
  for (const auto& row : table) EXPECT_EQ(ToUtf8(Hex(row.sjis)), row.utf8) << row.sjis;
}

TEST(Utf8Convert, NulEndsTheLine) {
  EXPECT_EQ(ToSjis(Hex("41 E3 81 82 00 42 E3 81 82")), "41 82 A0");
  EXPECT_EQ(ToSjis(Hex("00 41")), "");
  EXPECT_EQ(ToUtf8(Hex("41 82 A0 00 42")), "41 E3 81 82");
  EXPECT_EQ(ToUtf8(Hex("82 00 41")), "EF BF BD");
}

// Every JIS X 0208 character, as Shift_JIS, goes to UTF-8 and comes back;
// every other cell of the rows that code page 932 takes from JIS X 0208 is
// unassigned there. Rows 13 and 89..92 hold the NEC and IBM extensions.
TEST(Utf8Convert, RoundTripOfEveryJis0208Character) {
  int characters = 0;
  for (int row = 1; row <= 94; ++row) {
    if (row == 13 || (row >= 89 && row <= 92)) continue;
    for (int cell = 1; cell <= 94; ++cell) {
      const TBytePair s = JisToSjis(std::uint8_t(row + 0x20), std::uint8_t(cell + 0x20));
      const std::string sjis{char(s.first), char(s.second)};
      const std::optional<std::string> utf8 = SjisToUtf8(sjis);
      ASSERT_TRUE(utf8);
      const bool assigned = test::IsJis0208Cell(row, cell);
      ASSERT_EQ(*utf8 != Hex("EF BF BD"), assigned) << row << "-" << cell << " " << ToHex(sjis);
      if (!assigned) continue;
      ++characters;
      ASSERT_TRUE(utf8->size() == 2 || utf8->size() == 3) << row << "-" << cell;
      ASSERT_EQ(Utf8ToSjis(*utf8), sjis) << row << "-" << cell << " " << ToHex(*utf8);
    }
  }
  EXPECT_EQ(characters, 6879);
}

}  // namespace
}  // namespace rd
