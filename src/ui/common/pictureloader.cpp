#include "ui/common/pictureloader.h"

#include <QFileInfo>
#include <QImageReader>

namespace ombrisa {

void raisePictureAllocationLimit() {
    QImageReader::setAllocationLimit(kPictureAllocationLimitMb);
}

PictureLoad loadPicture(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const auto failure = [&](const QString& reason) {
        return PictureLoad{QImage(), QStringLiteral("Impossibile leggere l'immagine \"%1\": %2.").arg(name, reason)};
    };
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return failure(QStringLiteral("il file non esiste"));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (!image.isNull())
        return {std::move(image), QString()};
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        return failure(QStringLiteral("il file non esiste"));
    case QImageReader::DeviceError:
        return failure(QStringLiteral("il file non si può aprire"));
    case QImageReader::UnsupportedFormatError:
        return failure(QStringLiteral("il file non contiene un'immagine in un formato riconosciuto"));
    default:
        break;
    }
    // The reader knew the format but could not decode it: damaged data, or a picture larger than the
    // allowance.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > qint64(kPictureAllocationLimitMb) * 1024 * 1024)
        return failure(
            QStringLiteral("l'immagine (%1 × %2 pixel) è troppo grande").arg(size.width()).arg(size.height()));
    return failure(QStringLiteral("il file è danneggiato o incompleto"));
}

} // namespace ombrisa
