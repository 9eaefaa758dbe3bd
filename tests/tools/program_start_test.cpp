// The program started with --data, as every workstation of a shared folder is: a folder that looks empty
// (a share not mounted) is asked about and never seeded; a start that only checks itself has nobody to
// answer, so it ends with the question's text and writes nothing, not even the remembered choice.
#include "testsupport/toolrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef OMBRISA_PROGRAM_PATH

namespace {

struct StartRun {
    int code = -1; // -1: did not end in time, -2: crashed
    QString out, err;
};

// The program with `args` and --startup-check, offscreen, as a user whose home is `home`.
StartRun startProgram(const QString& home, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("OMBRISA_DATA"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    QDir().mkpath(home + QStringLiteral("/run"));
    QFile::setPermissions(home + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(OMBRISA_PROGRAM_PATH), QStringList(args) << QStringLiteral("--startup-check"));
    StartRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Whether any settings file below `folder` remembers a data folder.
bool remembersAFolder(const QString& folder) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains("CartellaDati"))
            return true;
    }
    return false;
}

TEST(ProgramStart, DataOnAFolderThatLooksEmptyAsksAndWritesNothing) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    enum class Folder { Empty, Missing, HoldsData };
    struct StartCase {
        const char* what;
        Folder folder;
    };
    const StartCase cases[] = {
        {"the empty mount point of a share not mounted", Folder::Empty},
        {"a folder below a share not mounted", Folder::Missing},
        {"a folder holding an archive", Folder::HoldsData},
    };
    int n = 0;
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString home = tmp.filePath(QStringLiteral("casa%1").arg(n));
        const QString mount = tmp.filePath(QStringLiteral("rete%1").arg(n++));
        ASSERT_TRUE(QDir().mkpath(mount));
        const QString data = c.folder == Folder::Missing ? mount + QStringLiteral("/Ombrisa") : mount;
        if (c.folder == Folder::HoldsData) {
            ASSERT_TRUE(QFile(data + QStringLiteral("/Contatti.pro")).open(QIODevice::WriteOnly));
        }

        const StartRun r = startProgram(home, {QStringLiteral("--data"), data});
        if (c.folder == Folder::HoldsData) {
            EXPECT_EQ(r.code, 0) << r.err.toStdString();
            EXPECT_EQ(r.out, QStringLiteral("frmPassword %1/\n").arg(data));
            EXPECT_TRUE(QFile::exists(data + QStringLiteral("/unins000.dll")));
            EXPECT_TRUE(remembersAFolder(home));
            continue;
        }
        EXPECT_EQ(r.code, 1) << r.out.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << "no window was shown: " << r.out.toStdString();
        // The question the user would have been asked, on standard error.
        EXPECT_TRUE(r.err.contains(QStringLiteral("Attenzione: la cartella dei dati «%1»").arg(data)))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("forse non è collegata"))) << r.err.toStdString();
        EXPECT_TRUE(QDir(mount).isEmpty()) << "nothing written in the folder or below the mount point";
        EXPECT_FALSE(remembersAFolder(home)) << "the folder was remembered";
    }
}

} // namespace

#endif
