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

  QString Path(const char* name) const { return QDir(dir_.path()).filePath(QString::fromUtf8(name)); }

  // A hidden panel of the calling window: the code selector, or a plain block.
  QWidget* MakePanel(QSize size, bool codeSelector = true) {
    auto* panel = new QWidget(window_.get());
    if (codeSelector) {
      auto* row = new QHBoxLayout(panel);
      row->addWidget(new QLabel(QString::fromUtf8("文字コード"), panel));
      auto* combo = new QComboBox(panel);
      for (const char* item : {"自動判定", "SJIS", "EUC", "UTF8"}) combo->addItem(QString::fromUtf8(item));
      row->addWidget(combo);
    }
    panel->setGeometry(QRect(QPoint(8, 8), size));
    panel->hide();
    return panel;
  }

  template <class T>
  static T* Child(QWidget& dialog, const char* name) {
    T* w = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no %s in the file dialog", name);
    return w;
  }
  static QRect InDialog(QWidget& dialog, QWidget& w) { return QRect(w.mapTo(&dialog, QPoint(0, 0)), w.size()); }

  // The names the file list shows, sorted.
  static QStringList Listed(QWidget& dlg) {
    auto* view = Child<QAbstractItemView>(dlg, "listView");
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
      names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
  }

  void Show(QDialog& dialog) {
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  }

  void Save(QWidget& w, const QString& name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w.grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    for (const char* name : {"a.txt", "b.txt", "c.csv", "README"}) QVERIFY(QFile(Path(name)).open(QIODevice::WriteOnly));
  }
  void init() { window_ = std::make_unique<QWidget>(); }
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
    QCOMPARE(types->itemText(0), QString::fromUtf8("テキスト(*.txt)"));  // the names as written
    QCOMPARE(types->currentIndex(), 1);
    QCOMPARE(Child<QLineEdit>(dlg, "fileNameEdit")->text(), QString("a.txt"));
    QTRY_COMPARE(Listed(dlg), QStringList({"a.txt", "c.csv"}));  // the preset name stays listed
    QTest::keyClick(types, Qt::Key_Down);
    QTRY_COMPARE(Listed(dlg), QStringList({"README", "a.txt", "b.txt", "c.csv"}));  // "*.*": dotless too

    Child<QLineEdit>(dlg, "fileNameEdit")->setText("b");  // DefaultExt completes it
    QMetaObject::invokeMethod(&dlg, "accept");
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(QFileInfo(dlg.FileName).canonicalFilePath(), QFileInfo(Path("b.txt")).canonicalFilePath());
    QCOMPARE(dlg.FilterIndex, 3);
  }

  void executeAndMultiSelection() {
    TOtSaveDialog save(window_.get());
    save.DefaultExt = "txt";
    save.InitialDir = dir_.path();
    QTimer::singleShot(0, &save, [&] {
      Child<QLineEdit>(save, "fileNameEdit")->setText(QString::fromUtf8("新規"));
      QMetaObject::invokeMethod(&save, "accept");
    });
    QVERIFY(save.Execute());
    QCOMPARE(save.FileName, Path("新規.txt"));
    QTimer::singleShot(0, &save, [&] { QTest::keyClick(&save, Qt::Key_Escape); });
    QVERIFY(!save.Execute());
    QCOMPARE(save.FileName, Path("新規.txt"));  // kept

    TOtOpenDialog open(window_.get());
    open.Options |= ofAllowMultiSelect;
    open.InitialDir = dir_.path();
    Show(open);
    Child<QLineEdit>(open, "fileNameEdit")->setText("\"b.txt\" \"a.txt\"");
    QMetaObject::invokeMethod(&open, "accept");
    QCOMPARE(open.Files(), QStringList({Path("b.txt"), Path("a.txt")}));
    QCOMPARE(open.FileName, Path("b.txt"));
  }

  void bottomControlVisitsTheDialogAndGoesHome() {
    TOtSaveDialog plain(window_.get());
    Show(plain);
    const int plainHeight = plain.height();
    plain.reject();

    QWidget* panel = MakePanel({300, 48});
    auto* combo = panel->findChild<QComboBox*>();
    TOtSaveDialog dlg(window_.get());
    dlg.SetBottomControl(panel);
    dlg.move(200, 150);  // placed by its owner: growing keeps the centre
    Show(dlg);
    QVERIFY(dlg.ControlsShown() && dlg.isAncestorOf(panel) && panel->isVisible());
    const QRect firstShown = dlg.geometry();
    Save(dlg, "ot_save_dialog_code_panel");
    const QRect at = InDialog(dlg, *panel);
    QVERIFY(at.top() > InDialog(dlg, *Child<QDialogButtonBox>(dlg, "buttonBox")).bottom());
    QVERIFY(at.top() > InDialog(dlg, *Child<QComboBox>(dlg, "fileTypeCombo")).bottom());
    QCOMPARE(at.left(), dlg.layout()->contentsMargins().left());
    QCOMPARE(at.size(), QSize(300, 48));  // otdaNone: its own size
    QVERIFY(dlg.height() >= plainHeight + 48);

    try {
      dlg.SetBottomControl(nullptr);
      QFAIL("exchanged a control while the dialog showed it");
    } catch (const EOtDialogError& e) {
      QCOMPARE(QString(e.what()), QString("Can't exchange controls when the dialog is visible."));
    }
    QVERIFY_THROWS_EXCEPTION(EOtDialogError, dlg.SetRightControl(nullptr));

    combo->setCurrentIndex(3);
    dlg.reject();
    QVERIFY(!dlg.ControlsShown());
    QCOMPARE(panel->parentWidget(), window_.get());
    QVERIFY(panel->isHidden());
    QCOMPARE(panel->geometry(), QRect(8, 8, 300, 48));
    QCOMPARE(combo->currentIndex(), 3);  // the owner reads the choice afterwards
    QVERIFY(dlg.height() < plainHeight + 48);
    Show(dlg);  // again: the same place and size
    QCOMPARE(dlg.geometry(), firstShown);
  }

  void controlBookkeeping() {
    QWidget* panel = MakePanel({300, 48});
    auto dlg = std::make_unique<TOtOpenDialog>(window_.get());
    dlg->SetRightControl(panel);
    dlg->SetBottomControl(panel);  // one control lives on one side only
    QCOMPARE(dlg->RightControl(), nullptr);
    QCOMPARE(dlg->BottomControl(), panel);

    Show(*dlg);
    dlg.reset();  // destroyed while showing: the panel survives, back home
    QCOMPARE(panel->parentWidget(), window_.get());
    QVERIFY(panel->isHidden());

    TOtOpenDialog plain(window_.get());
    Show(plain);
    TOtOpenDialog dlg2(window_.get());
    dlg2.SetBottomControl(panel);
    delete panel;
    QCOMPARE(dlg2.BottomControl(), nullptr);
    Show(dlg2);
    QCOMPARE(dlg2.size(), plain.size());  // nothing embedded, nothing grown
  }

  void controlAlignStretches_data() {
    // Where each control ends: at its own size, at the dialog's margin, or
    // one spacing before the other control.
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("rightEnds");
    QTest::addColumn<QString>("bottomEnds");
    using A = TOtDialogControlAlign;
    QTest::newRow("otdaNone") << int(A::otdaNone) << "own" << "own";
    QTest::newRow("otdaBottom") << int(A::otdaBottom) << "own" << "margin";
    QTest::newRow("otdaRight") << int(A::otdaRight) << "margin" << "own";
    QTest::newRow("otdaBottomRight") << int(A::otdaBottomRight) << "other" << "margin";
    QTest::newRow("otdaRightBottom") << int(A::otdaRightBottom) << "margin" << "other";
  }

  void controlAlignStretches() {
    QFETCH(int, align);
    QFETCH(QString, rightEnds);
    QFETCH(QString, bottomEnds);
    QWidget* right = MakePanel({120, 150}, false);
    QWidget* bottom = MakePanel({200, 40}, false);
    TOtOpenDialog dlg(window_.get());
    dlg.SetControlAlign(static_cast<TOtDialogControlAlign>(align));
    dlg.SetRightControl(right);
    dlg.SetBottomControl(bottom);
    Show(dlg);
    const auto* grid = static_cast<QGridLayout*>(dlg.layout());
    for (const QSize grow : {QSize(300, 200), QSize(120, 80)}) {  // every resize stretches again
      dlg.resize(dlg.minimumSizeHint() + grow);
      QApplication::processEvents();
      const QRect client = dlg.rect().marginsRemoved(grid->contentsMargins());
      const QRect r = InDialog(dlg, *right);
      const QRect b = InDialog(dlg, *bottom);
      QCOMPARE(r.width(), 120);
      QCOMPARE(b.height(), 40);
      QCOMPARE(r.right(), client.right());
      QCOMPARE(b.bottomLeft(), client.bottomLeft());
      if (rightEnds == "own") QCOMPARE(r.height(), 150);
      if (rightEnds == "margin") QCOMPARE(r.bottom(), client.bottom());
      if (rightEnds == "other") QCOMPARE(r.bottom() + 1 + grid->verticalSpacing(), b.top());
      if (bottomEnds == "own") QCOMPARE(b.width(), 200);
      if (bottomEnds == "margin") QCOMPARE(b.right(), client.right());
      if (bottomEnds == "other") QCOMPARE(b.right() + 1 + grid->horizontalSpacing(), r.left());
      QVERIFY(!r.intersects(b));
    }
    Save(dlg, QString("ot_open_dialog_") + QTest::currentDataTag());
    dlg.reject();
    QCOMPARE(right->size(), QSize(120, 150));
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
    QCoreApplication::removeTranslator(&ja);
  }
};

}  // namespace rd

QTEST_MAIN(rd::OtDialogsTest)
#include "ot_dialogs_test.moc"
