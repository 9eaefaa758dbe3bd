// import: client or call cards from a sheet; duplicates: the groups of duplicate client cards.
#include "commands.h"
#include "options.h"

#include "core/cards/duplicates.h"
#include "core/import/importplan.h"
#include "core/storage/appfolder.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace tool {

namespace {

std::optional<ombrisa::ImportArchive> archiveOf(const QString& word) {
    if (word == QLatin1String("clienti"))
        return ombrisa::ImportArchive::Clienti;
    if (word == QLatin1String("chiamate"))
        return ombrisa::ImportArchive::Chiamate;
    return std::nullopt;
}

// Every "--map" given, in order (Options keeps only the last value of an option).
QStringList mapsOf(const QStringList& args) {
    QStringList maps;
    for (qsizetype i = 0; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--map"))
            maps << args[++i];
    return maps;
}

} // namespace

int importFile(const QStringList& args) {
    Options o = Options::parse(args,
                               {QStringLiteral("dir"), QStringLiteral("map"), QStringLiteral("sep"),
                                QStringLiteral("encoding"), QStringLiteral("duplicates"), QStringLiteral("report")},
                               {QStringLiteral("dry-run"), kNewFolderOption, kForceOption});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words.size() != 2)
        return usageError(QStringLiteral("import vuole l'archivio (clienti o chiamate) e il file"));
    const auto archive = archiveOf(o.words[0]);
    if (!archive)
        return usageError(QStringLiteral("archivio sconosciuto \"%1\": clienti o chiamate").arg(o.words[0]));
    ombrisa::SheetOptions sheetOptions;
    if (o.values.contains(QStringLiteral("sep"))) {
        QString sep = o.values[QStringLiteral("sep")];
        if (sep == QLatin1String("\\t") || sep == QLatin1String("tab"))
            sep = QStringLiteral("\t");
        if (sep.size() != 1)
            return usageError(QStringLiteral("--sep vuole un carattere: ';', ',' o tab"));
        sheetOptions.separator = sep.front();
    }
    if (o.values.contains(QStringLiteral("encoding"))) {
        const QString e = o.values[QStringLiteral("encoding")].toLower();
        if (e == QLatin1String("utf-8") || e == QLatin1String("utf8"))
            sheetOptions.encoding = ombrisa::TextEncoding::Utf8;
        else if (e == QLatin1String("cp1252") || e == QLatin1String("windows-1252"))
            sheetOptions.encoding = ombrisa::TextEncoding::Cp1252;
        else
            return usageError(QStringLiteral("--encoding vuole utf-8 o cp1252"));
    }
    const QString duplicates = o.values.value(QStringLiteral("duplicates"), QStringLiteral("skip"));
    if (duplicates != QLatin1String("skip") && duplicates != QLatin1String("import"))
        return usageError(QStringLiteral("--duplicates vuole skip o import"));
    const bool importDuplicates = duplicates == QLatin1String("import");
    const bool dryRun = o.flags.contains(QStringLiteral("dry-run"));
    // Cards go into a folder without the program's data only when asked (--nuova-cartella).
    if (const QString e = useNewOrDataFolder(o, !dryRun); !e.isEmpty())
        return usageError(e);
    const auto present = dryRun ? nullptr : registerPresence(ombrisa::appFolder());
    if (present)
        if (const QString e = unseenLocksRefusal(o, QStringLiteral("Impossibile importare"), *present); !e.isEmpty())
            return usageError(e);

    const ombrisa::SheetResult sheet = ombrisa::readSheetFile(o.words[1], sheetOptions);
    if (!sheet.ok)
        return usageError(sheet.error);
    QStringList mapping = ombrisa::rememberedMapping(*archive, sheet.table.headings);
    for (const QString& map : mapsOf(args)) {
        const qsizetype eq = map.lastIndexOf(u'=');
        if (eq <= 0)
            return usageError(QStringLiteral("--map vuole \"Intestazione=txtCampo\" (o \"Intestazione=\" per ignorarla)"));
        const QString heading = map.left(eq);
        const QString key = map.mid(eq + 1);
        const qsizetype column = sheet.table.headings.indexOf(heading);
        if (column < 0)
            return usageError(QStringLiteral("il file non ha la colonna \"%1\"").arg(heading));
        bool known = key.isEmpty();
        for (const ombrisa::ImportTarget& t : ombrisa::importTargets(*archive))
            known = known || t.key == key;
        if (!known)
            return usageError(QStringLiteral("campo sconosciuto \"%1\"").arg(key));
        mapping[column] = key;
    }
    if (const QString problem = ombrisa::mappingProblem(*archive, mapping); !problem.isEmpty())
        return usageError(problem);

    ombrisa::ImportPlan plan;
    ombrisa::ImportResult result;
    QString error;
    // Another workstation may add cards between the plan and the write: the plan is made again.
    for (int attempt = 0;; ++attempt) {
        if (!ombrisa::makeImportPlan(*archive, sheet.table, mapping, plan, &error))
            return usageError(QStringLiteral("archivio illeggibile: %1").arg(error));
        if (o.flags.contains(QStringLiteral("dry-run"))) {
            result.outcome = ombrisa::ImportOutcome::Cancelled;
            result.cardOf.assign(plan.rows.size(), 0);
            for (const ombrisa::PlannedRow& row : plan.rows)
                if (row.verdict == ombrisa::RowVerdict::Duplicate && !importDuplicates)
                    ++result.duplicatesSkipped;
            break;
        }
        result = ombrisa::runImport(plan, importDuplicates);
        if (result.outcome != ombrisa::ImportOutcome::ArchiveChanged || attempt >= 3)
            break;
    }
    if (result.outcome == ombrisa::ImportOutcome::Failed || result.outcome == ombrisa::ImportOutcome::ArchiveChanged)
        return usageError(QStringLiteral("impossibile scrivere l'archivio, nessuna scheda importata: %1").arg(result.error));

    if (result.outcome == ombrisa::ImportOutcome::Written)
        ombrisa::rememberMapping(*archive, sheet.table.headings, mapping);
    QStringList lines = ombrisa::importReportLines(plan, result, importDuplicates);
    if (o.flags.contains(QStringLiteral("dry-run"))) {
        const qsizetype wouldWrite = plan.ready + (importDuplicates ? plan.duplicates : 0);
        lines.last() = (wouldWrite == 1 ? QStringLiteral("Prova: si importerebbe ")
                                        : QStringLiteral("Prova: si importerebbero ")) +
                       ombrisa::importCounts(wouldWrite, result.duplicatesSkipped, plan.errors);
    }
    QTextStream out(stdout);
    for (const QString& line : lines)
        out << line << '\n';
    out.flush();
    if (o.values.contains(QStringLiteral("report"))) {
        QSaveFile report(o.values[QStringLiteral("report")]);
        const QByteArray text = lines.join(u'\n').toUtf8() + '\n';
        if (!report.open(QIODevice::WriteOnly) || report.write(text) != text.size() || !report.commit())
            return usageError(QStringLiteral("impossibile scrivere il resoconto %1: %2")
                                  .arg(report.fileName(), report.errorString()));
    }
    return 0;
}

int duplicates(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words != QStringList{QStringLiteral("clienti")})
        return usageError(QStringLiteral("duplicates vuole l'archivio: clienti"));
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);
    std::vector<std::vector<std::int64_t>> groups;
    QString error;
    if (!ombrisa::findDuplicateClients(groups, &error))
        return usageError(QStringLiteral("archivio illeggibile: %1").arg(error));
    QTextStream out(stdout);
    for (const auto& group : groups) {
        QStringList numbers;
        for (const std::int64_t n : group)
            numbers << QString::number(n);
        out << "schede " << numbers.join(QStringLiteral(", ")) << '\n';
    }
    out << groups.size() << (groups.size() == 1 ? " gruppo" : " gruppi") << " di schede doppie\n";
    return groups.empty() ? 0 : 1;
}

} // namespace tool
