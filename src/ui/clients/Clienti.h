#pragma once

// The client card screen: one card of "Contatti.pro" at a time, in five sections, with the toolbar on the
// right and the hint line and navigator at the bottom.
//
// Buttons whose screens live elsewhere (cmdFile, cmdTrova, cmdRicontatta, cmdEsporta and btnProve past its
// two refusals) are connected by those screens' code: this screen only gives them their pictures and
// hints. cmdStampa, cmdAnteprima and cmdPDF go to the card report (clients/clientcardreport.h). Those
// screens read and write this screen's controls directly (the fields by name through field(), the hidden
// attachment labels, lblPosizione).

#include "ui/cards/cardscreen.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace ombrisa {

class TfrmClienti : public CardScreen {
    Q_OBJECT
public:
    explicit TfrmClienti(QWidget* parent = nullptr);

    // Edit boxes the screen's own rules use.
    QLineEdit* txtCliente;
    QLineEdit* txtRecapito;
    QLineEdit* txtEmail;
    QLineEdit* txtCodFisc;
    QLineEdit* txtCarta;
    QLineEdit* txtPartitaIva;
    QLineEdit* txtIban;
    QComboBox* txtProvNasc;
    QComboBox* txtProvRes;

    QCheckBox* chkRicontatta;

    // Toolbar commands of this card only (the others are CardScreen's).
    QToolButton* cmdFile;
    QToolButton* cmdPDF;
    QToolButton* cmdRicontatta;
    QToolButton* cmdEsporta;
    QToolButton* cmdImporta;
    QToolButton* cmdPrivacy;
    // The call history, beside the last section's boxes.
    QToolButton* btnProve;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showHelp() override;

private:
    void buildToolbar(QWidget* column);
    void spreadSections();
    void btnProveClick();
    bool askAboutExistingClient();

    QVBoxLayout* sectionStack_ = nullptr;
    QList<QLabel*> spacedCaptions_;
    int spread_ = 0;
};

} // namespace ombrisa
