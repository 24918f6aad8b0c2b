#include "app/about_box.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/version.h"

namespace rd {

TAddressEdit::TAddressEdit(const QUrl& url, QWidget* parent) : QLineEdit(url.toString(), parent) {
  setReadOnly(true);
  setCursorPosition(0);
  OnOpen = [](const QUrl& u) { QDesktopServices::openUrl(u); };
}

void TAddressEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  if (OnOpen) OnOpen(QUrl(text()));
}

TForm3::TForm3(const QString& programDir, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8("情報"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QStringLiteral("RavelleDiff"), this);
  QFont big = name->font();
  big.setPixelSize(20);
  big.setBold(true);
  name->setFont(big);
  layout->addWidget(name);
  layout->addWidget(new QLabel(QString::fromUtf8("テキスト比較ツール"), this));

  auto* form = new QFormLayout();
  const auto row = [&](const char* caption, const QString& value) {
    auto* label = new QLabel(value, this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString::fromUtf8(caption), label);
  };
  row("バージョン", QStringLiteral(RD_VERSION));
  row("作成日", QStringLiteral(RD_CREATED));
  row("最終更新日", QStringLiteral(RD_UPDATED));
  row("作者", QString::fromUtf8("RavelleDiff 開発チーム"));
  row("配布条件", QString::fromUtf8("MIT ライセンスのフリーソフトウェアです。"));
  help_ = new TAddressEdit(QUrl::fromLocalFile(programDir + QStringLiteral("RavelleDiff.html")), this);
  help_->setAccessibleName(QString::fromUtf8("ヘルプ"));
  form->addRow(QString::fromUtf8("ヘルプ"), help_);
  license_ = new TAddressEdit(QUrl::fromLocalFile(programDir + QStringLiteral("LICENSE")), this);
  license_->setAccessibleName(QString::fromUtf8("ライセンス"));
  form->addRow(QString::fromUtf8("ライセンス"), license_);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QString::fromUtf8("閉じる"), QDialogButtonBox::RejectRole);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  layout->addWidget(buttons);
  resize(420, 0);
}

}  // namespace rd
