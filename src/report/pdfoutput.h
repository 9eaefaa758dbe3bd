#pragma once

#include "report/preparedreport.h"

#include <QString>

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

// Writes the report as a PDF file through a QSaveFile, replacing any earlier file of that name; when
// writing fails the earlier file stays as it was.
OutputResult writePdfFile(const PreparedReport& report, const QString& path, const PdfProperties& properties);
// "Attenzione: non è stato possibile scrivere il file …" with the reasons the user can act on.
QString pdfWriteFailedMessage(const QString& path);

// The file proposed when the user prints to a PDF file: the report's file title (or its name) made fit
// for a file name, with ".pdf", in the data folder.
QString proposedPdfPath(const PreparedReport& report);

} // namespace ombrisa::report
