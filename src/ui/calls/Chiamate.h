#pragma once

// The call card screen: one card of "Registro_Chiamate.pro" at a time, with the toolbar along the top,
// three sections (the call, the client, notes and operator) and the hint line at the bottom.
//
// The date and time lists and the direction take their value only from their lists. A new card holds
// the current date and time from the clock service. Saving runs the sixteen checks of checkCallCard
// (core/cards/callcard.h) and stores the record through the card navigator, rebuilding the combined
// date and time from the visible fields.
//
// Buttons whose screens live elsewhere (impCliente, cmdTrova, cmdAnteprima, cmdStampa, cmdEsporta,
// cmdRiepOggi) are connected by those screens' code: this screen gives them their pictures and hints.
// Those screens read and write this screen's controls directly (by name through field(), lblPosizione).

#include "ui/cards/cardscreen.h"

#include <QList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace ombrisa {

class TfrmChiamate : public CardScreen {
    Q_OBJECT
public:
    explicit TfrmChiamate(QWidget* parent = nullptr);

    // The lists that take their value only from their items.
    QComboBox* txtGiornoRit;
    QComboBox* txtMeseRit;
    QComboBox* txtOreRit;
    QComboBox* txtMinutiRit;
    QComboBox* txtTipo;
    QLineEdit* lblAnnoRit;
    QLabel* lblDataRit;
    QLabel* lblOraRit;
    QLineEdit* txtOggetto;
    QLineEdit* txtCliente;
    QLineEdit* txtCodFisc;
    QLineEdit* txtEmail;

    QGroupBox* grpDataRit;
    QGroupBox* grpOraRit;
    QLabel* lblCampo23;

    // Toolbar commands of this card only (the others are CardScreen's).
    QToolButton* cmdEsporta;
    QToolButton* cmdImporta;
    QToolButton* cmdRiepOggi;
    // Picture buttons beside the date, the time and the client's name.
    QToolButton* impRitiro;
    QToolButton* impOraRit;
    QToolButton* impCliente;

    // Today's date into the year, day and month; the current time into hour and minutes.
    void impRitiroClick();
    void impOraRitClick();

protected:
    void showHelp() override;

private:
    QWidget* buildToolbar();
    QWidget* buildSections();
    bool newCardDefaults();
    void duplicateDefaults();
    bool saveChecks();
    void clearListSelections();
};

} // namespace ombrisa
