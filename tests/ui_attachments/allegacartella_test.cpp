// The attached files dialog driven through the card screens that open it: values in and out, picking,
// the overwrite question, "Apri", emptying a slot, failures, and a card saved with its attachments.

#include "uisupport/fakes.h"

#include "core/storage/appfolder.h"
#include "ui/agents/Dipendenti.h"
#include "ui/attachments/AllegaCartella.h"
#include "ui/clients/Clienti.h"
#include "ui/common/picturebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QString kOverwrite =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
                   "Si vuole sovrascrivere il file esistente?");
const char* const kLabels[6] = {"lblFile01", "lblDesc01", "lblFile02", "lblDesc02", "lblFile03", "lblDesc03"};
const char* const kBoxes[6] = {"txtFile01", "txtDesc01", "txtFile02", "txtDesc02", "txtFile03", "txtDesc03"};

class Attachments : public UiTest {
protected:
    std::unique_ptr<TfrmClienti> clients;
    std::unique_ptr<TfrmDipendenti> agents;
    QTemporaryDir elsewhere; // where the user's own files are

    void SetUp() override {
        UiTest::SetUp();
        clients = std::make_unique<TfrmClienti>();
        agents = std::make_unique<TfrmDipendenti>();
        ASSERT_TRUE(elsewhere.isValid());
    }
    void TearDown() override {
        agents.reset();
        clients.reset();
        UiTest::TearDown();
    }

    QWidget* card(bool agent) const { return agent ? static_cast<QWidget*>(agents.get()) : clients.get(); }
    static QLabel* label(QWidget* card, const char* name) {
        auto* l = card->findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(l, nullptr) << name;
        return l;
    }
    // A file of the user's, outside the program's folder.
    QString userFile(const QString& name, const QByteArray& content) const {
        const QString p = elsewhere.filePath(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return p;
    }
    QByteArray stored(const QString& name) const { return bytes(QStringLiteral("Documenti_Allegati/") + name); }

    // Clicks cmdFile of the card and runs `steps` on the dialog it opens.
    void openDialog(QWidget* screen, std::function<void(TfrmAllegaCartella&)> steps) {
        dialogs.expect(QStringLiteral("frmAllegaCartella"), [steps](QDialog& d) {
            auto* dialog = qobject_cast<TfrmAllegaCartella*>(&d);
            ASSERT_NE(dialog, nullptr);
            steps(*dialog);
        });
        screen->findChild<QToolButton*>(QStringLiteral("cmdFile"))->click();
        dialogs.verifyAllShown();
    }
};

template <class T = QWidget> T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

// ---- values in and out ----------------------------------------------------------------------------

struct ModeCase {
    bool agent;
    const char* mode;
};
// The test list and a failure name the case.
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.mode;
}

class AttachmentModes : public Attachments, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(AttachmentModes, SixValuesGoInTrimmedAndComeBackTrimmed) {
    QWidget* screen = card(GetParam().agent);
    const QString in[6] = {QStringLiteral("  contratto.pdf "),
                           QStringLiteral(" Contratto firmato  "),
                           QString(),
                           QStringLiteral("   "),
                           QStringLiteral("\tfoto.png"),
                           QStringLiteral("Foto")};
    for (int i = 0; i < 6; ++i)
        label(screen, kLabels[i])->setText(in[i]);

    openDialog(screen, [&](TfrmAllegaCartella& d) {
        EXPECT_EQ(d.lblMemory->text(), QString::fromLatin1(GetParam().mode));
        EXPECT_FALSE(d.lblMemory->isVisible());
        const QString expected[6] = {QStringLiteral("contratto.pdf"),
                                     QStringLiteral("Contratto firmato"),
                                     QString(),
                                     QString(),
                                     QStringLiteral("foto.png"),
                                     QStringLiteral("Foto")};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(child<QLineEdit>(d, kBoxes[i])->text(), expected[i]) << kBoxes[i];
        // Names copied in by the caller can be opened at once; an empty slot cannot.
        EXPECT_TRUE(d.btnApri01->isEnabled());
        EXPECT_FALSE(d.btnApri02->isEnabled());
        EXPECT_TRUE(d.btnApri03->isEnabled());
        EXPECT_TRUE(d.txtFile01->isReadOnly());

        // Typed descriptions, with blanks around, the second with no file.
        d.txtDesc01->setText(QStringLiteral("  Contratto 2024  "));
        d.txtDesc02->setText(QStringLiteral("  solo descrizione "));
        click(d.btnApplica);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    const QString back[6] = {
        QStringLiteral("contratto.pdf"),    QStringLiteral("Contratto 2024"), QString(),
        QStringLiteral("solo descrizione"), QStringLiteral("foto.png"),       QStringLiteral("Foto")};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(label(screen, kLabels[i])->text(), back[i]) << kLabels[i];
    // The other card screen was not touched.
    EXPECT_EQ(label(card(!GetParam().agent), "lblDesc02")->text(), QStringLiteral("Desc02"));
}

INSTANTIATE_TEST_SUITE_P(BothCards, AttachmentModes,
                         ::testing::Values(ModeCase{false, "clienti"}, ModeCase{true, "dipendenti"}),
                         [](const auto& p) { return std::string(p.param.mode); });

// ---- picking --------------------------------------------------------------------------------------

TEST_F(Attachments, APickCreatesTheFolderCopiesTheFileAndAnnullaHandsBackNothing) {
    for (const char* l : kLabels)
        label(clients.get(), l)->setText(QString());
    ASSERT_FALSE(QDir(path(QStringLiteral("Documenti_Allegati"))).exists());
    const QString source = userFile(QStringLiteral("Preventivo 2024.pdf"), "%PDF preventivo");

    openDialog(clients.get(), [&](TfrmAllegaCartella& d) {
        files.expectOpen(source);
        click(d.btnSfoglia02);
        EXPECT_EQ(files.captions.value(0), QStringLiteral("Selezionare il file da allegare:"));
        EXPECT_EQ(d.txtFile02->text(), QStringLiteral("Preventivo 2024.pdf"));
        EXPECT_TRUE(d.btnApri02->isEnabled());
        EXPECT_EQ(stored(QStringLiteral("Preventivo 2024.pdf")), QByteArray("%PDF preventivo"));

        // A cancelled chooser changes nothing.
        files.expectOpen(QString());
        click(d.btnSfoglia01);
        EXPECT_EQ(d.txtFile01->text(), QString());

        click(d.btnAnnulla);
        EXPECT_EQ(d.result(), QDialog::Rejected);
    });
    for (const char* l : kLabels)
        EXPECT_EQ(label(clients.get(), l)->text(), QString()) << l;
    EXPECT_EQ(stored(QStringLiteral("Preventivo 2024.pdf")), QByteArray("%PDF preventivo"));
    // No temporary copy is left behind.
    EXPECT_EQ(QDir(path(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

struct OverwriteCase {
    const char* name;
    MsgAnswer answer;
    const char* storedAfter;
};
// The test list and a failure name the case.
void PrintTo(const OverwriteCase& c, std::ostream* os) {
    *os << c.name;
}

class OverwriteQuestion : public Attachments, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(OverwriteQuestion, TheAnswerDecidesWhichFileStaysAndTheSlotShowsTheName) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("Documenti_Allegati"))));
    ASSERT_TRUE(QDir(path(QStringLiteral("Documenti_Allegati"))).exists());
    write(QStringLiteral("Documenti_Allegati/listino.xls"), "vecchio");
    const QString source = userFile(QStringLiteral("listino.xls"), "nuovo");
    label(agents.get(), "lblFile01")->setText(QStringLiteral("altro.doc"));

    openDialog(agents.get(), [&](TfrmAllegaCartella& d) {
        files.expectOpen(source);
        messages.expect(MsgKind::Confirmation, kOverwrite, GetParam().answer);
        click(d.btnSfoglia01);
        messages.verifyAllShown();
        EXPECT_EQ(d.txtFile01->text(), QStringLiteral("listino.xls"));
        click(d.btnApplica);
    });
    EXPECT_EQ(stored(QStringLiteral("listino.xls")), QByteArray(GetParam().storedAfter));
    EXPECT_EQ(label(agents.get(), "lblFile01")->text(), QStringLiteral("listino.xls"));
}

INSTANTIATE_TEST_SUITE_P(Answers, OverwriteQuestion,
                         ::testing::Values(OverwriteCase{"No", MsgAnswer::No, "vecchio"},
                                           OverwriteCase{"Si", MsgAnswer::Yes, "nuovo"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Attachments, PickingTheStoredFileItselfAsksNothingAndKeepsIt) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("Documenti_Allegati"))));
    write(QStringLiteral("Documenti_Allegati/nota.txt"), "nota");
    openDialog(clients.get(), [&](TfrmAllegaCartella& d) {
        files.expectOpen(path(QStringLiteral("Documenti_Allegati/nota.txt")));
        click(d.btnSfoglia03);
        EXPECT_EQ(d.txtFile03->text(), QStringLiteral("nota.txt"));
        click(d.btnAnnulla);
    });
    EXPECT_EQ(stored(QStringLiteral("nota.txt")), QByteArray("nota"));
}

// A failed copy says so and leaves the slot as it was: the card never names a file that is not stored.
TEST_F(Attachments, ACopyThatFailsShowsAMessageAndLeavesTheSlot) {
    enum class Setup { SourceMissing, FolderIsAFile, StoredNameIsAFolder };
    struct Case {
        const char* what;
        Setup setup;
        const char* reason;
    };
    const Case cases[] = {
        {"source missing", Setup::SourceMissing, "il file scelto non esiste o non è un file."},
        {"folder cannot be made", Setup::FolderIsAFile, "non si può creare la cartella Documenti_Allegati."},
        {"stored name taken by a folder", Setup::StoredNameIsAFolder,
         "il file copiato non può sostituire quello presente nella cartella."},
    };
    const QString folder = path(QStringLiteral("Documenti_Allegati"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(folder);
        QDir(folder).removeRecursively();
        QString source = userFile(QStringLiteral("ricevuta.pdf"), "ricevuta");
        if (c.setup == Setup::SourceMissing)
            QFile::remove(source);
        if (c.setup == Setup::FolderIsAFile)
            write(QStringLiteral("Documenti_Allegati"), "not a folder");
        if (c.setup == Setup::StoredNameIsAFolder) {
            ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/ricevuta.pdf")));
        }
        label(clients.get(), "lblFile01")->setText(QStringLiteral("vecchio.pdf"));
        label(clients.get(), "lblDesc01")->setText(QStringLiteral("Vecchio"));

        openDialog(clients.get(), [&](TfrmAllegaCartella& d) {
            files.expectOpen(source);
            if (c.setup == Setup::StoredNameIsAFolder)
                messages.expect(MsgKind::Confirmation, kOverwrite, MsgAnswer::Yes);
            messages.expect(MsgKind::Warning, QStringLiteral("Attenzione: il file non è stato allegato alla scheda: ") +
                                                  QString::fromUtf8(c.reason));
            click(d.btnSfoglia01);
            messages.verifyAllShown();
            EXPECT_EQ(d.txtFile01->text(), QStringLiteral("vecchio.pdf"));
            EXPECT_EQ(d.txtDesc01->text(), QStringLiteral("Vecchio"));
            click(d.btnApplica);
        });
        EXPECT_EQ(label(clients.get(), "lblFile01")->text(), QStringLiteral("vecchio.pdf"));
        EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/ricevuta.pdf")).isFile());
        // No temporary copy is left behind.
        if (c.setup == Setup::StoredNameIsAFolder) {
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 0);
        }
    }
}

// A name the card's field cannot hold as it is (too long, characters outside its code page) would be
// stored changed and point at no file: it is refused before anything is copied.
TEST_F(Attachments, ANameTheCardCannotKeepIsRefused) {
    const QString names[] = {QString(246, QLatin1Char('a')) + QStringLiteral(".pdf") + QStringLiteral("x"),
                             QStringLiteral("Отчёт.pdf"), QStringLiteral("report \U0001F4C4.pdf")};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString source = userFile(name, "x");
        openDialog(agents.get(), [&](TfrmAllegaCartella& d) {
            d.txtFile02->setText(QStringLiteral("prima.pdf"));
            files.expectOpen(source);
            messages.expect(
                MsgKind::Warning,
                QStringLiteral("Attenzione: il nome del file è troppo lungo o contiene caratteri che la "
                               "scheda non può conservare.\r\n\r\nRinominare il file e allegarlo di nuovo."));
            click(d.btnSfoglia02);
            messages.verifyAllShown();
            EXPECT_EQ(d.txtFile02->text(), QStringLiteral("prima.pdf"));
            click(d.btnAnnulla);
        });
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("Documenti_Allegati/")) + name));
    }
    // Accented letters of the code page, and exactly 250 characters, are kept.
    const QString fits =
        QStringLiteral("Perizia città è così") + QString(226, QLatin1Char('b')) + QStringLiteral(".pdf");
    ASSERT_EQ(fits.size(), 250);
    const QString source = userFile(fits, "ok");
    openDialog(agents.get(), [&](TfrmAllegaCartella& d) {
        files.expectOpen(source);
        click(d.btnSfoglia02);
        EXPECT_EQ(d.txtFile02->text(), fits);
        click(d.btnAnnulla);
    });
    EXPECT_EQ(stored(fits), QByteArray("ok"));
}

// ---- Apri and emptying a slot ---------------------------------------------------------------------

TEST_F(Attachments, ApriFollowsTheFileBoxAndEmptyingASlotKeepsDescriptionAndFile) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("Documenti_Allegati"))));
    write(QStringLiteral("Documenti_Allegati/mappa.png"), "png");
    label(agents.get(), "lblFile02")->setText(QStringLiteral(" mappa.png "));
    label(agents.get(), "lblDesc02")->setText(QStringLiteral("Mappa"));
    openDialog(agents.get(), [&](TfrmAllegaCartella& d) {
        ASSERT_TRUE(d.btnApri02->isEnabled());
        click(d.btnApri02);
        ASSERT_EQ(opener.opened.size(), 1);
        EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(path(QStringLiteral("Documenti_Allegati/mappa.png"))));

        click(d.imgCancella02);
        EXPECT_EQ(d.txtFile02->text(), QString());
        EXPECT_FALSE(d.btnApri02->isEnabled());
        EXPECT_EQ(d.txtDesc02->text(), QStringLiteral("Mappa"));
        click(d.btnApri02); // disabled: opens nothing
        EXPECT_EQ(opener.opened.size(), 1);
        click(d.btnApplica);
    });
    EXPECT_EQ(label(agents.get(), "lblFile02")->text(), QString());
    EXPECT_EQ(label(agents.get(), "lblDesc02")->text(), QStringLiteral("Mappa"));
    EXPECT_EQ(stored(QStringLiteral("mappa.png")), QByteArray("png"));
}

// Apri on a desktop without a program for the file: the message, then the folder, then where the file is.
TEST_F(Attachments, ApriThatNoProgramTakesOffersTheFolderThenNamesIt) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("Documenti_Allegati"))));
    write(QStringLiteral("Documenti_Allegati/perizia.xyz"), "x");
    const QString file = QDir::toNativeSeparators(path(QStringLiteral("Documenti_Allegati/perizia.xyz")));
    const QString folder = QDir::toNativeSeparators(path(QStringLiteral("Documenti_Allegati")));
    const QUrl fileUrl = QUrl::fromLocalFile(path(QStringLiteral("Documenti_Allegati/perizia.xyz")));
    const QUrl folderUrl = QUrl::fromLocalFile(path(QStringLiteral("Documenti_Allegati")));
    const QString question = QStringLiteral("Impossibile aprire il file %1: sul computer non c'è un programma adatto "
                                            "a questo tipo di file.\n\nAprire la cartella che lo contiene?")
                                 .arg(file);
    struct Case {
        const char* name;
        bool folderRefused;
        MsgAnswer answer;
        QList<QUrl> opened;
        bool namesTheFolder;
    };
    const Case cases[] = {
        {"the folder opens", false, MsgAnswer::Yes, {fileUrl, folderUrl}, false},
        {"the folder fails too", true, MsgAnswer::Yes, {fileUrl, folderUrl}, true},
        {"the user declines", false, MsgAnswer::No, {fileUrl}, false},
    };
    label(agents.get(), "lblFile02")->setText(QStringLiteral("perizia.xyz"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        opener.opened.clear();
        opener.refused = {fileUrl};
        if (c.folderRefused)
            opener.refused.append(folderUrl);
        messages.expect(MsgKind::Confirmation, question, c.answer);
        if (c.namesTheFolder)
            messages.expect(MsgKind::Information,
                            QStringLiteral("Impossibile aprire anche la cartella. Il file si trova in:\n%1").arg(folder));
        openDialog(agents.get(), [&](TfrmAllegaCartella& d) {
            click(d.btnApri02);
            click(d.btnAnnulla);
        });
        messages.verifyAllShown();
        EXPECT_EQ(opener.opened, c.opened);
    }
}

// A stored name with a folder part, written by another program, opens only the file of that bare name
// inside the attachment folder.
TEST_F(Attachments, ApriOpensOnlyFilesInsideTheAttachmentFolder) {
    struct Case {
        const char* stored;
        const char* opened; // "" = nothing is opened
    };
    const Case cases[] = {
        {"../Contatti.pro", "Contatti.pro"},
        {"/etc/passwd", "passwd"},
        {"..\\..\\Windows\\win.ini", "win.ini"},
        {"C:\\Documenti\\offerta.pdf", "offerta.pdf"},
        {"Documenti_Allegati/../../x.txt", "x.txt"},
        {"..", ""},
        {"sub/..", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        opener.opened.clear();
        label(clients.get(), "lblFile01")->setText(QString::fromLatin1(c.stored));
        openDialog(clients.get(), [&](TfrmAllegaCartella& d) {
            click(d.btnApri01);
            click(d.btnAnnulla);
        });
        if (*c.opened) {
            ASSERT_EQ(opener.opened.size(), 1);
            EXPECT_EQ(opener.opened[0],
                      QUrl::fromLocalFile(path(QStringLiteral("Documenti_Allegati/") + QString::fromLatin1(c.opened))));
        } else {
            EXPECT_TRUE(opener.opened.isEmpty());
        }
    }
}

// ---- a card saved with its attachment -------------------------------------------------------------

TEST_F(Attachments, AnAttachedFileReachesTheArchiveWithTheCardsSave) {
    auto& screen = *clients;
    screen.show();
    const auto type = [&](const char* name, const QString& text) {
        auto* box = qobject_cast<QLineEdit*>(screen.field(QString::fromLatin1(name)));
        ASSERT_NE(box, nullptr) << name;
        box->setText(text);
    };
    type("txtCliente", QStringLiteral("Rossi Mario"));
    type("txtRecapito", QStringLiteral("06 5551234"));
    type("txtCodFisc", QStringLiteral("RSSMRA80A01H501U"));
    const QString source = userFile(QStringLiteral("Visura camerale.pdf"), "%PDF visura");

    openDialog(&screen, [&](TfrmAllegaCartella& d) {
        files.expectOpen(source);
        click(d.btnSfoglia01);
        d.txtDesc01->setText(QStringLiteral("Visura aggiornata"));
        d.txtDesc03->setText(QStringLiteral("Da chiedere: bilancio"));
        click(d.btnApplica);
    });
    messages.expect(MsgKind::Information, QStringLiteral("La scheda corrente è stata inserita in archivio."));
    screen.findChild<QToolButton*>(QStringLiteral("cmdSalva"))->click();
    messages.verifyAllShown();

    QProcess tool;
    tool.start(QStringLiteral(OMBRISA_TOOL_PATH),
               {QStringLiteral("dump"), QStringLiteral("clienti"), QStringLiteral("--dir"), dir.path()});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    const QList<QByteArray> lines = tool.readAllStandardOutput().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject record = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(record.value(QStringLiteral("Cliente")).toString(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(record.value(QStringLiteral("File01")).toString(), QStringLiteral("Visura camerale.pdf"));
    EXPECT_EQ(record.value(QStringLiteral("Desc01")).toString(), QStringLiteral("Visura aggiornata"));
    EXPECT_EQ(record.value(QStringLiteral("File03")).toString(), QString());
    EXPECT_EQ(record.value(QStringLiteral("Desc03")).toString(), QStringLiteral("Da chiedere: bilancio"));
    EXPECT_EQ(stored(QStringLiteral("Visura camerale.pdf")), QByteArray("%PDF visura"));
}

} // namespace
