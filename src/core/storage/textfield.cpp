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
    const QByteArray bytes = toCp1252(trimView(text));
    const std::size_t kept = std::min<std::size_t>({static_cast<std::size_t>(bytes.size()), 255, capacity});
    field[0] = static_cast<std::uint8_t>(kept);
    std::memcpy(field + 1, bytes.constData(), kept);
}

} // namespace ombrisa
