#include "ui/validators/checkdialog.h"

#include "ui/common/conventions.h"
#include "ui/common/dialoglook.h"
#include "ui/common/keyfilters.h"
#include "ui/common/services.h"
#include "core/storage/textfield.h"
#include "ui/common/windowguard.h"

#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

QLineEdit* makeCodeBox(const CodeCheckDialog::Setup& setup) {
    auto* box = new QLineEdit;
    box->setObjectName(setup.boxName);
    QFont font(QStringLiteral("Courier New"), 20, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    box->setFont(font);
    box->setMaxLength(setup.maxLength);
    // Room for the longest code the box takes, plus the frame.
    const QFontMetrics metrics(font);
    box->setMinimumWidth(metrics.horizontalAdvance(QString(setup.maxLength, u'W')) + 24);
    return box;
}

} // namespace

CodeCheckDialog::CodeCheckDialog(QWidget* parent, const Setup& setup)
    : QDialog(parent, kFixedDialogFlags), lblTitolo(new QLabel),
      btnControlla(new QPushButton(QStringLiteral("Controlla"))), btnChiudi(new QPushButton(QStringLiteral("Chiudi"))),
      box_(makeCodeBox(setup)), check_(setup.check) {
    setObjectName(setup.objectName);
    setWindowTitle(setup.caption);

    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setText(setup.instruction);
    btnControlla->setObjectName(QStringLiteral("btnControlla"));
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    applyDialogLook(this);
    btnControlla->setProperty("primary", true);
    // Enter in the box only moves to "Controlla"; Enter on a button presses that button.
    btnControlla->setAutoDefault(true);
    btnChiudi->setAutoDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnControlla);
    buttons->addWidget(btnChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addWidget(lblTitolo);
    layout->addWidget(box_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed border

    if (setup.typing != Typing::Digits)
        installTypingFilter(box_, TypingFilter::TrimUpper);
    if (setup.typing != Typing::TrimUpper)
        installDigitOnlyFilter(box_);
    auto* ring = new EnterRing({box_}, this);
    ring->setAction(box_, [this] { btnControlla->setFocus(Qt::OtherFocusReason); });

    connect(btnControlla, &QPushButton::clicked, this, &CodeCheckDialog::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &CodeCheckDialog::btnChiudiClick);
    setTabOrder(box_, btnControlla);
    setTabOrder(btnControlla, btnChiudi);
    box_->setFocus(Qt::OtherFocusReason);
}

void CodeCheckDialog::setFieldText(const QString& text) {
    const QString code = trimText(text);
    if (code.size() > box_->maxLength())
        box_->setMaxLength(static_cast<int>(code.size()));
    box_->setText(code);
}

void CodeCheckDialog::btnControllaClick() {
    const CheckOutcome outcome = check_(box_->text());
    if (outcome.kind() == CheckMessageKind::Information)
        showInformation(this, outcome.text);
    else
        showWarning(this, outcome.text);
    if (outcome.closesDialog())
        accept();
    else
        box_->setFocus(Qt::OtherFocusReason);
}

void CodeCheckDialog::btnChiudiClick() {
    reject();
}

} // namespace ombrisa
