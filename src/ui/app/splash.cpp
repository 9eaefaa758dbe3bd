#include "ui/app/splash.h"

#include "ui/common/conventions.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/app/look.h"
#include "ui/app/maker.h"

#include "core/version.h"

#include <QPushButton>

namespace ombrisa {

TfrmSplash::TfrmSplash(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral(" Ombrisa - ") + kCopyrightNotice);
    applyShellLook(this);
    makeFixedWindow(this, 640, 470, parent ? parent->window() : nullptr);

    imgLogo = new PictureBox(QStringLiteral(":/app/art/splash.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(0, 0, 640, 380);
    lblVersione = textOverPicture(QStringLiteral("Versione %1 · ").arg(programVersion()) + kCopyrightNotice, 13, false,
                                  QStringLiteral("#CFE1EE"), imgLogo);
    lblVersione->setObjectName(QStringLiteral("lblVersione"));
    lblVersione->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblVersione->setGeometry(0, 338, 640, 20);

    imgWeb = new PictureBox(QStringLiteral(":/app/art/web.svg"), this);
    imgWeb->setObjectName(QStringLiteral("imgWeb"));
    imgWeb->setGeometry(30, 400, 40, 40);
    imgWeb->setClickable(true);
    lnkWeb = new LinkLabel(kMakerWebText, this);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    QFont linkFont = screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 14, false);
    linkFont.setUnderline(true);
    lnkWeb->setFont(linkFont);
    lnkWeb->setGeometry(80, 404, 300, 32);

    btnChiudi = shellButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this, true);
    btnChiudi->setGeometry(490, 402, 120, 38);

    connect(imgWeb, &PictureBox::pressed, lnkWeb, [this] { lnkWeb->setPressedLook(true); });
    connect(imgWeb, &PictureBox::released, lnkWeb, [this] { lnkWeb->setPressedLook(false); });
    connect(imgWeb, &PictureBox::clicked, this, &TfrmSplash::lnkWebClick);
    connect(lnkWeb, &LinkLabel::clicked, this, &TfrmSplash::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSplash::lnkWebClick() {
    lnkWeb->setPressedLook(false);
    TMisc::Open(kMakerWebAddress, this);
}

} // namespace ombrisa
