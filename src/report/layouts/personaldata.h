#pragma once

// "Everything about one client": the folder a firm hands to a person who asks for the data it holds
// about them.

#include "core/privacy/privacy.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace ombrisa::report {

// The files of the folder.
inline const QString kAccessIndexFile = QStringLiteral("Indice.txt");
inline const QString kAccessCallsSheet = QStringLiteral("Chiamate.xls");
inline const QString kAccessCallsPdf = QStringLiteral("Chiamate.pdf");
inline const QString kAccessAttachmentsFolder = QStringLiteral("Documenti_Allegati");
// "Scheda_cliente_N.pdf" for client card N.
QString accessCardPdfName(std::int64_t card);

struct AccessResult {
    bool ok = true;
    QString error;            // Italian, when !ok
    PrivacyFindings findings; // what was found, card numbers included
    QStringList written;      // the files written, relative to the folder
    QStringList missingFiles; // attached files a card names that are not in the attachment folder
};

// Writes into `folder` (created when missing) for `subject`, reading the program's folder: each client
// card as a PDF (the card report), the calls as a spreadsheet (the call exports' columns) and as a
// printed list, a copy of every attached file, and Indice.txt naming what was found (card numbers
// included) and where. An existing file of the same name is replaced. `now` dates the reports.
AccessResult writePersonalDataFolder(const PrivacySubject& subject, const QString& folder, const QDateTime& now);

} // namespace ombrisa::report
