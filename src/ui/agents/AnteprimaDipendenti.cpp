#include "ui/agents/AnteprimaDipendenti.h"

#include "ui/reports/printerservice.h"

namespace ombrisa {

TfrmAnteprimaDipendenti::TfrmAnteprimaDipendenti(QWidget* agentCard)
    : AgentReportDialog(agentCard, QStringLiteral(" Anteprima di stampa"), QStringLiteral("Mostra anteprima"),
                        kAnteprimaDipendentiFailed) {
    setObjectName(QStringLiteral("frmAnteprimaDipendenti"));
}

bool TfrmAnteprimaDipendenti::output(const report::PreparedReport& report) {
    printerService().preview(report, this);
    return true;
}

} // namespace ombrisa
