#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

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

// A command that writes in a data folder takes a slot in the folder's presence file for as long as the
// returned object lives, so that the program and other commands (here or on other workstations) see it
// at work. A folder where no slot can be taken (read-only, missing) is used without one.
std::unique_ptr<ombrisa::Presence> registerPresence(const QString& folder);

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
