#include "core/dates/dates.h"

#include "core/storage/textfield.h"

namespace ombrisa {

QString formatDate(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

std::optional<QDate> parseDate(QStringView text) {
    const QStringView t = trimView(text);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (QChar c : t) {
        if (c == QLatin1Char('/')) {
            if (++part > 2)
                return std::nullopt;
        } else if (c.unicode() >= '0' && c.unicode() <= '9') {
            if (++digits[part] > (part == 2 ? 4 : 2))
                return std::nullopt;
            parts[part] = parts[part] * 10 + (c.unicode() - '0');
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] == 0 || digits[1] == 0 || digits[2] == 0)
        return std::nullopt;
    int year = parts[2];
    if (digits[2] <= 2)
        year += year < 50 ? 2000 : 1900;
    if (year < 1)
        return std::nullopt;
    const QDate date(year, parts[1], parts[0]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

int monthNumber(QStringView name) {
    for (std::size_t i = 0; i < kMonthNames.size(); ++i)
        if (name == kMonthNames[i])
            return static_cast<int>(i) + 1;
    return 0;
}

QString callDateText(QStringView day, QStringView monthName, QStringView year) {
    return trimText(day) + QLatin1Char('/') +
           QStringLiteral("%1").arg(monthNumber(trimView(monthName)), 2, 10, QLatin1Char('0')) + QLatin1Char('/') +
           trimText(year);
}

QString callTimeText(QStringView hour, QStringView minutes) {
    return trimText(hour) + QLatin1Char(':') + trimText(minutes);
}

} // namespace ombrisa
