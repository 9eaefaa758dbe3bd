#pragma once

// The four spreadsheet exports: their files, sheet names and columns, and the rules that choose and
// build the rows of their preview grids from the archives.

#include "core/export/spreadsheet.h"
#include "core/records/records.h"

#include <QString>

namespace ombrisa {

enum class ExportKind {
    Chiamate, // the whole call register (calls with a date)
    Clienti,  // the whole client archive
    Oggi,     // today's calls
    Storico,  // the calls of one client
};

struct ExportDef {
    ExportKind kind;
    const char* key;  // the word ombrisa-tool takes: chiamate, clienti, oggi, storico
    QString fileName; // in the program's folder, rewritten by every export
    QString sheetName;
    ExportColumns columns;
};

const ExportDef& exportDef(ExportKind kind);
// The def whose key is `key`, or nullptr.
const ExportDef* exportDefByKey(QStringView key);

// The 15 columns of the three call exports. The preview grids show a row number before them, which is not
// exported.
ExportColumns callExportColumns();

// Fills `rows` (emptied first) with the preview grid of an export, reading the archive in the program's
// folder record by record in file order:
// - Chiamate: every call whose date is not empty;
// - Oggi: every call whose date text is exactly `choice` (today as dd/mm/yyyy);
// - Storico: every call whose codice fiscale is exactly `choice` trimmed, case kept;
// - Clienti: every client card, the birth and residence towns joined to their provinces by a blank.
// A missing archive is an empty one and is not created. On a read failure `rows` is emptied, `error`
// receives the reason and the result is false: a grid is either whole or empty.
bool fillExportRows(ExportKind kind, ExportTable& rows, const QString& choice = QString(), QString* error = nullptr);

// Appends one call as a row of the call exports' 15 columns (`rows` has callExportColumns().size()
// columns), for lists of calls chosen by other rules (a client's personal data).
void addCallExportRow(ExportTable& rows, const TRecChiamata& record);

} // namespace ombrisa
