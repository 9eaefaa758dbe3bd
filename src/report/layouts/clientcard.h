#pragma once

#include "report/layouts/fieldtexts.h"
#include "report/preparedreport.h"
#include "report/pdfoutput.h"

namespace ombrisa::report {

// Row 22's caption is "Zona:" on paper and "Zona di appartenenza:" in the PDF.
enum class ClientCardTarget { Paper, Pdf };

// The client card layout `repScheda` ("Scheda informativa"): one A4 portrait page with the logo, the
// title, 24 rows of caption and value, and the footer. Design texts "Titolo Scheda", "Campo n",
// "Termine scheda".
ReportLayout clientCardLayout();

// Fills `repScheda` from the client card screen's controls (txtCliente … txtNote, each trimmed):
// title "SCHEDA ANAGRAFICA CLIENTE", the 24 captions and values, and the footer with `now`. The card
// need not be saved: pass what the screen shows.
void fillClientCard(ReportLayout& layout, const FieldTexts& controls, ClientCardTarget target, const QDateTime& now);

// clientCardLayout() filled and prepared: what cmdStampa, cmdAnteprima (target Paper) and cmdPDF
// (target Pdf) hand to the printer service.
PreparedReport prepareClientCard(const FieldTexts& controls, ClientCardTarget target, const QDateTime& now);

// "Contatto.pdf": the file cmdPDF writes in the program's folder, and its document properties.
inline constexpr const char* kClientCardPdfName = "Contatto.pdf";
PdfProperties clientCardPdfProperties();

} // namespace ombrisa::report
