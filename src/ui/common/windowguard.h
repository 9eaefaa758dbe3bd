#pragma once

// What a dialog's title bar offers. The program's fixed dialogs ask the window manager for a title
// bar without buttons, and a window without a minimise button never stays minimised: some window
// managers offer minimising every window whatever it asks for, and a minimised modal dialog takes
// the whole program off a desktop that may have no task bar to bring it back.

#include <Qt>

class QApplication;
class QWidget;

namespace ombrisa {

// The flags of a fixed dialog: a title bar and a border, no buttons (no close, minimise or maximise).
constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// Whether `window` may stay minimised: only a window that offers a minimise button.
bool mayStayMinimised(const QWidget* window);

// Puts back every window of `app` that a window manager minimised although it may not stay so
// (mayStayMinimised), shown and raised. Called once by the application's set-up.
void installMinimiseGuard(QApplication& app);

} // namespace ombrisa
