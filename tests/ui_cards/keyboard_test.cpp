// The program with the keyboard alone: each card filled and saved, a search result opened, the
// statistics opened and saved as PDF, with no mouse event at all; the command keys (also from inside a
// box that would take them as editing keys); Enter on buttons, pictures and lists; the close question of
// a card with unsaved typing; the tab order of the password window; the names a screen reader reads.

#include "core/cards/cardnavigator.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
#include "ui/app/password.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/hintline.h"
#include "ui/common/picturebox.h"
#include "ui/lists/cardlinelist.h"
#include "ui/stats/Statistiche.h"
#include "uisupport/fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>

namespace ombrisa::test {
namespace {

// Counts every mouse button event the application delivers.
class MouseWatch final : public QObject {
public:
    MouseWatch() { qApp->installEventFilter(this); }
    ~MouseWatch() override { qApp->removeEventFilter(this); }
    int events = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            ++events;
            break;
        default:
            break;
        }
        return false;
    }
};

// The focused control of the active window; a combo box's edit line stands for its box.
QWidget* keyboardFocus() {
    QWidget* window = QApplication::activeWindow();
    QWidget* f = window ? window->focusWidget() : QApplication::focusWidget();
    if (f && qobject_cast<QComboBox*>(f->parentWidget()))
        f = f->parentWidget();
    return f;
}
QString keyboardFocusName() {
    QWidget* f = keyboardFocus();
    return f ? f->objectName() : QString();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* window = QApplication::activeWindow();
    QWidget* target = window && window->focusWidget() ? window->focusWidget() : window;
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}
void typeText(const QString& text) {
    QWidget* window = QApplication::activeWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->focusWidget(), nullptr);
    QTest::keyClicks(window->focusWidget(), text);
}
// Tab until `name` has the focus (at most 80 presses).
void tabTo(const QString& name) {
    for (int i = 0; i < 80 && keyboardFocusName() != name; ++i)
        press(Qt::Key_Tab);
    ASSERT_EQ(keyboardFocusName(), name);
}

void activate(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

qint64 cardsIn(const QString& file, std::size_t recordSize) {
    return QFileInfo(file).size() / static_cast<qint64>(recordSize);
}

bool waitUntilStatsComputed(TfrmStatistiche& screen) {
    QElapsedTimer timer;
    timer.start();
    while (screen.busy() && timer.elapsed() < 60000)
        QTest::qWait(20);
    QApplication::processEvents();
    return !screen.busy();
}

class KeyboardOnly : public UiTest {};

TEST_F(KeyboardOnly, ClientCardSavedAndFoundAgainWithKeysOnly) {
    MouseWatch mouse;
    TfrmClienti card;
    activate(card);
    ASSERT_EQ(keyboardFocusName(), QStringLiteral("txtCliente"));
    typeText(QStringLiteral("Rossi Mario"));
    press(Qt::Key_Return); // the Enter ring: on to the next box
    EXPECT_EQ(keyboardFocusName(), QStringLiteral("txtDataNasc"));
    tabTo(QStringLiteral("txtRecapito"));
    typeText(QStringLiteral("0612345678"));
    tabTo(QStringLiteral("txtCodFisc"));
    typeText(QStringLiteral("RSSMRA80A01H501U"));
    messages.expect(MsgKind::Information, kInsertedMessage);
    press(Qt::Key_S, Qt::ControlModifier);
    messages.verifyAllShown();
    EXPECT_EQ(card.lblPosizione->text(), QStringLiteral("1"));
    EXPECT_EQ(cardsIn(path(kClientiFile), sizeof(TRecCliente)), 1);

    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(card.lblPosizione->text(), QString());
    EXPECT_EQ(qobject_cast<QLineEdit*>(card.field(QStringLiteral("txtCliente")))->text(), QString());

    // Ctrl+F, Cerca with Enter, the result list with Shift+Tab, Enter opens the card.
    dialogs.expect(QStringLiteral("frmTrovaClienti"), [](QDialog& d) {
        activate(d);
        typeText(QStringLiteral("rossi"));
        tabTo(QStringLiteral("btnCerca"));
        press(Qt::Key_Return);
        ASSERT_EQ(keyboardFocusName(), QStringLiteral("txtTrova"));
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("lblTrovate"))->text(),
                  QStringLiteral("Il presente riepilogo contiene 1 schede."));
        press(Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(keyboardFocusName(), QStringLiteral("lstRecords"));
        press(Qt::Key_Return); // the line the keyboard is on
    });
    press(Qt::Key_F, Qt::ControlModifier);
    dialogs.verifyAllShown();
    EXPECT_EQ(card.lblPosizione->text(), QStringLiteral("1"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(card.field(QStringLiteral("txtCliente")))->text(),
              QStringLiteral("Rossi Mario"));
    EXPECT_EQ(mouse.events, 0);
}

TEST_F(KeyboardOnly, CallCardSavedAndStatisticsSavedAsPdfWithKeysOnly) {
    MouseWatch mouse;
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 42)));
    TfrmChiamate card;
    activate(card);
    ASSERT_EQ(keyboardFocusName(), QStringLiteral("txtOggetto")); // date, time and kind are filled in
    typeText(QStringLiteral("Preventivo"));
    tabTo(QStringLiteral("txtCliente"));
    typeText(QStringLiteral("Rossi Mario"));
    tabTo(QStringLiteral("txtCodFisc"));
    typeText(QStringLiteral("RSSMRA80A01H501U"));
    tabTo(QStringLiteral("txtRecapito"));
    typeText(QStringLiteral("0612345678"));
    messages.expect(MsgKind::Information, kSavedMessage);
    press(Qt::Key_S, Qt::ControlModifier);
    messages.verifyAllShown();
    EXPECT_EQ(cardsIn(path(kChiamateFile), sizeof(TRecChiamata)), 1);

    // The statistics button takes the focus and Enter presses it; in the statistics, Enter on "Tutto",
    // then on "Salva grafico...".
    const QString pdf = path(QStringLiteral("mesi.pdf"));
    dialogs.expect(QStringLiteral("frmStatistiche"), [&](QDialog& d) {
        auto& stats = static_cast<TfrmStatistiche&>(d);
        activate(d);
        ASSERT_TRUE(waitUntilStatsComputed(stats));
        tabTo(QStringLiteral("btnTutto"));
        press(Qt::Key_Return);
        ASSERT_TRUE(waitUntilStatsComputed(stats));
        EXPECT_TRUE(stats.lblTotale->text().startsWith(QStringLiteral("Totale delle chiamate, tutto il registro: 1;")))
            << stats.lblTotale->text().toStdString();
        tabTo(QStringLiteral("btnSalva"));
        files.expectSave(pdf);
        messages.expect(MsgKind::Information,
                        QStringLiteral("Il grafico è stato salvato nel file %1.").arg(QDir::toNativeSeparators(pdf)));
        press(Qt::Key_Return);
        messages.verifyAllShown();
        press(Qt::Key_Escape);
    });
    tabTo(QStringLiteral("cmdStatistiche"));
    press(Qt::Key_Return);
    dialogs.verifyAllShown();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_EQ(mouse.events, 0);
}

TEST_F(KeyboardOnly, AgentCardSavedWithKeysOnly) {
    MouseWatch mouse;
    TfrmDipendenti card;
    activate(card);
    ASSERT_EQ(keyboardFocusName(), QStringLiteral("txtDipendente"));
    typeText(QStringLiteral("Bianchi Anna"));
    for (const auto& [box, text] : {std::pair{"txtCodFisc", "BNCNNA85M41F205X"}, std::pair{"txtCel", "3331234567"},
                                    std::pair{"txtQualifica", "Tecnico"}, std::pair{"txtReparto", "Assistenza"}}) {
        tabTo(QString::fromLatin1(box));
        typeText(QString::fromLatin1(text));
    }
    messages.expect(MsgKind::Information, kInsertedMessage);
    press(Qt::Key_S, Qt::ControlModifier);
    messages.verifyAllShown();
    EXPECT_EQ(card.lblPosizione->text(), QStringLiteral("1"));
    EXPECT_EQ(cardsIn(path(kDipendentiFile), sizeof(TRecDipendente)), 1);
    EXPECT_EQ(mouse.events, 0);
}

// The record arrows' keys act from inside a box too (Ctrl+Home and Ctrl+End are a line edit's own keys),
// and every key is written in its button's hint.
TEST_F(KeyboardOnly, CommandKeysActFromInsideABoxAndShowInTheHints) {
    QProcess tool;
    tool.start(QStringLiteral(OMBRISA_TOOL_PATH),
               {QStringLiteral("generate"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--clients"),
                QStringLiteral("3"), QStringLiteral("--calls"), QStringLiteral("0"), QStringLiteral("--agents"),
                QStringLiteral("0"), QStringLiteral("--works"), QStringLiteral("0"), QStringLiteral("--seed"),
                QStringLiteral("1")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    TfrmClienti card;
    activate(card);
    ASSERT_EQ(keyboardFocusName(), QStringLiteral("txtCliente"));
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* position;
    } steps[] = {{Qt::Key_End, Qt::ControlModifier, "3"},
                 {Qt::Key_PageUp, Qt::NoModifier, "2"},
                 {Qt::Key_Home, Qt::ControlModifier, "1"},
                 {Qt::Key_PageDown, Qt::NoModifier, "2"}};
    for (const auto& step : steps) {
        card.field(QStringLiteral("txtCliente"))->setFocus();
        press(step.key, step.modifiers);
        EXPECT_EQ(card.lblPosizione->text(), QString::fromLatin1(step.position)) << "key " << step.key;
    }
    const struct {
        QToolButton* button;
        const char* hint;
    } hints[] = {{card.cmdSalva, "Salva la scheda corrente in archivio. (Ctrl+S)"},
                 {card.cmdNuovo, "Prepara la schermata per la registrazione di una nuova scheda. (Ctrl+N)"},
                 {card.cmdTrova, "Trova una scheda in archivio. (Ctrl+F)"},
                 {card.cmdStampa, "Stampa la scheda corrente. (Ctrl+P)"},
                 {card.cmdEsci, "Esci dalla schermata di lavoro corrente. (Esc)"},
                 {card.cmdPrimo, "Visualizza la prima scheda in archivio. (Ctrl+Home)"}};
    for (const auto& h : hints) {
        EXPECT_EQ(HintLine::hintOf(h.button), QString::fromUtf8(h.hint));
        EXPECT_EQ(h.button->accessibleDescription(), QString::fromUtf8(h.hint));
    }
}

// Closing a card (the window's close button or Alt+F4, Esc, Esci) with the boxes as shown closes it; with
// typing it asks, and the answer decides.
struct CloseCase {
    const char* name;
    const char* typing; // "" none; "whole": a card that can be saved; "partial": the telephone missing
    const char* via;    // "window", "esc", "esci"
    MsgAnswer answer;   // (no question without typing)
    bool closed;
    qint64 stored;
};
void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}
const CloseCase kCloseCases[] = {
    {"NoTypingWindow", "", "window", MsgAnswer::Ok, true, 0},
    {"NoTypingEsc", "", "esc", MsgAnswer::Ok, true, 0},
    {"NoTypingEsci", "", "esci", MsgAnswer::Ok, true, 0},
    {"YesSaves", "whole", "window", MsgAnswer::Yes, true, 1},
    {"YesSavesFromEsc", "whole", "esc", MsgAnswer::Yes, true, 1},
    {"YesRefusedStaysOpen", "partial", "esci", MsgAnswer::Yes, false, 0},
    {"NoDiscards", "whole", "esci", MsgAnswer::No, true, 0},
    {"NoDiscardsFromEsc", "partial", "esc", MsgAnswer::No, true, 0},
    {"CancelStays", "whole", "window", MsgAnswer::Cancel, false, 0},
    {"CancelStaysFromEsci", "whole", "esci", MsgAnswer::Cancel, false, 0},
};

class CloseQuestion : public UiTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestion, AnswersDecide) {
    const CloseCase& c = GetParam();
    TfrmClienti card;
    activate(card);
    const QString typing = QString::fromLatin1(c.typing);
    if (!typing.isEmpty()) {
        typeText(QStringLiteral("Verdi Luca"));
        card.field(QStringLiteral("txtCodFisc"))->setFocus();
        typeText(QStringLiteral("VRDLCU70A01F205Z"));
        if (typing == QLatin1String("whole")) {
            card.field(QStringLiteral("txtRecapito"))->setFocus();
            typeText(QStringLiteral("021234567"));
        }
        messages.expect(MsgKind::Confirmation, kSaveChangesQuestion, c.answer);
        if (c.answer == MsgAnswer::Yes)
            messages.expect(typing == QLatin1String("whole") ? MsgKind::Information : MsgKind::Warning,
                            typing == QLatin1String("whole")
                                ? kInsertedMessage
                                : QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il numero "
                                                 "di telefono preferenziale del cliente."));
    }
    const QString via = QString::fromLatin1(c.via);
    if (via == QLatin1String("window")) {
        card.close();
    } else if (via == QLatin1String("esc")) {
        press(Qt::Key_Escape);
    } else {
        card.cmdEsci->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Return);
    }
    messages.verifyAllShown();
    if (!typing.isEmpty()) {
        ASSERT_EQ(messages.shown.size(), c.answer == MsgAnswer::Yes ? 2 : 1);
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoCancel);
    } else {
        EXPECT_TRUE(messages.shown.isEmpty());
    }
    EXPECT_EQ(!card.isVisible(), c.closed);
    EXPECT_EQ(cardsIn(path(kClientiFile), sizeof(TRecCliente)), c.stored);
    if (!c.closed) {
        EXPECT_EQ(qobject_cast<QLineEdit*>(card.field(QStringLiteral("txtCliente")))->text(),
                  QStringLiteral("Verdi Luca"));
    }
    // What was saved, or what was stored when closing, is no longer news: a second close asks nothing.
    if (card.isVisible() && c.answer == MsgAnswer::Cancel) {
        messages.expect(MsgKind::Confirmation, kSaveChangesQuestion, MsgAnswer::No);
        card.close();
        messages.verifyAllShown();
    }
}

INSTANTIATE_TEST_SUITE_P(Cards, CloseQuestion, ::testing::ValuesIn(kCloseCases),
                         [](const auto& p) { return std::string(p.param.name); });

// A saved card closes without a word, and so does a loaded one that was not changed.
TEST_F(KeyboardOnly, ASavedCardClosesWithoutAQuestion) {
    TfrmClienti card;
    activate(card);
    typeText(QStringLiteral("Neri Paolo"));
    card.field(QStringLiteral("txtRecapito"))->setFocus();
    typeText(QStringLiteral("0311234"));
    card.field(QStringLiteral("txtCodFisc"))->setFocus();
    typeText(QStringLiteral("NREPLA60A01F205Y"));
    messages.expect(MsgKind::Information, kInsertedMessage);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(card.hasUnsavedChanges());
    press(Qt::Key_Escape);
    messages.verifyAllShown();
    EXPECT_FALSE(card.isVisible());
}

// The password window reads left to right; Enter presses a focused button of the start menu; Space
// and Enter press a picture button; Enter on a list without a selected line opens nothing.
TEST_F(KeyboardOnly, PasswordTabOrderAndEnterOnButtonsAndPictures) {
    TfrmPassword password;
    activate(password);
    ASSERT_EQ(keyboardFocusName(), QStringLiteral("txtPassword"));
    const QStringList order{QStringLiteral("btnCambiaPassword"), QStringLiteral("cmdEsci"),
                            QStringLiteral("txtPassword")}; // OK is disabled while the box is empty
    for (const QString& next : order) {
        press(Qt::Key_Tab);
        EXPECT_EQ(keyboardFocusName(), next);
    }
    QTest::keyClicks(password.txtPassword, QStringLiteral("x"));
    password.txtPassword->setFocus();
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    EXPECT_EQ(keyboardFocusName(), QStringLiteral("cmdOK"));
    password.hide();

    TfrmAvvio avvio;
    activate(avvio);
    QSignalSpy infoShown(avvio.imgInfo, &PictureBox::clicked);
    QSignalSpy statsLink(avvio.lnkStatistiche, &LinkLabel::clicked);
    dialogs.expect(QStringLiteral("frmInfo"), [](QDialog& d) { d.reject(); });
    avvio.imgInfo->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_EQ(infoShown.count(), 1);
    activate(avvio); // the closed dialog leaves no window active offscreen
    dialogs.expect(QStringLiteral("frmInfo"), [](QDialog& d) { d.reject(); });
    press(Qt::Key_Space);
    EXPECT_EQ(infoShown.count(), 2);
    dialogs.verifyAllShown();
    activate(avvio);
    // Tab from Info reaches Guida, the first tile's button, then the statistics link.
    press(Qt::Key_Tab);
    EXPECT_EQ(keyboardFocusName(), QStringLiteral("imgGuida"));
    press(Qt::Key_Tab);
    EXPECT_EQ(keyboardFocusName(), QStringLiteral("btnApp01"));
    press(Qt::Key_Tab);
    EXPECT_EQ(keyboardFocusName(), QStringLiteral("lnkStatistiche"));
    dialogs.expect(QStringLiteral("frmStatistiche"), [](QDialog& d) {
        waitUntilStatsComputed(static_cast<TfrmStatistiche&>(d));
        d.reject();
    });
    press(Qt::Key_Return);
    dialogs.verifyAllShown();
    EXPECT_EQ(statsLink.count(), 1);
    activate(avvio);
    QSignalSpy clicked(avvio.btnCopia, &QPushButton::clicked);
    dialogs.expect(QStringLiteral("frmCopiaSicurezza"), [](QDialog& d) { d.reject(); });
    avvio.btnCopia->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicked.count(), 1);

    CardLineList list;
    activate(list);
    QSignalSpy opened(&list, &CardLineList::cardDoubleClicked);
    list.setLines({});
    press(Qt::Key_Return);
    EXPECT_EQ(opened.count(), 0);
}

// What a screen reader reads on each card: every control the keyboard reaches has a name, no two alike;
// the section frames read as panels, not as windows; the picture buttons as buttons.
TEST_F(KeyboardOnly, EveryTabStopOfTheCardsHasItsOwnName) {
    TfrmClienti clienti;
    TfrmChiamate chiamate;
    TfrmDipendenti dipendenti;
    for (QWidget* screen : std::initializer_list<QWidget*>{&clienti, &chiamate, &dipendenti}) {
        activate(*screen);
        QSet<QString> names;
        int stops = 0;
        QWidget* first = screen->focusWidget();
        ASSERT_NE(first, nullptr);
        QWidget* w = first;
        do {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == screen &&
                !qobject_cast<QComboBox*>(w->parentWidget())) {
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
                ASSERT_NE(a, nullptr);
                const QString name = a->text(QAccessible::Name).trimmed();
                EXPECT_FALSE(name.isEmpty())
                    << screen->objectName().toStdString() << " " << w->objectName().toStdString();
                EXPECT_NE(name, w->objectName());
                EXPECT_FALSE(names.contains(name)) << screen->objectName().toStdString() << ": " << name.toStdString();
                names.insert(name);
                ++stops;
            }
            w = w->nextInFocusChain();
        } while (w != first);
        EXPECT_GT(stops, 20) << screen->objectName().toStdString();
        for (QFrame* f : screen->findChildren<QFrame*>()) {
            if (f->property("section").toBool()) {
                EXPECT_EQ(QAccessible::queryAccessibleInterface(f)->role(), QAccessible::Grouping);
            }
        }
        screen->hide();
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(clienti.cmdPrimo)->role(), QAccessible::Button);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(clienti.cmdPrimo)->text(QAccessible::Name),
              QStringLiteral("Visualizza la prima scheda in archivio"));
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(clienti.field(QStringLiteral("txtProvRes")))->text(QAccessible::Name),
        QStringLiteral("Provincia di residenza"));
}

} // namespace
} // namespace ombrisa::test
