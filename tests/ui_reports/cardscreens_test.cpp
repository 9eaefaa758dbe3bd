// The card screens' own buttons reach the card reports with what the screens show.

#include "ui/agents/Dipendenti.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/clients/clientcardreport.h"
#include "ui/common/picturebox.h"
#include "uisupport/fakes.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace ombrisa;

namespace {

class CardScreenReports : public test::UiTest {};

void type(QWidget* screen, const char* name, const QString& text) {
    auto* box = screen->findChild<QLineEdit*>(name);
    ASSERT_NE(box, nullptr) << name;
    box->setText(text);
}

TEST_F(CardScreenReports, ClientCardButtonsPrintPreviewAndExportTheCardOnScreen) {
    TfrmClienti screen;
    type(&screen, "txtCliente", "  Ferrù Niccolò ");
    type(&screen, "txtComuneNasc", "Forlì");
    screen.txtProvNasc->setEditText("FC");
    type(&screen, "txtZona", "Nord-Est");
    screen.findChild<QToolButton*>("cmdStampa")->click();
    screen.findChild<QToolButton*>("cmdAnteprima")->click();
    messages.expect(MsgKind::Confirmation, kPdfDoneQuestion, MsgAnswer::No);
    screen.findChild<QToolButton*>("cmdPDF")->click();

    ASSERT_EQ(printer->printed.size(), 1);
    ASSERT_EQ(printer->previewed.size(), 1);
    for (const report::PreparedReport& r : {printer->printed[0], printer->previewed[0]}) {
        EXPECT_EQ(r.first("txtCampo01")->text, "Ferrù Niccolò");
        EXPECT_EQ(r.first("txtCampo03")->text, "Forlì FC");
        EXPECT_EQ(r.first("titCampo22")->text, "Zona:");
        EXPECT_EQ(r.first("txtCampo22")->text, "Nord-Est");
    }
    EXPECT_TRUE(QFile::exists(path("Contatto.pdf")));
    EXPECT_EQ(printer->pdfPaths.size(), 1);
}

TEST_F(CardScreenReports, CallCardButtonsOpenTheDialogsThatPrintTheCallOnScreen) {
    TfrmChiamate screen;
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 7)));
    screen.findChild<QToolButton*>("impRitiro")->click();
    screen.findChild<QToolButton*>("impOraRit")->click();
    type(&screen, "txtOggetto", "Preventivo caldaia");
    type(&screen, "txtCliente", " Ferrù Niccolò ");
    dialogs.expect("frmStampaChiamata", [](QDialog& d) { d.findChild<QPushButton*>("btnStampa")->click(); });
    screen.findChild<QToolButton*>("cmdStampa")->click();
    dialogs.expect("frmAnteprimaChiamata", [](QDialog& d) { d.findChild<QPushButton*>("btnStampa")->click(); });
    screen.findChild<QToolButton*>("cmdAnteprima")->click();
    dialogs.expect("frmAnteprimaChiamata", [](QDialog& d) { d.findChild<QPushButton*>("btnAnnulla")->click(); });
    screen.findChild<QToolButton*>("cmdAnteprima")->click();

    ASSERT_EQ(printer->printed.size(), 1);
    ASSERT_EQ(printer->previewed.size(), 1);
    for (const report::PreparedReport& r : {printer->printed[0], printer->previewed[0]}) {
        EXPECT_EQ(r.first("txtData")->text, "05 Marzo 2024");
        EXPECT_EQ(r.first("txtOra")->text, "09:07");
        EXPECT_EQ(r.first("txtOggetto")->text, "Preventivo caldaia");
        EXPECT_EQ(r.first("txtCliente")->text, "Ferrù Niccolò");
    }
}

TEST_F(CardScreenReports, AgentCardButtonsOpenTheDialogsThatPrintTheCardAndItsPhoto) {
    TfrmDipendenti screen;
    type(&screen, "txtDipendente", " Verdi Anna ");
    type(&screen, "txtLingue", "Inglese, Tedesco");
    QPixmap photo(60, 80);
    photo.fill(Qt::darkCyan);
    screen.imgFoto->setPixmap(photo);
    dialogs.expect("frmStampaDipendenti", [](QDialog& d) { d.findChild<QPushButton*>("btnStampa")->click(); });
    screen.findChild<QToolButton*>("cmdStampa")->click();
    dialogs.expect("frmAnteprimaDipendenti", [](QDialog& d) { d.findChild<QPushButton*>("btnStampa")->click(); });
    screen.findChild<QToolButton*>("cmdAnteprima")->click();

    ASSERT_EQ(printer->printed.size(), 1);
    ASSERT_EQ(printer->previewed.size(), 1);
    for (const report::PreparedReport& r : {printer->printed[0], printer->previewed[0]}) {
        EXPECT_EQ(r.first("txtDipendente")->text, "Verdi Anna");
        EXPECT_EQ(r.first("txtlingue")->text, "Inglese, Tedesco");
        EXPECT_EQ(r.first("imgLogo")->picture.size(), QSize(60, 80));
        EXPECT_EQ(r.first("imgLogo")->picture.pixelColor(1, 1), QColor(Qt::darkCyan));
    }
}

} // namespace
