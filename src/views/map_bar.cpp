#include "views/map_bar.h"

#include <QPainter>
#include <QResizeEvent>

#include "controls/sel_shape.h"
#include "editor/editor_widget.h"
#include "views/kind_color.h"

namespace rd {

// The paint box inside the panel: draws what the bar's model says.
class TMapArea : public QWidget {
 public:
  explicit TMapArea(TMapBar* bar) : QWidget(bar), bar_(bar) { setAttribute(Qt::WA_OpaquePaintEvent); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    bar_->PaintArea(p);
  }

 private:
  TMapBar* bar_;
};

TMapBar::TMapBar(const TComparison& comparison, const TEditorSettings& settings, PerSide<TEditor*> panes,
                 QWidget* parent)
    : QFrame(parent), comparison_(comparison), settings_(settings), panes_(panes) {
  setObjectName(QStringLiteral("PnlErr"));
  setAccessibleName(QString::fromUtf8("差分マップ"));
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setFixedWidth(kMapPanelWidth);
  area_ = new TMapArea(this);
  area_->setObjectName(QStringLiteral("TextArea"));
  for (const Side side : {Side::A, Side::B}) {
    auto* thumb = new TSelShape(this);
    thumb->setObjectName(side == Side::A ? QStringLiteral("BvlErrA") : QStringLiteral("BvlErrB"));
    thumb->setAccessibleName(side == Side::A ? QStringLiteral("TextA") : QStringLiteral("TextB"));
    thumb->SelOption = {TSelOptSet::MoveY};
    thumb->MinTop = kMapThumbMinTop;
    thumb->SetPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    thumb->OnMouseDown = [this, side](const TShapeMouseEvent& e) { ThumbDown(side, e); };
    thumb->OnMouseMove = [this, side](const TShapeMouseEvent&) { ThumbMove(side); };
    // The last movement placed the thumb after its handler ran: follow it once more.
    thumb->OnMouseUp = [this, side](const TShapeMouseEvent&) {
      ThumbMove(side);
      model_.EndDrag();
    };
    thumbs_[Index(side)] = thumb;
  }
}

void TMapBar::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  area_->setGeometry(kMapAreaLeft, kMapAreaTop, std::max(0, width() - 2 * kMapAreaLeft),
                     std::max(0, height() - 2 * kMapAreaTop));
}

void TMapBar::PnlErrResize() {
  PerSide<TPaneExtent> extents;
  for (const Side side : {Side::A, Side::B}) {
    const TEditorModel& m = panes_[Index(side)]->Model();
    extents[Index(side)] = {m.Lines().Count(), m.TopRow(), m.VisibleRowCount()};
  }
  model_.Recompute(area_->height(), extents);
  for (const Side side : {Side::A, Side::B}) PlaceThumb(side);
  area_->update();
}

void TMapBar::PlaceThumb(Side side) {
  const TMapThumb& t = model_.Thumb(side);
  TSelShape* thumb = thumbs_[Index(side)];
  thumb->setGeometry(kMapThumbLeft[Index(side)], t.Top, kMapThumbWidth, std::max(t.Height, 1));
  thumb->setEnabled(t.Enabled);
}

void TMapBar::FollowPane(Side side) {
  if (const std::optional<int> top = model_.FollowPane(side, panes_[Index(side)]->Model().TopRow()))
    thumbs_[Index(side)]->move(kMapThumbLeft[Index(side)], *top);
}

void TMapBar::ThumbDown(Side side, const TShapeMouseEvent& e) {
  const bool linked = e.Button == Qt::RightButton && e.Buttons == Qt::RightButton && e.Modifiers == Qt::NoModifier;
  model_.BeginDrag(side, linked, height(), {thumbs_[0]->y(), thumbs_[1]->y()});
}

void TMapBar::ThumbMove(Side side) {
  const std::optional<TMapBarModel::TDragStep> step = model_.DragTo(thumbs_[Index(side)]->y());
  if (!step) return;
  panes_[Index(side)]->Model().SetTopRow(step->TopRow);
  if (step->OtherThumbTop) {
    const Side other = Other(side);
    thumbs_[Index(other)]->move(kMapThumbLeft[Index(other)], *step->OtherThumbTop);
    if (step->OtherTopRow) panes_[Index(other)]->Model().SetTopRow(*step->OtherTopRow);
  }
}

void TMapBar::PaintArea(QPainter& p) const {
  const QColor background = ToQColor(panes_[0]->Color());
  for (const Side side : {Side::A, Side::B}) {
    const TMapRect below = model_.BelowBar(side);
    p.fillRect(QRect(QPoint(below.Left, below.Top), QPoint(below.Right - 1, below.Bottom - 1)), palette().button());
    const TMapRect bar = model_.Bar(side);
    p.fillRect(QRect(QPoint(bar.Left, bar.Top), QPoint(bar.Right - 1, bar.Bottom - 1)), background);
    for (const TMapStrokeRun& run : MapStrokes(comparison_.Diff(side), model_.Height(), model_.Scale())) {
      const std::optional<std::int32_t> colour = KindColor(run.Kind, settings_);
      if (colour) p.fillRect(QRect(bar.Left, run.Top, bar.Right - bar.Left, run.Bottom - run.Top), ToQColor(*colour));
    }
  }
}

}  // namespace rd
