#pragma once

// The hours summary: the works of one agent within a date interval and their total hours, and the
// checks of the interval screen that asks for it. Shared by the summary screens and ombrisa-tool.

#include "core/cards/cardfield.h"
#include "core/records/fieldtable.h"
#include "core/work/workregister.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace ombrisa {

// ---- Interval selection ----------------------------------------------------------------------------

// The day list of the interval screen: "01" to "31".
QStringList intervalDayItems();
// The month list of the interval screens: "Gennaio" to "Dicembre".
QStringList intervalMonthItems();
// 1..12 for a month name compared in lower case after trimming ("marzo", " MARZO "), 0 otherwise.
int intervalMonthNumber(QStringView name);
// Trimmed day + "/" + two-digit month + "/" + trimmed year ("05/03/2024"); empty for an unknown month.
QString intervalDateText(QStringView day, QStringView monthName, QStringView year);

// The boxes of the interval screens in Enter order: the agent's codice fiscale (the hours interval only),
// then day, month and year of the start and of the end. Days and months come from their lists; years take
// digits only. The builder takes their length limits from kIntervalBoxSizes.
inline constexpr std::array<CardField, 7> kIntervalFields{{
    {"txtCliente", "Indicare il codice fiscale dell'agente:", "CodFisc", CardFieldKind::Edit, CardFilter::TrimUpper},
    {"txtGiornoInizio", "Giorno:", "Giorno", CardFieldKind::ListOnly},
    {"txtMeseInizio", "Mese:", "Mese", CardFieldKind::ListOnly},
    {"txtAnnoInizio", "Anno:", "Anno", CardFieldKind::Edit, CardFilter::Digits},
    {"txtGiornoFine", "Giorno:", "Giorno", CardFieldKind::ListOnly},
    {"txtMeseFine", "Mese:", "Mese", CardFieldKind::ListOnly},
    {"txtAnnoFine", "Anno:", "Anno", CardFieldKind::Edit, CardFilter::Digits},
}};
// The interval boxes without the codice fiscale: the date boxes of every interval screen.
inline constexpr std::span<const CardField> kIntervalDateFields{kIntervalFields.data() + 1, 6};
// How many characters each kind of interval box holds.
inline constexpr std::array<FieldDef, 4> kIntervalBoxSizes{{
    {"CodFisc", 0, 16},
    {"Giorno", 17, 2},
    {"Mese", 20, 9},
    {"Anno", 30, 4},
}};
// Whether a day or month box keeps the (trimmed) `text` it is left with: a day exactly "01" to "31", a month
// by its name whatever its case (intervalMonthNumber). `field` is the box's field, "Giorno" or "Mese".
bool intervalBoxAccepts(QStringView field, const QString& text);

// What the interval screen's fields hold, as typed.
struct IntervalInput {
    QString codFisc, dayFrom, monthFrom, yearFrom, dayTo, monthTo, yearTo;
};
// The first check that fails: its message, whether it is a plain box (OK only) rather than a
// warning, and the field that takes the focus (empty: the focus stays).
struct IntervalRefusal {
    QString message;
    bool plain = false;
    QString focus;
};
// The checks in order: codice fiscale given and fit to name a register, start day, month and year
// (four characters), end day, month and year, start date existing, end date existing, end not before
// start. fromText / toText are the date texts built so far (what the screen's hidden labels show).
struct IntervalCheck {
    QString fromText, toText;
    std::optional<IntervalRefusal> refusal;
};
IntervalCheck checkInterval(const IntervalInput& input);
// The same checks without the codice fiscale (it is not looked at): the date boxes of every interval
// screen. `purpose` ends the refusals of a missing or reversed date ("il riepilogo", "le statistiche").
IntervalCheck checkDateInterval(const IntervalInput& input, const QString& purpose);

// ---- Summary ---------------------------------------------------------------------------------------

// An amount of hours held exactly, in millionths of an hour, so that decimal hours add up exactly:
// 3,650 works of "7,3" hours make 26645, not 26644,9999999983 as binary fractions would.
struct HoursAmount {
    std::int64_t micro = 0;
    friend bool operator==(HoursAmount, HoursAmount) = default;
};
inline constexpr std::int64_t kMicroPerHour = 1'000'000;

// Hours as a register stores them: a decimal number with "," as separator, blanks around it ignored
// ("8", "7,5", " 0,25 "). Nothing for anything else ("7.5", "7:30", "") nor for more than 9 digits
// before the comma. Decimals past the sixth are rounded half up.
std::optional<HoursAmount> parseHours(QStringView text);
// A total in the shortest decimal form, at most 15 significant digits, "," as separator: 15,5 and 5.
QString formatHours(HoursAmount hours);

// "Dal   <from>   al   <to>" and "<n> lavori svolti".
QString intervalCaption(QStringView from, QStringView to);
QString worksCaption(std::int64_t count);
// The lines printed after the summary's list: a broken line, then the interval, the number of works
// and the total hours, each after a 27-character label so the values line up.
// With records left out (unreadable, or a register not read to its end) a last line says the total is
// not complete: "N schede illeggibili escluse dal totale", or "registro letto solo in parte: totale
// incompleto".
QStringList hoursTotalLines(const QString& interval, const QString& works, const QString& hours,
                            qsizetype leftOut = 0, bool readWhole = true);

// A record that could not be counted: its number and its date and hours as stored.
struct LeftOutWork {
    std::int64_t number = 0;
    QString data, totOre;
};
struct HoursSummary {
    QList<WorkLine> lines;      // list lines of the works in the interval and their records, in file order
    HoursAmount total;          // their hours
    QList<LeftOutWork> leftOut; // dates that are no dates; works in the interval whose hours are no number
    bool ok = true;             // false when the register could not be opened or read to its end
};
// Reads the register at `path` from first record to last. A record with an empty date is skipped;
// one whose date is no date, or whose date lies in [from, to] (both ends included) but whose hours are
// no number, is left out of list and total and reported in leftOut. With createMissing the file is
// created empty when missing (the summary screen); otherwise a missing file is an empty register.
HoursSummary summariseHours(const QString& path, const QDate& from, const QDate& to, bool createMissing);

// The warning that names every left-out record and says the total leaves them out.
QString leftOutWarning(const QList<LeftOutWork>& leftOut);

} // namespace ombrisa
