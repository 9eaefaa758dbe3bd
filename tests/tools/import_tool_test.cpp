// ombrisa-tool import and duplicates: what they print, what they write and their exit codes.
#include "core/import/sheettable.h"
#include "core/records/archivepaths.h"

#include "core/exportarchives.h"
#include "testsupport/toolrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

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
    file("unins000.dll", "x"); // the folder holds the program's data: its password file
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

// What is not a sheet at all ends in one line within moments, whatever its size: a device that never
// ends, a pipe nobody writes to, a file beyond the size a sheet may have, one endless line. The archive
// stays as it was.
TEST_F(ImportTool, WhatIsNoSheetIsRefusedAtOnceAndTheArchiveStays) {
    writeArchive<TRecCliente>(dir.filePath(kClientiFile), {makeClient({{"Cliente", "Rossi"}})});
    const QByteArray before = archive();
    const QString fifo = dir.filePath(QStringLiteral("coda.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile sparse(dir.filePath(QStringLiteral("enorme.csv")));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(kMaxSheetBytes + 1));
    sparse.close();
    const QString endless = file("riga.csv", QByteArray(1024 * 1024 + 10, 'a'));
    const QString longCell = file("cella.csv", "Nome;Note\nRossi;" + QByteArray(40000, 'n') + "\n");
    QByteArray wide = "Nome";
    for (int c = 0; c < 1000; ++c)
        wide += ";C" + QByteArray::number(c);
    const QString columns = file("colonne.csv", "Nome;Tel\nRossi;1\n" + wide + "\n");
    const struct {
        const char* name;
        QString file;
        QString err;
    } cases[] = {
        {"a device without end", QStringLiteral("/dev/zero"),
         QStringLiteral("Il file /dev/zero non è un file normale (è una cartella, un dispositivo o una coda di dati): "
                        "salvare il foglio in un file e importare quello.")},
        {"random bytes without end", QStringLiteral("/dev/urandom"),
         QStringLiteral("/dev/urandom non è un file normale")},
        {"a pipe nobody writes to", fifo, QStringLiteral("coda.csv non è un file normale")},
        {"a folder", dir.path(), QStringLiteral("non è un file normale")},
        {"beyond the size of a sheet", sparse.fileName(),
         QStringLiteral(
             "enorme.csv è troppo grande (129 MB): si importano fogli fino a 128 MB. Dividerlo in più file e "
             "importarli uno alla volta.")},
        {"one endless line", endless,
         QStringLiteral("File riga.csv non valido: alla riga 1 una cella è più lunga di 32768 caratteri.")},
        {"a cell too long", longCell,
         QStringLiteral("File cella.csv non valido: alla riga 2 una cella è più lunga di 32768 caratteri.")},
        {"too many columns", columns, QStringLiteral("File colonne.csv non valido: la riga 3 ha più di 1000 colonne.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool dryRun : {true, false}) {
            QStringList args{"import", "clienti", c.file, "--dir", dir.path()};
            if (dryRun)
                args << QStringLiteral("--dry-run");
            const ToolTextRun r = runToolText(args);
            EXPECT_EQ(r.code, 2);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("ombrisa-tool: ")) && r.err.contains(c.err) &&
                        r.err.count(u'\n') == 1)
                << r.err.toStdString();
            EXPECT_EQ(archive(), before);
        }
    }
}

} // namespace
