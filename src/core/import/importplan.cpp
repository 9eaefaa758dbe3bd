#include "core/import/importplan.h"

#include "core/cards/callcard.h"
#include "core/cards/clientcard.h"
#include "core/cards/duplicates.h"
#include "core/dates/dates.h"
#include "core/italy/provinces.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/codepage.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/validators/codicefiscale.h"
#include "core/validators/iban.h"
#include "core/validators/partitaiva.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSettings>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <array>
#include <cstring>

namespace ombrisa {

namespace {

// Keys of the targets that fill more than one field.
const QString kComuneProvNasc = QStringLiteral("txtComuneProvNasc");
const QString kComuneProvRes = QStringLiteral("txtComuneProvRes");
const QString kDataChiamata = QStringLiteral("txtDataChiamata");
const QString kOraChiamata = QStringLiteral("txtOraChiamata");

QString captionOf(const char* caption) {
    QString c = QString::fromUtf8(caption).trimmed();
    if (c.endsWith(u':'))
        c.chop(1);
    return c;
}

std::vector<ImportTarget> buildTargets(ImportArchive archive) {
    std::vector<ImportTarget> targets;
    if (archive == ImportArchive::Clienti) {
        for (const CardField& f : kClientCardFields) {
            const QString key = QString::fromLatin1(f.control);
            QString caption = captionOf(f.caption);
            if (key == u"txtProvNasc")
                caption = QStringLiteral("Provincia di nascita");
            else if (key == u"txtProvRes")
                caption = QStringLiteral("Provincia di residenza");
            targets.push_back({key, caption});
            if (key == u"txtComuneNasc")
                targets.push_back({kComuneProvNasc, QStringLiteral("Comune di nascita e provincia")});
            else if (key == u"txtComuneRes")
                targets.push_back({kComuneProvRes, QStringLiteral("Comune di residenza e provincia")});
        }
        return targets;
    }
    targets.push_back({kDataChiamata, QStringLiteral("Data chiamata (gg/mm/aaaa)")});
    targets.push_back({kOraChiamata, QStringLiteral("Ora chiamata (hh:mm)")});
    for (const CardField& f : kCallCardFields)
        if (f.kind != CardFieldKind::Hidden)
            targets.push_back({QString::fromLatin1(f.control), captionOf(f.caption)});
    return targets;
}

// Lower case, without accents, every run of other characters than letters and digits one blank.
QString headingForm(QStringView heading) {
    const QString decomposed = heading.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    bool blank = false;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (!c.isLetterOrNumber()) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out += u' ';
        blank = false;
        out += c.toLower();
    }
    return out;
}

struct Synonyms {
    const char* key;
    std::vector<const char*> headings; // already in headingForm
};

const std::vector<Synonyms>& clientSynonyms() {
    static const std::vector<Synonyms> table{
        {"txtCliente", {"cognome e nome", "nome e cognome", "ragione sociale", "cliente", "nominativo",
                        "denominazione", "name", "full name", "company", "company name", "customer", "nome"}},
        {"txtDataNasc", {"data di nascita", "data nascita", "nato il", "nata il", "birth date", "date of birth",
                         "birthday", "dob"}},
        {"txtComuneProvNasc", {"comune stato estero di nascita", "comune di nascita", "luogo di nascita",
                               "nato a", "birthplace", "place of birth"}},
        {"txtProvNasc", {"provincia di nascita", "prov nascita", "prov di nascita"}},
        {"txtSesso", {"sesso", "genere", "sex", "gender"}},
        {"txtRecapito", {"tel preferenziale", "telefono preferenziale", "telefono", "tel", "recapito",
                         "recapito telefonico", "phone", "telephone", "phone number"}},
        {"txtIndirizzoRes", {"indirizzo di residenza", "indirizzo", "via", "residente in via piazza e numero civico",
                             "address", "street", "street address"}},
        {"txtProvRes", {"provincia", "prov", "pr", "provincia di residenza", "prov residenza", "province"}},
        {"txtComuneProvRes", {"comune di residenza", "comune", "citta", "localita", "city", "town"}},
        {"txtCapRes", {"cap", "codice postale", "zip", "zip code", "postal code", "postcode"}},
        {"txtEstremi", {"modalita di pagamento", "pagamento", "payment", "payment method"}},
        {"txtTelCasa", {"tel casa", "telefono casa", "telefono abitazione", "home phone"}},
        {"txtTelUff", {"tel ufficio", "telefono ufficio", "work phone", "office phone", "business phone"}},
        {"txtTelCel", {"tel cellulare", "cellulare", "cell", "mobile", "mobile phone", "cellphone", "cell phone"}},
        {"txtFax", {"pec", "posta elettronica certificata", "indirizzo pec"}},
        {"txtEmail", {"e mail", "email", "mail", "indirizzo e mail", "posta elettronica", "e mail address",
                      "email address"}},
        {"txtCodFisc", {"codice fiscale", "cf", "c f", "cod fisc", "cod fiscale", "tax code", "fiscal code"}},
        {"txtCarta", {"carta di credito n", "carta di credito", "numero carta", "credit card", "card number"}},
        {"txtScadeCarta", {"scadenza", "scadenza carta", "expiry", "expiration date"}},
        {"txtPartitaIva", {"partita iva", "partita i v a", "p iva", "p i v a", "piva", "part iva", "vat", "vat number", "vat id"}},
        {"txtIban", {"iban", "codice iban"}},
        {"txtDocumento", {"estremi documento", "documento", "document"}},
        {"txtOccupazione", {"occupazione", "professione", "occupation", "job", "job title"}},
        {"txtCivile", {"stato civile", "marital status"}},
        {"txtTitoli", {"titoli e qualifiche", "titoli", "qualifiche", "titolo di studio"}},
        {"txtProdotti", {"prodotti e servizi di interesse", "prodotti o servizi di interesse", "prodotti",
                         "interessi"}},
        {"txtZona", {"zona", "zona di appartenenza", "area", "zone"}},
        {"txtQuestioni", {"questioni in sospeso", "questioni", "in sospeso"}},
        {"txtNote", {"note", "notes", "comments", "osservazioni", "annotazioni"}},
    };
    return table;
}

const std::vector<Synonyms>& callSynonyms() {
    static const std::vector<Synonyms> table{
        {"txtDataChiamata", {"data chiamata", "data della chiamata", "data", "date", "call date"}},
        {"txtOraChiamata", {"ora chiamata", "ora della chiamata", "ora", "orario", "time", "call time"}},
        {"txtGiornoRit", {"giorno", "day"}},
        {"txtMeseRit", {"mese", "month"}},
        {"lblAnnoRit", {"anno", "year"}},
        {"txtOreRit", {"ore", "hour", "hours"}},
        {"txtMinutiRit", {"minuti", "minute", "minutes"}},
        {"txtTipo", {"tipo chiamata", "tipo", "direzione", "type", "direction"}},
        {"txtOggetto", {"oggetto", "subject", "motivo"}},
        {"txtEsito", {"esito", "outcome", "result"}},
        {"txtGrado", {"grado soddisfazione", "grado di soddisfazione", "soddisfazione", "satisfaction"}},
        {"txtDurata", {"durata", "duration"}},
        {"txtCliente", {"cognome e nome cliente", "cliente", "cognome e nome", "nome e cognome", "nominativo",
                        "ragione sociale", "customer", "name"}},
        {"txtCodFisc", {"codice fiscale", "cf", "c f", "cod fisc", "cod fiscale", "tax code", "fiscal code"}},
        {"txtZona", {"zona di appartenenza", "zona", "area", "zone"}},
        {"txtRecapito", {"tel preferenziale", "telefono preferenziale", "telefono", "tel", "recapito", "phone"}},
        {"txtTelCel", {"tel cellulare", "cellulare", "cell", "mobile", "mobile phone"}},
        {"txtEmail", {"indirizzo e mail", "e mail", "email", "mail", "posta elettronica"}},
        {"txtNote", {"note", "notes", "comments", "osservazioni"}},
        {"txtOperatore", {"operatore agente", "operatore o agente", "operatore", "agente", "operator", "agent"}},
    };
    return table;
}

// The record fields a target fills.
QStringList fieldsOf(ImportArchive archive, const QString& key) {
    if (key == kComuneProvNasc)
        return {QStringLiteral("ComuneNasc"), QStringLiteral("ProvNasc")};
    if (key == kComuneProvRes)
        return {QStringLiteral("ComuneRes"), QStringLiteral("ProvRes")};
    if (key == kDataChiamata)
        return {QStringLiteral("GiornoRit"), QStringLiteral("MeseRit"), QStringLiteral("AnnoRit")};
    if (key == kOraChiamata)
        return {QStringLiteral("OreRit"), QStringLiteral("MinutiRit")};
    if (archive == ImportArchive::Clienti) {
        for (const CardField& f : kClientCardFields)
            if (key == QLatin1String(f.control))
                return {QString::fromLatin1(f.field)};
    } else {
        for (const CardField& f : kCallCardFields)
            if (key == QLatin1String(f.control))
                return {QString::fromLatin1(f.field)};
    }
    return {};
}

const CardField* cardFieldOf(ImportArchive archive, QStringView field) {
    if (archive == ImportArchive::Clienti) {
        for (const CardField& f : kClientCardFields)
            if (field == QLatin1String(f.field))
                return &f;
    } else {
        for (const CardField& f : kCallCardFields)
            if (field == QLatin1String(f.field))
                return &f;
    }
    return nullptr;
}

// What the card's box would hold after the user typed `text` into it, into `out` (reusing its memory: the
// plan does this for every cell of the sheet).
void filterInto(QString& out, const CardField* f, QStringView text) {
    const QStringView trimmed = trimView(text);
    out.resize(0);
    const CardFilter filter = f ? f->filter : CardFilter::None;
    switch (filter) {
    case CardFilter::TrimUpper:
    case CardFilter::Upper:
    case CardFilter::UpperOnKeyRelease:
        out.append(trimmed);
        out = std::move(out).toUpper(); // in place
        return;
    case CardFilter::Digits:
        for (const QChar c : trimmed)
            if (c >= u'0' && c <= u'9')
                out.append(c);
        return;
    default:
        out.append(trimmed);
        return;
    }
}

bool isProvinceCode(QStringView text) {
    // Every code is two capital letters: a table of the 26 x 26 pairs, made once.
    static const std::array<bool, 26 * 26> codes = [] {
        std::array<bool, 26 * 26> table{};
        for (const char* code : kProvinceCodes)
            table[static_cast<std::size_t>((code[0] - 'A') * 26 + (code[1] - 'A'))] = true;
        return table;
    }();
    if (text.size() != 2 || text[0] < u'A' || text[0] > u'Z' || text[1] < u'A' || text[1] > u'Z')
        return false;
    return codes[static_cast<std::size_t>((text[0].unicode() - u'A') * 26 + (text[1].unicode() - u'A'))];
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A number of one or two digits within [min, max] as two digits; the text as it is otherwise (the card's
// checks then judge it).
QString twoDigitNumber(const QString& text, int min, int max) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok && text.size() <= 2 && n >= min && n <= max)
        return twoDigits(n);
    return text;
}

QString monthName(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok && n >= 1 && n <= 12)
        return kMonthNames[static_cast<std::size_t>(n - 1)];
    const QString lower = headingForm(text);
    for (const QString& name : kMonthNames)
        if (lower == headingForm(name) || (lower.size() == 3 && headingForm(name).startsWith(lower)))
            return name;
    return text;
}

std::optional<QDate> parseImportDate(const QString& text) {
    if (auto d = parseDate(text))
        return d;
    // A spreadsheet's own form of a date.
    for (const char* format : {"yyyy-MM-dd", "d-M-yyyy", "d.M.yyyy", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm:ss"}) {
        const QDate d = QDate::fromString(text, QString::fromLatin1(format));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

std::optional<QTime> parseImportTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})[:.](\\d{2})(?:[:.](\\d{2}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt());
    return t.isValid() ? std::optional(t) : std::nullopt;
}

QString cleanMessage(QString message) {
    if (message.startsWith(QLatin1String("Attenzione: ")))
        message.remove(0, 12);
    message.replace(QLatin1String("\n\r\n\r"), QLatin1String(" "));
    message.replace(QLatin1String("\r\n\r\n"), QLatin1String(" "));
    return message;
}

QString callKey(const TRecChiamata& r) {
    return GetText(r.DataRit) + u'\n' + GetText(r.OraRit) + u'\n' + comparableCode(GetText(r.CodFisc)) + u'\n' +
           comparableName(GetText(r.Oggetto));
}

template <class Each> bool scanArchive(ImportArchive archive, ArchiveFingerprint& fingerprint, QString* error,
                                       Each each) {
    fingerprint = {};
    const QString path = appPath(importArchiveFile(archive));
    if (!TRecordFile::Present(path))
        return true;
    const std::size_t size = importRecordSize(archive);
    TRecordFile file;
    std::vector<std::uint8_t> record(size);
    bool ok = file.OpenOrCreate(path, size, TRecordFile::Access::Read);
    while (ok && !file.AtEnd()) {
        const std::int64_t number = file.Position() + 1;
        ok = file.ReadRecord(static_cast<void*>(record.data()));
        if (ok) {
            addToFingerprint(fingerprint, record.data(), size);
            each(record.data(), number);
        }
    }
    if (!ok) {
        if (error)
            *error = file.ErrorString();
        return false;
    }
    file.Close();
    return true;
}

} // namespace

const std::vector<ImportTarget>& importTargets(ImportArchive archive) {
    static const std::vector<ImportTarget> clients = buildTargets(ImportArchive::Clienti);
    static const std::vector<ImportTarget> calls = buildTargets(ImportArchive::Chiamate);
    return archive == ImportArchive::Clienti ? clients : calls;
}

QString importTargetCaption(ImportArchive archive, const QString& key) {
    if (key.isEmpty())
        return kIgnoreCaption;
    for (const ImportTarget& t : importTargets(archive))
        if (t.key == key)
            return t.caption;
    return key;
}

QString importFieldCaption(ImportArchive archive, const char* field) {
    const CardField* card = cardFieldOf(archive, QString::fromLatin1(field));
    if (!card || !*card->caption)
        return QString::fromLatin1(field);
    const QString key = QString::fromLatin1(card->control);
    for (const ImportTarget& t : importTargets(archive))
        if (t.key == key)
            return t.caption;
    return captionOf(card->caption);
}

QString guessTarget(ImportArchive archive, QStringView heading) {
    const QString form = headingForm(heading);
    if (form.isEmpty())
        return {};
    for (const Synonyms& s : archive == ImportArchive::Clienti ? clientSynonyms() : callSynonyms())
        for (const char* h : s.headings)
            if (form == QLatin1String(h))
                return QString::fromLatin1(s.key);
    // The export's own headings and the card's captions, whatever their punctuation.
    for (const ImportTarget& t : importTargets(archive))
        if (form == headingForm(t.caption))
            return t.key;
    return {};
}

namespace {

// A town column guessed as "town and province" when the sheet has a column for that province too: the
// province column fills the province and the town column only the town.
void separateTownsWithTheirProvinceColumn(QStringList& guesses) {
    static const struct {
        const QString& both;
        QString town;
        QString province;
    } towns[] = {
        {kComuneProvNasc, QStringLiteral("txtComuneNasc"), QStringLiteral("txtProvNasc")},
        {kComuneProvRes, QStringLiteral("txtComuneRes"), QStringLiteral("txtProvRes")},
    };
    for (const auto& t : towns)
        if (guesses.contains(t.province))
            for (QString& key : guesses)
                if (key == t.both)
                    key = t.town;
}

} // namespace

QStringList guessMapping(ImportArchive archive, const QStringList& headings) {
    QStringList guesses;
    for (const QString& heading : headings)
        guesses << guessTarget(archive, heading);
    separateTownsWithTheirProvinceColumn(guesses);
    QStringList mapping;
    QSet<QString> filled;
    for (QString key : guesses) {
        for (const QString& field : fieldsOf(archive, key))
            if (filled.contains(field))
                key.clear();
        for (const QString& field : fieldsOf(archive, key))
            filled.insert(field);
        mapping << key;
    }
    return mapping;
}

namespace {

QString mappingKey(ImportArchive archive, const QStringList& headings) {
    const QByteArray digest =
        QCryptographicHash::hash(headings.join(u'\n').toUtf8(), QCryptographicHash::Sha1).toHex();
    return (archive == ImportArchive::Clienti ? QStringLiteral("clienti/") : QStringLiteral("chiamate/")) +
           QString::fromLatin1(digest);
}

} // namespace

QStringList rememberedMapping(ImportArchive archive, const QStringList& headings) {
    QStringList guessed = guessMapping(archive, headings);
    if (!QFileInfo::exists(appPath(kImportMappingsFile)))
        return guessed;
    const QSettings ini(appPath(kImportMappingsFile), QSettings::IniFormat);
    const QStringList kept = ini.value(mappingKey(archive, headings)).toStringList();
    if (kept.size() != headings.size())
        return guessed;
    for (const QString& key : kept) {
        bool known = key.isEmpty();
        for (const ImportTarget& t : importTargets(archive))
            known = known || t.key == key;
        if (!known)
            return guessed;
    }
    return mappingProblem(archive, kept).isEmpty() ? kept : guessed;
}

bool rememberMapping(ImportArchive archive, const QStringList& headings, const QStringList& mapping) {
    QSettings ini(appPath(kImportMappingsFile), QSettings::IniFormat);
    ini.setValue(mappingKey(archive, headings), mapping);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString mappingProblem(ImportArchive archive, const QStringList& mapping) {
    QHash<QString, QString> byField; // field -> key that fills it
    for (const QString& key : mapping) {
        if (key.isEmpty())
            continue;
        const QStringList fields = fieldsOf(archive, key);
        if (fields.isEmpty())
            return QStringLiteral("Il campo \"%1\" non esiste nella scheda.").arg(key);
        for (const QString& field : fields) {
            if (byField.contains(field)) {
                const QString other = byField.value(field);
                return other == key
                           ? QStringLiteral("Il campo \"%1\" è stato scelto per due colonne: ogni campo può "
                                            "ricevere una sola colonna.")
                                 .arg(importTargetCaption(archive, key))
                           : QStringLiteral("I campi \"%1\" e \"%2\" riempiono la stessa parte della scheda: "
                                            "sceglierne uno solo.")
                                 .arg(importTargetCaption(archive, other), importTargetCaption(archive, key));
            }
            byField.insert(field, key);
        }
    }
    if (byField.isEmpty())
        return QStringLiteral("Nessuna colonna è stata associata a un campo della scheda.");
    return {};
}

std::size_t importRecordSize(ImportArchive archive) {
    return archive == ImportArchive::Clienti ? sizeof(TRecCliente) : sizeof(TRecChiamata);
}

QString importArchiveFile(ImportArchive archive) {
    return archive == ImportArchive::Clienti ? kClientiFile : kChiamateFile;
}

bool makeImportPlan(ImportArchive archive, const SheetTable& table, const QStringList& mapping, ImportPlan& plan,
                    QString* error) {
    plan = ImportPlan{};
    plan.archive = archive;
    const bool clients = archive == ImportArchive::Clienti;
    const FieldTable fields = clients ? FieldTable(kClienteFields) : FieldTable(kChiamataFields);
    const std::size_t size = importRecordSize(archive);

    ClientIndex archiveClients;
    ClientIdentity identity; // read again for every card and row
    QHash<QString, std::int64_t> archiveCalls;
    const bool read = scanArchive(archive, plan.fingerprint, error, [&](const std::uint8_t* record, std::int64_t n) {
        if (clients) {
            identity.read(*reinterpret_cast<const TRecCliente*>(record));
            archiveClients.add(identity, n);
        } else {
            const QString key = callKey(*reinterpret_cast<const TRecChiamata*>(record));
            if (!archiveCalls.contains(key))
                archiveCalls.insert(key, n);
        }
    });
    if (!read)
        return false;

    // Every text of a row by the index of its record field; -1 names no field (an empty text).
    const auto indexOf = [&](QStringView name) { return fieldIndex(fields, name); };
    std::vector<QString> values(fields.size());
    const QString none;
    const auto valueOf = [&](int index) -> const QString& {
        return index < 0 ? none : values[static_cast<std::size_t>(index)];
    };
    const auto setValue = [&](int index, QString text) {
        if (index >= 0)
            values[static_cast<std::size_t>(index)] = std::move(text);
    };

    // What each column fills, worked out once rather than for every cell.
    std::vector<int> columnField(static_cast<std::size_t>(mapping.size()), -1);
    std::vector<const CardField*> columnCard(static_cast<std::size_t>(mapping.size()), nullptr);
    enum class Column { Ignored, TownAndProvince, CallDate, CallTime, Day, Hours, Minutes, Month, Direction, Plain };
    std::vector<Column> columnKind(static_cast<std::size_t>(mapping.size()), Column::Ignored);
    for (qsizetype c = 0; c < mapping.size(); ++c) {
        const QString& key = mapping[c];
        Column& kind = columnKind[static_cast<std::size_t>(c)];
        if (key.isEmpty())
            kind = Column::Ignored;
        else if (key == kComuneProvNasc || key == kComuneProvRes)
            kind = Column::TownAndProvince;
        else if (key == kDataChiamata)
            kind = Column::CallDate;
        else if (key == kOraChiamata)
            kind = Column::CallTime;
        const QStringList target = fieldsOf(archive, key);
        if (target.size() == 1) {
            const QString& field = target.front();
            columnField[static_cast<std::size_t>(c)] = indexOf(field);
            columnCard[static_cast<std::size_t>(c)] = cardFieldOf(archive, field);
            if (kind == Column::Ignored && !key.isEmpty())
                kind = field == u"GiornoRit"   ? Column::Day
                       : field == u"OreRit"    ? Column::Hours
                       : field == u"MinutiRit" ? Column::Minutes
                       : field == u"MeseRit"   ? Column::Month
                       : field == u"Tipo"      ? Column::Direction
                                               : Column::Plain;
        }
    }
    // The card's box -> record field, for its save checks.
    QHash<QString, int> fieldOfControl;
    for (const CardField& f : clients ? std::span<const CardField>(kClientCardFields)
                                      : std::span<const CardField>(kCallCardFields))
        if (!fieldOfControl.contains(QLatin1String(f.control)))
            fieldOfControl.insert(QString::fromLatin1(f.control), indexOf(QString::fromLatin1(f.field)));
    const CardRules clientRules = clients ? clientCardRules() : CardRules{};
    const int ricontattaField = indexOf(QString::fromLatin1(kRicontattaField));
    const int comuneNasc = indexOf(u"ComuneNasc"), provNasc = indexOf(u"ProvNasc");
    const int comuneRes = indexOf(u"ComuneRes"), provRes = indexOf(u"ProvRes");
    const int giornoRit = indexOf(u"GiornoRit"), meseRit = indexOf(u"MeseRit"), annoRit = indexOf(u"AnnoRit");
    const int oreRit = indexOf(u"OreRit"), minutiRit = indexOf(u"MinutiRit");
    const int tipo = indexOf(u"Tipo"), dataRit = indexOf(u"DataRit"), oraRit = indexOf(u"OraRit");
    const int codFiscField = indexOf(u"CodFisc"), partitaIvaField = indexOf(u"PartitaIva");
    const int ibanField = indexOf(u"Iban");

    ClientIndex fileClients;
    if (clients)
        fileClients.reserve(table.rows.size());
    QHash<QString, std::int64_t> fileCalls;
    plan.recordSize = size;
    plan.rows.reserve(table.rows.size());
    plan.cardStart.reserve(table.rows.size() + 1);
    std::vector<std::uint8_t> scratch(size); // the row's card, whole
    for (const SheetRow& row : table.rows) {
        bool blank = true;
        for (qsizetype c = 0; c < row.size() && blank; ++c)
            blank = trimView(row.cell(c)).isEmpty();
        if (blank)
            continue;
        PlannedRow planned;
        planned.line = row.line;
        std::uint8_t* const record = scratch.data();
        std::memset(record, 0, size);
        for (QString& v : values)
            v.resize(0); // keeps the memory for the next row
        auto fail = [&](const QString& reason) {
            if (planned.verdict != RowVerdict::Error) {
                planned.verdict = RowVerdict::Error;
                planned.reason = reason;
            }
        };
        // A row cut short (a line break inside a cell that was not quoted, a row pasted half) would fill
        // only its first fields: said as what it is, not as the first missing field.
        if (row.size() < mapping.size())
            fail(QStringLiteral("%1 invece di %2").arg(importCount(row.size(), "cella", "celle")).arg(mapping.size()));
        for (qsizetype c = mapping.size(); c < row.size(); ++c)
            if (!trimView(row.cell(c)).isEmpty()) {
                fail(QStringLiteral("la riga ha più celle dell'intestazione (%1 invece di %2)")
                         .arg(row.size())
                         .arg(mapping.size()));
                break;
            }
        for (qsizetype c = 0; c < mapping.size(); ++c) {
            const Column kind = columnKind[static_cast<std::size_t>(c)];
            if (kind == Column::Ignored)
                continue;
            const QString& key = mapping[c];
            const QStringView text = trimView(row.cell(c));
            if (kind == Column::Plain) {
                const int field = columnField[static_cast<std::size_t>(c)];
                if (field >= 0)
                    filterInto(values[static_cast<std::size_t>(field)], columnCard[static_cast<std::size_t>(c)], text);
            } else if (kind == Column::TownAndProvince) {
                const bool nasc = key == kComuneProvNasc;
                QStringView town = text;
                QStringView province;
                const qsizetype space = text.lastIndexOf(u' ');
                if (space > 0 && isProvinceCode(text.mid(space + 1))) {
                    province = text.mid(space + 1);
                    town = trimView(text.left(space));
                }
                setValue(nasc ? comuneNasc : comuneRes, town.toString());
                setValue(nasc ? provNasc : provRes, province.toString());
            } else if (kind == Column::CallDate) {
                if (text.isEmpty())
                    continue;
                const std::optional<QDate> d = parseImportDate(text.toString());
                if (!d) {
                    fail(QStringLiteral("la data \"%1\" non è una data").arg(text));
                    continue;
                }
                setValue(giornoRit, twoDigits(d->day()));
                setValue(meseRit, kMonthNames[static_cast<std::size_t>(d->month() - 1)]);
                setValue(annoRit, QStringLiteral("%1").arg(d->year(), 4, 10, QLatin1Char('0')));
            } else if (kind == Column::CallTime) {
                if (text.isEmpty())
                    continue;
                const std::optional<QTime> t = parseImportTime(text.toString());
                if (!t) {
                    fail(QStringLiteral("l'ora \"%1\" non è un'ora").arg(text));
                    continue;
                }
                setValue(oreRit, twoDigits(t->hour()));
                setValue(minutiRit, twoDigits(t->minute()));
            } else {
                const int field = columnField[static_cast<std::size_t>(c)];
                QString value;
                filterInto(value, columnCard[static_cast<std::size_t>(c)], text);
                if (kind == Column::Day)
                    value = twoDigitNumber(value, 1, 31);
                else if (kind == Column::Hours)
                    value = twoDigitNumber(value, 0, 23);
                else if (kind == Column::Minutes)
                    value = twoDigitNumber(value, 0, 59);
                else if (kind == Column::Month)
                    value = monthName(value);
                else if (kind == Column::Direction) {
                    const QString form = headingForm(value);
                    if (form == u"in entrata" || form == u"entrata" || form == u"in" || form == u"inbound")
                        value = kTipoEntrata;
                    else if (form == u"in uscita" || form == u"uscita" || form == u"out" || form == u"outbound")
                        value = kTipoUscita;
                }
                setValue(field, std::move(value));
            }
        }
        if (clients) {
            // What a new card saved on the client card holds in its recontact box.
            setValue(ricontattaField, kRicontattaNo);
        } else {
            // A new call card proposes the first direction; a sheet without one gets it too.
            if (valueOf(tipo).isEmpty())
                setValue(tipo, kTipoEntrata);
            setValue(dataRit, callDateText(valueOf(giornoRit), valueOf(meseRit), valueOf(annoRit)));
            setValue(oraRit, callTimeText(valueOf(oreRit), valueOf(minutiRit)));
        }

        // The card's own save checks, on what its boxes would hold.
        const auto textOf = [&](const QString& control) {
            const auto it = fieldOfControl.constFind(control);
            return it == fieldOfControl.constEnd() ? QString() : valueOf(*it);
        };
        if (clients) {
            if (const auto missing = firstMissingField(clientRules.mandatory, textOf))
                fail(cleanMessage(clientRules.mandatory[*missing].warning));
        } else {
            const CallSaveVerdict verdict = checkCallCard(textOf);
            if (!verdict.passed())
                fail(cleanMessage(verdict.message));
        }

        // The code checks: a failed one is a warning, as on the cards.
        const QString& codFisc = valueOf(codFiscField);
        if (!codFisc.isEmpty() && checkCodiceFiscale(codFisc).verdict != CheckVerdict::Valid)
            planned.warnings << QStringLiteral("il codice fiscale %1 non è corretto").arg(codFisc);
        const QString& piva = valueOf(partitaIvaField);
        if (!piva.isEmpty() && checkPartitaIva(piva).verdict != CheckVerdict::Valid)
            planned.warnings << QStringLiteral("la partita IVA %1 non è corretta").arg(piva);
        const QString& iban = valueOf(ibanField);
        if (!iban.isEmpty() && checkIban(iban).verdict != CheckVerdict::Valid)
            planned.warnings << QStringLiteral("l'IBAN %1 non è corretto").arg(iban);

        // The card as stored: each text cut to its field, characters the archive cannot hold replaced.
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const FieldDef& f = fields[i];
            const QString* const it = &values[i];
            if (it->isEmpty())
                continue;
            // Plain ASCII is stored as it is: only other texts need the code page's round trip.
            bool ascii = true;
            for (const QChar c : *it)
                ascii = ascii && c.unicode() < 128;
            const QByteArray bytes = ascii ? QByteArray() : toCp1252(*it);
            const qsizetype stored = ascii ? it->size() : bytes.size();
            if (!ascii && fromCp1252(bytes) != *it)
                planned.warnings << QStringLiteral("\"%1\": caratteri che l'archivio non può contenere sostituiti")
                                        .arg(importFieldCaption(archive, f.name));
            if (static_cast<std::size_t>(stored) > f.capacity)
                planned.warnings << QStringLiteral("\"%1\" tagliato a %2 caratteri")
                                        .arg(importFieldCaption(archive, f.name))
                                        .arg(f.capacity);
            PutText(record, f, *it);
        }

        if (planned.verdict != RowVerdict::Error) {
            std::optional<std::int64_t> inArchive;
            std::optional<std::int64_t> inFile;
            if (clients) {
                identity.read(*reinterpret_cast<const TRecCliente*>(record));
                const std::optional<std::int64_t> earlier = fileClients.findAndAdd(identity, planned.line);
                inArchive = archiveClients.find(identity);
                if (!inArchive)
                    inFile = earlier;
            } else {
                const QString key = callKey(*reinterpret_cast<const TRecChiamata*>(record));
                if (const auto it = archiveCalls.constFind(key); it != archiveCalls.constEnd())
                    inArchive = *it;
                else if (const auto f = fileCalls.constFind(key); f != fileCalls.constEnd())
                    inFile = *f;
                if (!fileCalls.contains(key))
                    fileCalls.insert(key, planned.line);
            }
            if (inArchive) {
                planned.verdict = RowVerdict::Duplicate;
                planned.duplicateCard = *inArchive;
                planned.reason = QStringLiteral("doppione della scheda n. %1 dell'archivio").arg(*inArchive);
            } else if (inFile) {
                planned.verdict = RowVerdict::Duplicate;
                planned.duplicateLine = static_cast<int>(*inFile);
                planned.reason = QStringLiteral("doppione della riga %1 del file").arg(*inFile);
            }
        }
        // After a few rows, room for the rest as long as those were, rather than growing again and again.
        if (plan.cardStart.size() == 64)
            plan.cards.reserve(plan.cards.size() / 64 * table.rows.size() * 5 / 4);
        plan.cardStart.push_back(plan.cards.size());
        for (const FieldDef& f : fields) {
            const std::uint8_t length = record[f.offset];
            if (length == 0)
                continue;
            plan.cards.push_back(static_cast<std::uint8_t>(f.offset & 0xFF));
            plan.cards.push_back(static_cast<std::uint8_t>(f.offset >> 8));
            plan.cards.insert(plan.cards.end(), record + f.offset, record + f.offset + 1 + length);
        }
        switch (planned.verdict) {
        case RowVerdict::Ready:
            ++plan.ready;
            break;
        case RowVerdict::Duplicate:
            ++plan.duplicates;
            break;
        case RowVerdict::Error:
            ++plan.errors;
            break;
        }
        plan.rows.push_back(std::move(planned));
    }
    plan.cardStart.push_back(plan.cards.size());
    return true;
}

// The short form of a card names each field by an offset of two bytes.
static_assert(sizeof(TRecCliente) <= 0xFFFF && sizeof(TRecChiamata) <= 0xFFFF);

void ImportPlan::record(std::size_t row, std::uint8_t* out) const {
    std::memset(out, 0, recordSize);
    const std::uint8_t* p = cards.data() + cardStart[row];
    const std::uint8_t* const end = cards.data() + cardStart[row + 1];
    while (p < end) {
        const std::size_t offset = p[0] | static_cast<std::size_t>(p[1]) << 8;
        const std::size_t length = p[2];
        std::memcpy(out + offset, p + 2, 1 + length);
        p += 3 + length;
    }
}

std::vector<std::uint8_t> ImportPlan::record(std::size_t row) const {
    std::vector<std::uint8_t> out(recordSize);
    record(row, out.data());
    return out;
}

ImportResult runImport(const ImportPlan& plan, bool importDuplicates, const AppendProgress& progress) {
    ImportResult result;
    result.cardOf.assign(plan.rows.size(), 0);
    const std::size_t size = importRecordSize(plan.archive);
    // The chosen rows, whose cards are made from the plan a step at a time as they are written.
    std::vector<std::size_t> chosen;
    chosen.reserve(static_cast<std::size_t>(plan.ready + (importDuplicates ? plan.duplicates : 0)));
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const PlannedRow& row = plan.rows[i];
        if (row.verdict == RowVerdict::Ready || (row.verdict == RowVerdict::Duplicate && importDuplicates))
            chosen.push_back(i);
        else if (row.verdict == RowVerdict::Duplicate)
            ++result.duplicatesSkipped;
    }
    const AppendOutcome outcome = appendAllOrNothing(
        appPath(importArchiveFile(plan.archive)), size, static_cast<std::int64_t>(chosen.size()),
        [&](std::int64_t index, std::uint8_t* out) { plan.record(chosen[static_cast<std::size_t>(index)], out); },
        &plan.fingerprint, progress, &result.firstCard, &result.error);
    switch (outcome) {
    case AppendOutcome::Appended:
        result.outcome = ImportOutcome::Written;
        break;
    case AppendOutcome::Changed:
        result.outcome = ImportOutcome::ArchiveChanged;
        result.error = QStringLiteral("l'archivio è stato modificato da un'altra postazione dopo l'anteprima");
        return result;
    case AppendOutcome::Cancelled:
        result.outcome = ImportOutcome::Cancelled;
        return result;
    case AppendOutcome::Failed:
        result.outcome = ImportOutcome::Failed;
        return result;
    }
    std::int64_t next = result.firstCard;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const PlannedRow& row = plan.rows[i];
        if (row.verdict == RowVerdict::Ready || (row.verdict == RowVerdict::Duplicate && importDuplicates))
            result.cardOf[i] = next++;
    }
    result.written = static_cast<qsizetype>(next - result.firstCard);
    return result;
}

QStringList importReportLines(const ImportPlan& plan, const ImportResult& result, bool importDuplicates) {
    QStringList lines;
    const bool written = result.outcome == ImportOutcome::Written;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const PlannedRow& row = plan.rows[i];
        const std::int64_t card = i < result.cardOf.size() ? result.cardOf[i] : 0;
        QString line = QStringLiteral("riga %1: ").arg(row.line);
        if (row.verdict == RowVerdict::Error) {
            lines << line + row.reason;
        } else if (row.verdict == RowVerdict::Duplicate && !importDuplicates) {
            lines << line + row.reason + QStringLiteral(", saltata");
        } else if (!row.warnings.isEmpty() || row.verdict == RowVerdict::Duplicate) {
            QStringList parts;
            if (written && card > 0)
                parts << QStringLiteral("scheda n. %1").arg(card);
            if (row.verdict == RowVerdict::Duplicate)
                parts << row.reason;
            parts << row.warnings;
            lines << line + parts.join(QStringLiteral("; "));
        }
    }
    lines << importSummaryLine(plan, result);
    return lines;
}

QString importCount(qsizetype n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

QString importCounts(qsizetype cards, qsizetype duplicatesSkipped, qsizetype errors) {
    return QStringLiteral("%1, %2, %3")
        .arg(importCount(cards, "scheda", "schede"),
             importCount(duplicatesSkipped, "duplicato saltato", "duplicati saltati"),
             importCount(errors, "riga con errori", "righe con errori"));
}

QString importSummaryLine(const ImportPlan& plan, const ImportResult& result) {
    return (result.written == 1 ? QStringLiteral("Importata ") : QStringLiteral("Importate ")) +
           importCounts(result.written, result.duplicatesSkipped, plan.errors);
}

} // namespace ombrisa
