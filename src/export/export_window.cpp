// The export's window side: the progress dialog fed by the status bar, the
// desktop's spreadsheet application, and the message boxes.
#include "export/export_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QUrl>

#include "export/sheet_export.h"
#include "export/workbook_automation.h"

namespace rd {

namespace {

constexpr int kShowAfterMs = 400;    // quick exports finish without a dialog
constexpr int kRefreshEveryMs = 50;  // how often the dialog paints and hears the cancel button

QString U(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The spreadsheet's status bar as a modal dialog with a cancel button. The
// export gives the event loop a turn only here, every few rows, so that the
// dialog paints and its button can be pressed; input to other windows is
// blocked meanwhile.
class TExportProgress {
 public:
  explicit TExportProgress(QWidget* parent) : dialog_(parent) {
    dialog_.setObjectName(QStringLiteral("ExportProgress"));
    dialog_.setWindowTitle(QApplication::applicationName());
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setCancelButtonText(U("キャンセル"));
    dialog_.setRange(0, 0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    // The dialog shows itself at the first turn of the event loop after this.
    dialog_.setMinimumDuration(kShowAfterMs);
  }

  void Status(std::string_view text) {
    if (text.empty()) return;
    if (sinceRefresh_.isValid() && sinceRefresh_.elapsed() < kRefreshEveryMs) return;
    sinceRefresh_.start();
    dialog_.setLabelText(U(text));
    QCoreApplication::processEvents();
  }

  bool Cancelled() const { return dialog_.wasCanceled(); }
  // Before a message box: the box stands alone.
  void Hide() { dialog_.hide(); }

 private:
  QProgressDialog dialog_;
  QElapsedTimer sinceRefresh_;
};

}  // namespace

bool SpreadsheetApplicationRegistered() {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"),
               QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return false;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

void PopAExAllClick(int tag, const TExportInput& input, QWidget* parent, const TExportWindowHooks& hooks) {
  auto showMessage = [&](const QString& text) {
    if (hooks.ShowMessage)
      hooks.ShowMessage(text);
    else
      QMessageBox::information(parent, QApplication::applicationName(), text);
  };
  auto open = [&](const QString& path) {
    return hooks.OpenWorkbook ? hooks.OpenWorkbook(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  };

  TExportProgress progress(parent);
  TWorkbookOptions options;
  options.Folder = hooks.Folder.empty() ? ExportFolder() : hooks.Folder;
  options.HasApplication = hooks.HasSpreadsheetApplication ? hooks.HasSpreadsheetApplication
                                                           : std::function<bool()>(SpreadsheetApplicationRegistered);
  options.OnStatusBar = [&progress](std::string_view text) { progress.Status(text); };
  options.Open = [&open](const std::string& path) {
    const QString file = QString::fromStdString(path);
    return open(file) ? std::string() : "ブックを開けません: " + path;
  };
  TWorkbookAutomation automation(options);

  TExportHooks exportHooks;
  exportHooks.ShowMessage = [&showMessage, &progress](const std::string& text) {
    progress.Hide();
    showMessage(U(text));
  };
  exportHooks.ProcessMessages = [] { QCoreApplication::processEvents(); };
  exportHooks.Now = hooks.Now;
  exportHooks.Cancelled = [&progress] { return progress.Cancelled(); };
  ExportToSheet(ExportModeOfTag(tag), input, automation, exportHooks);
}

}  // namespace rd
