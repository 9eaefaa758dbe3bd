#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/storage/presence.h"

namespace tool {

// "--name value" pairs, "--flag" switches and the remaining words of one command line.
struct Options {
    QMap<QString, QString> values;
    QStringList flags;
    QStringList words;
    QString error; // not empty when the line could not be read

    // Reads args; `valued` lists the options that take a value, `switches` those that do not.
    static Options parse(const QStringList& args, const QStringList& valued, const QStringList& switches);
    // The value of --name as a whole number in [min, max]; sets error and gives nothing otherwise.
    std::optional<qint64> number(const QString& name, qint64 fallback, qint64 min, qint64 max);
};

// The marker earlier versions of `generate --force` kept in the data folder while they replaced archives:
// left behind, it says the generation was interrupted with old and new archives side by side.
inline const QString kGenerationMarker = QStringLiteral("Generazione_in_corso.txt");
// Full paths of the marker (left by earlier versions) and of every temporary "*.nuovo" archive (and its
// journal) an interrupted generation left in the program's folder and its work register folder.
QStringList interruptedGenerationFiles();

// useFolder, then what every command that reads archives needs, so that a wrong folder is never read as
// an empty archive: the folder holds some of the program's files (else it is a wrong folder or a share
// that is not mounted), the archives and the work register folder present can be read, and no journal
// of an unfinished save waits in a folder this user may not write (its card may be half written).
// Returns an error text, empty when all is well.
QString useDataFolder(const Options& options);
// "la cartella D non contiene i dati del programma …": what a command says of such a folder.
QString noProgramDataMessage(const QString& dir);

// What a command that may create the data folder accepts with --nuova-cartella: a folder that does not
// exist yet (it is made) or one with nothing in it. Without the option, or for a folder that holds other
// files but none of the program's, useDataFolder's refusal. Points the program's folder at it; an error
// text, empty when all is well. `create` makes a missing folder (a dry run or a restore, which makes it
// itself, leaves it).
QString useNewOrDataFolder(const Options& options, bool create);
// useFolder, then the refusal of a folder that holds none of the program's files: the check of the
// folder itself that useDataFolder begins with.
QString useProgramFolder(const Options& options);
// The option that makes a folder with no program data an explicit choice.
inline const QString kNewFolderOption = QStringLiteral("nuova-cartella");

// A command that writes in a data folder takes a slot in the folder's presence file for as long as the
// object lives, so that the program and other commands (here or on other workstations) see it at work.
// A folder where no slot can be taken (read-only, missing) is used without one. As the program does, it
// looks before the command writes and then every heartbeat while it runs: the mount's lock problem and
// a workstation whose lock cannot be seen from here are said on standard error (each once per run).
class ToolPresence {
public:
    using Sink = std::function<void(const QString& warning)>;
    // `beat`: the time between heartbeats (tests shorten it); `sink` receives each warning (standard
    // error by default).
    explicit ToolPresence(const QString& folder,
                          std::chrono::milliseconds beat = std::chrono::seconds(ombrisa::Presence::kBeatSeconds),
                          Sink sink = {});
    ~ToolPresence(); // stops the heartbeat and empties the slot
    ToolPresence(const ToolPresence&) = delete;
    ToolPresence& operator=(const ToolPresence&) = delete;

    // The other workstations present whose lock cannot be seen from here, found before the command wrote.
    const std::vector<ombrisa::Workstation>& unseen() const { return unseen_; }

private:
    void say(const QString& warning) const;

    ombrisa::Presence presence_;
    std::vector<ombrisa::Workstation> unseen_;
    Sink sink_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread heart_;
};
std::unique_ptr<ToolPresence> registerPresence(const QString& folder);

// The refusal of `what` ("Impossibile importare") while another workstation whose lock cannot be seen from
// here uses the folder, unless --forza was given; empty when the command may go on.
QString unseenLocksRefusal(const Options& options, const QString& what, const ToolPresence& presence);
// "the workstation … is present but its lock cannot be seen from here": what is said of `w`.
QString unseenLockText(const ombrisa::Workstation& w);
// The option that goes ahead all the same.
inline const QString kForceOption = QStringLiteral("forza");

// Checks that --dir names a readable folder and points the program's folder at it, and finishes there a
// restore or generate --force that was interrupted after its switch was decided (saying so on standard
// error). Returns an error text, empty when all is well.
QString useFolder(const Options& options);
// What the last useFolder finished of an interrupted switch of archives, as one clause; empty when none.
QString completedSwitchNotice();

} // namespace tool

namespace tool {

// True when a command's line asks for its help (--help or -h anywhere after the command word).
bool asksForHelp(const QStringList& args);
// The help of one command, in Italian; empty for a command without one.
QString commandHelp(const QString& command);

} // namespace tool
