#include "ui/cards/cardwidgets.h"

#include "core/cards/cardnavigator.h"
#include "ui/common/conventions.h"
#include "ui/common/hintline.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QToolButton>

namespace ombrisa {

QToolButton* makeCommandPicture(QWidget* parent, const QString& name, const QString& art, const QString& caption,
                                int pictureSize) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(QIcon(art));
    b->setIconSize(QSize(pictureSize, pictureSize));
    b->setAutoRaise(true);
    // Tab reaches it and Space or Enter press it; a click leaves the focus in the card's box.
    b->setFocusPolicy(Qt::TabFocus);
    if (!caption.isEmpty()) {
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    } else {
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    makeClickable(b);
    return b;
}

NavigatorBar::NavigatorBar(QWidget* parent, HintLine& hintLine, const NavigatorHints& hints) : QWidget(parent) {
    setObjectName(QStringLiteral("panNavigatore"));
    cmdPrimo = makeCommandPicture(this, QStringLiteral("cmdPrimo"), QStringLiteral(":/cards/art/primo.svg"));
    cmdIndietro = makeCommandPicture(this, QStringLiteral("cmdIndietro"), QStringLiteral(":/cards/art/indietro.svg"));
    cmdAvanti = makeCommandPicture(this, QStringLiteral("cmdAvanti"), QStringLiteral(":/cards/art/avanti.svg"));
    cmdUltimo = makeCommandPicture(this, QStringLiteral("cmdUltimo"), QStringLiteral(":/cards/art/ultimo.svg"));
    lblPosizione = new QLabel(this);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    lblPosizione->setMinimumWidth(90);
    lblPosizione->setStyleSheet(
        QStringLiteral("QLabel { background: white; color: #1f3b57; border: 1px solid #8fb3cf; border-radius: 4px;"
                       " padding: 2px 8px; }"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(cmdPrimo);
    row->addWidget(cmdIndietro);
    row->addWidget(lblPosizione);
    row->addWidget(cmdAvanti);
    row->addWidget(cmdUltimo);

    hintLine.setHint(cmdPrimo, hints.primo);
    hintLine.setHint(cmdIndietro, hints.indietro);
    hintLine.setHint(cmdAvanti, hints.avanti);
    hintLine.setHint(cmdUltimo, hints.ultimo);
    hintLine.clearOver(lblPosizione);
}

void NavigatorBar::connectTo(CardNavigator& navigator) {
    connect(cmdPrimo, &QToolButton::clicked, this, [&navigator] { navigator.first(); });
    connect(cmdIndietro, &QToolButton::clicked, this, [&navigator] { navigator.previous(); });
    connect(cmdAvanti, &QToolButton::clicked, this, [&navigator] { navigator.next(); });
    connect(cmdUltimo, &QToolButton::clicked, this, [&navigator] { navigator.last(); });
}

} // namespace ombrisa
