#pragma once

// A backup of the data folder: one .tar.zst file holding every archive (each read whole records only under
// its shared lock, one archive at a time), every work register, the photos, the attached files and the
// password file, plus a manifest (program version, date, each file's size, record count and SHA-256).
#include <QDateTime>
#include <QString>
#include <functional>

namespace ombrisa {

// The manifest's name inside a backup; it is the last entry.
inline const QString kBackupManifest = QStringLiteral("Ombrisa_manifest.json");

// Called as the work goes on (about once per mebibyte) with the work done and the work in all; returning
// false cancels: nothing is left behind and nothing is replaced.
using BackupProgress = std::function<bool(qint64 done, qint64 total)>;

// What writeBackup does with an `outFile` that already exists.
enum class BackupTarget {
    NewFileOnly,     // refused before anything is written
    ReplaceExisting, // the user chose to replace it: it stays as it was until the new backup is verified
};

// Writes the backup of `dataFolder` to `outFile` through a temporary name in the same folder, re-reads it
// and compares every checksum, then gives it its name by a rename (never a copy: the name holds the checked
// file or nothing). An existing `outFile` is replaced only when `target` says so, and then in one step (the
// rename over it) once the new backup has been read back whole: a failure or a cancel leaves it untouched.
// False with one Italian sentence in `error` on failure or cancel; nothing is left behind then. A switch of
// files interrupted in `dataFolder` (folderswitch.h) is finished first.
bool writeBackup(const QString& dataFolder, const QString& outFile, const BackupProgress& progress, QString* error,
                 BackupTarget target = BackupTarget::NewFileOnly);

enum class BackupCheck { Whole, Damaged, Unreadable };
// Reads a backup and checks every file against the manifest. Damaged names the first bad file in `error`,
// or a file the manifest lists that the backup lacks; Unreadable when the file is missing or this user may
// not read it (said so, not called damaged), or when `progress` cancels.
BackupCheck verifyBackup(const QString& file, QString* error, const BackupProgress& progress = {});

// Verifies `file`, then puts its files into `targetFolder`: a missing or empty folder directly; a data
// folder only when no other program uses it (Presence::Others: its slot in the presence file) and every
// archive there can be locked exclusively at once (no other workstation has it open), moving each replaced file and the
// journal of each replaced archive into Sostituiti_<yyyy-MM-dd_HHmmss>/ (its path in `replacedFolder`). Files of the
// folder that the backup does not hold stay as they are. Every file is unpacked into a staging folder inside the target
// and flushed, then put in place by one switch (folderswitch.h): killed at any point, the folder holds the old files
// or, once the next open has finished the switch, the backup's. False with one Italian sentence in `error`; the folder
// is unchanged then, unless the switch was decided and stopped (the next open finishes it). `progress` may cancel while
// the backup is checked and unpacked, before anything is replaced. `now` names the dated folder (invalid: the current
// time).
bool restoreBackup(const QString& file, const QString& targetFolder, QString* error, QString* replacedFolder = nullptr,
                   int lockTimeoutMs = 2000, const BackupProgress& progress = {}, const QDateTime& now = {});

} // namespace ombrisa
