#include <gtest/gtest.h>

#include <set>
#include <string>

#include "views/line_info.h"

namespace rd {

void PrintTo(const TByteRange& r, std::ostream* os) { *os << "offset " << r.Offset << " length " << r.Length; }

namespace {

TEST(LinePanelText, KindAndPartner) {
  const struct {
    Side side;
    TDiffEntry entry;
    std::string text;
  } cases[] = {
      {Side::A, {5, 11, 2, 0}, "[TextA] 変更行です。TextB=12行"},
      {Side::B, {11, 5, 2, 0}, "[TextB] 変更行です。TextA=6行"},
      {Side::A, {7, 2, 3, 0}, "[TextA] 移動行です。TextB=3行"},
      {Side::B, {7, 9, 3, 0}, "[TextB] 移動行です。TextA=10行"},
      {Side::B, {3, 0, 1, 0}, "[TextB] 追加行です。"},
      {Side::A, {3, 0, 0, 0}, ""},
      {Side::A, {3, 0, 4, 0}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LinePanelText(c.side, c.entry), c.text);
}

TEST(LineInfoTracker, DescribesEachPaneRowOnce) {
  const PerSide<TDiffList> lists{TDiffList{{5, 11, 2, 0}, {6, 0, 1, 0}, {7, 2, 3, 0}},
                                 TDiffList{{2, 7, 3, 0}, {11, 5, 2, 0}}};
  const std::string changedA = "[TextA] 変更行です。TextB=12行";
  using S = TStripAction;
  const struct {
    const char* name;
    Side side;
    int row;
    int otherLines;
    bool strip;
    bool forgetFirst;
    std::optional<TLineInfo> info;  // nothing: the event changes nothing
  } steps[] = {
      {"a changed line", Side::A, 5, 20, false, false, TLineInfo{changedA, S::Untouched, {0, 0}}},
      {"the same row again", Side::A, 5, 20, false, false, std::nullopt},
      {"the same row number in the other pane is another line", Side::B, 5, 20, false, false,
       TLineInfo{"", S::Untouched, {0, 0}}},
      {"back in the first pane", Side::A, 5, 20, false, false, TLineInfo{changedA, S::Untouched, {0, 0}}},
      {"after forgetting, the row is described again", Side::A, 5, 20, true, true,
       TLineInfo{changedA, S::Pair, {5, 11}}},
      {"an added line empties the strip", Side::A, 6, 20, true, false,
       TLineInfo{"[TextA] 追加行です。", S::Clear, {0, 0}}},
      {"a moved line empties the strip", Side::A, 7, 20, true, false,
       TLineInfo{"[TextA] 移動行です。TextB=3行", S::Clear, {0, 0}}},
      {"TextB's changed line: TextA's partner above it", Side::B, 11, 20, true, false,
       TLineInfo{"[TextB] 変更行です。TextA=6行", S::Pair, {5, 11}}},
      {"a partner past the other text's end leaves the strip empty", Side::A, 5, 11, true, false,
       TLineInfo{changedA, S::Clear, {0, 0}}},
      {"no entry: empty panel and strip", Side::A, 0, 20, true, false, TLineInfo{"", S::Clear, {0, 0}}},
  };
  TLineInfoTracker tracker;
  for (const auto& s : steps) {
    if (s.forgetFirst) tracker.Forget();
    const auto info = tracker.CaretMoved(s.side, s.row, lists[Index(s.side)], s.otherLines, s.strip);
    ASSERT_EQ(info.has_value(), s.info.has_value()) << s.name;
    if (!info) continue;
    EXPECT_EQ(info->Panel, s.info->Panel) << s.name;
    EXPECT_EQ(info->Strip, s.info->Strip) << s.name;
    if (info->Strip == S::Pair) {
      EXPECT_EQ(info->PairRows, s.info->PairRows) << s.name;
    }
  }
}

TEST(FirstDifferingStretch, StopsAtEqualCharactersAndDelimiters) {
  const struct {
    const char* name;
    std::string a;
    std::string b;
    std::optional<TByteRange> stretch;
  } cases[] = {
      {"blanks after it are equal again", "abc def", "abX dXf", TByteRange{2, 1}},
      {"the next characters are equal", "a+bc", "a-bd", TByteRange{1, 1}},
      {"may begin with a delimiter", "price=100", "price:200", TByteRange{5, 2}},
      {"TextA's comma ends it", "x=1,y=2", "x=5;y=6", TByteRange{2, 1}},
      {"only TextA's character is tested", "a1b", "a2,", TByteRange{1, 2}},
      {"underscore is no delimiter", "a1_", "a2x", TByteRange{1, 2}},
      {"tab is no delimiter", "a1\t", "a2x", TByteRange{1, 2}},
      {"blank is one", "a1 ", "a2x", TByteRange{1, 1}},
      {"runs to the shorter end", "k1234", "k56", TByteRange{1, 2}},
      {"differs at the first character", "xyz", "abc", TByteRange{0, 3}},
      {"double-byte characters are one each", "\x82\xa0\x82\xa2\x82\xa4", "\x82\xa0\x82\xa9\x82\xa4",
       TByteRange{2, 2}},
      {"two double-byte characters", "\x82\xa0\x82\xa2\x82\xa4\x82\xa6", "\x82\xa0\x82\xa9\x82\xad\x82\xa6",
       TByteRange{2, 4}},
      {"a double-byte character against a byte", "\x8a\xbfx", "ab", TByteRange{0, 3}},
      {"a trail byte that looks like a backslash", "x1\x83\x5c", "x2b", TByteRange{1, 3}},
      {"a double-byte character after a single one", "a\x82\xa0" "b", "a\x82\xa2" "b", TByteRange{1, 2}},
      {"one line extends the other", "abc", "abcdef", std::nullopt},
      {"equal lines", "abc", "abc", std::nullopt},
      {"both empty", "", "", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FirstDifferingStretch(c.a, c.b), c.stretch) << c.name;
}

TEST(MakeStrip, SelectionOverTheWholeStrip) {
  const struct {
    std::string a;
    std::string b;
    std::int64_t start;
    std::int64_t length;
  } cases[] = {
      {"abc", "abcdef", 8, 3},  // in TextB's line: 3 bytes, the line break, 3 bytes
      {"abcdef", "abc", 3, 3},
      {"abc", "abc", 3, 0},
      {"", "xy", 2, 2},
      {"", "", 0, 0},
      {"price=100", "price:200", 5, 2},
      {"\x82\xa0", "\x82\xa0\x82\xa2", 6, 2},
  };
  for (const auto& c : cases) {
    const TStripContent strip = MakeStrip(c.a, c.b);
    EXPECT_EQ(strip.LineA, c.a);
    EXPECT_EQ(strip.LineB, c.b);
    EXPECT_EQ(strip.SelStart, c.start) << c.a << " / " << c.b;
    EXPECT_EQ(strip.SelLength, c.length) << c.a << " / " << c.b;
  }
}

TEST(IsStretchDelimiter, ExactlyTheThirtyTwo) {
  // blank , . / \ < > ? ; : ] + * } @ [ ` { ! " # $ % & ' ( ) = ~ | - ^
  const std::set<int> delimiters{0x20, 0x2C, 0x2E, 0x2F, 0x5C, 0x3C, 0x3E, 0x3F, 0x3B, 0x3A, 0x5D,
                                 0x2B, 0x2A, 0x7D, 0x40, 0x5B, 0x60, 0x7B, 0x21, 0x22, 0x23, 0x24,
                                 0x25, 0x26, 0x27, 0x28, 0x29, 0x3D, 0x7E, 0x7C, 0x2D, 0x5E};
  ASSERT_EQ(delimiters.size(), 32u);
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(IsStretchDelimiter(std::string_view(&c, 1)), delimiters.count(b) == 1) << b;
  }
  EXPECT_FALSE(IsStretchDelimiter(""));
  EXPECT_FALSE(IsStretchDelimiter("\x81\x40"));
  EXPECT_FALSE(IsStretchDelimiter("\x83\x5c"));
}

}  // namespace
}  // namespace rd
