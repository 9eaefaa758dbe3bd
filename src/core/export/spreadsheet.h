#pragma once

// Spreadsheet files: an HTML table with the Office spreadsheet annotations, in Windows-1252, with the
// extension .xls, which spreadsheet programs open directly. One writer serves every export.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class QIODevice;

namespace ombrisa {

// One exported column: its heading in the preview grid, its heading in the file (they differ for a few
// columns) and its width in the file.
struct ExportColumn {
    QString gridHeading;
    QString fileHeading;
    int width;
};
using ExportColumns = std::span<const ExportColumn>;

// The rows of a preview grid, cell by cell, as Windows-1252 bytes: the archives' own bytes, so that
// filling a grid from an archive is a copy and writing the file needs no conversion. A grid of the
// whole ten-year register (200,000 rows of 15 cells) lives in two flat arrays, not in 3 million
// strings.
class ExportTable {
public:
    ExportTable() = default;
    explicit ExportTable(int columns) : columns_(columns) {}

    int columnCount() const { return columns_; }
    qsizetype rowCount() const { return columns_ > 0 ? static_cast<qsizetype>(ends_.size()) / columns_ : 0; }
    void clear();
    void reserve(qsizetype rows, qsizetype bytesPerRow);

    // Appends one cell; a row is complete after columnCount() cells.
    void addCell(QByteArrayView bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        ends_.push_back(static_cast<qsizetype>(bytes_.size()));
    }
    // Appends the cells given to a new row (exactly columnCount() of them); for tests and small lists.
    void addRow(const std::vector<QString>& texts);

    QByteArrayView cell(qsizetype row, int column) const {
        const qsizetype i = row * columns_ + column;
        const qsizetype begin = i == 0 ? 0 : ends_[i - 1];
        return QByteArrayView(bytes_.data() + begin, ends_[i] - begin);
    }
    // The cell as the grid shows it.
    QString text(qsizetype row, int column) const;

private:
    int columns_ = 0;
    std::vector<char> bytes_;
    std::vector<qsizetype> ends_; // end of each cell in bytes_, row after row
};

// What the writer reports as it goes: rows written so far. Returning false cancels the export.
using ExportProgress = std::function<bool(qsizetype rowsWritten)>;

// Whether a spreadsheet program opening the file would show `text` (a trimmed cell, Windows-1252) as
// something else than the text itself: a number, a date or time, a percentage, a formula, a logical
// value, or with its runs of blanks folded. Such cells are marked as text; the others are written plain.
bool spreadsheetWouldChange(QByteArrayView text);

// Writes the whole file: the document head naming the sheet, the heading row, then every row of the
// table, each cell trimmed of leading and trailing blanks. Headings and cells are HTML-escaped and every
// data cell that a spreadsheet would otherwise change is marked as text (spreadsheetWouldChange), so
// that the spreadsheet shows the stored text exactly ("007", "=1+1" and "-3" stay texts). No line break
// is written anywhere. Returns false when a write fails or `progress`
// cancels.
bool writeSpreadsheet(QIODevice& out, const QString& sheetName, ExportColumns columns, const ExportTable& rows,
                      const ExportProgress& progress = {});

enum class ExportOutcome { Written, Cancelled, Failed };

// Writes the file at `path` through QSaveFile: unless the whole file was written and committed, a file
// already there is left exactly as it was. `error` receives the reason of a failure.
ExportOutcome exportSpreadsheet(const QString& path, const QString& sheetName, ExportColumns columns,
                                const ExportTable& rows, const ExportProgress& progress = {}, QString* error = nullptr);

} // namespace ombrisa
