// The call card laid out at the two screen sizes the program is used at: every caption whole, no two
// controls overlapping, everything inside the window. With OMBRISA_SHOTS set, a full card is also saved
// as a picture in that folder to be looked at.
#include "ui/calls/Chiamate.h"
#include "uisupport/fakes.h"
#include "uisupport/layoutcheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace ombrisa;

namespace {

class CallLayout : public ::testing::TestWithParam<QSize> {};

TEST_P(CallLayout, EverythingFitsAndNothingOverlaps) {
    TfrmChiamate screen;
    screen.setWindowState(Qt::WindowNoState);
    screen.resize(GetParam());
    screen.show();
    QCoreApplication::processEvents();
    // A full card: the widest values the lists offer and long texts in every box.
    screen.txtGiornoRit->setCurrentText(QStringLiteral("28"));
    screen.txtMeseRit->setCurrentText(QStringLiteral("Settembre"));
    screen.lblAnnoRit->setText(QStringLiteral("2024"));
    screen.txtOreRit->setCurrentText(QStringLiteral("18"));
    screen.txtMinutiRit->setCurrentText(QStringLiteral("45"));
    screen.txtTipo->setCurrentText(QStringLiteral("In entrata"));
    for (QWidget* w : screen.findChildren<QWidget*>())
        if (auto* e = qobject_cast<QLineEdit*>(w); e && e->objectName().startsWith(QLatin1String("txt")))
            e->setText(QString(e->maxLength() > 60 ? 60 : e->maxLength(), QLatin1Char('W')));
    screen.lblPosizione->setText(QStringLiteral("12345"));

    const QList<QWidget*> visible = test::layoutControls(&screen, {"txt", "cmd", "btn", "imp", "img", "grp"},
                                                         {"lblAnnoRit", "lblPosizione", "panInfo"});
    ASSERT_GT(visible.size(), 50);
    test::expectFitsWithoutOverlap(&screen, visible);

    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        screen.grab().save(QDir(shots).filePath(
            QStringLiteral("chiamate_%1x%2.png").arg(GetParam().width()).arg(GetParam().height())));
    }
}

// A box the user leaves shows the beginning of its text: "4 minuti (copia)" typed into the narrow
// duration box must not read "inuti (copia)" once the user has moved on.
TEST(CallCardBoxes, ALeftBoxShowsTheBeginningOfItsText) {
    TfrmChiamate screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    auto* durata = screen.findChild<QLineEdit*>(QStringLiteral("txtDurata"));
    auto* cliente = screen.findChild<QLineEdit*>(QStringLiteral("txtCliente"));
    ASSERT_TRUE(durata && cliente);
    durata->setFocus();
    QTest::keyClicks(durata, QStringLiteral("4 minuti (copia) e qualche altra parola"));
    EXPECT_EQ(durata->cursorPosition(), durata->text().size());
    QTest::mouseClick(cliente, Qt::LeftButton);
    ASSERT_TRUE(cliente->hasFocus());
    EXPECT_EQ(durata->text(), QStringLiteral("4 minuti (copia) e qualche altra parola"));
    EXPECT_EQ(durata->cursorPosition(), 0);
    // The text is not touched: typing on where the user left it still works.
    durata->setFocus();
    QTest::keyClick(durata, Qt::Key_End);
    QTest::keyClicks(durata, QStringLiteral("!"));
    EXPECT_TRUE(durata->text().endsWith(QLatin1Char('!')));
}

// With OMBRISA_SHOTS set: the screen maximised as the start menu opens it, with a full card, saved as
// the whole screen shows it (run under a virtual display to see the real window).
TEST(CallScreenShot, MaximisedFullCard) {
    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "OMBRISA_SHOTS not set";
    TfrmChiamate screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screen.txtTipo->setCurrentText(QStringLiteral("In uscita"));
    const std::pair<const char*, const char*> texts[] = {
        {"txtOggetto", "Richiesta di preventivo per la fornitura annuale di materiale d'ufficio"},
        {"txtEsito", "Preventivo inviato per e-mail; il cliente richiamerà entro venerdì"},
        {"txtGrado", "Molto soddisfatto"},
        {"txtDurata", "12 minuti"},
        {"txtCliente", "Rossi Mario"},
        {"txtCodFisc", "RSSMRA80A01H501U"},
        {"txtZona", "Milano Nord"},
        {"txtRecapito", "02 5551234"},
        {"txtTelCel", "333 1234567"},
        {"txtEmail", "mario.rossi@example.it"},
        {"txtNote", "Preferisce essere contattato la mattina"},
        {"txtOperatore", "Bianchi Laura"},
    };
    for (const auto& [name, text] : texts)
        if (auto* e = screen.findChild<QLineEdit*>(QString::fromLatin1(name)))
            e->setText(QString::fromUtf8(text));
    screen.lblPosizione->setText(QStringLiteral("128"));
    screen.repaint(); // drawn on the display before the picture is taken
    QCoreApplication::processEvents();
    QDir().mkpath(shots);
    QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(shots).filePath(QStringLiteral("chiamate_schermo.png")));
}

// The window's inside when maximised on the two screens (title bar and task bar taken off).
INSTANTIATE_TEST_SUITE_P(Screens, CallLayout, ::testing::Values(QSize(1366, 700), QSize(1920, 1017)),
                         ombrisa::test::windowSizeName);

} // namespace
