// TForm1's views: navigation, the line information and the strip, the
// colouring switch, hiding identical lines, sorting and the export.
#include <QApplication>
#include <QCollator>
#include <QFile>

#include "app/main_window.h"
#include "app/status_panels.h"
#include "editor/editor_widget.h"
#include "editor/sjis_qstring.h"
#include "textcode/pane_text.h"
#include "views/navigation.h"
#include "views/sort_lines.h"

namespace rd {

// ---- navigation and the line information --------------------------------------------------

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
  TTextBuffer text = JoinWithCrLf(lines.size(), [&lines](std::size_t i) { return std::string_view(lines[i]); });
  memo_[Index(side)]->Lines().AdoptText(std::move(text.bytes), text.size);
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

}  // namespace rd
