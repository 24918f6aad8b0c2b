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
#include <vector>

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

  void Save(QWidget& w, const char* name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w.grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
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
    QTest::newRow("top") << QPoint(10, 2) << QPoint(4, 6) << int(Qt::SizeVerCursor) << QRect(5, 56, 20, 34);
    QTest::newRow("left") << QPoint(2, 20) << QPoint(4, 6) << int(Qt::SizeHorCursor) << QRect(9, 50, 16, 40);
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
    std::vector<QString> seen;
    s.OnMouseDown = [&](const TShapeMouseEvent& m) {
      seen.push_back(QString("down %1 dragging=%2 buttons=%3 at %4,%5")
                         .arg(int(m.Button))
                         .arg(s.Dragging())
                         .arg(int(m.Buttons))
                         .arg(m.Pos.x())
                         .arg(m.Pos.y()));
    };
    s.OnMouseMove = [&](const TShapeMouseEvent& m) {
      seen.push_back(QString("move top=%1 at %2,%3").arg(s.y()).arg(m.Pos.x()).arg(m.Pos.y()));
    };
    s.OnMouseUp = [&](const TShapeMouseEvent& m) {
      seen.push_back(QString("up %1 dragging=%2").arg(int(m.Button)).arg(s.Dragging()));
    };
    PressAt({9, 70});
    MoveTo({9, 60});
    MoveTo({9, 50});
    MoveTo({-40, 900});  // beyond the panel: reported at its last pixel (0, 299)
    ReleaseAt({9, 280});
    QCOMPARE(s.y(), 260);
    const std::vector<QString> expected = {
        "down 1 dragging=0 buttons=1 at 6,20",
        "move top=50 at 6,10",   // before its own move to 40
        "move top=40 at 6,10",   // before the move to 30
        "move top=30 at -3,269",  // (0, 299) in the panel, relative to top 30
        "up 1 dragging=1",
    };
    QCOMPARE(seen, expected);
  }

  void anyButtonDragsAndOnlyItsReleaseEndsTheDrag() {
    TSelShape& s = Make();
    PressAt({9, 70}, Qt::RightButton);
    MoveTo({9, 90});
    QCOMPARE(s.y(), 70);
    ReleaseAt({9, 90}, Qt::RightButton);
    QVERIFY(!s.Dragging());

    PressAt({9, 90}, Qt::LeftButton);
    PressAt({9, 90}, Qt::RightButton);
    ReleaseAt({9, 90}, Qt::RightButton);
    QVERIFY(s.Dragging());
    MoveTo({9, 100});
    QCOMPARE(s.y(), 80);
    ReleaseAt({9, 100}, Qt::LeftButton);
    QVERIFY(!s.Dragging());
  }

  void hidingOrALostReleaseEndsTheDrag() {
    TSelShape& s = Make();
    PressAt({9, 70});
    s.hide();
    QVERIFY(!s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QTest::mouseRelease(&s, Qt::LeftButton);  // QTest's button state

    s.show();
    PressAt({9, 70});
    Hover({6, 30});  // a movement without the button: its release went elsewhere
    QVERIFY(!s.Dragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(s.y(), 50);
    QTest::mouseRelease(&s, Qt::LeftButton);
  }

  void paintsItsOutlineOverAClearInside() {
    TSelShape& s = Make();
    QImage image = panel_->grab().toImage();
    Save(*panel_, "sel_shape_thumb");
    const QRect r = s.geometry();
    QCOMPARE(image.pixelColor(r.topLeft()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(r.bottomRight()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(r.center()), QColor(Qt::white));                 // the panel shows through
    QCOMPARE(image.pixelColor(r.topLeft() + QPoint(1, 1)), QColor(Qt::white));  // one pixel of pen
    QCOMPARE(image.pixelColor(r.bottomRight() + QPoint(1, 1)), QColor(Qt::white));

  }

  void ownerNamesItForAssistiveTools() {
    TSelShape& s = Make();
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
