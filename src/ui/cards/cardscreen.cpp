#include "ui/cards/cardscreen.h"

#include "core/italy/provinces.h"
#include "core/storage/textfield.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardparts.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/focuslook.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/listonlybox.h"
#include "ui/common/openurl.h"
#include "ui/common/screen.h"
#include "ui/validators/cartadialog.h"
#include "ui/validators/codfiscdialog.h"
#include "ui/validators/ibandialog.h"
#include "ui/validators/partitaivadialog.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {
namespace {

TypingFilter typingFilterOf(CardFilter f) {
    switch (f) {
    case CardFilter::TrimUpper:
        return TypingFilter::TrimUpper;
    case CardFilter::Upper:
    case CardFilter::UpperOnKeyRelease:
        return TypingFilter::Upper;
    default:
        return TypingFilter::Trim;
    }
}

// The focus rules of the boxes that have them (list-only boxes have theirs from makeListOnly): province
// boxes lose their list selection when entered; boxes filtered on leaving are filtered once more when left.
class CardBoxWatcher final : public QObject {
public:
    struct Box {
        QWidget* box;
        QComboBox* combo;
        CardField field;
    };
    using QObject::QObject;

    void watch(const Box& box) {
        boxes_.append(box);
        if (box.combo) {
            box.combo->installEventFilter(this);
            box.combo->lineEdit()->installEventFilter(this);
        } else {
            box.box->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut)
            return false;
        for (const Box& b : boxes_) {
            if (watched != b.box && (!b.combo || watched != b.combo->lineEdit()))
                continue;
            if (type == QEvent::FocusIn && b.combo)
                dropSelection(b.combo);
            else if (type == QEvent::FocusOut && b.field.has(kFilterOnLeave)) {
                const QString text = controlTextOf(b.box);
                const QString filtered = applyTypingFilter(typingFilterOf(b.field.filter), text);
                if (filtered != text)
                    setControlText(b.box, filtered);
            }
            return false;
        }
        return false;
    }

private:
    QList<Box> boxes_;
};

} // namespace

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

BuiltFields buildCardFields(QWidget* owner, HintLine* hints, const CardLayout& layout) {
    Q_ASSERT(layout.fields.size() == layout.placements.size());
    auto* watcher = new CardBoxWatcher(owner);
    BuiltFields built;
    QList<QWidget*> ring;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const CardField& f = layout.fields[i];
        const CardPlacement& p = layout.placements[i];
        const QString name = QString::fromLatin1(f.control);

        if (f.kind == CardFieldKind::Hidden) {
            auto* label = new QLabel(owner);
            label->setObjectName(name);
            label->hide();
            built.controls.append(label);
            built.captions.append(nullptr);
            continue;
        }

        const CardArea& area = layout.areas[p.area];
        QWidget* box = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        if (f.kind == CardFieldKind::ListOnly || f.kind == CardFieldKind::Province) {
            combo = new QComboBox(area.parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr); // what the user types stays as typed
            QStringList items;
            if (f.kind == CardFieldKind::Province) {
                for (const char* code : kProvinceCodes)
                    items.append(QString::fromLatin1(code));
            } else if (layout.listItems) {
                items = layout.listItems(name);
            }
            combo->addItems(items);
            combo->setCurrentIndex(-1);
            combo->setMaxVisibleItems(16);
            edit = combo->lineEdit();
            if (f.kind == CardFieldKind::ListOnly) {
                if (layout.listAccepts)
                    makeListOnly(combo,
                                 [accepts = layout.listAccepts, f](const QString& text) { return accepts(f, text); });
                else
                    makeListOnly(combo);
            } else {
                watcher->watch({combo, combo, f});
            }
            box = combo;
        } else {
            edit = new QLineEdit(area.parent);
            box = edit;
            // A box left by the user shows the beginning of its text, as a loaded card does: not only the
            // last letters typed ("inuti (copia)"), which read as another value.
            QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
                if (!edit->hasFocus())
                    edit->home(false);
            });
        }
        box->setObjectName(name);
        box->setFont(cardBoxFont());
        edit->setFont(cardBoxFont());
        box->setMinimumHeight(layout.look.boxHeight);
        if (layout.look.boxMinWidth > 0)
            box->setMinimumWidth(layout.look.boxMinWidth);
        if (!f.has(kNoLengthLimit)) {
            const int index = fieldIndex(layout.record, QString::fromLatin1(f.field));
            Q_ASSERT(index >= 0);
            edit->setMaxLength(static_cast<int>(layout.record[static_cast<std::size_t>(index)].capacity));
        }
        if (f.has(kCentred))
            edit->setAlignment(Qt::AlignCenter);

        switch (f.filter) {
        case CardFilter::None:
            break;
        case CardFilter::Digits:
            installDigitOnlyFilter(box);
            break;
        case CardFilter::UpperOnKeyRelease:
            installTypingFilterOnKeyRelease(edit, TypingFilter::Upper);
            break;
        default:
            installTypingFilter(edit, typingFilterOf(f.filter));
            if (f.has(kFilterOnLeave) && !combo)
                watcher->watch({edit, nullptr, f});
            break;
        }
        if (layout.look.fieldLook)
            applyFieldLook(box);

        QLabel* caption = makeCaption(area.parent, QStringLiteral("lbl") + name.mid(3) + layout.look.captionSuffix,
                                      QString::fromUtf8(f.caption), box);
        if (area.compact) {
            area.grid->addWidget(caption, p.row * 2, p.column, Qt::AlignLeft | Qt::AlignBottom);
            area.grid->addWidget(box, p.row * 2 + 1, p.column);
        } else {
            QHBoxLayout* cell = placeUnderCaption(area.grid, caption, box, p.row * 2, p.column, p.span);
            if (hints)
                if (QToolButton* b = addCheckButton(cell, area.parent, *hints, name))
                    built.checkButtons.append(b);
            if (layout.besideBox)
                layout.besideBox(cell, area.parent, name);
        }
        if (!layout.look.fieldLook)
            addFocusRect(box)->setObjectName(QStringLiteral("eff") + name.mid(3));

        built.controls.append(box);
        built.captions.append(caption);
        ring.append(box);
    }

    built.ring = new EnterRing(ring, owner);
    for (qsizetype i = 1; i < ring.size(); ++i)
        QWidget::setTabOrder(ring[i - 1], ring[i]);
    return built;
}

QList<QLabel*> CardScreen::buildFields(const CardLayout& layout) {
    table_ = layout.fields;
    const BuiltFields built = buildCardFields(this, hintLine_, layout);
    fields_.append(built.controls);
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
    maximiseWindow(this); // the work area fills the screen
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
