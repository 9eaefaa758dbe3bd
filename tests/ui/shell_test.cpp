// The program's shell: password screens, start menu, help, information and splash screens.

#include "ui/app/avvio.h"
#include "ui/app/cambiapassword.h"
#include "ui/app/guida.h"
#include "ui/app/info.h"
#include "ui/app/password.h"
#include "ui/app/splash.h"
#include "ui/common/helptexts.h"
#include "ui/common/picturebox.h"
#include "ui/common/workareas.h"
#include "core/password/passwordfile.h"
#include "testsupport/toolrun.h"
#include "uisupport/fakes.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace ombrisa;
using ombrisa::test::UiTest;

namespace {

const QString kPasswordFileName = QStringLiteral("unins000.dll");

// The scrambled form of a password, worked out here independently of the program's own routine:
// running key from 5836, mask = high byte of the key, key <- ((c + key) * 40503 + 47196) mod 65536.
QByteArray scrambled(const QByteArray& password) {
    quint16 key = 5836;
    QByteArray hex;
    for (char ch : password) {
        const auto c = static_cast<quint8>(static_cast<quint8>(ch) ^ (key >> 8));
        hex += QByteArray::number(c, 16).rightJustified(2, '0').toUpper();
        key = static_cast<quint16>((static_cast<quint32>(c) + key) * 40503u + 47196u);
    }
    return hex;
}

QByteArray passwordFile(const QByteArray& storedValue) {
    return "[Accesso]\nValore=" + storedValue + "\n";
}

void activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

// The three start-up screens wired as main() wires them.
class ShellTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        write(kPasswordFileName, passwordFile(scrambled("OMBRISA")));
        startScreens();
    }
    void TearDown() override {
        for (int tile = 1; tile <= 4; ++tile)
            registerWorkArea(tile, {});
        avvio.reset();
        cambia.reset();
        password.reset();
        UiTest::TearDown();
    }
    void startScreens() {
        avvio.reset();
        cambia.reset();
        password = std::make_unique<TfrmPassword>();
        avvio = std::make_unique<TfrmAvvio>();
        cambia = std::make_unique<TfrmCambiaPassword>();
        password->setScreens(avvio.get(), cambia.get());
        password->show();
        activate(password.get());
    }
    void signIn(const QString& typed) {
        password->txtPassword->setText(typed);
        QTest::mouseClick(password->cmdOK, Qt::LeftButton);
    }
    void openChangeScreen() {
        QTest::mouseClick(password->btnCambiaPassword, Qt::LeftButton);
        activate(cambia.get());
    }
    void typeChange(const QString& oldPw, const QString& newPw, const QString& confirmation) {
        cambia->txtPasswordOld->setText(oldPw);
        cambia->txtPasswordNew->setText(newPw);
        cambia->txtConferma->setText(confirmation);
        QTest::mouseClick(cambia->cmdOK, Qt::LeftButton);
    }

    std::unique_ptr<TfrmPassword> password;
    std::unique_ptr<TfrmAvvio> avvio;
    std::unique_ptr<TfrmCambiaPassword> cambia;
};

} // namespace

// ---- password screen ----

TEST_F(ShellTest, StartsWithFocusInThePasswordBoxAndOkDisabled) {
    EXPECT_EQ(password->windowTitle(), QStringLiteral(" Ombrisa - Autenticazione"));
    EXPECT_EQ(password->lblRigo05->text(), QStringLiteral("Immetti la password e premi OK."));
    EXPECT_EQ(password->focusWidget(), password->txtPassword);
    EXPECT_TRUE(password->effPassword->isVisible());
    EXPECT_EQ(password->txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(password->cmdOK->isEnabled());
    EXPECT_FALSE(avvio->isVisible());
}

TEST_F(ShellTest, TheRightPasswordInAnyCaseAndWithBlanksOpensTheStartMenu) {
    for (const QString& typed : {QStringLiteral("ombrisa"), QStringLiteral("OMBRISA"), QStringLiteral(" Ombrisa ")}) {
        startScreens();
        signIn(typed);
        EXPECT_TRUE(avvio->isVisible()) << typed.toStdString();
        EXPECT_FALSE(password->isVisible()) << typed.toStdString();
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ShellTest, AWrongPasswordIsRefusedAndTheBoxEmptied) {
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: password errata."));
    QTest::keyClicks(password->txtPassword, QStringLiteral("ombrisax"));
    QTest::keyClick(password->txtPassword, Qt::Key_Return);
    EXPECT_EQ(password->txtPassword->text(), QString());
    EXPECT_EQ(password->focusWidget(), password->txtPassword);
    EXPECT_FALSE(password->cmdOK->isEnabled());
    EXPECT_TRUE(password->isVisible());
    EXPECT_FALSE(avvio->isVisible());
}

TEST_F(ShellTest, OkIsEnabledOnlyForANonBlankPasswordAndEnterFollowsIt) {
    QTest::keyClicks(password->txtPassword, QStringLiteral("   "));
    EXPECT_FALSE(password->cmdOK->isEnabled());
    QTest::keyClick(password->txtPassword, Qt::Key_Return); // nothing happens: no message box
    EXPECT_TRUE(password->isVisible());
    QTest::keyClicks(password->txtPassword, QStringLiteral("o"));
    EXPECT_TRUE(password->cmdOK->isEnabled());
    QTest::keyClick(password->txtPassword, Qt::Key_Backspace);
    EXPECT_FALSE(password->cmdOK->isEnabled());
    password->txtPassword->setText(QStringLiteral("ombrisa"));
    QTest::keyClick(password->txtPassword, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(avvio->isVisible());
}

TEST_F(ShellTest, AMissingPasswordFileRefusesEverySignIn) {
    ASSERT_TRUE(QFile::remove(path(kPasswordFileName)));
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: password errata."));
    signIn(QStringLiteral("ombrisa"));
    EXPECT_FALSE(avvio->isVisible());
}

TEST_F(ShellTest, ADamagedPasswordFileShowsTheReadingError) {
    const QString readError = QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura "
                                             "della password. Si consiglia di reinstallare il software.");
    write(kPasswordFileName, passwordFile("59CA21A6D7C7ZZ"));
    messages.expect(MsgKind::Plain, readError);
    signIn(QStringLiteral("ombrisa"));
    EXPECT_EQ(password->txtPassword->text(), QStringLiteral("ombrisa")) << "the screen stays as it was";
    EXPECT_TRUE(password->isVisible());
    EXPECT_FALSE(avvio->isVisible());

    // A folder where the file should be cannot be read either.
    ASSERT_TRUE(QFile::remove(path(kPasswordFileName)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(kPasswordFileName));
    messages.expect(MsgKind::Plain, readError);
    signIn(QStringLiteral("ombrisa"));
    EXPECT_FALSE(avvio->isVisible());
}

TEST_F(ShellTest, EsciEndsTheProgram) {
    QSignalSpy end(password.get(), &TfrmPassword::endRequested);
    QTest::mouseClick(password->cmdEsci, Qt::LeftButton);
    EXPECT_EQ(end.count(), 1);
}

// ---- change-password screen ----

TEST_F(ShellTest, TheChangeScreenOpensEmptyWithFocusOnTheOldPassword) {
    password->txtPassword->setText(QStringLiteral("abc"));
    openChangeScreen();
    EXPECT_TRUE(cambia->isVisible());
    EXPECT_FALSE(password->isVisible());
    EXPECT_EQ(cambia->windowTitle(), QStringLiteral(" Cambia password"));
    EXPECT_EQ(cambia->focusWidget(), cambia->txtPasswordOld);
    EXPECT_FALSE(cambia->cmdOK->isEnabled());

    // Closing it brings the password screen back, emptied, and shows it empty again the next time.
    cambia->txtPasswordOld->setText(QStringLiteral("x"));
    QTest::mouseClick(cambia->cmdEsci, Qt::LeftButton);
    EXPECT_FALSE(cambia->isVisible());
    EXPECT_TRUE(password->isVisible());
    EXPECT_EQ(password->txtPassword->text(), QString());
    EXPECT_EQ(password->focusWidget(), password->txtPassword);
    openChangeScreen();
    EXPECT_EQ(cambia->txtPasswordOld->text(), QString());
}

TEST_F(ShellTest, OkOfTheChangeScreenNeedsAllThreeBoxes) {
    openChangeScreen();
    struct Case {
        const char* oldPw;
        const char* newPw;
        const char* confirmation;
        bool enabled;
    };
    const Case cases[] = {
        {"a", "b", "b", true},   {"", "b", "b", false}, {"a", " ", "b", false},
        {"a", "b", "  ", false}, {"", "", "", false},
    };
    for (const Case& c : cases) {
        cambia->txtPasswordOld->setText(QString::fromUtf8(c.oldPw));
        cambia->txtPasswordNew->setText(QString::fromUtf8(c.newPw));
        cambia->txtConferma->setText(QString::fromUtf8(c.confirmation));
        EXPECT_EQ(cambia->cmdOK->isEnabled(), c.enabled) << c.oldPw << "|" << c.newPw << "|" << c.confirmation;
    }
}

TEST_F(ShellTest, EnterGoesRoundTheThreeBoxesAndNeverPressesOk) {
    openChangeScreen();
    typeChange(QString(), QString(), QString()); // OK disabled: nothing happens
    cambia->txtPasswordOld->setText(QStringLiteral("ombrisa"));
    cambia->txtPasswordNew->setText(QStringLiteral("nuova"));
    cambia->txtConferma->setText(QStringLiteral("nuova"));
    cambia->txtPasswordOld->setFocus();
    for (QLineEdit* next :
         {cambia->txtPasswordNew, cambia->txtConferma, cambia->txtPasswordOld, cambia->txtPasswordNew}) {
        QTest::keyClick(cambia->focusWidget(), Qt::Key_Return);
        EXPECT_EQ(cambia->focusWidget(), next);
    }
    EXPECT_TRUE(cambia->isVisible());
    EXPECT_EQ(bytes(kPasswordFileName), passwordFile(scrambled("OMBRISA")));
}

TEST_F(ShellTest, AWrongOldPasswordIsRefused) {
    openChangeScreen();
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: vecchia password errata."));
    typeChange(QStringLiteral("sbagliata"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    EXPECT_EQ(cambia->txtPasswordOld->text(), QString());
    EXPECT_EQ(cambia->txtPasswordNew->text(), QStringLiteral("nuova"));
    EXPECT_EQ(cambia->focusWidget(), cambia->txtPasswordOld);
    EXPECT_TRUE(cambia->isVisible());
    EXPECT_EQ(bytes(kPasswordFileName), passwordFile(scrambled("OMBRISA")));
}

TEST_F(ShellTest, AConfirmationThatDiffersEvenInCaseIsRefused) {
    openChangeScreen();
    messages.expect(MsgKind::Plain,
                    QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
                                   "reinserire entrambi i valori."));
    typeChange(QStringLiteral(" OMBRISA"), QStringLiteral("nuova"), QStringLiteral("NUOVA"));
    EXPECT_EQ(cambia->txtPasswordOld->text(), QStringLiteral(" OMBRISA"));
    EXPECT_EQ(cambia->txtPasswordNew->text(), QString());
    EXPECT_EQ(cambia->txtConferma->text(), QString());
    EXPECT_EQ(cambia->focusWidget(), cambia->txtPasswordNew);
    EXPECT_EQ(bytes(kPasswordFileName), passwordFile(scrambled("OMBRISA")));
}

TEST_F(ShellTest, AChangedPasswordIsStoredScrambledAndSurvivesARestart) {
    openChangeScreen();
    messages.expect(MsgKind::Plain, QStringLiteral("Modifica della password completata con successo."));
    typeChange(QStringLiteral("ombrisa"), QStringLiteral(" Nuova Chiave "), QStringLiteral("Nuova Chiave"));
    EXPECT_FALSE(cambia->isVisible());
    EXPECT_TRUE(password->isVisible());
    EXPECT_EQ(password->focusWidget(), password->txtPassword);
    EXPECT_EQ(bytes(kPasswordFileName), passwordFile(scrambled("NUOVA CHIAVE")));

    startScreens(); // a new run
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: password errata."));
    signIn(QStringLiteral("ombrisa"));
    EXPECT_FALSE(avvio->isVisible());
    signIn(QStringLiteral("nuova chiave"));
    EXPECT_TRUE(avvio->isVisible());
}

TEST_F(ShellTest, APasswordWithCharactersBeyondLatin1StillOpensAfterTheChange) {
    openChangeScreen();
    messages.expect(MsgKind::Plain, QStringLiteral("Modifica della password completata con successo."));
    typeChange(QStringLiteral("ombrisa"), QStringLiteral("caffè€"), QStringLiteral("caffè€"));
    signIn(QStringLiteral("caffè€"));
    EXPECT_TRUE(avvio->isVisible());
}

TEST_F(ShellTest, ADamagedPasswordFileStopsTheChange) {
    write(kPasswordFileName, passwordFile("GG"));
    openChangeScreen();
    messages.expect(MsgKind::Plain,
                    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                                   "password. Si consiglia di reinstallare il software."));
    typeChange(QStringLiteral("ombrisa"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    EXPECT_TRUE(cambia->isVisible());
    EXPECT_EQ(bytes(kPasswordFileName), passwordFile("GG"));
}

TEST_F(ShellTest, TheBuildPlacesThePasswordFileOnlyWhenMissing) {
    const QString file = path(QStringLiteral("nuova/") + kPasswordFileName);
    QDir(dir.path()).mkdir(QStringLiteral("nuova"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(OMBRISA_SEED_PASSWORD_PATH), {file}), 0);
    EXPECT_EQ(bytes(QStringLiteral("nuova/") + kPasswordFileName), passwordFile(scrambled("OMBRISA")));
    write(QStringLiteral("nuova/") + kPasswordFileName, passwordFile(scrambled("ALTRA")));
    ASSERT_EQ(QProcess::execute(QStringLiteral(OMBRISA_SEED_PASSWORD_PATH), {file}), 0);
    EXPECT_EQ(bytes(QStringLiteral("nuova/") + kPasswordFileName), passwordFile(scrambled("ALTRA")));
}

// ---- start menu ----

class StartMenuTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        signIn(QStringLiteral("ombrisa"));
        ASSERT_TRUE(avvio->isVisible());
    }
};

TEST_F(StartMenuTest, ATileWithoutItsWorkAreaDoesNothing) {
    QTest::mouseClick(avvio->btnApp[0], Qt::LeftButton);
    QTest::mouseClick(avvio->imgApp[3], Qt::LeftButton);
    EXPECT_TRUE(avvio->isVisible());
}

TEST_F(StartMenuTest, EachTileOpensItsWorkAreaByPictureOrButtonAndClosingItComesBack) {
    std::array<QWidget, 4> areas;
    for (int tile = 1; tile <= 4; ++tile)
        registerWorkArea(tile, [&areas, tile] { return &areas[static_cast<std::size_t>(tile - 1)]; });
    for (std::size_t i = 0; i < 4; ++i) {
        for (QWidget* control : {static_cast<QWidget*>(avvio->imgApp[i]), static_cast<QWidget*>(avvio->btnApp[i])}) {
            QTest::mouseClick(control, Qt::LeftButton);
            EXPECT_TRUE(areas[i].isVisible()) << control->objectName().toStdString();
            EXPECT_FALSE(avvio->isVisible()) << control->objectName().toStdString();
            areas[i].close(); // the window's close button or the area's own exit
            EXPECT_TRUE(avvio->isVisible()) << control->objectName().toStdString();
        }
    }
    EXPECT_FALSE(password->isVisible());
}

// main() makes the start menu at the first sign-in: not for a wrong password, once for the right one.
TEST_F(ShellTest, AStartMenuMadeAtTheFirstSignIn) {
    int made = 0;
    password->setScreens(nullptr, cambia.get());
    password->setStartMenuProvider([&] {
        ++made;
        return avvio.get();
    });
    messages.expect(MsgKind::Plain, QStringLiteral("Attenzione: password errata."));
    signIn(QStringLiteral("sbagliata"));
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(password->isVisible());
    signIn(QStringLiteral("ombrisa"));
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(avvio->isVisible());
    EXPECT_FALSE(password->isVisible());
}

// main() registers the card screens this way: nothing is built until the tile is clicked, then the same
// screen serves every later click.
struct CountedArea : QWidget {
    CountedArea() { ++made; }
    static inline int made = 0;
};

TEST_F(StartMenuTest, AWorkAreaIsCreatedOnItsFirstClickAndKeptForTheRun) {
    CountedArea::made = 0;
    std::unique_ptr<CountedArea> area;
    registerWorkArea(2, createdOnFirstUse(area));
    EXPECT_EQ(CountedArea::made, 0);
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(avvio->imgApp[1], Qt::LeftButton);
        ASSERT_NE(area, nullptr);
        EXPECT_TRUE(area->isVisible());
        EXPECT_FALSE(avvio->isVisible());
        area->close();
        EXPECT_TRUE(avvio->isVisible());
    }
    EXPECT_EQ(CountedArea::made, 1);
}

TEST_F(StartMenuTest, TheControlsAreWhereTheUserLooksForThem) {
    EXPECT_EQ(avvio->windowTitle(), QStringLiteral(" Ombrisa"));
    for (const char* name : {"icoNomeApp", "icoSottotitolo", "imgInfo", "imgGuida", "bkgApp01", "bkgApp04", "imgApp01",
                             "btnApp02", "icoSito", "imgCopyright", "imgEsci", "panContainer"})
        EXPECT_NE(avvio->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    for (PictureBox* clickable :
         {avvio->imgInfo, avvio->imgGuida, avvio->icoSito, avvio->imgCopyright, avvio->imgEsci, avvio->imgApp[0]})
        EXPECT_EQ(clickable->cursor().shape(), Qt::PointingHandCursor) << clickable->objectName().toStdString();
    EXPECT_TRUE(avvio->icoNomeApp->hasPicture());
    EXPECT_TRUE(avvio->imgApp[3]->hasPicture());
}

TEST_F(StartMenuTest, TheGeneralHelpOpensFreshEachTime) {
    for (int round = 0; round < 2; ++round) {
        dialogs.expect(QStringLiteral("frmGuida"), [&](QDialog& d) {
            auto& help = static_cast<TfrmGuida&>(d);
            EXPECT_EQ(help.parentWidget(), avvio.get());
            EXPECT_EQ(help.windowTitle(), QStringLiteral(" Guida all'utilizzo del software"));
            EXPECT_EQ(help.lblTitolo->text(), QStringLiteral("Uno sguardo a Ombrisa"));
            EXPECT_EQ(help.helpText(), generalHelpParagraphs().join(QStringLiteral("\r\n\r\n")));
            EXPECT_EQ(help.txtGuida->toPlainText(), generalHelpParagraphs().join(QStringLiteral("\n\n")));
            EXPECT_TRUE(help.txtGuida->isReadOnly());
            help.lblTitolo->setText(QStringLiteral("cambiato")); // a fresh dialog shows the title again
            QTest::mouseClick(help.lnkWeb, Qt::LeftButton);
            QTest::mouseClick(help.btnChiudi, Qt::LeftButton);
        });
        QTest::mouseClick(avvio->imgGuida, Qt::LeftButton);
    }
    EXPECT_TRUE(avvio->findChildren<QDialog*>().isEmpty());
    ASSERT_EQ(opener.opened.size(), 2);
    // The guide is the program's own, beside the executable (the build places it there), not in the data.
    EXPECT_EQ(opener.opened[0],
              QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/Guida.pdf")));
}

TEST_F(StartMenuTest, InformationSplashAndWebSite) {
    dialogs.expect(QStringLiteral("frmInfo"), [&](QDialog& d) {
        auto& info = static_cast<TfrmInfo&>(d);
        EXPECT_EQ(info.windowTitle(), QStringLiteral(" Informazioni su Ombrisa"));
        // The data folder in use: the test's own folder.
        EXPECT_EQ(info.lblCartellaDati->toolTip(), QDir::toNativeSeparators(dir.path() + QLatin1Char('/')));
        EXPECT_TRUE(info.lblCartellaDati->text().startsWith(QStringLiteral("Cartella dei dati: ")));
        QTest::mousePress(info.imgEmail, Qt::LeftButton);
        EXPECT_EQ(info.lnkWeb->palette().color(QPalette::WindowText), QColor(0xFF, 0xA5, 0x00));
        QTest::mouseRelease(info.imgEmail, Qt::LeftButton);
        EXPECT_EQ(info.lnkWeb->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x8B));
        QTest::mouseClick(info.lnkWeb, Qt::LeftButton);
        QTest::mouseClick(info.btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(avvio->imgInfo, Qt::LeftButton);

    dialogs.expect(QStringLiteral("frmSplash"), [&](QDialog& d) {
        auto& splash = static_cast<TfrmSplash&>(d);
        EXPECT_TRUE(splash.windowTitle().startsWith(QStringLiteral(" Ombrisa - ")));
        QTest::mouseClick(splash.imgWeb, Qt::LeftButton);
        QTest::mouseClick(splash.btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(avvio->imgCopyright, Qt::LeftButton);
    QTest::mouseClick(avvio->icoSito, Qt::LeftButton);

    const QList<QUrl> expected{
        QUrl(QStringLiteral("mailto:info@example.com")), QUrl(QStringLiteral("mailto:info@example.com")),
        QUrl(QStringLiteral("https://www.example.com")), QUrl(QStringLiteral("https://www.example.com"))};
    EXPECT_EQ(opener.opened, expected);
}

// The version the screens show is the one ombrisa-tool prints (whose number the tool's own tests hold to
// the build's): a number written into a screen or its picture would differ from it.
class VersionShown : public UiTest {};

TEST_F(VersionShown, TheInformationAndSplashScreensShowTheVersionTheToolPrints) {
    const ombrisa::test::ToolTextRun tool = ombrisa::test::runToolText({QStringLiteral("--version")});
    ASSERT_EQ(tool.code, 0) << tool.err.toStdString();
    const QString prefix = QStringLiteral("ombrisa-tool ");
    ASSERT_TRUE(tool.out.startsWith(prefix) && tool.out.endsWith(QLatin1Char('\n'))) << tool.out.toStdString();
    const QString version = tool.out.mid(prefix.size()).trimmed();
    ASSERT_FALSE(version.isEmpty());

    TfrmInfo info;
    EXPECT_EQ(info.lblVersione->text(), QStringLiteral("Ombrisa ") + version);
    TfrmSplash splash;
    EXPECT_EQ(splash.lblVersione->text(),
              QStringLiteral("Versione %1 · Copyright © 2026 Ombrisa Software").arg(version));
}

TEST_F(StartMenuTest, ExitOrClosingTheStartMenuEndsTheProgram) {
    QSignalSpy end(avvio.get(), &TfrmAvvio::endRequested);
    QTest::mouseClick(avvio->imgEsci, Qt::LeftButton);
    EXPECT_EQ(end.count(), 1);
    avvio->show();
    avvio->close();
    EXPECT_EQ(end.count(), 2);
}

// ---- help texts ----

TEST(HelpTexts, TheGeneralHelpGathersEveryWorkAreasParagraphs) {
    const QStringList& all = generalHelpParagraphs();
    ASSERT_EQ(all.size(), 45);
    EXPECT_EQ(helpClienti().size(), 10);
    EXPECT_EQ(helpChiamate().size(), 9);
    EXPECT_EQ(helpDipendenti().size(), 11);
    EXPECT_EQ(helpRiepilogoOre().size(), 4);
    EXPECT_EQ(all.mid(3, 10), helpClienti());
    EXPECT_EQ(all.mid(13, 9), helpChiamate());
    EXPECT_TRUE(all[22].endsWith(QStringLiteral("ogni ulteriore annotazione.")));
    EXPECT_TRUE(all[23].startsWith(QStringLiteral("Ogni scheda può essere corredata della foto del collaboratore")));
    EXPECT_EQ(all[22] + QLatin1Char(' ') + all[23], helpDipendenti().first());
    EXPECT_EQ(all.mid(24, 10), helpDipendenti().mid(1));
    EXPECT_EQ(all.mid(34, 4), helpRiepilogoOre());
    EXPECT_TRUE(all[38].endsWith(QStringLiteral("il metodo più veloce per effettuare il backup di tutti gli archivi.")));
    EXPECT_EQ(all.mid(39, 3), helpCopiaSicurezza());
    EXPECT_TRUE(all[0].startsWith(QStringLiteral("Ombrisa è un software progettato")));
    EXPECT_TRUE(all[44].endsWith(QStringLiteral("tempi di apprendimento praticamente nulli.")));
    for (const QString& p : all) {
        EXPECT_FALSE(p.isEmpty());
        EXPECT_FALSE(p.contains(QLatin1Char('\r')) || p.contains(QLatin1Char('\n'))) << p.toStdString();
        EXPECT_EQ(p, p.trimmed()) << p.toStdString();
    }
}

TEST(HelpTexts, TheParagraphAfterTheBackupOnesNamesTheFirstAccessPassword) {
    const QString& p = generalHelpParagraphs()[42];
    EXPECT_TRUE(p.endsWith(QStringLiteral("bisogna utilizzare la parola chiave \"ombrisa\" (scritta senza le "
                                          "virgolette).")))
        << p.toStdString();
    EXPECT_EQ(normalizePassword(u"ombrisa"), kFirstAccessPassword);
}

TEST(HelpTexts, JoinedByTwoLineBreaksWithNoneAround) {
    const QString text = joinHelp(generalHelpParagraphs());
    EXPECT_FALSE(text.startsWith(QLatin1Char('\r')));
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
    EXPECT_EQ(text.count(QStringLiteral("\r\n\r\n")), 44);
    EXPECT_EQ(text.count(QLatin1Char('\n')), 88);
    EXPECT_EQ(text.split(QStringLiteral("\r\n\r\n")), generalHelpParagraphs());
    EXPECT_EQ(joinHelp({QStringLiteral("a")}), QStringLiteral("a"));
}
