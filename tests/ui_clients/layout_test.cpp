// The client card laid out at the two screen sizes the program is used at: every caption whole, no two
// controls overlapping, everything inside the window. With OMBRISA_SHOTS set, the card is also saved
// as a picture in that folder to be looked at.
#include "ui/clients/Clienti.h"
#include "ui_clients/clientfixture.h"
#include "uisupport/fakes.h"
#include "uisupport/layoutcheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

using namespace ombrisa;

namespace {

class ClientLayout : public test::UiTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(ClientLayout, EverythingFitsAndNothingOverlaps) {
    TfrmClienti screen;
    screen.setWindowState(Qt::WindowNoState);
    screen.resize(GetParam());
    screen.show();
    QCoreApplication::processEvents();
    // The card fits the window a maximised screen gets: no taller minimum pushing it past the screen.
    EXPECT_LE(screen.minimumSizeHint().height(), GetParam().height());
    EXPECT_EQ(screen.size(), GetParam());
    // A full card, loaded as the user loads it.
    write(QStringLiteral("Contatti.pro"),
          test::clientCard({{"Cliente", "Bianchi Maria Grazia"},
                            {"DataNasc", "14/02/1975"},
                            {"ComuneNasc", "Reggio nell'Emilia"},
                            {"ProvNasc", "RE"},
                            {"Sesso", "F"},
                            {"Recapito", "0522 456789"},
                            {"IndirizzoRes", "Via Emilia San Pietro 21/B"},
                            {"ProvRes", "MO"},
                            {"ComuneRes", "Castelfranco Emilia"},
                            {"CapRes", "41013"},
                            {"Estremi", "Bonifico bancario a 30 giorni data fattura, fine mese"},
                            {"TelCasa", "059 926000"},
                            {"TelUff", "0522 334455 int. 12"},
                            {"TelCel", "347 1234567"},
                            {"Fax", "m.bianchi@pec.example.it"},
                            {"Email", "maria.bianchi@example.it"},
                            {"CodFisc", "BNCMGR75B54H223K"},
                            {"Carta", "4111111111111111"},
                            {"ScadeCarta", "09/2028"},
                            {"PartitaIva", "01234567897"},
                            {"Iban", "IT60X0542811101000000123456"},
                            {"Documento", "Carta d'identit\xE0 CA12345BC, Comune di Modena, scad. 2031"},
                            {"Occupazione", "Architetto"},
                            {"Civile", "Coniugata"},
                            {"Titoli", "Laurea in Architettura, abilitazione professionale"},
                            {"Prodotti", "Consulenza energetica, pannelli solari"},
                            {"Zona", "Modena Nord"},
                            {"Questioni", "Attende il preventivo per l'impianto sul tetto del capannone"},
                            {"Note", "Preferisce essere chiamata dopo le 15"},
                            {"Ricontatta", "S\xEC"}}));
    QTest::mouseClick(screen.findChild<QAbstractButton*>(QStringLiteral("cmdPrimo")), Qt::LeftButton);
    ASSERT_EQ(screen.lblPosizione->text(), "1");
    screen.txtCliente->setFocus();
    QCoreApplication::processEvents();

    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        screen.grab().save(
            QDir(shots).filePath(QStringLiteral("clienti_%1x%2.png").arg(GetParam().width()).arg(GetParam().height())));
    }

    const QList<QWidget*> visible =
        test::layoutControls(&screen, {"txt", "cmd", "btn", "chk", "img"}, {"lblPosizione", "panInfo"});
    ASSERT_GT(visible.size(), 60);
    test::expectFitsWithoutOverlap(&screen, visible);

    // Texts as long as their fields push nothing aside.
    QList<QRect> before;
    for (QWidget* w : visible)
        before.append(test::onScreen(w, &screen));
    for (QWidget* w : visible)
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(QString(e->maxLength(), QLatin1Char('W')));
    QCoreApplication::processEvents();
    for (qsizetype i = 0; i < visible.size(); ++i)
        EXPECT_EQ(test::onScreen(visible[i], &screen), before[i]) << visible[i]->objectName().toStdString();
}

// The window's inside when maximised on the two screens (title bar and task bar taken off).
INSTANTIATE_TEST_SUITE_P(Screens, ClientLayout, ::testing::Values(QSize(1366, 690), QSize(1920, 1017)),
                         ombrisa::test::windowSizeName);

} // namespace
