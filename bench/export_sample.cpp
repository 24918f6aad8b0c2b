// Writes a small exported workbook for checking it in a real spreadsheet
// program (tests/e2e/export_in_spreadsheet.sh):
//   export_sample FOLDER all|diff     prints the workbook's path
#include <iostream>
#include <string>
#include <vector>

#include "export/sheet_export.h"
#include "export/workbook_automation.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: export_sample FOLDER all|diff\n";
    return 2;
  }
  // TextA "p x m q テスト =SUM(1,2)", TextB "m p y q z テスト =SUM(1,2)":
  // x changed to y, m moved, z added; the Japanese lines in Shift_JIS.
  const std::string test = "\x83\x65\x83\x58\x83\x67";
  const rd::PerSide<std::vector<std::string>> lines = {
      std::vector<std::string>{"p", "x", "m", "q", test, "=SUM(1,2)"},
      std::vector<std::string>{"m", "p", "y", "q", "z", test, "=SUM(1,2)"}};
  const rd::PerSide<rd::TDiffList> diff = {
      rd::TDiffList{{1, 2, rd::KindChanged, 0}, {2, 0, rd::KindMoved, 0}},
      rd::TDiffList{{0, 2, rd::KindMoved, 0}, {2, 1, rd::KindChanged, 0}, {4, 3, rd::KindAdded, 0}}};
  rd::TExportInput input;
  for (const rd::Side side : {rd::Side::A, rd::Side::B}) {
    const auto& own = lines[rd::Index(side)];
    input.Lines[rd::Index(side)] = {own.size(), [&own](std::size_t i) { return std::string_view(own[i]); }};
    input.Diff[rd::Index(side)] = diff[rd::Index(side)];
  }
  input.Caption = {"a.txt", "[UTF8] b.txt"};
  input.AddRow = 1;

  rd::TWorkbookOptions options;
  options.Folder = argv[1];
  options.HasApplication = [] { return true; };
  rd::TWorkbookAutomation automation(options);
  rd::TExportHooks hooks;
  std::string message;
  hooks.ShowMessage = [&message](const std::string& text) { message = text; };
  const bool all = std::string(argv[2]) == "all";
  rd::ExportToSheet(all ? rd::TExportMode::AllLines : rd::TExportMode::Differences, input, automation, hooks);
  if (message != "Excel転送終了") {
    std::cerr << message << "\n";
    return 1;
  }
  std::cout << automation.Path() << "\n";
  return 0;
}
