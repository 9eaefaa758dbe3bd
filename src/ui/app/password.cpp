#include "ui/app/password.h"

#include "ui/app/cambiapassword.h"
#include "ui/common/accessibility.h"
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

TfrmPassword::TfrmPassword(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral(" Ombrisa - Autenticazione"));
    applyShellLook(this);
    makeFixedWindow(this, 560, 300);
    addTopBand(this, 100);

    imgLogo = new PictureBox(QStringLiteral(":/app/art/title.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(100, 12, 360, 76);

    lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), this);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    lblRigo05->setFont(screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 11, false));
    lblRigo05->setGeometry(50, 118, 460, 26);

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMaxLength(kPasswordMaxLength);
    txtPassword->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true));
    txtPassword->setGeometry(50, 152, 460, 38);
    effPassword = addFocusRect(txtPassword);

    btnCambiaPassword = shellButton(QStringLiteral("btnCambiaPassword"), QStringLiteral("Cambia password"), this);
    btnCambiaPassword->setGeometry(50, 232, 170, 38);
    cmdOK = shellButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this, true);
    cmdOK->setGeometry(300, 232, 100, 38);
    cmdOK->setEnabled(false);
    cmdEsci = shellButton(QStringLiteral("cmdEsci"), QStringLiteral("Esci"), this);
    cmdEsci->setGeometry(410, 232, 100, 38);

    txtPassword->setAccessibleName(QStringLiteral("Password"));
    // Reading order: the box, then the buttons from left to right.
    chainTabs({txtPassword, btnCambiaPassword, cmdOK, cmdEsci});

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
    // Enter signs in when there is something to check; otherwise it does nothing.
    auto* ring = new EnterRing({txtPassword}, this);
    ring->setAction(txtPassword, [this] {
        if (cmdOK->isEnabled())
            cmdOKClick();
    });
}

void TfrmPassword::setScreens(QWidget* startMenu, TfrmCambiaPassword* changeScreen) {
    startMenu_ = startMenu;
    if (changeScreen_)
        disconnect(changeScreen_, nullptr, this, nullptr);
    changeScreen_ = changeScreen;
    if (changeScreen_)
        connect(changeScreen_, &TfrmCambiaPassword::closed, this, &TfrmPassword::changeScreenClosed);
}

void TfrmPassword::setStartMenuProvider(std::function<QWidget*()> provider) {
    startMenuProvider_ = std::move(provider);
}

void TfrmPassword::txtPasswordChange() {
    cmdOK->setEnabled(!trimView(txtPassword->text()).isEmpty());
}

void TfrmPassword::cmdOKClick() {
    if (trimView(txtPassword->text()).isEmpty())
        return;
    switch (checkPassword(txtPassword->text())) {
    case SignIn::Granted:
        txtPassword->clear();
        if (!startMenu_ && startMenuProvider_)
            startMenu_ = startMenuProvider_();
        if (startMenu_) {
            showActive(startMenu_);
        }
        hide();
        break;
    case SignIn::Wrong:
        showPlain(this, kPasswordWrong);
        txtPassword->clear();
        txtPassword->setFocus();
        break;
    case SignIn::ReadError:
        showPlain(this, kPasswordReadError);
        break;
    }
}

void TfrmPassword::cmdEsciClick() {
    close();
}

void TfrmPassword::btnCambiaPasswordClick() {
    if (!changeScreen_)
        return;
    showActive(changeScreen_);
    hide();
}

void TfrmPassword::changeScreenClosed() {
    txtPassword->clear();
    showActive(this);
    txtPassword->setFocus();
}

void TfrmPassword::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) // the window system restoring it, not the program showing it
        return;
    txtPassword->setFocus();
}

void TfrmPassword::closeEvent(QCloseEvent* event) {
    event->accept();
    emit endRequested();
}

} // namespace ombrisa
