#pragma once

#include "core/cards/cardfield.h"
#include "core/cards/cardnavigator.h"
#include "core/records/records.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace ombrisa {

// The 25 boxes of the agent card, in screen order (also the tab order and the Enter ring); the record
// fields they edit are the first 25 of TRecDipendente, in the same order.
inline constexpr std::array<CardField, 25> kAgentCardFields{{
    {"txtDipendente", "Cognome e nome:", "Dipendente"},
    {"txtSesso", "Sesso:", "Sesso", CardFieldKind::Edit, CardFilter::TrimUpper, kCentred},
    {"txtDataNasc", "Data nascita:", "DataNasc"},
    {"txtCittadinanza", "Cittadinanza:", "Cittadinanza"},
    {"txtLuogoNasc", "Luogo nascita:", "LuogoNasc"},
    {"txtIndirizzo", "Indirizzo residenza:", "Indirizzo"},
    {"txtCitta", "Città:", "Citta"},
    {"txtCap", "CAP:", "Cap"},
    {"txtNazione", "Nazione:", "Nazione"},
    {"txtCodFisc", "Codice fiscale:", "CodFisc", CardFieldKind::Edit, CardFilter::TrimUpper},
    {"txtCivile", "Stato civile:", "Civile"},
    {"txtPartitaIva", "Partita IVA:", "PartitaIva", CardFieldKind::Edit, CardFilter::Digits},
    {"txtStudio", "Titolo di studio:", "Studio"},
    {"txtLingue", "Lingue conosciute:", "Lingue"},
    {"txtEmail", "E-mail:", "Email", CardFieldKind::Edit, CardFilter::Trim},
    {"txtTel", "Tel. casa:", "Tel"},
    {"txtCel", "Tel. cellulare:", "Cel", CardFieldKind::Edit, CardFilter::Digits},
    {"txtQualifica", "Qualifica:", "Qualifica"},
    {"txtReparto", "Reparto:", "Reparto"},
    {"txtDisponibilita", "Disponibilità:", "Disponibilita"},
    {"txtMansioni", "Mansioni:", "Mansioni"},
    {"txtIban", "IBAN:", "Iban", CardFieldKind::Edit, CardFilter::TrimUpper},
    {"txtDataAss", "Data assunzione:", "DataAss"},
    {"txtRetribuzione", "Retribuzione:", "Retribuzione"},
    {"txtNote", "Note:", "Note"},
}};

// The navigator's rules for the agent card: mandatory name, codice fiscale, mobile number, qualification
// and department, in this order; duplicating does not open the archive.
CardRules agentCardRules();

// The three refusals of the work register button, in the order they are checked.
inline const QString kLavoriNotSavedWarning =
    QStringLiteral("Attenzione: la registrazione delle prestazioni lavorative può avvenire soltanto dopo aver "
                   "salvato la scheda dell'agente.");
inline const QString kLavoriNoNameWarning =
    QStringLiteral("Attenzione: per registrare le prestazioni lavorative è necessario indicare il nome dell'agente.");
inline const QString kLavoriNoCodFiscWarning = QStringLiteral(
    "Attenzione: per registrare le prestazioni lavorative è necessario indicare il codice fiscale dell'agente.");

// Why the work register may not open for a card at `position` with this name and codice fiscale: the
// warning and the control that takes the focus (empty: the focus stays where it is); nullopt when it
// may open.
struct LavoriRefusal {
    QString warning;
    QString focus;
};
std::optional<LavoriRefusal> lavoriRefusal(QStringView position, QStringView dipendente, QStringView codFisc);

// One tick of the photo slideshow. `position` is the text of the slideshow's hidden position label (the
// number of cards already shown, empty at the start), `count` the number of cards in the archive.
// The position goes 0 → 1 → … → n → 0 → 1 …: from k < n the tick shows card k + 1; from n it only goes
// back to 0, so the last photo stays for a second interval.
struct SlideshowStep {
    enum class Action {
        EmptyArchive, // empty the position, stop, tell the user and close
        Show,         // show the photo of card `card`
        Restart,      // nothing to show at this tick
        BadPosition,  // the position is not a count: treated as an archive failure
    };
    Action action;
    QString position; // the position text after the tick
    std::int64_t card = 0;
};
SlideshowStep slideshowStep(QStringView position, std::int64_t count);

} // namespace ombrisa
