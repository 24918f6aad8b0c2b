// TForm1's open and save dialogs: the file dialog with the character-code
// panel below its file controls.
#include <QComboBox>
#include <QFileDialog>
#include <QFile>
#include <QGridLayout>

#include "app/file_filters.h"
#include "app/main_window.h"

namespace rd {

bool TForm1::FileDialog(bool save, const std::string& preset, TFileChoice& choice) {
  QFileDialog dialog(this, QString::fromUtf8(save ? "名前を付けて保存" : "ファイルを開く"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setNameFilters(QtNameFilters(kPaneFileFilter));
  if (!preset.empty()) dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(preset)));
  cmbCode_->setCurrentIndex(static_cast<int>(choice.code));
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(pnlCode_, grid->rowCount(), 0, 1, grid->columnCount());
    pnlCode_->show();
  }
  const bool ok = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  // The panel goes back to the window, where it stays hidden.
  pnlCode_->hide();
  pnlCode_->setParent(this);
  if (!ok) return false;
  choice.path = QFile::encodeName(dialog.selectedFiles().front()).toStdString();
  choice.code = static_cast<TextCode>(cmbCode_->currentIndex());
  return true;
}

}  // namespace rd
