// The editor widget on the offscreen platform: typing, the input method,
// selection by keys and mouse, the clipboard, undo keys, what is painted,
// and the caret and view notifications.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <vector>

#include "editor/editor_fonts.h"
#include "editor/editor_widget.h"

namespace rd {

class EditorWidgetTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TEditor> editor_;

  // A shown, focused editor of 600 x 300 with `text`.
  TEditor& Make(const std::string& text) {
    editor_ = std::make_unique<TEditor>();
    editor_->SetFont(EditorFont(QString::fromUtf8("ＭＳ ゴシック"), 10));
    editor_->resize(600, 300);
    editor_->Lines().SetText(text);
    editor_->show();
    editor_->activateWindow();
    editor_->setFocus();
    QApplication::processEvents();
    return *editor_;
  }

  // What the editor paints, as an image of its viewport.
  QImage Paint(TEditor& e) {
    QImage image(e.viewport()->size(), QImage::Format_RGB32);
    QPainter p(&image);
    e.PaintArea(p, image.rect());
    return image;
  }

  void Save(TEditor& e, const char* name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    e.grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
  }

  // Pixels within a small distance of `c` (glyph edges are smoothed).
  static int CountColor(const QImage& image, const QRect& r, QColor c, int tolerance = 48) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        const QColor p = image.pixelColor(x, y);
        if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) <= tolerance)
          ++n;
      }
    return n;
  }

  // Pixels of glyphs drawn in a dark colour on a light ground.
  static int CountDark(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y).lightness() < 128;
    return n;
  }

  QPoint CellCenter(TEditor& e, int row, int col) {
    const TEditorGeometry& g = e.Geometry();
    return QPoint(g.TextLeft + (col - e.Model().TopCol()) * g.ColumnWidth + 1,
                  g.TextTop + (row - e.Model().TopRow()) * g.RowHeight + g.RowHeight / 2);
  }

 private slots:
  void initTestCase() { QApplication::setFont(QFont("IPAGothic", 10)); }

  void typesAsciiAndJapanese() {
    TEditor& e = Make("");
    QTest::keyClicks(&e, "abc");
    QInputMethodEvent compose(QString::fromUtf8("か"), {});
    QApplication::sendEvent(&e, &compose);
    QCOMPARE(e.Lines().Text(), std::string("abc"));  // still being composed
    Save(e, "editor_preedit");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("あい"));
    QApplication::sendEvent(&e, &commit);
    QCOMPARE(e.Lines().Text(), std::string("abc\x82\xa0\x82\xa2"));
    QCOMPARE(e.Model().Col(), 7);
    QVERIFY(e.Model().Modified);
    const QRect caret = e.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(caret.left() >= e.Geometry().TextLeft + 7 * e.Geometry().ColumnWidth);
  }

  void readOnlyTakesNoTyping() {
    TEditor& e = Make("x");
    e.Model().ReadOnly = true;
    QTest::keyClicks(&e, "ab");
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(e.Lines().Text(), std::string("x"));
  }

  void selectsWithShiftArrowsAndTheMouse() {
    TEditor& e = Make("hello world\r\nsecond");
    for (int i = 0; i < 5; ++i) QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(e.Model().SelText(), std::string("hello"));
    QTest::keyClick(&e, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(e.Model().SelText(), std::string("hello world\r\nsecon"));
    QTest::keyClick(&e, Qt::Key_Left);
    QVERIFY(!e.Model().Selected());

    QTest::mousePress(e.viewport(), Qt::LeftButton, {}, CellCenter(e, 0, 6));
    QTest::mouseMove(e.viewport(), CellCenter(e, 0, 11));
    QTest::mouseRelease(e.viewport(), Qt::LeftButton, {}, CellCenter(e, 0, 11));
    QCOMPARE(e.Model().SelText(), std::string("world"));
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, CellCenter(e, 1, 2));
    QCOMPARE(e.Model().SelText(), std::string("second"));
  }

  void copyCutPasteAndBlocks() {
    TEditor& e = Make("hello world");
    QApplication::clipboard()->setText("untouched");
    QTest::keyClick(&e, Qt::Key_C, Qt::ControlModifier);  // nothing selected
    QCOMPARE(QApplication::clipboard()->text(), QString("untouched"));
    for (int i = 0; i < 5; ++i) QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("hello"));
    QCOMPARE(e.Lines().Text(), std::string(" world"));
    QTest::keyClick(&e, Qt::Key_End);
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e.Lines().Text(), std::string(" worldhello"));

    // Japanese text goes to the clipboard as Unicode and comes back.
    TEditor& j = Make("\x93\xfa\x96\x7b\r\nx");  // 日本
    j.Model().Select(0, 0, 0, 4);
    j.CopyToClipboard();
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("日本"));

    // A block selection is copied in both formats and pasted as a block.
    TEditor& b = Make("abcd\r\nefgh\r\nijkl");
    b.Model().Select(0, 1, 1, 3, TSelectionMode::Block);
    b.CopyToClipboard();
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(TEditor::kBoxFormat));
    QCOMPARE(QApplication::clipboard()->text(), QString("bc\nfg"));
    b.Model().ClearSelection();
    b.Model().SetRowCol(1, 4);
    b.PasteFromClipboard();
    QCOMPARE(b.Lines().Text(), std::string("abcd\r\nefghbc\r\nijklfg"));
  }

  void undoAndRedoFromTheKeyboard() {
    TEditor& e = Make("");
    QTest::keyClicks(&e, "ab");
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.Lines().Text(), std::string("a"));
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.Lines().Text(), std::string(""));
    QTest::keyClick(&e, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&e, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(e.Lines().Text(), std::string("ab"));
  }

  void ownerSeesKeysAndWheelFirst() {
    TEditor& e = Make("x");
    int keys = 0;
    e.OnKeyDown = [&](QKeyEvent* k) { return ++keys, k->key() == Qt::Key_F4; };
    QTest::keyClick(&e, Qt::Key_F4);
    QTest::keyClicks(&e, "y");
    QCOMPARE(keys, 2);
    QCOMPARE(e.Lines().Text(), std::string("yx"));
  }

  void selectionIsWhiteOnNavy() {
    TEditor& e = Make("selected text here");
    e.Model().Select(0, 0, 0, 8);
    const QImage image = Paint(e);
    const TEditorGeometry& g = e.Geometry();
    const QRect selected(g.TextLeft, g.TextTop, 8 * g.ColumnWidth, g.FontHeight);
    const int navy = CountColor(image, selected, QColor(0, 0, 128));
    const int white = CountColor(image, selected, QColor(255, 255, 255));
    QVERIFY2(navy > selected.width() * selected.height() / 2, "mostly navy");
    QVERIFY2(white > 10, "white glyphs");
    const QRect after(g.TextLeft + 9 * g.ColumnWidth, g.TextTop, 8 * g.ColumnWidth, g.FontHeight);
    QCOMPARE(CountColor(image, after, QColor(0, 0, 128)), 0);
    Save(e, "editor_selection");
  }

  void drawLineFiresOncePerPart() {
    TEditor& e = Make("0123456789abcdef\r\nnext");
    e.Model().Select(0, 4, 0, 8);
    std::vector<std::pair<int, bool>> calls;
    std::vector<QRect> rects;
    e.OnDrawLine = [&](TDrawLineEvent& ev) {
      calls.emplace_back(ev.Index, ev.Selected);
      rects.push_back(ev.ARect);
      QCOMPARE(ev.LineStr, ev.Index == 0 ? std::string("0123456789abcdef") : std::string("next"));
      ev.ARect = QRect();  // changes have no effect
      ev.Sender->Canvas()->fillRect(QRect(ev.X, ev.Y, 3, 3), Qt::red);
    };
    const TEditorGeometry& g = e.Geometry();
    QImage image(e.viewport()->size(), QImage::Format_RGB32);
    QPainter p(&image);
    e.PaintArea(p, QRect(0, g.TextTop, image.width(), g.RowHeight));
    p.end();
    QCOMPARE(calls.size(), std::size_t(3));
    QCOMPARE(calls[0], std::make_pair(0, false));
    QCOMPARE(calls[1], std::make_pair(0, true));
    QCOMPARE(calls[2], std::make_pair(0, false));
    QCOMPARE(rects[1].left(), g.TextLeft + 4 * g.ColumnWidth);
    QCOMPARE(rects[1].width(), 4 * g.ColumnWidth);
    QCOMPARE(image.pixelColor(g.TextLeft + 1, g.TextTop + 1), QColor(Qt::red));
  }

  void reservedWordsAreColouredOnlyAsWholeTokens() {
    TEditor& e = Make("AB abc ab");
    e.Model().View().ReserveWordList.Add("ab");
    e.Model().View().Colors[TEditorColors::Reserve].SetColor(0x0000FF);  // red
    e.Model().View().Colors[TEditorColors::Reserve].SetStyle(fsBold | fsUnderline);
    const QImage image = Paint(e);
    Save(e, "editor_reserved_word");
    const TEditorGeometry& g = e.Geometry();
    const auto redIn = [&](int col, int cols) {
      return CountColor(image, QRect(g.TextLeft + col * g.ColumnWidth, g.TextTop, cols * g.ColumnWidth, g.FontHeight),
                        QColor(255, 0, 0), 120);
    };
    QVERIFY(redIn(0, 2) > 5);   // "AB": any letter case
    QCOMPARE(redIn(3, 3), 0);   // "abc" is another word
    QVERIFY(redIn(7, 2) > 5);   // "ab"
  }

  void drawTextInRectFillsClipsAndDotsTheUnderline() {
    TEditor& e = Make("row");
    const TEditorGeometry& g = e.Geometry();
    const QRect box(g.TextLeft + 2 * g.ColumnWidth, g.TextTop, 4 * g.ColumnWidth, g.FontHeight);
    e.OnDrawLine = [&](TDrawLineEvent& ev) {
      QPainter* c = ev.Sender->Canvas();
      c->setBrush(QColor(0, 255, 0));
      c->setPen(QColor(0, 0, 255));
      QFont underlined = c->font();
      underlined.setUnderline(true);
      c->setFont(underlined);
      ev.Sender->DrawTextInRect(box, g.TextLeft, ev.Y, "xxxxxxxxxx", 6);
    };
    const QImage image = Paint(e);
    Save(e, "editor_draw_text_in_rect");
    // Filled with the brush inside the rectangle only.
    QCOMPARE(image.pixelColor(box.left() + 1, box.top()), QColor(0, 255, 0));
    QCOMPARE(CountColor(image, QRect(box.right() + 2, box.top(), g.ColumnWidth, g.FontHeight), QColor(0, 255, 0)), 0);
    // The dotted line: font colour first, then the brush colour, alternating.
    const int y = box.top() + g.FontHeight - 2;
    QCOMPARE(image.pixelColor(box.left(), y), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(box.left() + 1, y), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(box.left() + 2, y), QColor(0, 0, 255));
  }

  void hideMarkAfterColumn1000() {
    TEditor& e = Make(std::string(1200, 'x'));
    TEditorMarks marks;
    marks.HideMark.Visible = true;
    marks.HideMark.Color = 0x0000FF;  // red
    e.SetMarks(marks);
    e.Model().SetTopCol(1000);
    const QImage image = Paint(e);
    const TEditorGeometry& g = e.Geometry();
    const int x = g.TextLeft + (1000 - e.Model().TopCol()) * g.ColumnWidth;
    QVERIFY(CountColor(image, QRect(x, g.TextTop, g.ColumnWidth, g.FontHeight), QColor(255, 0, 0)) > 5);
    QCOMPARE(CountColor(image, QRect(g.TextLeft, g.TextTop, x - g.TextLeft, g.FontHeight), QColor(255, 0, 0)), 0);
    Save(e, "editor_hide_mark");
  }

  void lineNumbersAndTheEofMark() {
    TEditor& e = Make("");
    TEditorMarks marks;
    marks.EofMark.Visible = true;
    marks.EofMark.Color = 0x0000FF;
    e.SetMarks(marks);
    QImage image = Paint(e);
    const TEditorGeometry& g = e.Geometry();
    QVERIFY(CountColor(image, QRect(g.TextLeft, g.TextTop, 5 * g.ColumnWidth, g.FontHeight), QColor(255, 0, 0)) > 5);
    const QRect number0(0, g.TextTop, g.TextLeft - 2, g.FontHeight);
    QVERIFY2(CountDark(image, number0) > 3, "row 0 shows its number");
    Save(e, "editor_empty_eof");

    // A final line break shows a numbered empty row; without it there is none.
    e.Lines().SetText("a\r\nb\r\n");
    image = Paint(e);
    const QRect number2(0, g.TextTop + 2 * g.RowHeight, g.TextLeft - 2, g.FontHeight);
    QVERIFY(CountDark(image, number2) > 3);
    e.Lines().SetText("a\r\nb");
    image = Paint(e);
    QCOMPARE(CountDark(image, number2), 0);
  }

  void rowAndTopRowClampAndNotify() {
    TEditor& e = Make("1\r\n2\r\n3\r\n4\r\n5\r\n");
    e.Model().SetRow(10);
    QCOMPARE(e.Model().Row(), 5);
    e.Lines().SetText("1\r\n2\r\n3\r\n4\r\n5");
    e.Model().SetRow(10);
    QCOMPARE(e.Model().Row(), 4);
    int topChanges = 0;
    e.OnTopRowChange = [&] { ++topChanges; };
    e.Model().SetTopRow(2);
    e.Model().SetTopRow(2);
    QCOMPARE(topChanges, 1);
    e.Model().SetTopRow(100);
    QCOMPARE(e.Model().TopRow(), 5);
    QCOMPARE(e.verticalScrollBar()->value(), 5);
  }

  void caretMovesOfAnUnfocusedEditorAreQuiet() {
    TEditor& e = Make(std::string(200, '\n'));
    QWidget other;
    other.show();
    other.setFocus();
    e.clearFocus();
    QApplication::processEvents();
    int moved = 0;
    e.OnCaretMoved = [&] { ++moved; };
    e.Model().SetRow(150);
    QCOMPARE(moved, 0);
    QCOMPARE(e.Model().TopRow(), 0);  // not scrolled
    e.activateWindow();
    e.setFocus();
    QApplication::processEvents();
    QVERIFY(e.hasFocus());
    e.Model().SetRow(100);
    QCOMPARE(moved, 1);
    QVERIFY(e.Model().TopRow() > 0);
  }

  void oneRowScrollRepaintsOneBand() {
    std::string text;
    for (int i = 0; i < 500; ++i) text += "row " + std::to_string(i) + "\r\n";
    TEditor& e = Make(text);
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    struct Recorder : QObject {
      QRegion painted;
      bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(ev)->region();
        return false;
      }
    } recorder;
    QApplication::processEvents();
    e.viewport()->installEventFilter(&recorder);
    e.Model().SetTopRow(1);
    QApplication::processEvents();
    e.viewport()->removeEventFilter(&recorder);
    double area = 0;
    for (const QRect& r : recorder.painted) area += double(r.width()) * r.height();
    const double screen = double(e.viewport()->width()) * e.viewport()->height();
    QVERIFY2(area > 0, "something was painted");
    QVERIFY2(area < screen / 4, qPrintable(QString("repainted %1 of %2 pixels").arg(area).arg(screen)));
  }

  void wheelStepScrollsTheView() {
    std::string text;
    for (int i = 0; i < 500; ++i) text += "line " + std::to_string(i) + "\r\n";
    TEditor& e = Make(text);
    QWheelEvent wheel(QPointF(50, 50), e.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(e.viewport(), &wheel);
    QCOMPARE(e.Model().TopRow(), 3);
    Save(e, "editor_lines");
  }

  // A whole text replaced by a longer one: the bar must reach its new end,
  // also when the new text comes from a file.
  void wholeTextChangesRefreshTheScrollRange() {
    std::string small, large;
    for (int i = 0; i < 100; ++i) small += "a\r\n";
    for (int i = 0; i < 5000; ++i) large += "b\r\n";
    TEditor& e = Make(small);
    e.SetScrollBars(TScrollBars::ssBoth);
    QCOMPARE(e.verticalScrollBar()->maximum(), 100);
    e.Lines().SetText(large);
    QCOMPARE(e.verticalScrollBar()->maximum(), 5000);
    const QString file = QDir::temp().filePath("rd_scroll_range.txt");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(small + small + small));
    f.close();
    e.Lines().LoadFromFile(file.toStdString());
    QCOMPARE(e.verticalScrollBar()->maximum(), 300);
    e.verticalScrollBar()->setValue(e.verticalScrollBar()->maximum());
    QCOMPARE(e.Model().TopRow(), 300);
    QFile::remove(file);
  }

  // Shift+click extends the selection a keyboard selection began.
  void shiftClickExtendsAKeyboardSelection() {
    TEditor& e = Make("0123456789\r\n0123456789\r\n0123456789\r\n");
    e.Model().SetRowCol(0, 2);
    QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
    const QPoint rowTwo(e.TextLeft() + 5 * e.CharWidth(), e.Geometry().TextTop + 2 * e.RowHeight() + 2);
    QTest::mouseClick(e.viewport(), Qt::LeftButton, Qt::ShiftModifier, rowTwo);
    int r0 = 0, c0 = 0, r1 = 0, c1 = 0;
    e.Model().SelectionBounds(r0, c0, r1, c1);
    QCOMPARE(QPoint(c0, r0), QPoint(2, 0));
    QCOMPARE(QPoint(c1, r1), QPoint(5, 2));
  }
};

}  // namespace rd

QTEST_MAIN(rd::EditorWidgetTest)
#include "editor_widget_test.moc"
