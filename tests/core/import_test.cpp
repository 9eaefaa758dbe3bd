// Reading sheets (CSV dialects, the program's own exports), guessing the fields from the headings,
// and the import plan's verdicts.
#include "core/import/importplan.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"

#include "core/exportarchives.h"
#include "core/testfolder.h"
#include "testsupport/qtprint.h"

#include <QFile>

using namespace ombrisa;
using namespace ombrisa::test;


namespace {

std::vector<QStringList> cellsOf(const std::vector<SheetRow>& rows) {
    std::vector<QStringList> out;
    for (const SheetRow& r : rows)
        out.push_back(r.cells());
    return out;
}

TEST(CsvReader, Dialects) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QChar separator;
        std::vector<QStringList> rows;
        std::vector<int> lines;
    };
    const std::vector<Case> cases{
        {"semicolon", "a;b;c\r\n1;2;3\r\n", u';', {{"a", "b", "c"}, {"1", "2", "3"}}, {1, 2}},
        {"comma, LF, no final break", "a,b\n1,2", u',', {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"tab", "a\tb\n1\t2\n", u'\t', {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"quoted separator and doubled quotes", "a;b\n\"x;y\";\"he said \"\"hi\"\"\"\n", u';',
         {{"a", "b"}, {"x;y", "he said \"hi\""}}, {1, 2}},
        {"line break inside quotes keeps the next row's line", "a;b\n\"one\r\ntwo\";3\nz;4\n", u';',
         {{"a", "b"}, {"one\r\ntwo", "3"}, {"z", "4"}}, {1, 2, 4}},
        {"empty lines are no rows; empty cells are", "a;b\n\n;\nx;\n", u';', {{"a", "b"}, {"", ""}, {"x", ""}}, {1, 3, 4}},
        {"ragged rows stay ragged", "a;b;c\n1;2\n1;2;3;4\n", u';', {{"a", "b", "c"}, {"1", "2"}, {"1", "2", "3", "4"}},
         {1, 2, 3}},
        {"a quote inside an unquoted field is text", "a;b\nO\"Neil;2\n", u';', {{"a", "b"}, {"O\"Neil", "2"}}, {1, 2}},
        {"CR line ends", "a;b\r1;2\r", u';', {{"a", "b"}, {"1", "2"}}, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QString::fromUtf8(c.bytes);
        EXPECT_EQ(guessSeparator(text), c.separator);
        QString error;
        const std::vector<SheetRow> rows = parseCsv(text, c.separator, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(cellsOf(rows), c.rows);
        std::vector<int> lines;
        for (const SheetRow& r : rows)
            lines.push_back(r.line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(CsvReader, AnUnclosedQuoteIsReportedWithItsLine) {
    QString error;
    parseCsv(u"a;b\n1;\"open\n2;3\n", u';', &error);
    EXPECT_EQ(error, QStringLiteral("virgolette aperte alla riga 2 e mai chiuse"));
}

// A row, a cell and a row's cells have limits: at the limit a sheet is read, one beyond it the reading
// stops with the line of the row that went beyond.
TEST(CsvReader, RowsBeyondTheLimitsStopTheReadingWithTheirLine) {
    const QString cell(kMaxCellChars, u'c');
    QString fullRow = cell; // as long as a row may be, in cells as long as a cell may be
    for (qsizetype c = 1; c < kMaxRowChars / kMaxCellChars; ++c)
        fullRow += QChar(u';') + cell;
    QString columns = QStringLiteral("x");
    for (qsizetype c = 1; c < kMaxSheetColumns; ++c)
        columns += QStringLiteral(";x");
    const QString kCellTooLong = QStringLiteral("alla riga 2 una cella è più lunga di 32768 caratteri");
    const struct {
        const char* name;
        QString text;
        QString error;
    } cases[] = {
        {"a cell at the limit", QStringLiteral("a;b\n1;") + cell + QStringLiteral("\n"), {}},
        {"a cell one beyond", QStringLiteral("a;b\n1;") + cell + QStringLiteral("x\n"), kCellTooLong},
        {"a cell one beyond at the end of the file", QStringLiteral("a;b\n1;") + cell + QStringLiteral("x"),
         kCellTooLong},
        {"a quoted cell over lines: the row's first line",
         QStringLiteral("a;b\n1;\"x\n") + cell + QStringLiteral("\"\n"), kCellTooLong},
        {"a row at the limit", QStringLiteral("a\n") + fullRow + QStringLiteral("\n"), {}},
        {"a row one beyond", QStringLiteral("a\n") + fullRow + QStringLiteral(";x\n"),
         QStringLiteral("la riga 2 è più lunga di 1048576 caratteri")},
        {"columns at the limit", QStringLiteral("a\n") + columns + QStringLiteral("\n"), {}},
        {"a column beyond", QStringLiteral("a\n\n") + columns + QStringLiteral(";x\n"),
         QStringLiteral("la riga 3 ha più di 1000 colonne")},
        {"separators without text", QStringLiteral("a\n") + QString(5000, u';'),
         QStringLiteral("la riga 2 ha più di 1000 colonne")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const std::vector<SheetRow> rows = parseCsv(c.text, QChar(u';'), &error);
        EXPECT_EQ(error, c.error);
        if (c.error.isEmpty()) {
            EXPECT_EQ(rows.size(), 2u);
        }
    }
    // The program's own sheets have the same limits.
    QString error;
    const QByteArray html = "<html><body><table><tr><td>Nome</td></tr><tr><td>" +
                            QByteArray(kMaxCellChars + 1, 'n') + "</td></tr></table></body></html>";
    EXPECT_FALSE(readExportedSheet(html, &error));
    EXPECT_EQ(error, kCellTooLong);
}

TEST(CsvReader, EncodingsAndBom) {
    struct Case {
        const char* name;
        QByteArray bytes;
        TextEncoding encoding;
        QString firstCell;
    };
    const std::vector<Case> cases{
        {"UTF-8 with BOM", "\xEF\xBB\xBF" "Citt\xC3\xA0;b\n", TextEncoding::Utf8, QStringLiteral("Città")},
        {"UTF-8 without BOM", "Citt\xC3\xA0;b\n", TextEncoding::Utf8, QStringLiteral("Città")},
        {"Windows-1252 accents", "Citt\xE0;b\n", TextEncoding::Cp1252, QStringLiteral("Città")},
        {"Windows-1252 euro and quotes", "\x80 \x93x\x94;b\n", TextEncoding::Cp1252, QStringLiteral("€ “x”")},
        {"plain ASCII", "abc;b\n", TextEncoding::Utf8, QStringLiteral("abc")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SheetResult r = readCsvBytes(c.bytes, QStringLiteral("prova.csv"));
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.encoding, c.encoding);
        EXPECT_EQ(r.separator, QChar(u';'));
        EXPECT_EQ(r.table.headings.value(0), c.firstCell);
    }
    // A choice overrides the guesses.
    const SheetResult forced = readCsvBytes("a,b;c\n", QStringLiteral("x.csv"), {QChar(u','), TextEncoding::Cp1252});
    EXPECT_EQ(forced.table.headings, (QStringList{"a", "b;c"}));
    EXPECT_FALSE(readCsvBytes("", QStringLiteral("vuoto.csv")).ok);
}

TEST(CsvReader, TheSeparatorThatSplitsEveryLineTheSameWay) {
    // Commas inside the texts, semicolons between the cells.
    EXPECT_EQ(guessSeparator(u"Nome;Note\nRossi, Mario;uno, due, tre\nBianchi;x\n"), QChar(u';'));
    EXPECT_EQ(guessSeparator(u"\"a;b\",c\n\"d;e\",f\n"), QChar(u','));
    EXPECT_EQ(guessSeparator(u"solo\nuna colonna\n"), QChar(u';'));
}

TEST(ExportedSheet, ReadsTheWritersTableBack) {
    const QByteArray html = "<html><head></head><body><table x:str><tr><td style=\"x\">Cognome e nome</td>"
                            "<td>Note</td></tr><tr><td x:str>Rossi &amp; C.</td><td>a&#32; b &lt;c&gt; \xE0</td></tr>"
                            "</table></body></html>";
    const auto table = readExportedSheet(html);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->headings, (QStringList{"Cognome e nome", "Note"}));
    ASSERT_EQ(table->rows.size(), 1u);
    EXPECT_EQ(table->rows[0].cells(), (QStringList{"Rossi & C.", "a  b <c> à"}));
    EXPECT_EQ(table->rows[0].line, 2);
    EXPECT_FALSE(readExportedSheet("Nome;Note\n"));
}

TEST(HeadingGuesses, ItalianAndEnglishSynonyms) {
    struct Case {
        ImportArchive archive;
        const char* heading;
        const char* key;
    };
    const Case cases[]{
        {ImportArchive::Clienti, "Ragione sociale", "txtCliente"},
        {ImportArchive::Clienti, "  COGNOME E NOME ", "txtCliente"},
        {ImportArchive::Clienti, "CF", "txtCodFisc"},
        {ImportArchive::Clienti, "Codice Fiscale", "txtCodFisc"},
        {ImportArchive::Clienti, "P.IVA", "txtPartitaIva"},
        {ImportArchive::Clienti, "Partita I.V.A.", "txtPartitaIva"},
        {ImportArchive::Clienti, "Telefono", "txtRecapito"},
        {ImportArchive::Clienti, "Cellulare", "txtTelCel"},
        {ImportArchive::Clienti, "E-mail", "txtEmail"},
        {ImportArchive::Clienti, "PEC", "txtFax"},
        {ImportArchive::Clienti, "CAP", "txtCapRes"},
        {ImportArchive::Clienti, "Comune", "txtComuneProvRes"},
        {ImportArchive::Clienti, "Città", "txtComuneProvRes"},
        {ImportArchive::Clienti, "Provincia", "txtProvRes"},
        {ImportArchive::Clienti, "Comune / Stato estero di nascita", "txtComuneProvNasc"},
        {ImportArchive::Clienti, "Modalità di pagamento", "txtEstremi"},
        {ImportArchive::Clienti, "Phone", "txtRecapito"},
        {ImportArchive::Clienti, "ZIP code", "txtCapRes"},
        {ImportArchive::Clienti, "Colore preferito", ""},
        {ImportArchive::Chiamate, "Data chiamata", "txtDataChiamata"},
        {ImportArchive::Chiamate, "Ora", "txtOraChiamata"},
        {ImportArchive::Chiamate, "Mese", "txtMeseRit"},
        {ImportArchive::Chiamate, "Operatore / Agente", "txtOperatore"},
        {ImportArchive::Chiamate, "Operatore o agente", "txtOperatore"},
        {ImportArchive::Chiamate, "Cognome e nome cliente", "txtCliente"},
        {ImportArchive::Chiamate, "Indirizzo e-mail", "txtEmail"},
        {ImportArchive::Chiamate, "Ragione sociale", "txtCliente"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(guessTarget(c.archive, QString::fromUtf8(c.heading)), QString::fromLatin1(c.key)) << c.heading;
}

TEST(HeadingGuesses, AFieldIsGuessedForOneColumnOnly) {
    EXPECT_EQ(guessMapping(ImportArchive::Clienti, {"Nome", "CF", "Ragione sociale", "Codice fiscale"}),
              (QStringList{"txtCliente", "txtCodFisc", "", ""}));
    // The date as one column and as three fill the same fields.
    EXPECT_EQ(guessMapping(ImportArchive::Chiamate, {"Data", "Giorno", "Mese", "Anno"}),
              (QStringList{"txtDataChiamata", "", "", ""}));
}

// A town with its province in one cell ("Roma RM") is the combined target; when the sheet gives the
// province a column of its own, the town column is the town alone and the province column the province.
TEST(HeadingGuesses, ATownWithItsOwnProvinceColumnIsGuessedAsTwoFields) {
    struct TownCase {
        const char* what;
        QStringList headings;
        QStringList guessed;
    };
    const TownCase cases[] = {
        {"town alone", {"Nome", "Comune"}, {"txtCliente", "txtComuneProvRes"}},
        {"town and province", {"Nome", "Comune", "Prov."}, {"txtCliente", "txtComuneRes", "txtProvRes"}},
        {"province first", {"Provincia", "Città"}, {"txtProvRes", "txtComuneRes"}},
        {"birthplace alone", {"Luogo di nascita"}, {"txtComuneProvNasc"}},
        {"birthplace and its province", {"Luogo di nascita", "Prov. nascita"}, {"txtComuneNasc", "txtProvNasc"}},
        {"both towns with their provinces",
         {"Cognome e nome", "Luogo di nascita", "Prov. nascita", "Comune", "Prov.", "CAP"},
         {"txtCliente", "txtComuneNasc", "txtProvNasc", "txtComuneRes", "txtProvRes", "txtCapRes"}},
        {"only the birth province has a column",
         {"Luogo di nascita", "Prov. nascita", "Comune"},
         {"txtComuneNasc", "txtProvNasc", "txtComuneProvRes"}},
        {"only the residence province has a column",
         {"Luogo di nascita", "Comune", "Prov."},
         {"txtComuneProvNasc", "txtComuneRes", "txtProvRes"}},
    };
    for (const TownCase& c : cases) {
        EXPECT_EQ(guessMapping(ImportArchive::Clienti, c.headings), c.guessed) << c.what;
        EXPECT_TRUE(mappingProblem(ImportArchive::Clienti, c.guessed).isEmpty()) << c.what;
    }
}

TEST(Mapping, AFieldChosenTwiceIsRefused) {
    EXPECT_TRUE(mappingProblem(ImportArchive::Clienti, {"txtCliente", "txtCodFisc", ""}).isEmpty());
    EXPECT_EQ(mappingProblem(ImportArchive::Clienti, {"txtCliente", "txtCliente"}),
              QStringLiteral("Il campo \"Cognome e nome\" è stato scelto per due colonne: ogni campo può ricevere "
                             "una sola colonna."));
    EXPECT_EQ(mappingProblem(ImportArchive::Chiamate, {"txtDataChiamata", "txtGiornoRit"}),
              QStringLiteral("I campi \"Data chiamata (gg/mm/aaaa)\" e \"Giorno\" riempiono la stessa parte della "
                             "scheda: sceglierne uno solo."));
    EXPECT_EQ(mappingProblem(ImportArchive::Clienti, {"", ""}),
              QStringLiteral("Nessuna colonna è stata associata a un campo della scheda."));
}

class ImportPlanTest : public TestFolder {
protected:
    SheetTable sheet(const char* csv) { return tableFromRows(parseCsv(QString::fromUtf8(csv), u';')); }
    ImportPlan plan(ImportArchive archive, const char* csv) {
        const SheetTable t = sheet(csv);
        ImportPlan p;
        QString error;
        EXPECT_TRUE(makeImportPlan(archive, t, guessMapping(archive, t.headings), p, &error)) << error.toStdString();
        return p;
    }
    static QString field(const ImportPlan& p, std::size_t row, const char* name) {
        const auto& fields = p.recordSize == sizeof(TRecCliente) ? FieldTable(kClienteFields)
                                                                 : FieldTable(kChiamataFields);
        return GetText(p.record(row).data(),
                       fields[static_cast<std::size_t>(fieldIndex(fields, QString::fromLatin1(name)))]);
    }
};

TEST_F(ImportPlanTest, ClientRowVerdicts) {
    writeArchive(path(kClientiFile),
                 std::vector<TRecCliente>{makeClient({{"Cliente", "Rossi Mario"},
                                                      {"Recapito", "06 1234567"},
                                                      {"CodFisc", "DNGGLI61A71L781J"}})});
    const ImportPlan p = plan(ImportArchive::Clienti,
                              "Cognome e nome;Telefono;CF;P.IVA;Comune\n"
                              "Bianchi Anna;333 1111111;FBBCHR44L44A952H;;Roma RM\n"       // 2 ready
                              "Verdi Luca;;VRDLCU70B02F205Z;;\n"                           // 3 no telephone
                              "Rossi Mario;06 7654321;dnggli61a71l781j;;\n"                // 4 CF of card 1
                              "Neri Ugo;02 555;NRIUGO60C03F205A;01234567897;\n"             // 5 ready, bad CF
                              "Gialli Ada;02 556;GLLDAA60C43F205B;01234567897;\n"           // 6 P.IVA of row 5
                              ";;;;\n"                                                     // no row
                              "Rossi   MÀRIO;+39 06 1234567;PLLMRT63D43G999U;;\n"                           // 8 name + phone of card 1
                              "Blu Eva;02 1;BLUEVA;;Città di Łódź, un nome lunghissimo che supera i cinquanta\n");
    ASSERT_EQ(p.rows.size(), 7u);
    struct Expect {
        int line;
        RowVerdict verdict;
        const char* reason;
    };
    const Expect expected[]{
        {2, RowVerdict::Ready, ""},
        {3, RowVerdict::Error,
         "per salvare la scheda è necessario indicare il numero di telefono preferenziale del cliente."},
        {4, RowVerdict::Duplicate, "doppione della scheda n. 1 dell'archivio"},
        {5, RowVerdict::Ready, ""},
        {6, RowVerdict::Duplicate, "doppione della riga 5 del file"},
        {8, RowVerdict::Duplicate, "doppione della scheda n. 1 dell'archivio"},
        {9, RowVerdict::Ready, ""},
    };
    for (std::size_t i = 0; i < p.rows.size(); ++i) {
        SCOPED_TRACE(expected[i].line);
        EXPECT_EQ(p.rows[i].line, expected[i].line);
        EXPECT_EQ(p.rows[i].verdict, expected[i].verdict);
        EXPECT_EQ(p.rows[i].reason, QString::fromUtf8(expected[i].reason));
    }
    EXPECT_EQ(p.ready, 3);
    EXPECT_EQ(p.duplicates, 3);
    EXPECT_EQ(p.errors, 1);
    // Stored as the card would store it: the town split from its province, the code upper case.
    EXPECT_EQ(field(p, 0, "ComuneRes"), QStringLiteral("Roma"));
    EXPECT_EQ(field(p, 0, "ProvRes"), QStringLiteral("RM"));
    EXPECT_EQ(field(p, 0, "Ricontatta"), QStringLiteral("No"));
    EXPECT_TRUE(p.rows[0].warnings.isEmpty()) << p.rows[0].warnings.join(u'|').toStdString();
    // A failed code check is a warning; the row is still ready.
    EXPECT_EQ(p.rows[3].warnings, QStringList{QStringLiteral("il codice fiscale NRIUGO60C03F205A non è corretto")});
    // Cut to the field, characters outside the code page marked.
    EXPECT_EQ(p.rows[6].warnings,
              (QStringList{QStringLiteral("il codice fiscale BLUEVA non è corretto"),
                           QStringLiteral("\"Comune di residenza\": caratteri che l'archivio non può contenere sostituiti"),
                           QStringLiteral("\"Comune di residenza\" tagliato a 50 caratteri")}));
    EXPECT_EQ(field(p, 6, "ComuneRes"), QStringLiteral("Città di ?ódz, un nome lunghissimo che supera i ci"));
}

TEST_F(ImportPlanTest, CallRowVerdicts) {
    writeArchive(path(kChiamateFile),
                 std::vector<TRecChiamata>{makeCall({{"DataRit", "05/03/2024"},
                                                     {"OraRit", "09:30"},
                                                     {"CodFisc", "RSSMRA80A01H501U"},
                                                     {"Oggetto", "Preventivo"}})});
    const ImportPlan p = plan(ImportArchive::Chiamate,
                              "Data;Ora;Tipo;Oggetto;Cliente;CF;Telefono\n"
                              "5/3/2024;9:30;in entrata;preventivo;Rossi;rssmra80a01h501u;06\n"  // 2 dup of card 1
                              "31/02/2024;10:00;;Altro;Rossi;RSSMRA80A01H501U;06\n"             // 3 not a date
                              "2024-03-06;25:00;;Altro;Rossi;RSSMRA80A01H501U;06\n"             // 4 not a time
                              "06/03/2024;10:05;Uscita;Altro;Rossi;RSSMRA80A01H501U;06\n"       // 5 ready
                              "06/03/2024;10:05;Uscita;Altro;Rossi;RSSMRA80A01H501U;06\n"       // 6 dup of row 5
                              "07/03/2024;10:05;;;Rossi;RSSMRA80A01H501U;06\n");                // 7 no subject
    ASSERT_EQ(p.rows.size(), 6u);
    EXPECT_EQ(p.rows[0].verdict, RowVerdict::Duplicate);
    EXPECT_EQ(p.rows[0].duplicateCard, 1);
    EXPECT_EQ(p.rows[1].reason, QStringLiteral("la data \"31/02/2024\" non è una data"));
    EXPECT_EQ(p.rows[2].reason, QStringLiteral("l'ora \"25:00\" non è un'ora"));
    EXPECT_EQ(p.rows[3].verdict, RowVerdict::Ready);
    EXPECT_EQ(field(p, 3, "GiornoRit"), QStringLiteral("06"));
    EXPECT_EQ(field(p, 3, "MeseRit"), QStringLiteral("Marzo"));
    EXPECT_EQ(field(p, 3, "DataRit"), QStringLiteral("06/03/2024"));
    EXPECT_EQ(field(p, 3, "OraRit"), QStringLiteral("10:05"));
    EXPECT_EQ(field(p, 3, "Tipo"), QStringLiteral("In uscita"));
    EXPECT_EQ(p.rows[4].reason, QStringLiteral("doppione della riga 5 del file"));
    EXPECT_EQ(field(p, 1, "Tipo"), QStringLiteral("In entrata")); // a new card's direction
    EXPECT_EQ(p.rows[5].reason, QStringLiteral("per salvare la scheda è necessario indicare l'oggetto della chiamata."));
}

TEST_F(ImportPlanTest, TheDateInThreeColumnsWithTheMonthAsNameOrNumber) {
    const ImportPlan p = plan(ImportArchive::Chiamate,
                              "Giorno;Mese;Anno;Ore;Minuti;Oggetto;Cliente;CF;Telefono\n"
                              "5;3;2024;9;5;a;R;X;1\n"
                              "5;marzo;2024;09;05;b;R;X;1\n"
                              "5;MAR;2024;09;05;c;R;X;1\n"
                              "5;Marzolino;2024;09;05;d;R;X;1\n"
                              "30;2;2024;09;05;e;R;X;1\n");
    ASSERT_EQ(p.rows.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.rows[static_cast<std::size_t>(i)].verdict, RowVerdict::Ready) << i;
        EXPECT_EQ(field(p, static_cast<std::size_t>(i), "DataRit"), QStringLiteral("05/03/2024"));
        EXPECT_EQ(field(p, static_cast<std::size_t>(i), "OraRit"), QStringLiteral("09:05"));
    }
    EXPECT_EQ(p.rows[3].reason,
              QStringLiteral("selezionare il mese dal menu a cascata. Per poter salvare la scheda è necessario "
                             "indicare una data valida."));
    EXPECT_EQ(p.rows[4].reason, QStringLiteral("la data 30/02/2024 non esiste. Per poter salvare la scheda è "
                                               "necessario indicare una data valida."));
}

TEST_F(ImportPlanTest, TownsAndProvincesInColumnsOfTheirOwnAreStored) {
    const ImportPlan p = plan(ImportArchive::Clienti, "Nome;Telefono;Luogo di nascita;Prov. nascita;Comune;Prov.\n"
                                                      "Rossi Mario;06 1;Tivoli;RM;Milano;MI\n");
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(field(p, 0, "ComuneNasc"), QStringLiteral("Tivoli"));
    EXPECT_EQ(field(p, 0, "ProvNasc"), QStringLiteral("RM"));
    EXPECT_EQ(field(p, 0, "ComuneRes"), QStringLiteral("Milano"));
    EXPECT_EQ(field(p, 0, "ProvRes"), QStringLiteral("MI"));
}

TEST_F(ImportPlanTest, ARowWithMoreCellsThanHeadingsIsAnError) {
    const ImportPlan p = plan(ImportArchive::Clienti, "Nome;Telefono;CF\nA;1;X;\nB;2;Y;extra\nC;3\n");
    ASSERT_EQ(p.rows.size(), 3u);
    EXPECT_EQ(p.rows[0].verdict, RowVerdict::Ready);
    EXPECT_EQ(p.rows[1].reason, QStringLiteral("la riga ha più celle dell'intestazione (4 invece di 3)"));
    EXPECT_EQ(p.rows[2].reason, QStringLiteral("2 celle invece di 3")); // short, not "no codice fiscale"
}

// A row cut short is said as such, before any field it lacks; trailing empty cells are no cut.
TEST_F(ImportPlanTest, AShortRowIsReportedAsShort) {
    const ImportPlan p = plan(ImportArchive::Clienti, "Nome;Telefono;CF;Note;Zona;Email\n"
                                                      "A;1;RSSMRA80A01H501U;n;z;a@b.it\n"
                                                      "B;2;BNCNNA70A41H501X\n"
                                                      "C\n"
                                                      "D;4;VRDLCU60C01L219Z;;;\n");
    ASSERT_EQ(p.rows.size(), 4u);
    EXPECT_EQ(p.rows[0].verdict, RowVerdict::Ready);
    EXPECT_EQ(p.rows[1].reason, QStringLiteral("3 celle invece di 6"));
    EXPECT_EQ(p.rows[2].reason, QStringLiteral("1 cella invece di 6"));
    EXPECT_EQ(p.rows[3].verdict, RowVerdict::Ready);
    ImportResult none;
    EXPECT_EQ(importReportLines(p, none, false).mid(0, 2),
              (QStringList{"riga 3: 3 celle invece di 6", "riga 4: 1 cella invece di 6"}));
}

TEST(ImportCounts, OneIsSingular) {
    EXPECT_EQ(importCounts(1, 1, 1), QStringLiteral("1 scheda, 1 duplicato saltato, 1 riga con errori"));
    EXPECT_EQ(importCounts(0, 2, 3), QStringLiteral("0 schede, 2 duplicati saltati, 3 righe con errori"));
    ImportPlan p;
    p.errors = 0;
    ImportResult r;
    r.written = 1;
    EXPECT_EQ(importSummaryLine(p, r), QStringLiteral("Importata 1 scheda, 0 duplicati saltati, 0 righe con errori"));
}

TEST_F(ImportPlanTest, WritesTheChosenRowsAndReportsThem) {
    const ImportPlan p = plan(ImportArchive::Clienti,
                              "Nome;Telefono;CF\nA;1;AAA\nB;2;AAA\nC;;CCC\nD;4;DDD\n");
    ImportResult r = runImport(p, false);
    ASSERT_EQ(r.outcome, ImportOutcome::Written) << r.error.toStdString();
    EXPECT_EQ(r.firstCard, 1);
    EXPECT_EQ(r.cardOf, (std::vector<std::int64_t>{1, 0, 0, 2}));
    EXPECT_EQ(bytes(kClientiFile).size(), qsizetype(2 * sizeof(TRecCliente)));
    const QStringList lines = importReportLines(p, r, false);
    EXPECT_EQ(lines,
              (QStringList{"riga 2: scheda n. 1; il codice fiscale AAA non è corretto",
                           "riga 3: doppione della riga 2 del file, saltata",
                           "riga 4: per salvare la scheda è necessario indicare il numero di telefono preferenziale "
                           "del cliente.",
                           "riga 5: scheda n. 2; il codice fiscale DDD non è corretto",
                           "Importate 2 schede, 1 duplicato saltato, 1 riga con errori"}));
}

TEST_F(ImportPlanTest, AnArchiveChangedAfterThePlanIsNotWrittenAndThePlanIsMadeAgain) {
    const SheetTable t = sheet("Nome;Telefono;CF\nRossi;1;RSSMRA80A01H501U\n");
    const QStringList mapping = guessMapping(ImportArchive::Clienti, t.headings);
    ImportPlan p;
    ASSERT_TRUE(makeImportPlan(ImportArchive::Clienti, t, mapping, p, nullptr));
    EXPECT_EQ(p.ready, 1);
    // Another workstation saves the same client meanwhile.
    const TRecCliente other = makeClient({{"Cliente", "Rossi"}, {"CodFisc", "RSSMRA80A01H501U"}});
    writeArchive(path(kClientiFile), std::vector<TRecCliente>{other});
    const QByteArray before = bytes(kClientiFile);
    const ImportResult r = runImport(p, false);
    EXPECT_EQ(r.outcome, ImportOutcome::ArchiveChanged);
    EXPECT_EQ(bytes(kClientiFile), before);
    ASSERT_TRUE(makeImportPlan(ImportArchive::Clienti, t, mapping, p, nullptr));
    EXPECT_EQ(p.rows[0].verdict, RowVerdict::Duplicate);
    EXPECT_EQ(runImport(p, true).outcome, ImportOutcome::Written);
    EXPECT_EQ(bytes(kClientiFile).size(), qsizetype(2 * sizeof(TRecCliente)));
}

TEST_F(ImportPlanTest, TheMappingOfTheLastImportOfTheSameHeadingsIsProposed) {
    const QStringList headings{"Nominativo", "Numero", "Codice"};
    const QStringList guessed{"txtCliente", "", ""};
    EXPECT_EQ(rememberedMapping(ImportArchive::Clienti, headings), guessed);
    const QStringList chosen{"txtCliente", "txtRecapito", "txtCodFisc"};
    ASSERT_TRUE(rememberMapping(ImportArchive::Clienti, headings, chosen));
    EXPECT_EQ(rememberedMapping(ImportArchive::Clienti, headings), chosen);
    // Other headings, or the other archive, are not the same file.
    EXPECT_EQ(rememberedMapping(ImportArchive::Clienti, {"Nominativo", "Numero"}), (QStringList{"txtCliente", ""}));
    EXPECT_EQ(rememberedMapping(ImportArchive::Chiamate, headings), guessed); // the calls guess the same
    // A remembered mapping that no longer makes sense gives way to the guesses.
    ASSERT_TRUE(rememberMapping(ImportArchive::Clienti, headings, {"txtCliente", "txtCliente", "txtNiente"}));
    EXPECT_EQ(rememberedMapping(ImportArchive::Clienti, headings), guessed);
}

TEST_F(ImportPlanTest, ACancelLeavesTheArchiveAsItWas) {
    writeArchive(path(kClientiFile), std::vector<TRecCliente>{makeClient({{"Cliente", "X"}})});
    const QByteArray before = bytes(kClientiFile);
    std::string csv = "Nome;Telefono;CF\n";
    for (int i = 0; i < 3000; ++i)
        csv += "N" + std::to_string(i) + ";" + std::to_string(i) + ";C" + std::to_string(i) + "\n";
    const ImportPlan p = plan(ImportArchive::Clienti, csv.c_str());
    ASSERT_EQ(p.ready, 3000);
    int calls = 0;
    const ImportResult r = runImport(p, false, [&](std::int64_t written, std::int64_t total) {
        EXPECT_EQ(total, 3000);
        return ++calls < 3 && written < total;
    });
    EXPECT_EQ(r.outcome, ImportOutcome::Cancelled);
    EXPECT_GT(calls, 2);
    EXPECT_EQ(bytes(kClientiFile), before);
}

} // namespace
