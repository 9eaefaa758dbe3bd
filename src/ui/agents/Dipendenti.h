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

#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ombrisa {

class CardBinding;
class CardNavigator;
class HintLine;
class NavigatorBar;
class PictureBox;

class TfrmDipendenti : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDipendenti(QWidget* parent = nullptr);
    ~TfrmDipendenti() override;

    // One of the 25 edit boxes by control name, or nullptr.
    QLineEdit* field(const QString& name) const;
    CardNavigator& navigator() { return *navigator_; }

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

    // Hidden attachment fields.
    QLabel* lblFile01;
    QLabel* lblFile02;
    QLabel* lblFile03;
    QLabel* lblDesc01;
    QLabel* lblDesc02;
    QLabel* lblDesc03;

    QLabel* lblPosizione;
    QLabel* panInfo;
    // The photo box (the picture at its full size, shown scaled to fit) and the hidden blank picture.
    PictureBox* imgFoto;
    PictureBox* imgBianco;
    // Hidden: a save moves the focus here first; its click trims txtDipendente.
    QPushButton* btnFocus;

    // Toolbar, top to bottom.
    QToolButton* cmdNuovo;
    QToolButton* cmdDuplica;
    QToolButton* cmdFile;
    QToolButton* cmdSalva;
    QToolButton* cmdTrova;
    QToolButton* cmdAnteprima;
    QToolButton* cmdStampa;
    QToolButton* cmdSlideshow;
    QToolButton* cmdGuida;
    QToolButton* cmdEsci;
    // Navigator.
    QToolButton* cmdPrimo;
    QToolButton* cmdIndietro;
    QToolButton* cmdAvanti;
    QToolButton* cmdUltimo;
    // Photo buttons.
    QToolButton* btnCaricaFoto;
    QToolButton* btnWebcam;
    QToolButton* btnSalvaFoto;
    QToolButton* btnCancFoto;
    QToolButton* btnZoomFoto;
    // Picture buttons beside the fields, and the work register.
    QToolButton* btnCodFisc;
    QToolButton* btnPartitaIva;
    QToolButton* btnIban;
    QToolButton* btnEmail;
    QToolButton* btnLavori;

signals:
    // The screen was closed, by cmdEsci or by the window's close button: the start menu comes back.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFields(QWidget* area);
    QWidget* buildPhotoPanel();
    void buildToolbar(QWidget* column);

    void cmdSalvaClick();
    void cmdSlideshowClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnFocusClick();
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnIbanClick();
    void btnEmailClick();
    void btnLavoriClick();

    // The photo of the card whose number lblPosizione holds: loaded after a card is shown, written after
    // a save.
    void loadCardPhoto();
    void saveCardPhoto();
    // The blank picture in the photo box. `standIn`: put there by the program because the photo could
    // not be read or written, not because the user removed it (see saveCardPhoto).
    void showBlankPhoto(bool standIn);

    std::array<QLineEdit*, 25> fields_{};
    std::unique_ptr<HintLine> hintLine_;
    std::unique_ptr<CardBinding> binding_;
    std::unique_ptr<CardNavigator> navigator_;
    NavigatorBar* navigatorBar_ = nullptr;
    bool photoStandIn_ = false;
};

// The screen's one instance, created at start-up.
extern TfrmDipendenti* frmDipendenti;

} // namespace ombrisa
