// TForm1: creation, layout, the layout switch and what a comparison tells
// the window. Commands, files and settings are in the other main_window_*
// files.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDesktopServices>
#include <QUrl>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>

#include <filesystem>

#include "app/companion_server.h"
#include "app/icons.h"
#include "app/message_boxes.h"
#include "app/program_folder.h"
#include "app/status_panels.h"
#include "views/map_bar.h"
#include "compare/comparison.h"
#include "editor/editor_fonts.h"
#include "editor/editor_widget.h"
#include "export/workbook_automation.h"

namespace rd {

namespace {

constexpr int kCommandBarWidth = 30;
constexpr int kCommandButtonsHeight = 149;
constexpr int kTitleBarHeight = 26;
constexpr int kInfoStripHeight = 57;
constexpr int kSplitterWidth = 4;

QString U(const char* text) { return QString::fromUtf8(text); }

QToolButton* FlatButton(QWidget* parent, TIconKind icon, const char* hint) {
  auto* button = new QToolButton(parent);
  button->setAutoRaise(true);
  button->setIcon(PaintedIcon(icon));
  button->setIconSize(QSize(16, 16));
  button->setFixedSize(24, 23);
  button->setToolTip(U(hint));
  button->setAccessibleName(U(hint));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

TForm1::TForm1(const TMainWindowStart& start, QWidget* parent)
    : QMainWindow(parent), programDir_(start.programDir), start_(start), comparison_(this) {
  setWindowTitle(QStringLiteral("RavelleDiff"));
  InstallFontSubstitutions();
  QFont uiFont(U("ＭＳ Ｐゴシック"));
  uiFont.setPixelSize(12);
  setFont(uiFont);
  setMinimumHeight(100);
  setAcceptDrops(true);
  ChooseFile = [this](bool save, const std::string& preset, TFileChoice& choice) {
    return FileDialog(save, preset, choice);
  };
  ShowMessage = [this](const QString& text) { ShowMessageBox(this, text); };
  AskYesNo = [this](const QString& text) { return AskWarning(this, text); };
  AskOkCancel = [this](const QString& text) { return AskInformation(this, text); };
  OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  BuildLayout();
  colouring_.RowText = [this](Side side, int row) { return memo_[Index(side)]->GetRowText(row); };
  ReadSettings();
  batchEngine_ = std::make_unique<TComparisonBatchEngine>(comparison_, CheckFolder(programDir_),
                                                          [this] { return settings_.Editor.CodeType; });
  comparison_.ResetResults();
  companion_ = std::make_unique<TCompanionServer>(this, [this](Side side, const std::string& path) {
    ReceiveFile(side, path);
  });
}

TForm1::~TForm1() {
  WriteSettings();
  comparison_.ResetResults();
}

void TForm1::SetSecondaryWindows(QWidget* about, QWidget* batch, QWidget* settings) {
  about_ = about;
  batch_ = batch;
  settingsDialog_ = settings;
}

void TForm1::Start() {
  const TextCode code = settings_.Editor.CodeType;
  for (const Side side : {Side::A, Side::B}) {
    const std::string& path = side == Side::A ? start_.texta : start_.textb;
    if (!path.empty()) LoadText(side, code, path);
  }
  if (!start_.texta.empty() || !start_.textb.empty()) {
    show();
    QApplication::processEvents();
    PnlErrResize();
  }
  if (!start_.texta.empty() && !start_.textb.empty()) BtnChkClick();
  TidyCheckFolder(CheckFolder(programDir_));
  TidyExportFolder(ExportFolder(), std::filesystem::file_time_type::clock::now());
}

// ---- layout -------------------------------------------------------------------------

void TForm1::BuildLayout() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* row = new QHBoxLayout();
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  pnlMain_ = new QSplitter(Qt::Horizontal, central);
  pnlMain_->setObjectName(QStringLiteral("PnlMain"));
  pnlMain_->setHandleWidth(kSplitterWidth);
  pnlMain_->setChildrenCollapsible(false);
  for (const Side side : {Side::A, Side::B}) pnlMain_->addWidget(BuildPaneBase(side));
  paneBase_[0]->setMinimumSize(100, 100);
  pnlMain_->installEventFilter(this);
  row->addWidget(BuildCommandBar(central));
  row->addWidget(pnlMain_, 1);
  outer->addLayout(row, 1);
  outer->addWidget(BuildInfoStrip());
  setCentralWidget(central);

  status_ = new TStatusPanels(this);
  progress_ = status_->Progress();
  setStatusBar(status_);
  pnlCode_ = BuildCodePanel();
}

QWidget* TForm1::BuildCommandBar(QWidget* parent) {
  auto* bar = new QWidget(parent);
  bar->setObjectName(QStringLiteral("PnlBar"));
  bar->setFixedWidth(kCommandBarWidth);
  auto* layout = new QVBoxLayout(bar);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* menu = new QWidget(bar);
  menu->setObjectName(QStringLiteral("PnlMenu"));
  menu->setFixedHeight(kCommandButtonsHeight);
  auto* buttons = new QVBoxLayout(menu);
  buttons->setContentsMargins(3, 2, 3, 2);
  buttons->setSpacing(1);
  const auto add = [&](TIconKind icon, const char* hint, auto&& action) {
    QToolButton* button = FlatButton(menu, icon, hint);
    connect(button, &QToolButton::clicked, this, action);
    buttons->addWidget(button);
    return button;
  };
  add(TIconKind::Compare, "比較チェック実行", [this] { BtnChkClick(); });
  add(TIconKind::Batch, "一括チェック", [this] { ShowBatch(); });
  btnForm_ = add(TIconKind::LayoutStacked, "配置変更", [this] { BtnFormClick(); });
  add(TIconKind::Settings, "環境設定", [this] { ShowSettingsDialog(); });
  add(TIconKind::About, "バージョン情報", [this] { ShowAbout(); });
  add(TIconKind::Help, "ヘルプ", [this] { BtnHelpClick(); });
  buttons->addStretch(1);
  layout->addWidget(menu);

  map_ = new TMapBar(comparison_, settings_.Editor, memo_, bar);
  layout->addWidget(map_, 1);
  return bar;
}

QWidget* TForm1::BuildPaneBase(Side side) {
  const bool a = side == Side::A;
  auto* base = new QWidget(pnlMain_);
  base->setObjectName(a ? QStringLiteral("PnlABase") : QStringLiteral("PnlBBase"));
  paneBase_[Index(side)] = base;
  auto* layout = new QVBoxLayout(base);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* title = new QFrame(base);
  title->setFixedHeight(kTitleBarHeight);
  title->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* items = new QHBoxLayout(title);
  items->setContentsMargins(4, 0, 4, 0);
  items->setSpacing(1);
  auto* name = new QLabel(a ? QStringLiteral("TextA") : QStringLiteral("TextB"), title);
  QFont big = name->font();
  big.setPixelSize(19);
  name->setFont(big);
  items->addWidget(name);
  items->addSpacing(6);
  const auto add = [&](TIconKind icon, const char* hint, auto&& action) {
    QToolButton* button = FlatButton(title, icon, hint);
    connect(button, &QToolButton::clicked, this, action);
    items->addWidget(button);
  };
  add(TIconKind::New, "新規", [this, side] { BtnNewClick(side); });
  add(TIconKind::Open, "開く", [this, side] { BtnLoadClick(side); });
  add(TIconKind::Save, "保存", [this, side] { BtnSaveClick(side); });
  add(TIconKind::Down, "エラー行下へ", [this, side] { Navigate(side, /*down=*/true); });
  add(TIconKind::Up, "エラー行上へ", [this, side] { Navigate(side, /*down=*/false); });
  items->addSpacing(6);
  auto* label = new QLabel(title);
  label->setObjectName(a ? QStringLiteral("LblAFile") : QStringLiteral("LblBFile"));
  label->setAccessibleDescription(a ? U("TextA ファイル") : U("TextB ファイル"));
  label->setMinimumWidth(10);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  fileLabel_[Index(side)] = label;
  items->addWidget(label, 1);
  layout->addWidget(title);

  auto* memo = new TEditor(base);
  memo->setObjectName(a ? QStringLiteral("MemoA") : QStringLiteral("MemoB"));
  memo->setAccessibleName(a ? QStringLiteral("TextA") : QStringLiteral("TextB"));
  memo->setProperty("tag", a ? 1 : 2);
  memo_[Index(side)] = memo;
  layout->addWidget(memo, 1);
  memo->OnKeyDown = [this, side](QKeyEvent* e) { return PaneKeyDown(side, e); };
  memo->OnMouseWheel = [this](QWheelEvent* e) { return PaneWheel(e); };
  memo->OnChange = [this, side] { PaneChanged(side); };
  memo->OnDrawLine = [this, side](TDrawLineEvent& e) { colouring_.DrawRow(side, e); };
  memo->OnTopRowChange = [this, side] {
    if (map_) map_->FollowPane(side);
  };
  memo->OnCaretMoved = [this, side] { MemoACaretMoved(side); };
  BuildPopupMenu(side);
  return base;
}

void TForm1::BuildPopupMenu(Side side) {
  TEditor* memo = memo_[Index(side)];
  auto* menu = new QMenu(this);
  menu->setObjectName(side == Side::A ? QStringLiteral("PopupMenu1") : QStringLiteral("PopupMenu2"));
  QMenu* edit = menu->addMenu(U("編集"));
  edit->addAction(U("すべて選択"), this, [memo] { memo->SelectAll(); });
  QAction* sort = edit->addAction(U("ソート"), this, [this, side] { SortPane(side); });
  sort->setObjectName(side == Side::A ? QStringLiteral("PopSortA") : QStringLiteral("popSortB"));
  menu->addSeparator();
  menu->addAction(U("コピー"), this, [memo] { memo->CopyToClipboard(); });
  menu->addAction(U("切り取り"), this, [memo] { memo->CutToClipboard(); });
  menu->addAction(U("貼り付け"), this, [memo] { memo->PasteFromClipboard(); });
  menu->addSeparator();
  menu->addAction(U("元に戻す"), this, [memo] { memo->Undo(); });
  menu->addSeparator();
  QAction* hide = menu->addAction(U("同一行非表示"), this, [this] { PopAShowErrClick(); });
  hide->setCheckable(true);
  popShowErr_[Index(side)] = hide;
  QAction* info = menu->addAction(U("変更行表示"), this, [this, side] {
    if (pnlUpdate_->isVisible()) ShowInfoStrip(false);
    else ShowInfoStrip(true, side);
  });
  info->setCheckable(true);
  popShowInfo_[Index(side)] = info;
  QAction* noErr = menu->addAction(U("エラー行非表示"), this, [this] { ToggleErrorColouring(); });
  noErr->setCheckable(true);
  popNoErrShow_[Index(side)] = noErr;
  QMenu* excel = menu->addMenu(U("Ｅｘｃｅｌ 連携"));
  excel->addAction(U("全行出力"), this, [this] { PopAExAllClick(1); });
  excel->addAction(U("差分出力"), this, [this] { PopAExAllClick(2); });
  popup_[Index(side)] = menu;
  memo->PopupMenu = menu;
}

QWidget* TForm1::BuildInfoStrip() {
  pnlUpdate_ = new QFrame(this);
  pnlUpdate_->setObjectName(QStringLiteral("PnlUpdate"));
  pnlUpdate_->setFixedHeight(kInfoStripHeight);
  auto* layout = new QHBoxLayout(pnlUpdate_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* side = new QWidget(pnlUpdate_);
  side->setFixedWidth(64);
  auto* grid = new QGridLayout(side);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(0);
  QToolButton* close = FlatButton(side, TIconKind::Close, "閉じる");
  close->setText(U("×"));
  close->setToolButtonStyle(Qt::ToolButtonTextOnly);
  close->setObjectName(QStringLiteral("BtnUpdClose"));
  connect(close, &QToolButton::clicked, this, [this] { ShowInfoStrip(false); });
  grid->addWidget(close, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(new QLabel(QStringLiteral("TextA"), side), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("TextB"), side), 1, 1);
  layout->addWidget(side);

  infoMemo_ = new TEditor(pnlUpdate_);
  infoMemo_->setObjectName(QStringLiteral("InfoMemo"));
  infoMemo_->setAccessibleName(U("変更行"));
  infoMemo_->Model().ReadOnly = true;
  infoMemo_->SetScrollBars(TScrollBars::ssHorizontal);
  TEditorRuler ruler = infoMemo_->Ruler();
  ruler.Visible = false;
  infoMemo_->SetRuler(ruler);
  TEditorLeftbar bar = infoMemo_->Leftbar();
  bar.Visible = false;
  infoMemo_->SetLeftbar(bar);
  infoMemo_->OnKeyDown = [this](QKeyEvent* e) {
    if (e->key() == Qt::Key_C && e->modifiers() == Qt::ControlModifier) {
      CopyInfoStrip();
      return true;
    }
    return false;
  };
  auto* menu = new QMenu(this);
  menu->addAction(U("コピー"), this, [this] { CopyInfoStrip(); });
  infoMemo_->PopupMenu = menu;
  infoMemo_->OnDrawLine = [this](TDrawLineEvent& e) { colouring_.DrawMarks(e); };
  layout->addWidget(infoMemo_, 1);
  pnlUpdate_->hide();
  return pnlUpdate_;
}

QWidget* TForm1::BuildCodePanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("PnlCode"));
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(U("文字コード"), panel);
  cmbCode_ = new QComboBox(panel);
  cmbCode_->setObjectName(QStringLiteral("CmbCode"));
  cmbCode_->addItems({U("自動判定"), U("SJIS"), U("EUC"), U("UTF8")});
  cmbCode_->setAccessibleName(U("文字コード"));
  label->setBuddy(cmbCode_);
  layout->addWidget(label);
  layout->addWidget(cmbCode_);
  layout->addStretch(1);
  panel->hide();
  return panel;
}

void TForm1::SplitPanesInHalf() {
  const int total = sideBySide_ ? pnlMain_->width() : pnlMain_->height();
  const int half = std::max(0, total - kSplitterWidth) / 2;
  pnlMain_->setSizes({half, std::max(0, total - kSplitterWidth - half)});
}

void TForm1::BtnFormClick() {
  sideBySide_ = !sideBySide_;
  pnlMain_->setOrientation(sideBySide_ ? Qt::Horizontal : Qt::Vertical);
  SplitPanesInHalf();
  btnForm_->setIcon(PaintedIcon(sideBySide_ ? TIconKind::LayoutStacked : TIconKind::LayoutSideBySide));
  PnlErrResize();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  PnlErrResize();
}

// The pane area learns its new size after the window's layout ran: that is
// when the halves are set again.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pnlMain_ && event->type() == QEvent::Resize) SplitPanesInHalf();
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::PnlErrResize() {
  if (map_) map_->PnlErrResize();
}

int TForm1::MapLineCount(Side side) const { return map_->Model().LineCount(side); }

// ---- what a comparison tells the window -------------------------------------------

void TForm1::ResultsDiscarding() {
  for (TEditor* memo : memo_) memo->Model().Modified = false;
  // Hidden identical lines come back first, without a question.
  if (hidden_.Active()) RestoreFullTexts();
  SetErrorColouringOff(false);
  lineInfo_.Forget();
  colouring_.DropCharDiffs();
}

void TForm1::ShowErrorCounts(const PerSide<std::size_t>& counts) {
  status_->SetPanelText(3, QString::fromStdString(ErrorCountText(counts[0])));
  status_->SetPanelText(5, QString::fromStdString(ErrorCountText(counts[1])));
}

void TForm1::ClearErrorCounts() {
  status_->SetPanelText(3, QString());
  status_->SetPanelText(5, QString());
}

void TForm1::RepaintPanes() {
  for (TEditor* memo : memo_) memo->viewport()->update();
}

void TForm1::LoadText(Side side, const std::string& path) { LoadText(side, settings_.Editor.CodeType, path); }

void TForm1::ShowResults() {
  RepaintPanes();
  PnlErrResize();
}

void TForm1::ProgressStep() { progress_->setValue(std::min(progress_->maximum(), progress_->value() + 10)); }

}  // namespace rd
