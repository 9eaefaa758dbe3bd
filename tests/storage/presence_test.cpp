// Who uses the data folder: each program's slot in the presence file, and the warning when another
// workstation's heartbeat goes on while its lock cannot be seen.
#include "core/testfolder.h"
#include "faults.h"

#include "core/storage/presence.h"
#include "testsupport/workstations.h"

#include <QSysInfo>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using namespace ombrisa;
using ombrisa::test::posingAs;

class PresenceTest : public TestFolder {};

TEST_F(PresenceTest, EachProgramTakesItsOwnSlotAndLeavesItWhenItEnds) {
    {
        Presence first(dir.path());
        Presence second(dir.path());
        ASSERT_TRUE(first.Register()) << first.ErrorString().toStdString();
        ASSERT_TRUE(second.Register()) << second.ErrorString().toStdString();
        EXPECT_NE(first.Slot(), second.Slot());
        const std::vector<Workstation> present = Presence::Read(dir.path());
        ASSERT_EQ(present.size(), 2u);
        for (const Workstation& w : present) {
            EXPECT_EQ(w.host, QSysInfo::machineHostName());
            EXPECT_EQ(w.process, ::getpid());
            EXPECT_TRUE(w.lockSeen) << "the slot's lock is seen from another open of the file";
        }
        // Working locks: heartbeats go on and nobody is warned.
        for (int beat = 0; beat < 3; ++beat) {
            EXPECT_TRUE(first.Beat().isEmpty());
            EXPECT_TRUE(second.Beat().isEmpty());
        }
    }
    EXPECT_TRUE(Presence::Read(dir.path()).empty()) << "slots emptied at the end";
}

TEST_F(PresenceTest, AWorkstationWhoseLocksCannotBeSeenIsNamedWithinOneHeartbeat) {
    Presence other(dir.path()); // registered with working locks: its slot is really locked
    ASSERT_TRUE(other.Register());
    FaultScope scope;
    scope.faults.locksInvisible = true; // from here on, nobody's locks are seen
    Presence here(dir.path());
    ASSERT_TRUE(here.Register());
    EXPECT_NE(here.Slot(), other.Slot()) << "a slot with a recent heartbeat is never taken over";
    EXPECT_TRUE(here.Beat().isEmpty()) << "a heartbeat that has not moved on may be a program that just ended";
    EXPECT_TRUE(other.Beat().isEmpty()) << "the first look at a newcomer";
    const QString warning = here.Beat();
    EXPECT_TRUE(warning.contains(QSysInfo::machineHostName())) << warning.toStdString();
    EXPECT_TRUE(warning.contains(QStringLiteral("da una sola postazione"))) << warning.toStdString();
    EXPECT_TRUE(here.Beat().isEmpty()) << "once per run";
    EXPECT_FALSE(other.Beat().isEmpty()) << "and the other workstation is told as well";
    // The other workstation keeps beating, heartbeat after heartbeat: neither is told again in this run.
    for (int beat = 0; beat < 4; ++beat) {
        EXPECT_TRUE(other.Beat().isEmpty()) << "once per run, beat " << beat;
        EXPECT_TRUE(here.Beat().isEmpty()) << "once per run, beat " << beat;
    }
    bool unseen = false;
    for (const Workstation& w : Presence::Read(dir.path()))
        unseen = unseen || !w.lockSeen;
    EXPECT_TRUE(unseen);
}

TEST_F(PresenceTest, AReadOnlyFolderIsUsedWithoutASlot) {
    FaultScope scope;
    scope.faults.openWriteErrno = EROFS;
    Presence here(dir.path());
    EXPECT_FALSE(here.Register());
    EXPECT_FALSE(here.ErrorString().isEmpty());
    EXPECT_TRUE(here.Beat().isEmpty());
}

TEST_F(PresenceTest, TwoWorkstationsThatTookOneSlotAtTheSameInstantPartAndTellOfEachOther) {
    FaultScope scope;
    scope.faults.locksInvisible = true; // a share whose locks stay on each workstation
    auto first =
        std::make_unique<Presence>(dir.path(), posingAs(QStringLiteral("UFFICIO-1"), QStringLiteral("anna"), 101));
    ASSERT_TRUE(first->Register()) << first->ErrorString().toStdString();
    // The second read the file before the first had written its slot: it finds that slot free too.
    write(kPresenceFile, QByteArray(bytes(kPresenceFile).size(), '\0'));
    Presence second(dir.path(), posingAs(QStringLiteral("UFFICIO-2"), QStringLiteral("marco"), 202));
    ASSERT_TRUE(second.Register()) << second.ErrorString().toStdString();
    ASSERT_EQ(second.Slot(), first->Slot()) << "the race itself";

    // The slot names the second, the last to write it: the first's heartbeat finds so and moves.
    EXPECT_TRUE(first->Beat().isEmpty());
    EXPECT_NE(first->Slot(), second.Slot());
    QStringList hosts;
    for (const Workstation& w : Presence::Read(dir.path()))
        hosts << w.host;
    hosts.sort();
    EXPECT_EQ(hosts, QStringList({QStringLiteral("UFFICIO-1"), QStringLiteral("UFFICIO-2")}));
    // From here on each is warned of the other, as two workstations whose locks do not meet are.
    EXPECT_TRUE(second.Beat().isEmpty()) << "the first look at the one that moved";
    EXPECT_TRUE(first->Beat().contains(QStringLiteral("«UFFICIO-2»")));
    EXPECT_TRUE(second.Beat().contains(QStringLiteral("«UFFICIO-1»")));

    // The first's end empties its own slot, not the second's.
    first.reset();
    const std::vector<Workstation> left = Presence::Read(dir.path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].host, QStringLiteral("UFFICIO-2"));
    EXPECT_EQ(left[0].slot, second.Slot());
}

TEST_F(PresenceTest, AProgramKeepsItsSlotBeatAfterBeatWhateverItsHostName) {
    // A short name; one longer than its field (stored cut); one of two-byte letters (cut between letters).
    const QString hosts[] = {QStringLiteral("UFFICIO-2"), QString(120, QLatin1Char('h')),
                             QString(60, QChar(0x00E8)) + QStringLiteral("x")};
    for (const QString& host : hosts) {
        SCOPED_TRACE(host.toStdString());
        Presence p(dir.path(), posingAs(host, QStringLiteral("marco"), 4242));
        ASSERT_TRUE(p.Register()) << p.ErrorString().toStdString();
        const int slot = p.Slot();
        for (int beat = 0; beat < 3; ++beat) {
            EXPECT_TRUE(p.Beat().isEmpty());
            EXPECT_EQ(p.Slot(), slot);
        }
        EXPECT_EQ(Presence::Read(dir.path()).size(), 1u);
    }
}

// A program of this host that ended without emptying its slot (killed, a crash) is no workstation: Read()
// (what verify and the information screen list) leaves it out, never naming it as one whose lock is not
// seen, and Others() too.
TEST_F(PresenceTest, OthersLeaveOutThisProgramAndOneOfThisHostThatEndedAndNameTheRest) {
    pid_t ended = ::fork(); // a process id that no longer runs
    if (ended == 0)
        ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const QString thisHost = QSysInfo::machineHostName();
    struct Case {
        const char* what;
        Workstation as;
        bool locksInvisible; // its slot's lock cannot be seen, as when its program ended without a word
        bool other;
        bool listed; // by Read()
    };
    const Case cases[] = {
        {"this program", Presence::ThisProcess(), false, false, true},
        {"another workstation", posingAs(QStringLiteral("UFFICIO-2"), QStringLiteral("marco"), 4242), false, true, true},
        {"another workstation, locks not seen", posingAs(QStringLiteral("UFFICIO-2"), {}, ended), true, true, true},
        {"a program of this host that ended", posingAs(thisHost, {}, ended), true, false, false},
        {"a program of this host still running", posingAs(thisHost, {}, ::getppid()), true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FaultScope scope;
        scope.faults.locksInvisible = c.locksInvisible;
        Presence p(dir.path(), c.as);
        ASSERT_TRUE(p.Register());
        EXPECT_EQ(Presence::Read(dir.path()).size(), c.listed ? 1u : 0u);
        const std::vector<Workstation> others = Presence::Others(dir.path());
        ASSERT_EQ(others.size(), c.other ? 1u : 0u);
        if (!c.other)
            continue;
        EXPECT_EQ(others[0].host, c.as.host);
        const QString since = others[0].started.toLocalTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        const QString who = c.as.user.isEmpty() ? QStringLiteral("«%1» (dal %2)").arg(c.as.host, since)
                                                : QStringLiteral("«%1» (utente %2, dal %3)").arg(c.as.host, c.as.user, since);
        EXPECT_EQ(Presence::InUseByOthers(QStringLiteral("Impossibile ripristinare"), others),
                  QStringLiteral("Impossibile ripristinare: la cartella dei dati è in uso anche dalla postazione %1. "
                                 "Chiudere il programma su quella postazione e riprovare.")
                      .arg(who));
    }
}

} // namespace
