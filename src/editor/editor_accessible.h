// What screen readers and test tools read of an editor through the
// accessibility bus: its name, its text, the caret and the selection.
#pragma once

class QWidget;

namespace rd {

// Registers the accessible interface of TEditor once.
void InstallEditorAccessibility();

}  // namespace rd
