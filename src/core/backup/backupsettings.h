#pragma once

// What the program remembers about backups of a data folder, kept in that folder (CopieSicurezza.ini) so
// that every workstation sharing it sees the same last backup: the folder the last backup went to, when
// it was made, after how many days the start menu reminds the user, and the day it last did.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace ombrisa {

inline const QString kBackupSettingsFile = QStringLiteral("CopieSicurezza.ini");
inline constexpr int kDefaultReminderDays = 7;
inline constexpr int kMaxReminderDays = 365;

struct BackupSettings {
    QString folder;                          // where the last backup was written; empty: none chosen yet
    QDateTime last;                          // when the last backup was completed; invalid: none yet
    int reminderDays = kDefaultReminderDays; // 0: never remind
    QDate remindedOn;                        // the day the start menu last showed the reminder
};

// Missing or unreadable keys read as the defaults.
BackupSettings readBackupSettings(const QString& dataFolder);
// False when the file cannot be written (a read-only share): the backup itself is not affected.
bool writeBackupSettings(const QString& dataFolder, const BackupSettings& settings);

// Records a completed backup of `dataFolder` written to `outFile` at `when` (the GUI and ombrisa-tool alike,
// so that a scheduled backup counts for the reminder). False when the folder cannot be written.
bool recordBackup(const QString& dataFolder, const QString& outFile, const QDateTime& when);

// The name proposed for a backup made at `now`: Ombrisa_2026-12-10_1730.tar.zst.
QString proposedBackupName(const QDateTime& now);

// The reminder for the start menu's hint line at `now`, or an empty text: due when reminders are on and
// no backup is recorded or the last is `reminderDays` days old or older, and not yet shown today.
QString backupReminder(const BackupSettings& settings, const QDateTime& now);

} // namespace ombrisa
