#include "core/validators/carta.h"

#include "core/storage/textfield.h"

namespace ombrisa {

namespace {

bool isDigit09(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The digits 0-9 among the first 20 characters, in order; every other character is skipped.
QString checkedDigits(QStringView number) {
    QString digits;
    for (const QChar c : number.left(kCartaCheckedChars))
        if (isDigit09(c))
            digits += c;
    return digits;
}

const QString kEmptyWarning =
    QStringLiteral("Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.");
const QString kWrong = QStringLiteral("Attenzione: il numero digitato risulta ERRATO!");
const QString kWrongNoType =
    QStringLiteral("Non è quindi possibile fornire informazioni relative al tipo di carta di credito.");

} // namespace

std::optional<int> luhnCheckDigit(QStringView payload) {
    int total = 0;
    bool doubled = true; // the digit next to the check digit is doubled
    for (qsizetype i = payload.size() - 1; i >= 0; --i) {
        if (!isDigit09(payload[i]))
            return std::nullopt;
        int value = payload[i].unicode() - u'0';
        if (doubled) {
            value *= 2;
            if (value >= 10)
                value -= 9;
        }
        total += value;
        doubled = !doubled;
    }
    return (10 - total % 10) % 10;
}

QString cartaType(QStringView number) {
    const QString digits = checkedDigits(number);
    if (digits.isEmpty())
        return {};
    switch (digits[0].unicode()) {
    case u'3': {
        // Numbers beginning with 3 are told apart by their first two characters.
        const QStringView prefix = number.left(2);
        if (prefix == u"30" || prefix == u"36" || prefix == u"38")
            return QStringLiteral("Diner's Club / Carte Blanche");
        if (prefix == u"34" || prefix == u"37")
            return QStringLiteral("American Express");
        if (prefix == u"31" || prefix == u"33" || prefix == u"35")
            return QStringLiteral("JCB");
        return {};
    }
    case u'4':
        return QStringLiteral("Visa");
    case u'5':
        return QStringLiteral("MasterCard");
    case u'6':
        return QStringLiteral("Discover");
    default:
        return {};
    }
}

CheckOutcome checkCarta(QStringView text) {
    const QStringView number = trimView(text);
    if (number.isEmpty())
        return {CheckVerdict::Incomplete, kEmptyWarning, {}};
    const QString digits = checkedDigits(number);
    const QString wrongText = kWrong + kMessageParagraphBreak + kWrongNoType;
    if (digits.isEmpty())
        return {CheckVerdict::Wrong, wrongText, {}};
    const std::optional<int> expected = luhnCheckDigit(QStringView(digits).chopped(1));
    const bool passes = expected && *expected == digits.back().unicode() - u'0';
    // A passing number whose beginning names no type (0, 1, 2, 7, 8, 9, and also 32 or 39) is reported
    // as wrong like a failing one.
    const QString type = passes ? cartaType(number) : QString();
    if (type.isEmpty())
        return {CheckVerdict::Wrong, wrongText, {}};
    const QString message = QStringLiteral("Il numero di carta di credito ") + number.toString() +
                            QStringLiteral(" risulta valido.") + kMessageParagraphBreak +
                            QStringLiteral("La carta di credito è del tipo ") + type + u'.';
    return {CheckVerdict::Valid, message, type};
}

} // namespace ombrisa
