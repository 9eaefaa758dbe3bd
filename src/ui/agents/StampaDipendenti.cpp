#include "ui/agents/StampaDipendenti.h"

#include "report/printerservice.h"

namespace ombrisa {

TfrmStampaDipendenti::TfrmStampaDipendenti(QWidget* agentCard)
    : AgentReportDialog(agentCard, QStringLiteral(" Stampa documento"), QStringLiteral("Stampa"),
                        kStampaDipendentiFailed) {
    setObjectName(QStringLiteral("frmStampaDipendenti"));
}

bool TfrmStampaDipendenti::output(const report::PreparedReport& report) {
    return !report::printerService().print(report, this).failed();
}

} // namespace ombrisa
