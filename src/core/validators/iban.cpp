#include "core/validators/iban.h"

#include "core/storage/textfield.h"

namespace ombrisa {

namespace {

bool isDigit09(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isLetterAZ(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// Letters A..Z become the two-digit numbers 10..35; every other character stays as it is (and later
// stops the reduction).
QString lettersToNumbers(QStringView text) {
    QString digits;
    digits.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (isLetterAZ(c))
            digits += QString::number(c.unicode() - u'A' + 10);
        else
            digits += c;
    }
    return digits;
}

// The remainder modulo 97 of a long decimal text, reduced in pieces: the running remainder, written
// without leading zeros, is joined with as many further characters as make nine, so that no number
// read exceeds nine digits. 0 when a piece is not a plain decimal number or there is nothing to read.
int mod97InPieces(QStringView digits) {
    if (digits.isEmpty())
        return 0;
    QString running;
    qsizetype start = 0;
    int remainder = 0;
    while (start < digits.size()) {
        const qsizetype pieceLength = 9 - running.size();
        running += digits.mid(start, pieceLength);
        start += pieceLength;
        qint64 value = 0;
        for (const QChar c : std::as_const(running)) {
            if (!isDigit09(c))
                return 0;
            value = value * 10 + (c.unicode() - u'0');
        }
        remainder = static_cast<int>(value % 97);
        running = QString::number(remainder);
    }
    return remainder;
}

const QString kLengthWarning = QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
const QString kValid = QStringLiteral("L'IBAN digitato è VALIDO.");
const QString kWrong = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");

} // namespace

int ibanRemainder(QStringView text) {
    // Capital letters and digits only, the usual form: the same remainder, read a character at a time
    // (the pieces below give the remainder of the whole number however it is cut).
    bool plain = text.size() >= 4 && !text.contains(u"IBAN");
    for (const QChar c : text)
        plain = plain && (isDigit09(c) || isLetterAZ(c));
    if (plain) {
        int remainder = 0;
        const auto feed = [&](QChar c) {
            remainder = isDigit09(c) ? (remainder * 10 + (c.unicode() - u'0')) % 97
                                     : (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
        };
        for (qsizetype i = 4; i < text.size(); ++i)
            feed(text[i]);
        for (qsizetype i = 0; i < 4; ++i)
            feed(text[i]);
        return remainder;
    }
    QString iban = text.toString();
    iban.remove(u' ');
    iban = iban.toUpper();
    const qsizetype word = iban.indexOf(u"IBAN");
    if (word >= 0)
        iban.remove(word, 4);
    const QString rearranged = iban.mid(4) + iban.left(4);
    return mod97InPieces(lettersToNumbers(rearranged));
}

std::optional<QString> ibanCheckDigits(QStringView bban, QStringView country) {
    if (country.size() != 2 || !isLetterAZ(country[0]) || !isLetterAZ(country[1]))
        return std::nullopt;
    for (const QChar c : bban)
        if (!isDigit09(c) && !isLetterAZ(c))
            return std::nullopt;
    if (bban.contains(u"IBAN"))
        return std::nullopt;
    // With check digits 00 the rearranged number leaves r; 98 - r makes it leave 1.
    const int remainder = mod97InPieces(lettersToNumbers(bban.toString() + country.toString() + QStringLiteral("00")));
    return QStringLiteral("%1").arg(98 - remainder, 2, 10, QChar(u'0'));
}

CheckOutcome checkIban(QStringView text) {
    const QStringView iban = trimView(text);
    if (iban.size() != kIbanLength)
        return {CheckVerdict::Incomplete, kLengthWarning, {}};
    if (ibanRemainder(iban) == 1)
        return {CheckVerdict::Valid, kValid, {}};
    return {CheckVerdict::Wrong, kWrong, {}};
}

} // namespace ombrisa
