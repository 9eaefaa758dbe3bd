#include "core/cards/cardnavigator.h"

#include "core/records/carddates.h"
#include "core/storage/appfolder.h"
#include "core/storage/textfield.h"

#include <utility>

namespace ombrisa {

std::optional<std::size_t> firstMissingField(std::span<const MandatoryField> fields,
                                             const std::function<QString(const QString&)>& textOf) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (trimView(textOf(fields[i].control)).isEmpty())
            return i;
    return std::nullopt;
}

std::optional<std::int64_t> parseCardNumber(QStringView position) {
    if (position.isEmpty() || position.size() > 18)
        return std::nullopt;
    std::int64_t n = 0;
    for (QChar c : position) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    if (n < 1)
        return std::nullopt;
    return n;
}

CardNavigator::CardNavigator(CardRules rules, CardView& view)
    : rules_(std::move(rules)), view_(view), record_(rules_.recordSize, 0) {}

bool CardNavigator::closeArchive() {
    return file_.Close();
}

bool CardNavigator::open(TRecordFile::Access access) {
    return file_.OpenOrCreate(appPath(rules_.archiveFile), rules_.recordSize, access);
}

CardNavigator::Outcome CardNavigator::failure() {
    file_.Close();
    view_.showMessage(CardMessageKind::Error, kArchiveMessage);
    return Outcome::ArchiveFailure;
}

void CardNavigator::remember(std::int64_t number) {
    loaded_ = record_;
    loadedNumber_ = number;
}

// Reads record `index` into the buffer, closes the archive, then loads the card and shows its number
// (the position after the read). The controls change only once the whole read succeeded: a failure
// leaves the shown card and its number together, so a later save cannot write it over another card.
CardNavigator::Outcome CardNavigator::loadAt(std::int64_t index) {
    if (!file_.Seek(index) || !file_.ReadRecord(static_cast<void*>(record_.data())))
        return failure();
    const std::int64_t number = file_.Position();
    if (!closeArchive())
        return failure();
    view_.loadCard(record_.data());
    remember(number);
    view_.setPosition(QString::number(number));
    view_.cardShown();
    return Outcome::Loaded;
}

CardNavigator::Outcome CardNavigator::newCard() {
    const bool ok = view_.clearCard();
    view_.setPosition(QString());
    view_.focusControl(rules_.firstField);
    if (!ok) {
        view_.showMessage(CardMessageKind::Error, kArchiveMessage);
        return Outcome::ArchiveFailure;
    }
    return Outcome::NewCard;
}

CardNavigator::Outcome CardNavigator::first() {
    if (!open(TRecordFile::Access::Read))
        return failure();
    if (file_.Count() == 0) {
        file_.Close();
        view_.showMessage(CardMessageKind::Information, kEmptyArchiveMessage);
        return Outcome::EmptyArchive;
    }
    return loadAt(0);
}

CardNavigator::Outcome CardNavigator::last() {
    if (!open(TRecordFile::Access::Read))
        return failure();
    if (file_.Count() == 0) {
        file_.Close();
        view_.showMessage(CardMessageKind::Information, kEmptyArchiveMessage);
        return Outcome::EmptyArchive;
    }
    return loadAt(file_.Count() - 1);
}

CardNavigator::Outcome CardNavigator::next() {
    if (!open(TRecordFile::Access::Read))
        return failure();
    // A new card stands before card 1.
    const QStringView position = trimView(view_.position());
    std::int64_t n = 0;
    if (!position.isEmpty()) {
        const auto number = parseCardNumber(position);
        if (!number)
            return failure();
        n = *number;
    }
    if (file_.Count() == 0) {
        view_.setPosition(QString());
        file_.Close();
        view_.showMessage(CardMessageKind::Information, kEmptyArchiveMessage);
        return Outcome::EmptyArchive;
    }
    if (n >= file_.Count()) {
        file_.Close();
        return Outcome::Unchanged;
    }
    return loadAt(n);
}

CardNavigator::Outcome CardNavigator::previous() {
    if (!open(TRecordFile::Access::Read))
        return failure();
    const QStringView position = trimView(view_.position());
    if (position == u"1") {
        file_.Close();
        return Outcome::Unchanged;
    }
    if (file_.Count() == 0) {
        file_.Close();
        view_.showMessage(CardMessageKind::Information, kEmptyArchiveMessage);
        return Outcome::EmptyArchive;
    }
    // Previous from a new card shows the first card.
    if (position.isEmpty())
        return loadAt(0);
    const auto number = parseCardNumber(position);
    if (!number)
        return failure();
    return loadAt(*number - 2);
}

CardNavigator::Outcome CardNavigator::save() {
    if (const auto missing =
            firstMissingField(rules_.mandatory, [this](const QString& c) { return view_.controlText(c); })) {
        const MandatoryField& field = rules_.mandatory[*missing];
        view_.showMessage(CardMessageKind::Warning, field.warning);
        view_.focusControl(field.control);
        return Outcome::Refused;
    }
    if (!view_.extraSaveChecks())
        return Outcome::Refused;

    if (!open(TRecordFile::Access::Write))
        return failure();
    const QStringView position = trimView(view_.position());
    const bool append = position.isEmpty();
    std::int64_t number = 0;
    if (append) {
        view_.fillRecord(record_.data());
        if (!file_.Seek(file_.Count()) ||
            !stampCardDates(appPath(rules_.archiveFile), file_.Count() + 1, 1, true, QDate::currentDate()))
            return failure();
        if (!file_.WriteRecord(static_cast<const void*>(record_.data())))
            return failure();
    } else {
        const auto shown = parseCardNumber(position);
        if (!shown || !file_.Seek(*shown - 1) ||
            !stampCardDates(appPath(rules_.archiveFile), *shown, 1, false, QDate::currentDate()))
            return failure();
        number = *shown;
        view_.fillRecord(record_.data());
        if (loadedNumber_ == number) {
            switch (file_.WriteRecordIfUnchanged(loaded_.data(), record_.data())) {
            case TRecordFile::UpdateResult::Written:
                break;
            case TRecordFile::UpdateResult::ChangedMeanwhile:
                return changedElsewhere(number);
            case TRecordFile::UpdateResult::Failed:
                return failure();
            }
        } else if (!file_.WriteRecord(static_cast<const void*>(record_.data()))) {
            return failure();
        }
    }
    number = file_.Position();
    // The record is on disk only once the file is closed: the card gets its number after that.
    if (!file_.Close())
        return failure();
    remember(number);
    view_.setPosition(QString::number(number));
    view_.cardSaved();
    if (append) {
        view_.showMessage(CardMessageKind::Information, rules_.appendedMessage);
        return Outcome::Appended;
    }
    view_.showMessage(CardMessageKind::Information, kUpdatedMessage);
    return Outcome::Updated;
}

// Another workstation changed card `number` since this screen loaded it. The archive is closed while
// the user decides, so that nobody waits on this screen's lock.
CardNavigator::Outcome CardNavigator::changedElsewhere(std::int64_t number) {
    if (!file_.Close())
        return failure();
    if (!view_.askQuestion(kChangedElsewhereQuestion)) {
        if (!open(TRecordFile::Access::Read))
            return failure();
        const Outcome shown = loadAt(number - 1);
        return shown == Outcome::Loaded ? Outcome::Reloaded : shown;
    }
    // Overwrite: what is stored now becomes the expected content, and the card on screen is written
    // over it, unless it changed again in the meantime (then the user is asked again).
    if (!open(TRecordFile::Access::Write) || !file_.Seek(number - 1))
        return failure();
    if (file_.Count() < number)
        return failure(); // the card is gone: nothing to overwrite
    std::vector<std::uint8_t> stored(rules_.recordSize);
    if (!file_.ReadRecord(static_cast<void*>(stored.data())) || !file_.Seek(number - 1))
        return failure();
    loaded_ = std::move(stored);
    loadedNumber_ = number;
    if (!file_.Close())
        return failure();
    return save();
}

CardNavigator::Outcome CardNavigator::duplicate() {
    if (trimView(view_.position()).isEmpty()) {
        view_.showMessage(CardMessageKind::Warning, kDuplicateRefusal);
        return Outcome::Refused;
    }
    view_.clearForDuplicate();
    view_.setPosition(QString());
    view_.focusControl(rules_.duplicateFocus.isEmpty() ? rules_.firstField : rules_.duplicateFocus);
    if (rules_.duplicateOpensArchive) {
        if (!open(TRecordFile::Access::Read))
            return failure();
        if (!file_.Close())
            return failure();
    }
    view_.showMessage(CardMessageKind::Information, kDuplicatePrepared);
    return Outcome::Duplicated;
}

CardNavigator::Outcome CardNavigator::showCard(std::int64_t number) {
    if (!open(TRecordFile::Access::Read))
        return failure();
    if (number < 1)
        return failure();
    return loadAt(number - 1);
}

} // namespace ombrisa
