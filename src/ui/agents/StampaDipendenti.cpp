#include "ui/agents/StampaDipendenti.h"

#include "ui/reports/printerservice.h"

namespace ombrisa {

TfrmStampaDipendenti::TfrmStampaDipendenti(QWidget* agentCard)
    : AgentReportDialog(agentCard, QStringLiteral(" Stampa documento"), QStringLiteral("Stampa"),
                        kStampaDipendentiFailed) {
    setObjectName(QStringLiteral("frmStampaDipendenti"));
}

bool TfrmStampaDipendenti::output(const report::PreparedReport& report) {
    return !printerService().print(report, this).failed();
}

} // namespace ombrisa
