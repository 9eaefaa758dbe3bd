#pragma once

class QWidget;

namespace ombrisa {

// For start-up timing and the installed-package check: once `window` has been painted for the first
// time, prints one line (the window's object name, then the data folder in use) on standard output and
// ends the program with exit code 0.
void quitWhenFirstPainted(QWidget* window);

} // namespace ombrisa
