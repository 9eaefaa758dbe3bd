#pragma once

// Sign-in and password change as the two password screens run them, without a window.

#include <QString>

namespace ombrisa {

// The longest password the screens accept: lengths are counted in 8 bits.
inline constexpr int kPasswordMaxLength = 255;

inline const QString kPasswordWrong = QStringLiteral("Attenzione: password errata.");
inline const QString kPasswordReadError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della password. Si "
                   "consiglia di reinstallare il software.");
inline const QString kPasswordOldWrong = QStringLiteral("Attenzione: vecchia password errata.");
inline const QString kPasswordNotConfirmed =
    QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' necessario reinserire "
                   "entrambi i valori.");
inline const QString kPasswordChanged = QStringLiteral("Modifica della password completata con successo.");
inline const QString kPasswordChangeError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. Si "
                   "consiglia di reinstallare il software.");

// The full path of the password file, beside the executable.
QString passwordFilePath();

enum class SignIn { Granted, Wrong, ReadError };
SignIn checkPassword(const QString& typed);

enum class Change { Done, OldWrong, NotConfirmed, Failed };
Change changePassword(const QString& oldTyped, const QString& newTyped, const QString& confirmation);

} // namespace ombrisa
