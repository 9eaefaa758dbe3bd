// ombrisa-tool search: its usage errors and an archive that is missing. What it lists is compared with
// the search screens in tests/ui_search.
#include "testsupport/toolrun.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ombrisa::test;

namespace {

ToolRun searchTool(const QStringList& args) {
    return runTool(QStringList{QStringLiteral("search")} + args);
}

TEST(ToolSearch, BadUsageIsOneLineAndExitTwo) {
    QTemporaryDir dir;
    const QString d = dir.path();
    const struct {
        const char* name;
        QStringList args;
    } cases[] = {
        {"no archive", {"--dir", d}},
        {"unknown archive", {"lavori", "--dir", d}},
        {"no folder", {"clienti"}},
        {"missing folder", {"clienti", "--dir", d + "/nessuna"}},
        {"box of another screen", {"clienti", "--dir", d, "--box", "txtOggetto=x"}},
        {"box without a text", {"chiamate", "--dir", d, "--box", "txtOggetto"}},
        {"box without a value", {"chiamate", "--dir", d, "--box"}},
        {"box given twice", {"chiamate", "--dir", d, "--box", "txtNote=a", "--box", "txtNote=b"}},
        {"unknown option", {"chiamate", "--dir", d, "--filtro", "x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun r = searchTool(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith("ombrisa-tool: "));
        EXPECT_EQ(r.err.count('\n'), 1);
    }
}

TEST(ToolSearch, AMissingArchiveListsNothingAndIsNotCreated) {
    QTemporaryDir dir;
    // A data folder (it has its client archive) without an agent archive.
    QFile clients(dir.filePath(QStringLiteral("Contatti.pro")));
    ASSERT_TRUE(clients.open(QIODevice::WriteOnly));
    clients.close();
    const ToolRun r = searchTool({"dipendenti", "--dir", dir.path(), "--box", "txtNote= a b "});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Il presente riepilogo contiene 0 schede\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Contatti.pro")});
    // A folder with none of the program's files is a wrong folder, not an empty archive.
    ASSERT_TRUE(clients.remove());
    const ToolRun none = searchTool({"dipendenti", "--dir", dir.path()});
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.out.isEmpty());
}

} // namespace
