// TEditor: settings, geometry, scrolling, caret, keys, mouse, input method
// and clipboard. The painting is in editor_widget_paint.cpp.
#include "editor/editor_widget.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "editor/column_model.h"
#include "editor/editor_accessible.h"
#include "editor/editor_fonts.h"
#include "editor/sjis_qstring.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"

namespace rd {

namespace {

constexpr int kBlinkMs = 500;

}  // namespace

QColor ToQColor(TColor c) {
  if (c < 0) return QColor(0, 0, 0);  // system colours are not known here
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TEditor::TEditor(QWidget* parent) : QAbstractScrollArea(parent) {
  InstallEditorAccessibility();
  model_.SetViewport(this);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setCursor(Qt::IBeamCursor);
  font_ = EditorFont("FixedSys", 10);

  model_.OnChange = [this] {
    UpdateScrollBars();
    if (OnChange) OnChange();
  };
  model_.OnCaretMoved = [this] {
    RestartCaret();
    NotifyAccessibleCaret();
    if (OnCaretMoved) OnCaretMoved();
  };
  model_.OnTopRowChange = [this] { TopRowChanged(); };
  model_.OnTopColChange = [this] { TopColChanged(); };
  model_.OnInvalidate = [this](int first, int count) { InvalidateRows(first, count); };
  model_.OnSelectionChange = [this](bool selected) {
    viewport()->update();
    if (OnSelectionChange) OnSelectionChange(selected);
  };

  blink_.setInterval(kBlinkMs);
  connect(&blink_, &QTimer::timeout, this, [this] {
    caretOn_ = !caretOn_;
    viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
  });
  SetScrollBars(TScrollBars::ssBoth);
  resize(185, 89);
  Relayout();
}

TEditor::~TEditor() { model_.SetViewport(nullptr); }

void TEditor::NotifyAccessibleCaret() {
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(this);
  if (!iface || !iface->textInterface()) return;
  QAccessibleTextCursorEvent event(this, iface->textInterface()->cursorPosition());
  QAccessible::updateAccessibility(&event);
}

// ---- settings -------------------------------------------------------------------

void TEditor::SetFont(const QFont& font) {
  font_ = font;
  Relayout();
}

void TEditor::SetFontColor(TColor c) {
  fontColor_ = c;
  viewport()->update();
}

void TEditor::SetColor(TColor c) {
  color_ = c;
  viewport()->update();
}

void TEditor::SetMargin(const TEditorMargin& m) {
  margin_ = m;
  Relayout();
}

void TEditor::SetLeftbar(const TEditorLeftbar& b) {
  leftbar_ = b;
  Relayout();
}

void TEditor::SetRuler(const TEditorRuler& r) {
  ruler_ = r;
  Relayout();
}

void TEditor::SetMarks(const TEditorMarks& m) {
  marks_ = m;
  Relayout();
}

void TEditor::SetScrollBars(TScrollBars s) {
  scrollBars_ = s;
  const bool v = s == TScrollBars::ssVertical || s == TScrollBars::ssBoth;
  const bool h = s == TScrollBars::ssHorizontal || s == TScrollBars::ssBoth;
  setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  Relayout();
}

void TEditor::Relayout() {
  const QFontMetrics fm(font_);
  const TEditorScreenStrings& rows = model_.Rows();
  const int count = rows.Count();
  const bool endsWithBreak = count == 0 || rows.RowEnd(count - 1) == rowEndLine;
  int last = std::max(0, count - 1);
  if (leftbar_.ShowNumberMode == TNumberMode::nmLine && model_.WordWrap()) last = rows.LineIndexOfRows(last);
  digits_ = LeftbarDigits(leftbar_, count == 0 ? 0 : last, count > 0 && endsWithBreak);

  TGeometryInput in;
  in.Font = {fm.height(), fm.leading(), fm.horizontalAdvance(QLatin1Char('0')), fm.ascent()};
  in.Margin = margin_;
  in.Leftbar = leftbar_;
  in.Ruler = ruler_;
  in.UnderlineVisible = marks_.Underline.Visible;
  in.LeftbarDigits = digits_;
  in.Width = viewport()->width();
  in.Height = viewport()->height();
  geometry_ = ComputeGeometry(in);
  ascent_ = fm.ascent();
  if (font_ != painterFont_ || painter_.ColumnWidth() != geometry_.ColumnWidth) {
    painter_.SetFont(font_, geometry_.ColumnWidth);
    painterFont_ = font_;
  }
  UpdateScrollBars();
  viewport()->update();
}

void TEditor::UpdateScrollBars() {
  QScrollBar* v = verticalScrollBar();
  QScrollBar* h = horizontalScrollBar();
  const QSignalBlocker bv(v);
  const QSignalBlocker bh(h);
  v->setRange(0, model_.Rows().Count());
  v->setPageStep(std::max(1, geometry_.VisibleRows));
  v->setValue(model_.TopRow());
  h->setRange(0, std::max(0, kMaxColumns - geometry_.VisibleCols / 2));
  h->setPageStep(std::max(1, geometry_.VisibleCols));
  h->setValue(model_.TopCol());
}

// ---- scrolling ------------------------------------------------------------------

void TEditor::scrollContentsBy(int, int) {
  model_.SetTopRow(verticalScrollBar()->value());
  model_.SetTopCol(horizontalScrollBar()->value());
}

void TEditor::TopRowChanged() {
  const int delta = model_.TopRow() - shownTopRow_;
  shownTopRow_ = model_.TopRow();
  const QRect area(0, geometry_.TextTop, viewport()->width(), viewport()->height() - geometry_.TextTop);
  if (std::abs(delta) < geometry_.VisibleRows) viewport()->scroll(0, -delta * geometry_.RowHeight, area);
  else viewport()->update(area);
  // The caret and the ruler's caret mark are drawn over what was scrolled.
  viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
  {
    const QSignalBlocker block(verticalScrollBar());
    verticalScrollBar()->setValue(model_.TopRow());
  }
  if (OnTopRowChange) OnTopRowChange();
}

void TEditor::TopColChanged() {
  const int delta = model_.TopCol() - shownTopCol_;
  shownTopCol_ = model_.TopCol();
  const QRect area(geometry_.TextLeft, geometry_.TextTop, viewport()->width() - geometry_.TextLeft,
                   viewport()->height() - geometry_.TextTop);
  if (std::abs(delta) < geometry_.VisibleCols) viewport()->scroll(-delta * geometry_.ColumnWidth, 0, area);
  else viewport()->update(area);
  viewport()->update(QRect(0, 0, viewport()->width(), geometry_.TextTop));
  {
    const QSignalBlocker block(horizontalScrollBar());
    horizontalScrollBar()->setValue(model_.TopCol());
  }
  if (OnTopColChange) OnTopColChange();
}

void TEditor::InvalidateRows(int first, int count) {
  ++textVersion_;
  const int oldDigits = digits_;
  const TEditorScreenStrings& rows = model_.Rows();
  const int n = rows.Count();
  digits_ = LeftbarDigits(leftbar_, std::max(0, n - 1), n > 0 && rows.RowEnd(n - 1) == rowEndLine);
  if (digits_ != oldDigits) {
    Relayout();
    return;
  }
  // A count of -1 means rows came or went (a whole-text load included).
  if (count < 0) UpdateScrollBars();
  const int top = std::max(geometry_.TextTop, RowY(first));
  const int bottom = count < 0 ? viewport()->height() : RowY(first + count);
  if (bottom > top) viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

void TEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

QRect TEditor::CaretRect() const {
  const TEditorGeometry& g = geometry_;
  const int row = model_.Row();
  if (row < model_.TopRow() || row >= model_.TopRow() + g.VisibleRows + 1) return {};
  const int x = RowX() + model_.Col() * g.ColumnWidth;
  if (x < g.TextLeft) return {};
  const int y = RowY(row);
  const std::string_view text = model_.Rows().RowText(row);
  const TEditorModel::TPos pos = model_.PosOf(row, model_.Col());
  const bool wide = pos.byte >= 0 && static_cast<std::size_t>(pos.byte) < text.size() &&
                    IsSjisLead(static_cast<std::uint8_t>(text[pos.byte]));
  const int charWidth = g.ColumnWidth * (wide ? 2 : 1);
  if (model_.Overwrite) return QRect(x, y, charWidth, g.FontHeight);
  if (CaretStyle == TCaretStyle::csBrief) return QRect(x, y + g.FontHeight - 2, charWidth, 2);
  return QRect(x, y, 2, g.FontHeight);
}

void TEditor::RestartCaret() {
  viewport()->update(lastCaret_.adjusted(-1, -1, 1, 1));
  caretOn_ = hasFocus();
  if (hasFocus()) blink_.start();
  else blink_.stop();
  lastCaret_ = CaretRect();
  viewport()->update(lastCaret_.adjusted(-1, -1, 1, 1));
  viewport()->update(QRect(0, 0, viewport()->width(), geometry_.TextTop));  // the ruler's caret mark
  if (marks_.Underline.Visible) viewport()->update();
}

void TEditor::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RestartCaret();
}

void TEditor::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  RestartCaret();
}

// ---- keys, wheel and mouse --------------------------------------------------------

void TEditor::keyPressEvent(QKeyEvent* event) {
  if (OnKeyDown && OnKeyDown(event)) return;
  if (!HandleKey(event)) QAbstractScrollArea::keyPressEvent(event);
}

bool TEditor::HandleKey(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool repeat = event->isAutoRepeat();
  const int rowInView = model_.Row() - model_.TopRow();
  switch (event->key()) {
    case Qt::Key_Left: model_.MoveLeft(shift); return true;
    case Qt::Key_Right: model_.MoveRight(shift); return true;
    case Qt::Key_Up: {
      // A held key at the top edge of the view moves several rows at a time.
      const int steps = repeat && rowInView <= 0 ? std::max(1, Speed.CaretVerticalAc) : 1;
      for (int i = 0; i < steps; ++i) model_.MoveUp(shift);
      return true;
    }
    case Qt::Key_Down: {
      const int steps = repeat && rowInView >= geometry_.VisibleRows - 1 ? std::max(1, Speed.CaretVerticalAc) : 1;
      for (int i = 0; i < steps; ++i) model_.MoveDown(shift);
      return true;
    }
    case Qt::Key_Home: ctrl ? model_.MoveTextStart(shift) : model_.MoveHome(shift); return true;
    case Qt::Key_End: ctrl ? model_.MoveTextEnd(shift) : model_.MoveEnd(shift); return true;
    case Qt::Key_PageUp: model_.PageUp(shift, repeat ? Speed.PageVerticalRangeAc : Speed.PageVerticalRange); return true;
    case Qt::Key_PageDown: model_.PageDown(shift, repeat ? Speed.PageVerticalRangeAc : Speed.PageVerticalRange); return true;
    case Qt::Key_Delete:
      if (shift) CutToClipboard();
      else model_.DeleteChar();
      return true;
    case Qt::Key_Backspace: model_.BackSpace(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: model_.NewLine(); return true;
    case Qt::Key_Tab: model_.TabKey(); return true;
    case Qt::Key_Insert:
      if (ctrl) CopyToClipboard();
      else if (shift) PasteFromClipboard();
      else {
        model_.Overwrite = !model_.Overwrite;
        RestartCaret();
      }
      return true;
    default: break;
  }
  if (ctrl && !(event->modifiers() & Qt::AltModifier)) {
    switch (event->key()) {
      case Qt::Key_C: CopyToClipboard(); return true;
      case Qt::Key_X: CutToClipboard(); return true;
      case Qt::Key_V: PasteFromClipboard(); return true;
      case Qt::Key_A: SelectAll(); return true;
      case Qt::Key_Z: shift ? Redo() : Undo(); return true;
      case Qt::Key_Y: Redo(); return true;
      default: return false;
    }
  }
  const QString typed = event->text();
  if (typed.isEmpty() || typed.at(0).unicode() < 0x20 || typed.at(0).unicode() == 0x7F) return false;
  TypeText(typed);
  return true;
}

void TEditor::TypeText(const QString& text) {
  const std::string sjis = ToSjis(text);
  for (std::size_t i = 0; i < sjis.size();) {
    const std::size_t n = IsSjisLead(static_cast<std::uint8_t>(sjis[i])) && i + 1 < sjis.size() ? 2 : 1;
    model_.TypeChar(std::string_view(sjis).substr(i, n));
    i += n;
  }
}

bool TEditor::focusNextPrevChild(bool next) {
  // Tab belongs to the text.
  (void)next;
  return false;
}

void TEditor::wheelEvent(QWheelEvent* event) {
  if (OnMouseWheel && OnMouseWheel(event)) return;
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) model_.SetTopRow(model_.TopRow() - notches * 3);
  event->accept();
}

void TEditor::PointToRowCol(const QPoint& pt, int& row, int& col) const {
  const TEditorGeometry& g = geometry_;
  const int dy = pt.y() - g.TextTop;
  row = model_.TopRow() + (dy < 0 ? -1 : dy / g.RowHeight);
  row = std::clamp(row, 0, model_.MaxRow());
  const int dx = pt.x() - g.TextLeft + g.ColumnWidth / 2;
  col = std::clamp(model_.TopCol() + (dx < 0 ? 0 : dx / g.ColumnWidth), 0, kMaxColumns + 1);
}

void TEditor::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  int row = 0, col = 0;
  PointToRowCol(event->position().toPoint(), row, col);
  if (event->modifiers() & Qt::ShiftModifier) {
    // The model's anchor: also the end a keyboard selection started from.
    model_.Select(model_.AnchorRow(), model_.AnchorCol(), row, col);
  } else {
    model_.ClearSelection();
    model_.SetRowCol(row, col);
  }
  dragging_ = true;
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  int row = 0, col = 0;
  PointToRowCol(event->position().toPoint(), row, col);
  const TSelectionMode mode =
      event->modifiers() & Qt::AltModifier ? TSelectionMode::Block : TSelectionMode::Stream;
  if (row != model_.AnchorRow() || col != model_.AnchorCol())
    model_.Select(model_.AnchorRow(), model_.AnchorCol(), row, col, mode);
}

void TEditor::mouseReleaseEvent(QMouseEvent* event) {
  QAbstractScrollArea::mouseReleaseEvent(event);
  dragging_ = false;
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  int row = 0, col = 0;
  PointToRowCol(event->position().toPoint(), row, col);
  model_.SelectTokenAt(row, col);
  dragging_ = false;
}

void TEditor::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = PopupMenu;
  if (!menu) {
    if (!ownMenu_) {
      ownMenu_ = new QMenu(this);
      ownMenu_->addAction(QString::fromUtf8("元に戻す"), this, [this] { Undo(); });
      ownMenu_->addSeparator();
      ownMenu_->addAction(QString::fromUtf8("切り取り"), this, [this] { CutToClipboard(); });
      ownMenu_->addAction(QString::fromUtf8("コピー"), this, [this] { CopyToClipboard(); });
      ownMenu_->addAction(QString::fromUtf8("貼り付け"), this, [this] { PasteFromClipboard(); });
      ownMenu_->addSeparator();
      ownMenu_->addAction(QString::fromUtf8("すべて選択"), this, [this] { SelectAll(); });
    }
    menu = ownMenu_;
  }
  menu->popup(event->globalPos());
}

// ---- input method ------------------------------------------------------------------

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) TypeText(event->commitString());
  preedit_ = event->preeditString();
  viewport()->update(QRect(0, RowY(model_.Row()), viewport()->width(), geometry_.RowHeight));
  event->accept();
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled: return !model_.ReadOnly;
    case Qt::ImCursorRectangle: {
      QRect r = CaretRect();
      if (r.isEmpty()) r = QRect(geometry_.TextLeft, geometry_.TextTop, 2, geometry_.FontHeight);
      return r.translated(viewport()->pos());
    }
    case Qt::ImFont: return font_;
    case Qt::ImCursorPosition: return 0;
    case Qt::ImSurroundingText: return QString();
    default: return QAbstractScrollArea::inputMethodQuery(query);
  }
}

// ---- clipboard -----------------------------------------------------------------------

void TEditor::CopyToClipboard() {
  if (!model_.Selected()) return;
  QString text = FromSjis(model_.CopyText());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  auto* data = new QMimeData;
  data->setText(text);
  if (model_.SelectionMode() == TSelectionMode::Block) data->setData(kBoxFormat, text.toUtf8());
  QApplication::clipboard()->setMimeData(data);
}

void TEditor::CutToClipboard() {
  if (!model_.Selected() || model_.ReadOnly) return;
  CopyToClipboard();
  model_.DeleteSelection();
}

void TEditor::PasteFromClipboard() {
  if (model_.ReadOnly) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return;
  QString text = data->text();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  model_.PasteText(ToSjis(text), data->hasFormat(kBoxFormat));
}

}  // namespace rd
