#include "views/pane_colouring.h"

#include <QPainter>

#include "editor/editor_widget.h"
#include "views/kind_color.h"
#include "views/row_marks.h"

namespace rd {

namespace {

// DrawTextInRect's option: fill the rectangle with the brush, then draw the
// text clipped to it.
constexpr int kFillThenDraw = 6;

QPoint P(const TMarkPoint& p) { return {p.X, p.Y}; }

}  // namespace

void TPaneColouring::DrawRow(Side side, TDrawLineEvent& e) const {
  if (!e.Sender) return;
  if (!e.Selected && !ColouringOff) {
    if (const TDiffEntry* entry = FindEntry(e.Index, comparison_.Diff(side))) {
      if (const std::optional<std::int32_t> colour = KindColor(entry->kind, settings_)) {
        QPainter* canvas = e.Sender->Canvas();
        canvas->setBrush(ToQColor(*colour));
        canvas->setPen(ToQColor(e.Sender->FontColor()));
        e.Sender->DrawTextInRect(e.ARect, e.X, e.Y, e.LineStr, kFillThenDraw);
        if (entry->kind == KindChanged && settings_.CharDiff) DrawChangedChars(side, *entry, e);
      }
    }
  }
  DrawMarks(e);
}

// Each differing stretch is filled in UpdCharColor and its text drawn again,
// clipped to the painted part, as the band itself is.
void TPaneColouring::DrawChangedChars(Side side, const TDiffEntry& entry, TDrawLineEvent& e) const {
  if (!RowText) return;
  const TCharStretches& stretches = charDiffs_.Stretches(side, entry.line, entry.partner, e.LineStr,
                                                         [&] { return RowText(Other(side), entry.partner); },
                                                         comparison_.Options);
  if (stretches.empty()) return;
  TEditor* editor = e.Sender;
  const int cw = editor->CharWidth();
  editor->Canvas()->setBrush(ToQColor(settings_.UpdCharColor));
  for (const TCharStretch& c : StretchColumns(e.LineStr, stretches, editor->Model().TabSpaceCount())) {
    const QRect part = QRect(e.X + c.Begin * cw, e.Y, (c.End - c.Begin) * cw, e.ARect.height()) & e.ARect;
    if (!part.isEmpty()) editor->DrawTextInRect(part, e.X, e.Y, e.LineStr, kFillThenDraw);
  }
}

void TPaneColouring::DrawMarks(TDrawLineEvent& e) const {
  TEditor* editor = e.Sender;
  if (!editor) return;
  const std::string text = editor->GetRowText(e.Index);
  if (!MayHoldMarks(text)) return;
  const std::vector<TRowMark> marks =
      RowMarks(text, editor->Model().TabSpaceCount(), {settings_.TabShow, settings_.DSpcShow});
  if (marks.empty()) return;

  QPainter* canvas = editor->Canvas();
  const TEditorColors& colours = editor->Model().View().Colors;
  const QColor pen = e.Selected ? ToQColor(colours[TEditorColors::Select].Color()) : ToQColor(editor->FontColor());
  const TMarkCell cell{editor->CharWidth(), editor->RowHeight(), editor->Margin().Line, editor->Margin().Character};
  canvas->save();
  canvas->setBrush(Qt::NoBrush);
  for (const TRowMark& mark : marks) {
    const int x = MarkX(mark.Column, editor->TextLeft(), cell.CellWidth, editor->LeftOffset());
    if (mark.Kind == TMarkKind::Tab) {
      const std::optional<TTabMarkShape> shape =
          TabMarkShape(x, e.Y, cell, e.ARect.left(), e.ARect.left() + e.ARect.width());
      if (!shape) continue;
      canvas->setPen(QPen(pen, shape->PenWidth));
      canvas->drawLine(P(shape->Upper[0]), P(shape->Upper[1]));
      canvas->drawLine(P(shape->Lower[0]), P(shape->Lower[1]));
    } else {
      const std::vector<TMarkPoint> line = WideSpaceMarkPolyline(x, e.Y, cell, e.ARect.left());
      if (line.size() < 2) continue;
      canvas->setPen(QPen(pen, 1));
      for (std::size_t i = 1; i < line.size(); ++i) canvas->drawLine(P(line[i - 1]), P(line[i]));
    }
  }
  canvas->restore();
}

}  // namespace rd
