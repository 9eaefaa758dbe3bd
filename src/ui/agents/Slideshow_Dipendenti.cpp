#include "ui/agents/Slideshow_Dipendenti.h"

#include "ui/agents/Zoom.h"
#include "ui/agents/agentphoto.h"
#include "core/cards/agentcard.h"
#include "core/cards/cardnavigator.h"
#include "ui/common/conventions.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/archivereader.h"
#include "core/storage/recordfile.h" // kArchiveMessage

#include <QFrame>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace ombrisa {

TfrmSlideshow_Dipendenti::TfrmSlideshow_Dipendenti(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSlideshow_Dipendenti"));
    setWindowTitle(QStringLiteral(" Slide show foto agenti"));
    setStyleSheet(QStringLiteral("#frmSlideshow_Dipendenti { background: #1d2f40; }"));
    maximiseWindow(this);

    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    imgFoto = new PictureBox(panContainer);
    imgFoto->setObjectName(QStringLiteral("imgFoto"));
    imgFoto->setClickable(true);
    makeClickable(panContainer);

    imgBianco = new PictureBox(panContainer);
    imgBianco->setObjectName(QStringLiteral("imgBianco"));
    imgBianco->setPixmap(slideshowWaitingPicture());
    imgBianco->hide();

    lblPosizione = new QLabel(panContainer);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->hide();

    cmdAvanti = new QToolButton(panContainer);
    cmdAvanti->setObjectName(QStringLiteral("cmdAvanti"));
    cmdAvanti->hide();

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(6000);

    connect(cmdAvanti, &QToolButton::clicked, this, &TfrmSlideshow_Dipendenti::cmdAvantiClick);
    connect(Timer, &QTimer::timeout, this, &TfrmSlideshow_Dipendenti::cmdAvantiClick);
    connect(imgFoto, &PictureBox::clicked, this, &QDialog::accept);
}

void TfrmSlideshow_Dipendenti::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    placePhotoArea(this, panContainer, imgFoto);
    imgFoto->setPixmap(imgBianco->pixmap());
    Timer->start();
}

void TfrmSlideshow_Dipendenti::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placePhotoArea(this, panContainer, imgFoto);
}

void TfrmSlideshow_Dipendenti::done(int result) {
    Timer->stop();
    QDialog::done(result);
}

void TfrmSlideshow_Dipendenti::cmdAvantiClick() {
    const auto failure = [&] {
        // Shown once: the slideshow stops rather than repeating the message every six seconds.
        Timer->stop();
        showError(this, kArchiveMessage);
    };
    const QString path = appPath(kDipendentiFile);
    // Opening the slideshow creates the archive, as opening the card does.
    const std::optional<std::int64_t> count =
        ensureArchive(path, sizeof(TRecDipendente)) ? countRecords(path, sizeof(TRecDipendente)) : std::nullopt;
    if (!count) {
        failure();
        return;
    }
    const SlideshowStep step = slideshowStep(lblPosizione->text(), *count);
    switch (step.action) {
    case SlideshowStep::Action::EmptyArchive:
        lblPosizione->clear();
        Timer->stop();
        showInformation(this, kEmptyArchiveMessage);
        reject();
        return;
    case SlideshowStep::Action::BadPosition:
        failure();
        return;
    case SlideshowStep::Action::Restart:
        lblPosizione->setText(step.position);
        return;
    case SlideshowStep::Action::Show:
        break;
    }
    // The card's record is read only to move on; its fields are not used.
    TRecDipendente record;
    if (!readRecordAt(path, sizeof record, step.card, &record)) {
        failure();
        return;
    }
    lblPosizione->setText(QString::number(step.card));
    // A photo that cannot be read shows the waiting picture: the card screen says why when the card is
    // shown; a message here would come back every six seconds.
    const PictureLoad photo = readAgentPhoto(lblPosizione->text());
    imgFoto->setPixmap(photo.ok() ? QPixmap::fromImage(photo.image) : imgBianco->pixmap());
}

} // namespace ombrisa
