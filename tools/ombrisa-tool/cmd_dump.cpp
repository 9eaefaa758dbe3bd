// dump: every record of one archive as one JSON object per line.
#include "commands.h"
#include "options.h"

#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"

#include <QFileInfo>

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
    if (const QString e = useFolder(o); !e.isEmpty())
        return usageError(e);

    const QString path =
        perAgent ? ombrisa::workRegisterPath(o.words[1]) : ombrisa::appPath(QLatin1String(archive->fileName));
    if (!QFileInfo::exists(path))
        return 0; // a missing archive is an empty one; reading it creates nothing
    ombrisa::TRecordFile file;
    if (!file.OpenOrCreate(path, archive->recordSize, ombrisa::TRecordFile::Access::Read))
        return usageError(file.ErrorString());
    std::vector<std::uint8_t> record(archive->recordSize);
    QByteArray line;
    while (!file.AtEnd()) {
        if (!file.ReadRecord(record.data()))
            return usageError(file.ErrorString());
        line = "{\"Numero\":" + QByteArray::number(file.Position());
        for (const ombrisa::FieldDef& f : archive->fields) {
            line += ",\"";
            line += f.name;
            line += "\":";
            appendJsonString(line, ombrisa::GetText(record.data(), f));
        }
        line += "}\n";
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    }
    file.Close();
    return std::fflush(stdout) == 0 ? 0 : usageError(QStringLiteral("impossibile scrivere l'uscita"));
}

} // namespace tool
