#include "ui/agents/AnteprimaDipendenti.h"

#include "report/printerservice.h"

namespace ombrisa {

TfrmAnteprimaDipendenti::TfrmAnteprimaDipendenti(QWidget* agentCard)
    : AgentReportDialog(agentCard, QStringLiteral(" Anteprima di stampa"), QStringLiteral("Mostra anteprima"),
                        kAnteprimaDipendentiFailed) {
    setObjectName(QStringLiteral("frmAnteprimaDipendenti"));
}

bool TfrmAnteprimaDipendenti::output(const report::PreparedReport& report) {
    report::printerService().preview(report, this);
    return true;
}

} // namespace ombrisa
