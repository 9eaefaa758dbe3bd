// ombrisa-tool import and duplicates: what they print, what they write and their exit codes.
#include "core/records/archivepaths.h"

#include "core/exportarchives.h"
#include "testsupport/toolrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

class ImportTool : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString file(const char* name, const QByteArray& content) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    QByteArray archive() {
        QFile f(dir.filePath(kClientiFile));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(ImportTool, PrintsTheRowsLeftOutAndTheSummary) {
    writeArchive<TRecCliente>(dir.filePath(kClientiFile),
                              {makeClient({{"Cliente", "Rossi"}, {"CodFisc", "DNGGLI61A71L781J"}})});
    // Windows-1252, a separator guessed, a heading mapped by hand and one ignored.
    const QString csv = file("clienti.csv", "Nominativo;Tel;Codice;Colore\r\n"
                                            "Bianchi Anna;06 1;FBBCHR44L44A952H;blu\r\n"
                                            "Rossi;06 2;dnggli61a71l781j;rosso\r\n"
                                            "Verdi Luca;;PLLMRT63D43G999U;verde\r\n"
                                            "Neri Ugo;02 3;NRIUGO;\xE8\r\n");
    const QStringList common{"--dir", dir.path(), "--map", "Codice=txtCodFisc", "--map", "Colore="};
    ToolTextRun dry = runToolText(QStringList{"import", "clienti", csv, "--dry-run"} + common);
    ASSERT_EQ(dry.code, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, QStringLiteral("riga 3: doppione della scheda n. 1 dell'archivio, saltata\n"
                                      "riga 4: per salvare la scheda è necessario indicare il numero di telefono "
                                      "preferenziale del cliente.\n"
                                      "riga 5: il codice fiscale NRIUGO non è corretto\n"
                                      "Prova: si importerebbero 2 schede, 1 duplicato saltato, 1 riga con errori\n"));
    EXPECT_EQ(archive().size(), qsizetype(sizeof(TRecCliente)));

    const QString report = dir.filePath(QStringLiteral("resoconto.txt"));
    ToolTextRun run =
        runToolText(QStringList{"import", "clienti", csv, "--duplicates", "import", "--report", report} + common);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("riga 3: scheda n. 3; doppione della scheda n. 1 dell'archivio\n"
                                      "riga 4: per salvare la scheda è necessario indicare il numero di telefono "
                                      "preferenziale del cliente.\n"
                                      "riga 5: scheda n. 4; il codice fiscale NRIUGO non è corretto\n"
                                      "Importate 3 schede, 0 duplicati saltati, 1 riga con errori\n"));
    QFile saved(report);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), run.out);
    EXPECT_EQ(archive().size(), qsizetype(4 * sizeof(TRecCliente)));

    ToolTextRun groups = runToolText({"duplicates", "clienti", "--dir", dir.path()});
    EXPECT_EQ(groups.code, 1);
    EXPECT_EQ(groups.out, QStringLiteral("schede 1, 3\n1 gruppo di schede doppie\n"));
}

TEST_F(ImportTool, BadInputExitsTwoAndWritesNothing) {
    const QString csv = file("c.csv", "Nome;Telefono;CF\nA;1;X\n");
    const QString open = file("open.csv", "Nome;Telefono;CF\nA;\"1;X\n");
    const QString calls = file("k.csv", "Data;Oggetto\n01/01/2024;x\n");
    struct Case {
        const char* name;
        QStringList args;
        const char* err;
    };
    const std::vector<Case> cases{
        {"unknown archive", {"import", "agenti", csv, "--dir", dir.path()},
         "ombrisa-tool: archivio sconosciuto \"agenti\": clienti o chiamate\n"},
        {"missing file", {"import", "clienti", dir.filePath("nessuno.csv"), "--dir", dir.path()}, nullptr},
        {"quote never closed", {"import", "clienti", open, "--dir", dir.path()},
         "ombrisa-tool: File open.csv non valido: virgolette aperte alla riga 2 e mai chiuse.\n"},
        {"a field twice", {"import", "clienti", csv, "--dir", dir.path(), "--map", "CF=txtCliente"},
         "ombrisa-tool: Il campo \"Cognome e nome\" è stato scelto per due colonne: ogni campo può ricevere una "
         "sola colonna.\n"},
        {"unknown field", {"import", "clienti", csv, "--dir", dir.path(), "--map", "CF=txtNiente"},
         "ombrisa-tool: campo sconosciuto \"txtNiente\"\n"},
        {"unknown heading", {"import", "clienti", csv, "--dir", dir.path(), "--map", "Boh=txtNote"},
         "ombrisa-tool: il file non ha la colonna \"Boh\"\n"},
        {"bad separator", {"import", "clienti", csv, "--dir", dir.path(), "--sep", ";;"},
         "ombrisa-tool: --sep vuole un carattere: ';', ',' o tab\n"},
        {"bad encoding", {"import", "clienti", csv, "--dir", dir.path(), "--encoding", "latin9"},
         "ombrisa-tool: --encoding vuole utf-8 o cp1252\n"},
        {"missing folder", {"import", "chiamate", calls, "--dir", dir.filePath("manca")}, nullptr},
        {"folder in place of the archive", {"import", "clienti", csv, "--dir", dir.path()}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (QLatin1String(c.name) == QLatin1String("folder in place of the archive")) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(kClientiFile));
        }
        const ToolTextRun r = runToolText(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        if (c.err) {
            EXPECT_EQ(r.err, QString::fromUtf8(c.err));
        } else {
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(kChiamateFile)));
}

} // namespace
