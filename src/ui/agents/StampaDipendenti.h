#pragma once

#include "ui/agents/agentreportdialog.h"

namespace ombrisa {

// " Stampa documento", opened by the agent card's cmdStampa: btnStampa ("Stampa") prints the agent
// card report with the card's photo (system print dialog first). If printing fails the warning
// kStampaDipendentiFailed is shown; the dialog closes in every case.
// Use: execDialog(new TfrmStampaDipendenti(this)).
class TfrmStampaDipendenti : public AgentReportDialog {
    Q_OBJECT
public:
    explicit TfrmStampaDipendenti(QWidget* agentCard);

protected:
    bool output(const report::PreparedReport& report) override;
};

inline const QString kStampaDipendentiFailed =
    QStringLiteral("Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                   "Si consiglia di ridurre le dimensioni della foto.");

} // namespace ombrisa
