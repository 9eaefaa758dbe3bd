#include "ui/app/guida.h"

#include "ui/common/conventions.h"
#include "ui/common/helptexts.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/app/look.h"
#include "core/storage/datafolder.h"

#include <QCoreApplication>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ombrisa {

TfrmGuida::TfrmGuida(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGuida"));
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    applyShellLook(this);
    makeFixedWindow(this, 780, 620);
    addTopBand(this, 96);

    imgLogo = new PictureBox(QStringLiteral(":/app/art/title.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(230, 12, 320, 72);

    lblTitolo = new QLabel(QStringLiteral("Argomento della guida"), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(screenFont(QStringLiteral("Arial,Liberation Sans,DejaVu Sans"), 16, true));
    lblTitolo->setStyleSheet(QStringLiteral("color: #DC143C;"));
    lblTitolo->setGeometry(30, 108, 720, 34);

    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 12, true));
    txtGuida->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { background: white; border: 1px solid #9DB7CC; padding: 6px; color: #1F2F3C; }"));
    txtGuida->setGeometry(30, 148, 720, 384);

    imgPDF = new PictureBox(QStringLiteral(":/app/art/pdf.svg"), this);
    imgPDF->setObjectName(QStringLiteral("imgPDF"));
    imgPDF->setGeometry(30, 548, 40, 40);
    imgPDF->setClickable(true);
    lnkWeb = new LinkLabel(QStringLiteral("Visualizza guida in formato PDF"), this);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    QFont linkFont = screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 14, false);
    linkFont.setUnderline(true);
    lnkWeb->setFont(linkFont);
    lnkWeb->setGeometry(80, 552, 420, 32);

    btnChiudi = shellButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this, true);
    btnChiudi->setGeometry(630, 550, 120, 38);

    connect(imgPDF, &PictureBox::pressed, lnkWeb, [this] { lnkWeb->setPressedLook(true); });
    connect(imgPDF, &PictureBox::released, lnkWeb, [this] { lnkWeb->setPressedLook(false); });
    connect(imgPDF, &PictureBox::clicked, this, &TfrmGuida::lnkWebClick);
    connect(lnkWeb, &LinkLabel::clicked, this, &TfrmGuida::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmGuida::setHelp(const QString& title, const QString& text) {
    text_ = text;
    lblTitolo->setText(title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtGuida->setPlainText(shown);
}

void TfrmGuida::lnkWebClick() {
    lnkWeb->setPressedLook(false);
    // The guide belongs to the program, not to the data: beside the executable or in the installation.
    TMisc::Open(QLatin1Char('"') + userGuidePath(QCoreApplication::applicationDirPath()) + QLatin1Char('"'), this);
}

void showHelp(QWidget* owner, const QString& title, const QStringList& paragraphs) {
    auto* help = new TfrmGuida(owner);
    help->setHelp(title, joinHelp(paragraphs));
    execDialog(help);
}

} // namespace ombrisa
