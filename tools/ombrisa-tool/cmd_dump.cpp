// dump: every record of one archive as one JSON object per line.
#include "commands.h"
#include "options.h"

#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "core/work/workregister.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tool {
namespace {

void appendJsonString(QByteArray& out, const QString& text) {
    out += '"';
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned char>(c));
                out += esc;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

int dump(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words.isEmpty())
        return usageError(QStringLiteral("dump vuole l'archivio: clienti, chiamate, dipendenti o lavori CF"));
    const ombrisa::ArchiveInfo* archive = nullptr;
    for (const ombrisa::ArchiveInfo* a : ombrisa::kArchives)
        if (o.words.first() == QLatin1String(a->key))
            archive = a;
    if (!archive)
        return usageError(QStringLiteral("archivio sconosciuto \"%1\"").arg(o.words.first()));
    const bool perAgent = archive == &ombrisa::kLavoroArchive;
    if (o.words.size() != (perAgent ? 2 : 1))
        return usageError(perAgent ? QStringLiteral("dump lavori vuole il codice fiscale dell'agente")
                                   : QStringLiteral("troppi argomenti per dump"));
    // An agent's register is named after the code in capitals, as the screens write it.
    const QString agentCode = perAgent ? o.words[1].trimmed().toUpper() : QString();
    if (perAgent && !ombrisa::isWorkRegisterCode(agentCode))
        return usageError(QStringLiteral("codice fiscale \"%1\" non ammesso: solo lettere e cifre").arg(o.words[1]));
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    const QString path =
        perAgent ? ombrisa::workRegisterPath(agentCode) : ombrisa::appPath(QLatin1String(archive->fileName));
    if (!ombrisa::TRecordFile::Present(path))
        return 0; // a missing archive is an empty one; reading it creates nothing
    // Records are read in chunks under the shared lock and written out after it is released: a reader
    // that is slow to take the output (a pager, a stalled pipe) never keeps a writer waiting.
    const std::int64_t perChunk = std::max<std::int64_t>(1, (1 << 20) / static_cast<std::int64_t>(archive->recordSize));
    std::vector<std::uint8_t> chunk;
    QByteArray line;
    for (std::int64_t next = 0;;) {
        ombrisa::TRecordFile file;
        if (!file.OpenOrCreate(path, archive->recordSize, ombrisa::TRecordFile::Access::Read) ||
            !file.Seek(std::min(next, file.Count())))
            return usageError(file.ErrorString());
        const std::int64_t first = file.Position();
        const std::int64_t count = std::min(perChunk, file.Count() - first);
        chunk.resize(static_cast<std::size_t>(count) * archive->recordSize);
        for (std::int64_t i = 0; i < count; ++i)
            if (!file.ReadRecord(static_cast<void*>(chunk.data() + static_cast<std::size_t>(i) * archive->recordSize)))
                return usageError(file.ErrorString());
        const bool more = !file.AtEnd();
        file.Close();
        for (std::int64_t i = 0; i < count; ++i) {
            const std::uint8_t* record = chunk.data() + static_cast<std::size_t>(i) * archive->recordSize;
            line = "{\"Numero\":" + QByteArray::number(first + i + 1);
            for (const ombrisa::FieldDef& f : archive->fields) {
                line += ",\"";
                line += f.name;
                line += "\":";
                appendJsonString(line, ombrisa::GetText(record, f));
            }
            line += "}\n";
            if (std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout) !=
                static_cast<std::size_t>(line.size()))
                return usageError(QStringLiteral("impossibile scrivere l'uscita"));
        }
        next = first + count;
        if (!more || count == 0)
            break;
    }
    return std::fflush(stdout) == 0 ? 0 : usageError(QStringLiteral("impossibile scrivere l'uscita"));
}

} // namespace tool
