#pragma once

#include "core/cards/cardnavigator.h"
#include "core/records/records.h"

#include <QString>
#include <array>
#include <optional>

namespace ombrisa {

// How the client card screen edits one field of TRecCliente while the user types.
enum class ClientFieldFilter {
    None,
    TrimUpper,         // trim, then upper case, on every change
    TrimUpperOnLeave,  // as TrimUpper, and once more when the box loses the focus (province boxes)
    Upper,             // upper case only
    UpperOnKeyRelease, // upper case, applied when a key is released
    Trim,              // trim only
    TrimOnLeave,       // trim, and once more when the box loses the focus
    Digits,            // keys other than digits, Backspace, Delete, Left, Right and Enter are discarded
};

// One edit box of the client card, in screen order (which is also the Enter ring): the section it
// stands in (1 to 5), the control's name, its caption, the record field it edits (its capacity is the
// box's length limit), its filter and whether it is an editable combo box of province codes.
struct ClientCardField {
    int section;
    const char* control;
    const char* caption;
    const char* field;
    ClientFieldFilter filter;
    bool provinceList = false;
};

inline constexpr std::array<ClientCardField, 29> kClientCardFields{{
    {1, "txtCliente", "Cognome e nome:", "Cliente", ClientFieldFilter::None},
    {1, "txtDataNasc", "Data di nascita:", "DataNasc", ClientFieldFilter::None},
    {1, "txtComuneNasc", "Comune di nascita:", "ComuneNasc", ClientFieldFilter::None},
    {1, "txtProvNasc", "Prov.", "ProvNasc", ClientFieldFilter::TrimUpperOnLeave, true},
    {1, "txtSesso", "Sesso:", "Sesso", ClientFieldFilter::Upper},
    {1, "txtRecapito", "Tel. preferenziale:", "Recapito", ClientFieldFilter::None},
    {1, "txtIndirizzoRes", "Residente in Via / Piazza e numero civico:", "IndirizzoRes", ClientFieldFilter::None},
    {1, "txtProvRes", "Prov.", "ProvRes", ClientFieldFilter::TrimUpperOnLeave, true},
    {1, "txtComuneRes", "Comune di residenza:", "ComuneRes", ClientFieldFilter::None},
    {1, "txtCapRes", "CAP:", "CapRes", ClientFieldFilter::UpperOnKeyRelease},
    {1, "txtEstremi", "Modalità di pagamento:", "Estremi", ClientFieldFilter::None},
    {2, "txtTelCasa", "Tel. casa:", "TelCasa", ClientFieldFilter::None},
    {2, "txtTelUff", "Tel. ufficio:", "TelUff", ClientFieldFilter::None},
    {2, "txtTelCel", "Tel. cellulare:", "TelCel", ClientFieldFilter::None},
    {2, "txtFax", "PEC:", "Fax", ClientFieldFilter::Trim},
    {2, "txtEmail", "E-mail:", "Email", ClientFieldFilter::TrimOnLeave},
    {3, "txtCodFisc", "Codice fiscale:", "CodFisc", ClientFieldFilter::TrimUpper},
    {3, "txtCarta", "Carta di credito n.", "Carta", ClientFieldFilter::Digits},
    {3, "txtScadeCarta", "Scadenza:", "ScadeCarta", ClientFieldFilter::None},
    {3, "txtPartitaIva", "Partita IVA:", "PartitaIva", ClientFieldFilter::Digits},
    {3, "txtIban", "IBAN:", "Iban", ClientFieldFilter::TrimUpper},
    {4, "txtDocumento", "Estremi documento:", "Documento", ClientFieldFilter::None},
    {4, "txtOccupazione", "Occupazione:", "Occupazione", ClientFieldFilter::None},
    {4, "txtCivile", "Stato civile:", "Civile", ClientFieldFilter::None},
    {4, "txtTitoli", "Titoli e qualifiche:", "Titoli", ClientFieldFilter::None},
    {4, "txtProdotti", "Prodotti o servizi di interesse:", "Prodotti", ClientFieldFilter::None},
    {4, "txtZona", "Zona:", "Zona", ClientFieldFilter::None},
    {5, "txtQuestioni", "Questioni in sospeso:", "Questioni", ClientFieldFilter::None},
    {5, "txtNote", "Note:", "Note", ClientFieldFilter::None},
}};

// The recontact flag and the hidden attachment labels of the card, with their fields.
inline constexpr const char* kRicontattaField = "Ricontatta";
inline const QString kRicontattaYes = QStringLiteral("Sì");
inline const QString kRicontattaNo = QStringLiteral("No");
inline constexpr std::array<std::pair<const char*, const char*>, 6> kClientAttachmentLabels{{
    {"lblFile01", "File01"},
    {"lblFile02", "File02"},
    {"lblFile03", "File03"},
    {"lblDesc01", "Desc01"},
    {"lblDesc02", "Desc02"},
    {"lblDesc03", "Desc03"},
}};

// The navigator's rules for the client card: mandatory name, preferred telephone and codice fiscale,
// in this order; duplicating opens the archive once.
CardRules clientCardRules();

// The two refusals of the call history button, in the order they are checked.
inline const QString kStoricoNotSavedWarning = QStringLiteral(
    "Attenzione: lo storico delle chiamate può essere visualizzato soltanto dopo aver salvato la scheda del cliente.");
inline const QString kStoricoNoCodFiscWarning = QStringLiteral("Attenzione: per visualizzare lo storico delle "
                                                               "chiamate è necessario indicare il codice fiscale "
                                                               "dello cliente.");

// Why the call history may not open for a card at `position` with this codice fiscale: the warning and
// whether txtCodFisc takes the focus; nullopt when it may open.
struct StoricoRefusal {
    QString warning;
    bool focusCodFisc;
};
std::optional<StoricoRefusal> storicoRefusal(QStringView position, QStringView codFisc);

} // namespace ombrisa
