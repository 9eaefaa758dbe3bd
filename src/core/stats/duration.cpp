#include "core/stats/duration.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <cmath>

namespace ombrisa {

namespace {

enum class Unit { None, Hour, Minute, Second };

int unitSeconds(Unit u) {
    switch (u) {
    case Unit::Hour:
        return 3600;
    case Unit::Minute:
        return 60;
    case Unit::Second:
        return 1;
    case Unit::None:
        break;
    }
    return 0;
}

Unit smaller(Unit u) {
    return u == Unit::Hour ? Unit::Minute : u == Unit::Minute ? Unit::Second : Unit::None;
}

Unit unitWord(const QString& w) {
    static const QStringList hours{QStringLiteral("h"), QStringLiteral("ora"), QStringLiteral("ore"),
                                   QStringLiteral("hr"), QStringLiteral("hh")};
    static const QStringList minutes{QStringLiteral("m"),      QStringLiteral("min"),    QStringLiteral("mn"),
                                     QStringLiteral("minuto"), QStringLiteral("minuti"), QStringLiteral("mm"),
                                     QStringLiteral("'"),      QStringLiteral("’")};
    static const QStringList seconds{QStringLiteral("s"),       QStringLiteral("sec"),     QStringLiteral("secondo"),
                                     QStringLiteral("secondi"), QStringLiteral("ss"),      QStringLiteral("\""),
                                     QStringLiteral("''"),      QStringLiteral("”")};
    if (hours.contains(w))
        return Unit::Hour;
    if (minutes.contains(w))
        return Unit::Minute;
    if (seconds.contains(w))
        return Unit::Second;
    return Unit::None;
}

// Number words up to sixty, as operators write them before a unit.
std::optional<double> numberWord(const QString& w) {
    static const char* const kWords[] = {"zero",  "uno",     "due",        "tre",        "quattro",  "cinque",
                                         "sei",   "sette",   "otto",       "nove",       "dieci",    "undici",
                                         "dodici", "tredici", "quattordici", "quindici", "sedici",   "diciassette",
                                         "diciotto", "diciannove", "venti"};
    if (w == QLatin1String("un") || w == QLatin1String("una"))
        return 1.0;
    for (int i = 0; i < static_cast<int>(std::size(kWords)); ++i)
        if (w == QLatin1String(kWords[i]))
            return static_cast<double>(i);
    if (w == QLatin1String("trenta"))
        return 30.0;
    if (w == QLatin1String("quaranta"))
        return 40.0;
    if (w == QLatin1String("cinquanta"))
        return 50.0;
    if (w == QLatin1String("sessanta"))
        return 60.0;
    return std::nullopt;
}

// Splits into numbers ("10", "7.5"), words ("minuti") and signs ("'", "''", "\"").
QStringList tokens(const QString& t) {
    QStringList out;
    qsizetype i = 0;
    while (i < t.size()) {
        const QChar c = t[i];
        if (c.isSpace()) {
            ++i;
        } else if (c.isDigit()) {
            qsizetype j = i;
            while (j < t.size() && t[j].isDigit())
                ++j;
            if (j + 1 < t.size() && t[j] == QLatin1Char('.') && t[j + 1].isDigit()) {
                ++j;
                while (j < t.size() && t[j].isDigit())
                    ++j;
            }
            out.append(t.mid(i, j - i));
            i = j;
        } else if (c.isLetter()) {
            qsizetype j = i;
            while (j < t.size() && t[j].isLetter())
                ++j;
            out.append(t.mid(i, j - i));
            i = j;
        } else if (c == QLatin1Char('\'') && i + 1 < t.size() && t[i + 1] == QLatin1Char('\'')) {
            out.append(QStringLiteral("''"));
            i += 2;
        } else {
            out.append(QString(c));
            ++i;
        }
    }
    return out;
}

// A call timer's reading: "h:mm:ss" or "mm:ss", minutes and seconds always two digits below 60.
std::optional<int> clockDuration(const QString& t) {
    static const QRegularExpression clock(
        QStringLiteral(R"(^(?:circa\s*)?(\d{1,5}):(\d\d)(?::(\d\d))?(?:\s*circa)?$)"));
    const QRegularExpressionMatch m = clock.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    const int first = m.capturedView(1).toInt();
    const int second = m.capturedView(2).toInt();
    if (second > 59)
        return std::nullopt;
    if (!m.hasCaptured(3))
        return first * 60 + second; // minutes and seconds
    const int third = m.capturedView(3).toInt();
    if (third > 59)
        return std::nullopt;
    return first * 3600 + second * 60 + third;
}

} // namespace

std::optional<int> parseDuration(QStringView text) {
    QString t = text.toString().toLower().simplified();
    t.replace(QChar(0x2019), QLatin1Char('\'')); // typographic apostrophe
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    while (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    // Phrases whose apostrophe is no minute sign.
    t.replace(QStringLiteral("mezz'ora"), QStringLiteral(" mezzora "));
    t.replace(QStringLiteral("mezz' ora"), QStringLiteral(" mezzora "));
    t.replace(QStringLiteral("un'ora"), QStringLiteral(" 1 ora "));
    t.replace(QStringLiteral("d'ora"), QStringLiteral(" ora "));
    t.replace(QStringLiteral("ca."), QStringLiteral(" circa "));
    t = t.trimmed();
    if (t.contains(QLatin1Char(':')))
        return clockDuration(t);

    const QStringList parts = tokens(t);
    double seconds = 0;
    Unit last = Unit::None;          // the unit of the part before
    bool hasPending = false;         // a number waiting for its unit
    double pending = 0;
    double quarters = 0;             // "un quarto", "tre quarti" waiting for "ora"
    bool any = false;
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QString& w = parts[k];
        if (w == QLatin1String("circa") || w == QLatin1String("e") || w == QLatin1String("di"))
            continue;
        if (w[0].isDigit() || numberWord(w)) {
            if (hasPending)
                return std::nullopt; // two numbers in a row
            pending = w[0].isDigit() ? w.toDouble() : numberWord(w).value_or(0);
            hasPending = true;
            continue;
        }
        if (w == QLatin1String("mezzora")) {
            if (hasPending)
                return std::nullopt;
            seconds += 1800;
            last = Unit::Minute;
            any = true;
            continue;
        }
        if (w == QLatin1String("quarto") || w == QLatin1String("quarti")) {
            if (!hasPending || quarters != 0)
                return std::nullopt;
            quarters = pending;
            hasPending = false;
            continue;
        }
        if (w == QLatin1String("mezzo") || w == QLatin1String("mezza")) {
            if (hasPending || last == Unit::None)
                return std::nullopt;
            seconds += unitSeconds(last) / 2.0;
            any = true;
            continue;
        }
        const Unit u = unitWord(w);
        if (u == Unit::None)
            return std::nullopt;
        if (quarters != 0) {
            if (u != Unit::Hour || hasPending)
                return std::nullopt;
            seconds += quarters * 900;
            quarters = 0;
            last = Unit::Minute;
            any = true;
            continue;
        }
        if (!hasPending)
            return std::nullopt;
        seconds += pending * unitSeconds(u);
        hasPending = false;
        last = u;
        any = true;
    }
    if (quarters != 0)
        return std::nullopt;
    if (hasPending) {
        // A bare number: minutes alone, the next smaller unit after a part.
        const Unit u = any ? smaller(last) : Unit::Minute;
        if (u == Unit::None)
            return std::nullopt;
        seconds += pending * unitSeconds(u);
        any = true;
    }
    if (!any || !std::isfinite(seconds) || seconds > 1e9)
        return std::nullopt;
    return static_cast<int>(std::lround(seconds));
}

} // namespace ombrisa
