#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <optional>

namespace ombrisa {

// The program's date format: "dd/mm/yyyy".
QString formatDate(const QDate& date);

// Reads a date typed as day/month/year the way the program accepts it everywhere: blanks around it are
// ignored, day and month have one or two digits, the year one to four (a year of one or two digits y
// means 2000 + y below 50 and 1900 + y from 50). Anything else, or a date that does not exist, gives
// no result.
std::optional<QDate> parseDate(QStringView text);

// The Italian month names as the call register stores them, "Gennaio" to "Dicembre".
inline const std::array<QString, 12> kMonthNames{
    QStringLiteral("Gennaio"),   QStringLiteral("Febbraio"), QStringLiteral("Marzo"),    QStringLiteral("Aprile"),
    QStringLiteral("Maggio"),    QStringLiteral("Giugno"),   QStringLiteral("Luglio"),   QStringLiteral("Agosto"),
    QStringLiteral("Settembre"), QStringLiteral("Ottobre"),  QStringLiteral("Novembre"), QStringLiteral("Dicembre")};

// 1..12 for a month name written exactly as stored, 0 otherwise.
int monthNumber(QStringView name);

// The combined date and time a call card stores beside its split fields: day + "/" + two-digit month
// number + "/" + year (an unknown month name gives "00"), and hour + ":" + minutes. The texts are
// trimmed and taken as they are.
QString callDateText(QStringView day, QStringView monthName, QStringView year);
QString callTimeText(QStringView hour, QStringView minutes);

} // namespace ombrisa
