#include "ui/validators/partitaivadialog.h"

#include "ui/common/services.h"
#include "core/validators/partitaiva.h"

namespace ombrisa {

TfrmPartitaIva::TfrmPartitaIva(QWidget* parent)
    : CodeCheckDialog(parent, {QStringLiteral("frmPartitaIva"), QStringLiteral(" Controllo partita IVA"),
                               QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."),
                               QStringLiteral("txtPartitaIva"), kPartitaIvaLength, Typing::Digits, checkPartitaIva}),
      txtPartitaIva(codeBox()) {}

void TfrmPartitaIva::open(QWidget* parent, const QString& fieldText) {
    auto* dialog = new TfrmPartitaIva(parent);
    dialog->setFieldText(fieldText);
    execDialog(dialog);
}

} // namespace ombrisa
