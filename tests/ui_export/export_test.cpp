// The four export grid screens driven through the services: what they list, what their export writes,
// the questions and messages, and the card buttons that open them.
#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"
#include "ui/app/guida.h"
#include "ui/calls/Chiamate.h"
#include "ui/calls/RiepChiamateOggi.h"
#include "ui/calls/StoricoChiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/helptexts.h"
#include "ui/export/ExpChiamate.h"
#include "ui/export/ExpClienti.h"
#include "ui/export/exporthelp.h"
#include "ui/export/exporttablemodel.h"

#include "core/exportarchives.h"
#include "uisupport/fakes.h"
#include "uisupport/layoutcheck.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <functional>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

void click(QWidget& screen, const char* name) {
    auto* button = screen.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Cliente of every listed row, and the row numbers, as the grid shows them.
std::vector<QString> column(ExportGridDialog& d, int c) {
    std::vector<QString> out;
    const auto& m = d.model();
    for (int r = 0; r < m.rowCount(); ++r)
        out.push_back(m.data(m.index(r, c)).toString());
    return out;
}
std::vector<QString> texts(std::initializer_list<const char*> list) {
    std::vector<QString> out;
    for (const char* t : list)
        out.push_back(QString::fromUtf8(t));
    return out;
}

class ExportScreens : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp(); // the clock says 05/03/2024 10:30
        writeArchive<TRecChiamata>(
            path(kChiamateFile),
            {makeCall({{"DataRit", "05/03/2024"}, {"CodFisc", "RSSMRA80A01"}, {"Cliente", "Rossi"}}),
             makeCall({{"DataRit", "04/03/2024"}, {"CodFisc", " RSSMRA80A01 "}, {"Cliente", "Rossi ieri"}}),
             makeCall({{"DataRit", ""}, {"CodFisc", "rssmra80a01"}, {"Cliente", "Senza data"}}),
             makeCall({{"DataRit", "5/3/2024"}, {"CodFisc", "VRDLCU70B02"}, {"Cliente", "Verdi"}}),
             makeCall({{"DataRit", "05/03/2024"},
                       {"CodFisc", "VRDLCU70B02"},
                       {"Cliente", "Verdi oggi"},
                       {"Operatore", "Niccol\u00f2 & C."}})});
    }
    // Opens `open`'s screen, which must be `name`, and runs `steps` on it before closing it.
    void run(const char* name, const std::function<void(QWidget*)>& open,
             const std::function<void(ExportGridDialog&)>& steps) {
        QWidget owner;
        dialogs.expect(QString::fromLatin1(name), [&](QDialog& d) {
            auto* grid = qobject_cast<ExportGridDialog*>(&d);
            ASSERT_NE(grid, nullptr);
            steps(*grid);
            click(d, "cmdEsci");
        });
        open(&owner);
    }
    void runRegister(const std::function<void(ExportGridDialog&)>& steps) {
        run(
            "frmExpChiamate", [](QWidget* o) { TfrmExpChiamate::open(o); }, steps);
    }
};

TEST_F(ExportScreens, TodayChoosesByExactDateTextAndNumbersListedRowsOnly) {
    run(
        "frmRiepChiamateOggi", [](QWidget* o) { TfrmRiepChiamateOggi::open(o); },
        [](ExportGridDialog& d) {
            EXPECT_EQ(d.windowTitle(), " Riepilogo chiamate di oggi");
            EXPECT_EQ(column(d, 8), texts({"Rossi", "Verdi oggi"}));
            EXPECT_EQ(column(d, 0), texts({"1", "2"}));
            EXPECT_EQ(column(d, 15), texts({"", "Niccol\u00f2 & C."}));
            const auto& m = d.model();
            ASSERT_EQ(m.columnCount(), 16);
            EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "N.");
            EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "Data chiamata");
            EXPECT_EQ(m.headerData(15, Qt::Horizontal).toString(), "Operatore / Agente");
        });
}

TEST_F(ExportScreens, HistoryChoosesByTrimmedCodeWithItsCase) {
    run(
        "frmStoricoChiamate", [](QWidget* o) { TfrmStoricoChiamate::open(o, QStringLiteral("  RSSMRA80A01 ")); },
        [](ExportGridDialog& d) {
            EXPECT_EQ(d.windowTitle(), " Storico chiamate cliente");
            EXPECT_EQ(column(d, 8), texts({"Rossi", "Rossi ieri"}));
            EXPECT_EQ(column(d, 0), texts({"1", "2"}));
        });
    run(
        "frmStoricoChiamate", [](QWidget* o) { TfrmStoricoChiamate::open(o, QStringLiteral("rssmra80a01")); },
        [](ExportGridDialog& d) { EXPECT_EQ(column(d, 8), texts({"Senza data"})); });
}

TEST_F(ExportScreens, RegisterSkipsUndatedCallsAndClientsListEveryCard) {
    runRegister([](ExportGridDialog& d) {
        EXPECT_EQ(d.windowTitle(), " Esportazione registro chiamate in Excel");
        EXPECT_EQ(column(d, 8), texts({"Rossi", "Rossi ieri", "Verdi", "Verdi oggi"}));
        EXPECT_EQ(column(d, 0), texts({"1", "2", "3", "4"}));
    });
    writeArchive<TRecCliente>(path(kClientiFile), {makeClient({{"Cliente", "Bianchi"}, {"ComuneNasc", "Roma"}}),
                                                   makeClient({{"ComuneNasc", "Pisa"}, {"ProvNasc", "PI"}})});
    run(
        "frmExpClienti", [](QWidget* o) { TfrmExpClienti::open(o); },
        [](ExportGridDialog& d) {
            EXPECT_EQ(d.windowTitle(), " Esporta archivio clienti in Excel");
            EXPECT_EQ(d.model().columnCount(), 26);
            EXPECT_EQ(d.model().headerData(3, Qt::Horizontal).toString(), "Comune / Stato estero di nascita");
            EXPECT_EQ(column(d, 1), texts({"Bianchi", ""}));
            EXPECT_EQ(column(d, 3), texts({"Roma ", "Pisa PI"}));
            EXPECT_EQ(column(d, 0), texts({"1", "2"}));
        });
}

TEST_F(ExportScreens, AnsweringNoWritesNothingAndYesWritesThenOffersToOpen) {
    write(QStringLiteral("Registro_Chiamate.xls"), "vecchio");
    runRegister([this](ExportGridDialog& d) {
        messages.expect(MsgKind::Confirmation, kExportQuestion, MsgAnswer::No);
        click(d, "cmdEsporta");
        EXPECT_EQ(bytes(QStringLiteral("Registro_Chiamate.xls")), "vecchio");

        messages.expect(MsgKind::Confirmation, kExportQuestion, MsgAnswer::Yes);
        messages.expect(MsgKind::Confirmation, kExportDoneQuestion, MsgAnswer::No);
        click(d, "cmdEsporta");
        const QByteArray file = bytes(QStringLiteral("Registro_Chiamate.xls"));
        EXPECT_TRUE(file.startsWith("<html"));
        EXPECT_EQ(file.count("<tr>"), 5);
        EXPECT_TRUE(file.contains("<x:Name>Registro Chiamate</x:Name>"));
        EXPECT_TRUE(opener.opened.isEmpty());

        messages.expect(MsgKind::Confirmation, kExportQuestion, MsgAnswer::Yes);
        messages.expect(MsgKind::Confirmation, kExportDoneQuestion, MsgAnswer::Yes);
        click(d, "cmdEsporta");
        ASSERT_EQ(opener.opened.size(), 1);
        EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(path(QStringLiteral("Registro_Chiamate.xls"))));
    });
    EXPECT_EQ(messages.shown.size(), 5);
}

TEST_F(ExportScreens, AFileThatCannotBeWrittenShowsThePlainMessage) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Chiamate_Odierne.xls")));
    run(
        "frmRiepChiamateOggi", [](QWidget* o) { TfrmRiepChiamateOggi::open(o); },
        [this](ExportGridDialog& d) {
            messages.expect(MsgKind::Confirmation, kExportQuestion, MsgAnswer::Yes);
            messages.expect(MsgKind::Plain,
                            QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi "
                                           "che il file di Excel non sia già aperto."));
            click(d, "cmdEsporta");
            EXPECT_TRUE(d.isVisible()); // the screen stays open
        });
}

TEST_F(ExportScreens, EmptyGridsExportTheHeadingRowOnly) {
    run(
        "frmStoricoChiamate", [](QWidget* o) { TfrmStoricoChiamate::open(o, QStringLiteral("NESSUNO")); },
        [this](ExportGridDialog& d) {
            EXPECT_EQ(d.model().rowCount(), 0);
            messages.expect(MsgKind::Confirmation, kExportQuestion, MsgAnswer::Yes);
            messages.expect(MsgKind::Confirmation, kExportDoneQuestion, MsgAnswer::No);
            click(d, "cmdEsporta");
        });
    const QByteArray file = bytes(QStringLiteral("Storico_Chiamate_Cliente.xls"));
    EXPECT_EQ(file.count("<tr>"), 1);
    EXPECT_TRUE(file.endsWith("Operatore o agente</td></tr></table></body></html>"));
    EXPECT_TRUE(file.contains("<x:Name>Storico Chiamate Cliente</x:Name>"));
}

TEST_F(ExportScreens, AnUnreadableRegisterShowsTheArchiveMessageAnEmptyGridAndNoExport) {
    write(QStringLiteral("Registro_Chiamate.xls"), "the last good export");
    QFile::remove(path(kChiamateFile));
    ASSERT_TRUE(QDir(dir.path()).mkdir(kChiamateFile));
    messages.expect(MsgKind::Error, kArchiveMessage);
    runRegister([](ExportGridDialog& d) {
        EXPECT_EQ(d.model().rowCount(), 0);
        auto* esporta = d.findChild<QWidget*>(QStringLiteral("cmdEsporta"));
        ASSERT_NE(esporta, nullptr);
        // Pressing it would replace the last good file with a headings-only one.
        EXPECT_FALSE(esporta->isEnabled());
    });
    EXPECT_EQ(bytes(QStringLiteral("Registro_Chiamate.xls")), QByteArray("the last good export"));
}

// A large grid shows the progress dialog while it is written and still writes every row.
TEST_F(ExportScreens, ALargeGridIsWrittenWholeUnderTheProgressDialog) {
    const TRecChiamata call = makeCall({{"DataRit", "05/03/2024"}, {"Cliente", "Rossi"}});
    QByteArray all;
    for (int i = 0; i < 20001; ++i)
        all.append(reinterpret_cast<const char*>(&call), sizeof call);
    write(kChiamateFile, all);
    runRegister([this](ExportGridDialog& d) {
        EXPECT_EQ(d.model().rowCount(), 20001);
        EXPECT_EQ(d.model().data(d.model().index(20000, 0)).toString(), "20001");
        messages.expect(MsgKind::Confirmation, kExportQuestion, MsgAnswer::Yes);
        messages.expect(MsgKind::Confirmation, kExportDoneQuestion, MsgAnswer::No);
        click(d, "cmdEsporta");
        EXPECT_EQ(d.findChild<QWidget*>(QStringLiteral("frmAvanzamento")), nullptr); // gone when done
    });
    EXPECT_EQ(bytes(QStringLiteral("Registro_Chiamate.xls")).count("<tr>"), 20002);
}

struct HelpCase {
    const char* dialog;
    std::function<void(QWidget*)> open;
    const char* title;
    const char* firstWords;
    const char* secondEnd;
};
// The test list and a failure name the case.
void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.dialog;
}

class ExportHelp : public ExportScreens, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(ExportHelp, HelpShowsTheScreensParagraphs) {
    const HelpCase& c = GetParam();
    run(c.dialog, c.open, [&](ExportGridDialog& d) {
        dialogs.expect(QStringLiteral("frmGuida"), [&](QDialog& g) {
            auto& help = static_cast<TfrmGuida&>(g);
            EXPECT_EQ(help.lblTitolo->text(), QString::fromUtf8(c.title));
            const QStringList paragraphs = help.helpText().split(QStringLiteral("\r\n\r\n"));
            ASSERT_EQ(paragraphs.size(), 3);
            EXPECT_TRUE(paragraphs[0].startsWith(QString::fromUtf8(c.firstWords))) << paragraphs[0].toStdString();
            EXPECT_TRUE(paragraphs[0].endsWith("(ad esempio, con Open Office, Libre Office o Microsoft Office)."));
            EXPECT_TRUE(paragraphs[1].contains(QString::fromUtf8(c.secondEnd)));
            EXPECT_EQ(paragraphs[2], QStringLiteral("A questo punto è sufficiente salvare il file sul proprio disco "
                                                    "fisso assegnandogli un nome qualsiasi."));
            g.reject();
        });
        click(d, "cmdGuida");
    });
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ExportHelp,
    ::testing::Values(
        HelpCase{"frmExpChiamate", [](QWidget* o) { TfrmExpChiamate::open(o); },
                 "Esportazione registro chiamate in Excel",
                 "Il pulsante Esporta archivio consente di esportare il Registro annuale delle chiamate in un file di "
                 "Microsoft Excel, che potrà",
                 "contenente le schede in archivio, che potrà"},
        HelpCase{"frmExpClienti", [](QWidget* o) { TfrmExpClienti::open(o); }, "Esportazione archivio clienti in Excel",
                 "Il pulsante Esporta archivio consente di esportare i dati anagrafici di tutti i clienti in un foglio "
                 "di lavoro di Microsoft Excel, che",
                 "contenente le schede in archivio, che potrà"},
        HelpCase{"frmRiepChiamateOggi", [](QWidget* o) { TfrmRiepChiamateOggi::open(o); }, "Riepilogo chiamate di oggi",
                 "Il pulsante Chiamate di oggi consente di visualizzare il riepilogo di tutte le telefonate effettuate "
                 "e ricevute nella data odierna e di esportare",
                 "contenente le schede in elenco, che potrà"},
        HelpCase{"frmStoricoChiamate", [](QWidget* o) { TfrmStoricoChiamate::open(o, QString()); },
                 "Storico chiamate cliente",
                 "Il pulsante Storico chiamate consente di visualizzare il riepilogo di tutte le telefonate effettuate "
                 "al cliente e ricevute dal cliente e di esportare",
                 "contenente le schede in elenco, che potrà"}),
    [](const auto& p) { return std::string(p.param.dialog); });

TEST_F(ExportScreens, HintsAndLayout) {
    runRegister([this](ExportGridDialog& d) {
        const std::pair<const char*, const char*> hints[] = {
            {"cmdEsporta", "Esporta l'archivio in formato Microsoft Excel."},
            {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
            {"cmdEsci", "Esci da questo ambiente di lavoro."}};
        EXPECT_EQ(d.panInfo->text(), "Esportazione archivio in Microsoft Excel.");
        for (const auto& [name, hint] : hints) {
            QTest::mouseMove(d.findChild<QWidget*>(QString::fromLatin1(name)));
            EXPECT_EQ(d.panInfo->text(), QString::fromUtf8(hint)) << name;
        }
        QTest::mouseMove(d.grdRecords->viewport());
        EXPECT_EQ(d.panInfo->text(), "");
        EXPECT_LE(d.width(), 1366);
        EXPECT_LE(d.height(), 700);
        expectFitsWithoutOverlap(
            &d, layoutControls(&d, {QStringLiteral("cmd"), QStringLiteral("img"), QStringLiteral("ico"),
                                    QStringLiteral("grd"), QStringLiteral("pan")}));
    });
}

// The card buttons open their screens: the register export and today's calls from the call card, the
// client export and the stored client's history from the client card.
TEST_F(ExportScreens, CardButtonsOpenTheirScreens) {
    {
        TfrmChiamate card;
        card.show();
        dialogs.expect(QStringLiteral("frmExpChiamate"), [](QDialog& d) { click(d, "cmdEsci"); });
        click(card, "cmdEsporta");
        dialogs.expect(QStringLiteral("frmRiepChiamateOggi"), [](QDialog& d) {
            EXPECT_EQ(static_cast<ExportGridDialog&>(d).model().rowCount(), 2);
            click(d, "cmdEsci");
        });
        click(card, "cmdRiepOggi");
    }
    writeArchive<TRecCliente>(path(kClientiFile),
                              {makeClient({{"Cliente", "Rossi"}, {"Recapito", "06 1"}, {"CodFisc", "RSSMRA80A01"}})});
    TfrmClienti card;
    card.show();
    dialogs.expect(QStringLiteral("frmExpClienti"), [](QDialog& d) {
        EXPECT_EQ(static_cast<ExportGridDialog&>(d).model().rowCount(), 1);
        click(d, "cmdEsci");
    });
    click(card, "cmdEsporta");
    click(card, "cmdPrimo");
    ASSERT_EQ(card.lblPosizione->text(), "1");
    dialogs.expect(QStringLiteral("frmStoricoChiamate"), [](QDialog& d) {
        auto& grid = static_cast<ExportGridDialog&>(d);
        EXPECT_EQ(column(grid, 8), texts({"Rossi", "Rossi ieri"}));
        click(d, "cmdEsci");
    });
    click(card, "btnProve");
}

// With OMBRISA_SHOTS set: each screen filled with data, saved as the whole screen shows it (run under
// a virtual display to see the real window).
TEST_F(ExportScreens, ScreenShots) {
    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "OMBRISA_SHOTS not set";
    QDir().mkpath(shots);
    const auto shoot = [&](const char* file) {
        return [=](ExportGridDialog& d) {
            d.repaint();
            for (int i = 0; i < 5; ++i)
                QTest::qWait(50);
            QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(shots).filePath(QString::fromLatin1(file)));
        };
    };
    std::vector<TRecChiamata> calls;
    for (int i = 0; i < 60; ++i)
        calls.push_back(makeCall({{"DataRit", i % 3 ? "05/03/2024" : "04/03/2024"},
                                  {"OraRit", QStringLiteral("%1:%2").arg(9 + i / 6).arg(i % 6 * 10, 2, 10, QChar('0'))},
                                  {"Tipo", i % 2 ? "In uscita" : "In entrata"},
                                  {"Oggetto", "Richiesta di preventivo per la fornitura annuale"},
                                  {"Esito", "Preventivo inviato per e-mail; il cliente richiamerà"},
                                  {"Grado", "Molto soddisfatto"},
                                  {"Durata", "12 minuti"},
                                  {"Cliente", i % 4 ? "Rossi Mario" : "Niccolò Bianchi"},
                                  {"CodFisc", i % 4 ? "RSSMRA80A01H501U" : "BNCNCL75C12F205Z"},
                                  {"Zona", "Milano Nord"},
                                  {"Recapito", "02 5551234"},
                                  {"TelCel", "333 1234567"},
                                  {"Email", "mario.rossi@example.it"},
                                  {"Note", "Preferisce essere contattato la mattina <b> & \"subito\""},
                                  {"Operatore", "Bianchi Laura"}}));
    writeArchive(path(kChiamateFile), calls);
    std::vector<TRecCliente> clients;
    for (int i = 0; i < 40; ++i)
        clients.push_back(makeClient({{"Cliente", QStringLiteral("Cliente %1 Niccolò").arg(i + 1)},
                                      {"DataNasc", "01/02/1980"},
                                      {"ComuneNasc", "Roma"},
                                      {"ProvNasc", i % 2 ? "RM" : ""},
                                      {"Recapito", "0612345678"},
                                      {"IndirizzoRes", "Via Roma 1"},
                                      {"ComuneRes", "Milano"},
                                      {"ProvRes", "MI"},
                                      {"Estremi", "Bonifico"},
                                      {"CodFisc", "RSSMRA80A01H501U"},
                                      {"PartitaIva", "01234567890"}}));
    writeArchive(path(kClientiFile), clients);
    run(
        "frmExpChiamate", [](QWidget* o) { TfrmExpChiamate::open(o); }, shoot("expchiamate.png"));
    run(
        "frmExpClienti", [](QWidget* o) { TfrmExpClienti::open(o); }, shoot("expclienti.png"));
    run(
        "frmRiepChiamateOggi", [](QWidget* o) { TfrmRiepChiamateOggi::open(o); }, shoot("riepchiamateoggi.png"));
    run(
        "frmStoricoChiamate", [](QWidget* o) { TfrmStoricoChiamate::open(o, QStringLiteral("BNCNCL75C12F205Z")); },
        shoot("storicochiamate.png"));
}

} // namespace
