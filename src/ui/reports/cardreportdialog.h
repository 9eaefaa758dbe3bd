#pragma once

#include "report/layouts/fieldtexts.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace ombrisa {

// The small print and preview dialogs of the call and agent cards: a fixed-size window without
// title-bar buttons on a steel-blue-to-white gradient, a white panel with the product picture
// imgLogo01 above the buttons btnAnnulla ("Annulla", closes) and btnStampa (runs the dialog's action,
// then closes). The values come from the opening card screen's controls at the moment btnStampa is
// clicked.
class CardReportDialog : public QDialog {
    Q_OBJECT
public:
    CardReportDialog(QWidget* screen, const QString& caption, const QString& actionText);

    QPushButton* btnAnnulla;
    QPushButton* btnStampa;
    QLabel* imgLogo01;

protected:
    // The dialog's action, run by btnStampa before the dialog closes.
    virtual void btnStampaClick() = 0;
    report::FieldTexts currentTexts() const;
    void paintEvent(QPaintEvent* event) override;

private:
};

} // namespace ombrisa
