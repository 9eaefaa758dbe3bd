#include "ui/agents/agentphoto.h"
#include "ui/common/services.h"

#include "core/records/archivepaths.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

namespace ombrisa {

QString choosePhotoFileToSave(QWidget* parent) {
    return fileChooser().saveFile(
        parent, QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."),
        QStringLiteral("Foto.jpg"), QStringLiteral("File Jpeg (*.jpg)"), QStringLiteral("jpg"));
}
namespace {

QPixmap renderArt(const QString& art, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(art);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return QPixmap::fromImage(image);
}

// JPEG quality of the photo files and of photos written to disk.
constexpr int kJpegQuality = 90;

} // namespace

QPixmap blankAgentPhoto() {
    static const QPixmap blank = renderArt(QStringLiteral(":/agents/art/bianco.svg"), {kPhotoWidth, kPhotoHeight});
    return blank;
}

QPixmap slideshowWaitingPicture() {
    static const QPixmap waiting = renderArt(QStringLiteral(":/agents/art/attesa.svg"), {480, 360});
    return waiting;
}

bool writePicture(const QImage& picture, const QString& path, const QByteArray& format) {
    if (picture.isNull() || path.isEmpty())
        return false;
    const QByteArray fmt = format.isEmpty() ? QFileInfo(path).suffix().toLower().toLatin1() : format;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, fmt);
    if (fmt == "jpg" || fmt == "jpeg")
        writer.setQuality(kJpegQuality);
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

PictureLoad readAgentPhoto(const QString& cardNumber) {
    ensureAppSubfolder(kAnagraficaFolder);
    const QString path = photoPath(cardNumber);
    if (!QFileInfo::exists(path))
        return {};
    return loadPicture(path);
}

bool writeAgentPhoto(const QImage& picture, const QString& cardNumber) {
    ensureAppSubfolder(kAnagraficaFolder);
    return writePicture(picture, photoPath(cardNumber), QByteArrayLiteral("jpg"));
}

bool agentPhotoExists(const QString& cardNumber) {
    return QFileInfo::exists(photoPath(cardNumber));
}

} // namespace ombrisa
