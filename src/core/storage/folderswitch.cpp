#include "core/storage/folderswitch.h"

#include "core/storage/filelock.h"
#include "core/storage/recordfile.h"
#include "core/storage/syscalls.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrisa {
namespace {

// The journal is written under this name and renamed to kSwitchJournal once whole and flushed.
const QString kSwitchJournalDraft = QStringLiteral(".Sostituzione_in_preparazione.json");

QByteArray local(const QString& path) {
    return QFile::encodeName(path);
}

bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(local(path).constData(), &st) == 0;
}

bool writeAll(int fd, const char* data, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = storageSyscalls().pwrite(fd, data + done, static_cast<std::size_t>(size - done),
                                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

QString failure(const QString& what, const QString& path, int err) {
    return QStringLiteral("%1 \"%2\" (%3)").arg(what, QDir::toNativeSeparators(path), systemErrorText(err));
}

bool renameFile(const QString& from, const QString& to, QString* error) {
    if (storageSyscalls().rename(local(from).constData(), local(to).constData()) == 0)
        return true;
    const int err = errno;
    *error = QStringLiteral("impossibile spostare \"%1\" in \"%2\" (%3)")
                 .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), systemErrorText(err));
    return false;
}

QByteArray journalBytes(const FolderSwitch& c) {
    QJsonArray moves;
    for (const auto& [from, to] : c.moves)
        moves.append(QJsonObject{{QStringLiteral("da"), from}, {QStringLiteral("a"), to}});
    return QJsonDocument(QJsonObject{{QStringLiteral("operazione"), c.what},
                                     {QStringLiteral("sposta"), moves},
                                     {QStringLiteral("togli"), QJsonArray::fromStringList(c.dropped)},
                                     {QStringLiteral("accanto"), c.aside},
                                     {QStringLiteral("temporanea"), c.staging}})
        .toJson();
}

bool parseJournal(const QByteArray& bytes, FolderSwitch* c) {
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    c->what = o.value(QStringLiteral("operazione")).toString();
    for (const QJsonValue& v : o.value(QStringLiteral("sposta")).toArray())
        c->moves.emplace_back(v.toObject().value(QStringLiteral("da")).toString(),
                              v.toObject().value(QStringLiteral("a")).toString());
    for (const QJsonValue& v : o.value(QStringLiteral("togli")).toArray())
        c->dropped << v.toString();
    c->aside = o.value(QStringLiteral("accanto")).toString();
    c->staging = o.value(QStringLiteral("temporanea")).toString();
    // Every name stays inside the data folder.
    QStringList names{c->aside, c->staging};
    names << c->dropped;
    for (const auto& [from, to] : c->moves)
        names << from << to;
    for (const QString& n : names)
        if (n.startsWith(QLatin1Char('/')) || n.split(QLatin1Char('/')).contains(QStringLiteral("..")))
            return false;
    return !c->what.isEmpty();
}

QByteArray readJournal(int fd) {
    QByteArray all;
    char buffer[65536];
    for (qint64 at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        all.append(buffer, n);
        at += n;
        if (all.size() > (16 << 20))
            return {};
    }
    return all;
}

// The folders from `relative`'s own up to the data folder, for flushing the entries made in them.
void foldersOf(const QDir& root, const QString& relative, QSet<QString>& folders) {
    QString folder = QFileInfo(relative).path();
    while (!folder.isEmpty() && folder != QLatin1String(".")) {
        folders.insert(root.filePath(folder));
        folder = QFileInfo(folder).path();
    }
    folders.insert(root.path());
}

// Moves the old file at `name` out of the way (and its archive journal, which belongs to it): into the
// aside folder, or, without one, only the journal is set aside (the new file replaces the old in one rename).
bool putAside(const QDir& root, const FolderSwitch& c, const QString& name, QSet<QString>& folders, QString* error) {
    const QString old = root.filePath(name);
    const QString journal = TRecordFile::JournalPath(old);
    if (c.aside.isEmpty())
        return !exists(journal) || TRecordFile::SetAsideJournal(old, nullptr, error);
    const QString relative = c.aside + QLatin1Char('/') + name;
    const QString to = root.filePath(relative);
    if (!QDir().mkpath(QFileInfo(to).path())) {
        *error = failure(QStringLiteral("impossibile creare la cartella"), QFileInfo(to).path(), errno);
        return false;
    }
    foldersOf(root, relative, folders);
    if (exists(journal) && !renameFile(journal, TRecordFile::JournalPath(to), error))
        return false;
    return !exists(old) || renameFile(old, to, error);
}

// Every step looks first whether it was made already, so that a change killed part way is finished by
// running this again.
bool applySwitch(const QDir& root, const FolderSwitch& c, QString* error) {
    QSet<QString> folders{root.path()};
    for (const auto& [from, to] : c.moves) {
        const QString source = root.filePath(from);
        if (!exists(source))
            continue; // in place already
        if (!putAside(root, c, to, folders, error))
            return false;
        const QString target = root.filePath(to);
        if (!QDir().mkpath(QFileInfo(target).path())) {
            *error = failure(QStringLiteral("impossibile creare la cartella"), QFileInfo(target).path(), errno);
            return false;
        }
        foldersOf(root, to, folders);
        foldersOf(root, from, folders);
        if (!renameFile(source, target, error))
            return false;
    }
    for (const QString& name : c.dropped) {
        if (!putAside(root, c, name, folders, error))
            return false;
        const QString old = root.filePath(name);
        if (c.aside.isEmpty() && exists(old) && storageSyscalls().unlink(local(old).constData()) != 0) {
            *error = failure(QStringLiteral("impossibile rimuovere"), old, errno);
            return false;
        }
        foldersOf(root, name, folders);
    }
    for (const QString& folder : folders)
        if (!syncFolder(folder, error))
            return false;
    if (!c.staging.isEmpty() && exists(root.filePath(c.staging)) &&
        !QDir(root.filePath(c.staging)).removeRecursively()) {
        *error = QStringLiteral("impossibile rimuovere la cartella temporanea \"%1\"")
                     .arg(QDir::toNativeSeparators(root.filePath(c.staging)));
        return false;
    }
    const QString journal = root.filePath(kSwitchJournal);
    if (storageSyscalls().unlink(local(journal).constData()) != 0 && errno != ENOENT) {
        *error = failure(QStringLiteral("impossibile rimuovere"), journal, errno);
        return false;
    }
    return syncFolder(root.path(), error);
}

} // namespace

StagedFile::~StagedFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool StagedFile::fail(const QString& what, int err) {
    error_ = failure(what, path_, err);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    return false;
}

bool StagedFile::create(const QString& path) {
    path_ = path;
    size_ = 0;
    fd_ = storageSyscalls().open(local(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    return fd_ >= 0 || fail(QStringLiteral("impossibile creare"), errno);
}

bool StagedFile::write(const char* data, qint64 size) {
    if (fd_ < 0)
        return false;
    if (!writeAll(fd_, data, size, size_))
        return fail(QStringLiteral("impossibile scrivere"), errno);
    size_ += size;
    return true;
}

bool StagedFile::finish() {
    if (fd_ < 0)
        return false;
    if (storageSyscalls().fdatasync(fd_) != 0)
        return fail(QStringLiteral("impossibile salvare su disco"), errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(QStringLiteral("impossibile chiudere"), errno);
    return true;
}

bool syncFolder(const QString& folder, QString* error) {
    const int fd = ::open(local(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = failure(QStringLiteral("impossibile aprire la cartella"), folder, errno);
        return false;
    }
    // A file system that cannot flush a folder (EINVAL) keeps its entries as it can: nothing more to do.
    const bool ok = storageSyscalls().fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    if (!ok && error)
        *error = failure(QStringLiteral("impossibile salvare su disco la cartella"), folder, err);
    return ok;
}

bool switchFolder(const QString& dataFolder, const FolderSwitch& change, QString* error) {
    const QDir root(dataFolder);
    // The new files' names reach the disk before the journal that names them.
    QSet<QString> staged;
    for (const auto& move : change.moves)
        foldersOf(root, move.first, staged);
    for (const QString& folder : staged)
        if (!syncFolder(folder, error))
            return false;

    const QString draft = root.filePath(kSwitchJournalDraft);
    const QString journal = root.filePath(kSwitchJournal);
    const int fd =
        storageSyscalls().open(local(draft).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        *error = failure(QStringLiteral("impossibile creare"), draft, errno);
        return false;
    }
    // Held until the change is done, so that no other program finishes it meanwhile (the lock stays
    // with the file through its rename).
    lockWholeFile(fd, true, 0, draft);
    const QByteArray bytes = journalBytes(change);
    if (!writeAll(fd, bytes.constData(), bytes.size(), 0) || storageSyscalls().fdatasync(fd) != 0) {
        *error = failure(QStringLiteral("impossibile scrivere"), draft, errno);
        ::close(fd);
        storageSyscalls().unlink(local(draft).constData());
        return false;
    }
    if (!renameFile(draft, journal, error)) {
        ::close(fd);
        storageSyscalls().unlink(local(draft).constData());
        return false;
    }
    // From here the change is decided; whatever stops it, the next open finishes it.
    const bool ok = syncFolder(dataFolder, error) && applySwitch(root, change, error);
    ::close(fd);
    if (!ok)
        *error += QStringLiteral(": l'operazione sarà completata alla prossima apertura della cartella");
    return ok;
}

QString pendingFolderSwitch(const QString& dataFolder) {
    QFile file(QDir(dataFolder).filePath(kSwitchJournal));
    if (!file.exists())
        return {};
    FolderSwitch c;
    if (!file.open(QIODevice::ReadOnly) || !parseJournal(file.read(16 << 20), &c))
        return QStringLiteral("sostituzione di archivi");
    return c.what;
}

bool completeFolderSwitch(const QString& dataFolder, QString* completed, QString* error) {
    completed->clear();
    const QDir root(dataFolder);
    const QString journal = root.filePath(kSwitchJournal);
    if (!exists(journal)) {
        // A draft never named: the change was never decided, and the old files are as they were.
        const QString draft = root.filePath(kSwitchJournalDraft);
        if (exists(draft)) {
            const int fd = ::open(local(draft).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
            if (fd >= 0) {
                if (lockWholeFile(fd, true, 0, draft) != LockResult::Busy)
                    storageSyscalls().unlink(local(draft).constData());
                ::close(fd);
            }
        }
        return true;
    }
    const QString what = pendingFolderSwitch(dataFolder);
    const auto refuse = [&](const QString& why) {
        *error = QStringLiteral("un'operazione interrotta (%1) ha lasciato gli archivi a metà tra i vecchi e i "
                                "nuovi e non si può completare da qui: %2")
                     .arg(what, why);
        return false;
    };
    const int fd = storageSyscalls().open(local(journal).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0)
        return refuse(systemErrorText(errno));
    if (lockWholeFile(fd, true, 0, journal) == LockResult::Busy) {
        ::close(fd);
        return refuse(QStringLiteral("un altro programma la sta completando"));
    }
    FolderSwitch c;
    if (!parseJournal(readJournal(fd), &c)) {
        ::close(fd);
        return refuse(QStringLiteral("il giornale %1 è illeggibile").arg(kSwitchJournal));
    }
    QString why;
    const bool ok = applySwitch(root, c, &why);
    ::close(fd);
    if (!ok)
        return refuse(why);
    *completed = c.what;
    return true;
}

} // namespace ombrisa
