// Two workstations on one card: the later save never overwrites the earlier one without asking.
#include "core/testfolder.h"

#include "core/cards/cardnavigator.h"

#include <QHash>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace ombrisa;
using Outcome = CardNavigator::Outcome;
constexpr std::size_t kCardSize = 16;

// A card of one text field filling the whole record.
class OneFieldView : public CardView {
public:
    QString position() const override { return pos; }
    void setPosition(const QString& position) override { pos = position; }
    void loadCard(const void* record) override { text = QByteArray(static_cast<const char*>(record), kCardSize); }
    void fillRecord(void* record) override {
        std::memcpy(record, text.leftJustified(kCardSize, '.').constData(), kCardSize);
    }
    bool clearCard() override {
        text.clear();
        return true;
    }
    void clearForDuplicate() override {}
    QString controlText(const QString&) const override { return QString::fromLatin1(text); }
    void focusControl(const QString&) override {}
    void showMessage(CardMessageKind, const QString& message) override { messages << message; }
    bool askQuestion(const QString& question) override {
        questions << question;
        return answer;
    }

    QString pos;
    QByteArray text;
    QStringList messages, questions;
    bool answer = false;
};

CardRules rules() {
    CardRules r;
    r.archiveFile = QStringLiteral("cards.pro");
    r.recordSize = kCardSize;
    r.appendedMessage = kInsertedMessage;
    return r;
}

class LostUpdate : public TestFolder {};

TEST_F(LostUpdate, TheLaterSaveAsksAndEachAnswerDoesWhatItSays) {
    struct Case {
        const char* name;
        bool overwrite;
        Outcome outcome;
        QByteArray stored; // card 2 in the archive afterwards
        QByteArray onB;    // what the second workstation shows afterwards
    };
    const Case cases[] = {
        {"overwrite with the card on screen", true, Outcome::Updated, "second.........", "second........."},
        {"reload the stored card", false, Outcome::Reloaded, "first..........", "first.........."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write("cards.pro", QByteArray("one.............two.............three..........."));
        OneFieldView a, b;
        CardNavigator first(rules(), a), second(rules(), b);
        ASSERT_EQ(first.showCard(2), Outcome::Loaded);
        ASSERT_EQ(second.showCard(2), Outcome::Loaded);
        a.text = "first";
        ASSERT_EQ(first.save(), Outcome::Updated);
        EXPECT_TRUE(a.questions.isEmpty());
        b.text = "second";
        b.answer = c.overwrite;
        EXPECT_EQ(second.save(), c.outcome);
        ASSERT_EQ(b.questions.size(), 1);
        EXPECT_EQ(b.questions.first(), kChangedElsewhereQuestion);
        EXPECT_EQ(bytes("cards.pro").mid(16, 16), c.stored.leftJustified(16, '.'));
        EXPECT_EQ(b.text.leftJustified(16, '.'), c.onB.leftJustified(16, '.'));
        EXPECT_EQ(b.pos, QStringLiteral("2"));
        EXPECT_EQ(bytes("cards.pro").size(), 48) << "nothing appended";
        // Whoever saved last saves again without a question: the archive holds what it wrote or showed.
        b.text = "third";
        EXPECT_EQ(second.save(), Outcome::Updated);
        EXPECT_EQ(b.questions.size(), 1);
        EXPECT_EQ(bytes("cards.pro").mid(16, 16), QByteArray("third..........."));
        // The first workstation's card is now stale: it is asked in turn.
        a.text = "fourth";
        a.answer = false;
        EXPECT_EQ(first.save(), Outcome::Reloaded);
        EXPECT_EQ(a.questions.size(), 1);
        EXPECT_EQ(a.text, QByteArray("third..........."));
    }
}

TEST_F(LostUpdate, ACardSavedByTheSameScreenOrAppendedIsNotAskedAbout) {
    OneFieldView a;
    CardNavigator nav(rules(), a);
    ASSERT_EQ(nav.newCard(), Outcome::NewCard);
    a.text = "new";
    ASSERT_EQ(nav.save(), Outcome::Appended);
    a.text = "changed";
    EXPECT_EQ(nav.save(), Outcome::Updated);
    a.text = "again";
    EXPECT_EQ(nav.save(), Outcome::Updated);
    EXPECT_TRUE(a.questions.isEmpty());
    EXPECT_EQ(bytes("cards.pro"), QByteArray("again..........."));
}

} // namespace
