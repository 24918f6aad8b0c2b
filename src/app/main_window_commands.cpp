// TForm1's commands: compare, search, the pane shortcuts, the mouse wheel,
// the information strip, the other windows, help and closing.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
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
#include "views/navigation.h"
#include "views/sort_lines.h"

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

void TForm1::Navigate(Side side, bool down) {
  TEditor* own = memo_[Index(side)];
  TEditor* other = memo_[Index(Other(side))];
  const auto pane = [](const TEditor* e) {
    const TEditorModel& m = e->Model();
    return TNavPane{m.Row(), m.TopRow(), m.VisibleRowCount(), m.Lines().Count()};
  };
  const TNavPlan plan = PlanNavigation({side, !down}, comparison_.Diff(side), pane(own), pane(other));
  if (plan.OwnTopRow) own->Model().SetTopRow(*plan.OwnTopRow);
  own->Model().SetRow(plan.OwnCaretRow);
  other->Model().SetTopRow(plan.OtherTopRow);
  if (plan.OtherCaretRow) other->Model().SetRow(*plan.OtherCaretRow);
  if (plan.FocusOwn && !own->hasFocus()) own->setFocus(Qt::OtherFocusReason);
}

void TForm1::MemoACaretMoved(Side side) {
  const Side other = Other(side);
  const std::optional<TLineInfo> info =
      lineInfo_.CaretMoved(side, memo_[Index(side)]->Model().Row(), comparison_.Diff(side),
                           memo_[Index(other)]->Lines().Count(), pnlUpdate_->isVisible());
  if (!info) return;
  status_->SetPanelText(6, QString::fromStdString(info->Panel));
  if (info->Strip == TStripAction::Untouched) return;
  TEditorStrings& strip = infoMemo_->Lines();
  if (info->Strip == TStripAction::Clear) {
    strip.SetText("");
    return;
  }
  const TStripContent content = MakeStrip(memo_[0]->Lines().Get(info->PairRows[0]), memo_[1]->Lines().Get(info->PairRows[1]));
  strip.SetText(content.LineA + "\r\n" + content.LineB);
  infoMemo_->Model().SetSelStart(content.SelStart);
  infoMemo_->Model().SetSelLength(content.SelLength);
}

// ---- the information strip and the colouring switch -------------------------------------

void TForm1::ShowInfoStrip(bool show, Side from) {
  pnlUpdate_->setVisible(show);
  for (QAction* action : popShowInfo_) action->setChecked(show);
  if (show) {
    lineInfo_.Forget();
    MemoACaretMoved(from);
  }
  // The panes' height changed only after the layout ran.
  QApplication::sendPostedEvents(this, QEvent::LayoutRequest);
  PnlErrResize();
}

void TForm1::ToggleInfoStrip(Side from) { ShowInfoStrip(!pnlUpdate_->isVisible(), from); }

void TForm1::SetErrorColouringOff(bool off) {
  colouring_.ColouringOff = off;
  for (QAction* action : popNoErrShow_) action->setChecked(off);
}

void TForm1::ToggleErrorColouring() {
  SetErrorColouringOff(!colouring_.ColouringOff);
  RepaintPanes();
}

// ---- export -------------------------------------------------------------------------------------

void TForm1::PopAExAllClick(int tag) {
  TExportInput input;
  for (const Side side : {Side::A, Side::B}) {
    const TEditorScreenStrings& rows = memo_[Index(side)]->Model().Rows();
    input.Lines[Index(side)] = {static_cast<std::size_t>(memo_[Index(side)]->Lines().Count()),
                                [&rows](std::size_t i) { return rows.RowText(static_cast<int>(i)); }};
    input.Diff[Index(side)] = comparison_.Diff(side);
    input.Caption[Index(side)] = QFile::decodeName(QByteArray::fromStdString(labelCaption_[Index(side)])).toStdString();
  }
  input.InsColor = settings_.Editor.InsColor;
  input.UpdColor = settings_.Editor.UpdColor;
  input.MovColor = settings_.Editor.MovColor;
  input.AddRow = settings_.AddRow;
  TExportWindowHooks hooks = ExportHooks;
  if (!hooks.ShowMessage) hooks.ShowMessage = ShowMessage;
  rd::PopAExAllClick(tag, input, this, hooks);
}

// ---- hiding identical lines and sorting ---------------------------------------------------

std::vector<std::string> TForm1::PaneLineCopy(Side side) const {
  const TEditorModel& m = memo_[Index(side)]->Model();
  const int count = m.Lines().Count();
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) lines.emplace_back(m.Rows().RowText(i));
  return lines;
}

void TForm1::SetPaneLines(Side side, const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 2;
  auto buffer = std::make_unique<char[]>(std::max<std::size_t>(bytes, 1));
  char* out = buffer.get();
  for (const std::string& line : lines) {
    out = std::copy(line.begin(), line.end(), out);
    *out++ = '\r';
    *out++ = '\n';
  }
  memo_[Index(side)]->Lines().AdoptText(std::move(buffer), bytes);
}

void TForm1::SetHiddenChecks(bool on) {
  for (QAction* action : popShowErr_) action->setChecked(on);
}

void TForm1::PopAShowErrClick() {
  if (!hidden_.Active()) {
    TPaneTexts full;
    for (const Side side : {Side::A, Side::B}) {
      full.Lines[Index(side)] = PaneLineCopy(side);
      full.Modified[Index(side)] = memo_[Index(side)]->Model().Modified;
    }
    const PerSide<TPaneLines> reduced = hidden_.Hide(comparison_, std::move(full));
    SetHiddenChecks(true);
    for (const Side side : {Side::A, Side::B}) {
      SetPaneLines(side, reduced[Index(side)]);
      memo_[Index(side)]->Model().Modified = false;
    }
  } else {
    if ((memo_[0]->Model().Modified || memo_[1]->Model().Modified) && !AskOkCancel(QString::fromUtf8(kShowDropsEditsQuestion))) {
      SetHiddenChecks(true);
      return;
    }
    RestoreFullTexts();
  }
  FinishHidingChange();
}

void TForm1::RestoreFullTexts() {
  SetHiddenChecks(false);
  const TPaneTexts full = hidden_.Show(comparison_);
  for (const Side side : {Side::A, Side::B}) {
    SetPaneLines(side, full.Lines[Index(side)]);
    memo_[Index(side)]->Model().Modified = full.Modified[Index(side)];
  }
  FinishHidingChange();
}

void TForm1::FinishHidingChange() {
  lineInfo_.Forget();
  colouring_.DropCharDiffs();
  for (TEditor* memo : memo_) {
    memo->Model().SetRowCol(0, 0);
    memo->Model().SetTopRow(0);
  }
  if (colouring_.ColouringOff) ToggleErrorColouring();
  RepaintPanes();
  PnlErrResize();
}

void TForm1::SortPane(Side side) {
  comparison_.ResetResults();
  std::vector<std::string> lines = PaneLineCopy(side);
  QCollator collator;  // the user's locale
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(lines.size());
  for (const std::string& line : lines) keys.push_back(collator.sortKey(FromSjis(line)));
  const std::vector<std::size_t> order =
      SortOrder(lines.size(), [&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
  ApplyOrder(lines, order);
  SetPaneLines(side, lines);
  PnlErrResize();
}

void TForm1::CopyInfoStrip() {
  infoMemo_->SelectAll();
  infoMemo_->CopyToClipboard();
  infoMemo_->Model().ClearSelection();
}

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
