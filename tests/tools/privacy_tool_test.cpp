// ombrisa-tool access and forget on a generated folder: what the folder for the person holds, and that
// forgetting leaves no trace of the client while every other record stays byte for byte.
#include "core/records/records.h"
#include "core/storage/recordfile.h"
#include "testsupport/toolrun.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The numbers after "label: " on a line of the output.
std::vector<int> numbersAfter(const QByteArray& out, const QString& label) {
    std::vector<int> numbers;
    for (const QString& line : QString::fromUtf8(out).split(QLatin1Char('\n')))
        if (line.startsWith(label + QStringLiteral(": ")))
            for (const QString& word : line.mid(label.size() + 2).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                if (bool ok = false; word.toInt(&ok), ok)
                    numbers.push_back(word.toInt());
    return numbers;
}

class PrivacyTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(runTool({QStringLiteral("generate"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--clients"),
                        QStringLiteral("30"), QStringLiteral("--calls"), QStringLiteral("400"),
                        QStringLiteral("--agents"), QStringLiteral("2"), QStringLiteral("--works"), QStringLiteral("5"),
                        QStringLiteral("--seed"), QStringLiteral("11")})
                      .code,
                  0);
        // The client of card 3, with an attached file whose name carries the client's name.
        TRecordFile file;
        TRecCliente card;
        ASSERT_TRUE(file.OpenOrCreate(dir.filePath(QStringLiteral("Contatti.pro")), sizeof card));
        ASSERT_TRUE(file.Seek(2));
        ASSERT_TRUE(file.ReadRecord(card));
        name = GetText(card.Cliente);
        code = GetText(card.CodFisc);
        traces = {name, code, GetText(card.Recapito), GetText(card.TelCel), GetText(card.Email)};
        attachment = QStringLiteral("Contratto %1.pdf").arg(name);
        PutText(card.File01, attachment);
        ASSERT_TRUE(file.Seek(2));
        ASSERT_TRUE(file.WriteRecord(card));
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Documenti_Allegati")));
        QFile f(dir.filePath(QStringLiteral("Documenti_Allegati/") + attachment));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("contenuto del contratto");
    }

    QTemporaryDir dir;
    QString name, code, attachment;
    QStringList traces;
};

TEST_F(PrivacyTool, ForgetLeavesNoTraceAndEveryOtherRecordByteIdentical) {
    const QStringList archives{QStringLiteral("Contatti.pro"), QStringLiteral("Registro_Chiamate.pro"),
                               QStringLiteral("Archivio_Dipendenti.pro")};
    QMap<QString, QByteArray> before;
    for (const QString& a : archives)
        before[a] = fileBytes(dir.filePath(a));

    // Lower case: the code is compared without regard to case.
    const ToolRun r = runTool(
        {QStringLiteral("forget"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"), code.toLower()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const std::vector<int> clients = numbersAfter(r.out, QStringLiteral("schede cliente anonimizzate"));
    const std::vector<int> calls = numbersAfter(r.out, QStringLiteral("chiamate anonimizzate"));
    EXPECT_EQ(clients, std::vector<int>{3});
    EXPECT_FALSE(calls.empty()) << r.out.toStdString();

    for (const QString& a : archives) {
        const QByteArray after = fileBytes(dir.filePath(a));
        ASSERT_EQ(after.size(), before[a].size()) << a.toStdString(); // no record added or removed
        for (const QString& trace : traces) {
            if (!trace.isEmpty()) {
                EXPECT_FALSE(after.contains(trace.toLatin1())) << a.toStdString() << ": " << trace.toStdString();
            }
        }
        const std::size_t size = a == archives[0]   ? sizeof(TRecCliente)
                                 : a == archives[1] ? sizeof(TRecChiamata)
                                                    : sizeof(TRecDipendente);
        const std::vector<int>& changed = a == archives[0] ? clients : a == archives[1] ? calls : std::vector<int>{};
        for (qsizetype n = 1; n <= after.size() / qsizetype(size); ++n) {
            const bool expectedChange = std::find(changed.begin(), changed.end(), n) != changed.end();
            const qsizetype at = (n - 1) * qsizetype(size);
            EXPECT_EQ(after.mid(at, qsizetype(size)) != before[a].mid(at, qsizetype(size)), expectedChange)
                << a.toStdString() << " card " << n;
        }
    }
    for (const QString& stored : QDir(dir.filePath(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files))
        EXPECT_FALSE(stored.contains(name)) << stored.toStdString();
    EXPECT_EQ(runTool({QStringLiteral("verify"), QStringLiteral("--dir"), dir.path()}).code, 0);

    const QByteArray journal = fileBytes(dir.filePath(QStringLiteral("Registro_Privacy.txt")));
    EXPECT_TRUE(journal.contains(";oblio;clienti: 3;chiamate: ")) << journal.toStdString();
    for (const QString& trace : traces) {
        if (!trace.isEmpty()) {
            EXPECT_FALSE(journal.contains(trace.toLatin1()));
        }
    }

    // Nothing is left: a second run finds nothing (exit 1) and changes nothing.
    const QByteArray calls1 = fileBytes(dir.filePath(archives[1]));
    EXPECT_EQ(
        runTool({QStringLiteral("forget"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"), code}).code, 1);
    EXPECT_EQ(fileBytes(dir.filePath(archives[1])), calls1);
}

TEST_F(PrivacyTool, AccessWritesTheCardTheCallsTheFilesAndAnIndex) {
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("richiesta"));
    const ToolRun r = runTool({QStringLiteral("access"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"),
                               code, QStringLiteral("--out"), folder});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const std::vector<int> calls = numbersAfter(r.out, QStringLiteral("chiamate"));
    EXPECT_EQ(numbersAfter(r.out, QStringLiteral("schede cliente")), std::vector<int>{3});
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/Documenti_Allegati/") + attachment),
              QByteArray("contenuto del contratto"));
    const QString index = QString::fromUtf8(fileBytes(folder + QStringLiteral("/Indice.txt")));
    EXPECT_TRUE(index.contains(QStringLiteral("Schede cliente trovate (numero di scheda): 3\n")))
        << index.toStdString();
    EXPECT_TRUE(index.contains(QStringLiteral("Scheda_cliente_3.pdf")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Chiamate.xls")));
    EXPECT_TRUE(
        fileBytes(dir.filePath(QStringLiteral("Registro_Privacy.txt"))).contains(";accesso ai dati;clienti: 3;"));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const ToolRun card = runProgram(pdftotext, {folder + QStringLiteral("/Scheda_cliente_3.pdf"), QStringLiteral("-")});
    EXPECT_TRUE(card.out.contains(name.toUtf8())) << card.out.toStdString();
    EXPECT_TRUE(card.out.contains(code.toUtf8()));
    const ToolRun list = runProgram(pdftotext, {folder + QStringLiteral("/Chiamate.pdf"), QStringLiteral("-")});
    EXPECT_TRUE(list.out.contains(QStringLiteral("contiene %1 schede").arg(calls.size()).toUtf8()))
        << list.out.toStdString();
}

TEST_F(PrivacyTool, BadRequestsAreRefusedWithExitTwo) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("forget"), QStringLiteral("--dir"), dir.path()},
          QStringList{QStringLiteral("forget"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"),
                      QStringLiteral("  ")},
          QStringList{QStringLiteral("access"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--cf"), code},
          QStringList{QStringLiteral("retention"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--years"),
                      QStringLiteral("zero")}}) {
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.startsWith("ombrisa-tool: ")) << r.err.toStdString();
    }
}

} // namespace
