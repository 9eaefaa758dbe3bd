#include "ui/common/application.h"

#include "ui/common/services.h"

#include <exception>

namespace ombrisa {

OmbrisaApplication::OmbrisaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OmbrisaApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        showError(nullptr, QString::fromUtf8(failure.what()));
    } catch (...) {
        showError(nullptr, QStringLiteral("Attenzione: si è verificato un errore imprevisto."));
    }
    return false;
}

} // namespace ombrisa
