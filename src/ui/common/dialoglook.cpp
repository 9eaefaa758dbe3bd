#include "ui/common/dialoglook.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace ombrisa {

void applyDialogLook(QWidget* window) {
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(0xF2, 0xF6, 0xFA));
    window->setPalette(pal);
    window->setStyleSheet(QStringLiteral(
        "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E4ECF3);"
        "  border: 1px solid #9DB7CC; border-radius: 5px; padding: 6px 14px; color: #1F3B50; font-weight: bold; }"
        "QPushButton:hover { border-color: #408AB3; }"
        "QPushButton:focus { border: 2px solid #408AB3; }"
        "QPushButton:pressed { background: #D4E3EF; }"
        "QPushButton:disabled { color: #9AA8B4; border-color: #C9D5DF; background: #EEF2F5; }"
        "QPushButton[primary=\"true\"] { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4E9AC4,"
        "  stop:1 #2F739B); border-color: #275F80; color: white; }"
        "QPushButton[primary=\"true\"]:focus { border: 2px solid #1F4A66; }"
        "QPushButton[primary=\"true\"]:pressed { background: #2A6A90; }"
        "QPushButton[primary=\"true\"]:disabled { background: #B5C9D8; border-color: #A6BCCD; color: #EEF3F7; }"
        "QMessageBox QLabel { color: #1F3B50; }"
        "QMessageBox QPushButton { min-width: 80px; }"));
}

void applyMessageBoxLook(QMessageBox& box) {
    // The button Enter presses: the one given, else the one the box itself would choose when shown.
    QPushButton* main = box.defaultButton();
    for (QAbstractButton* button : box.buttons()) {
        const QMessageBox::ButtonRole role = box.buttonRole(button);
        if (!main && (role == QMessageBox::AcceptRole || role == QMessageBox::YesRole))
            main = qobject_cast<QPushButton*>(button);
    }
    if (main)
        box.setDefaultButton(main);
    for (QAbstractButton* button : box.buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            push->setProperty("primary", push == main);
            push->setIcon(QIcon()); // words only, as on the program's other buttons
        }
    }
    // Last: the style sheet reads the buttons' properties when it is applied.
    applyDialogLook(&box);
}

} // namespace ombrisa
