#pragma once

#include <QString>

namespace ombrisa {

// Where each archive and companion file lives, relative to the program's folder.
inline const QString kClientiFile = QStringLiteral("Contatti.pro");
inline const QString kChiamateFile = QStringLiteral("Registro_Chiamate.pro");
inline const QString kDipendentiFile = QStringLiteral("Archivio_Dipendenti.pro");
inline const QString kLavoriFolder = QStringLiteral("Archivio_Lavori");
inline const QString kAnagraficaFolder = QStringLiteral("Anagrafica");
inline const QString kAllegatiFolder = QStringLiteral("Documenti_Allegati");
inline const QString kPasswordFile = QStringLiteral("unins000.dll");

// Full path of the work register of the agent with this codice fiscale (trimmed, case kept). Empty
// when the codice fiscale is not fit to name a file (isWorkRegisterCode): opening it then fails.
QString workRegisterPath(const QString& codFisc);
// Full path of the photo of agent card `cardNumber`: Anagrafica/Scheda_Dipendente_<n>.jpg.
QString photoPath(const QString& cardNumber);
// Creates a folder of the program's folder, with any missing parents. False when it cannot.
bool ensureAppSubfolder(const QString& relativeName);

} // namespace ombrisa
