#include "core/backup/backup.h"

#include "core/records/archivepaths.h"
#include "core/records/carddates.h"
#include "core/records/records.h"
#include "core/storage/folderswitch.h"
#include "core/storage/presence.h"
#include "core/storage/recordfile.h"
#include "core/storage/syscalls.h"
#include "core/storage/syserror.h"
#include "core/version.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <nettle/sha2.h>
#include <unistd.h>
#include <vector>

namespace ombrisa {
namespace {

constexpr qint64 kChunk = 1 << 20;
// The compressed file is written and read in blocks of this size (the tar default is 10 KiB).
constexpr int kFileBlock = 1 << 20;

// SHA-256 over a stream of bytes. Nettle's, which uses the processor's SHA instructions where it has them:
// every byte of a backup is hashed twice (when written and when checked), so this is most of its cost.
class Sha256 {
public:
    Sha256() { sha256_init(&ctx_); }
    void addData(const char* data, qint64 size) {
        sha256_update(&ctx_, static_cast<std::size_t>(size), reinterpret_cast<const std::uint8_t*>(data));
    }
    QByteArray hex() {
        std::uint8_t digest[SHA256_DIGEST_SIZE];
        sha256_digest(&ctx_, SHA256_DIGEST_SIZE, digest);
        return QByteArray(reinterpret_cast<const char*>(digest), SHA256_DIGEST_SIZE).toHex();
    }

private:
    sha256_ctx ctx_{};
};

// Progress of the bytes of one pass: `done` of `total`, reported through the caller's callback.
// A pass counts `units` of its own (bytes read or written) as `span` of the `total`, after `base`.
struct Pass {
    const BackupProgress* progress = nullptr;
    qint64 base = 0;
    qint64 span = 0;
    qint64 units = 0;
    qint64 total = 0;
    bool uncompressed = false; // a read pass that counts the bytes unpacked rather than the bytes of the file
    bool cancelled = false;
    bool report(qint64 done) {
        if (!progress || !*progress)
            return true;
        const double share =
            units > 0 ? static_cast<double>(std::min(done, units)) / static_cast<double>(units) : 1.0;
        const auto part = static_cast<qint64>(share * static_cast<double>(span));
        cancelled = !(*progress)(std::min(base + part, total), total);
        return !cancelled;
    }
};

// One file of the backup: its name inside (always with '/'), and for archives their record size.
struct Item {
    QString name;
    std::size_t recordSize = 0; // 0: a plain file
};

struct Entry {
    qint64 size = 0;
    qint64 records = -1;
    QByteArray sha256; // hex
};

using WriteHandle = std::unique_ptr<archive, decltype(&archive_write_free)>;
using ReadHandle = std::unique_ptr<archive, decltype(&archive_read_free)>;

QString writeFailure(archive* a, const QString& target) {
    const int err = archive_errno(a);
    if (err == ENOSPC || err == EDQUOT)
        return QStringLiteral("Spazio esaurito su \"%1\": la copia di sicurezza non è stata scritta.").arg(target);
    return QStringLiteral("Impossibile scrivere la copia di sicurezza \"%1\" (%2).")
        .arg(target, err != 0 || !archive_error_string(a) ? systemErrorText(err)
                                                          : QString::fromLocal8Bit(archive_error_string(a)));
}

std::size_t recordSizeOf(const QString& name) {
    if (name == kClientiFile)
        return kClienteArchive.recordSize;
    if (name == kChiamateFile)
        return kChiamataArchive.recordSize;
    if (name == kDipendentiFile)
        return kDipendenteArchive.recordSize;
    if (name == kClientDatesFile)
        return kCardDatesRecordSize;
    return kLavoroArchive.recordSize;
}

// The files of a data folder that a backup holds, archives first.
QList<Item> collect(const QString& folder) {
    QList<Item> items;
    const QDir dir(folder);
    for (const QString& name : {kClientiFile, kChiamateFile, kDipendentiFile, kClientDatesFile})
        if (TRecordFile::Present(dir.filePath(name)))
            items.push_back({name, recordSizeOf(name)});
    for (const QString& name : QDir(dir.filePath(kLavoriFolder))
                                   .entryList({QStringLiteral("Lavori_Dipendente_CF_*.pro")}, QDir::Files, QDir::Name))
        items.push_back({kLavoriFolder + QLatin1Char('/') + name, kLavoroArchive.recordSize});
    for (const QString& sub : {kAnagraficaFolder, kAllegatiFolder}) {
        QStringList names;
        QDirIterator it(dir.filePath(sub), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            names << dir.relativeFilePath(it.next());
        names.sort();
        for (const QString& n : names)
            items.push_back({n, 0});
    }
    if (QFileInfo(dir.filePath(kPasswordFile)).isFile())
        items.push_back({kPasswordFile, 0});
    return items;
}

bool addEntry(archive* a, const QString& name, qint64 size, const QString& target, QString* error) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> e(archive_entry_new(), archive_entry_free);
    const QByteArray utf8 = name.toUtf8();
    archive_entry_set_pathname_utf8(e.get(), utf8.constData());
    archive_entry_set_size(e.get(), size);
    archive_entry_set_filetype(e.get(), AE_IFREG);
    archive_entry_set_perm(e.get(), 0644);
    archive_entry_set_mtime(e.get(), QDateTime::currentSecsSinceEpoch(), 0);
    if (archive_write_header(a, e.get()) != ARCHIVE_OK) {
        *error = writeFailure(a, target);
        return false;
    }
    return true;
}

bool addData(archive* a, const char* data, qint64 size, Sha256& hash, const QString& target, QString* error) {
    hash.addData(data, size);
    if (archive_write_data(a, data, static_cast<std::size_t>(size)) != static_cast<la_ssize_t>(size)) {
        *error = writeFailure(a, target);
        return false;
    }
    return true;
}

// Copies one archive under its shared lock: whole records only, as any open sees them.
bool addArchive(archive* a, const QString& path, const Item& item, Entry& entry, const QString& target, Pass& pass,
                qint64* written, QString* error) {
    TRecordFile f;
    if (!f.OpenOrCreate(path, item.recordSize, TRecordFile::Access::Read)) {
        *error = QStringLiteral("Impossibile leggere l'archivio \"%1\": %2").arg(item.name, f.ErrorString());
        return false;
    }
    if (f.JournalPending()) {
        *error = QStringLiteral("L'archivio \"%1\" ha un giornale di ripristino non applicato: aprirlo da una "
                                "postazione con il permesso di scrittura prima della copia.")
                     .arg(item.name);
        return false;
    }
    entry.records = f.Count();
    entry.size = f.Count() * static_cast<qint64>(item.recordSize);
    if (!addEntry(a, item.name, entry.size, target, error))
        return false;
    Sha256 hash;
    const std::size_t perChunk = std::max<std::size_t>(1, static_cast<std::size_t>(kChunk) / item.recordSize);
    std::vector<char> buffer(perChunk * item.recordSize);
    while (!f.AtEnd()) {
        std::size_t n = 0;
        while (n < perChunk && !f.AtEnd()) {
            if (!f.ReadRecord(static_cast<void*>(buffer.data() + n * item.recordSize))) {
                *error = QStringLiteral("Impossibile leggere l'archivio \"%1\": %2").arg(item.name, f.ErrorString());
                return false;
            }
            ++n;
        }
        if (!addData(a, buffer.data(), static_cast<qint64>(n * item.recordSize), hash, target, error))
            return false;
        *written += static_cast<qint64>(n * item.recordSize);
        if (!pass.report(*written))
            return false;
    }
    f.Close();
    entry.sha256 = hash.hex();
    return true;
}

bool addFile(archive* a, const QString& path, const Item& item, Entry& entry, const QString& target, Pass& pass,
             qint64* written, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Impossibile leggere il file \"%1\": %2").arg(item.name, systemErrorText(errno));
        return false;
    }
    // The size is taken once: a file that grows meanwhile is copied as it was, one that shrinks fails.
    entry.size = f.size();
    if (!addEntry(a, item.name, entry.size, target, error))
        return false;
    Sha256 hash;
    qint64 left = entry.size;
    QByteArray buffer;
    while (left > 0) {
        buffer = f.read(std::min(left, kChunk));
        if (buffer.isEmpty()) {
            *error = QStringLiteral("Impossibile leggere il file \"%1\": è cambiato durante la copia.").arg(item.name);
            return false;
        }
        if (!addData(a, buffer.constData(), buffer.size(), hash, target, error))
            return false;
        left -= buffer.size();
        *written += buffer.size();
        if (!pass.report(*written))
            return false;
    }
    entry.sha256 = hash.hex();
    return true;
}

QByteArray manifestBytes(const QList<Item>& items, const QMap<QString, Entry>& entries) {
    QJsonArray files;
    for (const Item& item : items) {
        const Entry& e = entries[item.name];
        QJsonObject o{{QStringLiteral("nome"), item.name},
                      {QStringLiteral("byte"), e.size},
                      {QStringLiteral("sha256"), QString::fromLatin1(e.sha256)}};
        if (e.records >= 0)
            o.insert(QStringLiteral("schede"), e.records);
        files.append(o);
    }
    const QJsonObject root{{QStringLiteral("programma"), QStringLiteral("Ombrisa")},
                           {QStringLiteral("versione"), programVersion()},
                           {QStringLiteral("data"), QDateTime::currentDateTime().toString(Qt::ISODate)},
                           {QStringLiteral("file"), files}};
    return QJsonDocument(root).toJson();
}

// A name inside a backup that stays inside the folder it is restored into.
bool safeName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    for (const QString& part : name.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

// Reads a backup through; each entry's bytes go to `sink` (when given) as they come. Fills `manifest` with
// the files the manifest lists and checks every entry against it. A pass given in `pass` counts the bytes of
// the file read (or, when it says so, the bytes unpacked); a cancel there returns Unreadable with
// pass->cancelled set.
BackupCheck readBackup(const QString& file, QMap<QString, Entry>* manifest, QString* error,
                       const std::function<bool(const QString&, const QByteArray&, bool first)>& sink = {},
                       Pass* pass = nullptr) {
    ReadHandle a(archive_read_new(), archive_read_free);
    archive_read_support_filter_zstd(a.get());
    archive_read_support_format_tar(a.get());
    const QByteArray local = QFile::encodeName(file);
    // A file this user may not read is not a damaged one: say which it is.
    if (const int fd = storageSyscalls().open(local.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
        fd < 0) {
        const int err = errno;
        *error = err == ENOENT || err == ENOTDIR
                     ? QStringLiteral("Impossibile aprire la copia di sicurezza \"%1\".").arg(file)
                     : QStringLiteral("La copia di sicurezza \"%1\" non si può leggere (%2).")
                           .arg(file, systemErrorText(err));
        return BackupCheck::Unreadable;
    } else {
        ::close(fd);
    }
    if (archive_read_open_filename(a.get(), local.constData(), kFileBlock) != ARCHIVE_OK) {
        const bool missing = !QFileInfo(file).isFile();
        *error =
            missing
                ? QStringLiteral("Impossibile aprire la copia di sicurezza \"%1\".").arg(file)
                : QStringLiteral("La copia di sicurezza \"%1\" è danneggiata o non è una copia di Ombrisa.").arg(file);
        return missing ? BackupCheck::Unreadable : BackupCheck::Damaged;
    }
    QMap<QString, Entry> found;
    QStringList order;
    QByteArray manifestData;
    QString current;
    std::vector<char> buffer(static_cast<std::size_t>(kChunk));
    archive_entry* e = nullptr;
    const auto damaged = [&](const QString& name) {
        *error = name.isEmpty()
                     ? QStringLiteral("La copia di sicurezza è danneggiata.")
                     : QStringLiteral("La copia di sicurezza è danneggiata: il file \"%1\" non è integro.").arg(name);
        return BackupCheck::Damaged;
    };
    for (;;) {
        const int r = archive_read_next_header(a.get(), &e);
        if (r == ARCHIVE_EOF)
            break;
        if (r != ARCHIVE_OK)
            return damaged(current.isEmpty() ? QString() : current);
        const char* utf8 = archive_entry_pathname_utf8(e);
        current = utf8 ? QString::fromUtf8(utf8) : QString();
        if (!safeName(current) || found.contains(current))
            return damaged(current);
        const bool isManifest = current == kBackupManifest;
        Sha256 hash;
        qint64 size = 0;
        bool first = true;
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), buffer.data(), buffer.size());
            if (n < 0)
                return damaged(current);
            if (n == 0)
                break;
            size += n;
            const QByteArray chunk = QByteArray::fromRawData(buffer.data(), n);
            if (isManifest) {
                if (manifestData.size() + n > (64 << 20))
                    return damaged(current);
                manifestData.append(buffer.data(), n);
            } else {
                hash.addData(buffer.data(), n);
                if (sink && !sink(current, chunk, first))
                    return BackupCheck::Unreadable;
                first = false;
            }
            if (pass && !pass->report(archive_filter_bytes(a.get(), pass->uncompressed ? 0 : -1))) {
                *error = QStringLiteral("Operazione annullata.");
                return BackupCheck::Unreadable;
            }
        }
        if (!isManifest) {
            if (sink && first && !sink(current, QByteArray(), true))
                return BackupCheck::Unreadable;
            found.insert(current, {size, -1, hash.hex()});
            order << current;
        }
    }
    const QJsonDocument doc = QJsonDocument::fromJson(manifestData);
    if (manifestData.isEmpty() || !doc.isObject())
        return damaged(kBackupManifest);
    manifest->clear();
    for (const QJsonValue& v : doc.object().value(QStringLiteral("file")).toArray()) {
        const QJsonObject o = v.toObject();
        const QString name = o.value(QStringLiteral("nome")).toString();
        const QJsonValue records = o.value(QStringLiteral("schede"));
        manifest->insert(name, {static_cast<qint64>(o.value(QStringLiteral("byte")).toDouble(-1)),
                                records.isUndefined() ? -1 : static_cast<qint64>(records.toDouble()),
                                o.value(QStringLiteral("sha256")).toString().toLatin1()});
    }
    // The first bad file in the order of the backup, then any file the manifest lists that is missing.
    for (const QString& name : order) {
        const auto m = manifest->constFind(name);
        if (m == manifest->cend() || m->size != found[name].size || m->sha256 != found[name].sha256)
            return damaged(name);
    }
    for (auto m = manifest->cbegin(); m != manifest->cend(); ++m)
        if (!found.contains(m.key())) {
            *error = QStringLiteral("La copia di sicurezza è danneggiata: manca il file \"%1\".").arg(m.key());
            return BackupCheck::Damaged;
        }
    return BackupCheck::Whole;
}

} // namespace

bool writeBackup(const QString& dataFolder, const QString& outFile, const BackupProgress& progress, QString* error,
                 BackupTarget target) {
    const QFileInfo out(outFile);
    const bool replace = target == BackupTarget::ReplaceExisting;
    if (out.exists() && !replace) {
        *error = QStringLiteral("Il file \"%1\" esiste già: scegliere un altro nome.").arg(outFile);
        return false;
    }
    if (out.exists() && !out.isFile()) {
        *error = QStringLiteral("\"%1\" non è un file: scegliere un altro nome.").arg(outFile);
        return false;
    }
    if (!QFileInfo(dataFolder).isDir()) {
        *error = QStringLiteral("La cartella dei dati \"%1\" non esiste.").arg(dataFolder);
        return false;
    }
    // Never a copy of archives half old, half new: an interrupted switch is finished first.
    if (QString completed, why; !completeFolderSwitch(dataFolder, &completed, &why)) {
        *error = QStringLiteral("Impossibile fare la copia di sicurezza: %1.").arg(why);
        return false;
    }
    QTemporaryFile temp(out.absolutePath() + QStringLiteral("/.Ombrisa_copia_XXXXXX"));
    if (!temp.open()) {
        *error = QStringLiteral("Impossibile scrivere nella cartella \"%1\": la copia di sicurezza non è stata "
                                "scritta.")
                     .arg(out.absolutePath());
        return false;
    }
    const QList<Item> items = collect(dataFolder);
    const QDir dir(dataFolder);
    // Progress: the bytes copied, then as much again for reading the written file back.
    qint64 inBytes = 0;
    for (const Item& item : items)
        inBytes += QFileInfo(dir.filePath(item.name)).size();
    Pass pass{&progress, 0, inBytes, inBytes, 2 * inBytes};
    const auto cancelled = [&] {
        *error = QStringLiteral("Copia di sicurezza annullata: nessun file è stato scritto.");
        return false;
    };
    QMap<QString, Entry> entries;
    {
        WriteHandle a(archive_write_new(), archive_write_free);
        archive_write_add_filter_zstd(a.get());
        archive_write_set_format_pax_restricted(a.get());
        archive_write_set_bytes_per_block(a.get(), kFileBlock);
        archive_write_set_bytes_in_last_block(a.get(), 1);
        if (archive_write_open_fd(a.get(), temp.handle()) != ARCHIVE_OK) {
            *error = writeFailure(a.get(), outFile);
            return false;
        }
        qint64 written = 0;
        for (const Item& item : items) {
            Entry& entry = entries[item.name];
            const bool ok =
                item.recordSize > 0
                    ? addArchive(a.get(), dir.filePath(item.name), item, entry, outFile, pass, &written, error)
                    : addFile(a.get(), dir.filePath(item.name), item, entry, outFile, pass, &written, error);
            if (pass.cancelled)
                return cancelled();
            if (!ok)
                return false;
        }
        const QByteArray manifest = manifestBytes(items, entries);
        Sha256 unused;
        if (!addEntry(a.get(), kBackupManifest, manifest.size(), outFile, error) ||
            !addData(a.get(), manifest.constData(), manifest.size(), unused, outFile, error))
            return false;
        if (archive_write_close(a.get()) != ARCHIVE_OK) {
            *error = writeFailure(a.get(), outFile);
            return false;
        }
    }
    if (!temp.flush() || storageSyscalls().fdatasync(temp.handle()) != 0) {
        const int err = errno;
        *error =
            err == ENOSPC || err == EDQUOT
                ? QStringLiteral("Spazio esaurito su \"%1\": la copia di sicurezza non è stata scritta.").arg(outFile)
                : QStringLiteral("Impossibile scrivere la copia di sicurezza \"%1\" (%2).")
                      .arg(outFile, systemErrorText(err));
        return false;
    }
    QMap<QString, Entry> manifest;
    QString check;
    Pass reread{&progress, inBytes, inBytes, inBytes, 2 * inBytes, true};
    if (readBackup(temp.fileName(), &manifest, &check, {}, &reread) != BackupCheck::Whole) {
        if (reread.cancelled)
            return cancelled();
        *error = QStringLiteral("La copia appena scritta non si rilegge uguale: %1").arg(check);
        return false;
    }
    for (auto e = entries.cbegin(); e != entries.cend(); ++e)
        if (manifest.value(e.key()).sha256 != e->sha256) {
            *error = QStringLiteral("La copia appena scritta non si rilegge uguale: il file \"%1\" differisce.")
                         .arg(e.key());
            return false;
        }
    temp.close();
    // Only a rename, never a copy: the final name holds the checked file whole or nothing at all. Over an
    // existing file (the user chose to replace it) the rename puts the new one in its place in one step:
    // there is never a moment without a whole backup under that name.
    if (!replace && QFileInfo::exists(outFile)) {
        *error = QStringLiteral("Il file \"%1\" esiste già: scegliere un altro nome.").arg(outFile);
        return false;
    }
    if (storageSyscalls().rename(QFile::encodeName(temp.fileName()).constData(),
                                 QFile::encodeName(outFile).constData()) != 0) {
        *error = QStringLiteral("Impossibile dare il nome \"%1\" alla copia di sicurezza (%2): la copia non è stata "
                                "scritta.")
                     .arg(outFile, systemErrorText(errno));
        return false;
    }
    temp.setAutoRemove(false);
    // The new name reaches the disk too, before a stick is pulled out.
    syncFolder(out.absolutePath());
    return true;
}

BackupCheck verifyBackup(const QString& file, QString* error, const BackupProgress& progress) {
    QMap<QString, Entry> manifest;
    QString message;
    const qint64 fileBytes = QFileInfo(file).size();
    Pass pass{&progress, 0, fileBytes, fileBytes, fileBytes};
    const BackupCheck check = readBackup(file, &manifest, &message, {}, &pass);
    if (pass.cancelled) {
        *error = QStringLiteral("Controllo annullato.");
        return BackupCheck::Unreadable;
    }
    *error = check == BackupCheck::Whole ? QString() : message;
    return check;
}

namespace {

// Exclusive locks on every archive of a folder, held together.
struct FolderLock {
    std::vector<std::unique_ptr<TRecordFile>> files;
    ~FolderLock() {
        for (auto& f : files)
            f->Close();
    }
};

bool lockFolder(const QString& folder, int timeoutMs, FolderLock& lock, QString* error) {
    const int saved = TRecordFile::LockTimeoutMs();
    TRecordFile::SetLockTimeoutMs(timeoutMs);
    const QDir dir(folder);
    bool ok = true;
    for (const Item& item : collect(folder)) {
        if (item.recordSize == 0)
            continue;
        auto f = std::make_unique<TRecordFile>();
        if (!f->OpenOrCreate(dir.filePath(item.name), item.recordSize, TRecordFile::Access::Write)) {
            *error =
                QStringLiteral("Impossibile ripristinare: l'archivio \"%1\" è aperto da un'altra postazione "
                               "(o non si può bloccare). Chiudere il programma sulle altre postazioni e riprovare.")
                    .arg(item.name);
            ok = false;
            break;
        }
        lock.files.push_back(std::move(f));
    }
    TRecordFile::SetLockTimeoutMs(saved);
    return ok;
}

} // namespace

bool restoreBackup(const QString& file, const QString& targetFolder, QString* error, QString* replacedFolder,
                   int lockTimeoutMs, const BackupProgress& progress, const QDateTime& now) {
    // Progress: the backup read twice, to check it and to unpack it.
    const qint64 fileBytes = QFileInfo(file).size();
    Pass check{&progress, 0, fileBytes, fileBytes, 2 * fileBytes};
    const auto cancelled = [&] {
        *error = QStringLiteral("Ripristino annullato: nessun file è stato sostituito.");
        return false;
    };
    QMap<QString, Entry> manifest;
    QString message;
    if (readBackup(file, &manifest, &message, {}, &check) != BackupCheck::Whole) {
        if (check.cancelled)
            return cancelled();
        *error = QStringLiteral("Ripristino rifiutato. %1").arg(message);
        return false;
    }
    if (!QDir().mkpath(targetFolder)) {
        *error = QStringLiteral("Impossibile creare la cartella \"%1\".").arg(targetFolder);
        return false;
    }
    const QDir target(targetFolder);
    if (QString completed, why; !completeFolderSwitch(targetFolder, &completed, &why)) {
        *error = QStringLiteral("Impossibile ripristinare: %1.").arg(why);
        return false;
    }
    const bool empty = target.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // A program open on another workstation would go on with the archives it had open, or save over the
    // restored ones; its locks alone do not tell, as it holds none between saves.
    if (const std::vector<Workstation> others = Presence::Others(targetFolder); !empty && !others.empty()) {
        *error = Presence::InUseByOthers(QStringLiteral("Impossibile ripristinare"), others);
        return false;
    }
    FolderLock lock;
    if (!empty && !lockFolder(targetFolder, lockTimeoutMs, lock, error))
        return false;

    // An earlier restore that stopped before its switch left its staging folder: the archives are the
    // old ones, and with every archive locked and no other program here, nobody else is restoring now.
    for (const QString& left :
         target.entryList({QStringLiteral(".Ombrisa_ripristino_*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(target.filePath(left)).removeRecursively();

    // Every file lands first in a staging folder inside the target, on the same file system, each one
    // flushed to the disk.
    QTemporaryDir staging(target.filePath(QStringLiteral(".Ombrisa_ripristino_XXXXXX")));
    if (!staging.isValid()) {
        *error = QStringLiteral("Impossibile scrivere nella cartella \"%1\".").arg(targetFolder);
        return false;
    }
    std::unique_ptr<StagedFile> out;
    QString writeError;
    const auto sink = [&](const QString& name, const QByteArray& chunk, bool first) {
        if (first) {
            if (out && !out->finish()) {
                writeError = out->ErrorString();
                return false;
            }
            const QString path = QDir(staging.path()).filePath(name);
            out = std::make_unique<StagedFile>();
            if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
                writeError =
                    QStringLiteral("impossibile creare la cartella \"%1\"").arg(QFileInfo(path).absolutePath());
                return false;
            }
            if (!out->create(path)) {
                writeError = out->ErrorString();
                return false;
            }
        }
        if (!chunk.isEmpty() && !out->write(chunk.constData(), chunk.size())) {
            writeError = out->ErrorString();
            return false;
        }
        return true;
    };
    QMap<QString, Entry> again;
    Pass unpack{&progress, fileBytes, fileBytes, fileBytes, 2 * fileBytes};
    const BackupCheck result = readBackup(file, &again, &message, sink, &unpack);
    if (writeError.isEmpty() && out && !out->finish())
        writeError = out->ErrorString();
    out.reset();
    if (unpack.cancelled)
        return cancelled();
    if (result != BackupCheck::Whole || !writeError.isEmpty()) {
        *error = result == BackupCheck::Damaged
                     ? QStringLiteral("Ripristino rifiutato. %1").arg(message)
                     : QStringLiteral("Impossibile scrivere nella cartella \"%1\": niente è stato sostituito (%2).")
                           .arg(targetFolder, writeError);
        return false;
    }

    // One switch: the files of the backup take the place of the folder's, the replaced ones (and the
    // journal of a replaced archive) going to the dated folder. Once its journal is named the switch
    // happens, also when this process dies: the next open of the folder finishes it.
    const QString stamp =
        (now.isValid() ? now : QDateTime::currentDateTime()).toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString aside = QStringLiteral("Sostituiti_") + stamp;
    for (int n = 2; QFileInfo::exists(target.filePath(aside)); ++n) // a second restore within the same second
        aside = QStringLiteral("Sostituiti_%1_%2").arg(stamp).arg(n);
    FolderSwitch change;
    change.what = QStringLiteral("ripristino della copia \"%1\"").arg(QFileInfo(file).fileName());
    change.aside = aside;
    change.staging = target.relativeFilePath(staging.path());
    bool setAside = false;
    for (auto m = again.cbegin(); m != again.cend(); ++m) {
        // Every file the manifest lists, or nothing: a restore never leaves an archive out.
        if (!QFileInfo(QDir(staging.path()).filePath(m.key())).isFile()) {
            *error = QStringLiteral("Ripristino rifiutato. La copia di sicurezza è danneggiata: manca il file \"%1\".")
                         .arg(m.key());
            return false;
        }
        change.moves.emplace_back(change.staging + QLatin1Char('/') + m.key(), m.key());
        setAside = setAside || QFileInfo::exists(target.filePath(m.key()));
    }
    // The client cards' dates describe the cards they were stamped with: a backup of an earlier version
    // brings cards without them, and the dates of the cards replaced would speak for the restored ones.
    if (again.contains(kClientiFile) && !again.contains(kClientDatesFile) &&
        TRecordFile::Present(target.filePath(kClientDatesFile))) {
        change.dropped << kClientDatesFile;
        setAside = true;
    }
    staging.setAutoRemove(false); // from the switch on, the switch removes it
    QString switchError;
    if (!switchFolder(targetFolder, change, &switchError)) {
        if (!QFileInfo::exists(target.filePath(kSwitchJournal)))
            QDir(staging.path()).removeRecursively();
        *error = QStringLiteral("Ripristino non completato: %1.").arg(switchError);
        return false;
    }
    if (replacedFolder)
        *replacedFolder = setAside ? target.filePath(aside) : QString();
    return true;
}

} // namespace ombrisa
