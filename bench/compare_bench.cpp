// CompareTexts on realistic texts of growing size and on adversarial shapes.
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
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

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
BENCHMARK(BM_JapaneseOptions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_JapaneseOptionsOnFoldingText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_JapaneseOptionsOnKanjiAndKana(benchmark::State& state) {
  const Text a = rd::bench::MakeText(1000000, 1);
  RunCompare(state, Japanese(a, kPlainParts), Japanese(rd::bench::EditText(a, 2), kPlainParts),
             JapaneseOptions(state.range(0) != 0));
}
BENCHMARK(BM_JapaneseOptionsOnKanjiAndKana)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

constexpr std::size_t kAdversarial = 200000;

void BM_Reversed(benchmark::State& state) {
  const Text a = rd::bench::MakeText(kAdversarial, 3);
  RunCompare(state, a, Text(a.rbegin(), a.rend()));
}
BENCHMARK(BM_Reversed)->Unit(benchmark::kMillisecond);

void BM_Shuffled(benchmark::State& state) {
  const Text a = rd::bench::MakeText(kAdversarial, 4);
  Text b = a;
  std::shuffle(b.begin(), b.end(), std::mt19937_64(5));
  RunCompare(state, a, b);
}
BENCHMARK(BM_Shuffled)->Unit(benchmark::kMillisecond);

void BM_EqualLines(benchmark::State& state) {
  RunCompare(state, Text(kAdversarial, "same line"), Text(kAdversarial + 1, "same line"));
}
BENCHMARK(BM_EqualLines)->Unit(benchmark::kMillisecond);

void BM_EverySecondChanged(benchmark::State& state) {
  const Text a = rd::bench::MakeText(kAdversarial, 6);
  Text b = a;
  for (std::size_t i = 1; i < b.size(); i += 2) b[i] += " // changed";
  RunCompare(state, a, b);
}
BENCHMARK(BM_EverySecondChanged)->Unit(benchmark::kMillisecond);

}  // namespace
