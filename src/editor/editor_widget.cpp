#include "editor/editor_widget.h"

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
#include "editor/editor_fonts.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"

namespace rd {

namespace {

constexpr int kBlinkMs = 500;

std::string ToSjis(const QString& s) {
  const QByteArray utf8 = s.toUtf8();
  return Utf8ToSjis(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))).value_or(std::string());
}

QString FromSjis(std::string_view s) {
  const std::string utf8 = SjisToUtf8(s).value_or(std::string());
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The bytes that are drawn of a row: 1000, or 1001 when byte 1000 leads a
// double-byte character.
std::size_t DrawnBytes(std::string_view text) {
  if (text.size() <= static_cast<std::size_t>(kMaxColumns)) return text.size();
  return IsSjisLead(static_cast<std::uint8_t>(text[kMaxColumns - 1])) ? kMaxColumns + 1 : kMaxColumns;
}

}  // namespace

QColor ToQColor(TColor c) {
  if (c < 0) return QColor(0, 0, 0);  // system colours are not known here
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TEditor::TEditor(QWidget* parent) : QAbstractScrollArea(parent) {
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
    if (OnCaretMoved) OnCaretMoved();
  };
  model_.OnTopRowChange = [this] { TopRowChanged(); };
  model_.OnTopColChange = [this] { TopColChanged(); };
  model_.OnInvalidate = [this](int first, int count) { InvalidateRows(first, count); };
  model_.OnSelectionChange = [this](bool) { viewport()->update(); };

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
  const int oldDigits = digits_;
  const TEditorScreenStrings& rows = model_.Rows();
  const int n = rows.Count();
  digits_ = LeftbarDigits(leftbar_, std::max(0, n - 1), n > 0 && rows.RowEnd(n - 1) == rowEndLine);
  if (digits_ != oldDigits) {
    Relayout();
    return;
  }
  const int top = std::max(geometry_.TextTop, RowY(first));
  const int bottom = count < 0 ? viewport()->height() : RowY(first + count);
  if (bottom > top) viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

void TEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

// ---- services for the line-drawing hook -------------------------------------------

std::string TEditor::GetRowText(int row) const { return std::string(model_.Rows().RowText(row)); }

TRowAttributeData TEditor::GetRowAttributes(int row) const {
  const TEditorScreenStrings& rows = model_.Rows();
  return row >= 0 && row < rows.Count() ? rows.RowAttributes(row) : TRowAttributeData();
}

void TEditor::DrawTextInRect(const QRect& rect, int x, int y, std::string_view text, int options) {
  QPainter* p = canvas_;
  if (!p) return;
  p->save();
  if (options == 6) p->fillRect(rect, p->brush());
  p->setClipRect(rect, Qt::IntersectClip);
  const std::size_t bytes = DrawnBytes(text);
  painter_.Draw(*p, x, y + ascent_, text, 0, model_.TabSpaceCount(), bytes);
  if (p->font().underline()) {
    // A dotted line one pixel above the bottom of the font height,
    // alternating the font colour and the brush colour.
    const int lineY = y + geometry_.FontHeight - 2;
    const int from = std::max(x, rect.left());
    const int to = std::min(x + model_.Rows().TextDisplayWidth(text.substr(0, bytes)) * geometry_.ColumnWidth,
                            rect.right() + 1);
    const QColor a = p->pen().color();
    const QColor b = p->brush().color();
    for (int px = from; px < to; ++px) {
      p->setPen((px - from) % 2 == 0 ? a : b);
      p->drawPoint(px, lineY);
    }
  }
  p->restore();
}

// ---- painting ------------------------------------------------------------------------

QColor TEditor::Resolve(TColor c, TColor fallback) const { return ToQColor(c == clNone ? fallback : c); }

void TEditor::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  PaintArea(p, event->rect());
}

void TEditor::PaintArea(QPainter& p, const QRect& clip) {
  canvas_ = &p;
  const TEditorGeometry& g = geometry_;
  const QColor back = ToQColor(color_);
  if (margin_.Top > 0) p.fillRect(QRect(0, 0, viewport()->width(), margin_.Top) & clip, back);
  if (margin_.Left > 0) p.fillRect(QRect(0, 0, margin_.Left, viewport()->height()) & clip, back);
  // The corner above the left bar, then the ruler.
  if (g.RulerHeight > 0) {
    p.fillRect(QRect(margin_.Left, margin_.Top, g.LeftbarWidth, g.RulerHeight) & clip,
               Resolve(leftbar_.BkColor, color_));
    if (clip.top() < g.TextTop) PaintRuler(p, clip);
  }
  if (g.LeftbarWidth > 0 && clip.left() < g.TextLeft) PaintLeftbar(p, clip);

  const int first = model_.TopRow() + std::max(0, (clip.top() - g.TextTop) / g.RowHeight);
  for (int row = first; RowY(row) <= clip.bottom(); ++row) PaintRow(p, row, clip);

  // The caret row's underline, the text being composed, and the caret.
  const int caretY = RowY(model_.Row());
  if (marks_.Underline.Visible && model_.Row() >= model_.TopRow()) {
    p.setPen(ToQColor(marks_.Underline.Color));
    p.drawLine(g.TextLeft, caretY + g.FontHeight, viewport()->width(), caretY + g.FontHeight);
  }
  const QRect caret = CaretRect();
  if (!preedit_.isEmpty() && !caret.isEmpty()) {
    const std::string sjis = ToSjis(preedit_);
    const QRect band(caret.left(), caretY, model_.Rows().TextDisplayWidth(sjis) * g.ColumnWidth, g.FontHeight);
    p.fillRect(band, back);
    p.setPen(Resolve(fontColor_, fontColor_));
    painter_.Draw(p, band.left(), caretY + ascent_, sjis, 0, model_.TabSpaceCount(), sjis.size());
    p.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
  } else if (caretOn_ && hasFocus() && caret.intersects(clip)) {
    p.fillRect(caret, Resolve(fontColor_, fontColor_));
  }
  canvas_ = nullptr;
}

void TEditor::PaintRuler(QPainter& p, const QRect& clip) {
  const TEditorGeometry& g = geometry_;
  const QRect band(g.TextLeft, margin_.Top, viewport()->width() - g.TextLeft, g.RulerHeight);
  if (!band.intersects(clip)) return;
  p.save();
  p.setClipRect(band & clip);
  p.fillRect(band, Resolve(ruler_.BkColor, color_));
  p.setPen(Resolve(ruler_.Color, fontColor_));
  const int range = std::max(1, ruler_.GaugeRange);
  const int bottom = band.bottom() - (ruler_.Edge ? 1 : 0);
  for (int c = model_.TopCol(), x = g.TextLeft; x < band.right(); ++c, x += g.ColumnWidth) {
    const int h = c % range == 0 ? g.RulerHeight - 3 : c % (range / 2 > 0 ? range / 2 : 1) == 0 ? 4 : 2;
    p.drawLine(x, bottom, x, bottom - h + 1);
  }
  if (ruler_.Edge) p.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
  const int caretX = RowX() + model_.Col() * g.ColumnWidth;
  p.fillRect(QRect(caretX, band.top(), g.ColumnWidth, bottom - band.top()), ToQColor(ruler_.MarkColor));
  p.restore();
}

void TEditor::PaintLeftbar(QPainter& p, const QRect& clip) {
  const TEditorGeometry& g = geometry_;
  const int left = margin_.Left;
  const QRect bar(left, g.TextTop, g.LeftbarWidth, viewport()->height() - g.TextTop);
  p.fillRect(bar & clip, Resolve(leftbar_.BkColor, color_));
  const int edgeX = left + g.LeftbarWidth - 2;
  p.setPen(leftbar_.Edge ? QColor(Qt::white) : Resolve(leftbar_.BkColor, color_));
  p.drawLine(edgeX, bar.top(), edgeX, bar.bottom());
  p.setPen(leftbar_.Edge ? QColor(Qt::gray) : Resolve(leftbar_.Color, fontColor_));
  p.drawLine(edgeX + 1, bar.top(), edgeX + 1, bar.bottom());
  if (!leftbar_.ShowNumber) return;

  const TEditorScreenStrings& rows = model_.Rows();
  const int count = rows.Count();
  p.setPen(Resolve(leftbar_.Color, fontColor_));
  const int first = model_.TopRow() + std::max(0, (clip.top() - g.TextTop) / g.RowHeight);
  for (int row = first; RowY(row) <= clip.bottom() && row <= count; ++row) {
    int number = -1;
    if (row == count) {
      if (count == 0 || rows.RowEnd(count - 1) == rowEndLine)
        number = leftbar_.ShowNumberMode == TNumberMode::nmLine ? rows.LineCount() : row;
    } else if (leftbar_.ShowNumberMode == TNumberMode::nmRow) {
      number = row;
    } else if (row == 0 || rows.RowEnd(row - 1) != rowWrapped) {
      number = model_.WordWrap() ? rows.LineIndexOfRows(row) : row;
    }
    if (number < 0) continue;
    const std::string text = LeftbarNumber(leftbar_, number, digits_);
    const int x = left + leftbar_.LeftMargin + (digits_ - static_cast<int>(text.size())) * g.ColumnWidth;
    painter_.Draw(p, x, RowY(row) + ascent_, text, 0, 8, text.size());
  }
}

void TEditor::PaintRow(QPainter& p, int row, const QRect& clip) {
  const TEditorGeometry& g = geometry_;
  const QRect band(g.TextLeft, RowY(row), viewport()->width() - g.TextLeft, g.RowHeight);
  const QRect visible = band & clip;
  if (visible.isEmpty()) return;
  TEditorScreenStrings& rows = model_.Rows();
  const int count = rows.Count();
  if (row >= count) {
    p.fillRect(visible, ToQColor(color_));
    if (row == count && marks_.EofMark.Visible && (count == 0 || rows.RowEnd(count - 1) == rowEndLine)) {
      p.setPen(ToQColor(marks_.EofMark.Color));
      painter_.Draw(p, RowX(), band.top() + ascent_, "[EOF]", 0, 8, 5);
    }
    return;
  }
  rows.EnsureState(row);
  const std::string_view text = rows.RowText(row);

  // The band is cut into the parts before, inside and after the selection.
  int selFrom = 0;
  int selTo = 0;
  if (model_.Selected()) {
    int sr = 0, sc = 0, er = 0, ec = 0;
    model_.SelectionBounds(sr, sc, er, ec);
    if (row >= sr && row <= er) {
      if (model_.SelectionMode() == TSelectionMode::Block) {
        selFrom = std::min(sc, ec);
        selTo = std::max(sc, ec);
      } else {
        selFrom = row == sr ? sc : 0;
        selTo = row == er ? ec : kMaxColumns + 2;
      }
    }
  }
  const int x0 = RowX();
  const auto colX = [&](int col) {
    return static_cast<int>(std::clamp<long long>(x0 + static_cast<long long>(col) * g.ColumnWidth, band.left(),
                                                  band.right() + 1));
  };
  if (selTo <= selFrom) {
    PaintPart(p, row, text, band, false);
  } else {
    const int a = colX(selFrom);
    const int b = colX(selTo);
    if (a > band.left()) PaintPart(p, row, text, QRect(band.left(), band.top(), a - band.left(), band.height()), false);
    if (b > a) PaintPart(p, row, text, QRect(a, band.top(), b - a, band.height()), true);
    if (b <= band.right()) PaintPart(p, row, text, QRect(b, band.top(), band.right() + 1 - b, band.height()), false);
  }
  PaintRowEnd(p, row, text, band.top(), band);
}

void TEditor::PaintPart(QPainter& p, int row, std::string_view text, const QRect& part, bool selected) {
  const TEditorGeometry& g = geometry_;
  const TEditorColors& colors = model_.View().Colors;
  const TEditorColor& sel =
      colors[model_.SelectionState() == TSelectionState::Hit ? TEditorColors::Hit : TEditorColors::Select];
  const QColor back = selected ? Resolve(sel.BkColor(), fontColor_) : ToQColor(color_);
  const QColor fore = selected ? Resolve(sel.Color(), color_) : Resolve(fontColor_, fontColor_);
  const int y = RowY(row);
  const int x0 = RowX();
  const std::size_t bytes = DrawnBytes(text);
  const int tab = model_.TabSpaceCount();
  p.save();
  p.setClipRect(part);
  p.fillRect(part, back);
  p.setPen(fore);
  painter_.Draw(p, x0, y + ascent_, text, 0, tab, bytes);

  if (!selected) {
    // Tokens with colours of their own are drawn a second time.
    const TEditorScreenStrings& rows = model_.Rows();
    std::string walked(text);
    if (rows.RowEnd(row) == rowWrapped) walked.append(rows.RowText(row + 1));
    const std::unique_ptr<TFountainParser> parser = model_.ActiveFountain().CreateParser();
    parser->NewData(walked, rows.RowAttributes(row));
    const int limit = std::min(part.right() + 1, g.TextLeft + kMaxColumns * g.ColumnWidth - LeftOffset());
    const TColumnLayout layout = rows.Layout();
    while (parser->NextToken() != 0) {
      const int start = parser->SourcePos();
      if (static_cast<std::size_t>(start) >= text.size()) break;
      const TFountainColor* color = parser->TokenColor();
      if (!color || color->IsDefault()) continue;
      const int col = ByteToColumn(text, start, layout);
      const int x = x0 + col * g.ColumnWidth;
      if (x >= limit) break;
      const std::string_view token = text.substr(start, std::min<std::size_t>(parser->TokenLength(), bytes - std::min<std::size_t>(bytes, start)));
      const int width = DisplayWidth(token, layout) * g.ColumnWidth;
      if (x + width <= part.left()) continue;
      const TFontStyles style = color->Style();
      if (color->BkColor() != clNone) p.fillRect(QRect(x, y, width, g.FontHeight), ToQColor(color->BkColor()));
      p.setPen(Resolve(color->Color(), fontColor_));
      const TSjisTextPainter& glyphs = style & fsItalic ? ItalicPainter() : painter_;
      glyphs.Draw(p, x, y + ascent_, token, col, tab, token.size());
      if (style & fsBold) glyphs.Draw(p, x + 1, y + ascent_, token, col, tab, token.size());  // struck twice
      if (style & fsUnderline) p.drawLine(x, y + ascent_ + 1, x + width - 1, y + ascent_ + 1);
      if (style & fsStrikeOut) p.drawLine(x, y + ascent_ / 2 + 1, x + width - 1, y + ascent_ / 2 + 1);
    }
  }
  p.restore();

  if (OnDrawLine) {
    TDrawLineEvent e{this, std::string(text), x0, y, row, part, selected};
    p.save();
    p.setClipRect(part);
    OnDrawLine(e);
    p.restore();
  }
}

void TEditor::PaintRowEnd(QPainter& p, int row, std::string_view text, int y, const QRect& band) {
  const TEditorGeometry& g = geometry_;
  const TEditorScreenStrings& rows = model_.Rows();
  const std::size_t bytes = DrawnBytes(text);
  const bool cut = bytes < text.size();
  const int endCol = rows.TextDisplayWidth(text.substr(0, bytes));
  const int x = RowX() + endCol * g.ColumnWidth;
  if (x >= band.right() || x < g.TextLeft) return;
  const int kind = rows.RowEnd(row);
  p.save();
  p.setClipRect(band);
  if (cut) {
    if (marks_.HideMark.Visible) {
      // A small filled triangle pointing right: the row goes on past what is drawn.
      const int h = g.FontHeight;
      const QPoint tri[3] = {QPoint(x + 1, y + h / 4), QPoint(x + g.ColumnWidth - 1, y + h / 2),
                             QPoint(x + 1, y + 3 * h / 4)};
      p.setPen(ToQColor(marks_.HideMark.Color));
      p.setBrush(ToQColor(marks_.HideMark.Color));
      p.drawPolygon(tri, 3);
    }
  } else if (kind == rowEndText && row == rows.Count() - 1 && marks_.EofMark.Visible) {
    p.setPen(ToQColor(marks_.EofMark.Color));
    painter_.Draw(p, x, y + ascent_, "[EOF]", 0, 8, 5);
  } else if (kind == rowEndLine && marks_.RetMark.Visible) {
    const int d = std::max(1, g.FontHeight / 8) * 2;
    const int head = std::max(3, g.FontHeight / 8);
    const int mid = x + g.ColumnWidth / 2;
    p.setPen(ToQColor(marks_.RetMark.Color));
    p.drawLine(mid, y + d, mid, y + g.FontHeight - d);
    p.drawLine(mid - head, y + g.FontHeight - d - head, mid, y + g.FontHeight - d);
    p.drawLine(mid + head, y + g.FontHeight - d - head, mid, y + g.FontHeight - d);
  } else if (kind == rowWrapped && marks_.WrapMark.Visible) {
    p.setPen(ToQColor(marks_.WrapMark.Color));
    const int mid = y + g.FontHeight / 2;
    p.drawLine(x + 1, mid, x + g.ColumnWidth - 1, mid);
  }
  p.restore();
}

const TSjisTextPainter& TEditor::ItalicPainter() {
  if (italicFont_ != font_ || italic_.ColumnWidth() != geometry_.ColumnWidth) {
    QFont italic(font_);
    italic.setItalic(true);
    italic_.SetFont(italic, geometry_.ColumnWidth);
    italicFont_ = font_;
  }
  return italic_;
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
    if (!model_.Selected()) {
      anchorRow_ = model_.Row();
      anchorCol_ = model_.Col();
    }
    model_.Select(anchorRow_, anchorCol_, row, col);
  } else {
    model_.ClearSelection();
    model_.SetRowCol(row, col);
    anchorRow_ = model_.Row();
    anchorCol_ = model_.Col();
  }
  dragging_ = true;
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  int row = 0, col = 0;
  PointToRowCol(event->position().toPoint(), row, col);
  const TSelectionMode mode =
      event->modifiers() & Qt::AltModifier ? TSelectionMode::Block : TSelectionMode::Stream;
  if (row != anchorRow_ || col != anchorCol_) model_.Select(anchorRow_, anchorCol_, row, col, mode);
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
