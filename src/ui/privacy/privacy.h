#pragma once

// Personal data on request, from the client card: everything about the client on screen, forgetting
// the client, and the clients kept longer than needed (the retention list). The rules live in
// core/privacy; the folder for the person in report/layouts/personaldata.

#include "core/privacy/privacy.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;

namespace ombrisa {

class CardScreen;

// Gives `button` (the client card's cmdPrivacy) its menu: "Tutti i dati del cliente…", "Dimentica il
// cliente…", "Clienti da non conservare…".
void connectPrivacyMenu(CardScreen* card, QToolButton* button);

// Who the card on screen is: its codice fiscale when it has one, else its name. A name is used only
// when there is no code, so that a namesake with another code is never touched.
PrivacySubject subjectOfCard(const CardScreen* card);

// "Tutti i dati del cliente": writes the folder for the person in the data folder
// (Richieste_dati_personali/<code or name>_<date and time>), records the operation and offers to open
// the folder. The folder's path, empty when nothing was written.
QString exportPersonalData(CardScreen* card);
// "Dimentica il cliente": asks, naming how many cards and calls will change and that it cannot be
// undone, then anonymises, records the operation, says what was done (and what remains after a
// failure) and shows the card again as stored. True when something was forgotten.
bool forgetClientOnCard(CardScreen* card);

// The question before forgetting; `notice` (forgetWhileOthersPresent) comes before "Procedere?";
// `requestFolders` are the subject's access-request folders (personalDataFolders), which go too.
QString forgetQuestion(const PrivacyFindings& found, const QString& notice = {}, qsizetype requestFolders = 0);

// The retention list: the clients with no call in the last N years, to choose and forget.
class TfrmConservazione : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConservazione(QWidget* parent);

    QSpinBox* txtAnni;
    QPushButton* btnAggiorna;
    QTableWidget* lstClienti;
    QLabel* lblConteggio;
    QPushButton* btnDimentica;
    QPushButton* btnChiudi;

    void refresh();
    void forgetChosen();

private:
    std::vector<RetentionCandidate> shown_;
};

} // namespace ombrisa
