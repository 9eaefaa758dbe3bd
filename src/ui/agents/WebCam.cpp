#include "ui/agents/WebCam.h"

#include "core/storage/textfield.h"
#include "ui/agents/agentphoto.h"
#include "ui/common/conventions.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "ui/common/windowguard.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace ombrisa {
namespace {

constexpr int kPictureWidth = 366;
constexpr int kPictureHeight = 274;

// The mode word openWebCam leaves in lblMemory: "Importa foto" hands the picture to the opener.
const QString kModeAgentPhoto = QStringLiteral("euro_01");
const QString kSaveFailed = QStringLiteral("Attenzione: non è stato possibile salvare la foto nel file scelto.");
const QString kCameraFailed = QStringLiteral("Impossibile avviare la webcam.");
const QString kStarting = QStringLiteral("Avvio della webcam in corso...");

// The design picture of both picture boxes and of imgBianco: a camera on a light ground, as a bitmap of
// the boxes' size so that it can be captured, imported and saved like a frame.
QPixmap cameraPicture() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ground(0, 0, 0, kPictureHeight);
    ground.setColorAt(0, QColor(0xfb, 0xfd, 0xff));
    ground.setColorAt(1, QColor(0xd6, 0xe8, 0xf5));
    p.fillRect(image.rect(), ground);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer art(QStringLiteral(":/agents/art/webcam.svg"));
    const int side = 150;
    art.render(&p, QRectF((kPictureWidth - side) / 2.0, (kPictureHeight - side) / 2.0, side, side));
    p.end();
    return QPixmap::fromImage(image);
}

// The format the chosen name's extension gives; JPEG for a name without one, or with one that names no
// format this build writes.
QByteArray formatFor(const QString& path) {
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!suffix.isEmpty() && QImageWriter::supportedImageFormats().contains(suffix))
        return {};
    return QByteArrayLiteral("jpg");
}

QFrame* picturePanel(QWidget* parent, const char* name, PictureBox*& picture, const char* pictureName) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    picture = new PictureBox(panel);
    picture->setObjectName(QString::fromLatin1(pictureName));
    picture->setFixedSize(kPictureWidth, kPictureHeight);
    layout->addWidget(picture);
    return panel;
}

} // namespace

TfrmWebCam::TfrmWebCam(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmWebCam"));
    setWindowTitle(QStringLiteral(" Cattura foto con webcam"));
    setStyleSheet(QStringLiteral(
        "#frmWebCam { background: #eef4f9; }"
        "QFrame#panCamera, QFrame#panTarget { background: #1d2f40; border: 1px solid #9ec0da; border-radius: 6px; }"
        "QLabel#lblAvviso { background: rgba(20, 32, 44, 200); color: white; font: bold 9pt 'Tahoma';"
        " padding: 4px; }"
        "QPushButton { min-height: 24px; padding: 2px 10px; }"));

    auto* root = new QGridLayout(this);
    root->setContentsMargins(12, 12, 12, 12);
    root->setHorizontalSpacing(12);
    root->setVerticalSpacing(10);
    root->setSizeConstraint(QLayout::SetFixedSize); // a fixed-size dialog

    panCamera = picturePanel(this, "panCamera", imgCamera, "imgCamera");
    panTarget = picturePanel(this, "panTarget", imgTarget, "imgTarget");
    root->addWidget(panCamera, 0, 0);
    root->addWidget(panTarget, 0, 1);

    imgBianco = new PictureBox(this);
    imgBianco->setObjectName(QStringLiteral("imgBianco"));
    imgBianco->setFixedSize(kPictureWidth, kPictureHeight);
    imgBianco->setPixmap(cameraPicture());
    imgBianco->hide();
    imgCamera->setPixmap(imgBianco->pixmap());
    imgTarget->setPixmap(imgBianco->pixmap());

    lblAvviso = new QLabel(imgCamera);
    lblAvviso->setObjectName(QStringLiteral("lblAvviso"));
    lblAvviso->setAlignment(Qt::AlignCenter);
    lblAvviso->setWordWrap(true);
    lblAvviso->setGeometry(0, kPictureHeight - 34, kPictureWidth, 34);
    lblAvviso->hide();

    lblMemory = new QLabel(QStringLiteral("lblMemory"), this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    const auto button = [this](QPushButton*& b, const char* name, const char* text) {
        b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
    };
    button(btnAccendi, "btnAccendi", "Accendi webcam");
    button(btnSpegni, "btnSpegni", "Spegni webcam");
    button(btnCattura, "btnCattura", "Cattura foto");
    button(btnSalvaFotogramma, "btnSalvaFotogramma", "Salva foto su disco");
    button(btnImportaFoto, "btnImportaFoto", "Importa foto in scheda");
    button(btnClose, "btnClose", "Annulla");
    auto* left = new QHBoxLayout;
    left->setSpacing(6);
    left->addWidget(btnAccendi);
    left->addWidget(btnSpegni);
    left->addWidget(btnCattura);
    auto* right = new QHBoxLayout;
    right->setSpacing(6);
    right->addWidget(btnSalvaFotogramma);
    right->addWidget(btnImportaFoto);
    right->addWidget(btnClose);
    root->addLayout(left, 1, 0);
    root->addLayout(right, 1, 1);

    connect(btnAccendi, &QPushButton::clicked, this, &TfrmWebCam::btnAccendiClick);
    connect(btnSpegni, &QPushButton::clicked, this, &TfrmWebCam::btnSpegniClick);
    connect(btnCattura, &QPushButton::clicked, this, &TfrmWebCam::btnCatturaClick);
    connect(btnSalvaFotogramma, &QPushButton::clicked, this, &TfrmWebCam::btnSalvaFotogrammaClick);
    connect(btnImportaFoto, &QPushButton::clicked, this, &TfrmWebCam::btnImportaFotoClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmWebCam::btnCloseClick);

    // Frames and failures may be reported on a thread of the camera service: they are always queued to
    // this screen's thread, and the frame is touched only there.
    connect(&frameSource(), &FrameSource::frameReady, this, &TfrmWebCam::showFrame, Qt::QueuedConnection);
    connect(&frameSource(), &FrameSource::failed, this, &TfrmWebCam::cameraFailed, Qt::QueuedConnection);
}

TfrmWebCam::~TfrmWebCam() {
    stopCamera();
}

void TfrmWebCam::showNotice(const QString& text) {
    lblAvviso->setText(text);
    lblAvviso->show();
    lblAvviso->raise();
}

void TfrmWebCam::stopCamera() {
    if (!running_)
        return;
    running_ = false;
    frameSource().stop();
    if (lblAvviso->text() == kStarting)
        lblAvviso->hide();
}

void TfrmWebCam::showFrame(const QImage& frame) {
    // A frame queued before the camera stopped does not replace the last one shown.
    if (!running_ || frame.isNull())
        return;
    lblAvviso->hide();
    imgCamera->setPixmap(QPixmap::fromImage(frame));
}

void TfrmWebCam::cameraFailed(const QString& why) {
    if (!running_)
        return;
    stopCamera();
    showNotice(why.isEmpty() ? kCameraFailed : why);
}

void TfrmWebCam::btnAccendiClick() {
    if (running_)
        return;
    QString why;
    if (!frameSource().start(why)) {
        showNotice(why.isEmpty() ? kCameraFailed : why);
        return;
    }
    running_ = true;
    showNotice(kStarting);
}

void TfrmWebCam::btnSpegniClick() {
    stopCamera();
}

void TfrmWebCam::btnCatturaClick() {
    imgTarget->setPixmap(imgCamera->pixmap().copy());
}

// A picture that cannot be written stays on the screen, so that the user can try another place.
void TfrmWebCam::btnSalvaFotogrammaClick() {
    const QString path = choosePhotoFileToSave(this);
    if (path.isEmpty())
        return;
    if (!writePicture(imgTarget->pixmap().toImage(), path, formatFor(path)))
        showWarning(this, kSaveFailed);
}

void TfrmWebCam::btnImportaFotoClick() {
    stopCamera();
    if (trimText(lblMemory->text()) != kModeAgentPhoto)
        return;
    if (importPhoto_)
        importPhoto_(imgTarget->pixmap());
    accept();
}

void TfrmWebCam::btnCloseClick() {
    stopCamera();
    reject();
}

void TfrmWebCam::done(int result) {
    stopCamera();
    QDialog::done(result);
}

void openWebCam(QWidget* owner, std::function<void(const QPixmap&)> importPhoto) {
    auto* dialog = new TfrmWebCam(owner);
    dialog->setImportPhoto(std::move(importPhoto));
    dialog->lblMemory->setText(kModeAgentPhoto);
    execDialog(dialog);
}

} // namespace ombrisa
