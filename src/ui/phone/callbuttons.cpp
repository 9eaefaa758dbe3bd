#include "ui/phone/callbuttons.h"

#include "core/phone/phonenumber.h"
#include "ui/common/services.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>

namespace ombrisa {

namespace {

const QString kCallActionName = QStringLiteral("actChiama");
const QString kCallText = QStringLiteral("Chiama questo numero");

} // namespace

void callNumber(QWidget* parent, const QString& text) {
    const std::optional<QString> dial = dialString(text);
    if (!dial) {
        showWarning(parent, kNoNumberWarning);
        return;
    }
    if (urlOpener().open(QUrl(QStringLiteral("tel:") + *dial)))
        return;
    if (confirm(parent, kNoTelephoneProgramQuestion.arg(text.trimmed())))
        QGuiApplication::clipboard()->setText(text.trimmed());
}

QMenu* callContextMenu(QLineEdit* box) {
    QMenu* menu = box->createStandardContextMenu();
    menu->addSeparator();
    QAction* call = menu->addAction(QIcon(QStringLiteral(":/phone/art/telefono.svg")), kCallText);
    call->setObjectName(kCallActionName);
    call->setEnabled(dialString(box->text()).has_value());
    QObject::connect(call, &QAction::triggered, box, [box] { callNumber(box->window(), box->text()); });
    return menu;
}

void addCallActions(QWidget& screen, std::initializer_list<const char*> boxes) {
    for (const char* name : boxes) {
        auto* box = screen.findChild<QLineEdit*>(QString::fromLatin1(name));
        if (!box)
            continue;
        auto* action = new QAction(QIcon(QStringLiteral(":/phone/art/telefono.svg")), kCallText, box);
        action->setObjectName(kCallActionName);
        action->setToolTip(kCallText);
        box->addAction(action, QLineEdit::TrailingPosition);
        QObject::connect(action, &QAction::triggered, box, [box] { callNumber(box->window(), box->text()); });
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(box, &QWidget::customContextMenuRequested, box, [box](const QPoint& at) {
            QMenu* menu = callContextMenu(box);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(box->mapToGlobal(at));
        });
    }
}

} // namespace ombrisa
