#include "ui/calls/AnteprimaChiamata.h"

#include "ui/common/services.h"
#include "report/layouts/callcard.h"
#include "ui/reports/printerservice.h"

namespace ombrisa {

TfrmAnteprimaChiamata::TfrmAnteprimaChiamata(QWidget* callCard)
    : CardReportDialog(callCard, QStringLiteral(" Anteprima di stampa"), QStringLiteral("Mostra anteprima")) {
    setObjectName(QStringLiteral("frmAnteprimaChiamata"));
}

void TfrmAnteprimaChiamata::btnStampaClick() {
    printerService().preview(report::prepareCallCard(currentTexts(), clock().now()), this);
}

} // namespace ombrisa
