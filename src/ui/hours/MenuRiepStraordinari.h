#pragma once

// The interval selection screen, the start menu's fourth work area: one agent by codice fiscale and a
// date interval, checked before the hours summary opens. Created once; every showing starts cleared.

#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ombrisa {

class PictureBox;

class TfrmMenuRiepStraordinari : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMenuRiepStraordinari(QWidget* parent = nullptr);
    ~TfrmMenuRiepStraordinari() override;

    QLineEdit* txtCliente = nullptr;
    PictureBox* btnCodFisc = nullptr; // opens the agent search, which puts the chosen codice fiscale in txtCliente
    QComboBox* txtGiornoInizio = nullptr;
    QComboBox* txtMeseInizio = nullptr;
    QLineEdit* txtAnnoInizio = nullptr;
    QComboBox* txtGiornoFine = nullptr;
    QComboBox* txtMeseFine = nullptr;
    QLineEdit* txtAnnoFine = nullptr;
    QLabel* lblDataInizio = nullptr; // hidden: the start date text the summary reads
    QLabel* lblDataFine = nullptr;   // hidden: the end date text the summary reads
    QLabel* lblAttendere = nullptr;
    QPushButton* btnVisualizza = nullptr;
    QPushButton* btnEsci = nullptr;

public slots:
    void btnVisualizzaClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A day or month box: list-only, `accepts` says which texts it keeps when left.
    QComboBox* pickBox(const char* name, const QStringList& items, int limit,
                       std::function<bool(const QString&)> accepts);
};

} // namespace ombrisa
