// Text fields: the length byte, Windows-1252, trimming and cutting.
#include "core/storage/codepage.h"
#include "core/storage/textfield.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace ombrisa;

namespace {

struct PutCase {
    const char* name;
    QString text;
    std::size_t capacity;
    QByteArray stored; // length byte and text bytes
};
// The test list and a failure name the case.
void PrintTo(const PutCase& c, std::ostream* os) {
    *os << c.name;
}

class PutTextCases : public ::testing::TestWithParam<PutCase> {};

TEST_P(PutTextCases, StoresLengthAndWindows1252Bytes) {
    const PutCase& c = GetParam();
    std::uint8_t field[251];
    std::memset(field, 0xAA, sizeof field);
    PutText(field, c.capacity, c.text);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(field), 1 + field[0]), c.stored);
    // The bytes after the text are left as they were.
    for (std::size_t i = 1u + field[0]; i <= c.capacity; ++i)
        EXPECT_EQ(field[i], 0xAA) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, PutTextCases,
                         ::testing::Values(PutCase{"si_accent", QStringLiteral("Sì"), 2, QByteArray("\x02\x53\xEC", 3)},
                                           PutCase{"exactly_capacity", QStringLiteral("ABCDE"), 5,
                                                   QByteArray("\x05"
                                                              "ABCDE")},
                                           PutCase{"one_over_capacity", QStringLiteral("ABCDEF"), 5,
                                                   QByteArray("\x05"
                                                              "ABCDE")},
                                           PutCase{"blanks_never_stored", QStringLiteral("  \t Rossi Mario \r\n"), 50,
                                                   QByteArray("\x0B"
                                                              "Rossi Mario")},
                                           PutCase{"only_blanks", QStringLiteral("   "), 10, QByteArray(1, '\0')},
                                           PutCase{"euro_and_quotes", QStringLiteral("€ “x”"), 10,
                                                   QByteArray("\x05\x80\x20\x93x\x94", 6)},
                                           PutCase{"letter_without_accent", QStringLiteral("Łódź Ő"), 10,
                                                   QByteArray("\x06?\xF3"
                                                              "dz O",
                                                              7)},
                                           PutCase{"no_letter_becomes_question", QStringLiteral("a→b😀c"), 10,
                                                   QByteArray("\x05"
                                                              "a?b?c")},
                                           PutCase{"cut_at_250", QString(300, QLatin1Char('x')), 250,
                                                   QByteArray(1, char(250)) + QByteArray(250, 'x')}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(GetText, ConvertsAndTrimsAndIgnoresBytesAfterTheText) {
    // Two fields equal in length byte and text but different after it read the same.
    const std::uint8_t a[] = {0x04, ' ', 'S', 0xEC, ' ', 'x', 'y'};
    const std::uint8_t b[] = {0x04, ' ', 'S', 0xEC, ' ', 0x00, 0xFF};
    EXPECT_EQ(GetText(a, 6), QStringLiteral("Sì"));
    EXPECT_EQ(GetText(b, 6), QStringLiteral("Sì"));
}

TEST(GetText, LengthByteOverCapacityReadsAsCapacity) {
    // A damaged field claiming 200 bytes in a field of 3: only the field's own bytes are read.
    const std::uint8_t rec[] = {200, 'a', 'b', 'c', 'N', 'O'};
    EXPECT_EQ(GetText(rec, 3), QStringLiteral("abc"));
    EXPECT_TRUE(lengthOverCapacity(rec, 3));
}

TEST(StoredText, IsWhatGetTextReadsBeforeConversion) {
    // Scans and exports read the stored bytes; a card shows GetText. Both must keep the same text.
    const std::vector<std::vector<std::uint8_t>> fields{
        {0x05, '\t', 'a', 0x20, 'b', 0x1F, 'z'}, // controls and blanks at the ends only
        {0x03, 0xA0, 'x', 0xA0},                 // above 32: kept, whatever it looks like
        {0x04, 0x81, ' ', ' ', 0x7F},            // undefined byte and DEL kept
        {0x02, ' ', 0x00},                       // nothing but blanks
        {0xC8, ' ', 'a', 'b', 'c', ' '},         // length byte over the capacity of 4
        {0x00, 'q'},                             // empty
    };
    for (const auto& f : fields) {
        const std::size_t capacity = f.size() - 1 < 4 ? f.size() - 1 : 4;
        const QByteArrayView bytes = storedText(f.data(), capacity);
        EXPECT_EQ(QByteArray(bytes.data(), bytes.size()), toCp1252(GetText(f.data(), capacity)))
            << "length byte " << int(f[0]);
    }
    EXPECT_EQ(storedText(fields[4].data(), 4), QByteArrayView("abc"));
    EXPECT_EQ(trimBytes(QByteArrayView("\x01 a b\x1F ")), QByteArrayView("a b"));
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    const QString text = fromCp1252(all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0xE0), QChar(0xE0));
    EXPECT_EQ(toCp1252(text), all);
}

TEST(CodePage, TheRowThatDiffersFromLatin1) {
    // Bytes 0x80-0x9F as the code page's chart shows them; the five undefined ones read as the control
    // character of the same code. The conversion needs no system converter.
    const QString expected = QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F"
                                               "\u0090‘’“”•–—˜™š›œ\u009DžŸ");
    ASSERT_EQ(expected.size(), 32);
    QByteArray row(32, '\0');
    for (int i = 0; i < 32; ++i)
        row[i] = static_cast<char>(0x80 + i);
    EXPECT_EQ(fromCp1252(row), expected);
    EXPECT_EQ(toCp1252(expected), row);
    EXPECT_EQ(toCp1252(QStringLiteral("€ Ÿ Œ")), QByteArray("\x80 \x9F \x8C"));
}

TEST(Trim, RemovesCodesUpTo32OnlyAtTheEnds) {
    EXPECT_EQ(trimText(QStringLiteral("\x01 a b\x1F ")), QStringLiteral("a b"));
    EXPECT_EQ(trimText(QStringLiteral("\u00A0a\u00A0")), QStringLiteral("\u00A0a\u00A0")); // above 32: kept
}

} // namespace
