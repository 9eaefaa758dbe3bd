// The shared screen layer: services, formats, translations, focus looks, keyboard filters, hint line.

#include "ui/common/conventions.h"
#include "ui/common/focuslook.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "core/dates/dates.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <gtest/gtest-spi.h>

using namespace ombrisa;
using ombrisa::test::UiTest;

namespace {

// A window with a few edit boxes, shown and active so that focus changes happen as for a user.
struct Form {
    QWidget window;
    QLineEdit* a;
    QLineEdit* b;
    QLineEdit* c;

    Form() {
        window.resize(300, 200);
        a = box("txtUno", 10);
        b = box("txtDue", 50);
        c = box("txtTre", 90);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QLineEdit* box(const char* name, int y) {
        auto* e = new QLineEdit(&window);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(20, y, 200, 26);
        return e;
    }
};

QColor pixelOf(QWidget* w) {
    return w->grab().toImage().pixelColor(w->width() - 6, w->height() / 2);
}

} // namespace

// ---- services ----

class ServicesTest : public UiTest {};

TEST_F(ServicesTest, ShorthandsShowTheirKindAndButtons) {
    messages.expect(MsgKind::Warning, QStringLiteral("w"));
    messages.expect(MsgKind::Information, QStringLiteral("i"));
    messages.expect(MsgKind::Error, QStringLiteral("e"));
    messages.expect(MsgKind::Plain, QStringLiteral("p"));
    showWarning(nullptr, QStringLiteral("w"));
    showInformation(nullptr, QStringLiteral("i"));
    showError(nullptr, QStringLiteral("e"));
    showPlain(nullptr, QStringLiteral("p"));
    ASSERT_EQ(messages.shown.size(), 4);
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OkCancel);
    // Information and errors leave nothing to choose: one button.
    EXPECT_EQ(messages.shown[1].buttons, MsgButtons::Ok);
    EXPECT_EQ(messages.shown[2].buttons, MsgButtons::Ok);
    EXPECT_EQ(messages.shown[3].buttons, MsgButtons::Ok);
    for (const auto& m : messages.shown)
        EXPECT_EQ(m.defaultButton, MsgAnswer::Ok) << m.text.toStdString();
}

TEST_F(ServicesTest, ConfirmationIsTrueOnlyForYesAndADestructiveOneAnswersNoToEnter) {
    struct QuestionCase {
        const char* what;
        bool (*ask)(QWidget*, const QString&);
        MsgAnswer enter; // the button Enter presses
    };
    const QuestionCase cases[] = {
        {"confirm", &confirm, MsgAnswer::Yes},
        {"confirmDestructive", &confirmDestructive, MsgAnswer::No},
    };
    for (const QuestionCase& c : cases) {
        messages.shown.clear();
        messages.expect(MsgKind::Confirmation, QStringLiteral("Procedere?"), MsgAnswer::Yes);
        messages.expect(MsgKind::Confirmation, QStringLiteral("Procedere?"), MsgAnswer::No);
        EXPECT_TRUE(c.ask(nullptr, QStringLiteral("Procedere?"))) << c.what;
        EXPECT_FALSE(c.ask(nullptr, QStringLiteral("Procedere?"))) << c.what;
        ASSERT_EQ(messages.shown.size(), 2) << c.what;
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNo) << c.what;
        EXPECT_EQ(messages.shown[0].defaultButton, c.enter) << c.what;
    }
}

ombrisa::test::TestMessages gLoneMessages;
ombrisa::test::TestDialogs gLoneDialogs;
ombrisa::test::TestFileChooser gLoneChooser;

TEST(TestServices, UnexpectedOrWrongBoxesFailTheTest) {
    EXPECT_NONFATAL_FAILURE(
        gLoneMessages.show(nullptr, MsgKind::Plain, MsgButtons::Ok, QStringLiteral("x"), MsgAnswer::Ok),
        "unexpected plain message: x");
    gLoneMessages.expect(MsgKind::Warning, QStringLiteral("giusto"));
    EXPECT_NONFATAL_FAILURE(
        gLoneMessages.show(nullptr, MsgKind::Warning, MsgButtons::OkCancel, QStringLiteral("sbagliato"), MsgAnswer::Ok),
        "giusto");
    gLoneMessages.expect(MsgKind::Warning, QStringLiteral("mai"));
    EXPECT_NONFATAL_FAILURE(gLoneMessages.verifyAllShown(), "never shown: mai");
    EXPECT_NONFATAL_FAILURE(
        {
            QDialog d;
            d.setObjectName(QStringLiteral("frmNessuno"));
            gLoneDialogs.run(d);
        },
        "unexpected dialog: frmNessuno");
    EXPECT_NONFATAL_FAILURE(
        {
            QDialog d;
            d.setObjectName(QStringLiteral("frmAperto"));
            gLoneDialogs.expect(QStringLiteral("frmAperto"), [](QDialog&) {});
            gLoneDialogs.run(d);
        },
        "dialog left open: frmAperto");
}

TEST_F(ServicesTest, FileChoosersAnswerWhatTheTestAnnounced) {
    files.expectOpen(QStringLiteral("/tmp/a.jpg"));
    files.expectSave(QString()); // the user cancels
    EXPECT_EQ(fileChooser().openFile(nullptr, QStringLiteral("Apri"), QStringLiteral("/tmp"), QString()),
              QStringLiteral("/tmp/a.jpg"));
    EXPECT_EQ(fileChooser().saveFile(nullptr, QStringLiteral("Salva"), QStringLiteral("Contatti.xls"), QString()),
              QString());
    EXPECT_EQ(files.captions, QStringList({QStringLiteral("Apri"), QStringLiteral("Salva")}));
    EXPECT_EQ(files.suggested, QStringList({QStringLiteral("/tmp"), QStringLiteral("Contatti.xls")}));
}

TEST(DefaultSuffix, OnlyANameWithoutExtensionGetsIt) {
    struct Case {
        const char* path;
        const char* suffix;
        const char* chosen;
    };
    const Case cases[] = {
        {"/dati/copia", "jpg", "/dati/copia.jpg"},
        {"/dati/copia.jpg", "jpg", "/dati/copia.jpg"},
        {"/dati/copia.JPEG", "jpg", "/dati/copia.JPEG"},
        {"/dati/copia.bmp", "jpg", "/dati/copia.bmp"},   // another extension stays
        {"/dati.2024/copia", "jpg", "/dati.2024/copia.jpg"}, // a dot in a folder is no extension
        {"copia", "xls", "copia.xls"},
        {"/dati/copia", "", "/dati/copia"}, // no default suffix
        {"", "jpg", ""},                    // cancelled
    };
    for (const Case& c : cases)
        EXPECT_EQ(withDefaultSuffix(QString::fromUtf8(c.path), QString::fromUtf8(c.suffix)), QString::fromUtf8(c.chosen))
            << c.path;
}

TEST(TestServices, UnannouncedFileChoosersFailTheTest) {
    EXPECT_NONFATAL_FAILURE(gLoneChooser.openFile(nullptr, QStringLiteral("Apri"), QString(), QString()),
                            "unexpected file-open chooser: Apri");
    gLoneChooser.expectOpen(QStringLiteral("/x"));
    EXPECT_NONFATAL_FAILURE(gLoneChooser.saveFile(nullptr, QStringLiteral("Salva"), QString(), QString()),
                            "unexpected file-save chooser: Salva");
    EXPECT_NONFATAL_FAILURE(gLoneChooser.verifyAllShown(), "never shown");
}

TEST_F(ServicesTest, ExecDialogReturnsTheResultAndDestroysTheDialog) {
    QWidget owner;
    QPointer<QDialog> seen;
    dialogs.expect(QStringLiteral("frmProva"), [&](QDialog& d) {
        seen = &d;
        EXPECT_EQ(d.parentWidget(), &owner);
        EXPECT_TRUE(d.isVisible());
        d.accept();
    });
    auto* dialog = new QDialog(&owner);
    dialog->setObjectName(QStringLiteral("frmProva"));
    EXPECT_EQ(execDialog(dialog), QDialog::Accepted);
    EXPECT_TRUE(seen.isNull());
    EXPECT_TRUE(owner.findChildren<QDialog*>().isEmpty());
}

TEST_F(ServicesTest, OpenHandsTheAddressToTheOpener) {
    struct Case {
        QString command;
        QUrl url;
    };
    const Case cases[] = {
        {QStringLiteral("\"/opt/ombrisa/Guida.pdf\""), QUrl::fromLocalFile(QStringLiteral("/opt/ombrisa/Guida.pdf"))},
        {QStringLiteral("/opt/ombrisa/Documenti Allegati/a b.txt"),
         QUrl::fromLocalFile(QStringLiteral("/opt/ombrisa/Documenti Allegati/a b.txt"))},
        {QStringLiteral("\"mailto:info@example.com\""), QUrl(QStringLiteral("mailto:info@example.com"))},
        {QStringLiteral("https://www.example.com"), QUrl(QStringLiteral("https://www.example.com"))},
    };
    for (const Case& c : cases)
        TMisc::Open(c.command);
    TMisc::Open(QStringLiteral("\"\""));
    TMisc::Open(QString());
    ASSERT_EQ(opener.opened.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(opener.opened[static_cast<qsizetype>(i)], cases[i].url) << cases[i].command.toStdString();
}

TEST_F(ServicesTest, OpenSaysWhenNoProgramTakesTheAddress) {
    const QUrl mail(QStringLiteral("mailto:info@example.com"));
    const QUrl web(QStringLiteral("https://www.example.com"));
    const QString missing = path(QStringLiteral("mancante.pdf"));
    opener.refused = {mail, web, QUrl::fromLocalFile(missing)};
    messages.expect(MsgKind::Warning, QStringLiteral("Impossibile scrivere un messaggio a info@example.com: sul computer "
                                                     "non è configurato un programma di posta elettronica."));
    messages.expect(MsgKind::Warning, QStringLiteral("Impossibile aprire l'indirizzo https://www.example.com: sul "
                                                     "computer non è configurato un programma per navigare in Internet."));
    messages.expect(MsgKind::Warning, QStringLiteral("Impossibile aprire il file %1: il file non esiste.")
                                          .arg(QDir::toNativeSeparators(missing)));
    EXPECT_FALSE(TMisc::Open(QStringLiteral("\"mailto:info@example.com\"")));
    EXPECT_FALSE(TMisc::Open(web.toString()));
    EXPECT_FALSE(TMisc::Open(missing));
    messages.verifyAllShown();
    EXPECT_TRUE(TMisc::Open(QStringLiteral("https://www.example.org")));
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(ServicesTest, TheClockIsTheTestsOwn) {
    clock.set(QDateTime(QDate(2025, 12, 31), QTime(23, 59)));
    EXPECT_EQ(ombrisa::clock().today(), QDate(2025, 12, 31));
    EXPECT_EQ(ombrisa::clock().time(), QTime(23, 59));
}

// ---- formats and translations ----

TEST(Formats, DecimalCommaAndDayMonthYear) {
    applyScreenFormats();
    EXPECT_EQ(QLocale().toString(7.5), QStringLiteral("7,5"));
    bool ok = false;
    EXPECT_DOUBLE_EQ(QLocale().toDouble(QStringLiteral("7,5"), &ok), 7.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(QLocale().toString(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(formatDate(QDate(2024, 3, 5)), QStringLiteral("05/03/2024"));
    EXPECT_EQ(QDate(2024, 3, 5).toString(kShortDateFormat), QStringLiteral("05/03/2024"));
}

TEST(Translations, StandardButtonsReadItalian) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    auto text = [&](QMessageBox::StandardButton b) { return box.button(b)->text().remove(QLatin1Char('&')); };
    EXPECT_EQ(text(QMessageBox::Yes), QStringLiteral("Sì"));
    EXPECT_EQ(text(QMessageBox::No), QStringLiteral("No"));
    EXPECT_EQ(text(QMessageBox::Cancel), QStringLiteral("Annulla"));
    EXPECT_EQ(text(QMessageBox::Ok), QStringLiteral("OK"));
}

// ---- focus looks ----

TEST(FocusRect, FramesTheFocusedBoxOnly) {
    Form f;
    f.c->setFocus();
    QWidget* effUno = addFocusRect(f.a);
    QWidget* effDue = addFocusRect(f.b);
    ASSERT_NE(effUno, nullptr);
    EXPECT_EQ(effUno->objectName(), QStringLiteral("effUno"));
    EXPECT_EQ(f.window.findChild<QWidget*>(QStringLiteral("effDue")), effDue);
    EXPECT_FALSE(effUno->isVisible());
    EXPECT_FALSE(effDue->isVisible());

    f.a->setFocus();
    EXPECT_TRUE(effUno->isVisible());
    EXPECT_FALSE(effDue->isVisible());
    EXPECT_EQ(effUno->geometry(), f.a->geometry().adjusted(-4, -4, 4, 4));
    EXPECT_EQ(effUno->grab().toImage().pixelColor(3, effUno->height() / 2), QColor(0xFF, 0xFF, 0x00));

    f.b->setFocus();
    EXPECT_FALSE(effUno->isVisible());
    EXPECT_TRUE(effDue->isVisible());

    f.b->move(40, 60);
    EXPECT_EQ(effDue->geometry(), f.b->geometry().adjusted(-4, -4, 4, 4));
    f.c->setFocus();
    EXPECT_FALSE(effDue->isVisible());
}

TEST(FieldLook, AliceBlueAtRestYellowWithFocus) {
    Form f;
    applyFieldLook(f.a);
    applyFieldLook(f.b);
    f.b->setFocus();
    EXPECT_EQ(pixelOf(f.a), QColor(0xF0, 0xF8, 0xFF));
    EXPECT_EQ(pixelOf(f.b), QColor(0xFF, 0xFF, 0x00));
    f.a->setFocus();
    EXPECT_EQ(pixelOf(f.a), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(pixelOf(f.b), QColor(0xF0, 0xF8, 0xFF));
}

// ---- keyboard ----

TEST(EnterRingTest, EnterMovesRoundTheRingAndDoesNothingElse) {
    Form f;
    f.a->setText(QStringLiteral("uno"));
    new EnterRing({f.a, f.b, f.c});
    f.a->setFocus();
    for (QLineEdit* expected : {f.b, f.c, f.a, f.b}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), expected);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.c);
    EXPECT_EQ(f.a->text(), QStringLiteral("uno"));
}

TEST(EnterRingTest, AnActionReplacesTheMoveForItsBox) {
    Form f;
    auto* ring = new EnterRing({f.a, f.b});
    int runs = 0;
    ring->setAction(f.b, [&] { ++runs; });
    f.b->setFocus();
    QTest::keyClick(f.b, Qt::Key_Return);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    EXPECT_EQ(ring->next(f.b), f.a);
}

TEST(EnterRingTest, EditableComboBoxesTakePart) {
    Form f;
    auto* combo = new QComboBox(&f.window);
    combo->setEditable(true);
    combo->setGeometry(20, 130, 200, 26);
    combo->show();
    new EnterRing({f.a, combo});
    combo->setFocus();
    QTest::keyClicks(combo, QStringLiteral("Roma"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(combo->count(), 0) << "Enter must not add an item";
    EXPECT_EQ(combo->currentText(), QStringLiteral("Roma"));
}

TEST(DigitOnly, OnlyDigitsAndEditingKeysAct) {
    Form f;
    installDigitOnlyFilter(f.a);
    new EnterRing({f.a, f.b});
    f.a->setFocus();
    QTest::keyClicks(f.a, QStringLiteral("1a2 3-4+.,x"));
    EXPECT_EQ(f.a->text(), QStringLiteral("1234"));
    struct Refused {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Refused& r :
         {Refused{Qt::Key_Home, {}}, Refused{Qt::Key_End, {}}, Refused{Qt::Key_V, Qt::ControlModifier},
          Refused{Qt::Key_A, Qt::ControlModifier}, Refused{Qt::Key_Space, {}}}) {
        QTest::keyClick(f.a, r.key, r.modifiers);
        EXPECT_EQ(f.a->text(), QStringLiteral("1234"));
        EXPECT_EQ(f.a->cursorPosition(), 4) << "key " << r.key;
    }
    QTest::keyClick(f.a, Qt::Key_Left);
    QTest::keyClick(f.a, Qt::Key_Backspace);
    EXPECT_EQ(f.a->text(), QStringLiteral("124"));
    QTest::keyClick(f.a, Qt::Key_Delete);
    EXPECT_EQ(f.a->text(), QStringLiteral("12"));
    QTest::keyClick(f.a, Qt::Key_Right);
    QTest::keyClick(f.a, Qt::Key_9);
    EXPECT_EQ(f.a->text(), QStringLiteral("129"));
    QTest::keyClick(f.a, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.b);

    // The context menu's Paste, at the start of the box: only the digits arrive, the cursor after them.
    QApplication::clipboard()->setText(QStringLiteral("+39 347-55"));
    f.a->setCursorPosition(0);
    f.a->paste();
    EXPECT_EQ(f.a->text(), QStringLiteral("3934755129"));
    EXPECT_EQ(f.a->cursorPosition(), 7);
    EXPECT_FALSE(f.a->acceptDrops());
}

// "Select all and retype" in a full digit box: Ctrl+A is discarded, so the digit typed next finds the
// box full. The old value stays, and the box says so beside it; where the digit is taken, nothing shows.
TEST(DigitOnly, AFullBoxSaysWhyTheDigitIsNotTaken) {
    Form f;
    f.a->setMaxLength(3);
    installDigitOnlyFilter(f.a);
    f.a->setText(QStringLiteral("851"));
    f.a->setFocus();
    // Qt hides a tip after a short fade: wait for it, so that each case starts with none shown.
    const auto noTip = [] {
        QToolTip::hideText();
        return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
    };
    ASSERT_TRUE(noTip());
    QTest::keyClick(f.a, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.a, Qt::Key_4);
    EXPECT_EQ(f.a->text(), QStringLiteral("851"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), kFullDigitBoxHint);

    struct Case {
        const char* what;
        QString text;
        int selectFrom, selectLength;
        QString after;
    };
    for (const Case& c : {Case{"room left", QStringLiteral("85"), -1, 0, QStringLiteral("854")},
                          Case{"full, digits selected", QStringLiteral("851"), 0, 3, QStringLiteral("4")}}) {
        ASSERT_TRUE(noTip());
        f.a->setText(c.text);
        if (c.selectFrom >= 0)
            f.a->setSelection(c.selectFrom, c.selectLength);
        QTest::keyClick(f.a, Qt::Key_4);
        EXPECT_EQ(f.a->text(), c.after) << c.what;
        EXPECT_FALSE(QToolTip::isVisible()) << c.what;
    }
    // A letter in a full box is one of the discarded keys: no word about the box being full.
    ASSERT_TRUE(noTip());
    f.a->setText(QStringLiteral("851"));
    QTest::keyClick(f.a, Qt::Key_X);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST(TypingFilters, FilteredTextReplacesWhatIsTyped) {
    struct Case {
        TypingFilter filter;
        QString typed;
        QString shown;
    };
    const Case cases[] = {
        {TypingFilter::TrimUpper, QStringLiteral(" rssmra80a01h501u "), QStringLiteral("RSSMRA80A01H501U")},
        {TypingFilter::TrimUpper, QStringLiteral("ab c"), QStringLiteral("ABC")}, // a blank at the end vanishes
        {TypingFilter::Upper, QStringLiteral(" m "), QStringLiteral(" M ")},
        {TypingFilter::Trim, QStringLiteral(" mario@example.com "), QStringLiteral("mario@example.com")},
        {TypingFilter::Trim, QStringLiteral("Mario.Rossi"), QStringLiteral("Mario.Rossi")},
    };
    for (const Case& c : cases) {
        Form f;
        installTypingFilter(f.a, c.filter);
        f.a->setFocus();
        QTest::keyClicks(f.a, c.typed);
        EXPECT_EQ(f.a->text(), c.shown) << c.typed.toStdString();
    }
}

TEST(TypingFilters, ABlankTypedBetweenTwoCharactersStays) {
    Form f;
    installTypingFilter(f.a, TypingFilter::TrimUpper);
    f.a->setFocus();
    QTest::keyClicks(f.a, QStringLiteral("ac"));
    QTest::keyClick(f.a, Qt::Key_Left);
    QTest::keyClicks(f.a, QStringLiteral(" b"));
    EXPECT_EQ(f.a->text(), QStringLiteral("A BC"));
    EXPECT_EQ(f.a->cursorPosition(), 3);
}

TEST(TypingFilters, TheProgramsOwnTextIsNotFiltered) {
    Form f;
    installTypingFilter(f.a, TypingFilter::TrimUpper);
    installTypingFilterOnKeyRelease(f.b, TypingFilter::Upper);
    f.a->setText(QStringLiteral(" abc "));
    f.b->setText(QStringLiteral("x"));
    EXPECT_EQ(f.a->text(), QStringLiteral(" abc "));
    EXPECT_EQ(f.b->text(), QStringLiteral("x"));
    f.b->setFocus();
    QTest::keyClick(f.b, Qt::Key_Y);
    EXPECT_EQ(f.b->text(), QStringLiteral("XY"));
}

TEST(TypingFilters, ComboBoxesAreFilteredToo) {
    Form f;
    auto* combo = new QComboBox(&f.window);
    combo->setEditable(true);
    combo->show();
    installTypingFilter(combo, TypingFilter::TrimUpper);
    combo->setFocus();
    QTest::keyClicks(combo, QStringLiteral(" mi"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("MI"));
}

// ---- hint line and pictures ----

TEST(HintLineTest, HintOnHoverEmptiedOverTheBackground) {
    Form f;
    auto* panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), &f.window);
    auto* cmdSalva = new QPushButton(QStringLiteral("Salva"), &f.window);
    auto* decoration = new QLabel(QStringLiteral("deco"), &f.window);
    auto* hints = new HintLine(panInfo);
    hints->setHint(cmdSalva, QStringLiteral("Salva la scheda corrente in archivio."));
    hints->clearOver(&f.window);

    auto move = [](QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(cmdSalva, &enter);
    EXPECT_EQ(panInfo->text(), QStringLiteral("Salva la scheda corrente in archivio."));
    move(cmdSalva);
    EXPECT_EQ(panInfo->text(), QStringLiteral("Salva la scheda corrente in archivio."));
    move(decoration); // a child without a hint counts as the background
    EXPECT_EQ(panInfo->text(), QString());
    move(cmdSalva);
    move(&f.window);
    EXPECT_EQ(panInfo->text(), QString());
}

TEST(PictureBoxTest, ClickableBoxesAndLinksReportClicks) {
    QWidget window;
    auto* picture = new PictureBox(&window);
    picture->setGeometry(0, 0, 40, 40);
    auto* link = new LinkLabel(QStringLiteral("www.example.com"), &window);
    link->setGeometry(50, 0, 150, 20);
    window.show();
    QSignalSpy pictureClicks(picture, &PictureBox::clicked);
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_EQ(pictureClicks.count(), 0) << "not clickable yet";
    picture->setClickable(true);
    EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_EQ(pictureClicks.count(), 1);

    QSignalSpy linkClicks(link, &LinkLabel::clicked);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x8B));
    QTest::mousePress(link, Qt::LeftButton);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0xFF, 0xA5, 0x00));
    QTest::mouseRelease(link, Qt::LeftButton);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x8B));
    EXPECT_EQ(linkClicks.count(), 1);
}
