#pragma once

// The work register screen: the list of one agent's works, adding and changing them, find and print.
// Opened by the agent card's btnLavori through openWorkRegister(), which hands it the card's agent name
// and codice fiscale boxes.

#include "core/work/workregister.h"

#include <QDialog>
#include <QList>
#include <cstdint>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ombrisa {

class CardLineList;
class FindBox;
class HintLine;

class TfrmLavori_Svolti : public QDialog {
    Q_OBJECT
public:
    // `owner` is the screen that opens the register; `agentName` and `codFisc` are its boxes of the agent's
    // name (the register's title) and codice fiscale (the register's file), read when they are needed.
    TfrmLavori_Svolti(QWidget* owner, const QLineEdit* agentName, const QLineEdit* codFisc);

    // List panel.
    QFrame* panContainer = nullptr;
    QLabel* lblTitolo = nullptr;
    QLineEdit* txtTrova = nullptr;
    QPushButton* btnTrova = nullptr;
    CardLineList* lstRecords = nullptr; // each line carries the number of its record
    QLabel* lblTotale = nullptr;
    QPushButton* btnChiudi = nullptr;
    QPushButton* btnAggiungi = nullptr;
    QPushButton* btnModifica = nullptr;
    QPushButton* btnStampa = nullptr;
    // Edit panel: its boxes built from kWorkCardFields as the cards build theirs, the hint line at the foot.
    QFrame* panCosti = nullptr;
    QLabel* lblScheda = nullptr; // the register's title over the boxes
    QLineEdit* txtData = nullptr;
    QLineEdit* txtAttivita = nullptr;
    QLineEdit* txtLuogo = nullptr;
    QLineEdit* txtOrario = nullptr;
    QLineEdit* txtTotOre = nullptr;
    QToolButton* impOggi = nullptr;
    QPushButton* btnSalva = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* lblPosizione = nullptr; // hidden: number of the record being edited, empty for a new one
    QLabel* lblFile = nullptr;      // hidden: full path of the register file
    QLabel* panInfo = nullptr;      // the edit panel's hint line

public slots:
    void btnAggiungiClick();
    void btnModificaClick();
    void btnSalvaClick();
    void btnStampaClick();
    void impOggiClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void load();
    void showEditPanel();
    void showWork(const WorkEntry& entry); // the edit boxes filled with a stored work
    QList<QLineEdit*> editBoxes() const; // the boxes of kWorkCardFields, in table order
    static QString boxText(const QLineEdit* box);
    static int boxLimit(const QLineEdit* box); // what the user may type in a box

    const QLineEdit* agentName_;
    const QLineEdit* codFisc_;
    FindBox* find_;
    HintLine* hints_ = nullptr;
    bool loaded_ = false;
    TRecLavoro stored_{}; // the work as read or written here: a change saved elsewhere since is asked about
};

// btnLavori of the agent card, past its own checks: refuses a codice fiscale that cannot name a
// register file (and puts the focus in `codFisc`), otherwise opens the register screen owned by `owner`
// and returns when it closes.
void openWorkRegister(QWidget* owner, QLineEdit* agentName, QLineEdit* codFisc);

} // namespace ombrisa
