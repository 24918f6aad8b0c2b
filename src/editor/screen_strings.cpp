// The row store: layout of lines into rows, the replace-rows primitive,
// undo, whole-text replacement and switching wrapping on and off.
#include "editor/screen_strings.h"

#include <algorithm>
#include <cassert>

#include "editor/editor_error.h"

namespace rd {

namespace {

// Calls f(line, endsWithBreak) for every line of `text`; lines end at CR LF,
// a lone CR or a lone LF. A text ending with a break has no empty last line.
template <class F>
bool ForEachLine(std::string_view text, F&& f) {
  std::size_t start = 0;
  const std::size_t n = text.size();
  while (start < n) {
    std::size_t i = start;
    while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
    if (i == n) {
      f(text.substr(start), false);
      return false;
    }
    f(text.substr(start, i - start), true);
    start = i + ((text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1);
  }
  return true;
}

}  // namespace

TEditorScreenStrings::TEditorScreenStrings() {
  wrapOption_.OnChange = [this] {
    if (wordWrap_) Relayout(true);
  };
}

TEditorScreenStrings::~TEditorScreenStrings() { SetFountain(nullptr); }

void TEditorScreenStrings::Attach(IRowStoreClient* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TEditorScreenStrings::Detach(IRowStoreClient* client) {
  const bool wasOwner = !clients_.empty() && clients_.front() == client;
  std::erase(clients_, client);
  if (wasOwner) SetFountain(clients_.empty() ? nullptr : clients_.front()->Scheme());
}

void TEditorScreenStrings::SetTabSpaceCount(int v) {
  v = std::clamp(v, 2, 8) & ~1;
  if (v == tabSpaceCount_) return;
  tabSpaceCount_ = v;
  if (wordWrap_) Relayout(true);
}

void TEditorScreenStrings::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  Relayout(on);
}

void TEditorScreenStrings::SetFountain(const TFountain* fountain) {
  if (fountain_) const_cast<TFountain*>(fountain_)->RemoveChangeListener(fountainListener_);
  fountain_ = fountain;
  fountainListener_ = 0;
  if (fountain_) {
    fountainListener_ = const_cast<TFountain*>(fountain_)->AddChangeListener([this] {
      BeginWholeText();
      RecomputeAllStates();
      EndWholeText();
    });
  }
  BeginWholeText();
  RecomputeAllStates();
  EndWholeText();
}

int TEditorScreenStrings::FirstRowOfLine(int r) const {
  r = std::clamp(r, 0, std::max(Count() - 1, 0));
  while (r > 0 && RowEndKind(r - 1) == rowWrapped) --r;
  return r;
}

int TEditorScreenStrings::LastRowOfLine(int r) const {
  r = std::clamp(r, 0, std::max(Count() - 1, 0));
  while (r + 1 < Count() && RowEndKind(r) == rowWrapped) ++r;
  return r;
}

int TEditorScreenStrings::LineIndexOfRows(int r) const {
  if (!wordWrap_) return r;
  int lines = 0;
  for (int i = 0; i < std::min(r, Count()); ++i) lines += RowEndKind(i) == rowEndLine;
  return lines;
}

std::string TEditorScreenStrings::RowRangeText(int r, int count) const {
  if (r < 0 || r >= Count()) return {};
  const int end = count < 0 ? LastRowOfLine(r) + 1 : std::min(Count(), r + count);
  std::string out;
  std::size_t size = 0;
  for (int i = r; i < end; ++i) size += View(i).size() + 2;
  out.reserve(size);
  for (int i = r; i < end; ++i) {
    out.append(View(i));
    if (RowEndKind(i) == rowEndLine) out.append("\r\n");
  }
  return out;
}

std::int64_t TEditorScreenStrings::TextLength() const {
  std::int64_t n = 0;
  for (int i = 0; i < Count(); ++i) n += static_cast<std::int64_t>(View(i).size()) + (RowEndKind(i) == rowEndLine ? 2 : 0);
  return n;
}

int TEditorScreenStrings::LineCount() const {
  if (!wordWrap_) return Count();
  int lines = 0;
  for (int i = 0; i < Count(); ++i) lines += RowEndKind(i) != rowWrapped || i + 1 == Count();
  return lines;
}

int TEditorScreenStrings::LineToRow(int line) const {
  if (!wordWrap_) return line;
  int r = 0;
  for (int l = 0; l < line && r < Count(); ++r) {
    if (RowEndKind(r) != rowWrapped) ++l;
  }
  return r;
}

bool TEditorScreenStrings::BuildRows(std::string_view text, TEditorStringList& rows) const {
  std::vector<std::string_view> pieces;
  return ForEachLine(text, [&](std::string_view line, bool) {
    if (!wordWrap_) {
      rows.SetRowEndKind(rows.Add(line), rowEndLine);
      return;
    }
    pieces.clear();
    WrapLine(line, wrapOption_, tabSpaceCount_, &pieces);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      rows.SetRowEndKind(rows.Add(pieces[k]), k + 1 == pieces.size() ? rowEndLine : rowWrapped);
    }
  });
}

void TEditorScreenStrings::ReplaceRows(int s, int n, std::string_view t) {
  const int count = Count();
  if (s < 0 || n < 0 || s + n > count || (n == 0 && t.empty())) return;
  if (s == count && count > 0 && RowEndKind(count - 1) != rowEndLine) return;
  const int first = s < count ? FirstRowOfLine(s) : s;
  const int last = n > 0 ? LastRowOfLine(s + n - 1) : (s < count ? LastRowOfLine(s) : s - 1);
  const int oldCount = last - first + 1;
  const bool toEnd = last == count - 1;

  TEditorUndoEntry entry;
  if (!clients_.empty()) clients_.front()->CaretPosition(entry.CaretRow, entry.CaretCol);
  entry.FirstRow = first;
  entry.OldEndKind = oldCount > 0 ? RowEndKind(last) : TEditorUndoEntry::kNoOldRows;
  entry.OldText = RowRangeText(first, oldCount);

  TEditorStringList rows;
  if (!(s == first && n > 0 && t.empty() && last == s + n - 1)) {
    std::string text = RowRangeText(first, s - first);
    text.append(t);
    if (n == 0) text += RowRangeText(s, last - s + 1);
    else text += RowRangeText(s + n, last - (s + n) + 1);
    const bool endsWithBreak = BuildRows(text, rows);
    if (rows.Count() == 0 && !toEnd) rows.Add("");
    if (rows.Count() > 0) {
      const int lastNew = rows.Count() - 1;
      rows.SetRowEndKind(lastNew, toEnd ? (endsWithBreak ? rowEndLine : rowEndText) : entry.OldEndKind);
    }
  }
  entry.RowCount = rows.Count();
  undo_.Record(std::move(entry));
  SwapRows(first, oldCount, rows);
}

void TEditorScreenStrings::SwapRows(int first, int oldCount, TEditorStringList& rows) {
  const int newCount = rows.Count();
  // Marks stay with the row at the same position; those of vanishing rows
  // go to the first new row, or to the row that moves up.
  std::uint16_t lost = 0;
  for (int i = 0; i < oldCount; ++i) {
    if (i < newCount) rows.SetRowMarks(i, RowMarks(first + i));
    else lost |= RowMarks(first + i);
  }
  if (lost != 0 && newCount > 0) rows.SetRowMarks(0, rows.RowMarks(0) | lost);
  const int delta = newCount - oldCount;
  ReplaceItems(first, oldCount, rows);
  if (lost != 0 && newCount == 0) {
    if (Count() == 0) marksUnion_ |= lost;
    else {
      const int r = std::min(first, Count() - 1);
      SetRowMarks(r, RowMarks(r) | lost);
    }
  }

  int stateRows = 0;
  if (computed_ > first) {
    const int staleEnd = std::min(Count(), std::max(first + newCount, computed_ + delta));
    computed_ = first;
    const int last = std::min(first + 2 * RowsPerScreen(), Count() - 1);
    stateRows = ComputeStates(first, staleEnd, last, first + newCount);
  }
  MergeChange(first, oldCount, newCount, stateRows);
  Notify();
  if (stateRows > 0 && UpdateCount() == 0) {
    for (IRowStoreClient* c : clients_) c->RowsInvalidated(first + newCount, stateRows);
  }
}

TRowAttributeData TEditorScreenStrings::StartStateOf(int r, TFountainParser* parser) const {
  if (r == 0) return {};
  if (parser == nullptr) {
    TRowAttributeData d;
    d.PrevEndKind = RowEndKind(r - 1);
    return d;
  }
  return parser->EndState(r - 1, *this);
}

int TEditorScreenStrings::ComputeStates(int from, int staleEnd, int last, int keepFrom) {
  assert(from <= computed_ && "states are computed front to back");
  // Without brackets and wrapping no state crosses a row end.
  std::unique_ptr<TFountainParser> parser;
  if (fountain_ && (wordWrap_ || fountain_->Brackets.Count() > 0)) parser = fountain_->CreateParser();
  int changed = 0;
  int r = from;
  for (; r <= last; ++r) {
    TRowAttributeData d = StartStateOf(r, parser.get());
    if (r < staleEnd && BracketIndex(r) != kBracketNotComputed) {
      if (RowAttributes(r).SameState(d)) {
        computed_ = staleEnd;
        return changed;
      }
    }
    if (r >= keepFrom) ++changed;
    SetRowState(r, d);
  }
  computed_ = std::max(computed_, r);
  for (int j = r; j < staleEnd; ++j) {
    if (BracketIndex(j) != kBracketNotComputed) ClearRowState(j);
  }
  return changed;
}

void TEditorScreenStrings::EnsureState(int r) {
  if (r < computed_ || r >= Count()) return;
  ComputeStates(computed_, computed_, std::min(Count() - 1, r + RowsPerScreen()), Count());
}

void TEditorScreenStrings::RecomputeAllStates() {
  for (int r = 0; r < computed_; ++r) ClearRowState(r);
  computed_ = 0;
  if (Count() == 0) return;
  const int top = clients_.empty() ? 0 : clients_.front()->TopRowOfView();
  const int last = InitBracketsFull ? Count() - 1 : std::min(Count() - 1, top + 2 * RowsPerScreen());
  ComputeStates(0, 0, last, Count());
}

int TEditorScreenStrings::RowsPerScreen() const {
  return clients_.empty() ? 40 : std::max(1, clients_.front()->RowsPerScreen());
}

void TEditorScreenStrings::SetMarks(int r, std::uint16_t marks) {
  SetRowMarks(r, marks);
  marksUnion_ |= marks;
}

void TEditorScreenStrings::MergeChange(int first, int oldCount, int newCount, int stateRows) {
  TChangeRecord& c = lastChange_;
  if (!c.Changed) {
    const bool whole = c.WholeText;
    c = TChangeRecord{first, oldCount, newCount, stateRows, true, whole};
    return;
  }
  // Union of two successive replacements, in old and in final coordinates.
  const int f = std::min(c.FirstRow, first);
  const int end = std::max(c.FirstRow + c.NewCount, first + oldCount);
  const int oldEnd = end - c.NewCount + c.OldCount;
  const int newEnd = end + newCount - oldCount;
  c.FirstRow = f;
  c.OldCount = oldEnd - f;
  c.NewCount = newEnd - f;
  c.StateRows = std::max(c.StateRows, stateRows);
}

void TEditorScreenStrings::Notify() {
  if (UpdateCount() > 0) {
    pending_ = true;
    return;
  }
  const TChangeRecord change = lastChange_;
  lastChange_ = TChangeRecord{};
  pending_ = false;
  for (IRowStoreClient* c : std::vector<IRowStoreClient*>(clients_)) c->RowsChanged(change);
}

void TEditorScreenStrings::BeginUpdate() { TEditorStringList::BeginUpdate(); }

void TEditorScreenStrings::EndUpdate() {
  TEditorStringList::EndUpdate();
  if (UpdateCount() == 0 && pending_) Notify();
}

void TEditorScreenStrings::BeginWholeText() { BeginUpdate(); }

void TEditorScreenStrings::EndWholeText() {
  lastChange_ = TChangeRecord{0, Count(), Count(), 0, false, true};
  pending_ = true;
  EndUpdate();
}

}  // namespace rd
