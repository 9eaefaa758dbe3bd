#include "report/layouts/clientcard.h"
#include "reporttestutil.h"

#include <QTemporaryDir>

using namespace ombrisa::report;
using ombrisa::report::test::only;
using ombrisa::report::test::pdfText;

namespace {

const QDateTime kClientCardNow(QDate(2024, 3, 5), QTime(9, 7, 3));

// A full card as the screen shows it; blanks around values must not reach the sheet.
FieldTexts fullCard() {
    return {
        {"txtCliente", "  Ferrù Niccolò  "},
        {"txtDataNasc", "05/03/1970"},
        {"txtComuneNasc", "Forlì"},
        {"txtProvNasc", "FC"},
        {"txtSesso", "M"},
        {"txtRecapito", "0543 123456"},
        {"txtIndirizzoRes", "Via Martiri, 3"},
        {"txtProvRes", "RM"},
        {"txtComuneRes", "Roma"},
        {"txtCapRes", "00100"},
        {"txtEstremi", "Bonifico a 30 giorni"},
        {"txtTelCasa", "06 111"},
        {"txtTelUff", "06 222"},
        {"txtTelCel", "333 444"},
        {"txtFax", "ferru@pec.it"},
        {"txtEmail", "ferru@esempio.it"},
        {"txtCodFisc", "FRRNCL70C05D704X"},
        {"txtCarta", "4111111111111111"},
        {"txtScadeCarta", "12/2027"},
        {"txtPartitaIva", "01234567890"},
        {"txtIban", "IT60X0542811101000000123456"},
        {"txtDocumento", "C.I. AB123 rilasciata dal Comune"},
        {"txtOccupazione", "Perito agrario"},
        {"txtCivile", "Coniugato"},
        {"txtTitoli", "Diploma di maturità"},
        {"txtProdotti", "Caffè e tè"},
        {"txtZona", "Nord-Est"},
        {"txtQuestioni", "Fattura n. 12 è da verificare"},
        {"txtNote", "Preferisce essere chiamato di pomeriggio"},
    };
}

struct ClientRow {
    int row;
    const char* caption;
    const char* value;
};
const ClientRow kFullCardRows[] = {
    {1, "Cognome e nome:", "Ferrù Niccolò"},
    {2, "Data di nascita:", "05/03/1970"},
    {3, "Comune di nascita:", "Forlì FC"},
    {4, "Sesso:", "M"},
    {5, "Tel. preferenziale:", "0543 123456"},
    {6, "Indirizzo di residenza:", "Via Martiri, 3"},
    {7, "Comune di residenza:", "Roma RM"},
    {8, "Modalità pagamento:", "Bonifico a 30 giorni"},
    {9, "Tel. casa:", "06 111"},
    {10, "Tel. ufficio:", "06 222"},
    {11, "Tel. cellulare:", "333 444"},
    {12, "PEC:", "ferru@pec.it"},
    {13, "E-mail:", "ferru@esempio.it"},
    {14, "Codice fiscale:", "FRRNCL70C05D704X"},
    {15, "Partita IVA:", "01234567890"},
    {16, "Carta di credito:", "N. 4111111111111111  -  Scadenza: 12/2027"},
    {17, "IBAN:", "IT60X0542811101000000123456"},
    {18, "Estremi documento:", "C.I. AB123 rilasciata dal Comune"},
    {19, "Occupazione:", "Perito agrario"},
    {20, "Titoli e qualifiche:", "Diploma di maturità"},
    {21, "Prodotti e servizi:", "Caffè e tè"},
    {22, "Zona:", "Nord-Est"},
    {23, "Questioni in sospeso:", "Fattura n. 12 è da verificare"},
    {24, "Note:", "Preferisce essere chiamato di pomeriggio"},
};

QString rowName(const char* prefix, int row) {
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

TEST(ClientCardReport, EveryRowAtItsPlaceWithItsCaptionAndValue) {
    const PreparedReport report = prepareClientCard(fullCard(), ClientCardTarget::Paper, kClientCardNow);
    ASSERT_EQ(report.pages.size(), 1);
    EXPECT_EQ(report.pageLayout.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(report.pageLayout.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(report.pageLayout.margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
    for (const ClientRow& r : kFullCardRows) {
        SCOPED_TRACE(r.row);
        const PreparedItem& caption = only(report, 0, rowName("titCampo", r.row));
        const PreparedItem& value = only(report, 0, rowName("txtCampo", r.row));
        EXPECT_EQ(caption.text, QString::fromUtf8(r.caption));
        EXPECT_EQ(value.text, QString::fromUtf8(r.value));
        const double top = 90.71 + (r.row - 1) * 37.795;
        EXPECT_EQ(caption.rect, QRectF(11.34, top, 196.54, 22.68));
        EXPECT_EQ(value.rect, QRectF(226.77, top, 483.78, 22.68));
    }
    EXPECT_EQ(only(report, 0, "txtTitolo").text, "SCHEDA ANAGRAFICA CLIENTE");
    EXPECT_EQ(only(report, 0, "txtTitolo").rect, QRectF(86.93, 11.34, 623.62, 34.02));
    EXPECT_EQ(only(report, 0, "txtCalce").text, "Stampa eseguita in data 05/03/2024 alle ore 09:07:03");
    EXPECT_EQ(only(report, 0, "txtCalce").rect, QRectF(11.34, 1016.69, 699.21, 22.68));
    EXPECT_EQ(only(report, 0, "imgLogo").rect, QRectF(11.34, 11.34, 64.25, 49.13));
    EXPECT_FALSE(only(report, 0, "imgLogo").picture.isNull());
    EXPECT_EQ(only(report, 0, "linSepara01").rect, QRectF(86.93, 60.47, 623.62, 0));
    EXPECT_EQ(only(report, 0, "linSepara02").rect, QRectF(11.34, 1001.58, 699.21, 0));
    // Everything lies inside the printable area of A4 with 10 mm margins.
    const QRectF printable(QPointF(), report.printableSize);
    for (const PreparedItem& item : report.pages[0].items)
        EXPECT_EQ(printable.united(item.rect), printable) << item.name.toStdString();
}

TEST(ClientCardReport, EmptyCardKeepsTheFixedPiecesOfItsRows) {
    const PreparedReport report = prepareClientCard({}, ClientCardTarget::Paper, kClientCardNow);
    EXPECT_EQ(only(report, 0, "txtCampo16").text, "N.   -  Scadenza: ");
    EXPECT_EQ(only(report, 0, "txtCampo03").text, " ");
    EXPECT_EQ(only(report, 0, "txtCampo07").text, " ");
    EXPECT_EQ(only(report, 0, "txtCampo01").text, "");
    EXPECT_EQ(only(report, 0, "titCampo01").text, "Cognome e nome:");
}

TEST(ClientCardReport, RowTwentyTwoCaptionDependsOnTheTarget) {
    EXPECT_EQ(only(prepareClientCard({}, ClientCardTarget::Paper, kClientCardNow), 0, "titCampo22").text, "Zona:");
    EXPECT_EQ(only(prepareClientCard({}, ClientCardTarget::Pdf, kClientCardNow), 0, "titCampo22").text,
              "Zona di appartenenza:");
}

TEST(ClientCardReport, ValuesArePrintedLiterally) {
    FieldTexts card{{"txtNote", "[DATE] <b>1+1</b> %1 \\n"}};
    EXPECT_EQ(only(prepareClientCard(card, ClientCardTarget::Paper, kClientCardNow), 0, "txtCampo24").text,
              "[DATE] <b>1+1</b> %1 \\n");
}

TEST(ClientCardReport, StoredCardGivesTheSameTextsAsTheScreen) {
    ombrisa::TRecCliente record{};
    ombrisa::PutText(record.Cliente, u"Ferrù Niccolò");
    ombrisa::PutText(record.ProvNasc, u"FC");
    const FieldTexts texts = fieldTexts(record);
    EXPECT_EQ(texts.value("txtCliente"), "Ferrù Niccolò");
    const PreparedReport report = prepareClientCard(texts, ClientCardTarget::Pdf, kClientCardNow);
    EXPECT_EQ(only(report, 0, "txtCampo01").text, "Ferrù Niccolò");
    EXPECT_EQ(only(report, 0, "txtCampo03").text, " FC");
}

TEST(ClientCardReport, PdfHoldsTitleCaptionsAndValuesWithAccents) {
    QTemporaryDir dir;
    const QString path = dir.filePath(kClientCardPdfName);
    ASSERT_TRUE(writePdfFile(prepareClientCard(fullCard(), ClientCardTarget::Pdf, kClientCardNow), path,
                             clientCardPdfProperties())
                    .done());
    ombrisa::report::test::keepCopy(path, "scheda-cliente.pdf");
    // pdftotext gives runs of blanks as one blank: compare with blanks simplified.
    const QString text = pdfText(path).simplified();
    EXPECT_TRUE(text.contains("SCHEDA ANAGRAFICA CLIENTE")) << text.toStdString();
    EXPECT_TRUE(text.contains("Stampa eseguita in data 05/03/2024 alle ore 09:07:03"));
    for (const ClientRow& r : kFullCardRows) {
        const QString caption = r.row == 22 ? QStringLiteral("Zona di appartenenza:") : QString::fromUtf8(r.caption);
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(r.value).simplified())) << r.value;
    }
}

} // namespace
