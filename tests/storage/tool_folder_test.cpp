// ombrisa-tool on a folder that holds none of the program's data (empty, missing, unreadable, an empty
// mount point, somebody else's files): every command that reads or writes data refuses it and writes
// nothing; and the writing commands' look at the other workstations before and while they write.
#include "core/testfolder.h"
#include "faults.h"
#include "process.h"

#include "core/privacy/privacy.h"
#include "core/records/archivepaths.h"
#include "core/storage/presence.h"
#include "ombrisa-tool/commands.h"
#include "ombrisa-tool/options.h"
#include "testsupport/toolrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace ombrisa;
using ombrisa::test::runProgram;

// Every file and folder under `folder` with its bytes: what a command wrote shows as a difference.
QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> all;
    if (!QFileInfo::exists(folder))
        return {{QStringLiteral("(non esiste)"), {}}};
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile f(p);
        all[QDir(folder).relativeFilePath(p)] =
            it.fileInfo().isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : "/";
    }
    return all;
}

enum class NoDataKind { Empty, Missing, Unreadable, EmptyMountPoint, OtherFiles };

struct NoDataCase {
    const char* name;
    NoDataKind kind;
};

void PrintTo(const NoDataCase& c, std::ostream* os) {
    *os << c.name;
}

// Runs the tool on `folder` as it is, or, for an empty mount point, in a mount namespace of its own where
// an empty file system is mounted on the folder (what an unmounted share's mount point looks like is an
// empty folder; this is a real mount point with nothing in it). `listing` receives what the folder holds
// after the command, looked at while the mount is still there.
test::ToolRun runOn(NoDataKind kind, const QString& folder, const QStringList& args, QStringList* listing) {
    if (kind != NoDataKind::EmptyMountPoint) {
        test::ToolRun r = runProgram(kTool, args);
        *listing = folderContents(folder).keys();
        return r;
    }
    QTemporaryFile list;
    EXPECT_TRUE(list.open());
    const QString script = QStringLiteral(
        "mount -t tmpfs ombrisa-vuota \"$0\" || exit 99; \"$@\"; rc=$?; ls -A \"$0\" > \"$LISTA\"; exit $rc");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LISTA"), list.fileName());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("unshare"),
            QStringList{QStringLiteral("-rm"), QStringLiteral("/bin/sh"), QStringLiteral("-c"), script, folder, kTool} +
                args);
    test::ToolRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    *listing = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return r;
}

// Whether this system lets the test mount an empty file system in a namespace of its own.
bool canMountInNamespace() {
    QTemporaryDir d;
    QProcess p;
    p.start(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                        QStringLiteral("mount -t tmpfs ombrisa-vuota \"$0\""), d.path()});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class ToolOnNoData : public ::testing::TestWithParam<NoDataCase> {
protected:
    // A data folder, its backup, a sheet of one client: what the commands are given.
    static void SetUpTestSuite() {
        source_ = new QTemporaryDir;
        const QString data = source_->filePath(QStringLiteral("dati"));
        ASSERT_EQ(runProgram(kTool, {QStringLiteral("generate"), QStringLiteral("--dir"), data,
                                     QStringLiteral("--clients"), QStringLiteral("3"), QStringLiteral("--calls"),
                                     QStringLiteral("3"), QStringLiteral("--agents"), QStringLiteral("1"),
                                     QStringLiteral("--works"), QStringLiteral("1")})
                      .code,
                  0);
        ASSERT_EQ(runProgram(kTool, {QStringLiteral("backup"), QStringLiteral("--dir"), data, QStringLiteral("--out"),
                                     backupFile()})
                      .code,
                  0);
        QFile csv(sheetFile());
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("Nominativo;Tel;Codice\r\nBianchi Anna;06 1234567;FBBCHR44L44A952H\r\n");
    }
    static void TearDownTestSuite() {
        delete source_;
        source_ = nullptr;
    }
    static QString backupFile() { return source_->filePath(QStringLiteral("copia.tar.zst")); }
    static QString sheetFile() { return source_->filePath(QStringLiteral("clienti.csv")); }

    static QTemporaryDir* source_;
};
QTemporaryDir* ToolOnNoData::source_ = nullptr;

TEST_P(ToolOnNoData, EveryCommandThatNeedsTheDataRefusesTheFolderAndWritesNothing) {
    const NoDataCase c = GetParam();
    if (c.kind == NoDataKind::Unreadable && ::geteuid() == 0)
        GTEST_SKIP() << "run as the super-user: permissions do not stop reading a folder";
    if (c.kind == NoDataKind::EmptyMountPoint && !canMountInNamespace())
        GTEST_SKIP() << "no mount namespace here (unshare -rm refused): the empty folder case stands for it";
    QTemporaryDir parent;
    ASSERT_TRUE(parent.isValid());
    const QString folder = parent.filePath(QStringLiteral("dati"));
    const QString out = parent.filePath(QStringLiteral("uscite"));
    ASSERT_TRUE(QDir().mkpath(out));
    switch (c.kind) {
    case NoDataKind::Missing:
        break;
    case NoDataKind::Unreadable: // the program's data, in a folder this user may not open
        ASSERT_EQ(runProgram(kTool, {QStringLiteral("generate"), QStringLiteral("--dir"), folder,
                                     QStringLiteral("--clients"), QStringLiteral("2")})
                      .code,
                  0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0), 0);
        break;
    case NoDataKind::OtherFiles: {
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/lettere")));
        QFile letter(folder + QStringLiteral("/lettera.txt"));
        ASSERT_TRUE(letter.open(QIODevice::WriteOnly));
        letter.write("Gentile cliente,\n");
        break;
    }
    default:
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    const QString cf = QStringLiteral("FBBCHR44L44A952H");
    const QStringList commands[] = {
        {"backup", "--out", out + "/copia.tar.zst"},
        {"restore", backupFile()},
        {"import", "clienti", sheetFile(), "--map", "Codice=txtCodFisc"},
        {"import", "clienti", sheetFile(), "--map", "Codice=txtCodFisc", "--dry-run"},
        {"stats"},
        {"search", "clienti"},
        {"search", "chiamate"},
        {"hours", "--cf", cf, "--from", "01/01/2020", "--to", "31/12/2020"},
        {"export", "clienti", "--out", out + "/clienti.xls"},
        {"export", "storico", cf, "--out", out + "/storico.xls"},
        {"duplicates", "clienti"},
        {"chi", "06 1234567"},
        {"access", "--cf", cf, "--out", out + "/accesso"},
        {"forget", "--cf", cf},
        {"forget", "--cf", cf, "--dry-run"},
        {"retention", "--years", "1"},
        {"dump", "clienti"},
        {"dump", "chiamate"},
        {"dump", "dipendenti"},
        {"dump", "lavori", cf},
        {"verify"},
    };
    // The message is the one dump gives for the folder.
    QStringList listing;
    const test::ToolRun reference = runOn(
        c.kind, folder, {QStringLiteral("dump"), QStringLiteral("clienti"), QStringLiteral("--dir"), folder}, &listing);
    ASSERT_EQ(reference.code, 2) << reference.err.toStdString();
    ASSERT_TRUE(reference.err.startsWith("ombrisa-tool: la cartella ")) << reference.err.toStdString();
    const QStringList before = listing;
    const QMap<QString, QByteArray> contents = folderContents(folder);
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        const test::ToolRun r = runOn(c.kind, folder, command + QStringList{QStringLiteral("--dir"), folder}, &listing);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, reference.err) << "the same one line as dump";
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(listing, before) << "nothing written in the folder";
        EXPECT_EQ(folderContents(folder), contents);
        EXPECT_TRUE(QDir(out).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) << "nor elsewhere";
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

INSTANTIATE_TEST_SUITE_P(Folders, ToolOnNoData,
                         ::testing::Values(NoDataCase{"empty", NoDataKind::Empty},
                                           NoDataCase{"missing", NoDataKind::Missing},
                                           NoDataCase{"unreadable", NoDataKind::Unreadable},
                                           NoDataCase{"empty_mount_point", NoDataKind::EmptyMountPoint},
                                           NoDataCase{"other_files", NoDataKind::OtherFiles}),
                         [](const ::testing::TestParamInfo<NoDataCase>& p) { return std::string(p.param.name); });

// A new data folder is an explicit choice: --nuova-cartella starts one in a folder that is missing or
// empty, never in one that holds somebody else's files.
TEST_F(ToolOnNoData, ANewFolderIsStartedOnlyWhenAskedAndOnlyWhereNothingElseLies) {
    QTemporaryDir parent;
    ASSERT_TRUE(parent.isValid());
    const QString fresh = parent.filePath(QStringLiteral("nuova/dati"));
    test::ToolRun r =
        runProgram(kTool, {QStringLiteral("import"), QStringLiteral("clienti"), sheetFile(), QStringLiteral("--map"),
                           QStringLiteral("Codice=txtCodFisc"), QStringLiteral("--dry-run"),
                           QStringLiteral("--nuova-cartella"), QStringLiteral("--dir"), fresh});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(fresh)) << "a dry run writes nothing, not even the folder";
    r = runProgram(kTool, {QStringLiteral("import"), QStringLiteral("clienti"), sheetFile(), QStringLiteral("--map"),
                           QStringLiteral("Codice=txtCodFisc"), QStringLiteral("--nuova-cartella"),
                           QStringLiteral("--dir"), fresh});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(QDir(fresh).filePath(kClientiFile)).size(), static_cast<qint64>(sizeof(TRecCliente)));

    const QString empty = parent.filePath(QStringLiteral("vuota"));
    ASSERT_TRUE(QDir().mkpath(empty));
    r = runProgram(kTool, {QStringLiteral("restore"), backupFile(), QStringLiteral("--nuova-cartella"),
                           QStringLiteral("--dir"), empty});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(QDir(empty).filePath(kClientiFile)));

    const QString others = parent.filePath(QStringLiteral("altri"));
    ASSERT_TRUE(QDir().mkpath(others));
    QFile letter(others + QStringLiteral("/lettera.txt"));
    ASSERT_TRUE(letter.open(QIODevice::WriteOnly));
    letter.close();
    for (const QStringList& command : {QStringList{QStringLiteral("restore"), backupFile()},
                                       QStringList{QStringLiteral("import"), QStringLiteral("clienti"), sheetFile(),
                                                   QStringLiteral("--map"), QStringLiteral("Codice=txtCodFisc")}}) {
        SCOPED_TRACE(command.first().toStdString());
        r = runProgram(kTool,
                       command + QStringList{QStringLiteral("--nuova-cartella"), QStringLiteral("--dir"), others});
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains("contiene altri file ma non i dati del programma")) << r.err.toStdString();
        EXPECT_EQ(QDir(others).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("lettera.txt")});
    }
}

// What a command run in this process wrote on standard error.
struct CapturedRun {
    int code = -1;
    QByteArray err;
};
CapturedRun runCapturingErrors(const std::function<int()>& command) {
    std::fflush(stdout);
    std::fflush(stderr);
    QTemporaryFile err;
    EXPECT_TRUE(err.open());
    const int savedOut = ::dup(1);
    const int savedErr = ::dup(2);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(null, 1);
    ::dup2(err.handle(), 2);
    CapturedRun r;
    r.code = command();
    std::fflush(stdout);
    std::fflush(stderr);
    ::dup2(savedOut, 1);
    ::dup2(savedErr, 2);
    ::close(savedOut);
    ::close(savedErr);
    ::close(null);
    err.seek(0);
    r.err = err.readAll();
    return r;
}

class ToolAndOtherWorkstations : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        ASSERT_EQ(runProgram(kTool, {QStringLiteral("generate"), QStringLiteral("--dir"), dir.path(),
                                     QStringLiteral("--clients"), QStringLiteral("3"), QStringLiteral("--calls"),
                                     QStringLiteral("3"), QStringLiteral("--agents"), QStringLiteral("0")})
                      .code,
                  0);
    }
    void TearDown() override {
        stopOther();
        TestFolder::TearDown();
    }
    // Another program in the folder, beating every second for `seconds`; waits until its slot is written
    // (looking at the file's bytes: the presence of this process may be beating meanwhile).
    void startOther(int seconds) {
        other_ = startProgram(kHelper, {QStringLiteral("present"), dir.path(), QString::number(seconds)});
        ASSERT_GT(other_, 0);
        const auto taken = [&] { return bytes(kPresenceFile).count("OMBPOST1"); };
        const qsizetype before = taken();
        for (int i = 0; i < 250 && taken() == before; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(taken(), before + 1);
    }
    void stopOther() {
        if (other_ <= 0)
            return;
        ::kill(other_, SIGTERM);
        waitProgram(other_);
        other_ = -1;
    }
    QMap<QString, QByteArray> archives() const {
        QMap<QString, QByteArray> all;
        for (const QString& name : {kClientiFile, kChiamateFile, kPrivacyRegisterFile})
            all[name] = bytes(name);
        return all;
    }
    QString sheet() const {
        const QString file = path(QStringLiteral("../clienti-%1.csv").arg(QFileInfo(dir.path()).fileName()));
        QFile csv(file);
        EXPECT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("Nominativo;Tel;Codice\r\nRossi Mario;0612 998877;RSSMRA80A01H501U\r\n");
        return file;
    }
    pid_t other_ = -1;
};

// A program whose locks do not reach this workstation: an import, a restore or a forget does not start
// unless told to (--forza), and says why.
TEST_F(ToolAndOtherWorkstations, WritingCommandsRefuseToStartBesideALockThatCannotBeSeen) {
    const QString d = dir.path();
    const QString csv = sheet();
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.filePath(QStringLiteral("copia.tar.zst"));
    ASSERT_EQ(
        runProgram(kTool, {QStringLiteral("backup"), QStringLiteral("--dir"), d, QStringLiteral("--out"), copy}).code,
        0);
    const QString cf =
        QString::fromUtf8(
            runProgram(kTool, {QStringLiteral("dump"), QStringLiteral("clienti"), QStringLiteral("--dir"), d}).out)
            .section(QStringLiteral("\"CodFisc\":\""), 1, 1)
            .section(u'"', 0, 0);
    ASSERT_EQ(cf.size(), 16) << "a client's code to forget";
    startOther(60);
    const QMap<QString, QByteArray> before = archives();
    FaultScope scope;
    scope.faults.locksInvisible = true; // the other program's locks do not reach this one
    const struct {
        const char* what;
        int (*command)(const QStringList&);
        QStringList args;
        const char* refusal;
    } cases[] = {
        {"import", tool::importFile, {"clienti", csv, "--dir", d}, "Impossibile importare: la postazione «"},
        {"forget", tool::forget, {"--dir", d, "--cf", cf}, "Impossibile anonimizzare: la postazione «"},
        {"restore", tool::restore, {copy, "--dir", d}, "Impossibile ripristinare: la cartella dei dati è in uso"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CapturedRun r = runCapturingErrors([&] { return c.command(c.args); });
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(c.refusal)) << r.err.toStdString();
        if (qstrcmp(c.what, "restore") != 0) {
            EXPECT_TRUE(r.err.contains("il suo blocco non si vede da qui") && r.err.contains("--forza") &&
                        r.err.count('\n') == 1)
                << r.err.toStdString();
        }
        EXPECT_EQ(archives(), before) << "nothing written";
    }
    // Told to, it goes on, with the warning.
    const CapturedRun forced = runCapturingErrors([&] {
        return tool::importFile({QStringLiteral("clienti"), csv, QStringLiteral("--dir"), d, QStringLiteral("--map"),
                                 QStringLiteral("Codice=txtCodFisc"), QStringLiteral("--forza")});
    });
    EXPECT_EQ(forced.code, 0) << forced.err.toStdString();
    EXPECT_TRUE(forced.err.contains("ombrisa-tool: avviso: la postazione «") &&
                forced.err.contains("si procede perché è stato indicato --forza"))
        << forced.err.toStdString();
    EXPECT_EQ(QFileInfo(path(kClientiFile)).size(), 4 * static_cast<qint64>(sizeof(TRecCliente)));
}

// While a command runs, its heartbeat looks at the others as the program's does: a workstation whose
// locks do not reach this one and that keeps beating is said once in the run, not at every heartbeat.
TEST_F(ToolAndOtherWorkstations, ALongRunSaysOnceAWorkstationWhoseLocksDoNotReachIt) {
    std::mutex said;
    QStringList warnings;
    FaultScope scope;
    scope.faults.locksInvisible = true;
    {
        tool::ToolPresence present(dir.path(), std::chrono::milliseconds(100), [&](const QString& w) {
            const std::lock_guard lock(said);
            warnings << w;
        });
        EXPECT_TRUE(present.unseen().empty()) << "alone when it started";
        startOther(5);
        // The other program beats every second: three of its heartbeats, thirty of this run's.
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    }
    ASSERT_EQ(warnings.size(), 1) << warnings.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(warnings.first().contains(QStringLiteral("«%1»").arg(QSysInfo::machineHostName())))
        << warnings.first().toStdString();
}

} // namespace
