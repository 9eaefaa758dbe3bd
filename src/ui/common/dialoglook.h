#pragma once

// The one look of the program's dialogs: the pale blue-grey background and the rounded, shaded push
// buttons (a blue one for the main action). The shell's windows, the check dialogs and every message
// box wear it.

class QMessageBox;
class QWidget;

namespace ombrisa {

// Background and push buttons of `window`. A button whose property "primary" is true is drawn blue.
void applyDialogLook(QWidget* window);
// The same look for a message box; its default button is drawn as the primary one.
void applyMessageBoxLook(QMessageBox& box);

} // namespace ombrisa
