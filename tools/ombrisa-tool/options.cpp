#include "options.h"
#include "commands.h"

#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/datafolder.h"
#include "core/storage/folderswitch.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>

#include <cstdio>

namespace tool {

int usageError(const QString& message) {
    QTextStream(stderr) << "ombrisa-tool: " << message << '\n';
    return 2;
}

int finishOutput(int code) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::clearerr(stdout);
        return usageError(QStringLiteral("impossibile scrivere l'uscita"));
    }
    return code;
}

Options Options::parse(const QStringList& args, const QStringList& valued, const QStringList& switches) {
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            o.words << a;
        } else if (valued.contains(a.mid(2))) {
            if (i + 1 >= args.size()) {
                o.error = QStringLiteral("manca il valore di %1").arg(a);
                return o;
            }
            o.values[a.mid(2)] = args[++i];
        } else if (switches.contains(a.mid(2))) {
            o.flags << a.mid(2);
        } else {
            o.error = QStringLiteral("opzione sconosciuta %1").arg(a);
            return o;
        }
    }
    return o;
}

std::optional<qint64> Options::number(const QString& name, qint64 fallback, qint64 min, qint64 max) {
    if (!values.contains(name))
        return fallback;
    bool ok = false;
    const qint64 n = values[name].toLongLong(&ok);
    if (!ok || n < min || n > max) {
        error = QStringLiteral("--%1 vuole un numero intero da %2 a %3").arg(name).arg(min).arg(max);
        return std::nullopt;
    }
    return n;
}

namespace {
QString completedSwitchText;
} // namespace

QString completedSwitchNotice() {
    return completedSwitchText.isEmpty()
               ? QString()
               : QStringLiteral("un'operazione interrotta (%1) è stata completata ora: gli archivi sono tutti quelli "
                                "nuovi")
                     .arg(completedSwitchText);
}

QStringList interruptedGenerationFiles() {
    QStringList found;
    if (QFileInfo::exists(ombrisa::appPath(kGenerationMarker)))
        found << ombrisa::appPath(kGenerationMarker);
    for (const QString& folder : {ombrisa::appFolder(), ombrisa::appPath(ombrisa::kLavoriFolder)}) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.nuovo"), QStringLiteral("*.nuovo.journal")}, QDir::Files | QDir::Hidden))
            found << dir.filePath(name);
    }
    return found;
}

QString noProgramDataMessage(const QString& dir) {
    return QStringLiteral("la cartella %1 non contiene i dati del programma (nessun archivio né file della "
                          "password): è la cartella giusta? Se è una cartella di rete, è collegata?")
        .arg(QDir::toNativeSeparators(dir));
}

QString useDataFolder(const Options& options) {
    if (QString e = useFolder(options); !e.isEmpty())
        return e;
    const QString folder = ombrisa::appFolder();
    if (!ombrisa::holdsProgramData(folder))
        return noProgramDataMessage(options.values.value(QStringLiteral("dir")));
    const QDir dir(folder);
    for (const QString& name : {ombrisa::kClientiFile, ombrisa::kChiamateFile, ombrisa::kDipendentiFile}) {
        const QFileInfo info(dir.filePath(name));
        if (info.exists() && info.isFile() && !info.isReadable())
            return QStringLiteral("impossibile leggere %1: %2").arg(info.filePath(), ombrisa::systemErrorText(EACCES));
    }
    const QFileInfo works(dir.filePath(ombrisa::kLavoriFolder));
    if (works.exists() && (!works.isDir() || !works.isReadable() || !works.isExecutable()))
        return QStringLiteral("impossibile leggere la cartella %1: %2")
            .arg(works.filePath(), ombrisa::systemErrorText(works.isDir() ? EACCES : ENOTDIR));
    // A journal is rolled back by the next open that may write; without that right the card it belongs
    // to may be half written, and reading on would show it as if whole.
    const QFileInfo here(folder);
    if (!here.isWritable()) {
        QStringList journals = dir.entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden);
        if (works.isDir())
            for (const QString& name :
                 QDir(works.filePath()).entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden))
                journals << ombrisa::kLavoriFolder + QLatin1Char('/') + name;
        if (!journals.isEmpty())
            return QStringLiteral("un salvataggio non è stato concluso (%1) e la cartella è in sola lettura: una "
                                  "scheda può essere incompleta; aprire la cartella da una postazione che può "
                                  "scrivervi")
                .arg(journals.join(QStringLiteral(", ")));
    }
    return {};
}

std::unique_ptr<ombrisa::Presence> registerPresence(const QString& folder) {
    auto presence = std::make_unique<ombrisa::Presence>(folder);
    if (QFileInfo(folder).isDir())
        presence->Register(); // without a slot the command still works; verify lists who is present
    return presence;
}

QString useFolder(const Options& options) {
    const QString dir = options.values.value(QStringLiteral("dir"));
    if (dir.isEmpty())
        return QStringLiteral("manca --dir CARTELLA");
    const QFileInfo info(dir);
    if (!info.exists())
        return QStringLiteral("la cartella %1 non esiste").arg(dir);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return QStringLiteral("la cartella %1 non è leggibile").arg(dir);
    ombrisa::setAppFolderOverride(info.absoluteFilePath());
    // A restore or generate --force killed after its switch was decided is finished before anything
    // reads or writes the folder; one that cannot be finished from here is never read as it is.
    QString error;
    if (!ombrisa::completeFolderSwitch(ombrisa::appFolder(), &completedSwitchText, &error))
        return error;
    if (!completedSwitchText.isEmpty())
        QTextStream(stderr) << "ombrisa-tool: avviso: " << completedSwitchNotice() << '\n';
    return {};
}

} // namespace tool
