// TForm2: the batch check window "一括チェック". It shows the batch model's
// candidates, pair rows and run, and forwards its buttons, drops and double
// clicks to the model. Hidden until called, and hidden again when closed.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>

#include "batch/batch_check.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTreeWidget;

namespace rd {

class TForm2 : public QWidget, private TBatchObserver {
  Q_OBJECT
 public:
  // `engine` compares the pairs into the main window's lists; `viewer` is
  // the main window's panes. Both outlive the window.
  TForm2(TBatchEngine& engine, TPairViewer& viewer, QWidget* parent = nullptr);
  ~TForm2() override;

  TBatchCheck& Model() { return model_; }
  QTreeWidget* ListView() const { return listView_; }
  QListWidget* CandidateList(Side side) const { return lists_[Index(side)]; }
  QLabel* StatusMessage() const { return message_; }
  QProgressBar* Progress() const { return progress_; }

  // Button handlers.
  void BtnOpenClick(Side side);
  void BtnClrClick(Side side);
  void BtnInsClick();
  void BtnDelClick();
  void BtnChksClick();
  void ListViewDblClick();
  // Files or folders dropped onto a candidate list.
  void DropCandidates(Side side, const std::vector<std::string>& items);

  // Message boxes and the open dialogs go through these; tests replace them.
  std::function<void(const QString& text)> ShowMessage;
  std::function<std::vector<std::string>(Side side)> ChooseCandidates;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // TBatchObserver
  void CandidatesChanged(Side side) override;
  void RowsChanged() override;
  void RowChanged(std::size_t row) override;
  void ProgressChanged(int position, int maximum) override;
  void RunningChanged(bool running) override;

  QWidget* BuildPairPanel();
  QWidget* BuildCandidatePanel(Side side);
  void ShowRow(std::size_t row);
  std::optional<std::size_t> SelectedCandidate(Side side) const;
  std::vector<std::size_t> SelectedRows() const;
  std::vector<std::string> DefaultChooseCandidates(Side side);

  TBatchCheck model_;
  TPairViewer& viewer_;
  QSplitter* splitter_ = nullptr;
  QWidget* pnlMain_ = nullptr;
  QWidget* pnlSub_ = nullptr;
  QWidget* pnlL_ = nullptr;
  QTreeWidget* listView_ = nullptr;
  PerSide<QListWidget*> lists_{};
  PerSide<QPushButton*> openButtons_{};
  QPushButton* btnChks_ = nullptr;
  QPushButton* btnIns_ = nullptr;
  QPushButton* btnDel_ = nullptr;
  QCheckBox* chkAuto_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* message_ = nullptr;
  bool filling_ = false;  // rows being written into the list view
  bool centred_ = false;
};

}  // namespace rd
