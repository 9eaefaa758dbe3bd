#include "core/import/sheettable.h"

#include "core/storage/codepage.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <string>
#include <string_view>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrisa {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool startsWithBom(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

// Counts the cells of each of the first lines of `text` split by `separator` outside quotes.
std::vector<int> cellsPerLine(QStringView text, QChar separator, int lines) {
    std::vector<int> counts;
    int cells = 1;
    bool quoted = false;
    bool lineHasText = false;
    for (qsizetype i = 0; i < text.size() && static_cast<int>(counts.size()) < lines; ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            quoted = !quoted;
            lineHasText = true;
        } else if (quoted) {
            continue;
        } else if (c == separator) {
            ++cells;
            lineHasText = true;
        } else if (c == u'\n' || c == u'\r') {
            if (lineHasText)
                counts.push_back(cells);
            cells = 1;
            lineHasText = false;
        } else {
            lineHasText = true;
        }
    }
    if (lineHasText && static_cast<int>(counts.size()) < lines)
        counts.push_back(cells);
    return counts;
}

QString decodeEntities(QStringView text) {
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const qsizetype semi = text.indexOf(u';', i);
        if (semi < 0 || semi - i > 10) {
            out += text[i];
            continue;
        }
        const QStringView name = text.mid(i + 1, semi - i - 1);
        char32_t code = 0;
        bool ok = true;
        if (name == u"amp")
            code = '&';
        else if (name == u"lt")
            code = '<';
        else if (name == u"gt")
            code = '>';
        else if (name == u"quot")
            code = '"';
        else if (name == u"apos")
            code = '\'';
        else if (name == u"nbsp")
            code = 0xA0;
        else if (name.startsWith(u"#x") || name.startsWith(u"#X"))
            code = name.mid(2).toUInt(&ok, 16);
        else if (name.startsWith(u'#'))
            code = name.mid(1).toUInt(&ok, 10);
        else
            ok = false;
        if (!ok || code == 0 || code > 0x10FFFF) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i = semi;
    }
    return out;
}

// The message of a row beyond the limits, or empty. `cells` counts the cell being read.
QString rowLimitProblem(int line, qsizetype rowChars, qsizetype cellChars, qsizetype cells) {
    if (cellChars > kMaxCellChars)
        return QStringLiteral("alla riga %1 una cella è più lunga di %2 caratteri").arg(line).arg(kMaxCellChars);
    if (rowChars > kMaxRowChars)
        return QStringLiteral("la riga %1 è più lunga di %2 caratteri").arg(line).arg(kMaxRowChars);
    if (cells > kMaxSheetColumns)
        return QStringLiteral("la riga %1 ha più di %2 colonne").arg(line).arg(kMaxSheetColumns);
    return {};
}

QString tooLarge(const QString& path, qint64 size) {
    return QStringLiteral("Il file %1 è troppo grande (%2 MB): si importano fogli fino a %3 MB. Dividerlo in più file "
                          "e importarli uno alla volta.")
        .arg(path)
        .arg((size + 1024 * 1024 - 1) / (1024 * 1024))
        .arg(kMaxSheetBytes / (1024 * 1024));
}

QString cannotRead(const QString& path, int err) {
    return QStringLiteral("Impossibile leggere il file %1: %2").arg(path, systemErrorText(err));
}

} // namespace

namespace {

// The table of a CSV text already decoded from `encoding`.
SheetResult csvFromText(const QString& text, TextEncoding encoding, const QString& name, const SheetOptions& options) {
    SheetResult result;
    result.encoding = encoding;
    result.separator = options.separator.value_or(guessSeparator(text));
    QString error;
    result.table = tableFromRows(parseCsv(text, result.separator, &error));
    if (!error.isEmpty()) {
        result.error = QStringLiteral("File %1 non valido: %2.").arg(name, error);
        return result;
    }
    if (result.table.headings.isEmpty()) {
        result.error = QStringLiteral("Il file %1 è vuoto.").arg(name);
        return result;
    }
    result.ok = true;
    return result;
}

// readCsvBytes on bytes the reader owns: they go as soon as they are text, so that a large file is not
// held three times over (bytes, text, rows).
SheetResult readOwnedCsvBytes(QByteArray&& bytes, const QString& name, const SheetOptions& options) {
    const TextEncoding encoding = options.encoding.value_or(detectEncoding(bytes));
    QString text = decodeText(bytes, encoding);
    bytes = QByteArray();
    return csvFromText(text, encoding, name, options);
}

} // namespace

SheetResult readCsvBytes(QByteArrayView bytes, const QString& name, const SheetOptions& options) {
    const TextEncoding encoding = options.encoding.value_or(detectEncoding(bytes));
    return csvFromText(decodeText(bytes, encoding), encoding, name, options);
}

TextEncoding detectEncoding(QByteArrayView bytes) {
    if (startsWithBom(bytes))
        return TextEncoding::Utf8;
    // In pieces: the text itself is not kept, and a large file need not be held twice.
    QStringDecoder utf8(QStringDecoder::Utf8);
    constexpr qsizetype kPiece = 1 << 20;
    for (qsizetype at = 0; at < bytes.size() && !utf8.hasError(); at += kPiece)
        (void)QString(utf8(bytes.sliced(at, std::min(kPiece, bytes.size() - at))));
    return utf8.hasError() ? TextEncoding::Cp1252 : TextEncoding::Utf8;
}

QString decodeText(QByteArrayView bytes, TextEncoding encoding) {
    if (startsWithBom(bytes))
        bytes = bytes.sliced(3);
    if (encoding == TextEncoding::Cp1252)
        return fromCp1252(bytes.data(), bytes.size());
    return QString::fromUtf8(bytes);
}

QChar guessSeparator(QStringView text) {
    QChar best = u';';
    int bestCells = 1;
    for (const QChar candidate : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
        const std::vector<int> counts = cellsPerLine(text, candidate, 20);
        if (counts.empty())
            continue;
        bool steady = true;
        for (int n : counts)
            steady = steady && n == counts.front();
        // A ragged line among the first does not rule a separator out when the heading splits well.
        const int cells = steady ? counts.front() : counts.front() / 2;
        if (cells > bestCells) {
            best = candidate;
            bestCells = cells;
        }
    }
    return best;
}

QStringList SheetRow::cells() const {
    QStringList list;
    list.reserve(size());
    for (qsizetype c = 0; c < size(); ++c)
        list.append(cell(c).toString());
    return list;
}

std::vector<SheetRow> parseCsv(QStringView text, QChar separator, QString* error) {
    std::vector<SheetRow> rows;
    SheetRow row;
    qsizetype fieldStart = 0; // where the open field's text starts in row.text
    int line = 1;
    int fieldStartLine = 1;
    bool quoted = false;
    bool fieldWasQuoted = false;
    bool rowStarted = false;
    auto endField = [&] {
        row.endCell();
        fieldStart = row.text.size();
        fieldWasQuoted = false;
    };
    auto endRow = [&] {
        // A line with nothing on it is no row; a line with only separators is a row of empty cells.
        if (rowStarted) {
            endField();
            const qsizetype length = row.text.size();
            const std::size_t cells = row.ends.size();
            rows.push_back(std::move(row));
            // The next row, with room for one as long as this.
            row = SheetRow{};
            row.ends.reserve(cells);
            row.text.reserve(length + length / 4);
        }
        fieldStart = 0;
        fieldWasQuoted = false;
        rowStarted = false;
    };
    // The limits are looked at every so many characters and at each cell's end: enough to stop an endless
    // row within moments, cheap for an ordinary one.
    qsizetype nextLook = 4096;
    auto beyondLimits = [&] {
        const QString problem =
            rowLimitProblem(row.line, row.text.size(), row.text.size() - fieldStart, row.size() + 1);
        if (problem.isEmpty())
            return false;
        if (error)
            *error = problem;
        return true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (row.text.size() >= nextLook) {
            if (beyondLimits())
                return rows;
            nextLook = row.text.size() + 4096;
        }
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    row.text += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n')))
                    ++line;
                row.text += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (rowStarted && beyondLimits())
                return rows;
            endRow();
            nextLook = 4096;
            ++line;
            continue;
        }
        if (!rowStarted) {
            rowStarted = true;
            row.line = line;
        }
        if (c == separator) {
            if (beyondLimits())
                return rows;
            endField();
        } else if (c == u'"' && row.text.size() == fieldStart && !fieldWasQuoted) {
            quoted = true;
            fieldWasQuoted = true;
            fieldStartLine = line;
        } else {
            row.text += c;
        }
    }
    if (rowStarted && beyondLimits())
        return rows;
    if (quoted && error)
        *error = QStringLiteral("virgolette aperte alla riga %1 e mai chiuse").arg(fieldStartLine);
    endRow();
    return rows;
}

SheetTable tableFromRows(std::vector<SheetRow> rows) {
    SheetTable table;
    if (rows.empty())
        return table;
    table.headings = rows.front().cells();
    table.rows.assign(std::make_move_iterator(rows.begin() + 1), std::make_move_iterator(rows.end()));
    return table;
}

std::optional<SheetTable> readExportedSheet(QByteArrayView bytes, QString* error) {
    // The writer's files are Windows-1252 HTML: a <table> of <tr> rows of <td> cells on one line, its tags
    // in lower case. Other HTML sheets are left to LibreOffice. The markup is found in the bytes (one byte
    // is one character in this code page); only the cells' text is converted.
    const std::string_view html(bytes.data(), static_cast<std::size_t>(bytes.size()));
    constexpr std::size_t npos = std::string_view::npos;
    const std::size_t table = html.find("<table");
    if (html.substr(0, 2000).find("<html") == npos || table == npos)
        return std::nullopt;
    std::vector<SheetRow> rows;
    std::size_t at = table;
    int number = 0;
    std::size_t width = 0;
    qsizetype length = 0;
    std::string cell;
    QString decoded;
    for (;;) {
        const std::size_t tr = html.find("<tr", at);
        if (tr == npos)
            break;
        std::size_t rowEnd = html.find("</tr", tr);
        if (rowEnd == npos)
            rowEnd = html.size();
        SheetRow row;
        row.line = ++number;
        // Rows of a sheet are mostly as wide and as long as the one before.
        row.ends.reserve(width);
        row.text.reserve(length + length / 4);
        std::size_t cellAt = tr;
        for (;;) {
            const std::size_t td = html.find("<t", cellAt + 1);
            if (td == npos || td >= rowEnd || td + 2 >= html.size())
                break;
            const char kind = html[td + 2];
            if (kind != 'd' && kind != 'h') {
                cellAt = td;
                continue;
            }
            const std::size_t open = html.find('>', td);
            const std::size_t close = open == npos ? npos : html.find("</t", open);
            if (open == npos || close == npos || close > rowEnd)
                break;
            std::string_view cellBytes = html.substr(open + 1, close - open - 1);
            if (static_cast<qsizetype>(cellBytes.size()) > kMaxRowChars) { // before its markup is taken out
                if (error)
                    *error = rowLimitProblem(row.line, kMaxRowChars + 1, 0, 0);
                return std::nullopt;
            }
            // Cells may hold markup of their own (a <font> or <b>): its text is the cell's.
            if (cellBytes.find('<') != npos) {
                cell.assign(cellBytes);
                while (true) {
                    const std::size_t lt = cell.find('<');
                    if (lt == npos)
                        break;
                    const std::size_t gt = cell.find('>', lt);
                    cell.erase(lt, (gt == npos ? cell.size() : gt + 1) - lt);
                }
                cellBytes = cell;
            }
            const QString problem =
                rowLimitProblem(row.line, row.text.size() + static_cast<qsizetype>(cellBytes.size()),
                                static_cast<qsizetype>(cellBytes.size()), row.size() + 1);
            if (!problem.isEmpty()) {
                if (error)
                    *error = problem;
                return std::nullopt;
            }
            fromCp1252(cellBytes.data(), static_cast<qsizetype>(cellBytes.size()), decoded);
            if (cellBytes.find('&') == npos)
                row.appendCell(decoded);
            else
                row.appendCell(decodeEntities(decoded));
            cellAt = close;
        }
        width = std::max(width, row.ends.size());
        length = row.text.size();
        rows.push_back(std::move(row));
        at = rowEnd + 1;
    }
    if (rows.empty())
        return std::nullopt;
    // Rows are counted from the heading, as a spreadsheet shows them.
    return tableFromRows(std::move(rows));
}

std::optional<QByteArray> convertWithLibreOffice(const QString& path, QString* error) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        *error = kNeedsLibreOffice;
        return std::nullopt;
    }
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *error = QStringLiteral("Impossibile creare una cartella temporanea per la conversione del foglio.");
        return std::nullopt;
    }
    // Fields separated by ',', quoted with '"', UTF-8 (76), from the first row; its own profile so that a
    // LibreOffice the user has open is not disturbed.
    QProcess lo;
    lo.setWorkingDirectory(dir.path());
    lo.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                           QUrl::fromLocalFile(dir.filePath(QStringLiteral("profilo"))).toString(),
                       QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                       QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), QStringLiteral("--outdir"),
                       dir.filePath(QStringLiteral("csv")), QFileInfo(path).absoluteFilePath()});
    if (!lo.waitForFinished(300000) || lo.exitStatus() != QProcess::NormalExit || lo.exitCode() != 0) {
        lo.kill();
        lo.waitForFinished(5000);
        *error = QStringLiteral("LibreOffice non è riuscito a leggere il foglio %1.").arg(QFileInfo(path).fileName());
        return std::nullopt;
    }
    QFile csv(dir.filePath(QStringLiteral("csv/") + QFileInfo(path).completeBaseName() + QStringLiteral(".csv")));
    if (!csv.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("LibreOffice non ha prodotto il foglio %1 in formato CSV.").arg(QFileInfo(path).fileName());
        return std::nullopt;
    }
    if (csv.size() > kMaxSheetBytes) {
        *error = tooLarge(QFileInfo(path).fileName(), csv.size());
        return std::nullopt;
    }
    return csv.readAll();
}

SheetResult readSheetFile(const QString& path, const SheetOptions& options) {
    SheetResult result;
    // Opened without waiting, so that a pipe with no writer does not hold the reading up; looked at before
    // any byte is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = cannotRead(path, errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = errno;
        ::close(fd);
        result.error =
            S_ISREG(st.st_mode) || st.st_mode == 0
                ? cannotRead(path, err)
                : QStringLiteral("Il file %1 non è un file normale (è una cartella, un dispositivo o una coda "
                                 "di dati): salvare il foglio in un file e importare quello.")
                      .arg(path);
        return result;
    }
    if (st.st_size > kMaxSheetBytes) {
        ::close(fd);
        result.error = tooLarge(path, st.st_size);
        return result;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.error = cannotRead(path, EIO);
        return result;
    }
    // One byte more than the file's size: a file that grows beyond the limit while it is read is refused too.
    QByteArray bytes = file.read(static_cast<qint64>(st.st_size) + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Impossibile leggere il file %1: %2").arg(path, file.errorString());
        return result;
    }
    if (bytes.size() > kMaxSheetBytes) {
        result.error = tooLarge(path, bytes.size());
        return result;
    }
    file.close();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls")) {
        QString limit;
        if (auto table = readExportedSheet(bytes, &limit)) {
            result.ok = true;
            result.table = std::move(*table);
            result.encoding = TextEncoding::Cp1252;
            return result;
        }
        if (!limit.isEmpty()) {
            result.error = QStringLiteral("File %1 non valido: %2.").arg(QFileInfo(path).fileName(), limit);
            return result;
        }
    }
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("ods") || suffix == QLatin1String("xls")) {
        auto converted = convertWithLibreOffice(path, &result.error);
        if (!converted)
            return result;
        bytes = std::move(*converted);
        // LibreOffice writes what it was told to: UTF-8, fields separated by ','.
        return readOwnedCsvBytes(std::move(bytes), QFileInfo(path).fileName(),
                                 SheetOptions{QChar(u','), TextEncoding::Utf8});
    }
    if (suffix == QLatin1String("tsv") && !options.separator)
        return readOwnedCsvBytes(std::move(bytes), QFileInfo(path).fileName(),
                                 SheetOptions{QChar(u'\t'), options.encoding});
    return readOwnedCsvBytes(std::move(bytes), QFileInfo(path).fileName(), options);
}

} // namespace ombrisa
