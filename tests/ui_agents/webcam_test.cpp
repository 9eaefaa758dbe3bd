// The photo capture screen opened from the agent card, with the test frame source: frames sent from
// another thread, capture, import, cancel, saving the picture, and a machine without a camera.

#include "agentstestutil.h"
#include "ui/agents/Dipendenti.h"
#include "ui/agents/WebCam.h"
#include "ui/common/picturebox.h"

#include <QApplication>
#include <QCameraDevice>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>
#include <thread>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

QImage frame(QColor colour) {
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool samePixels(const QImage& a, const QImage& b) {
    return !a.isNull() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

QImage shown(const PictureBox* box) {
    return box->pixmap().toImage();
}

class WebCamTest : public AgentsTest {
protected:
    std::unique_ptr<TfrmDipendenti> card;

    void SetUp() override {
        AgentsTest::SetUp();
        card = std::make_unique<TfrmDipendenti>();
        card->importPhoto(QPixmap::fromImage(testPortrait()));
    }
    void TearDown() override {
        card.reset();
        AgentsTest::TearDown();
    }

    // Clicks btnWebcam of the card and runs `steps` on the capture screen.
    void capture(std::function<void(TfrmWebCam&)> steps) {
        dialogs.expect(QStringLiteral("frmWebCam"), [steps](QDialog& d) {
            auto* screen = qobject_cast<TfrmWebCam*>(&d);
            ASSERT_NE(screen, nullptr);
            EXPECT_EQ(screen->lblMemory->text(), QStringLiteral("euro_01"));
            EXPECT_FALSE(screen->cameraRunning());
            steps(*screen);
        });
        card->btnWebcam->click();
        dialogs.verifyAllShown();
    }
    // Sends a frame from a thread of its own, as the camera service does, and waits for that thread.
    void deliverFromAnotherThread(const QImage& picture) {
        std::thread sender([this, picture] { camera.deliver(picture); });
        sender.join();
    }
    static void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
};

TEST_F(WebCamTest, FramesFromAnotherThreadAreShownOnTheUserInterfaceThreadAndCaptureIsACopy) {
    camera.present = true;
    const QImage red = frame(QColor(200, 30, 30));
    const QImage blue = frame(QColor(30, 30, 200));
    capture([&](TfrmWebCam& w) {
        const QImage design = shown(w.imgBianco);
        EXPECT_TRUE(samePixels(shown(w.imgCamera), design));
        click(w.btnAccendi);
        EXPECT_EQ(camera.starts, 1);
        EXPECT_TRUE(w.cameraRunning());
        EXPECT_TRUE(w.lblAvviso->isVisible()); // "starting" until the first frame

        deliverFromAnotherThread(red);
        // The sending thread has finished, and the picture has not been touched: the frame waits for
        // the user-interface thread.
        EXPECT_TRUE(samePixels(shown(w.imgCamera), design));
        QTRY_VERIFY(samePixels(shown(w.imgCamera), red));
        EXPECT_FALSE(w.lblAvviso->isVisible());

        click(w.btnCattura);
        EXPECT_TRUE(samePixels(shown(w.imgTarget), red));
        deliverFromAnotherThread(blue);
        QTRY_VERIFY(samePixels(shown(w.imgCamera), blue));
        EXPECT_TRUE(samePixels(shown(w.imgTarget), red)); // later frames do not change the capture

        // Stopped, the live picture keeps the last frame, even against a frame already on its way.
        deliverFromAnotherThread(red);
        click(w.btnSpegni);
        EXPECT_EQ(camera.stops, 1);
        EXPECT_FALSE(w.cameraRunning());
        QApplication::processEvents();
        EXPECT_TRUE(samePixels(shown(w.imgCamera), blue));

        click(w.btnClose);
        EXPECT_FALSE(w.isVisible());
    });
}

TEST_F(WebCamTest, ImportBeforeAnyCapturePutsTheDesignPictureIntoTheCard) {
    camera.present = true;
    QImage design;
    capture([&](TfrmWebCam& w) {
        design = shown(w.imgTarget);
        click(w.btnAccendi);
        deliverFromAnotherThread(frame(Qt::green));
        QTRY_VERIFY(samePixels(shown(w.imgCamera), frame(Qt::green)));
        click(w.btnImportaFoto);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Accepted);
    });
    EXPECT_EQ(camera.stops, 1); // the import stops the camera
    EXPECT_FALSE(camera.running);
    EXPECT_TRUE(samePixels(shown(card->imgFoto), design));
}

TEST_F(WebCamTest, ImportAfterACapturePutsTheCapturedPictureIntoTheCard) {
    camera.present = true;
    const QImage picture = frame(QColor(10, 120, 90));
    capture([&](TfrmWebCam& w) {
        click(w.btnAccendi);
        deliverFromAnotherThread(picture);
        QTRY_VERIFY(samePixels(shown(w.imgCamera), picture));
        click(w.btnCattura);
        click(w.btnImportaFoto);
    });
    EXPECT_TRUE(samePixels(shown(card->imgFoto), picture));
}

TEST_F(WebCamTest, AnnullaAfterACaptureLeavesTheCardsPhotoAndStopsTheCamera) {
    camera.present = true;
    const QImage before = shown(card->imgFoto);
    capture([&](TfrmWebCam& w) {
        click(w.btnAccendi);
        deliverFromAnotherThread(frame(Qt::yellow));
        QTRY_VERIFY(samePixels(shown(w.imgCamera), frame(Qt::yellow)));
        click(w.btnCattura);
        click(w.btnClose);
        EXPECT_EQ(w.result(), QDialog::Rejected);
    });
    EXPECT_EQ(camera.stops, 1);
    EXPECT_FALSE(camera.running);
    EXPECT_TRUE(samePixels(shown(card->imgFoto), before));
}

TEST_F(WebCamTest, WithoutACameraTheScreenSaysSoAndCaptureCopiesThePictureShown) {
    QImage design;
    capture([&](TfrmWebCam& w) {
        design = shown(w.imgCamera);
        EXPECT_FALSE(w.lblAvviso->isVisible());
        click(w.btnAccendi);
        EXPECT_EQ(camera.starts, 1);
        EXPECT_FALSE(w.cameraRunning());
        EXPECT_TRUE(w.lblAvviso->isVisible());
        EXPECT_EQ(w.lblAvviso->text(), QStringLiteral("Nessuna webcam trovata."));
        EXPECT_EQ(w.lblAvviso->parentWidget(), w.imgCamera); // on the live picture

        click(w.btnCattura);
        EXPECT_TRUE(samePixels(shown(w.imgTarget), shown(w.imgBianco)));
        click(w.btnImportaFoto);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_TRUE(samePixels(shown(card->imgFoto), design));
    EXPECT_FALSE(samePixels(shown(card->imgFoto), testPortrait()));
}

TEST_F(WebCamTest, ACameraThatFailsAfterStartingSaysSoAndKeepsTheLastFrame) {
    camera.present = true;
    capture([&](TfrmWebCam& w) {
        click(w.btnAccendi);
        deliverFromAnotherThread(frame(Qt::cyan));
        QTRY_VERIFY(samePixels(shown(w.imgCamera), frame(Qt::cyan)));
        std::thread failing([this] { camera.fail(QStringLiteral("Impossibile avviare la webcam.")); });
        failing.join();
        QTRY_VERIFY(w.lblAvviso->isVisible());
        EXPECT_EQ(w.lblAvviso->text(), QStringLiteral("Impossibile avviare la webcam."));
        EXPECT_FALSE(w.cameraRunning());
        EXPECT_TRUE(samePixels(shown(w.imgCamera), frame(Qt::cyan)));
        click(w.btnClose);
    });
}

// ---- saving the captured picture ------------------------------------------------------------------

TEST_F(WebCamTest, SaveWritesAJpegAndANameWithoutExtensionGetsJpg) {
    camera.present = true;
    const QImage picture = testPortrait(QColor(90, 20, 160));
    capture([&](TfrmWebCam& w) {
        click(w.btnAccendi);
        deliverFromAnotherThread(picture);
        QTRY_VERIFY(samePixels(shown(w.imgCamera), picture));
        click(w.btnCattura);
        files.expectSave(path(QStringLiteral("scatto")));
        click(w.btnSalvaFotogramma);
        EXPECT_EQ(files.captions.value(0),
                  QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
        EXPECT_EQ(files.suggested.value(0), QStringLiteral("Foto.jpg"));
        EXPECT_TRUE(w.cameraRunning()); // the camera keeps its state
        files.expectSave(QString());    // cancelled: nothing written
        click(w.btnSalvaFotogramma);
        click(w.btnClose);
    });
    QImageReader reader(path(QStringLiteral("scatto.jpg")));
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_TRUE(samePicture(reader.read(), picture));
}

TEST_F(WebCamTest, ASaveThatFailsSaysSoAndKeepsTheCapturedPicture) {
    camera.present = true;
    const QImage picture = frame(QColor(250, 140, 0));
    capture([&](TfrmWebCam& w) {
        click(w.btnAccendi);
        deliverFromAnotherThread(picture);
        QTRY_VERIFY(samePixels(shown(w.imgCamera), picture));
        click(w.btnCattura);
        files.expectSave(path(QStringLiteral("cartella-che-non-esiste/Foto.jpg")));
        messages.expect(MsgKind::Warning,
                        QStringLiteral("Attenzione: non è stato possibile salvare la foto nel file scelto."));
        click(w.btnSalvaFotogramma);
        messages.verifyAllShown();
        EXPECT_TRUE(samePixels(shown(w.imgTarget), picture));
        click(w.btnImportaFoto);
    });
    EXPECT_TRUE(samePixels(shown(card->imgFoto), picture));
}

} // namespace

namespace {

// The production source on a machine without a camera (every test machine): it says so instead of
// starting, and the screen shows that line.
TEST_F(WebCamTest, TheProductionSourceWithoutACameraSaysSo) {
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this machine has a camera";
    setFrameSource(nullptr);
    capture([&](TfrmWebCam& w) {
        click(w.btnAccendi);
        EXPECT_FALSE(w.cameraRunning());
        EXPECT_EQ(w.lblAvviso->text(), QStringLiteral("Nessuna webcam trovata."));
        click(w.btnClose);
    });
    setFrameSource(&camera);
}

} // namespace
