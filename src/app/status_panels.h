// The main window's status bar: seven panels of fixed width, the progress
// bar inside the second, the difference counts in the fourth and sixth and
// the line information in the last.
#pragma once

#include <QStatusBar>

#include <array>

class QLabel;
class QProgressBar;

namespace rd {

class TStatusPanels : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int kPanelCount = 7;
  explicit TStatusPanels(QWidget* parent = nullptr);

  QString PanelText(int index) const;
  void SetPanelText(int index, const QString& text);
  QProgressBar* Progress() const { return progress_; }

 private:
  std::array<QLabel*, kPanelCount> panels_{};
  QProgressBar* progress_ = nullptr;
};

}  // namespace rd
