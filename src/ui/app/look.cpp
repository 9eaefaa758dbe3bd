#include "ui/app/look.h"

#include "ui/common/conventions.h"
#include "ui/common/dialoglook.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace ombrisa {

void applyShellLook(QWidget* window) {
    applyDialogLook(window);
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

QLabel* textOverPicture(const QString& text, int pixels, bool bold, const QString& colour, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Verdana")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; background: transparent; }").arg(colour));
    return label;
}

} // namespace ombrisa
