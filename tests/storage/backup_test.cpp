// Backup, check and restore of a data folder: the round trip, damaged copies, unwritable targets, a
// folder another process holds, and a backup taken while other processes keep writing.
#include "faults.h"
#include "process.h"

#include "core/backup/backup.h"
#include "core/backup/backupsettings.h"
#include "core/records/archivepaths.h"
#include "core/records/carddates.h"
#include "core/records/records.h"
#include "core/storage/presence.h"
#include "core/storage/recordfile.h"
#include "core/storage/syserror.h"
#include "testsupport/workstations.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

using namespace ombrisa;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file under `folder` by its relative name, with its bytes; not the presence file, which the
// tool's commands leave in a folder they wrote (with its slots emptied) and no backup holds.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> all;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        if (QDir(folder).relativeFilePath(p) == kPresenceFile)
            continue;
        all[QDir(folder).relativeFilePath(p)] = readAll(p);
    }
    return all;
}

class Backup : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(work.isValid()); }
    QString at(const QString& name) const { return work.filePath(name); }
    static int tool(const QString& arguments) {
        return runShell(shellQuote(kTool) + QLatin1Char(' ') + arguments);
    }
    // A generated folder with a photo (binary) and an attached file in a subfolder.
    void makeFolder(const QString& folder, const QString& counts) const {
        ASSERT_EQ(tool(QStringLiteral("generate --dir %1 %2 > /dev/null").arg(shellQuote(folder), counts)), 0);
        ASSERT_TRUE(QDir(folder).mkpath(kAnagraficaFolder) && QDir(folder).mkpath(kAllegatiFolder + "/Rossi"));
        QByteArray photo;
        for (int i = 0; i < 5000; ++i)
            photo.append(static_cast<char>((i * 7919) & 0xff));
        writeFile(folder + "/" + kAnagraficaFolder + "/Scheda_Dipendente_1.jpg", photo);
        writeFile(folder + "/" + kAllegatiFolder + "/Rossi/contratto.pdf", "%PDF-1.4 contratto\n");
        writeFile(folder + "/" + kPasswordFile, "segreta");
    }
    static void writeFile(const QString& path, const QByteArray& content) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(content), content.size());
    }
    static QByteArray dump(const QString& what, const QString& folder) {
        QTemporaryFile out;
        EXPECT_TRUE(out.open());
        EXPECT_EQ(tool(QStringLiteral("dump %1 --dir %2 > %3").arg(what, shellQuote(folder), shellQuote(out.fileName()))),
                  0);
        return out.readAll();
    }
    // Runs the tool; its exit code, its standard error in `err`.
    static int toolErr(const QString& arguments, QString* err) {
        QTemporaryFile e;
        EXPECT_TRUE(e.open());
        const int code = tool(arguments + QStringLiteral(" > /dev/null 2> ") + shellQuote(e.fileName()));
        *err = QString::fromUtf8(e.readAll()).trimmed();
        return code;
    }

    QTemporaryDir work;
};

TEST_F(Backup, RoundTripIntoAnEmptyFolderGivesEveryArchiveAndFileBack) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 300 --calls 1500 --agents 4 --works 60"));
    const QString file = at("Ombrisa_2026-12-10_1730.tar.zst");
    ASSERT_EQ(tool(QStringLiteral("backup --dir %1 --out %2 > /dev/null").arg(shellQuote(data), shellQuote(file))), 0);
    EXPECT_EQ(tool(QStringLiteral("backup --verify %1 > /dev/null").arg(shellQuote(file))), 0);
    const QString restored = at("ripristino");
    // A folder that does not exist yet is restored into when asked to.
    ASSERT_EQ(tool(QStringLiteral("restore %1 --nuova-cartella --dir %2 > /dev/null")
                       .arg(shellQuote(file), shellQuote(restored))),
              0);
    for (const QString& what : {QStringLiteral("clienti"), QStringLiteral("chiamate"), QStringLiteral("dipendenti")})
        EXPECT_EQ(dump(what, restored), dump(what, data)) << what.toStdString();
    // The data folder records the backup for the program's reminder; the record is not part of the backup.
    QMap<QString, QByteArray> before = contents(data);
    const BackupSettings recorded = readBackupSettings(data);
    EXPECT_TRUE(recorded.last.isValid());
    EXPECT_EQ(recorded.folder, QFileInfo(file).absolutePath());
    EXPECT_EQ(before.remove(kBackupSettingsFile), 1);
    EXPECT_EQ(contents(restored), before);
    EXPECT_TRUE(before.contains(kAnagraficaFolder + "/Scheda_Dipendente_1.jpg"));
    EXPECT_TRUE(before.contains(kAllegatiFolder + "/Rossi/contratto.pdf"));
    EXPECT_EQ(tool(QStringLiteral("verify --dir %1 > /dev/null").arg(shellQuote(restored))), 0);
    // An existing name is never replaced.
    QString err;
    EXPECT_EQ(toolErr(QStringLiteral("backup --dir %1 --out %2").arg(shellQuote(data), shellQuote(file)), &err), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("esiste già"))) << err.toStdString();
}

TEST_F(Backup, OneFlippedByteIsRefusedByTheCheckAndByRestoreNamingTheFile) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 400 --calls 400 --agents 2 --works 5"));
    const QString file = at("copia.tar.zst");
    QString error;
    ASSERT_TRUE(writeBackup(data, file, {}, &error)) << error.toStdString();
    const QByteArray good = readAll(file);
    // Places in the compressed stream: the start of the frame, the archives' data, the end.
    const struct {
        const char* where;
        double at;
    } cases[] = {{"inizio", 0.02}, {"primo quarto", 0.25}, {"metà", 0.5}, {"tre quarti", 0.75}, {"fine", 0.98}};
    const QStringList names{kClientiFile,     kChiamateFile,      kDipendentiFile, kLavoriFolder,
                            kAnagraficaFolder, kAllegatiFolder, kPasswordFile,   kBackupManifest};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        QByteArray bad = good;
        const auto offset = static_cast<qsizetype>(c.at * static_cast<double>(bad.size()));
        bad[offset] = static_cast<char>(bad[offset] ^ 0x20);
        const QString damaged = at(QStringLiteral("rovinata.tar.zst"));
        writeFile(damaged, bad);
        QString err;
        EXPECT_EQ(toolErr(QStringLiteral("backup --verify %1").arg(shellQuote(damaged)), &err), 1);
        EXPECT_TRUE(err.contains(QStringLiteral("danneggiata"))) << err.toStdString();
        QString named;
        for (const QString& n : names)
            if (err.contains(n))
                named = n;
        RecordProperty(c.where, named.isEmpty() ? std::string("-") : named.toStdString());
        const QString target = at("destinazione");
        EXPECT_EQ(
            toolErr(QStringLiteral("restore %1 --nuova-cartella --dir %2").arg(shellQuote(damaged), shellQuote(target)),
                    &err),
            2);
        EXPECT_TRUE(err.contains(QStringLiteral("rifiutato"))) << err.toStdString();
        EXPECT_TRUE(contents(target).isEmpty()) << "nothing restored";
    }
    // A flip inside the data of an archive names that archive.
    QByteArray bad = good;
    const qsizetype middle = bad.size() / 2;
    bad[middle] = static_cast<char>(bad[middle] ^ 0x20);
    writeFile(at("meta.tar.zst"), bad);
    EXPECT_EQ(verifyBackup(at("meta.tar.zst"), &error), BackupCheck::Damaged);
    EXPECT_TRUE(error.contains(QLatin1String(".pro\""))) << error.toStdString();
}

TEST_F(Backup, AnUnwritableTargetLeavesNothingAndSaysSo) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 20 --calls 20 --agents 1 --works 2"));
    writeFile(at("unfile"), "x");
    ASSERT_TRUE(QDir().mkpath(at("solalettura")));
    const bool root = ::geteuid() == 0;
    if (!root) {
        ASSERT_TRUE(QFile::setPermissions(at("solalettura"), QFile::ReadOwner | QFile::ExeOwner));
    }
    const struct {
        const char* name;
        QString out;
        bool skip;
    } cases[] = {
        {"cartella che è un file", at("unfile/copia.tar.zst"), false},
        {"cartella inesistente", at("manca/copia.tar.zst"), false},
        // The super-user writes through permissions.
        {"cartella in sola lettura", at("solalettura/copia.tar.zst"), root},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.skip)
            continue;
        const QMap<QString, QByteArray> before = contents(work.path());
        QString err;
        EXPECT_EQ(toolErr(QStringLiteral("backup --dir %1 --out %2").arg(shellQuote(data), shellQuote(c.out)), &err), 2);
        EXPECT_FALSE(err.isEmpty());
        EXPECT_EQ(err.count(QLatin1Char('\n')), 0) << "one line";
        EXPECT_EQ(contents(work.path()), before) << "nothing left behind";
    }
    QFile::setPermissions(at("solalettura"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A real small file system, mounted in a user namespace of its own (no privileges needed where the
// kernel allows them): a stick that fills up while the backup is written, and one mounted read-only.
TEST_F(Backup, AFullOrReadOnlyFileSystemLeavesNothingAndSaysWhy) {
    if (runShell(QStringLiteral("unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs %1' 2>/dev/null")
                     .arg(shellQuote(work.path()))) != 0)
        GTEST_SKIP() << "no user namespaces here: unshare -rm cannot mount a small file system";
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 300 --calls 300 --agents 2 --works 5"));
    // A photo that does not compress, larger than the small file system.
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    quint32 x = 12345;
    for (char& c : noise) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    writeFile(data + "/" + kAnagraficaFolder + "/Scheda_Dipendente_2.jpg", noise);
    const QString stick = at("chiavetta");
    ASSERT_TRUE(QDir().mkpath(stick));
    const struct {
        const char* name;
        const char* options;
        const char* says;
    } cases[] = {
        {"chiavetta piena", "size=64k", "Spazio esaurito"},
        {"chiavetta in sola lettura", "ro,size=1m", "Impossibile scrivere nella cartella"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QMap<QString, QByteArray> before = contents(data);
        QTemporaryFile err, listing;
        ASSERT_TRUE(err.open() && listing.open());
        // Inside the namespace: mount, back up onto it, say the exit code and list what the stick holds.
        const QString script =
            QStringLiteral("mount -t tmpfs -o %1 tmpfs %2 || exit 99; %3 backup --dir %4 --out %2/copia.tar.zst "
                           "2> %5; code=$?; ls -A %2 > %6; exit $code")
                .arg(QString::fromLatin1(c.options), shellQuote(stick), shellQuote(kTool), shellQuote(data),
                     shellQuote(err.fileName()), shellQuote(listing.fileName()));
        const int code = runShell(QStringLiteral("unshare -rm sh -c %1").arg(shellQuote(script)));
        ASSERT_NE(code, 99) << "mount failed";
        EXPECT_EQ(code, 2);
        const QString message = QString::fromUtf8(err.readAll()).trimmed();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
        EXPECT_EQ(message.count(QLatin1Char('\n')), 0) << "one line";
        EXPECT_EQ(listing.readAll(), QByteArray()) << "nothing left on the stick";
        EXPECT_EQ(contents(data), before);
    }
    EXPECT_TRUE(QDir(stick).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(Backup, ProgressRunsToTheEndAndACancelInAnyPassLeavesNothing) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 20 --calls 20 --agents 3 --works 2"));
    QString error;
    // A whole run: the figure never goes back, the total never changes, and it ends at the total.
    QList<std::pair<qint64, qint64>> seen;
    const auto record = [&](qint64 done, qint64 total) {
        seen.append({done, total});
        return true;
    };
    const QString whole = at("intera.tar.zst");
    ASSERT_TRUE(writeBackup(data, whole, record, &error)) << error.toStdString();
    ASSERT_GE(seen.size(), 4);
    for (qsizetype i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].first, seen[i - 1].first);
        EXPECT_EQ(seen[i].second, seen[0].second);
    }
    EXPECT_EQ(seen.last().first, seen.last().second);
    const qint64 total = seen.last().second;

    // Cancelled while copying, while reading the copy back: nothing but the data and the whole copy stays.
    const struct {
        const char* name;
        qint64 from; // the first figure at which the callback cancels
    } cases[] = {{"copia", 1}, {"rilettura", total / 2 + 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qint64 cancelledAt = -1;
        EXPECT_FALSE(writeBackup(
            data, at("copia.tar.zst"),
            [&](qint64 done, qint64) {
                if (done < c.from)
                    return true;
                cancelledAt = done;
                return false;
            },
            &error));
        EXPECT_GE(cancelledAt, c.from);
        EXPECT_LT(cancelledAt, total);
        EXPECT_TRUE(error.contains(QStringLiteral("annullata"))) << error.toStdString();
        EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  (QStringList{QStringLiteral("dati"), QStringLiteral("intera.tar.zst")}));
    }

    // A restore cancelled in either of its passes replaces nothing.
    const QMap<QString, QByteArray> before = contents(data);
    for (const int pass : {0, 1}) {
        SCOPED_TRACE(pass);
        QString replaced;
        EXPECT_FALSE(restoreBackup(whole, data, &error, &replaced, 300,
                                   [&](qint64 done, qint64 all) { return done * 2 <= all * pass; }));
        EXPECT_TRUE(error.contains(QStringLiteral("annullato"))) << error.toStdString();
        EXPECT_EQ(contents(data), before);
    }
}

TEST_F(Backup, RestoreOverAFolderAnotherProcessHoldsIsRefusedAndOtherwiseKeepsTheReplacedFiles) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 30 --calls 30 --agents 2 --works 3"));
    const QString file = at("copia.tar.zst");
    QString error;
    ASSERT_TRUE(writeBackup(data, file, {}, &error)) << error.toStdString();
    // The folder changes after the backup.
    const QString target = at("corrente");
    makeFolder(target, QStringLiteral("--clients 5 --calls 5 --agents 1 --works 1"));
    writeFile(target + "/" + kAllegatiFolder + "/solo_qui.txt", "resta");
    const QMap<QString, QByteArray> before = contents(target);

    // Another process holds the call register open for writing until told to stop.
    int ready[2];
    int stop[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(stop), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(stop[1]);
        TRecordFile f;
        const bool ok = f.OpenOrCreate(target + "/" + kChiamateFile, sizeof(TRecChiamata));
        const char c = ok ? '1' : '0';
        (void)!::write(ready[1], &c, 1);
        char dummy;
        (void)!::read(stop[0], &dummy, 1);
        f.Close();
        ::_exit(0);
    }
    ::close(stop[0]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, '1');
    QString replaced;
    EXPECT_FALSE(restoreBackup(file, target, &error, &replaced, 300));
    EXPECT_TRUE(error.contains(kChiamateFile) && error.contains(QStringLiteral("altra postazione")))
        << error.toStdString();
    EXPECT_EQ(contents(target), before) << "nothing replaced";
    ::close(stop[1]);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(waitProgram(child), 0);

    // Once nobody holds it: the backup's files come back, the replaced ones wait in the dated folder.
    ASSERT_TRUE(restoreBackup(file, target, &error, &replaced, 300)) << error.toStdString();
    ASSERT_TRUE(replaced.contains(QStringLiteral("Sostituiti_")));
    const QMap<QString, QByteArray> after = contents(target);
    const QMap<QString, QByteArray> original = contents(data);
    const QString aside = QDir(target).relativeFilePath(replaced) + "/";
    for (auto f = original.cbegin(); f != original.cend(); ++f)
        EXPECT_EQ(after.value(f.key()), f.value()) << f.key().toStdString();
    for (auto f = before.cbegin(); f != before.cend(); ++f)
        if (original.contains(f.key())) {
            EXPECT_EQ(after.value(aside + f.key()), f.value()) << f.key().toStdString();
        }
    EXPECT_EQ(after.value(kAllegatiFolder + "/solo_qui.txt"), "resta") << "files the backup lacks stay";
}

// The client cards' dates travel with the cards: a backup holds them, and a backup without them (of an
// earlier version) sets the folder's own aside when it replaces the client archive, so that they never
// speak for cards they were not stamped with. generate --force drops them with the old archive.
TEST_F(Backup, TheClientCardsDatesGoWithTheClientArchive) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 3 --calls 3 --agents 1 --works 1"));
    const QString old = at("vecchia.tar.zst");
    QString error;
    ASSERT_TRUE(writeBackup(data, old, {}, &error)) << error.toStdString();
    ASSERT_TRUE(stampCardDates(data + "/" + kClientiFile, 2, 1, false, QDate(2026, 12, 11), &error))
        << error.toStdString();
    const QByteArray dates = readAll(data + "/" + kClientDatesFile);
    const QString withDates = at("nuova.tar.zst");
    ASSERT_TRUE(writeBackup(data, withDates, {}, &error)) << error.toStdString();

    const QString restored = at("ripristinata");
    ASSERT_TRUE(restoreBackup(withDates, restored, &error)) << error.toStdString();
    EXPECT_EQ(readAll(restored + "/" + kClientDatesFile), dates);

    QString replaced;
    ASSERT_TRUE(restoreBackup(old, restored, &error, &replaced, 300)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(restored + "/" + kClientDatesFile));
    EXPECT_EQ(readAll(replaced + "/" + kClientDatesFile), dates);

    ASSERT_EQ(tool(QStringLiteral("generate --force --dir %1 --clients 2 --calls 2 --agents 1 --works 1 > /dev/null")
                       .arg(shellQuote(data))),
              0);
    EXPECT_FALSE(QFileInfo::exists(data + "/" + kClientDatesFile));
}

TEST_F(Backup, RestoreIsRefusedWhileAnotherWorkstationUsesTheFolderAndNamesIt) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 10 --calls 10 --agents 1 --works 1"));
    const QString file = at("copia.tar.zst");
    QString error;
    ASSERT_TRUE(writeBackup(data, file, {}, &error)) << error.toStdString();
    const QString target = at("corrente");
    makeFolder(target, QStringLiteral("--clients 5 --calls 5 --agents 1 --works 1"));
    const QMap<QString, QByteArray> before = contents(target);
    {
        // A program open on another workstation, between two saves: it holds no archive's lock.
        ombrisa::test::OtherWorkstation other(target);
        ASSERT_TRUE(other.Register()) << other.ErrorString().toStdString();
        QString replaced;
        EXPECT_FALSE(restoreBackup(file, target, &error, &replaced, 300));
        EXPECT_TRUE(error.startsWith(QStringLiteral("Impossibile ripristinare: la cartella dei dati è in uso anche "
                                                    "dalla postazione «UFFICIO-2» (utente marco, dal ")))
            << error.toStdString();
        QString err;
        EXPECT_EQ(toolErr(QStringLiteral("restore %1 --dir %2").arg(shellQuote(file), shellQuote(target)), &err), 2);
        EXPECT_TRUE(err.contains(QStringLiteral("«UFFICIO-2»"))) << err.toStdString();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 0) << "one line";
        EXPECT_EQ(contents(target), before) << "nothing replaced";
    }
    // Once it has ended, the restore goes through; this process being present does not count.
    Presence here(target);
    ASSERT_TRUE(here.Register());
    QString replaced;
    EXPECT_TRUE(restoreBackup(file, target, &error, &replaced, 300)) << error.toStdString();
}

TEST_F(Backup, ABackupTakenWhileTwoProcessesWriteRestoresToWholeCards) {
    const QString data = at("dati");
    ASSERT_TRUE(QDir().mkpath(data));
    pid_t writers[2];
    for (int p = 0; p < 2; ++p) {
        writers[p] = startProgram(kHelper, {QStringLiteral("churn"), data, QString::number(p + 1), QStringLiteral("2000")});
        ASSERT_GT(writers[p], 0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Writers that never pause can keep a reader waiting past its lock timeout: such a backup fails with
    // the busy message and leaves nothing; every backup that is written must restore whole.
    QString error;
    bool ok[3];
    int written = 0;
    const int saved = TRecordFile::LockTimeoutMs();
    TRecordFile::SetLockTimeoutMs(2000);
    for (int i = 0; i < 3; ++i) {
        ok[i] = writeBackup(data, at(QStringLiteral("copia%1.tar.zst").arg(i)), {}, &error);
        written += ok[i] ? 1 : 0;
        if (!ok[i]) {
            EXPECT_TRUE(error.contains(QStringLiteral("occupato"))) << error.toStdString();
            EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("copia%1.tar.zst").arg(i))));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    TRecordFile::SetLockTimeoutMs(saved);
    for (pid_t w : writers) {
        ::kill(w, SIGKILL);
        waitProgram(w);
    }
    EXPECT_GT(written, 0);
    RecordProperty("backupsWrittenOfThree", written);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        if (!ok[i])
            continue;
        const QString restored = at(QStringLiteral("ripristino%1").arg(i));
        ASSERT_TRUE(restoreBackup(at(QStringLiteral("copia%1.tar.zst").arg(i)), restored, &error)) << error.toStdString();
        EXPECT_EQ(tool(QStringLiteral("verify --dir %1 > /dev/null").arg(shellQuote(restored))), 0);
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(restored + "/" + kClientiFile, sizeof(TRecCliente), TRecordFile::Access::Read));
        EXPECT_GT(f.Count(), 0);
        EXPECT_EQ(f.PartialTailBytes(), 0);
        TRecCliente card;
        while (!f.AtEnd()) {
            ASSERT_TRUE(f.ReadRecord(card));
            EXPECT_TRUE(wholeCard(card)) << "card " << f.Position();
        }
    }
}

} // namespace

namespace {

using namespace ombrisa;

// The start menu's reminder: a table of the last backup, the days set and the day it was last shown.
// A copy of the backup `from` without its entry `left`; its manifest still lists it.
void copyBackupWithout(const QString& from, const QString& to, const QString& left) {
    std::unique_ptr<archive, decltype(&archive_read_free)> in(archive_read_new(), archive_read_free);
    archive_read_support_filter_zstd(in.get());
    archive_read_support_format_tar(in.get());
    ASSERT_EQ(archive_read_open_filename(in.get(), QFile::encodeName(from).constData(), 1 << 16), ARCHIVE_OK);
    std::unique_ptr<archive, decltype(&archive_write_free)> out(archive_write_new(), archive_write_free);
    archive_write_add_filter_zstd(out.get());
    archive_write_set_format_pax_restricted(out.get());
    ASSERT_EQ(archive_write_open_filename(out.get(), QFile::encodeName(to).constData()), ARCHIVE_OK);
    archive_entry* e = nullptr;
    bool found = false;
    while (archive_read_next_header(in.get(), &e) == ARCHIVE_OK) {
        QByteArray data;
        char buffer[65536];
        for (la_ssize_t n; (n = archive_read_data(in.get(), buffer, sizeof buffer)) > 0;)
            data.append(buffer, n);
        if (QString::fromUtf8(archive_entry_pathname_utf8(e)) == left) {
            found = true;
            continue;
        }
        ASSERT_EQ(archive_write_header(out.get(), e), ARCHIVE_OK);
        ASSERT_EQ(archive_write_data(out.get(), data.constData(), static_cast<std::size_t>(data.size())), data.size());
    }
    ASSERT_EQ(archive_write_close(out.get()), ARCHIVE_OK);
    ASSERT_TRUE(found) << left.toStdString();
}

TEST_F(Backup, ABackupLackingAFileItsManifestListsIsRefusedAndRestoreChangesNothing) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 5 --calls 5 --agents 1 --works 2"));
    const QString file = at("copia.tar.zst");
    QString error;
    ASSERT_TRUE(writeBackup(data, file, {}, &error)) << error.toStdString();
    const QString register_ =
        kLavoriFolder + QLatin1Char('/') + QDir(data + "/" + kLavoriFolder).entryList(QDir::Files).value(0);
    const QMap<QString, QByteArray> before = contents(data);
    for (const QString& left :
         {kChiamateFile, register_, kAllegatiFolder + QStringLiteral("/Rossi/contratto.pdf"), kPasswordFile}) {
        SCOPED_TRACE(left.toStdString());
        const QString lacking = at("manca.tar.zst");
        QFile::remove(lacking);
        copyBackupWithout(file, lacking, left);
        const QString says = QStringLiteral("La copia di sicurezza è danneggiata: manca il file \"%1\".").arg(left);
        EXPECT_EQ(verifyBackup(lacking, &error), BackupCheck::Damaged);
        EXPECT_EQ(error, says);
        EXPECT_FALSE(restoreBackup(lacking, data, &error));
        EXPECT_EQ(error, QStringLiteral("Ripristino rifiutato. ") + says);
        EXPECT_EQ(contents(data), before) << "nothing restored, nothing left out";
    }
}

// A backup this user may not read is said so, not called damaged; the check of the fault layer stands
// for a file without read permission (the super-user reads through permissions).
TEST_F(Backup, ABackupThatCannotBeReadIsSaidSoNotCalledDamaged) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 3 --calls 3 --agents 1 --works 1"));
    const QString file = at("copia.tar.zst");
    QString error;
    ASSERT_TRUE(writeBackup(data, file, {}, &error)) << error.toStdString();
    const QString says = QStringLiteral("La copia di sicurezza \"%1\" non si può leggere (permesso negato).").arg(file);
    FaultScope scope;
    scope.faults.openReadErrno = EACCES;
    EXPECT_EQ(verifyBackup(file, &error), BackupCheck::Unreadable);
    EXPECT_EQ(error, says);
    EXPECT_FALSE(restoreBackup(file, at("vuota"), &error));
    EXPECT_EQ(error, QStringLiteral("Ripristino rifiutato. ") + says);
    EXPECT_FALSE(QFileInfo::exists(at("vuota")));
}

// The final name is given by a rename and nothing else: where it fails (another file system, a share that
// refuses it), nothing is under the final name, not even a copy cut short, and nothing is left beside it.
TEST_F(Backup, ABackupWhoseFinalRenameFailsLeavesNothingUnderItsName) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 20 --calls 20 --agents 1 --works 2"));
    const QString stick = at("chiavetta");
    ASSERT_TRUE(QDir().mkpath(stick));
    for (const int err : {EXDEV, EIO, ENOSPC}) {
        SCOPED_TRACE(err);
        QString error;
        {
            FaultScope scope;
            scope.faults.renameErrno = err;
            EXPECT_FALSE(writeBackup(data, stick + QStringLiteral("/copia.tar.zst"), {}, &error));
        }
        EXPECT_EQ(error, QStringLiteral("Impossibile dare il nome \"%1\" alla copia di sicurezza (%2): la copia non "
                                        "è stata scritta.")
                             .arg(stick + QStringLiteral("/copia.tar.zst"), systemErrorText(err)));
        EXPECT_TRUE(QDir(stick).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
}

TEST(BackupReminder, DueWhenTheLastBackupIsAsOldAsTheDaysSetAndNotYetShownToday) {
    const QDateTime now(QDate(2026, 12, 10), QTime(9, 0));
    const struct {
        const char* name;
        QDateTime last;
        int days;
        QDate remindedOn;
        QString expected;
    } cases[] = {
        {"nessuna copia", {}, 7, {},
         QStringLiteral("Promemoria: non risulta ancora nessuna copia di sicurezza degli archivi. Fare clic su "
                        "\"Copia di sicurezza\".")},
        {"sette giorni esatti", now.addDays(-7).addSecs(8 * 3600), 7, {},
         QStringLiteral("Promemoria: l'ultima copia di sicurezza è del 03/12/2026 (7 giorni fa). Fare clic su "
                        "\"Copia di sicurezza\".")},
        {"sei giorni", now.addDays(-6), 7, {}, QString()},
        {"un giorno, promemoria a 1", now.addDays(-1), 1, {},
         QStringLiteral("Promemoria: l'ultima copia di sicurezza è del 09/12/2026 (ieri). Fare clic su "
                        "\"Copia di sicurezza\".")},
        {"promemoria spento", now.addDays(-400), 0, {}, QString()},
        {"spento e nessuna copia", {}, 0, {}, QString()},
        {"già mostrato oggi", now.addDays(-30), 7, now.date(), QString()},
        {"mostrato ieri", now.addDays(-30), 7, now.date().addDays(-1),
         QStringLiteral("Promemoria: l'ultima copia di sicurezza è del 10/11/2026 (30 giorni fa). Fare clic su "
                        "\"Copia di sicurezza\".")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BackupSettings s;
        s.last = c.last;
        s.reminderDays = c.days;
        s.remindedOn = c.remindedOn;
        EXPECT_EQ(backupReminder(s, now).toStdString(), c.expected.toStdString());
    }
    EXPECT_EQ(proposedBackupName(QDateTime(QDate(2026, 12, 10), QTime(17, 30, 59))),
              QStringLiteral("Ombrisa_2026-12-10_1730.tar.zst"));
}

TEST(BackupReminder, SettingsAreKeptInTheDataFolderAndOddValuesReadAsDefaults) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const BackupSettings fresh = readBackupSettings(folder.path());
    EXPECT_EQ(fresh.reminderDays, kDefaultReminderDays);
    EXPECT_FALSE(fresh.last.isValid());
    EXPECT_TRUE(fresh.folder.isEmpty());

    BackupSettings s;
    s.folder = QStringLiteral("/media/chiavetta è/copie");
    s.last = QDateTime(QDate(2026, 12, 10), QTime(17, 30));
    s.reminderDays = 3;
    s.remindedOn = QDate(2026, 12, 11);
    ASSERT_TRUE(writeBackupSettings(folder.path(), s));
    const BackupSettings back = readBackupSettings(folder.path());
    EXPECT_EQ(back.folder, s.folder);
    EXPECT_EQ(back.last, s.last);
    EXPECT_EQ(back.reminderDays, 3);
    EXPECT_EQ(back.remindedOn, s.remindedOn);

    QFile ini(folder.filePath(kBackupSettingsFile));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[CopiaSicurezza]\nPromemoriaGiorni=-5\nUltima=ieri\n");
    ini.close();
    const BackupSettings odd = readBackupSettings(folder.path());
    EXPECT_EQ(odd.reminderDays, kDefaultReminderDays);
    EXPECT_FALSE(odd.last.isValid());
}

} // namespace
