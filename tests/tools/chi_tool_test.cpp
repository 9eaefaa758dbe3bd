// ombrisa-tool chi: whose number it is, and its three exit codes.
#include "core/exportarchives.h"
#include "core/records/archivepaths.h"
#include "testsupport/toolrun.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

ToolRun chi(const QStringList& args) {
    return runTool(QStringList{QStringLiteral("chi")} + args);
}

TEST(ToolChi, LinesExitCodesAndRefusals) {
    QTemporaryDir dir;
    const QString d = dir.path();
    writeArchive(QDir(d).filePath(kClientiFile),
                 std::vector<TRecCliente>{makeClient({{"Cliente", "Rossi Mario"}, {"Recapito", "02 1234567"}}),
                                          makeClient({{"Cliente", "Bianchi Anna"}, {"TelCel", "333 1234567"}}),
                                          makeClient({{"Cliente", "Niccolò Neri"}, {"TelUff", "+39 02/123.45.67"}})});
    const struct {
        const char* name;
        QStringList args;
        int code;
        QByteArray out;
    } cases[] = {
        {"two cards", {"+39 02 1234567", "--dir", d}, 0, "1\tRossi Mario\tRecapito\n3\tNiccolò Neri\tTelUff\n"},
        {"one card", {"0039-333-1234567", "--dir", d}, 0, "2\tBianchi Anna\tTelCel\n"},
        {"nobody", {"06 1234567", "--dir", d}, 1, ""},
        {"the end of a number is another number", {"1234567", "--dir", d}, 1, ""},
        {"letters", {"02 12A4567", "--dir", d}, 2, ""},
        {"nothing but a prefix", {"+39", "--dir", d}, 2, ""},
        {"no number", {"--dir", d}, 2, ""},
        {"two numbers", {"021234567", "061234567", "--dir", d}, 2, ""},
        {"no folder", {"021234567"}, 2, ""},
        {"missing folder", {"021234567", "--dir", d + "/nessuna"}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun r = chi(c.args);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out);
        if (c.code == 2) {
            EXPECT_TRUE(r.err.startsWith("ombrisa-tool: "));
            EXPECT_EQ(r.err.count('\n'), 1);
        } else {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
    }
    // What is not a number is quoted on one line: a line break or a control character in it is written
    // out, never passed to the terminal.
    const struct {
        const char* given;
        const char* err;
    } quoted[] = {
        {"02 1234567\r\nombrisa-tool: trovato",
         "ombrisa-tool: \"02 1234567\\r\\nombrisa-tool: trovato\" non è un numero di telefono\n"},
        {"\t06\x1b[2J\\", "ombrisa-tool: \"\\t06\\x1b[2J\\\\\" non è un numero di telefono\n"},
    };
    for (const auto& q : quoted) {
        SCOPED_TRACE(q.given);
        const ToolRun r = chi({QString::fromUtf8(q.given), QStringLiteral("--dir"), d});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, QByteArray(q.err));
    }
}

TEST(ToolChi, AnArchiveThatCannotBeReadIsExitTwo) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(kClientiFile)); // a folder in place of the client archive
    const ToolRun r = chi({QStringLiteral("021234567"), QStringLiteral("--dir"), dir.path()});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith("ombrisa-tool: "));
}

} // namespace
