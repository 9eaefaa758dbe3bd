#include "core/backup/backupsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace ombrisa {
namespace {

const QString kFolderKey = QStringLiteral("CopiaSicurezza/Cartella");
const QString kLastKey = QStringLiteral("CopiaSicurezza/Ultima");
const QString kDaysKey = QStringLiteral("CopiaSicurezza/PromemoriaGiorni");
const QString kRemindedKey = QStringLiteral("CopiaSicurezza/PromemoriaMostrato");

} // namespace

BackupSettings readBackupSettings(const QString& dataFolder) {
    BackupSettings s;
    const QSettings ini(QDir(dataFolder).filePath(kBackupSettingsFile), QSettings::IniFormat);
    s.folder = ini.value(kFolderKey).toString();
    s.last = QDateTime::fromString(ini.value(kLastKey).toString(), Qt::ISODate);
    bool ok = false;
    const int days = ini.value(kDaysKey).toInt(&ok);
    if (ok && days >= 0 && days <= kMaxReminderDays)
        s.reminderDays = days;
    s.remindedOn = QDate::fromString(ini.value(kRemindedKey).toString(), Qt::ISODate);
    return s;
}

bool writeBackupSettings(const QString& dataFolder, const BackupSettings& s) {
    QSettings ini(QDir(dataFolder).filePath(kBackupSettingsFile), QSettings::IniFormat);
    ini.setValue(kFolderKey, s.folder);
    ini.setValue(kLastKey, s.last.isValid() ? s.last.toString(Qt::ISODate) : QString());
    ini.setValue(kDaysKey, s.reminderDays);
    ini.setValue(kRemindedKey, s.remindedOn.isValid() ? s.remindedOn.toString(Qt::ISODate) : QString());
    ini.sync();
    return ini.status() == QSettings::NoError;
}

bool recordBackup(const QString& dataFolder, const QString& outFile, const QDateTime& when) {
    BackupSettings s = readBackupSettings(dataFolder);
    s.folder = QFileInfo(outFile).absolutePath();
    s.last = when;
    return writeBackupSettings(dataFolder, s);
}

QString proposedBackupName(const QDateTime& now) {
    return QStringLiteral("Ombrisa_%1.tar.zst").arg(now.toString(QStringLiteral("yyyy-MM-dd_HHmm")));
}

QString backupReminder(const BackupSettings& s, const QDateTime& now) {
    if (s.reminderDays <= 0 || s.remindedOn == now.date())
        return {};
    if (!s.last.isValid())
        return QStringLiteral("Promemoria: non risulta ancora nessuna copia di sicurezza degli archivi. "
                              "Fare clic su \"Copia di sicurezza\".");
    const qint64 days = s.last.date().daysTo(now.date());
    if (days < s.reminderDays)
        return {};
    return QStringLiteral("Promemoria: l'ultima copia di sicurezza è del %1 (%2). Fare clic su \"Copia di sicurezza\".")
        .arg(s.last.date().toString(QStringLiteral("dd/MM/yyyy")),
             days == 1 ? QStringLiteral("ieri") : QStringLiteral("%1 giorni fa").arg(days));
}

} // namespace ombrisa
