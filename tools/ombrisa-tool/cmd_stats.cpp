// stats: the call register's figures over an interval, as the statistics screen shows them.
#include "commands.h"
#include "options.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/stats/callstats.h"
#include "core/storage/appfolder.h"

#include <QTextStream>

#include <cstdio>

namespace tool {

namespace {

void printSection(QTextStream& out, const QString& title, const QList<ombrisa::StatsRow>& rows) {
    out << '\n' << title << '\n';
    for (const ombrisa::StatsRow& r : rows)
        out << "  " << (r.voce.isEmpty() ? QStringLiteral("(non indicato)") : r.voce) << ": " << r.figure.calls
            << " chiamate, " << r.figure.minutes() << " minuti, media " << ombrisa::formatAverage(r.figure)
            << ", durate non lette " << r.figure.unread << '\n';
}

} // namespace

int stats(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir"), QStringLiteral("from"), QStringLiteral("to")},
                               {QStringLiteral("csv")});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\" per stats").arg(o.words.first()));
    ombrisa::StatsInterval interval;
    for (const char* name : {"from", "to"}) {
        if (!o.values.contains(QLatin1String(name)))
            continue;
        const QString text = o.values.value(QLatin1String(name));
        const std::optional<QDate> date = ombrisa::parseDate(text);
        if (!date)
            return usageError(QStringLiteral("data non valida \"%1\" (gg/mm/aaaa)").arg(text));
        (qstrcmp(name, "from") == 0 ? interval.from : interval.to) = date;
    }
    if (interval.from && interval.to && *interval.from > *interval.to)
        return usageError(QStringLiteral("la data di fine intervallo è anteriore a quella di inizio"));
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    const ombrisa::CallStats s = ombrisa::computeCallStats(ombrisa::appPath(ombrisa::kChiamateFile), interval);
    if (!s.ok)
        return usageError(QStringLiteral("impossibile leggere il registro delle chiamate: %1").arg(s.error));

    QTextStream out(stdout);
    if (o.flags.contains(QStringLiteral("csv"))) {
        for (const QString& line : ombrisa::statsCsvLines(s))
            out << line << '\n';
    } else {
        out << "Statistiche delle chiamate, " << ombrisa::intervalTitle(interval) << '\n';
        out << "Totale: " << s.total.calls << " chiamate, " << s.total.minutes() << " minuti, media "
            << ombrisa::formatAverage(s.total) << ", durate non lette " << s.total.unread << '\n';
        out << "\nMesi\n";
        for (const ombrisa::StatsMonth& m : s.months)
            out << "  " << m.voce << ": " << m.figure.calls << " chiamate (" << m.incoming << " in entrata, "
                << m.outgoing << " in uscita, " << m.other << " altre)\n";
        printSection(out, QStringLiteral("Tipo"), s.tipo);
        printSection(out, QStringLiteral("Esito"), s.esito);
        printSection(out, QStringLiteral("Grado di soddisfazione"), s.grado);
        printSection(out, QStringLiteral("Operatore"), s.operatore);
        printSection(out, QStringLiteral("Oggetto"), s.oggetto);
        printSection(out, QStringLiteral("Giorno della settimana"), s.giorno);
        printSection(out, QStringLiteral("Ora del giorno"), s.ora);
    }
    out.flush();
    QTextStream err(stderr);
    for (const ombrisa::UndatedCall& u : s.undated)
        err << "ombrisa-tool: chiamata " << u.number << " con data illeggibile (\"" << u.data
            << "\"): contata solo nel totale\n";
    return 0;
}

} // namespace tool
