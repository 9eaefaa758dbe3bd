#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace ombrisa {

// Windows-1252, the code page of every text stored in the archives and in the spreadsheet files.
// The code page's 32 entries that differ from Latin-1 are a table in the code; conversion is a table look-up.

// Converts Windows-1252 bytes to text. The five bytes the code page leaves undefined come back as the
// control characters of the same code, so that every byte survives a round trip.
QString fromCp1252(const char* data, qsizetype size);
// The same into an existing string, reusing its memory: for scans that read millions of fields.
void fromCp1252(const char* data, qsizetype size, QString& into);
inline QString fromCp1252(const QByteArray& bytes) {
    return fromCp1252(bytes.constData(), bytes.size());
}

// Converts text to Windows-1252. A character the code page lacks becomes its letter without accent
// when its Unicode decomposition starts with one the code page has, otherwise "?".
QByteArray toCp1252(QStringView text);
// The same into `out`, at most `capacity` bytes: the number of bytes written. The text's characters up to
// that point are converted exactly as toCp1252 converts them.
qsizetype toCp1252(QStringView text, char* out, qsizetype capacity);

} // namespace ombrisa
