#pragma once

#include "report/preparedreport.h"

#include <QString>

class QPrintDialog;
class QWidget;

namespace ombrisa::report {

// What became of a print or a PDF export. `message` is an Italian text for the user when it failed.
struct OutputResult {
    enum class Status { Done, Cancelled, Failed };
    Status status = Status::Done;
    QString message;

    bool done() const { return status == Status::Done; }
    bool failed() const { return status == Status::Failed; }
};

// Document properties of a PDF file: all four go into the document information (Title, Subject,
// Author, Creator; see pdfdocinfo.h) and into its XMP metadata (dc:title, dc:description, dc:creator,
// xmp:CreatorTool).
struct PdfProperties {
    QString title;
    QString subject;
    QString author;
    QString creator;
};

// The way out of the program for reports: the printer, the preview window and PDF files. Screens go
// through printerService(); tests install one of their own so that nothing reaches a printer.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    // Lets the user choose a printer in the system's print dialog and prints. Cancelled when the user
    // closes the dialog without printing.
    virtual OutputResult print(const PreparedReport& report, QWidget* parent) = 0;
    // Shows the report in the preview window, modal until the user closes it.
    virtual void preview(const PreparedReport& report, QWidget* parent) = 0;
    // Writes the report as a PDF file, replacing any earlier file of that name. When writing fails the
    // earlier file stays as it was.
    virtual OutputResult writePdf(const PreparedReport& report, const QString& path,
                                  const PdfProperties& properties) = 0;
};

// The service in use: the one installed last, or the system's printer, preview and PDF writer.
PrinterService& printerService();
// Installs a service (the caller keeps ownership); nullptr goes back to the system's.
void setPrinterService(PrinterService* service);

// The real thing: system print dialog and printer, the preview window, PDF files through QSaveFile.
class SystemPrinterService : public PrinterService {
public:
    OutputResult print(const PreparedReport& report, QWidget* parent) override;
    void preview(const PreparedReport& report, QWidget* parent) override;
    OutputResult writePdf(const PreparedReport& report, const QString& path, const PdfProperties& properties) override;
};

// The file the print dialog proposes when the user prints to a PDF file: the report's file title (or
// its name) made fit for a file name, with ".pdf", in the data folder.
QString proposedPdfPath(const PreparedReport& report);
// Writes `path` into the file box of a print dialog, where the dialog otherwise proposes a name of its own
// in the home folder. False when the dialog has no such box (another platform's dialog).
bool proposeOutputFile(QPrintDialog& dialog, const QString& path);

// What the user reads when a print fails.
inline const QString kPrintFailed = QStringLiteral("Attenzione: la stampa non è andata a buon fine.");

// The PDF writer shared by every service.
OutputResult writePdfFile(const PreparedReport& report, const QString& path, const PdfProperties& properties);
// "Attenzione: non è stato possibile scrivere il file …" with the reasons the user can act on.
QString pdfWriteFailedMessage(const QString& path);

} // namespace ombrisa::report
