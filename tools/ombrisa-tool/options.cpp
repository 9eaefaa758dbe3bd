#include "options.h"
#include "commands.h"

#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

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

QStringList interruptedGenerationFiles() {
    QStringList found;
    if (QFileInfo::exists(ombrisa::appPath(kGenerationMarker)))
        found << ombrisa::appPath(kGenerationMarker);
    for (const QString& folder : {ombrisa::appFolder(), ombrisa::appPath(ombrisa::kLavoriFolder)}) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.nuovo")}, QDir::Files | QDir::Hidden))
            found << dir.filePath(name);
    }
    return found;
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
    return {};
}

} // namespace tool
