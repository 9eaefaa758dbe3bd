#include "ui/common/wheelguard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>

namespace ombrisa {

bool wheelMayChange(const QWidget* widget) {
    if (!qobject_cast<const QComboBox*>(widget) && !qobject_cast<const QAbstractSpinBox*>(widget))
        return true;
    if (widget->hasFocus())
        return true;
    const QWidget* focused = QApplication::focusWidget();
    return focused && widget->isAncestorOf(focused);
}

namespace {

class WheelGuard final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A wheel over a box's inner line edit reaches the box itself next, and is judged there.
        if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
            !wheelMayChange(static_cast<QWidget*>(watched))) {
            event->ignore();
            return true;
        }
        return false;
    }
};

} // namespace

void installWheelGuard(QApplication& app) {
    app.installEventFilter(new WheelGuard(&app));
}

} // namespace ombrisa
