// The comparison views' work that does not paint: the map bar's strokes
// for a whole repaint, hiding and showing identical lines on texts of a
// million lines, and the differing characters of changed lines. Lists and texts are built outside the timed part.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "views/char_diff.h"
#include "views/hide_identical.h"
#include "views/map_bar_model.h"
#include "views/row_marks.h"

namespace {

constexpr int kMillion = 1'000'000;

// `entries` difference entries spread at random over `lines` lines, in
// runs of one to five lines of one kind, as real differences come.
rd::TDiffList SpreadEntries(int lines, int entries, unsigned seed) {
  std::mt19937 random(seed);
  rd::TDiffList list;
  list.reserve(static_cast<std::size_t>(entries));
  const int gap = std::max(lines / std::max(entries / 3, 1), 2);
  int line = 0;
  while (static_cast<int>(list.size()) < entries && line < lines) {
    line += 1 + static_cast<int>(random() % static_cast<unsigned>(gap));
    const int kind = 1 + static_cast<int>(random() % 3);
    for (int run = 1 + static_cast<int>(random() % 5); run > 0 && line < lines; --run, ++line) {
      list.push_back({line, line, kind, 0});
    }
  }
  return list;
}

// Both bars of the map for one repaint: arguments are entries per list and
// the map's height in pixels; the texts have a million lines each.
void BM_MapStrokes(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const rd::TDiffList a = SpreadEntries(kMillion, entries, 1);
  const rd::TDiffList b = SpreadEntries(kMillion, entries, 2);
  std::size_t runs = 0;
  for (auto _ : state) {
    const auto ra = rd::MapStrokes(a, height, kMillion);
    const auto rb = rd::MapStrokes(b, height, kMillion);
    runs = ra.size() + rb.size();
    benchmark::DoNotOptimize(ra.data());
    benchmark::DoNotOptimize(rb.data());
  }
  state.counters["entries"] = static_cast<double>(a.size() + b.size());
  state.counters["runs"] = static_cast<double>(runs);
}
BENCHMARK(BM_MapStrokes)
    ->Args({10'000, 1000})
    ->Args({10'000, 2000})
    ->Args({1'000'000, 1000})
    ->Unit(benchmark::kMicrosecond);

rd::TPaneLines Text(int lines, char tag) {
  rd::TPaneLines text;
  text.reserve(static_cast<std::size_t>(lines));
  for (int i = 0; i < lines; ++i) text.push_back(std::string(1, tag) + " line of some length, number " + std::to_string(i));
  return text;
}

// Hiding identical lines on two texts of a million lines, then showing them
// again; argument: entries per list. The texts are moved in and out, as the
// window hands over the panes' lines.
void BM_HideShow(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  rd::PerSide<rd::TPaneLines> texts{Text(kMillion, 'a'), Text(kMillion, 'b')};
  rd::TComparison comparison;
  comparison.MutableDiff(rd::Side::A) = SpreadEntries(kMillion, entries, 3);
  // TextB's entries pair with TextA's one to one, so partners resolve.
  rd::TDiffList& b = comparison.MutableDiff(rd::Side::B);
  b = comparison.Diff(rd::Side::A);
  rd::THiddenLines hidden;
  for (auto _ : state) {
    const auto reduced = hidden.Hide(comparison, {std::move(texts), {false, false}});
    benchmark::DoNotOptimize(reduced[0].data());
    rd::TPaneTexts back = hidden.Show(comparison);
    texts = std::move(back.Lines);
  }
  state.counters["entries"] = static_cast<double>(comparison.Diff(rd::Side::A).size());
}
BENCHMARK(BM_HideShow)->Arg(10'000)->Arg(kMillion)->Unit(benchmark::kMillisecond);

// The marks of one painted row holding tabs and full-width spaces.
void BM_RowMarks(benchmark::State& state) {
  std::string row;
  for (int i = 0; i < 10; ++i) row += "word\tvalue\x81\x40" "x";
  for (auto _ : state) benchmark::DoNotOptimize(rd::RowMarks(row, 4, {}));
}
BENCHMARK(BM_RowMarks);

// A row without marks is dismissed by the substring test.
void BM_RowMarksPlainRow(benchmark::State& state) {
  const std::string row(120, 'x');
  for (auto _ : state) benchmark::DoNotOptimize(rd::RowMarks(row, 4, {}));
}
BENCHMARK(BM_RowMarksPlainRow);

// The differing characters of one changed pair: a line of program text
// with three edits, a pair of 4,000-character lines that differ all over
// (the search gives up at 300 edits and takes prefix and suffix), and a
// line of 100,000 characters (prefix and suffix at once).
std::string RandomLine(std::size_t length, unsigned seed) {
  std::mt19937 random(seed);
  std::string line;
  for (std::size_t i = 0; i < length; ++i) line += static_cast<char>('a' + random() % 26);
  return line;
}

void BM_CharDiffProgramLine(benchmark::State& state) {
  const std::string a = "    total += price[i] * count; // the running sum of the order";
  const std::string b = "    total += prices[j] * amount; // the running sum of this order";
  for (auto _ : state) benchmark::DoNotOptimize(rd::CharDiff(a, b));
}
BENCHMARK(BM_CharDiffProgramLine);

void BM_CharDiffBounded(benchmark::State& state) {
  const std::string a = RandomLine(4000, 1), b = RandomLine(4000, 2);
  for (auto _ : state) benchmark::DoNotOptimize(rd::CharDiff(a, b));
}
BENCHMARK(BM_CharDiffBounded)->Unit(benchmark::kMicrosecond);

void BM_CharDiffHugeLine(benchmark::State& state) {
  const std::string a = RandomLine(100000, 3);
  std::string b = a;
  b[50000] = '#';
  for (auto _ : state) benchmark::DoNotOptimize(rd::CharDiff(a, b));
}
BENCHMARK(BM_CharDiffHugeLine)->Unit(benchmark::kMicrosecond);

}  // namespace
