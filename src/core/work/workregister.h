#pragma once

// The work register of one agent: a file of TRecLavoro records in Archivio_Lavori named after the
// agent's codice fiscale. The rules the register screen, the hours summary and ombrisa-tool share.

#include "core/cards/cardfield.h"
#include "core/records/records.h"
#include "core/search/cardline.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace ombrisa {

// Only a codice fiscale made of letters A-Z / a-z and digits (blanks at both ends aside) may name a
// register file: anything else ("/", "..", a blank inside, a drive letter's colon) could reach a file
// outside Archivio_Lavori.
bool isWorkRegisterCode(QStringView codFisc);
// The warning shown when a register is refused for its codice fiscale.
QString workRegisterCodeRefusal(QStringView codFisc);

// The five texts of one work, as the register's edit boxes hold them.
struct WorkEntry {
    QString data, attivita, luogo, orario, totOre;
};
WorkEntry workEntry(const TRecLavoro& record); // each field converted and trimmed
TRecLavoro workRecord(const WorkEntry& entry); // each text trimmed, converted and cut to its field

// How many characters the edit boxes accept: the activity and the time span as wide as their columns
// in the list line, the hours three digits.
inline constexpr int kDataBoxLimit = 10;
inline constexpr int kAttivitaBoxLimit = 46;
inline constexpr int kLuogoBoxLimit = 28;
inline constexpr int kOrarioBoxLimit = 26;
inline constexpr int kTotOreBoxLimit = 3;

// The register's edit boxes, in screen and Enter order, as the card builder takes them.
inline constexpr std::array<CardField, 5> kWorkCardFields{{
    {"txtData", "Data:", "Data", CardFieldKind::Edit, CardFilter::None, 0, kDataBoxLimit},
    {"txtAttivita", "Attività svolta:", "Attivita", CardFieldKind::Edit, CardFilter::None, 0, kAttivitaBoxLimit},
    {"txtLuogo", "Luogo:", "Luogo", CardFieldKind::Edit, CardFilter::None, 0, kLuogoBoxLimit},
    {"txtOrario", "Orario:", "Orario", CardFieldKind::Edit, CardFilter::None, 0, kOrarioBoxLimit},
    {"txtTotOre", "Totale ore:", "TotOre", CardFieldKind::Edit, CardFilter::Digits, 0, kTotOreBoxLimit},
}};

// The list line of one work: activity (46), "   Data: ", date (10), "  Luogo: ", place (28),
// "  Orario: ", time span (26), "  Tot. ore: ", hours. Each text is trimmed, then padded with blanks
// or cut to its width; the hours are neither padded nor cut.
QString workListLine(const WorkEntry& entry);
// The length of the list line of a work whose every box is full: what a work list must show whole.
inline constexpr int kWorkListLineLength = 46 + 9 + 10 + 9 + 28 + 10 + 26 + 12 + kTotOreBoxLimit;

// The save checks of the register screen, in order: date given, date valid, activity, place, time
// span, hours. The first that fails gives its message, whether it is a plain box (OK only) rather than
// a warning, and the box that takes the focus.
struct WorkSaveRefusal {
    QString message;
    bool plain = false;
    QString focus;
};
std::optional<WorkSaveRefusal> workSaveRefusal(const WorkEntry& typed);

// One listed line and the number (1-based) of the record it shows.
struct WorkLine {
    QString line;
    std::int64_t number = 0;
};
// The lines as a list screen shows them, each with its record.
std::vector<CardLine> cardLines(const QList<WorkLine>& lines);

// The register's list: every record in file order except those with an empty date. The file is
// created empty when missing. `ok` is false when the file could not be opened or read to its end;
// the lines read until then are kept.
struct WorkRegisterList {
    QList<WorkLine> lines;
    bool ok = true;
};
WorkRegisterList loadWorkRegister(const QString& path);

// Reads record `number` (1-based). False when the file cannot be opened or has no such record.
bool readWorkRecord(const QString& path, std::int64_t number, TRecLavoro& record);
bool readWork(const QString& path, std::int64_t number, WorkEntry& entry);
// Writes a work: over record `number` when it is above 0, otherwise appended after the last record.
// Returns the number of the record written, nothing when the write did not reach the disk.
std::optional<std::int64_t> saveWork(const QString& path, std::int64_t number, const WorkEntry& entry);
// Writes over record `number` only while it still holds `loaded`, the bytes read when the work was
// opened for changing: compared under the exclusive lock, so a change another workstation saved in
// the meantime is never overwritten silently (ChangedMeanwhile, nothing written).
enum class WorkUpdate { Written, ChangedMeanwhile, Failed };
WorkUpdate updateWork(const QString& path, std::int64_t number, const TRecLavoro& loaded, const WorkEntry& entry);

} // namespace ombrisa
