#pragma once

// When each client card was created and last changed. The fixed record holds no such date, so it is kept
// beside the archive, in a small archive of its own (kClientDatesFile) that only grows: every stamp appends
// one 16-byte entry, the card number in seven ASCII digits, 'N' for a new card or 'M' for a change, and
// the day as "yyyyMMdd". A card's creation is its latest 'N' entry, its last change the latest day of all
// its entries; a card without entries (written before the file existed, or by a program that does not
// keep it) has unknown dates. It is an archive like the others (its lock, its journal), and stamping is
// only ever an append: one write, however many cards an import adds.
//
// What it promises: a date it holds is never earlier than the card's real last change. Every write of a
// client card stamps the card here first, under the archive's own exclusive lock (so the card's number
// is settled), and only then writes the card: a save that fails after the stamp leaves a date later than
// the truth, which only keeps the card longer; a stamp that fails stops the save. Lock order: the
// archive, then this file; nobody takes them the other way round.

#include <QDate>
#include <QString>
#include <cstdint>
#include <vector>

namespace ombrisa {

inline const QString kClientDatesFile = QStringLiteral("Date_Schede_Clienti.dat");
inline constexpr std::size_t kCardDatesRecordSize = 16;

struct CardDates {
    QDate created; // invalid: unknown
    QDate changed; // invalid: unknown
};

// The dates file of the archive at `archivePath`, or an empty text for an archive whose dates are not
// kept (only the client archive's are).
QString cardDatesPath(const QString& archivePath);

// Stamps `count` cards from card `first` (from 1) as changed on `day`; as created too when `appended`
// (new cards), else their creation date stays what it was. A no-op for an archive whose dates are not
// kept. False with an Italian `error`.
bool stampCardDates(const QString& archivePath, std::int64_t first, std::int64_t count, bool appended, const QDate& day,
                    QString* error = nullptr);

// Every card's dates, indexed by card number - 1 (unknown dates invalid); shorter than the archive, or
// empty when the file does not exist (an archive of an earlier version). False with `error` when the file
// exists and cannot be read.
bool readCardDates(const QString& archivePath, std::vector<CardDates>* dates, QString* error = nullptr);

// The latest date known for a card (its change, else its creation); invalid when unknown.
QDate lastKnownChange(const std::vector<CardDates>& dates, std::int64_t card);

} // namespace ombrisa
