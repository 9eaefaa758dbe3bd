#pragma once

// The interval selection screen, the start menu's fourth work area: one agent by codice fiscale and a
// date interval, checked before the hours summary opens. Created once; every showing starts cleared.

#include "ui/cards/intervalboxes.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ombrisa {

// The boxes txtCliente, txtGiornoInizio ... txtAnnoFine are the interval boxes it inherits.
class TfrmMenuRiepStraordinari : public QWidget, public IntervalBoxes {
    Q_OBJECT
public:
    explicit TfrmMenuRiepStraordinari(QWidget* parent = nullptr);
    ~TfrmMenuRiepStraordinari() override;

    QToolButton* btnCodFisc = nullptr; // opens the agent search, which puts the chosen codice fiscale in txtCliente
    QLabel* lblDataInizio = nullptr; // hidden: the start date text the summary reads
    QLabel* lblDataFine = nullptr;   // hidden: the end date text the summary reads
    QLabel* lblAttendere = nullptr;
    QPushButton* btnVisualizza = nullptr;
    QPushButton* btnEsci = nullptr;
    QLabel* panInfo = nullptr; // the hint line at the foot

public slots:
    void btnVisualizzaClick();

protected:
    void showEvent(QShowEvent* event) override;

};

} // namespace ombrisa
