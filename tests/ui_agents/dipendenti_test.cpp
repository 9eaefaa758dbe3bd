// The agent card screen as the user meets it: fields, save checks, photos and their files, duplicate,
// the work register's checks, the check buttons, the zoom screen.

#include "ui/agents/Dipendenti.h"
#include "ui/agents/Zoom.h"
#include "ui/agents/agentphoto.h"
#include "agentstestutil.h"
#include "ui/app/avvio.h"
#include "ui/app/guida.h"
#include "core/cards/agentcard.h"
#include "core/cards/cardnavigator.h"
#include "ui/common/helptexts.h"
#include "ui/common/picturebox.h"
#include "ui/common/workareas.h"
#include "core/records/fieldtable.h"
#include "core/records/records.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QString kArchive = QStringLiteral("Archivio_Dipendenti.pro");

class DipendentiTest : public AgentsTest {
protected:
    void SetUp() override {
        AgentsTest::SetUp();
        screen = std::make_unique<TfrmDipendenti>();
        screen->showNormal();
        screen->resize(1366, 768);
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void TearDown() override {
        screen.reset();
        AgentsTest::TearDown();
    }

    QLineEdit* box(const char* name) const { return qobject_cast<QLineEdit*>(screen->field(QString::fromLatin1(name))); }
    void click(QToolButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Types the mandatory fields of a card.
    void fillMandatory(const QString& name = QStringLiteral("Rossi Mario")) {
        box("txtDipendente")->setText(name);
        box("txtCodFisc")->setText(QStringLiteral("RSSMRA80A01H501U"));
        box("txtCel")->setText(QStringLiteral("3331234567"));
        box("txtQualifica")->setText(QStringLiteral("Tecnico"));
        box("txtReparto")->setText(QStringLiteral("Assistenza"));
    }
    void showCard(int number) {
        click(screen->cmdPrimo);
        for (int i = 1; i < number; ++i)
            click(screen->cmdAvanti);
        ASSERT_EQ(screen->lblPosizione->text(), QString::number(number));
    }
    QImage shownPhoto() const { return screen->imgFoto->pixmap().toImage(); }
    bool showsBlank() const { return samePicture(shownPhoto(), blankAgentPhoto().toImage()); }

    std::unique_ptr<TfrmDipendenti> screen;
};

} // namespace

TEST_F(DipendentiTest, OpensOnAnEmptyNewCardWithTheBlankPicture) {
    EXPECT_EQ(screen->windowTitle(), QStringLiteral(" Ombrisa - Agenti e Prestazioni"));
    EXPECT_TRUE(screen->lblPosizione->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), box("txtDipendente"));
    EXPECT_TRUE(showsBlank());
    EXPECT_EQ(screen->imgFoto->size(), QSize(307, 394));
    EXPECT_EQ(screen->panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
    // The archive is not touched by showing the screen.
    EXPECT_FALSE(QFile::exists(path(kArchive)));
}

// Each box takes no more characters than its field of "Archivio_Dipendenti.pro" holds (the documented
// record layout), in the boxes' font.
TEST_F(DipendentiTest, BoxesAreLimitedToTheirFieldsCapacity) {
    const std::pair<const char*, int> capacities[] = {
        {"txtDipendente", 50}, {"txtSesso", 1},           {"txtDataNasc", 10},  {"txtCittadinanza", 50},
        {"txtLuogoNasc", 50},  {"txtIndirizzo", 120},     {"txtCitta", 50},     {"txtCap", 10},
        {"txtNazione", 50},    {"txtCodFisc", 16},        {"txtCivile", 50},    {"txtPartitaIva", 11},
        {"txtStudio", 120},    {"txtLingue", 120},        {"txtEmail", 50},     {"txtTel", 30},
        {"txtCel", 30},        {"txtQualifica", 50},      {"txtReparto", 50},   {"txtDisponibilita", 120},
        {"txtMansioni", 250},  {"txtIban", 27},           {"txtDataAss", 10},   {"txtRetribuzione", 250},
        {"txtNote", 250},
    };
    for (const auto& [name, capacity] : capacities) {
        QLineEdit* e = box(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->maxLength(), capacity) << name;
        EXPECT_EQ(e->font().family(), QStringLiteral("Verdana")) << name;
        EXPECT_TRUE(e->font().bold()) << name;
    }
    EXPECT_TRUE(box("txtSesso")->alignment() & Qt::AlignHCenter);
}

TEST_F(DipendentiTest, TypingFiltersAndDigitOnlyBoxes) {
    struct Case {
        const char* control;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"txtCodFisc", "rssmra80a01h501u", "RSSMRA80A01H501U"},
        {"txtIban", " it60x", "IT60X"},
        {"txtSesso", "m", "M"},
        {"txtEmail", "mario@example.it ", "mario@example.it"},
        {"txtCel", "333-12a 34", "3331234"},
        {"txtPartitaIva", "0123x4", "01234"},
        {"txtDipendente", " Rossi  Mario", " Rossi  Mario"},
    };
    for (const Case& c : cases) {
        QLineEdit* e = box(c.control);
        e->setFocus();
        QTest::keyClicks(e, QString::fromLatin1(c.typed));
        EXPECT_EQ(e->text(), QString::fromLatin1(c.shown)) << c.control;
    }
}

TEST_F(DipendentiTest, FocusedBoxIsYellowOthersAliceBlue) {
    QLineEdit* a = box("txtCitta");
    QLineEdit* b = box("txtNazione");
    a->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(backgroundOf(a), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(backgroundOf(b), QColor(0xF0, 0xF8, 0xFF));
    b->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(backgroundOf(a), QColor(0xF0, 0xF8, 0xFF));
    EXPECT_EQ(backgroundOf(b), QColor(0xFF, 0xFF, 0x00));
}

TEST_F(DipendentiTest, SaveChecksTheMandatoryFieldsInOrder) {
    const CardRules rules = agentCardRules();
    // Everything filled, then each field emptied (or blanked) in turn from the last to the first: every
    // save reports the first empty field in the order and puts the focus there.
    fillMandatory();
    for (auto it = rules.mandatory.rbegin(); it != rules.mandatory.rend(); ++it)
        screen->findChild<QLineEdit*>(it->control)->setText(it == rules.mandatory.rbegin() ? "   " : "");
    for (const MandatoryField& m : rules.mandatory) {
        messages.expect(MsgKind::Warning, m.warning);
        click(screen->cmdSalva);
        EXPECT_EQ(QApplication::focusWidget(), screen->findChild<QLineEdit*>(m.control)) << m.control.toStdString();
        screen->findChild<QLineEdit*>(m.control)->setText(QStringLiteral("x"));
    }
    EXPECT_FALSE(QFile::exists(path(kArchive)));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Anagrafica"))));
    EXPECT_TRUE(screen->lblPosizione->text().isEmpty());
}

TEST_F(DipendentiTest, NewCardInAnEmptyArchiveBecomesCardOneWithTheBlankPhotoFile) {
    fillMandatory(QStringLiteral("  Rossi Mario  "));
    box("txtNote")->setText(QStringLiteral("Disponibile nei festivi"));
    messages.expect(MsgKind::Information, kInsertedMessage);
    click(screen->cmdSalva);
    EXPECT_EQ(screen->lblPosizione->text(), QStringLiteral("1"));
    EXPECT_EQ(QApplication::focusWidget(), screen->btnFocus);

    const QByteArray archive = bytes(kArchive);
    ASSERT_EQ(archive.size(), 3356);
    EXPECT_EQ(fieldBytes(archive, 0, 50), QByteArray("Rossi Mario"));
    EXPECT_EQ(fieldBytes(archive, 400, 16), QByteArray("RSSMRA80A01H501U"));
    EXPECT_EQ(fieldBytes(archive, 1599, 250), QByteArray("Disponibile nei festivi"));

    const QImage written(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")));
    ASSERT_FALSE(written.isNull());
    EXPECT_TRUE(samePicture(written, blankAgentPhoto().toImage()));

    // A second save rewrites card 1.
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    EXPECT_EQ(bytes(kArchive).size(), 3356);
    EXPECT_EQ(screen->lblPosizione->text(), QStringLiteral("1"));
}

TEST_F(DipendentiTest, LoadPhotoUsesTheJpegAndBitmapChooser) {
    const QString bmp = path(QStringLiteral("ritratto.bmp"));
    ASSERT_TRUE(testPortrait().save(bmp, "BMP"));
    files.expectOpen(bmp);
    click(screen->btnCaricaFoto);
    ASSERT_EQ(files.captions.size(), 1);
    EXPECT_EQ(files.captions[0], QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
    // The picture keeps its full size; the box only shows it scaled.
    EXPECT_EQ(shownPhoto().size(), testPortrait().size());
    EXPECT_TRUE(samePicture(shownPhoto(), testPortrait()));

    // Cancelled: nothing changes. A file that cannot be decoded: the blank picture, and the reason.
    files.expectOpen(QString());
    click(screen->btnCaricaFoto);
    EXPECT_TRUE(samePicture(shownPhoto(), testPortrait()));
    write(QStringLiteral("rotto.jpg"), QByteArray("not a picture"));
    files.expectOpen(path(QStringLiteral("rotto.jpg")));
    messages.expect(MsgKind::Warning, QStringLiteral("Impossibile leggere l'immagine \"rotto.jpg\": il file non "
                                                     "contiene un'immagine in un formato riconosciuto."));
    click(screen->btnCaricaFoto);
    EXPECT_TRUE(showsBlank());

    // A name typed without extension is taken as a .jpg file.
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("foto.jpg")), "JPG"));
    files.expectOpen(path(QStringLiteral("foto")));
    click(screen->btnCaricaFoto);
    EXPECT_TRUE(samePicture(shownPhoto(), testPortrait()));
}

TEST_F(DipendentiTest, APhotoLoadedAndAbandonedIsNeverWritten) {
    writeArchive({agentRecord("Rossi Mario"), agentRecord("Verdi Anna")});
    showCard(1);
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("ritratto.jpg")), "JPG"));
    files.expectOpen(path(QStringLiteral("ritratto.jpg")));
    click(screen->btnCaricaFoto);
    ASSERT_FALSE(showsBlank());

    click(screen->cmdAvanti); // card 2, without saving card 1
    EXPECT_EQ(screen->lblPosizione->text(), QStringLiteral("2"));
    EXPECT_TRUE(showsBlank());
    click(screen->cmdIndietro);
    EXPECT_TRUE(showsBlank());
    click(screen->cmdNuovo);
    EXPECT_TRUE(showsBlank());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Anagrafica/Scheda_Dipendente_2.jpg"))));
}

TEST_F(DipendentiTest, APhotoSurvivesSaveNavigationAwayAndBack) {
    writeArchive({agentRecord("Rossi Mario"), agentRecord("Verdi Anna")});
    showCard(1);
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("ritratto.bmp")), "BMP"));
    files.expectOpen(path(QStringLiteral("ritratto.bmp")));
    click(screen->btnCaricaFoto);
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"))));

    click(screen->cmdAvanti);
    EXPECT_TRUE(showsBlank());
    click(screen->cmdIndietro);
    EXPECT_EQ(screen->lblPosizione->text(), QStringLiteral("1"));
    EXPECT_EQ(shownPhoto().size(), testPortrait().size());
    EXPECT_TRUE(samePicture(shownPhoto(), testPortrait()));
    // Card 2 was only shown: it has no photo file yet.
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Anagrafica/Scheda_Dipendente_2.jpg"))));
}

const QString kDamagedPhotoOne =
    QStringLiteral("Impossibile leggere l'immagine \"Scheda_Dipendente_1.jpg\": il file è danneggiato o incompleto.");

TEST_F(DipendentiTest, ADamagedPhotoShowsTheBlankPictureAndSaysWhyAMissingOneIsSilent) {
    writeArchive({agentRecord("Rossi Mario"), agentRecord("Verdi Anna"), agentRecord("Bianchi Luca")});
    ensureFolder(QStringLiteral("Anagrafica"));
    const QByteArray damaged("\xFF\xD8\xFF\xE0 cut off");
    write(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"), damaged);
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_3.jpg")), "JPG"));

    messages.expect(MsgKind::Warning, kDamagedPhotoOne);
    showCard(1);
    EXPECT_TRUE(showsBlank());
    click(screen->cmdAvanti); // no file
    EXPECT_TRUE(showsBlank());
    click(screen->cmdAvanti);
    EXPECT_TRUE(samePicture(shownPhoto(), testPortrait()));
    messages.expect(MsgKind::Warning, kDamagedPhotoOne);
    click(screen->cmdPrimo);
    EXPECT_TRUE(showsBlank());
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST_F(DipendentiTest, SavingACardWhosePhotoCannotBeReadKeepsTheFile) {
    writeArchive({agentRecord("Rossi Mario"), agentRecord("Verdi Anna")});
    ensureFolder(QStringLiteral("Anagrafica"));
    const QByteArray damaged("\xFF\xD8\xFF\xE0 cut off");
    write(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"), damaged);

    // Edited and saved: the unreadable file stays as it was.
    messages.expect(MsgKind::Warning, kDamagedPhotoOne);
    showCard(1);
    box("txtNote")->setText(QStringLiteral("nuova nota"));
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    EXPECT_EQ(bytes(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), damaged);

    // A card without a photo file gets the blank picture as its file.
    click(screen->cmdAvanti);
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    EXPECT_TRUE(
        samePicture(QImage(path(QStringLiteral("Anagrafica/Scheda_Dipendente_2.jpg"))), blankAgentPhoto().toImage()));

    // The user removes the photo of card 1: now the blank picture replaces the file.
    messages.expect(MsgKind::Warning, kDamagedPhotoOne);
    showCard(1);
    click(screen->btnCancFoto);
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    EXPECT_TRUE(
        samePicture(QImage(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"))), blankAgentPhoto().toImage()));
}

TEST_F(DipendentiTest, WritesThePhotoToAChosenFile) {
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("ritratto.bmp")), "BMP"));
    files.expectOpen(path(QStringLiteral("ritratto.bmp")));
    click(screen->btnCaricaFoto);

    // A name without extension gets .jpg.
    files.expectSave(path(QStringLiteral("copia")));
    click(screen->btnSalvaFoto);
    EXPECT_EQ(files.captions.last(),
              QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
    EXPECT_EQ(files.suggested.last(), QStringLiteral("Foto.jpg"));
    QFile out(path(QStringLiteral("copia.jpg")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.read(2) == QByteArray("\xFF\xD8", 2)); // JPEG
    out.close();
    EXPECT_TRUE(samePicture(QImage(path(QStringLiteral("copia.jpg"))), testPortrait()));

    // A chooser that leaves the name as typed: still a JPEG, under that name.
    files.ignoresDefaultSuffix = true;
    files.expectSave(path(QStringLiteral("senza")));
    click(screen->btnSalvaFoto);
    QFile bare(path(QStringLiteral("senza")));
    ASSERT_TRUE(bare.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bare.read(2) == QByteArray("\xFF\xD8", 2));

    // Cancelled: nothing written.
    files.expectSave(QString());
    click(screen->btnSalvaFoto);
    EXPECT_TRUE(samePicture(shownPhoto(), testPortrait()));
}

TEST_F(DipendentiTest, AFailedWriteToAChosenFileShowsTheBlankButKeepsThePhotoFile) {
    writeArchive({agentRecord("Rossi Mario")});
    ensureFolder(QStringLiteral("Anagrafica"));
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), "JPG"));
    const QByteArray before = bytes(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"));
    showCard(1);

    files.expectSave(path(QStringLiteral("manca/copia.jpg")));
    click(screen->btnSalvaFoto);
    EXPECT_TRUE(showsBlank());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("manca/copia.jpg"))));

    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    EXPECT_EQ(bytes(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), before);
}

TEST_F(DipendentiTest, DuplicateKeepsTheFieldsWithoutAttachmentsOrPhoto) {
    QByteArray first = agentRecord("Rossi Mario");
    putField(first, 1850, "C:/documenti/contratto.pdf");
    putField(first, 2603, "Contratto");
    writeArchive({first, agentRecord("Verdi Anna"), agentRecord("Bianchi Luca")});
    ensureFolder(QStringLiteral("Anagrafica"));
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), "JPG"));
    const QByteArray photo1 = bytes(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"));

    // Not yet stored: refused.
    click(screen->cmdNuovo);
    messages.expect(MsgKind::Warning, kDuplicateRefusal);
    click(screen->cmdDuplica);

    showCard(1);
    ASSERT_EQ(screen->lblFile01->text(), QStringLiteral("C:/documenti/contratto.pdf"));
    ASSERT_FALSE(showsBlank());
    messages.expect(MsgKind::Information, kDuplicatePrepared);
    click(screen->cmdDuplica);
    EXPECT_TRUE(screen->lblPosizione->text().isEmpty());
    EXPECT_TRUE(screen->lblFile01->text().isEmpty());
    EXPECT_TRUE(screen->lblDesc01->text().isEmpty());
    EXPECT_EQ(box("txtDipendente")->text(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(QApplication::focusWidget(), box("txtDipendente"));
    EXPECT_TRUE(showsBlank());

    messages.expect(MsgKind::Information, kInsertedMessage);
    click(screen->cmdSalva);
    EXPECT_EQ(screen->lblPosizione->text(), QStringLiteral("4"));
    const QByteArray archive = bytes(kArchive);
    ASSERT_EQ(archive.size(), 4 * 3356);
    const QByteArray copy = archive.mid(3 * 3356);
    EXPECT_EQ(fieldBytes(copy, 0, 50), QByteArray("Rossi Mario"));
    EXPECT_EQ(fieldBytes(copy, 1850, 250), QByteArray());
    EXPECT_EQ(fieldBytes(copy, 2603, 250), QByteArray());
    EXPECT_EQ(archive.left(3356), first);
    EXPECT_EQ(bytes(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), photo1);
    EXPECT_TRUE(
        samePicture(QImage(path(QStringLiteral("Anagrafica/Scheda_Dipendente_4.jpg"))), blankAgentPhoto().toImage()));
}

TEST_F(DipendentiTest, WorkRegisterButtonChecksInOrder) {
    // Not saved: warning, the focus stays.
    box("txtNote")->setFocus();
    messages.expect(MsgKind::Warning, kLavoriNotSavedWarning);
    click(screen->btnLavori);
    EXPECT_EQ(QApplication::focusWidget(), box("txtNote"));

    writeArchive({agentRecord("Rossi Mario")});
    showCard(1);
    box("txtDipendente")->setText(QStringLiteral("  "));
    box("txtCodFisc")->clear();
    box("txtNote")->setFocus();
    messages.expect(MsgKind::Warning, kLavoriNoNameWarning);
    click(screen->btnLavori);
    EXPECT_EQ(QApplication::focusWidget(), box("txtDipendente"));

    box("txtDipendente")->setText(QStringLiteral("Rossi Mario"));
    messages.expect(MsgKind::Warning, kLavoriNoCodFiscWarning);
    click(screen->btnLavori);
    EXPECT_EQ(QApplication::focusWidget(), box("txtCodFisc"));
}

TEST_F(DipendentiTest, CheckButtonsOpenTheirDialogsWithTheFieldText) {
    const auto expectBox = [this](const char* dialog, const char* boxName, const char* text) {
        dialogs.expect(QString::fromLatin1(dialog), [boxName, text](QDialog& d) {
            auto* e = d.findChild<QLineEdit*>(QString::fromLatin1(boxName));
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->text(), QString::fromLatin1(text));
            d.reject();
        });
    };
    expectBox("frmCodFisc", "txtCodFisc", "");
    click(screen->btnCodFisc);
    box("txtCodFisc")->setText(QStringLiteral("01234567890"));
    expectBox("frmPartitaIva", "txtPartitaIva", "01234567890");
    click(screen->btnCodFisc);
    box("txtCodFisc")->setText(QStringLiteral("RSSMRA80A01H501U"));
    expectBox("frmCodFisc", "txtCodFisc", "RSSMRA80A01H501U");
    click(screen->btnCodFisc);
    box("txtPartitaIva")->setText(QStringLiteral("12345678903"));
    expectBox("frmPartitaIva", "txtPartitaIva", "12345678903");
    click(screen->btnPartitaIva);
    box("txtIban")->setText(QStringLiteral("IT60X0542811101000000123456"));
    expectBox("frmIban", "txtIban", "IT60X0542811101000000123456");
    click(screen->btnIban);
}

TEST_F(DipendentiTest, ZoomShowsTheCardsPictureAndClosesOnAClick) {
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("ritratto.bmp")), "BMP"));
    files.expectOpen(path(QStringLiteral("ritratto.bmp")));
    click(screen->btnCaricaFoto);
    dialogs.expect(QStringLiteral("frmZoom"), [](QDialog& d) {
        auto* zoom = qobject_cast<TfrmZoom*>(&d);
        ASSERT_NE(zoom, nullptr);
        EXPECT_EQ(zoom->windowTitle(), QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
        EXPECT_TRUE(samePicture(zoom->imgFoto->pixmap().toImage(), testPortrait()));
        // The window takes the screen's available area by itself, with or without a window manager;
        // the photo as large as the screen allows, less the margins.
        EXPECT_TRUE(zoom->frameGeometry().contains(zoom->screen()->availableGeometry().adjusted(4, 4, -4, -4)));
        const QSize area = zoom->screen()->size();
        EXPECT_EQ(zoom->panContainer->size(), QSize(area.width() - 60, area.height() - 90));
        QTest::mouseClick(zoom->imgFoto, Qt::LeftButton);
    });
    click(screen->btnZoomFoto);

    // Without a photo the zoom shows the blank picture.
    click(screen->btnCancFoto);
    dialogs.expect(QStringLiteral("frmZoom"), [](QDialog& d) {
        auto* zoom = qobject_cast<TfrmZoom*>(&d);
        EXPECT_TRUE(samePicture(zoom->imgFoto->pixmap().toImage(), blankAgentPhoto().toImage()));
        QTest::mouseClick(zoom->imgFoto, Qt::LeftButton);
    });
    click(screen->btnZoomFoto);
}

TEST_F(DipendentiTest, HintsOfTheAgentScreen) {
    const QList<std::pair<QWidget*, QString>> hints{
        {screen->cmdNuovo, QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda. (Ctrl+N)")},
        {screen->cmdSalva, QStringLiteral("Salva la scheda in archivio. (Ctrl+S)")},
        {screen->cmdSlideshow, QStringLiteral("Esegui lo slide show.")},
        {screen->btnZoomFoto, QStringLiteral("Visualizza la foto nelle sue dimensioni reali.")},
        {screen->btnLavori, QStringLiteral("Registra le prestazioni svolte dall'agente.")},
        {screen->cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio. (Ctrl+Home)")},
    };
    for (const auto& [control, hint] : hints) {
        QTest::mouseMove(control, QPoint(5, 5));
        EXPECT_EQ(screen->panInfo->text(), hint) << control->objectName().toStdString();
        QTest::mouseMove(screen->imgFoto, QPoint(10, 10));
        EXPECT_TRUE(screen->panInfo->text().isEmpty()) << control->objectName().toStdString();
    }
}

// Shown again (the start menu's tile shows it): a new card, and the photo box blank again.
TEST_F(DipendentiTest, ShownAgainItStartsANewCardWithTheBlankPicture) {
    writeArchive({agentRecord("Rossi Mario")});
    ensureFolder(QStringLiteral("Anagrafica"));
    ASSERT_TRUE(testPortrait().save(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), "JPG"));
    showCard(1);
    ASSERT_FALSE(showsBlank());
    screen->close();
    screen->show();
    EXPECT_TRUE(screen->lblPosizione->text().isEmpty());
    EXPECT_TRUE(box("txtDipendente")->text().isEmpty());
    EXPECT_TRUE(showsBlank());
}

TEST_F(DipendentiTest, ACapturedPictureReplacesAnUnreadablePhotoFileWithTheNextSave) {
    writeArchive({agentRecord("Rossi Mario")});
    ensureFolder(QStringLiteral("Anagrafica"));
    write(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"), QByteArray("damaged"));
    messages.expect(MsgKind::Warning, QStringLiteral("Impossibile leggere l'immagine \"Scheda_Dipendente_1.jpg\": "
                                                     "il file non contiene un'immagine in un formato riconosciuto."));
    showCard(1);
    ASSERT_TRUE(showsBlank());
    // What the capture screen's import does.
    screen->importPhoto(QPixmap::fromImage(testPortrait()));
    // Nothing is written before the save.
    EXPECT_EQ(bytes(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg")), QByteArray("damaged"));
    messages.expect(MsgKind::Information, kUpdatedMessage);
    click(screen->cmdSalva);
    EXPECT_TRUE(samePicture(QImage(path(QStringLiteral("Anagrafica/Scheda_Dipendente_1.jpg"))), testPortrait()));
}
