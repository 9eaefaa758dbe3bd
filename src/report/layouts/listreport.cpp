#include "report/layouts/listreport.h"

#include "core/storage/textfield.h"
#include "core/work/hourssummary.h"

namespace ombrisa::report {

namespace {

const QColor kSlateGrey(0x70, 0x80, 0x90);

ReportObject banner(const QString& name, QRectF rect, double px, const QString& design) {
    ReportObject o;
    o.name = name;
    o.kind = ObjectKind::Text;
    o.rect = rect;
    o.font = {QStringLiteral("Verdana"), px, true};
    o.textColor = Qt::white;
    o.fill = kSlateGrey;
    o.alignment = Qt::AlignCenter;
    o.text = design;
    return o;
}

} // namespace

ReportLayout listReportLayout() {
    ReportLayout layout;
    layout.reportName = QStringLiteral("Riepilogo dati");
    layout.orientation = QPageLayout::Landscape;

    Band title{QStringLiteral("ReportTitle"), BandKind::ReportTitle, 30.24, false, {}};
    title.objects.append(
        banner(QStringLiteral("txtTitolo"), QRectF(7.56, 3.78, 1031.81, 18.90), 12, QStringLiteral("Riepilogo")));

    Band data{QStringLiteral("MasterData"), BandKind::MasterData, 105.83, true, {}};
    ReportObject memo;
    memo.name = QStringLiteral("txtRiepilogo");
    memo.kind = ObjectKind::Memo;
    memo.rect = QRectF(11.34, 0, 1031.81, 102.05);
    memo.font = {QStringLiteral("Courier New"), 10.67, false};
    memo.alignment = Qt::AlignLeft | Qt::AlignTop;
    data.objects.append(memo);

    Band footer{QStringLiteral("Footer"), BandKind::Footer, 30.24, false, {}};
    footer.objects.append(banner(QStringLiteral("txtPagina"), QRectF(11.34, 7.56, 1028.03, 18.90), 10.67,
                                 QStringLiteral("Stampa eseguita in data [DATE]")));

    layout.bands = {title, data, footer};
    return layout;
}

void fillListReport(ReportLayout& layout, const QString& title, const QStringList& lines, const QStringList& extraLines,
                    const QDateTime& now) {
    layout.setText(u"txtTitolo", title);
    layout.setText(u"txtPagina", printStamp(now));
    ReportObject* memo = layout.findObject(u"txtRiepilogo");
    Band* data = layout.findBand(u"MasterData");
    if (!memo || !data)
        return;
    memo->lines.clear();
    for (const QString& line : lines)
        memo->lines.append(line);
    for (const QString& line : extraLines)
        memo->lines.append(line);
    memo->rect.setHeight(double(memo->lines.size()) * kListLineHeight);
    data->height = memo->rect.height() + kListBandPadding;
}

PreparedReport prepareListReport(const QString& title, const QStringList& lines, const QStringList& extraLines,
                                 const QDateTime& now) {
    ReportLayout layout = listReportLayout();
    fillListReport(layout, title, lines, extraLines, now);
    PreparedReport report = prepare(layout);
    report.fileTitle = title;
    return report;
}

QString workRegisterTitle(const QString& agentName) {
    return QStringLiteral("Registro prestazioni lavorative di ") + trimText(agentName);
}

QStringList workRegisterExtraLines(const QString& total) {
    return {QString(26, QLatin1Char('-')), QStringLiteral("TOTALE PRESTAZIONI:    ") + trimText(total)};
}

QString hoursSummaryTitle(const QString& codiceFiscale) {
    return QStringLiteral("Riepilogo prestazioni del lavoratore con C.F. ") + codiceFiscale;
}

QStringList hoursSummaryExtraLines(const QString& interval, const QString& works, const QString& hours,
                                   qsizetype leftOut, bool readWhole) {
    return hoursTotalLines(interval, works, hours, leftOut, readWhole);
}

} // namespace ombrisa::report
