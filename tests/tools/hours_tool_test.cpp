// ombrisa-tool hours: the summary's lines and totals from a register written byte by byte, unreadable
// records named with exit 1, bad usage with exit 2.
#include "testsupport/toolrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace ombrisa::test;

namespace {

ToolTextRun hours(const QStringList& args) {
    return runToolText(QStringList{QStringLiteral("hours")} + args);
}

// Data at 0 (10), Attivita at 11 (50), Luogo at 62 (28), Orario at 91 (28), TotOre at 120 (28).
QByteArray work(const char* data, const char* attivita, const char* totOre) {
    QByteArray r(149, '\0');
    const std::pair<int, const char*> fields[] = {
        {0, data}, {11, attivita}, {62, "Spoleto"}, {91, "9-13"}, {120, totOre}};
    for (const auto& [offset, text] : fields) {
        r[offset] = static_cast<char>(std::strlen(text));
        std::memcpy(r.data() + offset + 1, text, std::strlen(text));
    }
    return r;
}

class HoursTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Archivio_Lavori")));
    }
    void writeRegister(const QByteArray& bytes) {
        QFile f(dir.filePath(QStringLiteral("Archivio_Lavori/Lavori_Dipendente_CF_VRDLGU70B02G478Z.pro")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QStringList args(const char* from, const char* to, const char* cf = "VRDLGU70B02G478Z") const {
        return {QStringLiteral("--dir"),  dir.path(),          QStringLiteral("--cf"), QLatin1String(cf),
                QStringLiteral("--from"), QLatin1String(from), QStringLiteral("--to"), QLatin1String(to)};
    }
    QTemporaryDir dir;
};

TEST_F(HoursTool, PrintsTheLinesAndTheThreeTotals) {
    writeRegister(work("05/01/2024", "Uno", "8") + work("6/1/2024", "Due", "7,5") + work("07/02/2024", "Tre", "1"));
    const ToolTextRun r = hours(args("1/1/2024", "31/01/2024"));
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QString pad = QString(43, QLatin1Char(' '));
    const QString tail = QStringLiteral("  Luogo: Spoleto") + QString(21, QLatin1Char(' ')) +
                         QStringLiteral("  Orario: 9-13") + QString(22, QLatin1Char(' '));
    EXPECT_EQ(r.out, QStringLiteral("Uno") + pad + QStringLiteral("   Data: 05/01/2024") + tail +
                         QStringLiteral("  Tot. ore: 8\n") + QStringLiteral("Due") + pad +
                         QStringLiteral("   Data: 6/1/2024  ") + tail + QStringLiteral("  Tot. ore: 7,5\n") +
                         QStringLiteral("- - - - - - - - - - - - - - - -\n"
                                        "INTERVALLO SELEZIONATO:    Dal   01/01/2024   al   31/01/2024\n"
                                        "TOTALE LAVORI SVOLTI:      2\n"
                                        "TOTALE ORE DI LAVORO:      15,5\n"));
    // An agent without register: an empty summary, and no file is made.
    const ToolTextRun none = hours(args("1/1/2024", "31/01/2024", "NESSUNO"));
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(none.out.endsWith(QStringLiteral("TOTALE LAVORI SVOLTI:      0\nTOTALE ORE DI LAVORO:      0\n")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Archivio_Lavori/Lavori_Dipendente_CF_NESSUNO.pro"))));
}

TEST_F(HoursTool, NamesUnreadableRecordsAndExitsOne) {
    writeRegister(work("05/01/2024", "Uno", "8") + work("06/01/2024", "Due", "7:30") + work("3O/01/2024", "Tre", "1"));
    const ToolTextRun r = hours(args("01/01/2024", "31/12/2024"));
    EXPECT_EQ(r.code, 1);
    // The printed lines say that the total leaves two records out.
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("TOTALE LAVORI SVOLTI:      1\nTOTALE ORE DI LAVORO:      8\n"
                                              "2 schede illeggibili escluse dal totale\n")))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("scheda 2 illeggibile (data \"06/01/2024\", ore \"7:30\")")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("scheda 3 illeggibile (data \"3O/01/2024\"")));
}

TEST_F(HoursTool, BadUsageExitsTwo) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("--dir"), QStringLiteral("/nessuna/cartella"), QStringLiteral("--cf"), QStringLiteral("A"),
         QStringLiteral("--from"), QStringLiteral("1/1/2024"), QStringLiteral("--to"), QStringLiteral("2/1/2024")},
        args("31/02/2024", "01/03/2024"),
        args("02/01/2024", "01/01/2024"),
        args("01/01/2024", "02/01/2024", "../../Contatti"),
        args("01/01/2024", "02/01/2024", "A/B"),
        args("01/01/2024", "02/01/2024") + QStringList{QStringLiteral("avanzo")},
    };
    for (const QStringList& a : cases) {
        const ToolTextRun r = hours(a);
        EXPECT_EQ(r.code, 2) << a.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("ombrisa-tool: "))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace
