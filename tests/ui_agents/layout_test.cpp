// The agent card laid out at the two screen sizes the program is used at, with a full card and a photo:
// every caption whole, no two controls overlapping, everything inside the window. With OMBRISA_SHOTS
// set, the card is also saved as a picture in that folder to be looked at.
#include "ui/agents/Dipendenti.h"
#include "ui/common/picturebox.h"
#include "uisupport/fakes.h"
#include "uisupport/layoutcheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace ombrisa;

namespace {

class AgentLayout : public test::UiTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(AgentLayout, EverythingFitsAndNothingOverlaps) {
    TfrmDipendenti screen;
    screen.setWindowState(Qt::WindowNoState);
    screen.resize(GetParam());
    screen.show();
    QCoreApplication::processEvents();
    const std::pair<const char*, const char*> texts[] = {
        {"txtDipendente", "Bianchi Maria Grazia"},
        {"txtCittadinanza", "Italiana"},
        {"txtLuogoNasc", "Reggio nell'Emilia"},
        {"txtIndirizzo", "Via Emilia San Pietro 21/B"},
        {"txtCodFisc", "BNCMGR75B54H223K"},
        {"txtPartitaIva", "01234567897"},
        {"txtLingue", "Inglese, tedesco, francese"},
        {"txtEmail", "maria.bianchi@example.it"},
        {"txtMansioni", "Assistenza ai clienti della zona nord, sopralluoghi e preventivi"},
        {"txtIban", "IT60X0542811101000000123456"},
    };
    for (const auto& [name, text] : texts) {
        auto* box = qobject_cast<QLineEdit*>(screen.field(QString::fromLatin1(name)));
        ASSERT_NE(box, nullptr) << name;
        box->setText(QString::fromUtf8(text));
    }
    QPixmap photo(480, 640);
    photo.fill(Qt::darkCyan);
    screen.importPhoto(photo);
    screen.lblPosizione->setText(QStringLiteral("12345"));
    QCoreApplication::processEvents();

    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        screen.grab().save(QDir(shots).filePath(
            QStringLiteral("dipendenti_%1x%2.png").arg(GetParam().width()).arg(GetParam().height())));
    }

    const QList<QWidget*> visible =
        test::layoutControls(&screen, {"txt", "cmd", "btn", "img"}, {"lblPosizione", "panInfo"});
    ASSERT_GT(visible.size(), 50);
    test::expectFitsWithoutOverlap(&screen, visible);
}

INSTANTIATE_TEST_SUITE_P(Screens, AgentLayout, ::testing::Values(QSize(1366, 700), QSize(1920, 1017)),
                         ombrisa::test::windowSizeName);

} // namespace
