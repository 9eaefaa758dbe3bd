#pragma once

// The document information of a PDF file (what PDF readers show as its properties, and `pdfinfo`
// prints): QPdfWriter writes only the title and the creator there, so the full set is added after it.

#include "report/pdfoutput.h"

#include <QByteArray>
#include <QDateTime>

namespace ombrisa::report {

// `pdf` (a complete file as QPdfWriter wrote it) followed by an incremental update whose document
// information holds Title, Subject, Author, Creator and Producer (the creator) from `properties` and
// `created` as CreationDate. The pages are untouched. An empty result when `pdf` has no trailer to
// update.
QByteArray withDocumentInfo(const QByteArray& pdf, const PdfProperties& properties, const QDateTime& created);

} // namespace ombrisa::report
