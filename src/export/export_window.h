// The export as the panes' menus run it: "Ｅｘｃｅｌ 連携" › "全行出力" (tag 1)
// and "差分出力" (tag 2). It writes the workbook with a progress dialog that
// shows the spreadsheet's status bar and can cancel, then opens the workbook
// in the user's spreadsheet application.
#pragma once

#include <QString>

#include <ctime>
#include <functional>
#include <string>

#include "export/export_input.h"

class QWidget;

namespace rd {

// Everything the export asks of the desktop; tests replace them. Unset
// members take the defaults named.
struct TExportWindowHooks {
  // Default: an information box with the application's name as caption.
  std::function<void(const QString& text)> ShowMessage;
  // Default: SpreadsheetApplicationRegistered().
  std::function<bool()> HasSpreadsheetApplication;
  // Opens the finished workbook; default: the desktop's handler for the file.
  std::function<bool(const QString& path)> OpenWorkbook;
  // The workbook's folder; default: ExportFolder().
  std::string Folder;
  // The time that names the sheet; default: now.
  std::function<std::tm()> Now;
};

// The menu items' one handler: tag 1 exports all lines, any other tag the
// differences with input.AddRow lines of context.
void PopAExAllClick(int tag, const TExportInput& input, QWidget* parent, const TExportWindowHooks& hooks = {});

// True when the desktop names an application for .xlsx workbooks
// (xdg-mime query default application/vnd.openxmlformats-officedocument.spreadsheetml.sheet).
bool SpreadsheetApplicationRegistered();

}  // namespace rd
