#include "core/stats/callstats.h"

#include "core/cards/callcard.h"
#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/search/searchrules.h"
#include "core/storage/codepage.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/storage/texttable.h"
#include "core/stats/duration.h"

#include <QFileInfo>
#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <cstring>
#include <limits>
#include <string>
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

// How a call's type counts in the calls-per-month chart.
enum class Direction : char { Incoming, Outgoing, Other };

Direction directionOf(QByteArrayView type) {
    static const QByteArray entrata = kTipoEntrata.toLower().toLatin1();
    static const QByteArray uscita = kTipoUscita.toLower().toLatin1();
    const auto& lower = cp1252LowerTable();
    const auto is = [&](const QByteArray& wanted) {
        if (type.size() != wanted.size())
            return false;
        for (qsizetype i = 0; i < type.size(); ++i)
            if (lower[static_cast<unsigned char>(type[i])] != static_cast<unsigned char>(wanted[i]))
                return false;
        return true;
    };
    return is(entrata) ? Direction::Incoming : is(uscita) ? Direction::Outgoing : Direction::Other;
}

// A text met in a field: the figures of its calls, its group and, for the types, its direction.
struct GroupedText {
    StatsFigure figure;
    int row = 0;
    Direction direction = Direction::Other;
};

// Groups calls by a field's stored bytes. The scan adds each call to the figures of its text as stored;
// the texts are decoded, and folded into their groups, once each, when first met and at the end.
class Grouper {
public:
    explicit Grouper(bool foldCase) : foldCase_(foldCase) {}

    // The text's entry, made when first met; the reference holds until the next call.
    GroupedText& at(QByteArrayView bytes) {
        if (GroupedText* text = byText_.find(bytes))
            return *text;
        GroupedText text;
        text.direction = directionOf(bytes);
        if (foldCase_) {
            const auto& lower = cp1252LowerTable();
            std::array<char, 256> folded; // a field holds at most 250 bytes
            for (qsizetype i = 0; i < bytes.size(); ++i)
                folded[static_cast<std::size_t>(i)] = static_cast<char>(lower[static_cast<unsigned char>(bytes[i])]);
            const QByteArrayView key(folded.data(), bytes.size());
            if (const int* found = byFolded_.find(key)) {
                text.row = *found;
            } else {
                text.row = newRow(bytes);
                byFolded_.insert(key, text.row);
            }
        } else {
            text.row = newRow(bytes);
        }
        return byText_.insert(bytes, text);
    }

    // The groups, most calls first, then by text; a group is shown by the first text met of it.
    QList<StatsRow> sorted() const {
        QList<StatsRow> out(rows_.begin(), rows_.end());
        byText_.forEachValue([&out](const GroupedText& text) {
            StatsFigure& f = out[text.row].figure;
            f.calls += text.figure.calls;
            f.seconds += text.figure.seconds;
            f.unread += text.figure.unread;
        });
        std::stable_sort(out.begin(), out.end(), [](const StatsRow& a, const StatsRow& b) {
            if (a.figure.calls != b.figure.calls)
                return a.figure.calls > b.figure.calls;
            return a.voce < b.voce;
        });
        return out;
    }

private:
    int newRow(QByteArrayView bytes) {
        rows_.push_back({fromCp1252(bytes.data(), bytes.size()), {}});
        return static_cast<int>(rows_.size()) - 1;
    }

    bool foldCase_;
    TextTable<GroupedText> byText_;
    TextTable<int> byFolded_; // folded to lower case, when the grouping folds case
    std::vector<StatsRow> rows_;
};

// A cache over texts that repeat a great deal (dates, durations, hours).
template <typename Value, typename Read> class Memo {
public:
    explicit Memo(Read read) : read_(read) {}
    Value get(QByteArrayView bytes) {
        if (const Value* v = cache_.find(bytes))
            return *v;
        const Value v = read_(bytes);
        if (cache_.size() < 100000)
            cache_.insert(bytes, v);
        return v;
    }

private:
    Read read_;
    TextTable<Value> cache_;
};

// A field's stored text, trimmed, as bytes.
template <std::size_t N> QByteArrayView storedText(const ShortString<N>& field) {
    return ombrisa::storedText(&field.length, N);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What the sections need of a call's date, worked out once per distinct date text.
struct CallDay {
    qint64 julian = 0;
    int month = 0;   // year * 12 + month - 1
    int weekday = 0; // Monday 0
};

std::optional<CallDay> callDay(const std::optional<QDate>& date) {
    if (!date)
        return std::nullopt;
    return CallDay{date->toJulianDay(), date->year() * 12 + (date->month() - 1), date->dayOfWeek() - 1};
}

QString monthVoce(int key) {
    return QStringLiteral("%1-%2").arg(key / 12, 4, 10, QLatin1Char('0')).arg(key % 12 + 1, 2, 10, QLatin1Char('0'));
}

// The calls of a month, kept for every month from the first met to the last.
struct MonthCount {
    StatsFigure figure;
    std::int64_t incoming = 0, outgoing = 0, other = 0;
};

class MonthCounts {
public:
    MonthCount& at(int key) {
        if (months_.empty()) {
            first_ = key;
            months_.emplace_back();
        } else if (key < first_) {
            months_.insert(months_.begin(), static_cast<std::size_t>(first_ - key), MonthCount{});
            first_ = key;
        } else if (key - first_ >= static_cast<int>(months_.size())) {
            months_.resize(static_cast<std::size_t>(key - first_) + 1);
        }
        return months_[static_cast<std::size_t>(key - first_)];
    }
    int first() const { return first_; }
    const std::deque<MonthCount>& months() const { return months_; }

private:
    int first_ = 0;
    std::deque<MonthCount> months_;
};

// The months of the chart: every month of the interval, an open end taken from the first or last month
// with calls. An interval of more than a hundred years (typed by mistake) keeps to the calls' months.
QList<StatsMonth> intervalMonths(const MonthCounts& counts, const StatsInterval& interval) {
    constexpr int kMaxMonths = 1200;
    const auto key = [](QDate d) { return d.year() * 12 + (d.month() - 1); };
    const bool met = !counts.months().empty();
    const int firstMet = counts.first();
    const int lastMet = firstMet + static_cast<int>(counts.months().size()) - 1;
    if (!met && (!interval.from || !interval.to))
        return {};
    int first = interval.from ? key(*interval.from) : firstMet;
    int last = interval.to ? key(*interval.to) : lastMet;
    if (last - first + 1 > kMaxMonths) {
        if (!met)
            return {};
        first = firstMet;
        last = lastMet;
    }
    QList<StatsMonth> months;
    for (int k = first; k <= last; ++k) {
        StatsMonth month{monthVoce(k), {}, 0, 0, 0};
        if (met && k >= firstMet && k <= lastMet) {
            const MonthCount& m = counts.months()[static_cast<std::size_t>(k - firstMet)];
            month.figure = m.figure;
            month.incoming = m.incoming;
            month.outgoing = m.outgoing;
            month.other = m.other;
        }
        months.append(month);
    }
    return months;
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
        stats.months = intervalMonths(MonthCounts(), interval);
        return stats;
    }
    TRecordFile file;
    if (!file.OpenOrCreate(path, sizeof(TRecChiamata), TRecordFile::Access::Read)) {
        stats.ok = false;
        stats.error = file.ErrorString();
        return stats;
    }

    const auto readDuration = [](QByteArrayView b) { return parseDuration(fromCp1252(b.data(), b.size())); };
    const auto readDate = [](QByteArrayView b) { return callDay(parseDate(fromCp1252(b.data(), b.size()))); };
    const auto readHour = [](QByteArrayView b) -> int {
        bool ok = false;
        const int h = fromCp1252(b.data(), b.size()).toInt(&ok);
        return ok && h >= 0 && h <= 23 ? h : -1;
    };
    Memo<std::optional<int>, decltype(readDuration)> durations(readDuration);
    Memo<std::optional<CallDay>, decltype(readDate)> dates(readDate);
    Memo<int, decltype(readHour)> hours(readHour);

    Grouper tipo(false), esito(false), grado(true), operatore(false), oggetto(false);
    std::vector<StatsFigure> days(7), hourFigures(24);
    MonthCounts months;
    // The interval as day numbers, an open end as the farthest day there is.
    const qint64 from = interval.from ? interval.from->toJulianDay() : std::numeric_limits<qint64>::min();
    const qint64 to = interval.to ? interval.to->toJulianDay() : std::numeric_limits<qint64>::max();

    const std::int64_t count = file.Count();
    TRecChiamata rec;
    // The date of the call before: a register written day by day holds runs of calls of the same day.
    std::array<char, sizeof rec.DataRit.text> previousDate{};
    qsizetype previousDateSize = -1;
    std::optional<CallDay> previousDay;
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
        const std::optional<int> duration = durations.get(storedText(rec.Durata));
        std::optional<CallDay> day;
        const QByteArrayView dateBytes = storedText(rec.DataRit);
        if (!dateBytes.isEmpty()) {
            if (dateBytes.size() != previousDateSize ||
                !sameBytes(dateBytes.data(), previousDate.data(), dateBytes.size())) {
                previousDay = dates.get(dateBytes);
                previousDateSize = dateBytes.size();
                std::memcpy(previousDate.data(), dateBytes.data(), static_cast<std::size_t>(dateBytes.size()));
            }
            day = previousDay;
        } else
            day = callDay(parseDate(callDateText(GetText(rec.GiornoRit), GetText(rec.MeseRit), GetText(rec.AnnoRit))));
        if (day && (day->julian < from || day->julian > to))
            continue;
        stats.total.add(duration);
        if (!day) {
            stats.undated.append({done, fromCp1252(dateBytes.data(), dateBytes.size())});
            continue;
        }

        GroupedText& type = tipo.at(storedText(rec.Tipo));
        type.figure.add(duration);
        const Direction direction = type.direction;
        esito.at(storedText(rec.Esito)).figure.add(duration);
        grado.at(storedText(rec.Grado)).figure.add(duration);
        operatore.at(storedText(rec.Operatore)).figure.add(duration);
        oggetto.at(storedText(rec.Oggetto)).figure.add(duration);

        MonthCount& m = months.at(day->month);
        m.figure.add(duration);
        switch (direction) {
        case Direction::Incoming:
            ++m.incoming;
            break;
        case Direction::Outgoing:
            ++m.outgoing;
            break;
        case Direction::Other:
            ++m.other;
            break;
        }

        days[static_cast<std::size_t>(day->weekday)].add(duration);
        QByteArrayView hourBytes = storedText(rec.OreRit);
        if (hourBytes.isEmpty()) {
            // "hh:mm": the text before the colon, nothing when there is none.
            hourBytes = storedText(rec.OraRit);
            const qsizetype colon = hourBytes.indexOf(':');
            hourBytes = hourBytes.first(colon < 0 ? 0 : colon);
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
            ++stats.weekHour[day->weekday][hour];
        }
    }
    if (!file.Close() && stats.ok) {
        stats.ok = false;
        stats.error = file.ErrorString();
    }

    stats.months = intervalMonths(months, interval);
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
