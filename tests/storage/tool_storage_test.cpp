// ombrisa-tool's dump, verify and generate on shared, damaged, read-only and full folders.
#include "core/testfolder.h"
#include "faults.h"
#include "process.h"

#include "core/privacy/privacy.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/filelock.h"
#include "core/storage/folderswitch.h"
#include "core/storage/presence.h"
#include "core/storage/recordfile.h"
#include "ombrisa-tool/commands.h"
#include "testsupport/workstations.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryFile>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace ombrisa;

class ToolStorage : public TestFolder {
protected:
    void TearDown() override {
        setLocksRefusedHandler({});
        resetLocksRefusedWarning();
        TestFolder::TearDown();
    }
    int tool(const QString& arguments) const { return runShell(shellQuote(kTool) + QLatin1Char(' ') + arguments); }
    void generate(const QString& counts = QStringLiteral("--clients 20 --calls 30 --agents 2 --works 5")) const {
        ASSERT_EQ(tool(QStringLiteral("generate --dir %1 %2 > /dev/null").arg(shellQuote(dir.path()), counts)), 0);
    }
    // Runs a command in this process and returns what it printed.
    static QByteArray captured(const std::function<int()>& command, int& code) {
        std::fflush(stdout);
        QTemporaryFile out;
        EXPECT_TRUE(out.open());
        const int saved = ::dup(1);
        ::dup2(out.handle(), 1);
        code = command();
        std::fflush(stdout);
        ::dup2(saved, 1);
        ::close(saved);
        out.seek(0);
        return out.readAll();
    }
    QMap<QString, QByteArray> archives() const {
        QMap<QString, QByteArray> all;
        for (const QString& name : {kClientiFile, kChiamateFile, kDipendentiFile})
            all[name] = bytes(name);
        const QDir works(path(kLavoriFolder));
        for (const QString& name : works.entryList(QDir::Files))
            all[kLavoriFolder + QLatin1Char('/') + name] = bytes(kLavoriFolder + QLatin1Char('/') + name);
        return all;
    }
};

TEST_F(ToolStorage, DumpDoesNotKeepAWriterWaitingWhileItsReaderIsStalled) {
    generate(QStringLiteral("--clients 200 --calls 0 --agents 0")); // some 300 KB of output, more than a pipe holds
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t dump = startProgram(
        kTool, {QStringLiteral("dump"), QStringLiteral("clienti"), QStringLiteral("--dir"), dir.path()}, pipeFds[1]);
    ::close(pipeFds[1]);
    ASSERT_GT(dump, 0);
    // Nobody reads the pipe: wait until it is full and dump is stuck writing.
    int queued = 0;
    for (int i = 0; i < 500 && queued < 60000; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::ioctl(pipeFds[0], FIONREAD, &queued);
    }
    EXPECT_GE(queued, 60000);
    TRecordFile::SetLockTimeoutMs(2000);
    TRecordFile writer;
    EXPECT_TRUE(writer.OpenOrCreate(path(kClientiFile), 3372, TRecordFile::Access::Write)) << "dump keeps no lock";
    writer.Close();
    TRecordFile::SetLockTimeoutMs(15000);
    ::kill(dump, SIGKILL);
    waitProgram(dump);
    ::close(pipeFds[0]);
}

TEST_F(ToolStorage, EveryCommandFailsWhenItsOutputCannotBeWritten) {
    generate();
    const QString d = shellQuote(dir.path());
    const QString fresh = shellQuote(path(QStringLiteral("new")));
    for (const QString& command :
         {QStringLiteral("verify --dir %1").arg(d), QStringLiteral("dump clienti --dir %1").arg(d),
          QStringLiteral("generate --dir %1 --clients 1 --calls 1 --agents 1 --works 1 --force").arg(fresh),
          QStringLiteral("check cf RSSMRA80A01H501U"), QStringLiteral("--help")}) {
        SCOPED_TRACE(command.toStdString());
        EXPECT_EQ(tool(command + QStringLiteral(" > /dev/full 2> /dev/null")), 2);
        EXPECT_NE(tool(command + QStringLiteral(" > /dev/null")), 2) << "the same command succeeds elsewhere";
    }
}

TEST_F(ToolStorage, GenerateForceOnAFullDiskLeavesTheOldArchivesWhole) {
    generate();
    const auto before = archives();
    ASSERT_EQ(before.size(), 5);
    // A disk that takes no file over 100 KB: the new client archive (500 cards, 1.6 MB) cannot be written.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const struct rlimit limit { 100000, 100000 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        const QByteArray program = QFile::encodeName(kTool), folder = QFile::encodeName(dir.path());
        ::execl(program.constData(), program.constData(), "generate", "--dir", folder.constData(), "--force",
                "--clients", "500", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    EXPECT_EQ(waitProgram(pid), 2);
    EXPECT_EQ(archives(), before);
    const QStringList left = QDir(dir.path()).entryList({QStringLiteral("*.nuovo")}, QDir::Files) +
                             QDir(path(kLavoriFolder)).entryList({QStringLiteral("*.nuovo")}, QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
    // With room, --force replaces them all, and the old registers of agents no longer there go.
    generate(QStringLiteral("--clients 3 --calls 3 --agents 1 --works 1 --seed 7 --force"));
    const auto after = archives();
    EXPECT_EQ(after.size(), 4);
    EXPECT_EQ(after.value(kClientiFile).size(), 3 * 3372);
}

TEST_F(ToolStorage, AGenerationStoppedDuringItsRenamesIsFinishedByTheNextCommand) {
    generate();
    // The call register's place is taken by a folder with a file in it: its rename fails after the client
    // archive was already replaced, as when the process dies between two renames.
    ASSERT_TRUE(QFile::remove(path(kChiamateFile)));
    ASSERT_TRUE(QDir(dir.path()).mkpath(kChiamateFile + QStringLiteral("/occupato")));
    EXPECT_EQ(
        tool(
            QStringLiteral("generate --dir %1 --force --clients 4 2>/dev/null >/dev/null").arg(shellQuote(dir.path()))),
        2);
    EXPECT_EQ(bytes(kClientiFile).size(), 4 * 3372); // the new client archive is in place
    EXPECT_TRUE(QFileInfo::exists(path(kSwitchJournal))) << "the switch was decided: its journal stays";
    EXPECT_TRUE(QFileInfo::exists(path(kChiamateFile + QStringLiteral(".nuovo"))));
    // While the obstacle stays, no command reads the folder half old, half new; verify names it.
    int code = 0;
    QByteArray report = captured([this] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(report, QByteArray());

    // Once it is gone, the next command finishes the switch: every archive is a new one.
    ASSERT_TRUE(QDir(path(kChiamateFile)).removeRecursively());
    report = captured([this] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(report.contains("Sostituzione interrotta: un'operazione interrotta (generazione degli archivi"))
        << report.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(kSwitchJournal)));
    EXPECT_FALSE(QFileInfo::exists(path(kChiamateFile + QStringLiteral(".nuovo"))));
    EXPECT_EQ(bytes(kClientiFile).size(), 4 * 3372);
    EXPECT_EQ(bytes(kChiamateFile).size(), 5000 * qsizetype(sizeof(TRecChiamata)));
    captured([this] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 0);

    // Stopped before its switch, a generation leaves the old archives whole and its new files beside them,
    // which verify names and the next generation removes.
    const QByteArray clients = bytes(kClientiFile);
    write(kClientiFile + QStringLiteral(".nuovo"), "x");
    report = captured([this] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(report.contains("Generazione interrotta prima della sostituzione: gli archivi sono quelli di prima "
                                "(file rimasti: Contatti.pro.nuovo)"))
        << report.toStdString();
    EXPECT_EQ(bytes(kClientiFile), clients);
    generate(QStringLiteral("--clients 3 --calls 3 --agents 1 --works 1 --seed 7 --force"));
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.nuovo")}, QDir::Files).isEmpty());
    captured([this] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 0);
}

TEST_F(ToolStorage, AReadOnlyArchiveIsListedAndVerified) {
    generate();
    FaultScope scope; // a read-only share, a backup copy, an immutable file: no open for writing succeeds
    scope.faults.openWriteErrno = EROFS;
    int code = -1;
    const QByteArray report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 0) << report.toStdString();
    EXPECT_TRUE(report.contains("Contatti.pro: 20 schede")) << report.toStdString();
    EXPECT_TRUE(report.contains("Esito: nessun problema."));
    const QByteArray dump = captured(
        [&] {
            return tool::dump({QStringLiteral("clienti"), QStringLiteral("--dir"), dir.path()});
        },
        code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(dump.count('\n'), 20);
    EXPECT_TRUE(dump.startsWith("{\"Numero\":1,"));
}

TEST_F(ToolStorage, VerifyReportsRefusedLocks) {
    generate(QStringLiteral("--clients 2 --calls 0 --agents 0"));
    FaultScope scope;
    scope.faults.ofdLockErrno = ENOLCK;
    scope.faults.classicLockErrno = ENOLCK;
    int code = -1;
    const QByteArray report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(report.contains("Contatti.pro: 2 schede; il file system rifiuta i blocchi")) << report.toStdString();
    EXPECT_FALSE(report.contains("nessun problema"));
}

TEST_F(ToolStorage, VerifyListsTheWorkstationsPresentAndOneWhoseLockIsNotSeen) {
    generate(QStringLiteral("--clients 2 --calls 0 --agents 0"));
    Presence other(dir.path());
    ASSERT_TRUE(other.Register());
    int code = -1;
    QByteArray report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 0) << report.toStdString();
    EXPECT_TRUE(report.contains("Postazione presente: ")) << report.toStdString();
    EXPECT_FALSE(report.contains("non si vede da qui")) << report.toStdString();
    FaultScope scope;
    scope.faults.locksInvisible = true;
    report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 1) << report.toStdString();
    EXPECT_TRUE(report.contains("il suo blocco non si vede da qui")) << report.toStdString();
}

// While a command runs: each open of an archive looks whether this process has a slot in the folder's
// presence file.
struct PresenceWatch {
    QString folder;
    int opens = 0;
    int present = 0;
};
PresenceWatch* presenceWatch = nullptr;

int openWatched(const char* file, int flags, mode_t mode) {
    if (!QString::fromLocal8Bit(file).endsWith(kPresenceFile)) {
        ++presenceWatch->opens;
        for (const Workstation& w : Presence::Read(presenceWatch->folder))
            if (w.own) {
                ++presenceWatch->present;
                break;
            }
    }
    return realStorageSyscalls().open(file, flags, mode);
}

// A program of this host killed a moment ago leaves its slot with a fresh heartbeat and no lock: its
// process is gone, so it is no workstation at all, least of all one whose locks are not seen.
TEST_F(ToolStorage, VerifyAfterACrashDoesNotNameThisHostsEndedProgram) {
    generate(QStringLiteral("--clients 2 --calls 0 --agents 0"));
    pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    FaultScope scope; // its lock went with its process
    scope.faults.locksInvisible = true;
    Presence crashed(dir.path(), test::posingAs(QSysInfo::machineHostName(), QStringLiteral("anna"), ended));
    ASSERT_TRUE(crashed.Register());
    int code = -1;
    const QByteArray report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 0) << report.toStdString();
    EXPECT_FALSE(report.contains("Postazione presente")) << report.toStdString();
    EXPECT_FALSE(report.contains("non si vede da qui")) << report.toStdString();
    // Its slot is free for the next program.
    Presence next(dir.path());
    ASSERT_TRUE(next.Register());
    EXPECT_EQ(next.Slot(), crashed.Slot());
}

// forget on a disk that fails (EIO from the register's flush): the reason in Italian, no archive changed,
// no line lost: the next run, with the disk back, anonymises and writes the register's line.
TEST_F(ToolStorage, ForgetOnADiskThatFailsSaysWhyInItalianAndTheNextRunKeepsTheRegister) {
    generate(QStringLiteral("--clients 6 --calls 20 --agents 0"));
    const QByteArray clients = bytes(kClientiFile), calls = bytes(kChiamateFile);
    TRecCliente card;
    std::memcpy(&card, clients.constData() + 2 * sizeof card, sizeof card);
    const QString cf = GetText(card.CodFisc);
    const QStringList args{QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"), cf};
    QTemporaryFile err;
    ASSERT_TRUE(err.open());
    const int saved = ::dup(2);
    ::dup2(err.handle(), 2);
    int code = -1;
    {
        FaultScope scope;
        scope.faults.failSyncNumber = 1; // the register's line is the first thing forget flushes
        captured([&] { return tool::forget(args); }, code);
    }
    ::dup2(saved, 2);
    ::close(saved);
    QFile written(err.fileName());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString said = QString::fromUtf8(written.readAll());
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(said.contains(QStringLiteral("errore di lettura o scrittura sul dispositivo"))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("Unknown"))) << said.toStdString();
    EXPECT_EQ(bytes(kClientiFile), clients);
    EXPECT_EQ(bytes(kChiamateFile), calls);
    EXPECT_EQ(bytes(kPrivacyRegisterFile), QByteArray());

    captured([&] { return tool::forget(args); }, code);
    EXPECT_EQ(code, 0);
    EXPECT_NE(bytes(kClientiFile), clients);
    EXPECT_TRUE(bytes(kPrivacyRegisterFile).contains(";oblio;clienti: 3;"))
        << bytes(kPrivacyRegisterFile).toStdString();
}

TEST_F(ToolStorage, EveryCommandThatWritesIsPresentWhileItRunsAndLeavesItsSlotAfter) {
    generate(QStringLiteral("--clients 4 --calls 4 --agents 1 --works 1"));
    const QString d = dir.path();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString copy = elsewhere.filePath(QStringLiteral("copia.tar.zst"));
    ASSERT_EQ(tool(QStringLiteral("backup --dir %1 --out %2 > /dev/null").arg(shellQuote(d), shellQuote(copy))), 0);
    QFile csv(elsewhere.filePath(QStringLiteral("clienti.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Nominativo;Tel;Codice\r\nBianchi Anna;06 1;FBBCHR44L44A952H\r\n");
    csv.close();
    const QString cf = QStringLiteral("FBBCHR44L44A952H");
    const struct {
        const char* what;
        int (*command)(const QStringList&);
        QStringList args;
        bool writes;
    } cases[] = {
        {"import", tool::importFile,
         {"clienti", csv.fileName(), "--dir", d, "--map", "Codice=txtCodFisc"}, true},
        {"import --dry-run", tool::importFile,
         {"clienti", csv.fileName(), "--dir", d, "--map", "Codice=txtCodFisc", "--dry-run"}, false},
        {"forget --dry-run", tool::forget, {"--dir", d, "--cf", cf, "--dry-run"}, false},
        {"forget", tool::forget, {"--dir", d, "--cf", cf}, true},
        {"backup", tool::backup, {"--dir", d, "--out", elsewhere.filePath(QStringLiteral("altra.tar.zst"))}, true},
        {"restore", tool::restore, {copy, "--dir", d}, true},
        {"generate", tool::generate, {"--dir", d, "--clients", "2", "--calls", "0", "--agents", "0", "--force"}, true},
        {"dump", tool::dump, {"clienti", "--dir", d}, false},
        {"verify", tool::verify, {"--dir", d}, false},
    };
    PresenceWatch watch{d};
    presenceWatch = &watch;
    StorageSyscalls table = realStorageSyscalls();
    table.open = openWatched;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        watch.opens = watch.present = 0;
        setStorageSyscalls(&table);
        int code = -1;
        const QByteArray out = captured([&] { return c.command(c.args); }, code);
        setStorageSyscalls(nullptr);
        EXPECT_LE(code, 1) << out.toStdString();
        ASSERT_GT(watch.opens, 0) << "the command opens archives";
        if (c.writes)
            EXPECT_EQ(watch.present, watch.opens) << "present at every open";
        else
            EXPECT_EQ(watch.present, 0) << "a command that only reads takes no slot";
        for (const Workstation& w : Presence::Read(d))
            EXPECT_FALSE(w.own) << "the slot is left at the end";
    }
    presenceWatch = nullptr;
}

TEST_F(ToolStorage, VerifyReportsAJournalSetAsideBesideAReplacedArchive) {
    generate(QStringLiteral("--clients 3 --calls 0 --agents 0"));
    const QByteArray archive = bytes(kClientiFile);
    // A save abandoned with its journal written, then the archive copied back from an older copy.
    {
        FaultScope scope;
        // The journal (header, identity, old and new card) is written, then every write fails: the
        // archive's and the rollback's, as when the process is killed there.
        scope.faults.writeBudget = 32 + 3 * (8 + 3372 + 8);
        scope.faults.writesStayFailed = true;
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(path(kClientiFile), 3372));
        ASSERT_TRUE(f.Seek(1));
        std::vector<char> card(3372, 'X');
        f.WriteRecord(static_cast<const void*>(card.data()));
        f.Close();
    }
    ASSERT_TRUE(QFileInfo::exists(TRecordFile::JournalPath(path(kClientiFile))));
    QByteArray older = archive;
    older.replace(3372, 20, QByteArray(20, 'O')); // card 2 as it was in the copy
    write(kClientiFile, older);
    int code = -1;
    const QByteArray report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
    EXPECT_EQ(code, 1) << report.toStdString();
    EXPECT_TRUE(report.contains("giornale di ripristino messo da parte, mai applicato")) << report.toStdString();
    EXPECT_EQ(bytes(kClientiFile), older) << "never applied to the copy";
}

// Every command that reads archives refuses, with exit 2 and one Italian line, a folder it cannot read as
// the program's data, instead of printing an empty result.
struct RefusalCase {
    const char* name;
    void (*prepare)(const QString& folder);
    const char* said; // in the one line on stderr
    bool needsNonRoot = false;
};

TEST_F(ToolStorage, ReadingCommandsRefuseAFolderTheyCannotReadAsData) {
    const RefusalCase cases[] = {
        {"empty folder (a share not mounted)",
         [](const QString& d) {
             QDir(d).removeRecursively();
             QDir().mkpath(d);
         },
         "non contiene i dati del programma"},
        {"a file in place of the registers' folder",
         [](const QString& d) {
             QDir(d + QStringLiteral("/Archivio_Lavori")).removeRecursively();
             QFile f(d + QStringLiteral("/Archivio_Lavori"));
             f.open(QIODevice::WriteOnly);
         },
         "impossibile leggere la cartella"},
        {"registers' folder that cannot be listed",
         [](const QString& d) { ::chmod(QFile::encodeName(d + QStringLiteral("/Archivio_Lavori")).constData(), 0); },
         "impossibile leggere la cartella", true},
        {"a journal waiting in a read-only folder",
         [](const QString& d) {
             QFile f(d + QStringLiteral("/Contatti.pro.journal"));
             f.open(QIODevice::WriteOnly);
             f.write("x");
             f.close();
             ::chmod(QFile::encodeName(d).constData(), 0555);
         },
         "un salvataggio non è stato concluso", true},
    };
    const QStringList commands[] = {
        {QStringLiteral("dump"), QStringLiteral("clienti")},
        {QStringLiteral("dump"), QStringLiteral("lavori"), QStringLiteral("RSSMRA80A01H501U")},
        {QStringLiteral("search"), QStringLiteral("chiamate")},
        {QStringLiteral("export"), QStringLiteral("clienti"), QStringLiteral("--out"), QStringLiteral("/dev/null")},
        {QStringLiteral("hours"), QStringLiteral("--cf"), QStringLiteral("RSSMRA80A01H501U"), QStringLiteral("--from"),
         QStringLiteral("01/01/2020"), QStringLiteral("--to"), QStringLiteral("31/12/2020")},
    };
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("dati"));
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsNonRoot && ::geteuid() == 0)
            continue; // permissions do not stop the super-user
        ASSERT_EQ(runShell(shellQuote(kTool) +
                           QStringLiteral(" generate --dir %1 --clients 2 --calls 2 --agents 1 --works 1 --force "
                                          ">/dev/null")
                               .arg(shellQuote(folder))),
                  0);
        c.prepare(folder);
        for (const QStringList& command : commands) {
            QProcess p;
            p.start(kTool, command + QStringList{QStringLiteral("--dir"), folder});
            ASSERT_TRUE(p.waitForFinished(60000));
            const QByteArray err = p.readAllStandardError();
            EXPECT_EQ(p.exitCode(), 2) << command.join(u' ').toStdString();
            EXPECT_TRUE(p.readAllStandardOutput().isEmpty()) << command.join(u' ').toStdString();
            EXPECT_TRUE(err.startsWith("ombrisa-tool: ") && err.contains(c.said) && err.count('\n') == 1)
                << command.join(u' ').toStdString() << ": " << err.toStdString();
        }
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        ::chmod(QFile::encodeName(folder + QStringLiteral("/Archivio_Lavori")).constData(), 0755);
        QFile::remove(folder + QStringLiteral("/Contatti.pro.journal"));
    }
}

TEST_F(ToolStorage, CodesAreTakenInCapitalsAsTheScreensWriteThem) {
    generate(QStringLiteral("--clients 2 --calls 2 --agents 1 --works 6"));
    const QStringList registers = QDir(path(kLavoriFolder)).entryList({QStringLiteral("*.pro")}, QDir::Files);
    ASSERT_EQ(registers.size(), 1);
    const QString code = registers[0].section(QLatin1Char('_'), -1).section(QLatin1Char('.'), 0, 0);
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(kTool, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::make_pair(p.exitCode(), p.readAllStandardOutput());
    };
    const auto upper =
        run({QStringLiteral("dump"), QStringLiteral("lavori"), code, QStringLiteral("--dir"), dir.path()});
    const auto lower =
        run({QStringLiteral("dump"), QStringLiteral("lavori"), code.toLower(), QStringLiteral("--dir"), dir.path()});
    EXPECT_EQ(upper.first, 0);
    EXPECT_EQ(upper.second.count('\n'), 6);
    EXPECT_EQ(lower, upper);
    const QStringList hours{QStringLiteral("hours"),      QStringLiteral("--dir"),      dir.path(),
                            QStringLiteral("--from"),     QStringLiteral("01/01/1900"), QStringLiteral("--to"),
                            QStringLiteral("31/12/2100"), QStringLiteral("--cf")};
    EXPECT_EQ(run(hours + QStringList{code.toLower()}), run(hours + QStringList{code}));
    EXPECT_TRUE(run(hours + QStringList{code}).second.contains("TOTALE LAVORI SVOLTI:      6"));
    // A code unfit for a register's name is refused, not read as an empty register.
    EXPECT_EQ(run({QStringLiteral("dump"), QStringLiteral("lavori"), QStringLiteral("../x"), QStringLiteral("--dir"),
                   dir.path()})
                  .first,
              2);
}

struct DamageCase {
    const char* name;
    QString target; // relative to the folder
    void (*make)(const QByteArray& at);
    const char* reported;      // in verify's report
    bool needsNonRoot = false; // permissions do not stop the super-user
};

TEST_F(ToolStorage, VerifyReportsLinksFoldersAndUnreadableFoldersAsProblems) {
    const DamageCase cases[] = {
        {"broken link", kClientiFile,
         [](const QByteArray& at) { ::symlink("/mnt/absent/Contatti.pro", at.constData()); },
         "Contatti.pro: ERRORE collegamento simbolico interrotto"},
        {"link loop", kChiamateFile, [](const QByteArray& at) { ::symlink(at.constData(), at.constData()); },
         "Registro_Chiamate.pro: ERRORE ciclo di collegamenti simbolici"},
        {"folder", kDipendentiFile, [](const QByteArray& at) { ::mkdir(at.constData(), 0755); },
         "Archivio_Dipendenti.pro: ERRORE al posto dell'archivio c'è una cartella"},
        {"file in place of the registers' folder", kLavoriFolder,
         [](const QByteArray& at) {
             QFile f(QFile::decodeName(at));
             f.open(QIODevice::WriteOnly);
         },
         "Archivio_Lavori: ERRORE impossibile leggere la cartella"},
        {"broken link to the registers' folder", kLavoriFolder,
         [](const QByteArray& at) { ::symlink("/mnt/absent", at.constData()); },
         "Archivio_Lavori: ERRORE impossibile leggere la cartella"},
        {"registers' folder that cannot be listed", kLavoriFolder,
         [](const QByteArray& at) { ::mkdir(at.constData(), 0); },
         "Archivio_Lavori: ERRORE impossibile leggere la cartella", true},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsNonRoot && ::geteuid() == 0)
            continue;
        QDir(path(c.target)).removeRecursively();
        QFile::remove(path(c.target));
        c.make(QFile::encodeName(path(c.target)));
        int code = -1;
        const QByteArray report = captured([&] { return tool::verify({QStringLiteral("--dir"), dir.path()}); }, code);
        EXPECT_EQ(code, 1) << report.toStdString();
        EXPECT_TRUE(report.contains(c.reported)) << report.toStdString();
        ::chmod(QFile::encodeName(path(c.target)).constData(), 0755);
        QDir(path(c.target)).removeRecursively();
        QFile::remove(path(c.target));
    }
    // generate answers the same broken link in bounded time instead of spinning.
    ASSERT_EQ(::symlink("/mnt/absent/Contatti.pro", QFile::encodeName(path(kClientiFile)).constData()), 0);
    EXPECT_EQ(tool(QStringLiteral("generate --dir %1 > /dev/null 2>&1").arg(shellQuote(dir.path()))), 2);
    EXPECT_TRUE(QFileInfo(path(kClientiFile)).isSymLink());
}

} // namespace
