// The comparison views in the real main window on the offscreen platform:
// the colours and marks the panes paint, the map bar and its thumbs, the
// information strip, hiding identical lines and sorting.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <map>
#include <memory>

#include "app/main_window.h"
#include "app/status_panels.h"
#include "controls/sel_shape.h"
#include "editor/editor_widget.h"
#include "temp_folder.h"
#include "textcode/utf8_convert.h"
#include "views/map_bar.h"

namespace rd {

using testing::TempFolder;

namespace {

const QColor kIns(221, 221, 255), kUpd(255, 221, 221), kMov(221, 255, 221), kWhite(255, 255, 255);
const QColor kUpdChar(255, 170, 170);  // UpdCharColor's default

// A text of Shift_JIS lines with CR LF, from UTF-8 lines.
std::string SjisText(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += *Utf8ToSjis(line) + "\r\n";
  return text;
}

// TextA and TextB: line 1 changed, "moved" moved, "added" added; Japanese
// lines in Shift_JIS ("日本語" and "テスト").
constexpr const char* kTextA = "same0\r\nchanged\r\nmoved\r\n\x93\xfa\x96\x7b\x8c\xea\r\nsame2\r\n";
constexpr const char* kTextB = "same0\r\nCHANGED\r\n\x93\xfa\x96\x7b\x8c\xea\r\nadded\r\nmoved\r\nsame2\r\n";

}  // namespace

class ViewsWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<TForm1> form_;
  QStringList questions_;
  bool answer_ = true;

  TForm1& Make(const std::string& a, const std::string& b, QSize size = QSize(900, 600)) {
    form_.reset();
    folder_ = std::make_unique<TempFolder>();
    const std::string pathA = folder_->Write("a.txt", a), pathB = folder_->Write("b.txt", b);
    form_ = std::make_unique<TForm1>(TMainWindowStart{folder_->Path(), pathA, pathB});
    form_->ShowMessage = [](const QString&) {};
    form_->AskOkCancel = [this](const QString& text) {
      questions_ << text;
      return answer_;
    };
    form_->resize(size);
    form_->show();
    QApplication::processEvents();
    form_->Start();
    QApplication::processEvents();
    return *form_;
  }

  static QImage Shot(TEditor* memo) { return memo->viewport()->grab().toImage(); }

  // The colour at the right end of a row's band, away from any glyph.
  static QColor RowColour(TEditor* memo, int row) {
    const QImage image = Shot(memo);
    const int y = memo->Geometry().TextTop + (row - memo->Model().TopRow()) * memo->RowHeight() + memo->RowHeight() / 2;
    return image.pixelColor(image.width() - 6, y);
  }

  // The background of a character cell: the colour of most of its pixels
  // that are not dark (the glyph and its anti-aliased edge are).
  static QColor CellColour(TEditor* memo, int row, int column) {
    const QImage image = Shot(memo);
    const int top = memo->Geometry().TextTop + (row - memo->Model().TopRow()) * memo->RowHeight();
    std::map<QRgb, int> counts;
    for (int y = top; y < top + memo->RowHeight(); ++y)
      for (int x = 0; x < memo->CharWidth(); ++x) ++counts[image.pixel(memo->TextLeft() + column * memo->CharWidth() + x, y)];
    return QColor(std::max_element(counts.begin(), counts.end(), [](auto& p, auto& q) { return p.second < q.second; })->first);
  }

  // Pixels darker than mid-grey in a rectangle.
  static int DarkPixels(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
  }

  void Save(QWidget* w, const char* name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w->grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
  }

 private slots:
  void cleanup() {
    form_.reset();
    answer_ = true;
    questions_.clear();
  }

  void panesPaintTheThreeKindsAndSwitchThemOff() {
    TForm1& f = Make(kTextA, kTextB);
    const TDiffList expectA{{1, 1, 2, 0}, {2, 4, 3, 0}};
    QCOMPARE(f.Comparison().Diff(Side::A), expectA);
    TEditor* a = f.Memo(Side::A);
    TEditor* b = f.Memo(Side::B);
    QCOMPARE(RowColour(a, 0), kWhite);
    QCOMPARE(RowColour(a, 1), kUpd);
    QCOMPARE(RowColour(a, 2), kMov);
    QCOMPARE(RowColour(b, 1), kUpd);
    QCOMPARE(RowColour(b, 3), kIns);
    QCOMPARE(RowColour(b, 4), kMov);
    Save(&f, "views_compared");

    QTest::keyClick(a, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(f.ErrorColouringOff());
    QCOMPARE(RowColour(a, 1), kWhite);
    QCOMPARE(RowColour(b, 3), kWhite);
    // The check mark is the state, in both panes' menus.
    for (const Side side : {Side::A, Side::B}) {
      const QList<QAction*> items = f.PopupMenu(side)->actions();
      const auto item = std::find_if(items.begin(), items.end(),
                                     [](QAction* i) { return i->text() == QString::fromUtf8("エラー行非表示"); });
      QVERIFY(item != items.end() && (*item)->isChecked());
    }
    f.BtnChkClick();  // a comparison brings the colours back
    QVERIFY(!f.ErrorColouringOff());
    QCOMPARE(RowColour(b, 3), kIns);
  }

  void aPartlySelectedLineKeepsTheSelectionColours() {
    TForm1& f = Make(kTextA, kTextB);
    TEditor* a = f.Memo(Side::A);
    a->setFocus();
    a->Model().Select(1, 0, 1, 3);
    const QImage image = Shot(a);
    const int y = a->Geometry().TextTop + a->RowHeight() + 1;  // above the glyphs
    // Selected: navy behind the text; after the selection: the changed colour.
    QCOMPARE(image.pixelColor(a->TextLeft() + a->CharWidth() / 4, y), QColor(0, 0, 128));
    QCOMPARE(image.pixelColor(image.width() - 6, y), kUpd);
  }

  void tabAndFullWidthSpaceMarksStandAtTheirColumns() {
    // "a", a tab (columns 1 to 3 at width 4), a full-width space (4 and 5), "x".
    TForm1& f = Make("a\t\x81\x40x\r\n", "b\r\n");
    f.Settings().Editor.TabIndent = 4;
    f.ApplySettings();
    TEditor* a = f.Memo(Side::A);
    const auto cell = [a](int column, int columns) {
      return QRect(a->TextLeft() + column * a->CharWidth(), a->Geometry().TextTop, columns * a->CharWidth(),
                   a->RowHeight());
    };
    QImage image = Shot(a);
    QVERIFY(DarkPixels(image, cell(1, 1)) > 0);      // the chevron
    QCOMPARE(DarkPixels(image, cell(2, 2)), 0);      // the rest of the tab
    QVERIFY(DarkPixels(image, cell(4, 2)) > 4);      // the open box
    f.Settings().Editor.TabShow = false;
    f.ApplySettings();
    image = Shot(a);
    QCOMPARE(DarkPixels(image, cell(1, 1)), 0);
    QVERIFY(DarkPixels(image, cell(4, 2)) > 4);      // still at column 4
    Save(a, "views_marks");
  }

  void mapBarDrawsStrokesAndDisablesThumbsThatFit() {
    TForm1& f = Make(kTextA, kTextB);
    TMapBar* map = f.PnlErr();
    const int h = map->TextArea()->height();
    const QImage image = map->TextArea()->grab().toImage();
    // TextB is the longer text (6 lines): it sets the scale.
    QCOMPARE(map->Model().Scale(), 6);
    const int yB = h * 3 / 6;  // TextB's added line 3
    QCOMPARE(image.pixelColor(18, yB), kIns);
    const int yA = h * 1 / 6;  // TextA's changed line 1
    QCOMPARE(image.pixelColor(6, yA), kUpd);
    for (const Side side : {Side::A, Side::B}) {
      QVERIFY(!map->Thumb(side)->isEnabled());
      QCOMPARE(map->Thumb(side)->height(), h);
    }
  }

  void thumbDragsScrollOneOrBothPanes() {
    std::string a, b;
    for (int i = 0; i < 400; ++i) a += "line " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 300; ++i) b += "line " + std::to_string(i) + (i % 50 == 0 ? "x" : "") + "\r\n";
    TForm1& f = Make(a, b, QSize(700, 400));
    TMapBar* map = f.PnlErr();
    TSelShape* thumbA = map->Thumb(Side::A);
    QVERIFY(thumbA->isEnabled());
    QVERIFY(map->Thumb(Side::B)->isEnabled());
    const QPoint grip(6, thumbA->height() / 2);
    // Left button: only TextA scrolls.
    QTest::mousePress(thumbA, Qt::LeftButton, Qt::NoModifier, grip);
    for (int dy = 5; dy <= 40; dy += 5) QTest::mouseMove(thumbA, grip + QPoint(0, 5));
    QTest::mouseRelease(thumbA, Qt::LeftButton, Qt::NoModifier, grip);
    const int topA = f.Memo(Side::A)->Model().TopRow();
    QVERIFY2(topA > 0, qPrintable(QString::number(topA)));
    QCOMPARE(f.Memo(Side::B)->Model().TopRow(), 0);
    QCOMPARE(topA, (thumbA->y() - 2) * map->Model().Scale() / map->Model().Height());
    // Right button: both thumbs keep their distance and both panes scroll.
    const int distance = map->Thumb(Side::B)->y() - thumbA->y();
    QTest::mousePress(thumbA, Qt::RightButton, Qt::NoModifier, grip);
    for (int i = 0; i < 4; ++i) QTest::mouseMove(thumbA, grip + QPoint(0, 5));
    QTest::mouseRelease(thumbA, Qt::RightButton, Qt::NoModifier, grip);
    QCOMPARE(map->Thumb(Side::B)->y() - thumbA->y(), distance);
    QVERIFY(f.Memo(Side::B)->Model().TopRow() > 0);
    // Scrolling a pane moves its thumb.
    const int before = map->Thumb(Side::B)->y();
    f.Memo(Side::B)->Model().SetTopRow(0);
    QVERIFY(map->Thumb(Side::B)->y() < before);
    Save(&f, "views_map_drag");
  }

  void stripShowsTheChangedPairWithItsStretchSelected() {
    TForm1& f = Make("head\r\nabc def\r\nend\r\n", "head\r\nabX dXf\r\nend\r\n");
    TEditor* a = f.Memo(Side::A);
    a->setFocus();
    a->Model().SetRow(1);
    QCOMPARE(f.Status()->PanelText(6), QString::fromUtf8("[TextA] 変更行です。TextB=2行"));
    QTest::keyClick(a, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(f.PnlUpdate()->isVisible());
    QCOMPARE(f.InfoMemo()->Lines().Text(), std::string("abc def\r\nabX dXf"));
    QCOMPARE(f.InfoMemo()->Model().SelText(), std::string("c"));
    // The caret on an unchanged line empties the strip and the panel.
    a->Model().SetRow(0);
    QCOMPARE(f.Status()->PanelText(6), QString());
    QCOMPARE(f.InfoMemo()->Lines().Text(), std::string());
    // TextB's row 1 right after TextA's row 1: the panel names TextB's line.
    a->Model().SetRow(1);
    f.Memo(Side::B)->setFocus();
    f.Memo(Side::B)->Model().SetRow(1);
    QCOMPARE(f.Status()->PanelText(6), QString::fromUtf8("[TextB] 変更行です。TextA=2行"));
    Save(&f, "views_strip");
  }

  void hidingIdenticalLinesAndShowingThemAgain() {
    TForm1& f = Make(kTextA, kTextB);
    TEditor* a = f.Memo(Side::A);
    TEditor* b = f.Memo(Side::B);
    QTest::keyClick(a, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(f.IdenticalLinesHidden());
    QCOMPARE(a->Lines().Text(), std::string("changed\r\nmoved\r\n"));
    QCOMPARE(b->Lines().Text(), std::string("CHANGED\r\nadded\r\nmoved\r\n"));
    QCOMPARE(RowColour(b, 1), kIns);
    QCOMPARE(f.MapLineCount(Side::B), 3);
    // An edit of a reduced pane: the question, and Cancel keeps the reduced texts.
    a->Model().SetRowCol(0, 0);
    a->Model().InsertText("x");
    answer_ = false;
    QTest::keyClick(a, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(questions_, QStringList{QString::fromUtf8("変更内容が反映されませんが戻しても宜しいでしょうか？")});
    QVERIFY(f.IdenticalLinesHidden());
    answer_ = true;
    QTest::keyClick(a, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(!f.IdenticalLinesHidden());
    QCOMPARE(a->Lines().Text(), std::string(kTextA));
    QCOMPARE(f.Comparison().Diff(Side::A).size(), std::size_t{2});
    QCOMPARE(RowColour(a, 2), kMov);
    // Hidden again, then a new comparison restores the full texts without a question.
    QTest::keyClick(a, Qt::Key_R, Qt::ControlModifier);
    questions_.clear();
    f.BtnChkClick();
    QVERIFY(questions_.isEmpty());
    QCOMPARE(b->Lines().Text(), std::string(kTextB));
    QCOMPARE(f.Comparison().Diff(Side::B).size(), std::size_t{3});
  }

  void changedCharactersArePaintedInBothPanes() {
    TForm1& f = Make(SjisText({"head", "abc def", "今日は晴れです", "end"}),
                     SjisText({"head", "abX dXf", "今日は雨です", "end"}));
    TEditor* a = f.Memo(Side::A);
    TEditor* b = f.Memo(Side::B);
    // "c de" and "X dX" (columns 2 to 5) in both panes, the rest of the band as before.
    for (TEditor* memo : {a, b}) {
      QCOMPARE(CellColour(memo, 1, 1), kUpd);
      QCOMPARE(CellColour(memo, 1, 2), kUpdChar);
      QCOMPARE(CellColour(memo, 1, 5), kUpdChar);
      QCOMPARE(CellColour(memo, 1, 6), kUpd);
      QCOMPARE(RowColour(memo, 1), kUpd);
      QCOMPARE(CellColour(memo, 0, 2), kWhite);
    }
    // 晴れ at columns 6 to 9, 雨 at 6 and 7: double-byte characters whole.
    QCOMPARE(CellColour(a, 2, 5), kUpd);
    QCOMPARE(CellColour(a, 2, 6), kUpdChar);
    QCOMPARE(CellColour(a, 2, 9), kUpdChar);
    QCOMPARE(CellColour(a, 2, 10), kUpd);
    QCOMPARE(CellColour(b, 2, 7), kUpdChar);
    QCOMPARE(CellColour(b, 2, 8), kUpd);

    // A selection over a stretch keeps the selection colours.
    a->setFocus();
    a->Model().Select(1, 2, 1, 4);
    QCOMPARE(CellColour(a, 1, 2), QColor(0, 0, 128));
    QCOMPARE(CellColour(a, 1, 5), kUpdChar);
    a->Model().Select(1, 0, 1, 0);

    // An edit of the partner line gives new stretches: "Zab" before "X" joins them.
    b->Model().SetRowCol(1, 0);
    b->Model().InsertText("Z");
    QCOMPARE(CellColour(a, 1, 0), kUpdChar);
    QCOMPARE(CellColour(b, 1, 0), kUpdChar);

    // Hiding identical lines shows the same stretches on the reduced rows.
    f.BtnChkClick();
    QTest::keyClick(a, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(f.IdenticalLinesHidden());
    QCOMPARE(CellColour(a, 1, 6), kUpdChar);
    QCOMPARE(CellColour(a, 1, 10), kUpd);
    QTest::keyClick(a, Qt::Key_R, Qt::ControlModifier);
  }

  void withoutCharDiffThePanesPaintAsBefore() {
    TForm1& f = Make(SjisText({"head", "abc def", "今日は晴れです", "end"}),
                     SjisText({"head", "abX dXf", "今日は雨です", "end"}));
    const auto shots = [&f] { return std::pair{Shot(f.Memo(Side::A)), Shot(f.Memo(Side::B))}; };
    f.Settings().Editor.CharDiff = false;
    f.ApplySettings();
    const auto off = shots();
    QCOMPARE(CellColour(f.Memo(Side::A), 1, 2), kUpd);
    // Stretches painted in the band's own colour leave every pixel as it was without them.
    f.Settings().Editor.CharDiff = true;
    f.Settings().Editor.UpdCharColor = f.Settings().Editor.UpdColor;
    f.ApplySettings();
    QVERIFY(shots() == off);
    f.Settings().Editor.UpdCharColor = 0x0000FF;
    f.ApplySettings();
    QCOMPARE(CellColour(f.Memo(Side::A), 1, 2), QColor(255, 0, 0));
    QVERIFY(shots() != off);
  }

  // Changed options reach the characters painted at once: the stretches
  // kept from before are not shown under the new options.
  void changedOptionsRepaintTheCharacters() {
    TForm1& f = Make(SjisText({"head", "Value x", "end"}), SjisText({"head", "VALUE y", "end"}));
    TEditor* a = f.Memo(Side::A);
    QCOMPARE(CellColour(a, 1, 1), kUpdChar);  // "alue" against "ALUE"
    QCOMPARE(CellColour(a, 1, 6), kUpdChar);
    f.Settings().Check.Text = true;
    f.ApplySettings();
    QApplication::processEvents();
    QCOMPARE(CellColour(a, 1, 1), kUpd);  // letter case no longer counts
    QCOMPARE(CellColour(a, 1, 6), kUpdChar);
  }

  // A Japanese document and its revision with the width and space options
  // on: the screenshot of the README (doc/char_diff.png).
  void screenshotOfAJapaneseComparison() {
    const std::string a = SjisText({
        "第１章　概要", "", "本ツールは２つのテキストを行単位で比較します。",
        "変更された行では、違う文字だけを強調して表示します。", "価格：１，２００円（税込）",
        "ｶﾞｲﾄﾞﾗｲﾝに従って設定してください。", "対象ファイル：ＲＥＡＤＭＥ．ＴＸＴ　", "以上"});
    const std::string b = SjisText({
        "第1章 概要", "", "本ツールは3つのテキストを行単位で比較します。",
        "変更された行では、異なる文字だけを色を変えて表示します。", "価格：１，５００円（税別）",
        "ガイドラインに沿って設定してください。", "追加された行です。", "対象ファイル：README.TXT", "以上"});
    TForm1& f = Make(a, b, QSize(1100, 330));
    f.Settings().Check.Width = true;
    f.Settings().Check.ZSpace = true;
    f.Settings().Check.AllSpace = true;
    f.ApplySettings();
    f.BtnChkClick();
    QApplication::processEvents();
    // 第１章　概要 and 第1章 概要 are the same line under the three options; so is the file name.
    QCOMPARE(f.Comparison().Diff(Side::A).size(), std::size_t{4});
    QCOMPARE(f.Comparison().Diff(Side::B).size(), std::size_t{5});
    QCOMPARE(RowColour(f.Memo(Side::A), 0), kWhite);
    QCOMPARE(CellColour(f.Memo(Side::B), 3, 20), kUpdChar);  // 異なる
    Save(&f, "char_diff_japanese");
  }

  void sortingOnePaneDiscardsTheResults() {
    TForm1& f = Make("b\r\nA\r\nc\r\n", "x\r\n");
    QVERIFY(!f.Comparison().Diff(Side::A).empty());
    f.SortPane(Side::A);
    QCOMPARE(f.Memo(Side::A)->Lines().Text(), std::string("A\r\nb\r\nc\r\n"));
    QCOMPARE(f.Memo(Side::B)->Lines().Text(), std::string("x\r\n"));
    QVERIFY(f.Comparison().Diff(Side::A).empty());
    QCOMPARE(f.Status()->PanelText(3), QString());
  }
};

}  // namespace rd

QTEST_MAIN(rd::ViewsWindowTest)
#include "views_window_test.moc"
