// The workbook backend: the calls of the export build a real .xlsx file with
// libxlsxwriter in its constant-memory mode, named after the sheet, in the
// program's cache folder; the "visible application" is the user's
// spreadsheet program, which gets the file when the export lets go of it.
//
// What it understands is what the export sends: the application's switches
// and status bar, one workbook with one sheet and its name, the font of all
// cells, values, fills by palette index and top borders of cells, widths and
// number formats of columns. Rows are written top to bottom; a row is kept
// in memory until a lower row is touched, and cannot be changed after that.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "export/automation.h"

namespace rd {

struct TWorkbookOptions {
  // Where the workbook goes; made when missing. It also holds the temporary
  // files of the constant-memory mode.
  std::string Folder;
  // True when a spreadsheet application is registered for workbooks; unset
  // means none is.
  std::function<bool()> HasApplication;
  // Shows the application's status bar text (empty: back to normal).
  std::function<void(std::string_view text)> OnStatusBar;
  // Opens the finished workbook in the application; returns an error text,
  // empty on success. Unset: the file is only written.
  std::function<std::string(const std::string& path)> Open;
};

class TWorkbookAutomation : public TAutomation {
 public:
  explicit TWorkbookAutomation(TWorkbookOptions options);
  ~TWorkbookAutomation() override;
  TWorkbookAutomation(const TWorkbookAutomation&) = delete;
  TWorkbookAutomation& operator=(const TWorkbookAutomation&) = delete;

  // Raises TAutoError for another program identifier or when no application
  // is registered.
  TAuto GetApplication(std::string_view progId) override;
  // Writes the workbook, gives it its name, "<sheet name>.xlsx" (" (2)" and
  // so on before the extension when that file exists), and opens it when the
  // application was made visible. Nothing happens when no workbook was added.
  void Release() override;

  // The workbook file once Release has written it, else empty.
  std::string Path() const;

  struct TBook;

 private:
  std::shared_ptr<TBook> book_;
};

// The program's cache folder with a trailing "/": $XDG_CACHE_HOME/RavelleDiff/
// when that is an absolute path, else $HOME/.cache/RavelleDiff/.
std::string ExportFolder();

// An exported workbook stands for an unsaved one in the user's spreadsheet
// application: the workbooks (*.xlsx, and temporary files left by a failed
// export) that `folder` holds from `days` days before `now` and earlier
// are removed, so that they do not pile up. Nothing else is touched.
void TidyExportFolder(const std::string& folder, std::filesystem::file_time_type now, int days = 7);

}  // namespace rd
