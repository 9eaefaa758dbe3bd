#pragma once

// The call card's rules that need no window: its controls and the fields they edit, the navigator's
// rules for "Registro_Chiamate.pro", and the sixteen checks a save makes, in their order.

#include "core/cards/cardnavigator.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <functional>

namespace ombrisa {

// How a control of the call card takes its text.
enum class CallFieldKind {
    List,      // editable combo box that takes its value only from its list
    Digits,    // edit box that accepts digits only (the year)
    Edit,      // free edit box
    TrimUpper, // edit box trimmed and turned to upper case while typing (codice fiscale)
    Trim,      // edit box trimmed while typing and when left (e-mail)
    Hidden,    // hidden label holding a combined value (date, time)
};

// One control of the call card in screen order (also the Enter ring, hidden labels aside): its name,
// caption, the record field it edits and how. Every box is limited to its field's capacity except the
// year box, which has no limit (`limited` false): the save checks judge its length.
struct CallCardField {
    const char* control;
    const char* caption;
    const char* field;
    CallFieldKind kind;
    bool limited = true;
};

inline constexpr std::array<CallCardField, 20> kCallCardFields{{
    {"txtGiornoRit", "Giorno:", "GiornoRit", CallFieldKind::List},
    {"txtMeseRit", "Mese:", "MeseRit", CallFieldKind::List},
    {"lblAnnoRit", "Anno:", "AnnoRit", CallFieldKind::Digits, false},
    {"lblDataRit", "", "DataRit", CallFieldKind::Hidden},
    {"txtOreRit", "Ore:", "OreRit", CallFieldKind::List},
    {"txtMinutiRit", "Minuti:", "MinutiRit", CallFieldKind::List},
    {"lblOraRit", "", "OraRit", CallFieldKind::Hidden},
    {"txtTipo", "Tipo chiamata:", "Tipo", CallFieldKind::List},
    {"txtOggetto", "Oggetto:", "Oggetto", CallFieldKind::Edit},
    {"txtEsito", "Esito:", "Esito", CallFieldKind::Edit},
    {"txtGrado", "Grado soddisfazione:", "Grado", CallFieldKind::Edit},
    {"txtDurata", "Durata:", "Durata", CallFieldKind::Edit},
    {"txtCliente", "Cognome e nome cliente:", "Cliente", CallFieldKind::Edit},
    {"txtCodFisc", "Codice fiscale:", "CodFisc", CallFieldKind::TrimUpper},
    {"txtZona", "Zona di appartenenza:", "Zona", CallFieldKind::Edit},
    {"txtRecapito", "Tel. preferenziale:", "Recapito", CallFieldKind::Edit},
    {"txtTelCel", "Tel. cellulare:", "TelCel", CallFieldKind::Edit},
    {"txtEmail", "E-mail:", "Email", CallFieldKind::Trim},
    {"txtNote", "Note:", "Note", CallFieldKind::Edit},
    {"txtOperatore", "Operatore / Agente:", "Operatore", CallFieldKind::Edit},
}};

// The direction of a call, as its list offers it; a new card proposes the first.
inline const QString kTipoEntrata = QStringLiteral("In entrata");
inline const QString kTipoUscita = QStringLiteral("In uscita");

// The items of a List control's list ("01".."31", the month names, "00".."23", "00".."59", the two
// directions); empty for any other control.
QStringList callListItems(QStringView control);

// The navigator's rules for the call card. The save checks are not among its mandatory fields: they
// are checkCallCard's, which the screen runs as its extra save checks.
CardRules callCardRules();

// The outcome of the save checks. `check` is 0 when all passed, otherwise the number (1..16) of the first
// that failed, with its message and the control that gets the focus; `plain` says that the message is
// shown in a plain box without icon (the date check) rather than as a warning. `combinedDate` is the
// date as day/month number/year once the month check has passed (the hidden date label takes it at
// every save, rejected or not), empty before.
struct CallSaveVerdict {
    int check = 0;
    QString control;
    QString message;
    bool plain = false;
    QString combinedDate;
    bool passed() const { return check == 0; }
};

// Runs the sixteen checks of a save, in order, on the controls' texts (`textOf` gives the text of a
// control by name) and stops at the first that fails.
CallSaveVerdict checkCallCard(const std::function<QString(const QString&)>& textOf);

} // namespace ombrisa
