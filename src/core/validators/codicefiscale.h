#pragma once

#include "core/validators/checkoutcome.h"

#include <QChar>
#include <QStringView>
#include <optional>

namespace ombrisa {

// Codice fiscale of a natural person: 16 characters, the last a check letter computed from the first 15.

inline constexpr int kCodiceFiscaleLength = 16;

// Value of one character in the check-letter sum: odd positions (1st, 3rd, ... 15th) use the odd
// table, even positions (2nd, ... 14th) the even table. The tables cover the codes from '0' (48) to
// 'Z' (90); the seven characters ':' to '@' (58 to 64) are in them and count 0. Any other character
// (a lower-case or accented letter, a blank, a sign) has no value.
std::optional<int> codiceFiscaleCharValue(QChar c, bool oddPosition);

// The check letter 'A'..'Z' for the first 15 characters of `text` (characters after the 15th are not
// looked at; the caller turns the text to upper case first). No result when `text` holds fewer than 15
// characters or one of the first 15 has no value in the tables.
std::optional<QChar> codiceFiscaleCheckChar(QStringView text);

// The check run by the codice fiscale dialog's "Controlla": the text is taken in upper case; other than
// 16 characters is a length warning; otherwise valid when the 16th character is the check letter of
// the first 15. A code holding a character outside the tables is wrong.
CheckOutcome checkCodiceFiscale(QStringView text);

// The button beside a codice fiscale field opens the partita IVA check instead of the codice fiscale
// check when the field, trimmed, is not empty and holds only the digits 0-9 (a firm's codice fiscale
// is its partita IVA number).
bool codiceFiscaleOpensPartitaIvaCheck(QStringView text);

} // namespace ombrisa
