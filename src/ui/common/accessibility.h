#pragma once

// What assistive technology (a screen reader over AT-SPI) and the keyboard alone need from every screen:
// a name a person would say for each control, picture buttons that read and act as buttons, frames read
// as panels, results in labels announced, Enter pressing the focused button, command keys and a tab
// order in reading order.

#include <QKeySequence>
#include <QList>
#include <QString>

class QAbstractButton;
class QApplication;
class QLabel;
class QWidget;

namespace ombrisa {

// Installed once by setupApplication: the accessible interfaces of the program's own widgets (a
// clickable PictureBox is a button, a LinkLabel a link, a label marked with markAsStatus a status line)
// and of plain QFrames (a panel: Qt reads them as "frame", which screen readers take for a window and
// whose focus events they drop), and Enter (Return or the keypad's) pressing the focused push or tool
// button, as Space does.
void installAccessibility(QApplication& app);

// A label whose text is a result (a count, a total, a message after an action): read as a status line,
// and each change of its text is announced (a name-change event of the status line).
void markAsStatus(QLabel* label);
// Sets the text of a status label and announces it even when the text is the same as before (the same
// count after a second search is news too).
void announce(QLabel* label, const QString& text);

// A command key of a window: pressing `key` anywhere in `button`'s window clicks the button, when it is
// enabled and visible, even from a box that would otherwise take the key (Ctrl+Home in a line edit).
// The key is added to the button's hint (see HintLine) and its accessible description, as
// "... (Ctrl+S)".
void addCommandKey(QAbstractButton* button, const QKeySequence& key);
// The key as the hints and the guide write it, with the names on Italian keyboards ("Ctrl+S", "PgGiù",
// "Ctrl+Maiusc+P", "Ctrl+Fine").
QString keyText(const QKeySequence& key);

// Tab and Shift+Tab follow `order` (widgets that take no focus are skipped).
void chainTabs(const QList<QWidget*>& order);
// The widgets below `area` (and `area` itself) that Tab reaches, in the order they were created, which
// is the order a row or a column of buttons is laid out in.
QList<QWidget*> tabStopsIn(QWidget* area);

} // namespace ombrisa
