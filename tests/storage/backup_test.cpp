// Backup, check and restore of a data folder: the round trip, damaged copies, unwritable targets, a
// folder another process holds, and a backup taken while other processes keep writing.
#include "process.h"

#include "core/backup/backup.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <csignal>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace ombrisa;
const QString kTool = QStringLiteral(OMBRISA_TOOL_PATH);
const QString kHelper = QStringLiteral(OMBRISA_STORAGE_HELPER);

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file under `folder` by its relative name, with its bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> all;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
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
    ASSERT_EQ(tool(QStringLiteral("restore %1 --dir %2 > /dev/null").arg(shellQuote(file), shellQuote(restored))), 0);
    for (const QString& what : {QStringLiteral("clienti"), QStringLiteral("chiamate"), QStringLiteral("dipendenti")})
        EXPECT_EQ(dump(what, restored), dump(what, data)) << what.toStdString();
    const QMap<QString, QByteArray> before = contents(data);
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
        EXPECT_EQ(toolErr(QStringLiteral("restore %1 --dir %2").arg(shellQuote(damaged), shellQuote(target)), &err), 2);
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

TEST_F(Backup, CancelLeavesNothing) {
    const QString data = at("dati");
    makeFolder(data, QStringLiteral("--clients 20 --calls 20 --agents 3 --works 2"));
    QString error;
    int calls = 0;
    EXPECT_FALSE(writeBackup(data, at("copia.tar.zst"), [&](int, int) { return ++calls < 3; }, &error));
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(error.contains(QStringLiteral("annullata")));
    EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("dati")});
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

// Every field of a card of the churn helper holds the same generation.
bool wholeCard(const TRecCliente& card) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&card);
    const QString generation = GetText(bytes, kClienteFields[0]);
    if (!generation.startsWith(QLatin1Char('G')))
        return false;
    for (const FieldDef& f : kClienteFields)
        if (GetText(bytes, f) != generation.left(static_cast<qsizetype>(f.capacity)))
            return false;
    return true;
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
