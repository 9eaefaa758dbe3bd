// The four code-check dialogs, opened as the card screens open them and driven as a user would: the
// exact message texts and kinds, the dialog staying open after a length warning and closing after a
// verdict, typing rules and the Enter key.
#include "ui/common/services.h"
#include "uisupport/fakes.h"
#include "ui/validators/cartadialog.h"
#include "ui/validators/codfiscdialog.h"
#include "ui/validators/ibandialog.h"
#include "ui/validators/partitaivadialog.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ombrisa;
using ombrisa::test::UiTest;

namespace {

struct DialogCase {
    const char* name;
    void (*open)(QWidget*, const QString&);
    const char* box;
    const char16_t* caption;
    const char16_t* instruction;
    int maxLength;
    // A text of the wrong length and its warning, a valid code and its message, a wrong code and its.
    const char* shortText;
    const char16_t* lengthWarning;
    const char* valid;
    const char16_t* validMessage;
    const char* wrong;
    const char16_t* wrongMessage;
};

const DialogCase kDialogs[] = {
    {"frmCodFisc", TfrmCodFisc::open, "txtCodFisc", u" Controllo codice fiscale",
     u"Immettere il codice fiscale e premere il pulsante di controllo.", 16, "RSSMRA85T10A562",
     u"Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.", "rssmra85t10a562s",
     u"Il codice fiscale digitato è VALIDO.", "RSSMRA85T10A562T", u"Attenzione: il codice fiscale digitato è ERRATO."},
    {"frmPartitaIva", TfrmPartitaIva::open, "txtPartitaIva", u" Controllo partita IVA",
     u"Immettere il numero di partita IVA e premere il pulsante di controllo.", 11, "0123456096",
     u"Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.", "01234560967",
     u"Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
     u"E' stato rilasciato dall'Ufficio IVA del Comune di Monza (Milano 2).",
     "01234560968",
     u"Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
     u"Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato."},
    {"frmIban", TfrmIban::open, "txtIban", u" Controllo IBAN", u"Immettere l'IBAN e premere il pulsante di controllo.",
     27, "IT60X054281110100000012345", u"Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.",
     "it60x0542811101000000123456", u"L'IBAN digitato è VALIDO.", "IT60X0542811101000000123457",
     u"Attenzione: l'IBAN digitato è ERRATO!"},
    {"frmCarta", TfrmCarta::open, "txtNumero", u" Controllo carta di credito",
     u"Immettere il numero di carta di credito e premere il pulsante di controllo.", 30, "",
     u"Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.",
     "378282246310005",
     u"Il numero di carta di credito 378282246310005 risulta valido.\r\n\r\n"
     u"La carta di credito è del tipo American Express.",
     "3200000000000002",
     u"Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
     u"Non è quindi possibile fornire informazioni relative al tipo di carta di credito."},
};

QString str(const char16_t* text) {
    return QString::fromUtf16(text);
}
QString str(const char* text) {
    return QString::fromUtf8(text);
}

template <typename T> T* child(QDialog& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Makes the open dialog the active window, so that focus moves as it does for a user.
void activate(QDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

class CheckDialogsTest : public UiTest {
protected:
    // Opens the dialog as a card screen does, with `fieldText` from the card, and runs `steps` on it.
    void open(const DialogCase& c, const QString& fieldText, std::function<void(QDialog&)> steps) {
        dialogs.expect(str(c.name), std::move(steps));
        c.open(&owner, fieldText);
        EXPECT_EQ(dialogs.opened.size(), 1);
        dialogs.opened.clear();
    }
    QWidget owner;
};

} // namespace

TEST_F(CheckDialogsTest, ShapeAndOpening) {
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        open(c, QStringLiteral("  \t") + str(c.valid) + QStringLiteral(" "), [&](QDialog& dialog) {
            activate(dialog);
            EXPECT_EQ(dialog.windowTitle(), str(c.caption));
            EXPECT_EQ(dialog.parentWidget(), &owner);
            EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
            EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
            EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // fixed border
            EXPECT_EQ(child<QLabel>(dialog, "lblTitolo")->text(), str(c.instruction));
            EXPECT_EQ(child<QPushButton>(dialog, "btnControlla")->text(), QStringLiteral("Controlla"));
            EXPECT_EQ(child<QPushButton>(dialog, "btnChiudi")->text(), QStringLiteral("Chiudi"));
            auto* box = child<QLineEdit>(dialog, c.box);
            EXPECT_EQ(box->text(), str(c.valid)); // trimmed, not yet checked
            EXPECT_EQ(box->maxLength(), c.maxLength);
            EXPECT_EQ(box->font().family(), QStringLiteral("Courier New"));
            EXPECT_EQ(box->font().pointSize(), 20);
            EXPECT_TRUE(box->font().bold());
            EXPECT_EQ(dialog.focusWidget(), box);
            EXPECT_TRUE(messages.shown.isEmpty()); // the check does not run by itself
            QTest::mouseClick(child<QPushButton>(dialog, "btnChiudi"), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
        });
        EXPECT_TRUE(messages.shown.isEmpty());
    }
}

TEST_F(CheckDialogsTest, LengthWarningKeepsTheDialogOpenAndAVerdictClosesIt) {
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        open(c, str(c.shortText), [&](QDialog& dialog) {
            activate(dialog);
            auto* box = child<QLineEdit>(dialog, c.box);
            auto* btnControlla = child<QPushButton>(dialog, "btnControlla");
            messages.expect(MsgKind::Warning, str(c.lengthWarning));
            QTest::mouseClick(btnControlla, Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.focusWidget(), box);

            box->setText(str(c.valid));
            messages.expect(MsgKind::Information, str(c.validMessage));
            QTest::mouseClick(btnControlla, Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible());
        });
    }
}

TEST_F(CheckDialogsTest, WrongCodeClosesWhicheverButtonIsPressed) {
    for (const MsgAnswer answer : {MsgAnswer::Ok, MsgAnswer::Cancel}) {
        for (const DialogCase& c : kDialogs) {
            SCOPED_TRACE(c.name);
            open(c, str(c.wrong), [&](QDialog& dialog) {
                messages.expect(MsgKind::Warning, str(c.wrongMessage), answer);
                QTest::mouseClick(child<QPushButton>(dialog, "btnControlla"), Qt::LeftButton);
                EXPECT_FALSE(dialog.isVisible());
            });
        }
    }
}

TEST_F(CheckDialogsTest, EnterMovesToControllaAndEnterThereRunsTheCheck) {
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        open(c, str(c.valid), [&](QDialog& dialog) {
            activate(dialog);
            auto* box = child<QLineEdit>(dialog, c.box);
            const qsizetype shownBefore = messages.shown.size();
            QTest::keyClick(box, Qt::Key_Return);
            EXPECT_EQ(dialog.focusWidget(), child<QPushButton>(dialog, "btnControlla"));
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(messages.shown.size(), shownBefore);
            messages.expect(MsgKind::Information, str(c.validMessage));
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            EXPECT_FALSE(dialog.isVisible());
        });
    }
}

TEST_F(CheckDialogsTest, TypingRules) {
    struct TypingCase {
        int dialog;
        const char* typed;
        const char* shown;
    };
    const TypingCase cases[] = {
        {0, " rssmra 85t ", "RSSMRA85T"},               // trimmed at every change, so blanks at the ends vanish at once
        {0, "rssmra85t10a562sxyz", "RSSMRA85T10A562S"}, // at most 16
        {0, "-/.,", "-/.,"},                            // no character refused
        {1, "12a -3.4+5", "12345"},                     // digits only
        {1, "0123456096712", "01234560967"},            // at most 11
        {2, " it60 x054 ", "IT60X054"},
        {2, "it60x0542811101000000123456789", "IT60X0542811101000000123456"},
        {3, "4111 1111-x1111", "411111111111"}, // digits only
        {3, "1234567890123456789012345678901234", "123456789012345678901234567890"},
    };
    for (const TypingCase& t : cases) {
        const DialogCase& c = kDialogs[t.dialog];
        SCOPED_TRACE(std::string(c.name) + " typed '" + t.typed + "'");
        open(c, QString(), [&](QDialog& dialog) {
            activate(dialog);
            auto* box = child<QLineEdit>(dialog, c.box);
            QTest::keyClicks(box, str(t.typed));
            EXPECT_EQ(box->text(), str(t.shown));
            QTest::mouseClick(child<QPushButton>(dialog, "btnChiudi"), Qt::LeftButton);
        });
    }
}

TEST_F(CheckDialogsTest, BlankTypedInsideTheTextStaysAndLettersTurnUpperCase) {
    for (const int index : {0, 2}) {
        const DialogCase& c = kDialogs[index];
        SCOPED_TRACE(c.name);
        open(c, QString(), [&](QDialog& dialog) {
            activate(dialog);
            auto* box = child<QLineEdit>(dialog, c.box);
            QTest::keyClicks(box, QStringLiteral("ab"));
            QTest::keyClick(box, Qt::Key_Left);
            QTest::keyClick(box, Qt::Key_Space);
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Agrave, QStringLiteral("\u00e0"), Qt::NoModifier);
            EXPECT_EQ(box->text(), QStringLiteral("A \u00c0B"));
            QTest::mouseClick(child<QPushButton>(dialog, "btnChiudi"), Qt::LeftButton);
        });
    }
}

TEST_F(CheckDialogsTest, DigitBoxesStillEditWithBackspaceDeleteAndArrows) {
    for (const int index : {1, 3}) {
        const DialogCase& c = kDialogs[index];
        SCOPED_TRACE(c.name);
        open(c, QStringLiteral("12345"), [&](QDialog& dialog) {
            activate(dialog);
            auto* box = child<QLineEdit>(dialog, c.box);
            box->setCursorPosition(5);
            QTest::keyClick(box, Qt::Key_Backspace); // 1234|
            QTest::keyClick(box, Qt::Key_Left);      // 123|4
            QTest::keyClick(box, Qt::Key_Left);      // 12|34
            QTest::keyClick(box, Qt::Key_Delete);    // 12|4
            QTest::keyClick(box, Qt::Key_Home);      // discarded
            QTest::keyClick(box, Qt::Key_Right);     // 124|
            QTest::keyClicks(box, QStringLiteral("9 z"));
            EXPECT_EQ(box->text(), QStringLiteral("1249"));
            QTest::mouseClick(child<QPushButton>(dialog, "btnChiudi"), Qt::LeftButton);
        });
    }
}

TEST_F(CheckDialogsTest, CodiceFiscaleButtonPicksTheCheckByTheFieldText) {
    const std::pair<QString, const char*> cases[] = {
        {QStringLiteral(" 01234560967 "), "frmPartitaIva"},
        {QStringLiteral("RSSMRA85T10A562S"), "frmCodFisc"},
        {QString(), "frmCodFisc"},
        {QStringLiteral("0123456096A"), "frmCodFisc"},
    };
    for (const auto& [field, name] : cases) {
        SCOPED_TRACE(field.toStdString());
        dialogs.expect(QString::fromLatin1(name), [&](QDialog& dialog) {
            const char* box = QByteArray(name) == "frmPartitaIva" ? "txtPartitaIva" : "txtCodFisc";
            EXPECT_EQ(child<QLineEdit>(dialog, box)->text(), field.trimmed());
            dialog.reject();
        });
        openCodFiscCheck(&owner, field);
    }
}

TEST_F(CheckDialogsTest, FieldLongerThanTheBoxIsCheckedWhole) {
    // A card's codice fiscale of 16 digits opens the partita IVA check: it is not cut to 11 digits
    // (which could make a valid-looking number) but gets the length warning.
    dialogs.expect(QStringLiteral("frmPartitaIva"), [&](QDialog& dialog) {
        auto* box = child<QLineEdit>(dialog, "txtPartitaIva");
        EXPECT_EQ(box->text(), QStringLiteral("0123456096712345"));
        messages.expect(MsgKind::Warning,
                        QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        QTest::mouseClick(child<QPushButton>(dialog, "btnControlla"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    openCodFiscCheck(&owner, QStringLiteral("0123456096712345"));
}
