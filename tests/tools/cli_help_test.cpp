// --help and --version of both programs: printed, exit 0, no display needed; each tool command has its help.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace {

struct ProgramRun {
    int exitCode = -1; // -1: did not finish, or crashed
    QString out;
    QString err;
};

// Runs a program with neither a display nor a chosen platform, as on a bare console.
ProgramRun runWithoutDisplay(const QString& program, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ProgramRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    if (p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

const char* const kCommands[] = {"generate", "dump",    "verify", "check",  "hours",  "search",
                                 "export",   "import",  "duplicates", "access", "forget", "retention",
                                 "chi"};

TEST(ToolHelp, EveryCommandAnswersHelpWithItsOwnUsage) {
    for (const char* command : kCommands) {
        for (const char* flag : {"--help", "-h"}) {
            SCOPED_TRACE(std::string(command) + " " + flag);
            // The help wins over whatever else is on the line, even a missing or wrong option.
            const ProgramRun r = runWithoutDisplay(QStringLiteral(OMBRISA_TOOL_PATH),
                                            {QString::fromLatin1(command), QStringLiteral("--dir"),
                                             QStringLiteral("/nonexistent"), QString::fromLatin1(flag)});
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_TRUE(r.out.startsWith(QStringLiteral("Uso: ombrisa-tool %1 ").arg(QString::fromLatin1(command))))
                << r.out.toStdString();
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
    }
}

TEST(ToolHelp, VersionAndUnknownOptionsStillRefused) {
    const ProgramRun version = runWithoutDisplay(QStringLiteral(OMBRISA_TOOL_PATH), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("ombrisa-tool " OMBRISA_VERSION "\n"));
    // Without --help an unknown option is still a usage error.
    const ProgramRun unknown = runWithoutDisplay(QStringLiteral(OMBRISA_TOOL_PATH),
                                          {QStringLiteral("verify"), QStringLiteral("--aiuto")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("opzione sconosciuta --aiuto"))) << unknown.err.toStdString();
}

#ifdef OMBRISA_PROGRAM_PATH
TEST(ProgramHelp, HelpAndVersionPrintWithoutDisplay) {
    const ProgramRun help = runWithoutDisplay(QStringLiteral(OMBRISA_PROGRAM_PATH), {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--data <CARTELLA>"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--version"))) << help.out.toStdString();
    EXPECT_FALSE(help.out.contains(QStringLiteral("startup-check")));

    // --help after --data is still the help; --data's value that looks like an option is not.
    const ProgramRun afterData = runWithoutDisplay(QStringLiteral(OMBRISA_PROGRAM_PATH),
                                            {QStringLiteral("--data"), QStringLiteral("/tmp"), QStringLiteral("-h")});
    EXPECT_EQ(afterData.exitCode, 0);
    EXPECT_TRUE(afterData.out.contains(QStringLiteral("--data <CARTELLA>")));

    const ProgramRun version = runWithoutDisplay(QStringLiteral(OMBRISA_PROGRAM_PATH), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, QStringLiteral("ombrisa " OMBRISA_VERSION "\n"));
}
#endif

} // namespace
