#include "ui/app/look.h"

#include "ui/common/conventions.h"

#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace ombrisa {

void applyShellLook(QWidget* window) {
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(0xF2, 0xF6, 0xFA));
    window->setPalette(pal);
    window->setStyleSheet(QStringLiteral(
        "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E4ECF3);"
        "  border: 1px solid #9DB7CC; border-radius: 5px; padding: 6px 14px; color: #1F3B50; font-weight: bold; }"
        "QPushButton:hover { border-color: #408AB3; }"
        "QPushButton:pressed { background: #D4E3EF; }"
        "QPushButton:disabled { color: #9AA8B4; border-color: #C9D5DF; background: #EEF2F5; }"
        "QPushButton[primary=\"true\"] { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4E9AC4,"
        "  stop:1 #2F739B); border-color: #275F80; color: white; }"
        "QPushButton[primary=\"true\"]:pressed { background: #2A6A90; }"
        "QPushButton[primary=\"true\"]:disabled { background: #B5C9D8; border-color: #A6BCCD; color: #EEF3F7; }"));
}

QWidget* addTopBand(QWidget* window, int height) {
    auto* band = new QWidget(window);
    band->setObjectName(QStringLiteral("bkgTop"));
    band->setGeometry(0, 0, window->width(), height);
    band->setStyleSheet(QStringLiteral("#bkgTop { background: white; border-bottom: 3px solid #408AB3; }"));
    band->setAttribute(Qt::WA_StyledBackground);
    band->lower();
    return band;
}

QPushButton* shellButton(const QString& name, const QString& text, QWidget* parent, bool primary) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setProperty("primary", primary);
    button->setAutoDefault(false);
    makeClickable(button);
    return button;
}

} // namespace ombrisa
