// The menu handler with the workbook backend on the offscreen platform:
// messages, the workbook handed to the desktop, and the cancel button of the
// progress dialog.
#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "export/export_window.h"
#include "export_test_input.h"
#include "temp_folder.h"

namespace rd {

using testing::Numbered;
using testing::TempFolder;
using testing::TTestTexts;

class ExportWindowTest : public QObject {
  Q_OBJECT

 private:
  QStringList messages_;
  QStringList opened_;

  TExportWindowHooks Hooks(const TempFolder& folder, bool registered) {
    messages_.clear();
    opened_.clear();
    TExportWindowHooks hooks;
    hooks.ShowMessage = [this](const QString& text) { messages_ << text; };
    hooks.HasSpreadsheetApplication = [registered] { return registered; };
    hooks.OpenWorkbook = [this](const QString& path) {
      opened_ << path;
      return true;
    };
    hooks.Folder = folder.Path();
    return hooks;
  }

 private slots:
  void BothTagsWriteAWorkbookAndOpenIt() {
    for (int tag : {1, 2}) {
      TempFolder folder;
      TTestTexts texts;
      texts.lines = {Numbered("l", 5), Numbered("l", 5)};
      PopAExAllClick(tag, texts.Input(), nullptr, Hooks(folder, true));
      QCOMPARE(messages_, QStringList{QString::fromUtf8("Excel転送終了")});
      QCOMPARE(opened_.size(), 1);
      QVERIFY(opened_[0].endsWith(QStringLiteral(".xlsx")));
      QVERIFY(std::filesystem::exists(opened_[0].toStdString()));
    }
  }

  void WithoutASpreadsheetApplicationOnlyTheMessage() {
    TempFolder folder;
    TTestTexts texts;
    texts.lines = {Numbered("l", 5), Numbered("l", 5)};
    PopAExAllClick(1, texts.Input(), nullptr, Hooks(folder, false));
    QCOMPARE(messages_, QStringList{QString::fromUtf8("Excelが起動できません")});
    QVERIFY(opened_.isEmpty());
    QVERIFY(std::filesystem::is_empty(folder.Path()));
  }

  void TheWorkbookThatCannotBeOpenedIsAFailedTransfer() {
    TempFolder folder;
    TTestTexts texts;
    texts.lines = {Numbered("l", 2), Numbered("l", 2)};
    TExportWindowHooks hooks = Hooks(folder, true);
    hooks.OpenWorkbook = [](const QString&) { return false; };
    PopAExAllClick(1, texts.Input(), nullptr, hooks);
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].startsWith(QString::fromUtf8("Excel転送失敗：502:ブックを開けません: ")), qPrintable(messages_[0]));
  }

  // The cancel button is pressed at the first turn of the event loop, before
  // the application is obtained; the export stops after the first row with
  // the workbook opened and no message.
  void CancelEndsTheExportWithWhatWasWritten() {
    TempFolder folder;
    TTestTexts texts;
    texts.lines = {Numbered("l", 50), Numbered("l", 50)};
    QWidget parent;
    QTimer::singleShot(0, &parent, [&parent] {
      auto* dialog = parent.findChild<QProgressDialog*>(QStringLiteral("ExportProgress"));
      QVERIFY(dialog);
      dialog->cancel();
    });
    PopAExAllClick(1, texts.Input(), &parent, Hooks(folder, true));
    QVERIFY(messages_.isEmpty());
    QCOMPARE(opened_.size(), 1);
  }
};

}  // namespace rd

QTEST_MAIN(rd::ExportWindowTest)
#include "export_window_test.moc"
