#pragma once

#include "report/pdfoutput.h"

#include <QString>

class QPrintDialog;
class QWidget;

namespace ombrisa {

// The way out of the program for reports: the printer, the preview window and PDF files. Screens go
// through printerService(); tests install one of their own so that nothing reaches a printer.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    // Lets the user choose a printer in the system's print dialog and prints. Cancelled when the user
    // closes the dialog without printing.
    virtual report::OutputResult print(const report::PreparedReport& report, QWidget* parent) = 0;
    // Shows the report in the preview window, modal until the user closes it.
    virtual void preview(const report::PreparedReport& report, QWidget* parent) = 0;
    // Writes the report as a PDF file, replacing any earlier file of that name. When writing fails the
    // earlier file stays as it was.
    virtual report::OutputResult writePdf(const report::PreparedReport& report, const QString& path,
                                          const report::PdfProperties& properties) = 0;
};

// The service in use: the one installed last, or the system's printer, preview and PDF writer.
PrinterService& printerService();
// Installs a service (the caller keeps ownership); nullptr goes back to the system's.
void setPrinterService(PrinterService* service);

// The real thing: system print dialog and printer, the preview window, PDF files through QSaveFile.
class SystemPrinterService : public PrinterService {
public:
    report::OutputResult print(const report::PreparedReport& report, QWidget* parent) override;
    void preview(const report::PreparedReport& report, QWidget* parent) override;
    report::OutputResult writePdf(const report::PreparedReport& report, const QString& path,
                                  const report::PdfProperties& properties) override;
};

// Writes `path` into the file box of a print dialog, where the dialog otherwise proposes a name of its own
// in the home folder. False when the dialog has no such box (another platform's dialog).
bool proposeOutputFile(QPrintDialog& dialog, const QString& path);

// What the user reads when a print fails.
inline const QString kPrintFailed = QStringLiteral("Attenzione: la stampa non è andata a buon fine.");

} // namespace ombrisa
