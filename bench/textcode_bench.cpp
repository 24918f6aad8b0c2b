// Reading million-line files into line lists (22 MB of Shift_JIS, ASCII,
// EUC-JP or UTF-8) and converting lines, with files made in a temp folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "textcode/code_detect.h"
#include "textcode/jis_convert.h"
#include "textcode/load_lines.h"
#include "textcode/utf8_convert.h"

namespace rd {
namespace {

constexpr int kLines = 1000000;
constexpr std::size_t kFileBytes = 22000000;

// Shift_JIS text: kana, kanji and punctuation among ASCII words.
const char* const kJapanese[] = {"\x82\xA0", "\x82\xA2", "\x82\xA4", "\x83\x41", "\x83\x5C", "\x8A\xBF",
                                 "\x8E\x9A", "\x95\x5C", "\x93\xFA", "\x96\x7B", "\x81\x42", "\x81\x41"};
const char* const kAscii[] = {"int ", "x", " = ", "0;", "return", " ", "// ", "if (", "a", ")"};

enum class Mix { Ascii, Sjis };

// Lines of `perLine` bytes on average in the Shift_JIS form, CR LF ended.
std::vector<std::string> MakeSjisLines(Mix mix, std::size_t perLine) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> jp(0, std::size(kJapanese) - 1), as(0, std::size(kAscii) - 1), coin(0, 1);
  std::uniform_int_distribution<std::size_t> len(perLine / 2, perLine + perLine / 2);
  std::vector<std::string> lines(kLines);
  for (std::string& line : lines) {
    const std::size_t target = len(rng);
    while (line.size() < target) line += (mix == Mix::Sjis && coin(rng)) ? kJapanese[jp(rng)] : kAscii[as(rng)];
  }
  return lines;
}

class TFiles {
 public:
  TFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rd_textcode_bench_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
    // The line lengths put every file near kFileBytes with 1,000,000 lines.
    const auto ascii = MakeSjisLines(Mix::Ascii, kFileBytes / kLines - 2);
    Write("ascii.txt", ascii, [](const std::string& l) { return l; }, "\r\n");
    const auto sjis = MakeSjisLines(Mix::Sjis, kFileBytes / kLines - 2);
    Write("sjis.txt", sjis, [](const std::string& l) { return l; }, "\r\n");
    Write("euc.txt", sjis, [](const std::string& l) { return *SjisToEuc(l); }, "\n");
    // Kana and kanji take three bytes in UTF-8 instead of two.
    const auto forUtf8 = MakeSjisLines(Mix::Sjis, (kFileBytes / kLines - 1) * 4 / 5);
    Write("utf8.txt", forUtf8, [](const std::string& l) { return *SjisToUtf8(l); }, "\n");
    sjisLines_ = sjis;
  }
  ~TFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  const std::vector<std::string>& SjisLines() const { return sjisLines_; }

 private:
  template <class F>
  void Write(const char* name, const std::vector<std::string>& lines, F encode, const char* brk) {
    std::string all;
    for (const std::string& line : lines) all += encode(line) + brk;
    std::ofstream(Path(name), std::ios::binary) << all;
  }

  std::filesystem::path dir_;
  std::vector<std::string> sjisLines_;
};

const TFiles& Files() {
  static const TFiles files;
  return files;
}

void Load(benchmark::State& state, const char* name, TextCode code, TextCode expected) {
  const std::string path = Files().Path(name);
  const auto bytes = std::filesystem::file_size(path);
  for (auto _ : state) {
    TLineList list;
    const TextCode got = LoadLines(list, code, path);
    if (got != expected || list.Count() != kLines) state.SkipWithError("unexpected result");
    benchmark::DoNotOptimize(list);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_LoadSjisFixed(benchmark::State& s) { Load(s, "sjis.txt", TextCode::Sjis, TextCode::Sjis); }
void BM_LoadSjisAuto(benchmark::State& s) { Load(s, "sjis.txt", TextCode::Auto, TextCode::Sjis); }
// Pure ASCII: the Japanese scan walks all 22 MB without a decision.
void BM_LoadAsciiAuto(benchmark::State& s) { Load(s, "ascii.txt", TextCode::Auto, TextCode::Sjis); }
void BM_LoadEucAuto(benchmark::State& s) { Load(s, "euc.txt", TextCode::Auto, TextCode::Euc); }
void BM_LoadUtf8Auto(benchmark::State& s) { Load(s, "utf8.txt", TextCode::Auto, TextCode::Utf8); }

// Saving converts line by line, one string per line.
void BM_SjisToUtf8Lines(benchmark::State& state) {
  const auto& lines = Files().SjisLines();
  std::size_t bytes = 0;
  for (const std::string& l : lines) bytes += l.size();
  for (auto _ : state)
    for (const std::string& l : lines) benchmark::DoNotOptimize(SjisToUtf8(l));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_SjisToEucLines(benchmark::State& state) {
  const auto& lines = Files().SjisLines();
  std::size_t bytes = 0;
  for (const std::string& l : lines) bytes += l.size();
  for (auto _ : state)
    for (const std::string& l : lines) benchmark::DoNotOptimize(SjisToEuc(l));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

BENCHMARK(BM_LoadSjisFixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSjisAuto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAsciiAuto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadEucAuto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadUtf8Auto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToUtf8Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SjisToEucLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rd
