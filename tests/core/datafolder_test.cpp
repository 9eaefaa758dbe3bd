// The data folder: which folder the program uses, and what it finds there on the first start.
#include "core/storage/datafolder.h"

#include "core/password/passwordfile.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ombrisa;

namespace {

struct ChoiceCase {
    const char* what;
    bool programFolderUsable;
    const char* option;
    const char* environment;
    const char* saved;
    const char* folder;
    DataFolderSource source;
};

TEST(DataFolder, ChoiceFollowsOptionVariableProgramFolderSavedStandard) {
    const ChoiceCase cases[] = {
        {"writable program folder", true, "", "", "", "/prog", DataFolderSource::ProgramFolder},
        {"writable program folder beats a saved choice", true, "", "", "/saved", "/prog",
         DataFolderSource::ProgramFolder},
        {"read-only program folder, nothing else", false, "", "", "", "/std", DataFolderSource::Standard},
        {"read-only program folder, saved choice", false, "", "", "/saved", "/saved", DataFolderSource::Saved},
        {"option beats everything", true, "/opt", "/env", "/saved", "/opt", DataFolderSource::Option},
        {"option with a read-only program folder", false, "/opt", "", "", "/opt", DataFolderSource::Option},
        {"variable beats program folder and saved", true, "", "/env", "/saved", "/env", DataFolderSource::Environment},
        {"variable with a read-only program folder", false, "", "/env", "", "/env", DataFolderSource::Environment},
    };
    for (const auto& c : cases) {
        DataFolderInputs in;
        in.programFolder = QStringLiteral("/prog");
        in.programFolderUsable = c.programFolderUsable;
        in.option = QString::fromUtf8(c.option);
        in.environment = QString::fromUtf8(c.environment);
        in.saved = QString::fromUtf8(c.saved);
        in.standard = QStringLiteral("/std");
        const DataFolderChoice choice = chooseDataFolder(in);
        EXPECT_EQ(choice.folder, QString::fromUtf8(c.folder)) << c.what;
        EXPECT_EQ(choice.source, c.source) << c.what;
    }
}

class DataFolderStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        qunsetenv("OMBRISA_DATA");
    }
    void TearDown() override {
        setAppFolderOverride({});
        qunsetenv("OMBRISA_DATA");
    }
    QString at(const QString& name) const { return tmp.filePath(name); }

    QTemporaryDir tmp;
};

// A folder given with --data that does not exist yet is used only once the user said to start a new
// archive there (it may lie below a share that is not mounted): then the folder, its password file with
// the first-access password, and the archives all land there, not beside the program.
TEST_F(DataFolderStart, OptionFolderIsCreatedSeededSavedAndHoldsTheArchives) {
    QSettings settings(at(QStringLiteral("ombrisa.conf")), QSettings::IniFormat);
    const QString data = at(QStringLiteral("rete/ufficio"));
    DataFolderChoice chosen;
    QString message;
    ASSERT_EQ(startDataFolder(data, settings, &chosen, &message), DataFolderStatus::LooksEmpty);
    EXPECT_FALSE(QFileInfo::exists(data));
    EXPECT_FALSE(settings.contains(QLatin1String(kDataFolderSettingKey)));
    ASSERT_EQ(startDataFolder(data, settings, &chosen, &message, true), DataFolderStatus::NewArchive)
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("è stato preparato un archivio nuovo"))) << message.toStdString();
    EXPECT_EQ(chosen.source, DataFolderSource::Option);
    EXPECT_EQ(chosen.folder, data + QLatin1Char('/'));
    EXPECT_EQ(appFolder(), data + QLatin1Char('/'));
    EXPECT_EQ(readStoredPassword(data + QStringLiteral("/unins000.dll")), QStringLiteral("OMBRISA"));
    EXPECT_EQ(settings.value(QLatin1String(kDataFolderSettingKey)).toString(), data);

    TRecordFile file;
    ASSERT_TRUE(file.OpenOrCreate(appPath(kClientiFile), sizeof(TRecCliente), TRecordFile::Access::Write));
    TRecCliente rec{};
    ASSERT_TRUE(file.WriteRecord(&rec));
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(ensureAppSubfolder(kLavoriFolder));
    EXPECT_EQ(QFileInfo(data + QStringLiteral("/Contatti.pro")).size(), qint64(sizeof(TRecCliente)));
    EXPECT_TRUE(QFileInfo(data + QStringLiteral("/Archivio_Lavori")).isDir());
}

TEST_F(DataFolderStart, VariableIsUsedButNotSavedAndAChangedPasswordIsKept) {
    const QString data = at(QStringLiteral("condivisa"));
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_TRUE(writeStoredPassword(data + QStringLiteral("/unins000.dll"), u"SEGRETA"));
    qputenv("OMBRISA_DATA", data.toLocal8Bit());
    QSettings settings(at(QStringLiteral("ombrisa.conf")), QSettings::IniFormat);
    DataFolderChoice chosen;
    QString message;
    ASSERT_EQ(startDataFolder(QString(), settings, &chosen, &message), DataFolderStatus::Ready)
        << message.toStdString();
    EXPECT_EQ(chosen.source, DataFolderSource::Environment);
    EXPECT_EQ(appFolder(), data + QLatin1Char('/'));
    EXPECT_EQ(readStoredPassword(data + QStringLiteral("/unins000.dll")), QStringLiteral("SEGRETA"));
    EXPECT_FALSE(settings.contains(QLatin1String(kDataFolderSettingKey)));
}

TEST_F(DataFolderStart, FoldersThatCannotBeUsedGiveAMessage) {
    ASSERT_TRUE(QFile(at(QStringLiteral("file"))).open(QIODevice::WriteOnly));
    const QString readOnly = at(QStringLiteral("solalettura"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool isRoot = QFileInfo(readOnly).isWritable();

    struct Case {
        QString folder;
        DataFolderSource source;
        const char* expected;
    };
    std::vector<Case> cases{
        {at(QStringLiteral("file")), DataFolderSource::Option, "non è una cartella"},
        {at(QStringLiteral("file/sotto")), DataFolderSource::Standard, "impossibile creare la cartella dei dati"},
        // A saved network folder that is not mounted is never silently replaced by a fresh empty one.
        {at(QStringLiteral("smontata")), DataFolderSource::Saved, "non è raggiungibile"},
    };
    if (!isRoot)
        cases.push_back({readOnly, DataFolderSource::Standard, "impossibile scrivere nella cartella dei dati"});
    for (const auto& c : cases) {
        QString message;
        EXPECT_EQ(prepareDataFolder({c.folder, c.source}, &message), DataFolderStatus::Failed) << c.expected;
        EXPECT_TRUE(message.startsWith(QStringLiteral("Attenzione: "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.expected))) << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(c.folder))) << message.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("smontata"))));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Each source of the folder × a folder holding data, an empty one (a share not mounted shows as an empty
// mount point) and a missing one: a remembered folder without data is never seeded silently.
TEST_F(DataFolderStart, AnEmptyRememberedFolderIsNeverSeededSilently) {
    enum class State { HoldsData, Empty, Missing };
    struct Case {
        DataFolderSource source;
        State state;
        DataFolderStatus expected;
    };
    const Case cases[] = {
        {DataFolderSource::Option, State::HoldsData, DataFolderStatus::Ready},
        // --data on the empty mount point of a share, or on a folder below one, is asked about too.
        {DataFolderSource::Option, State::Empty, DataFolderStatus::LooksEmpty},
        {DataFolderSource::Option, State::Missing, DataFolderStatus::LooksEmpty},
        {DataFolderSource::Environment, State::HoldsData, DataFolderStatus::Ready},
        {DataFolderSource::Environment, State::Empty, DataFolderStatus::LooksEmpty},
        {DataFolderSource::Environment, State::Missing, DataFolderStatus::LooksEmpty},
        {DataFolderSource::Saved, State::HoldsData, DataFolderStatus::Ready},
        {DataFolderSource::Saved, State::Empty, DataFolderStatus::LooksEmpty},
        {DataFolderSource::Saved, State::Missing, DataFolderStatus::Failed},
        {DataFolderSource::Standard, State::HoldsData, DataFolderStatus::Ready},
        {DataFolderSource::Standard, State::Empty, DataFolderStatus::NewArchive},
        {DataFolderSource::Standard, State::Missing, DataFolderStatus::NewArchive},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << n);
        const QString folder = at(QStringLiteral("caso%1").arg(n++));
        if (c.state != State::Missing) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        if (c.state == State::HoldsData) {
            ASSERT_TRUE(QFile(folder + QStringLiteral("/Contatti.pro")).open(QIODevice::WriteOnly));
        }
        QString message;
        EXPECT_EQ(prepareDataFolder({folder, c.source}, &message), c.expected) << message.toStdString();
        const bool seeded = QFileInfo::exists(folder + QStringLiteral("/unins000.dll"));
        EXPECT_EQ(seeded, c.expected == DataFolderStatus::Ready || c.expected == DataFolderStatus::NewArchive);
        if (c.expected == DataFolderStatus::LooksEmpty) {
            EXPECT_TRUE(message.contains(QDir::toNativeSeparators(folder))) << message.toStdString();
            EXPECT_TRUE(message.contains(QStringLiteral("forse non è collegata"))) << message.toStdString();
            EXPECT_TRUE(message.contains(c.state == State::Missing ? QStringLiteral("non esiste")
                                                                   : QStringLiteral("non contiene nessun archivio")))
                << message.toStdString();
            EXPECT_EQ(QFileInfo::exists(folder), c.state != State::Missing) << "nothing created before the answer";
            // Only after the user's confirmation does it become a new archive.
            EXPECT_EQ(prepareDataFolder({folder, c.source}, &message, true), DataFolderStatus::NewArchive);
            EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/unins000.dll")));
            EXPECT_TRUE(message.contains(QStringLiteral("è stato preparato un archivio nuovo")))
                << message.toStdString();
        }
    }
}

// The guide belongs to the program: beside it in a build or a portable folder, else in the installation.
TEST_F(DataFolderStart, GuideBesideTheProgramElseInTheInstallation) {
    const QString bin = at(QStringLiteral("usr/bin"));
    const QString doc = at(QStringLiteral("usr/share/doc/ombrisa"));
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(userGuidePath(bin), bin + QStringLiteral("/Guida.pdf")) << "neither: beside the program";
    ASSERT_TRUE(QDir().mkpath(doc));
    ASSERT_TRUE(QFile(doc + QStringLiteral("/Guida.pdf")).open(QIODevice::WriteOnly));
    EXPECT_EQ(userGuidePath(bin), doc + QStringLiteral("/Guida.pdf"));
    ASSERT_TRUE(QFile(bin + QStringLiteral("/Guida.pdf")).open(QIODevice::WriteOnly));
    EXPECT_EQ(userGuidePath(bin), bin + QStringLiteral("/Guida.pdf"));

    EXPECT_FALSE(isInstalledProgramFolder(bin));
    ASSERT_TRUE(QDir().mkpath(at(QStringLiteral("usr/share/applications"))));
    ASSERT_TRUE(
        QFile(at(QStringLiteral("usr/share/applications/it.ombrisa.Ombrisa.desktop"))).open(QIODevice::WriteOnly));
    EXPECT_TRUE(isInstalledProgramFolder(bin));
}

} // namespace
