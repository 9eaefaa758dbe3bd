#pragma once

#include "ui/validators/checkdialog.h"

class QLineEdit;

namespace ombrisa {

// The partita IVA check: the check digit of an 11-digit number and, when it is right, the VAT office that issued it.
class TfrmPartitaIva final : public CodeCheckDialog {
    Q_OBJECT
public:
    explicit TfrmPartitaIva(QWidget* parent = nullptr);

    QLineEdit* const txtPartitaIva;

    // Opens the check over `parent` with the text of the caller's field in `txtPartitaIva`, modally, through the
    // program's dialog helper; returns when the dialog has closed and been destroyed.
    static void open(QWidget* parent, const QString& fieldText);
};

} // namespace ombrisa
