#include "core/export/spreadsheet.h"

#include "core/storage/codepage.h"
#include "core/storage/textfield.h"

#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace ombrisa {

void ExportTable::clear() {
    bytes_.clear();
    ends_.clear();
}

void ExportTable::reserve(qsizetype rows, qsizetype bytesPerRow) {
    bytes_.reserve(static_cast<std::size_t>(rows * bytesPerRow));
    ends_.reserve(static_cast<std::size_t>(rows * columns_));
}

void ExportTable::addRow(const std::vector<QString>& texts) {
    for (int c = 0; c < columns_; ++c) {
        const QByteArray bytes = c < static_cast<int>(texts.size()) ? toCp1252(texts[c]) : QByteArray();
        addCell(bytes);
    }
}

QString ExportTable::text(qsizetype row, int column) const {
    const QByteArrayView bytes = cell(row, column);
    return fromCp1252(bytes.data(), bytes.size());
}

namespace {

constexpr std::array<bool, 256> kNeedsEscape = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 32; ++c)
        table[c] = true;
    for (const unsigned char c : {'&', '<', '>', '"'})
        table[c] = true;
    return table;
}();

// Buffers the file and hands it to the device in large pieces; remembers the first failure. Pieces are
// copied into a plain buffer with room made once per piece: the writer's time goes into the bytes, not
// into growing a container cell by cell.
class Sink {
public:
    explicit Sink(QIODevice& out) : out_(out), buffer_(kChunk) {}

    void put(QByteArrayView bytes) {
        if (!room(static_cast<std::size_t>(bytes.size()))) {
            // Larger than the whole buffer: straight to the device.
            if (ok_)
                ok_ = out_.write(bytes.data(), bytes.size()) == bytes.size();
            return;
        }
        std::memcpy(buffer_.data() + used_, bytes.data(), static_cast<std::size_t>(bytes.size()));
        used_ += static_cast<std::size_t>(bytes.size());
    }
    // Windows-1252 bytes as HTML text: the markup characters escaped, control characters (which a
    // single-line field should not hold, but a foreign file may) as character references, so that the
    // file never holds a line break. A blank after a blank is a character reference too, because
    // spreadsheet programs read a run of literal blanks as one. Runs of plain bytes are copied whole.
    void putEscaped(QByteArrayView bytes) {
        // No byte takes more than six ("&quot;").
        if (!room(static_cast<std::size_t>(bytes.size()) * 6)) {
            for (qsizetype at = 0; at < bytes.size(); at += kChunk / 8)
                putEscaped(bytes.sliced(at, std::min<qsizetype>(kChunk / 8, bytes.size() - at)));
            return;
        }
        char* out = buffer_.data() + used_;
        const char* const end = bytes.data() + bytes.size();
        for (const char* p = bytes.data(); p < end; ++p) {
            const auto c = static_cast<unsigned char>(*p);
            if (!kNeedsEscape[c] && (c != ' ' || p == bytes.data() || p[-1] != ' ')) {
                *out++ = static_cast<char>(c);
                continue;
            }
            const auto literal = [&out](const char* text, std::size_t size) {
                std::memcpy(out, text, size);
                out += size;
            };
            switch (c) {
            case '&':
                literal("&amp;", 5);
                break;
            case '<':
                literal("&lt;", 4);
                break;
            case '>':
                literal("&gt;", 4);
                break;
            case '"':
                literal("&quot;", 6);
                break;
            case ' ':
                literal("&#32;", 5);
                break;
            default: // a control character, below 32
                *out++ = '&';
                *out++ = '#';
                if (c >= 10)
                    *out++ = static_cast<char>('0' + c / 10);
                *out++ = static_cast<char>('0' + c % 10);
                *out++ = ';';
            }
        }
        used_ = static_cast<std::size_t>(out - buffer_.data());
    }
    bool flushIfFull() { return used_ < kChunk / 2 || flush(); }
    bool flush() {
        if (ok_ && used_ > 0)
            ok_ = out_.write(buffer_.data(), static_cast<qint64>(used_)) == static_cast<qint64>(used_);
        used_ = 0;
        return ok_;
    }

private:
    // Makes room for `size` more bytes, handing the buffer over first when needed; false when even an
    // empty buffer is too small.
    bool room(std::size_t size) {
        if (used_ + size <= buffer_.size())
            return true;
        flush();
        return size <= buffer_.size();
    }

    static constexpr std::size_t kChunk = 1 << 20;
    QIODevice& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

} // namespace

bool spreadsheetWouldChange(QByteArrayView text) {
    if (text.isEmpty())
        return false;
    switch (text.front()) {
    case '=': // a formula
    case '+':
    case '-': // a sign, or a formula in some programs
    case '@':
    case '#': // an error value
    case '\'':
        return true;
    default:
        break;
    }
    // Numbers, dates, times, percentages, currencies, fractions, long codes and leading zeros all hold a
    // digit; a run of blanks is kept only in a text cell.
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    for (bool blank = false; p < end; ++p) {
        if (static_cast<unsigned>(*p - '0') < 10u || (*p == ' ' && blank))
            return true;
        blank = *p == ' ';
    }
    // The logical values, in English and Italian, in any case.
    if (text.size() == 4 || text.size() == 5) {
        const QByteArray lower = text.toByteArray().toLower();
        return lower == "true" || lower == "false" || lower == "vero" || lower == "falso";
    }
    return false;
}

namespace {

// Rows between two progress reports.
constexpr qsizetype kProgressStep = 1000;

} // namespace

bool writeSpreadsheet(QIODevice& out, const QString& sheetName, ExportColumns columns, const ExportTable& rows,
                      const ExportProgress& progress) {
    Sink sink(out);
    sink.put("<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
             "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
             "xmlns=\"http://www.w3.org/TR/REC-html40\">"
             "<head>"
             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
             "<!--[if gte mso 9]><xml>"
             "<x:ExcelWorkbook>"
             "<x:ExcelWorksheets>"
             "<x:ExcelWorksheet>"
             "<x:Name>");
    sink.putEscaped(toCp1252(sheetName));
    sink.put("</x:Name>"
             "<x:WorksheetOptions>"
             "<x:Selected/>"
             "<x:Panes>"
             "<x:Pane>"
             "<x:Number>1</x:Number>"
             "<x:ActiveRow>3</x:ActiveRow>"
             "</x:Pane>"
             "</x:Panes>"
             "<x:ProtectContents>False</x:ProtectContents>"
             "<x:ProtectObjects>False</x:ProtectObjects>"
             "<x:ProtectScenarios>False</x:ProtectScenarios>"
             "</x:WorksheetOptions>"
             "</x:ExcelWorksheet>"
             "</x:ExcelWorksheets>"
             "</x:ExcelWorkbook>"
             "</xml><![endif]-->"
             "<style>.t{mso-number-format:\"\\@\";}</style>"
             "</head>"
             "<body>"
             "<table x:str>"
             "<tr>");
    for (const ExportColumn& column : columns) {
        sink.put("<td style=\"text-align: left; font-weight: bold;\" width=");
        sink.put(QByteArray::number(column.width));
        sink.put(">");
        sink.putEscaped(toCp1252(column.fileHeading));
        sink.put("</td>");
    }
    sink.put("</tr>");

    // A cell that a spreadsheet program would read as something else than its text ("007", "-3", "=1+1",
    // "05/03/2024", "50%", "TRUE") is marked as text: sdnum names the text format for one family of
    // programs, the class (mso-number-format in the head) for the other. The other cells are plain: the
    // marking would only make the file several times larger.
    static const QByteArray textCellOpen = QByteArrayLiteral("<td class=t sdnum=\"1040;0;@\">");
    static const QByteArray cellOpen = QByteArrayLiteral("<td>");
    static const QByteArray cellClose = QByteArrayLiteral("</td>");
    static const QByteArray rowOpen = QByteArrayLiteral("<tr>");
    static const QByteArray rowClose = QByteArrayLiteral("</tr>");
    const int count = static_cast<int>(columns.size());
    for (qsizetype r = 0; r < rows.rowCount(); ++r) {
        sink.put(rowOpen);
        for (int c = 0; c < count; ++c) {
            const QByteArrayView cell = c < rows.columnCount() ? trimBytes(rows.cell(r, c)) : QByteArrayView();
            sink.put(spreadsheetWouldChange(cell) ? textCellOpen : cellOpen);
            sink.putEscaped(cell);
            sink.put(cellClose);
        }
        sink.put(rowClose);
        if (!sink.flushIfFull())
            return false;
        if (progress && (r + 1) % kProgressStep == 0 && !progress(r + 1))
            return false;
    }
    sink.put("</table>"
             "</body>"
             "</html>");
    if (!sink.flush())
        return false;
    return !progress || progress(rows.rowCount());
}

ExportOutcome exportSpreadsheet(const QString& path, const QString& sheetName, ExportColumns columns,
                                const ExportTable& rows, const ExportProgress& progress, QString* error) {
    bool cancelled = false;
    const ExportProgress watch = [&](qsizetype written) {
        if (progress && !progress(written))
            cancelled = true;
        return !cancelled;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) { // the writer hands over large pieces itself
        if (error)
            *error = file.errorString();
        return ExportOutcome::Failed;
    }
    if (!writeSpreadsheet(file, sheetName, columns, rows, watch)) {
        if (error)
            *error = cancelled ? QString() : file.errorString();
        file.cancelWriting();
        return cancelled ? ExportOutcome::Cancelled : ExportOutcome::Failed;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return ExportOutcome::Failed;
    }
    return ExportOutcome::Written;
}

} // namespace ombrisa
