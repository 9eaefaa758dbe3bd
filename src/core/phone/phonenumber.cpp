#include "core/phone/phonenumber.h"

#include "core/storage/textfield.h"

#include <QUrl>

namespace ombrisa {

QString comparablePhone(QStringView phone) {
    const QStringView trimmed = trimView(phone);
    QString digits;
    digits.reserve(trimmed.size());
    for (const QChar c : trimmed)
        if (c >= u'0' && c <= u'9')
            digits += c;
    if (digits.startsWith(QLatin1String("0039")))
        digits.remove(0, 4);
    else if (trimmed.startsWith(u'+') && digits.startsWith(QLatin1String("39")))
        digits.remove(0, 2);
    return digits;
}

std::optional<QString> phoneQuery(QStringView text) {
    const QStringView trimmed = trimView(text);
    if (trimmed.isEmpty() || trimmed.size() > 64)
        return std::nullopt;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        const bool allowed = (c >= u'0' && c <= u'9') || c == u' ' || c == u'.' || c == u'-' || c == u'/' ||
                             c == u'(' || c == u')' || (c == u'+' && i == 0);
        if (!allowed)
            return std::nullopt;
    }
    QString digits = comparablePhone(trimmed);
    if (digits.size() < 3 || digits.size() > 17)
        return std::nullopt;
    return digits;
}

std::optional<QString> dialString(QStringView text) {
    const QStringView trimmed = trimView(text);
    if (!phoneQuery(trimmed))
        return std::nullopt;
    QString dial = trimmed.startsWith(u'+') ? QStringLiteral("+") : QString();
    for (const QChar c : trimmed)
        if (c >= u'0' && c <= u'9')
            dial += c;
    return dial;
}

QString quotedArgument(QStringView text, qsizetype longest) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text.left(longest)) {
        switch (c.unicode()) {
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        default:
            // Other control characters, and the line and paragraph separators some terminals break on.
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                c.category() == QChar::Separator_Paragraph)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    if (text.size() > longest)
        out += QChar(0x2026);
    return out + QLatin1Char('"');
}

std::optional<GivenNumber> phoneFromArgument(QStringView text) {
    QString number = trimView(text).toString();
    for (const QLatin1String scheme : {QLatin1String("tel:"), QLatin1String("callto:")}) {
        if (!number.startsWith(scheme, Qt::CaseInsensitive))
            continue;
        number.remove(0, scheme.size());
        if (number.startsWith(QLatin1String("//")))
            number.remove(0, 2);
        number.truncate(number.indexOf(u';') < 0 ? number.size() : number.indexOf(u';'));
        number = QUrl::fromPercentEncoding(number.toUtf8()).trimmed();
        break;
    }
    std::optional<QString> comparable = phoneQuery(number);
    if (!comparable)
        return std::nullopt;
    return GivenNumber{trimView(number).toString(), *comparable};
}

} // namespace ombrisa
