#pragma once

#include "core/validators/checkoutcome.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace ombrisa {

// IBAN: country code, two check digits and the national account number (BBAN); right when the
// rearranged number is 1 modulo 97. The program accepts only the Italian length.

inline constexpr int kIbanLength = 27;

// The remainder modulo 97 of an IBAN the way the check computes it: blanks removed, upper case, the
// first "IBAN" removed, the first four characters moved to the end, letters A..Z replaced by 10..35,
// then the digits reduced in pieces so that no number exceeds nine digits. 0 when the text holds a
// character other than a digit, a letter A..Z or a blank (or nothing at all), which makes it wrong.
int ibanRemainder(QStringView text);

// The two check digits ("00".."99") that make country + check digits + `bban` pass the check, for a
// two-letter `country` (upper case A..Z) and a BBAN of digits and upper-case letters A..Z. No result
// for any other country or BBAN, nor for a BBAN holding "IBAN" (the check removes that word, so no
// check digits could make such a code pass).
std::optional<QString> ibanCheckDigits(QStringView bban, QStringView country = u"IT");

// The check run by the IBAN dialog's "Controlla": the text is trimmed; other than 27 characters is a
// length warning; otherwise valid when the remainder above is 1.
CheckOutcome checkIban(QStringView text);

} // namespace ombrisa
