// Behaviours that a deliberate fault once slipped past: each search box leaves out what lacks its text,
// today's calls are today's full date, and a failed replacement of an attached file changes nothing.
#include "core/exportarchives.h"
#include "core/testfolder.h"

#include "core/attachments/attachedfiles.h"
#include "core/export/exports.h"
#include "core/records/archivepaths.h"
#include "core/search/searchrules.h"

#include <QDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace ombrisa;
using namespace ombrisa::test;

class LeftOut : public TestFolder {};

// One row per filter box of the three search screens, the last ("Note:") included: a record whose field
// holds the box's text is listed, one whose field lacks it is left out.
TEST_F(LeftOut, EveryFilterBoxLeavesOutARecordWhoseFieldLacksItsText) {
    for (SearchArchive which : {SearchArchive::Clienti, SearchArchive::Chiamate, SearchArchive::Dipendenti}) {
        const SearchRules& rules = searchRules(which);
        const QString file = appPath(QStringLiteral("archivio_%1.pro").arg(static_cast<int>(which)));
        for (std::size_t box = 0; box < rules.filters.size(); ++box) {
            const SearchFilter& filter = rules.filters[box];
            SCOPED_TRACE(filter.box);
            const int i = fieldIndex(rules.archive->fields, QString::fromLatin1(filter.field));
            ASSERT_GE(i, 0);
            const std::size_t capacity = rules.archive->fields[std::size_t(i)].capacity;
            const QByteArray wanted = QByteArray("QZXW").left(qsizetype(std::min<std::size_t>(capacity, 4)));
            const QByteArray other = QByteArray("abcd").left(wanted.size());
            std::vector<char> records(rules.archive->recordSize * 2, 0);
            for (int r = 0; r < 2; ++r) {
                auto* at = reinterpret_cast<std::uint8_t*>(records.data()) + rules.archive->recordSize * r +
                           rules.archive->fields[std::size_t(i)].offset;
                const QByteArray& text = r == 0 ? other : wanted;
                at[0] = static_cast<std::uint8_t>(text.size());
                std::memcpy(at + 1, text.constData(), std::size_t(text.size()));
            }
            write(QFileInfo(file).fileName(), QByteArray(records.data(), qsizetype(records.size())));
            QStringList boxes(int(rules.filters.size()));
            boxes[int(box)] = QString::fromLatin1(wanted.toLower());
            const CardListing listing = searchArchive(rules, file, boxes);
            ASSERT_TRUE(listing.ok);
            ASSERT_EQ(listing.lines.size(), 1u);
            EXPECT_EQ(listing.lines[0].card, 2);
        }
    }
}

TEST_F(LeftOut, TodaysCallsAreThoseOfTodaysFullDateOnly) {
    writeArchive<TRecChiamata>(path(kChiamateFile), {makeCall({{"DataRit", "05/03/2023"}, {"Cliente", "Anno prima"}}),
                                                     makeCall({{"DataRit", "05/03/2024"}, {"Cliente", "Oggi"}}),
                                                     makeCall({{"DataRit", "05/03/2025"}, {"Cliente", "Anno dopo"}}),
                                                     makeCall({{"DataRit", "05/04/2024"}, {"Cliente", "Mese dopo"}})});
    ExportTable rows;
    ASSERT_TRUE(fillExportRows(ExportKind::Oggi, rows, QStringLiteral("05/03/2024")));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.text(0, 7), QStringLiteral("Oggi"));
}

TEST_F(LeftOut, AReplacementThatFailsDuringTheCopyLeavesTheStoredFileAndNoTemporaryFile) {
    // The new version of "contratto.pdf" is 64 KB; the copy runs in a child process whose files may not
    // grow past 1 KB, so it fails half-way through writing (as on a full disk).
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath(QStringLiteral("contratto.pdf"));
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(64 * 1024, 'n'));
    }
    ASSERT_TRUE(QDir().mkpath(path(kAllegatiFolder)));
    write(kAllegatiFolder + QStringLiteral("/contratto.pdf"), "contenuto di prima");
    ASSERT_TRUE(attachmentWouldReplace(source));
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const struct rlimit limit { 1024, 1024 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        QString error;
        const bool copied = copyIntoAttachments(source, &error);
        ::_exit(copied ? 0 : (error.isEmpty() ? 2 : 1));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1); // failed, with a reason for the user
    EXPECT_EQ(bytes(kAllegatiFolder + QStringLiteral("/contratto.pdf")), QByteArray("contenuto di prima"));
    EXPECT_EQ(QDir(path(kAllegatiFolder)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("contratto.pdf")});
}

} // namespace
