#include "core/password/crypt.h"

#include <cstdint>

namespace ombrisa {
namespace {

constexpr std::uint16_t kStartKey = 5836;

std::uint16_t nextKey(std::uint8_t scrambled, std::uint16_t key) {
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(scrambled + key) * 40503u + 47196u) & 0xFFFFu);
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

QString Encode(QStringView text) {
    static const char digits[] = "0123456789ABCDEF";
    QString result;
    result.reserve(text.size() * 2);
    std::uint16_t key = kStartKey;
    for (QChar ch : text) {
        const auto c = static_cast<std::uint8_t>((ch.unicode() & 0xFF) ^ (key >> 8));
        result += QLatin1Char(digits[c >> 4]);
        result += QLatin1Char(digits[c & 0xF]);
        key = nextKey(c, key);
    }
    return result;
}

std::optional<QString> Decode(QStringView hex) {
    QString result;
    const qsizetype n = hex.size() / 2;
    result.reserve(n);
    std::uint16_t key = kStartKey;
    for (qsizetype i = 0; i < n; ++i) {
        const int hi = hexValue(hex[2 * i]);
        const int lo = hexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        const auto c = static_cast<std::uint8_t>(hi * 16 + lo);
        result += QChar(static_cast<char16_t>(c ^ (key >> 8)));
        key = nextKey(c, key);
    }
    return result;
}

} // namespace ombrisa
