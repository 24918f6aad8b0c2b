// TForm1's settings: read once when the window is created, applied to the
// panes, the strip and the window, and written once when it is destroyed.
#include <QGuiApplication>
#include <QScreen>

#include "app/main_window.h"
#include "app/program_folder.h"
#include "editor/editor_fonts.h"
#include "editor/editor_widget.h"
#include "settings/ini_file.h"

namespace rd {

namespace {

std::string SettingsPath(const std::string& programDir) { return SettingsFile(programDir); }

TScrollBars ScrollBarsOf(bool horizontal, bool vertical) {
  if (horizontal && vertical) return TScrollBars::ssBoth;
  if (horizontal) return TScrollBars::ssHorizontal;
  return vertical ? TScrollBars::ssVertical : TScrollBars::ssNone;
}

}  // namespace

void TForm1::ReadSettings() {
  TSettingsBase base;  // the panes' own initial font, colours and tab width
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    base.ScreenWidth = screen->size().width();
    base.ScreenHeight = screen->size().height();
  }
  settings_ = rd::ReadSettings(ReadIniFile(SettingsPath(programDir_)), base);
  chosenCode_ = {settings_.Editor.CodeType, settings_.Editor.CodeType};
  ApplySettings();

  const TFormSettings& form = settings_.Form;
  resize(form.W, form.H);
  move(form.Left, form.Top);
  if (form.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
  if (!form.EditTate) BtnFormClick();
}

void TForm1::ApplySettings() {
  const TEditorSettings& e = settings_.Editor;
  const QFont font = EditorFont(QString::fromStdString(e.FontName), e.FontSize);
  for (TEditor* memo : memo_) {
    memo->SetFont(font);
    memo->SetFontColor(e.FontColor);
    memo->SetColor(e.BackColor);
    memo->Model().View().Colors[TEditorColors::Reserve].SetColor(e.FindColor);
    memo->Model().SetTabSpaceCount(e.TabIndent);
    TEditorMarks marks = memo->Marks();
    marks.RetMark.Visible = e.RetShow;
    marks.EofMark.Visible = e.RetShow;
    memo->SetMarks(marks);
    memo->SetScrollBars(ScrollBarsOf(e.HScroll, e.VScroll));
    TEditorRuler ruler = memo->Ruler();
    ruler.Visible = e.RulerShow;
    memo->SetRuler(ruler);
    TEditorLeftbar bar = memo->Leftbar();
    bar.Visible = e.RowNumShow;
    memo->SetLeftbar(bar);
    memo->Model().Caret.FreeCaret = e.FreeCur;
  }
  infoMemo_->SetFont(font);
  infoMemo_->Model().SetTabSpaceCount(e.TabIndent);
  // The characters that differ in a changed line depend on the options.
  if (!(comparison_.Options == settings_.Check)) colouring_.DropCharDiffs();
  comparison_.Options = settings_.Check;
  RepaintPanes();
  PnlErrResize();
}

void TForm1::WriteSettings() {
  TFormSettings& form = settings_.Form;
  form.Maximized = isMaximized();
  if (!form.Maximized) {
    const QRect frame = geometry();
    form.Top = frame.top();
    form.Left = frame.left();
    form.W = frame.width();
    form.H = frame.height();
  }
  // Keys the program does not own, and the user's comments, stay in the file.
  TIniFile ini = ReadIniFile(SettingsPath(programDir_));
  rd::WriteSettings(settings_, ini);
  WriteIniFile(SettingsPath(programDir_), ini);
}

}  // namespace rd
