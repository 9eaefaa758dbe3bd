// The call card's save checks, in their order, without a window: each case changes a valid card so that
// one check fails, and the first failing check decides message, focus and box kind.
#include "core/cards/callcard.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace ombrisa;

namespace {

using Card = QMap<QString, QString>;

Card validCard() {
    return {{"txtGiornoRit", "05"},       {"txtMeseRit", "Marzo"},       {"lblAnnoRit", "2024"},
            {"txtOreRit", "09"},          {"txtMinutiRit", "07"},        {"txtTipo", "In entrata"},
            {"txtOggetto", "Ordine"},     {"txtCliente", "Rossi Mario"}, {"txtCodFisc", "RSSMRA80A01H501U"},
            {"txtRecapito", "06 5551234"}};
}

CallSaveVerdict check(const Card& card) {
    return checkCallCard([&card](const QString& control) { return card.value(control); });
}

struct SaveCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> changes;
    int check;
    const char* control;
    const char* message;
};
// The test list and a failure name the case.
void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

const char* const kDateTail = "\n\r\n\rPer poter salvare la scheda è necessario indicare una data valida.";

class SaveChecks : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveChecks, FirstFailingCheckDecides) {
    const SaveCase& c = GetParam();
    Card card = validCard();
    for (const auto& [control, text] : c.changes)
        card[QString::fromLatin1(control)] = QString::fromUtf8(text);
    const CallSaveVerdict v = check(card);
    EXPECT_EQ(v.check, c.check);
    EXPECT_EQ(v.control.toStdString(), c.control);
    EXPECT_EQ(v.message.toStdString(), c.message);
    EXPECT_EQ(v.plain, c.check == 16);
}

// Blanks count as empty: every emptiness check also gets a text of blanks and control characters.
INSTANTIATE_TEST_SUITE_P(
    Table, SaveChecks,
    ::testing::Values(
        SaveCase{"DayEmpty",
             {{"txtGiornoRit", " \t "}, {"txtMeseRit", ""}},
             1,
             "txtGiornoRit",
             "Attenzione: per salvare la scheda è necessario indicare il giorno della chiamata."},
        SaveCase{"DayOneDigit",
             {{"txtGiornoRit", " 5 "}, {"lblAnnoRit", ""}},
             2,
             "txtGiornoRit",
             "Attenzione: per salvare la scheda è necessario indicare il giorno della chiamata usando due cifre."},
        SaveCase{"MonthEmpty",
             {{"txtMeseRit", "  "}, {"lblAnnoRit", ""}},
             3,
             "txtMeseRit",
             "Attenzione: per salvare la scheda è necessario indicare il mese della chiamata."},
        SaveCase{"YearEmpty",
             {{"lblAnnoRit", ""}, {"txtOreRit", ""}},
             4,
             "lblAnnoRit",
             "Attenzione: per salvare la scheda è necessario indicare l'anno della chiamata."},
        SaveCase{"YearThreeDigits",
             {{"lblAnnoRit", " 202 "}, {"txtOreRit", ""}},
             5,
             "lblAnnoRit",
             "Attenzione: per salvare la scheda è necessario indicare l'anno della chiamata usando quattro cifre."},
        // The hour's emptiness is checked before the minutes', the minutes' before the hour's length.
        SaveCase{"HourEmpty",
             {{"txtOreRit", ""}, {"txtMinutiRit", ""}},
             6,
             "txtOreRit",
             "Attenzione: per salvare la scheda è necessario indicare l'ora della chiamata."},
        SaveCase{"MinutesEmpty",
             {{"txtOreRit", "9"}, {"txtMinutiRit", " "}},
             7,
             "txtMinutiRit",
             "Attenzione: per salvare la scheda è necessario indicare i minuti dell'ora della chiamata."},
        SaveCase{"HourOneDigit",
             {{"txtOreRit", "9"}, {"txtMinutiRit", "7"}},
             8,
             "txtOreRit",
             "Attenzione: per salvare la scheda è necessario indicare l'ora della chiamata usando due cifre."},
        SaveCase{"MinutesOneDigit",
             {{"txtMinutiRit", "7 "}, {"txtTipo", ""}},
             9,
             "txtMinutiRit",
             "Attenzione: per salvare la scheda è necessario indicare i minuti dell'ora della vendita usando due "
             "cifre."},
        SaveCase{"TipoEmpty",
             {{"txtTipo", ""}, {"txtOggetto", ""}},
             10,
             "txtTipo",
             "Attenzione: per salvare la scheda è necessario indicare il tipo di chiamata (in entrata o in uscita)."},
        SaveCase{"OggettoEmpty",
             {{"txtOggetto", "   "}, {"txtCliente", ""}},
             11,
             "txtOggetto",
             "Attenzione: per salvare la scheda è necessario indicare l'oggetto della chiamata."},
        SaveCase{"ClienteEmpty",
             {{"txtCliente", ""}, {"txtCodFisc", ""}},
             12,
             "txtCliente",
             "Attenzione: per salvare la scheda è necessario indicare cognome e nome del cliente."},
        SaveCase{"CodFiscEmpty",
             {{"txtCodFisc", ""}, {"txtRecapito", ""}},
             13,
             "txtCodFisc",
             "Attenzione: per salvare la scheda è necessario indicare il codice fiscale del cliente."},
        SaveCase{"RecapitoEmpty",
             {{"txtRecapito", " "}, {"txtMeseRit", "Marzolino"}},
             14,
             "txtRecapito",
             "Attenzione: per salvare la scheda è necessario indicare il telefono preferenziale del cliente."},
        SaveCase{"MonthUnknown",
             {{"txtMeseRit", "Marzolino"}, {"txtGiornoRit", "99"}},
             15,
             "txtMeseRit",
             "Attenzione: selezionare il mese dal menu a cascata.\n\r\n\rPer poter salvare la scheda è necessario "
             "indicare una data valida."},
        SaveCase{"ThirtyFirstOfApril",
             {{"txtGiornoRit", "31"}, {"txtMeseRit", "Aprile"}},
             16,
             "txtGiornoRit",
             "Attenzione: la data 31/04/2024 non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare "
             "una data valida."},
        SaveCase{"FebruaryTwentyNinthOfCommonYear",
             {{"txtGiornoRit", "29"}, {"txtMeseRit", "Febbraio"}, {"lblAnnoRit", "2023"}},
             16,
             "txtGiornoRit",
             "Attenzione: la data 29/02/2023 non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare "
             "una data valida."},
        SaveCase{"FiveDigitYear",
             {{"lblAnnoRit", "20245"}},
             16,
             "txtGiornoRit",
             "Attenzione: la data 05/03/20245 non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare "
             "una data valida."},
        SaveCase{"YearZero",
             {{"lblAnnoRit", "0000"}},
             16,
             "txtGiornoRit",
             "Attenzione: la data 05/03/0000 non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare "
             "una data valida."},
        SaveCase{"DayNotANumber",
             {{"txtGiornoRit", "0x"}},
             16,
             "txtGiornoRit",
             "Attenzione: la data 0x/03/2024 non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare "
             "una data valida."}),
    [](const ::testing::TestParamInfo<SaveCase>& p) { return std::string(p.param.name); });

TEST(SaveChecks, AValidCardPassesAndGivesItsCombinedDate) {
    const CallSaveVerdict v = check(validCard());
    EXPECT_TRUE(v.passed());
    EXPECT_EQ(v.combinedDate, QStringLiteral("05/03/2024"));
}

TEST(SaveChecks, YearOfFourDigitsWithLeadingZerosIsAccepted) {
    Card card = validCard();
    card["lblAnnoRit"] = "0024";
    const CallSaveVerdict v = check(card);
    EXPECT_TRUE(v.passed()) << v.message.toStdString();
    EXPECT_EQ(v.combinedDate, QStringLiteral("05/03/0024"));
}

// The month check ignores case and blanks; the combined date takes the month number of the name matched.
TEST(SaveChecks, MonthMatchedWhateverItsCase) {
    Card card = validCard();
    card["txtMeseRit"] = " dicEMBRE ";
    card["txtGiornoRit"] = " 31";
    card["lblAnnoRit"] = "1999 ";
    const CallSaveVerdict v = check(card);
    EXPECT_TRUE(v.passed()) << v.message.toStdString();
    EXPECT_EQ(v.combinedDate, QStringLiteral("31/12/1999"));
}

// A date rejected by the last check is still the combined date the hidden label keeps.
TEST(SaveChecks, RejectedDateIsStillCombined) {
    Card card = validCard();
    card["txtGiornoRit"] = "30";
    card["txtMeseRit"] = "Febbraio";
    EXPECT_EQ(check(card).combinedDate, QStringLiteral("30/02/2024"));
    card["txtMeseRit"] = "Brumaio";
    EXPECT_TRUE(check(card).combinedDate.isEmpty());
}

TEST(CallLists, ItemsOfEachList) {
    const QStringList days = callListItems(u"txtGiornoRit");
    ASSERT_EQ(days.size(), 31);
    EXPECT_EQ(days.first(), QStringLiteral("01"));
    EXPECT_EQ(days.last(), QStringLiteral("31"));
    const QStringList hours = callListItems(u"txtOreRit");
    ASSERT_EQ(hours.size(), 24);
    EXPECT_EQ(hours.first(), QStringLiteral("00"));
    EXPECT_EQ(hours.last(), QStringLiteral("23"));
    const QStringList minutes = callListItems(u"txtMinutiRit");
    ASSERT_EQ(minutes.size(), 60);
    EXPECT_EQ(minutes.last(), QStringLiteral("59"));
    EXPECT_EQ(callListItems(u"txtMeseRit"),
              (QStringList{"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto",
                           "Settembre", "Ottobre", "Novembre", "Dicembre"}));
    EXPECT_EQ(callListItems(u"txtTipo"), (QStringList{"In entrata", "In uscita"}));
    EXPECT_TRUE(callListItems(u"txtOggetto").isEmpty());
}

} // namespace
