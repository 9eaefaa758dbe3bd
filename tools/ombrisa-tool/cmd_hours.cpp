// hours: the hours summary of one agent over an interval, as the printed summary shows it.
#include "commands.h"
#include "options.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/work/hourssummary.h"
#include "core/work/workregister.h"

#include <QTextStream>

#include <cstdio>

namespace tool {

int hours(const QStringList& args) {
    Options o = Options::parse(
        args, {QStringLiteral("dir"), QStringLiteral("cf"), QStringLiteral("from"), QStringLiteral("to")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\" per hours").arg(o.words.first()));
    for (const char* name : {"cf", "from", "to"})
        if (!o.values.contains(QLatin1String(name)))
            return usageError(QStringLiteral("hours vuole --%1").arg(QLatin1String(name)));
    // The register is named after the code in capitals, as the summary screen writes it.
    const QString codFisc = o.values.value(QStringLiteral("cf")).trimmed().toUpper();
    if (!ombrisa::isWorkRegisterCode(codFisc))
        return usageError(QStringLiteral("codice fiscale \"%1\" non ammesso: solo lettere e cifre").arg(codFisc));
    const std::optional<QDate> from = ombrisa::parseDate(o.values.value(QStringLiteral("from")));
    const std::optional<QDate> to = ombrisa::parseDate(o.values.value(QStringLiteral("to")));
    if (!from || !to)
        return usageError(QStringLiteral("data non valida \"%1\" (gg/mm/aaaa)")
                              .arg(o.values.value(from ? QStringLiteral("to") : QStringLiteral("from"))));
    if (*from > *to)
        return usageError(QStringLiteral("la data di fine intervallo è anteriore a quella di inizio"));
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    // Reading creates nothing: an agent without register has an empty summary.
    const ombrisa::HoursSummary summary =
        ombrisa::summariseHours(ombrisa::workRegisterPath(codFisc), *from, *to, false);
    if (!summary.ok) {
        QTextStream(stderr) << "ombrisa-tool: impossibile leggere il registro di " << codFisc.trimmed() << '\n';
        return 1;
    }
    QTextStream out(stdout);
    for (const ombrisa::WorkLine& line : summary.lines)
        out << line.line << '\n';
    const QString interval = ombrisa::intervalCaption(ombrisa::formatDate(*from), ombrisa::formatDate(*to));
    for (const QString& line : ombrisa::hoursTotalLines(interval, QString::number(summary.lines.size()),
                                                        ombrisa::formatHours(summary.total), summary.leftOut.size()))
        out << line << '\n';
    out.flush();
    if (std::fflush(stdout) != 0)
        return usageError(QStringLiteral("impossibile scrivere l'uscita"));
    if (summary.leftOut.isEmpty())
        return 0;
    QTextStream err(stderr);
    for (const ombrisa::LeftOutWork& w : summary.leftOut)
        err << "ombrisa-tool: scheda " << w.number << " illeggibile (data \"" << w.data << "\", ore \"" << w.totOre
            << "\"): esclusa dal riepilogo e dal totale\n";
    return 1;
}

} // namespace tool
