// The storage layer where things go wrong: links and folders in place of archives, read-only shares,
// refused and busy locks, writes and flushes that fail half way, journals left by dead processes.
#include "core/testfolder.h"
#include "faults.h"
#include "process.h"

#include "core/storage/filelock.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ombrisa::TRecordFile;
constexpr std::size_t kSmallRecord = 8;
constexpr auto Read = TRecordFile::Access::Read;
constexpr auto Write = TRecordFile::Access::Write;

class StorageFaults : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        ombrisa::resetLocksRefusedWarning();
    }
    void TearDown() override {
        ombrisa::setLocksRefusedHandler({});
        ombrisa::resetLocksRefusedWarning();
        TestFolder::TearDown();
    }
    QByteArray local(const char* name) const { return QFile::encodeName(path(QString::fromLatin1(name))); }
};

// ---- Opening ---------------------------------------------------------------------------------------

struct OpenCase {
    const char* name;
    void (*make)(const QByteArray& archive, const QByteArray& folder);
    const char* hint; // expected in ErrorHint()
};

const OpenCase kOpenCases[] = {
    {"broken link",
     [](const QByteArray& a, const QByteArray&) { ASSERT_EQ(::symlink("/mnt/absent/Contatti.pro", a.constData()), 0); },
     "collegamento interrotto"},
    {"link to itself",
     [](const QByteArray& a, const QByteArray&) { ASSERT_EQ(::symlink(a.constData(), a.constData()), 0); },
     "ciclo di collegamenti"},
    {"two links round",
     [](const QByteArray& a, const QByteArray& folder) {
         const QByteArray other = folder + "/other.pro";
         ASSERT_EQ(::symlink(other.constData(), a.constData()), 0);
         ASSERT_EQ(::symlink(a.constData(), other.constData()), 0);
     },
     "ciclo di collegamenti"},
    {"folder", [](const QByteArray& a, const QByteArray&) { ASSERT_EQ(::mkdir(a.constData(), 0755), 0); },
     "c'è una cartella"},
    {"named pipe", [](const QByteArray& a, const QByteArray&) { ASSERT_EQ(::mkfifo(a.constData(), 0644), 0); },
     "non è un file"},
};

TEST_F(StorageFaults, LinksFoldersAndPipesInPlaceOfAnArchiveAreAnsweredWithAMessage) {
    for (const OpenCase& c : kOpenCases) {
        SCOPED_TRACE(c.name);
        const QByteArray archive = local(c.name) + ".pro";
        c.make(archive, QFile::encodeName(dir.path()));
        for (const auto access : {Read, Write}) {
            TRecordFile f; // returns at all: no endless retry (the test's time limit would catch one)
            EXPECT_FALSE(f.OpenOrCreate(QFile::decodeName(archive), kSmallRecord, access));
            EXPECT_TRUE(f.ErrorHint().contains(QString::fromUtf8(c.hint))) << f.ErrorHint().toStdString();
            EXPECT_FALSE(f.IsOpen());
        }
        struct stat st {};
        ASSERT_EQ(::lstat(archive.constData(), &st), 0) << "what was there stays there";
        EXPECT_FALSE(S_ISREG(st.st_mode));
    }
}

TEST_F(StorageFaults, ReadingNeedsNoWritePermission) {
    write("a.pro", QByteArray("aaaaaaaabbbbbbbb"));
    FaultScope scope; // a read-only share: every open for writing or creating is refused
    scope.faults.openWriteErrno = EROFS;
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Read)) << f.ErrorString().toStdString();
    EXPECT_EQ(f.Count(), 2);
    char record[kSmallRecord];
    ASSERT_TRUE(f.Seek(1) && f.ReadRecord(record));
    EXPECT_EQ(QByteArray(record, kSmallRecord), QByteArray("bbbbbbbb"));
    EXPECT_TRUE(f.Close());
    EXPECT_FALSE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Write));
    // A missing archive on a share where it cannot be created reads as an empty one.
    ASSERT_TRUE(f.OpenOrCreate(path("missing.pro"), kSmallRecord, Read));
    EXPECT_EQ(f.Count(), 0);
    EXPECT_FALSE(f.ReadRecord(record));
    EXPECT_TRUE(f.Close());
    EXPECT_FALSE(QFileInfo::exists(path("missing.pro")));
}

// ---- Locks -----------------------------------------------------------------------------------------

struct LockCase {
    const char* name;
    int ofdErrno;
    int classicErrno;
    bool refused;
    bool classicTried;
};

const LockCase kLockCases[] = {
    {"no open-file-description locks: classic locks", EINVAL, 0, false, true},
    {"no locks at all (ENOLCK)", ENOLCK, 0, true, false},
    {"no locks at all (EOPNOTSUPP)", EOPNOTSUPP, 0, true, false},
    {"classic locks refused as well (EINVAL)", EINVAL, EINVAL, true, true},
    {"classic locks refused as well (ENOLCK)", EINVAL, ENOLCK, true, true},
};

TEST_F(StorageFaults, RefusedLocksAreWarnedAboutOnceAndOldKernelsGetClassicLocks) {
#ifndef F_OFD_SETLK
    GTEST_SKIP() << "this system has classic record locks only";
#endif
    for (const LockCase& c : kLockCases) {
        SCOPED_TRACE(c.name);
        ombrisa::resetLocksRefusedWarning();
        QStringList warned;
        ombrisa::setLocksRefusedHandler([&](const QString& p) { warned << p; });
        FaultScope scope;
        scope.faults.ofdLockErrno = c.ofdErrno;
        scope.faults.classicLockErrno = c.classicErrno;
        for (int i = 0; i < 2; ++i) {
            TRecordFile f;
            ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Write)) << f.ErrorString().toStdString();
            EXPECT_EQ(f.LocksRefused(), c.refused);
            char record[kSmallRecord] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
            ASSERT_TRUE(f.Seek(f.Count()) && f.WriteRecord(record) && f.Close());
        }
        EXPECT_EQ(warned.size(), c.refused ? 1 : 0) << "warned once per run, not at every open";
        const bool classic = std::find(scope.faults.lockCommands.begin(), scope.faults.lockCommands.end(), F_SETLK) !=
                             scope.faults.lockCommands.end();
        EXPECT_EQ(classic, c.classicTried);
        if (!c.refused) { // the classic lock really excludes another open file description
            TRecordFile holder;
            ASSERT_TRUE(holder.OpenOrCreate(path("a.pro"), kSmallRecord, Write));
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) { // classic locks exclude other processes only
                TRecordFile::SetLockTimeoutMs(100);
                TRecordFile other;
                ::_exit(other.OpenOrCreate(path("a.pro"), kSmallRecord, Write) ? 1 : 0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process got the lock";
        }
    }
}

class CountingWait : public ombrisa::LockWaitHook {
public:
    void waitStarted() override { ++started; }
    void stillWaiting() override { ++polls; }
    void waitEnded() override { ++ended; }
    int started = 0, polls = 0, ended = 0;
};

TEST_F(StorageFaults, WaitingForABusyArchiveTellsTheHookAndBacksOff) {
    TRecordFile holder;
    ASSERT_TRUE(holder.OpenOrCreate(path("a.pro"), kSmallRecord, Write));
    CountingWait hook;
    ombrisa::setLockWaitHook(&hook);
    TRecordFile::SetLockTimeoutMs(400);
    TRecordFile waiter;
    EXPECT_FALSE(waiter.OpenOrCreate(path("a.pro"), kSmallRecord, Read));
    EXPECT_TRUE(waiter.ErrorHint().contains(QStringLiteral("occupato da un'altra postazione")));
    ombrisa::setLockWaitHook(nullptr);
    TRecordFile::SetLockTimeoutMs(15000);
    EXPECT_EQ(hook.started, 1);
    EXPECT_EQ(hook.ended, 1);
    EXPECT_GE(hook.polls, 3);
    EXPECT_LE(hook.polls, 12) << "attempts every 5 ms would make some 80 in 400 ms";
    // No wait, no hook.
    holder.Close();
    CountingWait quiet;
    ombrisa::setLockWaitHook(&quiet);
    EXPECT_TRUE(waiter.OpenOrCreate(path("a.pro"), kSmallRecord, Read));
    ombrisa::setLockWaitHook(nullptr);
    EXPECT_EQ(quiet.started + quiet.ended, 0);
}

// ---- Writes that fail half way -------------------------------------------------------------------

enum class Op { Append, Update, UpdateThenAppend };
constexpr long kEntryBytes = 8 + static_cast<long>(kSmallRecord) + 8;
// A journal's first write: header, the archive's identity (24 bytes: three 8-byte pieces), the old and
// the new record.
constexpr long kJournalBytes = 32 + 5 * kEntryBytes;

struct FaultCase {
    const char* name;
    Op op;
    long writeBudget;
    int failSync;
    bool rollbackFails = false; // the journal stays and the next open restores the archive
};

const FaultCase kFaultCases[] = {
    {"append cut after 3 bytes", Op::Append, 3, 0},
    {"append, flush fails", Op::Append, -1, 1},
    {"update, journal cut", Op::Update, 20, 0},
    {"update, journal flush fails", Op::Update, -1, 1},
    {"update cut half way", Op::Update, kJournalBytes + 4, 0},
    {"update, archive flush fails", Op::Update, -1, 2},
    {"update then append, append cut", Op::UpdateThenAppend,
     kJournalBytes + static_cast<long>(kSmallRecord) + kEntryBytes + 5, 0},
    {"update then append, flush fails", Op::UpdateThenAppend, -1, 3},
    {"update cut half way, rollback fails too", Op::Update, kJournalBytes + 4, 0, true},
    {"update then append cut, rollback fails too", Op::UpdateThenAppend,
     kJournalBytes + static_cast<long>(kSmallRecord) + kEntryBytes + 5, 0, true},
};

// Runs one operation; true when every step and Close() succeeded.
bool runOp(const QString& file, Op op) {
    TRecordFile f;
    if (!f.OpenOrCreate(file, kSmallRecord, Write))
        return false;
    bool ok = true;
    if (op != Op::Append)
        ok = f.Seek(1) && f.WriteRecord(static_cast<const void*>("NNNNNNNN"));
    if (ok && op != Op::Update)
        ok = f.Seek(f.Count()) && f.WriteRecord(static_cast<const void*>("ZZZZZZZZ"));
    return f.Close() && ok;
}

TEST_F(StorageFaults, AFailedWriteOrFlushLeavesTheArchiveAsItWasAndARetryWritesOnce) {
    for (const FaultCase& c : kFaultCases) {
        SCOPED_TRACE(c.name);
        const QByteArray before("aaaaaaaabbbbbbbbcccccccc");
        write("a.pro", before);
        {
            FaultScope scope;
            scope.faults.writeBudget = c.writeBudget;
            scope.faults.failSyncNumber = c.failSync;
            scope.faults.writesStayFailed = c.rollbackFails;
            EXPECT_FALSE(runOp(path("a.pro"), c.op));
        }
        if (c.rollbackFails) {
            EXPECT_TRUE(QFileInfo::exists(TRecordFile::JournalPath(path("a.pro"))));
            TRecordFile next;
            ASSERT_TRUE(next.OpenOrCreate(path("a.pro"), kSmallRecord, Read));
            EXPECT_EQ(next.Count(), 3);
        }
        EXPECT_EQ(bytes("a.pro"), before);
        EXPECT_FALSE(QFileInfo::exists(TRecordFile::JournalPath(path("a.pro"))));
        ASSERT_TRUE(runOp(path("a.pro"), c.op)) << "the retry";
        QByteArray expected = before;
        if (c.op != Op::Append)
            expected.replace(8, 8, "NNNNNNNN");
        if (c.op != Op::Update)
            expected += "ZZZZZZZZ";
        EXPECT_EQ(bytes("a.pro"), expected) << "one record added, not two";
    }
}

TEST_F(StorageFaults, AnAppendWhoseFlushAndCutBothFailIsStoredOnceByTheRetry) {
    const QByteArray before("aaaaaaaabbbbbbbbcccccccc");
    const struct {
        const char* name;
        Op op;
        int archiveFlush; // which flush is the archive's
    } cases[] = {
        {"append", Op::Append, 1},
        {"update then append", Op::UpdateThenAppend, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("a.pro", before);
        {
            FaultScope scope;
            scope.faults.failSyncNumber = c.archiveFlush;
            scope.faults.truncateErrno = EIO;
            EXPECT_FALSE(runOp(path("a.pro"), c.op));
        }
        ASSERT_TRUE(runOp(path("a.pro"), c.op)) << "the retry";
        QByteArray expected = before;
        if (c.op != Op::Append)
            expected.replace(8, 8, "NNNNNNNN");
        expected += "ZZZZZZZZ";
        EXPECT_EQ(bytes("a.pro"), expected) << "one record added, not two";
        EXPECT_FALSE(QFileInfo::exists(path("a.pro.journal")));
        EXPECT_TRUE(TRecordFile::SetAsideJournals(path("a.pro")).isEmpty());
    }
}

// ---- Journals left behind -------------------------------------------------------------------------

std::uint64_t fnv(const QByteArray& data) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : data)
        h = (h ^ static_cast<std::uint8_t>(c)) * 0x100000001b3ull;
    return h;
}
QByteArray le64(std::uint64_t v) {
    QByteArray b(8, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray journalHeader(std::uint64_t recordSize, std::uint64_t originalSize) {
    QByteArray h = QByteArray("OMBJRNL1") + le64(recordSize) + le64(originalSize);
    return h + le64(fnv(h));
}
QByteArray journalEntry(std::uint64_t offset, const QByteArray& old) {
    const QByteArray e = le64(offset) + old;
    return e + le64(fnv(e));
}

struct JournalCase {
    const char* name;
    QByteArray archive;  // as the dead process left it
    QByteArray journal;  // written byte by byte here, not by the code under test
    QByteArray expected; // after the next open
};

TEST_F(StorageFaults, AJournalLeftByADeadProcessIsRolledBackByTheNextOpen) {
    const QByteArray header = journalHeader(kSmallRecord, 24);
    const JournalCase cases[] = {
        {"half-written record", "aaaaaaaaNNNNbbbbcccccccc", header + journalEntry(8, "bbbbbbbb"),
         "aaaaaaaabbbbbbbbcccccccc"},
        {"two records and an append", "NNNNNNNNbbbbbbbbNNNNNNNNZZZZ",
         header + journalEntry(0, "aaaaaaaa") + journalEntry(16, "cccccccc"), "aaaaaaaabbbbbbbbcccccccc"},
        {"entry cut off while written", "aaaaaaaabbbbbbbbcccccccc", header + journalEntry(8, "XXXXXXXX").chopped(3),
         "aaaaaaaabbbbbbbbcccccccc"},
        {"header cut off", "aaaaaaaabbbbbbbbcccccccc", header.left(20), "aaaaaaaabbbbbbbbcccccccc"},
        {"journal of no state of this archive", "aaaaaaaabbbbbbbbcccccccc",
         journalHeader(kSmallRecord, std::uint64_t{1} << 40) + journalEntry(std::uint64_t{1} << 39, "XXXXXXXX"),
         "aaaaaaaabbbbbbbbcccccccc"},
        {"entry past the recorded length", "aaaaaaaabbbbbbbbcccccccc", header + journalEntry(20, "XXXXXXXX"),
         "aaaaaaaabbbbbbbbcccccccc"},
        {"emptied journal of a finished save", "aaaaaaaaNNNNNNNNcccccccc", QByteArray(), "aaaaaaaaNNNNNNNNcccccccc"},
        {"record appended then rewritten, entries after it", "NNNNNNNNbbbbbbbbccccccccYYYYYYYY",
         header + journalEntry(24, "XXXXXXXX") + journalEntry(0, "aaaaaaaa"), "aaaaaaaabbbbbbbbcccccccc"},
    };
    for (const JournalCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto access : {Read, Write}) {
            write("a.pro", c.archive);
            write("a.pro.journal", c.journal);
            TRecordFile f;
            ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, access)) << f.ErrorString().toStdString();
            EXPECT_EQ(f.Count(), c.expected.size() / static_cast<qsizetype>(kSmallRecord));
            EXPECT_FALSE(f.JournalPending());
            EXPECT_TRUE(f.Close());
            EXPECT_EQ(bytes("a.pro"), c.expected);
            EXPECT_FALSE(QFileInfo::exists(path("a.pro.journal")));
        }
    }
    // Without write permission the journal stays, and the reader says so.
    write("a.pro", "aaaaaaaaNNNNbbbbcccccccc");
    write("a.pro.journal", header + journalEntry(8, "bbbbbbbb"));
    FaultScope scope;
    scope.faults.openWriteErrno = EROFS;
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Read));
    EXPECT_TRUE(f.JournalPending());
    f.Close();
    EXPECT_TRUE(QFileInfo::exists(path("a.pro.journal")));
}

TEST_F(StorageFaults, WithLocksRefusedALiveJournalIsNeverRolledBack) {
    const QByteArray archive("aaaaaaaaNNNNNNNNccccccccZZZZZZZZ"); // another workstation's save under way
    const QByteArray journal = journalHeader(kSmallRecord, 24) + journalEntry(8, "bbbbbbbb");
    for (const auto access : {Read, Write}) {
        SCOPED_TRACE(access == Read ? "read" : "write");
        write("a.pro", archive);
        write("a.pro.journal", journal);
        FaultScope scope;
        scope.faults.ofdLockErrno = ENOLCK;
        TRecordFile f;
        const bool opened = f.OpenOrCreate(path("a.pro"), kSmallRecord, access);
        if (access == Read) {
            ASSERT_TRUE(opened) << f.ErrorString().toStdString();
            EXPECT_TRUE(f.JournalPending());
            EXPECT_EQ(f.Count(), 4);
        } else {
            EXPECT_FALSE(opened);
            EXPECT_TRUE(f.ErrorHint().contains(QStringLiteral("salvataggio non concluso")));
        }
        f.Close();
        EXPECT_EQ(bytes("a.pro"), archive);
        EXPECT_EQ(bytes("a.pro.journal"), journal);
    }
}

// ---- Several records in one operation ---------------------------------------------------------------

// Rewrites records 0 and 2, appends one and rewrites the appended one, all in one operation.
TRecordFile::UpdateResult runMulti(const QString& file) {
    TRecordFile f;
    if (!f.OpenOrCreate(file, kSmallRecord, Write))
        return TRecordFile::UpdateResult::Failed;
    const std::vector<TRecordFile::Change> changes = {
        {0, "aaaaaaaa", "AAAAAAAA"},
        {TRecordFile::kAppend, nullptr, "dddddddd"},
        {2, nullptr, "CCCCCCCC"},
        {3, nullptr, "DDDDDDDD"},
    };
    const auto result = f.WriteRecords(changes);
    const bool closed = f.Close();
    return result == TRecordFile::UpdateResult::Written && !closed ? TRecordFile::UpdateResult::Failed : result;
}

TEST_F(StorageFaults, AMultiRecordOperationFailingAtAnyWriteOrFlushLeavesTheOldOrTheNewArchive) {
    const QByteArray before("aaaaaaaabbbbbbbbcccccccc");
    const QByteArray after("AAAAAAAAbbbbbbbbCCCCCCCCDDDDDDDD");
    write("a.pro", before);
    ASSERT_EQ(runMulti(path("a.pro")), TRecordFile::UpdateResult::Written) << "the operation works without faults";
    ASSERT_EQ(bytes("a.pro"), after);
    // Every byte budget from nothing up to the whole operation, every flush, with the rollback's own
    // writes working (the undo under the lock) or failing too (a crash: the next open reads the journal).
    for (const bool rollbackFails : {false, true}) {
        for (long budget = 0; budget <= 400; budget += 4) {
            SCOPED_TRACE(QStringLiteral("budget %1 rollback fails %2").arg(budget).arg(rollbackFails).toStdString());
            write("a.pro", before);
            QFile::remove(TRecordFile::JournalPath(path("a.pro")));
            TRecordFile::UpdateResult result;
            {
                FaultScope scope;
                scope.faults.writeBudget = budget;
                scope.faults.writesStayFailed = rollbackFails;
                result = runMulti(path("a.pro"));
            }
            TRecordFile next; // recovers a journal left behind
            ASSERT_TRUE(next.OpenOrCreate(path("a.pro"), kSmallRecord, Write)) << next.ErrorString().toStdString();
            EXPECT_TRUE(next.Close());
            EXPECT_EQ(bytes("a.pro"), result == TRecordFile::UpdateResult::Written ? after : before);
            EXPECT_FALSE(QFileInfo::exists(TRecordFile::JournalPath(path("a.pro"))));
        }
    }
    for (int sync = 1; sync <= 8; ++sync) {
        SCOPED_TRACE(sync);
        write("a.pro", before);
        TRecordFile::UpdateResult result;
        {
            FaultScope scope;
            scope.faults.failSyncNumber = sync;
            result = runMulti(path("a.pro"));
        }
        EXPECT_EQ(bytes("a.pro"), result == TRecordFile::UpdateResult::Written ? after : before);
    }
}

// Every point where a multi-record operation can stop dead (its writes, the rollback's too, failing from
// then on, as a crash leaves things), followed by a recovery that stops dead at each of its own writes,
// then by one that completes: the old archive or the new, never a mix. And the same journals beside an
// archive replaced in the meantime: never applied to it.
TEST_F(StorageFaults, ACrashAtAnyPointOfAMultiRecordOperationOrItsRecoveryNeverMixesStatesOrFiles) {
    const QByteArray before("aaaaaaaabbbbbbbbcccccccc");
    const QByteArray after("AAAAAAAAbbbbbbbbCCCCCCCCDDDDDDDD");
    const QByteArray replacement("xxxxxxxxyyyyyyyyzzzzzzzz");
    int journalsLeft = 0;
    int written = 0;
    for (long budget = 0; budget <= 600; budget += 4) {
        for (const bool replaced : {false, true}) {
            for (long recoveryBudget = -1; recoveryBudget <= 24; recoveryBudget += 4) {
                SCOPED_TRACE(QStringLiteral("budget %1 replaced %2 recovery budget %3")
                                 .arg(budget)
                                 .arg(replaced)
                                 .arg(recoveryBudget)
                                 .toStdString());
                write("a.pro", before);
                QFile::remove(TRecordFile::JournalPath(path("a.pro")));
                for (const QString& old : TRecordFile::SetAsideJournals(path("a.pro")))
                    QFile::remove(old);
                TRecordFile::UpdateResult result;
                {
                    FaultScope scope;
                    scope.faults.writeBudget = budget;
                    scope.faults.writesStayFailed = true;
                    result = runMulti(path("a.pro"));
                }
                const bool left = QFileInfo::exists(TRecordFile::JournalPath(path("a.pro")));
                if (!left && recoveryBudget >= 0)
                    continue; // nothing to recover: one pass is enough
                journalsLeft += left && !replaced && recoveryBudget < 0;
                written += result == TRecordFile::UpdateResult::Written;
                if (replaced) {
                    QFile f(path("a.pro"));
                    ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
                    ASSERT_EQ(f.write(replacement), replacement.size());
                }
                const QByteArray found = bytes("a.pro");
                if (recoveryBudget >= 0) {
                    FaultScope scope;
                    scope.faults.writeBudget = recoveryBudget;
                    scope.faults.writesStayFailed = true;
                    TRecordFile crashed;
                    crashed.OpenOrCreate(path("a.pro"), kSmallRecord, Write);
                }
                TRecordFile next;
                ASSERT_TRUE(next.OpenOrCreate(path("a.pro"), kSmallRecord, Write)) << next.ErrorString().toStdString();
                EXPECT_TRUE(next.Close());
                if (replaced)
                    EXPECT_EQ(bytes("a.pro"), found);
                else
                    EXPECT_EQ(bytes("a.pro"), result == TRecordFile::UpdateResult::Written ? after : before);
                EXPECT_FALSE(QFileInfo::exists(TRecordFile::JournalPath(path("a.pro"))));
            }
        }
    }
    EXPECT_GT(journalsLeft, 20) << "the sweep reaches the points where a journal is left behind";
    EXPECT_GT(written, 0) << "and budgets large enough for the whole operation";
}

TEST_F(StorageFaults, AMultiRecordOperationWritesNothingWhenOneRecordChangedMeanwhile) {
    write("a.pro", "aaaaaaaaXXXXXXXXcccccccc");
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Write));
    std::size_t changed = 99;
    const auto result = f.WriteRecords({{0, "aaaaaaaa", "AAAAAAAA"},
                                        {TRecordFile::kAppend, nullptr, "dddddddd"},
                                        {1, "bbbbbbbb", "BBBBBBBB"}},
                                       &changed);
    EXPECT_EQ(result, TRecordFile::UpdateResult::ChangedMeanwhile);
    EXPECT_EQ(changed, 2u);
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(bytes("a.pro"), "aaaaaaaaXXXXXXXXcccccccc");
}

TEST_F(StorageFaults, AJournalSetAsideBesideAReplacedArchiveIsNeverApplied) {
    write("a.pro", "NNNNNNNNbbbbbbbbcccccccc"); // the replacement, copied over the old file
    write("a.pro.journal", journalHeader(kSmallRecord, 24) + journalEntry(0, "aaaaaaaa"));
    QString setAside;
    ASSERT_TRUE(TRecordFile::SetAsideJournal(path("a.pro"), &setAside));
    EXPECT_FALSE(QFileInfo::exists(path("a.pro.journal")));
    EXPECT_EQ(TRecordFile::SetAsideJournals(path("a.pro")), QStringList{setAside});
    for (const auto access : {Read, Write}) {
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, access));
        EXPECT_TRUE(f.Close());
        EXPECT_EQ(bytes("a.pro"), "NNNNNNNNbbbbbbbbcccccccc");
    }
    EXPECT_TRUE(TRecordFile::SetAsideJournal(path("a.pro"))) << "no journal: nothing to do";
}

// How the archive is found at the next open, after a save was abandoned (killed) with its journal
// written and its records half written.
enum class Then { Left, InPlace, NewFile };
struct StaleCase {
    const char* name;
    Then then;
    QByteArray archive;  // the archive then (Left: as the abandoned save left it)
    bool applied;        // the journal belongs to it: rolled back to the archive before the save
};

TEST_F(StorageFaults, AJournalBesideAReplacedArchiveIsSetAsideAndNeverApplied) {
    const QByteArray before("aaaaaaaabbbbbbbbcccccccc");
    const StaleCase cases[] = {
        {"left as the save left it", Then::Left, QByteArray(), true},
        {"the rewrite and the append torn", Then::InPlace, "aaaaaaaaNNNNbbbbccccccccZZZZ", true},
        {"killed before the archive was touched", Then::InPlace, before, true},
        {"copied back over it, another card where the save wrote", Then::InPlace, "aaaaaaaaXXXXXXXXcccccccc", false},
        {"copied back over it, more cards than the save made", Then::InPlace,
         "aaaaaaaabbbbbbbbccccccccddddddddeeeeeeee", false},
        {"copied back over it, another card where the save appended", Then::InPlace,
         "aaaaaaaabbbbbbbbccccccccdddddddd", false},
        {"copied back over it, fewer cards", Then::InPlace, "aaaaaaaabbbbbbbb", false},
        {"restored as a new file with the old cards", Then::NewFile, before, false},
        {"restored as a new file with other cards", Then::NewFile, "aaaaaaaaXXXXXXXXcccccccc", false},
    };
    for (const StaleCase& c : cases) {
        for (const auto access : {Read, Write}) {
            SCOPED_TRACE(QStringLiteral("%1, %2").arg(QLatin1String(c.name), access == Read ? u"read" : u"write")
                             .toStdString());
            for (const QString& old : TRecordFile::SetAsideJournals(path("a.pro")))
                QFile::remove(old);
            write("a.pro", before);
            ASSERT_EQ(waitProgram(startProgram(QStringLiteral(OMBRISA_STORAGE_HELPER),
                                               {QStringLiteral("abandon"), path("a.pro")})),
                      0);
            ASSERT_EQ(bytes("a.pro"), "aaaaaaaaNNNNNNNNccccccccZZZZZZZZ");
            ASSERT_TRUE(QFileInfo::exists(path("a.pro.journal")));
            if (c.then == Then::InPlace) {
                QFile f(path("a.pro")); // same file, same inode: what a copy over it does
                ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
                ASSERT_EQ(f.write(c.archive), c.archive.size());
            } else if (c.then == Then::NewFile) {
                write("a.pro.new", c.archive);
                ASSERT_EQ(::rename(local("a.pro.new").constData(), local("a.pro").constData()), 0);
            }
            const QByteArray found = bytes("a.pro");
            TRecordFile f;
            ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, access)) << f.ErrorString().toStdString();
            EXPECT_FALSE(f.JournalPending());
            EXPECT_TRUE(f.Close());
            EXPECT_EQ(bytes("a.pro"), c.applied ? before : found);
            EXPECT_FALSE(QFileInfo::exists(path("a.pro.journal")));
            EXPECT_EQ(TRecordFile::SetAsideJournals(path("a.pro")).size(), c.applied ? 0 : 1);
        }
    }
}

// A recovery puts the old records back and cuts the appended ones off; they must reach the disk before
// the journal goes, or a power cut just after leaves the card mixed and no journal to mend it.
struct RecoveryOrder {
    static inline QStringList events;
    static inline int archiveFd = -1;
    static inline QString archive;
    static const ombrisa::StorageSyscalls& real() { return ombrisa::realStorageSyscalls(); }
    static int open(const char* path, int flags, mode_t mode) {
        const int fd = real().open(path, flags, mode);
        if (QString::fromLocal8Bit(path) == archive)
            archiveFd = fd;
        return fd;
    }
    static ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
        if (fd == archiveFd)
            events << QStringLiteral("write");
        return real().pwrite(fd, buffer, count, offset);
    }
    static int ftruncate(int fd, off_t length) {
        if (fd == archiveFd)
            events << QStringLiteral("cut");
        return real().ftruncate(fd, length);
    }
    static int fdatasync(int fd) {
        if (fd == archiveFd)
            events << QStringLiteral("flush");
        return real().fdatasync(fd);
    }
    static int unlink(const char* path) {
        if (QString::fromLocal8Bit(path) == TRecordFile::JournalPath(archive))
            events << QStringLiteral("journal gone");
        return real().unlink(path);
    }
};

TEST_F(StorageFaults, ARecoveryFlushesTheRestoredRecordsBeforeItRemovesTheJournal) {
    for (const auto access : {Read, Write}) {
        SCOPED_TRACE(access == Read ? "read" : "write");
        write("a.pro", "aaaaaaaabbbbbbbbcccccccc");
        ASSERT_EQ(waitProgram(
                      startProgram(QStringLiteral(OMBRISA_STORAGE_HELPER), {QStringLiteral("abandon"), path("a.pro")})),
                  0);
        ASSERT_EQ(bytes("a.pro"), "aaaaaaaaNNNNNNNNccccccccZZZZZZZZ");
        ombrisa::StorageSyscalls table = ombrisa::realStorageSyscalls();
        table.open = &RecoveryOrder::open;
        table.pwrite = &RecoveryOrder::pwrite;
        table.ftruncate = &RecoveryOrder::ftruncate;
        table.fdatasync = &RecoveryOrder::fdatasync;
        table.unlink = &RecoveryOrder::unlink;
        RecoveryOrder::events.clear();
        RecoveryOrder::archiveFd = -1;
        RecoveryOrder::archive = path("a.pro");
        ombrisa::setStorageSyscalls(&table);
        TRecordFile f;
        const bool opened = f.OpenOrCreate(path("a.pro"), kSmallRecord, access);
        ombrisa::setStorageSyscalls(nullptr);
        ASSERT_TRUE(opened) << f.ErrorString().toStdString();
        f.Close();
        EXPECT_EQ(bytes("a.pro"), "aaaaaaaabbbbbbbbcccccccc");
        EXPECT_EQ(RecoveryOrder::events, (QStringList{QStringLiteral("write"), QStringLiteral("cut"),
                                                      QStringLiteral("flush"), QStringLiteral("journal gone")}));
    }
}

TEST_F(StorageFaults, AJournalOfAppendsInOneRunIsCutBackOnlyOnItsOwnFile) {
    const QByteArray before("aaaaaaaabbbbbbbbcccccccc");
    const char run[] = "XXXXXXXXYYYYYYYYZZZZZZZZ"; // three appends lying one after the other: one write
    const struct {
        const char* name;
        QByteArray replacement; // copied over the archive after the crash; empty: left as the crash left it
    } cases[] = {
        {"left as the crash left it", QByteArray()},
        {"copied back with more cards", "aaaaaaaabbbbbbbbccccccccddddddddeeeeeeeeffffffffgggggggg"},
        {"copied back with other cards where the run wrote", "aaaaaaaabbbbbbbbccccccccdddddddd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("a.pro", before);
        for (const QString& old : TRecordFile::SetAsideJournals(path("a.pro")))
            QFile::remove(old);
        {
            FaultScope scope; // the journal goes through, the run stops half way, and so does the undo
            scope.faults.writeBudget = 32 + 5 * kEntryBytes + 12;
            scope.faults.writesStayFailed = true;
            scope.faults.truncateErrno = EIO;
            TRecordFile f;
            ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Write));
            EXPECT_EQ(f.WriteRecords({{TRecordFile::kAppend, nullptr, run},
                                      {TRecordFile::kAppend, nullptr, run + 8},
                                      {TRecordFile::kAppend, nullptr, run + 16}}),
                      TRecordFile::UpdateResult::Failed);
            f.Close();
        }
        ASSERT_TRUE(QFileInfo::exists(path("a.pro.journal")));
        if (!c.replacement.isEmpty()) {
            QFile f(path("a.pro"));
            ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
            ASSERT_EQ(f.write(c.replacement), c.replacement.size());
        }
        TRecordFile next;
        ASSERT_TRUE(next.OpenOrCreate(path("a.pro"), kSmallRecord, Write)) << next.ErrorString().toStdString();
        EXPECT_TRUE(next.Close());
        EXPECT_EQ(bytes("a.pro"), c.replacement.isEmpty() ? before : c.replacement);
        EXPECT_EQ(TRecordFile::SetAsideJournals(path("a.pro")).size(), c.replacement.isEmpty() ? 0 : 1);
    }
}

TEST_F(StorageFaults, AnEmptiedJournalThatCannotBeRemovedIsIgnored) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may remove files from a read-only folder";
    write("a.pro", "aaaaaaaa");
    write("a.pro.journal", QByteArray());
    const QByteArray folder = QFile::encodeName(path(QString()));
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    TRecordFile f;
    const bool opened = f.OpenOrCreate(path("a.pro"), kSmallRecord, Write);
    const bool written = opened && f.WriteRecord(static_cast<const void*>("AAAAAAAA"));
    const bool closed = f.Close();
    ::chmod(folder.constData(), 0755);
    EXPECT_TRUE(opened) << f.ErrorString().toStdString();
    EXPECT_TRUE(written && closed);
    EXPECT_EQ(bytes("a.pro"), "AAAAAAAA");
}

TEST_F(StorageFaults, TheRightToCreateTheJournalIsCheckedWithAMessage) {
    const struct {
        int err;
        bool problem;
    } cases[] = {{0, false}, {EACCES, true}, {EROFS, true}, {EPERM, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        FaultScope scope;
        scope.faults.openWriteErrno = c.err;
        const QString message = TRecordFile::JournalRightsProblem(path(""));
        EXPECT_EQ(!message.isEmpty(), c.problem) << message.toStdString();
        if (c.problem) {
            EXPECT_TRUE(message.contains(QStringLiteral("creare file")));
        }
        EXPECT_EQ(QDir(path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList())
            << "the probe is removed";
    }
}

// ---- Lost update ----------------------------------------------------------------------------------

TEST_F(StorageFaults, WriteIfUnchangedComparesWithTheRecordNowInTheFile) {
    write("a.pro", "aaaaaaaabbbbbbbb");
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Write));
    ASSERT_TRUE(f.Seek(1));
    EXPECT_EQ(f.WriteRecordIfUnchanged("bbbbbbbX", "NNNNNNNN"), TRecordFile::UpdateResult::ChangedMeanwhile);
    EXPECT_EQ(f.Position(), 1);
    EXPECT_EQ(f.WriteRecordIfUnchanged("bbbbbbbb", "NNNNNNNN"), TRecordFile::UpdateResult::Written);
    ASSERT_TRUE(f.Seek(2));
    EXPECT_EQ(f.WriteRecordIfUnchanged("bbbbbbbb", "NNNNNNNN"), TRecordFile::UpdateResult::ChangedMeanwhile)
        << "a record that is not there has changed";
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(bytes("a.pro"), QByteArray("aaaaaaaaNNNNNNNN"));
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), kSmallRecord, Read) && f.Seek(0));
    EXPECT_EQ(f.WriteRecordIfUnchanged("aaaaaaaa", "NNNNNNNN"), TRecordFile::UpdateResult::Failed);
}

} // namespace
