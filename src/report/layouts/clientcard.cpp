#include "report/layouts/clientcard.h"

#include "report/layouts/pictures.h"

#include <array>

namespace ombrisa::report {

namespace {

const QColor kDarkOrange(0xFF, 0x8C, 0x00);
const QColor kTeal(0x00, 0x80, 0x80);

double rowTop(int row) {
    return 90.71 + (row - 1) * 37.795;
}

QString rowName(const char* prefix, int row) {
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

ReportObject text(const QString& name, QRectF rect, double px, QColor color, QColor fill, Qt::Alignment align,
                  const QString& design) {
    ReportObject o;
    o.name = name;
    o.kind = ObjectKind::Text;
    o.rect = rect;
    o.font = {QStringLiteral("Arial"), px, false};
    o.textColor = color;
    o.fill = fill;
    o.alignment = align;
    o.text = design;
    return o;
}

ReportObject rule(const QString& name, double left, double top, double width) {
    ReportObject o;
    o.name = name;
    o.kind = ObjectKind::Line;
    o.rect = QRectF(left, top, width, 0);
    o.frame = Qt::black;
    return o;
}

} // namespace

ReportLayout clientCardLayout() {
    ReportLayout layout;
    layout.reportName = QStringLiteral("Scheda informativa");
    layout.author = QStringLiteral("Quintavo");
    Band page{QStringLiteral("Page"), BandKind::ReportTitle, 1039.37, false, {}};

    ReportObject logo;
    logo.name = QStringLiteral("imgLogo");
    logo.kind = ObjectKind::Picture;
    logo.rect = QRectF(11.34, 11.34, 64.25, 49.13);
    logo.picture = productLogo();
    page.objects.append(logo);
    page.objects.append(text(QStringLiteral("txtTitolo"), QRectF(86.93, 11.34, 623.62, 34.02), 21.33, Qt::white,
                             kDarkOrange, Qt::AlignCenter, QStringLiteral("Titolo Scheda")));
    page.objects.append(rule(QStringLiteral("linSepara01"), 86.93, 60.47, 623.62));
    for (int row = 1; row <= 24; ++row) {
        const QString design = QStringLiteral("Campo %1").arg(row);
        page.objects.append(text(rowName("titCampo", row), QRectF(11.34, rowTop(row), 196.54, 22.68), 12, Qt::white,
                                 kTeal, Qt::AlignLeft | Qt::AlignVCenter, design));
        page.objects.append(text(rowName("txtCampo", row), QRectF(226.77, rowTop(row), 483.78, 22.68), 13.33, Qt::black,
                                 QColor(), Qt::AlignLeft | Qt::AlignVCenter, design));
    }
    page.objects.append(rule(QStringLiteral("linSepara02"), 11.34, 1001.58, 699.21));
    page.objects.append(text(QStringLiteral("txtCalce"), QRectF(11.34, 1016.69, 699.21, 22.68), 13.33, Qt::white,
                             kDarkOrange, Qt::AlignCenter, QStringLiteral("Termine scheda")));
    layout.bands.append(page);
    return layout;
}

void fillClientCard(ReportLayout& layout, const FieldTexts& controls, ClientCardTarget target, const QDateTime& now) {
    auto v = [&](const char* control) { return trimmedValue(controls, QString::fromLatin1(control)); };
    const std::array<std::pair<QString, QString>, 24> rows{{
        {QStringLiteral("Cognome e nome:"), v("txtCliente")},
        {QStringLiteral("Data di nascita:"), v("txtDataNasc")},
        {QStringLiteral("Comune di nascita:"), v("txtComuneNasc") + QLatin1Char(' ') + v("txtProvNasc")},
        {QStringLiteral("Sesso:"), v("txtSesso")},
        {QStringLiteral("Tel. preferenziale:"), v("txtRecapito")},
        {QStringLiteral("Indirizzo di residenza:"), v("txtIndirizzoRes")},
        {QStringLiteral("Comune di residenza:"), v("txtComuneRes") + QLatin1Char(' ') + v("txtProvRes")},
        {QStringLiteral("Modalità pagamento:"), v("txtEstremi")},
        {QStringLiteral("Tel. casa:"), v("txtTelCasa")},
        {QStringLiteral("Tel. ufficio:"), v("txtTelUff")},
        {QStringLiteral("Tel. cellulare:"), v("txtTelCel")},
        {QStringLiteral("PEC:"), v("txtFax")},
        {QStringLiteral("E-mail:"), v("txtEmail")},
        {QStringLiteral("Codice fiscale:"), v("txtCodFisc")},
        {QStringLiteral("Partita IVA:"), v("txtPartitaIva")},
        {QStringLiteral("Carta di credito:"),
         QStringLiteral("N. ") + v("txtCarta") + QStringLiteral("  -  Scadenza: ") + v("txtScadeCarta")},
        {QStringLiteral("IBAN:"), v("txtIban")},
        {QStringLiteral("Estremi documento:"), v("txtDocumento")},
        {QStringLiteral("Occupazione:"), v("txtOccupazione")},
        {QStringLiteral("Titoli e qualifiche:"), v("txtTitoli")},
        {QStringLiteral("Prodotti e servizi:"), v("txtProdotti")},
        {target == ClientCardTarget::Pdf ? QStringLiteral("Zona di appartenenza:") : QStringLiteral("Zona:"),
         v("txtZona")},
        {QStringLiteral("Questioni in sospeso:"), v("txtQuestioni")},
        {QStringLiteral("Note:"), v("txtNote")},
    }};
    layout.orientation = QPageLayout::Portrait;
    layout.setText(u"txtTitolo", QStringLiteral("SCHEDA ANAGRAFICA CLIENTE"));
    for (int row = 1; row <= 24; ++row) {
        layout.setText(rowName("titCampo", row), rows[std::size_t(row - 1)].first);
        layout.setText(rowName("txtCampo", row), rows[std::size_t(row - 1)].second);
    }
    layout.setText(u"txtCalce", printStamp(now));
}

PreparedReport prepareClientCard(const FieldTexts& controls, ClientCardTarget target, const QDateTime& now) {
    ReportLayout layout = clientCardLayout();
    fillClientCard(layout, controls, target, now);
    PreparedReport report = prepare(layout);
    report.fileTitle = QStringLiteral("Scheda cliente ") + trimmedValue(controls, QStringLiteral("txtCliente"));
    return report;
}

PdfProperties clientCardPdfProperties() {
    return {QStringLiteral("Scheda informativa"), QStringLiteral("Scheda informativa"), QStringLiteral("Quintavo"),
            QStringLiteral("Quintavo")};
}

} // namespace ombrisa::report
