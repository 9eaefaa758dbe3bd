#pragma once

#include "core/cards/cardnavigator.h"
#include "core/records/records.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace ombrisa {

// How the agent card screen edits one field of TRecDipendente while the user types.
enum class AgentFieldFilter {
    None,
    TrimUpper, // trim, then upper case, on every change
    Trim,      // trim only, on every change
    Digits,    // keys other than digits, Backspace, Delete, Left, Right and Enter are discarded
};

// One edit box of the agent card, in screen order (which is also the tab order and the Enter ring): the
// control's name, its caption, the record field it edits (its capacity is the box's length limit), its
// filter and whether its text is centred.
struct AgentCardField {
    const char* control;
    const char* caption;
    const char* field;
    AgentFieldFilter filter;
    bool centred = false;
};

inline constexpr std::array<AgentCardField, 25> kAgentCardFields{{
    {"txtDipendente", "Cognome e nome:", "Dipendente", AgentFieldFilter::None},
    {"txtSesso", "Sesso:", "Sesso", AgentFieldFilter::TrimUpper, true},
    {"txtDataNasc", "Data nascita:", "DataNasc", AgentFieldFilter::None},
    {"txtCittadinanza", "Cittadinanza:", "Cittadinanza", AgentFieldFilter::None},
    {"txtLuogoNasc", "Luogo nascita:", "LuogoNasc", AgentFieldFilter::None},
    {"txtIndirizzo", "Indirizzo residenza:", "Indirizzo", AgentFieldFilter::None},
    {"txtCitta", "Città:", "Citta", AgentFieldFilter::None},
    {"txtCap", "CAP:", "Cap", AgentFieldFilter::None},
    {"txtNazione", "Nazione:", "Nazione", AgentFieldFilter::None},
    {"txtCodFisc", "Codice fiscale:", "CodFisc", AgentFieldFilter::TrimUpper},
    {"txtCivile", "Stato civile:", "Civile", AgentFieldFilter::None},
    {"txtPartitaIva", "Partita IVA:", "PartitaIva", AgentFieldFilter::Digits},
    {"txtStudio", "Titolo di studio:", "Studio", AgentFieldFilter::None},
    {"txtLingue", "Lingue conosciute:", "Lingue", AgentFieldFilter::None},
    {"txtEmail", "E-mail:", "Email", AgentFieldFilter::Trim},
    {"txtTel", "Tel. casa:", "Tel", AgentFieldFilter::None},
    {"txtCel", "Tel. cellulare:", "Cel", AgentFieldFilter::Digits},
    {"txtQualifica", "Qualifica:", "Qualifica", AgentFieldFilter::None},
    {"txtReparto", "Reparto:", "Reparto", AgentFieldFilter::None},
    {"txtDisponibilita", "Disponibilità:", "Disponibilita", AgentFieldFilter::None},
    {"txtMansioni", "Mansioni:", "Mansioni", AgentFieldFilter::None},
    {"txtIban", "IBAN:", "Iban", AgentFieldFilter::TrimUpper},
    {"txtDataAss", "Data assunzione:", "DataAss", AgentFieldFilter::None},
    {"txtRetribuzione", "Retribuzione:", "Retribuzione", AgentFieldFilter::None},
    {"txtNote", "Note:", "Note", AgentFieldFilter::None},
}};

// The hidden attachment labels of the agent card, with their fields.
inline constexpr std::array<std::pair<const char*, const char*>, 6> kAgentAttachmentLabels{{
    {"lblFile01", "File01"},
    {"lblFile02", "File02"},
    {"lblFile03", "File03"},
    {"lblDesc01", "Desc01"},
    {"lblDesc02", "Desc02"},
    {"lblDesc03", "Desc03"},
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
