#pragma once

// The help texts of the program, one home for all: the help screen of each work area and the general
// help of the start menu (which repeats the work areas' paragraphs) read them from here. A help text
// is its paragraphs joined by CR LF CR LF.

#include <QString>
#include <QStringList>

namespace ombrisa {

inline const QString kHelpClientiTitle = QStringLiteral("App Archivio Clienti");
inline const QString kHelpChiamateTitle = QStringLiteral("App Registro Chiamate");
inline const QString kHelpDipendentiTitle = QStringLiteral("App Agenti e Prestazioni");
inline const QString kHelpRiepilogoOreTitle = QStringLiteral("App Riepilogo Ore di Lavoro");
inline const QString kGeneralHelpTitle = QStringLiteral("Uno sguardo a Ombrisa");
inline const QString kHelpCopiaSicurezzaTitle = QStringLiteral("Copia di sicurezza");

const QStringList& helpClienti();      // 10 paragraphs
const QStringList& helpChiamate();     // 9 paragraphs
const QStringList& helpDipendenti();   // 11 paragraphs
const QStringList& helpRiepilogoOre(); // 4 paragraphs
const QStringList& helpCopiaSicurezza(); // 3 paragraphs: the backup screen's help
// The start menu's general help, 45 paragraphs: three of introduction, the work areas' paragraphs
// (the agents' first one split in two), four closing ones with the first-access password among them, and
// after the first of those (on copying the folder) the backup screen's paragraphs.
const QStringList& generalHelpParagraphs();

// The paragraphs joined by CR LF CR LF, with no break before the first or after the last.
QString joinHelp(const QStringList& paragraphs);

} // namespace ombrisa
