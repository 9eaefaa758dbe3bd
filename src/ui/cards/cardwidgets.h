#pragma once

// Widgets shared by the card screens: command pictures and the navigator band (the four arrows around
// lblPosizione).

#include "core/cards/navigatorhints.h"

#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;

namespace ombrisa {

class CardNavigator;
class HintLine;

// A picture that acts on a click: a flat button showing the SVG picture `art` (a resource path such as
// ":/cards/art/salva.svg") with `caption` under it when given, the hand pointer, and `name` as its
// objectName.
QToolButton* makeCommandPicture(QWidget* parent, const QString& name, const QString& art,
                                const QString& caption = QString(), int pictureSize = 30);

// cmdPrimo, cmdIndietro, lblPosizione (centred, Verdana 12 bold), cmdAvanti, cmdUltimo, left to right.
// The arrows show their hints on `hints`'s line and the position label empties it.
class NavigatorBar : public QWidget {
    Q_OBJECT
public:
    NavigatorBar(QWidget* parent, HintLine& hintLine, const NavigatorHints& hints = kNavigatorHints);

    // Clicks on the arrows run the navigator's first, previous, next and last.
    void connectTo(CardNavigator& navigator);

    QToolButton* cmdPrimo;
    QToolButton* cmdIndietro;
    QLabel* lblPosizione;
    QToolButton* cmdAvanti;
    QToolButton* cmdUltimo;
};

} // namespace ombrisa
