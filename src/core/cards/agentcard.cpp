#include "core/cards/agentcard.h"

#include "core/records/archivepaths.h"
#include "core/storage/textfield.h"

namespace ombrisa {

CardRules agentCardRules() {
    CardRules rules;
    rules.archiveFile = kDipendentiFile;
    rules.recordSize = sizeof(TRecDipendente);
    rules.firstField = QStringLiteral("txtDipendente");
    rules.appendedMessage = kInsertedMessage;
    rules.mandatory = {
        {QStringLiteral("txtDipendente"), QStringLiteral("Attenzione: per salvare la scheda è necessario indicare "
                                                         "cognome e nome del lavoratore.")},
        {QStringLiteral("txtCodFisc"), QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il "
                                                      "codice fiscale del lavoratore.")},
        {QStringLiteral("txtCel"), QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il numero "
                                                  "di cellulare dal lavoratore.")},
        {QStringLiteral("txtQualifica"),
         QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la qualifica dal lavoratore.")},
        {QStringLiteral("txtReparto"),
         QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il reparto dal lavoratore.")},
    };
    rules.duplicateOpensArchive = false;
    return rules;
}

std::optional<LavoriRefusal> lavoriRefusal(QStringView position, QStringView dipendente, QStringView codFisc) {
    if (trimView(position).isEmpty())
        return LavoriRefusal{kLavoriNotSavedWarning, QString()};
    if (trimView(dipendente).isEmpty())
        return LavoriRefusal{kLavoriNoNameWarning, QStringLiteral("txtDipendente")};
    if (trimView(codFisc).isEmpty())
        return LavoriRefusal{kLavoriNoCodFiscWarning, QStringLiteral("txtCodFisc")};
    return std::nullopt;
}

SlideshowStep slideshowStep(QStringView position, std::int64_t count) {
    if (count <= 0)
        return {SlideshowStep::Action::EmptyArchive, QString(), 0};
    const QStringView text = trimView(position);
    std::int64_t shown = 0;
    if (!text.isEmpty() && text != u"0") {
        const auto number = parseCardNumber(text);
        if (!number)
            return {SlideshowStep::Action::BadPosition, position.toString(), 0};
        shown = *number;
    }
    if (shown < count)
        return {SlideshowStep::Action::Show, QString::number(shown + 1), shown + 1};
    // The last card was shown at the previous tick (or the archive shrank under us): start again.
    return {SlideshowStep::Action::Restart, QStringLiteral("0"), 0};
}

} // namespace ombrisa
