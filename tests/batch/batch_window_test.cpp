// The batch check window on the offscreen platform, beside the real main
// window: pairing by name and by hand, a run over pairs that differ, match,
// are missing or cannot be read, and opening a pair with its differences.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <algorithm>
#include <memory>

#include "app/main_window.h"
#include "batch/batch_window.h"
#include "editor/editor_widget.h"
#include "temp_folder.h"
#include "textcode/line_list.h"

namespace rd {

using testing::TempFolder;

class BatchWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<TForm1> main_;
  std::unique_ptr<TForm2> batch_;
  QStringList messages_;

  TForm2& Make() {
    batch_.reset();
    main_.reset();
    folder_ = std::make_unique<TempFolder>();
    QDir(QString::fromStdString(folder_->Path())).mkpath("old");
    QDir(QString::fromStdString(folder_->Path())).mkpath("new");
    main_ = std::make_unique<TForm1>(TMainWindowStart{folder_->Path(), {}, {}});
    main_->ShowMessage = [this](const QString& text) { messages_ << text; };
    main_->Start();
    batch_ = std::make_unique<TForm2>(main_->BatchEngine(), main_->PairViewer(), main_.get());
    batch_->ShowMessage = [this](const QString& text) { messages_ << text; };
    batch_->show();
    messages_.clear();
    return *batch_;
  }

  std::string Old(const std::string& name) const { return folder_->Path() + "old/" + name; }
  std::string New(const std::string& name) const { return folder_->Path() + "new/" + name; }

  QStringList Texts(QListWidget* list) const {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  QString Cell(int row, int column) const { return batch_->ListView()->topLevelItem(row)->text(column); }

  void Drop(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
    data.setUrls(urls);
    const QPoint at = batch_->mapFromGlobal(target->mapToGlobal(target->rect().center()));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(batch_.get(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(batch_.get(), &drop);
  }

 private slots:
  void cleanup() {
    batch_.reset();
    main_.reset();
    messages_.clear();
  }

  void droppedFoldersPairByNameAndTheRunShowsEveryState() {
    TForm2& w = Make();
    folder_->Write("old/same.txt", "a\r\nb\r\n");
    folder_->Write("new/SAME.txt", "a\r\nb\r\n");
    folder_->Write("old/diff.txt", "a\r\nb\r\nc\r\n");
    folder_->Write("new/diff.txt", "a\r\nB\r\nc\r\nd\r\n");
    folder_->Write("old/gone.txt", "x\r\n");
    folder_->Write("new/gone.txt", "x\r\n");
    folder_->Write("old/only_a.txt", "x\r\n");
    Drop(w.CandidateList(Side::A), {folder_->Path() + "old"});
    QCOMPARE(Texts(w.CandidateList(Side::A)), QStringList({"diff.txt", "gone.txt", "only_a.txt", "same.txt"}));
    Drop(w.CandidateList(Side::B), {folder_->Path() + "new"});
    // Every name of TextB found its partner, whatever its letter case.
    QCOMPARE(Texts(w.CandidateList(Side::A)), QStringList({"only_a.txt"}));
    QCOMPARE(Texts(w.CandidateList(Side::B)), QStringList());
    QCOMPARE(w.ListView()->topLevelItemCount(), 3);

    // A pair that cannot be read: a folder where a file is expected.
    w.Model().AddPair("mem", "diff.txt", "/proc/self/", folder_->Path() + "new/");
    std::filesystem::remove(New("gone.txt"));
    w.BtnChksClick();
    QCOMPARE(messages_, QStringList{QString::fromUtf8("終了しました")});
    // Rows stand in the order the folder listed the files; compare them by name.
    QStringList states;
    for (int i = 0; i < w.ListView()->topLevelItemCount(); ++i) states << Cell(i, 0) + " " + Cell(i, 1);
    std::sort(states.begin(), states.end(), [](const QString& a, const QString& b) { return a.section(' ', 1) < b.section(' ', 1); });
    QCOMPARE(states, QStringList({QString::fromUtf8("両方 diff.txt"), QString::fromUtf8("異常 gone.txt"),
                                  QString::fromUtf8("異常 mem"), QString::fromUtf8("なし same.txt")}));
    const auto row = [&w](const char* name) {
      return w.ListView()->findItems(QString::fromUtf8(name), Qt::MatchExactly, 1).front();
    };
    // Only the rows that reached a result lose their check mark.
    QCOMPARE(row("diff.txt")->checkState(0), Qt::Unchecked);
    QCOMPARE(row("gone.txt")->checkState(0), Qt::Checked);
    row("gone.txt")->setSelected(true);
    QCOMPARE(w.StatusMessage()->text(), QString::fromUtf8("ファイルが存在しません。") + QString::fromStdString(New("gone.txt")));
    w.ListView()->clearSelection();
    row("mem")->setSelected(true);
    QVERIFY2(w.StatusMessage()->text().startsWith(QString::fromUtf8("ファイルを読み込めません。")),
             qPrintable(w.StatusMessage()->text()));
    QDir().mkpath(RD_SCREENSHOT_DIR);
    w.grab().save(QString(RD_SCREENSHOT_DIR) + "/batch_window_run.png");

    // The failing rows stay checked; unchecking them leaves nothing to check.
    row("gone.txt")->setCheckState(0, Qt::Unchecked);
    row("mem")->setCheckState(0, Qt::Unchecked);
    messages_.clear();
    w.BtnChksClick();
    QCOMPARE(messages_, QStringList{QString::fromUtf8("チェック対象のファイルがありません。")});
  }

  void doubleClickRestoresThePairsDifferences() {
    TForm2& w = Make();
    folder_->Write("old/x.txt", "a\r\nb\r\nc\r\nmoved\r\n");
    folder_->Write("new/x.txt", "moved\r\na\r\nB\r\nc\r\nd\r\n");
    folder_->Write("old/y.txt", "1\r\n");
    folder_->Write("new/y.txt", "2\r\n");
    Drop(w.CandidateList(Side::A), {Old("x.txt"), Old("y.txt")});
    Drop(w.CandidateList(Side::B), {New("x.txt"), New("y.txt")});
    w.BtnChksClick();
    // The run leaves the last pair's lists; opening the first pair brings its own back.
    w.ListView()->topLevelItem(0)->setSelected(true);
    w.ListViewDblClick();
    TComparison& c = main_->Comparison();
    const PerSide<TDiffList> restored{c.Diff(Side::A), c.Diff(Side::B)};
    QCOMPARE(main_->Memo(Side::B)->Lines().Get(0), std::string("moved"));
    main_->BtnChkClick();  // a fresh comparison of the pair
    QCOMPARE(restored[0], c.Diff(Side::A));
    QCOMPARE(restored[1], c.Diff(Side::B));
    QVERIFY(!restored[1].empty());
    // A file gone since: the message names it, nothing is loaded.
    std::filesystem::remove(Old("y.txt"));
    w.ListView()->clearSelection();
    w.ListView()->topLevelItem(1)->setSelected(true);
    messages_.clear();
    w.ListViewDblClick();
    QCOMPARE(messages_, QStringList{QString::fromUtf8("ファイルが存在しません\r") + QString::fromStdString(Old("y.txt"))});
  }

  void pairingByHandAndItsMessages() {
    TForm2& w = Make();
    folder_->Write("old/a.txt", "a\r\n");
    folder_->Write("old/b.txt", "b\r\n");
    folder_->Write("new/c.txt", "c\r\n");
    w.findChild<QCheckBox*>("ChkAuto")->setChecked(false);
    w.DropCandidates(Side::A, {Old("a.txt"), Old("b.txt")});
    w.DropCandidates(Side::B, {New("c.txt")});
    w.BtnInsClick();
    w.CandidateList(Side::A)->setCurrentRow(1);
    w.BtnInsClick();
    QCOMPARE(messages_, QStringList({QString::fromUtf8("TextA候補を選択してください"),
                                     QString::fromUtf8("TextB候補を選択してください")}));
    w.CandidateList(Side::B)->setCurrentRow(0);
    w.BtnInsClick();
    QCOMPARE(w.ListView()->topLevelItemCount(), 1);
    QCOMPARE(Cell(0, 1) + "/" + Cell(0, 2), QString("b.txt/c.txt"));
    QCOMPARE(Cell(0, 0), QString::fromUtf8("ﾁｪｯｸ未"));
    QCOMPARE(Texts(w.CandidateList(Side::A)), QStringList({"a.txt"}));
    // One file on both sides is refused.
    w.DropCandidates(Side::B, {Old("a.txt")});
    w.CandidateList(Side::A)->setCurrentRow(0);
    w.CandidateList(Side::B)->setCurrentRow(0);
    messages_.clear();
    w.BtnInsClick();
    QCOMPARE(messages_, QStringList{QString::fromUtf8("選択したファイルは同一ファイルです")});
    // Ctrl+A selects every row, Ctrl+Shift+A none; "解除" removes the selected.
    w.Model().AddPair("a.txt", "a.txt", Old(""), New(""));
    QTest::keyClick(w.ListView(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.ListView()->selectedItems().size(), 0);
    QTest::keyClick(w.ListView(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.ListView()->selectedItems().size(), 2);
    w.BtnDelClick();
    QCOMPARE(w.ListView()->topLevelItemCount(), 0);
  }
};

}  // namespace rd

QTEST_MAIN(rd::BatchWindowTest)
#include "batch_window_test.moc"
