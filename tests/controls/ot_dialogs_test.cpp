// The file dialogs with embedded controls on the offscreen platform: presets
// and results, the controls inside the dialog and back in their window, the
// stretching by ControlAlign, the exchange error, and Qt's Japanese texts.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <memory>

#include "controls/ot_dialogs.h"

namespace rd {

class OtDialogsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<QWidget> window_;  // the calling window

  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

  // The code selector panel as the main window keeps it: hidden, in the window.
  QWidget* MakeCodePanel() {
    auto* panel = new QWidget(window_.get());
    panel->setObjectName("PnlCode");
    auto* row = new QHBoxLayout(panel);
    row->addWidget(new QLabel(QString::fromUtf8("文字コード"), panel));
    auto* combo = new QComboBox(panel);
    combo->setObjectName("CmbCode");
    for (const char* item : {"自動判定", "SJIS", "EUC", "UTF8"}) combo->addItem(QString::fromUtf8(item));
    row->addWidget(combo);
    panel->setGeometry(8, 8, 300, 48);  // above its minimum
    panel->hide();
    return panel;
  }

  // A plain block of a fixed starting size that can stretch.
  QWidget* MakeBlock(QSize size, QColor colour) {
    auto* block = new QWidget(window_.get());
    block->setAutoFillBackground(true);
    QPalette pal = block->palette();
    pal.setColor(QPalette::Window, colour);
    block->setPalette(pal);
    block->resize(size);
    return block;
  }

  template <class T>
  static T* Child(QWidget& dialog, const char* name) {
    T* w = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no %s in the file dialog", name);
    return w;
  }

  // Geometry of a widget inside the dialog, in the dialog's coordinates.
  static QRect InDialog(QWidget& dialog, QWidget& w) {
    return QRect(w.mapTo(&dialog, QPoint(0, 0)), w.size());
  }

  void Show(QDialog& dialog) {
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::processEvents();
  }

  void Save(QWidget& w, const char* name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w.grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    for (const char* name : {"a.txt", "b.txt", "c.csv", "d.log", "README"}) {
      QFile f(Path(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
  }

  void init() {
    window_ = std::make_unique<QWidget>();
    window_->resize(400, 300);
  }
  void cleanup() { window_.reset(); }

  void presetsReachTheDialogAndResultsComeBack() {
    TOtOpenDialog dlg(window_.get());
    dlg.Title = QString::fromUtf8("ファイルを開く");
    dlg.Filter = QString::fromUtf8("テキスト(*.txt)|*.txt|データ(*.csv,*.dat)|*.csv;*.dat|全てのファイル(*.*)|*.*");
    dlg.FilterIndex = 2;
    dlg.DefaultExt = "txt";
    dlg.FileName = Path("a.txt");
    Show(dlg);
    QCOMPARE(dlg.windowTitle(), QString::fromUtf8("ファイルを開く"));
    auto* types = Child<QComboBox>(dlg, "fileTypeCombo");
    QCOMPARE(types->count(), 3);
    QCOMPARE(types->itemText(0), QString::fromUtf8("テキスト(*.txt)"));  // the names as written
    QCOMPARE(types->itemText(2), QString::fromUtf8("全てのファイル(*.*)"));
    QCOMPARE(types->currentIndex(), 1);
    QCOMPARE(QDir(dlg.directory()).canonicalPath(), QDir(dir_.path()).canonicalPath());
    QCOMPARE(Child<QLineEdit>(dlg, "fileNameEdit")->text(), QString("a.txt"));

    QTest::keyClick(types, Qt::Key_Down);
    Child<QLineEdit>(dlg, "fileNameEdit")->setText("b");  // DefaultExt completes it
    QMetaObject::invokeMethod(&dlg, "accept");
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(QFileInfo(dlg.FileName).canonicalFilePath(), QFileInfo(Path("b.txt")).canonicalFilePath());
    QCOMPARE(dlg.Files().size(), 1);
    QCOMPARE(dlg.FilterIndex, 3);
  }

  // The names the file list shows, sorted.
  static QStringList Listed(TOtFileDialog& dlg) {
    auto* view = Child<QAbstractItemView>(dlg, "listView");
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
      names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
  }

  void filtersListOnlyMatchingFiles() {
    TOtOpenDialog dlg(window_.get());
    dlg.Filter = QString::fromUtf8("データ|*.csv;*.dat|全て|*.*");
    dlg.InitialDir = dir_.path();
    Show(dlg);
    QTRY_COMPARE(Listed(dlg), QStringList({"c.csv"}));
    QTest::keyClick(Child<QComboBox>(dlg, "fileTypeCombo"), Qt::Key_Down);
    // "*.*" means every file, names without a dot too.
    QTRY_COMPARE(Listed(dlg), QStringList({"README", "a.txt", "b.txt", "c.csv", "d.log"}));
    dlg.reject();
  }

  void executeReturnsWhetherAFileWasChosen() {
    TOtSaveDialog dlg(window_.get());
    dlg.DefaultExt = "txt";
    dlg.InitialDir = dir_.path();
    QTimer::singleShot(0, &dlg, [&] {
      Child<QLineEdit>(dlg, "fileNameEdit")->setText(QString::fromUtf8("新規"));
      QMetaObject::invokeMethod(&dlg, "accept");
    });
    QVERIFY(dlg.Execute());
    QCOMPARE(dlg.FileName, QDir(dir_.path()).filePath(QString::fromUtf8("新規.txt")));

    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    QVERIFY(!dlg.Execute());
    QCOMPARE(dlg.FileName, QDir(dir_.path()).filePath(QString::fromUtf8("新規.txt")));  // kept
  }

  void multiSelectionGivesEveryFile() {
    TOtOpenDialog dlg(window_.get());
    dlg.Options |= ofAllowMultiSelect;
    dlg.InitialDir = dir_.path();
    Show(dlg);
    Child<QLineEdit>(dlg, "fileNameEdit")->setText("\"b.txt\" \"a.txt\"");
    QMetaObject::invokeMethod(&dlg, "accept");
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.Files().size(), 2);
    QCOMPARE(QFileInfo(dlg.Files().at(0)).fileName(), QString("b.txt"));
    QCOMPARE(QFileInfo(dlg.Files().at(1)).fileName(), QString("a.txt"));
    QCOMPARE(dlg.FileName, dlg.Files().at(0));
  }

  void bottomControlVisitsTheDialogAndGoesHome() {
    QWidget* panel = MakeCodePanel();
    const QRect home = panel->geometry();
    TOtSaveDialog plain(window_.get());
    Show(plain);
    const QSize plainSize = plain.size();
    plain.reject();

    TOtSaveDialog dlg(window_.get());
    dlg.SetBottomControl(panel);
    QVERIFY(panel->isHidden());
    Show(dlg);
    QVERIFY(dlg.ControlsShown());
    QVERIFY(dlg.isAncestorOf(panel));
    QVERIFY(panel->isVisible());
    Save(dlg, "ot_save_dialog_code_panel");
    const QRect at = InDialog(dlg, *panel);
    const QRect types = InDialog(dlg, *Child<QComboBox>(dlg, "fileTypeCombo"));
    const QRect buttons = InDialog(dlg, *Child<QDialogButtonBox>(dlg, "buttonBox"));
    const QMargins margins = dlg.layout()->contentsMargins();
    QVERIFY(at.top() > types.bottom());
    QVERIFY(at.top() > buttons.bottom());
    QCOMPARE(at.left(), margins.left());
    QCOMPARE(at.size(), home.size());  // otdaNone: its own size
    QVERIFY(dlg.height() >= plainSize.height() + home.height());

    try {
      dlg.SetBottomControl(nullptr);
      QFAIL("exchanged a control while the dialog showed it");
    } catch (const EOtDialogError& e) {
      QCOMPARE(QString(e.what()), QString("Can't exchange controls when the dialog is visible."));
    }
    QVERIFY_THROWS_EXCEPTION(EOtDialogError, dlg.SetRightControl(MakeBlock({10, 10}, Qt::red)));
    QCOMPARE(dlg.BottomControl(), panel);

    auto* combo = panel->findChild<QComboBox*>("CmbCode");
    combo->setCurrentIndex(3);
    dlg.reject();
    QVERIFY(!dlg.ControlsShown());
    QCOMPARE(panel->parentWidget(), window_.get());
    QVERIFY(panel->isHidden());
    QCOMPARE(panel->geometry(), home);
    QCOMPARE(combo->currentIndex(), 3);  // the owner reads the choice afterwards
    QVERIFY(dlg.size().height() < plainSize.height() + home.height());

    dlg.SetBottomControl(nullptr);  // allowed again once closed
    QCOMPARE(dlg.BottomControl(), nullptr);
  }

  void oneControlLivesOnOneSideOnly() {
    TOtOpenDialog dlg(window_.get());
    QWidget* panel = MakeCodePanel();
    dlg.SetRightControl(panel);
    dlg.SetBottomControl(panel);
    QCOMPARE(dlg.RightControl(), nullptr);
    QCOMPARE(dlg.BottomControl(), panel);
    dlg.SetRightControl(panel);
    QCOMPARE(dlg.RightControl(), panel);
    QCOMPARE(dlg.BottomControl(), nullptr);
  }

  void destroyedControlLeavesItsProperty() {
    TOtOpenDialog plain(window_.get());
    Show(plain);
    TOtOpenDialog dlg(window_.get());
    QWidget* panel = MakeCodePanel();
    dlg.SetBottomControl(panel);
    delete panel;
    QCOMPARE(dlg.BottomControl(), nullptr);
    Show(dlg);
    QCOMPARE(dlg.size(), plain.size());  // nothing embedded, nothing grown
    dlg.reject();
    plain.reject();
  }

  void closingTheDialogByDestructionGivesTheControlBack() {
    QWidget* panel = MakeCodePanel();
    auto dlg = std::make_unique<TOtOpenDialog>(window_.get());
    dlg->SetRightControl(panel);
    Show(*dlg);
    QVERIFY(dlg->isAncestorOf(panel));
    dlg.reset();
    QCOMPARE(window_->findChild<QWidget*>("PnlCode"), panel);
    QCOMPARE(panel->parentWidget(), window_.get());
    QVERIFY(panel->isHidden());
  }

  void controlAlignStretches_data() {
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("rightToBottomMargin");  // else its own height
    QTest::addColumn<bool>("bottomToRightMargin");  // else its own width
    QTest::addColumn<bool>("rightAboveBottom");     // the right control ends above the bottom one
    QTest::addColumn<bool>("bottomLeftOfRight");    // the bottom control ends left of the right one
    using A = TOtDialogControlAlign;
    QTest::newRow("otdaNone") << int(A::otdaNone) << false << false << true << true;
    QTest::newRow("otdaBottom") << int(A::otdaBottom) << false << true << true << false;
    QTest::newRow("otdaRight") << int(A::otdaRight) << true << false << false << true;
    QTest::newRow("otdaBottomRight") << int(A::otdaBottomRight) << false << true << true << false;
    QTest::newRow("otdaRightBottom") << int(A::otdaRightBottom) << true << false << false << true;
  }

  void controlAlignStretches() {
    QFETCH(int, align);
    QFETCH(bool, rightToBottomMargin);
    QFETCH(bool, bottomToRightMargin);
    QFETCH(bool, rightAboveBottom);
    QFETCH(bool, bottomLeftOfRight);
    const QSize rightSize(120, 150), bottomSize(200, 40);
    QWidget* right = MakeBlock(rightSize, QColor(255, 200, 200));
    QWidget* bottom = MakeBlock(bottomSize, QColor(200, 200, 255));
    TOtOpenDialog dlg(window_.get());
    dlg.SetControlAlign(static_cast<TOtDialogControlAlign>(align));
    dlg.SetRightControl(right);
    dlg.SetBottomControl(bottom);
    Show(dlg);
    // Twice larger, then smaller again: the stretching follows every resize.
    for (const QSize grow : {QSize(300, 200), QSize(120, 80)}) {
      dlg.resize(dlg.minimumSizeHint() + grow);
      QApplication::processEvents();
      const QRect client = dlg.rect().marginsRemoved(dlg.layout()->contentsMargins());
      const QRect r = InDialog(dlg, *right);
      const QRect b = InDialog(dlg, *bottom);
      const QString where = QString("%1 in %2").arg(QTest::currentDataTag()).arg(grow.width());
      QVERIFY2(!r.intersects(b), qPrintable(where));
      QCOMPARE(r.width(), rightSize.width());
      QCOMPARE(b.height(), bottomSize.height());
      QCOMPARE(b.left(), client.left());
      QCOMPARE(b.bottom(), client.bottom());
      QCOMPARE(r.right(), client.right());
      if (rightToBottomMargin)
        QCOMPARE(r.bottom(), client.bottom());
      else if (rightAboveBottom && (bottomToRightMargin || align == int(TOtDialogControlAlign::otdaBottomRight)))
        QVERIFY2(r.bottom() < b.top(), qPrintable(where));
      if (!rightToBottomMargin && align != int(TOtDialogControlAlign::otdaBottomRight))
        QCOMPARE(r.height(), rightSize.height());
      if (align == int(TOtDialogControlAlign::otdaBottomRight))
        QCOMPARE(b.top() - r.bottom() - 1, static_cast<QGridLayout*>(dlg.layout())->verticalSpacing());
      if (bottomToRightMargin)
        QCOMPARE(b.right(), client.right());
      else if (bottomLeftOfRight && align == int(TOtDialogControlAlign::otdaRightBottom))
        QCOMPARE(r.left() - b.right() - 1, static_cast<QGridLayout*>(dlg.layout())->horizontalSpacing());
      if (!bottomToRightMargin && align != int(TOtDialogControlAlign::otdaRightBottom))
        QCOMPARE(b.width(), bottomSize.width());
    }
    Save(dlg, qPrintable(QString("ot_open_dialog_%1").arg(QTest::currentDataTag())));
    dlg.reject();
    QCOMPARE(right->size(), rightSize);
    QCOMPARE(bottom->size(), bottomSize);
  }

  void qtsOwnTextsFollowTheJapaneseTranslation() {
    QTranslator ja;
    QVERIFY(ja.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    const QString open = ja.translate("QFileDialog", "Open");
    const QString openButton = ja.translate("QFileDialog", "&Open");
    const QString lookIn = ja.translate("QFileDialog", "Look in:");
    QVERIFY(!open.isEmpty() && !openButton.isEmpty() && !lookIn.isEmpty());

    TOtOpenDialog dlg(window_.get());  // made before the translation arrives
    QCoreApplication::installTranslator(&ja);
    Show(dlg);
    Save(dlg, "ot_open_dialog_ja");
    QCOMPARE(dlg.windowTitle(), open);  // no Title: the dialog's own
    // The button may show its text without the mnemonic "(&O)".
    const QString shown = Child<QDialogButtonBox>(dlg, "buttonBox")->button(QDialogButtonBox::Open)->text();
    QVERIFY2(!shown.isEmpty() && openButton.startsWith(shown), qPrintable(shown));
    QCOMPARE(Child<QLabel>(dlg, "lookInLabel")->text(), lookIn);
    dlg.reject();
    QCoreApplication::removeTranslator(&ja);
  }
};

}  // namespace rd

QTEST_MAIN(rd::OtDialogsTest)
#include "ot_dialogs_test.moc"
