// The user's side of a shared folder: the question after another workstation's save, the busy cursor
// while an archive is busy, the warning when locks are refused.
#include "uisupport/fakes.h"

#include "core/cards/cardnavigator.h"
#include "core/records/records.h"
#include "core/storage/filelock.h"
#include "core/storage/recordfile.h"
#include "core/storage/syscalls.h"
#include "ui/clients/Clienti.h"
#include "ui/common/storagehooks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace ombrisa::test {
namespace {

class SharedFolder : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        installStorageHooks();
        resetLocksRefusedWarning();
    }
    void TearDown() override {
        removeStorageHooks();
        resetLocksRefusedWarning();
        setStorageSyscalls(nullptr);
        UiTest::TearDown();
    }
};

void press(QWidget& screen, const char* button) {
    auto* b = screen.findChild<QAbstractButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}
QLineEdit* box(QWidget& screen, const char* name) {
    return screen.findChild<QLineEdit*>(QString::fromLatin1(name));
}

TEST_F(SharedFolder, TwoWorkstationsSavingOneCardAskTheLaterOneAndKeepItsAnswer) {
    TRecCliente card;
    std::memset(&card, 0, sizeof card);
    PutText(card.Cliente, u"Rossi Mario");
    PutText(card.Recapito, u"06 5551234");
    PutText(card.CodFisc, u"RSSMRA80A01H501U");
    PutText(card.Note, u"prima");
    write(QStringLiteral("Contatti.pro"), QByteArray(reinterpret_cast<const char*>(&card), sizeof card));

    for (const bool overwrite : {true, false}) {
        SCOPED_TRACE(overwrite ? "overwrite" : "reload");
        TfrmClienti a, b;
        for (TfrmClienti* s : {&a, &b}) {
            s->show();
            press(*s, "cmdPrimo");
            ASSERT_EQ(s->lblPosizione->text(), QStringLiteral("1"));
        }
        box(a, "txtNote")->setText(QStringLiteral("dalla postazione A"));
        messages.expect(MsgKind::Information, kUpdatedMessage);
        press(a, "cmdSalva");
        box(b, "txtNote")->setText(QStringLiteral("dalla postazione B"));
        messages.expect(MsgKind::Confirmation, kChangedElsewhereQuestion, overwrite ? MsgAnswer::Yes : MsgAnswer::No);
        if (overwrite)
            messages.expect(MsgKind::Information, kUpdatedMessage);
        press(b, "cmdSalva");
        messages.verifyAllShown();
        TRecCliente stored;
        const QByteArray now = bytes(QStringLiteral("Contatti.pro"));
        ASSERT_EQ(now.size(), static_cast<qsizetype>(sizeof stored));
        std::memcpy(&stored, now.constData(), sizeof stored);
        const QString expected =
            overwrite ? QStringLiteral("dalla postazione B") : QStringLiteral("dalla postazione A");
        EXPECT_EQ(GetText(stored.Note), expected);
        EXPECT_EQ(box(b, "txtNote")->text(), expected) << "the screen shows what the archive holds";
    }
}

// Records the cursor the application shows when the event loop next runs.
class CursorProbe : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        const QCursor* c = QGuiApplication::overrideCursor();
        shape = c ? c->shape() : Qt::ArrowCursor;
        seen = true;
        return true;
    }
    Qt::CursorShape shape = Qt::ArrowCursor;
    bool seen = false;
};

TEST_F(SharedFolder, WaitingForABusyArchiveShowsTheBusyCursorAndKeepsTheWindowAlive) {
    TRecordFile other; // another workstation saving
    ASSERT_TRUE(other.OpenOrCreate(path(QStringLiteral("a.pro")), 8));
    CursorProbe probe;
    QCoreApplication::postEvent(&probe, new QEvent(QEvent::User));
    TRecordFile::SetLockTimeoutMs(300);
    TRecordFile waiting;
    EXPECT_FALSE(waiting.OpenOrCreate(path(QStringLiteral("a.pro")), 8, TRecordFile::Access::Read));
    TRecordFile::SetLockTimeoutMs(15000);
    EXPECT_TRUE(probe.seen) << "events are handled while waiting";
    EXPECT_EQ(probe.shape, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the cursor is back once the wait is over";
}

int refuseLocks(int, int, struct flock*) {
    errno = ENOLCK;
    return -1;
}

TEST_F(SharedFolder, AFileSystemWithoutLocksIsWarnedAboutOncePerRun) {
    StorageSyscalls table = realStorageSyscalls();
    table.fcntlLock = refuseLocks;
    setStorageSyscalls(&table);
    messages.expect(MsgKind::Warning, kLocksRefusedWarning);
    for (int i = 0; i < 3; ++i) {
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(path(QStringLiteral("a.pro")), 8));
        EXPECT_TRUE(f.LocksRefused());
    }
    setStorageSyscalls(nullptr);
}

} // namespace
} // namespace ombrisa::test
