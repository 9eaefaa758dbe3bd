#include "core/work/hourssummary.h"

#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/storage/archivereader.h"
#include "core/storage/textfield.h"
#include "core/work/workregister.h"

#include <QFileInfo>
#include <algorithm>

namespace ombrisa {

QStringList intervalDayItems() {
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days.append(QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')));
    return days;
}

QStringList intervalMonthItems() {
    QStringList months;
    for (const QString& m : kMonthNames)
        months.append(m);
    return months;
}

int intervalMonthNumber(QStringView name) {
    const QString wanted = trimView(name).toString().toLower();
    for (std::size_t i = 0; i < kMonthNames.size(); ++i)
        if (wanted == kMonthNames[i].toLower())
            return static_cast<int>(i) + 1;
    return 0;
}

bool intervalBoxAccepts(QStringView field, const QString& text) {
    if (field == u"Giorno")
        return intervalDayItems().contains(text);
    if (field == u"Mese")
        return intervalMonthNumber(text) > 0;
    return true;
}

QString intervalDateText(QStringView day, QStringView monthName, QStringView year) {
    const int month = intervalMonthNumber(monthName);
    if (month == 0)
        return QString();
    return trimText(day) + QStringLiteral("/%1/").arg(month, 2, 10, QLatin1Char('0')) + trimText(year);
}

namespace {

IntervalRefusal warning(const QString& text, const char* focus) {
    return {QStringLiteral("Attenzione: ") + text, false, QLatin1String(focus)};
}

QString validDate(const QString& purpose) {
    return QStringLiteral("\n\r\n\rPer poter visualizzare %1 è necessario indicare una data valida.").arg(purpose);
}

} // namespace

IntervalCheck checkInterval(const IntervalInput& in) {
    IntervalCheck c;
    if (trimView(in.codFisc).isEmpty())
        c.refusal = warning(QStringLiteral("indicare il codice fiscale del lavoratore."), "txtCliente");
    else if (!isWorkRegisterCode(in.codFisc))
        c.refusal = IntervalRefusal{workRegisterCodeRefusal(in.codFisc), false, QStringLiteral("txtCliente")};
    if (c.refusal)
        return c;
    return checkDateInterval(in, QStringLiteral("il riepilogo"));
}

IntervalCheck checkDateInterval(const IntervalInput& in, const QString& purpose) {
    IntervalCheck c;
    const auto pick = [](const char* which, const char* what) {
        return QStringLiteral("indicare il %1 di %2 intervallo selezionandolo dall'elenco a cascata.")
            .arg(QLatin1String(which), QLatin1String(what));
    };
    const auto year = [](const char* what) {
        return QStringLiteral("indicare l'anno solare di %1 intervallo utilizzando quattro cifre.")
            .arg(QLatin1String(what));
    };
    if (trimView(in.dayFrom).isEmpty())
        c.refusal = warning(pick("giorno", "inizio"), "txtGiornoInizio");
    else if (trimView(in.monthFrom).isEmpty())
        c.refusal = warning(pick("mese", "inizio"), "txtMeseInizio");
    else if (in.yearFrom.size() != 4)
        c.refusal = warning(year("inizio"), "txtAnnoInizio");
    else if (trimView(in.dayTo).isEmpty())
        c.refusal = warning(pick("giorno", "fine"), "txtGiornoFine");
    else if (trimView(in.monthTo).isEmpty())
        c.refusal = warning(pick("mese", "fine"), "txtMeseFine");
    else if (in.yearTo.size() != 4)
        c.refusal = warning(year("fine"), "txtAnnoFine");
    if (c.refusal)
        return c;

    c.fromText = intervalDateText(in.dayFrom, in.monthFrom, in.yearFrom);
    const std::optional<QDate> from = parseDate(c.fromText);
    if (!from) {
        c.refusal = IntervalRefusal{QStringLiteral("Attenzione: la data ") + trimText(c.fromText) +
                                        QStringLiteral(" di inizio intervallo non esiste.") + validDate(purpose),
                                    true, QStringLiteral("txtGiornoInizio")};
        return c;
    }
    c.toText = intervalDateText(in.dayTo, in.monthTo, in.yearTo);
    const std::optional<QDate> to = parseDate(c.toText);
    if (!to) {
        c.refusal = IntervalRefusal{QStringLiteral("Attenzione: la data ") + trimText(c.toText) +
                                        QStringLiteral(" di fine intervallo non esiste.") + validDate(purpose),
                                    true, QStringLiteral("txtGiornoFine")};
        return c;
    }
    if (*from > *to)
        c.refusal = IntervalRefusal{
            QStringLiteral("Attenzione: la data di fine intervallo (") + trimText(c.toText) +
                QStringLiteral(") non può essere anteriore a quella di inizio intervallo (") + trimText(c.fromText) +
                QStringLiteral(").\n\r\n\rPer poter visualizzare ") + purpose +
                QStringLiteral(" è necessario indicare un intervallo di tempo valido."),
            true, QString()};
    return c;
}

std::optional<HoursAmount> parseHours(QStringView text) {
    const QStringView t = trimView(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    std::int64_t whole = 0;
    std::int64_t fraction = 0; // millionths
    std::int64_t scale = kMicroPerHour / 10;
    int wholeDigits = 0;
    int digits = 0;
    bool comma = false;
    bool roundUp = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            const int d = c.unicode() - '0';
            ++digits;
            if (!comma) {
                // Leading zeros are no size: "010" is ten.
                if ((whole != 0 || d != 0) && ++wholeDigits > 9)
                    return std::nullopt;
                whole = whole * 10 + d;
            } else if (scale > 0) {
                fraction += d * scale;
                scale /= 10;
            } else if (scale == 0) {
                roundUp = d >= 5; // the seventh decimal decides; later ones never change it
                scale = -1;
            }
        } else if (c == QLatin1Char(',') && !comma) {
            comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    const std::int64_t micro = whole * kMicroPerHour + fraction + (roundUp ? 1 : 0);
    return HoursAmount{negative ? -micro : micro};
}

QString formatHours(HoursAmount hours) {
    if (hours.micro == 0)
        return QStringLiteral("0"); // never "-0"
    const bool negative = hours.micro < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hours.micro)
                                       : static_cast<std::uint64_t>(hours.micro);
    std::uint64_t whole = magnitude / kMicroPerHour;
    std::uint64_t fraction = magnitude % kMicroPerHour;
    // At most 15 significant digits: cut decimals (rounding half up) when the whole part is long.
    const int wholeDigits = whole == 0 ? 0 : static_cast<int>(QString::number(whole).size());
    const int decimals = std::clamp(15 - wholeDigits, 0, 6);
    std::uint64_t unit = 1;
    for (int d = decimals; d < 6; ++d)
        unit *= 10;
    fraction = (fraction + unit / 2) / unit;
    std::uint64_t limit = 1;
    for (int d = 0; d < decimals; ++d)
        limit *= 10;
    if (fraction >= limit) {
        fraction -= limit;
        ++whole;
    }
    QString text = negative ? QStringLiteral("-") : QString();
    text += QString::number(whole);
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(decimals, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char(',') + digits;
    }
    if (text == QLatin1String("-0"))
        return QStringLiteral("0");
    return text;
}

QString intervalCaption(QStringView from, QStringView to) {
    return QStringLiteral("Dal   ") + trimText(from) + QStringLiteral("   al   ") + trimText(to);
}

QString worksCaption(std::int64_t count) {
    return QString::number(count) + QStringLiteral(" lavori svolti");
}

QStringList hoursTotalLines(const QString& interval, const QString& works, const QString& hours, qsizetype leftOut,
                            bool readWhole) {
    QStringList lines{QStringLiteral("- - - - - - - - - - - - - - - -"),
                      QStringLiteral("INTERVALLO SELEZIONATO:    ") + interval,
                      QStringLiteral("TOTALE LAVORI SVOLTI:      ") + works,
                      QStringLiteral("TOTALE ORE DI LAVORO:      ") + hours};
    if (leftOut > 0)
        lines << (leftOut == 1 ? QStringLiteral("1 scheda illeggibile esclusa dal totale")
                               : QStringLiteral("%1 schede illeggibili escluse dal totale").arg(leftOut));
    if (!readWhole)
        lines << QStringLiteral("Registro letto solo in parte: totale incompleto");
    return lines;
}

HoursSummary summariseHours(const QString& path, const QDate& from, const QDate& to, bool createMissing) {
    HoursSummary summary;
    if ((createMissing || path.isEmpty()) && !ensureArchive(path, sizeof(TRecLavoro))) {
        summary.ok = false;
        return summary;
    }
    QString date;
    const ArchiveScan scan = forEachRecord<TRecLavoro>(path, [&](const TRecLavoro& record, std::int64_t number) {
        GetText(&record.Data.length, decltype(record.Data)::capacity, date);
        if (date.isEmpty())
            return;
        const std::optional<QDate> when = parseDate(date);
        if (when && (*when < from || *when > to))
            return;
        const WorkEntry entry = workEntry(record);
        const std::optional<HoursAmount> hours = when ? parseHours(entry.totOre) : std::nullopt;
        std::int64_t sum = 0;
        if (!hours || __builtin_add_overflow(summary.total.micro, hours->micro, &sum)) {
            summary.leftOut.append({number, entry.data, entry.totOre});
            return;
        }
        summary.lines.append({workListLine(entry), number});
        summary.total.micro = sum;
    });
    summary.ok = scan.ok;
    return summary;
}

QString leftOutWarning(const QList<LeftOutWork>& leftOut) {
    QString text = QStringLiteral("Attenzione: le prestazioni seguenti del registro non sono leggibili (data non "
                                  "valida oppure ore non numeriche) e non compaiono nel riepilogo; il totale delle "
                                  "ore non le comprende:");
    for (const LeftOutWork& w : leftOut)
        text += QStringLiteral("\nscheda n. %1: data \"%2\", ore \"%3\"").arg(w.number).arg(w.data, w.totOre);
    return text;
}

} // namespace ombrisa
