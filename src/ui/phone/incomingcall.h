#pragma once

// Who is calling: a number handed over by a telephone system (on the command line or through the
// channel of a running copy) opens the call register on a new card, once the user has signed in:
//  - one client card holds the number: the card's six client fields, today's date and the current
//    time, direction "In entrata", the cursor in the subject;
//  - several: TfrmChiChiama lists them (name, card number, which number matched, last call) and the
//    one chosen fills the card; none chosen leaves the number alone in the preferred telephone;
//  - none: the number in the preferred telephone, and the action "Crea la scheda del cliente" beside
//    the client's name opens the client archive on a new card with the number and the name typed.
// A number that arrives before the sign-in waits for it; the last one wins.

#include "core/phone/phoneindex.h"

#include <QDialog>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

class QAction;
class QPushButton;
class QTreeWidget;

namespace ombrisa {

class TfrmAvvio;
class TfrmChiamate;

// Asked when a call arrives while the call card shows a new call with a subject, not yet saved.
inline const QString kUnsavedCallQuestion =
    QStringLiteral("È in arrivo una chiamata dal numero %1, ma la chiamata in corso di scrittura non è stata "
                   "salvata.\n\nLasciarla senza salvarla e aprire una nuova scheda per la chiamata in arrivo?");

class IncomingCalls : public QObject {
    Q_OBJECT
public:
    explicit IncomingCalls(QObject* parent = nullptr);

    // The window to bring to the front while nobody has signed in (the password screen).
    void setSignInWindow(QWidget* window) { signInWindow_ = window; }
    // The user has signed in: the start menu opens the call register; a waiting number is shown.
    void signedIn(TfrmAvvio* startMenu);

    // A caller's number, as given.
    void receive(const QString& number);

    // The action on the call card's name box that creates the client card (in the box only for a
    // number nobody has).
    static QAction* createClientAction(TfrmChiamate& calls);
    static void offerCreateClient(TfrmChiamate& calls, bool offer);

private:
    void show(const QString& number);

    std::optional<PhoneIndex> index_;
    QWidget* signInWindow_ = nullptr;
    TfrmAvvio* startMenu_ = nullptr;
    QString waiting_;
};

// The chooser among several client cards with the caller's number.
class TfrmChiChiama : public QDialog {
    Q_OBJECT
public:
    struct Row {
        std::int64_t card;
        QString name;
        QString field; // caption of the telephone field that matched
        QString lastCall; // "gg/mm/aaaa" or "nessuna"
    };
    TfrmChiChiama(const QString& number, const std::vector<Row>& rows, QWidget* parent);

    // The card of the line chosen (0 before a choice).
    std::int64_t chosenCard() const;

    QTreeWidget* lstClienti;
    QPushButton* cmdOK;
    QPushButton* cmdAnnulla;
};

} // namespace ombrisa
