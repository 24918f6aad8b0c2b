// The export's steps in the order the spreadsheet receives them. Each step
// records a checkpoint; a failure names the last one reached.
#include "export/sheet_export.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <vector>

#include "export/export_rows.h"
#include "settings/settings.h"
#include "textcode/utf8_convert.h"
#include "views/kind_color.h"

namespace rd {

namespace {

constexpr const char* kSheetFont = "ＭＳ ゴシック";
constexpr std::int32_t kSheetFontSize = 9;
constexpr std::int32_t kHeaderFill = 15;   // palette grey C0C0C0
constexpr std::int32_t kEdgeTop = 8;       // Borders(8): the top edge of a cell
constexpr std::int32_t kSeparatorWeight = 3;
constexpr std::int32_t kSeparatorCells = 7;  // the label cell of TextA to the text cell of TextB

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string Failure(std::string_view head, int checkpoint, const char* what) {
  std::string text(head);
  text += std::to_string(checkpoint);
  text += ':';
  text += what;
  return text;
}

// Calls 6 to 8: font, captions, the two header rows, column widths and formats.
void WriteHeader(const TAuto& sheet, const TExportInput& input) {
  sheet.Get("Cells").Get("Font").Put("Name", std::string_view(kSheetFont));
  sheet.Get("Cells").Get("Font").Put("Size", kSheetFontSize);
  sheet.Get("Range", std::string_view("C2")).Put("Value", std::string_view(input.Caption[Index(Side::A)]));
  sheet.Get("Range", std::string_view("G2")).Put("Value", std::string_view(input.Caption[Index(Side::B)]));
  struct THeader {
    std::string_view refCell, lineCell, textCell, range, title;
  };
  for (const THeader& h : {THeader{"B4", "C4", "D4", "B4:D4", "テストＡ"}, THeader{"F4", "G4", "H4", "F4:H4", "テストＢ"}}) {
    sheet.Get("Range", h.refCell).Put("Value", std::string_view("参照行"));
    sheet.Get("Range", h.lineCell).Put("Value", std::string_view("行"));
    sheet.Get("Range", h.textCell).Put("Value", h.title);
    sheet.Get("Range", h.range).Get("Interior").Put("ColorIndex", kHeaderFill);
  }
  auto column = [&sheet](std::string_view columns) { return sheet.Get("Columns", columns); };
  column("A:A").Put("ColumnWidth", 3);
  column("B:C").Put("ColumnWidth", 6);
  column("D:D").Put("ColumnWidth", 50);
  column("D:D").Put("NumberFormat", std::string_view("@"));
  column("F:G").Put("ColumnWidth", 6);
  column("H:H").Put("ColumnWidth", 50);
  column("H:H").Put("NumberFormat", std::string_view("@"));
}

// Call 10 and the separators: two cursors that move down one worksheet row
// per exported row.
class TRowWriter {
 public:
  TRowWriter(const TAuto& app, const TAuto& sheet, const TExportInput& input, const TKindColorIndexes& indexes)
      : app_(app), input_(input), indexes_(indexes) {
    cursor_[Index(Side::A)] = sheet.Get("Range", std::string_view("B4"));
    cursor_[Index(Side::B)] = sheet.Get("Range", std::string_view("F4"));
  }

  void MoveDown() {
    for (TAuto& cursor : cursor_) cursor = cursor.Get("Offset", 1);
  }

  void WriteCells(const TExportRow& row) {
    WriteSide(Side::A, row.lineA, row);
    WriteSide(Side::B, row.lineB, row);
  }

  // A top border over the seven cells from column B to column H.
  void Separator() {
    const TAuto& cursor = cursor_[Index(Side::A)];
    cursor.Get("Borders", kEdgeTop).Put("Weight", kSeparatorWeight);
    for (std::int32_t k = 1; k < kSeparatorCells; ++k)
      cursor.Get("Offset", 0, k).Get("Borders", kEdgeTop).Put("Weight", kSeparatorWeight);
  }

  void Progress(std::size_t index) {
    status_ = "出力中：";
    status_ += std::to_string(index);
    status_ += "行";
    app_.Put("StatusBar", std::string_view(status_));
  }

 private:
  void WriteSide(Side side, std::int32_t line, const TExportRow& row) {
    if (line < 0) return;
    const std::string_view sjis = input_.Lines[Index(side)].Line(static_cast<std::size_t>(line));
    text_.resize(sjis.size() * 3);
    const char* end = SjisToUtf8Into(sjis, text_.data());
    if (!end) throw std::runtime_error(std::string(kUtf8ConvertFailed));
    WriteSideCells(cursor_[Index(side)], line, row.rowKind, row.partner,
                   std::string_view(text_.data(), static_cast<std::size_t>(end - text_.data())), indexes_);
  }

  TAuto app_;
  const TExportInput& input_;  // the caller's input; the writer lives inside one export
  const TKindColorIndexes& indexes_;
  PerSide<TAuto> cursor_;
  std::string text_;
  std::string status_;
};

}  // namespace

TKindColorIndexes KindColorIndexes(const TExportInput& input) {
  TEditorSettings colours;
  colours.InsColor = input.InsColor;
  colours.UpdColor = input.UpdColor;
  colours.MovColor = input.MovColor;
  TKindColorIndexes indexes{};
  for (std::int32_t kind : {KindAdded, KindChanged, KindMoved})
    indexes[static_cast<std::size_t>(kind)] = ColorToColorIndex(*KindColor(kind, colours));
  return indexes;
}

std::string SheetNameOf(const std::tm& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d%02d%02d %02d%02d%02d", (time.tm_year + 1900) % 100, time.tm_mon + 1,
                time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
  return text;
}

std::string RowLabel(std::uint8_t kind, std::int32_t partner) {
  switch (kind) {
    case KindAdded: return "追加";
    case KindChanged: return "変更";
    case KindMoved: return "移動" + std::to_string(static_cast<std::int64_t>(partner) + 1);
    default: return {};
  }
}

void WriteSideCells(const TAuto& labelCell, std::int32_t line, std::uint8_t kind, std::int32_t partner,
                    std::string_view text, const TKindColorIndexes& indexes) {
  const std::string number = std::to_string(static_cast<std::int64_t>(line) + 1);
  labelCell.Get("Offset", 0, 1).Put("Value", std::string_view(number));
  labelCell.Get("Offset", 0, 2).Put("Value", text);
  labelCell.Get("Offset", 0, 3).Put("Value", std::string_view(" "));
  if (kind == KindAdded || kind == KindChanged || kind == KindMoved) {
    labelCell.Get("Offset", 0, 2).Get("Interior").Put("ColorIndex", indexes[kind]);
    const std::string label = RowLabel(kind, partner);
    labelCell.Put("Value", std::string_view(label));
  }
}

namespace {

struct TSession {
  TAuto app;
  TAuto sheet;
};

// Calls 1 to 5: the application, made visible, with a new workbook whose
// first sheet is named by the time; nothing when any of them fails.
std::optional<TSession> StartApplication(TAutomation& automation, const TExportHooks& hooks) {
  try {
    TSession session;
    session.app = automation.GetApplication(kSpreadsheetProgId);
    session.app.Put("Visible", true);
    session.app.Put("DisplayStatusBar", true);
    session.sheet = session.app.Get("WorkBooks").Get("Add").Get("WorkSheets", 1);
    session.sheet.Call("Activate");
    const std::string name = SheetNameOf(hooks.Now ? hooks.Now() : LocalNow());
    session.sheet.Put("Name", std::string_view(name));
    session.app.Put("ScreenUpdating", false);
    return session;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Phase 4 up to the last row: the header, then all rows or the difference
// rows with their context and separators. Returns false when cancelled;
// raises what a call raises, with `checkpoint` at the step reached.
bool TransferRows(TExportMode mode, const TSession& session, const TExportInput& input,
                  std::vector<TExportRow>& rows, const TExportHooks& hooks, int& checkpoint) {
  const TKindColorIndexes indexes = KindColorIndexes(input);
  checkpoint = 400;
  WriteHeader(session.sheet, input);
  TRowWriter writer(session.app, session.sheet, input, indexes);
  checkpoint = 401;
  const bool all = mode == TExportMode::AllLines;
  if (all) {
    checkpoint = 500;
  } else {
    checkpoint = 600;
    MarkAllContextRows(rows, input.AddRow);
  }
  std::optional<std::size_t> previous;  // the last row written
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!all && rows[i].rowKind == kRowUnchanged) continue;
    checkpoint = 501;
    writer.MoveDown();
    checkpoint = 502;
    writer.WriteCells(rows[i]);
    if (!all && (!previous || *previous + 1 != i)) writer.Separator();
    previous = i;
    writer.Progress(i);
    if (hooks.Cancelled && hooks.Cancelled()) return false;
  }
  return true;
}

// Call 11: the application's status bar and screen back to normal.
void EndTransfer(const TSession& session) {
  session.app.Put("StatusBar", std::string_view());
  session.app.Put("ScreenUpdating", true);
}

}  // namespace

void ExportToSheet(TExportMode mode, const TExportInput& input, TAutomation& automation, const TExportHooks& hooks) {
  auto show = [&hooks](const std::string& text) {
    if (hooks.ShowMessage) hooks.ShowMessage(text);
  };
  int checkpoint = 0;
  std::vector<TExportRow> rows;
  try {
    BuildExportRows(input, rows, checkpoint);
  } catch (const std::exception& e) {
    show(Failure(kMsgInitFailed, checkpoint, e.what()));  // goes on with the rows built so far
  }

  if (hooks.ProcessMessages) hooks.ProcessMessages();
  const std::optional<TSession> session = StartApplication(automation, hooks);
  if (!session) {
    show(std::string(kMsgCannotStart));
    return;
  }
  checkpoint = 303;

  std::string failure;
  bool finished = false;
  try {
    finished = TransferRows(mode, *session, input, rows, hooks, checkpoint);
    EndTransfer(*session);
  } catch (const std::exception& e) {
    failure = Failure(kMsgTransferFailed, checkpoint, e.what());
    std::vector<TExportRow>().swap(rows);
    try {
      EndTransfer(*session);
    } catch (const std::exception&) {
      // The transfer has already failed; that message is the one to show.
    }
  }
  try {
    automation.Release();
  } catch (const std::exception& e) {
    if (failure.empty()) failure = Failure(kMsgTransferFailed, checkpoint, e.what());
  }
  if (!failure.empty())
    show(failure);
  else if (finished)
    show(std::string(kMsgTransferDone));
}

}  // namespace rd
