#pragma once

#include "core/validators/checkoutcome.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace ombrisa {

// Credit-card numbers: the Luhn test on the digits among the first 20 characters, and the card type
// named by the leading digits.

// The longest card number the check dialog takes (as long as the client card's field).
inline constexpr int kCartaNumberLength = 30;

// Only the first this many characters of a card number take part in the test.
inline constexpr int kCartaCheckedChars = 20;

// The Luhn check digit 0..9 that follows the digits `payload` (digits 0-9 only, possibly none): going
// leftwards from the last digit of the payload every first, third, fifth... digit is doubled (9
// subtracted from a result of 10 or more), all values are added, and the check digit is 10 minus the
// total modulo 10, or 0 when that is 0. No result when the payload holds anything but digits.
std::optional<int> luhnCheckDigit(QStringView payload);

// The card type of a number (trimmed) by its leading digits: "Diner's Club / Carte Blanche" (30, 36,
// 38), "American Express" (34, 37), "JCB" (31, 33, 35), "Visa" (4), "MasterCard" (5), "Discover" (6);
// empty for any other beginning, 32 and 39 included. The length is not looked at.
QString cartaType(QStringView number);

// The check run by the credit-card dialog's "Controlla": the text is trimmed; nothing left is a
// warning; otherwise the digits among its first 20 characters must pass the Luhn test and the number
// must have a type (the detail of the outcome), else it is wrong.
CheckOutcome checkCarta(QStringView text);

} // namespace ombrisa
