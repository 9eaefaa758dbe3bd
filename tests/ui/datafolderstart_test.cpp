// The start-up question when the remembered data folder looks empty (a network share not mounted): retry,
// another folder, or a new archive only after a second confirmation; never a silent empty archive.
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "storage/faults.h"
#include "ui/app/datafolderstart.h"
#include "uisupport/fakes.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

class DataFolderQuestion : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        share = path(QStringLiteral("condivisa"));
        ASSERT_TRUE(QDir().mkpath(share)); // the empty mount point
        qputenv("OMBRISA_DATA", QFile::encodeName(share));
    }
    void TearDown() override {
        qunsetenv("OMBRISA_DATA");
        UiTest::TearDown();
    }
    bool open(const QString& other = QString()) {
        QSettings settings(path(QStringLiteral("impostazioni.ini")), QSettings::IniFormat);
        return openDataFolder(QString(), settings, [other] { return other; });
    }
    void answer(const char* button, const std::function<void()>& meanwhile = {}) {
        dialogs.expect(QStringLiteral("frmCartellaDati"), [button, meanwhile](QDialog& d) {
            if (meanwhile)
                meanwhile();
            d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
    }
    bool seeded() const { return QFile::exists(share + QStringLiteral("/unins000.dll")); }
    QString newArchivePrepared() const {
        return QStringLiteral("Nella cartella «%1» non c'erano dati del programma: è stato preparato un archivio "
                              "nuovo, con la password di primo accesso.")
            .arg(share);
    }
    QString share;
};

TEST_F(DataFolderQuestion, RetryOnceTheShareIsMountedUsesItsData) {
    answer("btnRiprova", [this] { QFile(share + QStringLiteral("/Contatti.pro")).open(QIODevice::WriteOnly); });
    EXPECT_TRUE(open());
    EXPECT_EQ(appFolder(), share + QLatin1Char('/'));
}

TEST_F(DataFolderQuestion, QuittingLeavesTheEmptyFolderUntouched) {
    answer("btnEsci");
    EXPECT_FALSE(open());
    EXPECT_TRUE(QDir(share).isEmpty());
}

TEST_F(DataFolderQuestion, ANewArchiveNeedsASecondYes) {
    answer("btnNuovo");
    messages.expect(MsgKind::Confirmation, newArchiveQuestion(share), MsgAnswer::No);
    answer("btnNuovo");
    messages.expect(MsgKind::Confirmation, newArchiveQuestion(share), MsgAnswer::Yes);
    messages.expect(MsgKind::Information, newArchivePrepared());
    EXPECT_TRUE(open());
    EXPECT_TRUE(seeded());
    EXPECT_EQ(appFolder(), share + QLatin1Char('/'));
}

TEST_F(DataFolderQuestion, AnotherFolderIsUsedAndRemembered) {
    const QString other = path(QStringLiteral("altra"));
    ASSERT_TRUE(QDir().mkpath(other));
    QFile(other + QStringLiteral("/Registro_Chiamate.pro")).open(QIODevice::WriteOnly);
    answer("btnScegli");
    EXPECT_TRUE(open(other));
    EXPECT_EQ(appFolder(), other + QLatin1Char('/'));
    EXPECT_FALSE(seeded());
    QSettings settings(path(QStringLiteral("impostazioni.ini")), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("CartellaDati")).toString(), other);
}

TEST_F(DataFolderQuestion, AFolderWhereSavesCannotCreateTheirJournalIsSaidOnceChosen) {
    QFile(share + QStringLiteral("/Contatti.pro")).open(QIODevice::WriteOnly);
    FaultScope scope; // the folder lets this user write the archives but not add files
    scope.faults.openWriteErrno = EACCES;
    messages.expect(MsgKind::Warning, TRecordFile::JournalRightsProblem(share));
    EXPECT_TRUE(open()) << "the folder is still used: reading works";
}

// The guide tells every workstation to start with --data on the shared folder: when the share is not
// mounted, its empty mount point (or a folder below it, which then does not exist) gets the question, and
// quitting leaves everything as it was: no folder, no password file, no remembered choice.
TEST_F(DataFolderQuestion, AnEmptyOrMissingFolderGivenWithDataGetsTheQuestion) {
    qunsetenv("OMBRISA_DATA");
    for (const QString& folder : {share, share + QStringLiteral("/Ombrisa")}) {
        SCOPED_TRACE(folder.toStdString());
        QString asked;
        dialogs.expect(QStringLiteral("frmCartellaDati"), [&asked](QDialog& d) {
            asked = d.findChild<QLabel*>(QStringLiteral("lblMessaggio"))->text();
            d.findChild<QPushButton*>(QStringLiteral("btnEsci"))->click();
        });
        QSettings settings(path(QStringLiteral("impostazioni.ini")), QSettings::IniFormat);
        EXPECT_FALSE(openDataFolder(folder, settings, [] { return QString(); }));
        EXPECT_TRUE(asked.contains(QStringLiteral("«%1»").arg(folder))) << asked.toStdString();
        EXPECT_TRUE(asked.contains(QStringLiteral("forse non è collegata"))) << asked.toStdString();
        EXPECT_TRUE(QDir(share).isEmpty());
        EXPECT_FALSE(settings.contains(QStringLiteral("CartellaDati")));
    }
}

// A new archive in a folder given with --data: after the second Sì, and said in a box with one button.
TEST_F(DataFolderQuestion, ANewArchiveInAFolderGivenWithDataIsSaidOnce) {
    qunsetenv("OMBRISA_DATA");
    answer("btnNuovo");
    messages.expect(MsgKind::Confirmation, newArchiveQuestion(share), MsgAnswer::Yes);
    messages.expect(MsgKind::Information, newArchivePrepared());
    QSettings settings(path(QStringLiteral("impostazioni.ini")), QSettings::IniFormat);
    EXPECT_TRUE(openDataFolder(share, settings, [] { return QString(); }));
    EXPECT_TRUE(seeded());
    EXPECT_EQ(settings.value(QStringLiteral("CartellaDati")).toString(), share);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(messages.shown.last().buttons, MsgButtons::Ok);
}

} // namespace
