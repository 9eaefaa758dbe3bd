// The work register screen as the user meets it: the list, adding and changing works, the save checks,
// the codice fiscale refused as a file name, printing, and the agent card's button that opens it.
#include "hoursfixture.h"

#include "core/cards/cardnavigator.h"
#include "core/storage/recordfile.h"
#include "core/work/workregister.h"
#include "ui/agents/Dipendenti.h"
#include "ui/agents/Lavori_Svolti.h"
#include "ui/lists/cardlinelist.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kChanged = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

class LavoriTest : public HoursTest {
protected:
    // Opens the register over the card and runs `steps` on it.
    void openRegister(std::function<void(TfrmLavori_Svolti&)> steps) {
        dialogs.expect(QStringLiteral("frmLavori_Svolti"), [steps](QDialog& d) {
            auto* screen = qobject_cast<TfrmLavori_Svolti*>(&d);
            ASSERT_NE(screen, nullptr);
            steps(*screen);
        });
        openWorkRegister(card.get(), txtDipendente, txtCodFisc);
    }
    static void fill(TfrmLavori_Svolti& s, const char* data, const char* attivita, const char* luogo,
                     const char* orario, const char* totOre) {
        s.txtData->setText(QString::fromUtf8(data));
        s.txtAttivita->setText(QString::fromUtf8(attivita));
        s.txtLuogo->setText(QString::fromUtf8(luogo));
        s.txtOrario->setText(QString::fromUtf8(orario));
        s.txtTotOre->setText(QString::fromUtf8(totOre));
    }
    static void select(TfrmLavori_Svolti& s, int row) {
        s.lstRecords->selectionModel()->setCurrentIndex(s.lstRecords->model()->index(row, 0),
                                                        QItemSelectionModel::ClearAndSelect);
    }
};

TEST_F(LavoriTest, OpeningWithoutRegisterCreatesItEmpty) {
    openRegister([](TfrmLavori_Svolti& s) {
        EXPECT_EQ(s.windowTitle(), QStringLiteral(" Registro prestazioni lavorative"));
        EXPECT_EQ(s.lblTitolo->text(), QStringLiteral("Registro prestazioni lavorative di Rossi Mario"));
        EXPECT_EQ(s.lblTotale->text(), QStringLiteral("0"));
        EXPECT_EQ(s.lstRecords->model()->rowCount(), 0);
        EXPECT_TRUE(s.panContainer->isVisible());
        EXPECT_FALSE(s.panCosti->isVisible());
        EXPECT_EQ(s.focusWidget(), s.txtTrova);
        s.btnChiudi->click();
    });
    EXPECT_TRUE(QFile::exists(path(kRegister)));
    EXPECT_EQ(bytes(kRegister).size(), 0);
}

TEST_F(LavoriTest, SaveChecksInOrderThenSavingTwiceOverwritesTheSameRecord) {
    openRegister([this](TfrmLavori_Svolti& s) {
        s.btnAggiungiClick();
        EXPECT_TRUE(s.panCosti->isVisible());
        EXPECT_FALSE(s.panContainer->isVisible());
        EXPECT_EQ(s.focusWidget(), s.txtData);
        struct Case {
            const char *data, *attivita, *luogo, *orario, *totOre;
            MsgKind kind;
            const char* message;
            QLineEdit* focus;
        };
        const Case cases[] = {
            {" ", "a", "b", "c", "1", MsgKind::Warning,
             "Attenzione: per salvare la scheda è necessario indicare la data in cui la prestazione è stata svolta.",
             s.txtData},
            {"31/02/2024", "", "", "", "", MsgKind::Plain,
             "Attenzione: la data 31/02/2024 non è riconosciuta.\n\r\n\rPer poter salvare la scheda è necessario "
             "indicare una data valida nel formato gg/mm/aaaa.",
             s.txtData},
            {"1/3/2024", " ", "b", "c", "1", MsgKind::Warning,
             "Attenzione: per salvare la scheda è necessario indicare la tipologia di prestazione svolta.",
             s.txtAttivita},
            {"1/3/2024", "a", "", "c", "1", MsgKind::Warning,
             "Attenzione: per salvare la scheda è necessario indicare il luogo in cui la prestazione è stata svolta.",
             s.txtLuogo},
            {"1/3/2024", "a", "b", "", "1", MsgKind::Warning,
             "Attenzione: per salvare la scheda è necessario indicare l'orario in cui la prestazione è stata svolta.",
             s.txtOrario},
            {"1/3/2024", "a", "b", "c", "", MsgKind::Warning,
             "Attenzione: per salvare la scheda è necessario indicare la durata totale in ore della prestazione "
             "svolta.",
             s.txtTotOre},
        };
        for (const Case& c : cases) {
            fill(s, c.data, c.attivita, c.luogo, c.orario, c.totOre);
            s.txtTrova->setFocus(); // the check moves the focus, wherever it was
            messages.expect(c.kind, QString::fromUtf8(c.message));
            s.btnSalva->click();
            EXPECT_EQ(s.focusWidget(), c.focus) << c.message;
        }
        EXPECT_EQ(bytes(kRegister).size(), 0);

        fill(s, "1/3/2024", "Manutenzione", "Perugia", "8-12", "4");
        messages.expect(MsgKind::Information, kInserted);
        s.btnSalva->click();
        EXPECT_EQ(s.lblPosizione->text(), QStringLiteral("1"));
        s.txtTotOre->setText(QStringLiteral("5"));
        messages.expect(MsgKind::Information, kChanged);
        s.btnSalva->click();
        EXPECT_EQ(s.lblPosizione->text(), QStringLiteral("1"));
        EXPECT_EQ(bytes(kRegister), work("1/3/2024", "Manutenzione", "5", "Perugia", "8-12"));
        // The list is not refreshed until the register is opened again.
        EXPECT_EQ(s.lstRecords->model()->rowCount(), 0);
        EXPECT_EQ(s.lblTotale->text(), QStringLiteral("0"));
        s.cmdClose->click();
    });
    openRegister([](TfrmLavori_Svolti& s) {
        ASSERT_EQ(s.lstRecords->model()->rowCount(), 1);
        EXPECT_TRUE(shownLines(s.lstRecords)[0].startsWith(QStringLiteral("Manutenzione  ")));
        EXPECT_TRUE(shownLines(s.lstRecords)[0].endsWith(QStringLiteral("Tot. ore: 5")));
        EXPECT_EQ(s.lblTotale->text(), QStringLiteral("1"));
        s.btnChiudi->click();
    });
}

TEST_F(LavoriTest, ChangingEditsTheRecordOfTheSelectedLine) {
    // Records 1 and 2 give identical lines; record 3 has an empty date and is not listed.
    const QByteArray twin = work("08/03/2024", "Sopralluogo", "2");
    const QByteArray hidden = work("", "Senza data", "9");
    writeRegister(twin + twin + hidden + work("09/03/2024", "Consegna", "3"));
    openRegister([&](TfrmLavori_Svolti& s) {
        ASSERT_EQ(s.lstRecords->model()->rowCount(), 3);
        EXPECT_EQ(s.lblTotale->text(), QStringLiteral("3"));
        const std::vector<CardLine>& listed = s.lstRecords->lines()->lines();
        std::vector<std::int64_t> numbers;
        for (const CardLine& line : listed)
            numbers.push_back(line.card);
        EXPECT_EQ(numbers, (std::vector<std::int64_t>{1, 2, 4}));
        messages.expect(MsgKind::Warning, QStringLiteral("Attenzione: selezionare una voce dall'elenco prima di "
                                                         "premere il pulsante di modifica."));
        s.btnModifica->click();
        EXPECT_TRUE(s.panContainer->isVisible());

        select(s, 0);
        s.btnModifica->click();
        EXPECT_EQ(s.lblPosizione->text(), QStringLiteral("1"));
        EXPECT_EQ(s.txtAttivita->text(), QStringLiteral("Sopralluogo"));
        EXPECT_EQ(s.focusWidget(), s.txtData);
        s.txtTotOre->setText(QStringLiteral("6"));
        messages.expect(MsgKind::Information, kChanged);
        s.btnSalva->click();
        s.cmdClose->click();
    });
    EXPECT_EQ(bytes(kRegister),
              work("08/03/2024", "Sopralluogo", "6") + twin + hidden + work("09/03/2024", "Consegna", "3"));
    // The last line is record 4, past the hidden one.
    openRegister([](TfrmLavori_Svolti& s) {
        select(s, 2);
        s.btnModifica->click();
        EXPECT_EQ(s.lblPosizione->text(), QStringLiteral("4"));
        EXPECT_EQ(s.txtData->text(), QStringLiteral("09/03/2024"));
        s.cmdClose->click();
    });
}

// Another workstation saves the same work while it is open here: the save asks, "No" shows the stored
// work and writes nothing, "Sì" writes the work on screen over it; an unchanged work is never asked about.
TEST_F(LavoriTest, AWorkChangedElsewhereIsAskedAboutAndEachAnswerDoesWhatItSays) {
    writeRegister(work("08/03/2024", "Sopralluogo", "2") + work("09/03/2024", "Consegna", "3"));
    const QString question = kChangedElsewhereQuestion;
    const auto elsewhere = [this](const char* totOre) {
        ASSERT_TRUE(saveWork(path(kRegister), 1,
                             {QStringLiteral("08/03/2024"), QStringLiteral("Sopralluogo"), QStringLiteral("Perugia"),
                              QStringLiteral("08:00 - 12:00"), QString::fromLatin1(totOre)}));
    };
    const QByteArray second = work("09/03/2024", "Consegna", "3");
    openRegister([&](TfrmLavori_Svolti& s) {
        select(s, 0);
        s.btnModifica->click();
        ASSERT_EQ(s.lblPosizione->text(), QStringLiteral("1"));
        elsewhere("7");
        const QByteArray theirs = bytes(kRegister);
        s.txtTotOre->setText(QStringLiteral("5"));
        messages.expect(MsgKind::Confirmation, question, MsgAnswer::No);
        s.btnSalva->click();
        EXPECT_EQ(bytes(kRegister), theirs);                 // nothing written
        EXPECT_EQ(s.txtTotOre->text(), QStringLiteral("7")); // the stored work is shown

        // Now the screen holds what is stored: saving asks nothing.
        s.txtTotOre->setText(QStringLiteral("6"));
        messages.expect(MsgKind::Information, kChanged);
        s.btnSalva->click();

        elsewhere("9");
        s.txtTotOre->setText(QStringLiteral("4"));
        messages.expect(MsgKind::Confirmation, question, MsgAnswer::Yes);
        messages.expect(MsgKind::Information, kChanged);
        s.btnSalva->click();
        EXPECT_EQ(s.txtTotOre->text(), QStringLiteral("4"));
        s.cmdClose->click();
    });
    const QByteArray all = bytes(kRegister);
    EXPECT_EQ(all.mid(all.size() / 2), second); // the other work is untouched
    WorkEntry stored;
    ASSERT_TRUE(readWork(path(kRegister), 1, stored));
    EXPECT_EQ(stored.totOre, QStringLiteral("4"));
}

TEST_F(LavoriTest, ChangingKeepsTextsLongerThanTheBoxes) {
    // 50 characters of activity and 28 of time span, stored by another route.
    const char* activity = "Revisione completa impianto termico e idraulico AB";
    const char* span = "08:00-12:00 e 14:00-18:00 xy";
    writeRegister(work("08/03/2024", activity, "2", "Perugia", span));
    openRegister([&](TfrmLavori_Svolti& s) {
        const QString line = shownLines(s.lstRecords)[0];
        EXPECT_TRUE(line.startsWith(QString::fromLatin1(activity).left(46) + QStringLiteral("   Data: ")));
        EXPECT_TRUE(line.contains(QStringLiteral("Orario: ") + QString::fromLatin1(span).left(26) +
                                  QStringLiteral("  Tot. ore: 2")));
        select(s, 0);
        s.btnModifica->click();
        EXPECT_EQ(s.txtAttivita->text(), QString::fromLatin1(activity));
        s.txtTotOre->setText(QStringLiteral("3"));
        messages.expect(MsgKind::Information, kChanged);
        s.btnSalva->click();
        s.cmdClose->click();
    });
    EXPECT_EQ(bytes(kRegister), work("08/03/2024", activity, "3", "Perugia", span));
}

TEST_F(LavoriTest, ChangingWithAnEmptyListOrAVanishedRecord) {
    openRegister([this](TfrmLavori_Svolti& s) {
        messages.expect(MsgKind::Information,
                        QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce."));
        s.btnModifica->click();
        s.btnChiudi->click();
    });
    // The register is cut short while the list shows it: the screen says so before it closes.
    writeRegister(work("08/03/2024", "Uno", "2") + work("09/03/2024", "Due", "3"));
    openRegister([this](TfrmLavori_Svolti& s) {
        writeRegister(work("08/03/2024", "Uno", "2"));
        select(s, 1);
        messages.expect(MsgKind::Warning, kArchiveMessage);
        s.btnModifica->click();
        EXPECT_FALSE(s.isVisible());
    });
}

TEST_F(LavoriTest, ARegisterThatCannotBeWrittenShowsTheArchiveMessage) {
    openRegister([this](TfrmLavori_Svolti& s) {
        s.btnAggiungiClick();
        fill(s, "08/03/2024", "a", "b", "c", "1");
        // The register's place is taken by a folder: opening it for writing fails.
        ASSERT_TRUE(QFile::remove(path(kRegister)));
        ASSERT_TRUE(QDir(dir.path()).mkpath(kRegister));
        messages.expect(MsgKind::Warning, kArchiveMessage);
        s.btnSalva->click();
        EXPECT_EQ(s.lblPosizione->text(), QString());
        s.cmdClose->click();
    });
}

TEST_F(LavoriTest, ARegisterThatCannotBeReadIsNotShownAsEmptyWithoutAWord) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(kRegister)); // a folder where the register should be
    messages.expect(MsgKind::Warning, kArchiveMessage);
    openRegister([](TfrmLavori_Svolti& s) {
        EXPECT_EQ(s.lstRecords->model()->rowCount(), 0);
        EXPECT_EQ(s.lblTotale->text(), QStringLiteral("0"));
        s.btnChiudi->click();
    });
}

TEST_F(LavoriTest, ACodiceFiscaleThatIsNoFileNameIsRefusedAndNothingIsWritten) {
    for (const char* code : {"../../Contatti", "A/B"}) {
        txtCodFisc->setText(QString::fromLatin1(code));
        messages.expect(MsgKind::Warning,
                        QStringLiteral("Attenzione: il codice fiscale \"%1\" contiene caratteri non ammessi. Il "
                                       "registro delle prestazioni lavorative può essere aperto solo per un codice "
                                       "fiscale composto di lettere e cifre.")
                            .arg(QString::fromLatin1(code)));
        openWorkRegister(card.get(), txtDipendente, txtCodFisc);
    }
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/..")).entryList({QStringLiteral("Contatti*")}).isEmpty());
}

TEST_F(LavoriTest, PrintingAddsTheHyphenLineAndTheTotal) {
    writeRegister(work("08/03/2024", "Uno", "2") + work("09/03/2024", "Due", "3"));
    openRegister([this](TfrmLavori_Svolti& s) {
        const QStringList shown = shownLines(s.lstRecords);
        s.btnStampa->click();
        ASSERT_EQ(printer->printed.size(), 1);
        EXPECT_EQ(printer->printed[0].first(QStringLiteral("txtTitolo"))->text,
                  QStringLiteral("Registro prestazioni lavorative di Rossi Mario"));
        EXPECT_EQ(printedBody(printer->printed[0]), shown + QStringList({QStringLiteral("--------------------------"),
                                                                         QStringLiteral("TOTALE PRESTAZIONI:    2")}));
        s.btnChiudi->click();
    });
    writeRegister(QByteArray());
    openRegister([this](TfrmLavori_Svolti& s) {
        s.btnStampa->click();
        ASSERT_EQ(printer->printed.size(), 2);
        EXPECT_EQ(printedBody(printer->printed[1]), (QStringList{QStringLiteral("--------------------------"),
                                                                 QStringLiteral("TOTALE PRESTAZIONI:    0")}));
        s.btnChiudi->click();
    });
}

TEST_F(LavoriTest, TodayFindAndTheHoursBox) {
    writeRegister(work("08/03/2024", "Uno", "2") + work("09/03/2024", "Due", "3"));
    openRegister([](TfrmLavori_Svolti& s) {
        s.txtTrova->setText(QStringLiteral("DUE"));
        s.btnTrova->click();
        EXPECT_EQ(s.lstRecords->currentIndex().row(), 1);
        s.btnAggiungiClick();
        s.impOggiClick();
        EXPECT_EQ(s.txtData->text(), QStringLiteral("05/03/2024"));
        QTest::keyClicks(s.txtTotOre, QStringLiteral("7,5x1234"));
        EXPECT_EQ(s.txtTotOre->text(), QStringLiteral("751"));
        s.cmdClose->click();
    });
}

// The edit panel keeps the cards' conventions: Enter walks the five boxes in order and wraps, each box
// takes only what its column shows, and the hint line names the picture or button under the mouse.
TEST_F(LavoriTest, TheEditPanelWalksItsBoxesLimitsThemAndShowsHints) {
    openRegister([](TfrmLavori_Svolti& s) {
        s.btnAggiungiClick();
        EXPECT_EQ(s.panInfo->text(), QStringLiteral("Immettere i dati nei campi sottostanti e premere Salva."));
        const std::pair<QLineEdit*, int> boxes[] = {
            {s.txtData, 10}, {s.txtAttivita, 46}, {s.txtLuogo, 28}, {s.txtOrario, 26}, {s.txtTotOre, 3}};
        for (std::size_t i = 0; i < std::size(boxes); ++i) {
            const auto [box, limit] = boxes[i];
            EXPECT_EQ(box->maxLength(), limit) << box->objectName().toStdString();
            ASSERT_EQ(s.focusWidget(), box) << "before Enter number " << i + 1;
            QTest::keyClick(box, Qt::Key_Return);
        }
        EXPECT_EQ(s.focusWidget(), s.txtData); // back to the first box
        const std::pair<QWidget*, QString> hints[] = {
            {s.impOggi, QStringLiteral("Inserisci la data corrente.")},
            {s.btnSalva, QStringLiteral("Salva la prestazione nel registro dell'agente.")},
            {s.cmdClose, QStringLiteral("Chiude il registro. Per rivedere l'elenco, con le prestazioni salvate, "
                                        "riaprirlo con il pulsante Prestazioni della scheda.")},
        };
        for (const auto& [control, hint] : hints) {
            QTest::mouseMove(control, QPoint(5, 5));
            EXPECT_EQ(s.panInfo->text(), hint) << control->objectName().toStdString();
            QTest::mouseMove(s.panCosti, QPoint(5, 5));
            EXPECT_TRUE(s.panInfo->text().isEmpty()) << control->objectName().toStdString();
        }
        s.impOggi->click();
        EXPECT_EQ(s.txtData->text(), QStringLiteral("05/03/2024"));
        s.cmdClose->click();
    });
}

// The list of a register with a work whose boxes are all full shows every column, the hours last, inside
// the window, which fits a 1366 × 768 screen.
TEST_F(LavoriTest, EveryColumnShowsWithinA1366PixelScreen) {
    writeRegister(fullWork());
    openRegister([](TfrmLavori_Svolti& s) {
        expectEveryColumnShown(s, s.lstRecords, QSize(1366, 768));
        EXPECT_LE(s.width(), 1366);
        EXPECT_LE(s.height(), 768);
        s.btnChiudi->click();
    });
}

TEST_F(LavoriTest, TheAgentCardButtonOpensTheRegisterOfItsCard) {
    card.reset();
    TfrmDipendenti agents;
    agents.lblPosizione->setText(QStringLiteral("1"));
    agents.txtDipendente->setText(QStringLiteral("Bianchi Anna"));
    agents.txtCodFisc->setText(kCodFisc);
    dialogs.expect(QStringLiteral("frmLavori_Svolti"), [](QDialog& d) {
        auto& s = static_cast<TfrmLavori_Svolti&>(d);
        EXPECT_EQ(s.lblTitolo->text(), QStringLiteral("Registro prestazioni lavorative di Bianchi Anna"));
        EXPECT_TRUE(s.lblFile->text().endsWith(kRegister));
        s.btnChiudi->click();
    });
    agents.btnLavori->click();
}

} // namespace
