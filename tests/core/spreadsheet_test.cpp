#include "core/export/exports.h"
#include "core/export/spreadsheet.h"
#include "core/records/archivepaths.h"

#include "exportarchives.h"
#include "testfolder.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

// Pieces 1 to 28, written out by hand; `sheet` is the sheet name.
QByteArray head(const char* sheet) {
    return QByteArray("<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
                      "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
                      "xmlns=\"http://www.w3.org/TR/REC-html40\">") +
           "<head>" + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">" +
           "<!--[if gte mso 9]><xml>" + "<x:ExcelWorkbook>" + "<x:ExcelWorksheets>" + "<x:ExcelWorksheet>" +
           "<x:Name>" + sheet + "</x:Name>" + "<x:WorksheetOptions>" + "<x:Selected/>" + "<x:Panes>" + "<x:Pane>" +
           "<x:Number>1</x:Number>" + "<x:ActiveRow>3</x:ActiveRow>" + "</x:Pane>" + "</x:Panes>" +
           "<x:ProtectContents>False</x:ProtectContents>" + "<x:ProtectObjects>False</x:ProtectObjects>" +
           "<x:ProtectScenarios>False</x:ProtectScenarios>" + "</x:WorksheetOptions>" + "</x:ExcelWorksheet>" +
           "</x:ExcelWorksheets>" + "</x:ExcelWorkbook>" + "</xml><![endif]-->" +
           "<style>.t{mso-number-format:\"\\@\";}</style>" + "</head>" + "<body>" +
           "<table x:str>" + "<tr>";
}
const QByteArray kTail = "</table></body></html>";

QByteArray th(int width, const QByteArray& heading) {
    return "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" + heading +
           "</td>";
}
// A plain cell, and a cell marked as text (one that a spreadsheet would otherwise change).
QByteArray td(const QByteArray& value) {
    return "<td>" + value + "</td>";
}
QByteArray tx(const QByteArray& value) {
    return "<td class=t sdnum=\"1040;0;@\">" + value + "</td>";
}

const QByteArray kCallHeadings =
    th(150, "Data chiamata") + th(150, "Ora chiamata") + th(200, "Tipo chiamata") + th(350, "Oggetto") +
    th(300, "Esito") + th(250, "Grado soddisfazione") + th(200, "Durata") + th(250, "Cognome e nome cliente") +
    th(200, "Codice fiscale") + th(250, "Zona di appartenenza") + th(200, "Tel. preferenziale") +
    th(200, "Tel. cellulare") + th(250, "Indirizzo e-mail") + th(350, "Note") + th(250, "Operatore o agente");

const QByteArray kClientHeadings =
    th(250, "Cognome e nome") + th(200, "Data di nascita") + th(250, "Comune di nascita") +
    th(250, "Tel. preferenziale") + th(300, "Indirizzo di residenza") + th(250, "Comune di residenza") +
    th(250, "Modalit\xe0 di pagamento") + th(250, "Tel. casa") + th(250, "Tel. ufficio") + th(250, "Tel. cellulare") +
    th(250, "PEC") + th(250, "E-mail") + th(250, "Codice fiscale") + th(250, "Partita IVA") +
    th(300, "Carta di credito n.") + th(150, "Scadenza") + th(300, "IBAN") + th(280, "Estremi documento") +
    th(250, "Occupazione") + th(250, "Stato civile") + th(280, "Titoli e qualifiche") +
    th(300, "Prodotti e servizi di interesse") + th(250, "Zona") + th(300, "Questioni in sospeso") + th(300, "Note");

class SpreadsheetExport : public TestFolder {
protected:
    QByteArray exportFile(ExportKind kind, const QString& choice = QString()) {
        ExportTable rows;
        QString error;
        EXPECT_TRUE(fillExportRows(kind, rows, choice, &error)) << error.toStdString();
        const ExportDef& def = exportDef(kind);
        EXPECT_EQ(exportSpreadsheet(path(def.fileName), def.sheetName, def.columns, rows), ExportOutcome::Written);
        return bytes(def.fileName);
    }
};

TEST_F(SpreadsheetExport, CallRegisterMatchesHandWrittenFile) {
    writeArchive<TRecChiamata>(
        path(kChiamateFile),
        {makeCall({{"DataRit", "05/03/2024"},
                   {"OraRit", "09:15"},
                   {"Tipo", "Ricevuta"},
                   {"Oggetto", "  Preventivo <b> & \"urgente\"  "},
                   {"Esito", "=1+1"},
                   {"Grado", "-3"},
                   {"Durata", "1,5"},
                   {"Cliente", "Niccol\u00f2 Rossi"},
                   {"CodFisc", "RSSNCL80A01H501U"},
                   {"Zona", "Nord  ovest   x"},
                   {"Recapito", "0612345678"},
                   {"TelCel", "007"},
                   {"Email", "a@b.it"},
                   {"Note", "Costo 5 \u20ac</table>"},
                   {"Operatore", "Anna"}}),
         makeCall({{"DataRit", "   "}, {"Cliente", "Senza data"}}), // no date: not in the register export
         makeCall({{"DataRit", "06/03/2024"}, {"Cliente", "Bianchi"}})});

    const QByteArray expected = head("Registro Chiamate") + kCallHeadings + "</tr>" + "<tr>" + tx("05/03/2024") +
                                tx("09:15") + td("Ricevuta") + td("Preventivo &lt;b&gt; &amp; &quot;urgente&quot;") +
                                tx("=1+1") + tx("-3") + tx("1,5") + td("Niccol\xf2 Rossi") + tx("RSSNCL80A01H501U") +
                                tx("Nord &#32;ovest &#32;&#32;x") + tx("0612345678") + tx("007") + td("a@b.it") +
                                tx("Costo 5 \x80&lt;/table&gt;") + td("Anna") + "</tr>" + "<tr>" + tx("06/03/2024") +
                                td("") + td("") + td("") + td("") + td("") + td("") + td("Bianchi") + td("") + td("") +
                                td("") + td("") + td("") + td("") + td("") + "</tr>" + kTail;
    const QByteArray file = exportFile(ExportKind::Chiamate);
    EXPECT_EQ(file, expected);
    EXPECT_FALSE(file.contains('\n'));
    EXPECT_FALSE(file.contains('\r'));
}

TEST_F(SpreadsheetExport, ClientArchiveJoinsTownsAndTrimsTheJoinedCells) {
    writeArchive<TRecCliente>(path(kClientiFile), {makeClient({{"Cliente", "Verdi Anna"},
                                                               {"ComuneNasc", "Roma"},
                                                               {"ProvNasc", ""},
                                                               {"ComuneRes", "Milano"},
                                                               {"ProvRes", "MI"},
                                                               {"Sesso", "F"},
                                                               {"CapRes", "20100"},
                                                               {"PartitaIva", "01234567890"},
                                                               {"Note", "Ultima"}}),
                                                   makeClient({})}); // a card with an empty name is listed too

    ExportTable rows;
    ASSERT_TRUE(fillExportRows(ExportKind::Clienti, rows));
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(0, 2), QStringLiteral("Roma ")); // the grid keeps the blank of the empty province
    EXPECT_EQ(rows.text(0, 5), QStringLiteral("Milano MI"));
    EXPECT_EQ(rows.text(1, 2), QStringLiteral(" "));

    QByteArray first = "<tr>" + td("Verdi Anna") + td("") + td("Roma") + td("") + td("") + td("Milano MI");
    for (int c = 6; c < 13; ++c)
        first += td("");
    first += tx("01234567890");
    for (int c = 14; c < 24; ++c)
        first += td("");
    first += td("Ultima") + "</tr>";
    QByteArray second = "<tr>";
    for (int c = 0; c < 25; ++c)
        second += td("");
    second += "</tr>";
    EXPECT_EQ(exportFile(ExportKind::Clienti),
              head("Riepilogo Contatti") + kClientHeadings + "</tr>" + first + second + kTail);
}

TEST_F(SpreadsheetExport, EmptyOrMissingArchivesExportTheHeadingRowOnly) {
    // Missing: nothing is created by reading.
    EXPECT_EQ(exportFile(ExportKind::Oggi, QStringLiteral("05/03/2024")),
              head("Chiamate di oggi") + kCallHeadings + "</tr>" + kTail);
    EXPECT_FALSE(QFileInfo::exists(path(kChiamateFile)));
    EXPECT_EQ(exportFile(ExportKind::Clienti), head("Riepilogo Contatti") + kClientHeadings + "</tr>" + kTail);
    // Calls that all lack a date give an empty register export.
    writeArchive<TRecChiamata>(path(kChiamateFile), {makeCall({{"Cliente", "X"}}), makeCall({{"DataRit", " "}})});
    EXPECT_EQ(exportFile(ExportKind::Chiamate), head("Registro Chiamate") + kCallHeadings + "</tr>" + kTail);
    EXPECT_EQ(exportFile(ExportKind::Storico, QStringLiteral("ABC")),
              head("Storico Chiamate Cliente") + kCallHeadings + "</tr>" + kTail);
}

struct ExportChoiceCase {
    const char* name;
    ExportKind kind;
    const char* choice;
    std::vector<QString> listed; // Cliente of the listed calls, in file order
};
// The test list and a failure name the case.
void PrintTo(const ExportChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportChoice : public SpreadsheetExport, public ::testing::WithParamInterface<ExportChoiceCase> {};

TEST_P(ExportChoice, ChoosesCallsByExactText) {
    writeArchive<TRecChiamata>(
        path(kChiamateFile), {makeCall({{"DataRit", "05/03/2024"}, {"CodFisc", " RSSMRA80A01 "}, {"Cliente", "A"}}),
                              makeCall({{"DataRit", "5/3/2024"}, {"CodFisc", "rssmra80a01"}, {"Cliente", "B"}}),
                              makeCall({{"DataRit", " 5/3/2024 "}, {"CodFisc", "RSSMRA80A01"}, {"Cliente", "C"}}),
                              makeCall({{"DataRit", "04/03/2024"}, {"CodFisc", "VRDLCU70B02F205X"}, {"Cliente", "D"}}),
                              makeCall({{"DataRit", ""}, {"CodFisc", "RSSMRA80A01"}, {"Cliente", "E"}})});
    const ExportChoiceCase& c = GetParam();
    ExportTable rows;
    ASSERT_TRUE(fillExportRows(c.kind, rows, QString::fromUtf8(c.choice)));
    std::vector<QString> listed;
    for (qsizetype r = 0; r < rows.rowCount(); ++r)
        listed.push_back(rows.text(r, 7));
    EXPECT_EQ(listed, c.listed);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ExportChoice,
    ::testing::Values(ExportChoiceCase{"RegisterSkipsUndated", ExportKind::Chiamate, "", {"A", "B", "C", "D"}},
                      ExportChoiceCase{"TodayByExactDateText", ExportKind::Oggi, "05/03/2024", {"A"}},
                      ExportChoiceCase{"TodayNoParsing", ExportKind::Oggi, "5/3/2024", {"B", "C"}},
                      ExportChoiceCase{"TodayNone", ExportKind::Oggi, "07/03/2024", {}},
                      ExportChoiceCase{
                          "HistoryTrimsBothSidesKeepsCase", ExportKind::Storico, "  RSSMRA80A01 ", {"A", "C", "E"}},
                      ExportChoiceCase{"HistoryLowerCaseIsAnotherCode", ExportKind::Storico, "rssmra80a01", {"B"}},
                      ExportChoiceCase{"HistoryEmptyCodeListsNothingStoredWithACode", ExportKind::Storico, "  ", {}},
                      ExportChoiceCase{"HistoryCharacterNoFieldCanHold", ExportKind::Storico, "RSSMRA80A0\u0170", {}}),
    [](const auto& p) { return std::string(p.param.name); });

// A device that accepts `room` bytes and then fails every write.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room) : room_(room) { open(WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (size > room_)
            return -1;
        room_ -= size;
        return size;
    }

private:
    qint64 room_;
};

TEST_F(SpreadsheetExport, WriteFailuresAndCancelLeaveTheOlderFile) {
    ExportTable rows(15);
    for (int r = 0; r < 5000; ++r)
        rows.addRow({QStringLiteral("05/03/2024"), QStringLiteral("riga %1").arg(r)});
    const ExportDef& def = exportDef(ExportKind::Chiamate);

    FullDevice full(4096);
    EXPECT_FALSE(writeSpreadsheet(full, def.sheetName, def.columns, rows));

    write(def.fileName, "vecchio");
    qsizetype reported = 0;
    EXPECT_EQ(exportSpreadsheet(path(def.fileName), def.sheetName, def.columns, rows,
                                [&](qsizetype done) {
                                    reported = done;
                                    return done < 2000;
                                }),
              ExportOutcome::Cancelled);
    EXPECT_EQ(reported, 2000);
    EXPECT_EQ(bytes(def.fileName), "vecchio");

    // A folder in the file's place cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Bloccato.xls")));
    QString error;
    EXPECT_EQ(exportSpreadsheet(path(QStringLiteral("Bloccato.xls")), def.sheetName, def.columns, rows, {}, &error),
              ExportOutcome::Failed);
    EXPECT_FALSE(error.isEmpty());

    // The whole export reports its last row.
    EXPECT_EQ(exportSpreadsheet(path(def.fileName), def.sheetName, def.columns, rows,
                                [&](qsizetype done) {
                                    reported = done;
                                    return true;
                                }),
              ExportOutcome::Written);
    EXPECT_EQ(reported, 5000);
    QByteArray lastRow = "<tr>" + tx("05/03/2024") + tx("riga 4999");
    for (int c = 2; c < 15; ++c)
        lastRow += td("");
    EXPECT_TRUE(bytes(def.fileName).endsWith(lastRow + "</tr>" + kTail));
}

TEST_F(SpreadsheetExport, TextsOutsideTheCodePageAreReplacedAsInTheArchives) {
    ExportTable rows(15);
    rows.addRow({QStringLiteral("\u0100bc \u4e2d \u00e8")});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const ExportDef& def = exportDef(ExportKind::Oggi);
    ASSERT_TRUE(writeSpreadsheet(buffer, def.sheetName, def.columns, rows));
    EXPECT_TRUE(buffer.data().contains(td("Abc ? \xe8")));
}

TEST_F(SpreadsheetExport, UnreadableRegisterEmptiesTheGridAndSaysWhy) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(kChiamateFile)); // a folder where the register should be
    ExportTable rows;
    rows.addRow({});
    QString error;
    EXPECT_FALSE(fillExportRows(ExportKind::Chiamate, rows, QString(), &error));
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

namespace {

// Which cells are marked as text: those a spreadsheet program would read as a number, a date, a time,
// a formula, a logical value or with its blanks folded; nothing else, so that the file stays small.
TEST(SpreadsheetCells, OnlyCellsASpreadsheetWouldChangeAreMarkedAsText) {
    const std::pair<const char*, bool> cases[]{
        {"", false},           {"Rossi Mario", false},  {"a@b.it", false},      {"Niccol\xf2", false},
        {"<b> & \"x\"", false}, {"Nord-ovest", false},  {"In entrata", false},  {"Jan", false},
        {"007", true},         {"0612345678", true},    {"-3", true},           {"+39 06", true},
        {"=1+1", true},        {"@casa", true},         {"#N/A", true},         {"'apice", true},
        {"05/03/2024", true},  {"12:30", true},         {"50%", true},          {"1,5", true},
        {"1E5", true},         {"\x80 10", true},       {"RSSMRA80A01H501U", true}, {"TRUE", true},
        {"false", true},       {"Vero", true},          {"FALSO", true},        {"due  spazi", true},
        {"veronica", false},
    };
    for (const auto& [text, marked] : cases)
        EXPECT_EQ(spreadsheetWouldChange(QByteArrayView(text)), marked) << text;
}

} // namespace
