#include "ui/common/conventions.h"

#include "ui/common/accessibility.h"
#include "ui/common/pictureloader.h"
#include "ui/common/wheelguard.h"
#include "ui/common/windowguard.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

namespace ombrisa {

void applyScreenFormats() {
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(italian);
}

bool loadItalianTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

void setupApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Ombrisa"));
    QApplication::setOrganizationName(QStringLiteral("Ombrisa"));
    applyScreenFormats();
    loadItalianTranslations(app);
    raisePictureAllocationLimit();
    installWheelGuard(app);
    installMinimiseGuard(app);
    installAccessibility(app);
}

void makeClickable(QWidget* widget) {
    widget->setCursor(Qt::PointingHandCursor);
}

} // namespace ombrisa
