// The output side of the card screens and the list screens: what reaches the printer, the preview
// window and "Contatto.pdf", and what the user is told.

#include "core/search/findinlist.h"
#include "printsupport/fileprinterservice.h"
#include "report/layouts/clientcard.h"
#include "ui/reports/reportpreview.h"
#include "ui/agents/AnteprimaDipendenti.h"
#include "ui/agents/StampaDipendenti.h"
#include "ui/agents/agentcardoutput.h"
#include "ui/calls/AnteprimaChiamata.h"
#include "ui/calls/StampaChiamata.h"
#include "ui/calls/callcardoutput.h"
#include "ui/clients/clientcardreport.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"
#include "ui/reports/controltexts.h"
#include "report/layouts/listreport.h"
#include "uisupport/fakes.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace ombrisa;
using ombrisa::FilePrinterService;
using ombrisa::report::PreparedItem;
using ombrisa::report::PreparedReport;

namespace {

QString itemText(const PreparedReport& report, const QString& name) {
    const PreparedItem* item = report.first(name);
    return item ? item->text : QStringLiteral("<missing %1>").arg(name);
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// With OMBRISA_TEST_OUTPUT set, pictures of windows land there to be looked at.
void keepShot(QWidget& w, const QString& name) {
    const QString folder = qEnvironmentVariable("OMBRISA_TEST_OUTPUT");
    if (!folder.isEmpty())
        w.grab().save(folder + QLatin1Char('/') + name);
}

class ReportUiTest : public test::UiTest {
protected:
    // A card screen stand-in: edit boxes named as on the real screen.
    QWidget* screenWith(const report::FieldTexts& texts) {
        screen = std::make_unique<QWidget>();
        screen->resize(800, 600);
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            auto* box = new QLineEdit(it.value(), screen.get());
            box->setObjectName(it.key());
        }
        return screen.get();
    }
    std::unique_ptr<QWidget> screen;
};

const report::FieldTexts kClient{
    {"txtCliente", " Ferrù Niccolò "},
    {"txtDataNasc", "05/03/1970"},
    {"txtComuneNasc", "Forlì"},
    {"txtProvNasc", "FC"},
    {"txtSesso", "M"},
    {"txtRecapito", "0543 123456"},
    {"txtIndirizzoRes", "Via Martiri, 3"},
    {"txtProvRes", "RM"},
    {"txtComuneRes", "Roma"},
    {"txtCapRes", "00199"},
    {"txtEstremi", "Bonifico"},
    {"txtTelCasa", "06 111"},
    {"txtTelUff", "06 222"},
    {"txtTelCel", "333 444"},
    {"txtFax", "ferru@pec.it"},
    {"txtEmail", "ferru@esempio.it"},
    {"txtCodFisc", "FRRNCL70C05D704X"},
    {"txtCarta", "4111111111111111"},
    {"txtScadeCarta", "12/2027"},
    {"txtPartitaIva", "01234567890"},
    {"txtIban", "IT60X0542811101000000123456"},
    {"txtDocumento", "C.I. AB123"},
    {"txtOccupazione", "Perito"},
    {"txtCivile", "Coniugato"},
    {"txtTitoli", "Maturità"},
    {"txtProdotti", "Caffè e tè"},
    {"txtZona", "Nord-Est"},
    {"txtQuestioni", "Fattura è da verificare"},
    {"txtNote", "Più tardi"},
};

// ---- client card: cmdPDF, cmdStampa, cmdAnteprima ----

TEST_F(ReportUiTest, PdfOfTheClientCardHoldsEverythingAndOffersToOpenIt) {
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(16, 4, 9)));
    messages.expect(MsgKind::Confirmation, kPdfDoneQuestion, MsgAnswer::Yes);
    EXPECT_TRUE(exportClientCardPdf(screenWith(kClient)));
    const QString pdf = path("Contatto.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_EQ(QDir::cleanPath(opener.opened[0].toLocalFile()), QDir::cleanPath(pdf));

    const QString text = run("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"}).simplified();
    // Every caption and value of the card, in the order of the sheet; the PDF's row 22 caption.
    for (const char* piece : {"SCHEDA ANAGRAFICA CLIENTE",
                              "Cognome e nome: Ferrù Niccolò",
                              "Data di nascita: 05/03/1970",
                              "Comune di nascita: Forlì FC",
                              "Sesso: M",
                              "Tel. preferenziale: 0543 123456",
                              "Indirizzo di residenza: Via Martiri, 3",
                              "Comune di residenza: Roma RM",
                              "Modalità pagamento: Bonifico",
                              "Tel. casa: 06 111",
                              "Tel. ufficio: 06 222",
                              "Tel. cellulare: 333 444",
                              "PEC: ferru@pec.it",
                              "E-mail: ferru@esempio.it",
                              "Codice fiscale: FRRNCL70C05D704X",
                              "Partita IVA: 01234567890",
                              "Carta di credito: N. 4111111111111111 - Scadenza: 12/2027",
                              "IBAN: IT60X0542811101000000123456",
                              "Estremi documento: C.I. AB123",
                              "Occupazione: Perito",
                              "Titoli e qualifiche: Maturità",
                              "Prodotti e servizi: Caffè e tè",
                              "Zona di appartenenza: Nord-Est",
                              "Questioni in sospeso: Fattura è da verificare",
                              "Note: Più tardi",
                              "Stampa eseguita in data 05/03/2024 alle ore 16:04:09"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(piece))) << piece;
    EXPECT_FALSE(text.contains("00199")) << "the postal code is not on the card report";
    EXPECT_FALSE(text.contains("Coniugato")) << "the marital status is not on the card report";

    const QString info = run("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Scheda informativa"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Subject:\\s+Scheda informativa\n")));
    EXPECT_TRUE(info.contains(QRegularExpression("Author:\\s+Quintavo\n")));
    EXPECT_TRUE(info.contains(QRegularExpression("Creator:\\s+Quintavo\n")));
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\n")));
    EXPECT_FALSE(info.contains("Syntax Error")) << info.toStdString();
    const QString meta = run("pdfinfo", {"-meta", pdf});
    EXPECT_TRUE(meta.contains("<rdf:li>Quintavo</rdf:li>")) << meta.toStdString();
    EXPECT_TRUE(meta.contains("Scheda informativa</rdf:li></rdf:Alt></dc:description>"));
    const QString folder = qEnvironmentVariable("OMBRISA_TEST_OUTPUT");
    if (!folder.isEmpty()) {
        QFile::remove(folder + "/Contatto.pdf");
        QFile::copy(pdf, folder + "/Contatto.pdf");
    }
}

TEST_F(ReportUiTest, AnsweringNoLeavesThePdfUnopenedAndASecondExportReplacesIt) {
    messages.expect(MsgKind::Confirmation, kPdfDoneQuestion, MsgAnswer::No);
    EXPECT_TRUE(exportClientCardPdf(nullptr, {{"txtCliente", "Primo"}}));
    EXPECT_TRUE(opener.opened.isEmpty());
    messages.expect(MsgKind::Confirmation, kPdfDoneQuestion, MsgAnswer::No);
    EXPECT_TRUE(exportClientCardPdf(nullptr, {{"txtCliente", "Secondo"}}));
    const QString text = run("pdftotext", {path("Contatto.pdf"), "-"});
    EXPECT_TRUE(text.contains("Secondo"));
    EXPECT_FALSE(text.contains("Primo"));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}), QStringList({"Contatto.pdf"}));
}

TEST_F(ReportUiTest, PdfThatCannotBeWrittenIsReportedWithoutTheSuccessQuestion) {
    // Something that is not a writable file stands where the PDF goes.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Contatto.pdf"));
    messages.expect(MsgKind::Warning, report::pdfWriteFailedMessage(path("Contatto.pdf")));
    EXPECT_FALSE(exportClientCardPdf(nullptr, kClient));
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_TRUE(report::pdfWriteFailedMessage("x").startsWith("Attenzione: "));
}

TEST_F(ReportUiTest, PrintAndPreviewOfTheClientCardUseThePaperCaption) {
    QWidget* card = screenWith(kClient);
    printClientCard(card);
    previewClientCard(card);
    ASSERT_EQ(printer.get()->printed.size(), 1);
    ASSERT_EQ(printer.get()->previewed.size(), 1);
    for (const PreparedReport& r : {printer->printed[0], printer->previewed[0]}) {
        EXPECT_EQ(itemText(r, "titCampo22"), "Zona:");
        EXPECT_EQ(itemText(r, "txtCampo01"), "Ferrù Niccolò");
        EXPECT_EQ(itemText(r, "txtCalce"), "Stampa eseguita in data 05/03/2024 alle ore 10:30:00");
    }
}

TEST_F(ReportUiTest, PrinterTroubleIsReportedAndCancellingPrintsNothing) {
    printer->cancelPrint = true;
    printClientCard(nullptr, kClient);
    EXPECT_TRUE(printer->printed.isEmpty());
    printer->cancelPrint = false;
    printer->failPrint = true;
    messages.expect(MsgKind::Warning, "Attenzione: la stampa non è andata a buon fine.");
    printClientCard(nullptr, kClient);
}

TEST_F(ReportUiTest, ControlTextsTakeEditAndComboBoxes) {
    QWidget* card = screenWith({{"txtCliente", "Rossi"}});
    auto* province = new QComboBox(card);
    province->setObjectName("txtProvNasc");
    province->setEditable(true);
    province->setEditText("FC");
    auto* other = new QLineEdit("x", card);
    other->setObjectName("altro");
    const report::FieldTexts texts = controlTexts(card);
    EXPECT_EQ(texts.value("txtCliente"), "Rossi");
    EXPECT_EQ(texts.value("txtProvNasc"), "FC");
    EXPECT_FALSE(texts.contains("altro"));
}

// ---- call card dialogs ----

const report::FieldTexts kCall{{"txtGiornoRit", "05"},    {"txtMeseRit", "Marzo"},   {"lblAnnoRit", "2024"},
                               {"txtOreRit", "09"},       {"txtMinutiRit", "30"},    {"txtOggetto", "Preventivo"},
                               {"txtCliente", "Bianchi"}, {"txtOperatore", "Nicolò"}};

TEST_F(ReportUiTest, CallCardPrintDialogPrintsWhatTheCardShows) {
    QWidget* card = screenWith(kCall);
    dialogs.expect("frmStampaChiamata", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), " Stampa documento");
        EXPECT_EQ(d.findChild<QPushButton*>("btnAnnulla")->text(), "Annulla");
        EXPECT_EQ(d.findChild<QPushButton*>("btnStampa")->text(), "Stampa");
        keepShot(d, "stampa-chiamata.png");
        QTest::mouseClick(d.findChild<QPushButton*>("btnStampa"), Qt::LeftButton);
    });
    EXPECT_EQ(execDialog(new TfrmStampaChiamata(card)), QDialog::Accepted);
    ASSERT_EQ(printer->printed.size(), 1);
    EXPECT_EQ(itemText(printer->printed[0], "txtData"), "05 Marzo 2024");
    EXPECT_EQ(itemText(printer->printed[0], "txtOra"), "09:30");
    EXPECT_EQ(itemText(printer->printed[0], "txtOperatore"), "Nicolò");
}

TEST_F(ReportUiTest, CallCardPreviewDialogShowsThePreviewAndCancelDoesNothing) {
    QWidget* card = screenWith(kCall);
    dialogs.expect("frmAnteprimaChiamata", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), " Anteprima di stampa");
        EXPECT_EQ(d.findChild<QPushButton*>("btnStampa")->text(), "Mostra anteprima");
        QTest::mouseClick(d.findChild<QPushButton*>("btnAnnulla"), Qt::LeftButton);
    });
    EXPECT_EQ(execDialog(new TfrmAnteprimaChiamata(card)), QDialog::Rejected);
    EXPECT_TRUE(printer->previewed.isEmpty());
    dialogs.expect("frmAnteprimaChiamata",
                   [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("btnStampa"), Qt::LeftButton); });
    execDialog(new TfrmAnteprimaChiamata(card));
    ASSERT_EQ(printer->previewed.size(), 1);
    EXPECT_EQ(itemText(printer->previewed[0], "txtOggetto"), "Preventivo");
    EXPECT_TRUE(printer->printed.isEmpty());
}

// ---- agent card dialogs ----

// ---- the file the print dialog proposes ----

// Printing to a PDF file: the data folder, and a name that says what is printed, made fit for a file name.
TEST_F(ReportUiTest, PrintToFileProposesTheDataFolderAndWhatIsPrinted) {
    printClientCard(nullptr, kClient);
    QWidget* call = screenWith(kCall);
    dialogs.expect("frmStampaChiamata",
                   [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("btnStampa"), Qt::LeftButton); });
    execDialog(new TfrmStampaChiamata(call));
    printListLines(nullptr, report::hoursSummaryTitle("RSSMRA80A01H501U"), {"riga"}, {},
                   "Riepilogo ore RSSMRA80A01H501U Dal   01/01/2023   al   28/02/2023");
    printListLines(nullptr, report::kTitleRicontatta, {"riga"});
    ASSERT_EQ(printer->printed.size(), 4);
    const QString expected[] = {
        "Scheda cliente Ferrù Niccolò.pdf",
        "Scheda chiamata Bianchi 05 Marzo 2024.pdf",
        "Riepilogo ore RSSMRA80A01H501U Dal 01-01-2023 al 28-02-2023.pdf",
        "Riepilogo clienti da ricontattare.pdf",
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(report::proposedPdfPath(printer->printed[i]), QDir(dir.path()).filePath(expected[i]));

    struct Case {
        QString title;
        QString file;
    };
    for (const Case& c : {Case{"A/B\\C:D*E?F\"G<H>I|J\tK", "A-B-C-D-E-F-G-H-I-J-K.pdf"}, Case{"  ..  ", "Stampa.pdf"},
                          Case{QString(200, QLatin1Char('x')), QString(120, QLatin1Char('x')) + ".pdf"}}) {
        PreparedReport r;
        r.fileTitle = c.title;
        EXPECT_EQ(report::proposedPdfPath(r), QDir(dir.path()).filePath(c.file)) << qPrintable(c.title);
    }
    PreparedReport unnamed;
    unnamed.reportName = "Riepilogo dati";
    EXPECT_EQ(report::proposedPdfPath(unnamed), QDir(dir.path()).filePath("Riepilogo dati.pdf"));

    // Qt's print dialog takes the proposal in its file box.
    QPrinter paper;
    QPrintDialog dialog(&paper);
    ASSERT_TRUE(proposeOutputFile(dialog, dir.filePath("Scheda cliente Rossi.pdf")));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("filename")->text(), dir.filePath("Scheda cliente Rossi.pdf"));
}

TEST_F(ReportUiTest, AgentCardDialogsPrintThePhotoAndTheLanguages) {
    QWidget* card = screenWith({{"txtDipendente", " Verdi Anna "}, {"txtLingue", "Inglese"}});
    auto* photoBox = new PictureBox(card);
    photoBox->setObjectName("imgFoto");
    QPixmap photo(30, 40);
    photo.fill(Qt::darkGreen);
    photoBox->setPixmap(photo);
    dialogs.expect("frmStampaDipendenti", [](QDialog& d) {
        keepShot(d, "stampa-agente.png");
        QTest::mouseClick(d.findChild<QPushButton*>("btnStampa"), Qt::LeftButton);
    });
    execDialog(new TfrmStampaDipendenti(card));
    ASSERT_EQ(printer->printed.size(), 1);
    const PreparedReport& printed = printer->printed[0];
    EXPECT_EQ(itemText(printed, "txtDipendente"), "Verdi Anna");
    EXPECT_EQ(itemText(printed, "txtlingue"), "Inglese");
    EXPECT_EQ(printed.first("imgLogo")->picture.pixelColor(5, 5), QColor(Qt::darkGreen));

    photoBox->clearPicture(); // no photo: the dialog's own picture instead
    dialogs.expect("frmAnteprimaDipendenti",
                   [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("btnStampa"), Qt::LeftButton); });
    execDialog(new TfrmAnteprimaDipendenti(card));
    ASSERT_EQ(printer->previewed.size(), 1);
    EXPECT_FALSE(printer->previewed[0].first("imgLogo")->picture.isNull());
}

TEST_F(ReportUiTest, AgentCardPrintFailureAdvisesASmallerPhoto) {
    printer->failPrint = true;
    QWidget* card = screenWith({{"txtDipendente", "Verdi Anna"}});
    messages.expect(MsgKind::Warning, "Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                                      "Si consiglia di ridurre le dimensioni della foto.");
    dialogs.expect("frmStampaDipendenti",
                   [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("btnStampa"), Qt::LeftButton); });
    execDialog(new TfrmStampaDipendenti(card));
    EXPECT_EQ(dialogs.opened, QStringList({"frmStampaDipendenti"}));
}

// ---- the card screens' buttons ----

QToolButton* button(QWidget* screen, const char* name) {
    auto* b = new QToolButton(screen);
    b->setObjectName(name);
    return b;
}

TEST_F(ReportUiTest, CardScreenButtonsReachTheirOutputs) {
    QWidget* clients = screenWith(kClient);
    connectClientCardOutput(clients, button(clients, "cmdStampa"), button(clients, "cmdAnteprima"),
                            button(clients, "cmdPDF"));
    QTest::mouseClick(clients->findChild<QToolButton*>("cmdStampa"), Qt::LeftButton);
    QTest::mouseClick(clients->findChild<QToolButton*>("cmdAnteprima"), Qt::LeftButton);
    messages.expect(MsgKind::Confirmation, kPdfDoneQuestion, MsgAnswer::No);
    QTest::mouseClick(clients->findChild<QToolButton*>("cmdPDF"), Qt::LeftButton);
    EXPECT_EQ(printer->printed.size(), 1);
    EXPECT_EQ(printer->previewed.size(), 1);
    EXPECT_TRUE(QFile::exists(path("Contatto.pdf")));

    QWidget calls;
    connectCallCardOutput(&calls, button(&calls, "cmdStampa"), button(&calls, "cmdAnteprima"));
    QWidget agents;
    connectAgentCardOutput(&agents, button(&agents, "cmdStampa"), button(&agents, "cmdAnteprima"));
    for (const char* name :
         {"frmStampaChiamata", "frmAnteprimaChiamata", "frmStampaDipendenti", "frmAnteprimaDipendenti"})
        dialogs.expect(name, [](QDialog& d) { d.reject(); });
    for (QWidget* card : {&calls, &agents}) {
        QTest::mouseClick(card->findChild<QToolButton*>("cmdStampa"), Qt::LeftButton);
        QTest::mouseClick(card->findChild<QToolButton*>("cmdAnteprima"), Qt::LeftButton);
    }
}

// ---- find box and printed list ----

struct FindStep {
    const char* typed;
    int expectedRow;
};

TEST_F(ReportUiTest, FindBoxWalksTheListAndReportsAnEmptyOne) {
    QWidget window;
    auto* list = new QListWidget(&window);
    list->addItems({"Rossi Mario", "Bianchi Anna", "ROSSINI Luca", "Verdi Paolo"});
    FindBox box(list, &window);
    window.show();
    const FindStep steps[] = {{"ross", 0}, {"ross", 2}, {"ross", 0}, {"ANNA", 1}, {"", 1}, {"torino", 1}};
    for (const FindStep& s : steps) {
        SCOPED_TRACE(s.typed);
        box.txtTrova->setText(s.typed);
        QTest::mouseClick(box.btnTrova, Qt::LeftButton);
        EXPECT_EQ(list->currentRow(), s.expectedRow);
        EXPECT_TRUE(list->item(s.expectedRow)->isSelected());
    }
    list->clear();
    messages.expect(MsgKind::Plain, kFindEmptyListMessage);
    QTest::mouseClick(box.btnTrova, Qt::LeftButton);
}

TEST_F(ReportUiTest, EnterInTheFindBoxMovesToTheButtonWithoutPressingIt) {
    QWidget window;
    auto* list = new QListWidget(&window);
    FindBox box(list, &window);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box.txtTrova->setFocus();
    QTest::keyClick(box.txtTrova, Qt::Key_Return); // an empty list would show a message if pressed
    EXPECT_TRUE(box.btnTrova->hasFocus());
}

TEST_F(ReportUiTest, ListPrintCarriesTheClockAndTheLinesAsShown) {
    clock.set(QDateTime(QDate(2025, 1, 2), QTime(8, 0, 1)));
    QListWidget list;
    list.addItems({"Rossi Mario     Forlì", "Bianchi Anna    Roma"});
    printListLines(nullptr, report::kTitleRicontatta, listLines(list.model()));
    ASSERT_EQ(printer->printed.size(), 1);
    EXPECT_EQ(itemText(printer->printed[0], "txtRiepilogo"), "Rossi Mario     Forlì\nBianchi Anna    Roma");
    EXPECT_EQ(itemText(printer->printed[0], "txtPagina"), "Stampa eseguita in data 02/01/2025 alle ore 08:00:01");
    EXPECT_EQ(itemText(printer->printed[0], "txtTitolo"), "Riepilogo clienti da ricontattare");
}

// ---- the preview window itself ----

TEST_F(ReportUiTest, PreviewWindowFitsTheScreenAndShowsThePage) {
    ReportPreviewDialog preview(
        report::prepareClientCard(kClient, report::ClientCardTarget::Paper, clock.now()));
    preview.show();
    QApplication::processEvents();
    EXPECT_LE(preview.width(), 1366);
    EXPECT_LE(preview.height(), 768);
    keepShot(preview, "anteprima.png");
}

TEST_F(ReportUiTest, PreviewToolbarOffersPrintZoomFullScreenAndCloseAtZoomOne) {
    ReportPreviewDialog dialog(report::prepareClientCard(kClient, report::ClientCardTarget::Paper, clock.now()));
    const auto toolbar = dialog.findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    QStringList actions;
    for (QAction* action : toolbar->actions())
        if (!action->isSeparator())
            actions.append(action->objectName());
    EXPECT_EQ(actions,
              QStringList({"actStampa", "actRiduci", "actIngrandisci", "actZoom100", "actSchermoIntero", "actChiudi"}));
    EXPECT_EQ(dialog.previewWidget()->zoomFactor(), 1.0);

    dialog.findChild<QAction*>("actStampa")->trigger();
    EXPECT_EQ(printer->printed.size(), 1);
    dialog.show();
    dialog.findChild<QAction*>("actChiudi")->trigger();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
