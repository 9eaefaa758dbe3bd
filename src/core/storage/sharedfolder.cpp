#include "core/storage/sharedfolder.h"

#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ombrisa {
namespace {

// Mount points escape space, tab, newline and backslash as octal.
QString unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    const auto octal = [](char c) { return c >= '0' && c <= '7'; };
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) && octal(field[i + 2]) &&
            octal(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return QFile::decodeName(out);
}

bool under(const QString& path, const QString& mountPoint) {
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

// The value of an option "name=value", or a null string when the option is not there.
QString optionValue(const QStringList& options, QLatin1String name) {
    for (const QString& o : options)
        if (o.startsWith(name) && o.size() > name.size() && o[name.size()] == QLatin1Char('='))
            return o.mid(name.size() + 1);
    return {};
}

} // namespace

std::vector<MountEntry> parseMountInfo(const QByteArray& text) {
    std::vector<MountEntry> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // id parent major:minor root mount-point options [optional fields…] - type source super-options
        const qsizetype dash = fields.indexOf("-");
        if (dash < 6 || dash + 3 > fields.size())
            continue;
        MountEntry m;
        m.mountPoint = unescape(fields[4]);
        m.type = QString::fromUtf8(fields[dash + 1]);
        m.source = unescape(fields[dash + 2]);
        m.options = QString::fromUtf8(fields[5]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (dash + 3 < fields.size())
            m.options += QString::fromUtf8(fields[dash + 3]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (!m.mountPoint.startsWith(QLatin1Char('/')))
            continue;
        mounts.push_back(std::move(m));
    }
    return mounts;
}

const MountEntry* mountHolding(const std::vector<MountEntry>& mounts, const QString& path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& m : mounts)
        if (under(path, m.mountPoint) && (!best || m.mountPoint.size() >= best->mountPoint.size()))
            best = &m; // later lines are mounted over earlier ones
    return best;
}

QString mountLockProblem(const MountEntry& mount) {
    QString why;
    const QString& type = mount.type;
    if (type == QLatin1String("cifs") || type == QLatin1String("smb3")) {
        if (mount.options.contains(QLatin1String("nobrl")))
            why = QStringLiteral("è una condivisione di rete montata con l'opzione «nobrl»");
    } else if (type == QLatin1String("nfs") || type == QLatin1String("nfs4")) {
        const QString localLock = optionValue(mount.options, QLatin1String("local_lock"));
        if (mount.options.contains(QLatin1String("nolock")))
            why = QStringLiteral("è una cartella NFS montata con l'opzione «nolock»");
        else if (localLock == QLatin1String("all") || localLock == QLatin1String("posix"))
            why = QStringLiteral("è una cartella NFS montata con l'opzione «local_lock=%1»").arg(localLock);
    } else if (type.startsWith(QLatin1String("fuse.")) || type == QLatin1String("fuse")) {
        why = QStringLiteral("è montata da un programma (%1) che di solito tiene i blocchi dei file solo su "
                             "questo computer")
                  .arg(type);
    }
    if (why.isEmpty())
        return {};
    return QStringLiteral("Attenzione: la cartella dei dati (%1, %2) %3: le altre postazioni non vedono i blocchi "
                          "degli archivi presi da questa. Salvare da più postazioni contemporaneamente non è sicuro "
                          "(schede perse o mescolate): finché la cartella non è montata in altro modo, usare il "
                          "programma da una sola postazione.")
        .arg(QDir::toNativeSeparators(mount.mountPoint), mount.source, why);
}

QStringList sharedFolderRightsProblems(const QString& folder) {
    QStringList problems;
    const QString data = QDir(folder).absolutePath();
    if (QString p = TRecordFile::JournalRightsProblem(data); !p.isEmpty())
        problems << p;
    const QString registers = QDir(data).filePath(kLavoriFolder);
    if (QFileInfo(registers).isDir())
        if (QString p = TRecordFile::JournalRightsProblem(registers); !p.isEmpty())
            problems << p;
    return problems;
}

QString sharedFolderLockProblem(const QString& folder) {
    QFile mountInfo(QStringLiteral("/proc/self/mountinfo"));
    if (!mountInfo.open(QIODevice::ReadOnly))
        return {};
    const std::vector<MountEntry> mounts = parseMountInfo(mountInfo.readAll());
    const QString data = QDir(folder).absolutePath();
    const QString canonical = QFileInfo(data).canonicalFilePath();
    const MountEntry* m = mountHolding(mounts, canonical.isEmpty() ? data : canonical);
    return m ? mountLockProblem(*m) : QString();
}

} // namespace ombrisa
