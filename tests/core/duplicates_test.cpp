// The one rule that tells two client cards of the same client apart from two clients.
#include "core/cards/duplicates.h"
#include "core/records/archivepaths.h"
#include "core/storage/codepage.h"

#include "core/exportarchives.h"
#include "core/testfolder.h"

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

struct ClauseCase {
    const char* name;
    Fields a;
    Fields b;
    bool same;
};

const std::vector<ClauseCase>& clauseCases() {
    static const std::vector<ClauseCase> cases{
        {"codice fiscale, trimmed and any case", {{"CodFisc", " rssmra80a01h50"}}, {{"CodFisc", "RSSMRA80A01H50 "}},
         true},
        {"two empty codici fiscali are no match", {{"CodFisc", ""}, {"Cliente", "A"}}, {{"CodFisc", " "}, {"Cliente", "B"}},
         false},
        {"partita IVA", {{"PartitaIva", "0123456789"}}, {{"PartitaIva", " 0123456789"}}, true},
        {"different partite IVA", {{"PartitaIva", "01234567897"}}, {{"PartitaIva", "01234567898"}}, false},
        {"name and telephone", {{"Cliente", "Rossi Mario"}, {"Recapito", "06 1234567"}},
         {{"Cliente", "rossi mario"}, {"TelCasa", "061234567"}}, true},
        {"name with accents and blanks folded", {{"Cliente", "  Niccolò   D'Alì "}, {"TelCel", "333-1234567"}},
         {{"Cliente", "NICCOLO D'ALI"}, {"Recapito", "3331234567"}}, true},
        {"0039 and +39 are not part of the number", {{"Cliente", "Rossi"}, {"Recapito", "0039 06 1234567"}},
         {{"Cliente", "Rossi"}, {"TelUff", "+39 (06) 123-4567"}}, true},
        {"39 without + is part of the number", {{"Cliente", "Rossi"}, {"Recapito", "392 1234567"}},
         {{"Cliente", "Rossi"}, {"Recapito", "21234567"}}, false},
        {"same name, other telephone", {{"Cliente", "Rossi"}, {"Recapito", "06 1"}},
         {{"Cliente", "Rossi"}, {"Recapito", "06 2"}}, false},
        {"same telephone, other name", {{"Cliente", "Rossi"}, {"Recapito", "06 1"}},
         {{"Cliente", "Bianchi"}, {"Recapito", "06 1"}}, false},
        {"same name, no telephone", {{"Cliente", "Rossi"}}, {{"Cliente", "Rossi"}}, false},
        {"same telephone, no names", {{"Recapito", "06 1234567"}}, {{"TelCel", "06 1234567"}}, false},
        {"same telephone, names of blanks", {{"Cliente", "  "}, {"Recapito", "06 1"}},
         {{"Cliente", " "}, {"Recapito", "06 1"}}, false},
        {"telephone of blanks and signs is none", {{"Cliente", "Rossi"}, {"Recapito", " - "}},
         {{"Cliente", "Rossi"}, {"TelCel", "()"}}, false},
        {"a code with letters outside ASCII, any case", {{"CodFisc", "àèRSS"}}, {{"CodFisc", "ÀÈrss "}}, true},
        {"a code with letters outside ASCII, other letters", {{"CodFisc", "àèRSS"}}, {{"CodFisc", "ÀÉRSS"}}, false},
        {"a telephone among signs and letters", {{"Cliente", "Rossi"}, {"TelUff", "tel. 06/1234567 (uff.)"}},
         {{"Cliente", "Rossi"}, {"TelCel", "0039061234567"}}, true},
    };
    return cases;
}

TEST(DuplicateRule, EachClause) {
    for (const ClauseCase& c : clauseCases()) {
        SCOPED_TRACE(c.name);
        const ClientIdentity a = clientIdentity(makeClient(c.a));
        const ClientIdentity b = clientIdentity(makeClient(c.b));
        EXPECT_EQ(sameClient(a, b), c.same);
        EXPECT_EQ(sameClient(b, a), c.same);
        ClientIndex index;
        index.add(a, 7);
        EXPECT_EQ(index.find(b).has_value(), c.same);
    }
}

// The identity reads plain ASCII fields straight from their bytes and the others through the text forms:
// both must give exactly the compared forms of the rule.
TEST(DuplicateRule, TheIdentityHoldsTheRulesComparedForms) {
    const std::vector<QString> texts{
        "Rossi Mario", "  ROSSI\t\tmario ", "a\x01" "b", "x\x7f" "Y", "Niccolò D'Alì", "ÀÈ rss", "Straße",
        "l'œuvre …", "", " ", "abc-012 Z", "0039 06 1234567", "+39 06 1234567", "+ 39 333", "(+39) 06",
        "tel. 06/1234567 (uff.)", "€ 39", "3906"};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const ClientIdentity id = clientIdentity(makeClient(
            {{"Cliente", text}, {"CodFisc", text.left(16)}, {"PartitaIva", text.left(11)}, {"TelCel", text.left(30)}}));
        // What the field keeps of the text: Windows-1252, cut to the field's capacity.
        const auto stored = [](const QString& t, qsizetype capacity) { return fromCp1252(toCp1252(t).left(capacity)); };
        EXPECT_EQ(QString::fromUtf8(id.name()), comparableName(stored(text, 50)));
        EXPECT_EQ(QString::fromUtf8(id.codFisc()), comparableCode(stored(text.left(16), 16)));
        EXPECT_EQ(QString::fromUtf8(id.partitaIva()), comparableCode(stored(text.left(11), 11)));
        const QString phone = comparablePhone(stored(text.left(30), 30));
        ASSERT_EQ(id.phoneCount(), phone.isEmpty() ? 0 : 1);
        if (!phone.isEmpty()) {
            EXPECT_EQ(QString::fromUtf8(id.phone(0)), phone);
        }
    }
}

TEST(DuplicateRule, TheIndexNamesTheFirstMatchingCard) {
    ClientIndex index;
    index.add(clientIdentity(makeClient({{"Cliente", "Rossi"}, {"Recapito", "1"}})), 5);
    index.add(clientIdentity(makeClient({{"CodFisc", "AAA"}})), 9);
    index.add(clientIdentity(makeClient({{"CodFisc", "AAA"}})), 3);
    EXPECT_EQ(index.find(clientIdentity(makeClient({{"CodFisc", "aaa"}, {"Cliente", "Rossi"}, {"TelCel", "1"}}))), 3);
    EXPECT_EQ(index.find(clientIdentity(makeClient({{"Cliente", "Rossi"}, {"TelCel", "1"}}))), 5);
    EXPECT_FALSE(index.find(clientIdentity(makeClient({{"Cliente", "Verdi"}, {"TelCel", "1"}}))));
}

class DuplicateArchive : public TestFolder {};

TEST_F(DuplicateArchive, GroupsJoinThroughAnyClause) {
    writeArchive(path(kClientiFile),
                 std::vector<TRecCliente>{
                     makeClient({{"Cliente", "Rossi"}, {"Recapito", "1"}, {"CodFisc", "AAA"}}), // 1
                     makeClient({{"Cliente", "Bianchi"}, {"Recapito", "2"}}),                 // 2
                     makeClient({{"Cliente", "Rossi"}, {"TelCel", "+39 1"}, {"PartitaIva", "P"}}), // 3 ~ 1 by name+tel
                     makeClient({{"Cliente", "Altro"}, {"PartitaIva", "P"}}),                 // 4 ~ 3 by P.IVA
                     makeClient({{"Cliente", "Verdi"}, {"CodFisc", "VVV"}}),                  // 5
                     makeClient({{"Cliente", "verdi"}, {"CodFisc", "vvv"}}),                  // 6 ~ 5
                 });
    std::vector<std::vector<std::int64_t>> groups;
    QString error;
    ASSERT_TRUE(findDuplicateClients(groups, &error));
    EXPECT_EQ(groups, (std::vector<std::vector<std::int64_t>>{{1, 3, 4}, {5, 6}}));

    std::optional<std::int64_t> found;
    ASSERT_TRUE(findExistingClient(makeClient({{"CodFisc", "vvv"}}), 0, found, &error));
    EXPECT_EQ(found, 5);
    ASSERT_TRUE(findExistingClient(makeClient({{"CodFisc", "vvv"}}), 5, found, &error));
    EXPECT_EQ(found, 6); // saving card 5 in place: another card is the same client
    ASSERT_TRUE(findExistingClient(makeClient({{"Cliente", "Nuovo"}, {"Recapito", "9"}}), 0, found, &error));
    EXPECT_FALSE(found);
    EXPECT_EQ(duplicateClientQuestion(12),
              QStringLiteral("Esiste già una scheda per questo cliente (scheda n. 12). Salvare comunque?\n\r\n\r"
                             "Sì: inserisce in archivio la scheda sullo schermo come nuova scheda.\n\r"
                             "No: mostra la scheda n. 12 (la scheda sullo schermo non viene salvata)."));
}

// The archive scan looks at each card's bytes before it applies the rule: it finds a card exactly when
// the rule says the two are the same client, whichever card is in the archive.
TEST_F(DuplicateArchive, TheScanFindsACardExactlyWhenTheRuleMatches) {
    for (const ClauseCase& c : clauseCases()) {
        for (const bool swapped : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (swapped ? ", swapped" : ""));
            const TRecCliente stored = makeClient(swapped ? c.b : c.a);
            const TRecCliente wanted = makeClient(swapped ? c.a : c.b);
            const TRecCliente other = makeClient({{"Cliente", "Estraneo"}, {"Recapito", "000"}, {"CodFisc", "ZZZ"}});
            writeArchive(path(kClientiFile), std::vector<TRecCliente>{other, stored});
            std::optional<std::int64_t> found;
            QString error;
            ASSERT_TRUE(findExistingClient(wanted, 0, found, &error)) << error.toStdString();
            EXPECT_EQ(found, c.same ? std::optional<std::int64_t>(2) : std::nullopt);
        }
    }
}

// The listing of duplicates groups two cards exactly when the rule says they are the same client.
TEST_F(DuplicateArchive, TheListingGroupsTwoCardsExactlyWhenTheRuleMatches) {
    for (const ClauseCase& c : clauseCases()) {
        SCOPED_TRACE(c.name);
        const TRecCliente other = makeClient({{"Cliente", "Estraneo"}, {"Recapito", "000"}, {"CodFisc", "ZZZ"}});
        writeArchive(path(kClientiFile), std::vector<TRecCliente>{makeClient(c.a), other, makeClient(c.b)});
        std::vector<std::vector<std::int64_t>> groups;
        QString error;
        ASSERT_TRUE(findDuplicateClients(groups, &error)) << error.toStdString();
        using Groups = std::vector<std::vector<std::int64_t>>;
        EXPECT_EQ(groups, (c.same ? Groups{{1, 3}} : Groups{}));
    }
}

TEST_F(DuplicateArchive, AMissingArchiveHasNoGroups) {
    std::vector<std::vector<std::int64_t>> groups{{1}};
    ASSERT_TRUE(findDuplicateClients(groups, nullptr));
    EXPECT_TRUE(groups.empty());
    EXPECT_FALSE(QFile::exists(path(kClientiFile)));
}

} // namespace
