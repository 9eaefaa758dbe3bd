#include "ui/reports/cardreportdialog.h"

#include "ui/common/conventions.h"
#include "report/layouts/pictures.h"
#include "ui/common/windowguard.h"
#include "ui/reports/controltexts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace ombrisa {

CardReportDialog::CardReportDialog(QWidget* screen, const QString& caption, const QString& actionText)
    : QDialog(screen, kFixedDialogFlags) {
    setWindowTitle(caption);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setStyleSheet(QStringLiteral("#panContainer { background: white; border: 1px solid #b0c4de; }"));
    imgLogo01 = new QLabel(panel);
    imgLogo01->setObjectName(QStringLiteral("imgLogo01"));
    imgLogo01->setPixmap(
        QPixmap::fromImage(report::productLogo()).scaled(128, 98, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    imgLogo01->setAlignment(Qt::AlignCenter);

    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), panel);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnStampa = new QPushButton(actionText, panel);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    btnStampa->setDefault(true);
    for (QPushButton* b : {btnAnnulla, btnStampa}) {
        b->setMinimumSize(130, 32);
        makeClickable(b);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnStampa);
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(20, 16, 20, 16);
    inner->setSpacing(14);
    inner->addWidget(imgLogo01);
    inner->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 18, 18, 18);
    outer->addWidget(panel);

    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnStampa, &QPushButton::clicked, this, [this] {
        btnStampaClick();
        accept();
    });
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

report::FieldTexts CardReportDialog::currentTexts() const {
    return controlTexts(parentWidget());
}

void CardReportDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0x46, 0x82, 0xB4)); // steel blue
    gradient.setColorAt(1, Qt::white);
    p.fillRect(rect(), gradient);
}

} // namespace ombrisa
