// The workstations using the data folder, as the screens show them: the information screen's list, and
// the restore refused while another workstation is present.
#include "uisupport/fakes.h"
#include "uisupport/layoutcheck.h"

#include "core/storage/presence.h"
#include "testsupport/workstations.h"
#include "ui/app/info.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QSysInfo>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace ombrisa::test {
namespace {

class PresenceScreens : public UiTest {};

QString cell(const TfrmInfo& info, int row, int column) {
    const QTableWidgetItem* item = info.lstPostazioni->item(row, column);
    return item ? item->text() : QString();
}

TEST_F(PresenceScreens, TheInformationScreenListsTheWorkstationsThisOneFirstAndMarked) {
    // Another workstation started first; this program registered after it.
    OtherWorkstation other(dir.path());
    ASSERT_TRUE(other.Register()) << other.ErrorString().toStdString();
    Presence here(dir.path());
    ASSERT_TRUE(here.Register()) << here.ErrorString().toStdString();

    TfrmInfo info;
    info.show();
    ASSERT_EQ(info.lstPostazioni->rowCount(), 2);
    EXPECT_EQ(cell(info, 0, 0), QSysInfo::machineHostName());
    EXPECT_EQ(cell(info, 0, 4), QStringLiteral("questa postazione"));
    EXPECT_TRUE(info.lstPostazioni->item(0, 0)->font().bold());
    EXPECT_EQ(cell(info, 1, 0), QStringLiteral("UFFICIO-2"));
    EXPECT_EQ(cell(info, 1, 1), QStringLiteral("marco"));
    EXPECT_FALSE(info.lstPostazioni->item(1, 0)->font().bold());
    EXPECT_EQ(cell(info, 1, 4), QString()) << "its lock is seen from here";
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime since = QDateTime::fromString(cell(info, 1, 2), QStringLiteral("dd/MM/yyyy hh:mm"));
    ASSERT_TRUE(since.isValid()) << cell(info, 1, 2).toStdString();
    EXPECT_LE(std::abs(since.secsTo(now)), 120);
    const QTime beat = QTime::fromString(cell(info, 1, 3), QStringLiteral("hh:mm:ss"));
    ASSERT_TRUE(beat.isValid()) << cell(info, 1, 3).toStdString();

    // Every column readable whole, and the list with the rest of the screen inside the window.
    for (int column = 0; column < info.lstPostazioni->columnCount(); ++column)
        for (int row = 0; row < 2; ++row) {
            const QFontMetrics metrics(info.lstPostazioni->item(row, column)->font());
            EXPECT_LE(metrics.horizontalAdvance(cell(info, row, column)),
                      info.lstPostazioni->horizontalHeader()->sectionSize(column))
                << row << ',' << column;
        }
    expectFitsWithoutOverlap(&info, layoutControls(&info, {QStringLiteral("lbl"), QStringLiteral("lst"),
                                                           QStringLiteral("img"), QStringLiteral("btn")}));
}

TEST_F(PresenceScreens, AWorkstationWhoseLocksDoNotReachHereAndAnEmptyFolderAreSaid) {
    TfrmInfo info;
    ASSERT_EQ(info.lstPostazioni->rowCount(), 1);
    EXPECT_EQ(cell(info, 0, 0), QStringLiteral("Nessuna postazione registrata"));

    Workstation unseen = posingAs(QStringLiteral("UFFICIO-3"), QStringLiteral("lucia"), 77);
    unseen.started = unseen.lastBeat = QDateTime::currentDateTimeUtc();
    unseen.lockSeen = false;
    info.showWorkstations({unseen});
    ASSERT_EQ(info.lstPostazioni->rowCount(), 1);
    EXPECT_EQ(info.lstPostazioni->columnSpan(0, 0), 1) << "the empty list's span is gone";
    EXPECT_EQ(cell(info, 0, 0), QStringLiteral("UFFICIO-3"));
    EXPECT_EQ(cell(info, 0, 4), QStringLiteral("blocchi non visibili da qui"));
}

} // namespace
} // namespace ombrisa::test
