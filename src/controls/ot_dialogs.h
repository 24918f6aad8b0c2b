// TOtOpenDialog and TOtSaveDialog: the file dialog with one control of the
// calling window shown to the right of its own controls and one below them.
// The controls live in their own window, hidden, and visit the dialog only
// while it shows; the owner reads their state after Execute returns.
#pragma once

#include <QFileDialog>
#include <QPointer>

#include <array>
#include <stdexcept>

#include "controls/ot_dialog_layout.h"

class QGridLayout;

namespace rd {

// RightControl or BottomControl was set while the dialog showed them.
class EOtDialogError : public std::logic_error {
 public:
  EOtDialogError() : std::logic_error(kMessage) {}
  static constexpr const char* kMessage = "Can't exchange controls when the dialog is visible.";
};

enum TOpenOption : unsigned {
  ofOverwritePrompt = 0x1,   // save: ask before choosing an existing file
  ofAllowMultiSelect = 0x2,  // open: several files can be chosen (Files)
  ofFileMustExist = 0x4,     // open: only existing files can be chosen
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOpenOptions)

// What the open and the save dialog share. The plain values below are taken
// over each time the dialog is shown (by Execute or by open()), and FileName,
// Files and FilterIndex are read back when the user accepts.
class TOtFileDialog : public QFileDialog {
  Q_OBJECT
 public:
  ~TOtFileDialog() override;

  // Empty: the dialog's own title ("Open" / "Save As", translated). A title
  // once shown stays until another one is set.
  QString Title;
  // "Name|*.a;*.b|Name2|*.c"; the dialog lists the names.
  QString Filter;
  // 1-based entry of Filter chosen at show; afterwards the one the user chose.
  int FilterIndex = 1;
  // Appended (without a dot) to a typed name that has no extension.
  QString DefaultExt;
  QString InitialDir;
  // The preset name (a path or a bare name); afterwards the first file chosen.
  QString FileName;
  TOpenOptions Options;
  // Every file chosen, in the dialog's order.
  const QStringList& Files() const { return files_; }

  // Shows the dialog modally; true when the user chose a file.
  bool Execute();

  TOtDialogControlAlign ControlAlign() const { return align_; }
  void SetControlAlign(TOtDialogControlAlign align);
  QWidget* RightControl() const { return embedded_[kRight].Control; }
  QWidget* BottomControl() const { return embedded_[kBottom].Control; }
  // Each setter hides the control; a control set on the other side leaves it.
  // Throws EOtDialogError while the dialog shows the controls. A control that
  // is destroyed leaves its property empty. After the dialog the control is
  // back in its parent at its old place, hidden, but not in a layout it may
  // have been part of there.
  void SetRightControl(QWidget* control);
  void SetBottomControl(QWidget* control);
  // True while the dialog is shown and holds the controls.
  bool ControlsShown() const { return shown_; }

  void setVisible(bool visible) override;
  void done(int result) override;

 protected:
  TOtFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, TOpenOptions defaults);

 private:
  enum TSlotIndex { kRight = 0, kBottom = 1 };
  // One embedded control, the host that carries it inside the dialog, and
  // where the control came from.
  struct TSlot {
    QPointer<QWidget> Control;
    QWidget* Host = nullptr;  // child of the dialog
    QPointer<QWidget> FormerParent;
    bool HadParent = false;
    QRect FormerGeometry;
    QSize Extent;  // the control's size when it was embedded
  };

  void SetControl(TSlotIndex side, QWidget* control);
  void ApplyProperties();
  void ReadResults();
  void EmbedControls();
  // Puts the hosts of the embedded controls into the grid by ControlAlign.
  void PlaceHosts();
  void ReturnControls();
  QGridLayout* Grid() const;

  std::array<TSlot, 2> embedded_;
  TOtDialogControlAlign align_ = TOtDialogControlAlign::otdaNone;
  bool shown_ = false;
  int standardRows_ = 0;     // the grid of the dialog's own controls
  int standardColumns_ = 0;
  QSize grownBy_;            // what embedding added to the dialog's size
  QStringList files_;
};

class TOtOpenDialog : public TOtFileDialog {
  Q_OBJECT
 public:
  // Options start as ofFileMustExist.
  explicit TOtOpenDialog(QWidget* parent = nullptr);
};

class TOtSaveDialog : public TOtFileDialog {
  Q_OBJECT
 public:
  // Options start as ofOverwritePrompt.
  explicit TOtSaveDialog(QWidget* parent = nullptr);
};

}  // namespace rd
