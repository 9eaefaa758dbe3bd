#pragma once

// The maker of the program, as the start menu, the information and the splash screens show it.

#include <QString>

namespace ombrisa {

inline const QString kMakerName = QStringLiteral("Ombrisa Software");
inline const QString kMakerWebAddress = QStringLiteral("https://www.example.com");
inline const QString kMakerWebText = QStringLiteral("www.example.com");
inline const QString kMakerEmail = QStringLiteral("info@example.com");
inline const QString kCopyrightNotice = QStringLiteral("Copyright © 2026 ") + kMakerName;

} // namespace ombrisa
