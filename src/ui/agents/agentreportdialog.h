#pragma once

#include "report/preparedreport.h"
#include "ui/reports/cardreportdialog.h"

#include <QImage>

class QLabel;

namespace ombrisa {

// What the agent card's print and preview dialogs share: the hidden pictures imgLogo (a copy of the
// card screen's imgFoto, taken when the dialog is shown) and imgTemp (the picture used instead when
// that copy fails), and the failure warning shown when the report cannot be printed or previewed.
class AgentReportDialog : public CardReportDialog {
    Q_OBJECT
public:
    AgentReportDialog(QWidget* agentCard, const QString& caption, const QString& actionText, QString failureMessage);

    QImage photo() const { return photo_; }

    QLabel* imgLogo;
    QLabel* imgTemp;

protected:
    void showEvent(QShowEvent* event) override;
    void btnStampaClick() override;
    // Hands the prepared report on: true when it went through.
    virtual bool output(const report::PreparedReport& report) = 0;

private:
    QImage photo_;
    QString failureMessage_;
};

// The picture of the card screen's imgFoto (a PictureBox or a QLabel); null when there is none.
QImage agentCardPhoto(const QWidget* agentCard);

} // namespace ombrisa
