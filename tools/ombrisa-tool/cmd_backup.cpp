// backup and restore: one compressed file with every archive and file of a data folder, and its check.
#include "commands.h"
#include "options.h"

#include "core/backup/backup.h"
#include "core/backup/backupsettings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>

namespace tool {

int backup(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir"), QStringLiteral("out"), QStringLiteral("verify")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\"").arg(o.words.first()));
    QString error;
    if (o.values.contains(QStringLiteral("verify"))) {
        if (o.values.size() != 1)
            return usageError(QStringLiteral("--verify non va insieme a --dir o --out"));
        const QString file = o.values.value(QStringLiteral("verify"));
        switch (ombrisa::verifyBackup(file, &error)) {
        case ombrisa::BackupCheck::Whole: {
            QTextStream(stdout) << QStringLiteral("%1: copia di sicurezza integra.\n").arg(file);
            return 0;
        }
        case ombrisa::BackupCheck::Damaged:
            QTextStream(stderr) << "ombrisa-tool: " << error << '\n';
            return 1;
        case ombrisa::BackupCheck::Unreadable:
            break;
        }
        return usageError(error);
    }
    const QString dir = o.values.value(QStringLiteral("dir"));
    const QString out = o.values.value(QStringLiteral("out"));
    if (dir.isEmpty() || out.isEmpty())
        return usageError(QStringLiteral("servono --dir CARTELLA e --out FILE (oppure --verify FILE)"));
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);
    const auto present = registerPresence(dir); // it records the backup in the folder
    if (!ombrisa::writeBackup(dir, out, {}, &error))
        return usageError(error);
    QTextStream(stdout) << QStringLiteral("Copia di sicurezza scritta e verificata: %1\n").arg(out);
    // The program's reminder counts this backup too; a read-only data folder simply keeps no record.
    ombrisa::recordBackup(dir, out, QDateTime::currentDateTime());
    return 0;
}

int restore(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir")}, {kNewFolderOption});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words.size() != 1)
        return usageError(QStringLiteral("serve un solo FILE di copia di sicurezza"));
    const QString dir = o.values.value(QStringLiteral("dir"));
    if (dir.isEmpty())
        return usageError(QStringLiteral("manca --dir CARTELLA"));
    // A folder without the program's data is restored into only when asked: it may be a wrong folder or
    // the empty mount point of a share that is not mounted.
    if (const QString e = o.flags.contains(kNewFolderOption) ? useNewOrDataFolder(o, false) : useProgramFolder(o);
        !e.isEmpty())
        return usageError(e);
    QString error;
    QString replaced;
    const auto present = registerPresence(dir);
    if (!ombrisa::restoreBackup(o.words.first(), dir, &error, &replaced))
        return usageError(error);
    QTextStream text(stdout);
    text << QStringLiteral("Ripristino completato in %1\n").arg(dir);
    if (!replaced.isEmpty())
        text << QStringLiteral("I file sostituiti sono in %1\n").arg(replaced);
    return 0;
}

} // namespace tool
