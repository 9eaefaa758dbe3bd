#include "core/validators/partitaiva.h"

#include <array>

namespace ombrisa {

namespace {

bool isDigit09(QChar c) {
    return c >= u'0' && c <= u'9';
}
int digitValue(QChar c) {
    return c.unicode() - u'0';
}

// Office names by code: codes 1 to 102 in order, then 120 and 121.
const std::array<const char16_t*, 102> kOffices{
    u"Torino",
    u"Vercelli",
    u"Novara",
    u"Cuneo",
    u"Asti",
    u"Alessandria",
    u"Aosta",
    u"Imperia",
    u"Savona",
    u"Genova 1",
    u"La Spezia",
    u"Varese",
    u"Como",
    u"Sondrio",
    u"Milano 1",
    u"Bergamo",
    u"Brescia 1",
    u"Pavia",
    u"Cremona",
    u"Mantova",
    u"Bolzano",
    u"Trento",
    u"Verona",
    u"Vicenza",
    u"Belluno",
    u"Treviso",
    u"Venezia",
    u"Padova",
    u"Rovigo",
    u"Udine",
    u"Gorizia",
    u"Trieste",
    u"Piacenza",
    u"Parma",
    u"Reggio Emilia",
    u"Modena",
    u"Bologna 1",
    u"Ferrara",
    u"Ravenna",
    u"Forlì",
    u"Pesaro",
    u"Ancona",
    u"Macerata",
    u"Ascoli Piceno",
    u"Massa Carrara",
    u"Lucca",
    u"Pistoia",
    u"Firenze 1",
    u"Livorno",
    u"Pisa",
    u"Arezzo",
    u"Siena",
    u"Grosseto",
    u"Perugia",
    u"Terni",
    u"Viterbo",
    u"Rieti",
    u"Roma 1",
    u"Latina",
    u"Frosinone",
    u"Caserta",
    u"Benevento",
    u"Napoli 1",
    u"Avellino",
    u"Salerno",
    u"Aquila",
    u"Teramo",
    u"Pescara",
    u"Chieti",
    u"Campobasso",
    u"Foggia",
    u"Bari",
    u"Taranto",
    u"Brindisi",
    u"Lecce",
    u"Potenza",
    u"Matera",
    u"Cosenza",
    u"Catanzaro",
    u"Reggio Calabria",
    u"Trapani",
    u"Palermo",
    u"Messina",
    u"Agrigento",
    u"Caltanissetta",
    u"Enna",
    u"Catania",
    u"Ragusa",
    u"Siracusa",
    u"Sassari",
    u"Nuoro",
    u"Cagliari",
    u"Pordenone",
    u"Isernia",
    u"Oristano",
    u"Monza (Milano 2)",
    u"Prato (Firenze 2)",
    u"Brescia 2",
    u"Chiavari (Genova 2)",
    u"Roma 2",
    u"Bologna 2",
    u"Napoli 2",
};

const QString kLengthWarning =
    QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kValid = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.");
const QString kValidOffice = QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ");
const QString kWrong = QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!");
const QString kWrongNoOffice =
    QStringLiteral("Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");

} // namespace

std::optional<int> partitaIvaCheckDigit(QStringView text) {
    if (text.size() < kPartitaIvaLength - 1)
        return std::nullopt;
    int total = 0;
    for (qsizetype i = 0; i < kPartitaIvaLength - 1; ++i) {
        if (!isDigit09(text[i]))
            return std::nullopt;
        const int digit = digitValue(text[i]);
        if (i % 2 == 0) {
            total += digit; // 1st, 3rd, ... 9th
        } else {
            const int doubled = digit * 2; // 2nd, 4th, ... 10th
            total += doubled / 10 + doubled % 10;
        }
    }
    return (10 - total % 10) % 10;
}

QString partitaIvaOffice(QStringView code) {
    if (code.size() != 3 || !isDigit09(code[0]) || !isDigit09(code[1]) || !isDigit09(code[2]))
        return {};
    const int number = digitValue(code[0]) * 100 + digitValue(code[1]) * 10 + digitValue(code[2]);
    if (number >= 1 && number <= static_cast<int>(kOffices.size()))
        return QString::fromUtf16(kOffices[static_cast<std::size_t>(number - 1)]);
    if (number == 120)
        return QStringLiteral("Bologna 2");
    if (number == 121)
        return QStringLiteral("Napoli 2");
    return {};
}

CheckOutcome checkPartitaIva(QStringView text) {
    const QString number = text.toString().toUpper();
    if (number.size() != kPartitaIvaLength)
        return {CheckVerdict::Incomplete, kLengthWarning, {}};
    const std::optional<int> expected = partitaIvaCheckDigit(number);
    const QChar last = number[kPartitaIvaLength - 1];
    if (expected && isDigit09(last) && digitValue(last) == *expected) {
        const QString office = partitaIvaOffice(QStringView(number).mid(7, 3));
        return {CheckVerdict::Valid, kValid + kMessageParagraphBreak + kValidOffice + office + u'.', office};
    }
    return {CheckVerdict::Wrong, kWrong + kMessageParagraphBreak + kWrongNoOffice, {}};
}

} // namespace ombrisa
