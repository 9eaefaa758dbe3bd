#include "core/storage/codepage.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace ombrisa {
namespace {

struct Tables {
    std::array<char16_t, 256> toUnicode{};
    std::array<std::int16_t, 65536> fromUnicode{}; // -1: not in the code page

    Tables() {
        fromUnicode.fill(-1);
        iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1252");
        for (int b = 0; b < 256; ++b) {
            char16_t out = static_cast<char16_t>(b); // undefined bytes map to the control of that code
            if (cd != reinterpret_cast<iconv_t>(-1)) {
                char in = static_cast<char>(b);
                char* inp = &in;
                std::size_t inLeft = 1;
                unsigned char buf[4] = {};
                char* outp = reinterpret_cast<char*>(buf);
                std::size_t outLeft = sizeof buf;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1) &&
                    sizeof buf - outLeft == 2)
                    out = static_cast<char16_t>(buf[0] | (buf[1] << 8));
            }
            toUnicode[static_cast<std::size_t>(b)] = out;
        }
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
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

QByteArray toCp1252(QStringView text) {
    const Tables& t = tables();
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            result.append(replacementFor(QChar::surrogateToUcs4(c, text[i + 1]), t));
            ++i;
            continue;
        }
        const std::int16_t b = t.fromUnicode[c.unicode()];
        result.append(b >= 0 ? static_cast<char>(b) : replacementFor(c.unicode(), t));
    }
    return result;
}

} // namespace ombrisa
