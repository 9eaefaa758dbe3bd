#include "core/work/hourssummary.h"

#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/work/workregister.h"

#include <QFileInfo>

namespace ombrisa {

QStringList intervalDayItems() {
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days.append(QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')));
    return days;
}

int intervalMonthNumber(QStringView name) {
    const QString wanted = trimView(name).toString().toLower();
    for (std::size_t i = 0; i < kMonthNames.size(); ++i)
        if (wanted == kMonthNames[i].toLower())
            return static_cast<int>(i) + 1;
    return 0;
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

std::optional<double> parseHours(QStringView text) {
    const QStringView t = trimView(text);
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    bool comma = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.unicode() >= '0' && c.unicode() <= '9')
            ++digits;
        else if (c == QLatin1Char(',') && !comma)
            comma = true;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    QString plain = t.toString();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString formatHours(double hours) {
    if (hours == 0)
        return QStringLiteral("0"); // never "-0"
    QString text = QString::number(hours, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString intervalCaption(QStringView from, QStringView to) {
    return QStringLiteral("Dal   ") + trimText(from) + QStringLiteral("   al   ") + trimText(to);
}

QString worksCaption(std::int64_t count) {
    return QString::number(count) + QStringLiteral(" lavori svolti");
}

QStringList hoursTotalLines(const QString& interval, const QString& works, const QString& hours) {
    return {QStringLiteral("- - - - - - - - - - - - - - - -"), QStringLiteral("INTERVALLO SELEZIONATO:    ") + interval,
            QStringLiteral("TOTALE LAVORI SVOLTI:      ") + works,
            QStringLiteral("TOTALE ORE DI LAVORO:      ") + hours};
}

HoursSummary summariseHours(const QString& path, const QDate& from, const QDate& to, bool createMissing) {
    HoursSummary summary;
    if (!createMissing && !path.isEmpty() && !QFileInfo::exists(path))
        return summary;
    TRecordFile file;
    if (!file.OpenOrCreate(path, sizeof(TRecLavoro), TRecordFile::Access::Read)) {
        summary.ok = false;
        return summary;
    }
    TRecLavoro record;
    QString date;
    while (!file.AtEnd()) {
        if (!file.ReadRecord(record)) {
            summary.ok = false;
            break;
        }
        GetText(&record.Data.length, decltype(record.Data)::capacity, date);
        if (date.isEmpty())
            continue;
        const std::optional<QDate> when = parseDate(date);
        if (when && (*when < from || *when > to))
            continue;
        const WorkEntry entry = workEntry(record);
        const std::optional<double> hours = when ? parseHours(entry.totOre) : std::nullopt;
        if (!hours) {
            summary.leftOut.append({file.Position(), entry.data, entry.totOre});
            continue;
        }
        summary.lines.append(workListLine(entry));
        summary.total += *hours;
    }
    file.Close();
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
