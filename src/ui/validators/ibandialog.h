#pragma once

#include "ui/validators/checkdialog.h"

class QLineEdit;

namespace ombrisa {

// The IBAN check (remainder 1 modulo 97) of a code of the Italian length, 27 characters.
class TfrmIban final : public CodeCheckDialog {
    Q_OBJECT
public:
    explicit TfrmIban(QWidget* parent = nullptr);

    QLineEdit* const txtIban;

    // Opens the check over `parent` with the text of the caller's field in `txtIban`, modally, through the
    // program's dialog helper; returns when the dialog has closed and been destroyed.
    static void open(QWidget* parent, const QString& fieldText);
};

} // namespace ombrisa
