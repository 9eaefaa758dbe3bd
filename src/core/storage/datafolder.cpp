#include "core/storage/datafolder.h"

#include "core/password/passwordfile.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/folderswitch.h"

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

// A folder somebody named (--data, OMBRISA_DATA, the saved choice) may be the mount point of a network
// share that is not mounted, or lie below one: seeding it would split the office's data in two. Only the
// program's own folder and the user's standard one are new archives by themselves.
bool mustAskBeforeSeeding(DataFolderSource source) {
    return source == DataFolderSource::Option || source == DataFolderSource::Environment ||
           source == DataFolderSource::Saved;
}

QString looksEmptyMessage(DataFolderSource source, const QString& folder, bool exists) {
    QString where;
    if (source == DataFolderSource::Environment)
        where = QStringLiteral(" (indicata dalla variabile OMBRISA_DATA)");
    else if (source == DataFolderSource::Saved)
        where = QStringLiteral(" (scelta l'ultima volta)");
    const QString what = exists ? QStringLiteral("non contiene nessun archivio né il file della password")
                                : QStringLiteral("non esiste");
    return QStringLiteral("Attenzione: la cartella dei dati «%1»%2 %3. Se è una cartella di rete, forse non è "
                          "collegata: in quel caso collegarla e riprovare, oppure scegliere un'altra cartella.")
        .arg(folder, where, what);
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

DataFolderStatus prepareDataFolder(const DataFolderChoice& choice, QString* message, bool startNewArchive) {
    const QString folder = QDir::toNativeSeparators(QDir(choice.folder).absolutePath());
    if (choice.folder.isEmpty()) {
        *message = QStringLiteral("Attenzione: non è stato possibile stabilire la cartella dei dati.");
        return DataFolderStatus::Failed;
    }
    const QFileInfo info(choice.folder);
    if (info.exists() && !info.isDir()) {
        *message = QStringLiteral("Attenzione: «%1» non è una cartella.").arg(folder);
        return DataFolderStatus::Failed;
    }
    if (!info.exists() && choice.source == DataFolderSource::Saved) {
        *message = QStringLiteral("Attenzione: la cartella dei dati «%1» non è raggiungibile. Se è una cartella di "
                                  "rete, collegarla e riavviare il programma; per usarne un'altra, avviarlo con "
                                  "--data CARTELLA.")
                       .arg(folder);
        return DataFolderStatus::Failed;
    }
    // A restore or a regeneration killed after its switch was decided is finished before anything is read.
    if (QString completed, why; info.exists() && !completeFolderSwitch(choice.folder, &completed, &why)) {
        *message = QStringLiteral("Attenzione: nella cartella dei dati «%1» %2.").arg(folder, why);
        return DataFolderStatus::Failed;
    }
    const bool holdsData = info.exists() && holdsProgramData(choice.folder);
    if (mustAskBeforeSeeding(choice.source) && !holdsData && !startNewArchive) {
        *message = looksEmptyMessage(choice.source, folder, info.exists());
        return DataFolderStatus::LooksEmpty;
    }
    if (!QDir().mkpath(choice.folder)) {
        *message = QStringLiteral("Attenzione: impossibile creare la cartella dei dati «%1».").arg(folder);
        return DataFolderStatus::Failed;
    }
    const QString passwordFile = QDir(choice.folder).filePath(kPasswordFile);
    if (!QFileInfo::exists(passwordFile) && !writeStoredPassword(passwordFile, kFirstAccessPassword)) {
        *message = QStringLiteral("Attenzione: impossibile scrivere nella cartella dei dati «%1».").arg(folder);
        return DataFolderStatus::Failed;
    }
    if (holdsData)
        return DataFolderStatus::Ready;
    if (startNewArchive)
        *message = QStringLiteral("Nella cartella «%1» non c'erano dati del programma: è stato preparato un archivio "
                                  "nuovo, con la password di primo accesso.")
                       .arg(folder);
    return DataFolderStatus::NewArchive;
}

DataFolderStatus startDataFolder(const QString& option, QSettings& settings, DataFolderChoice* chosen, QString* message,
                                 bool startNewArchive) {
    DataFolderInputs in;
    in.programFolder = programFolder();
    in.programFolderUsable = QFileInfo(in.programFolder).isWritable() && !isInstalledProgramFolder(in.programFolder);
    in.option = option;
    in.environment = qEnvironmentVariable("OMBRISA_DATA");
    in.saved = settings.value(QLatin1String(kDataFolderSettingKey)).toString();
    in.standard = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const DataFolderChoice choice = chooseDataFolder(in);
    if (chosen)
        *chosen = choice; // what the messages name, also when the folder cannot be used
    const DataFolderStatus status = prepareDataFolder(choice, message, startNewArchive);
    if (status != DataFolderStatus::Ready && status != DataFolderStatus::NewArchive)
        return status;
    setAppFolderOverride(choice.folder);
    if (choice.source == DataFolderSource::Option) {
        settings.setValue(QLatin1String(kDataFolderSettingKey), QDir(choice.folder).absolutePath());
        settings.sync();
    }
    if (chosen)
        *chosen = {appFolder(), choice.source};
    return status;
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
