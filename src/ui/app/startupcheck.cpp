#include "ui/app/startupcheck.h"

#include "core/storage/appfolder.h"

#include <QApplication>
#include <QEvent>
#include <QTextStream>
#include <QWidget>

namespace ombrisa {
namespace {

class FirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTextStream(stdout) << watched->objectName() << ' ' << appFolder() << Qt::endl;
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace

void quitWhenFirstPainted(QWidget* window) {
    window->installEventFilter(new FirstPaint(window));
}

} // namespace ombrisa
