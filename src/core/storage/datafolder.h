#pragma once

#include <QString>

class QSettings;

namespace ombrisa {

// Which rule named the data folder, in the order in which the rules are tried.
enum class DataFolderSource {
    Option,        // --data DIR on the command line
    Environment,   // the OMBRISA_DATA environment variable
    ProgramFolder, // a writable program folder that is not an installation (a copied or portable folder)
    Saved,         // the folder chosen with --data the last time
    Standard,      // the per-user data location of the system
};

// What the choice looks at. The caller reads the environment; the rule itself touches nothing.
struct DataFolderInputs {
    QString programFolder;
    bool programFolderUsable = false; // writable, and not the bin folder of an installation
    QString option;
    QString environment;
    QString saved;
    QString standard;
};

struct DataFolderChoice {
    QString folder;
    DataFolderSource source = DataFolderSource::Standard;
};

// The folder that holds every file the program keeps (archives, their folders, the password file,
// exports, the client card PDF): the option, else the variable, else a usable program folder, else the
// saved choice, else the standard location.
DataFolderChoice chooseDataFolder(const DataFolderInputs& inputs);

// True when `programFolder` is the bin folder of an installation (its desktop entry lies in
// ../share/applications): such a folder never holds data, even when it is writable (root).
bool isInstalledProgramFolder(const QString& programFolder);

// Whether `folder` holds any of the program's files: the password file, an archive, the work register,
// photo or attachment folder. A folder with none of them is a new one, or a wrong one, or the empty
// mount point of a network share that is not mounted.
bool holdsProgramData(const QString& folder);

// The settings key of the folder chosen with --data, read back at the next start.
inline constexpr char kDataFolderSettingKey[] = "CartellaDati";

// What preparing the data folder found.
enum class DataFolderStatus {
    Ready,      // the folder holds the program's data
    NewArchive, // a new archive was started there (first use): the password file was written
    LooksEmpty, // a folder named by --data, OMBRISA_DATA or the saved choice holds none of the program's
                // files (or does not exist): nothing was written
    Failed,     // the folder cannot be used
};

// Makes `choice.folder` ready: creates it with its missing parents and places the password file with the
// first-access password when there is none. A folder named by --data, OMBRISA_DATA or the saved setting
// that holds none of the program's files (or does not exist) may be the empty mount point of a network
// share that is not mounted, or lie below one: it is never seeded silently (LooksEmpty) unless
// `startNewArchive` says the user confirmed it; a saved folder that has gone missing altogether fails.
// Only the program's own folder and the standard location become a new archive by themselves. `message`
// receives the text to show for LooksEmpty and Failed, and for a new archive the user asked for.
DataFolderStatus prepareDataFolder(const DataFolderChoice& choice, QString* message, bool startNewArchive = false);

// The whole start-up step: gathers the inputs (option, OMBRISA_DATA, `settings`, the program's folder,
// the standard location), chooses, prepares, makes the folder the program's data folder
// (setAppFolderOverride) and saves a folder given with --data in `settings`.
// The folder is used only when the result is Ready or NewArchive; `chosen` names the folder chosen in
// every case.
DataFolderStatus startDataFolder(const QString& option, QSettings& settings, DataFolderChoice* chosen, QString* message,
                                 bool startNewArchive = false);

// The user guide: beside the program (a build or a portable folder), else in the installation's
// share/doc/ombrisa. When neither exists, the path beside the program.
QString userGuidePath(const QString& programFolder);

} // namespace ombrisa
