#include "core/stats/callstats.h"

#include "core/cards/callcard.h"
#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/search/searchrules.h"
#include "core/storage/codepage.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/stats/duration.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ombrisa {

std::optional<double> StatsFigure::averageSeconds() const {
    const std::int64_t n = readDurations();
    if (n <= 0)
        return std::nullopt;
    return static_cast<double>(seconds) / static_cast<double>(n);
}

void StatsFigure::add(std::optional<int> durationSeconds) {
    ++calls;
    if (durationSeconds)
        seconds += *durationSeconds;
    else
        ++unread;
}

const QStringList& weekdayNames() {
    static const QStringList names{QStringLiteral("lunedì"),  QStringLiteral("martedì"), QStringLiteral("mercoledì"),
                                   QStringLiteral("giovedì"), QStringLiteral("venerdì"), QStringLiteral("sabato"),
                                   QStringLiteral("domenica")};
    return names;
}

namespace {

// The stored bytes of a field without the blanks and controls around them.
QByteArray trimmedBytes(const std::uint8_t* field, std::size_t capacity) {
    std::size_t length = std::min<std::size_t>(field[0], capacity);
    const char* text = reinterpret_cast<const char*>(field + 1);
    std::size_t begin = 0;
    while (begin < length && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (length > begin && static_cast<unsigned char>(text[length - 1]) <= 32)
        --length;
    // Raw: the key lives as long as the record buffer; a group copies it when it is made.
    return QByteArray::fromRawData(text + begin, static_cast<qsizetype>(length - begin));
}

template <std::size_t N> QByteArray trimmedBytes(const ShortString<N>& f) {
    return trimmedBytes(&f.length, N);
}

// Groups calls by a field's stored bytes, decoding a text only once per group.
class Grouper {
public:
    explicit Grouper(bool foldCase) : foldCase_(foldCase) {}

    StatsFigure& at(const QByteArray& bytes) {
        QByteArray key = bytes;
        if (foldCase_) {
            const auto& lower = cp1252LowerTable();
            scratch_.resize(bytes.size());
            for (qsizetype i = 0; i < bytes.size(); ++i)
                scratch_[i] = static_cast<char>(lower[static_cast<unsigned char>(bytes[i])]);
            key = QByteArray::fromRawData(scratch_.constData(), scratch_.size());
        }
        const auto it = index_.constFind(key);
        if (it != index_.constEnd())
            return rows_[static_cast<std::size_t>(*it)].figure;
        index_.insert(QByteArray(key.constData(), key.size()), static_cast<int>(rows_.size()));
        rows_.push_back({fromCp1252(bytes.constData(), bytes.size()), {}});
        return rows_.back().figure;
    }

    // Most calls first, then by text.
    QList<StatsRow> sorted() const {
        QList<StatsRow> out(rows_.begin(), rows_.end());
        std::stable_sort(out.begin(), out.end(), [](const StatsRow& a, const StatsRow& b) {
            if (a.figure.calls != b.figure.calls)
                return a.figure.calls > b.figure.calls;
            return a.voce < b.voce;
        });
        return out;
    }

private:
    bool foldCase_;
    QByteArray scratch_;
    QHash<QByteArray, int> index_;
    std::vector<StatsRow> rows_;
};

// A small cache over texts that repeat a great deal (dates, durations, hours).
template <typename Value, typename Read> class Memo {
public:
    explicit Memo(Read read) : read_(read) {}
    Value get(const QByteArray& bytes) {
        const auto it = cache_.constFind(bytes);
        if (it != cache_.constEnd())
            return *it;
        const Value v = read_(bytes);
        if (cache_.size() < 100000)
            cache_.insert(QByteArray(bytes.constData(), bytes.size()), v);
        return v;
    }

private:
    Read read_;
    QHash<QByteArray, Value> cache_;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int monthKey(const QDate& d) {
    return d.year() * 12 + (d.month() - 1);
}

QString monthVoce(int key) {
    return QStringLiteral("%1-%2").arg(key / 12, 4, 10, QLatin1Char('0')).arg(key % 12 + 1, 2, 10, QLatin1Char('0'));
}

} // namespace

CallStats computeCallStats(const QString& path, const StatsInterval& interval, const StatsProgress& progress) {
    CallStats stats;
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        // No register yet: every weekday and hour, each with no calls.
        for (int d = 0; d < 7; ++d)
            stats.giorno.append({weekdayNames()[d], {}});
        for (int h = 0; h < 24; ++h)
            stats.ora.append({QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')), {}});
        return stats;
    }
    TRecordFile file;
    if (!file.OpenOrCreate(path, sizeof(TRecChiamata), TRecordFile::Access::Read)) {
        stats.ok = false;
        stats.error = file.ErrorString();
        return stats;
    }

    const auto readDuration = [](const QByteArray& b) { return parseDuration(fromCp1252(b.constData(), b.size())); };
    const auto readDate = [](const QByteArray& b) { return parseDate(fromCp1252(b.constData(), b.size())); };
    const auto readHour = [](const QByteArray& b) -> int {
        bool ok = false;
        const int h = fromCp1252(b.constData(), b.size()).toInt(&ok);
        return ok && h >= 0 && h <= 23 ? h : -1;
    };
    Memo<std::optional<int>, decltype(readDuration)> durations(readDuration);
    Memo<std::optional<QDate>, decltype(readDate)> dates(readDate);
    Memo<int, decltype(readHour)> hours(readHour);

    Grouper tipo(false), esito(false), grado(true), operatore(false), oggetto(false);
    std::vector<StatsFigure> days(7), hourFigures(24);
    struct MonthCount {
        StatsFigure figure;
        std::int64_t incoming = 0, outgoing = 0, other = 0;
    };
    QHash<int, MonthCount> months;
    int firstMonth = 0, lastMonth = -1;

    const QByteArray entrata = kTipoEntrata.toLower().toLatin1();
    const QByteArray uscita = kTipoUscita.toLower().toLatin1();
    const auto& lower = cp1252LowerTable();
    const auto isType = [&lower](const QByteArray& bytes, const QByteArray& wanted) {
        if (bytes.size() != wanted.size())
            return false;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            if (lower[static_cast<unsigned char>(bytes[i])] != static_cast<unsigned char>(wanted[i]))
                return false;
        return true;
    };

    const std::int64_t count = file.Count();
    TRecChiamata rec;
    std::int64_t done = 0;
    while (!file.AtEnd()) {
        if (!file.ReadRecord(rec)) {
            stats.ok = false;
            stats.error = file.ErrorString();
            break;
        }
        ++done;
        if (progress && (done & 4095) == 0 && !progress(done, count)) {
            stats.cancelled = true;
            break;
        }
        const std::optional<int> duration = durations.get(trimmedBytes(rec.Durata));
        std::optional<QDate> date;
        const QByteArray dateBytes = trimmedBytes(rec.DataRit);
        if (!dateBytes.isEmpty())
            date = dates.get(dateBytes);
        else
            date = parseDate(callDateText(GetText(rec.GiornoRit), GetText(rec.MeseRit), GetText(rec.AnnoRit)));
        if (date && ((interval.from && *date < *interval.from) || (interval.to && *date > *interval.to)))
            continue;
        stats.total.add(duration);
        if (!date) {
            stats.undated.append({done, fromCp1252(dateBytes.constData(), dateBytes.size())});
            continue;
        }

        const QByteArray type = trimmedBytes(rec.Tipo);
        tipo.at(type).add(duration);
        esito.at(trimmedBytes(rec.Esito)).add(duration);
        grado.at(trimmedBytes(rec.Grado)).add(duration);
        operatore.at(trimmedBytes(rec.Operatore)).add(duration);
        oggetto.at(trimmedBytes(rec.Oggetto)).add(duration);

        const int key = monthKey(*date);
        MonthCount& m = months[key];
        m.figure.add(duration);
        if (isType(type, entrata))
            ++m.incoming;
        else if (isType(type, uscita))
            ++m.outgoing;
        else
            ++m.other;
        if (lastMonth < firstMonth) {
            firstMonth = lastMonth = key;
        } else {
            firstMonth = std::min(firstMonth, key);
            lastMonth = std::max(lastMonth, key);
        }

        const int weekday = date->dayOfWeek() - 1;
        days[static_cast<std::size_t>(weekday)].add(duration);
        QByteArray hourBytes = trimmedBytes(rec.OreRit);
        if (hourBytes.isEmpty()) {
            hourBytes = trimmedBytes(rec.OraRit);
            hourBytes = hourBytes.left(hourBytes.indexOf(':'));
        }
        int hour = -1;
        if (hourBytes.size() == 2 && isDigit(hourBytes[0]) && isDigit(hourBytes[1])) {
            // Two digits, the form the card stores: read here, without a look-up.
            const int h = (hourBytes[0] - '0') * 10 + (hourBytes[1] - '0');
            hour = h <= 23 ? h : -1;
        } else if (!hourBytes.isEmpty()) {
            hour = hours.get(hourBytes);
        }

        if (hour >= 0) {
            hourFigures[static_cast<std::size_t>(hour)].add(duration);
            ++stats.weekHour[weekday][hour];
        }
    }
    if (!file.Close() && stats.ok) {
        stats.ok = false;
        stats.error = file.ErrorString();
    }

    for (int key = firstMonth; key <= lastMonth; ++key) {
        const MonthCount m = months.value(key);
        stats.months.append({monthVoce(key), m.figure, m.incoming, m.outgoing, m.other});
    }
    stats.tipo = tipo.sorted();
    stats.esito = esito.sorted();
    stats.grado = grado.sorted();
    stats.operatore = operatore.sorted();
    stats.oggetto = oggetto.sorted();
    for (int d = 0; d < 7; ++d)
        stats.giorno.append({weekdayNames()[d], days[static_cast<std::size_t>(d)]});
    for (int h = 0; h < 24; ++h)
        stats.ora.append({QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')), hourFigures[static_cast<std::size_t>(h)]});
    return stats;
}

QList<StatsRow> topRows(const QList<StatsRow>& rows, int count) {
    if (rows.size() <= count)
        return rows;
    QList<StatsRow> out = rows.mid(0, count);
    StatsRow rest{kStatsOther, {}};
    for (qsizetype i = count; i < rows.size(); ++i) {
        rest.figure.calls += rows[i].figure.calls;
        rest.figure.seconds += rows[i].figure.seconds;
        rest.figure.unread += rows[i].figure.unread;
    }
    out.append(rest);
    return out;
}

namespace {

QString csvField(const QString& text) {
    // The separator and line breaks cannot be part of a field: a voce holding them is quoted.
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QString& section, const QString& voce, const StatsFigure& f) {
    return section + QLatin1Char(';') + csvField(voce) + QLatin1Char(';') + QString::number(f.calls) +
           QLatin1Char(';') + QString::number(f.minutes()) + QLatin1Char(';') + QString::number(f.unread);
}

} // namespace

QStringList statsCsvLines(const CallStats& s) {
    QStringList lines{QStringLiteral("sezione;voce;chiamate;minuti;durate_non_lette"),
                      csvLine(QStringLiteral("totale"), QString(), s.total)};
    for (const StatsMonth& m : s.months)
        lines.append(csvLine(QStringLiteral("mese"), m.voce, m.figure));
    const std::pair<const char*, const QList<StatsRow>*> sections[] = {
        {"tipo", &s.tipo},           {"esito", &s.esito},   {"grado", &s.grado}, {"operatore", &s.operatore},
        {"oggetto", &s.oggetto},     {"giorno", &s.giorno}, {"ora", &s.ora}};
    for (const auto& [name, rows] : sections)
        for (const StatsRow& r : *rows)
            lines.append(csvLine(QLatin1String(name), r.voce, r.figure));
    return lines;
}

QString formatAverage(const StatsFigure& figure) {
    const std::optional<double> avg = figure.averageSeconds();
    if (!avg)
        return QStringLiteral("—");
    const std::int64_t s = std::llround(*avg);
    if (s >= 3600) {
        const std::int64_t m = (s + 30) / 60;
        return QStringLiteral("%1 h %2 min").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0'));
    }
    if (s >= 60)
        return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 s").arg(s);
}

QString intervalTitle(const StatsInterval& interval) {
    if (interval.from && interval.to)
        return QStringLiteral("dal %1 al %2").arg(formatDate(*interval.from), formatDate(*interval.to));
    if (interval.from)
        return QStringLiteral("dal %1").arg(formatDate(*interval.from));
    if (interval.to)
        return QStringLiteral("fino al %1").arg(formatDate(*interval.to));
    return QStringLiteral("tutto il registro");
}

StatsIntervalCheck checkStatsInterval(const IntervalInput& boxes) {
    StatsIntervalCheck result;
    const bool allEmpty = trimView(boxes.dayFrom).isEmpty() && trimView(boxes.monthFrom).isEmpty() &&
                          trimView(boxes.yearFrom).isEmpty() && trimView(boxes.dayTo).isEmpty() &&
                          trimView(boxes.monthTo).isEmpty() && trimView(boxes.yearTo).isEmpty();
    if (allEmpty)
        return result;
    result.check = checkDateInterval(boxes, QStringLiteral("le statistiche"));
    if (!result.check.refusal) {
        result.interval.from = parseDate(result.check.fromText);
        result.interval.to = parseDate(result.check.toText);
    }
    return result;
}

StatsInterval quickInterval(QuickInterval choice, QDate today) {
    const QDate monthStart(today.year(), today.month(), 1);
    const QDate monthEnd = monthStart.addMonths(1).addDays(-1);
    switch (choice) {
    case QuickInterval::ThisMonth:
        return {monthStart, monthEnd};
    case QuickInterval::LastMonth:
        return {monthStart.addMonths(-1), monthStart.addDays(-1)};
    case QuickInterval::ThisYear:
        return {QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)};
    case QuickInterval::LastTwelveMonths:
        return {monthStart.addMonths(-11), monthEnd};
    case QuickInterval::Everything:
        break;
    }
    return {};
}

} // namespace ombrisa
