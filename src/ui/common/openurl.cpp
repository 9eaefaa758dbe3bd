#include "ui/common/openurl.h"

#include "ui/common/services.h"
#include "core/storage/textfield.h"

namespace ombrisa {

QUrl TMisc::toUrl(const QString& sCommand) {
    QString target = trimText(sCommand);
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = trimText(QStringView(target).mid(1, target.size() - 2));
    if (target.isEmpty())
        return {};
    static const QStringList schemes{QStringLiteral("mailto:"), QStringLiteral("http://"), QStringLiteral("https://"),
                                     QStringLiteral("file://")};
    for (const QString& scheme : schemes)
        if (target.startsWith(scheme, Qt::CaseInsensitive))
            return QUrl(target);
    return QUrl::fromLocalFile(target);
}

void TMisc::Open(const QString& sCommand) {
    const QUrl url = toUrl(sCommand);
    if (url.isValid() && !url.isEmpty())
        urlOpener().open(url);
}

} // namespace ombrisa
