#pragma once

// The list-only drop-down box of every screen (the cards' lists, the interval screen's days and months):
// an editable QComboBox whose value comes only from its list.

#include <QString>
#include <functional>

class QComboBox;
class QEvent;

namespace ombrisa {

// Makes `box` list-only. Keys: Enter, Tab, Shift+Tab, Left and Right act as usual (Enter reaches the
// Enter ring); F4 and Alt+Down open the list; Backspace and Delete empty the box; every other key is
// discarded. Nothing is pasted from a menu or dropped. Entering the box shows its text with no item of
// the list chosen; leaving it for another control with a (trimmed) text that `accepts` refuses empties
// it. By default a text is accepted when it is exactly one of the box's items.
void makeListOnly(QComboBox* box, std::function<bool(const QString& text)> accepts = {});

// Empties a combo box: no item chosen, no text.
void clearListBox(QComboBox* box);
// Shows the text a combo box holds with no item of its list chosen.
void dropSelection(QComboBox* box);
// Whether a focus event moves between controls of the window (not to or from the list's popup, nor the
// window losing or gaining activation).
bool movesBetweenControls(const QEvent* event);

} // namespace ombrisa
