#pragma once

#include "core/cards/cardfield.h"
#include "core/cards/cardnavigator.h"
#include "core/records/records.h"

#include <QString>
#include <array>
#include <optional>

namespace ombrisa {

// The 29 boxes of the client card, in screen order (also the Enter ring); the record fields they edit
// are the first 29 of TRecCliente, in the same order.
inline constexpr std::array<CardField, 29> kClientCardFields{{
    {"txtCliente", "Cognome e nome:", "Cliente"},
    {"txtDataNasc", "Data di nascita:", "DataNasc"},
    {"txtComuneNasc", "Comune di nascita:", "ComuneNasc"},
    {"txtProvNasc", "Prov.", "ProvNasc", CardFieldKind::Province, CardFilter::TrimUpper, kFilterOnLeave},
    {"txtSesso", "Sesso:", "Sesso", CardFieldKind::Edit, CardFilter::Upper},
    {"txtRecapito", "Tel. preferenziale:", "Recapito"},
    {"txtIndirizzoRes", "Residente in Via / Piazza e numero civico:", "IndirizzoRes"},
    {"txtProvRes", "Prov.", "ProvRes", CardFieldKind::Province, CardFilter::TrimUpper, kFilterOnLeave},
    {"txtComuneRes", "Comune di residenza:", "ComuneRes"},
    {"txtCapRes", "CAP:", "CapRes", CardFieldKind::Edit, CardFilter::UpperOnKeyRelease},
    {"txtEstremi", "Modalità di pagamento:", "Estremi"},
    {"txtTelCasa", "Tel. casa:", "TelCasa"},
    {"txtTelUff", "Tel. ufficio:", "TelUff"},
    {"txtTelCel", "Tel. cellulare:", "TelCel"},
    {"txtFax", "PEC:", "Fax", CardFieldKind::Edit, CardFilter::Trim},
    {"txtEmail", "E-mail:", "Email", CardFieldKind::Edit, CardFilter::Trim, kFilterOnLeave},
    {"txtCodFisc", "Codice fiscale:", "CodFisc", CardFieldKind::Edit, CardFilter::TrimUpper},
    {"txtCarta", "Carta di credito n.", "Carta", CardFieldKind::Edit, CardFilter::Digits},
    {"txtScadeCarta", "Scadenza:", "ScadeCarta"},
    {"txtPartitaIva", "Partita IVA:", "PartitaIva", CardFieldKind::Edit, CardFilter::Digits},
    {"txtIban", "IBAN:", "Iban", CardFieldKind::Edit, CardFilter::TrimUpper},
    {"txtDocumento", "Estremi documento:", "Documento"},
    {"txtOccupazione", "Occupazione:", "Occupazione"},
    {"txtCivile", "Stato civile:", "Civile"},
    {"txtTitoli", "Titoli e qualifiche:", "Titoli"},
    {"txtProdotti", "Prodotti o servizi di interesse:", "Prodotti"},
    {"txtZona", "Zona:", "Zona"},
    {"txtQuestioni", "Questioni in sospeso:", "Questioni"},
    {"txtNote", "Note:", "Note"},
}};

// The recontact flag of the card (the hidden attachment labels are kCardAttachmentLabels).
inline constexpr const char* kRicontattaField = "Ricontatta";
inline const QString kRicontattaYes = QStringLiteral("Sì");
inline const QString kRicontattaNo = QStringLiteral("No");

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
