// TEditor: the editor control. It paints its rows itself at a fixed pitch,
// offers every painted part of a row to its owner (OnDrawLine), and maps
// keys, mouse, wheel, input method and clipboard onto its text model.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "editor/editor_geometry.h"
#include "editor/editor_model.h"
#include "editor/editor_view_settings.h"
#include "editor/sjis_text_painter.h"

class QMenu;

namespace rd {

class TEditor;

// One painted part of a row, as the owner's line-drawing hook sees it.
struct TDrawLineEvent {
  TEditor* Sender = nullptr;
  std::string LineStr;  // the row's text as painted
  int X = 0;            // x origin of the row
  int Y = 0;            // top of the row band
  int Index = 0;        // row index
  QRect ARect;          // the part just painted
  bool Selected = false;
};

enum class TCaretStyle : std::uint8_t { csDefault, csBrief };

class TEditor : public QAbstractScrollArea, private IEditorViewport {
  Q_OBJECT
 public:
  // The clipboard format of block selections.
  static constexpr const char* kBoxFormat = "TEditor Box Type";

  explicit TEditor(QWidget* parent = nullptr);
  ~TEditor() override;

  TEditorModel& Model() { return model_; }
  const TEditorModel& Model() const { return model_; }
  TEditorStrings& Lines() { return model_.Lines(); }

  // ---- view settings; each setter recomputes the geometry and repaints
  const QFont& Font() const { return font_; }
  void SetFont(const QFont& font);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor c);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  const TEditorMargin& Margin() const { return margin_; }
  void SetMargin(const TEditorMargin& m);
  const TEditorLeftbar& Leftbar() const { return leftbar_; }
  void SetLeftbar(const TEditorLeftbar& b);
  const TEditorRuler& Ruler() const { return ruler_; }
  void SetRuler(const TEditorRuler& r);
  const TEditorMarks& Marks() const { return marks_; }
  void SetMarks(const TEditorMarks& m);
  TScrollBars ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollBars s);
  TEditorSpeed Speed;
  TCaretStyle CaretStyle = TCaretStyle::csDefault;
  // Replaces the editor's own context menu; not owned.
  QMenu* PopupMenu = nullptr;

  // ---- geometry and drawing services for the owner's hook
  const TEditorGeometry& Geometry() const { return geometry_; }
  int CharWidth() const { return geometry_.ColumnWidth; }
  int RowHeight() const { return geometry_.RowHeight; }
  int TextLeft() const { return geometry_.TextLeft; }
  int LeftOffset() const { return model_.TopCol() * geometry_.ColumnWidth; }
  // The painter of the paint under way (inside OnDrawLine), else null.
  QPainter* Canvas() const { return canvas_; }
  // Draws `text` at (x, y top) with one column per byte, clipped to rect
  // (option 4), the rect first filled with the brush (option 6).
  void DrawTextInRect(const QRect& rect, int x, int y, std::string_view text, int options);
  std::string GetRowText(int row) const;
  TRowAttributeData GetRowAttributes(int row) const;
  // A token walker of the active colouring scheme.
  std::unique_ptr<TFountainParser> CreateTokenWalker() const { return model_.ActiveFountain().CreateParser(); }

  // Paints the area `clip` (in viewport coordinates) on `painter`: what a
  // paint event does, open for painting into an image.
  void PaintArea(QPainter& painter, const QRect& clip);

  // ---- notifications
  std::function<void(TDrawLineEvent&)> OnDrawLine;
  std::function<void()> OnChange;
  std::function<void()> OnCaretMoved;
  std::function<void()> OnTopRowChange;
  std::function<void()> OnTopColChange;
  std::function<void(bool selected)> OnSelectionChange;
  // The owner sees keys and wheel turns first; answering true consumes them.
  std::function<bool(QKeyEvent*)> OnKeyDown;
  std::function<bool(QWheelEvent*)> OnMouseWheel;

  // ---- commands
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll() { model_.SelectAll(); }
  void Undo() { model_.Undo(); }
  void Redo() { model_.Redo(); }

  // Counts changes of the rows, for readers that keep a copy of the text.
  quint64 TextVersion() const { return textVersion_; }

  // The caret as drawn, in viewport coordinates; empty when out of view.
  QRect CaretRect() const;
  bool CaretShown() const { return caretOn_; }
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

 private:
  // IEditorViewport
  int VisibleRowCount() const override { return geometry_.VisibleRows; }
  int VisibleColCount() const override { return geometry_.VisibleCols; }
  bool HasFocus() const override { return hasFocus(); }

  void Relayout();
  void UpdateScrollBars();
  void TopRowChanged();
  void TopColChanged();
  void InvalidateRows(int first, int count);
  void RestartCaret();
  void NotifyAccessibleCaret();
  bool HandleKey(QKeyEvent* event);
  // Types `text` at the caret, one character at a time (overwrite mode replaces).
  void TypeText(const QString& text);
  // Row and column under a viewport point, the column rounded to the nearest.
  void PointToRowCol(const QPoint& p, int& row, int& col) const;

  void PaintRuler(QPainter& p, const QRect& clip);
  void PaintLeftbar(QPainter& p, const QRect& clip);
  void PaintRow(QPainter& p, int row, const QRect& clip);
  void PaintPart(QPainter& p, int row, std::string_view text, const QRect& part, bool selected);
  void PaintRowEnd(QPainter& p, int row, std::string_view text, int y, const QRect& band);
  // The colour c, or `fallback` for clNone.
  QColor Resolve(TColor c, TColor fallback) const;
  const TSjisTextPainter& ItalicPainter();
  int RowY(int row) const { return geometry_.TextTop + (row - model_.TopRow()) * geometry_.RowHeight; }
  int RowX() const { return geometry_.TextLeft - LeftOffset(); }

  TEditorModel model_;
  TEditorGeometry geometry_;
  TSjisTextPainter painter_;
  TSjisTextPainter italic_;  // for tokens in italic style, set up on first use
  QFont italicFont_;
  QFont font_;
  QFont painterFont_;  // the font the glyph runs were set up for
  int ascent_ = 13;
  TColor fontColor_ = 0x000000;
  TColor color_ = 0xFFFFFF;
  TEditorMargin margin_;
  TEditorLeftbar leftbar_;
  TEditorRuler ruler_;
  TEditorMarks marks_;
  TScrollBars scrollBars_ = TScrollBars::ssBoth;
  int digits_ = 4;
  int shownTopRow_ = 0;
  int shownTopCol_ = 0;
  QPainter* canvas_ = nullptr;
  QTimer blink_;
  bool caretOn_ = false;
  QString preedit_;  // the input method's text being composed
  bool dragging_ = false;
  quint64 textVersion_ = 1;
  QRect lastCaret_;
  QMenu* ownMenu_ = nullptr;
};

// Qt's colour of a 0x00BBGGRR colour value.
QColor ToQColor(TColor c);

}  // namespace rd
