// Telephone numbers: the compared form, the numbers accepted from outside, and the index of the
// client archive that answers who is calling.
#include "core/phone/phoneindex.h"
#include "core/phone/phonenumber.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"

#include "core/exportarchives.h"
#include "core/testfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

TEST(PhoneNumber, StoredAndGivenNumbersMatch) {
    struct Case {
        const char* given;  // from a telephone system or a command line
        const char* stored; // in a card's telephone box
        bool match;
    };
    const std::vector<Case> cases{
        {"+39 02 1234567", "02 1234567", true},
        {"0039021234567", "02-123.45.67", true},
        {"+390212345 67", "0039 02 1234567", true},
        {"02/1234567", "(02) 1234567", true},
        {"333.123.4567", "+39 333 1234567", true},
        {"  3331234567  ", "333 123 4567 ", true},
        {"1234567", "02 1234567", false},     // only the end of the stored number
        {"021234567", "1234567", false},      // the stored number is only the end of the given one
        {"+41 91 1234567", "41 91 1234567", true}, // another country: the digits as they are
        {"392 1234567", "21234567", false},   // 39 without + is part of the number
        {"0212345678", "02 1234567", false},  // one digit more
        {"021234567", "", false},             // an empty field never matches
        {"021234567", "   ", false},
        {"021234567", "Tel. 02 1234567", true}, // words in a stored box are left out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.given) + " / " + c.stored);
        const std::optional<QString> given = phoneQuery(QString::fromUtf8(c.given));
        ASSERT_TRUE(given.has_value());
        EXPECT_EQ(*given == comparablePhone(QString::fromUtf8(c.stored)), c.match);
    }
}

TEST(PhoneNumber, WhatIsNotATelephoneNumberIsRefused) {
    for (const char* text : {"", "   ", "+39", "0039", "+ 39", "12", "02 12A4567", "abc", "tel:021234567",
                             "02;1234567", "02\n1234567", "02+1234567", "++39021234567", "021234567;rm -rf",
                             "123456789012345678", "02\u00a01234567", "0２1234567"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(phoneQuery(QString::fromUtf8(text)).has_value());
    }
    EXPECT_EQ(phoneQuery(u"+39 (02) 123-45.67/8"), QStringLiteral("0212345678"));
    EXPECT_EQ(phoneQuery(u"112"), QStringLiteral("112"));
}

TEST(PhoneNumber, NumbersAndLinksFromOutside) {
    struct Case {
        const char* given;
        const char* text; // nullptr: refused
        const char* comparable;
    };
    const std::vector<Case> cases{
        {"+39 02 1234567", "+39 02 1234567", "021234567"},
        {"tel:+39-02-1234567", "+39-02-1234567", "021234567"},
        {"TEL:021234567;phone-context=example.com", "021234567", "021234567"},
        {"tel:%2B39%20333%201234567", "+39 333 1234567", "3331234567"},
        {"callto:021234567", "021234567", "021234567"},
        {"callto://0039021234567", "0039021234567", "021234567"},
        {"tel:", nullptr, nullptr},
        {"tel:mario", nullptr, nullptr},
        {"tel:%0A021234567%0Arm", nullptr, nullptr},
        {"sip:mario@example.com", nullptr, nullptr},
        {"mailto:021234567", nullptr, nullptr},
        {"--data", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const std::optional<GivenNumber> n = phoneFromArgument(QString::fromUtf8(c.given));
        ASSERT_EQ(n.has_value(), c.text != nullptr);
        if (n) {
            EXPECT_EQ(n->text, QString::fromUtf8(c.text));
            EXPECT_EQ(n->comparable, QString::fromUtf8(c.comparable));
        }
    }
}

TEST(PhoneNumber, WhatTheTelephoneDials) {
    EXPECT_EQ(dialString(u" +39 02 123.45.67 "), QStringLiteral("+39021234567"));
    EXPECT_EQ(dialString(u"(02) 123-4567"), QStringLiteral("021234567"));
    EXPECT_EQ(dialString(u"0039/333/1234567"), QStringLiteral("00393331234567"));
    EXPECT_FALSE(dialString(u"chiamare dopo le 18").has_value());
    EXPECT_FALSE(dialString(u"").has_value());
}

class PhoneIndexTest : public TestFolder {
protected:
    QString archive() const { return path(kClientiFile); }
    void append(const TRecCliente& r) {
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(archive(), sizeof r));
        ASSERT_TRUE(f.Seek(f.Count()));
        ASSERT_TRUE(f.WriteRecord(r));
        ASSERT_TRUE(f.Close());
    }
    void rewrite(std::int64_t card, const TRecCliente& r) {
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(archive(), sizeof r));
        ASSERT_TRUE(f.Seek(card - 1));
        ASSERT_TRUE(f.WriteRecord(r));
        ASSERT_TRUE(f.Close());
        // A save a moment later: the archive's time moves on even on a coarse clock.
        QFile file(archive());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QFileInfo(archive()).lastModified().addSecs(5), QFileDevice::FileModificationTime));
    }
    std::vector<std::int64_t> cards(PhoneIndex& index, const char* number) {
        std::vector<PhoneMatch> matches;
        QString error;
        EXPECT_TRUE(index.find(*phoneQuery(QString::fromUtf8(number)), &matches, &error)) << error.toStdString();
        std::vector<std::int64_t> out;
        for (const PhoneMatch& m : matches)
            out.push_back(m.card);
        return out;
    }
};

TEST_F(PhoneIndexTest, FindsEveryCardThatHoldsTheNumberAndSaysWhichField) {
    writeArchive(archive(), std::vector<TRecCliente>{
                                makeClient({{"Cliente", "Rossi Mario"}, {"Recapito", "02 1234567"}}),
                                makeClient({{"Cliente", "Bianchi Anna"}, {"TelCel", "+39 333 1234567"}}),
                                makeClient({{"Cliente", "Verdi Luca"}, {"TelCasa", "1234567"}}),
                                makeClient({{"Cliente", "Neri Ugo"}, {"TelUff", "0039-02-1234567"}, {"TelCel", "021234567"}}),
                                makeClient({{"Cliente", "Vuoto"}}),
                            });
    PhoneIndex index(archive());
    std::vector<PhoneMatch> matches;
    ASSERT_TRUE(index.find(QStringLiteral("021234567"), &matches));
    EXPECT_EQ(matches, (std::vector<PhoneMatch>{{1, QStringLiteral("Rossi Mario"), 0}, {4, QStringLiteral("Neri Ugo"), 2}}));
    ASSERT_TRUE(index.find(QStringLiteral("3331234567"), &matches));
    EXPECT_EQ(matches, (std::vector<PhoneMatch>{{2, QStringLiteral("Bianchi Anna"), 3}}));
    EXPECT_EQ(cards(index, "1234567"), std::vector<std::int64_t>{3});
    EXPECT_TRUE(cards(index, "0299999").empty());
    EXPECT_TRUE(index.lookup(QString()).empty());
    EXPECT_EQ(index.cardCount(), 5);
}

TEST_F(PhoneIndexTest, FollowsTheArchiveAsItGrowsAndChanges) {
    PhoneIndex index(archive());
    EXPECT_TRUE(cards(index, "021234567").empty()); // no archive yet: nothing, and nothing created
    EXPECT_FALSE(QFileInfo::exists(archive()));
    append(makeClient({{"Cliente", "Rossi"}, {"Recapito", "02 1234567"}}));
    EXPECT_EQ(cards(index, "021234567"), std::vector<std::int64_t>{1});
    append(makeClient({{"Cliente", "Bianchi"}, {"TelCel", "021234567"}}));
    EXPECT_EQ(cards(index, "021234567"), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(index.cardCount(), 2);
    // Card 1 saved in place with another number: it is no longer found, and its new number is.
    rewrite(1, makeClient({{"Cliente", "Rossi"}, {"Recapito", "06 7654321"}}));
    EXPECT_EQ(cards(index, "021234567"), std::vector<std::int64_t>{2});
    EXPECT_EQ(cards(index, "067654321"), std::vector<std::int64_t>{1});
}

// A card saved in place keeps the archive's size: its time alone tells the index to read it again. The
// old number's hit is confirmed on the card, but the new number has no entry to confirm, whichever of
// the two is asked first.
TEST_F(PhoneIndexTest, ANumberChangedInPlaceIsFoundWhicheverIsAskedFirst) {
    for (const bool newFirst : {true, false}) {
        SCOPED_TRACE(newFirst ? "the new number first" : "the old number first");
        writeArchive(archive(),
                     std::vector<TRecCliente>{makeClient({{"Cliente", "Rossi"}, {"Recapito", "02 1234567"}}),
                                              makeClient({{"Cliente", "Bianchi"}, {"TelCel", "333 1234567"}})});
        PhoneIndex index(archive());
        EXPECT_EQ(cards(index, "021234567"), std::vector<std::int64_t>{1});
        const qint64 size = QFileInfo(archive()).size();
        rewrite(1, makeClient({{"Cliente", "Rossi"}, {"Recapito", "06 7654321"}}));
        ASSERT_EQ(QFileInfo(archive()).size(), size) << "saved in place";
        if (newFirst) {
            EXPECT_EQ(cards(index, "067654321"), std::vector<std::int64_t>{1});
            EXPECT_TRUE(cards(index, "021234567").empty());
        } else {
            EXPECT_TRUE(cards(index, "021234567").empty());
            EXPECT_EQ(cards(index, "067654321"), std::vector<std::int64_t>{1});
        }
        EXPECT_EQ(cards(index, "3331234567"), std::vector<std::int64_t>{2});
    }
}

TEST_F(PhoneIndexTest, ACardChangedInPlaceWhileAnotherIsAddedIsReadAgain) {
    append(makeClient({{"Cliente", "Rossi"}, {"Recapito", "02 1234567"}}));
    append(makeClient({{"Cliente", "Bianchi"}, {"Recapito", "06 7654321"}}));
    PhoneIndex index(archive());
    EXPECT_EQ(cards(index, "021234567"), std::vector<std::int64_t>{1});
    // Between two look-ups card 1 gets a second number and a new name, and card 3 is added: the
    // archive only looks grown.
    rewrite(1, makeClient({{"Cliente", "Rossi Mario"}, {"Recapito", "02 1234567"}, {"TelCel", "333 1112223"}}));
    append(makeClient({{"Cliente", "Verdi"}, {"TelCasa", "051 998877"}}));
    EXPECT_EQ(cards(index, "3331112223"), std::vector<std::int64_t>{1});
    EXPECT_EQ(cards(index, "051998877"), std::vector<std::int64_t>{3});
    std::vector<PhoneMatch> matches;
    ASSERT_TRUE(index.find(QStringLiteral("021234567"), &matches));
    EXPECT_EQ(matches, (std::vector<PhoneMatch>{{1, QStringLiteral("Rossi Mario"), 0}}));
    EXPECT_EQ(index.cardCount(), 3);
}

TEST_F(PhoneIndexTest, AHitIsConfirmedOnItsCardEvenWhenTheArchiveLooksUnchanged) {
    append(makeClient({{"Cliente", "Rossi"}, {"Recapito", "02 1234567"}}));
    PhoneIndex index(archive());
    EXPECT_EQ(cards(index, "021234567"), std::vector<std::int64_t>{1});
    const QDateTime before = QFileInfo(archive()).lastModified();
    TRecordFile f;
    ASSERT_TRUE(f.OpenOrCreate(archive(), sizeof(TRecCliente)));
    ASSERT_TRUE(f.WriteRecord(makeClient({{"Cliente", "Rossi"}, {"Recapito", "06 7654321"}})));
    ASSERT_TRUE(f.Close());
    { // the same size and, on a coarse clock, the same time
        QFile file(archive());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(before, QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(cards(index, "021234567").empty());
}

TEST_F(PhoneIndexTest, AnUnreadableArchiveIsAFailureNotAnEmptyAnswer) {
    ASSERT_TRUE(QDir().mkpath(archive())); // a folder where the archive should be
    PhoneIndex index(archive());
    std::vector<PhoneMatch> matches;
    QString error;
    EXPECT_FALSE(index.find(QStringLiteral("021234567"), &matches, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

namespace {

TEST_F(PhoneIndexTest, TheLastCallOfEachClientByCodiceFiscale) {
    const QString calls = path(kChiamateFile);
    writeArchive(calls, std::vector<TRecChiamata>{
                            makeCall({{"CodFisc", "RSSMRA80A01H501U"}, {"DataRit", "03/02/2024"}}),
                            makeCall({{"CodFisc", "rssmra80a01h501u"}, {"DataRit", "15/01/2025"}}),
                            makeCall({{"CodFisc", "RSSMRA80A01H501U"}, {"DataRit", "01/12/2024"}}),
                            makeCall({{"CodFisc", "BNCNNA70B41F205X"}, {"DataRit", "31/02/2024"}}),
                            makeCall({{"CodFisc", ""}, {"DataRit", "01/01/2026"}}),
                        });
    std::vector<QDate> dates;
    ASSERT_TRUE(lastCallDates(calls, {"RSSMRA80A01H501U", "BNCNNA70B41F205X", "", "VRDLCU60C01L219Z"}, &dates));
    EXPECT_EQ(dates, (std::vector<QDate>{QDate(2025, 1, 15), QDate(), QDate(), QDate()}));
    ASSERT_TRUE(lastCallDates(path("nessuno.pro"), {"RSSMRA80A01H501U"}, &dates)); // no register: no calls
    EXPECT_EQ(dates, std::vector<QDate>{QDate()});
}

} // namespace
