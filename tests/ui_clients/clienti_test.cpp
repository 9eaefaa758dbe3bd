// The client card screen driven as a user drives it: typing, Enter, clicks on controls found by name;
// checked by the messages shown, the focus, lblPosizione and the bytes of "Contatti.pro".
#include "core/cards/cardnavigator.h"
#include "core/cards/duplicates.h"
#include "core/records/carddates.h"
#include "core/storage/recordfile.h"
#include "ui/app/avvio.h"
#include "ui/app/guida.h"
#include "ui/clients/Clienti.h"
#include "ui/common/helptexts.h"
#include "ui/common/keyfilters.h"
#include "ui/common/picturebox.h"
#include "ui/common/workareas.h"
#include "ui_clients/clientfixture.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

const QString kNome = QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il nome del cliente.");
const QString kTelefono = QStringLiteral(
    "Attenzione: per salvare la scheda è necessario indicare il numero di telefono preferenziale del cliente.");
const QString kCodFisc =
    QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il codice fiscale del cliente.");

QByteArray numberedCard(int n) {
    return clientCard({{"Cliente", "Cliente " + QByteArray::number(n)},
                       {"Recapito", "06 555 000" + QByteArray::number(n)},
                       {"CodFisc", "RSSMRA80A0" + QByteArray::number(n) + "H501U"},
                       {"Ricontatta", n % 2 ? "S\xEC" : "No"},
                       {"File01", "doc" + QByteArray::number(n) + ".pdf"}},
                      '\xCC');
}

class ClientScreen : public UiTest {
protected:
    std::unique_ptr<TfrmClienti> screen;

    void SetUp() override {
        UiTest::SetUp();
        screen = std::make_unique<TfrmClienti>();
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
            all += numberedCard(i);
        write(QStringLiteral("Contatti.pro"), all);
    }
    QByteArray archiveBytes() const { return bytes(QStringLiteral("Contatti.pro")); }

    template <class T = QWidget> T* control(const char* name) const {
        T* w = screen->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
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
            else // keys of an Italian keyboard: à è ì ò ù
                QTest::sendKeyEvent(QTest::Click, e, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                                    Qt::NoModifier);
        }
    }
    QString text(const char* name) const {
        QWidget* w = screen->field(QString::fromLatin1(name));
        if (auto* c = qobject_cast<QComboBox*>(w))
            return c->currentText();
        return qobject_cast<QLineEdit*>(w)->text();
    }
    QString position() const { return screen->lblPosizione->text(); }
    QString focused() const {
        QWidget* f = QApplication::focusWidget();
        if (f && qobject_cast<QComboBox*>(f->parentWidget()))
            f = f->parentWidget();
        return f ? f->objectName() : QString();
    }
    void fillMandatory() {
        type("txtCliente", QStringLiteral("Rossi Mario"));
        type("txtRecapito", QStringLiteral("06 5551234"));
        type("txtCodFisc", QStringLiteral("RSSMRA80A01H501U"));
    }
};

// ---- the arrows: one case per path (the navigator's whole edge list is core's test) ----

struct NavStep {
    const char* name;
    int cards;
    const char* before; // a card to show first ("" = the new card the screen opens on)
    const char* button;
    const char* after;
    int cardShown; // number of the card whose name is in txtCliente afterwards, 0 = the fields as before
    bool emptyMessage;
};
// The test list and a failure name the case.
void PrintTo(const NavStep& c, std::ostream* os) {
    *os << c.name;
}

class ClientNavigator : public ClientScreen, public ::testing::WithParamInterface<NavStep> {};

TEST_P(ClientNavigator, ArrowButtons) {
    const NavStep& s = GetParam();
    archive(s.cards);
    if (*s.before) {
        screen->lblPosizione->setText(QString::fromLatin1(s.before)); // as a search screen leaves it
        screen->txtCliente->setText(QStringLiteral("come prima"));
    }
    if (s.emptyMessage)
        messages.expect(MsgKind::Information, QStringLiteral("L'archivio non contiene nessuna scheda."));
    click(s.button);
    EXPECT_EQ(position(), QString::fromLatin1(s.after));
    EXPECT_EQ(text("txtCliente"), s.cardShown ? QStringLiteral("Cliente %1").arg(s.cardShown)
                                              : (*s.before ? QStringLiteral("come prima") : QString()));
    EXPECT_EQ(archiveBytes().size(), s.cards * kClientRecordSize); // browsing writes nothing
}

INSTANTIATE_TEST_SUITE_P(Paths, ClientNavigator,
                         ::testing::Values(NavStep{"EmptyFirst", 0, "", "cmdPrimo", "", 0, true},
                                           NavStep{"SeveralLast", 4, "", "cmdUltimo", "4", 4, false},
                                           NavStep{"SeveralFirst", 4, "3", "cmdPrimo", "1", 1, false},
                                           NavStep{"SeveralNext", 4, "2", "cmdAvanti", "3", 3, false},
                                           NavStep{"SeveralPrevious", 4, "3", "cmdIndietro", "2", 2, false},
                                           NavStep{"SeveralNextOnLast", 4, "4", "cmdAvanti", "4", 0, false}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(ClientScreen, LoadingACardFillsEveryControl) {
    write(QStringLiteral("Contatti.pro"), clientCard({{"Cliente", "Bianchi Anna"},
                                                      {"ProvNasc", "MI"},
                                                      {"ProvRes", "ZZ"},
                                                      {"Estremi", "Bonifico"},
                                                      {"Iban", "IT60X0542811101000000123456"},
                                                      {"Ricontatta", "S\xEC"},
                                                      {"File02", "b.doc"},
                                                      {"Desc03", "Perizia"}}));
    click("cmdPrimo");
    EXPECT_EQ(text("txtCliente"), "Bianchi Anna");
    EXPECT_EQ(text("txtEstremi"), "Bonifico");
    EXPECT_EQ(text("txtIban"), "IT60X0542811101000000123456");
    EXPECT_EQ(text("txtProvNasc"), "MI");
    EXPECT_EQ(screen->txtProvNasc->currentIndex(), screen->txtProvNasc->findText("MI"));
    EXPECT_EQ(text("txtProvRes"), "ZZ"); // any two characters, not only the listed codes
    EXPECT_TRUE(screen->chkRicontatta->isChecked());
    EXPECT_EQ(screen->lblFile02->text(), "b.doc");
    EXPECT_EQ(screen->lblDesc03->text(), "Perizia");
    EXPECT_EQ(screen->lblFile01->text(), "");
}

TEST_F(ClientScreen, AnUnknownRecontactWordLeavesTheBoxAsItWas) {
    write(QStringLiteral("Contatti.pro"), clientCard({{"Cliente", "Uno"}, {"Ricontatta", "S\xEC"}}) +
                                              clientCard({{"Cliente", "Due"}}) +
                                              clientCard({{"Cliente", "Tre"}, {"Ricontatta", "No"}}));
    click("cmdPrimo");
    EXPECT_TRUE(screen->chkRicontatta->isChecked());
    click("cmdAvanti");
    EXPECT_EQ(text("txtCliente"), "Due");
    EXPECT_TRUE(screen->chkRicontatta->isChecked());
    click("cmdAvanti");
    EXPECT_FALSE(screen->chkRicontatta->isChecked());
}

// ---- new-card state ----

TEST_F(ClientScreen, ShowingTheScreenAndNuovoStartANewEmptyCard) {
    archive(2);
    click("cmdUltimo");
    ASSERT_EQ(position(), "2");
    ASSERT_TRUE(screen->chkRicontatta->isChecked() || !screen->lblFile01->text().isEmpty());
    screen->txtProvRes->setCurrentIndex(5);

    const auto expectNewCard = [this] {
        for (const char* name : {"txtCliente", "txtRecapito", "txtCodFisc", "txtProvNasc", "txtProvRes", "txtNote"})
            EXPECT_EQ(text(name), "") << name;
        EXPECT_EQ(screen->txtProvNasc->currentIndex(), -1);
        EXPECT_EQ(screen->txtProvRes->currentIndex(), -1);
        EXPECT_FALSE(screen->chkRicontatta->isChecked());
        for (QLabel* l : {screen->lblFile01, screen->lblFile02, screen->lblFile03, screen->lblDesc01, screen->lblDesc02,
                          screen->lblDesc03})
            EXPECT_EQ(l->text(), "") << l->objectName().toStdString();
        EXPECT_EQ(position(), "");
        EXPECT_EQ(focused(), "txtCliente");
    };
    click("cmdNuovo");
    expectNewCard();

    click("cmdUltimo");
    screen->hide();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    expectNewCard();
    EXPECT_EQ(archiveBytes().size(), 2 * kClientRecordSize);
}

TEST_F(ClientScreen, HiddenLabelsHoldTheirDesignTextsUntilFirstUse) {
    TfrmClienti fresh;
    EXPECT_EQ(fresh.lblFile01->text(), "File01");
    EXPECT_EQ(fresh.lblDesc03->text(), "Desc03");
    EXPECT_FALSE(fresh.lblFile01->isVisibleTo(&fresh));
    EXPECT_EQ(screen->lblFile01->text(), ""); // emptied when the screen was shown
}

// ---- save ----

TEST_F(ClientScreen, MandatoryFieldsAreCheckedInOrder) {
    messages.expect(MsgKind::Warning, kNome);
    click("cmdSalva");
    EXPECT_EQ(focused(), "txtCliente");

    type("txtCliente", QStringLiteral("Rossi"));
    type("txtCodFisc", QStringLiteral("RSSMRA80A01H501U"));
    messages.expect(MsgKind::Warning, kTelefono);
    click("cmdSalva");
    EXPECT_EQ(focused(), "txtRecapito");

    screen->txtCodFisc->clear();
    type("txtRecapito", QStringLiteral("   "));
    messages.expect(MsgKind::Warning, kTelefono); // blanks only count as empty
    click("cmdSalva");

    type("txtRecapito", QStringLiteral("06 1234"));
    messages.expect(MsgKind::Warning, kCodFisc);
    click("cmdSalva");
    EXPECT_EQ(focused(), "txtCodFisc");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Contatti.pro")))); // the archive was never opened
}

TEST_F(ClientScreen, SaveAppendsANewCardThenUpdatesIt) {
    archive(2);
    const QByteArray before = archiveBytes();
    fillMandatory();
    // Card 1 of the fixture has the same codice fiscale: the duplicate question comes first.
    messages.expect(MsgKind::Confirmation, duplicateClientQuestion(1), MsgAnswer::Yes);
    messages.expect(MsgKind::Information, QStringLiteral("La scheda corrente è stata inserita in archivio."));
    click("cmdSalva");
    EXPECT_EQ(position(), "3");
    QByteArray now = archiveBytes();
    ASSERT_EQ(now.size(), 3 * kClientRecordSize);
    EXPECT_EQ(now.left(before.size()), before);
    // The new card's dates, for the retention list: created and changed today; the older cards unknown.
    std::vector<CardDates> dates;
    ASSERT_TRUE(readCardDates(path(QStringLiteral("Contatti.pro")), &dates));
    ASSERT_EQ(dates.size(), 3u);
    EXPECT_FALSE(dates[0].changed.isValid());
    EXPECT_EQ(dates[2].created, QDate::currentDate());
    EXPECT_EQ(dates[2].changed, QDate::currentDate());

    type("txtNote", QStringLiteral("Richiamare lunedì"));
    messages.expect(MsgKind::Information,
                    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    click("cmdSalva");
    EXPECT_EQ(position(), "3");
    now = archiveBytes();
    ASSERT_EQ(now.size(), 3 * kClientRecordSize);
    EXPECT_EQ(now.left(before.size()), before);
    EXPECT_EQ(meaningfulBytes(now.mid(2 * kClientRecordSize)),
              meaningfulBytes(clientCard({{"Cliente", "Rossi Mario"},
                                          {"Recapito", "06 5551234"},
                                          {"CodFisc", "RSSMRA80A01H501U"},
                                          {"Note", "Richiamare luned\xEC"},
                                          {"Ricontatta", "No"}})));
}

// A card typed on the screen lands on disk as the documented layout says, field by field.
TEST_F(ClientScreen, ASavedCardMatchesAHandBuiltFixture) {
    struct Typed {
        const char* control;
        QString typed;
        const char* field;
        QByteArray stored;
    };
    const std::vector<Typed> card{
        {"txtCliente", "Verdi Giuseppe", "Cliente", "Verdi Giuseppe"},
        {"txtDataNasc", "10/10/1813", "DataNasc", "10/10/1813"},
        {"txtComuneNasc", "Busseto", "ComuneNasc", "Busseto"},
        {"txtProvNasc", "pr", "ProvNasc", "PR"},
        {"txtSesso", "m", "Sesso", "M"},
        {"txtRecapito", "0524 000111", "Recapito", "0524 000111"},
        {"txtIndirizzoRes", "Via Roma 1", "IndirizzoRes", "Via Roma 1"},
        {"txtProvRes", "MI", "ProvRes", "MI"},
        {"txtComuneRes", "Milano", "ComuneRes", "Milano"},
        {"txtCapRes", "20121", "CapRes", "20121"},
        {"txtEstremi", "Bonifico a 30 giorni", "Estremi", "Bonifico a 30 giorni"},
        {"txtTelCasa", "02 1", "TelCasa", "02 1"},
        {"txtTelUff", "02 2", "TelUff", "02 2"},
        {"txtTelCel", "333 3", "TelCel", "333 3"},
        {"txtFax", "verdi@pec.it", "Fax", "verdi@pec.it"},
        {"txtEmail", "g.verdi@esempio.it", "Email", "g.verdi@esempio.it"},
        {"txtCodFisc", "vrdgpp13r10b293x", "CodFisc", "VRDGPP13R10B293X"},
        {"txtCarta", "4111111111111111", "Carta", "4111111111111111"},
        {"txtScadeCarta", "12/2030", "ScadeCarta", "12/2030"},
        {"txtPartitaIva", "01234567890", "PartitaIva", "01234567890"},
        {"txtIban", "it60x0542811101000000123456", "Iban", "IT60X0542811101000000123456"},
        {"txtDocumento", "C.I. AB123", "Documento", "C.I. AB123"},
        {"txtOccupazione", "Compositore", "Occupazione", "Compositore"},
        {"txtCivile", "Coniugato", "Civile", "Coniugato"},
        {"txtTitoli", "Maestro", "Titoli", "Maestro"},
        {"txtProdotti", "Spartiti", "Prodotti", "Spartiti"},
        {"txtZona", "Nord", "Zona", "Nord"},
        {"txtQuestioni", "Fattura di città", "Questioni", "Fattura di citt\xE0"},
        {"txtNote", "Preferisce la mattina", "Note", "Preferisce la mattina"},
    };
    std::map<QByteArray, QByteArray> expected{{"Ricontatta", "S\xEC"}};
    for (const Typed& t : card) {
        type(t.control, t.typed);
        expected[t.field] = t.stored;
    }
    QTest::mouseClick(screen->chkRicontatta, Qt::LeftButton);
    messages.expect(MsgKind::Information, QStringLiteral("La scheda corrente è stata inserita in archivio."));
    click("cmdSalva");
    const QByteArray disk = archiveBytes();
    ASSERT_EQ(disk.size(), kClientRecordSize);
    EXPECT_EQ(meaningfulBytes(disk), meaningfulBytes(clientCard(expected)));
    EXPECT_EQ(disk.mid(1863, 3), QByteArray("\x02S\xEC", 3));
}

// A card read and saved back unchanged keeps its length bytes and texts, whatever the bytes after them.
TEST_F(ClientScreen, ACardSavedBackUnchangedIsByteIdentical) {
    std::map<QByteArray, QByteArray> values;
    for (const DocField& f : kDocClientFields)
        values[f.name] = QByteArray(f.capacity, 'a' + static_cast<char>(f.offset % 26)); // every field full
    values["Ricontatta"] = "No";
    values["Cliente"] = "Citt\xE0 d'Este S.r.l.";
    const QByteArray original = clientCard(values, '\x7F');
    write(QStringLiteral("Contatti.pro"), original + numberedCard(2));
    click("cmdPrimo");
    messages.expect(MsgKind::Information,
                    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    click("cmdSalva");
    const QByteArray disk = archiveBytes();
    EXPECT_EQ(disk, original + numberedCard(2)); // full fields: no bytes after the texts to differ
}

// ---- duplicate ----

TEST_F(ClientScreen, DuplicateIsRefusedOnANewCard) {
    type("txtCliente", QStringLiteral("Neri"));
    screen->lblFile01->setText(QStringLiteral("a.pdf"));
    messages.expect(MsgKind::Warning, QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire "
                                                     "soltanto dopo che questa è stata inserita in archivio."));
    click("cmdDuplica");
    EXPECT_EQ(text("txtCliente"), "Neri");
    EXPECT_EQ(screen->lblFile01->text(), "a.pdf");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Contatti.pro"))));
}

TEST_F(ClientScreen, DuplicateThenSaveAppendsACopyWithoutAttachments) {
    archive(3);
    const QByteArray before = archiveBytes();
    screen->lblPosizione->setText(QStringLiteral("1"));
    click("cmdAvanti"); // card 2
    ASSERT_EQ(screen->lblFile01->text(), "doc2.pdf");
    messages.expect(MsgKind::Information,
                    QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                   "Al termine premere Salva per inserire la scheda in archivio."));
    click("cmdDuplica");
    EXPECT_EQ(position(), "");
    EXPECT_EQ(focused(), "txtCliente");
    EXPECT_EQ(text("txtCliente"), "Cliente 2");
    EXPECT_EQ(screen->lblFile01->text(), "");

    // The copy is the same client as card 2: saved all the same.
    messages.expect(MsgKind::Confirmation, duplicateClientQuestion(2), MsgAnswer::Yes);
    messages.expect(MsgKind::Information, QStringLiteral("La scheda corrente è stata inserita in archivio."));
    click("cmdSalva");
    EXPECT_EQ(position(), "4");
    const QByteArray disk = archiveBytes();
    ASSERT_EQ(disk.size(), 4 * kClientRecordSize);
    EXPECT_EQ(disk.left(before.size()), before); // card 2 untouched
    EXPECT_EQ(meaningfulBytes(disk.mid(3 * kClientRecordSize)),
              meaningfulBytes(clientCard({{"Cliente", "Cliente 2"},
                                          {"Recapito", "06 555 0002"},
                                          {"CodFisc", "RSSMRA80A02H501U"},
                                          {"Ricontatta", "No"}})));
}

TEST_F(ClientScreen, ANewCardOfAClientAlreadyInTheArchiveAsksBeforeSaving) {
    archive(3);
    const QByteArray before = archiveBytes();
    // Another name and telephone, the codice fiscale of card 2.
    type("txtCliente", QStringLiteral("Altro Nome"));
    type("txtRecapito", QStringLiteral("02 1234"));
    type("txtCodFisc", QStringLiteral("rssmra80a02h501u"));

    // No: the existing card is shown instead, nothing is written.
    messages.expect(MsgKind::Confirmation,
                    QStringLiteral("Esiste già una scheda per questo cliente (scheda n. 2). Salvare comunque?\n\r\n\r"
                                   "Sì: inserisce in archivio la scheda sullo schermo come nuova scheda.\n\r"
                                   "No: mostra la scheda n. 2 (la scheda sullo schermo non viene salvata)."),
                    MsgAnswer::No);
    click("cmdSalva");
    EXPECT_EQ(position(), "2");
    EXPECT_EQ(text("txtCliente"), "Cliente 2");
    EXPECT_EQ(archiveBytes(), before);

    // Yes: the new card is inserted.
    click("cmdNuovo");
    type("txtCliente", QStringLiteral("Altro Nome"));
    type("txtRecapito", QStringLiteral("02 1234"));
    type("txtCodFisc", QStringLiteral("RSSMRA80A02H501U"));
    messages.expect(MsgKind::Confirmation, duplicateClientQuestion(2), MsgAnswer::Yes);
    messages.expect(MsgKind::Information, QStringLiteral("La scheda corrente è stata inserita in archivio."));
    click("cmdSalva");
    EXPECT_EQ(position(), "4");
    EXPECT_EQ(archiveBytes().size(), 4 * kClientRecordSize);

    // Saving a stored card in place asks nothing.
    messages.expect(MsgKind::Information,
                    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    click("cmdSalva");
}

TEST_F(ClientScreen, DuplicateReportsAnInaccessibleArchive) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Contatti.pro")));
    screen->lblPosizione->setText(QStringLiteral("1"));
    messages.expect(MsgKind::Error, kArchiveMessage);
    click("cmdDuplica");
    EXPECT_EQ(position(), "");
}

TEST_F(ClientScreen, ArchiveFailuresShowTheArchiveMessage) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Contatti.pro")));
    fillMandatory();
    for (const char* button : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro", "cmdSalva"}) {
        messages.expect(MsgKind::Error, kArchiveMessage);
        click(button);
        EXPECT_EQ(position(), "") << button;
    }
}

// The card's dates are stamped before the card: when they cannot be, the card is not written either, so
// the dates never claim a change older than the card's.
TEST_F(ClientScreen, ACardWhoseDatesCannotBeKeptIsNotSaved) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(kClientDatesFile));
    fillMandatory();
    messages.expect(MsgKind::Error, kArchiveMessage);
    click("cmdSalva");
    EXPECT_EQ(position(), "");
    EXPECT_EQ(archiveBytes(), QByteArray());
}

// ---- keyboard ----

struct Filtering {
    const char* control;
    QString typed;
    QString shown;
};
// The test list and a failure name the case: the box and what is typed into it.
void PrintTo(const Filtering& f, std::ostream* os) {
    *os << f.control << " \"" << f.typed.toStdString() << '"';
}
class ClientTyping : public ClientScreen, public ::testing::WithParamInterface<Filtering> {};

TEST_P(ClientTyping, BoxesFilterAsTheUserTypes) {
    const Filtering& f = GetParam();
    type(f.control, f.typed);
    EXPECT_EQ(text(f.control), f.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ClientTyping,
    ::testing::Values(Filtering{"txtCarta", "4a1 1-1.1", "41111"}, Filtering{"txtPartitaIva", "0123x4", "01234"},
                      // a blank typed at either end vanishes at once, so one typed after "rss" never stays
                      Filtering{"txtCodFisc", " rss mra ", "RSSMRA"}, Filtering{"txtIban", "it 60x ", "IT60X"},
                      Filtering{"txtProvNasc", " mi", "MI"}, Filtering{"txtProvRes", "rm ", "RM"},
                      Filtering{"txtSesso", "f", "F"}, Filtering{"txtCapRes", "ab 1", "AB 1"},
                      Filtering{"txtEmail", " a@b.it ", "a@b.it"}, Filtering{"txtFax", "pec@x.it  ", "pec@x.it"},
                      Filtering{"txtCliente", " rossi ", " rossi "},
                      // length limits: the field's capacity
                      Filtering{"txtSesso", "mf", "M"},
                      Filtering{"txtCodFisc", "ABCDEFGHIJKLMNOPQR", "ABCDEFGHIJKLMNOP"},
                      Filtering{"txtPartitaIva", "1234567890123", "12345678901"}),
    [](const auto& p) { return std::to_string(p.index) + "_" + p.param.control; });

TEST_F(ClientScreen, DigitBoxesStillTakeBackspace) {
    type("txtCarta", QStringLiteral("123"));
    QTest::keyClick(editorOf("txtCarta"), Qt::Key_Backspace);
    EXPECT_EQ(text("txtCarta"), "12");
}

TEST_F(ClientScreen, ABlankTypedBetweenTwoCharactersStays) {
    type("txtCodFisc", QStringLiteral("rssmra"));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(editorOf("txtCodFisc"), Qt::Key_Left);
    QTest::keyClick(editorOf("txtCodFisc"), Qt::Key_Space);
    EXPECT_EQ(text("txtCodFisc"), "RSS MRA");
}

TEST_F(ClientScreen, LeavingAProvinceOrEmailBoxFiltersItOnceMore) {
    screen->txtProvNasc->setEditText(QStringLiteral("to")); // as a card read from a file may hold it
    screen->txtEmail->setText(QStringLiteral(" x@y.it "));
    type("txtCliente", QString());
    type("txtProvNasc", QString());
    type("txtEmail", QString());
    type("txtCliente", QString());
    EXPECT_EQ(text("txtProvNasc"), "TO");
    EXPECT_EQ(text("txtEmail"), "x@y.it");
}

TEST_F(ClientScreen, AProvinceBoxLosesItsSelectionAsItTakesTheFocus) {
    screen->txtProvRes->setCurrentIndex(screen->txtProvRes->findText(QStringLiteral("RM")));
    type("txtProvRes", QString());
    EXPECT_EQ(screen->txtProvRes->currentIndex(), -1);
    EXPECT_EQ(text("txtProvRes"), "RM"); // what it showed stays
    EXPECT_EQ(screen->txtProvRes->count(), 112);
    EXPECT_EQ(screen->txtProvRes->itemText(0), "AG");
    EXPECT_EQ(screen->txtProvRes->itemText(111), "VV");
}

// ---- hints ----

TEST_F(ClientScreen, EveryPictureShowsItsHintAndTheBackgroundEmptiesIt) {
    EXPECT_EQ(screen->panInfo->text(), "Pronto per archiviare una nuova scheda...");
    const std::vector<std::pair<const char*, QString>> hints{
        {"cmdNuovo", "Prepara la schermata per la registrazione di una nuova scheda. (Ctrl+N)"},
        {"cmdDuplica",
         "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti. (Ctrl+D)"},
        {"cmdFile", "Allega file alla scheda corrente."},
        {"cmdSalva", "Salva la scheda corrente in archivio. (Ctrl+S)"},
        {"cmdTrova", "Trova una scheda in archivio. (Ctrl+F)"},
        {"cmdAnteprima", "Visualizza l'anteprima di stampa. (Ctrl+Maiusc+P)"},
        {"cmdStampa", "Stampa la scheda corrente. (Ctrl+P)"},
        {"cmdPDF", "Esporta la scheda in formato PDF."},
        {"cmdRicontatta", "Visualizza il riepilogo delle persone da ricontattare."},
        {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
        {"cmdGuida", "Visualizza la guida in linea. (F1)"},
        {"cmdEsci", "Esci dalla schermata di lavoro corrente. (Esc)"},
        {"cmdPrimo", "Visualizza la prima scheda in archivio. (Ctrl+Home)"},
        {"cmdIndietro", "Visualizza la scheda precedente in archivio. (PgSu)"},
        {"cmdAvanti", "Visualizza la scheda successiva in archivio. (PgGiù)"},
        {"cmdUltimo", "Visualizza l'ultima scheda in archivio. (Ctrl+Fine)"},
        {"btnEmail", "Invia una e-mail all'indirizzo indicato."},
        {"btnCodFisc", "Controlla il codice fiscale."},
        {"btnCarta", "Controlla il numero di carta di credito."},
        {"btnPartitaIva", "Controlla il numero di partita IVA."},
        {"btnIban", "Controlla l'IBAN."},
        {"btnProve", "Visualizza lo storico delle telefonate del cliente archiviate nel registro delle chiamate."},
        {"chkRicontatta", "Annota che il cliente è da ricontattare per questioni in sospeso."},
    };
    for (const auto& [name, hint] : hints) {
        QWidget* w = control(name);
        QTest::mouseMove(w, QPoint(w->width() / 2, w->height() / 2));
        EXPECT_EQ(screen->panInfo->text(), hint) << name;
        QTest::mouseMove(screen->findChild<QWidget*>(QStringLiteral("shpSezione01")), QPoint(3, 3));
        EXPECT_EQ(screen->panInfo->text(), "") << name;
    }
}

// ---- buttons beside the fields ----

TEST_F(ClientScreen, CallHistoryNeedsASavedCardThenACodiceFiscale) {
    type("txtCodFisc", QStringLiteral("RSSMRA80A01H501U"));
    messages.expect(MsgKind::Warning, QStringLiteral("Attenzione: lo storico delle chiamate può essere visualizzato "
                                                     "soltanto dopo aver salvato la scheda del cliente."));
    click("btnProve");

    archive(1);
    click("cmdPrimo");
    screen->txtCodFisc->setText(QStringLiteral("  "));
    type("txtCliente", QString());
    messages.expect(MsgKind::Warning, QStringLiteral("Attenzione: per visualizzare lo storico delle chiamate è "
                                                     "necessario indicare il codice fiscale dello cliente."));
    click("btnProve");
    EXPECT_EQ(focused(), "txtCodFisc");
}

// ---- the four checks ----

struct CheckCase {
    const char* field;
    QString typed;
    const char* button;
    const char* dialog;
    const char* box;
    QString passed;
};
// The test list and a failure name the case: the picture and what the box holds.
void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.button << " with \"" << c.typed.toStdString() << "\" opens " << c.dialog;
}
class ClientChecks : public ClientScreen, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ClientChecks, ButtonsOpenTheirCheckWithTheField) {
    const CheckCase& c = GetParam();
    if (!c.typed.isEmpty())
        type(c.field, c.typed);
    const QString before = text(c.field);
    dialogs.expect(QString::fromLatin1(c.dialog), [&c](QDialog& d) {
        auto* box = d.findChild<QLineEdit*>(QString::fromLatin1(c.box));
        ASSERT_NE(box, nullptr) << c.box;
        EXPECT_EQ(box->text(), c.passed);
        box->setText(QStringLiteral("999")); // what happens in the check stays there
        d.reject();
    });
    click(c.button);
    EXPECT_EQ(text(c.field), before);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ClientChecks,
    ::testing::Values(
        // btnCodFisc: digits only → partita IVA check; anything else, or nothing → codice fiscale check
        CheckCase{"txtCodFisc", "01234567890", "btnCodFisc", "frmPartitaIva", "txtPartitaIva", "01234567890"},
        CheckCase{"txtCodFisc", "rssmra80a01h501u", "btnCodFisc", "frmCodFisc", "txtCodFisc", "RSSMRA80A01H501U"},
        CheckCase{"txtCodFisc", "", "btnCodFisc", "frmCodFisc", "txtCodFisc", ""},
        CheckCase{"txtCarta", "4111111111111111", "btnCarta", "frmCarta", "txtNumero", "4111111111111111"},
        CheckCase{"txtPartitaIva", "01234567890", "btnPartitaIva", "frmPartitaIva", "txtPartitaIva", "01234567890"},
        CheckCase{"txtIban", "it60x0542811101000000123456", "btnIban", "frmIban", "txtIban",
                  "IT60X0542811101000000123456"}),
    [](const auto& p) { return std::to_string(p.index) + "_" + p.param.button; });

TEST_F(ClientScreen, CodFiscButtonWithDigitsAndABlankOpensTheCodiceFiscaleCheck) {
    screen->txtCodFisc->setText(QStringLiteral("123 456")); // as loaded from a card
    dialogs.expect(QStringLiteral("frmCodFisc"), [](QDialog& d) { d.reject(); });
    click("btnCodFisc");
}

} // namespace
