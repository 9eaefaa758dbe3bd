#include "ui/validators/codfiscdialog.h"

#include "ui/common/services.h"
#include "core/validators/codicefiscale.h"
#include "ui/validators/partitaivadialog.h"

namespace ombrisa {

TfrmCodFisc::TfrmCodFisc(QWidget* parent)
    : CodeCheckDialog(parent,
                      {QStringLiteral("frmCodFisc"), QStringLiteral(" Controllo codice fiscale"),
                       QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."),
                       QStringLiteral("txtCodFisc"), kCodiceFiscaleLength, Typing::TrimUpper, checkCodiceFiscale}),
      txtCodFisc(codeBox()) {}

void TfrmCodFisc::open(QWidget* parent, const QString& fieldText) {
    auto* dialog = new TfrmCodFisc(parent);
    dialog->setFieldText(fieldText);
    execDialog(dialog);
}

void openCodFiscCheck(QWidget* parent, const QString& fieldText) {
    if (codiceFiscaleOpensPartitaIvaCheck(fieldText))
        TfrmPartitaIva::open(parent, fieldText);
    else
        TfrmCodFisc::open(parent, fieldText);
}

} // namespace ombrisa
