// The export's aligned rows for the comparison of two fuzzed texts.
// Properties: every line of each text stands in exactly one row, in order;
// there are never more rows than lines; a row's kind is one the sheet knows;
// the context marking of the difference mode changes only unchanged rows.
#include <cstdint>
#include <string_view>
#include <vector>

#include "compare/comparison.h"
#include "export/export_rows.h"
#include "fuzz_check.h"
#include "textcode/line_list.h"

namespace {

rd::TLineList Lines(std::string_view text) {
  rd::TLineList lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\n') {
      if (i > start || i < text.size()) lines.Add(text.substr(start, i - start));
      start = i + 1;
    }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rd;
  if (size < 2) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t cut = bytes.empty() ? 0 : data[0] % (bytes.size() + 1);
  const TLineList a = Lines(bytes.substr(0, cut));
  const TLineList b = Lines(bytes.substr(cut));
  TComparison comparison;
  comparison.Options.Blank = data[1] & 1;
  comparison.Options.TrimR = data[1] & 2;
  comparison.Options.Text = data[1] & 4;
  if (!comparison.CompareTexts(a, b, false, "TextA", "TextB").empty()) return 0;

  TExportInput input;
  const TLineList* texts[2] = {&a, &b};
  for (std::size_t s = 0; s < 2; ++s) {
    const TLineList* t = texts[s];
    input.Lines[s] = {t->Count(), [t](std::size_t i) { return (*t)[i]; }};
    input.Diff[s] = comparison.Diff(s == 0 ? Side::A : Side::B);
  }
  std::vector<TExportRow> rows;
  int checkpoint = 0;
  BuildExportRows(input, rows, checkpoint);
  RD_FUZZ_CHECK(rows.size() <= a.Count() + b.Count());
  std::int64_t nextA = 0, nextB = 0;
  for (const TExportRow& row : rows) {
    RD_FUZZ_CHECK(row.rowKind <= 3);
    if (row.lineA >= 0) RD_FUZZ_CHECK(row.lineA == nextA++);
    if (row.lineB >= 0) RD_FUZZ_CHECK(row.lineB == nextB++);
    RD_FUZZ_CHECK(row.lineA >= 0 || row.lineB >= 0);
  }
  RD_FUZZ_CHECK(nextA == static_cast<std::int64_t>(a.Count()) && nextB == static_cast<std::int64_t>(b.Count()));

  std::vector<TExportRow> marked = rows;
  MarkAllContextRows(marked, data[1] >> 3);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (marked[i].rowKind == rows[i].rowKind) continue;
    RD_FUZZ_CHECK(rows[i].rowKind == kRowUnchanged && marked[i].rowKind == kRowContext);
  }
  return 0;
}
