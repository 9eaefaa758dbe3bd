#pragma once

// List and number boxes take mouse-wheel turns only while they have the focus. A wheel turned over a
// box the user is not working in (a passing mouse on its way to another control) must not change a
// date or a choice that the next save would write.

class QApplication;
class QObject;
class QWidget;

namespace ombrisa {

// Whether a wheel turn over `widget` may change its value: false for a list box (QComboBox) or a
// number/date box (QAbstractSpinBox) that neither has the focus nor holds the focus widget.
bool wheelMayChange(const QWidget* widget);

// Installs the rule for every window of `app`. Called once by the application's set-up.
void installWheelGuard(QApplication& app);

} // namespace ombrisa
