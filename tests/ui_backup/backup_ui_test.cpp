// The backup screen and the start menu's backup button and reminder, driven as the user does: the file
// choosers and message boxes are the test services, the work itself is core's and lands on disk.
#include "core/backup/backup.h"
#include "core/backup/backupsettings.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/presence.h"
#include "core/storage/recordfile.h"
#include "testsupport/workstations.h"
#include "ui/app/avvio.h"
#include "ui/app/guida.h"
#include "ui/backup/CopiaSicurezza.h"
#include "ui/common/helptexts.h"
#include "uisupport/fakes.h"
#include "uisupport/layoutcheck.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <unistd.h>

namespace {

using namespace ombrisa;
using namespace ombrisa::test;

class BackupScreenTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(sticks.isValid());
        // A small data folder: three client cards, a photo, the password file.
        write(kClientiFile, QByteArray(3 * static_cast<int>(kClienteArchive.recordSize), 'c'));
        ASSERT_TRUE(QDir(dir.path()).mkpath(kAnagraficaFolder));
        write(kAnagraficaFolder + QStringLiteral("/Scheda_Dipendente_1.jpg"), QByteArray(4000, 'f'));
        write(kPasswordFile, "[Password]\n");
        screen = std::make_unique<TfrmCopiaSicurezza>(nullptr);
        screen->show();
    }
    void TearDown() override {
        screen.reset();
        UiTest::TearDown();
    }
    QString stick(const QString& name) const { return sticks.filePath(name); }
    QString restoreQuestion(const QString& backup) const {
        return QStringLiteral("Ripristinare la copia \"%1\" nella cartella dei dati \"%2\"?\n\r\n\rGli archivi attuali "
                              "saranno sostituiti da quelli della copia e conservati nella cartella \"Sostituiti\" con "
                              "la data e l'ora. Sulle altre postazioni il programma deve essere chiuso.")
            .arg(backup, QDir::cleanPath(dir.path()));
    }
    QStringList stickFiles() const {
        return QDir(sticks.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir sticks;
    std::unique_ptr<TfrmCopiaSicurezza> screen;
};

TEST_F(BackupScreenTest, ABackupGetsTheProposedNameAndItsFolderIsRememberedForTheNextOne) {
    EXPECT_EQ(screen->lblUltima->text(), QStringLiteral("Nessuna copia di sicurezza registrata per questa cartella."));
    EXPECT_EQ(screen->txtGiorni->value(), 7);
    EXPECT_FALSE(screen->prgAvanzamento->isEnabled());
    EXPECT_FALSE(screen->btnAnnulla->isVisible());

    const QString target = stick(QStringLiteral("Ombrisa_2024-03-05_1030.tar.zst"));
    files.expectSave(stick(QStringLiteral("Ombrisa_2024-03-05_1030")));
    messages.expect(MsgKind::Information,
                    QStringLiteral("Copia di sicurezza completata e controllata:\n\r\n\r%1").arg(target));
    QTest::mouseClick(screen->btnCopia, Qt::LeftButton);
    // The first time the chooser starts in the home folder, with the clock's date and time in the name.
    ASSERT_EQ(files.suggested.size(), 1);
    EXPECT_EQ(files.suggested[0], QDir(QDir::homePath()).filePath(QStringLiteral("Ombrisa_2024-03-05_1030.tar.zst")));
    QString error;
    EXPECT_EQ(verifyBackup(target, &error), BackupCheck::Whole) << error.toStdString();
    EXPECT_EQ(stickFiles(), QStringList{QStringLiteral("Ombrisa_2024-03-05_1030.tar.zst")});
    EXPECT_TRUE(screen->backupMade());
    EXPECT_EQ(screen->lblUltima->text(),
              QStringLiteral("Ultima copia: 05/03/2024 alle 10:30, nella cartella %1.").arg(sticks.path()));
    const BackupSettings s = readBackupSettings(dir.path());
    EXPECT_EQ(s.folder, sticks.path());
    EXPECT_EQ(s.last, clock.now());

    // The next day the chooser proposes the remembered folder; cancelling it does nothing.
    clock.set(QDateTime(QDate(2024, 3, 6), QTime(17, 45)));
    files.expectSave(QString());
    QTest::mouseClick(screen->btnCopia, Qt::LeftButton);
    ASSERT_EQ(files.suggested.size(), 2);
    EXPECT_EQ(files.suggested[1], stick(QStringLiteral("Ombrisa_2024-03-06_1745.tar.zst")));
    EXPECT_EQ(stickFiles().size(), 1);
}

// While the work runs the window's other buttons wait; "Annulla" and closing the window (Esc) both stop
// it, and no file that looks like a backup stays behind.
TEST_F(BackupScreenTest, ACancelledBackupLeavesNoFile) {
    const struct {
        const char* name;
        std::function<void(TfrmCopiaSicurezza&)> cancel;
    } cases[] = {
        {"Annulla", [](TfrmCopiaSicurezza& s) { QTest::mouseClick(s.btnAnnulla, Qt::LeftButton); }},
        {"Esc", [](TfrmCopiaSicurezza& s) { QTest::keyClick(&s, Qt::Key_Escape); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool checked = false;
        const auto connection = QObject::connect(screen.get(), &TfrmCopiaSicurezza::progressed, screen.get(), [&] {
            if (checked)
                return;
            checked = true;
            EXPECT_TRUE(screen->running());
            EXPECT_TRUE(screen->btnAnnulla->isVisible());
            EXPECT_TRUE(screen->prgAvanzamento->isEnabled());
            for (QWidget* w : {static_cast<QWidget*>(screen->btnCopia), static_cast<QWidget*>(screen->btnRipristina),
                               static_cast<QWidget*>(screen->btnChiudi)})
                EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
            c.cancel(*screen);
        });
        files.expectSave(stick(QStringLiteral("copia.tar.zst")));
        messages.expect(MsgKind::Information,
                        QStringLiteral("Copia di sicurezza annullata: nessun file è stato scritto."));
        QTest::mouseClick(screen->btnCopia, Qt::LeftButton);
        QObject::disconnect(connection);
        EXPECT_TRUE(checked);
        EXPECT_TRUE(screen->isVisible()) << "closing the window while it works only cancels";
        EXPECT_TRUE(screen->btnChiudi->isEnabled());
        EXPECT_FALSE(screen->btnAnnulla->isVisible());
        EXPECT_EQ(stickFiles(), QStringList());
        EXPECT_FALSE(screen->backupMade());
        EXPECT_FALSE(readBackupSettings(dir.path()).last.isValid());
    }
}

TEST_F(BackupScreenTest, ATargetThatCannotBeWrittenIsSaidInItalian) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the super-user writes through permissions";
    ASSERT_TRUE(QDir(sticks.path()).mkpath(QStringLiteral("protetta")));
    QFile::setPermissions(stick(QStringLiteral("protetta")), QFile::ReadOwner | QFile::ExeOwner);
    files.expectSave(stick(QStringLiteral("protetta/copia.tar.zst")));
    messages.expect(MsgKind::Error,
                    QStringLiteral("Attenzione: Impossibile scrivere nella cartella \"%1\": la copia di sicurezza non "
                                   "è stata scritta.")
                        .arg(stick(QStringLiteral("protetta"))));
    QTest::mouseClick(screen->btnCopia, Qt::LeftButton);
    messages.verifyAllShown();
    QFile::setPermissions(stick(QStringLiteral("protetta")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(QDir(stick(QStringLiteral("protetta"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_FALSE(screen->backupMade());
}

// The chooser asks "Vuoi sostituirlo?" for a name already taken; a Sì means it: the new backup is written
// and read back beside the old one and only then takes its name. A cancelled one leaves the old as it was.
TEST_F(BackupScreenTest, AnExistingFileChosenAgainIsReplacedOnlyByAVerifiedBackup) {
    const QString target = stick(QStringLiteral("vecchia.tar.zst"));
    QFile existing(target);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("una copia di ieri");
    existing.close();
    const auto contents = [&target] {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<manca>");
    };

    const auto cancel = QObject::connect(screen.get(), &TfrmCopiaSicurezza::progressed, screen.get(),
                                         [this] { QTest::mouseClick(screen->btnAnnulla, Qt::LeftButton); });
    files.expectSave(target);
    messages.expect(MsgKind::Information, QStringLiteral("Copia di sicurezza annullata: nessun file è stato scritto."));
    QTest::mouseClick(screen->btnCopia, Qt::LeftButton);
    QObject::disconnect(cancel);
    EXPECT_EQ(contents(), QByteArray("una copia di ieri"));
    EXPECT_EQ(stickFiles(), QStringList{QStringLiteral("vecchia.tar.zst")});

    files.expectSave(target);
    messages.expect(MsgKind::Information,
                    QStringLiteral("Copia di sicurezza completata e controllata:\n\r\n\r%1").arg(target));
    QTest::mouseClick(screen->btnCopia, Qt::LeftButton);
    QString error;
    EXPECT_EQ(verifyBackup(target, &error), BackupCheck::Whole) << error.toStdString();
    EXPECT_EQ(stickFiles(), QStringList{QStringLiteral("vecchia.tar.zst")});
    EXPECT_TRUE(screen->backupMade());
}

TEST_F(BackupScreenTest, RestoreAsksFirstWaitsForOtherWorkstationsAndKeepsWhatItReplaces) {
    const QString backup = stick(QStringLiteral("copia.tar.zst"));
    QString error;
    ASSERT_TRUE(writeBackup(dir.path(), backup, {}, &error)) << error.toStdString();
    const QByteArray saved = bytes(kClientiFile);
    const QByteArray changed(4 * static_cast<int>(kClienteArchive.recordSize), 'n');
    write(kClientiFile, changed);
    const QString question = restoreQuestion(backup);

    // No: nothing happens.
    files.expectOpen(backup);
    messages.expect(MsgKind::Confirmation, question, MsgAnswer::No);
    QTest::mouseClick(screen->btnRipristina, Qt::LeftButton);
    EXPECT_EQ(bytes(kClientiFile), changed);

    // Another workstation has the call register open: refused, nothing replaced.
    {
        TRecordFile other;
        ASSERT_TRUE(other.OpenOrCreate(path(kChiamateFile), kChiamataArchive.recordSize, TRecordFile::Access::Write));
        files.expectOpen(backup);
        messages.expect(MsgKind::Confirmation, question, MsgAnswer::Yes);
        messages.expect(MsgKind::Error,
                        QStringLiteral("Attenzione: Impossibile ripristinare: l'archivio \"%1\" è aperto da un'altra "
                                       "postazione (o non si può bloccare). Chiudere il programma sulle altre "
                                       "postazioni e riprovare.")
                            .arg(kChiamateFile));
        QTest::mouseClick(screen->btnRipristina, Qt::LeftButton);
        other.Close();
    }
    EXPECT_EQ(bytes(kClientiFile), changed);

    // Once it is closed: restored, and the replaced archive kept in the folder dated by the clock.
    const QString aside = QDir::cleanPath(dir.path()) + QStringLiteral("/Sostituiti_2024-03-05_103000");
    files.expectOpen(backup);
    messages.expect(MsgKind::Confirmation, question, MsgAnswer::Yes);
    messages.expect(MsgKind::Information,
                    QStringLiteral("Ripristino completato: gli archivi sono quelli della copia \"%1\".\n\r\n\rI file "
                                   "sostituiti sono nella cartella \"%2\".")
                        .arg(backup, aside));
    QTest::mouseClick(screen->btnRipristina, Qt::LeftButton);
    EXPECT_EQ(bytes(kClientiFile), saved);
    QFile kept(aside + QLatin1Char('/') + kClientiFile);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), changed);
}

TEST_F(BackupScreenTest, RestoreIsRefusedBeforeAnyChoiceWhileAnotherWorkstationUsesTheFolder) {
    const QString backup = stick(QStringLiteral("copia.tar.zst"));
    QString error;
    ASSERT_TRUE(writeBackup(dir.path(), backup, {}, &error)) << error.toStdString();
    const QByteArray stored = bytes(kClientiFile);
    Presence here(dir.path()); // this program's own slot does not count
    ASSERT_TRUE(here.Register());
    {
        OtherWorkstation other(dir.path());
        ASSERT_TRUE(other.Register()) << other.ErrorString().toStdString();
        const QString since = other.since();
        // No file chooser and no question: said at once.
        messages.expect(MsgKind::Error,
                        QStringLiteral("Attenzione: Impossibile ripristinare: la cartella dei dati è in uso anche "
                                       "dalla postazione «UFFICIO-2» (utente marco, dal %1). Chiudere il programma "
                                       "su quella postazione e riprovare.")
                            .arg(since));
        QTest::mouseClick(screen->btnRipristina, Qt::LeftButton);
        EXPECT_EQ(bytes(kClientiFile), stored);
    }
    // Once it has ended the restore asks as usual.
    files.expectOpen(backup);
    messages.expect(MsgKind::Confirmation, restoreQuestion(backup), MsgAnswer::No);
    QTest::mouseClick(screen->btnRipristina, Qt::LeftButton);
}

TEST_F(BackupScreenTest, ADamagedBackupIsRefusedByTheCheckAndByRestoreNamingTheFile) {
    const QString backup = stick(QStringLiteral("copia.tar.zst"));
    QString error;
    ASSERT_TRUE(writeBackup(dir.path(), backup, {}, &error)) << error.toStdString();
    files.expectOpen(backup);
    messages.expect(MsgKind::Information, QStringLiteral("La copia di sicurezza è integra:\n\r\n\r%1").arg(backup));
    QTest::mouseClick(screen->btnControlla, Qt::LeftButton);

    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray all = f.readAll();
    all[all.size() / 2] = static_cast<char>(all[all.size() / 2] ^ 0x20);
    ASSERT_TRUE(f.seek(0));
    ASSERT_EQ(f.write(all), all.size());
    f.close();
    ASSERT_EQ(verifyBackup(backup, &error), BackupCheck::Damaged);
    EXPECT_TRUE(error.contains(QStringLiteral("danneggiata"))) << error.toStdString();

    const QByteArray before = bytes(kClientiFile);
    files.expectOpen(backup);
    messages.expect(MsgKind::Error, QStringLiteral("Attenzione: ") + error);
    QTest::mouseClick(screen->btnControlla, Qt::LeftButton);
    files.expectOpen(backup);
    messages.expect(MsgKind::Confirmation, restoreQuestion(backup), MsgAnswer::Yes);
    messages.expect(MsgKind::Error, QStringLiteral("Attenzione: Ripristino rifiutato. ") + error);
    QTest::mouseClick(screen->btnRipristina, Qt::LeftButton);
    EXPECT_EQ(bytes(kClientiFile), before);
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("Sostituiti_*")}, QDir::Dirs).isEmpty());
}

TEST_F(BackupScreenTest, TheReminderDaysAreKeptAndTheHelpExplainsTheScreen) {
    screen->txtGiorni->setValue(0);
    EXPECT_EQ(screen->txtGiorni->text(), QStringLiteral("mai"));
    EXPECT_EQ(readBackupSettings(dir.path()).reminderDays, 0);
    screen->txtGiorni->setValue(14);
    EXPECT_EQ(readBackupSettings(dir.path()).reminderDays, 14);
    TfrmCopiaSicurezza again(nullptr);
    EXPECT_EQ(again.txtGiorni->value(), 14);

    dialogs.expect(QStringLiteral("frmGuida"), [](QDialog& d) {
        auto& help = static_cast<TfrmGuida&>(d);
        EXPECT_EQ(help.lblTitolo->text(), kHelpCopiaSicurezzaTitle);
        EXPECT_EQ(help.helpText(), joinHelp(helpCopiaSicurezza()));
        help.btnChiudi->click();
    });
    QTest::mouseClick(screen->btnGuida, Qt::LeftButton);
}

TEST_F(BackupScreenTest, EveryControlFitsWithoutOverlap) {
    screen->resize(screen->sizeHint().expandedTo(screen->size()));
    QApplication::processEvents();
    expectFitsWithoutOverlap(screen.get(), layoutControls(screen.get(), {QStringLiteral("btn"), QStringLiteral("lbl"),
                                                                         QStringLiteral("txt")}));
    EXPECT_LE(screen->width(), 1366);
    EXPECT_LE(screen->height(), 700);
}

// ---- the start menu ----

class StartMenuBackupTest : public UiTest {
protected:
    std::unique_ptr<TfrmAvvio> showMenu() {
        auto menu = std::make_unique<TfrmAvvio>();
        menu->show();
        return menu;
    }
    void setLast(const QDateTime& last, int days = kDefaultReminderDays) {
        BackupSettings s = readBackupSettings(dir.path());
        s.last = last;
        s.reminderDays = days;
        s.remindedOn = {};
        ASSERT_TRUE(writeBackupSettings(dir.path(), s));
    }
};

TEST_F(StartMenuBackupTest, TheButtonOpensTheBackupScreenAndItsHintShowsOnTheHintLine) {
    auto menu = showMenu();
    setLast(clock.now()); // no reminder in the way
    EXPECT_EQ(menu->btnCopia->text(), QStringLiteral("Copia di sicurezza"));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(menu->btnCopia, &enter);
    EXPECT_EQ(menu->panInfo->text(),
              QStringLiteral("Crea una copia di sicurezza di tutti gli archivi, oppure controlla "
                             "o ripristina una copia."));
    dialogs.expect(QStringLiteral("frmCopiaSicurezza"),
                   [](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("btnChiudi"))->click(); });
    QTest::mouseClick(menu->btnCopia, Qt::LeftButton);
    EXPECT_TRUE(menu->isVisible());
}

// The reminder: on the first showing of the day when the last backup is too old, never twice a day, and
// gone once a backup is made.
TEST_F(StartMenuBackupTest, TheReminderShowsOncePerDayUntilABackupIsMade) {
    setLast(clock.now().addDays(-8));
    auto menu = showMenu();
    EXPECT_EQ(menu->panInfo->text(),
              QStringLiteral("Promemoria: l'ultima copia di sicurezza è del 26/02/2024 (8 giorni fa). Fare clic su "
                             "\"Copia di sicurezza\"."));
    EXPECT_EQ(readBackupSettings(dir.path()).remindedOn, clock.today());
    menu.reset();
    EXPECT_EQ(showMenu()->panInfo->text(), QString()) << "a second start the same day";

    clock.set(clock.now().addDays(1));
    menu = showMenu();
    EXPECT_TRUE(menu->panInfo->text().startsWith(QStringLiteral("Promemoria:")));
    // A backup made from the menu takes the reminder away.
    QTemporaryDir stick;
    ASSERT_TRUE(stick.isValid());
    write(kClientiFile, QByteArray(static_cast<int>(kClienteArchive.recordSize), 'c'));
    dialogs.expect(QStringLiteral("frmCopiaSicurezza"), [&](QDialog& d) {
        auto& s = static_cast<TfrmCopiaSicurezza&>(d);
        files.expectSave(stick.filePath(QStringLiteral("copia.tar.zst")));
        messages.expect(MsgKind::Information, QStringLiteral("Copia di sicurezza completata e controllata:\n\r\n\r%1")
                                                  .arg(stick.filePath(QStringLiteral("copia.tar.zst"))));
        s.btnCopia->click();
        s.btnChiudi->click();
    });
    QTest::mouseClick(menu->btnCopia, Qt::LeftButton);
    EXPECT_EQ(menu->panInfo->text(), QString());
    clock.set(clock.now().addDays(3));
    EXPECT_EQ(showMenu()->panInfo->text(), QString()) << "three days after the backup";
}

TEST_F(StartMenuBackupTest, TheStartMenuStillFitsAnOfficeScreen) {
    auto menu = showMenu();
    menu->setWindowState(Qt::WindowNoState);
    menu->resize(1366, 768);
    QApplication::processEvents();
    expectFitsWithoutOverlap(menu->panContainer,
                             layoutControls(menu->panContainer, {QStringLiteral("btn"), QStringLiteral("img"),
                                                                 QStringLiteral("ico"), QStringLiteral("pan")}));
    EXPECT_LE(menu->minimumHeight(), 768 - 60) << "room for a title bar and a panel";
}

} // namespace
