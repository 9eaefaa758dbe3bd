// What the title bars of the program's windows offer, and that a window without a minimise button never
// stays minimised.

#include "report/preparedreport.h"
#include "ui/reports/reportpreview.h"
#include "ui/agents/Lavori_Svolti.h"
#include "ui/agents/StampaDipendenti.h"
#include "ui/agents/WebCam.h"
#include "ui/app/cambiapassword.h"
#include "ui/app/guida.h"
#include "ui/app/info.h"
#include "ui/app/password.h"
#include "ui/app/splash.h"
#include "ui/attachments/AllegaCartella.h"
#include "ui/clients/Clienti.h"
#include "ui/clients/Ricontatta.h"
#include "ui/common/windowguard.h"
#include "ui/export/ExpClienti.h"
#include "ui/privacy/privacy.h"
#include "ui/search/Trova.h"
#include "ui/validators/codfiscdialog.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

using namespace ombrisa;
using ombrisa::test::UiTest;

namespace {

class WindowFlags : public UiTest {};

struct Screen {
    const char* name;
    std::function<QWidget*(QWidget* owner)> make;
};

// The fixed windows of the program: a title bar and a border, no button the window manager could draw.
const Screen kFixedWindows[] = {
    {"frmPassword", [](QWidget*) -> QWidget* { return new TfrmPassword; }},
    {"frmCambiaPassword", [](QWidget*) -> QWidget* { return new TfrmCambiaPassword; }},
    {"frmGuida", [](QWidget* o) -> QWidget* { return new TfrmGuida(o); }},
    {"frmInfo", [](QWidget* o) -> QWidget* { return new TfrmInfo(o); }},
    {"frmSplash", [](QWidget* o) -> QWidget* { return new TfrmSplash(o); }},
    {"frmTrovaClienti", [](QWidget* o) -> QWidget* { return new TfrmTrovaClienti(o); }},
    {"frmTrovaDipendenti", [](QWidget* o) -> QWidget* { return new TfrmTrovaDipendenti(o); }},
    {"frmLavori_Svolti", [](QWidget* o) -> QWidget* { return new TfrmLavori_Svolti(o, nullptr, nullptr); }},
    {"frmExpClienti", [](QWidget* o) -> QWidget* { return new TfrmExpClienti(o); }},
    {"frmAllegaCartella", [](QWidget* o) -> QWidget* { return new TfrmAllegaCartella(o); }},
    {"frmWebCam", [](QWidget* o) -> QWidget* { return new TfrmWebCam(o); }},
    {"frmCodFisc", [](QWidget* o) -> QWidget* { return new TfrmCodFisc(o); }},
    {"frmStampaDipendenti", [](QWidget* o) -> QWidget* { return new TfrmStampaDipendenti(o); }},
};

constexpr Qt::WindowFlags kButtons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                     Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                     Qt::WindowContextHelpButtonHint;

} // namespace

TEST_F(WindowFlags, FixedWindowsAskForATitleBarWithoutButtons) {
    QWidget owner;
    for (const Screen& s : kFixedWindows) {
        std::unique_ptr<QWidget> window(s.make(&owner));
        const Qt::WindowFlags flags = window->windowFlags();
        // Without the customise hint Qt itself adds the buttons of the window's type.
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << s.name;
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint)) << s.name;
        EXPECT_EQ(flags & kButtons, Qt::WindowFlags()) << s.name;
        EXPECT_FALSE(mayStayMinimised(window.get())) << s.name;
    }
}

TEST_F(WindowFlags, NoDialogOffersToMinimise) {
    QWidget owner;
    TfrmClienti clienti;
    std::unique_ptr<QWidget> windows[] = {
        std::make_unique<TfrmRicontatta>(&clienti),
        std::make_unique<TfrmConservazione>(&owner),
        std::make_unique<ReportPreviewDialog>(report::PreparedReport{}, &owner),
    };
    for (const auto& dialog : windows) {
        EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) << qPrintable(dialog->objectName());
        EXPECT_FALSE(mayStayMinimised(dialog.get()));
    }
    // The preview grows with the page: it may be maximised, and closed from its title bar.
    const Qt::WindowFlags preview = windows[2]->windowFlags();
    EXPECT_TRUE(preview.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(preview.testFlag(Qt::WindowCloseButtonHint));
    // A work area is an ordinary window: the desktop's task bar brings it back.
    EXPECT_TRUE(mayStayMinimised(&clienti));
}

TEST_F(WindowFlags, AMinimisedDialogComesBackAndAWorkAreaStaysDown) {
    TfrmClienti clienti;
    clienti.show();
    auto* trova = new TfrmTrovaClienti(&clienti);
    trova->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(trova));
    // What a window manager's minimise button does.
    trova->setWindowState(trova->windowState() | Qt::WindowMinimized);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !trova->isMinimized(); }, 2000));
    EXPECT_TRUE(trova->isVisible());
    delete trova;

    clienti.setWindowState(clienti.windowState() | Qt::WindowMinimized);
    QTest::qWait(50);
    EXPECT_TRUE(clienti.isMinimized());
}
