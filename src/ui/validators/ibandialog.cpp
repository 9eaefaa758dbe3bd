#include "ui/validators/ibandialog.h"

#include "ui/common/services.h"
#include "core/validators/iban.h"

namespace ombrisa {

TfrmIban::TfrmIban(QWidget* parent)
    : CodeCheckDialog(parent, {QStringLiteral("frmIban"), QStringLiteral(" Controllo IBAN"),
                               QStringLiteral("Immettere l'IBAN e premere il pulsante di controllo."),
                               QStringLiteral("txtIban"), kIbanLength, Typing::TrimUpper, checkIban}),
      txtIban(codeBox()) {}

void TfrmIban::open(QWidget* parent, const QString& fieldText) {
    auto* dialog = new TfrmIban(parent);
    dialog->setFieldText(fieldText);
    execDialog(dialog);
}

} // namespace ombrisa
