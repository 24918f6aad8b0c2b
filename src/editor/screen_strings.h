// TEditorScreenStrings: the editor's row store. It lays lines out as rows
// (wrapped or not), keeps each row's tokenizer start state, records undo,
// and passes every change of the text through one primitive, ReplaceRows,
// whose record (first row, old and new row counts) tells views what to
// repaint.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/column_model.h"
#include "editor/editor_string_list.h"
#include "editor/editor_undo.h"
#include "editor/fountain.h"
#include "editor/wrap_option.h"

namespace rd {

// What the last change (or the changes of one update bracket) did.
struct TChangeRecord {
  int FirstRow = 0;
  int OldCount = 0;   // rows [FirstRow, FirstRow + OldCount) before ...
  int NewCount = 0;   // ... became rows [FirstRow, FirstRow + NewCount)
  int StateRows = 0;  // following rows whose tokenizer start state changed
  bool Changed = false;    // an edit: owners set Modified and fire OnChange
  bool WholeText = false;  // the text was replaced or re-laid out: repaint all
};

// What a row store needs from each editor showing it.
class IRowStoreClient {
 public:
  virtual ~IRowStoreClient() = default;
  virtual int RowsPerScreen() const = 0;
  virtual int TopRowOfView() const = 0;
  virtual void CaretPosition(int& row, int& col) const = 0;
  // The colouring scheme whose walker computes the start states (the first
  // attached editor's is used).
  virtual const TFountain* Scheme() const = 0;
  // After every notified change (see TChangeRecord).
  virtual void RowsChanged(const TChangeRecord& change) = 0;
  // Rows whose tokenizer start state was recomputed and need repainting.
  virtual void RowsInvalidated(int first, int count) = 0;
};

class TEditorScreenStrings : public TEditorStringList {
 public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;

  void Attach(IRowStoreClient* client);
  // The next editor's scheme takes over when the first one detaches.
  void Detach(IRowStoreClient* client);
  int ClientCount() const { return static_cast<int>(clients_.size()); }
  const IRowStoreClient* Owner() const { return clients_.empty() ? nullptr : clients_.front(); }

  int TabSpaceCount() const { return tabSpaceCount_; }
  // Clamped to 2..8 and rounded down to an even number.
  void SetTabSpaceCount(int v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  TEditorWrapOption& WrapOption() { return wrapOption_; }
  const TEditorWrapOption& WrapOption() const { return wrapOption_; }
  TColumnLayout Layout() const { return {tabSpaceCount_, wordWrap_, wrapOption_.WrapByte()}; }
  // The scheme whose walker computes the start states; not owned, must
  // outlive the store or be reset first.
  void SetFountain(const TFountain* fountain);
  const TFountain* Fountain() const { return fountain_; }
  // Compute all start states on full recomputation, not just two screens.
  bool InitBracketsFull = false;
  TEditorUndoObj& UndoObj() { return undo_; }

  // Row accessors that answer safely outside the rows.
  std::string_view RowText(int r) const { return r >= 0 && r < Count() ? View(r) : std::string_view(); }
  int RowEnd(int r) const { return r >= 0 && r < Count() ? RowEndKind(r) : rowEndText; }
  int FirstRowOfLine(int r) const;
  int LastRowOfLine(int r) const;
  // Line index of the first `r` rows (line numbering).
  int LineIndexOfRows(int r) const;
  // Rows [r, r + count) joined, CR LF after each that ends a line; count
  // -1 runs to the end of r's line.
  std::string RowRangeText(int r, int count) const;
  std::string RowColumnAttributes(int r) const { return ColumnAttributes(RowText(r), Layout()); }
  int TextDisplayWidth(std::string_view text) const { return DisplayWidth(text, Layout()); }
  std::string Text() const { return RowRangeText(0, Count()); }
  // Characters in the text, CR LF counted as 2.
  std::int64_t TextLength() const;

  // Lines: with wrapping off, a line is a row.
  int LineCount() const;
  int LineToRow(int line) const;

  // The edit primitive: replaces rows [s, s + n), widened to whole lines, by
  // `t`, which may hold line breaks. s may equal Count when n is 0 and the
  // text is empty or ends with a line break (appending).
  void ReplaceRows(int s, int n, std::string_view t);
  // Whole-text replacements: undo lists cleared, no Changed record.
  void SetText(std::string_view text);
  // Reads a file (lines end at CR LF, CR or LF; byte 26 ends the text).
  // Raises EEditorFileError with the path and the reason; the text stays.
  void LoadFromFile(const std::string& path);
  // Takes over a text's bytes as the whole text (lines end at CR LF, CR or
  // LF); the rows point into the buffer, so a large text costs no heap block
  // per row. Undo lists are cleared, like SetText.
  void AdoptText(std::unique_ptr<char[]> buffer, std::size_t size);
  // Empties the text as a notified change and clears the undo lists.
  void ClearText();

  // Undo and redo: answer false when there is nothing to do, else the
  // caret position the editor should take.
  bool Undo(int& caretRow, int& caretCol);
  bool Redo(int& caretRow, int& caretCol);

  // Computes row r's start state if it is not yet computed (painting).
  void EnsureState(int r);
  void RecomputeAllStates();
  // Rows [0, ComputedRows()) have computed start states, the others not.
  int ComputedRows() const { return computed_; }
  std::uint16_t MarksUnion() const { return marksUnion_; }
  void SetMarks(int r, std::uint16_t marks);

  const TChangeRecord& LastChange() const { return lastChange_; }

  void BeginUpdate() override;
  void EndUpdate() override;

  // Empty when rows, end kinds and start states are consistent (states
  // checked against a recomputation from row 0), else what is wrong.
  std::string checkInvariants() const;

 private:
  // Edits of single items would bypass the primitive.
  using TheStringList::Add;
  using TheStringList::Clear;
  using TheStringList::Delete;
  using TheStringList::Exchange;
  using TheStringList::Insert;
  using TheStringList::Put;

  // Lays `text` out as rows into `rows`; answers whether it ended with a line break.
  bool BuildRows(std::string_view text, TEditorStringList& rows) const;
  // The one mutator: rows [first, first + oldCount) become `rows`.
  void SwapRows(int first, int oldCount, TEditorStringList& rows);
  bool Restore(const TEditorUndoEntry& e, TEditorUndoEntry& inverse);
  // Computes start states of rows from `from` up to `last`; rows [from,
  // staleEnd) hold earlier states and the walk stops at the first that
  // still holds. Answers how many rows at or after `keepFrom` changed.
  int ComputeStates(int from, int staleEnd, int last, int keepFrom);
  TRowAttributeData StartStateOf(int r, TFountainParser* parser) const;
  int RowsPerScreen() const;
  void MergeChange(int first, int oldCount, int newCount, int stateRows);
  void Notify();
  void BeginWholeText();
  void EndWholeText();
  void Relayout(bool wrap);

  std::vector<IRowStoreClient*> clients_;
  const TFountain* fountain_ = nullptr;
  int fountainListener_ = 0;
  TEditorUndoObj undo_;
  TEditorWrapOption wrapOption_;
  int tabSpaceCount_ = 8;
  bool wordWrap_ = false;
  int computed_ = 0;
  std::uint16_t marksUnion_ = 0;
  TChangeRecord lastChange_;
  bool pending_ = false;
};

}  // namespace rd
