#pragma once

#include "ui/validators/checkdialog.h"

class QLineEdit;

namespace ombrisa {

// The credit-card check: the Luhn test and, when it passes, the card type named by the leading digits.
class TfrmCarta final : public CodeCheckDialog {
    Q_OBJECT
public:
    explicit TfrmCarta(QWidget* parent = nullptr);

    QLineEdit* const txtNumero;

    // Opens the check over `parent` with the text of the caller's field in `txtNumero`, modally, through the
    // program's dialog helper; returns when the dialog has closed and been destroyed.
    static void open(QWidget* parent, const QString& fieldText);
};

} // namespace ombrisa
