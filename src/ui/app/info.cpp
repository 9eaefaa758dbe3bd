#include "ui/app/info.h"

#include "ui/common/conventions.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/app/look.h"
#include "ui/app/maker.h"

#include "core/storage/appfolder.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace ombrisa {

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Ombrisa"));
    applyShellLook(this);
    makeFixedWindow(this, 600, 470);
    addTopBand(this, 96);

    imgLogo = new PictureBox(QStringLiteral(":/app/art/title.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(140, 12, 320, 72);

    imgWarning = new PictureBox(QStringLiteral(":/app/art/notice.svg"), this);
    imgWarning->setObjectName(QStringLiteral("imgWarning"));
    imgWarning->setGeometry(30, 112, 540, 240);

    const QString dataFolder = QDir::toNativeSeparators(appFolder());
    lblCartellaDati = new QLabel(this);
    lblCartellaDati->setObjectName(QStringLiteral("lblCartellaDati"));
    lblCartellaDati->setFont(screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 10, false));
    lblCartellaDati->setGeometry(30, 358, 540, 28);
    lblCartellaDati->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCartellaDati->setToolTip(dataFolder);
    const QString caption = QStringLiteral("Cartella dei dati: ");
    const QFontMetrics metrics(lblCartellaDati->font());
    lblCartellaDati->setText(caption + metrics.elidedText(dataFolder, Qt::ElideMiddle,
                                                          lblCartellaDati->width() - metrics.horizontalAdvance(caption)));

    imgEmail = new PictureBox(QStringLiteral(":/app/art/email.svg"), this);
    imgEmail->setObjectName(QStringLiteral("imgEmail"));
    imgEmail->setGeometry(30, 396, 40, 40);
    imgEmail->setClickable(true);
    lnkWeb = new LinkLabel(kMakerEmail, this);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    QFont linkFont = screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 14, false);
    linkFont.setUnderline(true);
    lnkWeb->setFont(linkFont);
    lnkWeb->setGeometry(80, 400, 300, 32);

    btnChiudi = shellButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this, true);
    btnChiudi->setGeometry(450, 398, 120, 38);

    connect(imgEmail, &PictureBox::pressed, lnkWeb, [this] { lnkWeb->setPressedLook(true); });
    connect(imgEmail, &PictureBox::released, lnkWeb, [this] { lnkWeb->setPressedLook(false); });
    connect(imgEmail, &PictureBox::clicked, this, &TfrmInfo::lnkWebClick);
    connect(lnkWeb, &LinkLabel::clicked, this, &TfrmInfo::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmInfo::lnkWebClick() {
    lnkWeb->setPressedLook(false);
    TMisc::Open(QStringLiteral("\"mailto:") + kMakerEmail + QLatin1Char('"'), this);
}

} // namespace ombrisa
