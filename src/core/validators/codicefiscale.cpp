#include "core/validators/codicefiscale.h"

#include "core/storage/textfield.h"

#include <algorithm>
#include <array>

namespace ombrisa {

namespace {

// The official conversion tables, indexed by character code minus '0'. Rows 10 to 16 are the
// characters ':' to '@', which lie between the digits and the letters and count 0.
constexpr std::array<int, 43> kOddValues{1,  0,  5, 7, 9, 13, 15, 17, 19, 21,                  // 0-9
                                         0,  0,  0, 0, 0, 0,  0,                               // : ; < = > ? @
                                         1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,      // A-M
                                         20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};     // N-Z
constexpr std::array<int, 43> kEvenValues{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,               // 0-9
                                          0,  0,  0,  0,  0,  0,  0,                           // : ; < = > ? @
                                          0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  // A-M
                                          13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}; // N-Z

const QString kLengthWarning =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kValid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kWrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");

} // namespace

std::optional<int> codiceFiscaleCharValue(QChar c, bool oddPosition) {
    const char16_t code = c.unicode();
    if (code < u'0' || code > u'Z')
        return std::nullopt;
    const std::size_t index = code - u'0';
    return oddPosition ? kOddValues[index] : kEvenValues[index];
}

std::optional<QChar> codiceFiscaleCheckChar(QStringView text) {
    if (text.size() < kCodiceFiscaleLength - 1)
        return std::nullopt;
    int sum = 0;
    for (qsizetype i = 0; i < kCodiceFiscaleLength - 1; ++i) {
        // Positions are counted from 1: index 0 is the first, an odd position.
        const std::optional<int> value = codiceFiscaleCharValue(text[i], i % 2 == 0);
        if (!value)
            return std::nullopt;
        sum += *value;
    }
    return QChar(static_cast<char16_t>(u'A' + sum % 26));
}

CheckOutcome checkCodiceFiscale(QStringView text) {
    const QString code = text.toString().toUpper();
    if (code.size() != kCodiceFiscaleLength)
        return {CheckVerdict::Incomplete, kLengthWarning, {}};
    const std::optional<QChar> expected = codiceFiscaleCheckChar(code);
    if (expected && *expected == code[kCodiceFiscaleLength - 1])
        return {CheckVerdict::Valid, kValid, {}};
    return {CheckVerdict::Wrong, kWrong, {}};
}

bool codiceFiscaleOpensPartitaIvaCheck(QStringView text) {
    const QStringView code = trimView(text);
    return !code.isEmpty() && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace ombrisa
