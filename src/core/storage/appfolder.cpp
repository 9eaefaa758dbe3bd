#include "core/storage/appfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ombrisa {
namespace {

QString& overrideFolder() {
    static QString folder;
    return folder;
}

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString appFolder() {
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    if (QCoreApplication::instance())
        return withSeparator(QCoreApplication::applicationDirPath());
    // No application object yet: ask the system where the running executable lies.
    return withSeparator(
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2));
}

void setAppFolderOverride(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : withSeparator(QDir(folder).absolutePath());
}

QString appPath(const QString& relativeName) {
    return appFolder() + relativeName;
}

} // namespace ombrisa
