#include "printsupport/fileprinterservice.h"

#include <QDir>
#include <utility>

namespace ombrisa {

namespace {
OutputResult failed(const QString& message) {
    return {OutputResult::Status::Failed, message};
}
} // namespace

FilePrinterService::FilePrinterService(QString folder) : folder_(std::move(folder)) {}

OutputResult FilePrinterService::print(const PreparedReport& report, QWidget*) {
    if (cancelPrint)
        return {OutputResult::Status::Cancelled, {}};
    if (failPrint)
        return failed(kPrintFailed);
    printed.append(report);
    const QString path = QDir(folder_).filePath(QStringLiteral("stampa-%1.pdf").arg(printed.size()));
    printedFiles.append(path);
    const OutputResult result = report::writePdfFile(report, path, {report.reportName, {}, report.author, report.author});
    return result.done() ? result : failed(kPrintFailed);
}

void FilePrinterService::preview(const PreparedReport& report, QWidget*) {
    previewed.append(report);
}

OutputResult FilePrinterService::writePdf(const PreparedReport& report, const QString& path,
                                          const PdfProperties& properties) {
    pdfPaths.append(path);
    return report::writePdfFile(report, path, properties);
}

} // namespace ombrisa
