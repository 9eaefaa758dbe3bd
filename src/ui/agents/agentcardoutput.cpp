#include "ui/agents/agentcardoutput.h"

#include "ui/agents/AnteprimaDipendenti.h"
#include "ui/agents/StampaDipendenti.h"
#include "ui/common/services.h"

#include <QAbstractButton>

namespace ombrisa {

void connectAgentCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima) {
    QObject::connect(cmdStampa, &QAbstractButton::clicked, screen,
                     [screen] { execDialog(new TfrmStampaDipendenti(screen)); });
    QObject::connect(cmdAnteprima, &QAbstractButton::clicked, screen,
                     [screen] { execDialog(new TfrmAnteprimaDipendenti(screen)); });
}

} // namespace ombrisa
