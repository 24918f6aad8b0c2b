#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "export/sheet_export.h"
#include "export/workbook_automation.h"
#include "export_test_input.h"
#include "temp_folder.h"

namespace rd {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsSupersetOf;
using testing::Numbered;
using testing::TempFolder;
using testing::TTestTexts;

// The workbook's cells as the Python reader of the spreadsheet format sees
// them, one line each: "D7 s:x fill=FFCCCC top=medium fmt=@".
std::vector<std::string> ReadBack(const std::string& path, const char* option = "") {
  const std::string command = std::string("/usr/bin/python3 " RD_READ_WORKBOOK " ") + option + " '" + path + "' 2>&1";
  std::vector<std::string> lines;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return lines;
  char buffer[70000];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(line);
  }
  ::pclose(pipe);
  return lines;
}

bool ReaderPresent() { return std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") == 0; }

struct TBookRun {
  std::vector<std::string> messages;
  std::vector<std::string> opened;
  std::vector<std::string> status;
};

TBookRun ExportToBook(TExportMode mode, const TExportInput& input, const std::string& folder, bool registered = true) {
  TBookRun run;
  TWorkbookOptions options;
  options.Folder = folder;
  options.HasApplication = [registered] { return registered; };
  options.OnStatusBar = [&run](std::string_view text) { run.status.emplace_back(text); };
  options.Open = [&run](const std::string& path) {
    run.opened.push_back(path);
    return std::string();
  };
  TWorkbookAutomation automation(options);
  TExportHooks hooks;
  hooks.ShowMessage = [&run](const std::string& text) { run.messages.push_back(text); };
  hooks.Now = [] { return testing::LocalTime(2026, 12, 8, 9, 5, 3); };
  ExportToSheet(mode, input, automation, hooks);
  return run;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TTestTexts SmallComparison() {
  TTestTexts texts;
  texts.lines = {std::vector<std::string>{"p", "x", "m", "q"}, std::vector<std::string>{"m", "p", "y", "q", "z"}};
  texts.diff = {TDiffList{{1, 2, KindChanged, 0}, {2, 0, KindMoved, 0}},
                TDiffList{{0, 2, KindMoved, 0}, {2, 1, KindChanged, 0}, {4, 3, KindAdded, 0}}};
  return texts;
}

TEST(WorkbookBackend, AllLinesReadBack) {
  if (!ReaderPresent()) GTEST_SKIP() << "python3-openpyxl is missing";
  TempFolder folder;
  const TTestTexts texts = SmallComparison();
  TExportInput input = texts.Input();
  input.Caption = {"a.txt", "[UTF8] b.txt"};
  const TBookRun run = ExportToBook(TExportMode::AllLines, input, folder.Path() + "cache");
  EXPECT_THAT(run.messages, ElementsAre("Excel転送終了"));
  const std::string path = folder.Path() + "cache/261208 090503.xlsx";
  EXPECT_THAT(run.opened, ElementsAre(path));
  EXPECT_THAT(FilesIn(folder.Path() + "cache"), ElementsAre("261208 090503.xlsx"));
  EXPECT_THAT(run.status, ElementsAre("出力中：0行", "出力中：1行", "出力中：2行", "出力中：3行", "出力中：4行", "出力中：5行", ""));
  const std::vector<std::string> expected = {
      "sheet 261208 090503",
      "C2 s:a.txt",
      "G2 s:[UTF8] b.txt",
      "B4 s:参照行 fill=C0C0C0",
      "C4 s:行 fill=C0C0C0",
      "D4 s:テストＡ fill=C0C0C0 fmt=@",
      "F4 s:参照行 fill=C0C0C0",
      "G4 s:行 fill=C0C0C0",
      "H4 s:テストＢ fill=C0C0C0 fmt=@",
      // TextB's moved line m (from TextA's line 3), alone.
      "F5 s:移動3",
      "G5 n:1",
      "H5 s:m fill=CCFFCC fmt=@",
      "I5 s: ",
      "C6 n:1",
      "D6 s:p fmt=@",
      "E6 s: ",
      "G6 n:2",
      "H6 s:p fmt=@",
      "I6 s: ",
      "B7 s:変更",
      "C7 n:2",
      "D7 s:x fill=FFFFCC fmt=@",
      "E7 s: ",
      "F7 s:変更",
      "G7 n:3",
      "H7 s:y fill=FFFFCC fmt=@",
      "I7 s: ",
      "B8 s:移動1",
      "C8 n:3",
      "D8 s:m fill=CCFFCC fmt=@",
      "E8 s: ",
      "C9 n:4",
      "D9 s:q fmt=@",
      "E9 s: ",
      "G9 n:4",
      "H9 s:q fmt=@",
      "I9 s: ",
      "F10 s:追加",
      "G10 n:5",
      "H10 s:z fill=CCCCFF fmt=@",
      "I10 s: ",
      "col A:A width=3",
      "col B:C width=6",
      "col D:D width=50",
      "col E:E width=9",  // the default width
      "col F:G width=6",
      "col H:H width=50",
      "col I:XFD width=9",
      "font ＭＳ ゴシック 9",
  };
  EXPECT_THAT(ReadBack(path), ElementsAreArray(expected));
}

// Thirty equal lines on each side but the changed ones.
TTestTexts Thirty(std::vector<int> changed) {
  TTestTexts texts;
  texts.lines = {Numbered("l", 30), Numbered("l", 30)};
  for (int line : changed) {
    texts.lines[1][line] = "other";
    for (TDiffList& list : texts.diff) list.push_back({line, line, KindChanged, 0});
  }
  return texts;
}

// The cells of a dump with a top border, and the line numbers of TextA.
std::vector<std::string> BordersAndNumbers(const std::vector<std::string>& dump) {
  std::vector<std::string> kept;
  for (const std::string& line : dump) {
    const std::string cell = line.substr(0, line.find(' '));
    if (line.find("top=medium") != std::string::npos) kept.push_back(cell + " top");
    std::istringstream words(line);
    std::string address, value;
    words >> address >> value;
    if (address[0] == 'C' && value.rfind("n:", 0) == 0) kept.push_back(address + " " + value);
  }
  return kept;
}

TEST(WorkbookBackend, SeparatorsAtTheGapsOfTheDifferenceMode) {
  if (!ReaderPresent()) GTEST_SKIP() << "python3-openpyxl is missing";
  const std::vector<std::string> top5 = {"B5 top", "C5 top", "D5 top", "E5 top", "F5 top", "G5 top", "H5 top"};
  const struct {
    int addRow;
    std::vector<int> changed;
    std::vector<std::string> kept;
  } cases[] = {
      {2, {10, 20}, {"B5 top", "C5 top", "C5 n:9", "D5 top", "E5 top", "F5 top", "G5 top", "H5 top",
                     "C6 n:10", "C7 n:11", "C8 n:12", "C9 n:13",
                     "B10 top", "C10 top", "C10 n:19", "D10 top", "E10 top", "F10 top", "G10 top", "H10 top",
                     "C11 n:20", "C12 n:21", "C13 n:22", "C14 n:23"}},
      {0, {10, 11, 20}, {"B5 top", "C5 top", "C5 n:11", "D5 top", "E5 top", "F5 top", "G5 top", "H5 top",
                         "C6 n:12",
                         "B7 top", "C7 top", "C7 n:21", "D7 top", "E7 top", "F7 top", "G7 top", "H7 top"}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const TTestTexts texts = Thirty(c.changed);
    TExportInput input = texts.Input();
    input.AddRow = c.addRow;
    const TBookRun run = ExportToBook(TExportMode::Differences, input, folder.Path());
    ASSERT_THAT(run.messages, ElementsAre("Excel転送終了")) << c.addRow;
    EXPECT_THAT(BordersAndNumbers(ReadBack(run.opened.at(0))), ElementsAreArray(c.kept)) << "AddRow " << c.addRow;
  }
}

TEST(WorkbookBackend, TheLastRowOfTheSheetIsTheLastOneWritten) {
  if (!ReaderPresent()) GTEST_SKIP() << "python3-openpyxl is missing";
  TempFolder folder;
  std::vector<std::string> opened;
  TWorkbookOptions options;
  options.Folder = folder.Path();
  options.HasApplication = [] { return true; };
  options.Open = [&opened](const std::string& path) {
    opened.push_back(path);
    return std::string();
  };
  TWorkbookAutomation automation(options);
  const TAuto app = automation.GetApplication("Excel.Application");
  app.Put("Visible", true);
  const TAuto sheet = app.Get("WorkBooks").Get("Add").Get("WorkSheets", 1);
  sheet.Put("Name", std::string_view("last"));
  const TAuto last = sheet.Get("Range", std::string_view("B1048576"));
  last.Put("Value", std::string_view("end"));
  const TAuto beyond = last.Get("Offset", 1);  // leaving the sheet is no failure yet
  try {
    beyond.Put("Value", std::string_view("lost"));
    ADD_FAILURE() << "a row beyond the sheet was written";
  } catch (const TAutoError& e) {
    EXPECT_STREQ(e.what(), "ワークシートの行数の上限（1048576行）を超えます");
  }
  EXPECT_THROW(sheet.Get("Range", std::string_view("B5")).Put("Value", std::string_view("up")), TAutoError);
  automation.Release();
  ASSERT_THAT(opened, ElementsAre(folder.Path() + "last.xlsx"));
  std::string xml;
  for (const std::string& line : ReadBack(opened[0], "--xml")) xml += line;
  EXPECT_NE(xml.find(R"(<c r="B1048576" t="inlineStr"><is><t>end</t></is></c>)"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("lost"), std::string::npos);
}

TEST(WorkbookBackend, WithoutARegisteredApplicationNothingIsWritten) {
  TempFolder folder;
  const TTestTexts texts = SmallComparison();
  const TBookRun run = ExportToBook(TExportMode::AllLines, texts.Input(), folder.Path() + "cache", false);
  EXPECT_THAT(run.messages, ElementsAre("Excelが起動できません"));
  EXPECT_TRUE(run.opened.empty());
  EXPECT_FALSE(std::filesystem::exists(folder.Path() + "cache"));
}

TEST(WorkbookBackend, AFolderThatCannotBeMadeMeansNoApplication) {
  TempFolder folder;
  const std::string blocker = folder.Write("file", "not a folder");
  const TTestTexts texts = SmallComparison();
  const TBookRun run = ExportToBook(TExportMode::AllLines, texts.Input(), blocker + "/cache");
  EXPECT_THAT(run.messages, ElementsAre("Excelが起動できません"));
  EXPECT_TRUE(run.opened.empty());
}

TEST(WorkbookBackend, ASecondExportInTheSameSecondGetsAFileOfItsOwn) {
  TempFolder folder;
  const TTestTexts texts = SmallComparison();
  ExportToBook(TExportMode::AllLines, texts.Input(), folder.Path());
  const TBookRun second = ExportToBook(TExportMode::Differences, texts.Input(), folder.Path());
  EXPECT_THAT(second.opened, ElementsAre(folder.Path() + "261208 090503 (2).xlsx"));
  // No temporary file is left behind.
  EXPECT_THAT(FilesIn(folder.Path()), ElementsAre("261208 090503 (2).xlsx", "261208 090503.xlsx"));
}

// Shift_JIS arrives as Unicode; a formula or a number in a text line stays
// text. A control character other than the tab is kept in the file format's
// escaped form "_x000C_", which spreadsheet programs show as the character.
TEST(WorkbookBackend, LineTextsReachTheCellsAsTheyAre) {
  if (!ReaderPresent()) GTEST_SKIP() << "python3-openpyxl is missing";
  TempFolder folder;
  TTestTexts texts;
  texts.lines = {std::vector<std::string>{"\x83\x65\x83\x58\x83\x67", "=1+1", "0123", "a\tb\x0c"},
                 std::vector<std::string>{"\x83\x65\x83\x58\x83\x67", "=1+1", "0123", "a\tb\x0c"}};
  const TBookRun run = ExportToBook(TExportMode::AllLines, texts.Input(), folder.Path());
  ASSERT_THAT(run.messages, ElementsAre("Excel転送終了"));
  EXPECT_THAT(ReadBack(run.opened.at(0)), IsSupersetOf({"D5 s:テスト fmt=@", "D6 s:=1+1 fmt=@", "D7 s:0123 fmt=@",
                                                        "D8 s:a\tb_x000C_ fmt=@", "H8 s:a\tb_x000C_ fmt=@"}));
}

TEST(WorkbookBackend, ALineLongerThanACellHoldsEndsTheTransferWithTheRowsWritten) {
  if (!ReaderPresent()) GTEST_SKIP() << "python3-openpyxl is missing";
  TempFolder folder;
  TTestTexts texts;
  texts.lines = {std::vector<std::string>{"first", std::string(32767, 'x'), std::string(32768, 'y'), "last"},
                 std::vector<std::string>{"first", std::string(32767, 'x'), std::string(32768, 'y'), "last"}};
  const TBookRun run = ExportToBook(TExportMode::AllLines, texts.Input(), folder.Path());
  EXPECT_THAT(run.messages, ElementsAre("Excel転送失敗：502:セルに入る文字数（32767文字）を超えています"));
  ASSERT_EQ(run.opened.size(), 1u);
  const std::vector<std::string> cells = ReadBack(run.opened[0]);
  const std::vector<std::string> kept = {"D5 s:first fmt=@", "D6 s:" + std::string(32767, 'x') + " fmt=@"};
  EXPECT_THAT(cells, IsSupersetOf(kept));
  for (const std::string& cell : cells) EXPECT_EQ(cell.find("yyy"), std::string::npos);
  EXPECT_EQ(run.status.back(), "");  // the status bar was given back
}

}  // namespace
}  // namespace rd

namespace rd {
namespace {

// Exported workbooks are unsaved ones: a week after they were written they
// go, and nothing else in the folder does.
TEST(TidyExportFolder, RemovesOnlyOldWorkbooks) {
  namespace fs = std::filesystem;
  testing::TempFolder dir;
  const fs::file_time_type now = fs::file_time_type::clock::now();
  const auto write = [&](const std::string& name, std::chrono::hours age) {
    const std::string path = dir.Write(name, "x");
    fs::last_write_time(path, now - age);
    return path;
  };
  const std::string oldBook = write("Sheet1.xlsx", std::chrono::hours(24 * 8));
  const std::string oldTemp = write(".export-ab12CD.xlsx", std::chrono::hours(24 * 30));
  const std::string newBook = write("Sheet1 (2).xlsx", std::chrono::hours(24 * 6));
  const std::string oldOther = write("notes.txt", std::chrono::hours(24 * 30));
  fs::create_directories(dir.Path() + "check.xlsx");
  fs::last_write_time(dir.Path() + "check.xlsx", now - std::chrono::hours(24 * 30));
  fs::create_symlink(newBook, dir.Path() + "link.xlsx");

  TidyExportFolder(dir.Path(), now);
  EXPECT_FALSE(fs::exists(oldBook));
  EXPECT_FALSE(fs::exists(oldTemp));
  EXPECT_TRUE(fs::exists(newBook));
  EXPECT_TRUE(fs::exists(oldOther));
  EXPECT_TRUE(fs::is_directory(dir.Path() + "check.xlsx"));
  EXPECT_TRUE(fs::is_symlink(dir.Path() + "link.xlsx"));
  TidyExportFolder(dir.Path() + "missing/", now);  // a folder not there yet: nothing happens
}

}  // namespace
}  // namespace rd
