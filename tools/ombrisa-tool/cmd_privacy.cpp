// access, forget, retention: a client's personal data on request, forgetting a client, and the clients
// kept longer than needed.
#include "commands.h"
#include "options.h"

#include "core/dates/dates.h"
#include "core/privacy/privacy.h"
#include "core/storage/appfolder.h"
#include "report/layouts/personaldata.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace tool {

namespace {

QString numbers(const std::vector<std::int64_t>& list) {
    QStringList parts;
    for (std::int64_t n : list)
        parts << QString::number(n);
    return parts.isEmpty() ? QStringLiteral("nessuna") : parts.join(QLatin1Char(' '));
}

// Reads --cf and --name; at least one is needed. Empty text when all is well.
QString readSubject(const Options& o, ombrisa::PrivacySubject& subject) {
    subject.codFisc = o.values.value(QStringLiteral("cf"));
    subject.name = o.values.value(QStringLiteral("name"));
    if (subject.empty())
        return QStringLiteral("serve --cf CODICE (o --name \"Cognome Nome\") non vuoto");
    return {};
}

} // namespace

int access(const QStringList& args) {
    Options o = Options::parse(
        args, {QStringLiteral("dir"), QStringLiteral("cf"), QStringLiteral("name"), QStringLiteral("out")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\" per access").arg(o.words.first()));
    ombrisa::PrivacySubject subject;
    if (const QString e = readSubject(o, subject); !e.isEmpty())
        return usageError(e);
    if (!o.values.contains(QStringLiteral("out")))
        return usageError(QStringLiteral("access vuole --out CARTELLA"));
    const QString out = QFileInfo(o.values.value(QStringLiteral("out"))).absoluteFilePath();
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);
    const auto present = registerPresence(ombrisa::appFolder()); // it writes to the register of the folder

    const ombrisa::report::AccessResult r =
        ombrisa::report::writePersonalDataFolder(subject, out, QDateTime::currentDateTime());
    if (!r.ok)
        return usageError(r.error);
    QString error;
    if (!ombrisa::appendPrivacyRegister(
            ombrisa::privacyRegisterLine(QDateTime::currentDateTime(), ombrisa::workstationUser(),
                                         ombrisa::kOperationAccess, r.findings.clients, r.findings.calls),
            &error))
        return usageError(error);
    QTextStream(stdout) << "schede cliente: " << numbers(r.findings.clients) << '\n'
                        << "chiamate: " << numbers(r.findings.calls) << '\n'
                        << "documenti allegati: " << r.findings.attachments.size() << '\n'
                        << QDir(out).filePath(ombrisa::report::kAccessIndexFile) << '\n';
    for (const QString& name : r.missingFiles)
        QTextStream(stderr) << "ombrisa-tool: documento allegato assente: " << name << '\n';
    return r.findings.clients.empty() && r.findings.calls.empty() ? 1 : 0;
}

int forget(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir"), QStringLiteral("cf"), QStringLiteral("name")},
                               {QStringLiteral("dry-run"), kForceOption});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\" per forget").arg(o.words.first()));
    ombrisa::PrivacySubject subject;
    if (const QString e = readSubject(o, subject); !e.isEmpty())
        return usageError(e);
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    if (o.flags.contains(QStringLiteral("dry-run"))) {
        const ombrisa::PrivacyFindings found = ombrisa::findSubject(subject);
        if (!found.ok)
            return usageError(QStringLiteral("archivio illeggibile: %1").arg(found.error));
        QTextStream(stdout) << "schede cliente da anonimizzare: " << numbers(found.clients) << '\n'
                            << "chiamate da anonimizzare: " << numbers(found.calls) << '\n'
                            << "documenti allegati da eliminare: " << found.attachments.size() << '\n';
        return found.clients.empty() && found.calls.empty() ? 1 : 0;
    }
    const auto present = registerPresence(ombrisa::appFolder());
    if (const QString e = unseenLocksRefusal(o, QStringLiteral("Impossibile anonimizzare"), *present); !e.isEmpty())
        return usageError(e);
    if (const QString notice = ombrisa::forgetWhileOthersPresent(ombrisa::Presence::Others(ombrisa::appFolder()));
        !notice.isEmpty())
        QTextStream(stderr) << "ombrisa-tool: avviso: " << notice << '\n';
    // The register gets its line before anything changes (forgetSubject).
    const ombrisa::ForgetReport r = ombrisa::forgetSubject(subject);
    QTextStream(stdout) << "schede cliente anonimizzate: " << numbers(r.clientsDone) << '\n'
                        << "chiamate anonimizzate: " << numbers(r.callsDone) << '\n'
                        << "documenti allegati eliminati: " << r.filesDeleted.size() << '\n';
    for (const QString& name : r.filesKept)
        QTextStream(stderr) << "ombrisa-tool: documento conservato perché nominato da un'altra scheda: " << name
                            << '\n';
    for (const QString& name : r.filesFailed)
        QTextStream(stderr) << "ombrisa-tool: impossibile eliminare il documento " << name << '\n';
    if (!r.ok) {
        QTextStream err(stderr);
        err << "ombrisa-tool: operazione interrotta: " << r.error << '\n';
        if (!r.clientsLeft.empty())
            err << "ombrisa-tool: schede cliente ancora da anonimizzare: " << numbers(r.clientsLeft) << '\n';
        if (!r.callsLeft.empty())
            err << "ombrisa-tool: chiamate ancora da anonimizzare: " << numbers(r.callsLeft) << '\n';
        return 2;
    }
    if (!r.filesFailed.isEmpty())
        return 2;
    return r.clientsDone.empty() && r.callsDone.empty() ? 1 : 0;
}

int retention(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir"), QStringLiteral("years"), QStringLiteral("today")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\" per retention").arg(o.words.first()));
    if (!o.values.contains(QStringLiteral("years")))
        return usageError(QStringLiteral("retention vuole --years N"));
    const std::optional<qint64> years = o.number(QStringLiteral("years"), 0, 1, 100);
    if (!years)
        return usageError(o.error);
    QDate today = QDate::currentDate();
    if (o.values.contains(QStringLiteral("today"))) {
        const std::optional<QDate> d = ombrisa::parseDate(o.values.value(QStringLiteral("today")));
        if (!d)
            return usageError(QStringLiteral("--today vuole una data gg/mm/aaaa"));
        today = *d;
    }
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);
    const ombrisa::RetentionList list = ombrisa::retentionCandidates(static_cast<int>(*years), today);
    if (!list.ok)
        return usageError(QStringLiteral("archivio illeggibile: %1").arg(list.error));
    QTextStream out(stdout);
    for (const ombrisa::RetentionCandidate& c : list.candidates)
        out << c.card << '\t' << c.name << '\t'
            << (c.lastCall.isValid() ? ombrisa::formatDate(c.lastCall) : QStringLiteral("nessuna chiamata")) << '\n';
    out << "Clienti senza chiamate negli ultimi " << *years << " anni: " << list.candidates.size() << '\n';
    return 0;
}

} // namespace tool
