// A restore and a generate --force killed at every storage call in turn: the next verify (or the
// program's start) finds the folder holding the old set of files or the new one, never a mix.
#include "crashing.h"
#include "process.h"

#include "core/backup/backup.h"
#include "core/records/archivepaths.h"
#include "core/storage/datafolder.h"
#include "core/storage/folderswitch.h"
#include "core/storage/presence.h"
#include "ombrisa-tool/commands.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

using namespace ombrisa;

using SwitchFiles = QMap<QString, QByteArray>;

// The files of a data folder that make its set, by relative name: not the presence file, not what a
// replacement keeps beside them (the replaced files, an interrupted generation's or restore's leftovers,
// which verify names and the next run removes).
SwitchFiles switchSet(const QString& folder) {
    SwitchFiles all;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = QDir(folder).relativeFilePath(it.next());
        if (name == kPresenceFile || name.startsWith(QLatin1String("Sostituiti_")) ||
            name.startsWith(QLatin1String(".Ombrisa_ripristino_")) || name.endsWith(QLatin1String(".nuovo")) ||
            name.endsWith(QLatin1String(".nuovo.journal")) ||
            name == QLatin1String(".Sostituzione_in_preparazione.json"))
            continue;
        QFile f(it.filePath());
        all[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(illeggibile)");
    }
    return all;
}

void putSet(const QString& folder, const SwitchFiles& files) {
    QDir(folder).removeRecursively();
    for (auto f = files.cbegin(); f != files.cend(); ++f) {
        const QString path = QDir(folder).filePath(f.key());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(*f), f->size());
    }
}

int runTool(const QString& arguments) {
    return runShell(shellQuote(kTool) + QLatin1Char(' ') + arguments + QStringLiteral(" > /dev/null 2>&1"));
}

// Runs `work` in a child whose storage calls kill it at call `point`; true when it ended by itself.
bool killedAt(int point, const std::function<bool()>& work, bool* succeeded) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout); // the messages of a run that may be killed half way
        std::freopen("/dev/null", "w", stderr);
        CrashingCalls::crashAt = point;
        CrashingCalls::callsSoFar = 0;
        setStorageSyscalls(&CrashingCalls::kTable);
        ::_exit(work() ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    *succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    EXPECT_TRUE(WIFEXITED(status) || (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL));
    return WIFEXITED(status);
}

struct SweepCount {
    int old = 0, fresh = 0, finishedByTheNextOpen = 0;
    bool reachedTheEnd = false;
};

// Kills `work` at every storage call until it runs to its end; after each kill the folder is opened
// as the next program would (verify, or the program's start for every other point) and must hold
// `before` or `after`.
SweepCount sweep(const QString& folder, const SwitchFiles& before, const SwitchFiles& after,
                 const std::function<bool()>& work) {
    SweepCount count;
    for (int point = 1; point < 1000 && !count.reachedTheEnd; ++point) {
        SCOPED_TRACE(testing::Message() << "killed at storage call " << point);
        putSet(folder, before);
        bool succeeded = false;
        count.reachedTheEnd = killedAt(point, work, &succeeded);
        if (count.reachedTheEnd) {
            EXPECT_TRUE(succeeded) << "no call failed: the work went through";
        }
        const bool decided = QFileInfo::exists(QDir(folder).filePath(kSwitchJournal));
        if (point % 2 == 1) {
            EXPECT_LE(runTool(QStringLiteral("verify --dir %1").arg(shellQuote(folder))), 1);
        } else {
            QString message;
            const DataFolderStatus status = prepareDataFolder({folder, DataFolderSource::Option}, &message, false);
            EXPECT_TRUE(status == DataFolderStatus::Ready) << message.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath(kSwitchJournal))) << "the next open finished it";
        const SwitchFiles now = switchSet(folder);
        if (now == before) {
            ++count.old;
        } else if (now == after) {
            ++count.fresh;
            count.finishedByTheNextOpen += decided ? 1 : 0;
        } else {
            QStringList differ;
            for (const QString& name : before.keys() + after.keys() + now.keys())
                if (now.value(name) != after.value(name) && now.value(name) != before.value(name) &&
                    !differ.contains(name))
                    differ << name;
            ADD_FAILURE() << "a mix of the old and the new files: " << differ.join(u' ').toStdString()
                          << (now.size() != after.size() ? " (a file missing or in excess)" : "");
        }
    }
    ::testing::Test::RecordProperty("kills_old_set", count.old);
    ::testing::Test::RecordProperty("kills_new_set", count.fresh);
    ::testing::Test::RecordProperty("kills_finished_by_the_next_open", count.finishedByTheNextOpen);
    return count;
}

class SwitchSweep : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(work.isValid()); }
    QString at(const QString& name) const { return work.filePath(name); }
    static void generate(const QString& folder, const QString& counts) {
        ASSERT_EQ(runTool(QStringLiteral("generate --dir %1 %2").arg(shellQuote(folder), counts)), 0);
    }
    static void writePassword(const QString& folder, const QByteArray& bytes) {
        QFile f(QDir(folder).filePath(kPasswordFile));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QTemporaryDir work;
};

TEST_F(SwitchSweep, ARestoreKilledAtAnyStorageCallLeavesTheOldFilesOrTheBackups) {
    // The folder: three archives, two work registers, the password; the backup: other cards, another
    // agent's register, a photo.
    const QString data = at(QStringLiteral("dati"));
    generate(data, QStringLiteral("--clients 3 --calls 3 --agents 2 --works 2 --seed 1"));
    writePassword(data, "vecchia");
    const QString other = at(QStringLiteral("altra"));
    generate(other, QStringLiteral("--clients 4 --calls 2 --agents 1 --works 3 --seed 9"));
    writePassword(other, "nuova");
    ASSERT_TRUE(QDir(other).mkpath(kAnagraficaFolder));
    QFile photo(QDir(other).filePath(kAnagraficaFolder + QStringLiteral("/Scheda_Dipendente_1.jpg")));
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.write(QByteArray(3000, 'j'));
    photo.close();
    const QString backup = at(QStringLiteral("copia.tar.zst"));
    QString error;
    ASSERT_TRUE(writeBackup(other, backup, {}, &error)) << error.toStdString();
    const SwitchFiles before = switchSet(data);
    // The new set: what a restore that runs to its end leaves.
    ASSERT_TRUE(restoreBackup(backup, data, &error)) << error.toStdString();
    const SwitchFiles after = switchSet(data);
    ASSERT_NE(before, after);
    ASSERT_TRUE(after.contains(kAnagraficaFolder + QStringLiteral("/Scheda_Dipendente_1.jpg")));

    const SweepCount count = sweep(data, before, after, [&] {
        QString e;
        return restoreBackup(backup, data, &e);
    });
    EXPECT_TRUE(count.reachedTheEnd);
    EXPECT_GE(count.old, 10) << "killed before its switch, the restore leaves the old files";
    EXPECT_GE(count.finishedByTheNextOpen, 5) << "killed after its switch was decided, the next open finishes it";
}

TEST_F(SwitchSweep, AGenerateForceKilledAtAnyStorageCallLeavesTheOldArchivesOrTheNew) {
    const QString data = at(QStringLiteral("dati"));
    generate(data, QStringLiteral("--clients 3 --calls 3 --agents 2 --works 2 --seed 1"));
    writePassword(data, "vecchia");
    const SwitchFiles before = switchSet(data);
    const QStringList args{QStringLiteral("--dir"),     data,
                           QStringLiteral("--clients"), QStringLiteral("2"),
                           QStringLiteral("--calls"),   QStringLiteral("2"),
                           QStringLiteral("--agents"),  QStringLiteral("1"),
                           QStringLiteral("--works"),   QStringLiteral("1"),
                           QStringLiteral("--seed"),    QStringLiteral("5"),
                           QStringLiteral("--force")};
    generate(data, args.mid(2).join(u' '));
    const SwitchFiles after = switchSet(data);
    ASSERT_NE(before, after);
    ASSERT_LT(after.size(), before.size()) << "an agent's register less: an old file goes without a new one";

    const SweepCount count = sweep(data, before, after, [&] { return tool::generate(args) == 0; });
    EXPECT_TRUE(count.reachedTheEnd);
    EXPECT_GE(count.old, 10) << "killed before its switch, the generation leaves the old archives";
    EXPECT_GE(count.finishedByTheNextOpen, 3) << "killed after its switch was decided, the next open finishes it";
}

} // namespace
