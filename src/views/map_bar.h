// PnlErr: the map of both texts beside the panes. One bar per text with a
// stroke per difference line, and a thumb over each bar that marks the part
// its pane shows; dragging a thumb scrolls its pane, the right button drags
// both in step.
#pragma once

#include <QFrame>

#include "compare/comparison.h"
#include "compare/side.h"
#include "settings/settings.h"
#include "views/map_bar_model.h"

namespace rd {

class TEditor;
class TSelShape;
struct TShapeMouseEvent;

class TMapBar : public QFrame {
  Q_OBJECT
 public:
  // Everything passed in is the main window's and outlives the bar.
  TMapBar(const TComparison& comparison, const TEditorSettings& settings, PerSide<TEditor*> panes,
          QWidget* parent = nullptr);

  // Recomputes the scale, the bars and the thumbs, and redraws.
  void PnlErrResize();
  // A pane scrolled: its thumb follows, unless a thumb is being dragged.
  void FollowPane(Side side);

  const TMapBarModel& Model() const { return model_; }
  TSelShape* Thumb(Side side) const { return thumbs_[Index(side)]; }
  QWidget* TextArea() const { return area_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PaintArea(QPainter& p) const;
  void ThumbDown(Side side, const TShapeMouseEvent& e);
  void ThumbMove(Side side);
  void PlaceThumb(Side side);

  const TComparison& comparison_;
  const TEditorSettings& settings_;
  PerSide<TEditor*> panes_;
  TMapBarModel model_;
  QWidget* area_ = nullptr;
  PerSide<TSelShape*> thumbs_{};

  friend class TMapArea;
};

}  // namespace rd
