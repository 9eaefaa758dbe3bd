#include "core/storage/datafolder.h"

#include "core/password/passwordfile.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace ombrisa {
namespace {

const QString kInstalledDesktopEntry = QStringLiteral("../share/applications/it.ombrisa.Ombrisa.desktop");
const QString kInstalledGuide = QStringLiteral("../share/doc/ombrisa/Guida.pdf");
const QString kGuideName = QStringLiteral("Guida.pdf");

QString programFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

} // namespace

DataFolderChoice chooseDataFolder(const DataFolderInputs& in) {
    if (!in.option.isEmpty())
        return {in.option, DataFolderSource::Option};
    if (!in.environment.isEmpty())
        return {in.environment, DataFolderSource::Environment};
    if (in.programFolderUsable)
        return {in.programFolder, DataFolderSource::ProgramFolder};
    if (!in.saved.isEmpty())
        return {in.saved, DataFolderSource::Saved};
    return {in.standard, DataFolderSource::Standard};
}

bool holdsProgramData(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : {kPasswordFile, kClientiFile, kChiamateFile, kDipendentiFile, kLavoriFolder,
                                kAnagraficaFolder, kAllegatiFolder})
        if (QFileInfo(dir.filePath(name)).exists() || QFileInfo(dir.filePath(name)).isSymLink())
            return true;
    return false;
}

bool isInstalledProgramFolder(const QString& folder) {
    return QFileInfo::exists(QDir(folder).filePath(kInstalledDesktopEntry));
}

bool prepareDataFolder(const DataFolderChoice& choice, QString* message) {
    const QString folder = QDir::toNativeSeparators(QDir(choice.folder).absolutePath());
    if (choice.folder.isEmpty()) {
        *message = QStringLiteral("Attenzione: non è stato possibile stabilire la cartella dei dati.");
        return false;
    }
    const QFileInfo info(choice.folder);
    if (info.exists() && !info.isDir()) {
        *message = QStringLiteral("Attenzione: «%1» non è una cartella.").arg(folder);
        return false;
    }
    if (!info.exists() && choice.source == DataFolderSource::Saved) {
        *message = QStringLiteral("Attenzione: la cartella dei dati «%1» non è raggiungibile. Se è una cartella di "
                                  "rete, collegarla e riavviare il programma; per usarne un'altra, avviarlo con "
                                  "--data CARTELLA.")
                       .arg(folder);
        return false;
    }
    if (!QDir().mkpath(choice.folder)) {
        *message = QStringLiteral("Attenzione: impossibile creare la cartella dei dati «%1».").arg(folder);
        return false;
    }
    const QString passwordFile = QDir(choice.folder).filePath(kPasswordFile);
    if (!QFileInfo::exists(passwordFile) && !writeStoredPassword(passwordFile, kFirstAccessPassword)) {
        *message = QStringLiteral("Attenzione: impossibile scrivere nella cartella dei dati «%1».").arg(folder);
        return false;
    }
    return true;
}

bool startDataFolder(const QString& option, QSettings& settings, DataFolderChoice* chosen, QString* message) {
    DataFolderInputs in;
    in.programFolder = programFolder();
    in.programFolderUsable = QFileInfo(in.programFolder).isWritable() && !isInstalledProgramFolder(in.programFolder);
    in.option = option;
    in.environment = qEnvironmentVariable("OMBRISA_DATA");
    in.saved = settings.value(QLatin1String(kDataFolderSettingKey)).toString();
    in.standard = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const DataFolderChoice choice = chooseDataFolder(in);
    if (!prepareDataFolder(choice, message))
        return false;
    setAppFolderOverride(choice.folder);
    if (choice.source == DataFolderSource::Option) {
        settings.setValue(QLatin1String(kDataFolderSettingKey), QDir(choice.folder).absolutePath());
        settings.sync();
    }
    if (chosen)
        *chosen = {appFolder(), choice.source};
    return true;
}

QString userGuidePath(const QString& folder) {
    const QDir dir(folder);
    const QString beside = dir.filePath(kGuideName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(dir.filePath(kInstalledGuide));
    return QFileInfo::exists(installed) ? installed : beside;
}

} // namespace ombrisa
