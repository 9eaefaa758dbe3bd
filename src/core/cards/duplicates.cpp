#include "core/cards/duplicates.h"

#include "core/phone/phonenumber.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/codepage.h"
#include "core/storage/archivereader.h"
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

namespace {

bool plainAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
}

void appendUtf8(std::string& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    out.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

// comparableCode of a field's trimmed Windows-1252 bytes, appended as UTF-8.
void appendCode(std::string& out, QByteArrayView bytes) {
    if (!plainAscii(bytes)) {
        appendUtf8(out, comparableCode(fromCp1252(bytes.data(), bytes.size())));
        return;
    }
    for (const char c : bytes)
        out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
}

// comparableName of a field's trimmed Windows-1252 bytes, appended as UTF-8. In ASCII nothing decomposes,
// the blanks are the codes up to 32, and folding the case is lowering it.
void appendName(std::string& out, QByteArrayView bytes) {
    if (!plainAscii(bytes)) {
        appendUtf8(out, comparableName(fromCp1252(bytes.data(), bytes.size())));
        return;
    }
    bool blank = false;
    const std::size_t start = out.size();
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) <= 32) {
            blank = true;
            continue;
        }
        if (blank && out.size() > start)
            out.push_back(' ');
        blank = false;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
}

// comparablePhone of a field's trimmed Windows-1252 bytes, into `out` (room for the field's bytes): digits
// and '+' are the same bytes in Windows-1252 as in Unicode, and no other byte is either.
std::string_view phoneDigits(QByteArrayView bytes, char* out) {
    std::size_t n = 0;
    for (const char c : bytes)
        if (c >= '0' && c <= '9')
            out[n++] = c;
    std::string_view digits(out, n);
    if (digits.starts_with("0039"))
        digits.remove_prefix(4);
    else if (bytes.startsWith('+') && digits.starts_with("39"))
        digits.remove_prefix(2);
    return digits;
}

// Every text field holds at most this many bytes.
constexpr std::size_t kFieldBytes = 255;

template <std::size_t N> QByteArrayView trimmedField(const ShortString<N>& field) {
    return storedText(&field.length, N);
}

} // namespace

void ClientIdentity::read(const TRecCliente& r) {
    bytes_.clear();
    parts_ = 0;
    appendCode(bytes_, trimmedField(r.CodFisc));
    endPart();
    appendCode(bytes_, trimmedField(r.PartitaIva));
    endPart();
    appendName(bytes_, trimmedField(r.Cliente));
    endPart();
    for (const QByteArrayView phone :
         {trimmedField(r.Recapito), trimmedField(r.TelCasa), trimmedField(r.TelUff), trimmedField(r.TelCel)}) {
        char digits[kFieldBytes];
        const std::string_view added = phoneDigits(phone, digits);
        bool seen = added.empty();
        for (int i = 0; i < phoneCount() && !seen; ++i)
            seen = this->phone(i) == added;
        if (!seen) {
            bytes_.append(added);
            endPart();
        }
    }
}

ClientIdentity clientIdentity(const TRecCliente& r) {
    ClientIdentity id;
    id.read(r);
    return id;
}

bool sameClient(const ClientIdentity& a, const ClientIdentity& b) {
    if (!a.codFisc().empty() && a.codFisc() == b.codFisc())
        return true;
    if (!a.partitaIva().empty() && a.partitaIva() == b.partitaIva())
        return true;
    if (a.name().empty() || a.name() != b.name())
        return false;
    for (int i = 0; i < a.phoneCount(); ++i)
        for (int j = 0; j < b.phoneCount(); ++j)
            if (a.phone(i) == b.phone(j))
                return true;
    return false;
}

namespace {

QByteArrayView view(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

QByteArrayView ClientIndex::namePhoneKey(const ClientIdentity& id, int phone) const {
    key_.assign(id.name());
    key_.push_back('\n');
    key_.append(id.phone(phone));
    return view(key_);
}

void ClientIndex::add(const ClientIdentity& id, std::int64_t number) {
    const auto keep = [number](TextTable<std::int64_t>& table, QByteArrayView key) {
        bool added = false;
        std::int64_t& first = table.findOrInsert(key, number, added);
        first = std::min(first, number);
    };
    if (!id.codFisc().empty())
        keep(byCodFisc_, view(id.codFisc()));
    if (!id.partitaIva().empty())
        keep(byPartitaIva_, view(id.partitaIva()));
    if (id.name().empty())
        return;
    for (int i = 0; i < id.phoneCount(); ++i)
        keep(byNamePhone_, namePhoneKey(id, i));
}

std::optional<std::int64_t> ClientIndex::find(const ClientIdentity& id) const {
    std::optional<std::int64_t> best;
    if (isEmpty())
        return best;
    auto consider = [&](const TextTable<std::int64_t>& table, QByteArrayView key) {
        if (key.isEmpty())
            return;
        if (const std::int64_t* found = table.find(key); found && (!best || *found < *best))
            best = *found;
    };
    consider(byCodFisc_, view(id.codFisc()));
    consider(byPartitaIva_, view(id.partitaIva()));
    if (!id.name().empty())
        for (int i = 0; i < id.phoneCount(); ++i)
            consider(byNamePhone_, namePhoneKey(id, i));
    return best;
}

void ClientIndex::reserve(std::size_t cards) {
    byCodFisc_.reserve(cards);
    byPartitaIva_.reserve(cards);
    byNamePhone_.reserve(cards);
}

std::optional<std::int64_t> ClientIndex::findAndAdd(const ClientIdentity& id, std::int64_t number) {
    std::optional<std::int64_t> best;
    auto visit = [&](TextTable<std::int64_t>& table, QByteArrayView key) {
        bool added = false;
        std::int64_t& slot = table.findOrInsert(key, number, added);
        if (!added) {
            if (!best || slot < *best)
                best = slot;
            slot = std::min(slot, number);
        }
    };
    if (!id.codFisc().empty())
        visit(byCodFisc_, view(id.codFisc()));
    if (!id.partitaIva().empty())
        visit(byPartitaIva_, view(id.partitaIva()));
    if (!id.name().empty())
        for (int i = 0; i < id.phoneCount(); ++i)
            visit(byNamePhone_, namePhoneKey(id, i));
    return best;
}

namespace {

// Reads every card of the client archive, calling `each(record, number)`.
template <class Each> bool scanClients(QString* error, Each each) {
    const ArchiveScan read = forEachRecord<TRecCliente>(appPath(kClientiFile), each);
    if (!read.ok && error)
        *error = read.error;
    return read.ok;
}

// A quick look at a card's bytes, before the rule itself: false only for a card that cannot be the same
// client as `wanted` (no equal code, no shared telephone), so that a scan reads and compares whole
// identities only for the few cards that may match.
class CardBytesFilter {
public:
    explicit CardBytesFilter(const ClientIdentity& wanted)
        : codFisc_(wanted.codFisc()), partitaIva_(wanted.partitaIva()) {
        if (!wanted.name().empty())
            for (int i = 0; i < wanted.phoneCount(); ++i)
                phones_.emplace_back(wanted.phone(i));
    }

    bool mayMatch(const TRecCliente& card) const {
        if (!codFisc_.empty() && mayEqual(trimmedField(card.CodFisc), codFisc_))
            return true;
        if (!partitaIva_.empty() && mayEqual(trimmedField(card.PartitaIva), partitaIva_))
            return true;
        if (phones_.empty())
            return false;
        return sharesPhone(trimmedField(card.Recapito)) || sharesPhone(trimmedField(card.TelCasa)) ||
               sharesPhone(trimmedField(card.TelUff)) || sharesPhone(trimmedField(card.TelCel));
    }

private:
    // A code of plain letters and digits compared without regard to case; any other byte goes to the rule.
    static bool mayEqual(QByteArrayView field, const std::string& wanted) {
        if (!plainAscii(field))
            return true;
        return static_cast<std::size_t>(field.size()) == wanted.size() &&
               std::equal(field.begin(), field.end(), wanted.begin(), [](char a, char b) {
                   return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
               });
    }
    bool sharesPhone(QByteArrayView field) const {
        char buffer[kFieldBytes];
        const std::string_view digits = phoneDigits(field, buffer);
        return !digits.empty() && std::find(phones_.begin(), phones_.end(), digits) != phones_.end();
    }

    std::string codFisc_, partitaIva_; // UTF-8: a code with other letters equals no plain field
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
    TextTable<std::int64_t> firstOf[3];
    ClientIdentity id;
    std::string key;
    const bool ok = scanClients(error, [&](const TRecCliente& record, std::int64_t number) {
        id.read(record);
        parent.push_back(number);
        auto join = [&](TextTable<std::int64_t>& table, std::string_view bytes) {
            bool added = false;
            const std::int64_t first =
                table.findOrInsert(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())), number, added);
            if (added)
                return;
            const std::int64_t a = findRoot(parent, first);
            const std::int64_t b = findRoot(parent, number);
            if (a != b)
                parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
        };
        if (!id.codFisc().empty())
            join(firstOf[0], id.codFisc());
        if (!id.partitaIva().empty())
            join(firstOf[1], id.partitaIva());
        if (!id.name().empty())
            for (int i = 0; i < id.phoneCount(); ++i) {
                key.assign(id.name()).push_back('\n');
                join(firstOf[2], key.append(id.phone(i)));
            }
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
    if (wanted.codFisc().empty() && wanted.partitaIva().empty() && (wanted.name().empty() || wanted.phoneCount() == 0))
        return true;
    const CardBytesFilter filter(wanted);
    ClientIdentity card;
    return scanClients(error, [&](const TRecCliente& other, std::int64_t number) {
        if (found || number == except || !filter.mayMatch(other))
            return;
        card.read(other);
        if (sameClient(wanted, card))
            found = number;
    });
}

} // namespace ombrisa
