#include "ui/common/windowguard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace ombrisa {

bool mayStayMinimised(const QWidget* window) {
    return window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
}

namespace {

class MinimiseGuard final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowStateChange || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || !window->isMinimized() || mayStayMinimised(window))
            return false;
        // After the window manager has finished minimising: a state changed inside its own change is lost.
        QTimer::singleShot(0, window, [window] {
            if (!window->isMinimized())
                return;
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            if (window->isVisible()) {
                window->show();
                window->raise();
                window->activateWindow();
            }
        });
        return false;
    }
};

} // namespace

void installMinimiseGuard(QApplication& app) {
    app.installEventFilter(new MinimiseGuard(&app));
}

} // namespace ombrisa
