// The search screens and the recontact list as the user meets them: opened from their callers'
// buttons, searched, printed, and a double-click handing a card back.
#include "ui_agents/agentstestutil.h"
#include "ui_calls/callfixture.h"
#include "ui_clients/clientfixture.h"
#include "uisupport/fakes.h"

#include "core/cards/cardnavigator.h"
#include "core/storage/recordfile.h"
#include "ui/agents/Dipendenti.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/clients/Ricontatta.h"
#include "ui/common/picturebox.h"
#include "ui/hours/MenuRiepStraordinari.h"
#include "ui/lists/cardlinelist.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"
#include "ui/search/Trova.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QByteArray kLongName = "Abbondanzieri Bartolomeo Massimiliano"; // the lines cut it at 26

QByteArray clients() {
    return clientCard({{"Cliente", "Verdi Anna"}, {"Recapito", "051 111"}, {"CodFisc", "VRDNNA70A41A944K"}}) +
           clientCard({{"Cliente", kLongName + " I"},
                       {"Email", "primo@example.it"},
                       {"Ricontatta", "S\xEC"},
                       {"CodFisc", "BBNBRT60A01A944A"}}) +
           clientCard({{"Cliente", "Rossi Mario"},
                       {"Recapito", "051 222"},
                       {"Zona", "Nord"},
                       {"Email", "m@r.it"},
                       {"TelCel", "333 1"},
                       {"CodFisc", "RSSMRA80A01H501U"},
                       {"Ricontatta", "S\xEC"},
                       {"Occupazione", "Idraulico"}}) +
           clientCard({{"Cliente", kLongName + " II"},
                       {"Email", "secondo@example.it"},
                       {"Ricontatta", "S\xEC"},
                       {"CodFisc", "BBNBRT60A01A944B"}}) +
           clientCard({{"Cliente", "grossi Luca"}, {"Ricontatta", "No"}});
}

template <class T = QWidget> T* child(QObject& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QString textOf(QObject& parent, const char* name) {
    QWidget* w = child(parent, name);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    return QStringLiteral("<not a text control>");
}

void type(QDialog& d, const char* box, const QString& text) {
    QTest::keyClicks(child<QLineEdit>(d, box), text);
}
void click(QObject& parent, const char* name) {
    QTest::mouseClick(child<QAbstractButton>(parent, name), Qt::LeftButton);
}
QStringList shownLines(QDialog& d) {
    return listLines(child<CardLineList>(d, "lstRecords")->model());
}
// Selects line `row` (or nothing, with -1) and double-clicks the list there (or on its empty part).
void doubleClick(QDialog& d, int row) {
    auto* list = child<CardLineList>(d, "lstRecords");
    QPoint at(5, list->viewport()->height() - 3);
    list->selectionModel()->clear();
    if (row >= 0) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        at = list->visualRect(index).center();
    }
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// With OMBRISA_TEST_OUTPUT set, keeps a picture of the screen there: the whole display when there is
// one (run under Xvfb with QT_QPA_PLATFORM=xcb), otherwise the window's own drawing.
void keepShot(QWidget& w, const QString& name) {
    const QString folder = qEnvironmentVariable("OMBRISA_TEST_OUTPUT");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    QTest::qWait(200);
    const QString file = folder + QLatin1Char('/') + name;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    else
        w.grab().save(file);
}

class SearchScreens : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        write(QStringLiteral("Contatti.pro"), clients());
    }
};

TEST_F(SearchScreens, ClientSearchLoadsTheCardOfEachLineEvenWhenTwoLinesAreTheSame) {
    TfrmClienti card;
    for (int row : {0, 1}) {
        dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), " Trova clienti in archivio");
            EXPECT_EQ(d.focusWidget(), child(d, "txtCliente"));
            EXPECT_FALSE(child(d, "panContainer")->isVisible());
            type(d, "txtCliente", "ABBOND");
            if (row == 0)
                keepShot(d, "trova-clienti-prima.png");
            click(d, "btnCerca");
            if (row == 0)
                keepShot(d, "trova-clienti-dopo.png");
            EXPECT_FALSE(child(d, "panAvvio")->isVisible());
            EXPECT_TRUE(child(d, "panContainer")->isVisible());
            EXPECT_EQ(d.focusWidget(), child(d, "txtTrova"));
            const QStringList lines = shownLines(d);
            ASSERT_EQ(lines.size(), 2);
            EXPECT_EQ(lines[0], lines[1]); // both names cut to the same 26 characters
            EXPECT_EQ(textOf(d, "lblTrovate"), "Il presente riepilogo contiene 2 schede.");
            doubleClick(d, row);
            EXPECT_FALSE(d.isVisible());
        });
        click(card, "cmdTrova");
        dialogs.verifyAllShown();
        EXPECT_EQ(card.lblPosizione->text(), row == 0 ? "2" : "4");
        EXPECT_EQ(card.txtEmail->text(), row == 0 ? "primo@example.it" : "secondo@example.it");
        EXPECT_TRUE(card.chkRicontatta->isChecked());
    }
}

TEST_F(SearchScreens, ClientSearchFromTheCallCardCopiesSixFieldsOnly) {
    TfrmChiamate call;
    call.navigator().newCard();
    call.txtOggetto->setText("Preventivo");
    const QString position = call.lblPosizione->text();
    const QString day = textOf(call, "txtGiornoRit");
    dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
        EXPECT_EQ(textOf(d, "lblMemory"), "chiamate");
        type(d, "txtCliente", "rossi m");
        click(d, "btnCerca");
        ASSERT_EQ(shownLines(d).size(), 1);
        doubleClick(d, 0);
    });
    click(call, "impCliente");
    dialogs.verifyAllShown();
    const std::pair<const char*, const char*> expected[] = {
        {"txtCliente", "Rossi Mario"}, {"txtCodFisc", "RSSMRA80A01H501U"},
        {"txtZona", "Nord"},           {"txtEmail", "m@r.it"},
        {"txtTelCel", "333 1"},        {"txtRecapito", "051 222"},
        {"txtOggetto", "Preventivo"},
    };
    for (const auto& [control, text] : expected)
        EXPECT_EQ(textOf(call, control), text) << control;
    EXPECT_EQ(call.lblPosizione->text(), position);
    EXPECT_EQ(textOf(call, "txtGiornoRit"), day);
}

TEST_F(SearchScreens, CallSearchLoadsTheWholeCallInFileOrder) {
    write(QStringLiteral("Registro_Chiamate.pro"),
          callCard({{"DataRit", "09/03/2024"},
                    {"GiornoRit", "09"},
                    {"MeseRit", "Marzo"},
                    {"AnnoRit", "2024"},
                    {"Oggetto", "Secondo"},
                    {"Operatore", "Anna"}}) +
              callCard({{"DataRit", "01/02/2024"}, {"MeseRit", "Febbraio"}, {"Oggetto", "Altro mese"}}) +
              callCard({{"DataRit", "02/03/2024"},
                        {"GiornoRit", "02"},
                        {"MeseRit", "Marzo"},
                        {"AnnoRit", "2024"},
                        {"OreRit", "09"},
                        {"MinutiRit", "30"},
                        {"OraRit", "09:30"},
                        {"Oggetto", "Terzo"},
                        {"Operatore", "Nicol\xF2"},
                        {"Cliente", "Rossi Mario"}}));
    TfrmChiamate call;
    dialogs.expect("frmTrovaChiamate", [&](QDialog& d) {
        EXPECT_EQ(d.focusWidget(), child(d, "txtDataRit"));
        type(d, "txtMeseRit", "marzo");
        keepShot(d, "trova-chiamate-prima.png");
        click(d, "btnCerca");
        keepShot(d, "trova-chiamate-dopo.png");
        const QStringList lines = shownLines(d);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith("Data: 09/03/2024"));
        EXPECT_TRUE(lines[1].startsWith("Data: 02/03/2024  Ora: 09:30  Oggetto: Terzo"));
        doubleClick(d, 1);
    });
    click(call, "cmdTrova");
    dialogs.verifyAllShown();
    EXPECT_EQ(call.lblPosizione->text(), "3");
    EXPECT_EQ(call.txtOggetto->text(), "Terzo");
    EXPECT_EQ(textOf(call, "txtOperatore"), "Nicolò");
    EXPECT_EQ(textOf(call, "txtMinutiRit"), "30");
}

QByteArray agents() {
    QByteArray first = agentRecord("Neri Paolo");
    QByteArray second = agentRecord("Bianchi Anna");
    putField(second, 400, "bncnna80a41h501z"); // stored in lower case by an older version
    return first + second;
}

TEST_F(SearchScreens, AgentSearchLoadsTheAgentCard) {
    write(QStringLiteral("Archivio_Dipendenti.pro"), agents());
    TfrmDipendenti agent;
    dialogs.expect("frmTrovaDipendenti", [&](QDialog& d) {
        EXPECT_NE(d.findChild<QWidget*>("effCampo10"), nullptr);
        keepShot(d, "trova-dipendenti-prima.png");
        click(d, "btnCerca");
        keepShot(d, "trova-dipendenti-dopo.png");
        const QStringList lines = shownLines(d);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith("Bianchi Anna"));
        EXPECT_EQ(textOf(d, "lblTrovate"), "Il presente riepilogo contiene 2 schede");
        doubleClick(d, 0);
    });
    click(agent, "cmdTrova");
    dialogs.verifyAllShown();
    EXPECT_EQ(agent.lblPosizione->text(), "2");
    EXPECT_EQ(textOf(agent, "txtDipendente"), "Bianchi Anna");
}

TEST_F(SearchScreens, AgentSearchForTheIntervalScreenFillsOnlyItsCodiceFiscaleAsStored) {
    write(QStringLiteral("Archivio_Dipendenti.pro"), agents());
    TfrmMenuRiepStraordinari interval;
    TfrmDipendenti agent; // the agent card is not touched
    dialogs.expect("frmTrovaDipendenti", [&](QDialog& d) {
        EXPECT_EQ(textOf(d, "lblMemory"), "riepstraordinari");
        type(d, "txtDipendente", "bianchi");
        click(d, "btnCerca");
        doubleClick(d, 0);
    });
    QTest::mouseClick(interval.btnCodFisc, Qt::LeftButton);
    dialogs.verifyAllShown();
    EXPECT_EQ(textOf(interval, "txtCliente"), "bncnna80a41h501z");
    EXPECT_EQ(agent.lblPosizione->text(), "");
    EXPECT_EQ(textOf(agent, "txtDipendente"), "");
}

TEST_F(SearchScreens, ModeWordsAScreenDoesNotServeLoadNothing) {
    TfrmClienti card;
    card.navigator().newCard();
    struct Case {
        const char* mode;
    };
    for (const char* mode : {"dipendenti", "Clienti", "riepstraordinari", ""}) {
        SCOPED_TRACE(mode);
        dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
            click(d, "btnCerca");
            doubleClick(d, 0);
            EXPECT_FALSE(d.isVisible());
        });
        openTrovaClienti(&card, QString::fromLatin1(mode));
        dialogs.verifyAllShown();
        EXPECT_EQ(card.lblPosizione->text(), "");
        EXPECT_EQ(card.txtCliente->text(), "");
    }
}

TEST_F(SearchScreens, DoubleClickWithNothingSelectedClosesAndChangesNothing) {
    TfrmClienti card;
    card.navigator().showCard(1);
    dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
        type(d, "txtCliente", "rossi");
        click(d, "btnCerca");
        doubleClick(d, -1);
        EXPECT_FALSE(d.isVisible());
    });
    click(card, "cmdTrova");
    dialogs.verifyAllShown();
    EXPECT_EQ(card.lblPosizione->text(), "1");
    EXPECT_EQ(card.txtCliente->text(), "Verdi Anna");
}

TEST_F(SearchScreens, AnEmptyListPrintsTitleAndFooterOnly) {
    TfrmClienti card;
    dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
        type(d, "txtCliente", "nessuno");
        click(d, "btnCerca");
        EXPECT_EQ(textOf(d, "lblTrovate"), "Il presente riepilogo contiene 0 schede.");
        click(d, "btnStampa");
        click(d, "btnChiudi");
    });
    click(card, "cmdTrova");
    dialogs.verifyAllShown();
    ASSERT_EQ(printer->printed.size(), 1);
    const report::PreparedReport& printed = printer->printed[0];
    ASSERT_EQ(printed.pages.size(), 1);
    EXPECT_EQ(printed.first("txtTitolo")->text, "Riepilogo clienti in archivio");
    EXPECT_TRUE(printed.first("txtPagina")->text.startsWith("Stampa eseguita in data 05/03/2024 alle ore "));
    const report::PreparedItem* memo = printed.first("txtRiepilogo");
    EXPECT_TRUE(!memo || memo->text.isEmpty());
}

TEST_F(SearchScreens, PrintingTakesTheLinesAsShown) {
    TfrmChiamate call;
    dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
        click(d, "btnCerca");
        EXPECT_EQ(shownLines(d).size(), 5);
        click(d, "btnStampa");
        click(d, "btnChiudi");
    });
    click(call, "impCliente");
    ASSERT_EQ(printer->printed.size(), 1);
    EXPECT_EQ(printer->printed[0].first("txtRiepilogo")->text.split('\n').size(), 5);
    EXPECT_TRUE(printer->printed[0].first("txtRiepilogo")->text.startsWith(QString::fromLatin1(kLongName.left(26))));
}

TEST_F(SearchScreens, LinesAreAtLeast1600PixelsWideAndTheLongestFitsWhole) {
    write(QStringLiteral("Contatti.pro"),
          clients() + clientCard({{"Cliente", "Zeta"}, {"Note", QByteArray(250, 'n')}}));
    TfrmClienti card;
    dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
        click(d, "btnCerca");
        auto* list = child<CardLineList>(d, "lstRecords");
        const QStringList lines = shownLines(d);
        ASSERT_EQ(lines.size(), 6);
        EXPECT_EQ(lines.last().size(), 365);
        const int width = list->model()->index(0, 0).data(Qt::SizeHintRole).toSize().width();
        EXPECT_GE(width, QFontMetrics(list->font()).horizontalAdvance(lines.last()));
        EXPECT_GT(width, 1600);
        EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        click(d, "btnChiudi");
    });
    click(card, "cmdTrova");
    dialogs.verifyAllShown();
}

TEST_F(SearchScreens, AReadFailureShowsTheArchiveMessageAndKeepsTheFilters) {
    QFile::remove(path("Contatti.pro"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Contatti.pro")); // cannot be opened as an archive
    TfrmClienti card;
    messages.expect(MsgKind::Plain, kArchiveMessage);
    dialogs.expect("frmTrovaClienti", [&](QDialog& d) {
        type(d, "txtCliente", "rossi");
        type(d, "txtZona", " nord");
        click(d, "btnCerca");
        EXPECT_TRUE(child(d, "panAvvio")->isVisible());
        EXPECT_FALSE(child(d, "panContainer")->isVisible());
        EXPECT_TRUE(child(d, "lblAttendere")->isVisible());
        EXPECT_EQ(textOf(d, "txtCliente"), "rossi");
        EXPECT_EQ(textOf(d, "txtZona"), " nord");
        click(d, "btnAnnulla");
    });
    click(card, "cmdTrova");
    dialogs.verifyAllShown();
    messages.verifyAllShown();
}

TEST_F(SearchScreens, EnterWalksTheFiltersInARing) {
    TfrmClienti card;
    dialogs.expect("frmTrovaChiamate", [&](QDialog& d) {
        const QList<QLineEdit*> boxes = static_cast<TfrmTrova&>(d).filterBoxes();
        ASSERT_EQ(boxes.size(), 10);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(d.focusWidget(), boxes[i]);
            QTest::keyClick(boxes[i], Qt::Key_Return);
        }
        EXPECT_EQ(d.focusWidget(), boxes[0]);
        EXPECT_FALSE(child(d, "panContainer")->isVisible()); // Enter never searched
        click(d, "btnAnnulla");
    });
    openTrovaChiamate(&card, kModeChiamate);
    dialogs.verifyAllShown();
}

// ---- the recontact list ----

TEST_F(SearchScreens, RecontactListShowsSortedLinesAndEachOpensItsOwnCard) {
    TfrmClienti card;
    for (int row : {0, 1, 2}) {
        dialogs.expect("frmRicontatta", [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), " Riepilogo clienti da ricontattare");
            EXPECT_EQ(d.focusWidget(), child(d, "txtTrova"));
            const QStringList lines = shownLines(d);
            ASSERT_EQ(lines.size(), 3);
            EXPECT_TRUE(lines[0].startsWith(QString::fromLatin1(kLongName.left(26)) + "  Tel. "));
            EXPECT_EQ(lines[0], lines[1]);
            EXPECT_TRUE(lines[2].startsWith("Rossi Mario"));
            EXPECT_TRUE(lines[2].contains("Idraulico"));
            if (row == 0)
                keepShot(d, "ricontatta.png");
            doubleClick(d, row);
        });
        click(card, "cmdRicontatta");
        dialogs.verifyAllShown();
        EXPECT_EQ(card.lblPosizione->text(), QString::number(row == 0 ? 2 : row == 1 ? 4 : 3));
    }
    // The card shown is the current card: a save rewrites it in place.
    card.txtRecapito->setText("051 999");
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(card, "cmdSalva");
    EXPECT_EQ(bytes("Contatti.pro").size(), 5 * kClientRecordSize);
}

TEST_F(SearchScreens, RecontactListFindsPrintsAndReportsAReadFailure) {
    TfrmClienti card;
    dialogs.expect("frmRicontatta", [&](QDialog& d) {
        type(d, "txtTrova", "IDRAUL");
        click(d, "btnTrova");
        EXPECT_EQ(child<CardLineList>(d, "lstRecords")->selectedCard(), 3);
        click(d, "btnStampa");
        click(d, "btnChiudi");
    });
    click(card, "cmdRicontatta");
    ASSERT_EQ(printer->printed.size(), 1);
    EXPECT_EQ(printer->printed[0].first("txtTitolo")->text, "Riepilogo clienti da ricontattare");
    EXPECT_EQ(card.lblPosizione->text(), "");

    QFile::remove(path("Contatti.pro"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Contatti.pro"));
    messages.expect(MsgKind::Plain, kArchiveMessage);
    dialogs.expect("frmRicontatta", [&](QDialog& d) {
        EXPECT_TRUE(shownLines(d).isEmpty());
        click(d, "btnChiudi");
    });
    click(card, "cmdRicontatta");
    dialogs.verifyAllShown();
    messages.verifyAllShown();
}

// ---- ombrisa-tool search lists what the screen lists ----

TEST_F(SearchScreens, ToolSearchPrintsTheScreensLines) {
    write(QStringLiteral("Registro_Chiamate.pro"),
          callCard({{"DataRit", "09/03/2024"}, {"Oggetto", "Preventivo casa"}, {"Operatore", "Anna"}}) +
              callCard({{"DataRit", "10/03/2024"}, {"Oggetto", "preventivo auto"}, {"Operatore", "Luca"}}) +
              callCard({{"DataRit", "11/03/2024"}, {"Oggetto", "PREVENTIVO"}, {"Operatore", "anna maria"}}));
    struct Case {
        const char* archive;
        const char* screen;
        std::vector<std::pair<const char*, QString>> boxes;
    };
    const Case cases[] = {
        {"clienti", "frmTrovaClienti", {}},
        {"clienti", "frmTrovaClienti", {{"txtCliente", " "}, {"txtCodFisc", "a944"}}},
        {"chiamate", "frmTrovaChiamate", {{"txtOggetto", "preventivo"}, {"txtOperatore", "ANNA"}}},
        {"chiamate", "frmTrovaChiamate", {{"txtOggetto", "nulla"}}},
    };
    TfrmClienti card;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        QStringList screenLines;
        dialogs.expect(c.screen, [&](QDialog& d) {
            for (const auto& [box, text] : c.boxes)
                child<QLineEdit>(d, box)->setText(text);
            click(d, "btnCerca");
            screenLines = shownLines(d) << textOf(d, "lblTrovate");
            click(d, "btnChiudi");
        });
        QStringList args{"search", c.archive, "--dir", dir.path()};
        for (const auto& [box, text] : c.boxes)
            args << "--box" << QString::fromLatin1(box) + "=" + text;
        if (QLatin1String(c.archive) == QLatin1String("clienti"))
            openTrovaClienti(&card, kModeClienti);
        else
            openTrovaChiamate(&card, kModeChiamate);
        QProcess tool;
        tool.start(QStringLiteral(OMBRISA_TOOL_PATH), args);
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0);
        QStringList toolLines = QString::fromUtf8(tool.readAllStandardOutput()).split('\n');
        ASSERT_EQ(toolLines.takeLast(), "");
        EXPECT_EQ(toolLines, screenLines);
    }
    dialogs.verifyAllShown();
}

} // namespace
