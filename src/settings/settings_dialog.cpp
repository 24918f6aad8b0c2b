// TForm4: the three tabs, filling them from the live settings, and one
// handler per control or group that edits the settings and has them applied.
#include "settings/settings_dialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>

#include <cassert>

#include "editor/editor_widget.h"
#include "settings/font_combo.h"
#include "settings/send_to.h"
#include "settings/settings.h"

namespace rd {

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// The code radio buttons are tagged 1 "自動判定", 2 "SJIS", 3 "EUC", 4 "UTF8".
int CodeRadioTag(TextCode code) {
  switch (code) {
    case TextCode::Auto: return 1;
    case TextCode::Euc: return 3;
    case TextCode::Utf8: return 4;
    default: return 2;
  }
}
TextCode CodeOfRadioTag(int tag) {
  switch (tag) {
    case 1: return TextCode::Auto;
    case 3: return TextCode::Euc;
    case 4: return TextCode::Utf8;
    default: return TextCode::Sjis;
  }
}

std::int32_t FromQColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

QGroupBox* Group(const char* caption, QWidget* parent) { return new QGroupBox(U(caption), parent); }

QRadioButton* AddRadio(QButtonGroup* group, QLayout* layout, const char* name, const char* caption, int tag) {
  auto* radio = new QRadioButton(U(caption));
  radio->setObjectName(QString::fromLatin1(name));
  radio->setProperty("tag", tag);
  group->addButton(radio, tag);
  layout->addWidget(radio);
  return radio;
}

}  // namespace

TForm4::TForm4(TSettingsHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)), sendToFolder_(FindSendToFolder()) {
  assert(host_.Settings && "the dialog edits the main window's settings");
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(U("環境設定"));
  setModal(false);
  // A fixed dialog border with only the close box, above other windows.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);

  ColorDialog = new QColorDialog(this);
  ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
  ChooseColor = [this](std::int32_t current) -> std::optional<std::int32_t> {
    ColorDialog->setCurrentColor(ToQColor(current));
    if (ColorDialog->exec() != QDialog::Accepted) return std::nullopt;
    return FromQColor(ColorDialog->selectedColor());
  };
  ShowMessage = [this](const QString& text) {
    QMessageBox::critical(this, QApplication::applicationName(), text, QMessageBox::Ok);
  };

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("PageControl"));
  tabs->addTab(BuildEditorTab(), U("エディッタ"));
  tabs->addTab(BuildCheckTab(), U("チェック"));
  tabs->addTab(BuildOtherTab(), U("その他"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QCheckBox* TForm4::NewCheck(const char* name, const char* caption, const char* key, QWidget* parent) {
  auto* box = new QCheckBox(U(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  checks_.push_back({box, &SettingKey(key)});
  assert(checks_.back().key->Kind == TSettingKind::Boolean && "a check box stands for a boolean key");
  return box;
}

void TForm4::Store(std::initializer_list<QCheckBox*> boxes) {
  for (QCheckBox* box : boxes)
    for (const TCheckBinding& binding : checks_)
      if (binding.box == box) binding.key->Set(Live(), box->isChecked() ? 1 : 0);
}

// ---- building the tabs -------------------------------------------------------------------

QWidget* TForm4::BuildEditorTab() {
  auto* page = new QWidget;
  auto* columns = new QHBoxLayout(page);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);

  QGroupBox* colours = Group("文字色", page);
  auto* grid = new QGridLayout(colours);
  const struct {
    TColourSlot slot;
    const char* name;
    const char* label;
    const char* key;
  } colourRows[] = {{kWord, "BtnWord", "文字", "FontColor"}, {kIns, "BtnIns", "追加行", "InsColor"},
                    {kMov, "BtnMov", "移動行", "MovColor"},  {kChg, "BtnChg", "変更行", "UpdColor"},
                    {kBack, "BtnBack", "背景", "BackColor"}, {kFind, "BtnFind", "検索", "FindColor"},
                    {kChgChar, "BtnChgChar", "変更箇所", "UpdCharColor"}};
  for (int row = 0; row < kColourSlots; ++row) {
    const auto& r = colourRows[row];
    auto* button = new QPushButton(U("■"), colours);
    button->setObjectName(QString::fromLatin1(r.name));
    button->setAccessibleName(U(r.label));
    button->setFixedWidth(40);
    QFont font = button->font();
    font.setPointSize(14);
    button->setFont(font);
    colourButtons_[r.slot] = button;
    colourKeys_[r.slot] = &SettingKey(r.key);
    grid->addWidget(new QLabel(U(r.label), colours), row, 0);
    grid->addWidget(button, row, 1);
    connect(button, &QPushButton::clicked, this, [this, slot = r.slot] { BtnColorClick(slot); });
  }
  left->addWidget(colours);

  QGroupBox* tab = Group("TAB 幅", page);
  auto* tabRow = new QHBoxLayout(tab);
  tabGroup_ = new QButtonGroup(this);
  AddRadio(tabGroup_, tabRow, "RdoTab2", "2", 2);
  AddRadio(tabGroup_, tabRow, "RdoTab4", "4", 4);
  AddRadio(tabGroup_, tabRow, "RdoTab8", "8", 8);
  connect(tabGroup_, &QButtonGroup::idClicked, this, [this](int tag) { RdoTabClick(tag); });
  left->addWidget(tab);

  QGroupBox* special = Group("特殊文字表示", page);
  auto* specialRow = new QHBoxLayout(special);
  ChkTabShow = NewCheck("ChkTabShow", "TAB", "TabShow", special);
  ChkDSpcShow = NewCheck("ChkDSpcShow", "全角空白", "DSpcShow", special);
  ChkRetShow = NewCheck("ChkRetShow", "改行", "RetShow", special);
  for (QCheckBox* box : {ChkTabShow, ChkDSpcShow, ChkRetShow}) {
    specialRow->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this] { ChkSpecialClick(); });
  }
  left->addWidget(special);
  ChkCharDiff = NewCheck("ChkCharDiff", "変更箇所を強調する", "CharDiff", page);
  connect(ChkCharDiff, &QCheckBox::clicked, this, [this] { ChkCharDiffClick(); });
  left->addWidget(ChkCharDiff);
  left->addStretch(1);

  QGroupBox* font = Group("フォントとサイズ", page);
  auto* fontRow = new QHBoxLayout(font);
  ComboFont = new TFontComboBox(font);
  ComboFont->setObjectName(QStringLiteral("ComboFont"));
  ComboFont->setMinimumWidth(180);
  SpinSize = new QSpinBox(font);
  SpinSize->setObjectName(QStringLiteral("SpinSize"));
  SpinSize->setRange(1, 99);
  // Arrows only: the number cannot be typed.
  if (auto* edit = SpinSize->findChild<QLineEdit*>()) edit->setReadOnly(true);
  fontRow->addWidget(ComboFont, 1);
  fontRow->addWidget(SpinSize);
  connect(ComboFont, &QComboBox::currentIndexChanged, this, [this] { ComboFontChange(); });
  connect(SpinSize, &QSpinBox::valueChanged, this, [this] { SpinSizeChange(); });
  right->addWidget(font);

  QGroupBox* view = Group("表示", page);
  auto* viewGrid = new QGridLayout(view);
  ChkHScr = NewCheck("ChkHScr", "横スクロール", "HScroll", view);
  ChkVScr = NewCheck("ChkVScr", "縦スクロール", "VScroll", view);
  ChkRuler = NewCheck("ChkRuler", "ルーラ", "RulerShow", view);
  ChkRowNum = NewCheck("ChkRowNum", "行番号", "RowNumShow", view);
  viewGrid->addWidget(ChkHScr, 0, 0);
  viewGrid->addWidget(ChkVScr, 0, 1);
  viewGrid->addWidget(ChkRuler, 1, 0);
  viewGrid->addWidget(ChkRowNum, 1, 1);
  AttachScrollHandlers(true);
  for (QCheckBox* box : {ChkRuler, ChkRowNum}) connect(box, &QCheckBox::clicked, this, [this] { ChkViewClick(); });
  right->addWidget(view);

  QGroupBox* caret = Group("キャレット", page);
  auto* caretRow = new QHBoxLayout(caret);
  ChkFreeCur = NewCheck("ChkFreeCur", "ﾌﾘｰｶｰｿﾙ", "FreeCur", caret);
  caretRow->addWidget(ChkFreeCur);
  connect(ChkFreeCur, &QCheckBox::clicked, this, [this] { ChkFreeCurClick(); });
  right->addWidget(caret);

  QGroupBox* code = Group("文字コード", page);
  auto* codeRow = new QHBoxLayout(code);
  codeGroup_ = new QButtonGroup(this);
  AddRadio(codeGroup_, codeRow, "RdoCodeAuto", "自動判定", 1);
  AddRadio(codeGroup_, codeRow, "RdoCodeSjis", "SJIS", 2);
  AddRadio(codeGroup_, codeRow, "RdoCodeEuc", "EUC", 3);
  AddRadio(codeGroup_, codeRow, "RdoCodeUTF8", "UTF8", 4);
  connect(codeGroup_, &QButtonGroup::idClicked, this, [this](int tag) { RdoCodeClick(tag); });
  right->addWidget(code);
  right->addStretch(1);
  return page;
}

QWidget* TForm4::BuildCheckTab() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  ChkSpc = NewCheck("ChkSpc", "空白行を無視する", "Blank", page);
  ChkTrimR = NewCheck("ChkTrimR", "後方の空白を無視する", "TrimR", page);
  ChkTrim = NewCheck("ChkTrim", "前後の空白を無視する", "TrimLR", page);
  ChkUpper = NewCheck("ChkUpper", "大文字小文字を区別しない", "Text", page);
  ChkMove = NewCheck("ChkMove", "チェック後先頭行へ移動する", "FMove", page);
  ChkWidth = NewCheck("ChkWidth", "全角と半角を区別しない", "Width", page);
  ChkZSpace = NewCheck("ChkZSpace", "全角空白を空白とみなす", "ZSpace", page);
  ChkAllSpace = NewCheck("ChkAllSpace", "空白の違いを無視する", "AllSpace", page);
  for (QCheckBox* box : {ChkSpc, ChkTrimR, ChkTrim, ChkUpper, ChkMove, ChkWidth, ChkZSpace, ChkAllSpace}) {
    column->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this] { ChkCheckClick(); });
  }
  column->addStretch(1);
  return page;
}

QWidget* TForm4::BuildOtherTab() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  auto* sendRow = new QHBoxLayout;
  BtnUpdate = new QPushButton(U("エクスプローラの「送る」に登録する"), page);
  BtnUpdate->setObjectName(QStringLiteral("BtnUpdate"));
  BtnUpdate->setToolTip(
      U("ファイルマネージャの「別のアプリケーションで開く」メニューに「RavelleDiff テキストA」と"
        "「RavelleDiff テキストB」を登録します。\n右のチェックを外して押すと、登録を外します。"));
  ChkSend = new QCheckBox(page);
  ChkSend->setObjectName(QStringLiteral("ChkSend"));
  ChkSend->setAccessibleName(U("「送る」に登録済み"));
  sendRow->addWidget(BtnUpdate);
  sendRow->addWidget(ChkSend);
  sendRow->addStretch(1);
  column->addLayout(sendRow);
  connect(BtnUpdate, &QPushButton::clicked, this, [this] { BtnUpdateClick(); });

  ChkUpdDlg = NewCheck("ChkUpdDlg", "保存確認のダイアログを表示する", "UpdateDlg", page);
  column->addWidget(ChkUpdDlg);
  connect(ChkUpdDlg, &QCheckBox::clicked, this, [this] { ChkUpdDlgClick(); });

  QGroupBox* excel = Group("Excel 連携", page);
  auto* excelRow = new QHBoxLayout(excel);
  SpinEx = new QSpinBox(excel);
  SpinEx->setObjectName(QStringLiteral("SpinEx"));
  SpinEx->setRange(0, 99);
  excelRow->addWidget(new QLabel(U("差分出力時の前後"), excel));
  excelRow->addWidget(SpinEx);
  excelRow->addWidget(new QLabel(U("行出力"), excel));
  excelRow->addStretch(1);
  connect(SpinEx, &QSpinBox::valueChanged, this, [this] { SpinExChange(); });
  column->addWidget(excel);
  column->addStretch(1);
  return page;
}

void TForm4::AttachScrollHandlers(bool attach) {
  if (attach) {
    scrollH_ = connect(ChkHScr, &QCheckBox::clicked, this, [this] { ChkScrollClick(); });
    scrollV_ = connect(ChkVScr, &QCheckBox::clicked, this, [this] { ChkScrollClick(); });
  } else {
    disconnect(scrollH_);
    disconnect(scrollV_);
  }
}

// ---- showing -------------------------------------------------------------------------------

void TForm4::setVisible(bool visible) {
  if (visible) FormShow();
  QDialog::setVisible(visible);
  if (visible && !placed_) {
    placed_ = true;
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
  }
}

void TForm4::FormShow() {
  const TSettings& s = Live();
  filling_ = true;
  AttachScrollHandlers(false);
  for (int slot = 0; slot < kColourSlots; ++slot)
    SetButtonColour(static_cast<TColourSlot>(slot), colourKeys_[slot]->Get(s));
  for (const TCheckBinding& binding : checks_) binding.box->setChecked(binding.key->Get(s) != 0);
  ComboFont->SetFontName(QString::fromStdString(s.Editor.FontName));
  SpinSize->setValue(s.Editor.FontSize);
  AttachScrollHandlers(true);
  const int tab = s.Editor.TabIndent;
  tabGroup_->button(tab == 2 || tab == 8 ? tab : 4)->setChecked(true);
  ChkSend->setChecked(SendToEntryExists(sendToFolder_, Side::A));
  codeGroup_->button(CodeRadioTag(s.Editor.CodeType))->setChecked(true);
  SpinEx->setValue(s.AddRow);
  filling_ = false;
}

// ---- handlers ------------------------------------------------------------------------------

void TForm4::SetButtonColour(TColourSlot slot, std::int32_t colour) {
  colours_[slot] = colour;
  QPushButton* button = colourButtons_[slot];
  QPalette palette = button->palette();
  palette.setColor(QPalette::ButtonText, ToQColor(colour));
  button->setPalette(palette);
}

void TForm4::BtnColorClick(TColourSlot slot) {
  const std::optional<std::int32_t> picked = ChooseColor(colours_[slot]);
  if (!picked || *picked == colours_[slot]) return;
  SetButtonColour(slot, *picked);
  for (int i = 0; i < kColourSlots; ++i) colourKeys_[i]->Set(Live(), colours_[i]);
  host_.Apply();
}

void TForm4::RdoTabClick(int tag) {
  if (filling_) return;
  Live().Editor.TabIndent = tag;
  host_.Apply();
}

void TForm4::ChkSpecialClick() {
  if (filling_) return;
  Store({ChkTabShow, ChkDSpcShow, ChkRetShow});
  host_.Apply();
}

void TForm4::ChkCharDiffClick() {
  if (filling_) return;
  Store({ChkCharDiff});
  host_.Apply();
}

void TForm4::ComboFontChange() {
  if (filling_ || !isVisible()) return;
  Live().Editor.FontName = ComboFont->FontName().toStdString();
  host_.Apply();
}

void TForm4::SpinSizeChange() {
  if (filling_) return;
  Live().Editor.FontSize = SpinSize->value();
  host_.Apply();
}

void TForm4::ChkScrollClick() {
  if (filling_) return;
  Store({ChkHScr, ChkVScr});
  host_.Apply();
}

void TForm4::ChkViewClick() {
  if (filling_) return;
  Store({ChkRuler, ChkRowNum});
  host_.Apply();
}

void TForm4::ChkFreeCurClick() {
  if (filling_) return;
  Store({ChkFreeCur});
  host_.Apply();
}

void TForm4::RdoCodeClick(int tag) {
  if (filling_) return;
  Live().Editor.CodeType = CodeOfRadioTag(tag);
}

void TForm4::ChkCheckClick() {
  if (filling_) return;
  Store({ChkSpc, ChkTrimR, ChkTrim, ChkUpper, ChkMove, ChkWidth, ChkZSpace, ChkAllSpace});
  host_.Apply();
}

void TForm4::ChkUpdDlgClick() {
  if (filling_) return;
  Store({ChkUpdDlg});
}

void TForm4::SpinExChange() {
  if (filling_) return;
  Live().AddRow = SpinEx->value();
}

void TForm4::BtnUpdateClick() {
  const TSendToResult result = UpdateSendTo(sendToFolder_, host_.ProgramDir, ChkSend->isChecked());
  switch (result.refusal) {
    case TSendToRefusal::NoFolder: ShowMessage(U("エクスプローラへ設定できません。")); return;
    case TSendToRefusal::NoCompanion: ShowMessage(U("ツール(ravelle_diff_tool)が見つかりません。")); return;
    case TSendToRefusal::None: break;
  }
  ChkSend->setChecked(result.textAExists);
  if (!result.failures.empty())
    ShowMessage(U("「送る」の登録を変更できませんでした。\n") + QString::fromStdString(result.failures));
}

}  // namespace rd
