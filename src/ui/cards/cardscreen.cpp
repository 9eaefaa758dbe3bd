#include "ui/cards/cardscreen.h"

#include "core/storage/textfield.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardparts.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/accessibility.h"
#include "ui/common/hintline.h"
#include "ui/common/openurl.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/validators/cartadialog.h"
#include "ui/validators/codfiscdialog.h"
#include "ui/validators/ibandialog.h"
#include "ui/validators/partitaivadialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

CardScreen::CardScreen(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_StyledBackground);
}

CardScreen::~CardScreen() = default;

void CardScreen::setupCard(const QString& name, const QString& title, const QString& styleSheet) {
    setObjectName(name);
    setWindowTitle(title);
    setStyleSheet(styleSheet);
}

HintBand CardScreen::makeBand(const QString& designHint) {
    const HintBand band = makeHintBand(this, designHint);
    panInfo = band.panInfo;
    hintLine_ = new HintLine(panInfo);
    return band;
}

NavigatorBar* CardScreen::makeNavigator(QWidget* parent, const NavigatorHints& navigatorHints) {
    navigatorBar_ = new NavigatorBar(parent, *hintLine_, navigatorHints);
    cmdPrimo = navigatorBar_->cmdPrimo;
    cmdIndietro = navigatorBar_->cmdIndietro;
    cmdAvanti = navigatorBar_->cmdAvanti;
    cmdUltimo = navigatorBar_->cmdUltimo;
    lblPosizione = navigatorBar_->lblPosizione;
    return navigatorBar_;
}

CardScreen::SideColumnFrame CardScreen::makeSideColumnFrame(const QString& designHint,
                                                            const NavigatorHints& navigatorHints,
                                                            const std::function<QWidget*()>& middle) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(8);
    auto* body = new QHBoxLayout;
    body->setSpacing(10);
    root->addLayout(body, 1);

    // Bottom band first: the hint line must exist before the controls register their hints.
    const HintBand hintBand = makeBand(designHint);
    hintBand.row->addWidget(makeNavigator(hintBand.band, navigatorHints));
    root->addWidget(hintBand.band);

    auto* sections = new QWidget(this);
    sections->setObjectName(QStringLiteral("panSezioni"));
    body->addWidget(sections, 1);
    if (middle)
        body->addWidget(middle());
    auto* column = new QFrame(this);
    column->setObjectName(QStringLiteral("panComandi"));
    body->addWidget(column);
    return {sections, column, hintBand.band};
}

QWidget* CardScreen::field(const QString& name) const {
    for (QWidget* w : fields_)
        if (w && w->objectName() == name)
            return w;
    return nullptr;
}

QList<QLabel*> CardScreen::buildFields(const CardLayout& layout) {
    table_ = layout.fields;
    const BuiltFields built = buildCardFields(this, hintLine_, layout);
    fields_ = built.controls;
    fieldTabStops = built.tabStops;
    const std::pair<const char*, QToolButton**> members[] = {{"btnEmail", &btnEmail},
                                                             {"btnCodFisc", &btnCodFisc},
                                                             {"btnCarta", &btnCarta},
                                                             {"btnPartitaIva", &btnPartitaIva},
                                                             {"btnIban", &btnIban}};
    for (QToolButton* b : built.checkButtons)
        for (const auto& [buttonName, member] : members)
            if (b->objectName() == QLatin1String(buttonName))
                *member = b;
    return built.captions;
}

void CardScreen::addAttachmentLabels() {
    QLabel** members[] = {&lblFile01, &lblFile02, &lblFile03, &lblDesc01, &lblDesc02, &lblDesc03};
    for (std::size_t i = 0; i < kCardAttachmentLabels.size(); ++i) {
        const auto& [name, designText] = kCardAttachmentLabels[i];
        auto* l = new QLabel(QString::fromLatin1(designText), this);
        l->setObjectName(QString::fromLatin1(name));
        l->hide();
        *members[i] = l;
        attachments_.append(l);
    }
}

void CardScreen::finishCard(std::unique_ptr<CardBinding> binding, CardRules rules) {
    binding_ = std::move(binding);
    for (std::size_t i = 0; i < table_.size(); ++i)
        binding_->bindText(fields_[static_cast<qsizetype>(i)], table_[i].field);
    for (qsizetype i = 0; i < attachments_.size(); ++i) {
        binding_->bindText(attachments_[i], kCardAttachmentLabels[static_cast<std::size_t>(i)].second);
        binding_->emptyOnDuplicate(attachments_[i]);
    }
    navigator_ = std::make_unique<CardNavigator>(std::move(rules), *binding_);
    navigatorBar_->connectTo(*navigator_);

    connect(cmdNuovo, &QToolButton::clicked, this, [this] { navigator_->newCard(); });
    connect(cmdSalva, &QToolButton::clicked, this, [this] { saveCard(); });
    connect(cmdDuplica, &QToolButton::clicked, this, [this] { navigator_->duplicate(); });
    connect(cmdGuida, &QToolButton::clicked, this, [this] { showHelp(); });
    connect(cmdEsci, &QToolButton::clicked, this, &QWidget::close);
    for (QToolButton* b : {btnEmail, btnCodFisc, btnCarta, btnPartitaIva, btnIban})
        if (b)
            connect(b, &QToolButton::clicked, this, [this, b] { openCheck(b); });

    // The command keys every card has; each shows in its button's hint and in the guide.
    const std::pair<QToolButton*, QKeySequence> keys[] = {
        {cmdSalva, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {cmdNuovo, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {cmdDuplica, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {cmdTrova, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {cmdAnteprima, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {cmdStampa, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {cmdGuida, QKeySequence(Qt::Key_F1)},
        {cmdEsci, QKeySequence(Qt::Key_Escape)},
        {cmdPrimo, QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {cmdIndietro, QKeySequence(Qt::Key_PageUp)},
        {cmdAvanti, QKeySequence(Qt::Key_PageDown)},
        {cmdUltimo, QKeySequence(Qt::CTRL | Qt::Key_End)},
    };
    for (const auto& [button, key] : keys)
        if (button)
            addCommandKey(button, key);
    maximiseWindow(this); // the work area fills the screen
}

void CardScreen::orderTabs(const QList<QWidget*>& before, QWidget* sections, const QList<QWidget*>& after) {
    QList<QWidget*> order;
    for (QWidget* area : before)
        order += tabStopsIn(area);
    order += fieldTabStops;
    for (QWidget* w : tabStopsIn(sections))
        if (!order.contains(w))
            order.append(w);
    for (QWidget* area : after)
        order += tabStopsIn(area);
    chainTabs(order);
}

bool CardScreen::hasUnsavedChanges() const {
    return binding_ && binding_->differsFromShown();
}

void CardScreen::closeEvent(QCloseEvent* event) {
    if (!hasUnsavedChanges()) {
        QWidget::closeEvent(event);
        return;
    }
    switch (askYesNoCancel(this, kSaveChangesQuestion)) {
    case MsgAnswer::Yes: {
        const int saves = binding_->saves();
        saveCard();
        // A refused save (a missing box, a card kept by its own check) leaves the card to be put right.
        if (binding_->saves() == saves) {
            event->ignore();
            return;
        }
        break;
    }
    case MsgAnswer::No:
        break; // the next showing starts from a new card
    default:
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CardScreen::saveCard() {
    navigator_->save();
}

// The pictures beside the boxes: the e-mail program, or a check of the box's text, trimmed. The checks
// write nothing back into the card.
void CardScreen::openCheck(QToolButton* button) {
    const QString text = trimText(controlTextOf(field(QStringLiteral("txt") + button->objectName().mid(3))));
    if (button == btnEmail)
        TMisc::Open(QStringLiteral("\"mailto:") + text + QLatin1Char('"'), this);
    else if (button == btnCodFisc)
        openCodFiscCheck(this, text);
    else if (button == btnCarta)
        TfrmCarta::open(this, text);
    else if (button == btnPartitaIva)
        TfrmPartitaIva::open(this, text);
    else if (button == btnIban)
        TfrmIban::open(this, text);
}

void CardScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown from the start menu: always a new card. A window coming back from the task bar keeps its card.
    if (!event->spontaneous())
        navigator_->newCard();
}

} // namespace ombrisa
