#pragma once

// The look shared by the shell's windows: colours, the white top band with the product picture, and
// the push buttons.

#include <QColor>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace ombrisa {

inline const QColor kBrandBlue(0x40, 0x8A, 0xB3);

// Window background and push buttons of the password, help, information and splash screens.
void applyShellLook(QWidget* window);
// A white band across the top of `window`, `height` pixels high, with a blue line under it.
QWidget* addTopBand(QWidget* window, int height);
// A push button with the shell's look; `primary` is the blue default button.
QPushButton* shellButton(const QString& name, const QString& text, QWidget* parent, bool primary = false);
// A line written over a picture, as the picture's own lines are (the version on the information and
// splash screens): DejaVu Sans `pixels` high in `colour`, with no background of its own.
QLabel* textOverPicture(const QString& text, int pixels, bool bold, const QString& colour, QWidget* parent);

} // namespace ombrisa
