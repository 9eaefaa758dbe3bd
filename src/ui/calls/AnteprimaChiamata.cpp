#include "AnteprimaChiamata.h"

#include "common/services.h"
#include "layouts/callcard.h"
#include "printerservice.h"

namespace ombrisa {

TfrmAnteprimaChiamata::TfrmAnteprimaChiamata(QWidget* callCard)
    : CardReportDialog(callCard, QStringLiteral(" Anteprima di stampa"), QStringLiteral("Mostra anteprima")) {
    setObjectName(QStringLiteral("frmAnteprimaChiamata"));
}

void TfrmAnteprimaChiamata::btnStampaClick() {
    report::printerService().preview(report::prepareCallCard(currentTexts(), clock().now()), this);
}

} // namespace ombrisa
