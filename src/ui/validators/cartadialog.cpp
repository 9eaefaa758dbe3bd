#include "ui/validators/cartadialog.h"

#include "ui/common/services.h"
#include "core/validators/carta.h"

namespace ombrisa {

TfrmCarta::TfrmCarta(QWidget* parent)
    : CodeCheckDialog(parent,
                      {QStringLiteral("frmCarta"), QStringLiteral(" Controllo carta di credito"),
                       QStringLiteral("Immettere il numero di carta di credito e premere il pulsante di controllo."),
                       QStringLiteral("txtNumero"), kCartaNumberLength, Typing::DigitsTrimUpper, checkCarta}),
      txtNumero(codeBox()) {}

void TfrmCarta::open(QWidget* parent, const QString& fieldText) {
    auto* dialog = new TfrmCarta(parent);
    dialog->setFieldText(fieldText);
    execDialog(dialog);
}

} // namespace ombrisa
