#include "app/status_panels.h"

#include <QLabel>
#include <QProgressBar>

namespace rd {

namespace {

struct TPanelLayout {
  int width;  // 0: takes the rest of the bar
  Qt::Alignment align;
  bool sunken;
  const char* text;
  const char* description;
};

constexpr std::array<TPanelLayout, TStatusPanels::kPanelCount> kPanels{{
    {40, Qt::AlignRight | Qt::AlignVCenter, false, "進捗", "進捗"},
    {110, Qt::AlignCenter, false, "", "進捗バー"},
    {50, Qt::AlignRight | Qt::AlignVCenter, false, "ERR A", "ERR A"},
    {50, Qt::AlignCenter, true, "", "ERR A 件数"},
    {50, Qt::AlignRight | Qt::AlignVCenter, false, "ERR B", "ERR B"},
    {50, Qt::AlignCenter, true, "", "ERR B 件数"},
    {0, Qt::AlignLeft | Qt::AlignVCenter, true, "", "行情報"},
}};

// The bar's own range: eleven steps of 10.
constexpr int kProgressMax = 110;

}  // namespace

TStatusPanels::TStatusPanels(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  for (int i = 0; i < kPanelCount; ++i) {
    const TPanelLayout& layout = kPanels[static_cast<std::size_t>(i)];
    auto* label = new QLabel(QString::fromUtf8(layout.text), this);
    label->setAlignment(layout.align);
    // The name a reader speaks is the panel's text; the description says which panel it is.
    label->setAccessibleDescription(QString::fromUtf8(layout.description));
    if (layout.sunken) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (layout.width > 0) label->setFixedWidth(layout.width);
    label->setMinimumHeight(19);
    addWidget(label, layout.width > 0 ? 0 : 1);
    panels_[static_cast<std::size_t>(i)] = label;
  }
  progress_ = new QProgressBar(panels_[1]);
  progress_->setRange(0, kProgressMax);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setAccessibleName(QString::fromUtf8("進捗"));
  progress_->setGeometry(2, 1, 105, 17);
}

QString TStatusPanels::PanelText(int index) const { return panels_[static_cast<std::size_t>(index)]->text(); }

void TStatusPanels::SetPanelText(int index, const QString& text) {
  panels_[static_cast<std::size_t>(index)]->setText(text);
}

}  // namespace rd
