#include "core/records/archivepaths.h"

#include "core/storage/appfolder.h"
#include "core/storage/textfield.h"
#include "core/work/workregister.h"

#include <QDir>

namespace ombrisa {

QString workRegisterPath(const QString& codFisc) {
    if (!isWorkRegisterCode(codFisc))
        return QString();
    return appPath(kLavoriFolder + QLatin1Char('/') + QStringLiteral("Lavori_Dipendente_CF_") + trimText(codFisc) +
                   QStringLiteral(".pro"));
}

QString photoPath(const QString& cardNumber) {
    return appPath(kAnagraficaFolder + QLatin1Char('/') + QStringLiteral("Scheda_Dipendente_") + trimText(cardNumber) +
                   QStringLiteral(".jpg"));
}

bool ensureAppSubfolder(const QString& relativeName) {
    return QDir().mkpath(appPath(relativeName));
}

} // namespace ombrisa
