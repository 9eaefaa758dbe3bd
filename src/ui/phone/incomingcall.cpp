#include "ui/phone/incomingcall.h"

#include "core/cards/callcard.h"
#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/search/searchrules.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "ui/app/avvio.h"
#include "ui/calls/Chiamate.h"
#include "ui/cards/cardbinding.h"
#include "ui/clients/Clienti.h"
#include "ui/common/services.h"
#include "ui/common/workareas.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace ombrisa {

namespace {

constexpr int kWorkAreaClienti = 1;
constexpr int kWorkAreaChiamate = 2;
const QString kCreateClientAction = QStringLiteral("actCreaCliente");

void bringToFront(QWidget* w) {
    if (!w)
        return;
    if (w->isMinimized())
        w->showNormal();
    w->raise();
    w->activateWindow();
}

QLineEdit* box(QWidget& screen, const char* name) {
    return screen.findChild<QLineEdit*>(QString::fromLatin1(name));
}

void fillFromClient(TfrmChiamate& calls, const TRecCliente& rec) {
    for (const auto& [fieldName, control] : kClientToCall) {
        const int index = fieldIndex(kClienteFields, QString::fromLatin1(fieldName));
        if (auto* w = calls.findChild<QWidget*>(QString::fromLatin1(control)); w && index >= 0)
            setControlText(w, GetText(&rec, kClienteFields[static_cast<std::size_t>(index)]));
    }
}

} // namespace

IncomingCalls::IncomingCalls(QObject* parent) : QObject(parent) {}

void IncomingCalls::signedIn(TfrmAvvio* startMenu) {
    startMenu_ = startMenu;
    if (waiting_.isEmpty())
        return;
    // After the start menu has shown itself.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QString number = std::exchange(waiting_, QString());
            if (!number.isEmpty())
                show(number);
        },
        Qt::QueuedConnection);
}

void IncomingCalls::receive(const QString& number) {
    if (!startMenu_) {
        waiting_ = number;
        bringToFront(signInWindow_);
        return;
    }
    show(number);
}

QAction* IncomingCalls::createClientAction(TfrmChiamate& calls) {
    if (auto* existing = calls.findChild<QAction*>(kCreateClientAction))
        return existing;
    QLineEdit* name = calls.txtCliente;
    auto* action = new QAction(QIcon(QStringLiteral(":/phone/art/nuovocliente.svg")),
                               QStringLiteral("Crea la scheda del cliente con questo numero"), name);
    action->setObjectName(kCreateClientAction);
    action->setToolTip(action->text());
    QObject::connect(action, &QAction::triggered, &calls, [&calls, action] {
        auto* clients = qobject_cast<TfrmClienti*>(workArea(kWorkAreaClienti));
        if (!clients)
            return;
        const QString typedName = calls.txtCliente->text().trimmed();
        const QString number = box(calls, "txtRecapito") ? box(calls, "txtRecapito")->text() : QString();
        if (clients->isVisible())
            clients->navigator().newCard();
        else
            clients->show(); // showing the screen starts a new card
        if (QLineEdit* n = box(*clients, "txtCliente"))
            n->setText(typedName);
        if (QLineEdit* r = box(*clients, "txtRecapito"))
            r->setText(number);
        offerCreateClient(calls, false);
        bringToFront(clients);
    });
    // Once the card names a client, or shows another call, the action goes away.
    QObject::connect(calls.txtCodFisc, &QLineEdit::textChanged, action, [&calls] { offerCreateClient(calls, false); });
    return action;
}

void IncomingCalls::offerCreateClient(TfrmChiamate& calls, bool offer) {
    // The action is in the name box only while offered (a hidden action would still leave its place).
    QAction* action = createClientAction(calls);
    const bool present = calls.txtCliente->actions().contains(action);
    if (offer && !present)
        calls.txtCliente->addAction(action, QLineEdit::TrailingPosition);
    else if (!offer && present)
        calls.txtCliente->removeAction(action);
}

void IncomingCalls::show(const QString& number) {
    auto* calls = qobject_cast<TfrmChiamate*>(workArea(kWorkAreaChiamate));
    if (!calls)
        return;
    if (calls->isVisible()) {
        // A call being written and not yet saved is not thrown away without asking.
        const bool writing = calls->lblPosizione->text().isEmpty() && !calls->txtOggetto->text().trimmed().isEmpty();
        bringToFront(calls);
        if (writing && !confirmDestructive(calls, kUnsavedCallQuestion.arg(number)))
            return;
        calls->navigator().newCard();
    } else if (startMenu_)
        startMenu_->openWorkArea(kWorkAreaChiamate); // showing the screen starts a new card
    else
        calls->show();
    bringToFront(calls);
    offerCreateClient(*calls, false);
    if (calls->txtTipo)
        calls->txtTipo->setCurrentText(kTipoEntrata);

    const std::optional<GivenNumber> given = phoneFromArgument(number);
    std::vector<PhoneMatch> matches;
    if (given) {
        // One index for the run, made again when the data folder is another one.
        const QString path = appPath(kClientiFile);
        if (!index_ || index_->path() != path)
            index_.emplace(path);
        QString error;
        if (!index_->find(given->comparable, &matches, &error)) {
            showError(calls, kArchiveMessage);
            matches.clear();
        }
    }
    std::int64_t card = matches.size() == 1 ? matches.front().card : 0;
    if (matches.size() > 1) {
        QStringList codes;
        std::vector<TRecCliente> records(matches.size());
        for (std::size_t i = 0; i < matches.size(); ++i) {
            readCard(appPath(kClientiFile), sizeof(TRecCliente), matches[i].card, &records[i]);
            codes << GetText(records[i].CodFisc);
        }
        std::vector<QDate> last;
        if (!lastCallDates(appPath(kChiamateFile), codes, &last))
            last.assign(matches.size(), QDate());
        std::vector<TfrmChiChiama::Row> rows;
        for (std::size_t i = 0; i < matches.size(); ++i)
            rows.push_back({matches[i].card, matches[i].name,
                            QString::fromUtf8(kClientPhoneFields[static_cast<std::size_t>(matches[i].field)].caption),
                            last[i].isValid() ? formatDate(last[i]) : QStringLiteral("nessuna")});
        auto* chooser = new TfrmChiChiama(number, rows, calls);
        std::int64_t chosen = 0;
        QObject::connect(chooser, &QDialog::accepted, calls, [&chosen, chooser] { chosen = chooser->chosenCard(); });
        execDialog(chooser);
        card = chosen;
        // The chooser had the keyboard: without a window manager nobody gives it back, and the subject
        // box would take the typing without its focus frame and cursor.
        bringToFront(calls);
    }
    TRecCliente rec;
    if (card > 0 && readCard(appPath(kClientiFile), sizeof rec, card, &rec)) {
        fillFromClient(*calls, rec);
    } else if (QLineEdit* recapito = box(*calls, "txtRecapito")) {
        recapito->setText(number);
        offerCreateClient(*calls, matches.empty());
    }
    calls->txtOggetto->setFocus();
}

TfrmChiChiama::TfrmChiChiama(const QString& number, const std::vector<Row>& rows, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChiChiama"));
    setWindowTitle(QStringLiteral("Chi sta chiamando?"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Il numero %1 è in %2 schede clienti. Scegliere chi sta chiamando:")
                                 .arg(number)
                                 .arg(rows.size()),
                             this);
    intro->setObjectName(QStringLiteral("lblNumero"));
    intro->setTextFormat(Qt::PlainText);
    layout->addWidget(intro);
    lstClienti = new QTreeWidget(this);
    lstClienti->setObjectName(QStringLiteral("lstClienti"));
    lstClienti->setRootIsDecorated(false);
    lstClienti->setHeaderLabels({QStringLiteral("Cliente"), QStringLiteral("Scheda n."), QStringLiteral("Numero in"),
                                 QStringLiteral("Ultima chiamata")});
    for (const Row& r : rows) {
        auto* item = new QTreeWidgetItem(lstClienti, {r.name, QString::number(r.card), r.field, r.lastCall});
        item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(r.card));
    }
    lstClienti->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstClienti->setCurrentItem(lstClienti->topLevelItem(0));
    layout->addWidget(lstClienti);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdAnnulla);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstClienti, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(640, 300);
}

std::int64_t TfrmChiChiama::chosenCard() const {
    const QTreeWidgetItem* item = lstClienti->currentItem();
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

} // namespace ombrisa
