#pragma once

#include "core/validators/checkoutcome.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace ombrisa {

// Partita IVA: 11 digits; digits 8 to 10 are the code of the VAT office that issued it, the 11th is a
// check digit computed from the first ten.

inline constexpr int kPartitaIvaLength = 11;

// The check digit 0..9 for the first 10 characters of `text` (characters after the 10th are not
// looked at): odd positions count as they are, even positions are doubled and the digits of the
// product added; the check digit is 10 minus the total modulo 10, or 0 when that is 0. No result when
// `text` holds fewer than 10 characters or one of the first 10 is not a digit 0-9.
std::optional<int> partitaIvaCheckDigit(QStringView text);

// The name of the VAT office with the three-digit code `code` ("015" is "Milano 1"); empty when the
// code has no name (only 001 to 102, 120 and 121 have one).
QString partitaIvaOffice(QStringView code);

// The check run by the partita IVA dialog's "Controlla": other than 11 characters is a length warning;
// 11 digits whose last is the check digit of the first ten are valid and name the office of digits 8
// to 10 (the detail of the outcome); anything else is wrong.
CheckOutcome checkPartitaIva(QStringView text);

} // namespace ombrisa
