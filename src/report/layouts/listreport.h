#pragma once

#include "report/layouts/fieldtexts.h"
#include "report/preparedreport.h"

#include <QStringList>

namespace ombrisa::report {

// Height of one line of the printed list; the data band is the text plus kListBandPadding.
inline constexpr double kListLineHeight = 12.822;
inline constexpr double kListBandPadding = 10.0;

// The printed list "Riepilogo dati": A4 landscape, title band ReportTitle (txtTitolo), data band
// MasterData (the multi-line txtRiepilogo in a fixed-pitch font, split across pages as needed) and
// band Footer (txtPagina) printed once after the last line.
ReportLayout listReportLayout();

// Fills the list layout: txtTitolo gets the title, txtPagina the print stamp of `now`, txtRiepilogo
// the list lines exactly as the screen shows them followed by `extraLines`; then txtRiepilogo is made
// lines × kListLineHeight high and MasterData that plus kListBandPadding.
void fillListReport(ReportLayout& layout, const QString& title, const QStringList& lines, const QStringList& extraLines,
                    const QDateTime& now);

PreparedReport prepareListReport(const QString& title, const QStringList& lines, const QStringList& extraLines,
                                 const QDateTime& now);

// The titles and closing lines the callers pass.
inline const QString kTitleClienti = QStringLiteral("Riepilogo clienti in archivio");
inline const QString kTitleChiamate = QStringLiteral("Riepilogo chiamate");
inline const QString kTitleDipendenti = QStringLiteral("Riepilogo schede agenti in archivio");
inline const QString kTitleRicontatta = QStringLiteral("Riepilogo clienti da ricontattare");
// "Registro prestazioni lavorative di " + the agent's name, trimmed.
QString workRegisterTitle(const QString& agentName);
// "--------------------------" and "TOTALE PRESTAZIONI:    " + the total, trimmed.
QStringList workRegisterExtraLines(const QString& total);
// "Riepilogo prestazioni del lavoratore con C.F. " + the codice fiscale.
QString hoursSummaryTitle(const QString& codiceFiscale);
// "- - - …" and the interval, works and hours lines.
QStringList hoursSummaryExtraLines(const QString& interval, const QString& works, const QString& hours,
                                   qsizetype leftOut = 0, bool readWhole = true);

} // namespace ombrisa::report
