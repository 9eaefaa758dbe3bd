#pragma once

#include "ui/agents/agentreportdialog.h"

namespace ombrisa {

// " Anteprima di stampa", opened by the agent card's cmdAnteprima: btnStampa ("Mostra anteprima")
// shows the agent card report with the card's photo in the preview window; if that fails the warning
// kAnteprimaDipendentiFailed is shown. The dialog closes in every case.
// Use: execDialog(new TfrmAnteprimaDipendenti(this)).
class TfrmAnteprimaDipendenti : public AgentReportDialog {
    Q_OBJECT
public:
    explicit TfrmAnteprimaDipendenti(QWidget* agentCard);

protected:
    bool output(const report::PreparedReport& report) override;
};

inline const QString kAnteprimaDipendentiFailed =
    QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.\n\r\n\r"
                   "Si consiglia di ridurre le dimensioni della foto.");

} // namespace ombrisa
