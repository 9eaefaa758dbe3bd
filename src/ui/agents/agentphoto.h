#pragma once

// Pictures of the agent card: the photo files in "Anagrafica", pictures chosen by the user, the blank
// picture of the card and the slideshow's waiting picture.

#include "ui/common/pictureloader.h"

#include <QImage>
#include <QPixmap>
#include <QString>

class QWidget;

namespace ombrisa {

// The size of the card's photo box and of its blank picture.
inline constexpr int kPhotoWidth = 307;
inline constexpr int kPhotoHeight = 394;

// The picture shown when a card has no photo: what the card's hidden imgBianco holds (drawn at the
// photo box's size, so that it can be saved as a photo file like any other picture).
QPixmap blankAgentPhoto();
// The picture the slideshow shows until the first photo and for a photo that cannot be loaded.
QPixmap slideshowWaitingPicture();

// Writes `picture` to `path` in `format` ("jpg", "bmp"...; empty: the format that the file's extension
// names). The file is replaced only when the whole picture was written: a failed write leaves any
// earlier file as it was. False when the picture could not be written.
bool writePicture(const QImage& picture, const QString& path, const QByteArray& format = {});

// The save chooser of a photo (the card's btnSalvaFoto and the capture screen's btnSalvaFotogramma):
// "Foto.jpg" proposed, ".jpg" added to a name typed without extension; empty when cancelled.
QString choosePhotoFileToSave(QWidget* parent);

// The photo file of agent card `cardNumber` (Anagrafica/Scheda_Dipendente_<n>.jpg): the folder is created
// first, as before every load and save of a photo. Read: the photo at its full size; a card without a
// photo file gives a null image and no error; a file that cannot be read, a null image and its message.
// Write: JPEG, replacing the file; false when it could not be written.
PictureLoad readAgentPhoto(const QString& cardNumber);
bool writeAgentPhoto(const QImage& picture, const QString& cardNumber);
// Whether card `cardNumber` has a photo file (decodable or not).
bool agentPhotoExists(const QString& cardNumber);

} // namespace ombrisa
