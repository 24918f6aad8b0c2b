// TForm1's files: loading and saving the panes, the open, save and new
// buttons, edits, dropped files and files sent by the companion program.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>

#include "app/main_window.h"
#include "app/window_texts.h"
#include "editor/editor_error.h"
#include "editor/editor_widget.h"
#include "textcode/file_bytes.h"
#include "textcode/file_replace.h"
#include "textcode/pane_text.h"
#include "views/map_bar.h"

#include <QLabel>

namespace rd {

namespace {

QString U(const std::string& text) { return QString::fromStdString(text); }
QString U(const char* text) { return QString::fromUtf8(text); }

// Paths are the file system's bytes; labels show them as Unicode.
QString PathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

const char* PaneName(Side side) { return side == Side::A ? "TextA" : "TextB"; }

}  // namespace

void TForm1::SetFileLabel(Side side, const std::string& caption, const std::string& path) {
  QLabel* label = fileLabel_[Index(side)];
  label->setText(PathText(caption) + (lossy_[Index(side)] && !caption.empty() ? QStringLiteral(" *") : QString()));
  label->setToolTip(PathText(path));
  labelCaption_[Index(side)] = caption;
  labelPath_[Index(side)] = path;
}

std::string TForm1::FileLabelPath(Side side) const { return labelPath_[Index(side)]; }

bool TForm1::ConfirmDiscard(Side side, const char* question) {
  if (!settings_.Editor.UpdateDlg || !memo_[Index(side)]->Model().Modified) return true;
  return AskYesNo(U(std::string(PaneName(side)) + question));
}

// ---- loading and saving -------------------------------------------------------------------

bool TForm1::LoadText(Side side, TextCode code, const std::string& path) {
  TEditor* memo = memo_[Index(side)];
  comparison_.ResetResults();
  recordedCode_[Index(side)] = code;
  std::size_t lost = 0;
  try {
    if (code == TextCode::Sjis) {
      memo->Lines().LoadFromFile(path);
    } else {
      TPaneText text = ReadPaneText(path, code);
      memo->Lines().Clear();
      recordedCode_[Index(side)] = code = text.code;
      if (text.failed) {
        ShowMessage(U("変換に失敗しました"));
        return false;
      }
      memo->Lines().AdoptText(std::move(text.text.bytes), text.text.size);
      lost = text.lost;
    }
  } catch (const TFileReadError& e) {
    ShowMessage(U("ファイルを読み込めません。") + PathText(path) + U("\n") + U(e.Reason()));
    return false;
  } catch (const EEditorFileError& e) {
    ShowMessage(U("ファイルを読み込めません。") + U(e.what()));
    return false;
  }
  TEditorModel& model = memo->Model();
  model.Modified = false;
  model.SetRowCol(0, 0);
  model.SetTopRow(0);
  model.SetTopCol(0);
  lossy_[Index(side)] = lost > 0;
  SetFileLabel(side, FileLabelCaption(code, path), path);
  if (lost > 0) ShowMessage(U(LostCharactersNotice(lost)));
  return true;
}

bool TForm1::SaveText(Side side, TextCode code, const std::string& path) {
  TEditor* memo = memo_[Index(side)];
  if (code == TextCode::Auto) {
    code = recordedCode_[Index(side)];
    if (code == TextCode::Auto) code = TextCode::Sjis;
  }
  recordedCode_[Index(side)] = code;
  if (lossy_[Index(side)] && path == labelPath_[Index(side)] &&
      !AskYesNo(U("変換できない文字が失われます。上書きしますか？")))
    return false;

  std::string bytes;
  if (code == TextCode::Sjis) {
    bytes = memo->Lines().Text();
  } else {
    const TEditorScreenStrings& rows = memo->Model().Rows();
    const std::optional<std::string> encoded =
        EncodePaneLines(memo->Lines().Count(), [&rows](int i) { return rows.RowText(i); }, code);
    if (!encoded) {
      ShowMessage(U("変換に失敗しました"));
      return false;
    }
    bytes = *encoded;
  }
  const std::string error = ReplaceFileContents(path, bytes);
  if (!error.empty()) {
    ShowMessage(U("ファイルを保存できません。") + PathText(path) + U("\n") + U(error));
    return false;
  }
  memo->Model().Modified = false;
  lossy_[Index(side)] = false;
  SetFileLabel(side, FileLabelCaption(code, path), path);
  return true;
}

// ---- buttons ----------------------------------------------------------------------------------

void TForm1::BtnLoadClick(Side side) {
  if (!ConfirmDiscard(side, "が変更されています。ファイルを開きますか？")) return;
  TFileChoice choice{labelPath_[Index(side)], chosenCode_[Index(side)]};
  if (!ChooseFile(false, labelPath_[Index(side)], choice)) return;
  chosenCode_[Index(side)] = choice.code;
  LoadText(side, choice.code, choice.path);
  PnlErrResize();
}

void TForm1::BtnSaveClick(Side side) {
  if (memo_[Index(side)]->Lines().Count() == 0) {
    ShowMessage(U("保存する情報がありません。"));
    return;
  }
  TFileChoice choice{labelPath_[Index(side)], chosenCode_[Index(side)]};
  if (!ChooseFile(true, labelPath_[Index(side)], choice)) return;
  if (choice.code != TextCode::Auto) chosenCode_[Index(side)] = choice.code;
  SaveText(side, chosenCode_[Index(side)], choice.path);
}

void TForm1::BtnNewClick(Side side) {
  if (!ConfirmDiscard(side, "が変更されています。クリアしますか？")) return;
  comparison_.ResetResults();
  TEditor* memo = memo_[Index(side)];
  memo->Lines().Clear();
  memo->Model().Modified = false;
  lossy_[Index(side)] = false;
  SetFileLabel(side, std::string(), labelPath_[Index(side)]);
  memo_[Index(Other(side))]->viewport()->update();
  PnlErrResize();
}

void TForm1::PaneChanged(Side side) {
  colouring_.DropCharDiffs();  // the edited line may be a changed line or a partner
  TEditor* memo = memo_[Index(side)];
  if (memo->Lines().Count() == 0 && labelCaption_[Index(side)].empty()) {
    memo->Model().Modified = false;
    comparison_.ResetResults();
  }
  if (map_->Model().LineCountChanged(side, memo->Lines().Count())) PnlErrResize();
}

// ---- dropped and sent files ----------------------------------------------------------------------

void TForm1::DropFile(Side side, const std::string& path) {
  if (!FileExists(path)) {
    ShowMessage(U("ファイルではありません。"));
    return;
  }
  if (!ConfirmDiscard(side, "が変更されています。ファイルを開きますか？")) return;
  LoadText(side, settings_.Editor.CodeType, path);
  chosenCode_[Index(side)] = recordedCode_[Index(side)];
  PnlErrResize();
}

void TForm1::ReceiveFile(Side side, const std::string& path) {
  if (!FileExists(path)) return;
  chosenCode_[Index(side)] = TextCode::Auto;
  LoadText(side, TextCode::Auto, path);
  PnlErrResize();
  if (memo_[Index(Other(side))]->Lines().Count() > 0) BtnChkClick();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

bool TForm1::PaneUnder(const QPoint& globalPos, Side& side) const {
  for (const Side s : {Side::A, Side::B}) {
    const QWidget* base = paneBase_[Index(s)];
    if (base->isVisible() && base->rect().contains(base->mapFromGlobal(globalPos))) {
      side = s;
      return true;
    }
  }
  return false;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  const std::string path = QFile::encodeName(urls.front().toLocalFile()).toStdString();
  Side side = Side::A;
  if (PaneUnder(mapToGlobal(event->position().toPoint()), side)) DropFile(side, path);
}

}  // namespace rd
