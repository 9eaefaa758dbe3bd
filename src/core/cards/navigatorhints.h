#pragma once

#include <QString>

namespace ombrisa {

// The hints of the navigator's pictures. The client and call card screens share one wording; the agent
// card screen words three of them differently.
struct NavigatorHints {
    QString primo;
    QString indietro;
    QString avanti;
    QString ultimo;
    QString nuovo;
    QString salva;
    QString duplica;
};

inline const NavigatorHints kNavigatorHints{
    QStringLiteral("Visualizza la prima scheda in archivio."),
    QStringLiteral("Visualizza la scheda precedente in archivio."),
    QStringLiteral("Visualizza la scheda successiva in archivio."),
    QStringLiteral("Visualizza l'ultima scheda in archivio."),
    QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda."),
    QStringLiteral("Salva la scheda corrente in archivio."),
    QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."),
};

inline const NavigatorHints kAgentNavigatorHints{
    kNavigatorHints.primo,
    kNavigatorHints.indietro,
    kNavigatorHints.avanti,
    kNavigatorHints.ultimo,
    QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda."),
    QStringLiteral("Salva la scheda in archivio."),
    QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti."),
};

} // namespace ombrisa
