#pragma once

#include "core/storage/recordfile.h"

#include <QString>
#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace ombrisa {

// The card navigator shared by the client, call and agent card screens: first, previous, next, last,
// new card, save and duplicate, with their messages.
//
// How a card screen adopts it
// ---------------------------
// 1. Describe the screen with a CardRules value: its archive and record size, the control that gets the
//    focus on a new card (and after a duplicate), the mandatory fields in the order they are checked,
//    the text of the message after an append, and whether duplicating opens the archive once.
// 2. Implement CardView on the screen (or let CardScreenBinding in src/ui/cards do most of it): where
//    the position text lives (lblPosizione), how a record is loaded into the controls and filled from
//    them (the record mapping), how the screen empties itself for a new card and for a duplicate, how
//    a control's text is read and focused by name, and how a message box is shown.
// 3. Create one CardNavigator per screen and call newCard() when the screen is shown and from cmdNuovo,
//    first()/previous()/next()/last() from the arrows, save() from cmdSalva, duplicate() from cmdDuplica.
//    Search screens that pick a card call showCard(k).
//
// The position is the text of the screen's position label and nothing else: a number k means that card
// k (record k - 1) is shown and a save rewrites it; an empty text means a new card that a save appends.
// Every operation that touches the archive opens it, works, and closes it; any failure stops the
// operation and shows kArchiveMessage. What was already done stays done.

enum class CardMessageKind { Information, Warning, Error };

inline const QString kEmptyArchiveMessage = QStringLiteral("L'archivio non contiene nessuna scheda.");
inline const QString kUpdatedMessage =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
inline const QString kInsertedMessage = QStringLiteral("La scheda corrente è stata inserita in archivio.");
inline const QString kSavedMessage = QStringLiteral("La scheda corrente è stata salvata in archivio.");
// Asked when the card on screen was changed by another workstation after it was loaded.
inline const QString kChangedElsewhereQuestion = QStringLiteral(
    "Attenzione: dopo l'apertura di questa scheda un'altra postazione l'ha modificata in archivio.\n\r\n\r"
    "Sovrascrivere la scheda in archivio con quella sullo schermo?\n\r\n\r"
    "Sì: salva la scheda sullo schermo al posto di quella in archivio.\n\r"
    "No: mostra la scheda com'è ora in archivio (le modifiche sullo schermo non vengono salvate).");
// Asked when a card screen whose boxes differ from the stored card is closed.
inline const QString kSaveChangesQuestion = QStringLiteral("Salvare le modifiche alla scheda?");
inline const QString kDuplicateRefusal = QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire "
                                                        "soltanto dopo che questa è stata inserita in archivio.");
inline const QString kDuplicatePrepared =
    QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                   "Al termine premere Salva per inserire la scheda in archivio.");

// A field that a save refuses to leave empty (after trimming): the control's name and its warning.
struct MandatoryField {
    QString control;
    QString warning;
};

// Index in `fields` of the first control whose trimmed text is empty, or nullopt when all are filled.
// The order of `fields` is the order of the checks.
std::optional<std::size_t> firstMissingField(std::span<const MandatoryField> fields,
                                             const std::function<QString(const QString&)>& textOf);

// A card number as a position text holds it: decimal digits only, at least 1. Anything else is nullopt.
std::optional<std::int64_t> parseCardNumber(QStringView position);

// What distinguishes one card screen from another for the navigator.
struct CardRules {
    QString archiveFile;                   // relative to the program's folder, e.g. "Contatti.pro"
    std::size_t recordSize = 0;            // bytes of one record
    QString firstField;                    // focus after showing the screen and cmdNuovo
    QString duplicateFocus;                // focus after cmdDuplica; empty means firstField
    QString appendedMessage;               // kInsertedMessage or kSavedMessage
    std::vector<MandatoryField> mandatory; // checked in this order by save()
    bool duplicateOpensArchive = false;    // open and close the archive once before the prepared message
};

// The navigator's window onto a card screen.
class CardView {
public:
    virtual ~CardView() = default;

    // The text of the position label, and setting it.
    virtual QString position() const = 0;
    virtual void setPosition(const QString& text) = 0;
    // Record mapping: every control receives its field (and the screen does what follows a load, such as
    // showing a photo) / every field receives its control's text.
    virtual void loadCard(const void* record) = 0;
    virtual void fillRecord(void* record) = 0;
    // New-card state of the controls: empty (or the screen's defaults). The navigator empties the
    // position and moves the focus itself. Returning false reports a failure with the archive message.
    virtual bool clearCard() = 0;
    // Empties what a copy must not take over (attachments, dates...). The position is emptied by the
    // navigator.
    virtual void clearForDuplicate() = 0;
    // A control's text and the focus, by control name.
    virtual QString controlText(const QString& control) const = 0;
    virtual void focusControl(const QString& control) = 0;
    // After a card was loaded and its number put in the position label (the agent card loads the photo
    // of that number).
    virtual void cardShown() {}
    // After a save wrote the card and closed the archive, with the card's number in the position label,
    // before the message (the agent card writes the photo of that number).
    virtual void cardSaved() {}
    // Checks a screen makes after the mandatory fields (a valid date, say). It shows its own warning and
    // returns false to stop the save before the archive is opened.
    virtual bool extraSaveChecks() { return true; }
    // A modal message box with the buttons OK and Cancel; the answer does not matter.
    virtual void showMessage(CardMessageKind kind, const QString& text) = 0;
    // A question with the buttons Yes and No: true for Yes. A view that cannot ask answers No, which
    // never overwrites anything.
    virtual bool askQuestion(const QString& text) {
        (void)text;
        return false;
    }
};

class CardNavigator {
public:
    // What an operation ended with; screens ignore it, tests read it.
    enum class Outcome {
        Loaded,         // a card was loaded and the position set
        NewCard,        // the new-card state was entered
        Unchanged,      // nothing happened, no message (first card on previous, last card on next)
        EmptyArchive,   // the empty-archive message was shown
        Updated,        // card rewritten in place
        Reloaded,       // changed by another workstation since it was loaded: the stored card is shown again
        Appended,       // new card added at the end
        Refused,        // a warning was shown and nothing was written
        Duplicated,     // the copy is on screen in the new-card state
        ArchiveFailure, // the archive message was shown
    };

    CardNavigator(CardRules rules, CardView& view);
    virtual ~CardNavigator() = default;

    const CardRules& rules() const { return rules_; }

    Outcome newCard();
    Outcome first();
    Outcome previous();
    Outcome next();
    Outcome last();
    Outcome save();
    Outcome duplicate();
    // Loads card `number` (from 1) and shows its number: what a search screen does with the card picked.
    Outcome showCard(std::int64_t number);

    // The record buffer of this screen, as the last operation left it.
    std::span<const std::uint8_t> record() const { return record_; }

protected:
    // Closes the archive after a read; a test replaces it to see a failing Close().
    virtual bool closeArchive();

private:
    bool open(TRecordFile::Access access);
    Outcome failure();
    Outcome loadAt(std::int64_t index);
    Outcome changedElsewhere(std::int64_t number);
    void remember(std::int64_t number);

    CardRules rules_;
    CardView& view_;
    TRecordFile file_;
    // One buffer reused by every operation: the bytes after each field's text are whatever it held.
    std::vector<std::uint8_t> record_;
    // The bytes of card loadedNumber_ as this screen last read or wrote them (0: none). A save over that
    // card writes only if the archive still holds them; otherwise the user is asked.
    std::vector<std::uint8_t> loaded_;
    std::int64_t loadedNumber_ = 0;
};

} // namespace ombrisa
