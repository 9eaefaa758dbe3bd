#include "ui/common/openurl.h"

#include "ui/common/services.h"
#include "core/storage/textfield.h"

#include <QDir>
#include <QFileInfo>

namespace ombrisa {

QUrl TMisc::toUrl(const QString& sCommand) {
    QString target = trimText(sCommand);
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = trimText(QStringView(target).mid(1, target.size() - 2));
    if (target.isEmpty())
        return {};
    static const QStringList schemes{QStringLiteral("mailto:"), QStringLiteral("http://"), QStringLiteral("https://"),
                                     QStringLiteral("file://")};
    for (const QString& scheme : schemes)
        if (target.startsWith(scheme, Qt::CaseInsensitive))
            return QUrl(target);
    return QUrl::fromLocalFile(target);
}

namespace {

void reportNotOpened(const QUrl& url, QWidget* parent) {
    if (!url.isLocalFile()) {
        if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
            showWarning(parent, QStringLiteral("Impossibile scrivere un messaggio a %1: sul computer non è configurato "
                                               "un programma di posta elettronica.")
                                    .arg(url.path()));
        else
            showWarning(parent, QStringLiteral("Impossibile aprire l'indirizzo %1: sul computer non è configurato un "
                                               "programma per navigare in Internet.")
                                    .arg(url.toDisplayString()));
        return;
    }
    const QFileInfo file(url.toLocalFile());
    const QString path = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!file.exists()) {
        showWarning(parent, QStringLiteral("Impossibile aprire il file %1: il file non esiste.").arg(path));
        return;
    }
    if (file.isDir()) {
        showWarning(parent, QStringLiteral("Impossibile aprire la cartella %1: sul computer non c'è un programma "
                                           "per mostrarla.")
                                .arg(path));
        return;
    }
    if (!confirm(parent, QStringLiteral("Impossibile aprire il file %1: sul computer non c'è un programma adatto "
                                        "a questo tipo di file.\n\nAprire la cartella che lo contiene?")
                             .arg(path)))
        return;
    if (!urlOpener().open(QUrl::fromLocalFile(file.absolutePath())))
        showInformation(parent, QStringLiteral("Impossibile aprire anche la cartella. Il file si trova in:\n%1")
                                    .arg(QDir::toNativeSeparators(file.absolutePath())));
}

} // namespace

bool TMisc::Open(const QString& sCommand, QWidget* parent) {
    const QUrl url = toUrl(sCommand);
    if (!url.isValid() || url.isEmpty())
        return false;
    if (urlOpener().open(url))
        return true;
    reportNotOpened(url, parent);
    return false;
}

} // namespace ombrisa
