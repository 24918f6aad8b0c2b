// TForm3: the about box "情報" with the product name, the version, the dates,
// the author, the distribution terms and two addresses to open.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include <functional>

class QUrl;

namespace rd {

// A read-only address that opens on double click.
class TAddressEdit : public QLineEdit {
  Q_OBJECT
 public:
  TAddressEdit(const QUrl& url, QWidget* parent);
  std::function<void(const QUrl&)> OnOpen;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class TForm3 : public QDialog {
  Q_OBJECT
 public:
  // `programDir` ends in "/"; the help page and the license lie there.
  TForm3(const QString& programDir, QWidget* parent = nullptr);
  TAddressEdit* HelpAddress() const { return help_; }
  TAddressEdit* LicenseAddress() const { return license_; }

 private:
  TAddressEdit* help_ = nullptr;
  TAddressEdit* license_ = nullptr;
};

}  // namespace rd
