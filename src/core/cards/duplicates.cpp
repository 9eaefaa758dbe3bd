#include "core/cards/duplicates.h"

#include "core/phone/phonenumber.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"

#include <QFileInfo>
#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <string_view>

namespace ombrisa {

QString comparableCode(QStringView code) {
    return trimView(code).toString().toUpper();
}

QString comparableName(QStringView name) {
    const QStringView trimmed = trimView(name);
    bool plain = true;
    for (const QChar c : trimmed)
        plain = plain && c.unicode() < 128;
    // Most names are plain letters: nothing to decompose.
    const QString decomposed = plain ? trimmed.toString() : trimmed.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    bool blank = false;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isSpace() || c.unicode() <= 32) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out += u' ';
        blank = false;
        out += c.toCaseFolded();
    }
    return out;
}

ClientIdentity clientIdentity(const TRecCliente& r) {
    ClientIdentity id;
    id.codFisc = comparableCode(GetText(r.CodFisc));
    id.partitaIva = comparableCode(GetText(r.PartitaIva));
    id.name = comparableName(GetText(r.Cliente));
    for (const QString& phone : {GetText(r.Recapito), GetText(r.TelCasa), GetText(r.TelUff), GetText(r.TelCel)}) {
        QString p = comparablePhone(phone);
        if (!p.isEmpty() && !id.phones.contains(p))
            id.phones.append(std::move(p));
    }
    return id;
}

bool sameClient(const ClientIdentity& a, const ClientIdentity& b) {
    if (!a.codFisc.isEmpty() && a.codFisc == b.codFisc)
        return true;
    if (!a.partitaIva.isEmpty() && a.partitaIva == b.partitaIva)
        return true;
    if (a.name.isEmpty() || a.name != b.name)
        return false;
    for (const QString& p : a.phones)
        if (b.phones.contains(p))
            return true;
    return false;
}

void ClientIndex::add(const ClientIdentity& id, std::int64_t number) {
    if (!id.codFisc.isEmpty())
        byCodFisc_.insert(id.codFisc, std::min(number, byCodFisc_.value(id.codFisc, number)));
    if (!id.partitaIva.isEmpty())
        byPartitaIva_.insert(id.partitaIva, std::min(number, byPartitaIva_.value(id.partitaIva, number)));
    if (id.name.isEmpty())
        return;
    for (const QString& p : id.phones) {
        const QString key = id.name + u'\n' + p;
        byNamePhone_.insert(key, std::min(number, byNamePhone_.value(key, number)));
    }
}

std::optional<std::int64_t> ClientIndex::find(const ClientIdentity& id) const {
    std::optional<std::int64_t> best;
    if (isEmpty())
        return best;
    auto consider = [&](const QHash<QString, std::int64_t>& map, const QString& key) {
        if (key.isEmpty())
            return;
        const auto it = map.constFind(key);
        if (it != map.constEnd() && (!best || *it < *best))
            best = *it;
    };
    consider(byCodFisc_, id.codFisc);
    consider(byPartitaIva_, id.partitaIva);
    if (!id.name.isEmpty())
        for (const QString& p : id.phones)
            consider(byNamePhone_, id.name + u'\n' + p);
    return best;
}

void ClientIndex::reserve(qsizetype cards) {
    byCodFisc_.reserve(cards);
    byPartitaIva_.reserve(cards);
    byNamePhone_.reserve(cards);
}

std::optional<std::int64_t> ClientIndex::findAndAdd(const ClientIdentity& id, std::int64_t number) {
    std::optional<std::int64_t> best;
    auto visit = [&](QHash<QString, std::int64_t>& map, const QString& key) {
        const qsizetype before = map.size();
        std::int64_t& slot = map[key];
        if (map.size() == before) {
            if (!best || slot < *best)
                best = slot;
            slot = std::min(slot, number);
        } else {
            slot = number;
        }
    };
    if (!id.codFisc.isEmpty())
        visit(byCodFisc_, id.codFisc);
    if (!id.partitaIva.isEmpty())
        visit(byPartitaIva_, id.partitaIva);
    if (!id.name.isEmpty()) {
        QString key;
        for (const QString& p : id.phones) {
            key.clear();
            key.append(id.name).append(u'\n').append(p);
            visit(byNamePhone_, key);
        }
    }
    return best;
}

namespace {

// Reads every card of the client archive, calling `each(record, number)`.
template <class Each> bool scanClients(QString* error, Each each) {
    const QString path = appPath(kClientiFile);
    if (!TRecordFile::Present(path))
        return true;
    TRecordFile file;
    TRecCliente record;
    bool ok = file.OpenOrCreate(path, sizeof record, TRecordFile::Access::Read);
    while (ok && !file.AtEnd()) {
        const std::int64_t number = file.Position() + 1;
        ok = file.ReadRecord(record);
        if (ok)
            each(record, number);
    }
    if (!ok) {
        if (error)
            *error = file.ErrorString();
        return false;
    }
    file.Close();
    return true;
}

// A text field's bytes after the trim GetText makes (Windows-1252 keeps 0..32 where Unicode has them).
template <std::size_t N> std::string_view trimmedBytes(const ShortString<N>& field) {
    const QByteArrayView bytes = storedText(&field.length, N);
    return {bytes.data(), static_cast<std::size_t>(bytes.size())};
}

bool plainAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
}

// comparablePhone on a field's bytes: digits and '+' are the same bytes in Windows-1252 as in Unicode,
// and no other byte is either, so this gives the same digits without building text.
template <std::size_t N> std::string_view phoneDigits(const ShortString<N>& field, char (&buffer)[256]) {
    const std::string_view bytes = trimmedBytes(field);
    std::size_t n = 0;
    for (const char c : bytes)
        if (c >= '0' && c <= '9')
            buffer[n++] = c;
    std::string_view digits(buffer, n);
    if (digits.starts_with("0039"))
        digits.remove_prefix(4);
    else if (bytes.starts_with('+') && digits.starts_with("39"))
        digits.remove_prefix(2);
    return digits;
}

// A quick look at a card's bytes, before the rule itself: false only for a card that cannot be the same
// client as `wanted` (no equal code, no shared telephone), so that a scan decodes and compares whole
// identities only for the few cards that may match.
class CardBytesFilter {
public:
    explicit CardBytesFilter(const ClientIdentity& wanted)
        : codFisc_(wanted.codFisc.toStdString()), partitaIva_(wanted.partitaIva.toStdString()),
          anyCodFisc_(!wanted.codFisc.isEmpty()), anyPartitaIva_(!wanted.partitaIva.isEmpty()) {
        if (!wanted.name.isEmpty())
            for (const QString& p : wanted.phones)
                phones_.push_back(p.toStdString());
    }

    bool mayMatch(const TRecCliente& card) const {
        if (anyCodFisc_ && mayEqual(trimmedBytes(card.CodFisc), codFisc_))
            return true;
        if (anyPartitaIva_ && mayEqual(trimmedBytes(card.PartitaIva), partitaIva_))
            return true;
        if (phones_.empty())
            return false;
        char buffer[256];
        return sharesPhone(phoneDigits(card.Recapito, buffer)) || sharesPhone(phoneDigits(card.TelCasa, buffer)) ||
               sharesPhone(phoneDigits(card.TelUff, buffer)) || sharesPhone(phoneDigits(card.TelCel, buffer));
    }

private:
    // A code of plain letters and digits compared without regard to case; any other byte goes to the rule.
    static bool mayEqual(std::string_view field, const std::string& wanted) {
        if (!plainAscii(field))
            return true;
        return field.size() == wanted.size() &&
               std::equal(field.begin(), field.end(), wanted.begin(), [](char a, char b) {
                   return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
               });
    }
    bool sharesPhone(std::string_view digits) const {
        return !digits.empty() && std::find(phones_.begin(), phones_.end(), digits) != phones_.end();
    }

    std::string codFisc_, partitaIva_; // UTF-8: a code with other letters equals no plain field
    bool anyCodFisc_, anyPartitaIva_;
    std::vector<std::string> phones_;
};

std::int64_t findRoot(std::vector<std::int64_t>& parent, std::int64_t i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        parent[static_cast<std::size_t>(i)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
        i = parent[static_cast<std::size_t>(i)];
    }
    return i;
}

} // namespace

bool findDuplicateClients(std::vector<std::vector<std::int64_t>>& groups, QString* error) {
    groups.clear();
    // Each card is joined to the first earlier card it matches through each clause; the index keeps the
    // first card of every key, so chains through any key end in one group.
    std::vector<std::int64_t> parent(1, 0);
    QHash<QString, std::int64_t> firstOf[3];
    const bool ok = scanClients(error, [&](const TRecCliente& record, std::int64_t number) {
        const ClientIdentity id = clientIdentity(record);
        parent.push_back(number);
        auto join = [&](QHash<QString, std::int64_t>& map, const QString& key) {
            const auto it = map.constFind(key);
            if (it == map.constEnd()) {
                map.insert(key, number);
                return;
            }
            const std::int64_t a = findRoot(parent, *it);
            const std::int64_t b = findRoot(parent, number);
            if (a != b)
                parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
        };
        if (!id.codFisc.isEmpty())
            join(firstOf[0], id.codFisc);
        if (!id.partitaIva.isEmpty())
            join(firstOf[1], id.partitaIva);
        if (!id.name.isEmpty())
            for (const QString& p : id.phones)
                join(firstOf[2], id.name + u'\n' + p);
    });
    if (!ok)
        return false;
    std::map<std::int64_t, std::vector<std::int64_t>> byRoot;
    for (std::int64_t n = 1; n < static_cast<std::int64_t>(parent.size()); ++n)
        byRoot[findRoot(parent, n)].push_back(n);
    for (auto& [root, members] : byRoot)
        if (members.size() > 1)
            groups.push_back(std::move(members));
    return true;
}

QString duplicateClientQuestion(std::int64_t number) {
    return QStringLiteral("Esiste già una scheda per questo cliente (scheda n. %1). Salvare comunque?\n\r\n\r"
                          "Sì: inserisce in archivio la scheda sullo schermo come nuova scheda.\n\r"
                          "No: mostra la scheda n. %1 (la scheda sullo schermo non viene salvata).")
        .arg(number);
}

bool findExistingClient(const TRecCliente& record, std::int64_t except, std::optional<std::int64_t>& found,
                        QString* error) {
    found.reset();
    const ClientIdentity wanted = clientIdentity(record);
    if (wanted.codFisc.isEmpty() && wanted.partitaIva.isEmpty() && (wanted.name.isEmpty() || wanted.phones.isEmpty()))
        return true;
    const CardBytesFilter filter(wanted);
    return scanClients(error, [&](const TRecCliente& card, std::int64_t number) {
        if (!found && number != except && filter.mayMatch(card) && sameClient(wanted, clientIdentity(card)))
            found = number;
    });
}

} // namespace ombrisa
