// The real client: LibreOffice opens the four exports and every cell it reads back is the stored text.
// One soffice start converts all four files to CSV (it is slow to start); the test is skipped where
// soffice is not installed (the test set-up installs it).
#include "core/export/exports.h"
#include "core/import/importplan.h"
#include "core/storage/appfolder.h"
#include "core/storage/textfield.h"
#include "core/records/archivepaths.h"

#include "core/exportarchives.h"
#include "core/testfolder.h"
#include "testsupport/qtprint.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>


using namespace ombrisa;
using namespace ombrisa::test;

namespace {

// RFC 4180 records: fields separated by commas, quoted when they hold a comma, a quote or a line break.
std::vector<std::vector<QString>> parseCsv(const QString& text) {
    std::vector<std::vector<QString>> rows(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !rows.back().empty())
        rows.back().push_back(field);
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// The values that a spreadsheet program likes to reinterpret, and characters of the code page and of
// the markup.
const std::vector<QString> kTricky = {
    QStringLiteral("Niccol\u00f2"),
    QStringLiteral("\u20ac 10"),
    QStringLiteral("<b>"),
    QStringLiteral("a & b"),
    QStringLiteral("dice \"s\u00ec\""),
    QStringLiteral("=1+1"),
    QStringLiteral("-3"),
    QStringLiteral("05/03/2024"),
    QStringLiteral("1,5"),
    QStringLiteral("0612345678"),
    QStringLiteral("01234567890"),
    QStringLiteral("007"),
    QStringLiteral("</table>"),
    QStringLiteral("1E5"),
    QStringLiteral("TRUE"),
    QStringLiteral("12:30"),
    QStringLiteral("50%"),
    QStringLiteral("due  spazi   tre"),
    QStringLiteral("vero"),
    QStringLiteral("#N/A"),
    QStringLiteral("+39 06"),
    QStringLiteral("@casa"),
    QStringLiteral("'apice"),
    QStringLiteral("1/2"),
    QStringLiteral("Jan"),
    QStringLiteral("Marzo"),
    QStringLiteral("inf"),
    QStringLiteral("NaN"),
    QStringLiteral("x"),
};

class LibreOfficeReadsBack : public TestFolder {};

TEST_F(LibreOfficeReadsBack, EveryCellOfTheFourExportsIsTheStoredText) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";

    // Every call field in turn takes each tricky value; the dates make two of the calls today's.
    std::vector<TRecChiamata> calls;
    const char* callFields[] = {"OraRit", "Tipo",     "Oggetto", "Esito", "Grado", "Durata",   "Cliente",
                                "Zona",   "Recapito", "TelCel",  "Email", "Note",  "Operatore"};
    for (std::size_t i = 0; i < kTricky.size(); ++i) {
        Fields f{{"DataRit", i % 2 ? "05/03/2024" : "04/03/2024"},
                 {"CodFisc", i % 3 ? "RSSMRA80A01" : "  VRDLCU70B02"}};
        for (std::size_t k = 0; k < std::size(callFields); ++k) {
            QString v = kTricky[(i + k) % kTricky.size()];
            if (qstrcmp(callFields[k], "OraRit") == 0 || qstrcmp(callFields[k], "Tipo") == 0)
                v = v.left(5);
            f.emplace_back(callFields[k], v);
        }
        calls.push_back(makeCall(f));
    }
    writeArchive(path(kChiamateFile), calls);
    std::vector<TRecCliente> clients;
    for (std::size_t i = 0; i < kTricky.size(); ++i) {
        Fields f;
        int k = 0;
        for (const FieldDef& def : kClienteFields) {
            const QString v = kTricky[(i + static_cast<std::size_t>(k++)) % kTricky.size()];
            if (v.size() <= static_cast<qsizetype>(def.capacity))
                f.emplace_back(def.name, v);
        }
        clients.push_back(makeClient(f));
    }
    writeArchive(path(kClientiFile), clients);

    struct Export {
        ExportKind kind;
        QString choice;
        ExportTable rows;
    };
    std::vector<Export> exports{{ExportKind::Chiamate, {}, {}},
                                {ExportKind::Clienti, {}, {}},
                                {ExportKind::Oggi, QStringLiteral("05/03/2024"), {}},
                                {ExportKind::Storico, QStringLiteral("VRDLCU70B02"), {}}};
    QStringList files;
    for (Export& e : exports) {
        ASSERT_TRUE(fillExportRows(e.kind, e.rows, e.choice));
        ASSERT_GT(e.rows.rowCount(), 0);
        const ExportDef& def = exportDef(e.kind);
        ASSERT_EQ(exportSpreadsheet(path(def.fileName), def.sheetName, def.columns, e.rows), ExportOutcome::Written);
        files << path(def.fileName);
    }

    QProcess lo;
    lo.setWorkingDirectory(dir.path());
    lo.start(soffice,
             QStringList{QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(path(QStringLiteral("profilo"))).toString(),
                         QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                         QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), QStringLiteral("--outdir"),
                         path(QStringLiteral("csv"))} +
                 files);
    ASSERT_TRUE(lo.waitForFinished(300000)) << "soffice did not finish";
    ASSERT_EQ(lo.exitCode(), 0) << lo.readAllStandardError().toStdString();

    for (const Export& e : exports) {
        const ExportDef& def = exportDef(e.kind);
        SCOPED_TRACE(def.fileName.toStdString());
        QFile csv(path(QStringLiteral("csv/") +
                       QString(def.fileName).replace(QStringLiteral(".xls"), QStringLiteral(".csv"))));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << csv.fileName().toStdString();
        const auto table = parseCsv(QString::fromUtf8(csv.readAll()));
        ASSERT_EQ(static_cast<qsizetype>(table.size()), e.rows.rowCount() + 1);
        ASSERT_EQ(table[0].size(), def.columns.size());
        for (std::size_t c = 0; c < def.columns.size(); ++c)
            EXPECT_EQ(table[0][c], def.columns[c].fileHeading);
        for (qsizetype r = 0; r < e.rows.rowCount(); ++r) {
            const auto& line = table[static_cast<std::size_t>(r) + 1];
            ASSERT_EQ(line.size(), def.columns.size()) << "row " << r;
            for (int c = 0; c < e.rows.columnCount(); ++c)
                EXPECT_EQ(line[static_cast<std::size_t>(c)], e.rows.text(r, c).trimmed())
                    << "row " << r << " column " << def.columns[static_cast<std::size_t>(c)].fileHeading.toStdString();
        }
    }
}

} // namespace

namespace {

// A client archive exported, turned into an .xlsx workbook by LibreOffice and imported into an empty
// folder gives back every card as it was: each field the export carries, the tricky values included.
TEST_F(LibreOfficeReadsBack, ClientsExportedSavedAsXlsxAndImportedAreTheSameCards) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";

    const char* freeText[] = {"Cliente", "DataNasc", "ComuneNasc", "Recapito", "IndirizzoRes", "ComuneRes",
                              "Estremi", "TelCasa",  "TelUff",     "TelCel",   "Fax",          "Email",
                              "ScadeCarta", "Documento", "Occupazione", "Civile", "Titoli", "Prodotti",
                              "Zona",    "Questioni", "Note"};
    std::vector<TRecCliente> clients;
    for (std::size_t i = 0; i < kTricky.size(); ++i) {
        Fields f{{"CodFisc", QStringLiteral("RSSMRA80A01H5%1").arg(i, 2, 10, QLatin1Char('0'))},
                 {"PartitaIva", QStringLiteral("%1").arg(i, 11, 10, QLatin1Char('0'))},
                 {"Carta", QStringLiteral("00411111111%1").arg(i)},
                 {"Iban", i % 2 ? QStringLiteral("IT60X0542811101000000123456") : QString()},
                 {"ProvNasc", i % 2 ? QStringLiteral("RM") : QString()},
                 {"ProvRes", i % 3 ? QStringLiteral("MI") : QString()},
                 {"Ricontatta", QStringLiteral("No")}};
        for (std::size_t k = 0; k < std::size(freeText); ++k)
            f.emplace_back(freeText[k], kTricky[(i + k) % kTricky.size()]);
        clients.push_back(makeClient(f));
    }
    writeArchive(path(kClientiFile), clients);

    ExportTable rows;
    ASSERT_TRUE(fillExportRows(ExportKind::Clienti, rows));
    const ExportDef& def = exportDef(ExportKind::Clienti);
    ASSERT_EQ(exportSpreadsheet(path(def.fileName), def.sheetName, def.columns, rows), ExportOutcome::Written);

    QProcess lo;
    lo.setWorkingDirectory(dir.path());
    lo.start(soffice, QStringList{QStringLiteral("-env:UserInstallation=") +
                                      QUrl::fromLocalFile(path(QStringLiteral("profilo"))).toString(),
                                  QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                  QStringLiteral("--convert-to"), QStringLiteral("xlsx"), QStringLiteral("--outdir"),
                                  path(QStringLiteral("xlsx")), path(def.fileName)});
    ASSERT_TRUE(lo.waitForFinished(300000)) << "soffice did not finish";
    ASSERT_EQ(lo.exitCode(), 0) << lo.readAllStandardError().toStdString();
    const QString workbook = path(QStringLiteral("xlsx/Contatti.xlsx"));
    ASSERT_TRUE(QFile::exists(workbook));

    const SheetResult sheet = readSheetFile(workbook);
    ASSERT_TRUE(sheet.ok) << sheet.error.toStdString();
    const QStringList mapping = guessMapping(ImportArchive::Clienti, sheet.table.headings);
    EXPECT_FALSE(mapping.contains(QString())) << mapping.join(u',').toStdString();

    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    setAppFolderOverride(empty.path());
    ImportPlan plan;
    QString error;
    ASSERT_TRUE(makeImportPlan(ImportArchive::Clienti, sheet.table, mapping, plan, &error));
    EXPECT_EQ(plan.ready, qsizetype(clients.size()));
    for (const PlannedRow& row : plan.rows)
        EXPECT_EQ(row.verdict, RowVerdict::Ready) << row.line << ": " << row.reason.toStdString();
    const ImportResult result = runImport(plan, false);
    ASSERT_EQ(result.outcome, ImportOutcome::Written) << result.error.toStdString();

    QFile imported(QDir(empty.path()).filePath(kClientiFile));
    ASSERT_TRUE(imported.open(QIODevice::ReadOnly));
    const QByteArray bytes = imported.readAll();
    ASSERT_EQ(bytes.size(), qsizetype(clients.size() * sizeof(TRecCliente)));
    for (std::size_t i = 0; i < clients.size(); ++i) {
        const char* record = bytes.constData() + i * sizeof(TRecCliente);
        for (const FieldDef& f : kClienteFields)
            EXPECT_EQ(GetText(record, f), GetText(&clients[i], f)) << "card " << i + 1 << " field " << f.name;
    }
}

} // namespace
