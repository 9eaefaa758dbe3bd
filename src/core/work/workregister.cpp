#include "core/work/workregister.h"

#include "core/dates/dates.h"
#include "core/storage/archivereader.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"

namespace ombrisa {

bool isWorkRegisterCode(QStringView codFisc) {
    const QStringView code = trimView(codFisc);
    if (code.isEmpty())
        return false;
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9')))
            return false;
    }
    return true;
}

QString workRegisterCodeRefusal(QStringView codFisc) {
    return QStringLiteral("Attenzione: il codice fiscale \"%1\" contiene caratteri non ammessi. Il registro delle "
                          "prestazioni lavorative può essere aperto solo per un codice fiscale composto di "
                          "lettere e cifre.")
        .arg(trimView(codFisc));
}

WorkEntry workEntry(const TRecLavoro& r) {
    return {GetText(r.Data), GetText(r.Attivita), GetText(r.Luogo), GetText(r.Orario), GetText(r.TotOre)};
}

TRecLavoro workRecord(const WorkEntry& e) {
    TRecLavoro r{};
    PutText(r.Data, e.data);
    PutText(r.Attivita, e.attivita);
    PutText(r.Luogo, e.luogo);
    PutText(r.Orario, e.orario);
    PutText(r.TotOre, e.totOre);
    return r;
}

namespace {
QString column(QStringView text, int width) {
    return trimView(text).toString().leftJustified(width, QLatin1Char(' '), true);
}
} // namespace

QString workListLine(const WorkEntry& e) {
    return column(e.attivita, 46) + QStringLiteral("   Data: ") + column(e.data, 10) + QStringLiteral("  Luogo: ") +
           column(e.luogo, 28) + QStringLiteral("  Orario: ") + column(e.orario, 26) + QStringLiteral("  Tot. ore: ") +
           trimText(e.totOre);
}

std::optional<WorkSaveRefusal> workSaveRefusal(const WorkEntry& t) {
    const auto warning = [](const char* what, const char* focus) {
        return WorkSaveRefusal{QStringLiteral("Attenzione: per salvare la scheda è necessario indicare ") +
                                   QString::fromUtf8(what),
                               false, QLatin1String(focus)};
    };
    if (trimView(t.data).isEmpty())
        return warning("la data in cui la prestazione è stata svolta.", "txtData");
    if (!parseDate(t.data))
        return WorkSaveRefusal{QStringLiteral("Attenzione: la data ") + trimText(t.data) +
                                   QStringLiteral(" non è riconosciuta.\n\r\n\rPer poter salvare la scheda è "
                                                  "necessario indicare una data valida nel formato gg/mm/aaaa."),
                               true, QStringLiteral("txtData")};
    if (trimView(t.attivita).isEmpty())
        return warning("la tipologia di prestazione svolta.", "txtAttivita");
    if (trimView(t.luogo).isEmpty())
        return warning("il luogo in cui la prestazione è stata svolta.", "txtLuogo");
    if (trimView(t.orario).isEmpty())
        return warning("l'orario in cui la prestazione è stata svolta.", "txtOrario");
    if (trimView(t.totOre).isEmpty())
        return warning("la durata totale in ore della prestazione svolta.", "txtTotOre");
    return std::nullopt;
}

WorkRegisterList loadWorkRegister(const QString& path) {
    WorkRegisterList list;
    if (!ensureArchive(path, sizeof(TRecLavoro))) {
        list.ok = false;
        return list;
    }
    QString date;
    const ArchiveScan scan = forEachRecord<TRecLavoro>(path, [&](const TRecLavoro& record, std::int64_t number) {
        GetText(&record.Data.length, decltype(record.Data)::capacity, date);
        if (!date.isEmpty())
            list.lines.append({workListLine(workEntry(record)), number});
    });
    list.ok = scan.ok;
    return list;
}

std::vector<CardLine> cardLines(const QList<WorkLine>& lines) {
    std::vector<CardLine> out;
    out.reserve(static_cast<std::size_t>(lines.size()));
    for (const WorkLine& line : lines)
        out.push_back({line.line, line.number});
    return out;
}

bool readWorkRecord(const QString& path, std::int64_t number, TRecLavoro& record) {
    return readRecordAt(path, sizeof(TRecLavoro), number, &record);
}

bool readWork(const QString& path, std::int64_t number, WorkEntry& entry) {
    TRecLavoro record;
    if (!readWorkRecord(path, number, record))
        return false;
    entry = workEntry(record);
    return true;
}

std::optional<std::int64_t> saveWork(const QString& path, std::int64_t number, const WorkEntry& entry) {
    TRecordFile file;
    if (!file.OpenOrCreate(path, sizeof(TRecLavoro), TRecordFile::Access::Write))
        return std::nullopt;
    const std::int64_t index = number > 0 ? number - 1 : file.Count();
    if (index > file.Count() || !file.Seek(index) || !file.WriteRecord(workRecord(entry)))
        return std::nullopt;
    if (!file.Close())
        return std::nullopt;
    return index + 1;
}

WorkUpdate updateWork(const QString& path, std::int64_t number, const TRecLavoro& loaded, const WorkEntry& entry) {
    TRecordFile file;
    if (number < 1 || !file.OpenOrCreate(path, sizeof(TRecLavoro), TRecordFile::Access::Write))
        return WorkUpdate::Failed;
    if (number > file.Count() || !file.Seek(number - 1)) {
        file.Close();
        return WorkUpdate::Failed;
    }
    const TRecLavoro record = workRecord(entry);
    const auto result = file.WriteRecordIfUnchanged(&loaded, &record);
    const bool closed = file.Close();
    if (result == TRecordFile::UpdateResult::ChangedMeanwhile)
        return closed ? WorkUpdate::ChangedMeanwhile : WorkUpdate::Failed;
    return result == TRecordFile::UpdateResult::Written && closed ? WorkUpdate::Written : WorkUpdate::Failed;
}

} // namespace ombrisa
