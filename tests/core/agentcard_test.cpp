// The agent card's rules without windows: its field table, its save checks, the work register's refusals,
// the slideshow's position rule, and the navigator's steps after a card is shown and after a save.
#include "core/cards/agentcard.h"
#include "core/cards/cardnavigator.h"
#include "core/records/fieldtable.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QSet>
#include <QStringList>
#include <vector>

using namespace ombrisa;
using Outcome = CardNavigator::Outcome;

TEST(AgentCardFields, EditTheFirst25RecordFieldsInOrderAndTheLabelsTheRest) {
    ASSERT_EQ(kAgentCardFields.size() + kCardAttachmentLabels.size(), kDipendenteFields.size());
    QSet<QString> controls;
    for (std::size_t i = 0; i < kAgentCardFields.size(); ++i) {
        const CardField& f = kAgentCardFields[i];
        EXPECT_EQ(QString::fromLatin1(f.field), kDipendenteFields[i].name) << f.control;
        // The control takes the field's word.
        EXPECT_EQ(QString::fromLatin1(f.control), QStringLiteral("txt") + QString::fromLatin1(f.field));
        controls.insert(QString::fromLatin1(f.control));
    }
    for (std::size_t i = 0; i < kCardAttachmentLabels.size(); ++i)
        EXPECT_EQ(QString::fromLatin1(kCardAttachmentLabels[i].second),
                  kDipendenteFields[kAgentCardFields.size() + i].name);
    EXPECT_EQ(controls.size(), 25);
}

TEST(AgentCardFields, FiltersOfTheBoxesThatHaveOne) {
    QMap<QString, CardFilter> filtered;
    for (const CardField& f : kAgentCardFields)
        if (f.filter != CardFilter::None)
            filtered.insert(QString::fromLatin1(f.control), f.filter);
    const QMap<QString, CardFilter> expected{
        {"txtSesso", CardFilter::TrimUpper},   {"txtCodFisc", CardFilter::TrimUpper},
        {"txtPartitaIva", CardFilter::Digits}, {"txtEmail", CardFilter::Trim},
        {"txtCel", CardFilter::Digits},        {"txtIban", CardFilter::TrimUpper},
    };
    EXPECT_EQ(filtered, expected);
}

TEST(AgentCardRules, ArchiveAndSaveChecksInOrder) {
    const CardRules rules = agentCardRules();
    EXPECT_EQ(rules.archiveFile, QStringLiteral("Archivio_Dipendenti.pro"));
    EXPECT_EQ(rules.recordSize, 3356u);
    EXPECT_EQ(rules.firstField, QStringLiteral("txtDipendente"));
    EXPECT_EQ(rules.appendedMessage, kInsertedMessage);
    EXPECT_FALSE(rules.duplicateOpensArchive);
    QStringList order;
    for (const MandatoryField& m : rules.mandatory)
        order << m.control;
    EXPECT_EQ(order, QStringList({"txtDipendente", "txtCodFisc", "txtCel", "txtQualifica", "txtReparto"}));
}

TEST(LavoriRefusal, ChecksPositionThenNameThenCodiceFiscale) {
    struct Case {
        const char* position;
        const char* name;
        const char* codFisc;
        const QString* warning; // nullptr: the register may open
        const char* focus;
    };
    const Case cases[] = {
        {"", "", "", &kLavoriNotSavedWarning, ""},
        {"  ", "Rossi Mario", "RSSMRA80A01H501U", &kLavoriNotSavedWarning, ""},
        {"3", " ", "", &kLavoriNoNameWarning, "txtDipendente"},
        {"3", "Rossi Mario", "\t ", &kLavoriNoCodFiscWarning, "txtCodFisc"},
        {"3", "Rossi Mario", "RSSMRA80A01H501U", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.position) + "|" + c.name + "|" + c.codFisc);
        const auto refusal =
            lavoriRefusal(QString::fromLatin1(c.position), QString::fromLatin1(c.name), QString::fromLatin1(c.codFisc));
        if (!c.warning) {
            EXPECT_FALSE(refusal.has_value());
            continue;
        }
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->warning, *c.warning);
        EXPECT_EQ(refusal->focus, QString::fromLatin1(c.focus));
    }
}

TEST(SlideshowStep, GoesZeroOneToNThenZeroAndRoundAgain) {
    QString position;
    QStringList positions;
    std::vector<std::int64_t> shown;
    for (int tick = 0; tick < 9; ++tick) {
        const SlideshowStep step = slideshowStep(position, 3);
        ASSERT_NE(step.action, SlideshowStep::Action::EmptyArchive);
        ASSERT_NE(step.action, SlideshowStep::Action::BadPosition);
        position = step.position;
        positions << position;
        shown.push_back(step.action == SlideshowStep::Action::Show ? step.card : 0);
    }
    EXPECT_EQ(positions, QStringList({"1", "2", "3", "0", "1", "2", "3", "0", "1"}));
    EXPECT_EQ(shown, (std::vector<std::int64_t>{1, 2, 3, 0, 1, 2, 3, 0, 1}));
}

TEST(SlideshowStep, EdgeCases) {
    // Empty archive, whatever the position.
    EXPECT_EQ(slideshowStep(u"", 0).action, SlideshowStep::Action::EmptyArchive);
    EXPECT_EQ(slideshowStep(u"2", 0).action, SlideshowStep::Action::EmptyArchive);
    EXPECT_TRUE(slideshowStep(u"2", 0).position.isEmpty());
    // A single card: shown, then a tick without change, then shown again.
    EXPECT_EQ(slideshowStep(u"", 1).card, 1);
    EXPECT_EQ(slideshowStep(u"1", 1).action, SlideshowStep::Action::Restart);
    EXPECT_EQ(slideshowStep(u"0", 1).card, 1);
    // Blanks around the position are ignored.
    EXPECT_EQ(slideshowStep(u" 1 ", 3).card, 2);
    // A position past the end (fewer cards than before) starts again instead of sticking.
    EXPECT_EQ(slideshowStep(u"7", 3).action, SlideshowStep::Action::Restart);
    // Not a count.
    EXPECT_EQ(slideshowStep(u"x", 3).action, SlideshowStep::Action::BadPosition);
    EXPECT_EQ(slideshowStep(u"-1", 3).action, SlideshowStep::Action::BadPosition);
}

namespace {

// Records what the navigator asks of the screen, in order.
class RecordingView : public CardView {
public:
    QString pos;
    QMap<QString, QString> controls;
    QStringList events;

    QString position() const override { return pos; }
    void setPosition(const QString& text) override {
        pos = text;
        events << QStringLiteral("position ") + text;
    }
    void loadCard(const void*) override { events << QStringLiteral("load"); }
    void fillRecord(void* record) override {
        // Name only: enough for the record to be a card.
        PutText(record, kDipendenteFields[0], controls.value(QStringLiteral("txtDipendente")));
    }
    bool clearCard() override { return true; }
    void clearForDuplicate() override {}
    QString controlText(const QString& control) const override { return controls.value(control); }
    void focusControl(const QString& control) override { events << QStringLiteral("focus ") + control; }
    void cardShown() override { events << QStringLiteral("shown ") + pos; }
    void cardSaved() override { events << QStringLiteral("saved ") + pos; }
    void showMessage(CardMessageKind, const QString& text) override { events << QStringLiteral("message ") + text; }
};

class AgentNavigatorTest : public TestFolder {
protected:
    void fillMandatory() {
        view.controls = {{"txtDipendente", "Rossi Mario"},
                         {"txtCodFisc", "RSSMRA80A01H501U"},
                         {"txtCel", "3331234567"},
                         {"txtQualifica", "Tecnico"},
                         {"txtReparto", "Assistenza"}};
    }
    RecordingView view;
    CardNavigator navigator{agentCardRules(), view};
};

} // namespace

TEST_F(AgentNavigatorTest, SaveRunsTheAfterSaveStepWithTheNumberBeforeItsMessage) {
    fillMandatory();
    ASSERT_EQ(navigator.save(), Outcome::Appended);
    EXPECT_EQ(view.events, QStringList({"position 1", "saved 1", "message " + kInsertedMessage}));
    view.events.clear();
    ASSERT_EQ(navigator.save(), Outcome::Updated);
    EXPECT_EQ(view.events, QStringList({"position 1", "saved 1", "message " + kUpdatedMessage}));
    EXPECT_EQ(bytes(QStringLiteral("Archivio_Dipendenti.pro")).size(), 3356);
}

TEST_F(AgentNavigatorTest, ARefusedSaveRunsNoAfterSaveStep) {
    fillMandatory();
    view.controls[QStringLiteral("txtCel")] = QStringLiteral("   ");
    view.controls[QStringLiteral("txtReparto")].clear();
    ASSERT_EQ(navigator.save(), Outcome::Refused);
    ASSERT_EQ(view.events.size(), 2);
    EXPECT_EQ(view.events[0], "message " + agentCardRules().mandatory[2].warning);
    EXPECT_EQ(view.events[1], QStringLiteral("focus txtCel"));
}

TEST_F(AgentNavigatorTest, AShownCardRunsTheAfterShowStepOnceItsNumberIsSet) {
    fillMandatory();
    navigator.save();
    navigator.newCard();
    navigator.save();
    view.events.clear();
    ASSERT_EQ(navigator.first(), Outcome::Loaded);
    EXPECT_EQ(view.events, QStringList({"load", "position 1", "shown 1"}));
    view.events.clear();
    ASSERT_EQ(navigator.next(), Outcome::Loaded);
    EXPECT_EQ(view.events, QStringList({"load", "position 2", "shown 2"}));
    view.events.clear();
    // Next on the last card and previous on the first show nothing new.
    EXPECT_EQ(navigator.next(), Outcome::Unchanged);
    EXPECT_TRUE(view.events.isEmpty());
}
