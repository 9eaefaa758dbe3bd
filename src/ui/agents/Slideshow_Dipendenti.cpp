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
#include "core/storage/recordfile.h"

#include <QFrame>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <vector>

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
    TRecordFile file;
    const auto failure = [&] {
        file.Close();
        // Shown once: the slideshow stops rather than repeating the message every six seconds.
        Timer->stop();
        showError(this, kArchiveMessage);
    };
    if (!file.OpenOrCreate(appPath(kDipendentiFile), sizeof(TRecDipendente), TRecordFile::Access::Read)) {
        failure();
        return;
    }
    const SlideshowStep step = slideshowStep(lblPosizione->text(), file.Count());
    switch (step.action) {
    case SlideshowStep::Action::EmptyArchive:
        lblPosizione->clear();
        file.Close();
        Timer->stop();
        showInformation(this, kEmptyArchiveMessage);
        reject();
        return;
    case SlideshowStep::Action::BadPosition:
        failure();
        return;
    case SlideshowStep::Action::Restart:
        lblPosizione->setText(step.position);
        file.Close();
        return;
    case SlideshowStep::Action::Show:
        break;
    }
    // The card's record is read only to move on; its fields are not used.
    std::vector<std::uint8_t> record(sizeof(TRecDipendente));
    if (!file.Seek(step.card - 1) || !file.ReadRecord(static_cast<void*>(record.data()))) {
        failure();
        return;
    }
    lblPosizione->setText(QString::number(file.Position()));
    if (!file.Close()) {
        failure();
        return;
    }
    // A photo that cannot be read shows the waiting picture: the card screen says why when the card is
    // shown; a message here would come back every six seconds.
    const PictureLoad photo = readAgentPhoto(lblPosizione->text());
    imgFoto->setPixmap(photo.ok() ? QPixmap::fromImage(photo.image) : imgBianco->pixmap());
}

} // namespace ombrisa
