#include "batch/batch_window.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>

#include "controls/ot_dialogs.h"

namespace rd {

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }
QString U(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
// Names and folders are the file system's bytes.
QString PathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

enum TColumn { kResult, kNameA, kNameB, kPathA, kPathB };

}  // namespace

TForm2::TForm2(TBatchEngine& engine, TPairViewer& viewer, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(engine, this), viewer_(viewer) {
  setWindowTitle(U("一括チェック"));
  setObjectName(QStringLiteral("Form2"));
  setAcceptDrops(true);
  ShowMessage = [this](const QString& text) { QMessageBox::information(this, windowTitle(), text); };
  ChooseCandidates = [this](Side side) { return DefaultChooseCandidates(side); };

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(BuildPairPanel());
  pnlSub_ = new QWidget(splitter_);
  pnlSub_->setObjectName(QStringLiteral("PnlSub"));
  auto* sub = new QHBoxLayout(pnlSub_);
  sub->setContentsMargins(0, 0, 0, 0);
  sub->setSpacing(2);
  pnlL_ = BuildCandidatePanel(Side::A);
  sub->addWidget(pnlL_);
  sub->addWidget(BuildCandidatePanel(Side::B), 1);
  splitter_->addWidget(pnlSub_);
  splitter_->setStretchFactor(0, 1);
  layout->addWidget(splitter_, 1);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  auto* label = new QLabel(U("進捗"), status);
  label->setFixedWidth(40);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  status->addWidget(label);
  auto* holder = new QWidget(status);
  holder->setFixedSize(110, 21);
  progress_ = new QProgressBar(holder);
  progress_->setGeometry(2, 2, 105, 17);
  progress_->setTextVisible(false);
  progress_->setValue(0);
  progress_->setAccessibleName(U("進捗"));
  status->addWidget(holder);
  message_ = new QLabel(status);
  message_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  message_->setAccessibleDescription(U("メッセージ"));
  status->addWidget(message_, 1);
  layout->addWidget(status);
  resize(376, 484);
}

TForm2::~TForm2() = default;

QWidget* TForm2::BuildPairPanel() {
  pnlMain_ = new QWidget(this);
  pnlMain_->setObjectName(QStringLiteral("PnlMain"));
  pnlMain_->setMinimumHeight(100);
  auto* layout = new QVBoxLayout(pnlMain_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  listView_ = new QTreeWidget(pnlMain_);
  listView_->setObjectName(QStringLiteral("ListView"));
  listView_->setAccessibleName(U("チェック対象"));
  listView_->setRootIsDecorated(false);
  listView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->setHeaderLabels({U("結果"), U("TextA"), U("TextB"), U("PathA"), U("PathB")});
  for (const int column : {kResult, kNameA, kNameB}) listView_->setColumnWidth(column, 80);
  listView_->header()->setStretchLastSection(true);
  listView_->installEventFilter(this);
  connect(listView_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (filling_ || column != kResult) return;
    model_.SetChecked(static_cast<std::size_t>(listView_->indexOfTopLevelItem(item)),
                      item->checkState(kResult) == Qt::Checked);
  });
  connect(listView_, &QTreeWidget::itemSelectionChanged, this, [this] {
    const std::vector<std::size_t> rows = SelectedRows();
    if (!rows.empty()) message_->setText(U(model_.Rows()[rows.front()].message));
  });
  connect(listView_, &QTreeWidget::itemDoubleClicked, this, [this] { ListViewDblClick(); });
  layout->addWidget(listView_, 1);

  auto* bar = new QHBoxLayout();
  bar->setContentsMargins(2, 0, 2, 2);
  btnChks_ = new QPushButton(U("一括ﾁｪｯｸ"), pnlMain_);
  btnChks_->setObjectName(QStringLiteral("BtnChks"));
  connect(btnChks_, &QPushButton::clicked, this, [this] { BtnChksClick(); });
  chkAuto_ = new QCheckBox(U("自動登録"), pnlMain_);
  chkAuto_->setObjectName(QStringLiteral("ChkAuto"));
  chkAuto_->setChecked(true);
  connect(chkAuto_, &QCheckBox::toggled, this, [this](bool on) { model_.SetAutoRegister(on); });
  btnIns_ = new QPushButton(U("挿入"), pnlMain_);
  btnIns_->setObjectName(QStringLiteral("BtnIns"));
  connect(btnIns_, &QPushButton::clicked, this, [this] { BtnInsClick(); });
  btnDel_ = new QPushButton(U("解除"), pnlMain_);
  btnDel_->setObjectName(QStringLiteral("BtnDel"));
  connect(btnDel_, &QPushButton::clicked, this, [this] { BtnDelClick(); });
  bar->addWidget(btnChks_);
  bar->addWidget(chkAuto_);
  bar->addStretch(1);
  bar->addWidget(btnIns_);
  bar->addWidget(btnDel_);
  layout->addLayout(bar);
  return pnlMain_;
}

QWidget* TForm2::BuildCandidatePanel(Side side) {
  const bool a = side == Side::A;
  auto* panel = new QWidget(this);
  panel->setObjectName(a ? QStringLiteral("PnlL") : QStringLiteral("PnlR"));
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto* head = new QHBoxLayout();
  auto* label = new QLabel(a ? U("ＴｅｘｔＡ 候補") : U("ＴｅｘｔＢ 候補"), panel);
  auto* open = new QPushButton(U("開く"), panel);
  open->setObjectName(a ? QStringLiteral("BtnOpenA") : QStringLiteral("BtnOpenB"));
  open->setAccessibleName(a ? U("TextA 候補を開く") : U("TextB 候補を開く"));
  connect(open, &QPushButton::clicked, this, [this, side] { BtnOpenClick(side); });
  auto* clear = new QPushButton(U("クリア"), panel);
  clear->setObjectName(a ? QStringLiteral("BtnClrA") : QStringLiteral("BtnClrB"));
  clear->setAccessibleName(a ? U("TextA 候補をクリア") : U("TextB 候補をクリア"));
  connect(clear, &QPushButton::clicked, this, [this, side] { BtnClrClick(side); });
  // Narrow buttons: both panels share the window's 376 pixels.
  for (QPushButton* b : {open, clear}) b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 16);
  head->addWidget(label, 1);
  head->addWidget(open);
  head->addWidget(clear);
  layout->addLayout(head);
  auto* list = new QListWidget(panel);
  list->setObjectName(a ? QStringLiteral("ListBoxL") : QStringLiteral("ListBoxR"));
  list->setAccessibleName(a ? U("TextA 候補") : U("TextB 候補"));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  layout->addWidget(list, 1);
  lists_[Index(side)] = list;
  openButtons_[Index(side)] = open;
  return panel;
}

// ---- window ---------------------------------------------------------------------------------

void TForm2::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void TForm2::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  pnlL_->setFixedWidth(width() / 2);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listView_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_A) {
      const Qt::KeyboardModifiers m = key->modifiers();
      if (SelectsAllRows(m & Qt::ControlModifier, m & Qt::ShiftModifier, m & Qt::AltModifier, 'A'))
        listView_->selectAll();
      return m & Qt::ControlModifier;  // no other Ctrl+A selects anything
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- candidates -------------------------------------------------------------------------------

std::vector<std::string> TForm2::DefaultChooseCandidates(Side side) {
  TOtOpenDialog dialog(this);
  dialog.Title = U("ファイルを開く");
  if (side == Side::A) {
    dialog.Filter = U("テキストファイル(*.txt)|*.txt|全てのファイル|*.*");
    dialog.DefaultExt = QStringLiteral("txt");
    dialog.Options |= ofAllowMultiSelect;
  }
  std::vector<std::string> files;
  if (!dialog.Execute()) return files;
  for (const QString& file : dialog.Files()) files.push_back(PathBytes(file));
  return files;
}

void TForm2::BtnOpenClick(Side side) {
  const std::vector<std::string> files = ChooseCandidates(side);
  model_.OpenCandidates(side, files);
}

void TForm2::BtnClrClick(Side side) { model_.ClearCandidates(side); }

void TForm2::DropCandidates(Side side, const std::vector<std::string>& items) {
  model_.DropCandidates(side, items);
}

std::optional<std::size_t> TForm2::SelectedCandidate(Side side) const {
  const QListWidget* list = lists_[Index(side)];
  const QList<QListWidgetItem*> items = list->selectedItems();
  if (items.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(list->row(items.front()));
}

void TForm2::CandidatesChanged(Side side) {
  QListWidget* list = lists_[Index(side)];
  list->clear();
  for (const std::string& name : model_.Candidates(side).Names()) list->addItem(PathText(name));
}

void TForm2::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  for (const Side side : {Side::A, Side::B}) {
    QListWidget* list = lists_[Index(side)];
    if (!list->rect().contains(list->mapFrom(this, event->position().toPoint()))) continue;
    std::vector<std::string> items;
    for (const QUrl& url : event->mimeData()->urls())
      if (url.isLocalFile()) items.push_back(PathBytes(url.toLocalFile()));
    DropCandidates(side, items);
  }
}

// ---- pairs ---------------------------------------------------------------------------------------

void TForm2::BtnInsClick() {
  const std::string message = model_.InsertPair(SelectedCandidate(Side::A), SelectedCandidate(Side::B));
  if (!message.empty()) ShowMessage(U(message));
}

std::vector<std::size_t> TForm2::SelectedRows() const {
  std::vector<std::size_t> rows;
  for (int i = 0; i < listView_->topLevelItemCount(); ++i)
    if (listView_->topLevelItem(i)->isSelected()) rows.push_back(static_cast<std::size_t>(i));
  return rows;
}

void TForm2::BtnDelClick() { model_.RemovePairs(SelectedRows()); }

void TForm2::RowsChanged() {
  filling_ = true;
  listView_->clear();
  for (std::size_t i = 0; i < model_.Rows().size(); ++i) {
    auto* item = new QTreeWidgetItem(listView_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    ShowRow(i);
  }
  filling_ = false;
}

void TForm2::ShowRow(std::size_t row) {
  const TPairRow& r = model_.Rows()[row];
  QTreeWidgetItem* item = listView_->topLevelItem(static_cast<int>(row));
  if (!item) return;
  const bool filling = filling_;
  filling_ = true;
  item->setCheckState(kResult, r.checked ? Qt::Checked : Qt::Unchecked);
  item->setText(kResult, U(Caption(r.state)));
  item->setText(kNameA, PathText(r.nameA));
  item->setText(kNameB, PathText(r.nameB));
  item->setText(kPathA, PathText(r.folderA));
  item->setText(kPathB, PathText(r.folderB));
  item->setToolTip(kResult, U(r.message));
  filling_ = filling;
  if (item->isSelected() && SelectedRows().front() == row) message_->setText(U(r.message));
}

void TForm2::RowChanged(std::size_t row) {
  ShowRow(row);
  // During a run the rows change without a return to the event loop: the
  // row is painted at once (only its own band), and no input is taken meanwhile.
  if (!model_.Running()) return;
  const QRect band = listView_->visualItemRect(listView_->topLevelItem(static_cast<int>(row)));
  if (band.intersects(listView_->viewport()->rect())) listView_->viewport()->repaint(band);
}

void TForm2::ProgressChanged(int position, int maximum) {
  progress_->setMaximum(std::max(1, maximum));
  progress_->setValue(std::min(position, std::max(1, maximum)));
  if (model_.Running()) progress_->repaint();
}

void TForm2::RunningChanged(bool running) {
  for (QWidget* w : std::initializer_list<QWidget*>{pnlMain_, pnlSub_, btnChks_, btnIns_, btnDel_, chkAuto_,
                                                     openButtons_[0], openButtons_[1]})
    w->setEnabled(!running);
  if (running) repaint();
}

void TForm2::BtnChksClick() {
  const std::string message = model_.Run();
  if (message == kRunFinished) progress_->setValue(0);
  ShowMessage(U(message));
}

void TForm2::ListViewDblClick() {
  const std::vector<std::size_t> rows = SelectedRows();
  const std::optional<std::size_t> row = rows.empty() ? std::nullopt : std::optional<std::size_t>(rows.front());
  const std::string message = model_.OpenPair(row, viewer_);
  if (!message.empty()) ShowMessage(U(message));
}

}  // namespace rd
