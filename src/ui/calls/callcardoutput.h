#pragma once

class QAbstractButton;
class QWidget;

namespace ombrisa {

// Connects the call card's cmdStampa and cmdAnteprima to its print dialog TfrmStampaChiamata and preview
// dialog TfrmAnteprimaChiamata: a new dialog owned by the card screen each time, shown modally, destroyed
// when it closes.
void connectCallCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima);

} // namespace ombrisa
