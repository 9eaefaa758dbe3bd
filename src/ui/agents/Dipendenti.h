#pragma once

// The agent card screen: one card of "Archivio_Dipendenti.pro" at a time, with the agent's photo, the
// toolbar on the right and the hint line and navigator at the bottom.
//
// Buttons whose screens live elsewhere (cmdFile, cmdTrova, btnWebcam, and btnLavori past its three
// refusals) are connected by those screens' code: this screen only gives them their pictures and hints.
// cmdStampa and cmdAnteprima open the card report's dialogs (agents/agentcardoutput.h). Those screens
// read and write this screen's controls directly (the fields by name through field(), the hidden
// attachment labels, lblPosizione, imgFoto); the capture screen puts its picture in with importPhoto(), a
// search screen shows the card it picked with navigator().showCard().

#include "ui/cards/cardscreen.h"

class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QToolButton;

namespace ombrisa {

class PictureBox;

class TfrmDipendenti : public CardScreen {
    Q_OBJECT
public:
    explicit TfrmDipendenti(QWidget* parent = nullptr);

    // Puts a picture into the photo box as the card's new photo (the capture screen's import). Like a
    // photo loaded from a file, it reaches the photo file with the next save.
    void importPhoto(const QPixmap& picture);

    // Edit boxes the screen's own rules use.
    QLineEdit* txtDipendente;
    QLineEdit* txtCodFisc;
    QLineEdit* txtPartitaIva;
    QLineEdit* txtEmail;
    QLineEdit* txtCel;
    QLineEdit* txtIban;

    // The photo box (the picture at its full size, shown scaled to fit) and the hidden blank picture.
    PictureBox* imgFoto;
    PictureBox* imgBianco;
    // Hidden: a save moves the focus here first; its click trims txtDipendente.
    QPushButton* btnFocus;

    // Toolbar commands of this card only (the others are CardScreen's).
    QToolButton* cmdFile;
    QToolButton* cmdSlideshow;
    // Photo buttons.
    QToolButton* btnCaricaFoto;
    QToolButton* btnWebcam;
    QToolButton* btnSalvaFoto;
    QToolButton* btnCancFoto;
    QToolButton* btnZoomFoto;
    // The work register.
    QToolButton* btnLavori;

protected:
    void saveCard() override;
    void showHelp() override;

private:
    QWidget* buildPhotoPanel();
    void buildToolbar(QWidget* column);

    void cmdSlideshowClick();
    void btnFocusClick();
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnLavoriClick();

    // The photo of the card whose number lblPosizione holds: loaded after a card is shown, written after
    // a save.
    void loadCardPhoto();
    void saveCardPhoto();
    // The blank picture in the photo box. `standIn`: put there by the program because the photo could
    // not be read or written, not because the user removed it (see saveCardPhoto).
    void showBlankPhoto(bool standIn);

    bool photoStandIn_ = false;
};

} // namespace ombrisa
