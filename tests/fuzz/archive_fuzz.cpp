// libFuzzer target over the archive reader, the journal roll-back, and ombrisa-tool's verify and dump.
// Input: byte 0 picks the archive (clients, calls, agents, a work register); when bit 7 of byte 1 is set,
// the rest is split at the point bytes 2-3 give into the archive and a rollback journal left beside it;
// otherwise everything after byte 1 is the archive.
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "ombrisa-tool/commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

using namespace ombrisa;

const ArchiveInfo* const kKinds[] = {&kClienteArchive, &kChiamataArchive, &kDipendenteArchive, &kLavoroArchive};
const QString kAgent = QStringLiteral("RSSMRA80A01H501U");

void put(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The commands print their reports; the fuzzer only wants their crashes.
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    if (size < 2 || !folder.isValid())
        return 0;
    const ArchiveInfo& kind = *kKinds[data[0] % 4];
    const bool perAgent = &kind == &kLavoroArchive;
    QDir(folder.path()).removeRecursively();
    QDir().mkpath(folder.path() + QLatin1Char('/') + kLavoriFolder);
    setAppFolderOverride(folder.path());
    const QString path = perAgent ? workRegisterPath(kAgent) : appPath(QLatin1String(kind.fileName));

    std::size_t archiveSize = size - 2;
    const std::uint8_t* archive = data + 2;
    if ((data[1] & 0x80) && size >= 4) {
        archive = data + 4;
        const std::size_t rest = size - 4;
        archiveSize = std::min<std::size_t>(rest, (std::size_t{data[2]} << 8 | data[3]) * 4);
        put(TRecordFile::JournalPath(path), archive + archiveSize, rest - archiveSize);
    }
    put(path, archive, archiveSize);

    {
        TRecordFile file;
        if (file.OpenOrCreate(path, kind.recordSize, TRecordFile::Access::Read)) {
            std::vector<std::uint8_t> record(kind.recordSize);
            QString text;
            while (!file.AtEnd() && file.ReadRecord(record.data()))
                for (const FieldDef& f : kind.fields)
                    GetText(record.data(), f, text);
        }
    }
    const QString dir = folder.path();
    tool::verify({QStringLiteral("--dir"), dir});
    if (perAgent)
        tool::dump({QStringLiteral("lavori"), kAgent, QStringLiteral("--dir"), dir});
    else
        tool::dump({QLatin1String(kind.key), QStringLiteral("--dir"), dir});
    setAppFolderOverride({});
    return 0;
}
