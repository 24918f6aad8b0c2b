// The key numbers of both tables, on one thread and on two, against the
// rule they follow: a key of TextA is numbered by the position of its first
// entry there, a key found only in TextB by its first position in TextB
// counted after all lines of TextA.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "compare/comparison.h"
#include "compare/key_numbering.h"
#include "compare/line_key.h"
#include "test_texts.h"

namespace rd {
namespace {

using testing::Text;
using testing::ToList;

struct TExpected {
  PerSide<std::vector<std::int32_t>> line;  // per entry
  PerSide<std::vector<std::int32_t>> key;
  std::map<std::int32_t, PerSide<int>> count;  // keys of TextA, up to 2
};

TExpected Expected(const Text& a, const Text& b, const TCompareOptions& options) {
  TExpected e;
  std::map<std::string, std::int32_t> numberOf;
  const PerSide<const Text*> texts = {&a, &b};
  for (const Side side : {Side::A, Side::B}) {
    const std::int32_t base = side == Side::A ? 0 : static_cast<std::int32_t>(a.size());
    const Text& text = *texts[Index(side)];
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::optional<std::string> key = KeyOf(text[i], options);
      if (!key) continue;
      const auto position = static_cast<std::int32_t>(e.key[Index(side)].size());
      const std::int32_t number = numberOf.try_emplace(*key, base + position).first->second;
      e.line[Index(side)].push_back(static_cast<std::int32_t>(i));
      e.key[Index(side)].push_back(number);
      if (number < static_cast<std::int32_t>(a.size())) {
        int& n = e.count[number][Index(side)];
        n = std::min(n + 1, 2);
      }
    }
  }
  return e;
}

// Numbers the keys as a comparison does and checks every entry and count.
void ExpectNumbered(const Text& a, const Text& b, const TCompareOptions& options, bool parallel) {
  const TLineList listA = ToList(a);
  const TLineList listB = ToList(b);
  const TExpected expected = Expected(a, b, options);
  TLineTables t;
  TKeyNumbering numbering(listA, listB, options, t, parallel);
  numbering.BuildTableA();
  ASSERT_EQ(t.A().size(), expected.line[0].size());
  if (t.A().empty()) return;  // a comparison stops here
  numbering.NumberA();
  numbering.BuildAndNumberB();
  for (const Side side : {Side::A, Side::B}) {
    ASSERT_EQ(t.table[Index(side)].size(), expected.line[Index(side)].size());
    for (std::size_t j = 0; j < t.table[Index(side)].size(); ++j) {
      const TDataFile& entry = t.table[Index(side)][j];
      ASSERT_EQ(t.line[Index(side)][j], expected.line[Index(side)][j]) << (side == Side::A ? "A" : "B") << " entry " << j;
      ASSERT_EQ(entry.Key(), expected.key[Index(side)][j]) << (side == Side::A ? "A" : "B") << " entry " << j;
      ASSERT_EQ(entry.State(), TState::Same);
      ASSERT_FALSE(entry.Paired());
    }
  }
  for (const auto& [number, count] : expected.count) {
    ASSERT_EQ(t.count.Of(Side::A, number), count[0]) << "key " << number;
    ASSERT_EQ(t.count.Of(Side::B, number), count[1]) << "key " << number;
  }
}

class TTexts {
 public:
  explicit TTexts(std::uint32_t seed) : rng_(seed) {}
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string Line(int vocabulary) {
    static const char* const kOdd[] = {"", " ", "  x", "x ", "X", "\x82\x60", "\x82\x81", "\x81\x40", "}"};
    if (Below(5) == 0) return kOdd[Below(static_cast<int>(std::size(kOdd)))];
    return "line " + std::to_string(Below(vocabulary));
  }
  Text Random(int lines, int vocabulary) {
    Text t;
    for (int i = 0; i < lines; ++i) t.push_back(Line(vocabulary));
    return t;
  }
  // A copy with a share of its lines replaced, inserted and deleted, and
  // one block moved.
  Text Edit(Text t, int vocabulary, int percent) {
    const int edits = static_cast<int>(t.size()) * percent / 100;
    for (int e = 0; e < edits && !t.empty(); ++e) {
      const int at = Below(static_cast<int>(t.size()));
      switch (Below(3)) {
        case 0: t[at] = Line(vocabulary); break;
        case 1: t.insert(t.begin() + at, Line(vocabulary)); break;
        default: t.erase(t.begin() + at);
      }
    }
    if (t.size() > 10) std::rotate(t.begin(), t.begin() + Below(static_cast<int>(t.size())), t.end());
    return t;
  }
  TCompareOptions Options() {
    return testing::RandomOptions([this](int n) { return Below(n); }, true, 4);
  }

 private:
  std::mt19937 rng_;
};

// Similar texts, where TextB mostly follows TextA, and texts that share
// little, where most lines are looked up or found only in TextB; the second
// half of TextB on a thread of its own starts without its place in TextA.
TEST(KeyNumbering, OneAndTwoThreadsNumberAsTheRuleSays) {
  TTexts g(11);
  for (int it = 0; it < 400; ++it) {
    const int vocabulary = 1 + g.Below(it % 2 ? 40 : 4000);
    const Text a = g.Random(g.Below(3000), vocabulary);
    const Text b = g.Edit(a, vocabulary, it % 3 == 0 ? 60 : 2);
    const TCompareOptions options = g.Options();
    SCOPED_TRACE("iteration " + std::to_string(it));
    for (const bool parallel : {false, true}) ExpectNumbered(a, b, options, parallel);
  }
}

TEST(KeyNumbering, EdgeShapes) {
  TTexts g(12);
  const Text many = g.Random(5000, 100000);
  Text reversed = many;
  std::reverse(reversed.begin(), reversed.end());
  const Text same(4000, "same line");
  const Text blanks(300, " ");
  const Text shapes[][2] = {
      {many, many},          {many, reversed},       {same, same},        {same, many},
      {many, same},          {many, Text{"x"}},      {Text{"x"}, many},   {blanks, many},
      {many, blanks},        {g.Random(5000, 3), g.Random(5000, 3)},    {many, g.Random(5000, 100000)},
  };
  for (const auto& [a, b] : shapes)
    for (const bool parallel : {false, true}) ExpectNumbered(a, b, TCompareOptions(), parallel);
}

// Lines of TextB that do not follow TextA wait in a batch of 32 lookups.
// Thirty lines changed one by one, then two in a row, fill the batch as the
// place in TextA is lost; the lines after it must still find their numbers.
TEST(KeyNumbering, ABatchFilledAsThePlaceIsLost) {
  for (int isolated = 28; isolated <= 32; ++isolated) {
    Text a;
    for (int i = 0; i < 3000; ++i) a.push_back("line " + std::to_string(i));
    Text b = a;
    for (int k = 1; k <= isolated; ++k) b[static_cast<std::size_t>(10 * k)] = "changed " + std::to_string(k);
    b[1000] = "changed twice";
    b[1001] = "changed again";
    SCOPED_TRACE(std::to_string(isolated) + " lines changed one by one");
    for (const bool parallel : {false, true}) ExpectNumbered(a, b, TCompareOptions(), parallel);
  }
}

// Texts long enough for the comparison to take a second thread give the
// differences they would on one.
TEST(KeyNumbering, ALongPairIsComparedOnTwoThreads) {
  Text a;
  for (int i = 0; i < 70000; ++i) a.push_back(i % 10 == 0 ? "}" : "line " + std::to_string(i));
  Text b = a;
  b[1001] = "changed";
  b.insert(b.begin() + 50001, "new");
  b.erase(b.begin() + 60002);  // line 60001 of TextA
  TComparison cmp;
  ASSERT_EQ(cmp.CompareTexts(ToList(a), ToList(b), false, "A", "B"), "");
  EXPECT_EQ(cmp.Diff(Side::A), (TDiffList{{1001, 1001, KindChanged, 0}, {60001, 60001, KindAdded, 0}}));
  EXPECT_EQ(cmp.Diff(Side::B), (TDiffList{{1001, 1001, KindChanged, 0}, {50001, 50000, KindAdded, 0}}));
}

}  // namespace
}  // namespace rd
