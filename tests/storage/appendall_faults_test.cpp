// Appending many records as one operation: a write or a flush that fails at any point, a cancel and
// an archive changed meanwhile all leave the archive exactly as it was; a process killed at any point
// leaves, once the next open has read the journal, the archive as it was or holding every record.
#include "core/testfolder.h"
#include "crashing.h"
#include "faults.h"

#include "core/import/appendall.h"
#include "core/storage/recordfile.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

using namespace ombrisa;
constexpr std::size_t kBigRecord = 1000;

class AppendAll : public TestFolder {
protected:
    QString archive() const { return path(QStringLiteral("a.pro")); }
    static std::vector<std::uint8_t> records(int count, std::uint8_t first) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < count; ++i)
            bytes.insert(bytes.end(), kBigRecord, static_cast<std::uint8_t>(first + i));
        return bytes;
    }
    ArchiveFingerprint fingerprintOf(const QByteArray& content) const {
        ArchiveFingerprint f;
        for (qsizetype at = 0; at + qsizetype(kBigRecord) <= content.size(); at += kBigRecord)
            addToFingerprint(f, content.constData() + at, kBigRecord);
        return f;
    }
    // Opens the archive as the next program would, which reads a journal a killed process left behind;
    // then no journal may be left, and `now` is the archive's bytes.
    void openAndRead(QByteArray* now) const {
        TRecordFile next;
        ASSERT_TRUE(next.OpenOrCreate(archive(), kBigRecord, TRecordFile::Access::Read))
            << next.ErrorString().toStdString();
        ASSERT_TRUE(next.Close());
        EXPECT_FALSE(QFileInfo::exists(TRecordFile::JournalPath(archive())));
        *now = bytes(QStringLiteral("a.pro"));
    }
};

TEST_F(AppendAll, AFailureAnywhereLeavesTheArchiveAsItWas) {
    // Three records and half of one (a write cut off long ago), then 3000 records (3 MB, several writes).
    const std::vector<std::uint8_t> old = records(3, 1);
    QByteArray before(reinterpret_cast<const char*>(old.data()), static_cast<qsizetype>(old.size()));
    before += QByteArray(kBigRecord / 2, 'x');
    const std::vector<std::uint8_t> added = records(3000, 10);
    struct Case {
        const char* name;
        long writeBudget;
        int failSync;
    };
    const Case cases[]{
        {"first write fails", 0, 0},
        {"a write stops half way", 1500000, 0},
        {"the last bytes fail", long(added.size()) - 1, 0},
        {"the journal's flush fails", -1, 1},
        {"the archive's flush fails", -1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(QStringLiteral("a.pro"), before);
        QString error;
        std::int64_t first = 0;
        {
            FaultScope scope;
            scope.faults.writeBudget = c.writeBudget;
            // The archive's own open flushes nothing (it writes nothing): the first flush is the journal's,
            // the second the archive's.
            scope.faults.failSyncNumber = c.failSync;
            EXPECT_EQ(appendAllOrNothing(archive(), kBigRecord, added, nullptr, {}, &first, &error),
                      AppendOutcome::Failed);
        }
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(bytes(QStringLiteral("a.pro")), before);
    }
    // Without faults: after the three whole records, over the partial one.
    std::int64_t first = 0;
    ASSERT_EQ(appendAllOrNothing(archive(), kBigRecord, added, nullptr, {}, &first, nullptr), AppendOutcome::Appended);
    EXPECT_EQ(first, 4);
    const QByteArray after = bytes(QStringLiteral("a.pro"));
    ASSERT_EQ(after.size(), qsizetype(3003 * kBigRecord));
    EXPECT_EQ(after.left(3 * kBigRecord), before.left(3 * kBigRecord));
    EXPECT_EQ(std::memcmp(after.constData() + 3 * kBigRecord, added.data(), added.size()), 0);
}

TEST_F(AppendAll, ACancelOrAChangedArchiveWritesNothing) {
    const std::vector<std::uint8_t> old = records(2, 1);
    const QByteArray before(reinterpret_cast<const char*>(old.data()), static_cast<qsizetype>(old.size()));
    write(QStringLiteral("a.pro"), before);
    const std::vector<std::uint8_t> added = records(2500, 10);

    int calls = 0;
    EXPECT_EQ(appendAllOrNothing(archive(), kBigRecord, added, nullptr,
                                 [&](std::int64_t written, std::int64_t) { return ++calls < 2 || written == 0; },
                                 nullptr, nullptr),
              AppendOutcome::Cancelled);
    EXPECT_EQ(bytes(QStringLiteral("a.pro")), before);

    ArchiveFingerprint stale = fingerprintOf(before);
    ++stale.hash;
    EXPECT_EQ(appendAllOrNothing(archive(), kBigRecord, added, &stale, {}, nullptr, nullptr), AppendOutcome::Changed);
    EXPECT_EQ(bytes(QStringLiteral("a.pro")), before);

    const ArchiveFingerprint now = fingerprintOf(before);
    EXPECT_EQ(appendAllOrNothing(archive(), kBigRecord, added, &now, {}, nullptr, nullptr), AppendOutcome::Appended);
    EXPECT_EQ(bytes(QStringLiteral("a.pro")).size(), qsizetype(2502 * kBigRecord));
}

// ---- Killed in the middle ------------------------------------------------------------------------

TEST_F(AppendAll, KilledAtAnyStorageCallTheNextOpenFindsTheArchiveAsItWasOrWhole) {
    // 9000 records (9 MB): several appends with a look at the progress between them.
    const std::vector<std::uint8_t> added = records(9000, 10);
    const std::vector<std::uint8_t> old = records(3, 1);
    const QByteArray whole(reinterpret_cast<const char*>(old.data()), static_cast<qsizetype>(old.size()));
    const QByteArray expectedAfter =
        whole + QByteArray(reinterpret_cast<const char*>(added.data()), static_cast<qsizetype>(added.size()));
    struct Start {
        const char* name;
        QByteArray bytes;
    };
    // The second ends with a record cut off long ago: the appends write over it, and its bytes were never
    // a card, so "as it was" is its length and whole records.
    const Start starts[]{{"three cards", whole},
                         {"three cards and a cut-off one", whole + QByteArray(kBigRecord / 2, 'x')}};
    for (const Start& start : starts) {
        int undone = 0, complete = 0;
        bool finished = false;
        for (int point = 1; point < 40 && !finished; ++point) {
            SCOPED_TRACE(testing::Message() << start.name << ", killed at storage call " << point);
            write(QStringLiteral("a.pro"), start.bytes);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                CrashingCalls::crashAt = point;
                setStorageSyscalls(&CrashingCalls::kTable);
                ::_exit(appendAllOrNothing(archive(), kBigRecord, added, nullptr, {}, nullptr, nullptr) ==
                                AppendOutcome::Appended
                            ? 0
                            : 3);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            finished = WIFEXITED(status);
            if (finished)
                EXPECT_EQ(WEXITSTATUS(status), 0) << "no call failed: the import went through";
            else
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            // The next open, as any workstation's, reads the journal a killed import left.
            QByteArray now;
            ASSERT_NO_FATAL_FAILURE(openAndRead(&now));
            if (now == expectedAfter) {
                ++complete;
            } else {
                EXPECT_EQ(now.size(), start.bytes.size()) << "neither as it was nor whole";
                EXPECT_EQ(now.left(whole.size()), whole);
                ++undone;
            }
        }
        EXPECT_TRUE(finished) << "the sweep reached the end of the import";
        EXPECT_GE(undone, 5) << "killed before the end, the import is taken back";
        EXPECT_GE(complete, 1);
    }
}

TEST_F(AppendAll, RewritesAndAnAppendKilledAtAnyCallOrInTheirRecoveryAreAllOrNothing) {
    // Records 0 and 2 rewritten and one appended, in one operation; the process is killed at each
    // storage call in turn, and for each of those the next open is killed too at each call of its
    // recovery, before a last open that finishes. The archive is then byte for byte the old or the new one.
    const QByteArray before = QByteArray(kBigRecord, 'a') + QByteArray(kBigRecord, 'b') + QByteArray(kBigRecord, 'c');
    const QByteArray recordA(kBigRecord, 'A'), recordC(kBigRecord, 'C'), recordD(kBigRecord, 'D');
    const QByteArray after = recordA + QByteArray(kBigRecord, 'b') + recordC + recordD;
    const QByteArray oldA(kBigRecord, 'a'), oldC(kBigRecord, 'c');
    const auto killedChild = [](int point, const std::function<bool()>& work) {
        const pid_t child = ::fork();
        if (child == 0) {
            CrashingCalls::crashAt = point;
            CrashingCalls::callsSoFar = 0;
            setStorageSyscalls(&CrashingCalls::kTable);
            ::_exit(work() ? 0 : 3);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    };
    const auto writeAll = [&] {
        TRecordFile f;
        if (!f.OpenOrCreate(archive(), kBigRecord, TRecordFile::Access::Write))
            return false;
        const bool written =
            f.WriteRecords({{0, oldA.constData(), recordA.constData()},
                            {TRecordFile::kAppend, nullptr, recordD.constData()},
                            {2, oldC.constData(), recordC.constData()}}) == TRecordFile::UpdateResult::Written;
        return f.Close() && written;
    };
    const auto openOnce = [&] {
        TRecordFile f;
        return f.OpenOrCreate(archive(), kBigRecord, TRecordFile::Access::Read) && f.Close();
    };
    int undone = 0, complete = 0, recoveriesKilled = 0;
    bool finished = false;
    for (int point = 1; point < 40 && !finished; ++point) {
        for (int recovery = 1; recovery < 12; ++recovery) {
            SCOPED_TRACE(testing::Message() << "killed at storage call " << point << ", then at call " << recovery
                                            << " of the next open");
            write(QStringLiteral("a.pro"), before);
            const int status = killedChild(point, writeAll);
            finished = WIFEXITED(status);
            if (finished) {
                EXPECT_EQ(WEXITSTATUS(status), 0) << "no call failed: the operation went through";
            } else {
                ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            }
            const bool journalLeft = QFileInfo::exists(TRecordFile::JournalPath(archive()));
            const int recoveryStatus = killedChild(recovery, openOnce);
            const bool recoveryKilled = WIFSIGNALED(recoveryStatus);
            if (recoveryKilled)
                ++recoveriesKilled;
            else
                EXPECT_EQ(WEXITSTATUS(recoveryStatus), 0);
            QByteArray now;
            ASSERT_NO_FATAL_FAILURE(openAndRead(&now));
            EXPECT_TRUE(now == before || now == after) << "a mix of the old and the new records";
            if (recovery == 1)
                (now == after ? complete : undone) += 1;
            // Without a journal to replay the open writes nothing: one pass is enough.
            if (!journalLeft || !recoveryKilled)
                break;
        }
    }
    EXPECT_TRUE(finished) << "the sweep reached the end of the operation";
    EXPECT_GE(undone, 5) << "killed before the end, the operation is taken back";
    EXPECT_GE(complete, 1);
    EXPECT_GE(recoveriesKilled, 1) << "some recoveries were killed part way";
}

} // namespace
