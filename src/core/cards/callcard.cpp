#include "core/cards/callcard.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"

namespace ombrisa {
namespace {

QStringList twoDigitNumbers(int from, int to) {
    QStringList items;
    for (int n = from; n <= to; ++n)
        items.append(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
    return items;
}

const QString kSaveFirst = QStringLiteral("Attenzione: per salvare la scheda è necessario indicare ");
const QString kValidDate = QStringLiteral("Per poter salvare la scheda è necessario indicare una data valida.");
// The two line breaks of the date messages.
const QString kBreak = QStringLiteral("\n\r\n\r");

// A check that fails when the trimmed text of `control` is empty, or shorter than `minLength`.
struct TextCheck {
    const char* control;
    int minLength; // 1: must not be empty
    const char* tail;
};

// Checks 1 to 14, in their order.
constexpr std::array<TextCheck, 14> kTextChecks{{
    {"txtGiornoRit", 1, "il giorno della chiamata."},
    {"txtGiornoRit", 2, "il giorno della chiamata usando due cifre."},
    {"txtMeseRit", 1, "il mese della chiamata."},
    {"lblAnnoRit", 1, "l'anno della chiamata."},
    {"lblAnnoRit", 4, "l'anno della chiamata usando quattro cifre."},
    {"txtOreRit", 1, "l'ora della chiamata."},
    {"txtMinutiRit", 1, "i minuti dell'ora della chiamata."},
    {"txtOreRit", 2, "l'ora della chiamata usando due cifre."},
    {"txtMinutiRit", 2, "i minuti dell'ora della vendita usando due cifre."},
    {"txtTipo", 1, "il tipo di chiamata (in entrata o in uscita)."},
    {"txtOggetto", 1, "l'oggetto della chiamata."},
    {"txtCliente", 1, "cognome e nome del cliente."},
    {"txtCodFisc", 1, "il codice fiscale del cliente."},
    {"txtRecapito", 1, "il telefono preferenziale del cliente."},
}};

} // namespace

QStringList callListItems(QStringView control) {
    if (control == u"txtGiornoRit")
        return twoDigitNumbers(1, 31);
    if (control == u"txtMeseRit")
        return QStringList(kMonthNames.begin(), kMonthNames.end());
    if (control == u"txtOreRit")
        return twoDigitNumbers(0, 23);
    if (control == u"txtMinutiRit")
        return twoDigitNumbers(0, 59);
    if (control == u"txtTipo")
        return {kTipoEntrata, kTipoUscita};
    return {};
}

CardRules callCardRules() {
    CardRules rules;
    rules.archiveFile = kChiamateFile;
    rules.recordSize = sizeof(TRecChiamata);
    rules.firstField = QStringLiteral("txtOggetto");
    rules.duplicateFocus = QStringLiteral("txtGiornoRit");
    rules.appendedMessage = kSavedMessage;
    rules.duplicateOpensArchive = false;
    return rules;
}

CallSaveVerdict checkCallCard(const std::function<QString(const QString&)>& textOf) {
    CallSaveVerdict verdict;
    for (std::size_t i = 0; i < kTextChecks.size(); ++i) {
        const TextCheck& c = kTextChecks[i];
        const QString control = QString::fromLatin1(c.control);
        if (trimText(textOf(control)).size() < c.minLength) {
            verdict.check = static_cast<int>(i) + 1;
            verdict.control = control;
            verdict.message = kSaveFirst + QString::fromUtf8(c.tail);
            return verdict;
        }
    }

    // 15: the month, whatever its case, must be one of the twelve names.
    const QString month = QStringLiteral("txtMeseRit");
    const QString monthName = trimText(textOf(month)).toLower();
    int monthIndex = -1;
    for (std::size_t m = 0; m < kMonthNames.size(); ++m)
        if (monthName == kMonthNames[m].toLower())
            monthIndex = static_cast<int>(m);
    if (monthIndex < 0) {
        verdict.check = 15;
        verdict.control = month;
        verdict.message = QStringLiteral("Attenzione: selezionare il mese dal menu a cascata.") + kBreak + kValidDate;
        return verdict;
    }

    // 16: the combined date must exist (a year of more than four digits does not).
    const QString day = QStringLiteral("txtGiornoRit");
    verdict.combinedDate = callDateText(textOf(day), kMonthNames[static_cast<std::size_t>(monthIndex)],
                                        textOf(QStringLiteral("lblAnnoRit")));
    if (!parseDate(verdict.combinedDate)) {
        verdict.check = 16;
        verdict.control = day;
        verdict.plain = true;
        verdict.message = QStringLiteral("Attenzione: la data ") + verdict.combinedDate +
                          QStringLiteral(" non esiste.") + kBreak + kValidDate;
    }
    return verdict;
}

} // namespace ombrisa
