// Personal data on request: the matching rule, what forgetting does to each field, the register line,
// forgetting in a folder (also when a write fails part-way) and the retention list.
#include "core/exportarchives.h"
#include "core/testfolder.h"

#include "core/attachments/attachedfiles.h"
#include "core/import/appendall.h"
#include "core/privacy/privacy.h"
#include "core/records/archivepaths.h"
#include "core/records/carddates.h"
#include "core/storage/syscalls.h"

#include <QDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

using namespace ombrisa;
using test::Fields;
using test::makeCall;
using test::makeClient;

struct PrivacyMatchCase {
    const char* label;
    const char* subjectCode;
    const char* subjectName;
    const char* storedCode;
    const char* storedName;
    bool matches;
};
void PrintTo(const PrivacyMatchCase& c, std::ostream* os) {
    *os << c.label;
}

class PrivacyMatch : public ::testing::TestWithParam<PrivacyMatchCase> {};

TEST_P(PrivacyMatch, CodeTrimmedWithoutCaseOrNameFoldedWhenGiven) {
    const PrivacyMatchCase& c = GetParam();
    const PrivacySubject subject{QString::fromUtf8(c.subjectCode), QString::fromUtf8(c.subjectName)};
    EXPECT_EQ(subject.matches(QString::fromUtf8(c.storedCode), QString::fromUtf8(c.storedName)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrivacyMatch,
    ::testing::Values(
        PrivacyMatchCase{"same_code", "RSSMRA80A01H501U", "", "RSSMRA80A01H501U", "Rossi Mario", true},
        PrivacyMatchCase{"code_other_case_and_blanks", " rssmra80a01h501u ", "", "RSSMRA80A01H501U  ", "", true},
        PrivacyMatchCase{"other_code", "RSSMRA80A01H501U", "", "VRDLGU75B02F205X", "Rossi Mario", false},
        PrivacyMatchCase{"empty_code_never_matches_empty", "", "", "", "", false},
        PrivacyMatchCase{"blank_code_never_matches_blank", "   ", "", "  ", "Rossi Mario", false},
        PrivacyMatchCase{"code_is_not_a_substring", "RSSMRA80A01H501", "", "RSSMRA80A01H501U", "", false},
        PrivacyMatchCase{"name_only", "", "Rossi Mario", "", "Rossi Mario", true},
        PrivacyMatchCase{"name_case_and_blanks_folded", "", "  rossi   MARIO ", "ANY", "Rossi Mario", true},
        PrivacyMatchCase{"name_is_not_a_substring", "", "Rossi", "", "Rossi Mario", false},
        PrivacyMatchCase{"name_without_code_on_a_card_with_code", "", "Rossi Mario", "RSSMRA80A01H501U", "Rossi Mario",
                         true},
        PrivacyMatchCase{"code_or_name", "XXXXXXXXXXXXXXXX", "Rossi Mario", "RSSMRA80A01H501U", "Rossi Mario", true},
        PrivacyMatchCase{"neither", "XXXXXXXXXXXXXXXX", "Bianchi Anna", "RSSMRA80A01H501U", "Rossi Mario", false}),
    [](const ::testing::TestParamInfo<PrivacyMatchCase>& c) { return std::string(c.param.label); });

TEST(PrivacyFields, ForgettingAClientKeepsOnlyTheAnonymisedNameAndNoStaleBytes) {
    TRecCliente r = makeClient({{"Cliente", "Rossi Mario"},
                                {"CodFisc", "RSSMRA80A01H501U"},
                                {"TelCel", "333 1234567"},
                                {"Email", "mario@example.it"},
                                {"Iban", "IT60X0542811101000000123456"},
                                {"Note", "cliente storico"},
                                {"Ricontatta", "Sì"},
                                {"File01", "contratto.pdf"}});
    // Bytes past a field's length (left by an earlier, longer text) must go too.
    std::memcpy(r.Fax.text, "06 9999999", 10);
    anonymiseClient(r, 42);
    TRecCliente expected;
    std::memset(&expected, 0, sizeof expected);
    PutText(expected.Cliente, QStringLiteral("Anonimizzato 42"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&r), sizeof r),
              QByteArray(reinterpret_cast<const char*>(&expected), sizeof expected));
}

TEST(PrivacyFields, ForgettingACallEmptiesTheClientFieldsAndNotesAndKeepsTheRest) {
    const Fields kept{{"GiornoRit", "05"},       {"MeseRit", "Marzo"},     {"AnnoRit", "2024"},
                      {"DataRit", "05/03/2024"}, {"OreRit", "10"},         {"MinutiRit", "30"},
                      {"OraRit", "10:30"},       {"Tipo", "In entrata"},   {"Oggetto", "Rinnovo"},
                      {"Esito", "Risolto"},      {"Grado", "Soddisfatto"}, {"Durata", "4 minuti"},
                      {"Operatore", "Neri Luca"}};
    Fields all = kept;
    all.insert(all.end(), {{"Cliente", "Rossi Mario"},
                           {"CodFisc", "RSSMRA80A01H501U"},
                           {"Zona", "Nord"},
                           {"Recapito", "06 1234567"},
                           {"TelCel", "333 1234567"},
                           {"Email", "mario@example.it"},
                           {"Note", "richiamare la moglie"}});
    TRecChiamata r = makeCall(all);
    anonymiseCall(r, anonymisedName(7));
    Fields expectedFields = kept;
    expectedFields.push_back({"Cliente", "Anonimizzato 7"});
    const TRecChiamata expected = makeCall(expectedFields);
    for (const FieldDef& f : kChiamataFields)
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&r) + f.offset, qsizetype(f.capacity + 1)),
                  QByteArray(reinterpret_cast<const char*>(&expected) + f.offset, qsizetype(f.capacity + 1)))
            << f.name;
}

TEST(PrivacyRegister, TheLineNamesWhenWhoWhatAndCardNumbersOnly) {
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 5, 7));
    EXPECT_EQ(privacyRegisterLine(when, QStringLiteral("anna@ufficio"), kOperationForget, {3}, {10, 12}),
              QStringLiteral("10/12/2026;09:05:07;anna@ufficio;oblio;clienti: 3;chiamate: 10 12"));
    EXPECT_EQ(privacyRegisterLine(when, QStringLiteral("a;b\nc"), kOperationAccess, {}, {}),
              QStringLiteral("10/12/2026;09:05:07;a,b c;accesso ai dati;clienti: ;chiamate: "));
}

class PrivacyFolder : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        // Calls 1, 3, 4, 6, 7 are about Rossi (by code, by another case of it, or by name only).
        test::writeArchive<TRecCliente>(
            path(kClientiFile),
            {makeClient({{"Cliente", "Bianchi Anna"}, {"CodFisc", "BNCNNA70A41H501X"}, {"File01", "comune.pdf"}}),
             makeClient({{"Cliente", "Rossi Mario"},
                         {"CodFisc", "RSSMRA80A01H501U"},
                         {"TelCel", "333 1234567"},
                         {"File01", "contratto_rossi.pdf"},
                         {"File02", "comune.pdf"}})});
        test::writeArchive<TRecChiamata>(path(kChiamateFile),
                                         {call("Rossi Mario", "RSSMRA80A01H501U", "01/01/2020"),
                                          call("Bianchi Anna", "BNCNNA70A41H501X", "02/01/2020"),
                                          call("Rossi Mario", "rssmra80a01h501u", "03/01/2020"),
                                          call("rossi  mario", "", "04/01/2020"), call("Verdi Luca", "", "05/01/2020"),
                                          call("Rossi Mario", "RSSMRA80A01H501U", "06/01/2020"),
                                          call("Rossi Mario", "RSSMRA80A01H501U", "07/01/2025")});
        ASSERT_TRUE(QDir().mkpath(path(kAllegatiFolder)));
        write(kAllegatiFolder + QStringLiteral("/contratto_rossi.pdf"), "pdf");
        write(kAllegatiFolder + QStringLiteral("/comune.pdf"), "shared");
    }
    static TRecChiamata call(const char* name, const char* code, const char* date) {
        return makeCall({{"Cliente", name},
                         {"CodFisc", code},
                         {"DataRit", date},
                         {"TelCel", QString::fromUtf8(name).contains(QStringLiteral("ossi"), Qt::CaseInsensitive)
                                        ? QStringLiteral("333 1234567")
                                        : QStringLiteral("347 7654321")},
                         {"Oggetto", "Rinnovo"},
                         {"Note", "nota"}});
    }
    QByteArray record(const QString& file, std::size_t size, int number) const {
        return bytes(file).mid(qsizetype(size) * (number - 1), qsizetype(size));
    }
    const PrivacySubject rossi{QStringLiteral("RSSMRA80A01H501U"), QStringLiteral("Rossi Mario")};
};

TEST_F(PrivacyFolder, FindsTheCardsCallsAndFilesOfTheSubject) {
    const PrivacyFindings found = findSubject(rossi);
    ASSERT_TRUE(found.ok) << found.error.toStdString();
    EXPECT_EQ(found.clients, (std::vector<std::int64_t>{2}));
    EXPECT_EQ(found.calls, (std::vector<std::int64_t>{1, 3, 4, 6, 7}));
    EXPECT_EQ(found.attachments, (QStringList{QStringLiteral("contratto_rossi.pdf"), QStringLiteral("comune.pdf")}));
}

TEST_F(PrivacyFolder, ForgetsInPlaceLeavingEveryOtherRecordByteIdenticalAndSharedFilesKept) {
    const QByteArray clientsBefore = bytes(kClientiFile);
    const QByteArray callsBefore = bytes(kChiamateFile);
    const ForgetReport report = forgetSubject(rossi);
    ASSERT_TRUE(report.ok) << report.summary().toStdString();
    EXPECT_EQ(report.clientsDone, (std::vector<std::int64_t>{2}));
    EXPECT_EQ(report.callsDone, (std::vector<std::int64_t>{1, 3, 4, 6, 7}));
    EXPECT_EQ(report.filesDeleted, QStringList{QStringLiteral("contratto_rossi.pdf")});
    EXPECT_EQ(report.filesKept, QStringList{QStringLiteral("comune.pdf")}); // Bianchi's card names it too
    EXPECT_FALSE(QFileInfo::exists(path(kAllegatiFolder + QStringLiteral("/contratto_rossi.pdf"))));
    EXPECT_TRUE(QFileInfo::exists(path(kAllegatiFolder + QStringLiteral("/comune.pdf"))));

    const QByteArray clients = bytes(kClientiFile);
    const QByteArray calls = bytes(kChiamateFile);
    ASSERT_EQ(clients.size(), clientsBefore.size());
    ASSERT_EQ(calls.size(), callsBefore.size());
    EXPECT_EQ(record(kClientiFile, sizeof(TRecCliente), 1), clientsBefore.left(sizeof(TRecCliente)));
    for (int untouched : {2, 5})
        EXPECT_EQ(record(kChiamateFile, sizeof(TRecChiamata), untouched),
                  callsBefore.mid(qsizetype(sizeof(TRecChiamata)) * (untouched - 1), sizeof(TRecChiamata)));
    for (const char* trace : {"Rossi", "rossi", "RSSMRA80A01H501U", "rssmra", "333 1234567", "contratto_rossi"})
        EXPECT_FALSE(clients.contains(trace) || calls.contains(trace)) << trace;
    TRecChiamata first;
    std::memcpy(&first, calls.constData(), sizeof first);
    EXPECT_EQ(GetText(first.Cliente), QStringLiteral("Anonimizzato 2"));
    EXPECT_EQ(GetText(first.Oggetto), QStringLiteral("Rinnovo"));
    EXPECT_EQ(GetText(first.DataRit), QStringLiteral("01/01/2020"));

    // Nothing is left to forget; a second run changes nothing.
    const ForgetReport again = forgetSubject(rossi);
    EXPECT_TRUE(again.ok);
    EXPECT_TRUE(again.clientsDone.empty() && again.callsDone.empty());
    EXPECT_EQ(bytes(kChiamateFile), calls);
}

// Fails the n-th write of a whole record (journal entries and headers have other sizes).
struct RecordWriteFault {
    static inline int failAt = 0;
    static inline int seen = 0;
    static inline std::size_t recordSize = 0;
    static ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
        if (count == recordSize && ++seen == failAt) {
            errno = ENOSPC;
            return -1;
        }
        return realStorageSyscalls().pwrite(fd, buffer, count, offset);
    }
};

TEST_F(PrivacyFolder, AWriteFailureAtTheThirdOfFiveCallsLeavesEveryRecordWholeAndNamesWhatRemains) {
    const QByteArray callsBefore = bytes(kChiamateFile);
    StorageSyscalls table = realStorageSyscalls();
    table.pwrite = &RecordWriteFault::pwrite;
    RecordWriteFault::failAt = 3;
    RecordWriteFault::seen = 0;
    RecordWriteFault::recordSize = sizeof(TRecChiamata);
    setStorageSyscalls(&table);
    const ForgetReport failed = forgetSubject(rossi);
    setStorageSyscalls(nullptr);

    ASSERT_FALSE(failed.ok);
    EXPECT_EQ(failed.callsDone, (std::vector<std::int64_t>{1, 3}));
    EXPECT_EQ(failed.callsLeft, (std::vector<std::int64_t>{4, 6, 7}));
    EXPECT_EQ(failed.clientsLeft, (std::vector<std::int64_t>{2}));
    EXPECT_TRUE(failed.summary().contains(QStringLiteral("Chiamate ancora da anonimizzare: 4 6 7.")))
        << failed.summary().toStdString();
    // Each record is either as it was or anonymised; the failed one was rolled back whole.
    EXPECT_EQ(record(kChiamateFile, sizeof(TRecChiamata), 4),
              callsBefore.mid(qsizetype(sizeof(TRecChiamata)) * 3, sizeof(TRecChiamata)));
    EXPECT_EQ(bytes(kChiamateFile).size(), callsBefore.size());
    EXPECT_TRUE(QFileInfo::exists(path(kAllegatiFolder + QStringLiteral("/contratto_rossi.pdf"))));

    // Running it again completes it, and the calls keep the client card's number.
    const ForgetReport rest = forgetSubject(rossi);
    ASSERT_TRUE(rest.ok) << rest.summary().toStdString();
    EXPECT_EQ(rest.callsDone, (std::vector<std::int64_t>{4, 6, 7}));
    EXPECT_EQ(rest.clientsDone, (std::vector<std::int64_t>{2}));
    EXPECT_FALSE(bytes(kChiamateFile).contains("Rossi"));
    EXPECT_FALSE(bytes(kChiamateFile).contains("RSSMRA"));
}

TEST_F(PrivacyFolder, RetentionListsCardsWithoutARecentCallAndSkipsForgottenOnes) {
    // Rossi's last call is 07/01/2025, Bianchi's 02/01/2020.
    RetentionList list = retentionCandidates(3, QDate(2026, 12, 10));
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.candidates.size(), 1u);
    EXPECT_EQ(list.candidates[0].card, 1);
    EXPECT_EQ(list.candidates[0].lastCall, QDate(2020, 1, 2));

    list = retentionCandidates(1, QDate(2027, 6, 1));
    ASSERT_EQ(list.candidates.size(), 2u);
    ASSERT_TRUE(forgetSubject(rossi).ok);
    list = retentionCandidates(1, QDate(2027, 6, 1));
    ASSERT_EQ(list.candidates.size(), 1u);
    EXPECT_EQ(list.candidates[0].card, 1);
}

TEST_F(PrivacyFolder, TheRegisterIsAppended) {
    ASSERT_TRUE(appendPrivacyRegister(QStringLiteral("uno")));
    ASSERT_TRUE(appendPrivacyRegister(QStringLiteral("due")));
    EXPECT_EQ(bytes(kPrivacyRegisterFile), QByteArray("uno\ndue\n"));
}

// Names longer than "Anonimizzato N": the anonymised name is shorter than what the field held, so a field
// not cleared before the new name is put in would keep the old name's tail in the file's bytes.
TEST_F(PrivacyFolder, ForgettingALongNameLeavesNoTailOfItInTheCallRegisterOrTheCard) {
    const struct {
        const char* name;
        const char* code;
    } cases[] = {
        {"Passalacqua Bartolomeo Giovanni", "PSSBTL60A01H501X"},
        {"Sant'Ambrogio De Luca Maria Immacolata", ""},
        {"Rossi Mario Bisio", "RSSMRA80A01H501U"}, // three characters longer than "Anonimizzato 3"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeArchive<TRecCliente>(path(kClientiFile), {makeClient({{"Cliente", "Bianchi Anna"}}),
                                                             makeClient({{"Cliente", "Verdi Luca"}}),
                                                             makeClient({{"Cliente", c.name}, {"CodFisc", c.code}})});
        test::writeArchive<TRecChiamata>(path(kChiamateFile),
                                         {call(c.name, c.code, "01/01/2020"), call("Bianchi Anna", "", "02/01/2020"),
                                          call(c.name, c.code, "03/01/2020")});
        const ForgetReport report = forgetSubject({QString::fromUtf8(c.code), QString::fromUtf8(c.name)});
        ASSERT_TRUE(report.ok) << report.summary().toStdString();
        ASSERT_EQ(report.callsDone, (std::vector<std::int64_t>{1, 3}));
        const QByteArray tail = QByteArray(c.name).mid(anonymisedName(3).size());
        ASSERT_FALSE(tail.isEmpty());
        EXPECT_FALSE(bytes(kChiamateFile).contains(tail)) << "the old name's tail stays in the call register";
        EXPECT_FALSE(bytes(kClientiFile).contains(tail)) << "the old name's tail stays in the client card";
    }
}

// The register's line is written before anything changes: when it cannot be (a disk that fails, EIO
// from the flush), nothing is anonymised, the reason is said in Italian, and the next run, with the disk
// back, still finds every card and writes its line.
struct RegisterSyncFault {
    static inline int registerFd = -1;
    static inline int err = EIO;
    static int open(const char* file, int flags, mode_t mode) {
        const int fd = realStorageSyscalls().open(file, flags, mode);
        if (QString::fromLocal8Bit(file).endsWith(kPrivacyRegisterFile))
            registerFd = fd;
        return fd;
    }
    static int fdatasync(int fd) {
        if (fd == registerFd) {
            errno = err;
            return -1;
        }
        return realStorageSyscalls().fdatasync(fd);
    }
};

TEST_F(PrivacyFolder, ARegisterLineThatCannotBeWrittenChangesNothingAndTheNextRunWritesIt) {
    const QByteArray clientsBefore = bytes(kClientiFile);
    const QByteArray callsBefore = bytes(kChiamateFile);
    for (const int err : {EIO, ENOSPC}) {
        SCOPED_TRACE(err);
        StorageSyscalls table = realStorageSyscalls();
        table.open = &RegisterSyncFault::open;
        table.fdatasync = &RegisterSyncFault::fdatasync;
        RegisterSyncFault::registerFd = -1;
        RegisterSyncFault::err = err;
        setStorageSyscalls(&table);
        const ForgetReport failed = forgetSubject(rossi);
        setStorageSyscalls(nullptr);
        ASSERT_FALSE(failed.ok);
        EXPECT_TRUE(failed.error.contains(err == EIO ? QStringLiteral("errore di lettura o scrittura sul dispositivo")
                                                     : QStringLiteral("spazio esaurito sul disco")))
            << failed.error.toStdString();
        EXPECT_FALSE(failed.summary().contains(QStringLiteral("Unknown"))) << failed.summary().toStdString();
        EXPECT_TRUE(failed.callsDone.empty() && failed.clientsDone.empty());
        EXPECT_EQ(failed.callsLeft, (std::vector<std::int64_t>{1, 3, 4, 6, 7}));
        EXPECT_EQ(bytes(kClientiFile), clientsBefore);
        EXPECT_EQ(bytes(kChiamateFile), callsBefore);
        EXPECT_EQ(bytes(kPrivacyRegisterFile), QByteArray()) << "no line cut short";
    }
    const ForgetReport done = forgetSubject(rossi, QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)));
    ASSERT_TRUE(done.ok) << done.summary().toStdString();
    const QList<QByteArray> lines = bytes(kPrivacyRegisterFile).split('\n');
    ASSERT_EQ(lines.size(), 2) << bytes(kPrivacyRegisterFile).toStdString();
    EXPECT_TRUE(lines[0].startsWith("10/12/2026;09:05:07;"));
    EXPECT_TRUE(lines[0].endsWith(";oblio;clienti: 2;chiamate: 1 3 4 6 7")) << lines[0].toStdString();
}

// The retention rule on one card, the limit being 10/12/2016 (ten years before 10/12/2026): a card with
// no call yet is kept while it was created or changed within the period.
TEST(RetentionRule, ACardCreatedOrChangedWithinThePeriodIsNeverProposed) {
    const QDate today(2026, 12, 10);
    const QDate limit = today.addYears(-10);
    struct RetentionCase {
        const char* what;
        QDate lastCall;
        QDate lastChange;
        bool due;
    };
    const RetentionCase cases[] = {
        {"created today, no call yet", {}, today, false},
        {"changed today, last call long ago", QDate(2010, 5, 1), today, false},
        {"changed on the limit day", {}, limit, false},
        {"changed the day before the limit, no call", {}, limit.addDays(-1), true},
        {"changed long ago, last call long ago", QDate(2012, 1, 1), QDate(2013, 1, 1), true},
        {"changed long ago, called this year", QDate(2026, 3, 1), QDate(2013, 1, 1), false},
        {"called on the limit day, change unknown", limit, {}, false},
        {"no call, change unknown (written before dates were kept)", {}, {}, true},
    };
    for (const RetentionCase& c : cases)
        EXPECT_EQ(retentionDue(c.lastCall, c.lastChange, limit), c.due) << c.what;
}

// Cards appended today (an import) have no calls yet: the retention list leaves them out and keeps
// proposing the old card whose dates nobody knows.
TEST_F(PrivacyFolder, CardsAddedTodayAreNotProposedForRetention) {
    const QDate today = QDate::currentDate();
    RetentionList before = retentionCandidates(3, today);
    ASSERT_TRUE(before.ok) << before.error.toStdString();
    ASSERT_EQ(before.candidates.size(), 1u); // Bianchi: last call 2020, dates unknown
    EXPECT_FALSE(before.candidates[0].lastChange.isValid());

    const TRecCliente fresh = makeClient({{"Cliente", "Neri Ugo"}, {"Recapito", "02 1"}});
    std::int64_t first = 0;
    QString error;
    ASSERT_EQ(appendAllOrNothing(path(kClientiFile), sizeof fresh,
                                 std::span(reinterpret_cast<const std::uint8_t*>(&fresh), sizeof fresh), nullptr, {},
                                 &first, &error),
              AppendOutcome::Appended)
        << error.toStdString();
    ASSERT_EQ(first, 3);
    std::vector<CardDates> dates;
    ASSERT_TRUE(readCardDates(path(kClientiFile), &dates, &error)) << error.toStdString();
    ASSERT_EQ(dates.size(), 3u);
    EXPECT_FALSE(dates[0].created.isValid()); // written before: unknown
    EXPECT_EQ(dates[2].created, today);
    EXPECT_EQ(dates[2].changed, today);

    const RetentionList after = retentionCandidates(3, today);
    ASSERT_EQ(after.candidates.size(), 1u);
    EXPECT_EQ(after.candidates[0].card, 1);
}

// The dates file: appended cards get both dates, a card rewritten keeps its creation date, a card never
// stamped is unknown; every stamp is an entry appended; only the client archive keeps dates.
TEST_F(PrivacyFolder, CardDatesAreStampedBeforeTheCardsAndKeepTheCreationDate) {
    const QDate monday(2026, 12, 7), friday(2026, 12, 11);
    ASSERT_TRUE(stampCardDates(path(kClientiFile), 3, 1, true, monday));
    ASSERT_TRUE(stampCardDates(path(kClientiFile), 3, 1, false, friday));
    ASSERT_TRUE(stampCardDates(path(kClientiFile), 2, 1, false, friday));
    std::vector<CardDates> dates;
    ASSERT_TRUE(readCardDates(path(kClientiFile), &dates));
    ASSERT_EQ(dates.size(), 3u);
    EXPECT_FALSE(dates[0].created.isValid() || dates[0].changed.isValid());
    EXPECT_FALSE(dates[1].created.isValid());
    EXPECT_EQ(dates[1].changed, friday);
    EXPECT_EQ(dates[2].created, monday);
    EXPECT_EQ(dates[2].changed, friday);
    EXPECT_EQ(lastKnownChange(dates, 3), friday);
    EXPECT_FALSE(lastKnownChange(dates, 4).isValid());
    // Written byte by byte as the file holds it: 16 bytes a card, zeros for unknown.
    EXPECT_EQ(bytes(kClientDatesFile), QByteArray("0000003N20261207"
                                                  "0000003M20261211"
                                                  "0000002M20261211"));
    // A card appended again at the same number (after a cancelled import) is created anew; an entry torn
    // by a crash is skipped.
    ASSERT_TRUE(stampCardDates(path(kClientiFile), 3, 1, true, friday));
    write(kClientDatesFile, bytes(kClientDatesFile) + "000000");
    ASSERT_TRUE(readCardDates(path(kClientiFile), &dates));
    EXPECT_EQ(dates[2].created, friday);

    ASSERT_TRUE(stampCardDates(path(kChiamateFile), 1, 5, true, monday));
    EXPECT_TRUE(cardDatesPath(path(kChiamateFile)).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("Date_*")}, QDir::Files), QStringList{kClientDatesFile});
}

} // namespace
