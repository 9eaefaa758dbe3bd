#pragma once

#include <QString>

namespace ombrisa {

// The folder that holds the executable, with a trailing separator: the data folder of the program.
// The working folder is never used. Tests and ombrisa-tool point the program at another folder with
// setAppFolderOverride; an empty text removes the override.
QString appFolder();
void setAppFolderOverride(const QString& folder);

// appFolder() + a relative name such as "Contatti.pro" or "Archivio_Lavori/…".
QString appPath(const QString& relativeName);

} // namespace ombrisa
