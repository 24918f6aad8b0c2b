// The engine against the literal implementation on many random texts, with
// small vocabularies so that lines repeat, white space, letter case,
// double-byte characters and moved blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "compare/comparison.h"
#include "literal_compare.h"
#include "test_texts.h"

namespace rd {
namespace {

using testing::Text;
using testing::ToList;

class Generator {
 public:
  // A Japanese generator builds lines from pieces that differ only in
  // width, case or kind of white space, and also draws the options for them.
  explicit Generator(std::uint32_t seed, bool japanese = false, int pieces = 4)
      : rng_(seed), japanese_(japanese), pieces_(pieces) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string Line(int vocabulary) {
    if (japanese_) return JapaneseLine(vocabulary);
    static const char* const kOdd[] = {"", " ", "\t", "  x", "x ", "X", "x", "\x83\x62", "\x83\x42", "\x81\x40",
                                       "ab", "AB", "}", "\x82\x81", "a\x83\x62z", "A\x83\x62Z"};
    if (Below(4) == 0) return kOdd[Below(static_cast<int>(std::size(kOdd)))];
    std::string word = "w";
    word += std::to_string(Below(vocabulary));
    return word;
  }

  Text Random(int lines, int vocabulary) {
    Text t;
    for (int i = 0; i < lines; ++i) t.push_back(Line(vocabulary));
    return t;
  }

  // An edited copy: changes, insertions, deletions and moved blocks.
  Text Edit(Text t, int vocabulary) {
    const int edits = Below(6);
    for (int e = 0; e < edits; ++e) {
      const int n = static_cast<int>(t.size());
      switch (Below(5)) {
        case 0:
          if (n) t[Below(n)] = Line(vocabulary);
          break;
        case 1:
          t.insert(t.begin() + Below(n + 1), Line(vocabulary));
          break;
        case 2:
          if (n) t.erase(t.begin() + Below(n));
          break;
        case 3:
          if (n > 2) {  // move a block
            const int from = Below(n);
            const int len = 1 + Below(std::min(5, n - from));
            Text block(t.begin() + from, t.begin() + from + len);
            t.erase(t.begin() + from, t.begin() + from + len);
            const int to = Below(static_cast<int>(t.size()) + 1);
            t.insert(t.begin() + to, block.begin(), block.end());
          }
          break;
        default:
          if (n > 1) std::swap(t[Below(n)], t[Below(n)]);
      }
    }
    return t;
  }

  TCompareOptions Options() {
    return testing::RandomOptions([this](int n) { return Below(n); }, japanese_);
  }

 private:
  // One to four pieces: letters, digits and symbols in both widths and
  // cases, half-width kana with and without marks and their full-width
  // forms, a kanji, and every kind of white space.
  std::string JapaneseLine(int vocabulary) {
    static const char* const kPieces[] = {
        "A", "a", "\x82\x60", "\x82\x81",  // A a Ａ ａ
        "1", "\x82\x50", "#", "\x81\x94", "_", "\x81\x51", "~", "\x81\x60",  // 1 １ # ＃ _ ＿ ~ ～
        "\xB6", "\xB6\xDE", "\x83\x4A", "\x83\x4B", "\x81\x4A", "\xDE",  // ｶ ｶﾞ カ ガ ゛ ﾞ
        "\xCA\xDF", "\x83\x70", "\xCA", "\xDF", "\xB3\xDE", "\x83\x94",  // ﾊﾟ パ ﾊ ﾟ ｳﾞ ヴ
        "\xB0", "\x81\x5B", "\xA4", "\x81\x41", "\x8A\xBF",  // ｰ ー ､ 、 漢
        " ", " ", "\t", "\x81\x40", "\x81\x40", "",  // white space in both widths
    };
    if (Below(8) == 0) return "w" + std::to_string(Below(vocabulary));
    std::string line;
    for (int n = Below(pieces_) + 1; n > 0; --n) line += kPieces[Below(static_cast<int>(std::size(kPieces)))];
    return line;
  }

  std::mt19937 rng_;
  bool japanese_ = false;
  int pieces_ = 4;  // at most, in a Japanese line
};

void ExpectWellFormed(const TComparison& cmp, std::size_t sizeA, std::size_t sizeB) {
  const PerSide<std::size_t> size = {sizeA, sizeB};
  for (Side side : {Side::A, Side::B}) {
    const TDiffList& own = cmp.Diff(side);
    const TDiffList& other = cmp.Diff(Other(side));
    for (std::size_t i = 0; i < own.size(); ++i) {
      const TDiffEntry& e = own[i];
      ASSERT_GE(e.line, 0);
      ASSERT_LT(static_cast<std::size_t>(e.line), size[Index(side)]);
      if (i > 0) {
        ASSERT_LT(own[i - 1].line, e.line) << "ascending, no duplicates";
      }
      ASSERT_TRUE(e.kind == KindAdded || e.kind == KindChanged || e.kind == KindMoved);
      if (e.kind == KindAdded) {
        ASSERT_GE(e.partner, 0);
        ASSERT_LT(static_cast<std::size_t>(e.partner), std::max<std::size_t>(1, size[Index(Other(side))]));
      } else {
        const TDiffEntry* mate = FindEntry(e.partner, other);
        ASSERT_NE(mate, nullptr) << "a changed or moved line has its partner's entry";
        ASSERT_EQ(mate->kind, e.kind);
        ASSERT_EQ(mate->partner, e.line) << "pairs are mutual";
      }
    }
  }
}

void CompareWithLiteral(Generator& g, int iterations, int maxLines, int vocabulary, bool related) {
  for (int it = 0; it < iterations; ++it) {
    const Text a = g.Random(g.Below(maxLines + 1), vocabulary);
    const Text b = related ? g.Edit(a, vocabulary) : g.Random(g.Below(maxLines + 1), vocabulary);
    const TCompareOptions options = g.Options();
    TComparison cmp;
    cmp.Options = options;
    const std::string message = cmp.CompareTexts(ToList(a), ToList(b), false, "A", "B");
    const testing::LiteralResult expected = testing::LiteralCompare(a, b, options);
    if (expected.noData) {
      ASSERT_EQ(message, std::string("データがありません") + (expected.emptySide == Side::A ? "A" : "B"));
      ASSERT_TRUE(cmp.Diff(Side::A).empty());
      continue;
    }
    ASSERT_EQ(message, "");
    ASSERT_EQ(cmp.Diff(Side::A), expected.diff[0]) << "iteration " << it;
    ASSERT_EQ(cmp.Diff(Side::B), expected.diff[1]) << "iteration " << it;
    ExpectWellFormed(cmp, a.size(), b.size());
  }
}

TEST(RandomEquivalence, EditedCopiesWithTinyVocabulary) {
  Generator g(1);
  CompareWithLiteral(g, 6000, 30, 3, true);
}

TEST(RandomEquivalence, EditedCopiesWithLargerVocabulary) {
  Generator g(2);
  CompareWithLiteral(g, 4000, 80, 25, true);
}

TEST(RandomEquivalence, UnrelatedTexts) {
  Generator g(3);
  CompareWithLiteral(g, 4000, 25, 4, false);
}

TEST(RandomEquivalence, LongTextsWithManyRepeats) {
  Generator g(4);
  CompareWithLiteral(g, 300, 600, 40, true);
}

TEST(RandomEquivalence, JapaneseTextUnderTheWidthAndSpaceOptions) {
  Generator g(5, /*japanese=*/true);
  CompareWithLiteral(g, 4000, 30, 4, true);
}

// Long lines: runs of kanji and kana, of ASCII and of white space longer
// than the eight bytes that folding takes at a time.
TEST(RandomEquivalence, LongJapaneseLines) {
  Generator g(7, /*japanese=*/true, /*pieces=*/24);
  CompareWithLiteral(g, 1500, 30, 4, true);
}

TEST(RandomEquivalence, UnrelatedJapaneseTexts) {
  Generator g(6, /*japanese=*/true);
  CompareWithLiteral(g, 3000, 20, 3, false);
}

// Long texts that share few lines: TextB rarely follows TextA, so its keys
// are numbered in whole batches of lookups as well as one by one.
TEST(RandomEquivalence, LongUnrelatedTexts) {
  Generator g(5);
  CompareWithLiteral(g, 150, 500, 300, false);
}

}  // namespace
}  // namespace rd
