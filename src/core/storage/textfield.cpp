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
    const QByteArrayView bytes = storedText(field, capacity);
    fromCp1252(bytes.data(), bytes.size(), into);
}

QString GetText(const std::uint8_t* field, std::size_t capacity) {
    QString text;
    GetText(field, capacity, text);
    return text;
}

void PutText(std::uint8_t* field, std::size_t capacity, QStringView text) {
    const qsizetype room = static_cast<qsizetype>(std::min<std::size_t>(capacity, 255));
    field[0] = static_cast<std::uint8_t>(toCp1252(trimView(text), reinterpret_cast<char*>(field + 1), room));
}

} // namespace ombrisa
