#pragma once

// The one rule that tells whether two client cards are the same client, used by the import, by the
// client card's save and by `ombrisa-tool duplicates`.
//
// Two clients are the same when
//  - their codici fiscali, trimmed and without regard to case, are equal and not empty; or
//  - their partite IVA, trimmed, are equal and not empty; or
//  - their names (trimmed, without regard to case and accents, runs of blanks as one) are equal and
//    not empty, and they share a telephone number (any of the four telephone fields, compared as
//    core/phone/phonenumber.h says), not empty.

#include "core/phone/phonenumber.h" // comparablePhone
#include "core/records/records.h"
#include "core/storage/texttable.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisa {

QString comparableCode(QStringView code);
QString comparableName(QStringView name);

// The parts of a client card the rule compares, each in its compared form (comparableCode,
// comparableName, comparablePhone) as UTF-8 bytes, all in one buffer: reading one card after another into
// the same identity allocates nothing once the buffer is large enough. Fields of plain ASCII (nearly all of
// them) are compared straight from their stored bytes; others go through the text forms above.
class ClientIdentity {
public:
    // Reads `record`'s parts, reusing the memory of the last read.
    void read(const TRecCliente& record);

    std::string_view codFisc() const { return part(0); }
    std::string_view partitaIva() const { return part(1); }
    std::string_view name() const { return part(2); }
    // The distinct telephone numbers, none empty, in the order of the card's fields.
    int phoneCount() const { return parts_ - 3; }
    std::string_view phone(int i) const { return part(3 + i); }

private:
    std::string_view part(int i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[static_cast<std::size_t>(i - 1)];
        return std::string_view(bytes_).substr(begin, ends_[static_cast<std::size_t>(i)] - begin);
    }
    void endPart() { ends_[static_cast<std::size_t>(parts_++)] = bytes_.size(); }

    std::string bytes_;
    std::array<std::size_t, 7> ends_{}; // where each part ends in bytes_
    int parts_ = 0;
};

ClientIdentity clientIdentity(const TRecCliente& record);

bool sameClient(const ClientIdentity& a, const ClientIdentity& b);

// The cards seen so far, to find the first one a new card matches as fast as a hash look-up.
class ClientIndex {
public:
    // Adds card `number` (from 1; any number an earlier row of a file may also use).
    void add(const ClientIdentity& identity, std::int64_t number);
    // The smallest number of an added card the same client as `identity`, or nullopt.
    std::optional<std::int64_t> find(const ClientIdentity& identity) const;
    // find() and then add(), with one look-up for each key (a file's rows against the rows before them).
    std::optional<std::int64_t> findAndAdd(const ClientIdentity& identity, std::int64_t number);
    bool isEmpty() const { return byCodFisc_.isEmpty() && byPartitaIva_.isEmpty() && byNamePhone_.isEmpty(); }
    // Room for about `cards` cards, so that adding them does not grow the tables again and again.
    void reserve(std::size_t cards);

private:
    // The key of the name and one telephone number: name, a line break, number.
    QByteArrayView namePhoneKey(const ClientIdentity& identity, int phone) const;

    TextTable<std::int64_t> byCodFisc_;
    TextTable<std::int64_t> byPartitaIva_;
    TextTable<std::int64_t> byNamePhone_;
    mutable std::string key_; // where namePhoneKey builds its key (an index is used by one thread)
};

// The groups of cards of the client archive in the program's folder that are the same client (each group
// in card order, groups by their first card), joined through the rule: when A matches B and B matches C
// the three are one group. A missing archive has none. False with `error` when it cannot be read.
bool findDuplicateClients(std::vector<std::vector<std::int64_t>>& groups, QString* error);

// The question the client card asks before saving a new card that matches card `number`: Sì saves it,
// No shows card `number` instead.
QString duplicateClientQuestion(std::int64_t number);

// The first card of the client archive in the program's folder that is the same client as `record`,
// other than card `except` (the card being saved in place, 0 for none). nullopt when there is none; a
// read failure gives false with `error`.
bool findExistingClient(const TRecCliente& record, std::int64_t except, std::optional<std::int64_t>& found,
                        QString* error);

} // namespace ombrisa
