#include "agentcardoutput.h"

#include "AnteprimaDipendenti.h"
#include "StampaDipendenti.h"
#include "common/services.h"

#include <QAbstractButton>

namespace ombrisa {

void connectAgentCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima) {
    QObject::connect(cmdStampa, &QAbstractButton::clicked, screen,
                     [screen] { execDialog(new TfrmStampaDipendenti(screen)); });
    QObject::connect(cmdAnteprima, &QAbstractButton::clicked, screen,
                     [screen] { execDialog(new TfrmAnteprimaDipendenti(screen)); });
}

} // namespace ombrisa
