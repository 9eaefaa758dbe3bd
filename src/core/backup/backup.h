#pragma once

// A backup of the data folder: one .tar.zst file holding every archive (each read whole records only under
// its shared lock, one archive at a time), every work register, the photos, the attached files and the
// password file, plus a manifest (program version, date, each file's size, record count and SHA-256).
#include <QString>
#include <functional>

namespace ombrisa {

// The manifest's name inside a backup; it is the last entry.
inline const QString kBackupManifest = QStringLiteral("Ombrisa_manifest.json");

// Called after each file with the files done and the total; returning false cancels the backup.
using BackupProgress = std::function<bool(int done, int total)>;

// Writes the backup of `dataFolder` to `outFile` through a temporary name in the same folder, re-reads it
// and compares every checksum, then gives it its name. An existing `outFile` is never replaced. False with
// one Italian sentence in `error` on failure or cancel; nothing is left behind then.
bool writeBackup(const QString& dataFolder, const QString& outFile, const BackupProgress& progress, QString* error);

enum class BackupCheck { Whole, Damaged, Unreadable };
// Reads a backup and checks every file against the manifest. Damaged names the first bad file in `error`;
// Unreadable when the file cannot be opened at all.
BackupCheck verifyBackup(const QString& file, QString* error);

// Verifies `file`, then puts its files into `targetFolder`: a missing or empty folder directly; a data
// folder only when every archive there can be locked exclusively at once (no other workstation has it
// open), moving each replaced file and the journal of each replaced archive into
// Sostituiti_<yyyy-MM-dd_HHmmss>/ (its path in `replacedFolder`). Files of the folder that the backup does
// not hold stay as they are. False with one Italian sentence in `error`; the folder is unchanged then.
bool restoreBackup(const QString& file, const QString& targetFolder, QString* error, QString* replacedFolder = nullptr,
                   int lockTimeoutMs = 2000);

} // namespace ombrisa
