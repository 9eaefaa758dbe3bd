// ombrisa-tool as an administrator runs it: generate, dump, verify, and bad usage.
#include "core/records/records.h"
#include "core/validators/carta.h"
#include "core/validators/codicefiscale.h"
#include "core/validators/iban.h"
#include "core/validators/partitaiva.h"
#include "testsupport/toolrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

std::vector<QJsonObject> lines(const QByteArray& out) {
    std::vector<QJsonObject> result;
    for (const QByteArray& l : out.split('\n'))
        if (!l.isEmpty())
            result.push_back(QJsonDocument::fromJson(l).object());
    return result;
}

QByteArray hashOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

class ToolTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString d() const { return dir.path(); }
    ToolRun generate(const QString& folder, QStringList extra = {}) {
        return runTool(QStringList{QStringLiteral("generate"), QStringLiteral("--dir"), folder,
                                QStringLiteral("--clients"), QStringLiteral("20"), QStringLiteral("--calls"),
                                QStringLiteral("300"), QStringLiteral("--agents"), QStringLiteral("3"),
                                QStringLiteral("--works"), QStringLiteral("10"), QStringLiteral("--seed"),
                                QStringLiteral("7")} +
                    extra);
    }
};

TEST_F(ToolTest, GenerateDumpVerifyRoundTrip) {
    ASSERT_EQ(generate(d()).code, 0);

    const ToolRun clients = runTool({QStringLiteral("dump"), QStringLiteral("clienti"), QStringLiteral("--dir"), d()});
    ASSERT_EQ(clients.code, 0) << clients.err.constData();
    const auto cl = lines(clients.out);
    ASSERT_EQ(cl.size(), 20u);
    QSet<QString> codes;
    for (std::size_t i = 0; i < cl.size(); ++i) {
        const QJsonObject& c = cl[i];
        EXPECT_EQ(c.value(QStringLiteral("Numero")).toInt(), static_cast<int>(i) + 1);
        EXPECT_EQ(c.size(), static_cast<qsizetype>(kClienteFields.size()) + 1);
        const QString cf = c.value(QStringLiteral("CodFisc")).toString();
        EXPECT_TRUE(checkCodiceFiscale(cf).verdict == CheckVerdict::Valid) << cf.toStdString();
        codes.insert(cf);
        for (const char* key : {"PartitaIva", "Iban", "Carta"}) {
            const QString v = c.value(QLatin1String(key)).toString();
            if (v.isEmpty())
                continue;
            const CheckVerdict ok = key[0] == 'P'   ? checkPartitaIva(v).verdict
                                    : key[0] == 'I' ? checkIban(v).verdict
                                                    : checkCarta(v).verdict;
            EXPECT_EQ(ok, CheckVerdict::Valid) << key << " " << v.toStdString();
        }
        const QString again = c.value(QStringLiteral("Ricontatta")).toString();
        EXPECT_TRUE(again == QStringLiteral("Sì") || again == QStringLiteral("No"));
        EXPECT_EQ(c.value(QStringLiteral("ProvRes")).toString().size(), 2);
    }

    const ToolRun calls = runTool({QStringLiteral("dump"), QStringLiteral("chiamate"), QStringLiteral("--dir"), d()});
    ASSERT_EQ(calls.code, 0);
    const auto ch = lines(calls.out);
    ASSERT_EQ(ch.size(), 300u);
    QSet<QString> years;
    for (const QJsonObject& c : ch) {
        EXPECT_TRUE(codes.contains(c.value(QStringLiteral("CodFisc")).toString()));
        const QString date = c.value(QStringLiteral("DataRit")).toString();
        EXPECT_EQ(date, c.value(QStringLiteral("GiornoRit")).toString() + date.mid(2, 4) +
                            c.value(QStringLiteral("AnnoRit")).toString());
        years.insert(c.value(QStringLiteral("AnnoRit")).toString());
    }
    EXPECT_GE(years.size(), 5) << "calls spread over several years";

    const ToolRun agents =
        runTool({QStringLiteral("dump"), QStringLiteral("dipendenti"), QStringLiteral("--dir"), d()});
    const auto ag = lines(agents.out);
    ASSERT_EQ(ag.size(), 3u);
    const ToolRun works = runTool({QStringLiteral("dump"), QStringLiteral("lavori"),
                                ag[1].value(QStringLiteral("CodFisc")).toString(), QStringLiteral("--dir"), d()});
    ASSERT_EQ(works.code, 0);
    EXPECT_EQ(lines(works.out).size(), 10u);

    const ToolRun ok = runTool({QStringLiteral("verify"), QStringLiteral("--dir"), d()});
    EXPECT_EQ(ok.code, 0) << ok.out.constData();
    EXPECT_TRUE(ok.out.contains("Registro_Chiamate.pro: 300 schede")) << ok.out.constData();
}

TEST_F(ToolTest, GeneratedCivilStatusAgreesWithSex) {
    ASSERT_EQ(generate(d(), {QStringLiteral("--force")}).code, 0);
    // Every status the generator writes, with the sex it belongs to.
    const QHash<QString, QString> sexOf{
        {QStringLiteral("Celibe"), QStringLiteral("M")},     {QStringLiteral("Nubile"), QStringLiteral("F")},
        {QStringLiteral("Coniugato"), QStringLiteral("M")},  {QStringLiteral("Coniugata"), QStringLiteral("F")},
        {QStringLiteral("Separato"), QStringLiteral("M")},   {QStringLiteral("Separata"), QStringLiteral("F")},
        {QStringLiteral("Divorziato"), QStringLiteral("M")}, {QStringLiteral("Divorziata"), QStringLiteral("F")},
        {QStringLiteral("Vedovo"), QStringLiteral("M")},     {QStringLiteral("Vedova"), QStringLiteral("F")},
    };
    QSet<QString> sexes;
    for (const char* archive : {"clienti", "dipendenti"}) {
        const ToolRun run = runTool({QStringLiteral("dump"), QLatin1String(archive), QStringLiteral("--dir"), d()});
        ASSERT_EQ(run.code, 0) << run.err.constData();
        for (const QJsonObject& rec : lines(run.out)) {
            const QString sex = rec.value(QStringLiteral("Sesso")).toString();
            const QString status = rec.value(QStringLiteral("Civile")).toString();
            sexes.insert(sex);
            ASSERT_TRUE(sexOf.contains(status)) << archive << ": " << status.toStdString();
            EXPECT_EQ(sexOf.value(status), sex) << archive << ": " << status.toStdString();
        }
    }
    EXPECT_EQ(sexes, (QSet<QString>{QStringLiteral("M"), QStringLiteral("F")})) << "both sexes were generated";
}

TEST_F(ToolTest, GenerateIsDeterministicAndRefusesExistingArchivesWithoutForce) {
    ASSERT_EQ(generate(d()).code, 0);
    const QByteArray first = hashOf(d() + QStringLiteral("/Registro_Chiamate.pro"));
    const ToolRun refused = generate(d());
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.constData();
    EXPECT_EQ(hashOf(d() + QStringLiteral("/Registro_Chiamate.pro")), first) << "nothing touched";
    ASSERT_EQ(generate(d(), {QStringLiteral("--force")}).code, 0);
    EXPECT_EQ(hashOf(d() + QStringLiteral("/Registro_Chiamate.pro")), first);
    ASSERT_EQ(generate(d() + QStringLiteral("/other")).code, 0);
    for (const char* name : {"/Contatti.pro", "/Archivio_Dipendenti.pro"})
        EXPECT_EQ(hashOf(d() + QLatin1String(name)), hashOf(d() + QStringLiteral("/other") + QLatin1String(name)));
}

TEST_F(ToolTest, VerifyReportsDamageAndDumpSurvivesIt) {
    ASSERT_EQ(generate(d()).code, 0);
    QFile calls(d() + QStringLiteral("/Registro_Chiamate.pro"));
    ASSERT_TRUE(calls.open(QIODevice::ReadWrite));
    // Card 2: a length byte of 200 in the 10-character DataRit; card 3: 31/04/2024, a day that never was.
    ASSERT_TRUE(calls.seek(1291 + 19));
    calls.write(QByteArray(1, char(200)));
    ASSERT_TRUE(calls.seek(2 * 1291 + 19));
    calls.write(QByteArray("\x0A"
                           "31/04/2024"));
    ASSERT_TRUE(calls.seek(calls.size()));
    calls.write(QByteArray(100, 'x')); // a cut-off write
    calls.close();

    const ToolRun v = runTool({QStringLiteral("verify"), QStringLiteral("--dir"), d()});
    EXPECT_EQ(v.code, 1);
    EXPECT_TRUE(v.out.contains("coda parziale di 100 byte")) << v.out.constData();
    EXPECT_TRUE(v.out.contains("scheda 2 campo DataRit")) << v.out.constData();
    EXPECT_TRUE(v.out.contains("scheda 3: \"31/04/2024\"")) << v.out.constData();

    const ToolRun dump = runTool({QStringLiteral("dump"), QStringLiteral("chiamate"), QStringLiteral("--dir"), d()});
    ASSERT_EQ(dump.code, 0);
    const auto ch = lines(dump.out);
    ASSERT_EQ(ch.size(), 300u);
    EXPECT_EQ(ch[1].value(QStringLiteral("DataRit")).toString().size(), 10) << "read up to the capacity only";
}

struct BadUsage {
    const char* name;
    QStringList args;
};
// The test list and a failure name the case.
void PrintTo(const BadUsage& c, std::ostream* os) {
    *os << c.name;
}

class ToolBadUsage : public ::testing::TestWithParam<BadUsage> {};

TEST_P(ToolBadUsage, OneLineOnStderrAndExit2) {
    const ToolRun r = runTool(GetParam().args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
    EXPECT_TRUE(r.err.startsWith("ombrisa-tool: ")) << r.err.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolBadUsage,
    ::testing::Values(
        BadUsage{"unknown_command", {QStringLiteral("frobnicate")}},
        BadUsage{"dump_no_archive", {QStringLiteral("dump"), QStringLiteral("--dir"), QStringLiteral("/tmp")}},
        BadUsage{"dump_unknown_archive",
                 {QStringLiteral("dump"), QStringLiteral("fatture"), QStringLiteral("--dir"), QStringLiteral("/tmp")}},
        BadUsage{"dump_lavori_without_cf",
                 {QStringLiteral("dump"), QStringLiteral("lavori"), QStringLiteral("--dir"), QStringLiteral("/tmp")}},
        BadUsage{"missing_dir_value", {QStringLiteral("verify"), QStringLiteral("--dir")}},
        BadUsage{"no_dir", {QStringLiteral("verify")}},
        BadUsage{"dir_does_not_exist",
                 {QStringLiteral("verify"), QStringLiteral("--dir"), QStringLiteral("/nonexistent/ombrisa")}},
        BadUsage{"dir_is_a_file",
                 {QStringLiteral("dump"), QStringLiteral("clienti"), QStringLiteral("--dir"),
                  QStringLiteral("/etc/hostname")}},
        BadUsage{"unknown_option",
                 {QStringLiteral("verify"), QStringLiteral("--dir"), QStringLiteral("/tmp"), QStringLiteral("--fast")}},
        BadUsage{"not_a_number",
                 {QStringLiteral("generate"), QStringLiteral("--dir"), QStringLiteral("/tmp/x"),
                  QStringLiteral("--calls"), QStringLiteral("molte")}},
        BadUsage{"negative",
                 {QStringLiteral("generate"), QStringLiteral("--dir"), QStringLiteral("/tmp/x"),
                  QStringLiteral("--clients"), QStringLiteral("-3")}},
        BadUsage{"calls_without_clients",
                 {QStringLiteral("generate"), QStringLiteral("--dir"), QStringLiteral("/tmp/x"),
                  QStringLiteral("--clients"), QStringLiteral("0")}},
        BadUsage{"no_arguments", {}}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
