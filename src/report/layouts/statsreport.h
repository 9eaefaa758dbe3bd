#pragma once

// A chart of the statistics screen on paper or in a PDF file: A4 landscape, the chart's title with its
// interval, the chart as one or more pictures (a chart too crowded for one page, such as many operators,
// comes in parts, each picture whole on its page), then its table in a fixed-pitch font (continued on the
// next pages when it is long) and the print stamp.

#include "report/preparedreport.h"
#include "report/pdfoutput.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QStringList>

namespace ombrisa::report {

// The list report (listreport.h) with the chart picture imgGrafico under txtTitolo in the title band; the
// table is the list's memo txtRiepilogo. With `pictures` above one, bands imgGrafico2 ... each hold one
// more picture of the same size (imgGrafico2, ...) before the table.
ReportLayout statsChartLayout(int pictures = 1);

// The table's rows (the first one the column names) as lines of aligned columns: the first column to
// the left, the others to the right, two blanks between columns, a rule under the column names.
QStringList statsTableLines(const QList<QStringList>& rows);

// Fills a layout made for as many pictures as `charts` holds.
void fillStatsChart(ReportLayout& layout, const QString& title, const QList<QImage>& charts,
                    const QStringList& tableLines, const QDateTime& now);
PreparedReport prepareStatsChart(const QString& title, const QList<QImage>& charts, const QStringList& tableLines,
                                 const QDateTime& now);

// The size in pixels a chart is drawn at for the report: the picture box at 200 dots per inch.
QSize statsChartPictureSize();

} // namespace ombrisa::report
