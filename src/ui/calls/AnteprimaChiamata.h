#pragma once

#include "ui/reports/cardreportdialog.h"

namespace ombrisa {

// " Anteprima di stampa", opened by the call card's cmdAnteprima: btnStampa ("Mostra anteprima")
// fills the call card report from the call card's controls and shows it in the preview window (modal
// until closed), then the dialog closes. Use: execDialog(new TfrmAnteprimaChiamata(this)).
class TfrmAnteprimaChiamata : public CardReportDialog {
    Q_OBJECT
public:
    explicit TfrmAnteprimaChiamata(QWidget* callCard);

protected:
    void btnStampaClick() override;
};

} // namespace ombrisa
