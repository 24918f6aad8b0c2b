// The window's message boxes: a plain message, and the warning question
// with Yes and No that guards edits.
#pragma once

class QString;
class QWidget;

namespace rd {

void ShowMessageBox(QWidget* parent, const QString& text);
// True only for Yes.
bool AskWarning(QWidget* parent, const QString& text);
// An information box with OK and Cancel; true only for OK.
bool AskInformation(QWidget* parent, const QString& text);

}  // namespace rd
