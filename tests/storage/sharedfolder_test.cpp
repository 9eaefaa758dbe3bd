// What a shared data folder needs: mounts whose locks stay on one workstation are recognised from
// /proc/self/mountinfo lines, and the folder's rights are checked.
#include "core/testfolder.h"
#include "faults.h"

#include "core/storage/sharedfolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using namespace ombrisa;

struct MountCase {
    const char* name;
    const char* line; // one line of /proc/self/mountinfo
    const char* said; // in the problem, or nullptr for none
};

const MountCase kMountCases[] = {
    {"local disk", "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard", nullptr},
    {"cifs with shared locks", "40 27 0:50 / /mnt/ufficio rw,relatime - cifs //server/dati rw,vers=3.1.1,cache=strict",
     nullptr},
    {"cifs with nobrl", "40 27 0:50 / /mnt/ufficio rw,relatime - cifs //server/dati rw,vers=3.1.1,nobrl,soft",
     "«nobrl»"},
    {"smb3 with nobrl", "40 27 0:50 / /mnt/ufficio rw - smb3 //server/dati rw,nobrl", "«nobrl»"},
    {"nfs with locks", "41 27 0:51 / /mnt/nfs rw - nfs server:/export rw,vers=3,local_lock=none", nullptr},
    {"nfs with nolock", "41 27 0:51 / /mnt/nfs rw - nfs server:/export rw,vers=3,nolock,proto=tcp", "«nolock»"},
    {"nfs4 with local_lock=all", "41 27 0:51 / /mnt/nfs rw - nfs4 server:/export rw,local_lock=all", "local_lock=all"},
    {"nfs4 with local_lock=posix", "41 27 0:51 / /mnt/nfs rw - nfs4 server:/export rw,local_lock=posix",
     "local_lock=posix"},
    {"nfs4 with local_lock=flock (not the locks used)", "41 27 0:51 / /mnt/nfs rw - nfs4 server:/export "
                                                        "rw,local_lock=flock",
     nullptr},
    {"user-space client", "42 27 0:52 / /mnt/smb rw,nosuid shared:7 - fuse.smbnetfs smbnetfs rw,user_id=0",
     "fuse.smbnetfs"},
    {"an option that only looks alike", "40 27 0:50 / /mnt/ufficio rw - cifs //server/dati rw,nobrlx", nullptr},
};

TEST(SharedFolder, MountsWhoseLocksStayOnOneWorkstationAreRecognised) {
    for (const MountCase& c : kMountCases) {
        SCOPED_TRACE(c.name);
        const std::vector<MountEntry> mounts = parseMountInfo(c.line);
        ASSERT_EQ(mounts.size(), 1u);
        const QString problem = mountLockProblem(mounts[0]);
        if (c.said) {
            EXPECT_TRUE(problem.contains(QString::fromUtf8(c.said))) << problem.toStdString();
            EXPECT_TRUE(problem.contains(QStringLiteral("da una sola postazione"))) << problem.toStdString();
            EXPECT_TRUE(problem.contains(mounts[0].mountPoint)) << problem.toStdString();
        } else {
            EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
        }
    }
}

TEST(SharedFolder, TheFolderIsJudgedByTheMountThatHoldsIt) {
    const QByteArray table = "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                             "bad line\n"
                             "40 27 0:50 / /mnt/uff rw - cifs //server/a rw,nobrl\n"
                             "43 27 0:53 / /mnt/ufficio\\040dati rw - cifs //server/b rw\n"
                             "44 27 0:54 / /mnt/rete rw - cifs //server/c rw,nobrl\n"
                             "45 44 0:55 / /mnt/rete rw - cifs //server/c rw\n"
                             "46 27 0:56 / /mnt/nfs rw shared:1 master:2 - nfs4 srv:/x rw,local_lock=all\n";
    const std::vector<MountEntry> mounts = parseMountInfo(table);
    ASSERT_EQ(mounts.size(), 6u) << "the line that does not parse is skipped";
    const struct {
        const char* path;
        const char* source; // of the mount found
    } cases[] = {
        {"/home/ufficio/dati", "/dev/vda"},
        {"/mnt/uff/dati", "//server/a"},
        {"/mnt/ufficio dati/archivi", "//server/b"}, // an escaped space, and not under /mnt/uff
        {"/mnt/ufficio", "/dev/vda"},
        {"/mnt/rete/dati", "//server/c"},
        {"/mnt/nfs", "srv:/x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const MountEntry* m = mountHolding(mounts, QString::fromUtf8(c.path));
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->source, QString::fromUtf8(c.source));
    }
    // Mounted over an earlier mount at the same place: the later one counts.
    EXPECT_TRUE(mountLockProblem(*mountHolding(mounts, QStringLiteral("/mnt/rete/dati"))).isEmpty());
    EXPECT_FALSE(mountLockProblem(*mountHolding(mounts, QStringLiteral("/mnt/nfs/dati"))).isEmpty());
    EXPECT_EQ(mountHolding(mounts, QStringLiteral("relativo")), nullptr);
}

class SharedFolderRights : public TestFolder {};

TEST_F(SharedFolderRights, FoldersWhereSavesCannotCreateTheirJournalAreNamed) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Archivio_Lavori")));
    EXPECT_TRUE(sharedFolderRightsProblems(dir.path()).isEmpty());
    FaultScope scope;
    scope.faults.openWriteErrno = EACCES;
    const QStringList problems = sharedFolderRightsProblems(dir.path());
    ASSERT_EQ(problems.size(), 2) << "the data folder and the work registers' folder";
    EXPECT_TRUE(problems[0].contains(QDir::toNativeSeparators(QDir(dir.path()).absolutePath())));
    EXPECT_TRUE(problems[1].contains(QStringLiteral("Archivio_Lavori")));
}

} // namespace
