// The call card screen driven as a user drives it, with the clock fixed: clicks on controls found by name,
// keys typed into the boxes, choices from the lists; checked by the messages shown, the focus,
// lblPosizione and the bytes of "Registro_Chiamate.pro".
#include "ui/app/guida.h"
#include "ui/calls/Chiamate.h"
#include "ui/cards/cardbinding.h"
#include "ui_calls/callfixture.h"
#include "uisupport/fakes.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QString kFile = QStringLiteral("Registro_Chiamate.pro");
const QString kSaved = QStringLiteral("La scheda corrente è stata salvata in archivio.");
const QString kUpdated = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kDupRefused = QStringLiteral(
    "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata inserita in archivio.");
const QString kDupPrepared = QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r"
                                            "\n\rAl termine premere Salva per inserire la scheda in archivio.");
const QString kDateTail = QStringLiteral("\n\r\n\rPer poter salvare la scheda è necessario indicare una data valida.");

QByteArray storedCall(int n) {
    const QByteArray k = QByteArray::number(n);
    return callCard({{"GiornoRit", "1" + k},
                     {"MeseRit", "Luglio"},
                     {"AnnoRit", "2023"},
                     {"DataRit", "1" + k + "/07/2023"},
                     {"OreRit", "1" + k},
                     {"MinutiRit", "3" + k},
                     {"OraRit", "1" + k + ":3" + k},
                     {"Tipo", "In uscita"},
                     {"Oggetto", "Oggetto " + k},
                     {"Esito", "Esito " + k},
                     {"Cliente", "Cliente " + k},
                     {"CodFisc", "RSSMRA80A0" + k + "H501U"},
                     {"Recapito", "06 555 000" + k},
                     {"Operatore", "Operatore " + k}},
                    '\xCC');
}

class CallScreen : public UiTest {
protected:
    std::unique_ptr<TfrmChiamate> screen;

    void SetUp() override {
        UiTest::SetUp();
        clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 42)));
        screen = std::make_unique<TfrmChiamate>();
        screen->setWindowState(Qt::WindowNoState);
        screen->resize(1366, 700);
        screen->show();
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void TearDown() override {
        screen.reset();
        UiTest::TearDown();
    }

    void archive(int cards) {
        QByteArray all;
        for (int i = 1; i <= cards; ++i)
            all += storedCall(i);
        write(kFile, all);
    }
    QByteArray archiveBytes() const { return bytes(kFile); }

    template <class T = QWidget> T* control(const char* name) const {
        T* w = screen->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* list(const char* name) const { return control<QComboBox>(name); }
    void click(const char* name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
    QWidget* editorOf(const char* name) const {
        QWidget* w = screen->field(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        if (auto* c = qobject_cast<QComboBox*>(w))
            return c->lineEdit();
        return w;
    }
    // Clicks into the box (it takes the focus as for a user) and types.
    void type(const char* name, const QString& text) {
        QWidget* e = editorOf(name);
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(e->width() - 4, e->height() / 2));
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(e, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, e, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                                    Qt::NoModifier);
        }
    }
    // Picks an item from a list, as a click in its drop-down list does.
    void choose(const char* name, const QString& item) {
        QComboBox* c = list(name);
        const int i = c->findText(item, Qt::MatchExactly);
        ASSERT_GE(i, 0) << item.toStdString();
        c->setFocus(Qt::MouseFocusReason);
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    QString text(const char* name) const { return controlTextOf(screen->field(QString::fromLatin1(name))); }
    QString position() const { return screen->lblPosizione->text(); }
    QString focused() const {
        QWidget* f = QApplication::focusWidget();
        if (f && qobject_cast<QComboBox*>(f->parentWidget()))
            f = f->parentWidget();
        return f ? f->objectName() : QString();
    }
    void fillClient() {
        type("txtOggetto", QStringLiteral("Richiesta preventivo"));
        type("txtCliente", QStringLiteral("Rossi Mario"));
        type("txtCodFisc", QStringLiteral("RSSMRA80A01H501U"));
        type("txtRecapito", QStringLiteral("06 5551234"));
    }
};

// ---- new card ----

TEST_F(CallScreen, OpensOnANewCardWithTheCurrentDateAndTime) {
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("05"));
    EXPECT_EQ(text("txtMeseRit"), QStringLiteral("Marzo"));
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("2024"));
    EXPECT_EQ(text("txtOreRit"), QStringLiteral("09"));
    EXPECT_EQ(text("txtMinutiRit"), QStringLiteral("07"));
    EXPECT_EQ(text("txtTipo"), QStringLiteral("In entrata"));
    for (const char* name : {"txtOggetto", "txtEsito", "txtGrado", "txtDurata", "txtCliente", "txtCodFisc", "txtZona",
                             "txtRecapito", "txtTelCel", "txtEmail", "txtNote", "txtOperatore"})
        EXPECT_EQ(text(name), QString()) << name;
    EXPECT_EQ(position(), QString());
    EXPECT_EQ(focused(), QStringLiteral("txtOggetto"));
    EXPECT_EQ(screen->windowTitle(), QStringLiteral(" Ombrisa - Registro Chiamate"));
    EXPECT_EQ(screen->panInfo->text(), QStringLiteral("Pronto per stampare una nuova scheda..."));
}

TEST_F(CallScreen, EveryShowAndNewCardStartAfreshWithTheClockOfThatMoment) {
    archive(2);
    click("cmdUltimo");
    ASSERT_EQ(position(), QStringLiteral("2"));
    screen->hide();
    clock.set(QDateTime(QDate(2025, 12, 31), QTime(23, 59)));
    screen->show();
    QApplication::setActiveWindow(screen.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    EXPECT_EQ(position(), QString());
    EXPECT_EQ(focused(), QStringLiteral("txtOggetto"));
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("31"));
    EXPECT_EQ(text("txtMeseRit"), QStringLiteral("Dicembre"));
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("2025"));
    EXPECT_EQ(text("txtOreRit"), QStringLiteral("23"));
    EXPECT_EQ(text("txtMinutiRit"), QStringLiteral("59"));
    EXPECT_EQ(text("txtCliente"), QString());

    click("cmdPrimo");
    choose("txtTipo", QStringLiteral("In uscita"));
    clock.set(QDateTime(QDate(2026, 1, 2), QTime(0, 4)));
    click("cmdNuovo");
    EXPECT_EQ(position(), QString());
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("02"));
    EXPECT_EQ(text("txtMeseRit"), QStringLiteral("Gennaio"));
    EXPECT_EQ(text("txtOreRit"), QStringLiteral("00"));
    EXPECT_EQ(text("txtMinutiRit"), QStringLiteral("04"));
    EXPECT_EQ(text("txtTipo"), QStringLiteral("In entrata"));
    EXPECT_EQ(text("txtOggetto"), QString());
    EXPECT_EQ(text("lblDataRit"), QString());
    EXPECT_EQ(focused(), QStringLiteral("txtOggetto"));
    EXPECT_EQ(archiveBytes(), storedCall(1) + storedCall(2)); // nothing written
}

TEST_F(CallScreen, DateAndTimePicturesTakeTheClock) {
    clock.set(QDateTime(QDate(2027, 8, 9), QTime(16, 45)));
    screen->txtOggetto->setText(QStringLiteral("resta"));
    click("impRitiro");
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("09"));
    EXPECT_EQ(text("txtMeseRit"), QStringLiteral("Agosto"));
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("2027"));
    EXPECT_EQ(text("txtOreRit"), QStringLiteral("09")); // the time is the other picture's
    click("impOraRit");
    EXPECT_EQ(text("txtOreRit"), QStringLiteral("16"));
    EXPECT_EQ(text("txtMinutiRit"), QStringLiteral("45"));
    EXPECT_EQ(text("txtOggetto"), QStringLiteral("resta"));
}

// ---- the lists and the year box ----

TEST_F(CallScreen, TypingIntoAListChangesNothingAndBackspaceEmptiesIt) {
    for (const char* name : {"txtGiornoRit", "txtMeseRit", "txtOreRit", "txtMinutiRit", "txtTipo"}) {
        const QString before = text(name);
        ASSERT_FALSE(before.isEmpty()) << name;
        type(name, QStringLiteral("1a "));
        QTest::keyClick(editorOf(name), Qt::Key_Home);
        QTest::keyClick(editorOf(name), Qt::Key_Down);
        QTest::keyClick(editorOf(name), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(text(name), before) << name;
        QTest::keyClick(editorOf(name), Qt::Key_Left); // the arrows still move the cursor
        QTest::keyClick(editorOf(name), Qt::Key_Backspace);
        EXPECT_EQ(text(name), QString()) << name;
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
    }
    // Delete empties the whole text too.
    click("impOraRit");
    type("txtOreRit", QString());
    QTest::keyClick(editorOf("txtOreRit"), Qt::Key_Left);
    QTest::keyClick(editorOf("txtOreRit"), Qt::Key_Delete);
    EXPECT_EQ(text("txtOreRit"), QString());
}

// Every list-only box opens its list with F4 and with Alt+Down (the interval screen's days and months too).
TEST_F(CallScreen, F4AndAltDownOpenAList) {
    QComboBox* box = list("txtTipo");
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_F4, Qt::NoModifier},
                                                              {Qt::Key_Down, Qt::AltModifier}};
    for (const auto& [key, modifiers] : keys) {
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(editorOf("txtTipo"), key, modifiers);
        EXPECT_TRUE(box->view()->isVisible()) << key;
        box->hidePopup();
    }
}

TEST_F(CallScreen, LeavingAListEmptiesATextThatIsNotOneOfItsItems) {
    struct Case {
        const char* name;
        const char* text;
        bool kept;
    };
    const Case cases[] = {
        {"txtGiornoRit", "31", true},   {"txtGiornoRit", "5", false},    {"txtGiornoRit", "32", false},
        {"txtMeseRit", "Aprile", true}, {"txtMeseRit", "aprile", false}, {"txtOreRit", "23", true},
        {"txtOreRit", "24", false},     {"txtMinutiRit", "59", true},    {"txtMinutiRit", "7", false},
        {"txtTipo", "In uscita", true}, {"txtTipo", "in uscita", false},
    };
    for (const Case& c : cases) {
        list(c.name)->setFocus(Qt::MouseFocusReason);
        list(c.name)->setEditText(QString::fromUtf8(c.text)); // as a loaded card or a paste could leave it
        screen->txtOggetto->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(text(c.name), c.kept ? QString::fromUtf8(c.text) : QString()) << c.name << " " << c.text;
    }
}

TEST_F(CallScreen, AListLosesItsSelectionWhenItTakesTheFocus) {
    choose("txtMeseRit", QStringLiteral("Giugno"));
    screen->txtOggetto->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(list("txtMeseRit")->currentIndex(), 5);
    list("txtMeseRit")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(list("txtMeseRit")->currentIndex(), -1);
    EXPECT_EQ(text("txtMeseRit"), QStringLiteral("Giugno"));
}

TEST_F(CallScreen, YearBoxTakesDigitsOnly) {
    screen->lblAnnoRit->clear();
    type("lblAnnoRit", QStringLiteral("2a0-2 4."));
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("2024"));
    QTest::keyClick(editorOf("lblAnnoRit"), Qt::Key_Backspace);
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("202"));
    QTest::keyClick(editorOf("lblAnnoRit"), Qt::Key_Return);
    EXPECT_EQ(focused(), QStringLiteral("txtOreRit"));
}

TEST_F(CallScreen, FocusedBoxShowsItsYellowFrame) {
    for (const char* name : {"txtGiornoRit", "lblAnnoRit", "txtTipo", "txtOperatore"}) {
        const QString rect = QStringLiteral("eff") + QString::fromLatin1(name).mid(3);
        screen->field(QString::fromLatin1(name))->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(screen->findChild<QWidget*>(rect)->isVisible()) << name;
        screen->txtOggetto->setFocus(Qt::MouseFocusReason);
        EXPECT_FALSE(screen->findChild<QWidget*>(rect)->isVisible()) << name;
    }
}

TEST_F(CallScreen, EnterRingGoesThroughTheFieldsAndWraps) {
    const char* ring[] = {"txtGiornoRit", "txtMeseRit",  "lblAnnoRit", "txtOreRit", "txtMinutiRit", "txtTipo",
                          "txtOggetto",   "txtEsito",    "txtGrado",   "txtDurata", "txtCliente",   "txtCodFisc",
                          "txtZona",      "txtRecapito", "txtTelCel",  "txtEmail",  "txtNote",      "txtOperatore"};
    screen->field(QStringLiteral("txtGiornoRit"))->setFocus(Qt::MouseFocusReason);
    for (std::size_t i = 0; i < std::size(ring); ++i) {
        ASSERT_EQ(focused(), QString::fromLatin1(ring[i]));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(focused(), QStringLiteral("txtGiornoRit"));
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("05")); // Enter changed nothing
}

TEST_F(CallScreen, TypingFiltersOfCodeAndEmail) {
    type("txtCodFisc", QStringLiteral(" rssmra80a01h501u "));
    EXPECT_EQ(text("txtCodFisc"), QStringLiteral("RSSMRA80A01H501U"));
    type("txtEmail", QStringLiteral(" rossi@example.it "));
    EXPECT_EQ(text("txtEmail"), QStringLiteral("rossi@example.it"));
    screen->txtEmail->setText(QStringLiteral("  a@b.it  "));
    screen->txtEmail->setFocus(Qt::MouseFocusReason);
    screen->txtOggetto->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(text("txtEmail"), QStringLiteral("a@b.it"));
}

// ---- the save checks: one case per path (the sixteen checks in order are core's test) ----

struct SaveCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> set; // control texts, as a loaded card leaves them
    int check;
    const char* focus;
    const char* message;
};
// The test list and a failure name the case.
void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

class CallSaveChecks : public CallScreen, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(CallSaveChecks, FirstFailingCheckWarnsAndFocuses) {
    const SaveCase& c = GetParam();
    fillClient();
    for (const auto& [name, value] : c.set)
        setControlText(screen->field(QString::fromLatin1(name)), QString::fromUtf8(value));
    messages.expect(c.check == 16 ? MsgKind::Plain : MsgKind::Warning, QString::fromUtf8(c.message));
    click("cmdSalva");
    EXPECT_EQ(focused(), QString::fromLatin1(c.focus));
    EXPECT_EQ(position(), QString());
    EXPECT_TRUE(archiveBytes().isEmpty()); // the register was not even created
}

INSTANTIATE_TEST_SUITE_P(
    Table, CallSaveChecks,
    ::testing::Values(
        SaveCase{"Day",
                 {{"txtGiornoRit", ""}, {"txtMeseRit", ""}},
                 1,
                 "txtGiornoRit",
                 "Attenzione: per salvare la scheda è necessario indicare il giorno della chiamata."},
        SaveCase{"Oggetto",
                 {{"txtOggetto", "  "}, {"txtCliente", ""}},
                 11,
                 "txtOggetto",
                 "Attenzione: per salvare la scheda è necessario indicare l'oggetto della chiamata."},
        SaveCase{"MonthFromTheList",
                 {{"txtMeseRit", "Marzolino"}},
                 15,
                 "txtMeseRit",
                 "Attenzione: selezionare il mese dal menu a cascata.\n\r\n\rPer poter salvare la scheda è "
                 "necessario indicare una data valida."},
        SaveCase{"DateExists",
                 {{"txtGiornoRit", "30"}, {"txtMeseRit", "Febbraio"}},
                 16,
                 "txtGiornoRit",
                 "Attenzione: la data 30/02/2024 non esiste.\n\r\n\rPer poter salvare la scheda è necessario "
                 "indicare una data valida."}),
    [](const ::testing::TestParamInfo<SaveCase>& p) { return std::string(p.param.name); });

TEST_F(CallScreen, ThirtyFirstOfAprilIsRefusedByName) {
    fillClient();
    choose("txtGiornoRit", QStringLiteral("31"));
    choose("txtMeseRit", QStringLiteral("Aprile"));
    screen->txtOggetto->setFocus(Qt::MouseFocusReason);
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: la data 31/04/2024 non esiste.") + kDateTail);
    click("cmdSalva");
    EXPECT_EQ(focused(), QStringLiteral("txtGiornoRit"));
    EXPECT_EQ(text("lblDataRit"), QStringLiteral("31/04/2024")); // keeps the date refused
    EXPECT_EQ(position(), QString());
    EXPECT_TRUE(archiveBytes().isEmpty());
}

TEST_F(CallScreen, FiveDigitYearRefusedAndYearWithLeadingZerosAccepted) {
    fillClient();
    screen->lblAnnoRit->clear();
    type("lblAnnoRit", QStringLiteral("20245"));
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: la data 05/03/20245 non esiste.") + kDateTail);
    click("cmdSalva");
    EXPECT_EQ(focused(), QStringLiteral("txtGiornoRit"));
    EXPECT_TRUE(archiveBytes().isEmpty());

    screen->lblAnnoRit->clear();
    type("lblAnnoRit", QStringLiteral("0024"));
    messages.expect(MsgKind::Information, kSaved);
    click("cmdSalva");
    EXPECT_EQ(position(), QStringLiteral("1"));
    const QByteArray r = archiveBytes();
    ASSERT_EQ(r.size(), kCallRecordSize);
    EXPECT_EQ(r.mid(14, 5), QByteArray("\x04"
                                       "0024"));
    EXPECT_EQ(r.mid(19, 11), QByteArray("\x0A"
                                        "05/03/0024"));
}

// ---- store ----

TEST_F(CallScreen, SavedRecordMatchesTheLayoutByteForByte) {
    choose("txtTipo", QStringLiteral("In uscita"));
    type("txtOggetto", QStringLiteral("Richiesta preventivo"));
    type("txtEsito", QStringLiteral("Inviato perché richiesto"));
    type("txtGrado", QStringLiteral("Alto"));
    type("txtDurata", QStringLiteral("12 minuti"));
    type("txtCliente", QStringLiteral("  Rossi Mario  "));
    type("txtCodFisc", QStringLiteral("rssmra80a01h501u"));
    type("txtZona", QStringLiteral("Nord"));
    type("txtRecapito", QStringLiteral("06 5551234"));
    type("txtTelCel", QStringLiteral("333 1234567"));
    type("txtEmail", QStringLiteral("rossi@example.it"));
    type("txtNote", QStringLiteral("Richiamare lunedì"));
    type("txtOperatore", QStringLiteral("Bianchi"));
    messages.expect(MsgKind::Information, kSaved);
    click("cmdSalva");
    EXPECT_EQ(position(), QStringLiteral("1"));
    EXPECT_EQ(text("lblDataRit"), QStringLiteral("05/03/2024"));

    const QByteArray expected = callCard({{"GiornoRit", "05"},
                                          {"MeseRit", "Marzo"},
                                          {"AnnoRit", "2024"},
                                          {"DataRit", "05/03/2024"},
                                          {"OreRit", "09"},
                                          {"MinutiRit", "07"},
                                          {"OraRit", "09:07"},
                                          {"Tipo", "In uscita"},
                                          {"Oggetto", "Richiesta preventivo"},
                                          {"Esito", "Inviato perch\xE9 richiesto"},
                                          {"Grado", "Alto"},
                                          {"Durata", "12 minuti"},
                                          {"Cliente", "Rossi Mario"},
                                          {"CodFisc", "RSSMRA80A01H501U"},
                                          {"Zona", "Nord"},
                                          {"Recapito", "06 5551234"},
                                          {"TelCel", "333 1234567"},
                                          {"Email", "rossi@example.it"},
                                          {"Note", "Richiamare luned\xEC"},
                                          {"Operatore", "Bianchi"}});
    const QByteArray r = archiveBytes();
    ASSERT_EQ(r.size(), kCallRecordSize);
    EXPECT_EQ(meaningfulCallBytes(r).toHex(' ').toStdString(), meaningfulCallBytes(expected).toHex(' ').toStdString());
    EXPECT_EQ(r, expected); // a fresh record buffer leaves zeros after the texts
}

TEST_F(CallScreen, SavingANewCardTwiceAppendsOnceThenRewrites) {
    archive(1);
    fillClient();
    messages.expect(MsgKind::Information, kSaved);
    click("cmdSalva");
    EXPECT_EQ(position(), QStringLiteral("2"));
    type("txtEsito", QStringLiteral("Accettato"));
    messages.expect(MsgKind::Information, kUpdated);
    click("cmdSalva");
    EXPECT_EQ(position(), QStringLiteral("2"));
    const QByteArray all = archiveBytes();
    ASSERT_EQ(all.size(), 2 * kCallRecordSize);
    EXPECT_EQ(all.left(kCallRecordSize), storedCall(1));
    EXPECT_EQ(all.mid(kCallRecordSize + 314, 10), QByteArray("\x09"
                                                             "Accettato"));
}

TEST_F(CallScreen, SavingALoadedCardTwiceRewritesItAndRebuildsDateAndTime) {
    // A card whose combined date and time disagree with its split fields: a save rebuilds them.
    QByteArray odd = storedCall(1);
    odd[19] = 2;
    odd[20] = 'x';
    odd[21] = 'y';
    odd[36] = 0;
    write(kFile, odd + storedCall(2));
    click("cmdPrimo");
    EXPECT_EQ(position(), QStringLiteral("1"));
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("11"));
    EXPECT_EQ(text("txtMeseRit"), QStringLiteral("Luglio"));
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("2023"));
    EXPECT_EQ(text("txtTipo"), QStringLiteral("In uscita"));
    EXPECT_EQ(text("lblDataRit"), QStringLiteral("xy"));
    EXPECT_EQ(text("lblOraRit"), QString());
    for (int round = 0; round < 2; ++round) {
        messages.expect(MsgKind::Information, kUpdated);
        click("cmdSalva");
        EXPECT_EQ(position(), QStringLiteral("1"));
    }
    const QByteArray all = archiveBytes();
    ASSERT_EQ(all.size(), 2 * kCallRecordSize);
    EXPECT_EQ(meaningfulCallBytes(all.left(kCallRecordSize)), meaningfulCallBytes(storedCall(1)));
    EXPECT_EQ(all.mid(kCallRecordSize), storedCall(2));
}

// ---- duplicate ----

TEST_F(CallScreen, DuplicateOfANewCardIsRefused) {
    fillClient();
    messages.expect(MsgKind::Warning, kDupRefused);
    click("cmdDuplica");
    EXPECT_EQ(text("txtGiornoRit"), QStringLiteral("05"));
    EXPECT_EQ(text("txtOreRit"), QStringLiteral("09"));
    EXPECT_EQ(text("txtCliente"), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(position(), QString());
}

TEST_F(CallScreen, DuplicateThenSaveAppendsAndLeavesTheOriginal) {
    archive(2);
    click("cmdPrimo");
    messages.expect(MsgKind::Information, kDupPrepared);
    click("cmdDuplica");
    EXPECT_EQ(position(), QString());
    for (const char* name : {"txtGiornoRit", "txtMeseRit", "txtOreRit", "txtMinutiRit"}) {
        EXPECT_EQ(text(name), QString()) << name;
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
    }
    EXPECT_EQ(text("lblAnnoRit"), QStringLiteral("2024"));
    EXPECT_EQ(focused(), QStringLiteral("txtGiornoRit"));
    EXPECT_EQ(text("txtCliente"), QStringLiteral("Cliente 1"));
    EXPECT_EQ(text("txtTipo"), QStringLiteral("In uscita"));

    choose("txtGiornoRit", QStringLiteral("28"));
    choose("txtMeseRit", QStringLiteral("Febbraio"));
    choose("txtOreRit", QStringLiteral("17"));
    choose("txtMinutiRit", QStringLiteral("00"));
    messages.expect(MsgKind::Information, kSaved);
    click("cmdSalva");
    EXPECT_EQ(position(), QStringLiteral("3"));
    const QByteArray all = archiveBytes();
    ASSERT_EQ(all.size(), 3 * kCallRecordSize);
    EXPECT_EQ(all.left(2 * kCallRecordSize), storedCall(1) + storedCall(2));
    const QByteArray copy = all.mid(2 * kCallRecordSize);
    QByteArray expected = meaningfulCallBytes(storedCall(1));
    const QByteArray dated = meaningfulCallBytes(callCard({{"GiornoRit", "28"},
                                                           {"MeseRit", "Febbraio"},
                                                           {"AnnoRit", "2024"},
                                                           {"DataRit", "28/02/2024"},
                                                           {"OreRit", "17"},
                                                           {"MinutiRit", "00"},
                                                           {"OraRit", "17:00"}}));
    // The first seven fields are the new date and time; the rest is the copy's.
    const int datedLength = 3 + 9 + 5 + 11 + 3 + 3 + 6;
    expected = dated.left(datedLength) + expected.mid(3 + 7 + 5 + 11 + 3 + 3 + 6);
    EXPECT_EQ(meaningfulCallBytes(copy), expected);
}

// ---- the buttons beside the fields ----

TEST_F(CallScreen, CodeCheckOpensTheCheckThatFitsTheCode) {
    struct Case {
        const char* code;
        const char* dialog;
        const char* box;
        const char* shown;
    };
    const Case cases[] = {
        {"12345678903", "frmPartitaIva", "txtPartitaIva", "12345678903"},
        {"RSSMRA80A01H501U", "frmCodFisc", "txtCodFisc", "RSSMRA80A01H501U"},
        {"", "frmCodFisc", "txtCodFisc", ""},
    };
    for (const Case& c : cases) {
        screen->txtCodFisc->setText(QString::fromLatin1(c.code));
        QString shown;
        dialogs.expect(QString::fromLatin1(c.dialog), [&](QDialog& d) {
            shown = d.findChild<QLineEdit*>(QString::fromLatin1(c.box))->text();
            d.reject();
        });
        click("btnCodFisc");
        dialogs.verifyAllShown();
        EXPECT_EQ(shown, QString::fromLatin1(c.shown)) << c.code;
        EXPECT_EQ(text("txtCodFisc"), QString::fromLatin1(c.code)); // nothing written back
    }
}

// ---- hints ----

TEST_F(CallScreen, EveryPictureShowsItsHintAndTheBackgroundEmptiesIt) {
    const std::vector<std::pair<const char*, QString>> hints{
        {"cmdNuovo", "Prepara la schermata per la registrazione di una nuova scheda. (Ctrl+N)"},
        {"cmdDuplica",
         "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti. (Ctrl+D)"},
        {"cmdSalva", "Salva la scheda corrente in archivio. (Ctrl+S)"},
        {"cmdTrova", "Trova una scheda in archivio. (Ctrl+F)"},
        {"cmdAnteprima", "Visualizza l'anteprima di stampa della scheda corrente. (Ctrl+Maiusc+P)"},
        {"cmdStampa", "Stampa la scheda corrente. (Ctrl+P)"},
        {"cmdPrimo", "Visualizza la prima scheda in archivio. (Ctrl+Home)"},
        {"cmdIndietro", "Visualizza la scheda precedente in archivio. (PgSu)"},
        {"cmdAvanti", "Visualizza la scheda successiva in archivio. (PgGiù)"},
        {"cmdUltimo", "Visualizza l'ultima scheda in archivio. (Ctrl+Fine)"},
        {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
        {"cmdRiepOggi", "Visualizza il riepilogo delle chiamate di oggi."},
        {"cmdStatistiche", "Visualizza le statistiche delle chiamate in archivio con grafici e tabelle."},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto. (F1)"},
        {"cmdEsci", "Esci da questa schermata di lavoro. (Esc)"},
        {"impRitiro", "Inserisci la data corrente."},
        {"impOraRit", "Inserisci l'ora corrente."},
        {"impCliente", "Importa i dati dall'archivio anagrafico dei clienti."},
        {"btnCodFisc", "Controlla il codice fiscale."},
        {"btnEmail", "Invia una e-mail all'indirizzo indicato."},
    };
    for (const auto& [name, hint] : hints) {
        QWidget* w = control(name);
        QTest::mouseMove(w, QPoint(w->width() / 2, w->height() / 2));
        EXPECT_EQ(screen->panInfo->text(), hint) << name;
        QTest::mouseMove(control("grpDataRit"), QPoint(3, 30));
        EXPECT_EQ(screen->panInfo->text(), QString()) << name;
    }
}

} // namespace
