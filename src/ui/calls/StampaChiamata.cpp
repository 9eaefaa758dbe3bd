#include "ui/calls/StampaChiamata.h"

#include "ui/common/services.h"
#include "report/layouts/callcard.h"
#include "ui/reports/printerservice.h"

namespace ombrisa {

TfrmStampaChiamata::TfrmStampaChiamata(QWidget* callCard)
    : CardReportDialog(callCard, QStringLiteral(" Stampa documento"), QStringLiteral("Stampa")) {
    setObjectName(QStringLiteral("frmStampaChiamata"));
}

void TfrmStampaChiamata::btnStampaClick() {
    const report::OutputResult result =
        printerService().print(report::prepareCallCard(currentTexts(), clock().now()), this);
    if (result.failed())
        showWarning(this, result.message);
}

} // namespace ombrisa
