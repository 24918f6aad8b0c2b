// TForm1's open and save dialogs: the file dialog with the character-code
// panel below its file controls.
#include <QComboBox>
#include <QFile>

#include "app/file_filters.h"
#include "app/main_window.h"
#include "controls/ot_dialogs.h"

namespace rd {

bool TForm1::FileDialog(bool save, const std::string& preset, TFileChoice& choice) {
  std::unique_ptr<TOtFileDialog> dialog;
  if (save) dialog = std::make_unique<TOtSaveDialog>(this);
  else dialog = std::make_unique<TOtOpenDialog>(this);
  dialog->setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
  dialog->Title = QString::fromUtf8(save ? "名前を付けて保存" : "ファイルを開く");
  dialog->DefaultExt = QStringLiteral("txt");
  dialog->Filter = QString::fromUtf8(kPaneFileFilter);
  dialog->FileName = QFile::decodeName(QByteArray::fromStdString(preset));
  cmbCode_->setCurrentIndex(static_cast<int>(choice.code));
  // The panel visits the dialog and comes back to this window, hidden.
  dialog->SetBottomControl(pnlCode_);
  if (!dialog->Execute()) return false;
  choice.path = QFile::encodeName(dialog->FileName).toStdString();
  choice.code = static_cast<TextCode>(cmbCode_->currentIndex());
  return true;
}

}  // namespace rd
