#include "core/storage/textfield.h"

#include "core/storage/codepage.h"

#include <algorithm>
#include <cstring>

namespace ombrisa {

QStringView trimView(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin);
}

void GetText(const std::uint8_t* field, std::size_t capacity, QString& into) {
    const std::size_t length = std::min<std::size_t>(field[0], capacity);
    const char* bytes = reinterpret_cast<const char*>(field + 1);
    // Trim on the bytes: Windows-1252 maps 0..32 to the same codes, so this is the same rule and saves
    // building a string only to cut it.
    std::size_t begin = 0;
    std::size_t end = length;
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    fromCp1252(bytes + begin, static_cast<qsizetype>(end - begin), into);
}

QString GetText(const std::uint8_t* field, std::size_t capacity) {
    QString text;
    GetText(field, capacity, text);
    return text;
}

void PutText(std::uint8_t* field, std::size_t capacity, QStringView text) {
    const QByteArray bytes = toCp1252(trimView(text));
    const std::size_t kept = std::min<std::size_t>({static_cast<std::size_t>(bytes.size()), 255, capacity});
    field[0] = static_cast<std::uint8_t>(kept);
    std::memcpy(field + 1, bytes.constData(), kept);
}

} // namespace ombrisa
