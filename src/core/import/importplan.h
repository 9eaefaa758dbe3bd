#pragma once

// Importing client and call cards from a sheet: the fields a column can fill, the guesses from the
// headings, and the plan that both the preview and the import use: every row as it would be stored,
// with its verdict.

#include "core/import/appendall.h"
#include "core/import/sheettable.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace ombrisa {

enum class ImportArchive { Clienti, Chiamate };

// A field a column can fill: its key (the card control's name, or a key of its own for a column that
// fills more than one field) and the caption the mapping list shows.
struct ImportTarget {
    QString key;
    QString caption;
};

// The targets of an archive, in the order of the card's boxes.
const std::vector<ImportTarget>& importTargets(ImportArchive archive);
// The caption of a target key ("Ignora" for an empty key).
QString importTargetCaption(ImportArchive archive, const QString& key);
inline const QString kIgnoreCaption = QStringLiteral("Ignora");

// The caption of a record field as the card shows it ("Codice fiscale" for CodFisc); the field's name for
// a field without a box.
QString importFieldCaption(ImportArchive archive, const char* field);

// The target guessed from a column heading (Italian and English synonyms, without regard to case,
// accents and punctuation); empty for "ignora".
QString guessTarget(ImportArchive archive, QStringView heading);
// The guesses for all headings; a target guessed for two columns keeps only the first.
QStringList guessMapping(ImportArchive archive, const QStringList& headings);
// The mapping chosen at the last import of a file with exactly these headings into this archive (kept
// in the data folder, so every workstation sees it), or the guesses when there was none.
QStringList rememberedMapping(ImportArchive archive, const QStringList& headings);
// Keeps `mapping` for the next import of these headings. False when it could not be written.
bool rememberMapping(ImportArchive archive, const QStringList& headings, const QStringList& mapping);
inline const QString kImportMappingsFile = QStringLiteral("Importazioni.ini");

// Why a mapping cannot be used (a field filled by two columns, an Italian sentence), empty when it can.
QString mappingProblem(ImportArchive archive, const QStringList& mapping);

enum class RowVerdict { Ready, Duplicate, Error };

struct PlannedRow {
    int line = 0;
    RowVerdict verdict = RowVerdict::Ready;
    QString reason;                  // the error, or the duplicate's description
    QStringList warnings;            // failed code checks, texts cut or changed to fit the archive
    std::int64_t duplicateCard = 0;  // a duplicate of this card of the archive
    int duplicateLine = 0;           // or of the row at this line of the file
};

struct ImportPlan {
    ImportArchive archive = ImportArchive::Clienti;
    std::vector<PlannedRow> rows;
    std::size_t recordSize = 0;
    // Every row's card as it would be stored, kept short: for each filled text field its offset (two
    // bytes, low first), then its length byte and text. Row i's fields start at cardStart[i].
    std::vector<std::uint8_t> cards;
    std::vector<std::size_t> cardStart;
    ArchiveFingerprint fingerprint; // the archive the verdicts were made against
    qsizetype ready = 0;
    qsizetype duplicates = 0;
    qsizetype errors = 0;

    // The card of row `row` as it would be stored, into `out` (recordSize bytes).
    void record(std::size_t row, std::uint8_t* out) const;
    std::vector<std::uint8_t> record(std::size_t row) const;
};

// The record size and the archive file of an archive.
std::size_t importRecordSize(ImportArchive archive);
QString importArchiveFile(ImportArchive archive);

// Makes the plan for `table` with `mapping` (a target key per column, empty to ignore) against the
// archive in the program's folder. False with `error` when the archive cannot be read.
bool makeImportPlan(ImportArchive archive, const SheetTable& table, const QStringList& mapping, ImportPlan& plan,
                    QString* error);

enum class ImportOutcome { Written, ArchiveChanged, Cancelled, Failed };

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Failed;
    std::int64_t firstCard = 0;        // the number of the first written card
    std::vector<std::int64_t> cardOf;  // per plan row: the card number written, 0 when left out
    qsizetype written = 0;
    qsizetype duplicatesSkipped = 0;
    QString error;
};

// Writes the plan's ready rows, and its duplicates when `importDuplicates`, as one operation: all or
// nothing. ArchiveChanged (nothing written) when the archive is no longer the one the plan was made
// against: make the plan again and show it.
ImportResult runImport(const ImportPlan& plan, bool importDuplicates, const AppendProgress& progress = {});

// "1 scheda", "3 schede": a count with its noun in the singular or the plural (UTF-8 nouns).
QString importCount(qsizetype n, const char* one, const char* many);
// "N schede, M duplicati saltati, K righe con errori", each in the singular for 1.
QString importCounts(qsizetype cards, qsizetype duplicatesSkipped, qsizetype errors);

// The report of an import: the cards written and every row left out with its line and reason, then
// the closing line "Importate N schede, M duplicati saltati, K righe con errori" (importCounts, and
// "Importata 1 scheda, ...").
QStringList importReportLines(const ImportPlan& plan, const ImportResult& result, bool importDuplicates);
QString importSummaryLine(const ImportPlan& plan, const ImportResult& result);

} // namespace ombrisa
