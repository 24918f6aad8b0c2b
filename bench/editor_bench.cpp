// Editor text model on a 1,000,000-line, 22 MB Shift_JIS text: loading,
// memory per row, one-line edits and their undo in the middle, and a search
// through the whole text for a word that is not there.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "editor/editor_model.h"

namespace {

constexpr int kLines = 1000000;

// Lines of 20 bytes plus CR LF, mixing ASCII words, tabs and double-byte text.
const std::string& TestFile() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "rd_editor_bench.txt").string();
    std::ofstream out(p, std::ios::binary);
    char line[32];
    for (int i = 0; i < kLines; ++i) {
      if (i % 3 == 0) std::snprintf(line, sizeof line, "id%07d\tvalue %04d", i, i % 10000);
      else if (i % 3 == 1) std::snprintf(line, sizeof line, "\x82\xA0\x82\xA2\x8A\xBF\x8E\x9A %09d", i);
      else std::snprintf(line, sizeof line, "int x%07d = %05d;", i, i % 100000);
      out << std::string(line).substr(0, 20) << std::string(20 - std::min<std::size_t>(20, std::strlen(line)), ' ') << "\r\n";
    }
    return p;
  }();
  return path;
}

rd::TEditorModel& Loaded() {
  static rd::TEditorModel* model = [] {
    auto* m = new rd::TEditorModel;
    m->Lines().LoadFromFile(TestFile());
    return m;
  }();
  return *model;
}

void BM_LoadFromFile(benchmark::State& state) {
  const std::string& path = TestFile();
  const auto fileBytes = static_cast<double>(std::filesystem::file_size(path));
  double perRow = 0, heapPerRow = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
    auto m = std::make_unique<rd::TEditorModel>();
    m->Lines().LoadFromFile(path);
    const std::size_t after = mallinfo2().uordblks + mallinfo2().hblkhd;
    const int rows = m->Rows().Count();
    perRow = static_cast<double>(m->Rows().OverheadBytes()) / rows;
    // Heap growth beyond the file's bytes, per row.
    heapPerRow = (static_cast<double>(after - before) - fileBytes) / rows;
    benchmark::DoNotOptimize(rows);
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = kLines;
  state.counters["MB"] = fileBytes / 1e6;
  state.counters["bytes_per_row_items"] = perRow;
  state.counters["bytes_per_row_heap"] = heapPerRow;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileBytes));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PutMiddle(benchmark::State& state) {
  rd::TEditorModel& m = Loaded();
  int i = 0;
  for (auto _ : state) {
    m.Lines().Put(kLines / 2, (i++ & 1) ? "changed line one" : "changed line two, longer");
  }
  m.Rows().UndoObj().Clear();
}
BENCHMARK(BM_PutMiddle)->Unit(benchmark::kMicrosecond);

void BM_InsertDeleteMiddle(benchmark::State& state) {
  rd::TEditorModel& m = Loaded();
  for (auto _ : state) {
    m.Lines().Insert(kLines / 2, "inserted line");
    m.Lines().Delete(kLines / 2);
  }
  m.Rows().UndoObj().Clear();
}
BENCHMARK(BM_InsertDeleteMiddle)->Unit(benchmark::kMicrosecond);

void BM_UndoPutMiddle(benchmark::State& state) {
  rd::TEditorModel& m = Loaded();
  for (auto _ : state) {
    state.PauseTiming();
    m.Lines().Put(kLines / 2, "changed for undo");
    state.ResumeTiming();
    m.Undo();
  }
  m.Rows().UndoObj().Clear();
}
BENCHMARK(BM_UndoPutMiddle)->Unit(benchmark::kMicrosecond);

void BM_SearchMissing(benchmark::State& state) {
  rd::TEditorModel& m = Loaded();
  for (auto _ : state) {
    m.SetRowCol(0, 0);
    benchmark::DoNotOptimize(m.SearchText("notthere", rd::sfrDown));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(TestFile())));
}
BENCHMARK(BM_SearchMissing)->Unit(benchmark::kMillisecond);

}  // namespace
