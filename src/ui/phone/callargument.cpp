#include "ui/phone/callargument.h"

namespace ombrisa {

CallArgument callArgument(const QStringList& args) {
    CallArgument call;
    QString given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--data")) {
            ++i; // its value, whatever it looks like
            continue;
        }
        if (a == QLatin1String("--chiamata")) {
            call.given = true;
            given = i + 1 < args.size() ? args[++i] : QString();
        } else if (a.startsWith(QLatin1String("--chiamata="))) {
            call.given = true;
            given = a.mid(11);
        } else if (a.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive) ||
                   a.startsWith(QLatin1String("callto:"), Qt::CaseInsensitive)) {
            call.given = true;
            given = a;
        }
    }
    if (!call.given)
        return call;
    call.number = phoneFromArgument(given);
    if (!call.number)
        call.error = given.isEmpty() ? QStringLiteral("--chiamata vuole un numero di telefono")
                                     : QStringLiteral("%1 non è un numero di telefono").arg(quotedArgument(given));
    return call;
}

} // namespace ombrisa
