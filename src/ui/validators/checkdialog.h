#pragma once

#include "core/validators/checkoutcome.h"

#include <QDialog>
#include <QString>
#include <QStringView>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ombrisa {

// The shape shared by the four code checks: an instruction, one edit box for the code, "Controlla" and
// "Chiudi". The check runs only when the user presses "Controlla": a length warning keeps the dialog
// open with the focus back on the box, a verdict closes it after its message box, whichever button of
// the box was pressed. "Chiudi" closes without a check. The dialog only reports: it writes nothing back.
class CodeCheckDialog : public QDialog {
    Q_OBJECT
public:
    using CheckFunction = CheckOutcome (*)(QStringView);

    // How the edit box treats typing.
    enum class Typing {
        TrimUpper,      // any character; the text is trimmed and turned to upper case after each change
        Digits,         // only digits 0-9 and Backspace, Delete, Left, Right
        DigitsTrimUpper // both of the above
    };

    struct Setup {
        QString objectName;  // frmCodFisc...
        QString caption;     // the window title
        QString instruction; // the text of lblTitolo
        QString boxName;     // txtCodFisc...
        int maxLength;       // the longest text that can be typed
        Typing typing;
        CheckFunction check;
    };

    // Puts the text of the caller's field, trimmed, into the edit box. A text longer than the box's
    // limit is kept whole (the limit grows to its length) so that the check judges what the card
    // holds rather than a silently shortened copy.
    void setFieldText(const QString& text);

    QLabel* const lblTitolo;
    QPushButton* const btnControlla;
    QPushButton* const btnChiudi;

    void btnControllaClick();
    void btnChiudiClick();

protected:
    CodeCheckDialog(QWidget* parent, const Setup& setup);
    QLineEdit* codeBox() const { return box_; }

private:
    QLineEdit* const box_;
    CheckFunction check_;
};

} // namespace ombrisa
