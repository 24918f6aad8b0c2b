// TForm1: the main window. It lays out the two panes with their title bars,
// the command bar, the information strip and the status bar, and wires the
// commands to the comparison model, the files and the other windows. The
// logic it calls lives in the core; here it is shown, asked and applied.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "batch/batch_engine.h"
#include "compare/comparison.h"
#include "compare/side.h"
#include "export/export_window.h"
#include "settings/settings.h"
#include "textcode/line_list.h"
#include "textcode/text_code.h"
#include "views/hide_identical.h"
#include "views/line_info.h"
#include "views/pane_colouring.h"

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QAction;
class QProgressBar;
class QSplitter;
class QToolButton;
class QUrl;
class QWidget;

namespace rd {

class TEditor;
class TMapBar;
class TStatusPanels;
class TCompanionServer;

// What the program hands to the main window at start.
struct TMainWindowStart {
  std::string programDir;  // ends in "/"
  std::string texta;       // command-line files, already checked to exist
  std::string textb;
};

class TForm1 : public QMainWindow, private TCompareHost, private TPairViewer {
  Q_OBJECT
 public:
  explicit TForm1(const TMainWindowStart& start, QWidget* parent = nullptr);
  ~TForm1() override;

  // The secondary windows, created after the main window; hidden until called.
  void SetSecondaryWindows(QWidget* about, QWidget* batch, QWidget* settings);
  // Steps of the start that follow the creation of all windows: show the
  // window with the files of the command line, compare, tidy the check folder.
  void Start();

  // ---- what the other windows and the tests reach
  TEditor* Memo(Side side) const { return memo_[Index(side)]; }
  TEditor* InfoMemo() const { return infoMemo_; }
  QLabel* FileLabel(Side side) const { return fileLabel_[Index(side)]; }
  TStatusPanels* Status() const { return status_; }
  QProgressBar* Progress() const { return progress_; }
  QMenu* PopupMenu(Side side) const { return popup_[Index(side)]; }
  QWidget* PnlUpdate() const { return pnlUpdate_; }
  TMapBar* PnlErr() const { return map_; }
  QWidget* PnlABase() const { return paneBase_[0]; }
  QWidget* PnlBBase() const { return paneBase_[1]; }
  QSplitter* PnlMain() const { return pnlMain_; }
  TComparison& Comparison() { return comparison_; }
  // What the batch check window runs and shows pairs with.
  TBatchEngine& BatchEngine() { return *batchEngine_; }
  TPairViewer& PairViewer() { return *this; }
  TSettings& Settings() { return settings_; }
  const std::string& ProgramDir() const { return programDir_; }
  bool SideBySide() const { return sideBySide_; }
  TextCode RecordedCode(Side side) const { return recordedCode_[Index(side)]; }
  TextCode ChosenCode(Side side) const { return chosenCode_[Index(side)]; }
  // The line counts the map bar was last computed for (at least 1).
  int MapLineCount(Side side) const;
  bool ErrorColouringOff() const { return colouring_.ColouringOff; }
  bool IdenticalLinesHidden() const { return hidden_.Active(); }

  // ---- commands, as the buttons, menus and keys run them
  void BtnChkClick();
  void BtnFormClick();
  void BtnHelpClick();
  void ShowAbout();
  void ShowBatch();
  QWidget* BatchWindow() const { return batch_; }
  void ShowSettingsDialog();
  void BtnLoadClick(Side side);
  void BtnSaveClick(Side side);
  void BtnNewClick(Side side);
  void SearchDialog(Side side);
  // F3 and Shift+F3: the search word from the caret forward or backward.
  void SearchNext(Side side, bool forward);
  // Esc: the search word leaves both panes.
  void ClearSearchWord();
  // Ctrl+Q and "変更行表示": the strip shows the line of the pane `from`.
  void ToggleInfoStrip(Side from = Side::A);
  void ShowInfoStrip(bool show, Side from = Side::A);
  // "エラー行非表示" (Ctrl+E): the panes stop or start colouring differences.
  void ToggleErrorColouring();
  // "同一行非表示" (Ctrl+R): the panes show only their difference lines, or
  // the full texts again.
  void PopAShowErrClick();
  // "Ｅｘｃｅｌ 連携": tag 1 all lines, tag 2 the differences, into a workbook.
  void PopAExAllClick(int tag);
  // "ソート": sorts one pane's lines, ignoring case, in the user's locale.
  void SortPane(Side side);
  void CopyInfoStrip();
  void FocusOtherPane(Side side);
  // Next (down) or previous difference of a pane: buttons, F4, Ctrl+Up/Down.
  void Navigate(Side side, bool down);
  // The line under a pane's caret: the last status panel and the strip.
  void MemoACaretMoved(Side side);

  // Reads `path` into a pane in `code` (Auto detects); false when nothing was loaded.
  bool LoadText(Side side, TextCode code, const std::string& path);
  // Writes a pane to `path` in `code` (Auto: the recorded code); false on failure.
  bool SaveText(Side side, TextCode code, const std::string& path);
  // A file dropped or sent to a pane, as the drop handler and the companion use it.
  void DropFile(Side side, const std::string& path);
  void ReceiveFile(Side side, const std::string& path);

  // Recomputes the map bar: the one operation every change of size, line
  // count, layout, colours or results calls.
  void PnlErrResize();
  // Applies the live settings to the panes, the strip and the window.
  void ApplySettings();

  // The file dialogs ask through these; tests replace them.
  struct TFileChoice {
    std::string path;
    TextCode code = TextCode::Auto;
  };
  std::function<bool(bool save, const std::string& preset, TFileChoice& choice)> ChooseFile;
  // Message boxes go through these so that tests can answer them.
  std::function<void(const QString& text)> ShowMessage;
  std::function<bool(const QString& text)> AskYesNo;
  std::function<bool(const QString& text)> AskOkCancel;
  // The search dialog's one-line question; `ok` false when cancelled.
  std::function<QString(const QString& initial, bool& ok)> AskText;
  // How the export reaches the spreadsheet application; tests replace parts.
  TExportWindowHooks ExportHooks;
  // Opens a page in the default browser.
  std::function<void(const QUrl& url)> OpenUrl;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // TCompareHost
  void ResultsDiscarding() override;
  void ShowErrorCounts(const PerSide<std::size_t>& counts) override;
  void ClearErrorCounts() override;
  void RepaintPanes() override;
  void ProgressStep() override;

  // TPairViewer
  void LoadText(Side side, const std::string& path) override;
  void ShowResults() override;

  // Layout (main_window.cpp)
  void BuildLayout();
  QWidget* BuildCommandBar(QWidget* parent);
  QWidget* BuildPaneBase(Side side);
  QWidget* BuildInfoStrip();
  void BuildPopupMenu(Side side);
  QWidget* BuildCodePanel();
  void SplitPanesInHalf();

  // Settings (main_window_settings.cpp)
  void ReadSettings();
  void WriteSettings();

  // Keys and edits (main_window_commands.cpp)
  bool PaneKeyDown(Side side, QKeyEvent* event);
  bool PaneWheel(QWheelEvent* event);
  void PaneChanged(Side side);
  void SetSearchWord(const std::string& word);
  std::string SearchWord() const;
  // Sets a pane's text from lines, as the hiding and sorting do.
  void SetPaneLines(Side side, const std::vector<std::string>& lines);
  void SetErrorColouringOff(bool off);
  void SetHiddenChecks(bool on);
  // Leaves the hiding of identical lines without a question.
  void RestoreFullTexts();
  void FinishHidingChange();
  std::vector<std::string> PaneLineCopy(Side side) const;
  // A pane's lines as a line list for the comparison.
  TLineList PaneLines(Side side) const;

  // Files (main_window_files.cpp)
  bool FileDialog(bool save, const std::string& preset, TFileChoice& choice);
  void SetFileLabel(Side side, const std::string& caption, const std::string& path);
  std::string FileLabelPath(Side side) const;
  // Asks "TextA" + question when the pane was edited and questions are on.
  bool ConfirmDiscard(Side side, const char* question);
  // The pane whose base lies under a screen point.
  bool PaneUnder(const QPoint& globalPos, Side& side) const;

  std::string programDir_;
  TMainWindowStart start_;
  TSettings settings_;
  TComparison comparison_;
  bool sideBySide_ = true;
  PerSide<TextCode> recordedCode_{TextCode::Auto, TextCode::Auto};
  PerSide<TextCode> chosenCode_{TextCode::Sjis, TextCode::Sjis};
  PerSide<bool> lossy_{false, false};  // the pane lost characters when it was loaded
  PerSide<std::string> labelCaption_;   // file label caption, as bytes
  PerSide<std::string> labelPath_;      // file label hint: the last file loaded or saved
  int wheelRest_ = 0;  // wheel units not yet turned into a row

  PerSide<TEditor*> memo_{};
  PerSide<QLabel*> fileLabel_{};
  PerSide<QWidget*> paneBase_{};
  PerSide<QMenu*> popup_{};
  PerSide<QAction*> popShowInfo_{};
  PerSide<QAction*> popNoErrShow_{};
  PerSide<QAction*> popShowErr_{};
  TEditor* infoMemo_ = nullptr;
  QWidget* pnlUpdate_ = nullptr;
  TMapBar* map_ = nullptr;
  TPaneColouring colouring_{comparison_, settings_.Editor};
  TLineInfoTracker lineInfo_;
  THiddenLines hidden_;
  QSplitter* pnlMain_ = nullptr;
  QToolButton* btnForm_ = nullptr;
  TStatusPanels* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QWidget* pnlCode_ = nullptr;
  QComboBox* cmbCode_ = nullptr;
  QPointer<QWidget> about_, batch_, settingsDialog_;
  std::unique_ptr<TCompanionServer> companion_;
  std::unique_ptr<TComparisonBatchEngine> batchEngine_;
};

}  // namespace rd
