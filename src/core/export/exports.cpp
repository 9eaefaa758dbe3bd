#include "core/export/exports.h"

#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/codepage.h"
#include "core/storage/archivereader.h"
#include "core/storage/textfield.h"

#include <QFileInfo>
#include <array>
#include <cstring>
#include <optional>

namespace ombrisa {

namespace {

// A column whose heading reads the same in the preview grid and in the written file.
ExportColumn oneHeading(const char* heading, int width) {
    const QString text = QString::fromUtf8(heading);
    return {text, text, width};
}

const std::array<ExportColumn, 15>& callColumns() {
    static const std::array<ExportColumn, 15> columns{{
        oneHeading("Data chiamata", 150),
        oneHeading("Ora chiamata", 150),
        oneHeading("Tipo chiamata", 200),
        oneHeading("Oggetto", 350),
        oneHeading("Esito", 300),
        oneHeading("Grado soddisfazione", 250),
        oneHeading("Durata", 200),
        oneHeading("Cognome e nome cliente", 250),
        oneHeading("Codice fiscale", 200),
        oneHeading("Zona di appartenenza", 250),
        oneHeading("Tel. preferenziale", 200),
        oneHeading("Tel. cellulare", 200),
        oneHeading("Indirizzo e-mail", 250),
        oneHeading("Note", 350),
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
        oneHeading("Cognome e nome", 250),
        oneHeading("Data di nascita", 200),
        {QStringLiteral("Comune / Stato estero di nascita"), QStringLiteral("Comune di nascita"), 250},
        oneHeading("Tel. preferenziale", 250),
        oneHeading("Indirizzo di residenza", 300),
        oneHeading("Comune di residenza", 250),
        oneHeading("Modalità di pagamento", 250),
        oneHeading("Tel. casa", 250),
        oneHeading("Tel. ufficio", 250),
        oneHeading("Tel. cellulare", 250),
        oneHeading("PEC", 250),
        oneHeading("E-mail", 250),
        oneHeading("Codice fiscale", 250),
        oneHeading("Partita IVA", 250),
        oneHeading("Carta di credito n.", 300),
        oneHeading("Scadenza", 150),
        oneHeading("IBAN", 300),
        oneHeading("Estremi documento", 280),
        oneHeading("Occupazione", 250),
        oneHeading("Stato civile", 250),
        oneHeading("Titoli e qualifiche", 280),
        oneHeading("Prodotti e servizi di interesse", 300),
        oneHeading("Zona", 250),
        oneHeading("Questioni in sospeso", 300),
        oneHeading("Note", 300),
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
    return storedText(static_cast<const std::uint8_t*>(record) + f.offset, f.capacity);
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
    const ArchiveScan read = forEachRecord<Record>(
        appPath(fileName), [&](const Record& record, std::int64_t) { addRow(record); },
        [&](std::int64_t count) { rows.reserve(count, bytesPerRow); });
    if (!read.ok) {
        if (error)
            *error = read.error;
        rows.clear();
        return false;
    }
    return true;
}

} // namespace

ExportColumns callExportColumns() {
    return callColumns();
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
