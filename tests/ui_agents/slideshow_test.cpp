// The photo slideshow, opened from the agent card, its timer driven by the test one tick at a time.

#include "ui/agents/Dipendenti.h"
#include "ui/agents/Slideshow_Dipendenti.h"
#include "ui/agents/agentphoto.h"
#include "agentstestutil.h"
#include "core/cards/cardnavigator.h"
#include "ui/common/picturebox.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

class SlideshowTest : public AgentsTest {
protected:
    void SetUp() override {
        AgentsTest::SetUp();
        screen = std::make_unique<TfrmDipendenti>();
        screen->show();
    }
    void TearDown() override {
        screen.reset();
        AgentsTest::TearDown();
    }
    // Opens the slideshow from the card screen and runs `steps` on it while it is open.
    void runSlideshow(std::function<void(TfrmSlideshow_Dipendenti&)> steps) {
        dialogs.expect(QStringLiteral("frmSlideshow_Dipendenti"), [steps](QDialog& d) {
            auto* show = qobject_cast<TfrmSlideshow_Dipendenti*>(&d);
            ASSERT_NE(show, nullptr);
            steps(*show);
        });
        QTest::mouseClick(screen->cmdSlideshow, Qt::LeftButton);
    }
    // One interval of the timer, without waiting for it.
    static void tick(TfrmSlideshow_Dipendenti& show) {
        ASSERT_TRUE(show.Timer->isActive());
        QMetaObject::invokeMethod(show.Timer, "timeout");
    }

    std::unique_ptr<TfrmDipendenti> screen;
};

const QColor kRed(200, 40, 40);
const QColor kGreen(40, 160, 60);
const QColor kYellow(220, 200, 40);

} // namespace

TEST_F(SlideshowTest, ShowsCardsOneTwoThreeThreeOneOnTheTimer) {
    writeArchive({agentRecord("Uno"), agentRecord("Due"), agentRecord("Tre")});
    ensureFolder(QStringLiteral("Anagrafica"));
    ASSERT_TRUE(testPortrait(kRed).save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), "JPG"));
    ASSERT_TRUE(testPortrait(kGreen).save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_2.jpg")), "JPG"));
    ASSERT_TRUE(testPortrait(kYellow).save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_3.jpg")), "JPG"));

    runSlideshow([](TfrmSlideshow_Dipendenti& show) {
        EXPECT_EQ(show.windowTitle(), QStringLiteral(" Slide show foto agenti"));
        EXPECT_EQ(show.Timer->interval(), 6000);
        EXPECT_TRUE(show.lblPosizione->text().isEmpty());
        // Until the first tick: the waiting picture.
        EXPECT_TRUE(samePicture(show.imgFoto->pixmap().toImage(), slideshowWaitingPicture().toImage()));

        const QList<std::pair<QString, QColor>> expected{
            {"1", kRed}, {"2", kGreen}, {"3", kYellow}, {"0", kYellow}, {"1", kRed}};
        for (const auto& [position, colour] : expected) {
            tick(show);
            EXPECT_EQ(show.lblPosizione->text(), position);
            EXPECT_TRUE(samePicture(show.imgFoto->pixmap().toImage(), testPortrait(colour))) << position.toStdString();
        }
        QTest::mouseClick(show.imgFoto, Qt::LeftButton);
        EXPECT_FALSE(show.Timer->isActive());
    });
}

TEST_F(SlideshowTest, ACardWithoutAPhotoShowsTheWaitingPicture) {
    writeArchive({agentRecord("Uno"), agentRecord("Due")});
    ensureFolder(QStringLiteral("Anagrafica"));
    ASSERT_TRUE(testPortrait(kGreen).save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_2.jpg")), "JPG"));
    runSlideshow([](TfrmSlideshow_Dipendenti& show) {
        tick(show);
        EXPECT_EQ(show.lblPosizione->text(), QStringLiteral("1"));
        EXPECT_TRUE(samePicture(show.imgFoto->pixmap().toImage(), slideshowWaitingPicture().toImage()));
        tick(show);
        EXPECT_TRUE(samePicture(show.imgFoto->pixmap().toImage(), testPortrait(kGreen)));
        QTest::mouseClick(show.imgFoto, Qt::LeftButton);
    });
}

TEST_F(SlideshowTest, EmptyArchiveTellsTheUserAndCloses) {
    runSlideshow([this](TfrmSlideshow_Dipendenti& show) {
        EXPECT_TRUE(samePicture(show.imgFoto->pixmap().toImage(), slideshowWaitingPicture().toImage()));
        messages.expect(MsgKind::Information, kEmptyArchiveMessage);
        tick(show);
        EXPECT_FALSE(show.isVisible());
        EXPECT_FALSE(show.Timer->isActive());
        EXPECT_TRUE(show.lblPosizione->text().isEmpty());
    });
    // The archive exists (empty) afterwards.
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Archivio_Dipendenti.pro"))));
}
