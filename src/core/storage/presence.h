#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

#include <map>
#include <set>
#include <vector>

namespace ombrisa {

// Who is using a data folder now. Every running program takes a slot of the presence file in the data
// folder, writes there its host, user, process and start time, holds a record lock on the slot while it
// runs and rewrites a heartbeat every kBeatSeconds. A slot whose heartbeat moves on while its lock cannot
// be seen from here belongs to a workstation whose locks do not reach this one (a share mounted without
// shared locks): saving from both at once is not safe, and the user is told.
inline const QString kPresenceFile = QStringLiteral("Postazioni_in_uso.dat");

struct Workstation {
    int slot = -1;
    QString host;
    QString user;
    qint64 process = 0;
    QDateTime started;  // UTC
    QDateTime lastBeat; // UTC
    quint64 beats = 0;
    bool lockSeen = false; // the slot's lock is visible from here
    bool own = false;      // this very process
};

class Presence {
public:
    static constexpr int kBeatSeconds = 30;
    // A heartbeat older than this is a program that ended without saying so.
    static constexpr int kStaleSeconds = 3 * kBeatSeconds;

    // `as` names who registers: this process by default (host and process id); a test may pose as
    // another workstation.
    explicit Presence(const QString& folder, const Workstation& as = ThisProcess());
    ~Presence(); // empties the slot and lets it go
    Presence(const Presence&) = delete;
    Presence& operator=(const Presence&) = delete;

    // Takes a free slot (one with no recent heartbeat whose lock it can take). False, with
    // ErrorString(), when the file cannot be opened for writing (a read-only share) or no slot is free.
    bool Register();
    // Rewrites this program's heartbeat and looks at the other slots. Returns the Italian warning (once
    // per workstation and run) when another workstation's heartbeat moved on since the last look while
    // its lock cannot be seen from here; empty otherwise. A slot found naming another program (both
    // took it at the same instant, their locks not meeting) is left to that program for a free one.
    QString Beat();
    // Counts `other` as told about already (the caller said it another way): Beat() does not warn of it
    // again in this run.
    void Warned(const Workstation& other) { warned_.insert(key(other)); }
    int Slot() const { return slot_; }
    const QString& ErrorString() const { return error_; }

    // The workstations with a recent heartbeat, as seen from this process. A slot of this host whose lock
    // is gone and whose process no longer exists is a program that ended without emptying it (killed, a
    // crash): it is free, never listed (and never taken for a workstation whose locks go unseen).
    static std::vector<Workstation> Read(const QString& folder);
    // The programs other than this one using the folder now: Read() without this process.
    static std::vector<Workstation> Others(const QString& folder);
    // This process as a slot names it: host, user and process id.
    static Workstation ThisProcess();
    // "«host» (utente U, dal 11/12/2026 09:30)": a workstation for a message.
    static QString Describe(const Workstation& w);
    // The refusal of an operation that replaces or changes the archives under other workstations' feet:
    // names every one of `others` and says to close the program there. `what` begins the sentence
    // ("Impossibile ripristinare").
    static QString InUseByOthers(const QString& what, const std::vector<Workstation>& others);
    // The warning about `other`, whose locks do not reach this workstation.
    static QString LocksDoNotReachWarning(const Workstation& other);

private:
    bool takeFreeSlot(const std::vector<std::uint8_t>& all);
    bool leaveSlotTakenByAnother();
    bool writeSlot();
    int freshFd() const;
    std::vector<std::uint8_t> readFresh() const;
    std::vector<Workstation> look() const;
    static QString key(const Workstation& w);

    QString path_;
    Workstation as_;
    QString error_;
    int fd_ = -1;
    int slot_ = -1;
    bool ofdLock_ = false;
    quint64 beats_ = 0;
    QDateTime started_;
    std::map<QString, quint64> seen_; // beats of each other program at the last look
    std::set<QString> warned_;
};

} // namespace ombrisa
