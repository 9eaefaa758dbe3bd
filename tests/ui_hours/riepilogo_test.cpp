// The interval screen and the hours summary as the user meets them: the ten checks, the typing rules
// of the fields, the summary of an interval, unreadable records, printing, help, and the summary read
// back through ombrisa-tool from works saved on the register screen.
#include "hoursfixture.h"

#include "core/storage/recordfile.h"
#include "core/work/hourssummary.h"
#include "ui/agents/Lavori_Svolti.h"
#include "ui/app/guida.h"
#include "ui/hours/MenuRiepStraordinari.h"
#include "ui/hours/RiepStraordinari.h"
#include "ui/lists/cardlinelist.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QString kValidDate = QStringLiteral("\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare una data "
                                          "valida.");

class RiepilogoTest : public HoursTest {
protected:
    void SetUp() override {
        HoursTest::SetUp();
        menu = std::make_unique<TfrmMenuRiepStraordinari>();
        menu->show();
    }
    void TearDown() override {
        menu.reset();
        HoursTest::TearDown();
    }
    static void pick(QComboBox* box, const char* item) {
        box->setCurrentIndex(box->findText(QString::fromUtf8(item)));
        ASSERT_GE(box->currentIndex(), 0) << item;
    }
    void interval(const char* cf, const char* d1, const char* m1, const char* y1, const char* d2, const char* m2,
                  const char* y2) {
        menu->txtCliente->setText(QString::fromLatin1(cf));
        const std::pair<QComboBox*, const char*> picks[] = {
            {menu->txtGiornoInizio, d1}, {menu->txtMeseInizio, m1}, {menu->txtGiornoFine, d2}, {menu->txtMeseFine, m2}};
        for (const auto& [box, item] : picks) {
            if (*item)
                pick(box, item);
            else
                box->setCurrentIndex(-1);
        }
        menu->txtAnnoInizio->setText(QString::fromLatin1(y1));
        menu->txtAnnoFine->setText(QString::fromLatin1(y2));
    }
    // Opens the summary for the whole of 2023 and runs `steps` on it.
    void openSummary(std::function<void(TfrmRiepStraordinari&)> steps, const char* fromMonth = "Gennaio",
                     const char* toMonth = "Dicembre") {
        interval("RSSMRA80A01H501U", "01", fromMonth, "2023", "31", toMonth, "2023");
        dialogs.expect(QStringLiteral("frmRiepStraordinari"), [this, steps](QDialog& d) {
            EXPECT_TRUE(menu->lblAttendere->isVisible());
            steps(static_cast<TfrmRiepStraordinari&>(d));
        });
        menu->btnVisualizza->click();
        EXPECT_FALSE(menu->lblAttendere->isVisible());
    }

    std::unique_ptr<TfrmMenuRiepStraordinari> menu;
};

TEST_F(RiepilogoTest, TheChecksInOrderWithTheirTextsAndFocus) {
    struct Case {
        const char *cf, *d1, *m1, *y1, *d2, *m2, *y2;
        MsgKind kind;
        QString message;
        const char* focus; // nullptr: the focus stays where the click left it
    };
    const auto w = [](const char* text) { return QStringLiteral("Attenzione: ") + QString::fromUtf8(text); };
    const Case cases[] = {
        {"  ", "01", "Marzo", "2024", "02", "Marzo", "2024", MsgKind::Warning,
         w("indicare il codice fiscale del lavoratore."), "txtCliente"},
        {"RSS", "", "Marzo", "2024", "02", "Marzo", "2024", MsgKind::Warning,
         w("indicare il giorno di inizio intervallo selezionandolo dall'elenco a cascata."), "txtGiornoInizio"},
        {"RSS", "01", "", "2024", "02", "Marzo", "2024", MsgKind::Warning,
         w("indicare il mese di inizio intervallo selezionandolo dall'elenco a cascata."), "txtMeseInizio"},
        {"RSS", "01", "Marzo", "24", "02", "Marzo", "2024", MsgKind::Warning,
         w("indicare l'anno solare di inizio intervallo utilizzando quattro cifre."), "txtAnnoInizio"},
        {"RSS", "01", "Marzo", "2024", "", "Marzo", "2024", MsgKind::Warning,
         w("indicare il giorno di fine intervallo selezionandolo dall'elenco a cascata."), "txtGiornoFine"},
        {"RSS", "01", "Marzo", "2024", "02", "", "2024", MsgKind::Warning,
         w("indicare il mese di fine intervallo selezionandolo dall'elenco a cascata."), "txtMeseFine"},
        {"RSS", "01", "Marzo", "2024", "02", "Marzo", "202", MsgKind::Warning,
         w("indicare l'anno solare di fine intervallo utilizzando quattro cifre."), "txtAnnoFine"},
        {"RSS", "31", "Aprile", "2024", "02", "Maggio", "2024", MsgKind::Plain,
         w("la data 31/04/2024 di inizio intervallo non esiste.") + kValidDate, "txtGiornoInizio"},
        {"RSS", "29", "Febbraio", "2023", "02", "Maggio", "2024", MsgKind::Plain,
         w("la data 29/02/2023 di inizio intervallo non esiste.") + kValidDate, "txtGiornoInizio"},
        {"RSS", "29", "Febbraio", "2024", "30", "Febbraio", "2024", MsgKind::Plain,
         w("la data 30/02/2024 di fine intervallo non esiste.") + kValidDate, "txtGiornoFine"},
        {"RSS", "02", "Marzo", "2024", "01", "Marzo", "2024", MsgKind::Plain,
         w("la data di fine intervallo (01/03/2024) non può essere anteriore a quella di inizio intervallo "
           "(02/03/2024).\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare un intervallo di tempo "
           "valido."),
         nullptr},
        {"../../Contatti", "01", "Marzo", "2024", "02", "Marzo", "2024", MsgKind::Warning,
         w("il codice fiscale \"../../Contatti\" contiene caratteri non ammessi. Il registro delle prestazioni "
           "lavorative può essere aperto solo per un codice fiscale composto di lettere e cifre."),
         "txtCliente"},
    };
    for (const Case& c : cases) {
        interval(c.cf, c.d1, c.m1, c.y1, c.d2, c.m2, c.y2);
        menu->txtAnnoFine->setFocus();
        QTest::mousePress(menu->btnVisualizza, Qt::LeftButton);
        EXPECT_TRUE(menu->lblAttendere->isVisible()); // the waiting notice shows as the button goes down
        QWidget* const clickFocus = menu->focusWidget();
        messages.expect(c.kind, c.message);
        QTest::mouseRelease(menu->btnVisualizza, Qt::LeftButton);
        EXPECT_FALSE(menu->lblAttendere->isVisible()) << c.message.toStdString();
        EXPECT_EQ(menu->focusWidget(), c.focus ? menu->findChild<QWidget*>(QLatin1String(c.focus)) : clickFocus)
            << c.message.toStdString();
    }
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_FALSE(QDir(path(QStringLiteral("Archivio_Lavori"))).exists()); // no check wrote anything
}

// The day and month boxes are list-only boxes like the cards' lists: F4 and Alt+Down open the list.
TEST_F(RiepilogoTest, F4AndAltDownOpenADayOrMonthList) {
    QApplication::setActiveWindow(menu.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_F4, Qt::NoModifier},
                                                              {Qt::Key_Down, Qt::AltModifier}};
    for (QComboBox* box : {menu->txtGiornoInizio, menu->txtMeseFine}) {
        for (const auto& [key, modifiers] : keys) {
            box->setFocus(Qt::TabFocusReason);
            QTest::keyClick(box->lineEdit(), key, modifiers);
            EXPECT_TRUE(box->view()->isVisible()) << box->objectName().toStdString() << ' ' << key;
            box->hidePopup();
        }
    }
}

TEST_F(RiepilogoTest, TheFieldsTypingRulesAndTheClearedShowing) {
    // Lower case turns upper at once; a blank at either end goes at once.
    QTest::keyClicks(menu->txtCliente, QStringLiteral(" rss mra "));
    EXPECT_EQ(menu->txtCliente->text(), QStringLiteral("RSSMRA"));
    pick(menu->txtGiornoInizio, "12");
    QTest::keyClicks(menu->txtGiornoInizio, QStringLiteral("3a"));
    EXPECT_EQ(menu->txtGiornoInizio->currentText(), QStringLiteral("12"));
    QTest::keyClick(menu->txtGiornoInizio, Qt::Key_Backspace);
    EXPECT_EQ(menu->txtGiornoInizio->currentText(), QString());
    menu->txtAnnoInizio->clear();
    QTest::keyClicks(menu->txtAnnoInizio, QStringLiteral("x-1 9"));
    EXPECT_EQ(menu->txtAnnoInizio->text(), QStringLiteral("19"));
    pick(menu->txtMeseFine, "Luglio");
    QTest::keyClick(menu->txtMeseFine, Qt::Key_Return);
    EXPECT_EQ(menu->focusWidget(), menu->txtAnnoFine);
    QTest::keyClick(menu->txtAnnoFine, Qt::Key_Return);
    EXPECT_EQ(menu->focusWidget(), menu->btnVisualizza);

    // Leaving a day or month box that holds no item of its list empties it.
    QApplication::setActiveWindow(menu.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    menu->txtGiornoFine->setFocus();
    menu->txtGiornoFine->setEditText(QStringLiteral("45"));
    menu->txtMeseFine->setFocus();
    EXPECT_EQ(menu->txtGiornoFine->currentText(), QString());
    EXPECT_EQ(menu->txtMeseFine->currentText(), QStringLiteral("Luglio")); // focus arriving keeps the text
    menu->txtMeseFine->setEditText(QStringLiteral(" luglio "));
    menu->txtAnnoFine->setFocus();
    EXPECT_EQ(menu->txtMeseFine->currentText(), QStringLiteral(" luglio "));
    menu->txtMeseFine->setFocus();
    menu->txtMeseFine->setEditText(QStringLiteral("Lugl"));
    menu->txtAnnoFine->setFocus();
    EXPECT_EQ(menu->txtMeseFine->currentText(), QString());

    menu->hide();
    menu->show();
    EXPECT_EQ(menu->txtCliente->text(), QString());
    EXPECT_EQ(menu->txtMeseFine->currentText(), QString());
    EXPECT_EQ(menu->txtAnnoInizio->text(), QStringLiteral("2024"));
    EXPECT_EQ(menu->txtAnnoFine->text(), QStringLiteral("2024"));
    EXPECT_EQ(menu->focusWidget(), menu->txtCliente);
}

// The summary, maximised on a 1366 × 768 screen, shows every column of the longest line, the hours last;
// on a wider screen the list keeps the Courier 12 of every list.
TEST_F(RiepilogoTest, EveryColumnShowsWithinA1366PixelScreen) {
    writeRegister(fullWork());
    openSummary([](TfrmRiepStraordinari& s) {
        expectEveryColumnShown(s, s.lstRecords, QSize(1366, 768));
        EXPECT_LE(s.width(), 1366);
        EXPECT_LT(s.lstRecords->font().pointSizeF(), 12);
        expectEveryColumnShown(s, s.lstRecords, QSize(1920, 1080));
        EXPECT_EQ(s.lstRecords->font().pointSizeF(), 12);
        s.btnEsci->click();
    });
}

// The boxes look and move like the cards' boxes: the one with the keyboard, and only it, has its yellow
// frame; the pictures and buttons explain themselves on the hint line, the background empties it.
TEST_F(RiepilogoTest, TheBoxesShowTheCardsFocusFrameAndTheHintLineExplainsTheButtons) {
    menu->setWindowState(Qt::WindowNoState); // the office's screen, wider than the test display
    menu->resize(1366, 740);
    QApplication::setActiveWindow(menu.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    const QStringList boxes{"txtCliente",    "txtGiornoInizio", "txtMeseInizio", "txtAnnoInizio",
                            "txtGiornoFine", "txtMeseFine",     "txtAnnoFine"};
    for (const QString& name : boxes) {
        menu->findChild<QWidget*>(name)->setFocus(Qt::TabFocusReason);
        for (const QString& other : boxes) {
            auto* frame = menu->findChild<QWidget*>(QStringLiteral("eff") + other.mid(3));
            ASSERT_NE(frame, nullptr) << other.toStdString();
            EXPECT_EQ(frame->isVisible(), other == name) << "focus in " << name.toStdString();
        }
    }
    EXPECT_EQ(menu->panInfo->text(), QStringLiteral("Pronto per un nuovo riepilogo delle ore di lavoro..."));
    const std::pair<QWidget*, const char*> hints[] = {
        {menu->btnCodFisc, "Importa il codice fiscale dall'archivio anagrafico degli agenti."},
        {menu->btnVisualizza, "Controlla l'agente e l'intervallo e mostra il riepilogo."},
        {menu->btnEsci, "Torna al menu principale."},
    };
    for (const auto& [control, hint] : hints) {
        QTest::mouseMove(control, control->rect().center());
        EXPECT_EQ(menu->panInfo->text(), QString::fromUtf8(hint));
        QTest::mouseMove(menu.get(), QPoint(3, 3));
        EXPECT_EQ(menu->panInfo->text(), QString());
    }
}

TEST_F(RiepilogoTest, ASummaryOfThreeYearsListsOnlyTheInterval) {
    writeRegister(work("31/12/2022", "Prima", "5") + work("01/01/2023", "Capodanno", "8") +
                  work("15/06/2023", "Estate", "7,5") + work("01/01/2024", "Dopo", "4") +
                  work("31/12/2023", "San Silvestro", "2"));
    openSummary([this](TfrmRiepStraordinari& s) {
        const QStringList shown = shownLines(s.lstRecords);
        ASSERT_EQ(shown.size(), 3);
        EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Capodanno ")));
        EXPECT_TRUE(shown[2].startsWith(QStringLiteral("San Silvestro ")));
        EXPECT_EQ(s.titTipologia->text(), kCodFisc);
        EXPECT_EQ(s.lblIntervallo->text(), QStringLiteral("Dal   01/01/2023   al   31/12/2023"));
        EXPECT_EQ(s.lblTrovate->text(), QStringLiteral("3 lavori svolti"));
        EXPECT_EQ(s.lblTotCosti->text(), QStringLiteral("17,5"));
        EXPECT_EQ(s.focusWidget(), s.txtTrova);

        messages.expect(MsgKind::Confirmation, QStringLiteral("Si vuole stampare il presente riepilogo?"),
                        MsgAnswer::No);
        s.btnStampa->click();
        EXPECT_TRUE(printer->printed.isEmpty());
        messages.expect(MsgKind::Confirmation, QStringLiteral("Si vuole stampare il presente riepilogo?"),
                        MsgAnswer::Yes);
        s.btnStampa->click();
        ASSERT_EQ(printer->printed.size(), 1);
        EXPECT_EQ(printer->printed[0].first(QStringLiteral("txtTitolo"))->text,
                  QStringLiteral("Riepilogo prestazioni del lavoratore con C.F. RSSMRA80A01H501U"));
        EXPECT_EQ(printedBody(printer->printed[0]),
                  shown + QStringList({QStringLiteral("- - - - - - - - - - - - - - - -"),
                                       QStringLiteral("INTERVALLO SELEZIONATO:    Dal   01/01/2023   al   31/12/2023"),
                                       QStringLiteral("TOTALE LAVORI SVOLTI:      3"),
                                       QStringLiteral("TOTALE ORE DI LAVORO:      17,5")}));
        s.btnEsci->click();
    });
    // Only the month of the last work: two whole hours total without a decimal part.
    openSummary(
        [](TfrmRiepStraordinari& s) {
            EXPECT_EQ(shownLines(s.lstRecords).size(), 1);
            EXPECT_EQ(s.lblTotCosti->text(), QStringLiteral("2"));
            s.btnEsci->click();
        },
        "Dicembre", "Dicembre");
}

TEST_F(RiepilogoTest, UnreadableRecordsAreNamedAndTheRestIsTotalled) {
    writeRegister(work("10/03/2023", "Buona", "8") + work("11/03/2023", "Punto", "7.5") +
                  work("32/03/2023", "Data storta", "1") + work("12/03/2023", "Altra", "2"));
    messages.expect(
        MsgKind::Warning,
        QStringLiteral("Attenzione: le prestazioni seguenti del registro non sono leggibili (data non "
                       "valida oppure ore non numeriche) e non compaiono nel riepilogo; il totale delle ore "
                       "non le comprende:\nscheda n. 2: data \"11/03/2023\", ore \"7.5\"\nscheda n. 3: "
                       "data \"32/03/2023\", ore \"1\""));
    openSummary([this](TfrmRiepStraordinari& s) {
        EXPECT_EQ(shownLines(s.lstRecords).size(), 2);
        EXPECT_EQ(s.lblTrovate->text(), QStringLiteral("2 lavori svolti"));
        EXPECT_EQ(s.lblTotCosti->text(), QStringLiteral("10"));
        // The printout says the total leaves records out, as the screen's warning did.
        messages.expect(MsgKind::Confirmation, QStringLiteral("Si vuole stampare il presente riepilogo?"),
                        MsgAnswer::Yes);
        s.btnStampa->click();
        ASSERT_EQ(printer->printed.size(), 1);
        const QStringList body = printedBody(printer->printed[0]);
        ASSERT_FALSE(body.isEmpty());
        EXPECT_EQ(body.last(), QStringLiteral("2 schede illeggibili escluse dal totale"));
        EXPECT_EQ(body[body.size() - 2], QStringLiteral("TOTALE ORE DI LAVORO:      10"));
        s.btnEsci->click();
    });
}

TEST_F(RiepilogoTest, AnEmptySummaryRefusesToPrintAndLeavesAnEmptyRegister) {
    openSummary([this](TfrmRiepStraordinari& s) {
        EXPECT_EQ(s.lstRecords->model()->rowCount(), 0);
        EXPECT_EQ(s.lblTrovate->text(), QStringLiteral("0 lavori svolti"));
        EXPECT_EQ(s.lblTotCosti->text(), QStringLiteral("0"));
        messages.expect(MsgKind::Warning, QStringLiteral("Operazione di stampa non applicabile: il riepilogo non "
                                                         "contiene nessuna voce."));
        s.btnStampa->click();
        EXPECT_TRUE(printer->printed.isEmpty());
        s.btnEsci->click();
    });
    EXPECT_TRUE(QFile::exists(path(kRegister)));
    EXPECT_EQ(bytes(kRegister).size(), 0);
}

TEST_F(RiepilogoTest, ARegisterThatCannotBeReadIsReported) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(kRegister)); // a folder where the register should be
    messages.expect(MsgKind::Warning, kArchiveMessage);
    openSummary([](TfrmRiepStraordinari& s) {
        EXPECT_EQ(s.lstRecords->model()->rowCount(), 0);
        EXPECT_EQ(s.lblTotCosti->text(), QStringLiteral("0"));
        s.btnEsci->click();
    });
}

TEST_F(RiepilogoTest, HelpAndTheFindTextRememberedAcrossSummaries) {
    writeRegister(work("10/03/2023", "Uno", "8") + work("11/03/2023", "Due", "2"));
    TfrmRiepStraordinari::rememberedFindText().clear();
    openSummary([this](TfrmRiepStraordinari& s) {
        s.txtTrova->setText(QStringLiteral("data:"));
        s.btnTrova->click();
        EXPECT_EQ(s.lstRecords->currentIndex().row(), 0);
        dialogs.expect(QStringLiteral("frmGuida"), [](QDialog& d) {
            auto& help = static_cast<TfrmGuida&>(d);
            EXPECT_EQ(help.lblTitolo->text(), QStringLiteral("App Riepilogo Ore di Lavoro"));
            EXPECT_TRUE(help.helpText().startsWith(QStringLiteral("L'app Riepilogo Ore di Lavoro consente")));
            help.btnChiudi->click();
        });
        s.imgGuidaClick();
        s.btnEsci->click();
    });
    // A new summary remembers the text: the same find goes on from the line after the selected one.
    openSummary([](TfrmRiepStraordinari& s) {
        s.txtTrova->setText(QStringLiteral("data:"));
        s.btnTrova->click();
        EXPECT_EQ(s.lstRecords->currentIndex().row(), 1);
        s.btnEsci->click();
    });
    TfrmRiepStraordinari::rememberedFindText().clear();
}

// Works saved on the register screen, then the summary screen and ombrisa-tool read them alike.
TEST_F(RiepilogoTest, WorksSavedOnTheRegisterReadBackWithTheTool) {
    const char* works[][5] = {{"02/01/2023", "Installazione impianto di climatizzazione", "Perugia", "8:00-12:00", "4"},
                              {"1/3/2023", "Sopralluogo", "Foligno", "14-18", "4"},
                              {"30/12/2022", "Fuori intervallo", "Assisi", "9-10", "1"}};
    for (const auto& w : works) {
        dialogs.expect(QStringLiteral("frmLavori_Svolti"), [this, &w](QDialog& d) {
            auto& s = static_cast<TfrmLavori_Svolti&>(d);
            s.btnAggiungi->click();
            s.txtData->setText(QString::fromLatin1(w[0]));
            s.txtAttivita->setText(QString::fromLatin1(w[1]));
            s.txtLuogo->setText(QString::fromLatin1(w[2]));
            s.txtOrario->setText(QString::fromLatin1(w[3]));
            s.txtTotOre->setText(QString::fromLatin1(w[4]));
            messages.expect(MsgKind::Information, QStringLiteral("La scheda corrente è stata inserita in archivio."));
            s.btnSalva->click();
            s.cmdClose->click();
        });
        openWorkRegister(card.get(), txtDipendente, txtCodFisc);
    }
    QStringList screen;
    openSummary([&screen](TfrmRiepStraordinari& s) {
        screen = shownLines(s.lstRecords) +
                 hoursTotalLines(s.lblIntervallo->text(), QStringLiteral("2"), s.lblTotCosti->text());
        s.btnEsci->click();
    });
    QProcess tool;
    tool.start(QStringLiteral(OMBRISA_TOOL_PATH),
               {QStringLiteral("hours"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"), kCodFisc,
                QStringLiteral("--from"), QStringLiteral("01/01/2023"), QStringLiteral("--to"),
                QStringLiteral("31/12/2023")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList printed =
        QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(screen.size(), 6);
    EXPECT_EQ(printed, screen);
    EXPECT_EQ(printed.last(), QStringLiteral("TOTALE ORE DI LAVORO:      8"));
}

} // namespace
