#pragma once

#include <QString>

namespace ombrisa {

// What one of the code checks concluded, and therefore what its dialog shows.
enum class CheckVerdict {
    Incomplete, // wrong length or nothing typed: a warning, and the dialog stays open for a correction
    Valid,      // the code is right: an information box, then the dialog closes
    Wrong,      // the code is wrong: a warning box, then the dialog closes
};

// The kind of message box the verdict is shown in (both with the buttons OK and Cancel).
enum class CheckMessageKind { Information, Warning };

struct CheckOutcome {
    CheckVerdict verdict = CheckVerdict::Incomplete;
    // The message exactly as the dialog shows it; two line breaks are written as CR LF CR LF.
    QString text;
    // The partita IVA office name or the credit-card type of a valid code; empty otherwise (and also
    // for a valid partita IVA whose office code has no name).
    QString detail;

    CheckMessageKind kind() const {
        return verdict == CheckVerdict::Valid ? CheckMessageKind::Information : CheckMessageKind::Warning;
    }
    // After a verdict the dialog closes, whichever button was pressed; after a length warning it stays.
    bool closesDialog() const { return verdict != CheckVerdict::Incomplete; }
};

// The two line breaks that separate the paragraphs of a message.
inline const QString kMessageParagraphBreak = QStringLiteral("\r\n\r\n");

} // namespace ombrisa
