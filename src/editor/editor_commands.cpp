// Editing commands of the model and the line view `Lines`. Every change of
// the text goes through the row store's replace-rows primitive; the caret is
// then placed by character offset from the first row of the change.
#include <algorithm>

#include "editor/column_model.h"
#include "editor/editor_model.h"
#include "editor/sjis.h"

namespace rd {

namespace {

// Line breaks of any kind become CR LF, so that offsets count them as 2.
std::string NormalizeBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

void TEditorModel::ReplaceRange(TPos from, TPos to, std::string_view text) {
  TEditorScreenStrings& rows = *rows_;
  const std::string ins = NormalizeBreaks(text);
  const int count = rows.Count();
  const int first = from.row < count ? rows.FirstRowOfLine(from.row) : from.row;
  // Offset of the new caret from the start of the line's first row.
  std::int64_t caret = static_cast<std::int64_t>(ins.size()) + from.byte;
  for (int r = first; r < from.row; ++r) caret += static_cast<std::int64_t>(rows.View(r).size());
  if (from.row >= count) {
    rows.ReplaceRows(count, 0, ins);
  } else {
    std::string t(rows.RowText(from.row).substr(0, static_cast<std::size_t>(from.byte)));
    t += ins;
    int last = to.row;
    if (to.row >= count) {
      last = count - 1;
    } else {
      t.append(rows.RowText(to.row).substr(static_cast<std::size_t>(to.byte)));
      if (rows.RowEndKind(to.row) == rowEndLine) t += "\r\n";
    }
    rows.ReplaceRows(from.row, last - from.row + 1, t);
  }
  SetSelState(TSelectionState::None);
  const TPos p = WalkFrom(first, caret);
  MoveCaret(p.row, ColOf(p), true, false);
  wantedCol_ = col_;
}

void TEditorModel::DeleteSelection() {
  if (ReadOnly || !Selected()) return;
  if (selMode_ == TSelectionMode::Block && !rows_->WordWrap()) {
    DeleteBlock();
    return;
  }
  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  ReplaceRange(PosOf(sr, sc), PosOf(er, ec), {});
}

void TEditorModel::InsertText(std::string_view text) {
  if (ReadOnly) return;
  if (Selected()) {
    int sr, sc, er, ec;
    SelectionBounds(sr, sc, er, ec);
    if (selMode_ == TSelectionMode::Block && !rows_->WordWrap()) {
      DeleteBlock();
    } else {
      if (text.empty()) {
        ReplaceRange(PosOf(sr, sc), PosOf(er, ec), {});
        return;
      }
      ReplaceRange(PosOf(sr, sc), PosOf(er, ec), text);
      return;
    }
  }
  if (text.empty()) return;
  // A caret past the end of its row: the gap is filled with spaces.
  const TPos at = PosOf(row_, col_);
  const int width = rows_->TextDisplayWidth(rows_->RowText(row_));
  std::string padded;
  if (row_ < rows_->Count() && col_ > width) padded.assign(static_cast<std::size_t>(col_ - width), ' ');
  padded.append(text);
  ReplaceRange(at, at, padded);
}

void TEditorModel::TypeChar(std::string_view ch) {
  if (ReadOnly || ch.empty()) return;
  if (Overwrite && !Selected()) {
    const TPos at = PosOf(row_, col_);
    const std::string_view text = rows_->RowText(row_);
    if (at.byte < static_cast<int>(text.size())) {
      ReplaceRange(at, {at.row, at.byte + static_cast<int>(sjis::CharLength(text, static_cast<std::size_t>(at.byte)))}, ch);
      return;
    }
  }
  InsertText(ch);
}

void TEditorModel::DeleteChar() {
  if (ReadOnly) return;
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const TPos at = PosOf(row_, col_);
  const TPos next = NextCharPos(at);
  if (next.row == at.row && next.byte == at.byte) return;
  ReplaceRange(at, next, {});
}

void TEditorModel::BackSpace() {
  if (ReadOnly) return;
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const TPos at = PosOf(row_, col_);
  if (col_ > rows_->TextDisplayWidth(rows_->RowText(row_))) {
    MoveLeft(false);  // past the end of the row: only the caret moves
    return;
  }
  const TPos prev = PrevCharPos(at);
  if (prev.row == at.row && prev.byte == at.byte) return;
  ReplaceRange(prev, at, {});
}

void TEditorModel::NewLine() {
  if (ReadOnly) return;
  std::string text = "\r\n";
  if (Caret.AutoIndent) {
    // The new line starts with the blanks that begin the caret's line.
    const int first = rows_->FirstRowOfLine(row_);
    const std::string_view line = rows_->RowText(first);
    std::size_t n = 0;
    while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
    const TPos at = PosOf(row_, col_);
    if (!(first == row_ && static_cast<std::size_t>(at.byte) < n)) text.append(line.substr(0, n));
  }
  InsertText(text);
}

void TEditorModel::TabKey() {
  if (ReadOnly) return;
  if (!Caret.SoftTab) {
    TypeChar("\t");
    return;
  }
  const int tab = rows_->TabSpaceCount();
  InsertText(std::string(static_cast<std::size_t>(tab - col_ % tab), ' '));
}

std::string TEditorModel::CutText() {
  if (ReadOnly || !Selected()) return {};
  std::string text = SelText();
  DeleteSelection();
  return text;
}

void TEditorModel::PasteText(std::string_view text, bool block) {
  if (ReadOnly || text.empty()) return;
  if (block && !rows_->WordWrap()) {
    if (Selected()) DeleteSelection();
    PasteBlock(text);
    return;
  }
  InsertText(text);
}

// Removes the block's columns from every row of it, in one change.
void TEditorModel::DeleteBlock() {
  int sr, sc, er, ec;
  SelectionBounds(sr, sc, er, ec);
  er = std::min(er, rows_->Count() - 1);
  if (er < sr) {
    SetSelState(TSelectionState::None);
    return;
  }
  std::string t;
  for (int r = sr; r <= er; ++r) {
    const std::string_view text = rows_->RowText(r);
    const TPos a = PosOf(r, sc), b = PosOf(r, ec);
    t.append(text.substr(0, static_cast<std::size_t>(a.byte)));
    t.append(text.substr(static_cast<std::size_t>(b.byte)));
    if (rows_->RowEndKind(r) == rowEndLine) t += "\r\n";
  }
  SetSelState(TSelectionState::None);
  rows_->ReplaceRows(sr, er - sr + 1, t);
  MoveCaret(sr, sc, false, false);
}

// Each line of `text` goes to the caret column of successive rows; short
// rows are padded with spaces, missing rows are added.
void TEditorModel::PasteBlock(std::string_view text) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    if (start >= text.size()) break;
  }
  const int r0 = row_, c0 = col_;
  const int count = rows_->Count();
  const int last = std::min(count - 1, r0 + static_cast<int>(pieces.size()) - 1);
  std::string t;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const int r = r0 + static_cast<int>(k);
    std::string row(r < count ? rows_->RowText(r) : std::string_view());
    const int width = rows_->TextDisplayWidth(row);
    int byte;
    if (width < c0) {
      row.append(static_cast<std::size_t>(c0 - width), ' ');
      byte = static_cast<int>(row.size());
    } else {
      byte = PosOf(r, c0).byte;
    }
    row.insert(static_cast<std::size_t>(byte), pieces[k]);
    t += row;
    const bool more = k + 1 < pieces.size();
    const bool textEndsWithBreak = count > 0 && rows_->RowEndKind(count - 1) == rowEndLine;
    if (r < count ? (rows_->RowEndKind(r) == rowEndLine || more) : (more || textEndsWithBreak)) t += "\r\n";
  }
  if (r0 >= count) rows_->ReplaceRows(count, 0, t);
  else rows_->ReplaceRows(r0, last - r0 + 1, t);
  MoveCaret(r0, c0, false, false);
}

void TEditorModel::Undo() {
  if (ReadOnly) return;
  int r = 0, c = 0;
  SetSelState(TSelectionState::None);
  if (rows_->Undo(r, c)) SetRowCol(r, c);
}

void TEditorModel::Redo() {
  if (ReadOnly) return;
  int r = 0, c = 0;
  SetSelState(TSelectionState::None);
  if (rows_->Redo(r, c)) SetRowCol(r, c);
}

// ---- Lines -------------------------------------------------------------------------

int TEditorStrings::Count() const { return owner_.Rows().LineCount(); }

std::string TEditorStrings::Get(int i) const {
  const TEditorScreenStrings& rows = owner_.Rows();
  const int r = rows.LineToRow(i);
  if (i < 0 || r >= rows.Count()) return rows.Get(rows.Count());  // raises the list error
  std::string text = rows.RowRangeText(r, -1);
  if (text.size() >= 2 && text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

void TEditorStrings::Put(int i, std::string_view s) {
  TEditorScreenStrings& rows = owner_.Rows();
  const int r = rows.LineToRow(i);
  if (i < 0 || r >= rows.Count()) rows.View(rows.Count());  // raises the list error
  const int last = rows.LastRowOfLine(r);
  const bool lineBreak = rows.RowEndKind(last) == rowEndLine;
  owner_.ReplaceRange({r, 0}, {last, static_cast<int>(rows.View(last).size())}, s);
  // The caret goes just after the line's break, when it has one.
  if (lineBreak) owner_.SetRowCol(owner_.Row() + 1, 0);
}

void TEditorStrings::Insert(int i, std::string_view s) {
  TEditorScreenStrings& rows = owner_.Rows();
  if (i == Count()) {
    Add(s);
    return;
  }
  const int r = rows.LineToRow(i);
  if (i < 0 || r >= rows.Count()) rows.View(rows.Count());  // raises the list error
  std::string t(s);
  t += "\r\n";
  owner_.ReplaceRange({r, 0}, {r, 0}, t);
}

int TEditorStrings::Add(std::string_view s) {
  TEditorScreenStrings& rows = owner_.Rows();
  const int index = Count();
  const int n = rows.Count();
  std::string t(s);
  t += "\r\n";
  if (n > 0 && rows.RowEndKind(n - 1) != rowEndLine) {
    // The last line gets its line break first.
    const int last = n - 1;
    owner_.ReplaceRange({last, static_cast<int>(rows.View(last).size())}, {last, static_cast<int>(rows.View(last).size())}, "\r\n" + t);
  } else {
    owner_.ReplaceRange({n, 0}, {n, 0}, t);
  }
  return index;
}

void TEditorStrings::Delete(int i) {
  TEditorScreenStrings& rows = owner_.Rows();
  const int r = rows.LineToRow(i);
  if (i < 0 || r >= rows.Count()) rows.View(rows.Count());  // raises the list error
  const int last = rows.LastRowOfLine(r);
  rows.ReplaceRows(r, last - r + 1, {});
  owner_.SetSelState(TSelectionState::None);
  owner_.MoveCaret(std::min(r, owner_.MaxRow()), 0, false, false);
}

std::string TEditorStrings::Text() const { return owner_.Rows().Text(); }

void TEditorStrings::SetText(std::string_view text) {
  owner_.ClearSelection();
  owner_.Rows().SetText(text);
  owner_.SetRowCol(0, 0);
  owner_.SetTopRow(0);
}

void TEditorStrings::AdoptText(std::unique_ptr<char[]> buffer, std::size_t size) {
  owner_.ClearSelection();
  owner_.Rows().AdoptText(std::move(buffer), size);
  owner_.SetRowCol(0, 0);
  owner_.SetTopRow(0);
}

void TEditorStrings::AssignText(std::string_view text) {
  owner_.ClearSelection();
  owner_.Rows().SetText(text);
  owner_.SetRowCol(owner_.Rows().Count(), 0);
}

void TEditorStrings::Assign(std::span<const std::string> lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  AssignText(text);
}

void TEditorStrings::Clear() {
  owner_.ClearSelection();
  owner_.Rows().ClearText();
  owner_.SetRowCol(0, 0);
}

void TEditorStrings::LoadFromFile(const std::string& path) {
  owner_.Rows().LoadFromFile(path);
  owner_.ClearSelection();
  owner_.SetRowCol(0, 0);
  owner_.SetTopRow(0);
}

void TEditorStrings::BeginUpdate() {
  ++owner_.updating_;
  owner_.Rows().BeginUpdate();
}

void TEditorStrings::EndUpdate() {
  owner_.Rows().EndUpdate();
  if (--owner_.updating_ == 0) owner_.CaretMoved();
}

}  // namespace rd
