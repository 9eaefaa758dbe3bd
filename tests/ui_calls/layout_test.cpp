// The call card laid out at the two screen sizes the program is used at: every caption whole, no two
// controls overlapping, everything inside the window. With OMBRISA_SHOTS set, a full card is also saved
// as a picture in that folder to be looked at.
#include "calls/Chiamate.h"
#include "uisupport/fakes.h"

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

QRect onScreen(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

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

    QList<QWidget*> visible;
    for (QWidget* w : screen.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QString n = w->objectName();
        if (n.startsWith(QLatin1String("txt")) || n.startsWith(QLatin1String("cmd")) ||
            n.startsWith(QLatin1String("btn")) || n.startsWith(QLatin1String("imp")) ||
            n.startsWith(QLatin1String("img")) || n.startsWith(QLatin1String("grp")) ||
            n == QLatin1String("lblAnnoRit") || n == QLatin1String("lblPosizione") || n == QLatin1String("panInfo") ||
            (qobject_cast<QLabel*>(w) && w->property("caption").toBool()))
            visible.append(w);
    }
    ASSERT_GT(visible.size(), 50);
    const QRect window = screen.rect();
    for (QWidget* w : visible) {
        const QRect r = onScreen(w, &screen);
        EXPECT_TRUE(window.contains(r)) << w->objectName().toStdString();
        if (auto* l = qobject_cast<QLabel*>(w); l && l->property("caption").toBool()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << "caption cut: " << l->text().toStdString();
        }
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_GE(b->width(), b->sizeHint().width()) << "button cut: " << w->objectName().toStdString();
        }
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            EXPECT_GE(c->width(), c->minimumSizeHint().width()) << "list cut: " << w->objectName().toStdString();
        }
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
    }
    for (qsizetype i = 0; i < visible.size(); ++i)
        for (qsizetype j = i + 1; j < visible.size(); ++j) {
            if (visible[i]->isAncestorOf(visible[j]) || visible[j]->isAncestorOf(visible[i]))
                continue;
            EXPECT_FALSE(onScreen(visible[i], &screen).intersects(onScreen(visible[j], &screen)))
                << visible[i]->objectName().toStdString() << " / " << visible[j]->objectName().toStdString();
        }

    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        screen.grab().save(QDir(shots).filePath(
            QStringLiteral("chiamate_%1x%2.png").arg(GetParam().width()).arg(GetParam().height())));
    }
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
INSTANTIATE_TEST_SUITE_P(Screens, CallLayout, ::testing::Values(QSize(1366, 700), QSize(1920, 1017)));

} // namespace
