#pragma once

// The client card screen: one card of "Contatti.pro" at a time, in five sections, with the toolbar on the
// right and the hint line and navigator at the bottom.
//
// Buttons whose screens live elsewhere (cmdFile, cmdTrova, cmdRicontatta, cmdEsporta and btnProve past its
// two refusals) are connected by those screens' code: this screen only gives them their pictures and
// hints. cmdStampa, cmdAnteprima and cmdPDF go to the card report (clients/clientcardreport.h). Those
// screens read and write this screen's controls directly (the fields by name through field(), the hidden
// attachment labels, lblPosizione).

#include <QList>
#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace ombrisa {

class CardBinding;
class CardNavigator;
class EnterRing;
class HintLine;
class NavigatorBar;

class TfrmClienti : public QWidget {
    Q_OBJECT
public:
    explicit TfrmClienti(QWidget* parent = nullptr);
    ~TfrmClienti() override;

    // One of the 29 edit boxes (QLineEdit, or QComboBox for the provinces) by control name, or nullptr.
    QWidget* field(const QString& name) const;
    CardNavigator& navigator() { return *navigator_; }

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
    // Hidden attachment fields.
    QLabel* lblFile01;
    QLabel* lblFile02;
    QLabel* lblFile03;
    QLabel* lblDesc01;
    QLabel* lblDesc02;
    QLabel* lblDesc03;

    QLabel* panInfo;
    QLabel* lblPosizione;

    // Toolbar, top to bottom.
    QToolButton* cmdNuovo;
    QToolButton* cmdDuplica;
    QToolButton* cmdFile;
    QToolButton* cmdSalva;
    QToolButton* cmdTrova;
    QToolButton* cmdAnteprima;
    QToolButton* cmdStampa;
    QToolButton* cmdPDF;
    QToolButton* cmdRicontatta;
    QToolButton* cmdEsporta;
    QToolButton* cmdGuida;
    QToolButton* cmdEsci;
    // Navigator.
    QToolButton* cmdPrimo;
    QToolButton* cmdIndietro;
    QToolButton* cmdAvanti;
    QToolButton* cmdUltimo;
    // Picture buttons beside the fields.
    QToolButton* btnEmail;
    QToolButton* btnCodFisc;
    QToolButton* btnCarta;
    QToolButton* btnPartitaIva;
    QToolButton* btnIban;
    QToolButton* btnProve;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields(QWidget* sections);
    void buildToolbar(QWidget* column);
    void spreadSections();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnCartaClick();
    void btnPartitaIvaClick();
    void btnIbanClick();
    void btnProveClick();

    std::array<QWidget*, 29> fields_{};
    std::unique_ptr<HintLine> hintLine_;
    std::unique_ptr<CardBinding> binding_;
    std::unique_ptr<CardNavigator> navigator_;
    NavigatorBar* navigatorBar_ = nullptr;
    QVBoxLayout* sectionStack_ = nullptr;
    QList<QLabel*> spacedCaptions_;
    int spread_ = 0;
};

// The screen's one instance, created at start-up.
extern TfrmClienti* frmClienti;

} // namespace ombrisa
