#pragma once

// The one way the program reads picture files (photos chosen by the user, the agents' photo files).
// Photos from today's cameras and phones (48 megapixels and more) are larger than Qt's default reader
// allowance, so start-up raises it for every reader of the program; a picture that still cannot be read
// comes back with an Italian line that says why, never as a silent empty picture.

#include <QImage>
#include <QString>

namespace ombrisa {

// The most memory one decoded picture may take, in megabytes: 1 GB holds a 250-megapixel picture at
// 32 bits per pixel, beyond any camera photo, while a broken or hostile file still cannot make the
// reader ask for an absurd amount.
inline constexpr int kPictureAllocationLimitMb = 1024;

// Sets kPictureAllocationLimitMb as the allowance of every QImageReader in the process. Called once by
// the application's set-up.
void raisePictureAllocationLimit();

struct PictureLoad {
    QImage image;  // the picture at its full size, turned as the camera recorded; null on failure
    QString error; // empty on success, else one Italian line naming the file and the reason
    bool ok() const { return !image.isNull(); }
};

// Reads the picture in `path`, decoded by its content (JPEG, Bitmap or any other format this build
// reads) whatever its extension says.
PictureLoad loadPicture(const QString& path);

} // namespace ombrisa
