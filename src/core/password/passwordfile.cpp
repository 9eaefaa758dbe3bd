#include "core/password/passwordfile.h"

#include "core/password/crypt.h"
#include "core/storage/textfield.h"

#include <QFileInfo>
#include <QSettings>

namespace ombrisa {
namespace {
const QString kKey = QStringLiteral("Accesso/Valore");
}

QString normalizePassword(QStringView typed) {
    QString upper = typed.toString();
    for (QChar& c : upper)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(static_cast<char16_t>(c.unicode() - 'a' + 'A'));
    return trimText(upper);
}

std::optional<QString> readStoredPassword(const QString& passwordFile) {
    const QFileInfo info(passwordFile);
    if (info.exists() && (!info.isFile() || !info.isReadable()))
        return std::nullopt;
    QSettings ini(passwordFile, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return std::nullopt;
    const auto decoded = Decode(ini.value(kKey).toString());
    if (!decoded)
        return std::nullopt;
    return trimText(*decoded);
}

bool writeStoredPassword(const QString& passwordFile, QStringView password) {
    QSettings ini(passwordFile, QSettings::IniFormat);
    ini.setValue(kKey, trimText(Encode(normalizePassword(password))));
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace ombrisa
