// TRecordFile: creation, counting, positioning, reading, writing, and the failures that stop an operation.
#include "core/records/records.h"
#include "core/storage/recordfile.h"
#include "testfolder.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace ombrisa;

namespace {

constexpr std::size_t R = 8;
using Rec = std::array<char, R>;

Rec rec(char c) {
    Rec r;
    r.fill(c);
    return r;
}

class RecordFileTest : public TestFolder {};

TEST_F(RecordFileTest, MissingArchiveIsCreatedEmpty) {
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), R, TRecordFile::Access::Read));
    EXPECT_EQ(f.Count(), 0);
    EXPECT_TRUE(f.AtEnd());
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(QFileInfo::exists(path("a.pro")));
    EXPECT_EQ(QFileInfo(path("a.pro")).size(), 0);
}

TEST_F(RecordFileTest, AppendsGetTheNextNumberAndUpdatesStayInPlace) {
    TRecordFile f;
    for (char c : {'a', 'b', 'c'}) {
        ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), R));
        ASSERT_TRUE(f.Seek(f.Count()));
        ASSERT_TRUE(f.WriteRecord(rec(c)));
        EXPECT_EQ(f.Position(), c - 'a' + 1); // the new card's number
        ASSERT_TRUE(f.Close());
    }
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), R));
    ASSERT_TRUE(f.Seek(1));
    ASSERT_TRUE(f.WriteRecord(rec('B')));
    EXPECT_EQ(f.Position(), 2);
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(bytes("a.pro"), QByteArray("aaaaaaaaBBBBBBBBcccccccc"));

    // A scan reads them in order; the position after each read is that card's number.
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), R, TRecordFile::Access::Read));
    QByteArray seen;
    while (!f.AtEnd()) {
        Rec r;
        ASSERT_TRUE(f.ReadRecord(r.data()));
        seen += r[0];
        seen += QByteArray::number(f.Position());
    }
    EXPECT_EQ(seen, QByteArray("a1B2c3"));
    Rec r;
    EXPECT_FALSE(f.ReadRecord(r.data())) << "reading at the end is a failure";
    EXPECT_FALSE(f.Seek(4));
    EXPECT_FALSE(f.Seek(-1));
    EXPECT_TRUE(f.Seek(3));
    EXPECT_FALSE(f.WriteRecord(rec('x'))) << "a file opened for reading is not written";
    EXPECT_TRUE(f.Close());
}

TEST_F(RecordFileTest, PartialTailIsNotARecordAndTheNextAppendWritesAtTheBoundary) {
    write("a.pro", QByteArray("aaaaaaaabbbbbbbbccc"));
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path("a.pro"), R));
    EXPECT_EQ(f.Count(), 2);
    EXPECT_EQ(f.PartialTailBytes(), 3);
    ASSERT_TRUE(f.Seek(2));
    Rec r;
    EXPECT_FALSE(f.ReadRecord(r.data()));
    ASSERT_TRUE(f.Seek(f.Count()));
    ASSERT_TRUE(f.WriteRecord(rec('d')));
    EXPECT_EQ(f.Position(), 3);
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(bytes("a.pro"), QByteArray("aaaaaaaabbbbbbbbdddddddd"));
}

TEST_F(RecordFileTest, AFileThatCannotBeOpenedForWritingFailsToWriteButReadsAndIsNeverReplaced) {
    write("ro.pro", QByteArray("aaaaaaaa"));
    QFile::setPermissions(path("ro.pro"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    TRecordFile f;
    const bool opened = f.OpenOrCreate(path("ro.pro"), R, TRecordFile::Access::Write);
    f.Close();
    if (::geteuid() != 0) { // the super-user may write anyway
        EXPECT_FALSE(opened);
        EXPECT_FALSE(f.ErrorString().isEmpty());
    }
    ASSERT_TRUE(f.OpenOrCreate(path("ro.pro"), R, TRecordFile::Access::Read)) << "reading needs no write permission";
    EXPECT_EQ(f.Count(), 1);
    f.Close();
    EXPECT_EQ(bytes("ro.pro"), QByteArray("aaaaaaaa"));
    // A file in use that no one may write, whoever runs the test: this very program.
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const qint64 size = QFileInfo(self).size();
    EXPECT_FALSE(f.OpenOrCreate(self, R, TRecordFile::Access::Write));
    EXPECT_TRUE(f.OpenOrCreate(self, R, TRecordFile::Access::Read));
    f.Close();
    EXPECT_EQ(QFileInfo(self).size(), size);
    // A folder where the archive should be.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("d.pro")));
    EXPECT_FALSE(f.OpenOrCreate(path("d.pro"), R, TRecordFile::Access::Read));
    EXPECT_TRUE(QFileInfo(path("d.pro")).isDir());
}

TEST_F(RecordFileTest, AFullPathOf260CharactersOrMoreFails) {
    const QString base = path(QString());
    const QString p259 = base + QString(259 - base.size(), QLatin1Char('x'));
    const QString p260 = base + QString(260 - base.size(), QLatin1Char('y'));
    TRecordFile f;
    EXPECT_TRUE(f.OpenOrCreate(p259, R));
    f.Close();
    EXPECT_FALSE(f.OpenOrCreate(p260, R));
    EXPECT_FALSE(QFileInfo::exists(p260));
}

TEST_F(RecordFileTest, RecordsOfTheArchivesRoundTripThroughTheFile) {
    TRecCliente out;
    std::memset(&out, 0, sizeof out);
    PutText(out.Cliente, u"Rossi Mario");
    PutText(out.Ricontatta, u"Sì");
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(path(QStringLiteral("Contatti.pro")), sizeof(TRecCliente)));
    ASSERT_TRUE(f.WriteRecord(out));
    const TRecCliente* pointer = &out; // a pointer names the record it points to
    ASSERT_TRUE(f.WriteRecord(pointer));
    ASSERT_TRUE(f.Close());
    const QByteArray b = bytes("Contatti.pro");
    ASSERT_EQ(b.size(), 2 * 3372);
    EXPECT_EQ(b.left(3372), b.mid(3372));
    EXPECT_EQ(b.mid(1863, 3), QByteArray("\x02\x53\xEC"));
    TRecCliente in;
    ASSERT_TRUE(f.OpenOrCreate(path(QStringLiteral("Contatti.pro")), sizeof(TRecCliente), TRecordFile::Access::Read));
    ASSERT_TRUE(f.ReadRecord(in));
    EXPECT_EQ(GetText(in.Cliente), QStringLiteral("Rossi Mario"));
    TRecCliente* target = &in;
    ASSERT_TRUE(f.ReadRecord(target));
    EXPECT_EQ(GetText(in.Ricontatta), QStringLiteral("Sì"));
    TRecChiamata wrong;
    ASSERT_TRUE(f.Seek(0));
    EXPECT_FALSE(f.ReadRecord(wrong)) << "a record of another size is refused";
}

TEST_F(RecordFileTest, ConcurrentAppendsFromSeveralProcessesLoseNothing) {
    constexpr int kProcesses = 4;
    constexpr int kAppends = 500;
    const QByteArray file = path("shared.pro").toLocal8Bit();
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TRecordFile f;
            for (int i = 0; i < kAppends; ++i) {
                Rec r;
                std::snprintf(r.data(), R, "%d%06d", p, i); // process digit + serial; the NUL ends it
                if (!f.OpenOrCreate(QString::fromLocal8Bit(file), R) || !f.Seek(f.Count()) || !f.WriteRecord(r) ||
                    !f.Close())
                    ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QByteArray all = bytes("shared.pro");
    ASSERT_EQ(all.size(), kProcesses * kAppends * static_cast<int>(R));
    std::vector<int> next(kProcesses, 0);
    for (qsizetype i = 0; i < all.size(); i += R) {
        const int p = all[i] - '0';
        ASSERT_TRUE(p >= 0 && p < kProcesses);
        // Each process's records appear whole and in its own order.
        EXPECT_EQ(all.mid(i + 1, 6).toInt(), next[static_cast<std::size_t>(p)]++);
    }
    for (int n : next)
        EXPECT_EQ(n, kAppends);
}

TEST_F(RecordFileTest, AWriterWaitsForAnotherWorkstationsLockAndGivesUpInTime) {
    TRecordFile reader;
    ASSERT_TRUE(reader.OpenOrCreate(path("a.pro"), R, TRecordFile::Access::Read));
    TRecordFile secondReader; // shared locks do not exclude each other
    ASSERT_TRUE(secondReader.OpenOrCreate(path("a.pro"), R, TRecordFile::Access::Read));
    secondReader.Close();
    const ScopedLockTimeout shortWait(50);
    TRecordFile writer;
    EXPECT_FALSE(writer.OpenOrCreate(path("a.pro"), R)) << "the reader's lock keeps the writer out";
    reader.Close();
    EXPECT_TRUE(writer.OpenOrCreate(path("a.pro"), R));
    writer.Close();
}

} // namespace
