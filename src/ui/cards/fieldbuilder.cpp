#include "ui/cards/fieldbuilder.h"

#include "core/italy/provinces.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardparts.h"
#include "ui/common/accessibility.h"
#include "ui/common/focuslook.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/listonlybox.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

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

BuiltFields buildCardFields(QWidget* screen, HintLine* hints, const CardLayout& layout) {
    Q_ASSERT(layout.fields.size() == layout.placements.size());
    auto* watcher = new CardBoxWatcher(screen);
    BuiltFields built;
    QList<QWidget*> ring;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const CardField& f = layout.fields[i];
        const CardPlacement& p = layout.placements[i];
        const QString name = QString::fromLatin1(f.control);

        if (f.kind == CardFieldKind::Hidden) {
            auto* label = new QLabel(screen);
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
        if (f.boxLimit > 0) {
            edit->setMaxLength(f.boxLimit);
        } else if (!f.has(kNoLengthLimit)) {
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
        built.tabStops.append(box);
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
            for (int c = 0; c < cell->count(); ++c)
                if (QWidget* beside = cell->itemAt(c)->widget(); beside && beside != box)
                    built.tabStops.append(beside);
        }
        if (!layout.look.fieldLook)
            addFocusRect(box)->setObjectName(QStringLiteral("eff") + name.mid(3));

        built.controls.append(box);
        built.captions.append(caption);
        ring.append(box);
    }

    built.ring = new EnterRing(ring, screen);
    chainTabs(built.tabStops);
    return built;
}

} // namespace ombrisa
