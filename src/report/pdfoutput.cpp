#include "report/pdfoutput.h"

#include "report/pdfdocinfo.h"
#include "report/reportpainter.h"

#include "core/storage/appfolder.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

namespace ombrisa::report {

namespace {

QString xmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

QByteArray xmpMetadata(const PdfProperties& p) {
    const QString xmp =
        QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                       "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
                       "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
                       "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'"
                       " xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>\n"
                       "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
                       "<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>%2</rdf:li></rdf:Alt></dc:description>\n"
                       "<dc:creator><rdf:Seq><rdf:li>%3</rdf:li></rdf:Seq></dc:creator>\n"
                       "<xmp:CreatorTool>%4</xmp:CreatorTool>\n"
                       "<pdf:Producer>%4</pdf:Producer>\n"
                       "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>")
            .arg(xmlEscaped(p.title), xmlEscaped(p.subject), xmlEscaped(p.author), xmlEscaped(p.creator));
    return xmp.toUtf8();
}

OutputResult failed(const QString& message) {
    return {OutputResult::Status::Failed, message};
}

} // namespace

QString pdfWriteFailedMessage(const QString& path) {
    return QStringLiteral("Attenzione: non è stato possibile scrivere il file \"%1\".\r\n\r\n"
                          "Il file potrebbe essere aperto in un altro programma oppure la cartella potrebbe "
                          "non consentire la scrittura. Chiudere il file o controllare la cartella e riprovare.")
        .arg(QDir::toNativeSeparators(path));
}

OutputResult writePdfFile(const PreparedReport& report, const QString& path, const PdfProperties& properties) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(pdfWriteFailedMessage(path));
    // Painted in memory first: the document information is completed after the writer has finished.
    QBuffer painted;
    painted.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&painted);
        writer.setTitle(properties.title);
        writer.setCreator(properties.creator);
        writer.setDocumentXmpMetadata(xmpMetadata(properties));
        writer.setResolution(600);
        if (!paintReport(report, writer)) {
            file.cancelWriting();
            return failed(pdfWriteFailedMessage(path));
        }
    }
    const QByteArray pdf = withDocumentInfo(painted.data(), properties, QDateTime::currentDateTime());
    if (pdf.isEmpty() || file.write(pdf) != pdf.size()) {
        file.cancelWriting();
        return failed(pdfWriteFailedMessage(path));
    }
    if (!file.commit())
        return failed(pdfWriteFailedMessage(path));
    return {};
}

QString proposedPdfPath(const PreparedReport& report) {
    QString name = report.fileTitle.isEmpty() ? report.reportName : report.fileTitle;
    // Characters that some file system or the other workstations' systems refuse in a name.
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (c.unicode() < 32 || kRefused.contains(c))
            c = QLatin1Char('-');
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    constexpr qsizetype kMostCharacters = 120;
    name = name.left(kMostCharacters).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Stampa");
    return appPath(name + QStringLiteral(".pdf"));
}

} // namespace ombrisa::report
