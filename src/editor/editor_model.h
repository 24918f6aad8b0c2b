// TEditorModel: everything of the editor control that is not the widget:
// the caret and the view position, selection, editing commands, undo and
// redo, search, token picking and the change notifications. The Qt widget
// maps keys, mouse, painting and the clipboard onto it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/editor_fountain.h"
#include "editor/editor_strings.h"
#include "editor/screen_strings.h"

namespace rd {

// What the model needs from the widget that shows it.
class IEditorViewport {
 public:
  virtual ~IEditorViewport() = default;
  virtual int VisibleRowCount() const = 0;
  virtual int VisibleColCount() const = 0;
  virtual bool HasFocus() const = 0;
};

enum class TSelectionState : std::uint8_t { None, Selected, Hit };
enum class TSelectionMode : std::uint8_t { Stream, Block };

// Option bits of SearchText.
enum TSearchOption : int {
  sfrDown = 1,          // forward from the caret, else backward
  sfrMatchCase = 2,
  sfrWholeWord = 4,
  sfrNoMatchZenkaku = 8,  // half-width and full-width forms match
  sfrIncludeCRLF = 128,   // line breaks inside a match in the text are skipped
  sfrIncludeSpace = 256,  // tabs, spaces and full-width spaces in the text are skipped
};

struct TEditorCaretOptions {
  bool AutoIndent = true;
  bool FreeCaret = false;  // the caret may stand past the end of a row
  bool InTab = false;      // the caret may stand inside a tab's filler
  bool KeepCaret = false;  // vertical moves return to the wanted column
  bool SoftTab = false;    // Tab inserts spaces
};

class TEditorModel : private IRowStoreClient {
 public:
  TEditorModel();
  // Shows the row store of another editor.
  explicit TEditorModel(std::shared_ptr<TEditorScreenStrings> rows);
  ~TEditorModel() override;
  TEditorModel(const TEditorModel&) = delete;
  TEditorModel& operator=(const TEditorModel&) = delete;

  TEditorStrings& Lines() { return lines_; }
  const TEditorStrings& Lines() const { return lines_; }
  TEditorScreenStrings& Rows() { return *rows_; }
  const TEditorScreenStrings& Rows() const { return *rows_; }
  std::shared_ptr<TEditorScreenStrings> SharedRows() const { return rows_; }
  // The default colouring scheme (the editor's View settings).
  TEditorFountain& View() { return view_; }
  // Another scheme, or null for the default one; not owned.
  void SetFountain(const TFountain* fountain);
  const TFountain& ActiveFountain() const { return fountain_ ? *fountain_ : view_; }
  void SetViewport(IEditorViewport* viewport) { viewport_ = viewport; }

  TEditorCaretOptions Caret;
  int TabSpaceCount() const { return rows_->TabSpaceCount(); }
  void SetTabSpaceCount(int v) { rows_->SetTabSpaceCount(v); }
  bool WordWrap() const { return rows_->WordWrap(); }
  void SetWordWrap(bool on);
  TEditorWrapOption& WrapOption() { return rows_->WrapOption(); }
  bool ReadOnly = false;
  bool Overwrite = false;
  bool Modified = false;
  int UndoListMax() const { return rows_->UndoObj().UndoListMax(); }
  void SetUndoListMax(int v) { rows_->UndoObj().SetUndoListMax(v); }

  // ---- caret and view -------------------------------------------------------
  int Row() const { return row_; }
  void SetRow(int row);
  int Col() const { return col_; }
  void SetCol(int col);
  // Both at once, with a single caret notification.
  void SetRowCol(int row, int col);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int TopCol() const { return topCol_; }
  void SetTopCol(int col);
  int VisibleRowCount() const;
  int VisibleColCount() const;
  // Highest caret row: the row count when the text is empty or ends with a
  // line break, else the last row.
  int MaxRow() const;

  // Caret moves of the keys; with `extend` the selection follows the caret.
  void MoveLeft(bool extend);
  void MoveRight(bool extend);
  void MoveUp(bool extend);
  void MoveDown(bool extend);
  void MoveHome(bool extend);
  void MoveEnd(bool extend);
  void MoveTextStart(bool extend);
  void MoveTextEnd(bool extend);
  // `speed` multiplies the page step of (visible rows - 1) div 2 rows.
  void PageUp(bool extend, int speed = 1);
  void PageDown(bool extend, int speed = 1);

  // ---- selection ---------------------------------------------------------------
  std::int64_t SelStart() const;
  void SetSelStart(std::int64_t offset);
  std::int64_t SelLength() const;
  void SetSelLength(std::int64_t length);
  std::string SelText() const;
  bool Selected() const { return selState_ != TSelectionState::None; }
  TSelectionState SelectionState() const { return selState_; }
  TSelectionMode SelectionMode() const { return selMode_; }
  void SetSelectionMode(TSelectionMode mode);
  // Selects from (anchorRow, anchorCol) to (row, col), the caret at the latter.
  void Select(int anchorRow, int anchorCol, int row, int col, TSelectionMode mode = TSelectionMode::Stream);
  void SelectAll();
  void ClearSelection();
  // The end of the selection opposite the caret; the caret itself when
  // nothing is selected.
  int AnchorRow() const { return Selected() ? anchorRow_ : row_; }
  int AnchorCol() const { return Selected() ? anchorCol_ : col_; }
  // The selection as row and column bounds, start before end.
  void SelectionBounds(int& startRow, int& startCol, int& endRow, int& endCol) const;

  // ---- editing (nothing happens when ReadOnly) -------------------------------------
  // Replaces the selection or inserts at the caret; a gap after the row end is padded with spaces.
  void InsertText(std::string_view text);
  // A typed character (in overwrite mode it replaces the one under the caret).
  void TypeChar(std::string_view ch);
  void DeleteChar();
  void BackSpace();
  void NewLine();
  void TabKey();
  void DeleteSelection();
  // Clipboard commands on text: the widget moves the text to and from the clipboard.
  std::string CopyText() const { return Selected() ? SelText() : std::string(); }
  std::string CutText();
  void PasteText(std::string_view text, bool block);
  void Clear() { lines_.Clear(); }
  bool CanUndo() const { return rows_->UndoObj().CanUndo(); }
  bool CanRedo() const { return rows_->UndoObj().CanRedo(); }
  void Undo();
  void Redo();

  // ---- search and tokens ----------------------------------------------------------
  bool SearchText(std::string_view text, int options);
  // Selects the token under (row, col); nothing outside the text or on blanks.
  void SelectTokenAt(int row, int col);
  void SelectTokenAtCaret() { SelectTokenAt(row_, col_); }

  // ---- notifications -------------------------------------------------------------
  std::function<void()> OnChange;
  std::function<void()> OnCaretMoved;
  std::function<void()> OnTopRowChange;
  std::function<void()> OnTopColChange;
  std::function<void(bool selected)> OnSelectionChange;
  // Rows to repaint: count -1 runs to the end of the view.
  std::function<void(int first, int count)> OnInvalidate;

  // Empty when the caret, view and selection lie in their ranges.
  std::string checkInvariants() const;

  // Positions inside the text as row and byte offset.
  struct TPos {
    int row = 0;
    int byte = 0;
  };
  TPos PosOf(int row, int col) const;
  int ColOf(TPos p) const;
  std::int64_t OffsetOf(TPos p) const;
  TPos PosAtOffset(std::int64_t offset) const;

 private:
  friend class TEditorStrings;

  // IRowStoreClient
  int RowsPerScreen() const override { return VisibleRowCount(); }
  int TopRowOfView() const override { return topRow_; }
  void CaretPosition(int& row, int& col) const override {
    row = row_;
    col = col_;
  }
  const TFountain* Scheme() const override { return &ActiveFountain(); }
  void RowsChanged(const TChangeRecord& change) override;
  void RowsInvalidated(int first, int count) override;

  int NormalizeCol(int row, int col, bool forward) const;
  void MoveCaret(int row, int col, bool forward, bool extend);
  void CaretMoved();
  void SetSelState(TSelectionState s);
  // Replaces the bytes between two positions by `text` through the primitive
  // and puts the caret just after the new text.
  void ReplaceRange(TPos from, TPos to, std::string_view text);
  // Position `offset` bytes (CR LF counted 2) after the start of row `row`.
  TPos WalkFrom(int row, std::int64_t offset) const;
  TPos NextCharPos(TPos p) const;
  TPos PrevCharPos(TPos p) const;
  void DeleteBlock();
  void PasteBlock(std::string_view text);

  std::shared_ptr<TEditorScreenStrings> rows_;
  TEditorStrings lines_;
  TEditorFountain view_;
  const TFountain* fountain_ = nullptr;
  IEditorViewport* viewport_ = nullptr;
  int row_ = 0, col_ = 0, wantedCol_ = 0;
  int topRow_ = 0, topCol_ = 0;
  int anchorRow_ = 0, anchorCol_ = 0;  // selection end opposite the caret
  TSelectionState selState_ = TSelectionState::None;
  TSelectionMode selMode_ = TSelectionMode::Stream;
  int updating_ = 0;
};

}  // namespace rd
