// The editor model's caret, view position, selection and the positions
// (row and byte, character offsets) they are expressed in.
#include "editor/editor_model.h"

#include <algorithm>

#include "editor/column_model.h"
#include "editor/sjis.h"

namespace rd {

TEditorModel::TEditorModel() : TEditorModel(std::make_shared<TEditorScreenStrings>()) {}

TEditorModel::TEditorModel(std::shared_ptr<TEditorScreenStrings> rows) : rows_(std::move(rows)), lines_(*this) {
  rows_->Attach(this);
  if (rows_->ClientCount() == 1) rows_->SetFountain(&view_);
}

TEditorModel::~TEditorModel() { rows_->Detach(this); }

void TEditorModel::SetFountain(const TFountain* fountain) {
  fountain_ = fountain;
  // Only the first editor's scheme drives the start states of a shared store.
  if (rows_->Owner() == this) rows_->SetFountain(&ActiveFountain());
}

void TEditorModel::SetWordWrap(bool on) {
  rows_->SetWordWrap(on);
}

int TEditorModel::VisibleRowCount() const { return viewport_ ? std::max(1, viewport_->VisibleRowCount()) : 40; }
int TEditorModel::VisibleColCount() const { return viewport_ ? std::max(1, viewport_->VisibleColCount()) : 80; }

int TEditorModel::MaxRow() const {
  const int n = rows_->Count();
  return (n == 0 || rows_->RowEndKind(n - 1) == rowEndLine) ? n : n - 1;
}

// ---- positions -------------------------------------------------------------------

TEditorModel::TPos TEditorModel::PosOf(int row, int col) const {
  const std::string attrs = ColumnAttributesFull(rows_->RowText(row), rows_->Layout());
  const int byte = ColumnToByte(attrs, col);
  return {row, std::min(byte, static_cast<int>(rows_->RowText(row).size()))};
}

int TEditorModel::ColOf(TPos p) const { return ByteToColumn(rows_->RowText(p.row), p.byte, rows_->Layout()); }

std::int64_t TEditorModel::OffsetOf(TPos p) const {
  std::int64_t offset = 0;
  for (int r = 0; r < std::min(p.row, rows_->Count()); ++r) {
    offset += static_cast<std::int64_t>(rows_->View(r).size()) + (rows_->RowEndKind(r) == rowEndLine ? 2 : 0);
  }
  return offset + p.byte;
}

TEditorModel::TPos TEditorModel::WalkFrom(int row, std::int64_t offset) const {
  const int n = rows_->Count();
  for (int r = std::max(row, 0); r < n; ++r) {
    const auto len = static_cast<std::int64_t>(rows_->View(r).size());
    const int kind = rows_->RowEndKind(r);
    // Each row counts its bytes plus 2 (line break), 1 (end of text) or 0 (wrapped).
    const int extra = kind == rowEndLine ? 2 : kind == rowEndText ? 1 : 0;
    if (offset < len || (offset == len && kind != rowWrapped)) return {r, static_cast<int>(offset)};
    if (offset < len + extra && kind == rowEndText) return {r, static_cast<int>(len)};
    if (offset < len + extra) return {r + 1 <= MaxRow() ? r + 1 : r, r + 1 <= MaxRow() ? 0 : static_cast<int>(len)};
    offset -= len + extra;
  }
  const int last = MaxRow();
  return {last, static_cast<int>(rows_->RowText(last).size())};
}

TEditorModel::TPos TEditorModel::PosAtOffset(std::int64_t offset) const { return WalkFrom(0, std::max<std::int64_t>(offset, 0)); }

TEditorModel::TPos TEditorModel::NextCharPos(TPos p) const {
  const std::string_view text = rows_->RowText(p.row);
  if (p.byte < static_cast<int>(text.size())) return {p.row, p.byte + static_cast<int>(sjis::CharLength(text, p.byte))};
  if (p.row >= rows_->Count()) return p;
  const int kind = rows_->RowEndKind(p.row);
  if (kind == rowEndText) return p;
  if (kind == rowWrapped) {
    const std::string_view next = rows_->RowText(p.row + 1);
    return {p.row + 1, next.empty() ? 0 : static_cast<int>(sjis::CharLength(next, 0))};
  }
  return {p.row + 1, 0};
}

TEditorModel::TPos TEditorModel::PrevCharPos(TPos p) const {
  if (p.byte > 0) {
    const std::string_view text = rows_->RowText(p.row);
    int i = 0, start = 0;
    while (i < p.byte) {
      start = i;
      i += static_cast<int>(sjis::CharLength(text, static_cast<std::size_t>(i)));
    }
    return {p.row, start};
  }
  if (p.row == 0) return p;
  const int prev = p.row - 1;
  const std::string_view text = rows_->RowText(prev);
  if (rows_->RowEndKind(prev) == rowWrapped && !text.empty()) return PrevCharPos({prev, static_cast<int>(text.size())});
  return {prev, static_cast<int>(text.size())};
}

// ---- caret ----------------------------------------------------------------------

int TEditorModel::NormalizeCol(int row, int col, bool forward) const {
  col = std::clamp(col, 0, kMaxColumns + 1);
  const std::string attrs = ColumnAttributesFull(rows_->RowText(row), rows_->Layout());
  const int end = static_cast<int>(attrs.size());
  if (!Caret.FreeCaret && col > end) col = end;
  auto at = [&](int c) { return c >= 0 && c < end ? attrs[static_cast<std::size_t>(c)] : '0'; };
  if (at(col) == '5') col += forward ? 1 : -1;
  if (!Caret.InTab && at(col) == '3') {
    if (forward) {
      while (at(col) == '3') ++col;
    } else {
      while (col > 0 && at(col) == '3') --col;
    }
  }
  if (rows_->WordWrap() && rows_->RowEnd(row) == rowWrapped && col >= end) col = std::max(end - 1, 0);
  if (col > kMaxColumns && at(kMaxColumns) != '4') col = kMaxColumns;
  if (at(col) == '5') --col;  // a clamp may land on a trail half
  return col;
}

void TEditorModel::SetRow(int row) {
  row = std::clamp(row, 0, MaxRow());
  if (row == row_ && row != rows_->Count()) return;
  MoveCaret(row, Caret.KeepCaret ? wantedCol_ : col_, true, false);
}

void TEditorModel::SetCol(int col) {
  const bool forward = col >= col_;
  MoveCaret(row_, col, forward, false);
  wantedCol_ = col_;
}

void TEditorModel::SetRowCol(int row, int col) {
  MoveCaret(std::clamp(row, 0, MaxRow()), col, col >= col_, false);
  wantedCol_ = col_;
}

void TEditorModel::MoveCaret(int row, int col, bool forward, bool extend) {
  row = std::clamp(row, 0, MaxRow());
  if (extend && selState_ != TSelectionState::Selected) {
    anchorRow_ = row_;
    anchorCol_ = col_;
    SetSelState(TSelectionState::Selected);
  } else if (!extend && selState_ != TSelectionState::None) {
    SetSelState(TSelectionState::None);
  }
  const int oldRow = row_;
  row_ = row;
  col_ = NormalizeCol(row, col, forward);
  if (extend && OnInvalidate) OnInvalidate(std::min(oldRow, row_), std::abs(oldRow - row_) + 1);
  CaretMoved();
}

void TEditorModel::CaretMoved() {
  if (updating_ > 0) return;
  if (viewport_ && !viewport_->HasFocus()) return;
  const int rows = VisibleRowCount(), cols = VisibleColCount();
  if (row_ < topRow_) SetTopRow(row_);
  else if (row_ >= topRow_ + rows) SetTopRow(row_ - rows + 1);
  if (col_ < topCol_) SetTopCol(std::max(0, std::min(col_, topCol_ - cols / 4)));
  else if (col_ >= topCol_ + cols) SetTopCol(std::min(std::max(col_ - cols + 1, topCol_ + cols / 4), kMaxColumns - cols / 2));
  if (OnCaretMoved) OnCaretMoved();
}

void TEditorModel::SetTopRow(int row) {
  row = std::clamp(row, 0, rows_->Count());
  if (row == topRow_) return;
  topRow_ = row;
  if (OnTopRowChange) OnTopRowChange();
}

void TEditorModel::SetTopCol(int col) {
  col = std::clamp(col, 0, std::max(0, kMaxColumns - VisibleColCount() / 2));
  if (col == topCol_) return;
  topCol_ = col;
  if (OnTopColChange) OnTopColChange();
}

void TEditorModel::MoveLeft(bool extend) {
  if (col_ == 0 && row_ > 0) {
    const int prev = row_ - 1;
    MoveCaret(prev, rows_->TextDisplayWidth(rows_->RowText(prev)), false, extend);
  } else {
    MoveCaret(row_, col_ - 1, false, extend);
  }
  wantedCol_ = col_;
}

void TEditorModel::MoveRight(bool extend) {
  const int end = rows_->TextDisplayWidth(rows_->RowText(row_));
  if (col_ >= end && !Caret.FreeCaret && row_ < MaxRow()) MoveCaret(row_ + 1, 0, true, extend);
  else MoveCaret(row_, col_ + 1, true, extend);
  wantedCol_ = col_;
}

void TEditorModel::MoveUp(bool extend) { MoveCaret(row_ - 1, Caret.KeepCaret ? wantedCol_ : col_, false, extend); }
void TEditorModel::MoveDown(bool extend) { MoveCaret(row_ + 1, Caret.KeepCaret ? wantedCol_ : col_, false, extend); }

void TEditorModel::MoveHome(bool extend) {
  MoveCaret(row_, 0, false, extend);
  wantedCol_ = 0;
}

void TEditorModel::MoveEnd(bool extend) {
  MoveCaret(row_, rows_->TextDisplayWidth(rows_->RowText(row_)), true, extend);
  wantedCol_ = col_;
}

void TEditorModel::MoveTextStart(bool extend) { MoveCaret(0, 0, false, extend); }

void TEditorModel::MoveTextEnd(bool extend) {
  const int last = MaxRow();
  MoveCaret(last, rows_->TextDisplayWidth(rows_->RowText(last)), true, extend);
}

void TEditorModel::PageUp(bool extend, int speed) {
  const int step = std::max(1, (VisibleRowCount() - 1) / 2 * std::max(1, speed));
  if (topRow_ == 0) {
    MoveCaret(0, col_, false, extend);
    return;
  }
  const int offset = row_ - topRow_;
  SetTopRow(topRow_ - step);
  MoveCaret(topRow_ + offset, col_, false, extend);
}

void TEditorModel::PageDown(bool extend, int speed) {
  const int n = rows_->Count();
  if (n > 0 && topRow_ >= n - 1 && rows_->RowEndKind(n - 1) != rowEndLine) return;
  const int step = std::max(1, (VisibleRowCount() - 1) / 2 * std::max(1, speed));
  const int offset = row_ - topRow_;
  SetTopRow(topRow_ + step);
  MoveCaret(topRow_ + offset, col_, false, extend);
}

// ---- selection ------------------------------------------------------------------

void TEditorModel::SetSelState(TSelectionState s) {
  if (s == selState_) return;
  const bool was = Selected();
  selState_ = s;
  if (s == TSelectionState::None && selMode_ == TSelectionMode::Block) selMode_ = TSelectionMode::Stream;
  if (was != Selected() && OnSelectionChange) OnSelectionChange(Selected());
  if (OnInvalidate) OnInvalidate(topRow_, VisibleRowCount());
}

void TEditorModel::SetSelectionMode(TSelectionMode mode) { selMode_ = mode; }

void TEditorModel::SelectionBounds(int& startRow, int& startCol, int& endRow, int& endCol) const {
  if (!Selected()) {
    startRow = endRow = row_;
    startCol = endCol = col_;
    return;
  }
  if (selMode_ == TSelectionMode::Block) {
    startRow = std::min(anchorRow_, row_);
    endRow = std::max(anchorRow_, row_);
    startCol = std::min(anchorCol_, col_);
    endCol = std::max(anchorCol_, col_);
    return;
  }
  const bool anchorFirst = anchorRow_ < row_ || (anchorRow_ == row_ && anchorCol_ <= col_);
  startRow = anchorFirst ? anchorRow_ : row_;
  startCol = anchorFirst ? anchorCol_ : col_;
  endRow = anchorFirst ? row_ : anchorRow_;
  endCol = anchorFirst ? col_ : anchorCol_;
}

void TEditorModel::Select(int anchorRow, int anchorCol, int row, int col, TSelectionMode mode) {
  anchorRow = std::clamp(anchorRow, 0, MaxRow());
  anchorCol = NormalizeCol(anchorRow, anchorCol, false);
  row = std::clamp(row, 0, MaxRow());
  col = NormalizeCol(row, col, true);
  selMode_ = mode;
  anchorRow_ = anchorRow;
  anchorCol_ = anchorCol;
  const bool empty = anchorRow == row && anchorCol == col;
  SetSelState(empty ? TSelectionState::None : TSelectionState::Selected);
  row_ = row;
  col_ = col;
  wantedCol_ = col;
  CaretMoved();
}

void TEditorModel::ClearSelection() { SetSelState(TSelectionState::None); }

void TEditorModel::SelectAll() {
  const int last = MaxRow();
  Select(0, 0, last, rows_->TextDisplayWidth(rows_->RowText(last)));
}

std::int64_t TEditorModel::SelStart() const {
  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  return OffsetOf(PosOf(sr, sc));
}

void TEditorModel::SetSelStart(std::int64_t offset) {
  SetSelState(TSelectionState::None);
  const TPos p = PosAtOffset(offset);
  MoveCaret(p.row, ColOf(p), true, false);
  wantedCol_ = col_;
}

std::int64_t TEditorModel::SelLength() const {
  if (!Selected()) return 0;
  if (selMode_ == TSelectionMode::Block) return static_cast<std::int64_t>(SelText().size());
  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  return OffsetOf(PosOf(er, ec)) - OffsetOf(PosOf(sr, sc));
}

void TEditorModel::SetSelLength(std::int64_t length) {
  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  if (length <= 0) {
    SetSelState(TSelectionState::None);
    MoveCaret(sr, sc, false, false);
    return;
  }
  const TPos start = PosOf(row_, col_);
  const TPos end = PosAtOffset(OffsetOf(start) + length);
  Select(row_, col_, end.row, ColOf(end), TSelectionMode::Stream);
}

std::string TEditorModel::SelText() const {
  if (!Selected()) return {};
  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  if (selMode_ == TSelectionMode::Block) {
    std::string out;
    for (int r = sr; r <= er && r < rows_->Count(); ++r) {
      const TPos a = PosOf(r, sc), b = PosOf(r, ec);
      if (r > sr) out += "\r\n";
      out.append(rows_->RowText(r).substr(static_cast<std::size_t>(a.byte), static_cast<std::size_t>(b.byte - a.byte)));
    }
    return out;
  }
  const TPos a = PosOf(sr, sc), b = PosOf(er, ec);
  if (a.row == b.row) {
    return std::string(rows_->RowText(a.row).substr(static_cast<std::size_t>(a.byte), static_cast<std::size_t>(b.byte - a.byte)));
  }
  std::string out(rows_->RowText(a.row).substr(static_cast<std::size_t>(a.byte)));
  if (rows_->RowEnd(a.row) == rowEndLine) out += "\r\n";
  out += rows_->RowRangeText(a.row + 1, b.row - a.row - 1);
  out.append(rows_->RowText(b.row).substr(0, static_cast<std::size_t>(b.byte)));
  return out;
}

// ---- notifications from the row store --------------------------------------------

void TEditorModel::RowsChanged(const TChangeRecord& change) {
  if (change.Changed) Modified = true;
  if (OnInvalidate) {
    if (change.WholeText || change.OldCount != change.NewCount) OnInvalidate(change.WholeText ? 0 : change.FirstRow, -1);
    else OnInvalidate(change.FirstRow, change.NewCount + change.StateRows);
  }
  // Keep the caret, the anchor and the view inside the (new) rows.
  const int maxRow = MaxRow();
  if (rows_->Count() == 0) {
    row_ = col_ = anchorRow_ = anchorCol_ = 0;
    SetSelState(TSelectionState::None);
  }
  if (row_ > maxRow) row_ = maxRow;
  if (anchorRow_ > maxRow) anchorRow_ = maxRow;
  col_ = NormalizeCol(row_, col_, false);
  if (topRow_ > rows_->Count()) SetTopRow(rows_->Count());
  if (change.Changed && OnChange) OnChange();
}

void TEditorModel::RowsInvalidated(int first, int count) {
  if (OnInvalidate) OnInvalidate(first, count);
}

std::string TEditorModel::checkInvariants() const {
  if (row_ < 0 || row_ > MaxRow()) return "caret row outside the text";
  if (col_ < 0 || col_ > kMaxColumns + 1) return "caret column outside 0..1001";
  if (topRow_ < 0 || topRow_ > rows_->Count()) return "top row outside the text";
  if (Selected() && (anchorRow_ < 0 || anchorRow_ > MaxRow())) return "selection anchor outside the text";
  const std::string attrs = ColumnAttributesFull(rows_->RowText(row_), rows_->Layout());
  if (col_ < static_cast<int>(attrs.size()) && attrs[static_cast<std::size_t>(col_)] == '5') return "caret on a trail byte";
  if (!Caret.FreeCaret && col_ > static_cast<int>(attrs.size())) return "caret past the end of its row";
  return rows_->checkInvariants();
}

}  // namespace rd
