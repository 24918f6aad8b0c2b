// TSelShape on the offscreen platform: zones and cursors, moving and resizing
// inside the parent, the pointer held in the parent, the owner's events
// before the shape's reaction, painting and the accessible name.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include <memory>

#include "controls/sel_shape.h"

namespace rd {

class SelShapeTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> panel_;
  TSelShape* shape_ = nullptr;

  // A white 30 x 300 panel holding a shape at (3, 50), 13 x 40, set up like
  // a thumb of the map bar unless `options` says otherwise.
  TSelShape& Make(TSelOpt options = {TSelOptSet::MoveY}, QRect geometry = QRect(3, 50, 13, 40)) {
    panel_ = std::make_unique<QWidget>();
    panel_->resize(30, 300);
    panel_->setAutoFillBackground(true);
    QPalette pal = panel_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel_->setPalette(pal);
    shape_ = new TSelShape(panel_.get());
    shape_->setGeometry(geometry);
    shape_->MinTop = 2;
    shape_->SelOption = options;
    panel_->show();
    QApplication::processEvents();
    return *shape_;
  }

  // The pointer at a point of the panel, with the buttons QTest holds.
  void PressAt(QPoint inPanel, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(shape_, b, {}, shape_->mapFromParent(inPanel));
  }
  void MoveTo(QPoint inPanel) { QTest::mouseMove(shape_, shape_->mapFromParent(inPanel)); }
  void ReleaseAt(QPoint inPanel, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(shape_, b, {}, shape_->mapFromParent(inPanel));
  }
  // A movement with no button held, as mouse tracking delivers it.
  void Hover(QPoint inShape) {
    QMouseEvent move(QEvent::MouseMove, inShape, shape_->mapToGlobal(inShape), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(shape_, &move);
  }

 private slots:
  void thumbMovesVerticallyBetweenMinTopAndTheBottom() {
    TSelShape& s = Make();
    Hover({6, 1});  // on the top edge: a move-only shape keeps the default cursor
    QVERIFY(!s.testAttribute(Qt::WA_SetCursor));
    PressAt({9, 51});  // and pressing there moves it
    QVERIFY(s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), &s);
    MoveTo({20, 41});
    QCOMPARE(s.geometry(), QRect(3, 40, 13, 40));  // no sideways move
    MoveTo({9, -200});
    QCOMPARE(s.geometry(), QRect(3, 2, 13, 40));
    MoveTo({9, 1000});
    QCOMPARE(s.geometry(), QRect(3, 260, 13, 40));  // bottom at the panel's height
    MoveTo({9, 261});                                // back on the edge it holds
    QCOMPARE(s.geometry(), QRect(3, 260, 13, 40));
    QVERIFY(!s.testAttribute(Qt::WA_SetCursor));
    ReleaseAt({9, 261});
    QVERIFY(!s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
  }

  void zonesSetTheCursorAndTheDrag_data() {
    QTest::addColumn<QPoint>("grab");  // in the shape
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QRect>("after");
    // A 20 x 40 shape at (5, 50) that may do everything.
    QTest::newRow("inside") << QPoint(10, 20) << QPoint(4, 6) << int(Qt::ArrowCursor) << QRect(9, 56, 20, 40);
    QTest::newRow("top right") << QPoint(18, 2) << QPoint(4, 6) << int(Qt::SizeBDiagCursor) << QRect(5, 56, 24, 34);
    QTest::newRow("bottom right") << QPoint(18, 38) << QPoint(4, 6) << int(Qt::SizeFDiagCursor) << QRect(5, 50, 24, 46);
    QTest::newRow("top edge past MinHeight") << QPoint(10, 2) << QPoint(0, 36) << int(Qt::SizeVerCursor)
                                             << QRect(5, 50, 20, 40);
  }

  void zonesSetTheCursorAndTheDrag() {
    QFETCH(QPoint, grab);
    QFETCH(QPoint, by);
    QFETCH(int, cursor);
    QFETCH(QRect, after);
    TSelShape& s = Make(TSelOpt::All(), QRect(5, 50, 20, 40));
    Hover(grab);
    QCOMPARE(int(s.cursor().shape()), cursor);
    const QPoint start = s.mapToParent(grab);
    PressAt(start);
    MoveTo(start + by);
    QCOMPARE(s.geometry(), after);
    QCOMPARE(int(s.cursor().shape()), cursor);
    ReleaseAt(start + by);
  }

  void ownerEventsComeBeforeTheShapesReaction() {
    TSelShape& s = Make();
    QStringList seen;
    const auto log = [&](const char* what, const TShapeMouseEvent& m) {
      seen << QString("%1 button=%2 buttons=%3 at %4,%5 top=%6 dragging=%7")
                  .arg(what).arg(int(m.Button)).arg(int(m.Buttons)).arg(m.Pos.x()).arg(m.Pos.y()).arg(s.y())
                  .arg(s.Dragging());
    };
    s.OnMouseDown = [&](const TShapeMouseEvent& m) { log("down", m); };
    s.OnMouseMove = [&](const TShapeMouseEvent& m) { log("move", m); };
    s.OnMouseUp = [&](const TShapeMouseEvent& m) { log("up", m); };
    PressAt({9, 70});
    MoveTo({9, 60});
    MoveTo({9, 50});
    MoveTo({-40, 900});  // beyond the panel: reported at its last pixel (0, 299)
    ReleaseAt({9, 280});
    QCOMPARE(s.y(), 260);
    QCOMPARE(seen, QStringList({
                       "down button=1 buttons=1 at 6,20 top=50 dragging=0",
                       "move button=0 buttons=1 at 6,10 top=50 dragging=1",  // before its own move to 40
                       "move button=0 buttons=1 at 6,10 top=40 dragging=1",
                       "move button=0 buttons=1 at -3,269 top=30 dragging=1",  // (0, 299) in the panel
                       "up button=1 buttons=0 at 6,20 top=260 dragging=1",
                   }));
  }

  void whatEndsADrag() {
    TSelShape& s = Make();
    PressAt({9, 70}, Qt::RightButton);  // any button drags
    MoveTo({9, 90});
    QCOMPARE(s.y(), 70);
    ReleaseAt({9, 90}, Qt::RightButton);
    QVERIFY(!s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);

    PressAt({9, 90}, Qt::LeftButton);  // only the release of the dragging button ends it
    PressAt({9, 90}, Qt::RightButton);
    ReleaseAt({9, 90}, Qt::RightButton);
    MoveTo({9, 100});
    QCOMPARE(s.y(), 80);
    ReleaseAt({9, 100}, Qt::LeftButton);
    QVERIFY(!s.Dragging());

    PressAt({9, 90});
    s.hide();
    QVERIFY(!s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QTest::mouseRelease(&s, Qt::LeftButton);  // QTest's own button state

    s.show();
    PressAt({9, 90});
    Hover({6, 30});  // a movement without the button: its release went elsewhere
    QVERIFY(!s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(s.y(), 80);
    QTest::mouseRelease(&s, Qt::LeftButton);
  }

  void paintsAnOutlineAndCarriesAnAccessibleName() {
    TSelShape& s = Make();
    const QImage image = panel_->grab().toImage();
    QDir().mkpath(RD_SCREENSHOT_DIR);
    image.save(RD_SCREENSHOT_DIR "/sel_shape_thumb.png");
    const QRect r = s.geometry();
    QCOMPARE(image.pixelColor(r.topLeft()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(r.bottomRight()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(r.topLeft() + QPoint(1, 1)), QColor(Qt::white));  // a pen of one pixel
    QCOMPARE(image.pixelColor(r.center()), QColor(Qt::white));                 // the panel shows through

    s.setAccessibleName(QString::fromUtf8("テキストAの表示範囲"));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&s);
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), QString::fromUtf8("テキストAの表示範囲"));
    QCOMPARE(a->role(), QAccessible::Indicator);
  }
};

}  // namespace rd

QTEST_MAIN(rd::SelShapeTest)
#include "sel_shape_test.moc"
