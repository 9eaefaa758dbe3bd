#include "report/layouts/statsreport.h"

#include "report/layouts/fieldtexts.h"
#include "report/layouts/listreport.h"

#include <algorithm>

namespace ombrisa::report {

namespace {

constexpr double kPictureTop = 34.0;
constexpr double kPictureHeight = 430.0;

QString pictureName(int index) {
    return index == 0 ? QStringLiteral("imgGrafico") : QStringLiteral("imgGrafico%1").arg(index + 1);
}

ReportObject pictureObject(int index, double top) {
    ReportObject picture;
    picture.name = pictureName(index);
    picture.kind = ObjectKind::Picture;
    picture.rect = QRectF(7.56, top, 1031.81, kPictureHeight);
    return picture;
}

} // namespace

ReportLayout statsChartLayout(int pictures) {
    ReportLayout layout = listReportLayout();
    layout.reportName = QStringLiteral("Statistiche delle chiamate");
    Band* title = layout.findBand(u"ReportTitle");
    title->objects.append(pictureObject(0, kPictureTop));
    title->height = kPictureTop + kPictureHeight + 8;
    // The further pictures, each in a band of its own that goes whole to the next page when it does
    // not fit, between the title and the table.
    for (int i = 1; i < pictures; ++i) {
        Band band{pictureName(i), BandKind::MasterData, kPictureHeight + 8, false, {pictureObject(i, 0)}};
        layout.bands.insert(i, band);
    }
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

void fillStatsChart(ReportLayout& layout, const QString& title, const QList<QImage>& charts,
                    const QStringList& tableLines, const QDateTime& now) {
    // The list's fill sets the title, the table's lines with their heights and the stamp.
    fillListReport(layout, title, tableLines, {}, now);
    for (qsizetype i = 0; i < charts.size(); ++i)
        layout.setPicture(pictureName(static_cast<int>(i)), charts[i]);
}

PreparedReport prepareStatsChart(const QString& title, const QList<QImage>& charts, const QStringList& tableLines,
                                 const QDateTime& now) {
    ReportLayout layout = statsChartLayout(static_cast<int>(std::max<qsizetype>(1, charts.size())));
    fillStatsChart(layout, title, charts, tableLines, now);
    return prepare(layout);
}

QSize statsChartPictureSize() {
    // Report units are 1/96 inch.
    return QSize(qRound(1031.81 * 200 / 96), qRound(kPictureHeight * 200 / 96));
}

} // namespace ombrisa::report
