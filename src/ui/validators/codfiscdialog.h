#pragma once

#include "ui/validators/checkdialog.h"

class QLineEdit;

namespace ombrisa {

// The codice fiscale check of a natural person's 16-character code.
class TfrmCodFisc final : public CodeCheckDialog {
    Q_OBJECT
public:
    explicit TfrmCodFisc(QWidget* parent = nullptr);

    QLineEdit* const txtCodFisc;

    // Opens the check over `parent` with the text of the caller's field in `txtCodFisc`, modally, through the
    // program's dialog helper; returns when the dialog has closed and been destroyed.
    static void open(QWidget* parent, const QString& fieldText);
};

// What the button beside a card's codice fiscale opens: the partita IVA check when the field, trimmed,
// holds only digits, the codice fiscale check otherwise; either gets the field's text.
void openCodFiscCheck(QWidget* parent, const QString& fieldText);

} // namespace ombrisa
