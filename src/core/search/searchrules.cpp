#include "core/search/searchrules.h"

#include "core/cards/clientcard.h"
#include "core/records/records.h"
#include "core/storage/codepage.h"
#include "core/storage/archivereader.h"
#include "core/storage/textfield.h"

#include <algorithm>
#include <cstring>

namespace ombrisa {

namespace {

constexpr LinePiece kClientLine[] = {
    {"", "Cliente", 26},          {"  Tel. ", "Recapito", 15}, {"  ", "Occupazione", 25},
    {"  Prod. ", "Prodotti", 30}, {"  ", "Note", 0},
};
constexpr LinePiece kRecontactLine[] = {
    {"", "Cliente", 26},          {"  Tel. ", "Recapito", 15}, {"  ", "Occupazione", 25},
    {"  Prod. ", "Prodotti", 30}, {"  ", "Questioni", 0},
};
constexpr LinePiece kCallLine[] = {
    {"Data: ", "DataRit", 10},      {"  Ora: ", "OraRit", 5},  {"  Oggetto: ", "Oggetto", 30},
    {"  Cliente: ", "Cliente", 30}, {"  CF: ", "CodFisc", 16}, {"  Tel. ", "Recapito", 0},
};
constexpr LinePiece kAgentLine[] = {
    {"", "Dipendente", 26},     {"  Cel. ", "Cel", 14},           {"  Qual. ", "Qualifica", 24},
    {"  Rep. ", "Reparto", 24}, {"  Disp. ", "Disponibilita", 0},
};

const SearchRules kClientSearch{&kClienteArchive,
                                {{{"txtCliente", "Cognome e nome:", "Cliente"},
                                  {"txtComuneRes", "Comune di residenza:", "ComuneRes"},
                                  {"txtPartitaIva", "Partita IVA:", "PartitaIva"},
                                  {"txtCodFisc", "Codice fiscale:", "CodFisc"},
                                  {"txtDocumento", "Estremi documento:", "Documento"},
                                  {"txtOccupazione", "Occupazione:", "Occupazione"},
                                  {"txtProdotti", "Prodotti e servizi di interesse:", "Prodotti"},
                                  {"txtZona", "Zona di appartenenza:", "Zona"},
                                  {"txtQuestioni", "Questioni in sospeso:", "Questioni"},
                                  {"txtNote", "Note:", "Note"}}},
                                kClientLine,
                                true,
                                true};

const SearchRules kCallSearch{&kChiamataArchive,
                              {{{"txtDataRit", "Data chiamata (gg/mm/aaaa):", "DataRit"},
                                {"txtMeseRit", "Mese chiamata (in lettere):", "MeseRit"},
                                {"txtTipo", "Tipo chiamata (in entrata / in uscita):", "Tipo"},
                                {"txtOggetto", "Oggetto:", "Oggetto"},
                                {"txtEsito", "Esito:", "Esito"},
                                {"txtOperatore", "Operatore / Agente:", "Operatore"},
                                {"txtCliente", "Cognome e nome cliente:", "Cliente"},
                                {"txtCodFisc", "Codice fiscale:", "CodFisc"},
                                {"txtZona", "Zona di appartenenza:", "Zona"},
                                {"txtNote", "Note:", "Note"}}},
                              kCallLine,
                              false,
                              true};

const SearchRules kAgentSearch{&kDipendenteArchive,
                               {{{"txtDipendente", "Cognome e nome:", "Dipendente"},
                                 {"txtDataNasc", "Data di nascita (gg/mm/aaaa):", "DataNasc"},
                                 {"txtCittadinanza", "Cittadinanza:", "Cittadinanza"},
                                 {"txtLuogoNasc", "Luogo di nascita:", "LuogoNasc"},
                                 {"txtCodFisc", "Codice fiscale:", "CodFisc"},
                                 {"txtDisponibilita", "Disponibilità:", "Disponibilita"},
                                 {"txtQualifica", "Qualifica:", "Qualifica"},
                                 {"txtReparto", "Reparto:", "Reparto"},
                                 {"txtMansioni", "Mansioni:", "Mansioni"},
                                 {"txtNote", "Note:", "Note"}}},
                               kAgentLine,
                               true,
                               false};

const FieldDef& fieldOf(FieldTable fields, const char* name) {
    const int i = fieldIndex(fields, QString::fromLatin1(name));
    Q_ASSERT_X(i >= 0, "searchrules", name);
    return fields[static_cast<std::size_t>(i)];
}

// The stored text of a field as GetText reads it, before conversion.
inline std::string_view storedBytes(const std::uint8_t* field, std::size_t capacity) {
    const QByteArrayView bytes = storedText(field, capacity);
    return {bytes.data(), static_cast<std::size_t>(bytes.size())};
}

// Reads every record of an archive in file order; `keep` says whether a record is listed, `build` makes
// its line. Lines are built only for the records kept.
template <class Keep>
CardListing scan(const QString& path, std::size_t recordSize, const LineBuilder& builder, bool sorted, Keep keep) {
    CardListing result;
    const ArchiveScan read = readArchive(path, recordSize, [&](const void* record, std::int64_t card) {
        if (keep(record))
            result.lines.push_back(CardLine{builder.build(record), card});
        return true;
    });
    if (!read.ok) {
        result.ok = false;
        result.error = read.error;
        result.lines.clear();
        return result;
    }
    if (sorted)
        sortLines(result.lines);
    return result;
}

} // namespace

const SearchRules& searchRules(SearchArchive which) {
    switch (which) {
    case SearchArchive::Clienti:
        return kClientSearch;
    case SearchArchive::Chiamate:
        return kCallSearch;
    case SearchArchive::Dipendenti:
        break;
    }
    return kAgentSearch;
}

const SearchRules* searchRulesFor(QStringView key) {
    for (const SearchRules* r : {&kClientSearch, &kCallSearch, &kAgentSearch})
        if (key == QLatin1String(r->archive->key))
            return r;
    return nullptr;
}

LineBuilder::LineBuilder(FieldTable fields, std::span<const LinePiece> pieces) {
    for (const LinePiece& p : pieces)
        pieces_.push_back(Piece{QString::fromLatin1(p.label), &fieldOf(fields, p.field), p.width});
    Q_ASSERT(pieces_.size() <= 16);
}

namespace {
// The character of each Windows-1252 byte, as GetText converts it.
const std::array<char16_t, 256>& cp1252Chars() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            t[static_cast<std::size_t>(b)] = fromCp1252(&byte, 1).at(0).unicode();
        }
        return t;
    }();
    return table;
}
} // namespace

// The line is written straight from the stored bytes: one byte is one character, so widths can be
// counted before converting, and the line is allocated once.
QString LineBuilder::build(const void* record) const {
    const auto* base = static_cast<const std::uint8_t*>(record);
    std::array<std::string_view, 16> texts{};
    qsizetype size = 0;
    for (std::size_t i = 0; i < pieces_.size() && i < texts.size(); ++i) {
        const Piece& p = pieces_[i];
        texts[i] = storedBytes(base + p.field->offset, p.field->capacity);
        size += p.label.size() + (p.width > 0 ? p.width : static_cast<qsizetype>(texts[i].size()));
    }
    const auto& chars = cp1252Chars();
    QString line(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(line.data());
    for (std::size_t i = 0; i < pieces_.size() && i < texts.size(); ++i) {
        const Piece& p = pieces_[i];
        out = std::copy(reinterpret_cast<const char16_t*>(p.label.constData()),
                        reinterpret_cast<const char16_t*>(p.label.constData()) + p.label.size(), out);
        const std::string_view text = texts[i];
        const std::size_t shown =
            p.width > 0 ? std::min<std::size_t>(text.size(), static_cast<std::size_t>(p.width)) : text.size();
        for (std::size_t c = 0; c < shown; ++c)
            *out++ = chars[static_cast<unsigned char>(text[c])];
        if (p.width > 0)
            out = std::fill_n(out, static_cast<std::size_t>(p.width) - shown, u' ');
    }
    return line;
}

const std::array<unsigned char, 256>& cp1252LowerTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString lower = fromCp1252(&byte, 1).toLower();
            const QByteArray back = toCp1252(lower);
            t[static_cast<std::size_t>(b)] = (back.size() == 1 && fromCp1252(back) == lower)
                                                 ? static_cast<unsigned char>(back[0])
                                                 : static_cast<unsigned char>(b);
        }
        return t;
    }();
    return table;
}

RecordMatcher::RecordMatcher(const SearchRules& rules, const QStringList& boxTexts) {
    for (std::size_t i = 0; i < rules.filters.size() && i < static_cast<std::size_t>(boxTexts.size()); ++i)
        add(fieldOf(rules.archive->fields, rules.filters[i].field), boxTexts[static_cast<qsizetype>(i)]);
}

RecordMatcher::RecordMatcher(FieldTable fields, const std::vector<std::pair<QString, QString>>& fieldTexts) {
    for (const auto& [name, text] : fieldTexts) {
        const int i = fieldIndex(fields, name);
        if (i >= 0)
            add(fields[static_cast<std::size_t>(i)], text);
    }
}

void RecordMatcher::add(const FieldDef& field, const QString& text) {
    if (trimView(text).isEmpty())
        return; // an empty box asks nothing
    const QString lower = text.toLower();
    const QByteArray bytes = toCp1252(lower);
    if (fromCp1252(bytes) != lower || bytes.size() > static_cast<qsizetype>(field.capacity)) {
        impossible_ = true; // no stored text can hold it
        return;
    }
    needles_.push_back(Needle{field.offset, field.capacity, bytes});
}

bool RecordMatcher::matches(const void* record) const {
    if (impossible_)
        return false;
    const auto& lower = cp1252LowerTable();
    const auto* base = static_cast<const std::uint8_t*>(record);
    char buffer[256];
    for (const Needle& n : needles_) {
        const std::string_view text = storedBytes(base + n.offset, n.capacity);
        const auto needleSize = static_cast<std::size_t>(n.bytes.size());
        if (needleSize > text.size())
            return false;
        for (std::size_t i = 0; i < text.size(); ++i)
            buffer[i] = static_cast<char>(lower[static_cast<unsigned char>(text[i])]);
        if (!memmem(buffer, text.size(), n.bytes.constData(), needleSize))
            return false;
    }
    return true;
}

QString countLine(std::size_t count, bool fullStop) {
    return QStringLiteral("Il presente riepilogo contiene %1 schede%2")
        .arg(count)
        .arg(fullStop ? QStringLiteral(".") : QString());
}

CardListing searchArchive(const SearchRules& rules, const QString& path, const QStringList& boxTexts) {
    const RecordMatcher matcher(rules, boxTexts);
    const LineBuilder builder(rules.archive->fields, rules.line);
    return scan(path, rules.archive->recordSize, builder, rules.sorted,
                [&](const void* record) { return matcher.matches(record); });
}

std::span<const LinePiece> recontactLine() {
    return kRecontactLine;
}

CardListing recontactList(const QString& path) {
    const LineBuilder builder(kClienteFields, kRecontactLine);
    const FieldDef& flag = fieldOf(kClienteFields, kRicontattaField);
    QString text;
    return scan(path, sizeof(TRecCliente), builder, true, [&](const void* record) {
        GetText(record, flag, text);
        return text == kRicontattaYes;
    });
}

bool readCard(const QString& path, std::size_t recordSize, std::int64_t card, void* record, QString* error) {
    return readRecordAt(path, recordSize, card, record, error);
}

} // namespace ombrisa
