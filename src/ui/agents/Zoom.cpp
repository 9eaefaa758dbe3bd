#include "ui/agents/Zoom.h"

#include "ui/common/conventions.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace ombrisa {

void placePhotoArea(QWidget* window, QWidget* container, QWidget* picture) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : window->size();
    const QSize area(std::max(1, screenSize.width() - 60), std::max(1, screenSize.height() - 90));
    // Centred in the window; a window smaller than the area (not yet maximised) gets it from its corner.
    const int x = std::max(0, (window->width() - area.width()) / 2);
    const int y = std::max(0, (window->height() - area.height()) / 2);
    container->setGeometry(x, y, area.width(), area.height());
    picture->setGeometry(0, 0, area.width(), area.height());
}

TfrmZoom::TfrmZoom(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setStyleSheet(QStringLiteral("#frmZoom { background: #1d2f40; }"));
    maximiseWindow(this);

    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    imgFoto = new PictureBox(panContainer);
    imgFoto->setObjectName(QStringLiteral("imgFoto"));
    imgFoto->setClickable(true);
    makeClickable(panContainer);

    connect(imgFoto, &PictureBox::clicked, this, &QDialog::accept);
}

void TfrmZoom::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placePhotoArea(this, panContainer, imgFoto);
}

void TfrmZoom::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placePhotoArea(this, panContainer, imgFoto);
}

} // namespace ombrisa
