#pragma once

// Who is calling: every telephone number of the client archive in its compared form, with the cards
// that hold it. Built once by reading the archive, then brought up to date before each lookup when the
// archive's size or time changed: when it only grew, the cards read before are checked against a
// digest of their name and telephone fields and only the cards added since are indexed (a card saved
// in place meanwhile makes it read everything again); when it changed in any other way (a card saved
// in place, a restore), it is read again whole. A card saved in place with neither size nor time
// changing (a coarse clock) is not seen: a caller-id lookup confirms a hit on the card itself before
// trusting it.

#include "core/phone/phonenumber.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ombrisa {

// One card that holds the number: its number (from 1), its name and which telephone field matched
// (an index into kClientPhoneFields).
struct PhoneMatch {
    std::int64_t card = 0;
    QString name;
    int field = 0;
    bool operator==(const PhoneMatch&) const = default;
};

class PhoneIndex {
public:
    explicit PhoneIndex(QString archivePath);

    // Reads what changed since the last call (everything the first time). A missing archive is an
    // empty one. False, with the reason in `error`, when the archive cannot be read; the index then
    // forgets what it knew.
    bool refresh(QString* error = nullptr);

    // The cards whose telephone fields hold `comparable` (a compared form, as phoneQuery gives it), in
    // card order; a card with the number in two fields is listed once, with the first.
    std::vector<PhoneMatch> lookup(const QString& comparable) const;

    // refresh() then lookup(); false when the archive cannot be read.
    bool find(const QString& comparable, std::vector<PhoneMatch>* matches, QString* error = nullptr);

    const QString& path() const { return path_; }
    std::int64_t cardCount() const { return static_cast<std::int64_t>(names_.size()); }

private:
    bool read(QString* error);
    void clear();

    struct Entry {
        std::int64_t card;
        int field;
    };
    QString path_;
    QHash<QString, std::vector<Entry>> byNumber_;
    QStringList names_; // card n is names_[n - 1]
    std::vector<std::size_t> digests_; // of card n's name and telephone fields, at [n - 1]
    qint64 size_ = -1;
    QDateTime modified_;
};

// The date of the last call of each client in the call register at `registerPath`, for the chooser
// of several cards with the caller's number: a call is a client's when their codici fiscali are equal
// (trimmed, any case) and not empty. One entry per code, in order; an invalid QDate when there is no
// such call (or the code is empty). False, with the reason, when the register cannot be read.
bool lastCallDates(const QString& registerPath, const QStringList& codiciFiscali, std::vector<QDate>* dates,
                   QString* error = nullptr);

} // namespace ombrisa
