#pragma once

// Reading a spreadsheet saved as text: CSV and TSV in UTF-8 (with or without BOM) or Windows-1252,
// RFC 4180 quoting, the separator guessed or given; the program's own .xls exports; other sheets
// (.xlsx, .ods) converted to CSV by LibreOffice when it is installed.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace ombrisa {

enum class TextEncoding { Utf8, Cp1252 };

// What a sheet may hold, so that a wrong file (a device, a disk image, a file of one endless line) ends
// in a message within moments instead of filling the memory: the file's size, a row's and a cell's length
// in characters, a row's cells.
inline constexpr qint64 kMaxSheetBytes = 128 * 1024 * 1024;
inline constexpr qsizetype kMaxRowChars = 1024 * 1024;
inline constexpr qsizetype kMaxCellChars = 32 * 1024;
inline constexpr qsizetype kMaxSheetColumns = 1000;

// The encoding of a text file's bytes: UTF-8 when they start with its BOM or are valid UTF-8 throughout,
// Windows-1252 otherwise (every byte sequence is Windows-1252).
TextEncoding detectEncoding(QByteArrayView bytes);
// The bytes as text in `encoding`, without a leading UTF-8 BOM. Bytes that are not valid UTF-8 become
// the replacement character.
QString decodeText(QByteArrayView bytes, TextEncoding encoding);

// The separator of a CSV text: the one of ';', tab and ',' that splits the first lines (outside quotes)
// into the same number of columns, more than one, preferring the most columns; ';' when none does.
QChar guessSeparator(QStringView text);

// One row of a sheet with the line of the file where it starts (from 1). Its cells' texts lie one after
// the other in one string, so that a row of thirty cells is two allocations rather than thirty.
struct SheetRow {
    int line = 0;
    QString text;                 // every cell's text, one after the other
    std::vector<qsizetype> ends;  // where each cell ends in `text`

    qsizetype size() const { return static_cast<qsizetype>(ends.size()); }
    // Cell `c`'s text; empty past the last cell (a short, ragged row).
    QStringView cell(qsizetype c) const {
        if (c < 0 || c >= size())
            return {};
        const qsizetype begin = c == 0 ? 0 : ends[static_cast<std::size_t>(c - 1)];
        return QStringView(text).sliced(begin, ends[static_cast<std::size_t>(c)] - begin);
    }
    QStringList cells() const;
    // Ends the cell whose text was appended to `text` since the last one ended.
    void endCell() { ends.push_back(text.size()); }
    void appendCell(QStringView cellText) {
        text.append(cellText);
        endCell();
    }
};

// A sheet: its heading row and its data rows.
struct SheetTable {
    QStringList headings;
    std::vector<SheetRow> rows;
};

// Splits a CSV text into rows (RFC 4180): a field in double quotes may hold the separator, line breaks
// and doubled quotes; line ends are CR LF, LF or CR; a quote inside an unquoted field is kept as it is.
// Rows keep the number of cells they have (a ragged row stays ragged); wholly empty lines are skipped.
// `error` receives the line of a quote left open at the end of the file (the rest is then one field), or
// the line of the first row beyond the limits above (the reading stops there).
std::vector<SheetRow> parseCsv(QStringView text, QChar separator, QString* error = nullptr);

// The first row as headings, the others as data.
SheetTable tableFromRows(std::vector<SheetRow> rows);

// Reads a table from one of the program's own spreadsheet exports (an HTML table in Windows-1252).
// nullopt when the bytes are not such a file, or when a row is beyond the limits above (`error` then
// says which).
std::optional<SheetTable> readExportedSheet(QByteArrayView bytes, QString* error = nullptr);

// How to read a file: the separator and encoding, or guesses when unset.
struct SheetOptions {
    std::optional<QChar> separator;
    std::optional<TextEncoding> encoding;
};

// What reading a file gave: the table, the separator and encoding used, or an Italian message.
struct SheetResult {
    bool ok = false;
    SheetTable table;
    QChar separator;
    TextEncoding encoding = TextEncoding::Utf8;
    QString error;
};

// Reads CSV bytes (`name` is the file's name for the messages).
SheetResult readCsvBytes(QByteArrayView bytes, const QString& name, const SheetOptions& options = {});

// Reads any of the accepted files, chosen by its extension and content: .xls (the program's exports),
// .xlsx / .ods / .xls from other programs (through LibreOffice), anything else as CSV. Only a regular
// file of at most kMaxSheetBytes is read (a device, a pipe or a folder is refused before any read).
SheetResult readSheetFile(const QString& path, const SheetOptions& options = {});

// The message when a sheet needs LibreOffice and it is not installed.
inline const QString kNeedsLibreOffice =
    QStringLiteral("Per importare questo foglio di calcolo è necessario LibreOffice, che non risulta installato. "
                   "Aprire il foglio con il proprio programma e salvarlo in formato CSV, poi importare il file CSV.");

// Converts a sheet (.xlsx, .ods, a foreign .xls) to CSV in UTF-8 with ',' through LibreOffice headless,
// in a temporary folder. The CSV bytes, or an Italian message in `error`.
std::optional<QByteArray> convertWithLibreOffice(const QString& path, QString* error);

} // namespace ombrisa
