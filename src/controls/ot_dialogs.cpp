// TOtOpenDialog / TOtSaveDialog: Qt's own file dialog (not the platform's, so
// its grid can take our hosts) with the embedded controls in a new column to
// the right and a new row below its controls.
#include "controls/ot_dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cassert>

namespace rd {
namespace {

QStringList QtNameFilters(const QString& filter) {
  QStringList list;
  for (const TFileFilter& f : ParseFilterList(filter.toStdString()))
    list << QString::fromStdString(ToNameFilter(f));
  return list;
}

// The size the control asks for: the one its owner gave it, else its hint,
// never below its minimum.
QSize ControlExtent(const QWidget& c) {
  const QSize own = c.testAttribute(Qt::WA_Resized) ? c.size() : c.sizeHint();
  return own.expandedTo(c.minimumSizeHint()).expandedTo(c.minimumSize());
}

Qt::Alignment AlignmentOf(const THostPlacement& p) {
  Qt::Alignment a;
  if (!p.FillWidth) a |= Qt::AlignLeft;
  if (!p.FillHeight) a |= Qt::AlignTop;
  return a;
}

}  // namespace

TOtFileDialog::TOtFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, TOpenOptions defaults)
    : QFileDialog(parent), Options(defaults) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  // The combo box shows the names of Filter as written there.
  setOption(QFileDialog::HideNameFilterDetails, true);
  setAcceptMode(mode);
  QGridLayout* grid = Grid();
  assert(grid && "Qt's own file dialog lays its controls out in a grid");
  standardRows_ = grid->rowCount();
  standardColumns_ = grid->columnCount();
  for (TSlot& slot : embedded_) {
    slot.Host = new QWidget(this);
    auto* layout = new QVBoxLayout(slot.Host);
    layout->setContentsMargins(0, 0, 0, 0);
    slot.Host->hide();
  }
}

TOtFileDialog::~TOtFileDialog() {
  // The hosts die with the dialog; the controls belong to their own window.
  if (shown_) ReturnControls();
}

QGridLayout* TOtFileDialog::Grid() const { return qobject_cast<QGridLayout*>(layout()); }

bool TOtFileDialog::Execute() { return exec() == QDialog::Accepted; }

void TOtFileDialog::SetControlAlign(TOtDialogControlAlign align) {
  align_ = align;
  if (shown_) PlaceHosts();
}

void TOtFileDialog::SetRightControl(QWidget* control) { SetControl(kRight, control); }
void TOtFileDialog::SetBottomControl(QWidget* control) { SetControl(kBottom, control); }

void TOtFileDialog::SetControl(TSlotIndex side, QWidget* control) {
  if (shown_) throw EOtDialogError();
  assert(control != this && !(control && control->isAncestorOf(this)) && "the dialog cannot carry its own window");
  TSlot& other = embedded_[side == kRight ? kBottom : kRight];
  if (control && other.Control == control) other.Control = nullptr;
  embedded_[side].Control = control;
  if (control) control->hide();
}

void TOtFileDialog::setVisible(bool visible) {
  if (visible && !shown_) {
    ApplyProperties();
    shown_ = true;
    EmbedControls();
  }
  QFileDialog::setVisible(visible);
  if (!visible && shown_) {
    ReturnControls();
    shown_ = false;
  }
}

void TOtFileDialog::done(int result) {
  if (result == QDialog::Accepted) ReadResults();
  QFileDialog::done(result);
}

void TOtFileDialog::ApplyProperties() {
  if (!Title.isEmpty()) setWindowTitle(Title);
  QStringList filters = QtNameFilters(Filter);
  if (filters.isEmpty()) filters << QFileDialog::tr("All Files (*)");
  setNameFilters(filters);
  const int index = FilterIndex >= 1 && FilterIndex <= filters.size() ? FilterIndex : 1;
  selectNameFilter(filters[index - 1]);
  setDefaultSuffix(DefaultExt.startsWith(QLatin1Char('.')) ? DefaultExt.mid(1) : DefaultExt);
  if (acceptMode() == QFileDialog::AcceptOpen) {
    setFileMode(Options.testFlag(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                : Options.testFlag(ofFileMustExist)  ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  } else {
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, !Options.testFlag(ofOverwritePrompt));
  }
  if (!InitialDir.isEmpty()) setDirectory(InitialDir);
  if (!FileName.isEmpty()) {
    selectFile(FileName);
  } else if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    edit->clear();  // no name preset: nothing left over from the last time
  }
}

void TOtFileDialog::ReadResults() {
  files_ = selectedFiles();
  FileName = files_.value(0);
  // The combo box shows only the names, and so does selectedNameFilter();
  // its position is the entry's.
  if (auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo")); types && types->currentIndex() >= 0)
    FilterIndex = types->currentIndex() + 1;
}

void TOtFileDialog::EmbedControls() {
  QGridLayout* grid = Grid();
  grownBy_ = QSize();
  for (const TSlotIndex side : {kRight, kBottom}) {
    TSlot& slot = embedded_[side];
    QWidget* control = slot.Control;
    if (!control) continue;
    slot.FormerParent = control->parentWidget();
    slot.HadParent = slot.FormerParent != nullptr;
    slot.FormerGeometry = control->geometry();
    slot.Extent = ControlExtent(*control);
    control->setParent(slot.Host);
    slot.Host->layout()->addWidget(control);
    control->show();
    if (side == kRight)
      grownBy_.rwidth() += slot.Extent.width() + std::max(0, grid->horizontalSpacing());
    else
      grownBy_.rheight() += slot.Extent.height() + std::max(0, grid->verticalSpacing());
  }
  PlaceHosts();
  if (grownBy_.isNull()) return;
  // The dialog grows by the hosts and keeps its centre.
  const QSize before = testAttribute(Qt::WA_Resized) ? size() : sizeHint();
  resize(before + grownBy_);
  if (testAttribute(Qt::WA_Moved)) move(pos() - QPoint(grownBy_.width() / 2, grownBy_.height() / 2));
}

void TOtFileDialog::PlaceHosts() {
  QGridLayout* grid = Grid();
  const TEmbedPlan plan = PlanEmbedding(align_, standardRows_, standardColumns_);
  for (const TSlotIndex side : {kRight, kBottom}) {
    TSlot& slot = embedded_[side];
    grid->removeWidget(slot.Host);
    if (!slot.Control) {
      slot.Host->hide();
      continue;
    }
    const THostPlacement& place = side == kRight ? plan.Right : plan.Bottom;
    // Across a filled direction the host may grow from the control's size;
    // along the others it keeps it.
    slot.Host->setMinimumSize(slot.Extent);
    slot.Host->setMaximumSize(place.FillWidth ? QWIDGETSIZE_MAX : slot.Extent.width(),
                              place.FillHeight ? QWIDGETSIZE_MAX : slot.Extent.height());
    grid->addWidget(slot.Host, place.Area.Row, place.Area.Column, place.Area.RowSpan, place.Area.ColumnSpan,
                    AlignmentOf(place));
    slot.Host->show();
    slot.Host->raise();
  }
}

void TOtFileDialog::ReturnControls() {
  for (TSlot& slot : embedded_) {
    if (QWidget* control = slot.Control) {
      control->hide();
      if (slot.FormerParent || !slot.HadParent) {
        control->setParent(slot.FormerParent);
        control->setGeometry(slot.FormerGeometry);
      } else {
        // Its window was destroyed meanwhile, which would have taken the
        // control along had it stayed there.
        control->setParent(nullptr);
        control->deleteLater();
      }
    }
    Grid()->removeWidget(slot.Host);
    slot.Host->hide();
    slot.FormerParent = nullptr;
  }
  if (!grownBy_.isNull()) {
    // Shrinks about the centre again, so a dialog shown many times stays put.
    const QSize shrunk = (size() - grownBy_).expandedTo(minimumSizeHint());
    const QSize by = size() - shrunk;
    resize(shrunk);
    if (testAttribute(Qt::WA_Moved)) move(pos() + QPoint(by.width() / 2, by.height() / 2));
  }
  grownBy_ = QSize();
}

TOtOpenDialog::TOtOpenDialog(QWidget* parent)
    : TOtFileDialog(parent, QFileDialog::AcceptOpen, TOpenOptions(ofFileMustExist)) {}

TOtSaveDialog::TOtSaveDialog(QWidget* parent)
    : TOtFileDialog(parent, QFileDialog::AcceptSave, TOpenOptions(ofOverwritePrompt)) {}

}  // namespace rd
