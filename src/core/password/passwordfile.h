#pragma once

#include <QString>
#include <optional>

namespace ombrisa {

// The first-access password, as the installation stores it.
inline const QString kFirstAccessPassword = QStringLiteral("OMBRISA");

// The form in which a typed password is compared and stored: letters a-z upper-cased, then trimmed.
QString normalizePassword(QStringView typed);

// The stored password, unscrambled and trimmed, from section "Accesso", key "Valore" of the password
// file (full path). A missing file or key reads as empty; an unreadable file or a value that is not
// hexadecimal gives no result.
std::optional<QString> readStoredPassword(const QString& passwordFile);
// Stores `password` (normalised, scrambled). False when the file cannot be written.
bool writeStoredPassword(const QString& passwordFile, QStringView password);

} // namespace ombrisa
