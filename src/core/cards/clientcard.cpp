#include "core/cards/clientcard.h"

#include "core/records/archivepaths.h"
#include "core/storage/textfield.h"

namespace ombrisa {

CardRules clientCardRules() {
    CardRules rules;
    rules.archiveFile = kClientiFile;
    rules.recordSize = sizeof(TRecCliente);
    rules.firstField = QStringLiteral("txtCliente");
    rules.appendedMessage = kInsertedMessage;
    rules.mandatory = {
        {QStringLiteral("txtCliente"),
         QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il nome del cliente.")},
        {QStringLiteral("txtRecapito"), QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il "
                                                       "numero di telefono preferenziale del cliente.")},
        {QStringLiteral("txtCodFisc"),
         QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il codice fiscale del cliente.")},
    };
    rules.duplicateOpensArchive = true;
    return rules;
}

std::optional<StoricoRefusal> storicoRefusal(QStringView position, QStringView codFisc) {
    if (trimView(position).isEmpty())
        return StoricoRefusal{kStoricoNotSavedWarning, false};
    if (trimView(codFisc).isEmpty())
        return StoricoRefusal{kStoricoNoCodFiscWarning, true};
    return std::nullopt;
}

} // namespace ombrisa
