#pragma once

#include "core/records/records.h"

#include <QDateTime>
#include <QHash>
#include <QString>

namespace ombrisa::report {

// The texts of a card screen's controls, by control name ("txtCliente" → "Rossi Mario"). A screen
// collects them from its edit boxes; a stored card gives them with fieldTexts(). The report fills
// trim every value; a control missing from the table reads as empty.
using FieldTexts = QHash<QString, QString>;

// The trimmed text of a control.
QString trimmedValue(const FieldTexts& texts, const QString& control);

// A stored card's fields under the names of the controls that edit them: "txt" + field name, and for
// the call register's year also "lblAnnoRit" (the year box of the call card).
FieldTexts fieldTexts(const TRecCliente& record);
FieldTexts fieldTexts(const TRecChiamata& record);
FieldTexts fieldTexts(const TRecDipendente& record);

// "Stampa eseguita in data " + date (dd/mm/yyyy) + " alle ore " + time (hh:mm:ss): the footer of the
// card and list reports. The caller reads the clock; nothing here does.
QString printStamp(const QDateTime& now);

} // namespace ombrisa::report
