// Shift_JIS <-> JIS arithmetic and the EUC-JP line conversions, against code
// chart values written out here.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "textcode/jis_convert.h"
#include "textcode/hex.h"

namespace rd {
namespace {

using test::Hex;
using test::ToHex;

TEST(JisToSjis, CodeChartCharacters) {
  const struct {
    std::uint8_t j1, j2, s1, s2;
    const char* what;
  } table[] = {
      {0x21, 0x21, 0x81, 0x40, "ideographic space"},
      {0x21, 0x5F, 0x81, 0x7E, "multiplication sign, last below 7F"},
      {0x21, 0x60, 0x81, 0x80, "division sign, first above 7F"},
      {0x24, 0x22, 0x82, 0xA0, "hiragana a"},
      {0x25, 0x3D, 0x83, 0x5C, "katakana so, trail byte 5C"},
      {0x30, 0x21, 0x88, 0x9F, "first level-1 kanji"},
      {0x34, 0x41, 0x8A, 0xBF, "kanji kan"},
      {0x49, 0x3D, 0x95, 0x5C, "kanji hyou, trail byte 5C"},
      {0x4F, 0x53, 0x98, 0x72, "last level-1 kanji"},
      {0x50, 0x21, 0x98, 0x9F, "first level-2 kanji"},
      {0x5E, 0x7E, 0x9F, 0xFC, "last cell below lead E0"},
      {0x5F, 0x21, 0xE0, 0x40, "first cell of lead E0"},
      {0x74, 0x26, 0xEA, 0xA4, "last JIS X 0208 character"},
      {0x7E, 0x7E, 0xEF, 0xFC, "last cell of the grid"},
  };
  for (const auto& row : table) {
    EXPECT_EQ(JisToSjis(row.j1, row.j2), (TBytePair{row.s1, row.s2})) << row.what;
    EXPECT_EQ(SjisToJis(row.s1, row.s2), (TBytePair{row.j1, row.j2})) << row.what;
  }
}

// 94 x 94 cells land on the 47 lead bytes x 188 trail bytes of the grid, each
// once, so this is also the inverse in the other direction.
TEST(JisToSjis, InverseOverTheWholeGrid) {
  for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
    for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
      const TBytePair s = JisToSjis(std::uint8_t(j1), std::uint8_t(j2));
      ASSERT_TRUE((0x81 <= s.first && s.first <= 0x9F) || (0xE0 <= s.first && s.first <= 0xEF)) << j1 << "," << j2;
      ASSERT_TRUE(0x40 <= s.second && s.second <= 0xFC && s.second != 0x7F) << j1 << "," << j2;
      ASSERT_EQ(SjisToJis(s.first, s.second), (TBytePair{std::uint8_t(j1), std::uint8_t(j2)})) << j1 << "," << j2;
    }
  }
}

TEST(SjisToJis, FailsWhereNoRowOrCellResults) {
  EXPECT_FALSE(SjisToJis(0xA0, 0x40));
  EXPECT_FALSE(SjisToJis(0xAF, 0xFC));
  EXPECT_FALSE(SjisToJis(0x6F, 0x40));
  EXPECT_FALSE(SjisToJis(0x81, 0x1E));
  EXPECT_EQ(SjisToJis(0x81, 0x1F), (TBytePair{0x21, 0x00}));
  EXPECT_EQ(SjisToJis(0x70, 0x9F), (TBytePair{0x00, 0x21}));
  EXPECT_TRUE(SjisToJis(0xB0, 0x40));
}

struct LineCase {
  const char* in;
  std::optional<const char*> out;  // nothing: the conversion fails
};

TEST(EucToSjis, Lines) {
  const LineCase table[] = {
      {"", ""},
      {"A4 A2", "82 A0"},
      {"8E B1", "B1"},
      {"41", "41"},
      {"41 A4 A2 8E B1 B4 C1 42", "41 82 A0 B1 8A BF 42"},
      {"80 FF 7F", "80 FF 7F"},
      {"F4 A6", "EA A4"},
      // JIS X 0212 is not told apart: 8F A2 and B7 41 are taken as pairs.
      {"8F A2 B7 41", "78 41 8C 60"},
      {"A4", std::nullopt},
      {"41 8E", std::nullopt},
      {"A4 A2 B4", std::nullopt},
      {"8F A2 B7", std::nullopt},
  };
  for (const LineCase& row : table) {
    const std::optional<std::string> got = EucToSjis(Hex(row.in));
    if (!row.out) {
      EXPECT_FALSE(got) << row.in;
    } else {
      ASSERT_TRUE(got) << row.in;
      EXPECT_EQ(ToHex(*got), *row.out) << row.in;
    }
  }
}

TEST(SjisToEuc, Lines) {
  const LineCase table[] = {
      {"", ""},
      {"82 A0", "A4 A2"},
      {"B1", "8E B1"},
      {"41", "41"},
      {"41 82 A0 B1 8A BF 42", "41 A4 A2 8E B1 B4 C1 42"},
      {"81 40 EA A4", "A1 A1 F4 A6"},
      {"82", std::nullopt},
      {"41 82", std::nullopt},
      {"A0 40", std::nullopt},
      {"81 1E", std::nullopt},
      {"82 A0 A0 A1", std::nullopt},
  };
  for (const LineCase& row : table) {
    const std::optional<std::string> got = SjisToEuc(Hex(row.in));
    if (!row.out) {
      EXPECT_FALSE(got) << row.in;
    } else {
      ASSERT_TRUE(got) << row.in;
      EXPECT_EQ(ToHex(*got), *row.out) << row.in;
    }
  }
}

TEST(EucToSjis, RoundTripOfEveryCellAndHalfWidthKatakana) {
  std::string euc;
  for (int r = 0xA1; r <= 0xFE; ++r)
    for (int c = 0xA1; c <= 0xFE; ++c) {
      euc.push_back(static_cast<char>(r));
      euc.push_back(static_cast<char>(c));
    }
  for (int k = 0xA1; k <= 0xDF; ++k) {
    euc.push_back(static_cast<char>(0x8E));
    euc.push_back(static_cast<char>(k));
  }
  const std::optional<std::string> sjis = EucToSjis(euc);
  ASSERT_TRUE(sjis);
  EXPECT_EQ(sjis->size(), 94u * 94u * 2u + 63u);
  EXPECT_EQ(SjisToEuc(*sjis), euc);
}

}  // namespace
}  // namespace rd
