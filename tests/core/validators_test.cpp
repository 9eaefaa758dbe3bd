// The four code checks: known codes from public documentation and codes built from the rules, each
// also with every single-character mutation.
#include "core/validators/carta.h"
#include "core/validators/codicefiscale.h"
#include "core/validators/iban.h"
#include "core/validators/partitaiva.h"
#include "testsupport/qtprint.h"

#include <gtest/gtest.h>

#include <QString>
#include <ostream>
#include <vector>

using namespace ombrisa;


namespace {

// The same class of character, one step on: 0-9 and A-Z cycle within themselves.
QChar nextOfSameClass(QChar c, int step) {
    if (c >= u'0' && c <= u'9')
        return QChar(static_cast<char16_t>(u'0' + (c.unicode() - u'0' + step) % 10));
    return QChar(static_cast<char16_t>(u'A' + (c.unicode() - u'A' + step) % 26));
}

// Every code that differs from `code` in one of `positions` by a digit for a digit or a letter for a
// letter.
std::vector<QString> singleMutations(const QString& code, qsizetype from, qsizetype to) {
    std::vector<QString> mutations;
    for (qsizetype i = from; i < to; ++i) {
        const int classSize = code[i] >= u'0' && code[i] <= u'9' ? 10 : 26;
        for (int step = 1; step < classSize; ++step) {
            QString mutated = code;
            mutated[i] = nextOfSameClass(code[i], step);
            mutations.push_back(mutated);
        }
    }
    return mutations;
}

void expectOutcome(const CheckOutcome& outcome, CheckVerdict verdict, const QString& text) {
    EXPECT_EQ(outcome.verdict, verdict);
    EXPECT_EQ(outcome.text, text);
    EXPECT_EQ(outcome.kind(),
              verdict == CheckVerdict::Valid ? CheckMessageKind::Information : CheckMessageKind::Warning);
    EXPECT_EQ(outcome.closesDialog(), verdict != CheckVerdict::Incomplete);
}

} // namespace

// ---- codice fiscale ------------------------------------------------------------------------------

namespace {
const QString kCfValid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kCfWrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");
const QString kCfLength =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");

// Valid codes, their check letters worked out by hand from the official tables; the second and the
// last have digits replaced by their omocodia letters.
const char* const kValidCodiciFiscali[] = {
    "RSSMRA85T10A562S", // a widely published example
    "RSSMRA85T10A56NH", // the same person, 2 -> N in the last digit of the town code
    "BNCGVN70A01H501H", "VRDLCU80A41F205N",
    "RSSMRA85T1LA562V", // 0 -> L in the day
};
} // namespace

TEST(CodiceFiscale, ValidCodesAndEveryMutation) {
    for (const char* code : kValidCodiciFiscali) {
        SCOPED_TRACE(code);
        const QString text = QString::fromLatin1(code);
        expectOutcome(checkCodiceFiscale(text), CheckVerdict::Valid, kCfValid);
        EXPECT_EQ(codiceFiscaleCheckChar(text), text[15]);
        for (const QString& mutated : singleMutations(text, 0, 16)) {
            SCOPED_TRACE(mutated.toStdString());
            expectOutcome(checkCodiceFiscale(mutated), CheckVerdict::Wrong, kCfWrong);
        }
    }
}

TEST(CodiceFiscale, LowerCaseIsTestedInUpperCase) {
    expectOutcome(checkCodiceFiscale(u"rssmra85t10a562s"), CheckVerdict::Valid, kCfValid);
    expectOutcome(checkCodiceFiscale(u"RssMra85T10a56nh"), CheckVerdict::Valid, kCfValid);
}

TEST(CodiceFiscale, LengthOtherThanSixteenIsAWarning) {
    for (const char* text : {"", "R", "RSSMRA85T10A562", "RSSMRA85T10A562SS", "RSSMRA85T10A562S "}) {
        SCOPED_TRACE(text);
        expectOutcome(checkCodiceFiscale(QString::fromLatin1(text)), CheckVerdict::Incomplete, kCfLength);
    }
}

TEST(CodiceFiscale, CharactersOutsideTheTablesMakeTheCodeWrong) {
    // The characters ':' to '@' lie inside the tables and count 0: with the right check letter the
    // code passes, as the rule says.
    const QString withColon = QStringLiteral("RSSMRA85T10A56:");
    const std::optional<QChar> colonCheck = codiceFiscaleCheckChar(withColon);
    ASSERT_TRUE(colonCheck.has_value());
    expectOutcome(checkCodiceFiscale(withColon + *colonCheck), CheckVerdict::Valid, kCfValid);

    // A blank, an accented letter, a sign or a character past 'Z' has no value: always wrong, whatever
    // the last letter.
    for (const char16_t bad : {u' ', u'È', u'-', u'/', u'[', u'_', u'\0'}) {
        QString code = QStringLiteral("RSSMRA85T10A562S");
        code[7] = QChar(bad);
        EXPECT_FALSE(codiceFiscaleCheckChar(code).has_value()) << int(bad);
        for (char16_t last = u'A'; last <= u'Z'; ++last) {
            code[15] = QChar(last);
            expectOutcome(checkCodiceFiscale(code), CheckVerdict::Wrong, kCfWrong);
        }
    }
}

TEST(CodiceFiscale, CheckCharIsALetterSoADigitLastIsWrong) {
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        QString code = QStringLiteral("RSSMRA85T10A562S");
        code[15] = QChar(digit);
        expectOutcome(checkCodiceFiscale(code), CheckVerdict::Wrong, kCfWrong);
    }
}

TEST(CodiceFiscale, CheckCharNeedsFifteenCharacters) {
    EXPECT_FALSE(codiceFiscaleCheckChar(u"RSSMRA85T10A56").has_value());
    EXPECT_EQ(codiceFiscaleCheckChar(u"RSSMRA85T10A562"), QChar(u'S'));
    EXPECT_EQ(codiceFiscaleCheckChar(u"RSSMRA85T10A562anything"), QChar(u'S'));
    // Lower case is outside the tables: the caller turns the text to upper case.
    EXPECT_FALSE(codiceFiscaleCheckChar(u"rssmra85t10a562").has_value());
    // Sum 0 gives A, the highest values give letters near the end of the alphabet.
    EXPECT_EQ(codiceFiscaleCheckChar(u"B0B0B0B0B0B0B0B"), QChar(u'A'));
}

TEST(CodiceFiscale, DigitsOnlyFieldOpensThePartitaIvaCheck) {
    const std::pair<const char16_t*, bool> cases[] = {
        {u"01234560967", true},
        {u" 0123 ", true},
        {u"7", true},
        {u"", false},
        {u"   ", false},
        {u"RSSMRA85T10A562S", false},
        {u"0123456096A", false},
        {u"012 345", false},
        {u"-123", false},
        {u"\u0661\u0662", false}, // digits of another script
    };
    for (const auto& [text, opensPartitaIva] : cases)
        EXPECT_EQ(codiceFiscaleOpensPartitaIvaCheck(QString::fromUtf16(text)), opensPartitaIva)
            << QString::fromUtf16(text).toStdString();
}

// ---- partita IVA ---------------------------------------------------------------------------------

namespace {
const QString kPivaLength = QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kPivaWrong = QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                                          "Non è quindi possibile fornire informazioni relative all'Ufficio IVA "
                                          "che lo ha rilasciato.");
QString pivaValid(const QString& office) {
    return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                          "E' stato rilasciato dall'Ufficio IVA del Comune di ") +
           office + u'.';
}

struct PivaCase {
    const char* number;
    const char16_t* office;
};
// Check digits worked out by hand.
const PivaCase kValidPartiteIva[] = {
    {"00743110157", u"Milano 1"}, {"12345670157", u"Milano 1"}, {"01234560967", u"Monza (Milano 2)"},
    {"98765431212", u"Napoli 2"}, {"00000001032", u""},         {"00000000000", u""},
    {"55555550007", u""},
};
} // namespace

TEST(PartitaIva, ValidNumbersNameTheirOfficeAndEveryMutationIsWrong) {
    for (const PivaCase& c : kValidPartiteIva) {
        SCOPED_TRACE(c.number);
        const QString number = QString::fromLatin1(c.number);
        const QString office = QString::fromUtf16(c.office);
        const CheckOutcome outcome = checkPartitaIva(number);
        expectOutcome(outcome, CheckVerdict::Valid, pivaValid(office));
        EXPECT_EQ(outcome.detail, office);
        EXPECT_EQ(partitaIvaCheckDigit(number), number[10].unicode() - u'0');
        for (const QString& mutated : singleMutations(number, 0, 11)) {
            SCOPED_TRACE(mutated.toStdString());
            const CheckOutcome wrong = checkPartitaIva(mutated);
            expectOutcome(wrong, CheckVerdict::Wrong, kPivaWrong);
            EXPECT_TRUE(wrong.detail.isEmpty());
        }
    }
}

TEST(PartitaIva, OfficeTable) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"001", u"Torino"},
        {u"015", u"Milano 1"},
        {u"040", u"Forlì"},
        {u"096", u"Monza (Milano 2)"},
        {u"099", u"Chiavari (Genova 2)"},
        {u"102", u"Napoli 2"},
        {u"120", u"Bologna 2"},
        {u"121", u"Napoli 2"},
        {u"000", u""},
        {u"103", u""},
        {u"119", u""},
        {u"122", u""},
        {u"999", u""},
        {u"15", u""},
        {u"0150", u""},
        {u"01A", u""},
    };
    for (const auto& [code, office] : cases)
        EXPECT_EQ(partitaIvaOffice(QString::fromUtf16(code)), QString::fromUtf16(office))
            << QString::fromUtf16(code).toStdString();
}

TEST(PartitaIva, LengthOtherThanElevenIsAWarning) {
    for (const char* text : {"", "0", "0074311015", "007431101570"}) {
        SCOPED_TRACE(text);
        expectOutcome(checkPartitaIva(QString::fromLatin1(text)), CheckVerdict::Incomplete, kPivaLength);
    }
}

TEST(PartitaIva, ElevenCharactersThatAreNotAllDigitsAreWrong) {
    for (const char* text : {"0074311015A", "A0743110157", "0074311 157", "-0743110157", "00743110l57"}) {
        SCOPED_TRACE(text);
        expectOutcome(checkPartitaIva(QString::fromLatin1(text)), CheckVerdict::Wrong, kPivaWrong);
    }
    // Other scripts' digits are not digits 0-9.
    expectOutcome(checkPartitaIva(u"0074311015\u0667"), CheckVerdict::Wrong, kPivaWrong);
}

TEST(PartitaIva, CheckDigitNeedsTenDigits) {
    EXPECT_EQ(partitaIvaCheckDigit(u"0074311015"), 7);
    EXPECT_EQ(partitaIvaCheckDigit(u"00743110159"), 7); // the 11th is not looked at
    EXPECT_FALSE(partitaIvaCheckDigit(u"007431101").has_value());
    EXPECT_FALSE(partitaIvaCheckDigit(u"00743110X5").has_value());
    // Even positions add the digits of the double: 0900000000 -> 1 + 8 = 9 -> check digit 1.
    EXPECT_EQ(partitaIvaCheckDigit(u"0900000000"), 1);
}

// ---- IBAN ----------------------------------------------------------------------------------------

namespace {
const QString kIbanValid = QStringLiteral("L'IBAN digitato è VALIDO.");
const QString kIbanWrong = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");
const QString kIbanLengthText = QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");

// Published examples of Italian IBANs.
const char* const kValidIbans[] = {
    "IT60X0542811101000000123456", "IT40S0542811101000000123456",
    "IT42L1234512345123456789012", // check digits worked out by hand
};
} // namespace

TEST(Iban, ValidCodesAndEveryMutation) {
    for (const char* code : kValidIbans) {
        SCOPED_TRACE(code);
        const QString iban = QString::fromLatin1(code);
        expectOutcome(checkIban(iban), CheckVerdict::Valid, kIbanValid);
        EXPECT_EQ(ibanRemainder(iban), 1);
        EXPECT_EQ(ibanCheckDigits(iban.mid(4)), iban.mid(2, 2));
        for (const QString& mutated : singleMutations(iban, 0, 27)) {
            SCOPED_TRACE(mutated.toStdString());
            expectOutcome(checkIban(mutated), CheckVerdict::Wrong, kIbanWrong);
        }
    }
}

TEST(Iban, LowerCaseAndSurroundingBlanks) {
    expectOutcome(checkIban(u"it60x0542811101000000123456"), CheckVerdict::Valid, kIbanValid);
    expectOutcome(checkIban(u"  IT60X0542811101000000123456\t"), CheckVerdict::Valid, kIbanValid);
}

TEST(Iban, LengthWarnings) {
    const char* const texts[] = {
        "",
        "IT60X054281110100000012345",
        "IT60X05428111010000001234567",
        "GB82WEST12345698765432",            // right, but not of the Italian length
        "IT60 X054 2811 1010 0000 0123 456", // written in groups
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        expectOutcome(checkIban(QString::fromLatin1(text)), CheckVerdict::Incomplete, kIbanLengthText);
    }
    // The other countries' examples are right by the remainder rule all the same.
    EXPECT_EQ(ibanRemainder(u"GB82WEST12345698765432"), 1);
    EXPECT_EQ(ibanRemainder(u"DE89370400440532013000"), 1);
    EXPECT_EQ(ibanRemainder(u"IT60 X054 2811 1010 0000 0123 456"), 1);
}

TEST(Iban, PlainTextGivesTheSameRemainderAsTheSameTextInGroups) {
    // Capital letters and digits are read a character at a time, text with blanks or small letters in
    // pieces: both must give the same remainder, right or wrong, whatever the length.
    const char* const texts[]{"IT60X0542811101000000123456", "IT61X0542811101000000123456",
                              "IT60X0542811101000000123457", "ZZ99ZZZZZZZZZZZZZZZZZZZZZZZ",
                              "IT00A0000000000000000000000", "GB82WEST12345698765432",
                              "AB12",                        "00000000000000000000000000000097"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const QString plain = QString::fromLatin1(text);
        const QString grouped = plain.left(2) + u' ' + plain.mid(2);
        const QString small = plain.toLower();
        EXPECT_EQ(ibanRemainder(plain), ibanRemainder(grouped));
        EXPECT_EQ(ibanRemainder(plain), ibanRemainder(small));
    }
    EXPECT_EQ(ibanRemainder(u"IT60X0542811101000000123456"), 1);
    EXPECT_NE(ibanRemainder(u"IT61X0542811101000000123456"), 1);
}

TEST(Iban, PunctuationInsideIsWrongWithoutFailure) {
    for (const char16_t bad : {u'-', u'.', u'/', u'+', u'à', u'\u0661'}) {
        QString iban = QStringLiteral("IT60X0542811101000000123456");
        iban[15] = QChar(bad);
        expectOutcome(checkIban(iban), CheckVerdict::Wrong, kIbanWrong);
        EXPECT_EQ(ibanRemainder(iban), 0);
    }
    // A leading minus sign in a piece is not a number either.
    EXPECT_EQ(ibanRemainder(u"IT60-0542811101000000123456"), 0);
}

TEST(Iban, BlanksInsideAndTheWordIbanAreRemoved) {
    // 27 characters with a blank inside: the blank is dropped and the rest is a valid Italian IBAN
    // shortened by one digit, so it is wrong; the remainder rule itself ignores blanks.
    expectOutcome(checkIban(u"IT60X0542811101000000 12345"), CheckVerdict::Wrong, kIbanWrong);
    EXPECT_EQ(ibanRemainder(u"IBAN IT60X0542811101000000123456"), 1);
    EXPECT_EQ(ibanRemainder(u"iban it60x0542811101000000123456"), 1);
    EXPECT_EQ(ibanRemainder(u""), 0);
    EXPECT_EQ(ibanRemainder(u"IBAN"), 0);
}

TEST(Iban, CheckDigitsBuildValidCodes) {
    const char* const bbans[] = {"X0542811101000000123456", "A0000000000000000000000", "Z9999999999999999999999",
                                 "L1234512345123456789012"};
    for (const char* bban : bbans) {
        SCOPED_TRACE(bban);
        const std::optional<QString> digits = ibanCheckDigits(QString::fromLatin1(bban));
        ASSERT_TRUE(digits.has_value());
        ASSERT_EQ(digits->size(), 2);
        expectOutcome(checkIban(QStringLiteral("IT") + *digits + QString::fromLatin1(bban)), CheckVerdict::Valid,
                      kIbanValid);
    }
    EXPECT_EQ(ibanCheckDigits(u"WEST12345698765432", u"GB"), QStringLiteral("82"));
    EXPECT_EQ(ibanCheckDigits(u"370400440532013000", u"DE"), QStringLiteral("89"));
    EXPECT_FALSE(ibanCheckDigits(u"x0542811101000000123456").has_value());
    EXPECT_FALSE(ibanCheckDigits(u"X054281110100000012345-").has_value());
    EXPECT_FALSE(ibanCheckDigits(u"X0542811101000000IBAN56").has_value());
    EXPECT_FALSE(ibanCheckDigits(u"X0542811101000000123456", u"it").has_value());
    EXPECT_FALSE(ibanCheckDigits(u"X0542811101000000123456", u"ITA").has_value());
}

TEST(Iban, PiecesKeepEveryNumberWithinNineDigits) {
    // A long text of nines: the running remainder is joined with seven or eight further digits.
    // 10^k - 1 modulo 97 computed independently: 10 has order 96 modulo 97, so 96 nines leave 0.
    const QString nines(96, u'9');
    EXPECT_EQ(ibanRemainder(QStringLiteral("9999") + nines.mid(4)), 0);
    // Long digit texts, their remainders worked out with arbitrary-precision arithmetic.
    EXPECT_EQ(ibanRemainder(u"1234567890123456789012345678901234567890"), 63);
    EXPECT_EQ(ibanRemainder(QString(50, u'9') + QStringLiteral("0001")), 6);
}

// ---- credit card ---------------------------------------------------------------------------------

namespace {
const QString kCardEmpty =
    QStringLiteral("Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.");
const QString kCardWrong = QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
                                          "Non è quindi possibile fornire informazioni relative al tipo di "
                                          "carta di credito.");
QString cardValid(const QString& number, const QString& type) {
    return QStringLiteral("Il numero di carta di credito ") + number + QStringLiteral(" risulta valido.\r\n\r\n") +
           QStringLiteral("La carta di credito è del tipo ") + type + u'.';
}

struct CardCase {
    const char* number;
    const char* type;
};
// Test numbers published by card networks and payment services.
const CardCase kValidCards[] = {
    {"4111111111111111", "Visa"},
    {"4012888888881881", "Visa"},
    {"378282246310005", "American Express"},
    {"371449635398431", "American Express"},
    {"5555555555554444", "MasterCard"},
    {"5105105105105100", "MasterCard"},
    {"6011111111111117", "Discover"},
    {"30569309025904", "Diner's Club / Carte Blanche"},
    {"38520000023237", "Diner's Club / Carte Blanche"},
    {"3530111333300000", "JCB"},
    {"3566002020360505", "JCB"},
};
} // namespace

TEST(Carta, ValidNumbersNameTheirTypeAndEveryMutationIsWrong) {
    for (const CardCase& c : kValidCards) {
        SCOPED_TRACE(c.number);
        const QString number = QString::fromLatin1(c.number);
        const QString type = QString::fromLatin1(c.type);
        const CheckOutcome outcome = checkCarta(number);
        expectOutcome(outcome, CheckVerdict::Valid, cardValid(number, type));
        EXPECT_EQ(outcome.detail, type);
        EXPECT_EQ(cartaType(number), type);
        EXPECT_EQ(luhnCheckDigit(QStringView(number).chopped(1)), number.back().unicode() - u'0');
        for (const QString& mutated : singleMutations(number, 0, number.size())) {
            SCOPED_TRACE(mutated.toStdString());
            expectOutcome(checkCarta(mutated), CheckVerdict::Wrong, kCardWrong);
        }
    }
}

TEST(Carta, PassingNumbersWithoutATypeAreWrong) {
    // All of these pass the Luhn test; 32 and 39 begin with 3 but match no row of the type table.
    for (const char* number : {"2221000000000009", "7000000000000005", "18", "0", "00", "3200000000000002",
                               "3900000000000005", "9999999999999995"}) {
        SCOPED_TRACE(number);
        const QString text = QString::fromLatin1(number);
        const QString digits = text;
        EXPECT_EQ(luhnCheckDigit(QStringView(digits).chopped(1)), digits.back().unicode() - u'0');
        expectOutcome(checkCarta(text), CheckVerdict::Wrong, kCardWrong);
        EXPECT_TRUE(checkCarta(text).detail.isEmpty());
    }
}

TEST(Carta, SingleDigitIsAlwaysWrong) {
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        expectOutcome(checkCarta(QString(QChar(digit))), CheckVerdict::Wrong, kCardWrong);
}

TEST(Carta, OnlyTheFirstTwentyCharactersCount) {
    const QString twenty = QStringLiteral("41111111111111111115"); // passes
    ASSERT_EQ(checkCarta(twenty).verdict, CheckVerdict::Valid);
    for (const char* tail : {"0", "7", "99999", "1234567890"}) {
        const QString number = twenty + QString::fromLatin1(tail);
        expectOutcome(checkCarta(number), CheckVerdict::Valid, cardValid(number, u"Visa"_qs));
    }
    const QString failing = QStringLiteral("41111111111111111116");
    expectOutcome(checkCarta(failing + QStringLiteral("5")), CheckVerdict::Wrong, kCardWrong);
}

TEST(Carta, OtherCharactersAreSkipped) {
    // Blanks and signs between the digits are skipped; the message repeats the trimmed text.
    const QString grouped = QStringLiteral("4111 1111 1111 1111");
    expectOutcome(checkCarta(grouped), CheckVerdict::Valid, cardValid(grouped, u"Visa"_qs));
    expectOutcome(checkCarta(u"  4111-1111-1111-1111 "), CheckVerdict::Valid,
                  cardValid(u"4111-1111-1111-1111"_qs, u"Visa"_qs));
    // Skipped characters still take room among the first twenty: here the last two digits fall
    // outside, and 41111111111111 fails.
    expectOutcome(checkCarta(u"41 11 11 11 11 11 11 11"), CheckVerdict::Wrong, kCardWrong);
    expectOutcome(checkCarta(u"abc"), CheckVerdict::Wrong, kCardWrong);
    // A 3 that is not at the start: the first two characters name no type.
    expectOutcome(checkCarta(u"-378282246310005"), CheckVerdict::Wrong, kCardWrong);
}

TEST(Carta, NothingTypedIsAWarning) {
    for (const char16_t* text : {u"", u" ", u"  \t "}) {
        expectOutcome(checkCarta(QString::fromUtf16(text)), CheckVerdict::Incomplete, kCardEmpty);
    }
}

TEST(Carta, LuhnCheckDigit) {
    EXPECT_EQ(luhnCheckDigit(u""), 0);
    EXPECT_EQ(luhnCheckDigit(u"7992739871"), 3); // the textbook example 79927398713
    EXPECT_EQ(luhnCheckDigit(u"411111111111111"), 1);
    EXPECT_FALSE(luhnCheckDigit(u"4111 1111").has_value());
}
