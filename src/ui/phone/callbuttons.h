#pragma once

// Calling a client from a card: inside each telephone box, at its right end, a small telephone that
// opens the number as a "tel:" link with the program the desktop names for it; the box's context menu
// has the same entry. When no program takes such links, the user is told so and may copy the number.

#include <QString>
#include <initializer_list>

class QLineEdit;
class QMenu;
class QWidget;

namespace ombrisa {

inline const QString kNoNumberWarning =
    QStringLiteral("Attenzione: il campo non contiene un numero di telefono da chiamare.");
inline const QString kNoTelephoneProgramQuestion =
    QStringLiteral("Su questo computer nessun programma si occupa delle telefonate (collegamenti \"tel:\"), "
                   "quindi il numero %1 non può essere chiamato da qui.\n\nCopiare il numero negli appunti "
                   "per comporlo a mano?");

// Adds the call action (objectName "actChiama") to each named box of `screen`.
void addCallActions(QWidget& screen, std::initializer_list<const char*> boxes);
// The box's context menu: the standard entries, then "Chiama questo numero".
QMenu* callContextMenu(QLineEdit* box);
// Calls the number typed in `text` (see above); `parent` owns the messages.
void callNumber(QWidget* parent, const QString& text);

} // namespace ombrisa
