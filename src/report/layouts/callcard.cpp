#include "report/layouts/callcard.h"

#include <array>

namespace ombrisa::report {

namespace {

const QColor kLightSteelBlue(0xB0, 0xC4, 0xDE);
const QColor kGold(0xFF, 0xD7, 0x00);
constexpr double kLeft = 3.78;
constexpr double kWidth = 710.55;
constexpr double kRowHeight = 17.39;
constexpr double kDivider = 158.74;

struct Row {
    const char* caption;
    const char* captionText;
    const char* value;
};
// Memo7 is not in the layout: the captions jump from Memo6 to Memo8.
constexpr std::array<Row, 15> kRows{{
    {"Memo1", "Data chiamata:", "txtData"},
    {"Memo2", "Ora chiamata:", "txtOra"},
    {"Memo3", "Tipo chiamata:", "txtTipo"},
    {"Memo4", "Oggetto:", "txtOggetto"},
    {"Memo5", "Esito:", "txtEsito"},
    {"Memo6", "Grado soddisfazione:", "txtGrado"},
    {"Memo8", "Durata:", "txtDurata"},
    {"Memo9", "Cognome e nome cliente:", "txtCliente"},
    {"Memo10", "Codice fiscale:", "txtCodFisc"},
    {"Memo11", "Zona di appartenenza:", "txtZona"},
    {"Memo12", "Tel. preferenziale:", "txtRecapito"},
    {"Memo13", "Tel. cellulare:", "txtTelCel"},
    {"Memo14", "E-mail:", "txtEmail"},
    {"Memo15", "Note:", "txtNote"},
    {"Memo16", "Operatore / Agente:", "txtOperatore"},
}};

ReportObject memo(const QString& name, QRectF rect, double px, const QString& design, Qt::Alignment align,
                  QColor fill = QColor()) {
    ReportObject o;
    o.name = name;
    o.kind = ObjectKind::Text;
    o.rect = rect;
    o.font = {QStringLiteral("Arial"), px, false};
    o.alignment = align;
    o.text = design;
    o.fill = fill;
    return o;
}

} // namespace

ReportLayout callCardLayout() {
    ReportLayout layout;
    layout.reportName = QStringLiteral("Scheda chiamata");
    Band page{QStringLiteral("Page"), BandKind::ReportTitle, 335.62, false, {}};
    page.objects.append(memo(QStringLiteral("titArcataSup"), QRectF(kLeft, 3.78, kWidth, 21.92), 12,
                             QStringLiteral("SCHEDA INFORMATIVA CHIAMATA"), Qt::AlignCenter, kLightSteelBlue));
    for (int i = 0; i < int(kRows.size()); ++i) {
        const Row& row = kRows[std::size_t(i)];
        const double top = 26.46 + i * 18.9;
        const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        ReportObject box;
        box.name = QStringLiteral("shpRiga") + number;
        box.kind = ObjectKind::Box;
        box.rect = QRectF(kLeft, top, kWidth, kRowHeight);
        box.frame = Qt::black;
        box.frameWidth = 0.75;
        page.objects.append(box);
        ReportObject divider;
        divider.name = QStringLiteral("linRiga") + number;
        divider.kind = ObjectKind::Line;
        divider.rect = QRectF(kDivider, top, 0, kRowHeight);
        divider.frame = Qt::black;
        divider.frameWidth = 0.75;
        page.objects.append(divider);
        page.objects.append(memo(QString::fromLatin1(row.caption), QRectF(7.56, top, 142.87, kRowHeight), 9.33,
                                 QString::fromUtf8(row.captionText), Qt::AlignLeft | Qt::AlignVCenter));
        page.objects.append(memo(QString::fromLatin1(row.value), QRectF(166.30, top, 544.25, kRowHeight), 9.33,
                                 QString(), Qt::AlignLeft | Qt::AlignVCenter));
    }
    page.objects.append(memo(QStringLiteral("txtCalce"), QRectF(kLeft, 313.70, kWidth, 21.92), 10.67,
                             QStringLiteral("Data e ora stampa"), Qt::AlignCenter, kGold));
    layout.bands.append(page);
    return layout;
}

void fillCallCard(ReportLayout& layout, const FieldTexts& controls, const QDateTime& now) {
    auto v = [&](const char* control) { return trimmedValue(controls, QString::fromLatin1(control)); };
    layout.orientation = QPageLayout::Portrait;
    for (const Row& row : kRows) {
        const QString name = QString::fromLatin1(row.value);
        QString value;
        if (name == u"txtData")
            value = v("txtGiornoRit") + QLatin1Char(' ') + v("txtMeseRit") + QLatin1Char(' ') + v("lblAnnoRit");
        else if (name == u"txtOra")
            value = v("txtOreRit") + QLatin1Char(':') + v("txtMinutiRit");
        else
            value = v(row.value);
        layout.setText(name, value);
    }
    layout.setText(u"txtCalce", printStamp(now));
}

PreparedReport prepareCallCard(const FieldTexts& controls, const QDateTime& now) {
    ReportLayout layout = callCardLayout();
    fillCallCard(layout, controls, now);
    PreparedReport report = prepare(layout);
    QStringList title{QStringLiteral("Scheda chiamata")};
    for (const char* control : {"txtCliente", "txtGiornoRit", "txtMeseRit", "lblAnnoRit"})
        title.append(trimmedValue(controls, QString::fromLatin1(control)));
    title.removeAll(QString());
    report.fileTitle = title.join(QLatin1Char(' '));
    return report;
}

} // namespace ombrisa::report
