#pragma once

#include "report/layouts/fieldtexts.h"
#include "report/preparedreport.h"

namespace ombrisa::report {

// The call card layout `repDocumento` ("Scheda chiamata"): one A4 portrait page with the title band
// "SCHEDA INFORMATIVA CHIAMATA", fifteen framed rows of caption (Memo1 … Memo16) and value (txtData …
// txtOperatore), and the gold footer band txtCalce.
ReportLayout callCardLayout();

// Fills the layout from the call card screen's controls, each trimmed: txtData from txtGiornoRit,
// txtMeseRit and lblAnnoRit joined by blanks; txtOra from txtOreRit ":" txtMinutiRit; the other values
// from the controls of the same name; txtCalce with `now`. Empty date and time controls (as after a
// duplicate) give "  " and ":".
void fillCallCard(ReportLayout& layout, const FieldTexts& controls, const QDateTime& now);

// callCardLayout() filled and prepared: what the call card's print and preview dialogs hand on.
PreparedReport prepareCallCard(const FieldTexts& controls, const QDateTime& now);

} // namespace ombrisa::report
