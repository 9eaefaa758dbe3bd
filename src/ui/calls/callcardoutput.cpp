#include "ui/calls/callcardoutput.h"

#include "ui/calls/AnteprimaChiamata.h"
#include "ui/calls/StampaChiamata.h"
#include "ui/common/services.h"

#include <QAbstractButton>

namespace ombrisa {

void connectCallCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima) {
    QObject::connect(cmdStampa, &QAbstractButton::clicked, screen,
                     [screen] { execDialog(new TfrmStampaChiamata(screen)); });
    QObject::connect(cmdAnteprima, &QAbstractButton::clicked, screen,
                     [screen] { execDialog(new TfrmAnteprimaChiamata(screen)); });
}

} // namespace ombrisa
