#pragma once

// Telephone numbers in their compared form: the rule by which a number typed, stored in a card or
// sent by a telephone system is recognised as the same number.
//
// The compared form is the digits alone (blanks, dots, dashes, slashes, brackets and any other
// character left out), without the international prefix of Italy: a leading "0039", or "39" when the
// text begins with "+". Two numbers match when their compared forms are equal and not empty; a number
// that is only the end of another ("1234567" and "02 1234567") is a different number.

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace ombrisa {

// The compared form of a stored field (a card's telephone box): any character but a digit is left
// out. Empty when the field holds no digit, or only the prefix.
QString comparablePhone(QStringView phone);

// The compared form of a number given to the program from outside (a telephone system, a link, a
// command line), or nothing when the text is not a telephone number: only digits, blanks, dots,
// dashes, slashes and brackets, with at most one "+" at the start, and 3 to 17 digits once the
// prefix of Italy is left out.
std::optional<QString> phoneQuery(QStringView text);

// The number a telephone system or the desktop hands to the program: a number as phoneQuery takes
// it, or a telephone link ("tel:+39-02-1234567", "callto:021234567", "callto://021234567", with
// %-escapes and any ";parameter" after the number). The number as given (trimmed, without the link's
// scheme and parameters) and its compared form; nothing when the text is neither.
struct GivenNumber {
    QString text;
    QString comparable;
};
std::optional<GivenNumber> phoneFromArgument(QStringView text);

// A text given from outside (a command line, a link) as a message quotes it: in double quotes and on
// one line, whatever it holds. Control characters are written as \r, \n, \t or \xHH and a backslash
// as \\; cut to its first `longest` characters ("…" after them).
QString quotedArgument(QStringView text, qsizetype longest = 60);

// What a telephone dials for a number typed in a card: its digits, after a "+" when it begins with one
// ("+39 02 123.45.67" gives "+39021234567"); nothing when the box holds no telephone number.
std::optional<QString> dialString(QStringView text);

// The telephone fields of a client card: the record field and the caption the screens show.
struct PhoneField {
    const char* field;
    const char* caption;
};
inline constexpr std::array<PhoneField, 4> kClientPhoneFields{{
    {"Recapito", "Tel. preferenziale"},
    {"TelCasa", "Tel. casa"},
    {"TelUff", "Tel. ufficio"},
    {"TelCel", "Tel. cellulare"},
}};

} // namespace ombrisa
