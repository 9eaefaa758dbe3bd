// Photos as today's cameras make them, and the two photo screens' size without a window manager.

#include "agentstestutil.h"
#include "core/cards/cardnavigator.h"
#include "ui/agents/Dipendenti.h"
#include "ui/agents/Slideshow_Dipendenti.h"
#include "ui/agents/Zoom.h"
#include "ui/agents/agentreportdialog.h"
#include "ui/common/picturebox.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

using PhotoScreensTest = AgentsTest;

// A 48-megapixel phone photo: above what Qt's image reader takes by default (128 MB once decoded).
constexpr QSize kPhonePhoto(8000, 6000);
const QColor kTeal(0, 128, 128);
const QColor kMark(220, 30, 30);

QImage phonePhoto() {
    QImage image(kPhonePhoto, QImage::Format_RGB32);
    image.fill(kTeal);
    QPainter p(&image);
    p.fillRect(QRect(7000, 5000, 600, 600), kMark); // so that a stand-in picture cannot pass for it
    return image;
}

bool looksLikePhonePhoto(const QImage& image) {
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
               std::abs(a.blue() - b.blue()) < 24;
    };
    return image.size() == kPhonePhoto && near(image.pixelColor(100, 100), kTeal) &&
           near(image.pixelColor(7300, 5300), kMark);
}

TEST_F(PhotoScreensTest, AFortyEightMegapixelPhotoLoadsAtFullSizeOnTheCardTheZoomThePrintAndItsFile) {
    writeArchive({agentRecord("Rossi Mario")});
    ASSERT_TRUE(phonePhoto().save(path(QStringLiteral("telefono.jpg")), "JPG", 60));
    TfrmDipendenti screen;
    screen.show();
    QTest::mouseClick(screen.cmdPrimo, Qt::LeftButton);
    ASSERT_EQ(screen.lblPosizione->text(), QStringLiteral("1"));

    // Chosen by name without extension, as the user may type it.
    files.expectOpen(path(QStringLiteral("telefono")));
    QTest::mouseClick(screen.btnCaricaFoto, Qt::LeftButton);
    EXPECT_TRUE(looksLikePhonePhoto(screen.imgFoto->pixmap().toImage()));
    EXPECT_TRUE(looksLikePhonePhoto(agentCardPhoto(&screen))); // what the printed card takes

    dialogs.expect(QStringLiteral("frmZoom"), [](QDialog& d) {
        auto& zoom = dynamic_cast<TfrmZoom&>(d);
        EXPECT_TRUE(looksLikePhonePhoto(zoom.imgFoto->pixmap().toImage()));
        zoom.accept();
    });
    QTest::mouseClick(screen.btnZoomFoto, Qt::LeftButton);

    // Saved as the card's photo file, and read back from it when the card is shown again.
    messages.expect(MsgKind::Information, kUpdatedMessage);
    QTest::mouseClick(screen.cmdSalva, Qt::LeftButton);
    screen.imgFoto->clearPicture();
    QTest::mouseClick(screen.cmdPrimo, Qt::LeftButton);
    EXPECT_TRUE(looksLikePhonePhoto(screen.imgFoto->pixmap().toImage()));
    EXPECT_TRUE(messages.shown.size() == 1) << "no message but the save's";
}

// Neither screen may rely on a window manager to maximise it: each takes the available area of the
// screen from its creation on, and keeps it when shown.
TEST_F(PhotoScreensTest, ZoomAndSlideshowTakeTheScreensAvailableArea) {
    const QList<std::pair<QString, std::function<QDialog*()>>> screens{
        {QStringLiteral("frmZoom"), [] { return new TfrmZoom; }},
        {QStringLiteral("frmSlideshow_Dipendenti"), [] { return new TfrmSlideshow_Dipendenti; }},
    };
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& [name, make] : screens) {
        SCOPED_TRACE(name.toStdString());
        std::unique_ptr<QDialog> dialog(make());
        EXPECT_EQ(dialog->geometry(), available);
        dialog->show();
        // Shown, the platform may draw a thin frame around it: the frame covers the same area.
        EXPECT_TRUE(dialog->frameGeometry().contains(available.adjusted(4, 4, -4, -4)));
        auto* container = dialog->findChild<QWidget*>(QStringLiteral("panContainer"));
        ASSERT_NE(container, nullptr);
        EXPECT_TRUE(dialog->rect().contains(container->geometry()));
        dialog->reject();
    }
}

} // namespace
