#pragma once

// The two looks that show which edit box has the focus.

class QWidget;

namespace ombrisa {

// Highlight rectangle look (client and call cards, password screens, search screens): a yellow
// rectangle named like the box with "eff" instead of "txt" (txtCliente → effCliente) lies behind the
// box, 4 pixels larger on every side, and is visible only while the box has the focus. It follows the
// box when the box moves or is resized. `box` must already have its parent and objectName.
// Returns the rectangle.
QWidget* addFocusRect(QWidget* box);

// Restyled background look (agent card, work register): the box draws its background AliceBlue
// (#F0F8FF), yellow (#FFFF00) while it has the focus, with a SkyBlue (#87CEEB) border.
void applyFieldLook(QWidget* box);

} // namespace ombrisa
