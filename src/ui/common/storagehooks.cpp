#include "ui/common/storagehooks.h"

#include "core/storage/filelock.h"
#include "ui/common/services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>

namespace ombrisa {
namespace {

class BusyCursorWait : public LockWaitHook {
public:
    void waitStarted() override { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    // Paints and timers only: a click or a key pressed while waiting must not start a second operation.
    void stillWaiting() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
    void waitEnded() override { QGuiApplication::restoreOverrideCursor(); }
};

BusyCursorWait busyCursor;

} // namespace

void installStorageHooks() {
    setLockWaitHook(&busyCursor);
    setLocksRefusedHandler([](const QString&) { showWarning(QApplication::activeWindow(), kLocksRefusedWarning); });
}

void removeStorageHooks() {
    setLockWaitHook(nullptr);
    setLocksRefusedHandler({});
}

} // namespace ombrisa
