// The production frame source: the platform's default video input through Qt Multimedia.

#include "ui/common/services.h"

#include <QCamera>
#include <QCameraDevice>
#include <QCoreApplication>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPointer>
#include <QVideoFrame>
#include <QVideoSink>
#include <memory>

namespace ombrisa {
namespace {

const QString kNoCamera = QStringLiteral("Nessuna webcam trovata.");
const QString kCameraFailed = QStringLiteral("Impossibile avviare la webcam.");

class QtCameraSource final : public FrameSource {
public:
    explicit QtCameraSource(QObject* parent) : FrameSource(parent) {
        session_.setVideoSink(&sink_);
        // The sink may report frames on a thread of the camera service: the frame becomes a picture
        // there, and frameReady carries it on (to receivers on their own threads).
        connect(
            &sink_, &QVideoSink::videoFrameChanged, this,
            [this](const QVideoFrame& frame) {
                if (!frame.isValid())
                    return;
                const QImage picture = frame.toImage();
                if (!picture.isNull())
                    emit frameReady(picture);
            },
            Qt::DirectConnection);
    }

    bool start(QString& whyNot) override {
        const QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull()) {
            whyNot = kNoCamera;
            return false;
        }
        if (!camera_ || camera_->cameraDevice() != device) {
            session_.setCamera(nullptr);
            camera_ = std::make_unique<QCamera>(device);
            connect(camera_.get(), &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString&) {
                if (error != QCamera::NoError)
                    emit failed(kCameraFailed);
            });
            session_.setCamera(camera_.get());
        }
        camera_->start();
        if (camera_->error() != QCamera::NoError) {
            whyNot = kCameraFailed;
            return false;
        }
        return true;
    }

    void stop() override {
        if (camera_)
            camera_->stop();
    }

private:
    QMediaCaptureSession session_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
};

QPointer<FrameSource> gProductionSource;
FrameSource* gFrameSource = nullptr;

} // namespace

FrameSource& frameSource() {
    if (gFrameSource)
        return *gFrameSource;
    // Made on first use, on the user-interface thread, and owned by the application object.
    if (!gProductionSource)
        gProductionSource = new QtCameraSource(QCoreApplication::instance());
    return *gProductionSource;
}

void setFrameSource(FrameSource* source) {
    gFrameSource = source;
}

} // namespace ombrisa
