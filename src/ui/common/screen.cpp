#include "ui/common/screen.h"

#include "ui/common/windowguard.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ombrisa {

QFont screenFont(const QString& families, int pointSize, bool bold) {
    QFont font;
    font.setFamilies(families.split(QLatin1Char(','), Qt::SkipEmptyParts));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

void makeFixedWindow(QWidget* window, int width, int height, const QWidget* over) {
    // Only the window's type is kept: no button hint of an earlier call or of the caller survives.
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | (kFixedDialogFlags & ~Qt::WindowType_Mask));
    window->setFixedSize(width, height);
    centreWindow(window, over);
}

void centreWindow(QWidget* window, const QWidget* over) {
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

void showActive(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void maximiseWindow(QWidget* window) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->setWindowState(Qt::WindowMaximized);
}

} // namespace ombrisa
