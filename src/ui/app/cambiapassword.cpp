#include "ui/app/cambiapassword.h"

#include "ui/common/conventions.h"
#include "ui/common/focuslook.h"
#include "ui/common/keyfilters.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/app/look.h"
#include "ui/app/passwordrules.h"
#include "core/storage/textfield.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace ombrisa {

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmCambiaPassword"));
    setWindowTitle(QStringLiteral(" Cambia password"));
    applyShellLook(this);
    makeFixedWindow(this, 560, 420);
    addTopBand(this, 100);

    imgLogo = new PictureBox(QStringLiteral(":/app/art/title.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(100, 12, 360, 76);

    const QFont labelFont = screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 11, false);
    const QFont boxFont = screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true);
    auto label = [&](const char* name, const QString& text, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(labelFont);
        l->setGeometry(50, y, 460, 24);
        return l;
    };
    auto box = [&](const char* name, int y) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setEchoMode(QLineEdit::Password);
        b->setMaxLength(kPasswordMaxLength);
        b->setFont(boxFont);
        b->setGeometry(50, y, 460, 36);
        connect(b, &QLineEdit::textChanged, this, &TfrmCambiaPassword::updateOK);
        return b;
    };
    lblRigo05 = label("lblRigo05", QStringLiteral("Vecchia password:"), 112);
    txtPasswordOld = box("txtPasswordOld", 138);
    lblRigo06 = label("lblRigo06", QStringLiteral("Nuova password:"), 188);
    txtPasswordNew = box("txtPasswordNew", 214);
    lblRigo07 = label("lblRigo07", QStringLiteral("Conferma nuova password:"), 264);
    txtConferma = box("txtConferma", 290);
    effPasswordOld = addFocusRect(txtPasswordOld);
    effPasswordNew = addFocusRect(txtPasswordNew);
    effConferma = addFocusRect(txtConferma);

    cmdOK = shellButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this, true);
    cmdOK->setGeometry(300, 358, 100, 38);
    cmdOK->setEnabled(false);
    cmdEsci = shellButton(QStringLiteral("cmdEsci"), QStringLiteral("Chiudi"), this);
    cmdEsci->setGeometry(410, 358, 100, 38);

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdOK);
    setTabOrder(cmdOK, cmdEsci);

    new EnterRing({txtPasswordOld, txtPasswordNew, txtConferma}, this);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
}

void TfrmCambiaPassword::updateOK() {
    cmdOK->setEnabled(!trimView(txtPasswordOld->text()).isEmpty() && !trimView(txtPasswordNew->text()).isEmpty() &&
                      !trimView(txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::cmdOKClick() {
    if (!cmdOK->isEnabled())
        return;
    switch (changePassword(txtPasswordOld->text(), txtPasswordNew->text(), txtConferma->text())) {
    case Change::Done:
        showPlain(this, kPasswordChanged);
        close();
        break;
    case Change::OldWrong:
        showPlain(this, kPasswordOldWrong);
        txtPasswordOld->clear();
        txtPasswordOld->setFocus();
        break;
    case Change::NotConfirmed:
        showPlain(this, kPasswordNotConfirmed);
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus();
        break;
    case Change::Failed:
        showPlain(this, kPasswordChangeError);
        break;
    }
}

void TfrmCambiaPassword::cmdEsciClick() {
    close();
}

void TfrmCambiaPassword::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) // the window system restoring it, not the program showing it
        return;
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

} // namespace ombrisa
