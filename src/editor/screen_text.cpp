// Whole-text operations of the row store: assigning and loading a text,
// clearing, undo and redo, re-laying out all lines when wrapping changes,
// and the self-check.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "editor/editor_error.h"
#include "editor/screen_strings.h"

namespace rd {

void TEditorScreenStrings::SetText(std::string_view text) {
  BeginWholeText();
  TEditorStringList rows;
  const bool endsWithBreak = BuildRows(text, rows);
  if (rows.Count() > 0 && !endsWithBreak) rows.SetRowEndKind(rows.Count() - 1, rowEndText);
  computed_ = 0;
  ReplaceItems(0, Count(), rows);
  undo_.Clear();
  RecomputeAllStates();
  EndWholeText();
}

void TEditorScreenStrings::LoadFromFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw EEditorFileError(path + ": " + std::strerror(errno));
  // Read in blocks of 8192 bytes into one buffer that the rows then point
  // into, so that a large file costs no heap block per row.
  constexpr std::size_t kBlock = 8192;
  // Sized from the file's length where it is known, so that no slack remains.
  std::size_t capacity = kBlock, size = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long length = std::ftell(file);
    if (length > 0) capacity = static_cast<std::size_t>(length) + kBlock;
    std::rewind(file);
  }
  auto buffer = std::make_unique<char[]>(capacity);
  for (;;) {
    if (size + kBlock > capacity) {
      std::size_t grown = capacity * 2;
      auto bigger = std::make_unique<char[]>(grown);
      std::memcpy(bigger.get(), buffer.get(), size);
      buffer = std::move(bigger);
      capacity = grown;
    }
    const std::size_t got = std::fread(buffer.get() + size, 1, kBlock, file);
    size += got;
    if (got < kBlock) break;
  }
  const bool failed = std::ferror(file) != 0;
  const int err = errno;
  std::fclose(file);
  if (failed) throw EEditorFileError(path + ": " + std::strerror(err));

  // Ctrl-Z ends the text.
  if (const void* eof = std::memchr(buffer.get(), 26, size)) size = static_cast<const char*>(eof) - buffer.get();
  AdoptText(std::move(buffer), size);
}

void TEditorScreenStrings::AdoptText(std::unique_ptr<char[]> buffer, std::size_t size) {
  const std::string_view text(buffer.get(), size);
  // First pass: count the lines, so that the rows are allocated once.
  int lines = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n'))) ++lines;
  }
  if (size > 0 && text[size - 1] != '\n' && text[size - 1] != '\r') ++lines;

  BeginWholeText();
  computed_ = 0;
  RemoveRange(0, Count());
  SetCapacity(lines);
  AdoptBlock(std::move(buffer), size);
  const bool endsWithBreak = [&] {
    std::size_t start = 0;
    while (start < size) {
      const char* p = static_cast<const char*>(std::memchr(text.data() + start, '\n', size - start));
      std::size_t i = p ? static_cast<std::size_t>(p - text.data()) : size;
      // A lone CR ends a line too.
      if (const void* cr = std::memchr(text.data() + start, '\r', i - start)) i = static_cast<const char*>(cr) - text.data();
      AddBorrowed(text.substr(start, i - start));
      if (i == size) return false;
      start = i + ((text[i] == '\r' && i + 1 < size && text[i + 1] == '\n') ? 2 : 1);
    }
    return true;
  }();
  if (Count() > 0 && !endsWithBreak) SetRowEndKind(Count() - 1, rowEndText);
  undo_.Clear();
  if (wordWrap_) {
    wordWrap_ = false;
    SetWordWrap(true);
  }
  RecomputeAllStates();
  EndWholeText();
}

void TEditorScreenStrings::ClearText() {
  undo_.Clear();
  if (Count() == 0) return;
  const int old = Count();
  for (int i = 0; i < old; ++i) marksUnion_ |= RowMarks(i);
  RemoveRange(0, old);
  SetCapacity(0);
  computed_ = 0;
  MergeChange(0, old, 0, 0);
  Notify();
}

bool TEditorScreenStrings::Restore(const TEditorUndoEntry& e, TEditorUndoEntry& inverse) {
  if (e.FirstRow < 0 || e.FirstRow + e.RowCount > Count()) return false;
  inverse.FirstRow = e.FirstRow;
  inverse.OldText = RowRangeText(e.FirstRow, e.RowCount);
  inverse.OldEndKind = e.RowCount > 0 ? RowEndKind(e.FirstRow + e.RowCount - 1) : TEditorUndoEntry::kNoOldRows;
  if (!clients_.empty()) clients_.front()->CaretPosition(inverse.CaretRow, inverse.CaretCol);
  TEditorStringList rows;
  if (e.OldEndKind != TEditorUndoEntry::kNoOldRows) {
    BuildRows(e.OldText, rows);
    if (rows.Count() == 0) rows.Add("");
    rows.SetRowEndKind(rows.Count() - 1, e.OldEndKind);
  }
  inverse.RowCount = rows.Count();
  SwapRows(e.FirstRow, e.RowCount, rows);
  return true;
}

bool TEditorScreenStrings::Undo(int& caretRow, int& caretCol) {
  if (!undo_.CanUndo()) return false;
  const TEditorUndoEntry e = undo_.PopUndo();
  TEditorUndoEntry inverse;
  undo_.SetReplaying(true);
  const bool ok = Restore(e, inverse);
  undo_.SetReplaying(false);
  if (!ok) return false;
  undo_.PushRedo(std::move(inverse));
  caretRow = e.CaretRow;
  caretCol = e.CaretCol;
  return true;
}

bool TEditorScreenStrings::Redo(int& caretRow, int& caretCol) {
  if (!undo_.CanRedo()) return false;
  const TEditorUndoEntry e = undo_.PopRedo();
  TEditorUndoEntry inverse;
  undo_.SetReplaying(true);
  const bool ok = Restore(e, inverse);
  undo_.SetReplaying(false);
  if (!ok) return false;
  undo_.PushUndo(std::move(inverse));
  caretRow = e.CaretRow;
  caretCol = e.CaretCol;
  return true;
}

// Re-lays out every line: wrapped (on) or one row per line (off). Marks go
// to the new rows by position, surplus marks into the line's last row.
void TEditorScreenStrings::Relayout(bool wrap) {
  BeginWholeText();
  TEditorStringList rows;
  rows.SetCapacity(Count());
  const int lastKind = Count() > 0 ? RowEndKind(Count() - 1) : rowEndLine;
  std::vector<std::string_view> pieces;
  std::vector<std::uint16_t> marks;
  for (int r = 0; r < Count();) {
    const int end = LastRowOfLine(r) + 1;
    std::string line;
    marks.clear();
    for (int i = r; i < end; ++i) {
      line.append(View(i));
      marks.push_back(RowMarks(i));
    }
    pieces.clear();
    if (wrap) WrapLine(line, wrapOption_, tabSpaceCount_, &pieces);
    else pieces.push_back(line);
    const int base = rows.Count();
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      const int row = rows.Add(pieces[k]);
      rows.SetRowEndKind(row, k + 1 == pieces.size() ? rowEndLine : rowWrapped);
    }
    const int made = rows.Count() - base;
    std::uint16_t surplus = 0;
    for (std::size_t k = 0; k < marks.size(); ++k) {
      if (wrap && static_cast<int>(k) < made) rows.SetRowMarks(base + static_cast<int>(k), marks[k]);
      else surplus |= marks[k];
    }
    if (surplus) rows.SetRowMarks(rows.Count() - 1, rows.RowMarks(rows.Count() - 1) | surplus);
    r = end;
  }
  if (rows.Count() > 0 && lastKind != rowEndLine) rows.SetRowEndKind(rows.Count() - 1, rowEndText);
  computed_ = 0;
  ReplaceItems(0, Count(), rows);
  undo_.Clear();
  RecomputeAllStates();
  EndWholeText();
}

std::string TEditorScreenStrings::checkInvariants() const {
  if (std::string base = TEditorStringList::checkInvariants(); !base.empty()) return base;
  if (computed_ < 0 || computed_ > Count()) return "computed frontier outside the rows";
  std::unique_ptr<TFountainParser> parser;
  if (fountain_) parser = fountain_->CreateParser();
  for (int r = 0; r < Count(); ++r) {
    const int kind = RowEndKind(r);
    if (kind == 3) return "bad end kind in row " + std::to_string(r);
    if (kind == rowEndText && r + 1 != Count()) return "rowEndText before the last row " + std::to_string(r);
    if (kind == rowWrapped && (!wordWrap_ || r + 1 == Count())) return "wrapped row " + std::to_string(r);
    const bool computed = BracketIndex(r) != kBracketNotComputed;
    if (computed != (r < computed_)) return "computed states are not a prefix at row " + std::to_string(r);
    if (!computed && (AttributesA(r) >> 2 != 0 || (AttributesB(r) & 0xFFFFu) != 0)) {
      return "uncomputed row " + std::to_string(r) + " keeps state fields";
    }
    if (computed) {
      const TRowAttributeData want = r == 0 ? TRowAttributeData{} : [&] {
        if (parser) return parser->EndState(r - 1, *this);
        TRowAttributeData d;
        d.PrevEndKind = RowEndKind(r - 1);
        return d;
      }();
      if (!RowAttributes(r).SameState(want)) return "stale start state in row " + std::to_string(r);
    }
  }
  return {};
}

}  // namespace rd
