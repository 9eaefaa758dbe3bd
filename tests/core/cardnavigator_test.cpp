// The card navigator against a view without windows, on archive files written byte by byte here.
#include "core/cards/cardnavigator.h"
#include "core/cards/clientcard.h"
#include "core/storage/appfolder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstring>

using namespace ombrisa;
using Outcome = CardNavigator::Outcome;

namespace {

// A two-field record: Nome text[10] at 0, Tel text[5] at 11.
constexpr std::size_t kRecordSize = 17;

QByteArray card(const char* nome, const char* tel) {
    QByteArray r(kRecordSize, '\xCC');
    const auto put = [&r](int offset, const char* text) {
        const auto n = static_cast<int>(std::strlen(text));
        r[offset] = static_cast<char>(n);
        std::memcpy(r.data() + offset + 1, text, static_cast<std::size_t>(n));
    };
    put(0, nome);
    put(11, tel);
    return r;
}

struct Message {
    CardMessageKind kind;
    QString text;
    bool operator==(const Message&) const = default;
};

class FakeView : public CardView {
public:
    QString pos;
    QMap<QString, QString> controls{{"txtNome", ""}, {"txtTel", ""}, {"lblFile", ""}};
    QString focused;
    std::vector<Message> messages;
    bool clearFails = false;
    bool extraOk = true;

    QString position() const override { return pos; }
    void setPosition(const QString& text) override { pos = text; }
    void loadCard(const void* record) override {
        const auto* b = static_cast<const std::uint8_t*>(record);
        controls["txtNome"] = GetText(b, 10);
        controls["txtTel"] = GetText(b + 11, 5);
    }
    void fillRecord(void* record) override {
        auto* b = static_cast<std::uint8_t*>(record);
        PutText(b, 10, controls["txtNome"]);
        PutText(b + 11, 5, controls["txtTel"]);
    }
    bool clearCard() override {
        for (auto& v : controls)
            v.clear();
        return !clearFails;
    }
    void clearForDuplicate() override { controls["lblFile"].clear(); }
    QString controlText(const QString& control) const override { return controls.value(control); }
    void focusControl(const QString& control) override { focused = control; }
    bool extraSaveChecks() override { return extraOk; }
    void showMessage(CardMessageKind kind, const QString& text) override { messages.push_back({kind, text}); }
};

CardRules testRules() {
    CardRules r;
    r.archiveFile = QStringLiteral("Prova.pro");
    r.recordSize = kRecordSize;
    r.firstField = QStringLiteral("txtNome");
    r.appendedMessage = kInsertedMessage;
    r.mandatory = {{"txtNome", "manca il nome"}, {"txtTel", "manca il telefono"}};
    r.duplicateOpensArchive = true;
    return r;
}

class NavigatorTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeView view;
    CardNavigator nav{testRules(), view};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        setAppFolderOverride(dir.path());
    }
    void TearDown() override { setAppFolderOverride(QString()); }

    QString archive() const { return dir.filePath("Prova.pro"); }
    void writeArchive(int cards) {
        QFile f(archive());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 1; i <= cards; ++i)
            f.write(card(QByteArray::number(i).prepend("Nome").constData(), QByteArray::number(i * 11).constData()));
    }
    QByteArray archiveBytes() const {
        QFile f(archive());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const Message kEmpty{CardMessageKind::Information, kEmptyArchiveMessage};

// One navigation step: archive size, position before, the step, and what must follow.
struct NavCase {
    const char* name;
    int cards;
    const char* before;
    Outcome (CardNavigator::*step)();
    Outcome outcome;
    const char* after;     // position afterwards
    const char* nomeAfter; // txtNome afterwards ("keep" = as before the step)
    bool emptyMessage;
};
// The test list and a failure name the case.
void PrintTo(const NavCase& c, std::ostream* os) {
    *os << c.name;
}

class NavigatorSteps : public NavigatorTest, public ::testing::WithParamInterface<NavCase> {};

TEST_P(NavigatorSteps, MovesAndReports) {
    const NavCase& c = GetParam();
    writeArchive(c.cards);
    view.pos = c.before;
    view.controls["txtNome"] = "keep";
    EXPECT_EQ((nav.*c.step)(), c.outcome);
    EXPECT_EQ(view.pos, QString::fromUtf8(c.after));
    EXPECT_EQ(view.controls["txtNome"], QString::fromUtf8(c.nomeAfter));
    if (c.emptyMessage)
        EXPECT_EQ(view.messages, std::vector<Message>{kEmpty});
    else
        EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(archiveBytes().size(), c.cards * static_cast<int>(kRecordSize)); // reading never writes
}

using N = CardNavigator;
INSTANTIATE_TEST_SUITE_P(
    EdgeList, NavigatorSteps,
    ::testing::Values(
        // Empty archive: every arrow shows the empty-archive message; next also empties the position.
        NavCase{"EmptyFirst", 0, "", &N::first, Outcome::EmptyArchive, "", "keep", true},
        NavCase{"EmptyLast", 0, "", &N::last, Outcome::EmptyArchive, "", "keep", true},
        NavCase{"EmptyPrevious", 0, "", &N::previous, Outcome::EmptyArchive, "", "keep", true},
        NavCase{"EmptyNext", 0, "", &N::next, Outcome::EmptyArchive, "", "keep", true},
        NavCase{"EmptyNextFromStaleNumber", 0, "4", &N::next, Outcome::EmptyArchive, "", "keep", true},
        NavCase{"EmptyPreviousKeepsNumber", 0, "4", &N::previous, Outcome::EmptyArchive, "4", "keep", true},
        // One card.
        NavCase{"OneNextFromNew", 1, "", &N::next, Outcome::Loaded, "1", "Nome1", false},
        NavCase{"OnePreviousFromNew", 1, "", &N::previous, Outcome::Loaded, "1", "Nome1", false},
        NavCase{"OneLast", 1, "", &N::last, Outcome::Loaded, "1", "Nome1", false},
        NavCase{"OnePreviousOnFirst", 1, "1", &N::previous, Outcome::Unchanged, "1", "keep", false},
        NavCase{"OneNextOnLast", 1, "1", &N::next, Outcome::Unchanged, "1", "keep", false},
        // Several cards.
        NavCase{"SeveralFirst", 3, "2", &N::first, Outcome::Loaded, "1", "Nome1", false},
        NavCase{"SeveralLast", 3, "", &N::last, Outcome::Loaded, "3", "Nome3", false},
        NavCase{"SeveralNextFromNew", 3, "", &N::next, Outcome::Loaded, "1", "Nome1", false},
        NavCase{"SeveralPreviousFromNewShowsFirst", 3, "", &N::previous, Outcome::Loaded, "1", "Nome1", false},
        NavCase{"SeveralNext", 3, "1", &N::next, Outcome::Loaded, "2", "Nome2", false},
        NavCase{"SeveralPrevious", 3, "3", &N::previous, Outcome::Loaded, "2", "Nome2", false},
        NavCase{"SeveralNextOnLast", 3, "3", &N::next, Outcome::Unchanged, "3", "keep", false},
        NavCase{"SeveralPreviousOnFirst", 3, "1", &N::previous, Outcome::Unchanged, "1", "keep", false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(NavigatorTest, AMissingArchiveIsCreatedEmptyByBrowsing) {
    EXPECT_EQ(nav.first(), Outcome::EmptyArchive);
    EXPECT_TRUE(QFile::exists(archive()));
    EXPECT_EQ(archiveBytes().size(), 0);
}

TEST_F(NavigatorTest, NewCardEmptiesTheScreenAndFocusesTheFirstField) {
    writeArchive(2);
    ASSERT_EQ(nav.last(), Outcome::Loaded);
    view.focused = "txtTel";
    EXPECT_EQ(nav.newCard(), Outcome::NewCard);
    EXPECT_EQ(view.pos, "");
    EXPECT_EQ(view.controls["txtNome"], "");
    EXPECT_EQ(view.focused, "txtNome");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(NavigatorTest, NewCardReportsAFailingPrefill) {
    view.clearFails = true;
    EXPECT_EQ(nav.newCard(), Outcome::ArchiveFailure);
    EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Error, kArchiveMessage}}));
}

// The checks run in the order of the rules, stop at the first empty (after trimming) field and never
// touch the archive.
struct MandatoryCase {
    const char* name;
    const char* nome;
    const char* tel;
    const char* warning;
    const char* focus;
};
// The test list and a failure name the case.
void PrintTo(const MandatoryCase& c, std::ostream* os) {
    *os << c.name;
}
class NavigatorMandatory : public NavigatorTest, public ::testing::WithParamInterface<MandatoryCase> {};

TEST_P(NavigatorMandatory, WarnsFocusesAndWritesNothing) {
    const MandatoryCase& c = GetParam();
    view.controls["txtNome"] = c.nome;
    view.controls["txtTel"] = c.tel;
    EXPECT_EQ(nav.save(), Outcome::Refused);
    EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Warning, c.warning}}));
    EXPECT_EQ(view.focused, c.focus);
    EXPECT_FALSE(QFile::exists(archive()));
}

INSTANTIATE_TEST_SUITE_P(Order, NavigatorMandatory,
                         ::testing::Values(MandatoryCase{"NomeEmpty", "", "", "manca il nome", "txtNome"},
                                           MandatoryCase{"NomeBlank", " \t ", "12", "manca il nome", "txtNome"},
                                           MandatoryCase{"TelBlank", "Rossi", "  ", "manca il telefono", "txtTel"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(NavigatorTest, ExtraChecksStopTheSaveBeforeTheArchiveOpens) {
    view.controls["txtNome"] = "Rossi";
    view.controls["txtTel"] = "1";
    view.extraOk = false;
    EXPECT_EQ(nav.save(), Outcome::Refused);
    EXPECT_FALSE(QFile::exists(archive()));
}

TEST_F(NavigatorTest, SaveAppendsThenUpdatesInPlace) {
    writeArchive(2);
    const QByteArray before = archiveBytes();
    view.controls["txtNome"] = "  Rossi ";
    view.controls["txtTel"] = "123456789"; // cut to the field's five characters
    EXPECT_EQ(nav.save(), Outcome::Appended);
    EXPECT_EQ(view.pos, "3");
    EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Information, kInsertedMessage}}));
    QByteArray bytes = archiveBytes();
    ASSERT_EQ(bytes.size(), 3 * static_cast<int>(kRecordSize));
    EXPECT_EQ(bytes.left(before.size()), before);
    EXPECT_EQ(bytes.mid(34, 6), QByteArray("\x05Rossi", 6));
    EXPECT_EQ(bytes.mid(45, 6), QByteArray("\x05"
                                           "12345",
                                           6));

    view.messages.clear();
    view.controls["txtNome"] = "Bianchi";
    EXPECT_EQ(nav.save(), Outcome::Updated);
    EXPECT_EQ(view.pos, "3");
    EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Information, kUpdatedMessage}}));
    bytes = archiveBytes();
    ASSERT_EQ(bytes.size(), 3 * static_cast<int>(kRecordSize));
    EXPECT_EQ(bytes.mid(34, 8), QByteArray("\x07"
                                           "Bianchi",
                                           8));
}

TEST_F(NavigatorTest, SaveRewritesTheShownCardOnly) {
    writeArchive(3);
    ASSERT_EQ(nav.showCard(2), Outcome::Loaded);
    view.controls["txtTel"] = "999";
    EXPECT_EQ(nav.save(), Outcome::Updated);
    const QByteArray bytes = archiveBytes();
    EXPECT_EQ(bytes.mid(0, 17), card("Nome1", "11"));
    EXPECT_EQ(bytes.mid(17, 15), card("Nome2", "999").left(15));
    EXPECT_EQ(bytes.mid(34, 17), card("Nome3", "33"));
}

TEST_F(NavigatorTest, DuplicateIsRefusedOnANewCard) {
    view.controls["txtNome"] = "Rossi";
    view.controls["lblFile"] = "a.pdf";
    EXPECT_EQ(nav.duplicate(), Outcome::Refused);
    EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Warning, kDuplicateRefusal}}));
    EXPECT_EQ(view.controls["lblFile"], "a.pdf");
    EXPECT_FALSE(QFile::exists(archive()));
}

TEST_F(NavigatorTest, DuplicateThenSaveAppendsACopyAndLeavesTheOriginal) {
    writeArchive(2);
    ASSERT_EQ(nav.first(), Outcome::Loaded);
    view.controls["lblFile"] = "a.pdf";
    view.focused.clear();
    EXPECT_EQ(nav.duplicate(), Outcome::Duplicated);
    EXPECT_EQ(view.pos, "");
    EXPECT_EQ(view.controls["lblFile"], "");
    EXPECT_EQ(view.controls["txtNome"], "Nome1");
    EXPECT_EQ(view.focused, "txtNome");
    EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Information, kDuplicatePrepared}}));
    EXPECT_EQ(nav.save(), Outcome::Appended);
    EXPECT_EQ(view.pos, "3");
    const QByteArray bytes = archiveBytes();
    EXPECT_EQ(bytes.left(17), card("Nome1", "11"));
    EXPECT_EQ(bytes.mid(34, 6), QByteArray("\x05Nome1", 6));
}

TEST_F(NavigatorTest, DuplicateFocusCanDifferFromTheFirstField) {
    CardRules rules = testRules();
    rules.duplicateFocus = "txtTel";
    rules.duplicateOpensArchive = false;
    CardNavigator other(rules, view);
    view.pos = "1";
    EXPECT_EQ(other.duplicate(), Outcome::Duplicated);
    EXPECT_EQ(view.focused, "txtTel");
    EXPECT_FALSE(QFile::exists(archive())); // this screen does not open the archive
}

// Archive failures: the archive message, the operation stops, the position stays as it was.
TEST_F(NavigatorTest, AnInaccessibleArchiveStopsEveryOperation) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Prova.pro")); // a folder where the file should be
    view.controls["txtNome"] = "Rossi";
    view.controls["txtTel"] = "1";
    const std::vector<std::pair<const char*, Outcome (CardNavigator::*)()>> steps{
        {"first", &N::first},       {"last", &N::last}, {"next", &N::next},
        {"previous", &N::previous}, {"save", &N::save}, {"duplicate", &N::duplicate}};
    for (const auto& [name, step] : steps) {
        view.pos = "2";
        view.messages.clear();
        EXPECT_EQ((nav.*step)(), Outcome::ArchiveFailure) << name;
        EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Error, kArchiveMessage}})) << name;
        if (std::string(name) != "duplicate") {
            EXPECT_EQ(view.pos, "2") << name;
        }
    }
}

// A navigator whose Close() after a read fails (the file is still closed, as a failing close(2) does).
class FailingCloseNavigator : public CardNavigator {
public:
    using CardNavigator::CardNavigator;

protected:
    bool closeArchive() override {
        CardNavigator::closeArchive();
        return false;
    }
};

TEST_F(NavigatorTest, AFailedCloseAfterAReadLeavesTheShownCardAndItsNumberTogether) {
    writeArchive(3);
    FailingCloseNavigator failing{testRules(), view};
    for (auto step : {&N::first, &N::next, &N::previous, &N::last}) {
        view.pos = "2";
        view.controls["txtNome"] = "Nome2";
        view.controls["txtTel"] = "22";
        view.messages.clear();
        EXPECT_EQ((failing.*step)(), Outcome::ArchiveFailure);
        EXPECT_EQ(view.messages, (std::vector<Message>{{CardMessageKind::Error, kArchiveMessage}}));
        EXPECT_EQ(view.pos, "2");
        EXPECT_EQ(view.controls["txtNome"], "Nome2");
    }
    EXPECT_EQ(failing.showCard(3), Outcome::ArchiveFailure);
    EXPECT_EQ(view.controls["txtNome"], "Nome2");
    // A save after the failures rewrites card 2 with card 2's own text: nothing else moved.
    EXPECT_EQ(nav.save(), Outcome::Updated);
    const QByteArray after = archiveBytes();
    EXPECT_EQ(after.mid(static_cast<int>(kRecordSize), 6), QByteArray("\x05Nome2"));
    EXPECT_EQ(after.mid(0, static_cast<int>(kRecordSize)), card("Nome1", "11"));
    EXPECT_EQ(after.mid(2 * static_cast<int>(kRecordSize)), card("Nome3", "33"));
}

TEST_F(NavigatorTest, APositionThatIsNotACardNumberIsAnArchiveFailure) {
    writeArchive(2);
    for (const char* bad : {"abc", "0", "-1", "7"}) {
        view.pos = bad;
        view.messages.clear();
        view.controls["txtNome"] = "Rossi";
        view.controls["txtTel"] = "1";
        EXPECT_EQ(nav.save(), Outcome::ArchiveFailure) << bad;
        EXPECT_EQ(view.pos, bad);
        EXPECT_EQ(archiveBytes().size(), 2 * static_cast<int>(kRecordSize)) << bad;
    }
    view.pos = "x";
    EXPECT_EQ(nav.next(), Outcome::ArchiveFailure);
    EXPECT_EQ(nav.previous(), Outcome::ArchiveFailure);
}

TEST(CardNumber, OnlyPlainPositiveNumbers) {
    EXPECT_EQ(parseCardNumber(u"1"), 1);
    EXPECT_EQ(parseCardNumber(u"42"), 42);
    for (const char16_t* bad : {u"", u"0", u"-3", u"1a", u" 1", u"1.0", u"99999999999999999999"})
        EXPECT_FALSE(parseCardNumber(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(ClientCard, CallHistoryRefusalsComeInOrder) {
    EXPECT_EQ(storicoRefusal(u"", u"RSSMRA80A01H501U")->warning, kStoricoNotSavedWarning);
    EXPECT_FALSE(storicoRefusal(u"", u"X")->focusCodFisc);
    EXPECT_EQ(storicoRefusal(u"3", u"  ")->warning, kStoricoNoCodFiscWarning);
    EXPECT_TRUE(storicoRefusal(u"3", u"")->focusCodFisc);
    EXPECT_FALSE(storicoRefusal(u"3", u"RSSMRA80A01H501U").has_value());
}

TEST(ClientCard, FieldTableCoversTheFirst29FieldsInRecordOrder) {
    for (std::size_t i = 0; i < kClientCardFields.size(); ++i) {
        const CardField& f = kClientCardFields[i];
        EXPECT_EQ(fieldIndex(kClienteFields, QString::fromLatin1(f.field)), static_cast<int>(i)) << f.field;
        EXPECT_EQ(QLatin1String(f.control), QLatin1String("txt") + QLatin1String(f.field));
    }
    EXPECT_EQ(fieldIndex(kClienteFields, QString::fromLatin1(kRicontattaField)), 29);
}

} // namespace
