#include "core/export/exports.h"

#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/codepage.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"

#include <QFileInfo>
#include <array>
#include <cstring>
#include <optional>

namespace ombrisa {

namespace {

ExportColumn same(const char* heading, int width) {
    const QString text = QString::fromUtf8(heading);
    return {text, text, width};
}

const std::array<ExportColumn, 15>& callColumns() {
    static const std::array<ExportColumn, 15> columns{{
        same("Data chiamata", 150),
        same("Ora chiamata", 150),
        same("Tipo chiamata", 200),
        same("Oggetto", 350),
        same("Esito", 300),
        same("Grado soddisfazione", 250),
        same("Durata", 200),
        same("Cognome e nome cliente", 250),
        same("Codice fiscale", 200),
        same("Zona di appartenenza", 250),
        same("Tel. preferenziale", 200),
        same("Tel. cellulare", 200),
        same("Indirizzo e-mail", 250),
        same("Note", 350),
        {QStringLiteral("Operatore / Agente"), QStringLiteral("Operatore o agente"), 250},
    }};
    return columns;
}

// The call fields of the 15 columns, in column order.
const std::array<const FieldDef*, 15>& callFields() {
    static const std::array<const FieldDef*, 15> fields = [] {
        const char* names[] = {"DataRit", "OraRit", "Tipo",     "Oggetto", "Esito", "Grado", "Durata",   "Cliente",
                               "CodFisc", "Zona",   "Recapito", "TelCel",  "Email", "Note",  "Operatore"};
        std::array<const FieldDef*, 15> out{};
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = &kChiamataFields[fieldIndex(kChiamataFields, QString::fromLatin1(names[i]))];
        return out;
    }();
    return fields;
}

const std::array<ExportColumn, 25>& clientColumns() {
    static const std::array<ExportColumn, 25> columns{{
        same("Cognome e nome", 250),
        same("Data di nascita", 200),
        {QStringLiteral("Comune / Stato estero di nascita"), QStringLiteral("Comune di nascita"), 250},
        same("Tel. preferenziale", 250),
        same("Indirizzo di residenza", 300),
        same("Comune di residenza", 250),
        same("Modalità di pagamento", 250),
        same("Tel. casa", 250),
        same("Tel. ufficio", 250),
        same("Tel. cellulare", 250),
        same("PEC", 250),
        same("E-mail", 250),
        same("Codice fiscale", 250),
        same("Partita IVA", 250),
        same("Carta di credito n.", 300),
        same("Scadenza", 150),
        same("IBAN", 300),
        same("Estremi documento", 280),
        same("Occupazione", 250),
        same("Stato civile", 250),
        same("Titoli e qualifiche", 280),
        same("Prodotti e servizi di interesse", 300),
        same("Zona", 250),
        same("Questioni in sospeso", 300),
        same("Note", 300),
    }};
    return columns;
}

// The client fields of the 25 columns; a column with a second field joins the two with a blank.
struct ClientCell {
    const FieldDef* first;
    const FieldDef* second;
};
const std::array<ClientCell, 25>& clientCells() {
    static const std::array<ClientCell, 25> cells = [] {
        const std::pair<const char*, const char*> names[] = {
            {"Cliente", nullptr},      {"DataNasc", nullptr},    {"ComuneNasc", "ProvNasc"}, {"Recapito", nullptr},
            {"IndirizzoRes", nullptr}, {"ComuneRes", "ProvRes"}, {"Estremi", nullptr},       {"TelCasa", nullptr},
            {"TelUff", nullptr},       {"TelCel", nullptr},      {"Fax", nullptr},           {"Email", nullptr},
            {"CodFisc", nullptr},      {"PartitaIva", nullptr},  {"Carta", nullptr},         {"ScadeCarta", nullptr},
            {"Iban", nullptr},         {"Documento", nullptr},   {"Occupazione", nullptr},   {"Civile", nullptr},
            {"Titoli", nullptr},       {"Prodotti", nullptr},    {"Zona", nullptr},          {"Questioni", nullptr},
            {"Note", nullptr}};
        std::array<ClientCell, 25> out{};
        auto field = [](const char* name) -> const FieldDef* {
            return name ? &kClienteFields[fieldIndex(kClienteFields, QString::fromLatin1(name))] : nullptr;
        };
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = {field(names[i].first), field(names[i].second)};
        return out;
    }();
    return cells;
}

// A field's bytes as GetText reads them (length capped at the capacity, trimmed), still in Windows-1252.
QByteArrayView fieldBytes(const void* record, const FieldDef& f) {
    const auto* field = static_cast<const std::uint8_t*>(record) + f.offset;
    const std::size_t length = std::min<std::size_t>(field[0], f.capacity);
    const char* bytes = reinterpret_cast<const char*>(field + 1);
    std::size_t begin = 0;
    std::size_t end = length;
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    return QByteArrayView(bytes + begin, static_cast<qsizetype>(end - begin));
}

// The Windows-1252 form of a text to compare with stored fields, or nothing when the text holds a
// character that no stored field can hold (it then matches no record).
std::optional<QByteArray> storedForm(const QString& text) {
    QByteArray bytes = toCp1252(text);
    if (fromCp1252(bytes) != text)
        return std::nullopt;
    return bytes;
}

template <class Record, class AddRow>
bool scan(const QString& fileName, ExportTable& rows, qsizetype bytesPerRow, QString* error, AddRow addRow) {
    rows.clear();
    const QString path = appPath(fileName);
    if (!QFileInfo::exists(path))
        return true;
    TRecordFile file;
    Record record;
    bool ok = file.OpenOrCreate(path, sizeof record, TRecordFile::Access::Read);
    if (ok)
        rows.reserve(file.Count(), bytesPerRow);
    while (ok && !file.AtEnd()) {
        ok = file.ReadRecord(record);
        if (ok)
            addRow(record);
    }
    if (!ok) {
        if (error)
            *error = file.ErrorString();
        rows.clear();
        return false;
    }
    file.Close();
    return true;
}

} // namespace

ExportColumns callExportColumns() {
    return callColumns();
}
ExportColumns clientExportColumns() {
    return clientColumns();
}

const ExportDef& exportDef(ExportKind kind) {
    static const std::array<ExportDef, 4> defs{{
        {ExportKind::Chiamate, "chiamate", QStringLiteral("Registro_Chiamate.xls"), QStringLiteral("Registro Chiamate"),
         callColumns()},
        {ExportKind::Clienti, "clienti", QStringLiteral("Contatti.xls"), QStringLiteral("Riepilogo Contatti"),
         clientColumns()},
        {ExportKind::Oggi, "oggi", QStringLiteral("Chiamate_Odierne.xls"), QStringLiteral("Chiamate di oggi"),
         callColumns()},
        {ExportKind::Storico, "storico", QStringLiteral("Storico_Chiamate_Cliente.xls"),
         QStringLiteral("Storico Chiamate Cliente"), callColumns()},
    }};
    return defs[static_cast<std::size_t>(kind)];
}

const ExportDef* exportDefByKey(QStringView key) {
    for (ExportKind kind : {ExportKind::Chiamate, ExportKind::Clienti, ExportKind::Oggi, ExportKind::Storico})
        if (key == QLatin1String(exportDef(kind).key))
            return &exportDef(kind);
    return nullptr;
}

bool fillExportRows(ExportKind kind, ExportTable& rows, const QString& choice, QString* error) {
    if (kind == ExportKind::Clienti) {
        rows = ExportTable(static_cast<int>(clientColumns().size()));
        const auto& cells = clientCells();
        QByteArray joined;
        return scan<TRecCliente>(kClientiFile, rows, 400, error, [&](const TRecCliente& record) {
            for (const ClientCell& cell : cells) {
                if (!cell.second) {
                    rows.addCell(fieldBytes(&record, *cell.first));
                    continue;
                }
                // The grid shows "town province"; with no province the town keeps its blank, which the
                // export trims.
                joined.clear();
                joined.append(fieldBytes(&record, *cell.first));
                joined.append(' ');
                joined.append(fieldBytes(&record, *cell.second));
                rows.addCell(joined);
            }
        });
    }

    rows = ExportTable(static_cast<int>(callColumns().size()));
    const auto& fields = callFields();
    const FieldDef& dataRit = *fields[0];
    const FieldDef& codFisc = *fields[8];
    const FieldDef* key = kind == ExportKind::Storico ? &codFisc : &dataRit;
    std::optional<QByteArray> wanted;
    if (kind == ExportKind::Oggi)
        wanted = storedForm(choice);
    else if (kind == ExportKind::Storico)
        wanted = storedForm(trimText(choice));
    if (kind != ExportKind::Chiamate && !wanted) {
        rows.clear();
        return true;
    }
    return scan<TRecChiamata>(kChiamateFile, rows, 300, error, [&](const TRecChiamata& record) {
        const QByteArrayView value = fieldBytes(&record, *key);
        if (kind == ExportKind::Chiamate ? value.isEmpty() : value != QByteArrayView(*wanted))
            return;
        for (const FieldDef* f : fields)
            rows.addCell(fieldBytes(&record, *f));
    });
}

void addCallExportRow(ExportTable& rows, const TRecChiamata& record) {
    for (const FieldDef* f : callFields())
        rows.addCell(fieldBytes(&record, *f));
}

} // namespace ombrisa
