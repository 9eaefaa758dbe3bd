#include "report/layouts/personaldata.h"

#include "core/attachments/attachedfiles.h"
#include "core/export/exports.h"
#include "core/records/archivepaths.h"
#include "core/search/searchrules.h"
#include "core/storage/appfolder.h"
#include "report/layouts/clientcard.h"
#include "report/layouts/fieldtexts.h"
#include "report/layouts/listreport.h"
#include "report/pdfoutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace ombrisa::report {

namespace {

QString numbers(const std::vector<std::int64_t>& list) {
    QStringList parts;
    for (std::int64_t n : list)
        parts << QString::number(n);
    return parts.isEmpty() ? QStringLiteral("nessuna") : parts.join(QStringLiteral(", "));
}

template <class Record> bool readRecord(const QString& fileName, std::int64_t card, Record& record, QString& error) {
    return readCard(appPath(fileName), sizeof record, card, &record, &error);
}

// Replaces `target` with a copy of `source`, through a temporary name.
bool copyFile(const QString& source, const QString& target, QString& error) {
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("impossibile copiare %1 in %2").arg(source, target);
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFile::NoError)
            break;
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (in.error() != QFile::NoError || !out.commit()) {
        error = QStringLiteral("impossibile copiare %1 in %2").arg(source, target);
        return false;
    }
    return true;
}

} // namespace

QString accessCardPdfName(std::int64_t card) {
    return QStringLiteral("Scheda_cliente_%1.pdf").arg(card);
}

AccessResult writePersonalDataFolder(const PrivacySubject& subject, const QString& folder, const QDateTime& now) {
    AccessResult result;
    auto fail = [&](const QString& error) {
        result.ok = false;
        result.error = error;
        return result;
    };
    result.findings = findSubject(subject);
    if (!result.findings.ok)
        return fail(QStringLiteral("archivio illeggibile: %1").arg(result.findings.error));
    const QDir dir(folder);
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("impossibile creare la cartella %1").arg(folder));

    QString error;
    for (std::int64_t card : result.findings.clients) {
        TRecCliente record;
        if (!readRecord(kClientiFile, card, record, error))
            return fail(QStringLiteral("archivio illeggibile: %1").arg(error));
        const QString name = accessCardPdfName(card);
        const OutputResult out = writePdfFile(prepareClientCard(fieldTexts(record), ClientCardTarget::Pdf, now),
                                              dir.filePath(name), clientCardPdfProperties());
        if (!out.done())
            return fail(out.message);
        result.written << name;
    }

    ExportTable rows(static_cast<int>(callExportColumns().size()));
    QStringList lines;
    const SearchRules& rules = searchRules(SearchArchive::Chiamate);
    const LineBuilder builder(rules.archive->fields, rules.line);
    for (std::int64_t card : result.findings.calls) {
        TRecChiamata record;
        if (!readRecord(kChiamateFile, card, record, error))
            return fail(QStringLiteral("archivio illeggibile: %1").arg(error));
        addCallExportRow(rows, record);
        lines << builder.build(&record);
    }
    if (exportSpreadsheet(dir.filePath(kAccessCallsSheet), exportDef(ExportKind::Storico).sheetName,
                          callExportColumns(), rows, {}, &error) != ExportOutcome::Written)
        return fail(QStringLiteral("impossibile scrivere %1: %2").arg(dir.filePath(kAccessCallsSheet), error));
    result.written << kAccessCallsSheet;
    lines << QString() << countLine(result.findings.calls.size(), true);
    const OutputResult list =
        writePdfFile(prepareListReport(kTitleChiamate, lines, {}, now), dir.filePath(kAccessCallsPdf),
                     {kTitleChiamate, kTitleChiamate, QString(), QString()});
    if (!list.done())
        return fail(list.message);
    result.written << kAccessCallsPdf;

    if (!result.findings.attachments.isEmpty() && !dir.mkpath(kAccessAttachmentsFolder))
        return fail(QStringLiteral("impossibile creare la cartella %1").arg(dir.filePath(kAccessAttachmentsFolder)));
    for (const QString& name : result.findings.attachments) {
        const QString source = attachmentPath(name);
        if (!QFileInfo(source).isFile()) {
            result.missingFiles << name;
            continue;
        }
        const QString relative = kAccessAttachmentsFolder + QLatin1Char('/') + name;
        if (!copyFile(source, dir.filePath(relative), error))
            return fail(error);
        result.written << relative;
    }

    QSaveFile index(dir.filePath(kAccessIndexFile));
    if (index.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&index);
        out.setEncoding(QStringConverter::Utf8);
        out << "Dati personali conservati nell'archivio\n";
        out << "Estratti il " << now.toString(QStringLiteral("dd/MM/yyyy")) << " alle ore "
            << now.toString(QStringLiteral("hh:mm:ss")) << "\n";
        if (!subject.codFisc.trimmed().isEmpty())
            out << "Codice fiscale cercato: " << subject.codFisc.trimmed().toUpper() << "\n";
        if (!subject.name.trimmed().isEmpty())
            out << "Nome cercato: " << subject.name.simplified() << "\n";
        out << "\nSchede cliente trovate (numero di scheda): " << numbers(result.findings.clients) << "\n";
        out << "Chiamate trovate (numero di scheda): " << numbers(result.findings.calls) << "\n";
        out << "\nFile di questa cartella:\n";
        for (std::int64_t card : result.findings.clients)
            out << "- " << accessCardPdfName(card) << ": la scheda cliente n. " << card << "\n";
        out << "- " << kAccessCallsSheet << ": le chiamate, in foglio di calcolo\n";
        out << "- " << kAccessCallsPdf << ": le chiamate, in elenco stampabile\n";
        for (const QString& name : result.findings.attachments)
            if (!result.missingFiles.contains(name))
                out << "- " << kAccessAttachmentsFolder << "/" << name << ": documento allegato alla scheda\n";
        for (const QString& name : result.missingFiles)
            out << "- documento allegato \"" << name << "\": nominato dalla scheda ma assente dall'archivio\n";
    }
    if (!index.commit())
        return fail(QStringLiteral("impossibile scrivere %1").arg(dir.filePath(kAccessIndexFile)));
    result.written << kAccessIndexFile;
    return result;
}

} // namespace ombrisa::report
