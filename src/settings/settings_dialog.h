// TForm4: the settings dialog "環境設定". It has no OK or Cancel: every control
// changes the main window's live settings at once and has them applied to
// the panes; the file is written only at exit. Modeless, on top, hidden
// (never destroyed) when closed, and refilled from the live state whenever
// it is shown.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QColorDialog;
class QPushButton;
class QSpinBox;

namespace rd {

struct TSettings;
struct TSettingKey;
class TFontComboBox;

// What the dialog edits and how the change reaches the window.
struct TSettingsHost {
  TSettings* Settings = nullptr;  // the main window's live settings; outlive the dialog
  std::function<void()> Apply;    // pushes them to the panes, the strip, the comparison and the map bar
  std::string ProgramDir;         // folder of the program and its companion, ending in "/"
};

class TForm4 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm4(TSettingsHost host, QWidget* parent = nullptr);

  // Every show() refills the controls first, also when the dialog is
  // already visible, so that it never shows a stale state.
  void setVisible(bool visible) override;
  // Copies the live state into the controls without changing it.
  void FormShow();

  // The user's applications folder the send-to entries go to, found once
  // at creation; empty when there is none.
  const std::string& SendToFolder() const { return sendToFolder_; }

  // The colour dialog and the error boxes go through these; tests replace them.
  // ChooseColor answers the picked colour (0x00BBGGRR), nothing when cancelled.
  std::function<std::optional<std::int32_t>(std::int32_t current)> ChooseColor;
  std::function<void(const QString& text)> ShowMessage;

 private:
  // The colour buttons, in the order of their group; the last one colours
  // the differing characters of changed lines.
  enum TColourSlot { kWord, kIns, kMov, kChg, kBack, kFind, kChgChar, kColourSlots };

  QWidget* BuildEditorTab();
  QWidget* BuildCheckTab();
  QWidget* BuildOtherTab();
  // A check box that stands for the boolean settings key `key`.
  QCheckBox* NewCheck(const char* name, const char* caption, const char* key, QWidget* parent);
  // Writes the boxes' states into their keys.
  void Store(std::initializer_list<QCheckBox*> boxes);

  void SetButtonColour(TColourSlot slot, std::int32_t colour);
  void BtnColorClick(TColourSlot slot);
  void RdoTabClick(int tag);
  void ChkSpecialClick();
  void ChkCharDiffClick();
  void ComboFontChange();
  void SpinSizeChange();
  void ChkScrollClick();
  void ChkViewClick();
  void ChkFreeCurClick();
  void RdoCodeClick(int tag);
  void ChkCheckClick();
  void ChkUpdDlgClick();
  void SpinExChange();
  void BtnUpdateClick();
  // Connects or detaches the handlers of the two scroll-bar boxes.
  void AttachScrollHandlers(bool attach);

  TSettings& Live() { return *host_.Settings; }

  TSettingsHost host_;
  std::string sendToFolder_;
  bool filling_ = false;
  bool placed_ = false;  // centred on the screen at the first showing

  std::array<QPushButton*, kColourSlots> colourButtons_{};
  std::array<std::int32_t, kColourSlots> colours_{};
  std::array<const TSettingKey*, kColourSlots> colourKeys_{};
  struct TCheckBinding {
    QCheckBox* box;
    const TSettingKey* key;
  };
  std::vector<TCheckBinding> checks_;
  QColorDialog* ColorDialog = nullptr;
  QButtonGroup* tabGroup_ = nullptr;
  QButtonGroup* codeGroup_ = nullptr;
  QCheckBox* ChkTabShow = nullptr;
  QCheckBox* ChkDSpcShow = nullptr;
  QCheckBox* ChkRetShow = nullptr;
  QCheckBox* ChkCharDiff = nullptr;
  TFontComboBox* ComboFont = nullptr;
  QSpinBox* SpinSize = nullptr;
  QCheckBox* ChkHScr = nullptr;
  QCheckBox* ChkVScr = nullptr;
  QCheckBox* ChkRuler = nullptr;
  QCheckBox* ChkRowNum = nullptr;
  QCheckBox* ChkFreeCur = nullptr;
  QCheckBox* ChkSpc = nullptr;
  QCheckBox* ChkTrimR = nullptr;
  QCheckBox* ChkTrim = nullptr;
  QCheckBox* ChkUpper = nullptr;
  QCheckBox* ChkMove = nullptr;
  QCheckBox* ChkWidth = nullptr;
  QCheckBox* ChkZSpace = nullptr;
  QCheckBox* ChkAllSpace = nullptr;
  QPushButton* BtnUpdate = nullptr;
  QCheckBox* ChkSend = nullptr;
  QCheckBox* ChkUpdDlg = nullptr;
  QSpinBox* SpinEx = nullptr;
  QMetaObject::Connection scrollH_, scrollV_;
};

}  // namespace rd
