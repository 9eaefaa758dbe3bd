// ombrisa-tool export: the same bytes as the screens' export, and its refusals.
#include "core/export/exports.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"

#include "core/exportarchives.h"
#include "testsupport/toolrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

class ExportTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeArchive<TRecChiamata>(
            dir.filePath(kChiamateFile),
            {makeCall({{"DataRit", "05/03/2024"}, {"CodFisc", " RSSMRA80A01"}, {"Note", "a & <b>"}}),
             makeCall({{"DataRit", "06/03/2024"}, {"CodFisc", "RSSMRA80A01"}, {"Cliente", "Niccol\u00f2"}}),
             makeCall({{"DataRit", "06/03/2024"}, {"CodFisc", "VRDLCU70B02"}})});
        writeArchive<TRecCliente>(dir.filePath(kClientiFile),
                                  {makeClient({{"Cliente", "Rossi"}, {"ComuneNasc", "Roma"}})});
    }
    void TearDown() override { setAppFolderOverride({}); }

    // What the screens write for this export, built in this process.
    QByteArray screensBytes(ExportKind kind, const QString& choice) {
        setAppFolderOverride(dir.path());
        ExportTable rows;
        EXPECT_TRUE(fillExportRows(kind, rows, choice));
        const ExportDef& def = exportDef(kind);
        const QString out = dir.filePath(QStringLiteral("schermo.xls"));
        EXPECT_EQ(exportSpreadsheet(out, def.sheetName, def.columns, rows), ExportOutcome::Written);
        setAppFolderOverride({});
        return readAll(out);
    }

    QTemporaryDir dir;
};

TEST_F(ExportTool, WritesTheScreensBytes) {
    struct Case {
        QStringList args;
        ExportKind kind;
        QString choice;
        QString file;
    };
    const Case cases[] = {
        {{"chiamate"}, ExportKind::Chiamate, {}, QStringLiteral("Registro_Chiamate.xls")},
        {{"clienti"}, ExportKind::Clienti, {}, QStringLiteral("Contatti.xls")},
        {{"oggi", "--today", "06/03/2024"},
         ExportKind::Oggi,
         QStringLiteral("06/03/2024"),
         QStringLiteral("Chiamate_Odierne.xls")},
        {{"storico", " RSSMRA80A01 "},
         ExportKind::Storico,
         QStringLiteral("RSSMRA80A01"),
         QStringLiteral("Storico_Chiamate_Cliente.xls")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const ToolRun r =
            runTool(QStringList{QStringLiteral("export")} + c.args + QStringList{QStringLiteral("--dir"), dir.path()});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(readAll(dir.filePath(c.file)), screensBytes(c.kind, c.choice));
    }
    // --out names another file; the fixed one is left alone.
    QFile::remove(dir.filePath(QStringLiteral("Contatti.xls")));
    const QString out = dir.filePath(QStringLiteral("altrove.xls"));
    ASSERT_EQ(runTool({"export", "clienti", "--dir", dir.path(), "--out", out}).code, 0);
    EXPECT_EQ(readAll(out), screensBytes(ExportKind::Clienti, {}));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Contatti.xls"))));
}

TEST_F(ExportTool, RefusesBadUsageAndUnreadableFolders) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("rotto")));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("rotto"))).mkdir(kChiamateFile)); // a folder, not a register
    const QStringList cases[] = {
        {"export"},
        {"export", "fatture", "--dir", dir.path()},
        {"export", "storico", "--dir", dir.path()},
        {"export", "chiamate", "XYZ", "--dir", dir.path()},
        {"export", "oggi", "--today", "2024-03-06", "--dir", dir.path()},
        {"export", "chiamate", "--today", "06/03/2024", "--dir", dir.path()},
        {"export", "chiamate"},
        {"export", "chiamate", "--dir", dir.filePath(QStringLiteral("manca"))},
        {"export", "chiamate", "--dir", dir.filePath(QStringLiteral("rotto"))},
    };
    for (const QStringList& args : cases) {
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("ombrisa-tool: ")) << r.err.toStdString();
        EXPECT_FALSE(r.err.trimmed().contains('\n')) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Registro_Chiamate.xls"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("rotto/Registro_Chiamate.xls"))));
}

} // namespace
