#pragma once

// Call statistics: the call register's figures over an interval, for the statistics screen and
// `ombrisa-tool stats`. One scan gives every section; the screen draws them, the tool prints them.

#include "core/work/hourssummary.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace ombrisa {

// The figures of one group of calls.
struct StatsFigure {
    std::int64_t calls = 0;
    std::int64_t seconds = 0; // sum of the durations that could be read
    std::int64_t unread = 0;  // durations that could not be read (empty ones included)

    std::int64_t readDurations() const { return calls - unread; }
    // The sum of the read durations in whole minutes, half a minute rounded up.
    std::int64_t minutes() const { return (seconds + 30) / 60; }
    // The average of the read durations in seconds; nothing when none could be read.
    std::optional<double> averageSeconds() const;
    void add(std::optional<int> durationSeconds);
};

// One line of a section: the text as stored (trimmed), its figures.
struct StatsRow {
    QString voce;
    StatsFigure figure;
};

// A month of the calls-per-month chart: "aaaa-mm", all its calls, and how many were incoming,
// outgoing or of another type.
struct StatsMonth {
    QString voce;
    StatsFigure figure;
    std::int64_t incoming = 0, outgoing = 0, other = 0;
};

// A call whose date could not be read: counted in the total only.
struct UndatedCall {
    std::int64_t number = 0; // card number, from 1
    QString data;            // the date as stored
};

struct CallStats {
    StatsFigure total;
    // Every month of the interval in order, none left out for having no calls; an open end is the month
    // of the first or last call (no calls and an open end: no months).
    QList<StatsMonth> months;
    QList<StatsRow> tipo;       // most calls first, then by text
    QList<StatsRow> esito;
    QList<StatsRow> grado;      // grouped without regard to case; shown as first met
    QList<StatsRow> operatore;
    QList<StatsRow> oggetto;
    QList<StatsRow> giorno;     // "lunedì" .. "domenica", all seven
    QList<StatsRow> ora;        // "00" .. "23", all twenty-four; calls whose hour is no hour are left out
    std::int64_t weekHour[7][24] = {}; // calls by weekday (Monday first) and hour
    QList<UndatedCall> undated;
    bool ok = true;             // false when the register could not be opened or read to its end
    bool cancelled = false;
    QString error;              // why, when not ok
};

// The interval of a scan: either end may be open.
struct StatsInterval {
    std::optional<QDate> from, to;
};

// Progress: records done and the register's count; returning false stops the scan (cancelled).
using StatsProgress = std::function<bool(std::int64_t done, std::int64_t count)>;

// Reads the call register at `path` (a missing register is an empty one) and counts every call whose
// date lies in the interval (both ends included). The date is the stored date text, or, when that is
// empty, the day, month name and year fields. Calls whose date cannot be read count in `total` and
// `undated` only.
CallStats computeCallStats(const QString& path, const StatsInterval& interval, const StatsProgress& progress = {});

// The first `count` rows and, when there are more, one "Altro" row with the sum of the rest.
QList<StatsRow> topRows(const QList<StatsRow>& rows, int count);
inline const QString kStatsOther = QStringLiteral("Altro");

// The weekday names, Monday first.
const QStringList& weekdayNames();

// The CSV of `ombrisa-tool stats --csv`: a line of column names, then one line per figure, section by
// section (totale, mese, tipo, esito, grado, operatore, oggetto, giorno, ora).
QStringList statsCsvLines(const CallStats& stats);

// "4 min 30 s", "1 h 05 min", "—" when there is none: an average for the screens and the tool.
QString formatAverage(const StatsFigure& figure);

// "dal 01/01/2024 al 31/12/2024", "dal 01/01/2024", "fino al 31/12/2024", "tutto il registro".
QString intervalTitle(const StatsInterval& interval);

// ---- The statistics screen's interval ----------------------------------------------------------------

// The six date boxes of the statistics screen: all six empty ask for the whole register; otherwise they
// pass the date checks of every interval screen (checkDateInterval, "le statistiche"). `interval` is set
// only when there is no refusal.
struct StatsIntervalCheck {
    IntervalCheck check;
    StatsInterval interval;
};
StatsIntervalCheck checkStatsInterval(const IntervalInput& boxes);

// The screen's quick choices, each a whole period: this month, last month, this calendar year, the last
// twelve months (the current one and the eleven before it) and the whole register (both ends open).
enum class QuickInterval { ThisMonth, LastMonth, ThisYear, LastTwelveMonths, Everything };
StatsInterval quickInterval(QuickInterval choice, QDate today);

} // namespace ombrisa
