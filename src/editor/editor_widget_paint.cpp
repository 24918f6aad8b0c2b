// TEditor's painting: the ruler, the left bar, the rows with their tokens,
// selection parts and row-end marks, and the drawing services of the
// line-drawing hook.
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "editor/column_model.h"
#include "editor/editor_widget.h"
#include "editor/sjis_qstring.h"
#include "textcode/text_code.h"

namespace rd {

namespace {

// The bytes that are drawn of a row: 1000, or 1001 when byte 1000 leads a
// double-byte character.
std::size_t DrawnBytes(std::string_view text) {
  if (text.size() <= static_cast<std::size_t>(kMaxColumns)) return text.size();
  return IsSjisLead(static_cast<std::uint8_t>(text[kMaxColumns - 1])) ? kMaxColumns + 1 : kMaxColumns;
}

}  // namespace

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

}  // namespace rd
