#include "core/records/carddates.h"

#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstring>

namespace ombrisa {
namespace {

using DatesEntry = std::array<char, kCardDatesRecordSize>;
constexpr int kCardDigits = 7; // then the kind, then the day
constexpr std::int64_t kMostCards = 9999999;

DatesEntry entry(std::int64_t card, bool appended, const QDate& day) {
    DatesEntry e{};
    const QByteArray text = QByteArray::number(card).rightJustified(kCardDigits, '0') + (appended ? "N" : "M") +
                            day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    std::memcpy(e.data(), text.constData(), std::min<std::size_t>(e.size(), static_cast<std::size_t>(text.size())));
    return e;
}

QString failure(const TRecordFile& file) {
    return QStringLiteral("impossibile aggiornare le date delle schede (%1): %2")
        .arg(kClientDatesFile, file.ErrorString());
}

} // namespace

QString cardDatesPath(const QString& archivePath) {
    const QFileInfo archive(archivePath);
    if (archive.fileName() != kClientiFile)
        return {};
    return archive.dir().filePath(kClientDatesFile);
}

bool stampCardDates(const QString& archivePath, std::int64_t first, std::int64_t count, bool appended, const QDate& day,
                    QString* error) {
    const QString path = cardDatesPath(archivePath);
    if (path.isEmpty() || count <= 0)
        return true;
    TRecordFile file;
    auto fail = [&] {
        if (error)
            *error = failure(file);
        file.Close();
        return false;
    };
    if (first < 1 || first + count - 1 > kMostCards || !day.isValid()) {
        if (error)
            *error = QStringLiteral("impossibile aggiornare le date delle schede (%1): numero di scheda fuori misura")
                         .arg(kClientDatesFile);
        return false;
    }
    if (!file.OpenOrCreate(path, kCardDatesRecordSize, TRecordFile::Access::Write))
        return fail();
    // The entries lie one after the other, so the whole stamp is one append.
    std::vector<DatesEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (std::int64_t n = first; n < first + count; ++n)
        entries.push_back(entry(n, appended, day));
    std::vector<TRecordFile::Change> changes;
    changes.reserve(entries.size());
    for (const DatesEntry& e : entries)
        changes.push_back({TRecordFile::kAppend, nullptr, e.data()});
    if (file.WriteRecords(changes) != TRecordFile::UpdateResult::Written)
        return fail();
    if (!file.Close()) {
        if (error)
            *error = failure(file);
        return false;
    }
    return true;
}

bool readCardDates(const QString& archivePath, std::vector<CardDates>* dates, QString* error) {
    dates->clear();
    const QString path = cardDatesPath(archivePath);
    if (path.isEmpty() || !TRecordFile::Present(path))
        return true;
    TRecordFile file;
    if (!file.OpenOrCreate(path, kCardDatesRecordSize, TRecordFile::Access::Read)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(kClientDatesFile, file.ErrorString());
        return false;
    }
    DatesEntry e{};
    while (!file.AtEnd()) {
        if (!file.ReadRecord(e.data())) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(kClientDatesFile, file.ErrorString());
            dates->clear();
            file.Close();
            return false;
        }
        bool numeric = false;
        const std::int64_t card = QByteArray(e.data(), kCardDigits).toLongLong(&numeric);
        const char kind = e[kCardDigits];
        const QDate day =
            QDate::fromString(QString::fromLatin1(e.data() + kCardDigits + 1, 8), QStringLiteral("yyyyMMdd"));
        if (!numeric || card < 1 || card > kMostCards || (kind != 'N' && kind != 'M') || !day.isValid())
            continue; // an entry torn by a crash: the card's next stamp says it again
        if (static_cast<std::size_t>(card) > dates->size())
            dates->resize(static_cast<std::size_t>(card));
        CardDates& d = (*dates)[static_cast<std::size_t>(card - 1)];
        if (kind == 'N')
            d.created = day; // the latest: a number appended again after a cancelled import
        if (!d.changed.isValid() || day > d.changed)
            d.changed = day;
    }
    file.Close();
    return true;
}

QDate lastKnownChange(const std::vector<CardDates>& dates, std::int64_t card) {
    if (card < 1 || card > static_cast<std::int64_t>(dates.size()))
        return {};
    const CardDates& d = dates[static_cast<std::size_t>(card - 1)];
    return d.changed.isValid() ? d.changed : d.created;
}

} // namespace ombrisa
