// export: writes one of the program's four spreadsheet files, byte for byte as its screen does.
#include "commands.h"
#include "options.h"

#include "core/export/exports.h"
#include "core/storage/appfolder.h"

#include <QDate>
#include <QFileInfo>
#include <QTextStream>

namespace tool {

int exportFile(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir"), QStringLiteral("out"), QStringLiteral("today")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words.isEmpty())
        return usageError(QStringLiteral("export vuole l'elenco: chiamate, clienti, oggi o storico CF"));
    const ombrisa::ExportDef* def = ombrisa::exportDefByKey(o.words.first());
    if (!def)
        return usageError(QStringLiteral("elenco sconosciuto \"%1\"").arg(o.words.first()));
    const bool perClient = def->kind == ombrisa::ExportKind::Storico;
    if (o.words.size() != (perClient ? 2 : 1))
        return usageError(perClient ? QStringLiteral("export storico vuole il codice fiscale del cliente")
                                    : QStringLiteral("troppi argomenti per export"));
    QString choice = perClient ? o.words[1] : QString();
    if (def->kind == ombrisa::ExportKind::Oggi) {
        QDate today = QDate::currentDate();
        if (o.values.contains(QStringLiteral("today"))) {
            today = QDate::fromString(o.values[QStringLiteral("today")], QStringLiteral("dd/MM/yyyy"));
            if (!today.isValid())
                return usageError(QStringLiteral("--today vuole una data gg/mm/aaaa"));
        }
        choice = today.toString(QStringLiteral("dd/MM/yyyy"));
    } else if (o.values.contains(QStringLiteral("today"))) {
        return usageError(QStringLiteral("--today vale solo per export oggi"));
    }
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    ombrisa::ExportTable rows;
    QString error;
    if (!ombrisa::fillExportRows(def->kind, rows, choice, &error))
        return usageError(QStringLiteral("archivio illeggibile: %1").arg(error));
    const QString out = o.values.contains(QStringLiteral("out"))
                            ? QFileInfo(o.values[QStringLiteral("out")]).absoluteFilePath()
                            : ombrisa::appPath(def->fileName);
    if (ombrisa::exportSpreadsheet(out, def->sheetName, def->columns, rows, {}, &error) !=
        ombrisa::ExportOutcome::Written) {
        QTextStream(stderr) << "ombrisa-tool: impossibile scrivere " << out << ": " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << out << ": " << rows.rowCount() << " righe\n";
    return 0;
}

} // namespace tool
