// CompareTexts on realistic texts of growing size and on adversarial shapes.
// Times are wall times: a comparison of long texts takes a second thread.
// Counters: ns per line (flat when the work is proportional to the lines)
// and the peak bytes per line the comparison allocates beyond the texts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <random>

#include "compare/comparison.h"
#include "compare/key_index.h"
#include "compare/line_key.h"
#include "compare/pairing.h"
#include "text_pair.h"

namespace {

std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};

}  // namespace

// Counts every allocation, plain and over-aligned, in a header before the
// block; the header is as large as the alignment so the block stays aligned.
namespace {

void* Counted(std::size_t n, std::size_t align) {
  void* p = std::aligned_alloc(align, (n + 2 * align - 1) / align * align);
  if (!p) throw std::bad_alloc();
  static_cast<std::size_t*>(p)[0] = n;
  static_cast<std::size_t*>(p)[1] = align;
  const std::size_t live = gLive += n;
  std::size_t peak = gPeak.load();
  while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {}
  return static_cast<char*>(p) + align;
}

void Uncounted(void* p, std::size_t align) noexcept {
  if (!p) return;
  char* base = static_cast<char*>(p) - align;
  gLive -= reinterpret_cast<std::size_t*>(base)[0];
  std::free(base);
}

}  // namespace

void* operator new(std::size_t n) { return Counted(n, 16); }
void* operator new(std::size_t n, std::align_val_t a) { return Counted(n, static_cast<std::size_t>(a)); }
void operator delete(void* p) noexcept { Uncounted(p, 16); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p, 16); }
void operator delete(void* p, std::align_val_t a) noexcept { Uncounted(p, static_cast<std::size_t>(a)); }
void operator delete(void* p, std::size_t, std::align_val_t a) noexcept { Uncounted(p, static_cast<std::size_t>(a)); }

namespace {

using rd::bench::Text;

rd::TLineList ToList(const Text& t) {
  rd::TLineList list;
  for (const auto& line : t) list.Add(line);
  return list;
}

void RunCompare(benchmark::State& state, const Text& a, const Text& b, rd::TCompareOptions options = {}) {
  const rd::TLineList la = ToList(a);
  const rd::TLineList lb = ToList(b);
  rd::TComparison cmp;
  options.TrimR = true;
  cmp.Options = options;
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t before = gLive.load();
    gPeak = before;
    benchmark::DoNotOptimize(cmp.CompareTexts(la, lb, false, "A", "B"));
    peak = std::max(peak, gPeak.load() - before);
  }
  const double lines = static_cast<double>(a.size() + b.size());
  state.counters["ns/line"] = benchmark::Counter(lines, benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
  state.counters["bytes/line"] = static_cast<double>(peak) / lines;
  state.counters["diffA"] = static_cast<double>(cmp.Diff(rd::Side::A).size());
  state.counters["diffB"] = static_cast<double>(cmp.Diff(rd::Side::B).size());
  state.SetComplexityN(static_cast<benchmark::IterationCount>(a.size()));
}

void BM_Realistic(benchmark::State& state) {
  const Text a = rd::bench::MakeText(static_cast<std::size_t>(state.range(0)), 1);
  const Text b = rd::bench::EditText(a, 2);
  RunCompare(state, a, b);
}
BENCHMARK(BM_Realistic)->Arg(250000)->Arg(500000)->Arg(1000000)->Arg(2000000)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity(benchmark::oN);

// The options for Japanese text at 1,000,000 lines: argument 0 without
// them, 1 with Width, ZSpace and AllSpace all on (their keys are folded in
// one pass over each line). The realistic texts, then the same lines with
// Japanese around them: parts that fold in every line, or kanji and kana
// that do not.
rd::TCompareOptions JapaneseOptions(bool on) {
  rd::TCompareOptions o;
  o.Width = o.ZSpace = o.AllSpace = on;
  return o;
}

void BM_JapaneseOptions(benchmark::State& state) {
  const Text a = rd::bench::MakeText(1000000, 1);
  RunCompare(state, a, rd::bench::EditText(a, 2), JapaneseOptions(state.range(0) != 0));
}
BENCHMARK(BM_JapaneseOptions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each line of `t` between two of three Japanese parts.
template <std::size_t N>
Text Japanese(const Text& t, const char* const (&kParts)[N]) {
  Text out;
  out.reserve(t.size());
  // The parts follow from the line itself, so that equal lines stay equal.
  for (const std::string& line : t) {
    const std::size_t h = std::hash<std::string>()(line);
    out.push_back(kParts[h % N] + line + kParts[(h / N) % N]);
  }
  return out;
}

// Every line with a part that folds: "　項目" (a full-width space, two
// kanji), "ﾃﾞｰﾀ" (half-width kana), "ＩＤ" (full-width letters).
const char* const kFoldingParts[] = {"\x81\x40\x8D\x80\x96\xDA", "\xC3\xDE\xB0\xC0", "\x82\x68\x82\x63"};
// Kanji and kana that fold to themselves: "項目", "設定", "データ", "の値を".
const char* const kPlainParts[] = {"\x8D\x80\x96\xDA", "\x90\xDD\x92\xE8", "\x83\x66\x81\x5B\x83\x5E",
                                   "\x82\xCC\x92\x6C\x82\xF0"};

void BM_JapaneseOptionsOnFoldingText(benchmark::State& state) {
  const Text a = rd::bench::MakeText(1000000, 1);
  RunCompare(state, Japanese(a, kFoldingParts), Japanese(rd::bench::EditText(a, 2), kFoldingParts),
             JapaneseOptions(state.range(0) != 0));
}
BENCHMARK(BM_JapaneseOptionsOnFoldingText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JapaneseOptionsOnKanjiAndKana(benchmark::State& state) {
  const Text a = rd::bench::MakeText(1000000, 1);
  RunCompare(state, Japanese(a, kPlainParts), Japanese(rd::bench::EditText(a, 2), kPlainParts),
             JapaneseOptions(state.range(0) != 0));
}
BENCHMARK(BM_JapaneseOptionsOnKanjiAndKana)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A Japanese document, with and without the options.
void BM_JapaneseOptionsOnDocument(benchmark::State& state) {
  const Text a = rd::bench::MakeText(1000000, 1, rd::bench::DocumentLine);
  RunCompare(state, a, rd::bench::EditText(a, 2, rd::bench::DocumentLine), JapaneseOptions(state.range(0) != 0));
}
BENCHMARK(BM_JapaneseOptionsOnDocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The key of each line of TextA and its hash, one thread, as TextA's table
// makes them: argument 0 the realistic text, 1 with parts that fold in
// every line, 2 with kanji and kana, each with Width, ZSpace and AllSpace
// on; 3 the realistic text without them (a view of the line); 4 a Japanese
// document with them.
void BM_LineKeys(benchmark::State& state) {
  const Text base = rd::bench::MakeText(1000000, 1);
  const Text t = state.range(0) == 1 ? Japanese(base, kFoldingParts)
                 : state.range(0) == 2 ? Japanese(base, kPlainParts)
                 : state.range(0) == 4 ? rd::bench::MakeText(1000000, 1, rd::bench::DocumentLine)
                                       : base;
  const rd::TLineList lines = ToList(t);
  rd::TCompareOptions options = JapaneseOptions(state.range(0) != 3);
  options.TrimR = true;
  rd::TTextKeys keys;
  keys.Prepare(lines, options);
  std::string scratch;
  std::uint64_t sum = 0;
  for (auto _ : state) {
    for (std::size_t i = 0; i < lines.Count(); ++i)
      if (const std::optional<std::string_view> key = keys.Key(i, scratch)) sum += rd::HashBytes(*key);
  }
  benchmark::DoNotOptimize(sum);
  state.counters["ns/line"] = benchmark::Counter(static_cast<double>(lines.Count()),
                                                 benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LineKeys)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

constexpr std::size_t kAdversarial = 200000;

void BM_Reversed(benchmark::State& state) {
  const Text a = rd::bench::MakeText(kAdversarial, 3);
  RunCompare(state, a, Text(a.rbegin(), a.rend()));
}
BENCHMARK(BM_Reversed)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Shuffled(benchmark::State& state) {
  const Text a = rd::bench::MakeText(kAdversarial, 4);
  Text b = a;
  std::shuffle(b.begin(), b.end(), std::mt19937_64(5));
  RunCompare(state, a, b);
}
BENCHMARK(BM_Shuffled)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EqualLines(benchmark::State& state) {
  RunCompare(state, Text(kAdversarial, "same line"), Text(kAdversarial + 1, "same line"));
}
BENCHMARK(BM_EqualLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EverySecondChanged(benchmark::State& state) {
  const Text a = rd::bench::MakeText(kAdversarial, 6);
  Text b = a;
  for (std::size_t i = 1; i < b.size(); i += 2) b[i] += " // changed";
  RunCompare(state, a, b);
}
BENCHMARK(BM_EverySecondChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// Shapes that move many lines at once, at growing sizes: every one must grow
// near-linearly (at most about 2.2x per doubling from 250,000 lines on).
// TextB is TextA reordered; its lines are unique, so every line is paired and
// the moved-lines step sees every crossing.
Text Unique(std::size_t n) {
  Text t;
  t.reserve(n);
  for (std::size_t i = 0; i < n; ++i) t.push_back("line " + std::to_string(i) + " of the text;");
  return t;
}

// The parts of TextA taken in turn, one line of each (parts of n / parts
// lines): a merge of sorted lists, a sort by an alternating key.
Text Interleaved(const Text& a, std::size_t parts) {
  const std::size_t len = a.size() / parts;
  Text b;
  b.reserve(a.size());
  for (std::size_t i = 0; i < len; ++i)
    for (std::size_t part = parts; part-- > 0;) b.push_back(a[part * len + i]);
  for (std::size_t i = parts * len; i < a.size(); ++i) b.push_back(a[i]);
  return b;
}

// Blocks of `block` lines, each pair of neighbouring blocks swapped.
Text BlockSwaps(const Text& a, std::size_t block) {
  Text b = a;
  for (std::size_t i = 0; i + 2 * block <= b.size(); i += 2 * block)
    std::rotate(b.begin() + i, b.begin() + i + block, b.begin() + i + 2 * block);
  return b;
}

enum Shape { kHalves, kQuarters, kSwapLarge, kSwapSmall, kRotation, kReversal };

void ShapeSizes(benchmark::internal::Benchmark* b) {
  b->Arg(250000)->Arg(500000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

void BM_MovedShapes(benchmark::State& state, Shape shape) {
  const Text a = Unique(static_cast<std::size_t>(state.range(0)));
  Text b;
  switch (shape) {
    case kHalves: b = Interleaved(a, 2); break;
    case kQuarters: b = Interleaved(a, 4); break;
    case kSwapLarge: b = BlockSwaps(a, a.size() / 8); break;
    case kSwapSmall: b = BlockSwaps(a, 100); break;
    case kRotation:
      b = a;
      std::rotate(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(b.size() / 3), b.end());
      break;
    case kReversal: b = Text(a.rbegin(), a.rend()); break;
  }
  RunCompare(state, a, b);
}
BENCHMARK_CAPTURE(BM_MovedShapes, halves, kHalves)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MovedShapes, quarters, kQuarters)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MovedShapes, swap_eighths, kSwapLarge)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MovedShapes, swap_100, kSwapSmall)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MovedShapes, rotation, kRotation)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MovedShapes, reversal, kReversal)->Apply(ShapeSizes);

// The moved-lines step alone, on tables in which every line is paired as
// the shape puts it: the cost of the step itself, without the key numbering
// that dominates a whole comparison.
std::vector<std::size_t> Permutation(Shape shape, std::size_t n) {
  Text a;
  a.reserve(n);
  for (std::size_t i = 0; i < n; ++i) a.push_back(std::to_string(i));
  Text b;
  switch (shape) {
    case kHalves: b = Interleaved(a, 2); break;
    case kQuarters: b = Interleaved(a, 4); break;
    case kSwapLarge: b = BlockSwaps(a, n / 8); break;
    case kSwapSmall: b = BlockSwaps(a, 100); break;
    case kRotation:
      b = a;
      std::rotate(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n / 3), b.end());
      break;
    case kReversal: b = Text(a.rbegin(), a.rend()); break;
  }
  std::vector<std::size_t> partner(n);  // B position -> A position
  for (std::size_t j = 0; j < n; ++j) partner[j] = std::stoul(b[j]);
  return partner;
}

void BM_MarkMovedStep(benchmark::State& state, Shape shape) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const std::vector<std::size_t> partner = Permutation(shape, n);
  rd::TLineTables prepared;
  for (std::size_t i = 0; i < n; ++i) {
    prepared.A().emplace_back(static_cast<std::int32_t>(i));
    prepared.B().emplace_back(static_cast<std::int32_t>(partner[i]));
  }
  for (std::size_t j = 0; j < n; ++j) {
    prepared.B()[j].partnerPosition = static_cast<std::int32_t>(partner[j]);
    prepared.A()[partner[j]].partnerPosition = static_cast<std::int32_t>(j);
  }
  for (auto _ : state) {
    state.PauseTiming();
    rd::TLineTables t;
    t.A() = prepared.A();
    t.B() = prepared.B();
    state.ResumeTiming();
    rd::MarkMoved(t);
    benchmark::DoNotOptimize(t.A().data());
  }
  state.counters["ns/line"] = benchmark::Counter(static_cast<double>(2 * n), benchmark::Counter::kIsIterationInvariantRate |
                                                                             benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_MarkMovedStep, halves, kHalves)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MarkMovedStep, quarters, kQuarters)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MarkMovedStep, swap_eighths, kSwapLarge)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MarkMovedStep, swap_100, kSwapSmall)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MarkMovedStep, rotation, kRotation)->Apply(ShapeSizes);
BENCHMARK_CAPTURE(BM_MarkMovedStep, reversal, kReversal)->Apply(ShapeSizes);

}  // namespace
