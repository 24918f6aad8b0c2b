// The width and space options on pairs of lines: which pairs the engine
// counts as equal lines under each option and combination. Lines are
// written in UTF-8 here and compared as Shift_JIS.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "compare/comparison.h"
#include "compare/fold_chars.h"
#include "compare/line_key.h"
#include "literal_compare.h"
#include "textcode/utf8_convert.h"

namespace rd {
namespace {

std::string Sjis(const char* utf8) { return *Utf8ToSjis(utf8); }

// Option sets by the letters of their switches: W Width, Z ZSpace, S
// AllSpace, T Text, R TrimR, L TrimLR, B Blank. Unnamed switches are off.
TCompareOptions Opts(std::string_view letters) {
  TCompareOptions o;
  o.TrimR = o.Blank = o.TrimLR = o.Text = false;
  for (const char c : letters) {
    switch (c) {
      case 'W': o.Width = true; break;
      case 'Z': o.ZSpace = true; break;
      case 'S': o.AllSpace = true; break;
      case 'T': o.Text = true; break;
      case 'R': o.TrimR = true; break;
      case 'L': o.TrimLR = true; break;
      case 'B': o.Blank = true; break;
      default: ADD_FAILURE() << "no option " << c;
    }
  }
  return o;
}

struct PairCase {
  const char* a;
  const char* b;
  const char* options;
  bool equal;  // the two lines compare as the same line
};

// Each line stands between two anchor lines, so that a pair of lines that
// both take no part also counts as equal.
bool ComparedEqual(const PairCase& c) {
  TComparison cmp;
  cmp.Options = Opts(c.options);
  const TLineList a{"anchor 1", Sjis(c.a), "anchor 2"};
  const TLineList b{"anchor 1", Sjis(c.b), "anchor 2"};
  EXPECT_EQ(cmp.CompareTexts(a, b, false, "A", "B"), "");
  return cmp.Diff(Side::A).empty() && cmp.Diff(Side::B).empty();
}

const PairCase kCases[] = {
    // Width: letters, digits and symbols
    {"ＡＢＣ１２３", "ABC123", "W", true},
    {"ＡＢＣ１２３", "ABC123", "", false},
    {"ａｂｃ", "abc", "W", true},
    {"ａｂｃ", "ABC", "W", false},
    {"ａｂｃ", "ABC", "WT", true},
    {"ａｂｃ", "ＡＢＣ", "T", false},  // letter case alone leaves full-width letters as they are
    {"ａｂｃ", "ＡＢＣ", "WT", true},
    {"abc", "ABC", "T", true},
    {"＃define　Ｘ＿Ｙ", "#define　X_Y", "W", true},
    {"（１＋２）＊３＝９；", "(1+2)*3=9;", "W", true},
    {"［ａ］｛ｂ｝＜ｃ＞", "[a]{b}<c>", "W", true},
    {"＂ｑ＂＇ｓ＇", "\"q\"'s'", "W", true},
    {"￥１００", "\\100", "W", false},  // the yen sign is not a width form of the backslash
    {"＼１００", "\\100", "W", true},
    {"10～20", "10~20", "W", true},
    {"漢字かな", "漢字かな", "W", true},
    {"ひらがな", "ヒラガナ", "W", false},  // hiragana is not katakana
    // Width: half-width katakana, their marks joined
    {"ｶﾞｲﾄﾞ", "ガイド", "W", true},
    {"ｶﾞｲﾄﾞ", "ガイド", "", false},
    {"ｶﾞｲﾄﾞ", "カイト", "W", false},
    {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "パピプペポ", "W", true},
    {"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ", "バビブベボ", "W", true},
    {"ｳﾞｧｲｵﾘﾝ", "ヴァイオリン", "W", true},
    {"ｺﾝﾋﾟｭｰﾀｰ", "コンピューター", "W", true},
    {"｢ﾃｽﾄ｣､ｱ･ｲ｡", "「テスト」、ア・イ。", "W", true},
    {"ｱﾞ", "ア゛", "W", true},  // a mark without a voiced kana stays a mark
    {"ﾏﾟ", "マ゜", "W", true},
    {"ｶﾞ", "カ゛", "W", false},
    {"ﾀﾞｲ", "ダイ", "W", true},
    // ZSpace: the full-width space at the ends and on its own
    {"abc　", "abc", "ZR", true},
    {"abc　", "abc", "R", false},
    {"　abc　", "abc", "ZL", true},
    {"　abc", "abc", "ZR", false},
    {"　", "", "ZB", true},
    {"　", "", "B", false},
    {"　 \t　", "", "ZR", true},
    {"a　b", "a b", "Z", false},  // inside a line white space still counts as it is
    {"a　b", "a b", "ZR", false},
    // AllSpace: white space inside the line
    {"a b\tc", "abc", "S", true},
    {"int  x = 1;", "int x=1;", "S", true},
    {"a　b", "ab", "S", false},  // the full-width space only with ZSpace
    {"a　b", "ab", "SZ", true},
    {"a　b", "a\tb", "SZ", true},
    {" \t ", "", "S", true},  // both lines are empty keys
    {" \t ", "", "SB", true},
    {"ab", "a b c", "S", false},
    // combinations
    {"　ＡＢＣ　１２３　", "abc123", "WZST", true},
    {"　ＡＢＣ　１２３　", "abc123", "WZS", false},
    {"ﾃﾞｰﾀ　ﾍﾞｰｽ", "データベース", "WZS", true},
    {"ﾃﾞｰﾀ　ﾍﾞｰｽ", "データ ベース", "WZ", false},
    {"ﾃﾞｰﾀ ﾍﾞｰｽ　", "データ ベース", "WZR", true},
    {"Ｘ＝ｙ　", "x=Y", "WTZR", true},
};

TEST(JapaneseOptions, LinePairs) {
  for (const PairCase& c : kCases)
    EXPECT_EQ(ComparedEqual(c), c.equal) << c.a << " / " << c.b << " with " << c.options;
}

// The folded keys themselves, where the bytes of the key matter: the
// results show the lines as they are, but equal lines must have equal keys
// and the trimming must cut whole characters.
TEST(JapaneseOptions, KeysAreWholeCharacters) {
  const struct {
    const char* line;
    const char* options;
    const char* key;  // nullptr: the line takes no part
  } cases[] = {
      {"ＡＢＣ", "W", "ABC"},
      {"ｶﾞ", "W", "ガ"},
      {"ｶ", "W", "カ"},
      {"ﾞ", "W", "゛"},
      {"　ａ　", "ZL", "ａ"},
      {"　ａ　", "ZR", "　ａ"},
      {"ー　", "ZR", "ー"},  // 0x81 0x5B then 0x81 0x40
      {"　", "ZB", nullptr},
      {"　", "Z", "　"},
      {"a b　c", "SZ", "abc"},
      {"a b　c", "S", "ab　c"},
      {"Ｔｅｓｔ", "WT", "TEST"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> key = KeyOf(Sjis(c.line), Opts(c.options));
    if (!c.key) {
      EXPECT_FALSE(key) << c.line;
    } else {
      EXPECT_EQ(key, Sjis(c.key)) << c.line << " with " << c.options;
    }
  }
  // A lead byte without a valid trail byte is a byte of its own, and the
  // white space after it is trimmed.
  EXPECT_EQ(KeyOf("x\x81 ", Opts("ZR")), std::string("x\x81"));
  EXPECT_EQ(KeyOf("\x81\x40\x81", Opts("ZL")), std::string("\x81"));
}

// With all three options off, every key is the one the options of white
// space and case have always given.
TEST(JapaneseOptions, OffLeavesTheKeysAlone) {
  EXPECT_EQ(KeyOf(Sjis("　abc　 "), Opts("R")), Sjis("　abc　"));
  EXPECT_EQ(KeyOf(Sjis("ａbc"), Opts("T")), Sjis("ａBC"));
  EXPECT_EQ(KeyOf(Sjis("ｶﾞ"), Opts("")), Sjis("ｶﾞ"));
}

}  // namespace
}  // namespace rd

namespace rd {
namespace {

// Any set of options with at least one that folds keys; below(n) is a
// random number under n.
template <class TBelow>
TCompareOptions RandomFoldingOptions(TBelow& below) {
  TCompareOptions o;
  o.TrimLR = below(3) == 0;
  o.TrimR = below(2) == 0;
  o.Blank = below(2) == 0;
  o.Text = below(3) == 0;
  do {
    o.Width = below(2) == 0;
    o.ZSpace = below(2) == 0;
    o.AllSpace = below(2) == 0;
  } while (!FoldsKeys(o));
  return o;
}

// Each fold this processor runs: the one for any line, and the one for 64
// bytes at a time where it can. (A comparison uses the second for lines
// that do not start with ASCII, and the first for the others.)
std::vector<std::pair<const char*, TFoldKey>> FoldsFor(const TCompareOptions& o) {
  std::vector<std::pair<const char*, TFoldKey>> folds{{"CharFoldKeyFor", CharFoldKeyFor(o)}};
  if (const TFoldKey wide = WideFoldKeyFor(o)) folds.emplace_back("WideFoldKeyFor", wide);
  return folds;
}

// The folds whose key of `line` is not the literal one, each with both
// keys; empty when every fold gives the literal key.
std::string FoldsOffLiteral(const std::string& line, const TCompareOptions& o) {
  const std::optional<std::string> literal = testing::JapaneseKey(line, o);
  std::string off;
  for (const auto& [name, fold] : FoldsFor(o)) {
    const std::optional<std::string> key = FoldedKeyOf(fold, line, o);
    if (key != literal)
      off += std::string(name) + " gives " + ::testing::PrintToString(key) + ", not " +
             ::testing::PrintToString(literal) + "; ";
  }
  return off;
}

// Folded keys against the literal definition, on long random lines of
// bytes that matter: white space (NUL to blank), ASCII letters in both
// cases, lead bytes with trail bytes of every kind, lead bytes alone,
// half-width kana and their marks, and bytes that start no character.
TEST(JapaneseOptions, FoldedKeysOfRandomLinesAreTheLiteralOnes) {
  static const unsigned char kBytes[] = {0x00, 0x05, 0x09, 0x1C, 0x20, 'a', 'z', 'A', 'Q', '1', '#', '_', '~',
                                         0x80, 0x81, 0x82, 0x83, 0x8D, 0x9A, 0x9F, 0xA0, 0xA1, 0xB3, 0xB6, 0xCA,
                                         0xDE, 0xDF, 0xE0, 0xEE, 0xFA, 0xFC, 0xFD, 0xFF, 0x40, 0x4F, 0x5B, 0x60,
                                         0x7E, 0x94, 0x9B};
  std::mt19937 rng(8);
  const auto below = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int it = 0; it < 200000; ++it) {
    const TCompareOptions o = RandomFoldingOptions(below);
    std::string line;
    for (int n = below(40); n > 0; --n) line += static_cast<char>(kBytes[below(static_cast<int>(std::size(kBytes)))]);
    ASSERT_EQ(FoldsOffLiteral(line, o), "") << "iteration " << it;
  }
}

// The same on lines of runs as text has them, up to 200 bytes: ASCII words
// of up to 40 letters, blanks, kanji, hiragana, half-width kana with marks,
// full-width letters and "　", so that runs cross the blocks of sixteen bytes
// that the fold reads and end anywhere near the end of the line.
TEST(JapaneseOptions, FoldedKeysOfLinesOfRunsAreTheLiteralOnes) {
  static const char* const kPieces[] = {
      "\x8D\x80\x96\xDA",  // 項目
      "\x82\xCC\x92\x6C",  // の値
      "\xC3\xDE\xB0\xC0",  // ﾃﾞｰﾀ
      "\xCA\xDF\xB3\xDE\xB1\xDE",  // ﾊﾟｳﾞｱﾞ
      "\x82\x68\x82\x63\x82\x81",  // ＩＤａ
      "\x81\x40",  // "　"
      "\x81\x5B\x81\x42",  // ー。
      "\xFA\x56",  // the apostrophe among the extension characters
      "\x83",  // a lead byte, whatever follows
  };
  std::mt19937 rng(9);
  const auto below = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int it = 0; it < 100000; ++it) {
    const TCompareOptions o = RandomFoldingOptions(below);
    std::string line;
    while (line.size() < 200 && below(8) != 0) {
      const int kind = below(4);
      if (kind == 0) {
        for (int k = 1 + below(40); k > 0; --k) line += static_cast<char>(below(3) == 0 ? 'a' + below(26) : '!' + below(94));
      } else if (kind == 1) {
        for (int k = 1 + below(20); k > 0; --k) line += below(4) == 0 ? '\t' : ' ';
      } else {
        line += kPieces[below(static_cast<int>(std::size(kPieces)))];
      }
    }
    ASSERT_EQ(FoldsOffLiteral(line, o), "") << "iteration " << it << ": " << line;
  }
}

// Every pair of a byte of 0x80 or more and any byte after it, between runs
// of kanji (where the fold takes whole runs at once) and between ASCII
// words, under eight sets of the width, space, case and trimming options.
TEST(JapaneseOptions, EveryPairOfBytesFoldsAsTheLiteralKeyDoes) {
  const std::string kanji = "\x8D\x80\x96\xDA\x90\xDD";  // 項目設
  for (const char* letters : {"WSR", "ZSR", "WZSR", "WZR", "WTSR", "ZTL", "WZTSL", "SB"}) {
    const TCompareOptions o = Opts(letters);
    for (unsigned first = 0x80; first <= 0xFF; ++first) {
      for (unsigned second = 0; second <= 0xFF; ++second) {
        const std::string pair{static_cast<char>(first), static_cast<char>(second)};
        for (const std::string& line : {kanji + pair + kanji + kanji, "ab " + pair + " cd", pair}) {
          ASSERT_EQ(FoldsOffLiteral(line, o), "") << letters << " " << std::hex << first << " " << second;
        }
      }
    }
  }
}

}  // namespace
}  // namespace rd
