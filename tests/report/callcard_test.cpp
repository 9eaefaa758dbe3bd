#include "report/layouts/callcard.h"
#include "report/pdfoutput.h"
#include "reporttestutil.h"

#include <QTemporaryDir>

using namespace ombrisa::report;
using ombrisa::report::test::only;

namespace {

const QDateTime kCallCardNow(QDate(2024, 12, 31), QTime(23, 59, 58));

struct CallRow {
    const char* caption;
    const char* captionText;
    const char* value;
    const char* expected;
};
const CallRow kRows[] = {
    {"Memo1", "Data chiamata:", "txtData", "05 Marzo 2024"},
    {"Memo2", "Ora chiamata:", "txtOra", "09:30"},
    {"Memo3", "Tipo chiamata:", "txtTipo", "Ricevuta"},
    {"Memo4", "Oggetto:", "txtOggetto", "Richiesta di preventivo"},
    {"Memo5", "Esito:", "txtEsito", "Preventivo inviato"},
    {"Memo6", "Grado soddisfazione:", "txtGrado", "Alto"},
    {"Memo8", "Durata:", "txtDurata", "10 minuti"},
    {"Memo9", "Cognome e nome cliente:", "txtCliente", "Ferrù Niccolò"},
    {"Memo10", "Codice fiscale:", "txtCodFisc", "FRRNCL70C05D704X"},
    {"Memo11", "Zona di appartenenza:", "txtZona", "Nord-Est"},
    {"Memo12", "Tel. preferenziale:", "txtRecapito", "0543 123456"},
    {"Memo13", "Tel. cellulare:", "txtTelCel", "333 444"},
    {"Memo14", "E-mail:", "txtEmail", "ferru@esempio.it"},
    {"Memo15", "Note:", "txtNote", "Richiamare lunedì"},
    {"Memo16", "Operatore / Agente:", "txtOperatore", "Bianchi"},
};

FieldTexts fullCall() {
    return {{"txtGiornoRit", " 05 "},
            {"txtMeseRit", "Marzo"},
            {"lblAnnoRit", "2024 "},
            {"txtOreRit", "09"},
            {"txtMinutiRit", "30"},
            {"txtTipo", "Ricevuta"},
            {"txtOggetto", "Richiesta di preventivo"},
            {"txtEsito", "Preventivo inviato"},
            {"txtGrado", "Alto"},
            {"txtDurata", " 10 minuti"},
            {"txtCliente", "Ferrù Niccolò"},
            {"txtCodFisc", "FRRNCL70C05D704X"},
            {"txtZona", "Nord-Est"},
            {"txtRecapito", "0543 123456"},
            {"txtTelCel", "333 444"},
            {"txtEmail", "ferru@esempio.it"},
            {"txtNote", "Richiamare lunedì"},
            {"txtOperatore", "Bianchi"}};
}

TEST(CallCardReport, FifteenRowsAtTheirPlace) {
    const PreparedReport report = prepareCallCard(fullCall(), kCallCardNow);
    ASSERT_EQ(report.pages.size(), 1);
    EXPECT_EQ(report.pageLayout.orientation(), QPageLayout::Portrait);
    int i = 0;
    for (const CallRow& r : kRows) {
        SCOPED_TRACE(r.value);
        const double top = 26.46 + i++ * 18.9;
        const PreparedItem& caption = only(report, 0, r.caption);
        const PreparedItem& value = only(report, 0, r.value);
        EXPECT_EQ(caption.text, QString::fromUtf8(r.captionText));
        EXPECT_EQ(value.text, QString::fromUtf8(r.expected));
        EXPECT_EQ(caption.rect, QRectF(7.56, top, 142.87, 17.39));
        EXPECT_EQ(value.rect, QRectF(166.30, top, 544.25, 17.39));
    }
    EXPECT_TRUE(report.find(0, "Memo7").isEmpty());
    EXPECT_EQ(only(report, 0, "titArcataSup").text, "SCHEDA INFORMATIVA CHIAMATA");
    EXPECT_DOUBLE_EQ(only(report, 0, "titArcataSup").rect.top(), 3.78);
    EXPECT_EQ(only(report, 0, "txtCalce").text, "Stampa eseguita in data 31/12/2024 alle ore 23:59:58");
    EXPECT_EQ(only(report, 0, "txtCalce").rect.top(), 313.70);
    EXPECT_EQ(only(report, 0, "txtCalce").rect.height(), 21.92);
}

TEST(CallCardReport, EmptyDateAndTimeAfterADuplicate) {
    FieldTexts duplicate = fullCall();
    for (const char* control : {"txtGiornoRit", "txtMeseRit", "lblAnnoRit", "txtOreRit", "txtMinutiRit", "txtTipo"})
        duplicate[control] = QString();
    const PreparedReport report = prepareCallCard(duplicate, kCallCardNow);
    EXPECT_EQ(only(report, 0, "txtData").text, "  ");
    EXPECT_EQ(only(report, 0, "txtOra").text, ":");
    EXPECT_EQ(only(report, 0, "txtTipo").text, "");
    EXPECT_EQ(only(report, 0, "Memo3").text, "Tipo chiamata:");
}

TEST(CallCardReport, LongSubjectStaysOneLine) {
    const QString subject(250, QLatin1Char('x'));
    const PreparedReport report = prepareCallCard({{"txtOggetto", subject}}, kCallCardNow);
    EXPECT_EQ(only(report, 0, "txtOggetto").text, subject);
    EXPECT_EQ(only(report, 0, "txtOggetto").rect.height(), 17.39);
}

TEST(CallCardReport, StoredCallUsesTheYearOfTheYearBox) {
    ombrisa::TRecChiamata record{};
    ombrisa::PutText(record.GiornoRit, u"05");
    ombrisa::PutText(record.MeseRit, u"Marzo");
    ombrisa::PutText(record.AnnoRit, u"2024");
    EXPECT_EQ(only(prepareCallCard(fieldTexts(record), kCallCardNow), 0, "txtData").text, "05 Marzo 2024");
}

} // namespace

namespace {

TEST(CallCardReport, PdfHoldsCaptionsAndValues) {
    QTemporaryDir dir;
    const QString path = dir.filePath("chiamata.pdf");
    ASSERT_TRUE(writePdfFile(prepareCallCard(fullCall(), kCallCardNow), path, {}).done());
    ombrisa::report::test::keepCopy(path, "scheda-chiamata.pdf");
    const QString text = ombrisa::report::test::pdfText(path).simplified();
    EXPECT_TRUE(text.contains("SCHEDA INFORMATIVA CHIAMATA"));
    for (const CallRow& r : kRows) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(r.captionText))) << r.captionText;
        EXPECT_TRUE(text.contains(QString::fromUtf8(r.expected))) << r.expected;
    }
}

} // namespace
