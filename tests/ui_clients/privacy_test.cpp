// The client card's privacy menu: the folder of a client's data, forgetting the client (both answers to
// the question) and the retention list, driven as a user drives them.
#include "core/exportarchives.h"

#include "core/privacy/privacy.h"
#include "core/records/archivepaths.h"
#include "core/storage/presence.h"
#include "testsupport/workstations.h"
#include "ui/clients/Clienti.h"
#include "ui/privacy/privacy.h"
#include "uisupport/fakes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

class PrivacyScreen : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        writeArchive<TRecCliente>(
            path(kClientiFile),
            {makeClient({{"Cliente", "Bianchi Anna"}, {"Recapito", "06 111111"}, {"CodFisc", "BNCNNA70A41H501X"}}),
             makeClient({{"Cliente", "Rossi Mario"}, {"Recapito", "06 222222"}, {"CodFisc", "RSSMRA80A01H501U"}})});
        writeArchive<TRecChiamata>(
            path(kChiamateFile),
            {makeCall({{"Cliente", "Rossi Mario"},
                       {"CodFisc", "RSSMRA80A01H501U"},
                       {"DataRit", "01/02/2015"},
                       {"Oggetto", "Rinnovo"}}),
             makeCall({{"Cliente", "Bianchi Anna"}, {"CodFisc", "BNCNNA70A41H501X"}, {"DataRit", "01/02/2024"}})});
        screen = std::make_unique<TfrmClienti>();
        screen->resize(1366, 700);
        screen->show();
        ASSERT_EQ(screen->navigator().showCard(2), CardNavigator::Outcome::Loaded);
    }
    void TearDown() override {
        screen.reset();
        UiTest::TearDown();
    }
    void choose(const char* action) {
        auto* a = screen->cmdPrivacy->menu()->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    QString nameOnCard() const { return qobject_cast<QLineEdit*>(screen->field(QStringLiteral("txtCliente")))->text(); }
    std::unique_ptr<TfrmClienti> screen;
};

TEST_F(PrivacyScreen, ForgettingAsksFirstAndNoLeavesEverything) {
    const QByteArray clients = bytes(kClientiFile);
    const QByteArray calls = bytes(kChiamateFile);
    messages.expect(MsgKind::Confirmation,
                    QStringLiteral("Il cliente sarà reso anonimo: cambieranno 1 schede cliente e 1 chiamate, e saranno "
                                   "eliminati 0 documenti allegati.\n\nL'operazione non può essere annullata.\n\n"
                                   "Procedere?"),
                    MsgAnswer::No);
    choose("actDimentica");
    EXPECT_EQ(bytes(kClientiFile), clients);
    EXPECT_EQ(bytes(kChiamateFile), calls);
    EXPECT_FALSE(QFile::exists(path(kPrivacyRegisterFile)));
}

TEST_F(PrivacyScreen, ForgettingWithYesAnonymisesTheCardShownAndItsCallsAndRecordsIt) {
    messages.expect(MsgKind::Confirmation,
                    QStringLiteral("Il cliente sarà reso anonimo: cambieranno 1 schede cliente e 1 chiamate, e saranno "
                                   "eliminati 0 documenti allegati.\n\nL'operazione non può essere annullata.\n\n"
                                   "Procedere?"),
                    MsgAnswer::Yes);
    messages.expect(MsgKind::Information, QStringLiteral("Schede cliente anonimizzate: 1; chiamate anonimizzate: 1."));
    choose("actDimentica");
    EXPECT_EQ(nameOnCard(), QStringLiteral("Anonimizzato 2"));
    EXPECT_EQ(screen->lblPosizione->text(), QStringLiteral("2"));
    EXPECT_FALSE(bytes(kClientiFile).contains("RSSMRA"));
    EXPECT_FALSE(bytes(kChiamateFile).contains("Rossi"));
    EXPECT_TRUE(bytes(kClientiFile).contains("Bianchi Anna"));
    EXPECT_TRUE(bytes(kPrivacyRegisterFile).startsWith("05/03/2024;10:30:00;"));
    EXPECT_TRUE(bytes(kPrivacyRegisterFile).endsWith(";oblio;clienti: 2;chiamate: 1\n"));
}

TEST_F(PrivacyScreen, ForgettingWhileAnotherWorkstationUsesTheFolderSaysSoInTheQuestion) {
    Presence here(dir.path()); // this program is not named
    ASSERT_TRUE(here.Register());
    OtherWorkstation other(dir.path());
    ASSERT_TRUE(other.Register()) << other.ErrorString().toStdString();
    const QString since = other.since();
    const QByteArray clients = bytes(kClientiFile);
    messages.expect(MsgKind::Confirmation,
                    QStringLiteral("Il cliente sarà reso anonimo: cambieranno 1 schede cliente e 1 chiamate, e saranno "
                                   "eliminati 0 documenti allegati.\n\nL'operazione non può essere annullata.\n\n"
                                   "La cartella dei dati è in uso anche dalla postazione «UFFICIO-2» (utente marco, "
                                   "dal %1): là le schede e le chiamate di questo cliente già aperte mostrano ancora "
                                   "i dati finché non vengono riaperte. Conviene chiudere il programma sulle altre "
                                   "postazioni prima di procedere.\n\nProcedere?")
                        .arg(since),
                    MsgAnswer::No);
    choose("actDimentica");
    EXPECT_EQ(bytes(kClientiFile), clients);
}

TEST_F(PrivacyScreen, AllTheDataOfTheClientGoIntoAFolderOfTheDataFolder) {
    const QString folder = path(kPersonalDataFolder + QStringLiteral("/RSSMRA80A01H501U_2024-03-05_103000"));
    messages.expect(MsgKind::Confirmation,
                    QStringLiteral("I dati del cliente sono stati raccolti nella cartella:\n%1\n\n"
                                   "Schede cliente: 1; chiamate: 1; documenti allegati: 0.\n\n"
                                   "Si vuole aprire la cartella?")
                        .arg(QDir::toNativeSeparators(folder)),
                    MsgAnswer::Yes);
    choose("actDatiPersonali");
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Scheda_cliente_2.pdf")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Chiamate.xls")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Indice.txt")));
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_EQ(opener.opened[0].toLocalFile(), folder);
    EXPECT_TRUE(bytes(kPrivacyRegisterFile).endsWith(";accesso ai dati;clienti: 2;chiamate: 1\n"));
}

TEST_F(PrivacyScreen, TheRetentionListForgetsTheClientsChosen) {
    dialogs.expect(QStringLiteral("frmConservazione"), [this](QDialog& d) {
        auto* years = d.findChild<QSpinBox*>(QStringLiteral("txtAnni"));
        auto* list = d.findChild<QTableWidget*>(QStringLiteral("lstClienti"));
        years->setValue(5); // 05/03/2024: Rossi's last call is 2015, Bianchi's this year
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnAggiorna")), Qt::LeftButton);
        ASSERT_EQ(list->rowCount(), 1);
        EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("2"));
        EXPECT_EQ(list->item(0, 2)->text(), QStringLiteral("01/02/2015"));
        EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("sconosciuta")); // written before dates were kept
        list->item(0, 0)->setCheckState(Qt::Checked);
        messages.expect(MsgKind::Confirmation,
                        QStringLiteral("Sarà reso anonimo 1 cliente, con le sue chiamate, i documenti allegati e le "
                                       "cartelle dei dati raccolti su sua richiesta.\n\nL'operazione non può essere "
                                       "annullata.\n\nProcedere?"),
                        MsgAnswer::Yes);
        messages.expect(MsgKind::Information,
                        QStringLiteral("Schede cliente anonimizzate: 1; chiamate anonimizzate: 1."));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnDimentica")), Qt::LeftButton);
        EXPECT_EQ(list->rowCount(), 0); // forgotten cards are no candidates
        d.reject();
    });
    choose("actConservazione");
    EXPECT_FALSE(bytes(kClientiFile).contains("Rossi"));
}

// The folder of an access request holds the card PDF and the calls with name, telephone and e-mail:
// forgetting the client removes it too, and says so first. Another client's folder stays, even one
// whose name starts alike.
TEST_F(PrivacyScreen, ForgettingRemovesTheClientsAccessRequestFoldersAndSaysSo) {
    const QString requests = path(kPersonalDataFolder);
    const QStringList mine{QStringLiteral("RSSMRA80A01H501U_2024-03-01_090000"),
                           QStringLiteral("RSSMRA80A01H501U_2024-03-05_103000")};
    const QStringList others{QStringLiteral("BNCNNA70A41H501X_2024-03-01_090000"),
                             QStringLiteral("RSSMRA80A01H501U_X_2024-03-01_090000")};
    for (const QString& name : mine + others) {
        ASSERT_TRUE(QDir(requests).mkpath(name));
        QFile pdf(requests + QLatin1Char('/') + name + QStringLiteral("/Scheda_cliente_2.pdf"));
        ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    }
    messages.expect(MsgKind::Confirmation,
                    QStringLiteral("Il cliente sarà reso anonimo: cambieranno 1 schede cliente e 1 chiamate, e saranno "
                                   "eliminati 0 documenti allegati. Saranno eliminate anche le 2 cartelle con i dati "
                                   "raccolti su sua richiesta (Richieste_dati_personali).\n\nL'operazione non può "
                                   "essere annullata.\n\nProcedere?"),
                    MsgAnswer::Yes);
    messages.expect(MsgKind::Information,
                    QStringLiteral("Schede cliente anonimizzate: 1; chiamate anonimizzate: 1. Cartelle dei dati "
                                   "raccolti su richiesta eliminate: 2."));
    choose("actDimentica");
    EXPECT_EQ(QDir(requests).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), others);
    EXPECT_EQ(nameOnCard(), QStringLiteral("Anonimizzato 2"));
}

} // namespace
