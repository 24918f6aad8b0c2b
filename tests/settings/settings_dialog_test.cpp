// The settings dialog on the offscreen platform beside a real main window:
// every control clicked as a person would, the live settings and both panes
// read back; the send-to button on a temporary applications folder, and a
// file manager's launch of an entry reaching the running window.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "desktop_entry_reader.h"
#include "editor/editor_widget.h"
#include "settings/ini_file.h"
#include "settings/settings_dialog.h"
#include "temp_folder.h"

namespace rd {

using testing::DesktopValue;
using testing::Slurp;
using testing::SplitExec;
using testing::TempFolder;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
 public:
  explicit TPaintCounter(QWidget* w) { w->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++count;
    return false;
  }
};

// The settings as the file would hold them, to tell whether anything changed.
std::string Snapshot(const TSettings& s) {
  TIniFile ini;
  WriteSettings(s, ini);
  return ini.Text() + "FindColor=" + std::to_string(s.Editor.FindColor);
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempFolder> folder_;
  std::string programDir_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<TForm4> dialog_;
  QStringList messages_;
  int applied_ = 0;
  std::optional<std::int32_t> nextColour_;

  // A main window in a program folder whose name has a blank and Japanese
  // letters, with `ini` as its settings file, and its settings dialog.
  TForm4& Make(const std::string& ini = {}) {
    dialog_.reset();
    form_.reset();
    messages_.clear();
    applied_ = 0;
    if (!ini.empty()) folder_->Write("比較 ツール/RavelleDiff.INI", ini);
    form_ = std::make_unique<TForm1>(TMainWindowStart{programDir_, {}, {}});
    TForm1& f = *form_;
    f.ShowMessage = [this](const QString& text) { messages_ << text; };
    f.AskYesNo = [](const QString&) { return true; };
    f.OpenUrl = [](const QUrl&) {};
    f.Start();
    f.resize(900, 600);
    f.show();
    dialog_ = std::make_unique<TForm4>(TSettingsHost{&f.Settings(),
                                                     [this, &f] {
                                                       ++applied_;
                                                       f.ApplySettings();
                                                     },
                                                     f.ProgramDir()},
                                       &f);
    dialog_->ShowMessage = [this](const QString& text) { messages_ << text; };
    dialog_->ChooseColor = [this](std::int32_t) { return nextColour_; };
    f.SetSecondaryWindows(nullptr, nullptr, dialog_.get());
    QApplication::processEvents();
    return *dialog_;
  }

  template <class T>
  T* Find(const char* name) {
    T* w = dialog_->findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }
  TEditor* Memo(Side side) { return form_->Memo(side); }
  // A click on the box or circle of a check box or radio button, which lies
  // at the left end; push buttons take it anywhere.
  static void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }

  void Save(QWidget* w, const QString& name) {
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w->grab().save(QString(RD_SCREENSHOT_DIR) + "/" + name + ".png");
  }

  // Installs the companion program in the program folder.
  void InstallCompanion() {
    const std::string target = programDir_ + "ravelle_diff_tool";
    std::filesystem::copy_file(RD_TOOL, target, std::filesystem::copy_options::overwrite_existing);
  }

 private slots:
  void init() {
    folder_ = std::make_unique<TempFolder>();
    programDir_ = folder_->Path() + "比較 ツール/";
    std::filesystem::create_directories(programDir_);
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder_->Path() + "data"));
    nextColour_.reset();
  }
  void cleanup() {
    dialog_.reset();
    form_.reset();
    qunsetenv("XDG_DATA_HOME");
  }

  void showingFillsWithoutChangingAnything() {
    TForm4& d = Make(
        "[Editor]\r\nFontName=\"IPAGothic\"\r\nFontSize=13\r\nFontColor=255\r\nBackColor=15790320\r\nInsColor=1\r\n"
        "MovColor=2\r\nUpdColor=3\r\nFindColor=4\r\nTabIndent=8\r\nTabShow=0\r\nDSpcShow=1\r\nRetShow=1\r\n"
        "HScroll=1\r\nVScroll=0\r\nRulerShow=0\r\nRowNumShow=1\r\nFreeCur=0\r\nCodeType=0\r\nUpdateDlg=1\r\n"
        "CharDiff=0\r\nUpdCharColor=5\r\n"
        "[Check]\r\nTrimLR=1\r\nTrimR=0\r\nBlank=0\r\nText=1\r\nFMove=0\r\nWidth=1\r\nZSpace=0\r\nAllSpace=1\r\n"
        "[Excel]\r\nAddRow=17\r\n");
    const std::string before = Snapshot(form_->Settings());
    TPaintCounter paints(Memo(Side::A)->viewport());
    QApplication::processEvents();
    paints.count = 0;
    form_->ShowSettingsDialog();
    QApplication::processEvents();
    QVERIFY(d.isVisible());
    QCOMPARE(applied_, 0);
    QCOMPARE(paints.count, 0);
    QCOMPARE(Snapshot(form_->Settings()), before);

    // What the controls show, written out.
    QCOMPARE(Find<QPushButton>("BtnIns")->palette().color(QPalette::ButtonText), QColor(1, 0, 0));
    QCOMPARE(Find<QPushButton>("BtnWord")->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    QCOMPARE(Find<QPushButton>("BtnBack")->palette().color(QPalette::ButtonText), QColor(0xF0, 0xF0, 0xF0));
    QCOMPARE(Find<QPushButton>("BtnFind")->palette().color(QPalette::ButtonText), QColor(4, 0, 0));
    QCOMPARE(Find<QPushButton>("BtnChgChar")->palette().color(QPalette::ButtonText), QColor(5, 0, 0));
    QCOMPARE(Find<QPushButton>("BtnChgChar")->accessibleName(), U("変更箇所"));
    for (const char* name : {"BtnWord", "BtnIns", "BtnMov", "BtnChg", "BtnBack", "BtnFind", "BtnChgChar"})
      QCOMPARE(Find<QPushButton>(name)->text(), U("■"));
    QVERIFY(Find<QRadioButton>("RdoTab8")->isChecked());
    QVERIFY(Find<QRadioButton>("RdoCodeAuto")->isChecked());
    const struct {
      const char* name;
      bool checked;
    } boxes[] = {{"ChkTabShow", false}, {"ChkDSpcShow", true}, {"ChkRetShow", true},  {"ChkHScr", true},
                 {"ChkVScr", false},    {"ChkRuler", false},   {"ChkRowNum", true},   {"ChkFreeCur", false},
                 {"ChkSpc", false},     {"ChkTrimR", false},   {"ChkTrim", true},     {"ChkUpper", true},
                 {"ChkMove", false},    {"ChkUpdDlg", true},   {"ChkSend", false},    {"ChkCharDiff", false},
                 {"ChkWidth", true},    {"ChkZSpace", false},  {"ChkAllSpace", true}};
    for (const auto& b : boxes) QVERIFY2(Find<QCheckBox>(b.name)->isChecked() == b.checked, b.name);
    QCOMPARE(Find<QComboBox>("ComboFont")->currentText(), QString("IPAGothic"));
    QCOMPARE(Find<QSpinBox>("SpinSize")->value(), 13);
    QCOMPARE(Find<QSpinBox>("SpinEx")->value(), 17);

    // Showing again while shown refills from the live state.
    form_->Settings().Editor.TabIndent = 2;
    form_->Settings().AddRow = 3;
    form_->ShowSettingsDialog();
    QVERIFY(Find<QRadioButton>("RdoTab2")->isChecked());
    QCOMPARE(Find<QSpinBox>("SpinEx")->value(), 3);
    QCOMPARE(applied_, 0);
  }

  void windowKind() {
    TForm4& d = Make();
    form_->ShowSettingsDialog();
    QApplication::processEvents();
    QCOMPARE(d.windowTitle(), U("環境設定"));
    QVERIFY(!d.isModal());
    QVERIFY(d.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(d.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    const QPoint centre = d.screen()->availableGeometry().center();
    QVERIFY2((d.frameGeometry().center() - centre).manhattanLength() <= 4, "centred on the screen");
    auto* tabs = Find<QTabWidget>("PageControl");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), U("エディッタ"));
    QCOMPARE(tabs->tabText(1), U("チェック"));
    QCOMPARE(tabs->tabText(2), U("その他"));
    const char* names[] = {"editor", "check", "other"};
    for (int i = 0; i < 3; ++i) {
      tabs->setCurrentIndex(i);
      QApplication::processEvents();
      Save(&d, QString("settings_dialog_") + names[i]);
    }
    // Installed families carry the icon of their kind: one for outline fonts, another for bitmap fonts.
    auto* fonts = Find<QComboBox>("ComboFont");
    QSet<qint64> outline, bitmap;
    for (int i = 0; i < fonts->count(); ++i) {
      const QString family = fonts->itemText(i);
      if (!QFontDatabase::families().contains(family)) continue;  // a name from the settings file only
      QVERIFY2(!fonts->itemIcon(i).isNull(), qPrintable(family));
      (QFontDatabase::isScalable(family) ? outline : bitmap) << fonts->itemIcon(i).cacheKey();
    }
    QCOMPARE(outline.size(), 1);
    QVERIFY(bitmap.size() <= 1 && !bitmap.intersects(outline));

    d.close();
    QVERIFY(!d.isVisible());  // hidden, not destroyed
    form_->ShowSettingsDialog();
    QVERIFY(d.isVisible());
  }

  void eachControlActsAtOnce() {
    Make();
    form_->Memo(Side::A)->Lines().SetText("\tint a;\r\n\x81\x40" "end\r\n");
    form_->Memo(Side::B)->Lines().SetText("\tint b;\r\n");
    form_->ShowSettingsDialog();
    const TSettings& s = form_->Settings();
    const auto both = [this](auto&& pred) { return pred(Memo(Side::A)) && pred(Memo(Side::B)); };
    const auto click = [this](const char* name) { Click(Find<QAbstractButton>(name)); };

    click("RdoTab8");
    QCOMPARE(s.Editor.TabIndent, 8);
    QVERIFY(both([](TEditor* m) { return m->Model().TabSpaceCount() == 8; }));
    QCOMPARE(form_->InfoMemo()->Model().TabSpaceCount(), 8);
    click("RdoTab4");
    QCOMPARE(form_->InfoMemo()->Model().TabSpaceCount(), 4);

    click("ChkTabShow");
    QVERIFY(!s.Editor.TabShow && s.Editor.DSpcShow);
    click("ChkDSpcShow");
    QVERIFY(!s.Editor.DSpcShow);

    click("ChkHScr");
    QVERIFY(both([](TEditor* m) { return m->ScrollBars() == TScrollBars::ssHorizontal; }));
    click("ChkVScr");
    QVERIFY(both([](TEditor* m) { return m->ScrollBars() == TScrollBars::ssBoth; }));
    click("ChkHScr");
    QVERIFY(both([](TEditor* m) { return m->ScrollBars() == TScrollBars::ssVertical; }));
    click("ChkVScr");
    QVERIFY(both([](TEditor* m) { return m->ScrollBars() == TScrollBars::ssNone; }));

    click("ChkRuler");
    QVERIFY(!s.Editor.RulerShow);
    QVERIFY(both([](TEditor* m) { return !m->Ruler().Visible; }));
    click("ChkRowNum");
    QVERIFY(both([](TEditor* m) { return !m->Leftbar().Visible; }));
    click("ChkFreeCur");
    QVERIFY(both([](TEditor* m) { return !m->Model().Caret.FreeCaret; }));

    // The size: arrows step it, typing does not.
    auto* size = Find<QSpinBox>("SpinSize");
    size->setFocus();
    QTest::keyClick(size, Qt::Key_Up);
    QCOMPARE(s.Editor.FontSize, 11);
    QVERIFY(both([](TEditor* m) { return m->Font().pointSize() == 11; }));
    QTest::keyClicks(size->findChild<QLineEdit*>(), "5");
    QCOMPARE(size->value(), 11);
    QCOMPARE(size->minimum(), 1);
    QCOMPARE(size->maximum(), 99);

    auto* font = Find<QComboBox>("ComboFont");
    QVERIFY(font->count() > 1);
    const int other = font->currentIndex() == 0 ? 1 : 0;
    font->setCurrentIndex(other);
    const QString family = font->itemText(other);
    QCOMPARE(QString::fromStdString(s.Editor.FontName), family);
    QVERIFY(both([&](TEditor* m) { return m->Font().family() == family; }));

    click("ChkSpc");
    click("ChkTrim");
    click("ChkUpper");
    click("ChkMove");
    click("ChkWidth");
    click("ChkZSpace");
    click("ChkAllSpace");
    const TCompareOptions want{.TrimLR = true, .TrimR = true, .Blank = false, .Text = true, .FMove = false,
                               .Width = true, .ZSpace = true, .AllSpace = true};
    QVERIFY(form_->Comparison().Options == want);
    QVERIFY(s.Check == want);
    click("ChkTrimR");
    QVERIFY(!form_->Comparison().Options.TrimR);

    QCOMPARE(Find<QCheckBox>("ChkWidth")->text(), U("全角と半角を区別しない"));
    QCOMPARE(Find<QCheckBox>("ChkZSpace")->text(), U("全角空白を空白とみなす"));
    QCOMPARE(Find<QCheckBox>("ChkAllSpace")->text(), U("空白の違いを無視する"));

    TPaintCounter paints(Memo(Side::B)->viewport());
    click("ChkCharDiff");
    QVERIFY(!s.Editor.CharDiff);
    QApplication::processEvents();
    QVERIFY(paints.count > 0);  // the panes repaint at once
    QCOMPARE(Find<QCheckBox>("ChkCharDiff")->text(), U("変更箇所を強調する"));

    click("ChkUpdDlg");
    QVERIFY(s.Editor.UpdateDlg);
    auto* ex = Find<QSpinBox>("SpinEx");
    ex->setValue(12);
    QCOMPARE(s.AddRow, 12);
    QCOMPARE(ex->maximum(), 99);
    QCOMPARE(ex->minimum(), 0);

    // Colours: the picked colour reaches the state and both panes.
    const struct {
      const char* button;
      std::int32_t colour;
    } colours[] = {{"BtnIns", 0x010203}, {"BtnMov", 0x040506}, {"BtnChg", 0x070809},
                   {"BtnWord", 0x800000}, {"BtnBack", 0xE0F0FF}, {"BtnFind", 0x101112},
                   {"BtnChgChar", 0x131415}};
    for (const auto& c : colours) {
      nextColour_ = c.colour;
      click(c.button);
    }
    QCOMPARE(s.Editor.InsColor, 0x010203);
    QCOMPARE(s.Editor.MovColor, 0x040506);
    QCOMPARE(s.Editor.UpdColor, 0x070809);
    QCOMPARE(s.Editor.UpdCharColor, 0x131415);
    QVERIFY(both([](TEditor* m) { return m->FontColor() == 0x800000 && m->Color() == 0xE0F0FF; }));
    QVERIFY(both([](TEditor* m) { return m->Model().View().Colors[TEditorColors::Reserve].Color() == 0x101112; }));
    QCOMPARE(Find<QPushButton>("BtnChg")->palette().color(QPalette::ButtonText), QColor(9, 8, 7));

    // Nothing was written: the file appears only at exit.
    QVERIFY(!QFileInfo::exists(QString::fromStdString(programDir_ + "RavelleDiff.INI")));
    Save(form_.get(), "settings_dialog_applied");
  }

  void sameColourDoesNotRepaint() {
    Make();
    form_->ShowSettingsDialog();
    // No pane keeps the focus, so no caret blinks while paints are counted.
    for (const Side side : {Side::A, Side::B}) Memo(side)->clearFocus();
    TPaintCounter a(Memo(Side::A)->viewport()), b(Memo(Side::B)->viewport());
    QTest::qWait(20);
    a.count = b.count = 0;
    nextColour_ = form_->Settings().Editor.InsColor;
    QTest::mouseClick(Find<QPushButton>("BtnIns"), Qt::LeftButton);
    nextColour_.reset();  // cancelled
    QTest::mouseClick(Find<QPushButton>("BtnBack"), Qt::LeftButton);
    QApplication::processEvents();
    QCOMPARE(applied_, 0);
    QCOMPARE(a.count + b.count, 0);

    nextColour_ = 0x00FF00;
    QTest::mouseClick(Find<QPushButton>("BtnIns"), Qt::LeftButton);
    QApplication::processEvents();
    QCOMPARE(applied_, 1);
    QVERIFY(a.count > 0 && b.count > 0);
  }

  void lineEndTogglesBothMarksInBothPanes() {
    Make();
    form_->Memo(Side::A)->Lines().SetText("one\r\ntwo\r\n");
    form_->Memo(Side::B)->Lines().SetText("three\r\n");
    form_->ShowSettingsDialog();
    const auto marks = [this](bool on) {
      for (const Side side : {Side::A, Side::B}) {
        const TEditorMarks& m = Memo(side)->Marks();
        if (m.RetMark.Visible != on || m.EofMark.Visible != on) return false;
      }
      return form_->Settings().Editor.RetShow == on;
    };
    QVERIFY(marks(false));
    Click(Find<QCheckBox>("ChkRetShow"));
    QVERIFY(marks(true));
    QApplication::processEvents();
    Save(form_.get(), "settings_dialog_line_end_marks");
    Click(Find<QCheckBox>("ChkRetShow"));
    QVERIFY(marks(false));
  }

  void codeRadioChangesTheDefaultCodeOnly() {
    Make();
    form_->ShowSettingsDialog();
    QVERIFY(Find<QRadioButton>("RdoCodeSjis")->isChecked());
    Click(Find<QRadioButton>("RdoCodeUTF8"));
    QCOMPARE(form_->Settings().Editor.CodeType, TextCode::Utf8);
    QCOMPARE(form_->ChosenCode(Side::A), TextCode::Sjis);
    QCOMPARE(form_->ChosenCode(Side::B), TextCode::Sjis);
    QCOMPARE(applied_, 0);
    // A dropped file is now read as UTF-8: "日本語" arrives in Shift_JIS.
    const std::string path = folder_->Write("u.txt", "日本語\n");
    form_->DropFile(Side::A, path);
    QCOMPARE(form_->Memo(Side::A)->Lines().Get(0), std::string("\x93\xfa\x96\x7b\x8c\xea"));
    QCOMPARE(form_->RecordedCode(Side::A), TextCode::Utf8);
    Click(Find<QRadioButton>("RdoCodeAuto"));
    QCOMPARE(form_->Settings().Editor.CodeType, TextCode::Auto);
    Click(Find<QRadioButton>("RdoCodeEuc"));
    QCOMPARE(form_->Settings().Editor.CodeType, TextCode::Euc);
  }

  void fontNameOnlyWhileShown() {
    TForm4& d = Make();
    auto* font = Find<QComboBox>("ComboFont");
    const std::string before = form_->Settings().Editor.FontName;
    QVERIFY(!d.isVisible());
    font->setCurrentIndex(font->currentIndex() == 0 ? 1 : 0);
    QCOMPARE(form_->Settings().Editor.FontName, before);
    QCOMPARE(applied_, 0);
    // The default font is no installed family; it is still what the combo shows.
    form_->ShowSettingsDialog();
    QCOMPARE(font->currentText(), QString::fromStdString(before));
  }

  void sendToEntries() {
    TForm4& d = Make();
    const std::string entries = folder_->Path() + "data/applications/";
    QCOMPARE(d.SendToFolder(), entries);
    const std::string a = entries + "RavelleDiff テキストA.desktop", b = entries + "RavelleDiff テキストB.desktop";
    form_->ShowSettingsDialog();
    auto* chk = Find<QCheckBox>("ChkSend");
    auto* btn = Find<QPushButton>("BtnUpdate");
    QCOMPARE(btn->text(), U("エクスプローラの「送る」に登録する"));
    QVERIFY(btn->toolTip().contains(U("「別のアプリケーションで開く」")));

    // No companion program beside the window: nothing is written.
    chk->setChecked(true);
    QTest::mouseClick(btn, Qt::LeftButton);
    QCOMPARE(messages_, QStringList{U("ツール(ravelle_diff_tool)が見つかりません。")});
    QVERIFY(!std::filesystem::exists(entries));

    InstallCompanion();
    messages_.clear();
    QTest::mouseClick(btn, Qt::LeftButton);
    QVERIFY(messages_.isEmpty());
    QVERIFY(std::filesystem::is_regular_file(a) && std::filesystem::is_regular_file(b));
    QVERIFY(chk->isChecked());
    // Ticked with both present: nothing changes.
    const auto stampA = std::filesystem::last_write_time(a);
    std::filesystem::last_write_time(a, stampA - std::chrono::hours(1));
    QTest::mouseClick(btn, Qt::LeftButton);
    QCOMPARE(std::filesystem::last_write_time(a), stampA - std::chrono::hours(1));
    QVERIFY(chk->isChecked());

    // Cleared: both are removed and the box stays cleared.
    chk->setChecked(false);
    QTest::mouseClick(btn, Qt::LeftButton);
    QVERIFY(!std::filesystem::exists(a) && !std::filesystem::exists(b));
    QVERIFY(!chk->isChecked());

    // Only TextB present: the box opens cleared; ticking creates TextA only.
    folder_->Write("data/applications/RavelleDiff テキストB.desktop", "kept\n");
    d.close();
    form_->ShowSettingsDialog();
    QVERIFY(!chk->isChecked());
    chk->setChecked(true);
    QTest::mouseClick(btn, Qt::LeftButton);
    QVERIFY(chk->isChecked());
    QVERIFY(std::filesystem::is_regular_file(a));
    QCOMPARE(Slurp(b), std::string("kept\n"));
    QVERIFY(messages_.isEmpty());
    Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    Save(&d, "settings_dialog_send_to");
  }

  void noApplicationsFolder() {
    qputenv("XDG_DATA_HOME", "relative/data");
    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    TForm4& d = Make();
    qputenv("HOME", home);
    InstallCompanion();
    QCOMPARE(d.SendToFolder(), std::string());
    form_->ShowSettingsDialog();
    Find<QCheckBox>("ChkSend")->setChecked(true);
    QTest::mouseClick(Find<QPushButton>("BtnUpdate"), Qt::LeftButton);
    QCOMPARE(messages_, QStringList{U("エクスプローラへ設定できません。")});
  }

  // The entry run as a file manager runs it: the Exec line split and its
  // %f expanded, started in Path; the file arrives in the running window.
  void entryLaunchReachesTheRunningWindow() {
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder_->Path().substr(0, folder_->Path().size() - 1)));
    TForm4& d = Make();
    InstallCompanion();
    d.show();
    Find<QCheckBox>("ChkSend")->setChecked(true);
    QTest::mouseClick(Find<QPushButton>("BtnUpdate"), Qt::LeftButton);
    const std::string file = folder_->Write("送る ファイル.txt", "line one\r\n");

    const std::string entry = Slurp(d.SendToFolder() + "RavelleDiff テキストA.desktop");
    const auto exec = DesktopValue(entry, "Exec");
    const auto path = DesktopValue(entry, "Path");
    QVERIFY(exec && path);
    const auto args = SplitExec(*exec, file);
    QVERIFY(args && args->size() == 3);
    QProcess tool;
    tool.setWorkingDirectory(QString::fromStdString(*path));
    QStringList rest;
    for (std::size_t i = 1; i < args->size(); ++i) rest << QString::fromStdString((*args)[i]);
    tool.start(QString::fromStdString((*args)[0]), rest);
    QVERIFY(tool.waitForFinished(5000));
    QCOMPARE(tool.exitCode(), 0);
    QTRY_COMPARE(form_->FileLabel(Side::A)->text(), U("送る ファイル.txt"));
    QCOMPARE(form_->Memo(Side::A)->Lines().Get(0), std::string("line one"));

    // GLib's own launcher, where it is installed, starts the TextB entry the same way.
    const QString gio = QStandardPaths::findExecutable("gio");
    if (!gio.isEmpty()) {
      QProcess launch;
      launch.start(gio, {"launch", QString::fromStdString(d.SendToFolder() + "RavelleDiff テキストB.desktop"),
                         QString::fromStdString(file)});
      QVERIFY(launch.waitForFinished(10000));
      QCOMPARE(launch.exitCode(), 0);
      QTRY_COMPARE(form_->FileLabel(Side::B)->text(), U("送る ファイル.txt"));
    }
    qunsetenv("XDG_RUNTIME_DIR");
  }
};

}  // namespace rd

QTEST_MAIN(rd::SettingsDialogTest)
#include "settings_dialog_test.moc"
