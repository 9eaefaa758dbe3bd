// The import wizard driven as a user drives it: the file chosen, the columns checked, the preview and
// the import, with the messages shown and the archive's bytes.
#include "core/cards/duplicates.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/import/Importa.h"
#include "uisupport/fakes.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

class ImportWizard : public UiTest {
protected:
    std::unique_ptr<TfrmImporta> wizard;

    void open(ImportArchive archive) {
        wizard = std::make_unique<TfrmImporta>(nullptr, archive);
        wizard->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    }
    void TearDown() override {
        wizard.reset();
        UiTest::TearDown();
    }
    void click(QPushButton* b) {
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString page() const { return wizard->pagine->currentWidget()->objectName(); }
    QComboBox* fieldBox(int column) const {
        return qobject_cast<QComboBox*>(wizard->grdColonne->cellWidget(column, 1));
    }
    void chooseFile(const QString& name, const QByteArray& content) {
        write(name, content);
        files.expectOpen(path(name));
        click(wizard->cmdSfoglia);
    }
};

TEST_F(ImportWizard, TheFourStepsImportTheReadyRows) {
    open(ImportArchive::Clienti);
    EXPECT_EQ(page(), "pagFile");
    EXPECT_FALSE(wizard->cmdAvanti->isEnabled());
    // Windows-1252 with commas.
    chooseFile(QStringLiteral("clienti.csv"), "Ragione sociale,Telefono,CF,Colore\r\n"
                                              "Bianchi Anna,06 1,FBBCHR44L44A952H,blu\r\n"
                                              "Verdi Luc\xE0,,PLLMRT63D43G999U,verde\r\n"
                                              "Neri Ugo,02 3,DNGGLI61A71L781J,\r\n");
    EXPECT_EQ(wizard->cboSeparatore->currentData().toString(), ",");
    EXPECT_EQ(wizard->cboCodifica->currentText(), "Windows-1252");
    EXPECT_EQ(wizard->lblLettura->text(), "Il file contiene 4 colonne e 3 righe oltre alle intestazioni.");

    click(wizard->cmdAvanti);
    EXPECT_EQ(page(), "pagColonne");
    EXPECT_EQ(wizard->grdColonne->item(1, 2)->text(), "06 1");
    EXPECT_EQ(fieldBox(0)->currentText(), "Cognome e nome");
    EXPECT_EQ(fieldBox(2)->currentText(), "Codice fiscale");
    EXPECT_EQ(fieldBox(3)->currentText(), "Ignora");
    // One field for two columns is refused.
    fieldBox(3)->setCurrentIndex(fieldBox(3)->findData(QStringLiteral("txtCliente")));
    messages.expect(MsgKind::Warning, QStringLiteral("Il campo \"Cognome e nome\" è stato scelto per due colonne: "
                                                     "ogni campo può ricevere una sola colonna."));
    click(wizard->cmdAvanti);
    EXPECT_EQ(page(), "pagColonne");
    fieldBox(3)->setCurrentIndex(fieldBox(3)->findData(QStringLiteral("txtNote")));

    click(wizard->cmdAvanti);
    EXPECT_EQ(page(), "pagAnteprima");
    EXPECT_EQ(wizard->lblRiepilogo->text(),
              "Righe pronte: 2.   Doppioni: 0.   Righe con errori (non saranno importate): 1.");
    ASSERT_EQ(wizard->grdAnteprima->rowCount(), 3);
    EXPECT_EQ(wizard->grdAnteprima->item(1, 1)->text(), "Errore");
    EXPECT_EQ(wizard->grdAnteprima->item(1, 2)->text(),
              "per salvare la scheda è necessario indicare il numero di telefono preferenziale del cliente.");
    EXPECT_EQ(wizard->grdAnteprima->item(0, 3)->text(), "Bianchi Anna");

    click(wizard->cmdImporta);
    EXPECT_EQ(page(), "pagEsito");
    EXPECT_EQ(wizard->txtResoconto->toPlainText(),
              "Schede inserite in archivio: dalla n. 1 alla n. 2.\n"
              "riga 3: per salvare la scheda è necessario indicare il numero di telefono preferenziale del cliente.\n"
              "Importate 2 schede, 0 duplicati saltati, 1 riga con errori");
    EXPECT_EQ(bytes(kClientiFile).size(), qsizetype(2 * sizeof(TRecCliente)));
    EXPECT_FALSE(wizard->cmdIndietro->isVisible());

    files.expectSave(path(QStringLiteral("resoconto.txt")));
    click(wizard->cmdSalvaResoconto);
    EXPECT_EQ(QString::fromUtf8(bytes(QStringLiteral("resoconto.txt"))), wizard->txtResoconto->toPlainText() + "\n");
}

TEST_F(ImportWizard, AnArchiveChangedAfterThePreviewIsShownAgain) {
    open(ImportArchive::Clienti);
    chooseFile(QStringLiteral("c.csv"), "Nome;Telefono;CF\nRossi;1;FBBCHR44L44A952H\n");
    click(wizard->cmdAvanti);
    click(wizard->cmdAvanti);
    ASSERT_EQ(page(), "pagAnteprima");
    EXPECT_EQ(wizard->grdAnteprima->item(0, 1)->text(), "Pronta");

    // Another workstation saves the same client meanwhile.
    QByteArray card(sizeof(TRecCliente), '\0');
    PutText(reinterpret_cast<std::uint8_t*>(card.data()) + offsetof(TRecCliente, CodFisc), 16, u"FBBCHR44L44A952H");
    write(kClientiFile, card);
    messages.expect(MsgKind::Warning,
                    QStringLiteral("Un'altra postazione ha modificato l'archivio dopo l'anteprima: nessuna scheda è "
                                   "stata importata.\n\r\n\rL'anteprima è stata rifatta: controllarla e premere di "
                                   "nuovo Importa."));
    click(wizard->cmdImporta);
    EXPECT_EQ(page(), "pagAnteprima");
    EXPECT_EQ(wizard->grdAnteprima->item(0, 1)->text(), "Doppione");
    EXPECT_EQ(wizard->grdAnteprima->item(0, 2)->text(), "doppione della scheda n. 1 dell'archivio");
    EXPECT_EQ(bytes(kClientiFile), card);

    // Skipped unless chosen.
    messages.expect(MsgKind::Warning, QStringLiteral("Nessuna riga da importare."));
    click(wizard->cmdImporta);
    wizard->chkDoppioni->click();
    click(wizard->cmdImporta);
    EXPECT_EQ(page(), "pagEsito");
    EXPECT_EQ(bytes(kClientiFile).size(), qsizetype(2 * sizeof(TRecCliente)));
}

TEST_F(ImportWizard, AFileThatCannotBeReadSaysWhyAndGoesNoFurther) {
    open(ImportArchive::Chiamate);
    chooseFile(QStringLiteral("k.csv"), "Data;Oggetto\n01/01/2024;\"aperto\n");
    EXPECT_EQ(wizard->lblLettura->text(), "File k.csv non valido: virgolette aperte alla riga 2 e mai chiuse.");
    EXPECT_FALSE(wizard->cmdAvanti->isEnabled());
}

// The wizard reads through the same reader as the tool: what is no sheet, or a row beyond the limits, is
// said in Italian at once and goes no further.
TEST_F(ImportWizard, WhatIsNoSheetIsSaidAtOnce) {
    open(ImportArchive::Clienti);
    files.expectOpen(QStringLiteral("/dev/zero"));
    click(wizard->cmdSfoglia);
    EXPECT_EQ(wizard->lblLettura->text(),
              "Il file /dev/zero non è un file normale (è una cartella, un dispositivo o una coda di dati): salvare "
              "il foglio in un file e importare quello.");
    EXPECT_FALSE(wizard->cmdAvanti->isEnabled());
    chooseFile(QStringLiteral("riga.csv"), "Nome;Note\n" + QByteArray(40000, 'x') + "\n");
    EXPECT_EQ(wizard->lblLettura->text(),
              "File riga.csv non valido: alla riga 2 una cella è più lunga di 32768 caratteri.");
    EXPECT_FALSE(wizard->cmdAvanti->isEnabled());
}

TEST_F(ImportWizard, TheCardsToolbarsOpenIt) {
    {
        TfrmClienti clients;
        clients.show();
        dialogs.expect(QStringLiteral("frmImporta"), [](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), " Ombrisa - Importazione dei clienti da un foglio di calcolo");
            d.reject();
        });
        QTest::mouseClick(clients.cmdImporta, Qt::LeftButton);
    }
    TfrmChiamate calls;
    calls.show();
    dialogs.expect(QStringLiteral("frmImporta"), [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), " Ombrisa - Importazione delle chiamate da un foglio di calcolo");
        d.reject();
    });
    QTest::mouseClick(calls.cmdImporta, Qt::LeftButton);
}

} // namespace
