#include "core/attachments/attachedfiles.h"

#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/codepage.h"
#include "core/storage/textfield.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace ombrisa {
namespace {

QString folderPath() {
    return appPath(kAllegatiFolder) + QLatin1Char('/');
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

QString attachmentBareName(const QString& name) {
    const QString trimmed = trimText(name);
    const qsizetype cut = std::max(trimmed.lastIndexOf(QLatin1Char('/')), trimmed.lastIndexOf(QLatin1Char('\\')));
    const QString bare = trimmed.mid(cut + 1);
    if (bare == QLatin1String(".") || bare == QLatin1String(".."))
        return {};
    return bare;
}

bool attachmentNameStorable(const QString& bareName) {
    const QByteArray stored = toCp1252(bareName);
    return static_cast<std::size_t>(stored.size()) <= kAttachmentFileCapacity && fromCp1252(stored) == bareName;
}

QString attachmentPath(const QString& storedName) {
    const QString bare = attachmentBareName(storedName);
    return bare.isEmpty() ? QString() : folderPath() + bare;
}

bool attachmentWouldReplace(const QString& source) {
    const QString target = attachmentPath(source);
    if (target.isEmpty() || !QFileInfo::exists(target))
        return false;
    return QFileInfo(source).canonicalFilePath() != QFileInfo(target).canonicalFilePath();
}

bool copyIntoAttachments(const QString& source, QString* error) {
    const QString target = attachmentPath(source);
    const QFileInfo from(source);
    if (target.isEmpty() || !from.isFile()) {
        setError(error, QStringLiteral("il file scelto non esiste o non è un file."));
        return false;
    }
    if (!ensureAppSubfolder(kAllegatiFolder)) {
        setError(error, QStringLiteral("non si può creare la cartella %1.").arg(kAllegatiFolder));
        return false;
    }
    // The file already stored is the one chosen: nothing to copy.
    const QFileInfo to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;

    const QString part = folderPath() + QStringLiteral(".copia-") + QUuid::createUuid().toString(QUuid::WithoutBraces) +
                         QStringLiteral(".tmp");
    if (!QFile::copy(source, part)) {
        QFile::remove(part);
        setError(error, QStringLiteral("la copia del file non è riuscita (file non leggibile, cartella non "
                                       "scrivibile o disco pieno)."));
        return false;
    }
    // A rename replaces the stored file in one step (QFile::rename would refuse an existing name).
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(part.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), ec);
    if (ec) {
        QFile::remove(part);
        setError(error, QStringLiteral("il file copiato non può sostituire quello presente nella cartella."));
        return false;
    }
    return true;
}

} // namespace ombrisa
