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

#include <QList>
#include <QWidget>
#include <array>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace ombrisa {

class CardBinding;
class CardNavigator;
class HintLine;
class NavigatorBar;

class TfrmChiamate : public QWidget {
    Q_OBJECT
public:
    explicit TfrmChiamate(QWidget* parent = nullptr);
    ~TfrmChiamate() override;

    // One of the twenty controls of the card (combo box, edit box or hidden label) by name, or nullptr.
    QWidget* field(const QString& name) const;
    CardNavigator& navigator() { return *navigator_; }

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
    QLabel* panInfo;
    QLabel* lblPosizione;

    // Toolbar, left to right.
    QToolButton* cmdNuovo;
    QToolButton* cmdDuplica;
    QToolButton* cmdSalva;
    QToolButton* cmdTrova;
    QToolButton* cmdAnteprima;
    QToolButton* cmdStampa;
    QToolButton* cmdPrimo;
    QToolButton* cmdIndietro;
    QToolButton* cmdAvanti;
    QToolButton* cmdUltimo;
    QToolButton* cmdEsporta;
    QToolButton* cmdRiepOggi;
    QToolButton* cmdGuida;
    QToolButton* cmdEsci;
    // Picture buttons beside the fields.
    QToolButton* impRitiro;
    QToolButton* impOraRit;
    QToolButton* impCliente;
    QToolButton* btnCodFisc;
    QToolButton* btnEmail;

    // Today's date into the year, day and month; the current time into hour and minutes.
    void impRitiroClick();
    void impOraRitClick();

signals:
    // The screen was closed, by cmdEsci or by the window's close button: the start menu comes back.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildToolbar();
    QWidget* buildFields();
    bool newCardDefaults();
    void duplicateDefaults();
    bool saveChecks();
    void clearListSelections();
    QComboBox* listOf(QObject* watched) const;
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCodFiscClick();
    void btnEmailClick();

    std::array<QWidget*, 20> fields_{};
    QList<QComboBox*> lists_;
    std::unique_ptr<HintLine> hintLine_;
    std::unique_ptr<CardBinding> binding_;
    std::unique_ptr<CardNavigator> navigator_;
    NavigatorBar* navigatorBar_ = nullptr;
};

// The screen's one instance, created at start-up.
extern TfrmChiamate* frmChiamate;

} // namespace ombrisa
