#include "report/layouts/agentcard.h"

#include "report/layouts/pictures.h"

namespace ombrisa::report {

const std::array<const char*, 25> kAgentCardMemos{
    "txtDipendente", "txtSesso",      "txtDataNasc",  "txtCittadinanza", "txtLuogoNasc",
    "txtIndirizzo",  "txtCitta",      "txtCap",       "txtNazione",      "txtCodFisc",
    "txtCivile",     "txtPartitaIva", "txtStudio",    "txtLingue",       "txtEmail",
    "txtTel",        "txtCel",        "txtQualifica", "txtReparto",      "txtDisponibilita",
    "txtMansioni",   "txtIban",       "txtDataAss",   "txtRetribuzione", "txtNote"};

namespace {

const QColor kRoyalBlue(0x41, 0x69, 0xE1);
constexpr double kCaptionPx = 8 * 96.0 / 72.0; // 8 point
constexpr double kTitlePx = 12 * 96.0 / 72.0;  // 12 point

struct Cell {
    int row; // 1..9
    const char* caption;
    const char* memo;
    double leftMm;
    double widthMm;
    bool centred;
};

const Cell kCells[] = {
    {1, "LUOGO DI NASCITA", "txtLuogoNasc", 1, 58, false},
    {1, "DATA DI NASCITA", "txtDataNasc", 61, 32, false},
    {1, "SESSO", "txtSesso", 95, 16, true},
    {1, "INDIRIZZO", "txtIndirizzo", 113, 76, false},
    {2, "CITTA'", "txtCitta", 1, 58, false},
    {2, "CAP", "txtCap", 61, 32, false},
    {2, "NAZIONE", "txtNazione", 95, 45, false},
    {2, "CODICE FISCALE", "txtCodFisc", 142, 47, false},
    {3, "TITOLO DI STUDIO", "txtStudio", 1, 92, false},
    {3, "LINGUE CONOSCIUTE", "txtlingue", 95, 94, false},
    {4, "REPARTO", "txtReparto", 1, 92, false},
    {4, "STATO CIVILE", "txtCivile", 95, 45, false},
    {4, "CITTADINANZA", "txtCittadinanza", 142, 47, false},
    {5, "QUALIFICA", "txtQualifica", 1, 92, false},
    {5, "DISPONIBILITA'", "txtDisponibilita", 95, 94, false},
    {6, "E-MAIL", "txtEmail", 1, 49, false},
    {6, "TEL. CASA", "txtTel", 52, 41, false},
    {6, "TEL. CELLULARE", "txtCel", 95, 45, false},
    {6, "DATA ASSUNZIONE", "txtDataAss", 142, 47, false},
    {7, "IBAN", "txtIban", 1, 59, false},
    {7, "PARTITA IVA", "txtPartitaIva", 62, 31, false},
    {7, "RETRIBUZIONE", "txtRetribuzione", 95, 94, false},
    {8, "MANSIONI", "txtMansioni", 1, 188, false},
    {9, "NOTE", "txtNote", 1, 188, false},
};

ReportObject textObject(const QString& name, QRectF rect, double px, bool bold, QColor color, QColor fill, QColor frame,
                        Qt::Alignment align, const QString& design) {
    ReportObject o;
    o.name = name;
    o.kind = ObjectKind::Text;
    o.rect = rect;
    o.font = {QStringLiteral("Arial"), px, bold};
    o.textColor = color;
    o.fill = fill;
    o.frame = frame;
    o.frameWidth = 0.75;
    o.alignment = align;
    o.text = design;
    return o;
}

} // namespace

ReportLayout agentCardLayout() {
    ReportLayout layout;
    layout.reportName = QStringLiteral("Scheda Agente");
    Band page{QStringLiteral("Page"), BandKind::ReportTitle, mm(276), false, {}};
    page.objects.append(textObject(QStringLiteral("txtDipendente"), QRectF(mm(1), mm(1), mm(188), mm(8)), kTitlePx,
                                   true, Qt::white, kRoyalBlue, QColor(), Qt::AlignCenter, QStringLiteral("Nome")));
    ReportObject photo;
    photo.name = QStringLiteral("imgLogo");
    photo.kind = ObjectKind::Picture;
    photo.rect = QRectF(mm(1), mm(11), mm(188), mm(140));
    photo.picture = photoPlaceholder();
    page.objects.append(photo);
    for (const Cell& cell : kCells) {
        const double top = 153 + (cell.row - 1) * 14;
        const QString memo = QString::fromLatin1(cell.memo);
        // Caption boxes are named like their memo with "tit" for "txt": titLuogoNasc, titlingue...
        page.objects.append(textObject(QStringLiteral("tit") + memo.mid(3),
                                       QRectF(mm(cell.leftMm), mm(top), mm(cell.widthMm), mm(4.8)), kCaptionPx, true,
                                       Qt::white, kRoyalBlue, kRoyalBlue, Qt::AlignLeft | Qt::AlignVCenter,
                                       QString::fromLatin1(cell.caption)));
        page.objects.append(textObject(
            memo, QRectF(mm(cell.leftMm), mm(top + 4.8), mm(cell.widthMm), mm(6)), kCaptionPx, false, Qt::black,
            QColor(), kRoyalBlue, (cell.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, QString()));
    }
    layout.bands.append(page);
    return layout;
}

void fillAgentCard(ReportLayout& layout, const FieldTexts& controls, const QImage& photo) {
    layout.orientation = QPageLayout::Portrait;
    layout.setPicture(u"imgLogo", photo.isNull() ? photoPlaceholder() : photo);
    for (const char* memo : kAgentCardMemos) {
        const QString name = QString::fromLatin1(memo);
        layout.setText(name, trimmedValue(controls, name));
    }
}

PreparedReport prepareAgentCard(const FieldTexts& controls, const QImage& photo) {
    ReportLayout layout = agentCardLayout();
    fillAgentCard(layout, controls, photo);
    PreparedReport report = prepare(layout);
    report.fileTitle = QStringLiteral("Scheda agente ") + trimmedValue(controls, QStringLiteral("txtDipendente"));
    return report;
}

} // namespace ombrisa::report
