#include "core/phone/phoneindex.h"

#include "core/cards/duplicates.h" // comparableCode
#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/search/searchrules.h" // readCard
#include "core/storage/archivereader.h"
#include "core/storage/textfield.h"

#include <QFileInfo>

namespace ombrisa {

namespace {

// The four telephone fields of a card, in the order of kClientPhoneFields.
std::array<QString, 4> phonesOf(const TRecCliente& r) {
    return {GetText(r.Recapito), GetText(r.TelCasa), GetText(r.TelUff), GetText(r.TelCel)};
}

template <std::size_t N> std::size_t hashField(const ShortString<N>& field, std::size_t seed) {
    return qHash(storedText(&field.length, N), seed);
}

// What the index takes from a card (its name and telephone fields as stored), as one number: a card
// whose number changed since it was read has changed for the index.
std::size_t digestOf(const TRecCliente& r) {
    std::size_t h = hashField(r.Cliente, 0);
    h = hashField(r.Recapito, h);
    h = hashField(r.TelCasa, h);
    h = hashField(r.TelUff, h);
    return hashField(r.TelCel, h);
}

} // namespace

PhoneIndex::PhoneIndex(QString archivePath) : path_(std::move(archivePath)) {}

void PhoneIndex::clear() {
    byNumber_.clear();
    names_.clear();
    digests_.clear();
    size_ = -1;
    modified_ = {};
}

bool PhoneIndex::refresh(QString* error) {
    const QFileInfo info(path_);
    if (!info.exists()) {
        clear();
        size_ = 0;
        return true;
    }
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    if (size == size_ && modified == modified_)
        return true;
    // When the archive only grew, the cards read before are kept (read() checks that they did not
    // change); otherwise it is read again whole.
    const bool grew = size_ >= 0 && size > size_;
    if (!grew)
        clear();
    if (!read(error)) {
        clear();
        return false;
    }
    size_ = size;
    modified_ = modified;
    return true;
}

bool PhoneIndex::read(QString* error) {
    // The cards read before are read again and compared by their digest: a card saved in place with a
    // new number between two look-ups, while another was added, must not keep its old numbers.
    const std::int64_t known = cardCount();
    bool changed = false;
    const ArchiveScan scan = forEachRecord<TRecCliente>(
        path_,
        [&](const TRecCliente& rec, std::int64_t card) {
            if (changed)
                return false;
            const std::size_t digest = digestOf(rec);
            if (card <= known) {
                changed = digests_[static_cast<std::size_t>(card - 1)] != digest;
                return !changed;
            }
            digests_.push_back(digest);
            names_.append(trimText(GetText(rec.Cliente)));
            const std::array<QString, 4> phones = phonesOf(rec);
            for (int i = 0; i < static_cast<int>(phones.size()); ++i) {
                const QString key = comparablePhone(phones[static_cast<std::size_t>(i)]);
                if (key.isEmpty())
                    continue;
                std::vector<Entry>& entries = byNumber_[key];
                if (entries.empty() || entries.back().card != card)
                    entries.push_back({card, i});
            }
            return true;
        },
        [&](std::int64_t count) { changed = count < known; });
    if (!scan.ok) {
        if (error)
            *error = scan.error;
        return false;
    }
    if (changed) {
        // A card read before is not what it was: everything is read again (with nothing known, once).
        clear();
        return read(error);
    }
    return true;
}

std::vector<PhoneMatch> PhoneIndex::lookup(const QString& comparable) const {
    std::vector<PhoneMatch> out;
    if (comparable.isEmpty())
        return out;
    const auto it = byNumber_.constFind(comparable);
    if (it == byNumber_.constEnd())
        return out;
    for (const Entry& e : *it)
        out.push_back({e.card, names_.value(static_cast<qsizetype>(e.card - 1)), e.field});
    return out;
}

bool PhoneIndex::find(const QString& comparable, std::vector<PhoneMatch>* matches, QString* error) {
    if (!refresh(error))
        return false;
    *matches = lookup(comparable);
    // A hit is confirmed on its card: one saved in place since the last reading reads the archive again.
    for (const PhoneMatch& m : *matches) {
        TRecCliente rec;
        if (readCard(path_, sizeof rec, m.card, &rec) &&
            comparablePhone(phonesOf(rec)[static_cast<std::size_t>(m.field)]) == comparable)
            continue;
        clear();
        if (!refresh(error))
            return false;
        *matches = lookup(comparable);
        break;
    }
    return true;
}

bool lastCallDates(const QString& registerPath, const QStringList& codiciFiscali, std::vector<QDate>* dates,
                   QString* error) {
    dates->assign(static_cast<std::size_t>(codiciFiscali.size()), QDate());
    QHash<QString, std::vector<std::size_t>> wanted;
    for (qsizetype i = 0; i < codiciFiscali.size(); ++i)
        if (const QString code = comparableCode(codiciFiscali[i]); !code.isEmpty())
            wanted[code].push_back(static_cast<std::size_t>(i));
    if (wanted.isEmpty())
        return true;
    const ArchiveScan scan = forEachRecord<TRecChiamata>(registerPath, [&](const TRecChiamata& rec, std::int64_t) {
        const auto it = wanted.constFind(comparableCode(GetText(rec.CodFisc)));
        if (it == wanted.constEnd())
            return;
        const std::optional<QDate> date = parseDate(GetText(rec.DataRit));
        if (!date)
            return;
        for (const std::size_t i : *it)
            if (!(*dates)[i].isValid() || *date > (*dates)[i])
                (*dates)[i] = *date;
    });
    if (!scan.ok) {
        if (error)
            *error = scan.error;
        return false;
    }
    return true;
}

} // namespace ombrisa
