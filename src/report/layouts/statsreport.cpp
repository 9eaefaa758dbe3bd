#include "report/layouts/statsreport.h"

#include "report/layouts/fieldtexts.h"
#include "report/layouts/listreport.h"

#include <algorithm>

namespace ombrisa::report {

namespace {

constexpr double kPictureTop = 34.0;
constexpr double kPictureHeight = 430.0;

} // namespace

ReportLayout statsChartLayout() {
    ReportLayout layout = listReportLayout();
    layout.reportName = QStringLiteral("Statistiche delle chiamate");
    Band* title = layout.findBand(u"ReportTitle");
    ReportObject picture;
    picture.name = QStringLiteral("imgGrafico");
    picture.kind = ObjectKind::Picture;
    picture.rect = QRectF(7.56, kPictureTop, 1031.81, kPictureHeight);
    title->objects.append(picture);
    title->height = kPictureTop + kPictureHeight + 8;
    return layout;
}

QStringList statsTableLines(const QList<QStringList>& rows) {
    QList<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    QStringList lines;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QString line;
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            line += c == 0 ? rows[r][c].leftJustified(widths[c]) : rows[r][c].rightJustified(widths[c]);
        }
        lines.append(line.trimmed().isEmpty() ? QString() : line);
        if (r == 0) {
            qsizetype total = 0;
            for (qsizetype w : widths)
                total += w;
            lines.append(QString(total + 2 * std::max<qsizetype>(0, widths.size() - 1), QLatin1Char('-')));
        }
    }
    return lines;
}

void fillStatsChart(ReportLayout& layout, const QString& title, const QImage& chart, const QStringList& tableLines,
                    const QDateTime& now) {
    // The list's fill sets the title, the table's lines with their heights and the stamp.
    fillListReport(layout, title, tableLines, {}, now);
    layout.setPicture(u"imgGrafico", chart);
}

PreparedReport prepareStatsChart(const QString& title, const QImage& chart, const QStringList& tableLines,
                                 const QDateTime& now) {
    ReportLayout layout = statsChartLayout();
    fillStatsChart(layout, title, chart, tableLines, now);
    return prepare(layout);
}

QSize statsChartPictureSize() {
    // Report units are 1/96 inch.
    return QSize(qRound(1031.81 * 200 / 96), qRound(kPictureHeight * 200 / 96));
}

} // namespace ombrisa::report
