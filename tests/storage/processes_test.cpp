// Several processes on one archive, and processes killed in the middle of a save.
#include "process.h"

#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <thread>

namespace {

using namespace ombrisa;


// Thousands of flushed saves: in memory when the machine has a memory file system, so that the test
// measures locking, not the disk.
class Processes : public ::testing::Test {
protected:
    void SetUp() override {
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/ombrisa-XXXXXX"));
        if (!dir || !dir->isValid())
            dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir->isValid());
    }
    QString path(const QString& name) const { return dir->filePath(name); }
    QByteArray bytes(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<QTemporaryDir> dir;
};

TEST_F(Processes, EightProcessesAppendingAThousandRecordsEachGiveEightThousandWholeRecords) {
    constexpr int kProcesses = 8;
    constexpr int kAppends = 1000;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        children.push_back(startProgram(kHelper, {QStringLiteral("append"), path(QStringLiteral("shared.pro")),
                                                  QString::number(kAppends), QString::number(p)}));
        ASSERT_GT(children.back(), 0);
    }
    for (const pid_t pid : children)
        EXPECT_EQ(waitProgram(pid), 0);
    const QByteArray all = bytes(QStringLiteral("shared.pro"));
    ASSERT_EQ(all.size(), kProcesses * kAppends * 64);
    QSet<QByteArray> seen;
    std::vector<int> next(kProcesses, 0);
    for (qsizetype at = 0; at < all.size(); at += 64) {
        const QByteArray record = all.mid(at, 64);
        const qsizetype bar = record.indexOf('|');
        ASSERT_GT(bar, 2) << at;
        const QList<QByteArray> head = record.left(bar).mid(1).split('-');
        ASSERT_EQ(head.size(), 2);
        const int p = head[0].toInt();
        ASSERT_TRUE(p >= 0 && p < kProcesses);
        // Whole: the rest is the process's letter, nothing of another record.
        EXPECT_EQ(record.mid(bar + 1), QByteArray(63 - bar, static_cast<char>('A' + p)));
        EXPECT_EQ(head[1].toInt(), next[static_cast<std::size_t>(p)]++) << "each process's records in its order";
        seen.insert(record);
    }
    EXPECT_EQ(seen.size(), kProcesses * kAppends) << "distinct";
}

TEST_F(Processes, AWriterKilledAtRandomMomentsLeavesAnArchiveThatVerifiesWithWholeCards) {
    std::mt19937 random(20261210);
    int journalsLeft = 0;
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE(run);
        const pid_t pid = startProgram(kHelper, {QStringLiteral("churn"), dir->path(), QString::number(run)});
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 130));
        ::kill(pid, SIGKILL);
        EXPECT_EQ(waitProgram(pid), -1) << "killed, not ended by itself";
        if (QFileInfo::exists(TRecordFile::JournalPath(path(kClientiFile))))
            ++journalsLeft;
        EXPECT_EQ(runShell(shellQuote(kTool) + QStringLiteral(" verify --dir ") + shellQuote(dir->path()) +
                           QStringLiteral(" > /dev/null")),
                  0);
        EXPECT_FALSE(QFileInfo::exists(TRecordFile::JournalPath(path(kClientiFile))));
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(path(kClientiFile), sizeof(TRecCliente), TRecordFile::Access::Read));
        EXPECT_EQ(f.PartialTailBytes(), 0);
        TRecCliente card;
        while (!f.AtEnd()) {
            ASSERT_TRUE(f.ReadRecord(card));
            EXPECT_TRUE(wholeCard(card)) << "card " << f.Position();
        }
    }
    RecordProperty("journalsLeftByKilledWriters", journalsLeft);
}

} // namespace
