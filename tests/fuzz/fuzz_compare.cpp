// CompareTexts on two fuzzed texts with fuzzed options, against the literal
// implementation of the comparison: the same message and the same
// difference lists, which are well formed; and the keys numbered on one
// thread and on two: the same numbers and counts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compare/comparison.h"
#include "compare/key_numbering.h"
#include "fuzz_check.h"
#include "literal_compare.h"

namespace {

using namespace rd;
using Text = std::vector<std::string>;

// Lines end at LF; a NUL byte (which no line read from a file holds) ends TextA.
Text Lines(std::string_view s) {
  Text t;
  while (!s.empty()) {
    const std::size_t lf = s.find('\n');
    t.emplace_back(s.substr(0, lf));
    if (lf == std::string_view::npos) break;
    s.remove_prefix(lf + 1);
  }
  return t;
}

TLineList ToList(const Text& t) {
  TLineList list;
  for (const std::string& line : t) list.Add(line);
  return list;
}

void ExpectWellFormed(const TComparison& cmp, std::size_t sizeA, std::size_t sizeB) {
  const PerSide<std::size_t> size = {sizeA, sizeB};
  for (const Side side : {Side::A, Side::B}) {
    const TDiffList& own = cmp.Diff(side);
    const TDiffList& other = cmp.Diff(Other(side));
    for (std::size_t i = 0; i < own.size(); ++i) {
      const TDiffEntry& e = own[i];
      RD_FUZZ_CHECK(e.line >= 0 && static_cast<std::size_t>(e.line) < size[Index(side)]);
      if (i > 0) RD_FUZZ_CHECK(own[i - 1].line < e.line);
      RD_FUZZ_CHECK(e.kind == KindAdded || e.kind == KindChanged || e.kind == KindMoved);
      if (e.kind != KindAdded) {
        const TDiffEntry* mate = FindEntry(e.partner, other);
        RD_FUZZ_CHECK(mate && mate->kind == e.kind && mate->partner == e.line);
      }
    }
  }
}

void ExpectSameNumbers(const TLineList& a, const TLineList& b, const TCompareOptions& options) {
  PerSide<TLineTables> t;
  for (const bool parallel : {false, true}) {
    TLineTables& own = t[parallel ? 1 : 0];
    TKeyNumbering numbering(a, b, options, own, parallel);
    numbering.BuildTableA();
    if (own.A().empty()) return;
    numbering.NumberA();
    numbering.BuildAndNumberB();
  }
  for (const Side side : {Side::A, Side::B}) {
    const TTable& one = t[0].table[Index(side)];
    const TTable& two = t[1].table[Index(side)];
    RD_FUZZ_CHECK(one.size() == two.size());
    for (std::size_t j = 0; j < one.size(); ++j)
      RD_FUZZ_CHECK(t[0].line[Index(side)][j] == t[1].line[Index(side)][j] && one[j].Key() == two[j].Key());
  }
  for (std::int32_t key = 0; key < static_cast<std::int32_t>(a.Count()); ++key)
    for (const Side side : {Side::A, Side::B}) RD_FUZZ_CHECK(t[0].count.Of(side, key) == t[1].count.Of(side, key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  TCompareOptions options;
  options.TrimLR = data[0] & 1;
  options.TrimR = data[0] & 2;
  options.Blank = data[0] & 4;
  options.Text = data[0] & 8;
  options.Width = data[0] & 16;
  options.ZSpace = data[0] & 32;
  options.AllSpace = data[0] & 64;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t nul = rest.find('\0');
  const Text a = Lines(rest.substr(0, nul));
  const Text b = nul == std::string_view::npos ? Text{} : Lines(rest.substr(nul + 1));
  // The literal implementation is quadratic in places: small texts only.
  if (a.size() > 400 || b.size() > 400) return 0;

  const TLineList listA = ToList(a);
  const TLineList listB = ToList(b);
  ExpectSameNumbers(listA, listB, options);
  TComparison cmp;
  cmp.Options = options;
  const std::string message = cmp.CompareTexts(listA, listB, false, "A", "B");
  const testing::LiteralResult expected = testing::LiteralCompare(a, b, options);
  if (expected.noData) {
    RD_FUZZ_CHECK(message == std::string("データがありません") + (expected.emptySide == Side::A ? "A" : "B"));
    RD_FUZZ_CHECK(cmp.Diff(Side::A).empty() && cmp.Diff(Side::B).empty());
    return 0;
  }
  RD_FUZZ_CHECK(message.empty());
  RD_FUZZ_CHECK(cmp.Diff(Side::A) == expected.diff[0]);
  RD_FUZZ_CHECK(cmp.Diff(Side::B) == expected.diff[1]);
  ExpectWellFormed(cmp, a.size(), b.size());
  return 0;
}
