#pragma once

#include "report/layouts/listreport.h"

#include <QStringList>

class QAbstractItemModel;
class QWidget;

namespace ombrisa {

// What a list screen's print button calls: the printed list "Riepilogo dati" with `title`, the list
// lines exactly as shown, then `extraLines`; the footer carries the clock service's date and time.
// Goes through the system print dialog; a failing printer shows its message. Titles and extra lines
// of each caller: report::kTitleClienti, report::workRegisterTitle(), report::hoursSummaryExtraLines()...
// `fileTitle`: what is printed, for the name of a PDF file, when the title does not say it all.
void printListLines(QWidget* screen, const QString& title, const QStringList& lines,
                    const QStringList& extraLines = {}, const QString& fileTitle = {});

// The display texts of column 0 of a list model, in order: the lines as the screen shows them.
QStringList listLines(const QAbstractItemModel* model);

} // namespace ombrisa
