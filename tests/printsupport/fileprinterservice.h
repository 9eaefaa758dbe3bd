#pragma once

// The printer service of the tests (report and GUI tests alike).

#include "ui/reports/printerservice.h"

#include <QList>
#include <QString>

namespace ombrisa {

using report::OutputResult;
using report::PdfProperties;
using report::PreparedReport;

// For tests: printing writes "stampa-1.pdf", "stampa-2.pdf"… into a folder instead of reaching a
// printer, previews are recorded instead of shown, and PDF files are written for real unless a
// failure is asked for. Every prepared report handed over is kept for inspection.
class FilePrinterService : public PrinterService {
public:
    explicit FilePrinterService(QString folder);

    OutputResult print(const PreparedReport& report, QWidget* parent) override;
    void preview(const PreparedReport& report, QWidget* parent) override;
    OutputResult writePdf(const PreparedReport& report, const QString& path, const PdfProperties& properties) override;

    QList<PreparedReport> printed;
    QList<QString> printedFiles;
    QList<PreparedReport> previewed;
    QList<QString> pdfPaths;
    bool cancelPrint = false; // the user closes the print dialog
    bool failPrint = false;   // the printer refuses the job

private:
    QString folder_;
};

// Installs a printer service for the scope and puts the system's back at its end, however the test ends.
class ScopedPrinterService {
public:
    explicit ScopedPrinterService(PrinterService& service) { setPrinterService(&service); }
    ~ScopedPrinterService() { setPrinterService(nullptr); }
    ScopedPrinterService(const ScopedPrinterService&) = delete;
    ScopedPrinterService& operator=(const ScopedPrinterService&) = delete;
};

} // namespace ombrisa
