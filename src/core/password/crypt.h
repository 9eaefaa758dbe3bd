#pragma once

#include <QString>
#include <optional>

namespace ombrisa {

// Scrambles a text into upper-case hexadecimal, two digits per character. Only the low 8 bits of each
// character take part.
QString Encode(QStringView text);
// The inverse of Encode. A last odd digit is ignored; a pair that is not hexadecimal gives no result.
std::optional<QString> Decode(QStringView hex);

} // namespace ombrisa
