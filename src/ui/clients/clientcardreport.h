#pragma once

#include "report/layouts/fieldtexts.h"

class QAbstractButton;
class QWidget;

namespace ombrisa {

// The output side of the client card's cmdStampa, cmdAnteprima and cmdPDF. Each fills the client card
// report with the values on screen (the card need not be saved) and today's date and time from the
// clock service. `texts` are the card screen's control texts (controlTexts(frmClienti)); `screen` is
// the parent of the boxes shown.

// cmdStampa: the system print dialog, then the printer. A failing printer shows its message.
void printClientCard(QWidget* screen, const report::FieldTexts& texts);
// cmdAnteprima: the preview window, modal until closed.
void previewClientCard(QWidget* screen, const report::FieldTexts& texts);
// cmdPDF: writes "Contatto.pdf" in the program's folder (replacing an earlier one without asking),
// then asks kPdfDoneQuestion; unless the answer is No the file is opened in the user's PDF viewer.
// When the file cannot be written (open and locked in a viewer, folder read-only) a warning says so,
// the earlier file stays as it was, and no question follows. True when the file was written.
bool exportClientCardPdf(QWidget* screen, const report::FieldTexts& texts);

// The same, reading the texts from the screen's own controls.
void printClientCard(QWidget* screen);
void previewClientCard(QWidget* screen);
bool exportClientCardPdf(QWidget* screen);

// Connects the client card's toolbar buttons to the three actions above (texts read at each click).
void connectClientCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima,
                             QAbstractButton* cmdPDF);

inline const QString kPdfDoneQuestion =
    QStringLiteral("L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?");

} // namespace ombrisa
