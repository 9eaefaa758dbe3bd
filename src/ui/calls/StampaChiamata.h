#pragma once

#include "ui/reports/cardreportdialog.h"

namespace ombrisa {

// " Stampa documento", opened by the call card's cmdStampa: btnStampa ("Stampa") fills the call card
// report from the call card's controls and sends it to the printer (system print dialog first).
// A failing printer shows its message; cancelling the print dialog prints nothing.
// Use: execDialog(new TfrmStampaChiamata(this)).
class TfrmStampaChiamata : public CardReportDialog {
    Q_OBJECT
public:
    explicit TfrmStampaChiamata(QWidget* callCard);

protected:
    void btnStampaClick() override;
};

} // namespace ombrisa
