#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "export/export_rows.h"
#include "export/recording_automation.h"
#include "export/sheet_export.h"
#include "export_test_input.h"

namespace rd {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::Numbered;
using testing::TTestTexts;

// A comparison with every kind: TextA "p x m q", TextB "m p y q z"; x was
// changed to y, m moved to the top, z added.
TTestTexts SmallComparison() {
  TTestTexts texts;
  texts.lines = {std::vector<std::string>{"p", "x", "m", "q"}, std::vector<std::string>{"m", "p", "y", "q", "z"}};
  texts.diff = {TDiffList{{1, 2, KindChanged, 0}, {2, 0, KindMoved, 0}},
                TDiffList{{0, 2, KindMoved, 0}, {2, 1, KindChanged, 0}, {4, 3, KindAdded, 0}}};
  return texts;
}

struct TRun {
  std::vector<std::string> log;
  std::vector<std::string> messages;
};

TRun Export(TExportMode mode, const TExportInput& input, TRecordingAutomation& automation,
            std::function<bool()> cancelled = {}) {
  TRun run;
  TExportHooks hooks;
  hooks.ShowMessage = [&run](const std::string& text) { run.messages.push_back(text); };
  hooks.Now = [] { return testing::LocalTime(2026, 12, 8, 9, 5, 3); };
  hooks.Cancelled = std::move(cancelled);
  ExportToSheet(mode, input, automation, hooks);
  run.log = automation.Log();
  return run;
}

TRun Export(TExportMode mode, const TExportInput& input) {
  TRecordingAutomation automation;
  return Export(mode, input, automation);
}

TExportInput WithCaptions(const TTestTexts& texts) {
  TExportInput input = texts.Input();
  input.Caption = {"a.txt", "b.txt"};
  return input;
}

const std::vector<std::string> kStartAndHeader = {
    // Obtaining and preparing the application.
    R"(GetApplication("excel.application"))",
    R"(app.Visible := true)",
    R"(app.DisplayStatusBar := true)",
    R"(app.WorkBooks)",
    R"(app.WorkBooks.Add)",
    R"(book.WorkSheets(1))",
    R"(sheet.Activate)",
    R"(sheet.Name := "261208 090503")",
    R"(app.ScreenUpdating := false)",
    // The header.
    R"(sheet.Cells)",
    R"([A:XFD].Font)",
    R"([A:XFD].Font.Name := "ＭＳ ゴシック")",
    R"(sheet.Cells)",
    R"([A:XFD].Font)",
    R"([A:XFD].Font.Size := 9)",
    R"(sheet.Range("C2"))",
    R"([C2].Value := "a.txt")",
    R"(sheet.Range("G2"))",
    R"([G2].Value := "b.txt")",
    R"(sheet.Range("B4"))",
    R"([B4].Value := "参照行")",
    R"(sheet.Range("C4"))",
    R"([C4].Value := "行")",
    R"(sheet.Range("D4"))",
    R"([D4].Value := "テストＡ")",
    R"(sheet.Range("B4:D4"))",
    R"([B4:D4].Interior)",
    R"([B4:D4].Interior.ColorIndex := 15)",
    R"(sheet.Range("F4"))",
    R"([F4].Value := "参照行")",
    R"(sheet.Range("G4"))",
    R"([G4].Value := "行")",
    R"(sheet.Range("H4"))",
    R"([H4].Value := "テストＢ")",
    R"(sheet.Range("F4:H4"))",
    R"([F4:H4].Interior)",
    R"([F4:H4].Interior.ColorIndex := 15)",
    R"(sheet.Columns("A:A"))",
    R"([A:A].ColumnWidth := 3)",
    R"(sheet.Columns("B:C"))",
    R"([B:C].ColumnWidth := 6)",
    R"(sheet.Columns("D:D"))",
    R"([D:D].ColumnWidth := 50)",
    R"(sheet.Columns("D:D"))",
    R"([D:D].NumberFormat := "@")",
    R"(sheet.Columns("F:G"))",
    R"([F:G].ColumnWidth := 6)",
    R"(sheet.Columns("H:H"))",
    R"([H:H].ColumnWidth := 50)",
    R"(sheet.Columns("H:H"))",
    R"([H:H].NumberFormat := "@")",
    // The two cursors.
    R"(sheet.Range("B4"))",
    R"(sheet.Range("F4"))",
};

const std::vector<std::string> kAllLinesRows = {
    // Row 0: TextB's line 1, moved from TextA's line 3.
    R"([B4].Offset(1))",
    R"([F4].Offset(1))",
    R"([F5].Offset(0, 1))",
    R"([G5].Value := "1")",
    R"([F5].Offset(0, 2))",
    R"([H5].Value := "m")",
    R"([F5].Offset(0, 3))",
    R"([I5].Value := " ")",
    R"([F5].Offset(0, 2))",
    R"([H5].Interior)",
    R"([H5].Interior.ColorIndex := 35)",
    R"([F5].Value := "移動3")",
    R"(app.StatusBar := "出力中：0行")",
    // Row 1: "p" on both sides.
    R"([B5].Offset(1))",
    R"([F5].Offset(1))",
    R"([B6].Offset(0, 1))",
    R"([C6].Value := "1")",
    R"([B6].Offset(0, 2))",
    R"([D6].Value := "p")",
    R"([B6].Offset(0, 3))",
    R"([E6].Value := " ")",
    R"([F6].Offset(0, 1))",
    R"([G6].Value := "2")",
    R"([F6].Offset(0, 2))",
    R"([H6].Value := "p")",
    R"([F6].Offset(0, 3))",
    R"([I6].Value := " ")",
    R"(app.StatusBar := "出力中：1行")",
    // Row 2: x changed to y; both sides labelled and filled.
    R"([B6].Offset(1))",
    R"([F6].Offset(1))",
    R"([B7].Offset(0, 1))",
    R"([C7].Value := "2")",
    R"([B7].Offset(0, 2))",
    R"([D7].Value := "x")",
    R"([B7].Offset(0, 3))",
    R"([E7].Value := " ")",
    R"([B7].Offset(0, 2))",
    R"([D7].Interior)",
    R"([D7].Interior.ColorIndex := 19)",
    R"([B7].Value := "変更")",
    R"([F7].Offset(0, 1))",
    R"([G7].Value := "3")",
    R"([F7].Offset(0, 2))",
    R"([H7].Value := "y")",
    R"([F7].Offset(0, 3))",
    R"([I7].Value := " ")",
    R"([F7].Offset(0, 2))",
    R"([H7].Interior)",
    R"([H7].Interior.ColorIndex := 19)",
    R"([F7].Value := "変更")",
    R"(app.StatusBar := "出力中：2行")",
    // Row 3: TextA's moved line 3, whose partner is TextB's line 1.
    R"([B7].Offset(1))",
    R"([F7].Offset(1))",
    R"([B8].Offset(0, 1))",
    R"([C8].Value := "3")",
    R"([B8].Offset(0, 2))",
    R"([D8].Value := "m")",
    R"([B8].Offset(0, 3))",
    R"([E8].Value := " ")",
    R"([B8].Offset(0, 2))",
    R"([D8].Interior)",
    R"([D8].Interior.ColorIndex := 35)",
    R"([B8].Value := "移動1")",
    R"(app.StatusBar := "出力中：3行")",
    // Row 4: "q" on both sides.
    R"([B8].Offset(1))",
    R"([F8].Offset(1))",
    R"([B9].Offset(0, 1))",
    R"([C9].Value := "4")",
    R"([B9].Offset(0, 2))",
    R"([D9].Value := "q")",
    R"([B9].Offset(0, 3))",
    R"([E9].Value := " ")",
    R"([F9].Offset(0, 1))",
    R"([G9].Value := "4")",
    R"([F9].Offset(0, 2))",
    R"([H9].Value := "q")",
    R"([F9].Offset(0, 3))",
    R"([I9].Value := " ")",
    R"(app.StatusBar := "出力中：4行")",
    // Row 5: TextB's added line 5.
    R"([B9].Offset(1))",
    R"([F9].Offset(1))",
    R"([F10].Offset(0, 1))",
    R"([G10].Value := "5")",
    R"([F10].Offset(0, 2))",
    R"([H10].Value := "z")",
    R"([F10].Offset(0, 3))",
    R"([I10].Value := " ")",
    R"([F10].Offset(0, 2))",
    R"([H10].Interior)",
    R"([H10].Interior.ColorIndex := 24)",
    R"([F10].Value := "追加")",
    R"(app.StatusBar := "出力中：5行")",
};

const std::vector<std::string> kEnd = {
    R"(app.StatusBar := "")",
    R"(app.ScreenUpdating := true)",
    R"(Release)",
};

std::vector<std::string> Joined(std::initializer_list<const std::vector<std::string>*> parts) {
  std::vector<std::string> all;
  for (const auto* part : parts) all.insert(all.end(), part->begin(), part->end());
  return all;
}

TEST(ExportToSheet, AllLinesSendsEveryCallInOrder) {
  const TTestTexts texts = SmallComparison();
  const TRun run = Export(TExportMode::AllLines, WithCaptions(texts));
  EXPECT_THAT(run.log, ElementsAreArray(Joined({&kStartAndHeader, &kAllLinesRows, &kEnd})));
  EXPECT_THAT(run.messages, ElementsAre("Excel転送終了"));
}

TEST(ExportToSheet, TheTagSelectsTheMode) {
  EXPECT_EQ(ExportModeOfTag(1), TExportMode::AllLines);
  for (int tag : {2, 0, 3, -1}) EXPECT_EQ(ExportModeOfTag(tag), TExportMode::Differences) << tag;
}

// The lines of a log that show where rows went, which got a separator, and
// the progress: "[C12].Value", "[B12].Borders(8)", "出力中：9行".
std::vector<std::string> RowTrace(const std::vector<std::string>& log) {
  std::vector<std::string> trace;
  for (const std::string& line : log) {
    if (line.find(".Borders(8).Weight := 3") != std::string::npos) {
      trace.push_back(line.substr(0, line.find('.')) + " border");
    } else if (line.rfind("[C", 0) == 0 && line.find(".Value := ") != std::string::npos &&
               line.find("C4") == std::string::npos && line.find("C2") == std::string::npos) {
      trace.push_back(line.substr(0, line.find('.')) + " = " + line.substr(line.find(":= ") + 3));
    } else if (line.rfind("app.StatusBar := \"出力中", 0) == 0) {
      trace.push_back(line.substr(line.find(":= ") + 4, line.size() - line.find(":= ") - 5));
    }
  }
  return trace;
}

// Thirty lines on each side, all the same but line 10 (changed) and line 14.
TTestTexts Thirty(std::vector<int> changed) {
  TTestTexts texts;
  texts.lines = {Numbered("l", 30), Numbered("l", 30)};
  for (int line : changed) {
    texts.lines[1][line] = "other";
    for (TDiffList& list : texts.diff) list.push_back({line, line, KindChanged, 0});
  }
  return texts;
}

TEST(ExportToSheet, DifferencesWithContextAndSeparators) {
  const struct {
    const char* name;
    std::vector<int> changed;
    int addRow;
    std::vector<std::string> trace;
  } cases[] = {
      {"one change, two lines of context: rows 8 to 12, one separator on top",
       {10}, 2,
       {"[C5] = \"9\"",
        "[B5] border", "[C5] border", "[D5] border", "[E5] border", "[F5] border", "[G5] border", "[H5] border", "出力中：8行", "[C6] = \"10\"", "出力中：9行", "[C7] = \"11\"", "出力中：10行",
        "[C8] = \"12\"", "出力中：11行", "[C9] = \"13\"", "出力中：12行"}},
      {"two changes four rows apart are joined by their context",
       {10, 14}, 2,
       {"[C5] = \"9\"",
        "[B5] border", "[C5] border", "[D5] border", "[E5] border", "[F5] border", "[G5] border", "[H5] border", "出力中：8行", "[C6] = \"10\"", "出力中：9行", "[C7] = \"11\"", "出力中：10行",
        "[C8] = \"12\"", "出力中：11行", "[C9] = \"13\"", "出力中：12行", "[C10] = \"14\"", "出力中：13行",
        "[C11] = \"15\"", "出力中：14行", "[C12] = \"16\"", "出力中：15行", "[C13] = \"17\"", "出力中：16行"}},
      {"changes further apart are separated where rows were left out",
       {2, 20}, 1,
       {"[C5] = \"2\"",
        "[B5] border", "[C5] border", "[D5] border", "[E5] border", "[F5] border", "[G5] border", "[H5] border", "出力中：1行", "[C6] = \"3\"", "出力中：2行", "[C7] = \"4\"", "出力中：3行",
        "[C8] = \"20\"",
        "[B8] border", "[C8] border", "[D8] border", "[E8] border", "[F8] border", "[G8] border", "[H8] border", "出力中：19行", "[C9] = \"21\"", "出力中：20行", "[C10] = \"22\"", "出力中：21行"}},
      {"without context only the differences, each separated unless it follows the previous one",
       {10, 11, 14}, 0,
       {"[C5] = \"11\"",
        "[B5] border", "[C5] border", "[D5] border", "[E5] border", "[F5] border", "[G5] border", "[H5] border", "出力中：10行", "[C6] = \"12\"", "出力中：11行",
        "[C7] = \"15\"",
        "[B7] border", "[C7] border", "[D7] border", "[E7] border", "[F7] border", "[G7] border", "[H7] border", "出力中：14行"}},
      {"identical texts give no data row",
       {}, 5,
       {}},
  };
  for (const auto& c : cases) {
    const TTestTexts texts = Thirty(c.changed);
    TExportInput input = texts.Input();
    input.AddRow = c.addRow;
    const TRun run = Export(TExportMode::Differences, input);
    EXPECT_THAT(RowTrace(run.log), ElementsAreArray(c.trace)) << c.name;
    EXPECT_THAT(run.messages, ElementsAre("Excel転送終了")) << c.name;
  }
}

TEST(ExportToSheet, FailuresGiveTheirMessages) {
  const struct {
    const char* name;
    std::string failAt;
    std::vector<std::string> messages;
    std::vector<std::string> lastCalls;
  } cases[] = {
      {"no application", R"(GetApplication("excel.application"))", {"Excelが起動できません"},
       {R"(GetApplication("excel.application"))"}},
      {"no workbook", "app.WorkBooks.Add", {"Excelが起動できません"}, {"app.WorkBooks.Add"}},
      {"the screen cannot be frozen", "app.ScreenUpdating := false", {"Excelが起動できません"},
       {"app.ScreenUpdating := false"}},
      {"the font of the header", R"([A:XFD].Font.Name := "ＭＳ ゴシック")",
       {"Excel転送失敗：400:記録: 失敗を指示された呼び出しです"},
       {R"([A:XFD].Font.Name := "ＭＳ ゴシック")", R"(app.StatusBar := "")", "app.ScreenUpdating := true", "Release"}},
      {"a row's cells", R"([D7].Value := "x")", {"Excel転送失敗：502:記録: 失敗を指示された呼び出しです"},
       {R"([D7].Value := "x")", R"(app.StatusBar := "")", "app.ScreenUpdating := true", "Release"}},
      {"moving the cursors", R"([F6].Offset(1))", {"Excel転送失敗：501:記録: 失敗を指示された呼び出しです"},
       {R"([F6].Offset(1))", R"(app.StatusBar := "")", "app.ScreenUpdating := true", "Release"}},
      {"the last call", "app.ScreenUpdating := true", {"Excel転送失敗：502:記録: 失敗を指示された呼び出しです"},
       {"app.ScreenUpdating := true", R"(app.StatusBar := "")", "app.ScreenUpdating := true", "Release"}},
      {"letting go of the application", "Release", {"Excel転送失敗：502:記録: 失敗を指示された呼び出しです"},
       {R"(app.StatusBar := "")", "app.ScreenUpdating := true", "Release"}},
  };
  const TTestTexts texts = SmallComparison();
  for (const auto& c : cases) {
    TRecordingAutomation automation;
    automation.FailAt(c.failAt);
    const TRun run = Export(TExportMode::AllLines, WithCaptions(texts), automation);
    EXPECT_EQ(run.messages, c.messages) << c.name;
    ASSERT_GE(run.log.size(), c.lastCalls.size()) << c.name;
    const std::vector<std::string> last(run.log.end() - static_cast<long>(c.lastCalls.size()), run.log.end());
    EXPECT_EQ(last, c.lastCalls) << c.name;
  }
}

TEST(ExportToSheet, WithoutAnApplicationOnlyTheMessage) {
  TRecordingAutomation automation;
  automation.SetAvailable(false);
  const TTestTexts texts = SmallComparison();
  const TRun run = Export(TExportMode::Differences, texts.Input(), automation);
  EXPECT_THAT(run.log, ElementsAre(R"(GetApplication("excel.application"))"));
  EXPECT_THAT(run.messages, ElementsAre("Excelが起動できません"));
}

TEST(ExportToSheet, AFailureWhileAligningIsShownAndTheRowsBuiltAreWritten) {
  const TTestTexts texts = Thirty({});
  TExportInput input = texts.Input();
  input.Lines[Index(Side::A)].Line = [&texts](std::size_t i) -> std::string_view {
    if (i == 2) throw std::runtime_error("読めません");
    return texts.lines[0][i];
  };
  const TRun run = Export(TExportMode::AllLines, input);
  EXPECT_THAT(RowTrace(run.log), ElementsAre("[C5] = \"1\"", "出力中：0行", "[C6] = \"2\"", "出力中：1行"));
  EXPECT_THAT(run.messages, ElementsAre("初期化失敗：209:読めません", "Excel転送終了"));
}

TEST(ExportToSheet, CancellingEndsCleanlyWithTheRowsWritten) {
  const TTestTexts texts = SmallComparison();
  TRecordingAutomation automation;
  int asked = 0;
  const TRun run = Export(TExportMode::AllLines, WithCaptions(texts), automation, [&asked] { return ++asked == 2; });
  const std::vector<std::string> expected(kAllLinesRows.begin(), kAllLinesRows.begin() + 28);  // rows 0 and 1
  EXPECT_THAT(run.log, ElementsAreArray(Joined({&kStartAndHeader, &expected, &kEnd})));
  EXPECT_TRUE(run.messages.empty());
}

TEST(RowLabel, NamesTheKindAndTheMovedLinesPartner) {
  const struct {
    std::uint8_t kind;
    std::int32_t partner;
    const char* label;
  } cases[] = {{1, 9, "追加"}, {2, 9, "変更"}, {3, 6, "移動7"}, {3, 0, "移動1"},
               {3, 2147483647, "移動2147483648"}, {0, 6, ""}, {5, 6, ""}};
  for (const auto& c : cases) EXPECT_EQ(RowLabel(c.kind, c.partner), c.label) << int(c.kind) << " " << c.partner;
}

TEST(SheetNameOf, TwoDigitYearAndTwentyFourHours) {
  EXPECT_EQ(SheetNameOf(testing::LocalTime(2005, 1, 2, 23, 4, 59)), "050102 230459");
}

}  // namespace
}  // namespace rd
