#pragma once

class QAbstractButton;
class QWidget;

namespace ombrisa {

// Connects the agent card's cmdStampa and cmdAnteprima to its print dialog TfrmStampaDipendenti and preview
// dialog TfrmAnteprimaDipendenti: a new dialog owned by the card screen each time, shown modally, destroyed
// when it closes.
void connectAgentCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima);

} // namespace ombrisa
