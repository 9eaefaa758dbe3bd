#pragma once

// The photo capture screen: the live picture of the default camera on the left, the captured picture on
// the right. The captured picture can be written to a JPEG file or put into the agent card's photo box.
// Frames come from the frame source service (ui/common/services.h) on any thread and are shown only on
// the user-interface thread. Without a camera the screen says so on the live picture and keeps working.

#include <QDialog>
#include <functional>

class QFrame;
class QImage;
class QLabel;
class QPixmap;
class QPushButton;

namespace ombrisa {

class PictureBox;

class TfrmWebCam : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWebCam(QWidget* parent = nullptr);
    ~TfrmWebCam() override;

    QFrame* panCamera;
    QFrame* panTarget;
    // The live picture (at design: the camera picture) and the captured picture, shown scaled to fit.
    PictureBox* imgCamera;
    PictureBox* imgTarget;
    // Hidden: the blank picture, the same camera picture as imgCamera at design.
    PictureBox* imgBianco;
    // The line over the live picture that says why there is no live image (no camera, camera failed).
    QLabel* lblAvviso;
    // Hidden: the caller's mode word; "euro_01" sends the import to the opener's photo (setImportPhoto).
    QLabel* lblMemory;
    QPushButton* btnAccendi;
    QPushButton* btnSpegni;
    QPushButton* btnCattura;
    QPushButton* btnSalvaFotogramma;
    QPushButton* btnImportaFoto;
    QPushButton* btnClose;

    bool cameraRunning() const { return running_; }
    // What "Importa foto" hands the captured picture to, in mode "euro_01".
    void setImportPhoto(std::function<void(const QPixmap&)> importPhoto) { importPhoto_ = std::move(importPhoto); }

    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();

    void done(int result) override; // every way out stops the camera

private:
    void showFrame(const QImage& frame);
    void cameraFailed(const QString& why);
    void showNotice(const QString& text);
    void stopCamera();

    bool running_ = false;
    std::function<void(const QPixmap&)> importPhoto_;
};

// btnWebcam of the agent card: opens the capture screen over `owner` with the mode word "euro_01";
// "Importa foto" hands the captured picture to `importPhoto`.
void openWebCam(QWidget* owner, std::function<void(const QPixmap&)> importPhoto);

} // namespace ombrisa
