#include "core/storage/codepage.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace ombrisa {
namespace {

// Bytes 0x80-0x9F, the only ones where Windows-1252 differs from Latin-1. The five the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control character of the same code, so that
// every byte survives a round trip.
constexpr std::array<char16_t, 32> kCharactersFor80To9F{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

struct Tables {
    std::array<char16_t, 256> toUnicode{};
    std::array<std::int16_t, 65536> fromUnicode{}; // -1: not in the code page

    Tables() {
        fromUnicode.fill(-1);
        for (std::size_t b = 0; b < 256; ++b)
            toUnicode[b] = b >= 0x80 && b < 0xA0 ? kCharactersFor80To9F[b - 0x80] : static_cast<char16_t>(b);
        for (int b = 255; b >= 0; --b)
            fromUnicode[toUnicode[static_cast<std::size_t>(b)]] = static_cast<std::int16_t>(b);
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

char replacementFor(char32_t ucs, const Tables& t) {
    if (ucs <= 0xFFFF) {
        const QString decomposition = QChar(static_cast<char16_t>(ucs)).decomposition();
        if (!decomposition.isEmpty()) {
            const char16_t base = decomposition.at(0).unicode();
            const std::int16_t b = t.fromUnicode[base];
            if (b >= 0x20 && QChar(base).isLetter())
                return static_cast<char>(b);
        }
    }
    return '?';
}

} // namespace

void fromCp1252(const char* data, qsizetype size, QString& into) {
    const Tables& t = tables();
    into.resize(size);
    QChar* out = into.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(t.toUnicode[static_cast<unsigned char>(data[i])]);
}

QString fromCp1252(const char* data, qsizetype size) {
    QString result;
    fromCp1252(data, size, result);
    return result;
}

qsizetype toCp1252(QStringView text, char* out, qsizetype capacity) {
    const Tables& t = tables();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size() && n < capacity; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out[n++] = replacementFor(QChar::surrogateToUcs4(c, text[i + 1]), t);
            ++i;
            continue;
        }
        const std::int16_t b = t.fromUnicode[c.unicode()];
        out[n++] = b >= 0 ? static_cast<char>(b) : replacementFor(c.unicode(), t);
    }
    return n;
}

QByteArray toCp1252(QStringView text) {
    // One byte per character (a surrogate pair is one character): never more bytes than UTF-16 units.
    QByteArray result(text.size(), Qt::Uninitialized);
    result.truncate(toCp1252(text, result.data(), result.size()));
    return result;
}

} // namespace ombrisa
