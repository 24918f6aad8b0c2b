// The differing stretches of changed lines, as byte ranges worked out by
// hand, their display columns, and the cache that keeps them.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "textcode/utf8_convert.h"
#include "views/char_diff.h"

namespace rd {

void PrintTo(const TCharStretch& s, std::ostream* os) { *os << "[" << s.Begin << ", " << s.End << ")"; }

namespace {

std::string Sjis(const char* utf8) { return *Utf8ToSjis(utf8); }

using S = TCharStretches;

TEST(CharDiff, StretchesOfExamplePairs) {
  const struct {
    const char* name;
    std::string a, b;
    S wantA, wantB;
  } cases[] = {
      // " d" between two changes is two characters: the changes join.
      {"short_run_joins", "abc def", "abX dXf", {{2, 6}}, {{2, 6}}},
      {"one_stretch", "price=100", "price:200", {{5, 7}}, {{5, 7}}},
      {"long_run_stays", "alpha beta gamma", "alphX beta gammY", {{4, 5}, {15, 16}}, {{4, 5}, {15, 16}}},
      {"white_run_joins", "a1   2b", "a3   4b", {{1, 6}}, {{1, 6}}},
      {"insertion_only", "abc", "abXc", {}, {{2, 3}}},
      {"deletion_only", "abXYc", "abc", {{2, 4}}, {}},
      {"from_empty", "", "abc", {}, {{0, 3}}},
      {"identical", "same", "same", {}, {}},
      {"whole_line", "abc", "xyz", {{0, 3}}, {{0, 3}}},
      // A double-byte character is one character: 今日は / です are whole.
      {"kanji_kana", Sjis("今日は晴れです"), Sjis("今日は雨です"), {{6, 10}}, {{6, 8}}},
      {"two_kanji_join", Sjis("東京都新宿区"), Sjis("東京府新宿町"), {{4, 12}}, {{4, 12}}},
      {"four_kanji_stay", Sjis("東京都新宿御苑区"), Sjis("東京府新宿御苑町"), {{4, 6}, {14, 16}}, {{4, 6}, {14, 16}}},
      {"half_width_kana", Sjis("ｶﾞｲﾄﾞ"), Sjis("ｶﾞｲﾀﾞ"), {{3, 4}}, {{3, 4}}},
      // ア and イ share their lead byte: still no common prefix of half a character.
      {"shared_lead_byte", Sjis("アB"), Sjis("イB"), {{0, 2}}, {{0, 2}}},
      // The full-width space is white space for the clean-up too.
      {"wide_space_run", Sjis("x1　　2y"), Sjis("x3　　4y"), {{1, 7}}, {{1, 7}}},
  };
  for (const auto& c : cases) {
    const PerSide<TCharStretches> got = CharDiff(c.a, c.b);
    EXPECT_EQ(got[0], c.wantA) << c.name;
    EXPECT_EQ(got[1], c.wantB) << c.name;
  }
}

// Under the comparison's width, case and space options the characters
// compare as the keys do: what the comparison ignores is not marked.
TEST(CharDiff, StretchesUnderTheOptions) {
  TCompareOptions width, text, allSpace, wideSpaces;
  width.Width = true;
  text.Text = true;
  allSpace.AllSpace = true;
  wideSpaces.AllSpace = wideSpaces.ZSpace = true;
  const struct {
    const char* name;
    std::string a, b;
    const TCompareOptions& options;
    S wantA, wantB;
  } cases[] = {
      // ｶﾞｲﾄﾞﾗｲﾝ is 8 bytes, ガイドライン 12; only 従 and 沿 differ.
      {"half_width_kana", Sjis("ｶﾞｲﾄﾞﾗｲﾝに従う"), Sjis("ガイドラインに沿う"), width, {{10, 12}}, {{14, 16}}},
      {"full_width_letters", Sjis("ＡＢＣ１２３"), Sjis("ABC124"), width, {{10, 12}}, {{5, 6}}},
      {"width_counts_without_the_option", Sjis("ＡＢ"), Sjis("AB"), {}, {{0, 4}}, {{0, 2}}},
      {"case", "Total = 1", "total = 2", text, {{8, 9}}, {{8, 9}}},
      {"white_space", "x = 1 + y", "x=1+z", allSpace, {{8, 9}}, {{4, 5}}},
      {"wide_space", Sjis("a　b　c"), Sjis("a b d"), wideSpaces, {{6, 7}}, {{4, 5}}},
      {"wide_space_without_zspace", Sjis("a　b"), Sjis("a b"), allSpace, {{1, 3}}, {}},
  };
  for (const auto& c : cases) {
    const PerSide<TCharStretches> got = CharDiff(c.a, c.b, c.options);
    EXPECT_EQ(got[0], c.wantA) << c.name;
    EXPECT_EQ(got[1], c.wantB) << c.name;
  }
}

// Past the bounds, everything between the common prefix and suffix is one stretch.
TEST(CharDiff, BoundsFallBackToPrefixAndSuffix) {
  const std::string dots = "a....b....c....d....e....f";
  const std::string upper = "A....B....C....D....E....F";
  const S six{{0, 1}, {5, 6}, {10, 11}, {15, 16}, {20, 21}, {25, 26}};
  EXPECT_EQ(CharDiff(dots, upper)[0], six);
  EXPECT_EQ(CharDiff(dots, upper, {}, {4000, 11})[0], (S{{0, 26}})) << "12 edits needed, 11 allowed";
  EXPECT_EQ(CharDiff(dots, upper, {}, {4000, 12})[0], six);
  EXPECT_EQ(CharDiff(dots, upper, {}, {25, 300})[1], (S{{0, 26}})) << "longer than the character bound";

  // A line of 100,000 characters with two changes far apart.
  std::string a(100000, 'a');
  std::string b = a;
  b[10] = 'b';
  b[99990] = 'b';
  const PerSide<TCharStretches> far = CharDiff(a, b);
  EXPECT_EQ(far[0], (S{{10, 99991}}));
  EXPECT_EQ(far[1], (S{{10, 99991}}));
  // One change in the middle of it is exact all the same.
  std::string c = a;
  c[50000] = Sjis("漢")[0];  // a lone lead byte followed by 'a' makes one character of two bytes
  EXPECT_EQ(CharDiff(a, c)[1], (S{{50000, 50002}}));
  EXPECT_EQ(CharDiff(a, c)[0], (S{{50000, 50002}}));
}

// Whatever the alignment, the characters left outside the stretches are
// the same on both sides and in the same order, and stretches cut no
// double-byte character. Random lines of a few characters in both widths.
TEST(CharDiff, UnmarkedCharactersAgreeOnRandomLines) {
  const std::string pieces[] = {"a", "b", " ", "x", Sjis("漢"), Sjis("字"), Sjis("　"), Sjis("ｶ")};
  std::mt19937 rng(7);
  const auto line = [&] {
    std::string s;
    for (int n = static_cast<int>(rng() % 30); n > 0; --n) s += pieces[rng() % std::size(pieces)];
    return s;
  };
  const auto outside = [](const std::string& s, const TCharStretches& stretches) {
    std::string kept;
    std::size_t from = 0;
    for (const TCharStretch& st : stretches) {
      kept += s.substr(from, static_cast<std::size_t>(st.Begin) - from);
      from = static_cast<std::size_t>(st.End);
    }
    return kept + s.substr(from);
  };
  const auto boundaries = [](const std::string& s) {  // every piece above is one character
    std::set<int> starts;
    for (std::size_t i = 0; i <= s.size(); ++i) {
      starts.insert(static_cast<int>(i));
      const unsigned c = i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
      if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ++i;
    }
    return starts;
  };
  for (int it = 0; it < 3000; ++it) {
    const std::string a = line();
    const std::string b = line();
    const PerSide<TCharStretches> got = CharDiff(a, b);
    ASSERT_EQ(outside(a, got[0]), outside(b, got[1])) << a << " / " << b;
    for (const auto& [s, st] : {std::pair{a, got[0]}, std::pair{b, got[1]}}) {
      const std::set<int> starts = boundaries(s);
      for (const TCharStretch& x : st) {
        ASSERT_LT(x.Begin, x.End);
        ASSERT_TRUE(starts.count(x.Begin) && starts.count(x.End)) << s;
      }
    }
    if (a == b) {
      ASSERT_TRUE(got[0].empty() && got[1].empty());
    }
  }
}

TEST(CharDiff, ColumnsOfStretches) {
  const std::string line = "\tab" + Sjis("漢字");  // tab 0, a 1, b 2, 漢 3-4, 字 5-6
  EXPECT_EQ(StretchColumns(line, {{1, 2}, {3, 7}}, 4), (std::vector<TCharStretch>{{4, 5}, {6, 10}}));
  EXPECT_EQ(StretchColumns(line, {{0, 1}}, 8), (std::vector<TCharStretch>{{0, 8}}));
  // The editor draws 1,000 columns; nothing past them is walked.
  const std::string wide(1200, 'x');
  EXPECT_EQ(StretchColumns(wide, {{500, 1100}, {1100, 1200}}, 4), (std::vector<TCharStretch>{{500, 1000}}));
}

TEST(CharDiffCache, ComputesEachPairOnceUntilCleared) {
  TCharDiffCache cache;
  int asked = 0;
  const auto partnerB = [&] {
    ++asked;
    return std::string("price:200");
  };
  const auto partnerA = [&] {
    ++asked;
    return std::string("price=100");
  };
  EXPECT_EQ(cache.Stretches(Side::A, 3, 7, "price=100", partnerB, {}), (S{{5, 7}}));
  EXPECT_EQ(cache.Stretches(Side::A, 3, 7, "price=100", partnerB, {}), (S{{5, 7}}));
  EXPECT_EQ(cache.Stretches(Side::B, 7, 3, "price:200", partnerA, {}), (S{{5, 7}}));
  EXPECT_EQ(asked, 1) << "the partner's stretches came with the first pair";
  EXPECT_EQ(cache.Size(), 2u);
  cache.Clear();
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_EQ(cache.Stretches(Side::B, 7, 3, "price:200", [] { return std::string("price=1000"); }, {}), (S{{5, 7}}));
  EXPECT_EQ(cache.Stretches(Side::A, 3, 7, "ignored", partnerB, {}), (S{{5, 8}})) << "kept with B's pair: =10";
}

}  // namespace
}  // namespace rd
