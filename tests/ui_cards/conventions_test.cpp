// What the three card screens do alike, checked on each: the e-mail picture, the help, closing and the
// start menu's tile, the Enter ring. The expectations are written out here, not taken from the tables
// that build the screens.
#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
#include "ui/app/guida.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/picturebox.h"
#include "ui/common/workareas.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>

using namespace ombrisa;

namespace {

struct CardCase {
    const char* name;
    std::function<std::unique_ptr<CardScreen>()> make;
    int tile;               // from 1
    const char* title;      // window title
    const char* helpTitle;  // title of the help window
    const char* helpStart;  // how the help text starts
    int helpParagraphs;     // paragraphs of the help text
    const char* nameBox;    // the box of the person's name
    const char* firstFocus; // the box that has the focus on a new card
    QStringList ring;       // the Enter ring
};
// The test list and a failure name the case.
void PrintTo(const CardCase& c, std::ostream* os) {
    *os << c.name;
}

const CardCase kCards[] = {
    {"Clienti",
     [] { return std::make_unique<TfrmClienti>(); },
     1,
     " Ombrisa - Archivio Clienti",
     "App Archivio Clienti",
     "L'app Archivio Clienti memorizza",
     10,
     "txtCliente",
     "txtCliente",
     {"txtCliente",  "txtDataNasc",     "txtComuneNasc",  "txtProvNasc",   "txtSesso",
      "txtRecapito", "txtIndirizzoRes", "txtProvRes",     "txtComuneRes",  "txtCapRes",
      "txtEstremi",  "txtTelCasa",      "txtTelUff",      "txtTelCel",     "txtFax",
      "txtEmail",    "txtCodFisc",      "txtCarta",       "txtScadeCarta", "txtPartitaIva",
      "txtIban",     "txtDocumento",    "txtOccupazione", "txtCivile",     "txtTitoli",
      "txtProdotti", "txtZona",         "txtQuestioni",   "txtNote"}},
    {"Chiamate",
     [] { return std::make_unique<TfrmChiamate>(); },
     2,
     " Ombrisa - Registro Chiamate",
     "App Registro Chiamate",
     "L'app Registro Chiamate è progettata",
     9,
     "txtCliente",
     "txtOggetto",
     {"txtGiornoRit", "txtMeseRit", "lblAnnoRit", "txtOreRit",  "txtMinutiRit", "txtTipo",
      "txtOggetto",   "txtEsito",   "txtGrado",   "txtDurata",  "txtCliente",   "txtCodFisc",
      "txtZona",      "txtRecapito", "txtTelCel", "txtEmail",   "txtNote",      "txtOperatore"}},
    {"Dipendenti",
     [] { return std::make_unique<TfrmDipendenti>(); },
     3,
     " Ombrisa - Agenti e Prestazioni",
     "App Agenti e Prestazioni",
     "L'app Agenti e Prestazioni è uno schedario",
     11,
     "txtDipendente",
     "txtDipendente",
     {"txtDipendente", "txtSesso",      "txtDataNasc", "txtCittadinanza", "txtLuogoNasc",
      "txtIndirizzo",  "txtCitta",      "txtCap",      "txtNazione",      "txtCodFisc",
      "txtCivile",     "txtPartitaIva", "txtStudio",   "txtLingue",       "txtEmail",
      "txtTel",        "txtCel",        "txtQualifica", "txtReparto",     "txtDisponibilita",
      "txtMansioni",   "txtIban",       "txtDataAss",  "txtRetribuzione", "txtNote"}},
};

class CardConventions : public test::UiTest, public ::testing::WithParamInterface<CardCase> {
protected:
    void SetUp() override {
        UiTest::SetUp();
        screen = GetParam().make();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void TearDown() override {
        screen.reset();
        UiTest::TearDown();
    }
    void click(const char* name) {
        auto* b = screen->findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QLineEdit* edit(const char* name) const {
        return qobject_cast<QLineEdit*>(screen->findChild<QWidget*>(QString::fromLatin1(name)));
    }
    // The focused control; the edit line of a combo box stands for its box.
    static QString focused() {
        QWidget* f = QApplication::focusWidget();
        if (f && qobject_cast<QComboBox*>(f->parentWidget()))
            f = f->parentWidget();
        return f ? f->objectName() : QString();
    }

    std::unique_ptr<CardScreen> screen;
};

TEST_P(CardConventions, TheEmailPictureWritesToTheTrimmedAddress) {
    edit("txtEmail")->setText(QStringLiteral("  m.rossi@esempio.it "));
    click("btnEmail");
    edit("txtEmail")->clear();
    click("btnEmail");
    ASSERT_EQ(opener.opened.size(), 2);
    EXPECT_EQ(opener.opened[0], QUrl(QStringLiteral("mailto:m.rossi@esempio.it")));
    EXPECT_EQ(opener.opened[1].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(opener.opened[1].path(), QString());
}

TEST_P(CardConventions, HelpShowsTheScreensOwnText) {
    const CardCase& c = GetParam();
    QString title, text;
    dialogs.expect(QStringLiteral("frmGuida"), [&](QDialog& d) {
        auto& help = static_cast<TfrmGuida&>(d);
        title = help.lblTitolo->text();
        text = help.helpText();
        d.reject();
    });
    click("cmdGuida");
    EXPECT_EQ(title, QString::fromUtf8(c.helpTitle));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.helpStart))) << text.left(60).toStdString();
    EXPECT_EQ(text.split(QStringLiteral("\r\n\r\n")).size(), c.helpParagraphs);
}

TEST_P(CardConventions, EnterWalksTheRingAndWraps) {
    const QStringList& ring = GetParam().ring;
    ASSERT_EQ(focused(), QString::fromLatin1(GetParam().firstFocus)); // where a new card starts
    const qsizetype start = ring.indexOf(focused());
    ASSERT_GE(start, 0);
    for (qsizetype i = 1; i <= ring.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_EQ(focused(), ring[(start + i) % ring.size()]) << "after Enter number " << i;
    }
}

// The tile opens the screen on a new card; Esci or the window's close button bring the menu back.
TEST_P(CardConventions, TheTileOpensANewCardAndClosingBringsTheMenuBack) {
    const CardCase& c = GetParam();
    edit(c.nameBox)->setText(QStringLiteral("Rossi Mario"));
    messages.expect(MsgKind::Confirmation, kSaveChangesQuestion, MsgAnswer::No); // the typing is dropped
    screen->close();
    TfrmAvvio avvio;
    registerWorkArea(c.tile, [this] { return screen.get(); });
    struct Unregister {
        int tile;
        ~Unregister() { registerWorkArea(tile, {}); }
    } unregister{c.tile};
    avvio.show();

    QTest::mouseClick(avvio.btnApp[c.tile - 1], Qt::LeftButton);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_FALSE(avvio.isVisible());
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8(c.title));
    EXPECT_EQ(screen->lblPosizione->text(), QString());
    EXPECT_EQ(edit(c.nameBox)->text(), QString());
    click("cmdEsci");
    EXPECT_FALSE(screen->isVisible());
    EXPECT_TRUE(avvio.isVisible());

    QTest::mouseClick(avvio.imgApp[c.tile - 1], Qt::LeftButton);
    EXPECT_TRUE(screen->isVisible());
    screen->close();
    EXPECT_TRUE(avvio.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Cards, CardConventions, ::testing::ValuesIn(kCards),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
