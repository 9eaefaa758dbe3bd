#include "report/layouts/agentcard.h"
#include "report/pdfoutput.h"
#include "reporttestutil.h"

#include <QTemporaryDir>

using namespace ombrisa::report;
using ombrisa::report::test::only;

namespace {

// Memo, caption, row, left and width in mm as the sheet shows them.
struct Cell {
    const char* memo;
    const char* caption;
    int row;
    double left;
    double width;
};
const Cell kCells[] = {
    {"txtLuogoNasc", "LUOGO DI NASCITA", 1, 1, 58},
    {"txtDataNasc", "DATA DI NASCITA", 1, 61, 32},
    {"txtSesso", "SESSO", 1, 95, 16},
    {"txtIndirizzo", "INDIRIZZO", 1, 113, 76},
    {"txtCitta", "CITTA'", 2, 1, 58},
    {"txtCap", "CAP", 2, 61, 32},
    {"txtNazione", "NAZIONE", 2, 95, 45},
    {"txtCodFisc", "CODICE FISCALE", 2, 142, 47},
    {"txtStudio", "TITOLO DI STUDIO", 3, 1, 92},
    {"txtlingue", "LINGUE CONOSCIUTE", 3, 95, 94},
    {"txtReparto", "REPARTO", 4, 1, 92},
    {"txtCivile", "STATO CIVILE", 4, 95, 45},
    {"txtCittadinanza", "CITTADINANZA", 4, 142, 47},
    {"txtQualifica", "QUALIFICA", 5, 1, 92},
    {"txtDisponibilita", "DISPONIBILITA'", 5, 95, 94},
    {"txtEmail", "E-MAIL", 6, 1, 49},
    {"txtTel", "TEL. CASA", 6, 52, 41},
    {"txtCel", "TEL. CELLULARE", 6, 95, 45},
    {"txtDataAss", "DATA ASSUNZIONE", 6, 142, 47},
    {"txtIban", "IBAN", 7, 1, 59},
    {"txtPartitaIva", "PARTITA IVA", 7, 62, 31},
    {"txtRetribuzione", "RETRIBUZIONE", 7, 95, 94},
    {"txtMansioni", "MANSIONI", 8, 1, 188},
    {"txtNote", "NOTE", 9, 1, 188},
};

FieldTexts agentWithPaddedValues() {
    FieldTexts texts;
    for (const char* memo : kAgentCardMemos)
        texts.insert(QString::fromLatin1(memo), QStringLiteral("  valore di %1 àè  ").arg(QString::fromLatin1(memo)));
    return texts;
}

bool near(const QRectF& a, const QRectF& b) {
    return std::abs(a.x() - b.x()) < 1e-9 && std::abs(a.y() - b.y()) < 1e-9 && std::abs(a.width() - b.width()) < 1e-9 &&
           std::abs(a.height() - b.height()) < 1e-9;
}

TEST(AgentCardReport, EveryMemoGetsItsTrimmedValueBelowItsCaption) {
    const PreparedReport report = prepareAgentCard(agentWithPaddedValues(), QImage());
    ASSERT_EQ(report.pages.size(), 1);
    EXPECT_EQ(report.pageLayout.orientation(), QPageLayout::Portrait);
    for (const Cell& c : kCells) {
        SCOPED_TRACE(c.memo);
        const QString memo = QString::fromLatin1(c.memo);
        const PreparedItem& value = only(report, 0, memo);
        EXPECT_EQ(value.name, memo); // as named in the layout: txtlingue stays lower case
        // The fill looks memos up by the edit box's name: txtlingue ← txtLingue.
        const QString control = memo == u"txtlingue" ? QStringLiteral("txtLingue") : memo;
        EXPECT_EQ(value.text, QStringLiteral("valore di %1 àè").arg(control));
        const double top = 153 + (c.row - 1) * 14;
        EXPECT_TRUE(near(value.rect, QRectF(mm(c.left), mm(top + 4.8), mm(c.width), mm(6))));
        const PreparedItem& caption = only(report, 0, QStringLiteral("tit") + memo.mid(3));
        EXPECT_EQ(caption.text, QString::fromLatin1(c.caption));
        EXPECT_TRUE(caption.font.bold);
        EXPECT_FALSE(value.font.bold);
        EXPECT_TRUE(near(caption.rect, QRectF(mm(c.left), mm(top), mm(c.width), mm(4.8))));
    }
    EXPECT_EQ(only(report, 0, "txtDipendente").text, "valore di txtDipendente àè");
    EXPECT_TRUE(near(only(report, 0, "txtDipendente").rect, QRectF(mm(1), mm(1), mm(188), mm(8))));
    EXPECT_TRUE(near(only(report, 0, "imgLogo").rect, QRectF(mm(1), mm(11), mm(188), mm(140))));
    // The last row ends 276 mm below the top margin.
    EXPECT_NEAR(only(report, 0, "txtNote").rect.bottom(), mm(276), mm(0.3));
}

TEST(AgentCardReport, LanguagesFoundWhateverTheCase) {
    ReportLayout layout = agentCardLayout();
    ASSERT_NE(layout.findObject(u"txtLingue"), nullptr);
    EXPECT_EQ(layout.findObject(u"txtLingue")->name, "txtlingue");
    fillAgentCard(layout, {{"txtLingue", "Inglese, Tedesco"}}, QImage());
    EXPECT_EQ(layout.findObject(u"TXTLINGUE")->text, "Inglese, Tedesco");
}

TEST(AgentCardReport, PhotoOrPlaceholder) {
    QImage photo(40, 60, QImage::Format_RGB32);
    photo.fill(Qt::red);
    EXPECT_EQ(only(prepareAgentCard({}, photo), 0, "imgLogo").picture, photo);
    const QImage placeholder = only(prepareAgentCard({}, QImage()), 0, "imgLogo").picture;
    EXPECT_FALSE(placeholder.isNull());
    // An empty card prints empty boxes.
    EXPECT_EQ(only(prepareAgentCard({}, photo), 0, "txtNote").text, "");
}

} // namespace

namespace {

TEST(AgentCardReport, PdfHoldsCaptionsAndValues) {
    QTemporaryDir dir;
    const QString path = dir.filePath("agente.pdf");
    QImage photo(300, 400, QImage::Format_RGB32);
    photo.fill(QColor(0x88, 0xAA, 0xCC));
    ASSERT_TRUE(writePdfFile(prepareAgentCard(agentWithPaddedValues(), photo), path, {}).done());
    ombrisa::report::test::keepCopy(path, "scheda-agente.pdf");
    const QString text = ombrisa::report::test::pdfText(path).simplified();
    for (const Cell& c : kCells)
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.caption))) << c.caption;
    EXPECT_TRUE(text.contains("valore di txtLingue àè"));
    EXPECT_TRUE(text.contains("valore di txtDipendente àè"));
}

} // namespace
