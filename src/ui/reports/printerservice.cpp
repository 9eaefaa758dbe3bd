#include "ui/reports/printerservice.h"

#include "ui/reports/reportpreview.h"

#include "report/reportpainter.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace ombrisa {

using report::OutputResult;
using report::PreparedReport;

namespace {

PrinterService* installed = nullptr;

} // namespace

PrinterService& printerService() {
    static SystemPrinterService system;
    return installed ? *installed : system;
}

void setPrinterService(PrinterService* service) {
    installed = service;
}

bool proposeOutputFile(QPrintDialog& dialog, const QString& path) {
    // The file box of Qt's own print dialog, which proposes the home folder and the document's name.
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!box)
        return false;
    box->setText(QDir::toNativeSeparators(path));
    return true;
}

OutputResult SystemPrinterService::print(const PreparedReport& report, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report.pageLayout);
    const QString pdfPath = report::proposedPdfPath(report);
    printer.setDocName(QFileInfo(pdfPath).completeBaseName());
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    proposeOutputFile(dialog, pdfPath);
    if (dialog.exec() != QDialog::Accepted)
        return {OutputResult::Status::Cancelled, {}};
    if (!report::paintReport(report, printer))
        return {OutputResult::Status::Failed, kPrintFailed};
    return {};
}

void SystemPrinterService::preview(const PreparedReport& report, QWidget* parent) {
    ReportPreviewDialog dialog(report, parent);
    dialog.exec();
}

OutputResult SystemPrinterService::writePdf(const PreparedReport& report, const QString& path,
                                            const report::PdfProperties& properties) {
    return report::writePdfFile(report, path, properties);
}

} // namespace ombrisa
