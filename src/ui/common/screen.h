#pragma once

// Small helpers shared by the program's fixed-size windows and dialogs.

#include <QString>

class QFont;
class QWidget;

namespace ombrisa {

// A font by family list (the first available wins), size in points and weight.
QFont screenFont(const QString& families, int pointSize, bool bold);

// Fixed size, a title bar without buttons, centred on the screen (or over `over` when given).
void makeFixedWindow(QWidget* window, int width, int height, const QWidget* over = nullptr);
// Opens a window maximised. It first takes the screen's available area, so that it fills the screen even
// where nothing acts on the maximised state.
void maximiseWindow(QWidget* window);
// Shows a window and gives it the keyboard. A window manager would activate it; without one nothing does,
// and its boxes would take the keys typed while showing no focus frame until clicked.
void showActive(QWidget* window);
// Centres a window on the screen that holds it (or over `over`).
void centreWindow(QWidget* window, const QWidget* over = nullptr);

} // namespace ombrisa
