// Appending many records as one operation: a write or a flush that fails at any point, a cancel and
// an archive changed meanwhile all leave the archive exactly as it was.
#include "core/testfolder.h"
#include "faults.h"

#include "core/import/appendall.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using namespace ombrisa;
constexpr std::size_t R = 1000;

class AppendAll : public TestFolder {
protected:
    QString archive() const { return path(QStringLiteral("a.pro")); }
    static std::vector<std::uint8_t> records(int count, std::uint8_t first) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < count; ++i)
            bytes.insert(bytes.end(), R, static_cast<std::uint8_t>(first + i));
        return bytes;
    }
    ArchiveFingerprint fingerprintOf(const QByteArray& content) const {
        ArchiveFingerprint f;
        for (qsizetype at = 0; at + qsizetype(R) <= content.size(); at += R)
            addToFingerprint(f, content.constData() + at, R);
        return f;
    }
};

TEST_F(AppendAll, AFailureAnywhereLeavesTheArchiveAsItWas) {
    // Three records and half of one (a write cut off long ago), then 3000 records (3 MB, several writes).
    const std::vector<std::uint8_t> old = records(3, 1);
    QByteArray before(reinterpret_cast<const char*>(old.data()), static_cast<qsizetype>(old.size()));
    before += QByteArray(R / 2, 'x');
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
        {"the flush fails", -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(QStringLiteral("a.pro"), before);
        QString error;
        std::int64_t first = 0;
        {
            FaultScope scope;
            scope.faults.writeBudget = c.writeBudget;
            // The archive's own open flushes nothing (it writes nothing): the first flush is the append's.
            scope.faults.failSyncNumber = c.failSync;
            EXPECT_EQ(appendAllOrNothing(archive(), R, added, nullptr, {}, &first, &error), AppendOutcome::Failed);
        }
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(bytes(QStringLiteral("a.pro")), before);
    }
    // Without faults: after the three whole records, over the partial one.
    std::int64_t first = 0;
    ASSERT_EQ(appendAllOrNothing(archive(), R, added, nullptr, {}, &first, nullptr), AppendOutcome::Appended);
    EXPECT_EQ(first, 4);
    const QByteArray after = bytes(QStringLiteral("a.pro"));
    ASSERT_EQ(after.size(), qsizetype(3003 * R));
    EXPECT_EQ(after.left(3 * R), before.left(3 * R));
    EXPECT_EQ(std::memcmp(after.constData() + 3 * R, added.data(), added.size()), 0);
}

TEST_F(AppendAll, ACancelOrAChangedArchiveWritesNothing) {
    const std::vector<std::uint8_t> old = records(2, 1);
    const QByteArray before(reinterpret_cast<const char*>(old.data()), static_cast<qsizetype>(old.size()));
    write(QStringLiteral("a.pro"), before);
    const std::vector<std::uint8_t> added = records(2500, 10);

    int calls = 0;
    EXPECT_EQ(appendAllOrNothing(archive(), R, added, nullptr,
                                 [&](std::int64_t written, std::int64_t) { return ++calls < 2 || written == 0; },
                                 nullptr, nullptr),
              AppendOutcome::Cancelled);
    EXPECT_EQ(bytes(QStringLiteral("a.pro")), before);

    ArchiveFingerprint stale = fingerprintOf(before);
    ++stale.hash;
    EXPECT_EQ(appendAllOrNothing(archive(), R, added, &stale, {}, nullptr, nullptr), AppendOutcome::Changed);
    EXPECT_EQ(bytes(QStringLiteral("a.pro")), before);

    const ArchiveFingerprint now = fingerprintOf(before);
    EXPECT_EQ(appendAllOrNothing(archive(), R, added, &now, {}, nullptr, nullptr), AppendOutcome::Appended);
    EXPECT_EQ(bytes(QStringLiteral("a.pro")).size(), qsizetype(2502 * R));
}

} // namespace
