// TForm1's commands: compare, search, the pane shortcuts, the mouse wheel,
// the other windows, help and closing.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QUrl>
#include <QWheelEvent>

#include "app/main_window.h"
#include "app/status_panels.h"
#include "app/window_texts.h"
#include "editor/editor_widget.h"
#include "editor/sjis_qstring.h"

namespace rd {

namespace {

QString U(const std::string& text) { return QString::fromStdString(text); }

// A pane shortcut: the key with exactly these modifiers runs the command.
// `consume` keeps the pane's own handling of the key from running too, for
// the keys whose own meaning there (a tab, a caret step) would undo the command.
struct TPaneShortcut {
  int key;
  Qt::KeyboardModifiers modifiers;
  void (*run)(TForm1& form, Side side);
  bool consume;
};

TEditor* MemoOf(TForm1& f, Side s) { return f.Memo(s); }

// Ctrl+A, C, V, X, Y and Z are the pane's own keys: it selects, copies,
// pastes, cuts, redoes and undoes itself, once.
const TPaneShortcut kPaneShortcuts[] = {
    {Qt::Key_Escape, Qt::NoModifier, [](TForm1& f, Side) { f.ClearSearchWord(); }, false},
    {Qt::Key_F1, Qt::NoModifier, [](TForm1& f, Side) { f.BtnHelpClick(); }, false},
    {Qt::Key_F3, Qt::NoModifier, [](TForm1& f, Side s) { f.SearchNext(s, true); }, false},
    {Qt::Key_F3, Qt::ShiftModifier, [](TForm1& f, Side s) { f.SearchNext(s, false); }, false},
    {Qt::Key_F4, Qt::NoModifier, [](TForm1& f, Side s) { f.Navigate(s, true); }, false},
    {Qt::Key_F4, Qt::ShiftModifier, [](TForm1& f, Side s) { f.Navigate(s, false); }, false},
    {Qt::Key_Tab, Qt::ControlModifier, [](TForm1& f, Side s) { f.FocusOtherPane(s); }, true},
    {Qt::Key_Up, Qt::ControlModifier, [](TForm1& f, Side s) { f.Navigate(s, false); }, true},
    {Qt::Key_Down, Qt::ControlModifier, [](TForm1& f, Side s) { f.Navigate(s, true); }, true},
    {Qt::Key_D, Qt::ControlModifier, [](TForm1& f, Side s) { MemoOf(f, s)->Model().SelectTokenAtCaret(); }, false},
    {Qt::Key_E, Qt::ControlModifier, [](TForm1& f, Side) { f.ToggleErrorColouring(); }, false},
    {Qt::Key_F, Qt::ControlModifier, [](TForm1& f, Side s) { f.SearchDialog(s); }, false},
    {Qt::Key_K, Qt::ControlModifier, [](TForm1& f, Side) { f.BtnChkClick(); }, false},
    {Qt::Key_N, Qt::ControlModifier, [](TForm1& f, Side s) { f.BtnNewClick(s); }, false},
    {Qt::Key_O, Qt::ControlModifier, [](TForm1& f, Side s) { f.BtnLoadClick(s); }, false},
    {Qt::Key_Q, Qt::ControlModifier, [](TForm1& f, Side s) { f.ToggleInfoStrip(s); }, false},
    {Qt::Key_R, Qt::ControlModifier, [](TForm1& f, Side) { f.PopAShowErrClick(); }, false},
    {Qt::Key_S, Qt::ControlModifier, [](TForm1& f, Side s) { f.BtnSaveClick(s); }, false},
    {Qt::Key_W, Qt::ControlModifier, [](TForm1& f, Side) { f.BtnFormClick(); }, false},
};

constexpr Qt::KeyboardModifiers kCompared = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

}  // namespace

// ---- compare --------------------------------------------------------------------------

void TForm1::BtnChkClick() {
  progress_->setValue(0);
  SetErrorColouringOff(false);
  std::string message;
  bool failed = false;
  try {
    // Hidden identical lines come back before the panes are read.
    comparison_.ResetResults();
    const TLineList linesA = PaneLines(Side::A);
    const TLineList linesB = PaneLines(Side::B);
    message = comparison_.CompareTexts(linesA, linesB, true, "TextA", "TextB");
  } catch (const std::bad_alloc&) {
    message = "メモリが不足しています";
    failed = true;
  } catch (const std::exception& e) {
    message = e.what();
    failed = true;
  }
  if (!message.empty()) ShowMessage(U(message));
  if (settings_.Check.FMove) {
    for (TEditor* memo : memo_) memo->Model().SetRow(0);
    for (TEditor* memo : memo_) memo->Model().SetTopRow(0);
  }
  progress_->setValue(0);
  PnlErrResize();
  if (message.empty() && !failed) {
    const std::string outcome = CompareOutcome(comparison_.Diff(Side::A).size(), comparison_.Diff(Side::B).size());
    if (!outcome.empty()) ShowMessage(U(outcome));
  }
}

TLineList TForm1::PaneLines(Side side) const {
  const TEditorScreenStrings& rows = memo_[Index(side)]->Model().Rows();
  const int count = memo_[Index(side)]->Model().Lines().Count();
  std::size_t bytes = 0;
  for (int i = 0; i < count; ++i) bytes += rows.RowText(i).size();
  TLineList lines;
  lines.Reserve(static_cast<std::size_t>(count), bytes);
  for (int i = 0; i < count; ++i) lines.Add(rows.RowText(i));
  return lines;
}

// ---- search -----------------------------------------------------------------------------

std::string TForm1::SearchWord() const {
  const TWordList& words = memo_[0]->Model().View().ReserveWordList;
  return words.Count() > 0 ? words[0] : std::string();
}

void TForm1::SetSearchWord(const std::string& word) {
  for (TEditor* memo : memo_) {
    TWordList& words = memo->Model().View().ReserveWordList;
    words.Clear();
    words.Add(word);
    memo->viewport()->update();
  }
}

void TForm1::ClearSearchWord() {
  for (TEditor* memo : memo_) {
    TWordList& words = memo->Model().View().ReserveWordList;
    if (words.Count() == 0) continue;
    words.Delete(0);
    memo->viewport()->update();
  }
}

void TForm1::SearchDialog(Side side) {
  TEditor* memo = memo_[Index(side)];
  std::string initial = memo->Model().Selected() ? memo->Model().SelText() : SearchWord();
  bool ok = false;
  const QString text = AskText ? AskText(FromSjis(initial), ok)
                               : QInputDialog::getText(this, QString::fromUtf8("検索"), QString::fromUtf8("検索文字列"),
                                                       QLineEdit::Normal, FromSjis(initial), &ok);
  if (!ok) return;
  const std::string word = ToSjis(text);
  if (word.empty()) {
    ClearSearchWord();
    return;
  }
  SetSearchWord(word);
  memo->Model().SearchText(word, sfrDown);
}

void TForm1::SearchNext(Side side, bool forward) {
  const std::string word = SearchWord();
  if (word.empty()) return;
  memo_[Index(side)]->Model().SearchText(word, forward ? sfrDown : 0);
}

// ---- keys and wheel ---------------------------------------------------------------------------

bool TForm1::PaneKeyDown(Side side, QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & kCompared;
  for (const TPaneShortcut& s : kPaneShortcuts) {
    if (s.key != event->key() || s.modifiers != modifiers) continue;
    s.run(*this, side);
    return s.consume;
  }
  return false;
}

bool TForm1::PaneWheel(QWheelEvent* event) {
  wheelRest_ += event->angleDelta().y();
  // One row per notch (120 units), both panes in step; small steps of a
  // touch pad add up to a notch.
  while (wheelRest_ >= 120 || wheelRest_ <= -120) {
    const bool down = wheelRest_ < 0;
    wheelRest_ += down ? 120 : -120;
    for (TEditor* memo : memo_) {
      TEditorModel& m = memo->Model();
      if (down && m.TopRow() < m.Lines().Count()) m.SetTopRow(m.TopRow() + 1);
      if (!down && m.TopRow() > 0) m.SetTopRow(m.TopRow() - 1);
    }
  }
  event->accept();
  return true;
}

void TForm1::FocusOtherPane(Side side) { memo_[Index(Other(side))]->setFocus(Qt::TabFocusReason); }

// ---- the other windows and help --------------------------------------------------------------

void TForm1::ShowAbout() {
  if (about_) about_->show(), about_->raise(), about_->activateWindow();
}

void TForm1::ShowBatch() {
  if (batch_) batch_->show(), batch_->raise(), batch_->activateWindow();
}

void TForm1::ShowSettingsDialog() {
  if (settingsDialog_) settingsDialog_->show(), settingsDialog_->raise(), settingsDialog_->activateWindow();
}

void TForm1::BtnHelpClick() {
  const QString help = QString::fromStdString(programDir_) + QStringLiteral("RavelleDiff.html");
  if (!QFileInfo(help).isFile()) {
    ShowMessage(QString::fromUtf8("ヘルプファイルが見つかりません。") + help);
    return;
  }
  if (OpenUrl) OpenUrl(QUrl::fromLocalFile(help));
}

// ---- closing ------------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
  const bool a = memo_[0]->Model().Modified, b = memo_[1]->Model().Modified;
  const std::string question = CloseQuestion(a, b);
  if (settings_.Editor.UpdateDlg && !question.empty() && !AskYesNo(U(question))) {
    event->ignore();
    return;
  }
  event->accept();
  for (QWidget* w : {about_.data(), batch_.data(), settingsDialog_.data()})
    if (w) w->close();
}

}  // namespace rd
