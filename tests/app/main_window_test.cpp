// The main window on the offscreen platform, used as a person would: files
// on the command line, the open and save buttons, every pane shortcut, the
// close question, the layout switch, the wheel, drops, the companion
// program and the settings file written at exit.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocalSocket>
#include <QTimer>
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QUrl>

#include <memory>

#include "app/about_box.h"
#include "app/companion.h"
#include "app/main_window.h"
#include "app/status_panels.h"
#include "editor/editor_widget.h"
#include "settings/ini_file.h"
#include "temp_folder.h"

namespace rd {

using testing::Slurp;
using testing::TempFolder;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<TForm1> form_;
  QStringList messages_;
  QStringList questions_;
  bool answer_ = true;
  TForm1::TFileChoice nextChoice_;
  bool chooseOk_ = false;
  bool realDialogs_ = false;

  TForm1& Make(const std::string& texta = {}, const std::string& textb = {}) {
    form_.reset();
    messages_.clear();
    questions_.clear();
    form_ = std::make_unique<TForm1>(TMainWindowStart{folder_->Path(), texta, textb});
    form_->ShowMessage = [this](const QString& text) { messages_ << text; };
    form_->AskYesNo = [this](const QString& text) {
      questions_ << text;
      return answer_;
    };
    if (!realDialogs_)
      form_->ChooseFile = [this](bool, const std::string&, TForm1::TFileChoice& choice) {
        if (chooseOk_) choice = nextChoice_;
        return chooseOk_;
      };
    form_->OpenUrl = [](const QUrl&) {};
    form_->Start();
    form_->resize(900, 600);
    form_->show();
    QApplication::processEvents();
    return *form_;
  }

  void Save(QWidget* w, const char* name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w->grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
  }

  static std::string Text(TForm1& f, Side s) { return f.Memo(s)->Lines().Text(); }

  // A pair in Shift_JIS: one changed, one added, one moved line.
  void WritePair() {
    folder_->Write("a.txt", "#include <stdio.h>\r\n\x93\xfa\x96\x7b\x8c\xea\r\nint a;\r\nint b;\r\nmoved();\r\nend\r\n");
    folder_->Write("b.txt", "#include <stdio.h>\r\nmoved();\r\n\x93\xfa\x96\x7b\x8c\xea\r\nint A;\r\nint b;\r\nadded();\r\nend\r\n");
  }

 private slots:
  void init() {
    folder_ = std::make_unique<TempFolder>();
    answer_ = true;
    chooseOk_ = false;
    realDialogs_ = false;
  }
  void cleanup() { form_.reset(); }

  void startsWithTwoFilesAndComparesOnce() {
    WritePair();
    TForm1& f = Make(folder_->Path() + "a.txt", folder_->Path() + "b.txt");
    QCOMPARE(f.FileLabel(Side::A)->text(), QString("a.txt"));
    QCOMPARE(f.FileLabel(Side::B)->toolTip(), QString::fromStdString(folder_->Path() + "b.txt"));
    QCOMPARE(f.Memo(Side::A)->Lines().Count(), 6);
    QVERIFY(!f.Comparison().Diff(Side::A).empty());
    QCOMPARE(f.Status()->PanelText(3), QString::fromUtf8("2行"));
    QCOMPARE(f.Status()->PanelText(5), QString::fromUtf8("3行"));
    QVERIFY(messages_.isEmpty());  // both texts differ: nothing to tell
    QVERIFY(QDir(QString::fromStdString(folder_->Path() + "check")).exists());
    Save(&f, "main_window_compared");
  }

  void compareTellsTheOutcome() {
    folder_->Write("a.txt", "same\r\n");
    folder_->Write("b.txt", "same\r\n");
    TForm1& f = Make(folder_->Path() + "a.txt", folder_->Path() + "b.txt");
    QCOMPARE(messages_, QStringList{QString::fromUtf8("違いはありませんでした")});
    f.Memo(Side::B)->Lines().Add("more");
    messages_.clear();
    f.BtnChkClick();
    QCOMPARE(messages_, QStringList{QString::fromUtf8("TextB のみエラーがあります")});
    f.Memo(Side::B)->Lines().Clear();
    messages_.clear();
    f.BtnChkClick();
    QCOMPARE(messages_, QStringList{QString::fromUtf8("データがありませんTextB")});
    QCOMPARE(f.Progress()->value(), 0);
  }

  void opensEucAutomaticallyAndSavesAsUtf8() {
    // "日本語" in EUC-JP, then a line of ASCII.
    const std::string euc = "\xC6\xFC\xCB\xDC\xB8\xEC\r\nabc\r\n";
    folder_->Write("e.txt", euc);
    TForm1& f = Make();
    chooseOk_ = true;
    nextChoice_ = {folder_->Path() + "e.txt", TextCode::Auto};
    f.BtnLoadClick(Side::A);
    QCOMPARE(f.FileLabel(Side::A)->text(), QString::fromUtf8("[EUC] e.txt"));
    QCOMPARE(f.Memo(Side::A)->Lines().Get(0), std::string("\x93\xfa\x96\x7b\x8c\xea"));
    QCOMPARE(f.RecordedCode(Side::A), TextCode::Euc);

    nextChoice_ = {folder_->Path() + "u.txt", TextCode::Utf8};
    f.BtnSaveClick(Side::A);
    QCOMPARE(Slurp(folder_->Path() + "u.txt"), std::string("日本語\nabc\n"));
    QCOMPARE(f.FileLabel(Side::A)->text(), QString::fromUtf8("[UTF8] u.txt"));
    QCOMPARE(f.ChosenCode(Side::A), TextCode::Utf8);
  }

  // The real open dialog: the code panel sits inside it, its choice decides
  // the reading, and the panel goes back to the window afterwards.
  void openDialogCarriesTheCodePanel() {
    folder_->Write("e.txt", "\xC6\xFC\xCB\xDC\xB8\xEC\r\n");
    realDialogs_ = true;
    TForm1& f = Make();
    bool sawPanel = false;
    QString title;
    QTimer::singleShot(0, &f, [&] {
      auto* dialog = f.findChild<QFileDialog*>("OpenDialog");
      if (!dialog) return;  // the test fails below: nothing was loaded
      title = dialog->windowTitle();
      auto* combo = dialog->findChild<QComboBox*>("CmbCode");
      sawPanel = combo && combo->isVisible();
      if (combo) combo->setCurrentIndex(2);  // "EUC"
      Save(dialog, "open_dialog");
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(folder_->Path() + "e.txt"));
      QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    f.BtnLoadClick(Side::A);
    QCOMPARE(title, QString::fromUtf8("ファイルを開く"));
    QVERIFY(sawPanel);
    QCOMPARE(f.ChosenCode(Side::A), TextCode::Euc);
    QCOMPARE(f.FileLabel(Side::A)->text(), QString::fromUtf8("[EUC] e.txt"));
    QVERIFY(f.findChild<QWidget*>("PnlCode")->isHidden());
    QCOMPARE(f.findChild<QComboBox*>("CmbCode")->window(), static_cast<QWidget*>(&f));
  }

  void aFailedSaveKeepsTheOldFile() {
    TForm1& f = Make();
    const std::string target = folder_->Write("old.txt", "old contents\n");
    // 0xA0 is no lead byte in EUC-JP's reach: the conversion fails.
    f.Memo(Side::A)->Lines().SetText("\xA0\xA1 broken\r\n");
    f.Memo(Side::A)->Model().Modified = true;
    QVERIFY(!f.SaveText(Side::A, TextCode::Euc, target));
    QCOMPARE(messages_, QStringList{QString::fromUtf8("変換に失敗しました")});
    QCOMPARE(Slurp(target), std::string("old contents\n"));
    QVERIFY(f.Memo(Side::A)->Model().Modified);
    // A folder that does not exist: the system's reason is shown.
    messages_.clear();
    QVERIFY(!f.SaveText(Side::A, TextCode::Sjis, folder_->Path() + "none/x.txt"));
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains("No such file"));
    QVERIFY(QDir(QString::fromStdString(folder_->Path())).entryList({"old.txt.tmp*"}).isEmpty());
  }

  void lossyUtf8LoadWarnsAndAsksBeforeOverwriting() {
    // An emoji and a snowman have no Shift_JIS form; the "?" of the file is kept.
    const std::string original = "日本語です。\n絵文字 \xF0\x9F\x98\x80 と雪だるま \xE2\x98\x83?\n";
    const std::string path = folder_->Write("emoji.txt", original);
    TForm1& f = Make();
    QVERIFY(f.LoadText(Side::A, TextCode::Utf8, path));
    QCOMPARE(messages_, QStringList{QString::fromUtf8(
                            "変換できない文字が 2 文字あります。保存するとこれらの文字は失われます。")});
    QVERIFY(f.FileLabel(Side::A)->text().endsWith("*"));
    answer_ = false;
    QVERIFY(!f.SaveText(Side::A, TextCode::Auto, path));
    QCOMPARE(questions_, QStringList{QString::fromUtf8("変換できない文字が失われます。上書きしますか？")});
    QCOMPARE(Slurp(path), original);
    answer_ = true;
    QVERIFY(f.SaveText(Side::A, TextCode::Auto, path));
    QVERIFY(!f.FileLabel(Side::A)->text().endsWith("*"));
  }

  void shortcuts_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expect");
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, none = Qt::NoModifier;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << none << "searchword:";
    QTest::newRow("F1") << int(Qt::Key_F1) << none << "message:ヘルプファイルが見つかりません。";
    QTest::newRow("F3") << int(Qt::Key_F3) << none << "found:q";
    QTest::newRow("Shift+F3") << int(Qt::Key_F3) << shift << "found:x";
    QTest::newRow("F4") << int(Qt::Key_F4) << none << "caret:3,0";
    QTest::newRow("Shift+F4") << int(Qt::Key_F4) << shift << "caret:1,0";
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << ctrl << "focus:B";
    QTest::newRow("Ctrl+Up") << int(Qt::Key_Up) << ctrl << "caret:1,0";
    QTest::newRow("Ctrl+Down") << int(Qt::Key_Down) << ctrl << "caret:3,0";
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "selected:all";
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << "clipboard:ne";
    QTest::newRow("Ctrl+D") << int(Qt::Key_D) << ctrl << "selected:word";
    QTest::newRow("Ctrl+E") << int(Qt::Key_E) << ctrl << "colouring:off";
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << ctrl << "searchword:xyz";
    QTest::newRow("Ctrl+K") << int(Qt::Key_K) << ctrl << "counts";
    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << ctrl << "lines:0";
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << ctrl << "lines:1";
    QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << ctrl << "strip:shown";
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << ctrl << "saved";
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << "text:clipxone";
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << ctrl << "layout:stacked";
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << "text:o";
    QTest::newRow("Ctrl+Y") << int(Qt::Key_Y) << ctrl << "text:one!";
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << "text:one";
    QTest::newRow("Ctrl+Shift+S does nothing") << int(Qt::Key_S) << (ctrl | shift) << "nothing";
    QTest::newRow("Alt+F4 is not F4") << int(Qt::Key_F4) << int(Qt::AltModifier) << "caret:2,0";
  }

  void shortcuts() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expect);
    folder_->Write("a.txt", "one\r\nx\r\ny\r\nq\r\n");
    folder_->Write("b.txt", "one\r\nX\r\ny\r\nQ\r\n");
    TForm1& f = Make(folder_->Path() + "a.txt", folder_->Path() + "b.txt");
    TEditor* a = f.Memo(Side::A);
    a->setFocus();
    // The caret on line 2 between two changed lines; "y" is the search word.
    a->Model().SetRowCol(2, 0);
    f.Memo(Side::A)->Model().View().ReserveWordList.Add("y");
    f.Memo(Side::B)->Model().View().ReserveWordList.Add("y");
    if (expect.startsWith("found:")) {
      f.Memo(Side::A)->Model().View().ReserveWordList.Clear();
      f.Memo(Side::A)->Model().View().ReserveWordList.Add(expect.mid(6).toStdString());
    }
    QApplication::clipboard()->setText("clipx");
    f.AskText = [](const QString&, bool& ok) {
      ok = true;
      return QString("xyz");
    };
    chooseOk_ = true;
    nextChoice_ = {folder_->Write("o.txt", "opened\r\n"), TextCode::Sjis};
    if (expect == "saved") nextChoice_ = {folder_->Path() + "s.txt", TextCode::Sjis};
    if (expect == "clipboard:ne" || expect == "text:o") a->Model().Select(0, 1, 0, 3);
    if (key == Qt::Key_Y || key == Qt::Key_Z) {
      a->Model().SetRowCol(0, 3);
      a->Model().InsertText("!");
      if (key == Qt::Key_Y) a->Model().Undo();
    }
    if (expect == "text:clipxone") a->Model().SetRowCol(0, 0);
    messages_.clear();
    f.Status()->SetPanelText(3, "");

    QTest::keyClick(a, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QApplication::processEvents();

    const QString kind = expect.section(':', 0, 0), value = expect.section(':', 1);
    const TEditorModel& m = a->Model();
    if (kind == "found") QCOMPARE(QString::fromStdString(m.SelText()), value);
    else if (kind == "caret") QCOMPARE(QString("%1,%2").arg(m.Row()).arg(m.Col()), value);
    else if (kind == "searchword") {
      const TWordList& words = f.Memo(Side::B)->Model().View().ReserveWordList;
      QCOMPARE(words.Count() > 0 ? QString::fromStdString(words[0]) : QString(), value);
    } else if (kind == "message") QCOMPARE(messages_.value(0).left(value.size()), value);
    else if (kind == "focus") QVERIFY(f.Memo(Side::B)->hasFocus());
    else if (kind == "selected" && value == "all") QCOMPARE(m.SelText(), std::string("one\r\nx\r\ny\r\nq\r\n"));
    else if (kind == "selected") QCOMPARE(m.SelText(), std::string("y"));
    else if (kind == "clipboard") QCOMPARE(QApplication::clipboard()->text(), value);
    else if (kind == "colouring") QVERIFY(f.ErrorColouringOff());
    else if (kind == "counts") QCOMPARE(f.Status()->PanelText(3), QString::fromUtf8("2行"));
    else if (kind == "lines") QCOMPARE(a->Lines().Count(), value.toInt());
    else if (kind == "strip") QVERIFY(f.PnlUpdate()->isVisible());
    else if (kind == "saved") QCOMPARE(Slurp(folder_->Path() + "s.txt"), std::string("one\r\nx\r\ny\r\nq\r\n"));
    else if (kind == "text") QCOMPARE(QString::fromStdString(a->Lines().Get(0)), value);
    else if (kind == "layout") QVERIFY(!f.SideBySide());
    else if (kind == "nothing") {
      QVERIFY(!QFile::exists(QString::fromStdString(folder_->Path() + "s.txt")));
      QCOMPARE(m.Row(), 2);
    }
  }

  void closeQuestionNamesTheModifiedPanes() {
    TForm1& f = Make();
    f.Settings().Editor.UpdateDlg = true;
    f.Memo(Side::A)->Model().Modified = true;
    f.Memo(Side::B)->Model().Modified = true;
    answer_ = false;
    QVERIFY(!f.close());
    QCOMPARE(questions_, QStringList{QString::fromUtf8("TextAとTextBが変更されています。終了してよろしいですか？")});
    f.Memo(Side::A)->Model().Modified = false;
    questions_.clear();
    answer_ = true;
    QVERIFY(f.close());
    QCOMPARE(questions_, QStringList{QString::fromUtf8("TextBが変更されています。終了してよろしいですか？")});
    // Without the switch nothing is asked.
    TForm1& g = Make();
    QVERIFY(g.Settings().Editor.UpdateDlg);  // written at the first window's exit
    g.Settings().Editor.UpdateDlg = false;
    g.Memo(Side::A)->Model().Modified = true;
    questions_.clear();
    QVERIFY(g.close());
    QVERIFY(questions_.isEmpty());
  }

  void layoutSwitchTwiceGivesEqualHalvesSideBySide() {
    TForm1& f = Make();
    const int width = f.PnlMain()->width();
    f.BtnFormClick();
    QApplication::processEvents();
    QVERIFY(!f.SideBySide());
    QCOMPARE(f.PnlMain()->orientation(), Qt::Vertical);
    QVERIFY(std::abs(f.PnlABase()->height() - f.PnlBBase()->height()) <= 1);
    Save(&f, "main_window_stacked");
    f.BtnFormClick();
    QApplication::processEvents();
    QVERIFY(f.SideBySide());
    QCOMPARE(f.PnlMain()->width(), width);
    QVERIFY(std::abs(f.PnlABase()->width() - f.PnlBBase()->width()) <= 1);
    // A width chosen with the splitter lasts until the next resize.
    f.PnlMain()->setSizes({100, width - 104});
    f.resize(f.width() + 120, f.height());
    QApplication::processEvents();
    QVERIFY(std::abs(f.PnlABase()->width() - f.PnlBBase()->width()) <= 1);
  }

  void wheelScrollsBothPanesByOneRow() {
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += "line " + std::to_string(i) + "\r\n";
    folder_->Write("a.txt", lines);
    folder_->Write("b.txt", lines.substr(0, 50));
    TForm1& f = Make(folder_->Path() + "a.txt", folder_->Path() + "b.txt");
    QWidget* viewport = f.Memo(Side::A)->viewport();
    const auto wheel = [&](int delta) {
      QWheelEvent e(QPointF(40, 40), viewport->mapToGlobal(QPointF(40, 40)), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &e);
    };
    wheel(-120);
    wheel(-120);
    QCOMPARE(f.Memo(Side::A)->Model().TopRow(), 2);
    QCOMPARE(f.Memo(Side::B)->Model().TopRow(), 2);
    wheel(120);
    wheel(120);
    wheel(120);
    QCOMPARE(f.Memo(Side::A)->Model().TopRow(), 0);
    QCOMPARE(f.Memo(Side::B)->Model().TopRow(), 0);
  }

  void dropsOntoEachPane() {
    const std::string one = folder_->Write("one.txt", "1\r\n");
    const std::string two = folder_->Write("two.txt", "2\r\n2\r\n");
    TForm1& f = Make();
    const auto drop = [&](QWidget* target, const std::string& path) {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
      const QPoint at = f.mapFromGlobal(target->mapToGlobal(target->rect().center()));
      QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&f, &enter);
      QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&f, &event);
    };
    drop(f.Memo(Side::A), one);
    drop(f.Memo(Side::B), two);
    QCOMPARE(Text(f, Side::A), std::string("1\r\n"));
    QCOMPARE(Text(f, Side::B), std::string("2\r\n2\r\n"));
    QCOMPARE(f.MapLineCount(Side::B), 2);
    drop(f.Memo(Side::A), folder_->Path());
    QCOMPARE(messages_, QStringList{QString::fromUtf8("ファイルではありません。")});
    QCOMPARE(Text(f, Side::A), std::string("1\r\n"));
    f.Settings().Editor.UpdateDlg = true;
    f.Memo(Side::A)->Model().Modified = true;
    answer_ = false;
    drop(f.Memo(Side::A), two);
    QCOMPARE(questions_, QStringList{QString::fromUtf8("TextAが変更されています。ファイルを開きますか？")});
    QCOMPARE(Text(f, Side::A), std::string("1\r\n"));
  }

  void newButtonClearsAndAsksFirst() {
    folder_->Write("a.txt", "a\r\n");
    TForm1& f = Make(folder_->Path() + "a.txt");
    f.Settings().Editor.UpdateDlg = true;
    f.Memo(Side::A)->Model().Modified = true;
    answer_ = false;
    f.BtnNewClick(Side::A);
    QCOMPARE(questions_, QStringList{QString::fromUtf8("TextAが変更されています。クリアしますか？")});
    QCOMPARE(f.Memo(Side::A)->Lines().Count(), 1);
    answer_ = true;
    f.BtnNewClick(Side::A);
    QCOMPARE(f.Memo(Side::A)->Lines().Count(), 0);
    QCOMPARE(f.FileLabel(Side::A)->text(), QString());
    QCOMPARE(f.FileLabel(Side::A)->toolTip(), QString::fromStdString(folder_->Path() + "a.txt"));
    messages_.clear();
    f.BtnSaveClick(Side::A);
    QCOMPARE(messages_, QStringList{QString::fromUtf8("保存する情報がありません。")});
  }

  void companionSendsFilesToTheRunningWindow() {
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder_->Path().substr(0, folder_->Path().size() - 1)));
    WritePair();
    TForm1& f = Make();
    const auto send = [](const char* flag, const std::string& path) {
      QProcess tool;
      tool.start(RD_TOOL, {flag, QString::fromStdString(path)});
      QVERIFY(tool.waitForFinished(5000));
      QCOMPARE(tool.exitCode(), 0);
    };
    send("-a", folder_->Path() + "a.txt");
    QTRY_COMPARE(f.FileLabel(Side::A)->text(), QString("a.txt"));
    QVERIFY(f.Comparison().Diff(Side::A).empty());  // TextB is empty: no comparison
    send("-b", folder_->Path() + "b.txt");
    QTRY_COMPARE(f.FileLabel(Side::B)->text(), QString("b.txt"));
    QTRY_VERIFY(!f.Comparison().Diff(Side::A).empty());
    // A name that is not a file changes nothing.
    send("-a", folder_->Path() + "missing.txt");
    QTest::qWait(200);
    QCOMPARE(f.FileLabel(Side::A)->text(), QString("a.txt"));
    qunsetenv("XDG_RUNTIME_DIR");
  }

  void aboutBoxShowsAddressesAndHidesOnEsc() {
    TForm1& f = Make();
    TForm3 about(QString::fromStdString(folder_->Path()), &f);
    f.SetSecondaryWindows(&about, nullptr, nullptr);
    f.ShowAbout();
    QVERIFY(about.isVisible());
    QCOMPARE(about.windowTitle(), QString::fromUtf8("情報"));
    QList<QUrl> opened;
    about.HelpAddress()->OnOpen = [&opened](const QUrl& url) { opened << url; };
    QTest::mouseDClick(about.HelpAddress(), Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(folder_->Path() + "RavelleDiff.html"))});
    QVERIFY(about.HelpAddress()->isReadOnly());
    Save(&about, "about_box");
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
  }

  // A connection that sends a word parameter the protocol does not know is
  // closed; what it sent before changes nothing, and other connections work.
  void aMalformedFrameClosesOnlyItsConnection() {
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder_->Path().substr(0, folder_->Path().size() - 1)));
    const std::string a = folder_->Write("a.txt", "a\r\n");
    TForm1& f = Make();
    QLocalSocket bad;
    bad.connectToServer(QString::fromStdString(CompanionSocketPath()));
    QVERIFY(bad.waitForConnected(2000));
    std::string bytes = CompanionMessage(Side::A, a);
    const std::int32_t unknown[2] = {9, 0};
    bytes.insert(bytes.size() - 8, reinterpret_cast<const char*>(unknown), 8);
    bad.write(bytes.data(), static_cast<qint64>(bytes.size()));
    bad.flush();
    QTRY_COMPARE(bad.state(), QLocalSocket::UnconnectedState);
    QTest::qWait(100);
    QCOMPARE(f.FileLabel(Side::A)->text(), QString());
    QLocalSocket good;
    good.connectToServer(QString::fromStdString(CompanionSocketPath()));
    QVERIFY(good.waitForConnected(2000));
    bytes = CompanionMessage(Side::A, a);
    good.write(bytes.data(), static_cast<qint64>(bytes.size()));
    good.flush();
    QTRY_COMPARE(f.FileLabel(Side::A)->text(), QString("a.txt"));
    qunsetenv("XDG_RUNTIME_DIR");
  }

  void settingsAreWrittenAtExitAndReadBack() {
    folder_->Write("RavelleDiff.INI", "; mine\r\n[Editor]\r\nTabIndent=3\r\nCodeType=5\r\nFindColor=255\r\n"
                                      "[Form]\r\nW=700\r\nH=450\r\nLeft=10\r\nTop=20\r\nEditTate=0\r\n");
    TForm1& f = Make();
    QVERIFY(!f.SideBySide());
    QCOMPARE(f.Memo(Side::B)->Model().TabSpaceCount(), 4);
    QCOMPARE(f.InfoMemo()->Model().TabSpaceCount(), 4);
    f.Settings().Check.Text = true;
    form_->resize(640, 480);
    form_.reset();
    const TIniFile ini = ReadIniFile(folder_->Path() + "RavelleDiff.INI");
    QCOMPARE(ini.Get("Editor", "TabIndent").value_or(""), std::string("4"));
    QCOMPARE(ini.Get("Editor", "CodeType").value_or(""), std::string("1"));
    QCOMPARE(ini.Get("Editor", "FindColor").value_or(""), std::string("255"));
    QCOMPARE(ini.Get("Check", "Text").value_or(""), std::string("1"));
    QCOMPARE(ini.Get("Form", "W").value_or(""), std::string("640"));
    QCOMPARE(ini.Get("Form", "EditTate").value_or(""), std::string("0"));
    QVERIFY(Slurp(folder_->Path() + "RavelleDiff.INI").starts_with("; mine"));
    TForm1& g = Make();
    QVERIFY(g.Settings().Check.Text);
    QCOMPARE(g.Memo(Side::A)->Model().TabSpaceCount(), 4);
  }
};

}  // namespace rd

QTEST_MAIN(rd::MainWindowTest)
#include "main_window_test.moc"
