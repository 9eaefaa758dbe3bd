#pragma once

// The call card's rules that need no window: its controls and the fields they edit, the navigator's
// rules for "Registro_Chiamate.pro", and the sixteen checks a save makes, in their order.

#include "core/cards/cardfield.h"
#include "core/cards/cardnavigator.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <functional>
#include <utility>

namespace ombrisa {

// The controls of the call card, in screen order (also the Enter ring, hidden labels aside). Every box
// is limited to its field's capacity except the year box, which has no limit: the save checks judge its
// length. The hidden labels hold the combined date and time.
inline constexpr std::array<CardField, 20> kCallCardFields{{
    {"txtGiornoRit", "Giorno:", "GiornoRit", CardFieldKind::ListOnly},
    {"txtMeseRit", "Mese:", "MeseRit", CardFieldKind::ListOnly},
    {"lblAnnoRit", "Anno:", "AnnoRit", CardFieldKind::Edit, CardFilter::Digits, kNoLengthLimit},
    {"lblDataRit", "", "DataRit", CardFieldKind::Hidden},
    {"txtOreRit", "Ore:", "OreRit", CardFieldKind::ListOnly},
    {"txtMinutiRit", "Minuti:", "MinutiRit", CardFieldKind::ListOnly},
    {"lblOraRit", "", "OraRit", CardFieldKind::Hidden},
    {"txtTipo", "Tipo chiamata:", "Tipo", CardFieldKind::ListOnly},
    {"txtOggetto", "Oggetto:", "Oggetto"},
    {"txtEsito", "Esito:", "Esito"},
    {"txtGrado", "Grado soddisfazione:", "Grado"},
    {"txtDurata", "Durata:", "Durata"},
    {"txtCliente", "Cognome e nome cliente:", "Cliente"},
    {"txtCodFisc", "Codice fiscale:", "CodFisc", CardFieldKind::Edit, CardFilter::TrimUpper},
    {"txtZona", "Zona di appartenenza:", "Zona"},
    {"txtRecapito", "Tel. preferenziale:", "Recapito"},
    {"txtTelCel", "Tel. cellulare:", "TelCel"},
    {"txtEmail", "E-mail:", "Email", CardFieldKind::Edit, CardFilter::Trim, kFilterOnLeave},
    {"txtNote", "Note:", "Note"},
    {"txtOperatore", "Operatore / Agente:", "Operatore"},
}};

// The direction of a call, as its list offers it; a new card proposes the first.
inline const QString kTipoEntrata = QStringLiteral("In entrata");

// The client fields a call card takes from a client card (a client picked in the search, or the
// caller recognised by the number), in this order: record field of the client, box of the call card.
inline constexpr std::pair<const char*, const char*> kClientToCall[] = {
    {"Cliente", "txtCliente"}, {"CodFisc", "txtCodFisc"}, {"Zona", "txtZona"},
    {"Email", "txtEmail"},     {"TelCel", "txtTelCel"},   {"Recapito", "txtRecapito"},
};
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
