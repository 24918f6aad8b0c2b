// The spreadsheet export of 100,000 written rows, all lines and differences:
// the whole export into a real workbook file (constant-memory mode), and the
// same calls into a backend that does nothing, which shows what the
// automation layer itself costs. The growth of the peak resident size during
// the export is reported; export_memory.sh runs each case in a process of its
// own so that the peak belongs to that case alone.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/export_rows.h"
#include "export/sheet_export.h"
#include "export/workbook_automation.h"

namespace {

// Both texts of `lines` lines; every `every`-th line of TextB differs.
struct TTexts {
  rd::PerSide<std::vector<std::string>> lines;
  rd::PerSide<rd::TDiffList> diff;

  TTexts(int count, int every) {
    for (int i = 0; i < count; ++i) {
      std::string line = "line " + std::to_string(i) + " of a text that is compared, with some words after it";
      lines[0].push_back(line);
      if (every > 0 && i % every == every / 2) {
        line += " (changed)";
        for (rd::TDiffList& list : diff) list.push_back({i, i, rd::KindChanged, 0});
      }
      lines[1].push_back(line);
    }
  }
  rd::TExportInput Input(int addRow) const {
    rd::TExportInput input;
    for (const rd::Side side : {rd::Side::A, rd::Side::B}) {
      const auto& own = lines[rd::Index(side)];
      input.Lines[rd::Index(side)] = {own.size(), [&own](std::size_t i) { return std::string_view(own[i]); }};
      input.Diff[rd::Index(side)] = diff[rd::Index(side)];
    }
    input.Caption = {"a.txt", "b.txt"};
    input.AddRow = addRow;
    return input;
  }
};

long PeakRssKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Accepts every call and keeps nothing.
class TNullObject : public rd::IAutoObject {
 public:
  std::shared_ptr<rd::IAutoObject> Get(std::string_view, std::span<const rd::TAutoArg>) override {
    return std::make_shared<TNullObject>();
  }
  void Call(std::string_view, std::span<const rd::TAutoArg>) override {}
  void Put(std::string_view, const rd::TAutoArg& value) override { benchmark::DoNotOptimize(&value); }
};

class TNullAutomation : public rd::TAutomation {
 public:
  rd::TAuto GetApplication(std::string_view) override { return rd::TAuto(std::make_shared<TNullObject>()); }
  void Release() override {}
};

// Arguments: mode (0 all lines, 1 differences), workbook (1) or nothing (0),
// thousands of rows written. All lines: that many lines a side, every 10th
// changed (changed lines pair), one row each. Differences: twice as many
// lines, every 10th changed, two lines of context: 5 of every 10 rows are
// written, with a separator every fifth row.
void BM_Export(benchmark::State& state) {
  const bool differences = state.range(0) == 1;
  const bool workbook = state.range(1) == 1;
  const int rows = static_cast<int>(state.range(2)) * 1000;
  const TTexts texts(differences ? 2 * rows : rows, 10);
  const rd::TExportInput input = texts.Input(2);
  const std::string folder = (std::filesystem::temp_directory_path() / ("rd-export-bench-" + std::to_string(::getpid()))).string();
  const long before = PeakRssKb();
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    rd::TExportHooks hooks;
    std::string message;
    hooks.ShowMessage = [&message](const std::string& text) { message = text; };
    if (workbook) {
      rd::TWorkbookOptions options;
      options.Folder = folder;
      options.HasApplication = [] { return true; };
      rd::TWorkbookAutomation automation(options);
      rd::ExportToSheet(differences ? rd::TExportMode::Differences : rd::TExportMode::AllLines, input, automation, hooks);
      state.PauseTiming();
      bytes = std::filesystem::file_size(automation.Path());
      std::filesystem::remove(automation.Path());
      state.ResumeTiming();
    } else {
      TNullAutomation automation;
      rd::ExportToSheet(differences ? rd::TExportMode::Differences : rd::TExportMode::AllLines, input, automation, hooks);
    }
    if (message != "Excel転送終了") state.SkipWithError(message.c_str());
  }
  std::filesystem::remove_all(folder);
  state.counters["rows"] = rows;
  state.counters["peak_rss_growth_MB"] = static_cast<double>(PeakRssKb() - before) / 1024.0;
  state.counters["file_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Export)
    ->ArgNames({"diff", "workbook", "krows"})
    ->Args({0, 1, 100})
    ->Args({1, 1, 100})
    ->Args({0, 0, 100})
    ->Args({1, 0, 100})
    ->Args({0, 1, 400})
    ->Args({1, 1, 400})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The aligned rows alone, on 200,000 lines a side.
void BM_BuildExportRows(benchmark::State& state) {
  const TTexts texts(200'000, 10);
  const rd::TExportInput input = texts.Input(2);
  std::vector<rd::TExportRow> rows;
  for (auto _ : state) {
    int checkpoint = 0;
    rd::BuildExportRows(input, rows, checkpoint);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_BuildExportRows)->Unit(benchmark::kMillisecond);

}  // namespace
