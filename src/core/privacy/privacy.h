#pragma once

// Personal data on request: finding everything the archives hold about one client, and forgetting a
// client. Records are never removed or moved and card numbers never change, so forgetting is an
// anonymisation in place: the client card keeps a name that lists can still show ("Anonimizzato N"),
// the calls keep what the statistics need (date, time, direction, subject, outcome, satisfaction,
// duration, operator) and lose who called.

#include "core/records/records.h"
#include "core/storage/presence.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ombrisa {

// Who the request is about: a codice fiscale, a name ("Cognome Nome"), or both. A record is about the
// subject when its codice fiscale equals the subject's (trimmed, without regard to case, never when
// empty) or, when a name is given, its name equals the subject's (trimmed, without regard to case, runs
// of blanks read as one).
struct PrivacySubject {
    QString codFisc;
    QString name;

    bool empty() const;
    bool matches(QStringView storedCodFisc, QStringView storedName) const;
};

// The name as the matching rule compares it: trimmed, blanks folded to one, lower case.
QString foldedName(QStringView name);

// "Anonimizzato N": the name a forgotten client card (and its calls) keeps.
QString anonymisedName(std::int64_t cardNumber);
// Whether a card's name is one that forgetting gave it.
bool isAnonymisedName(QStringView name);

// The client card with every field emptied (all bytes of every field zeroed, so no trace of the old
// texts stays in the file) but the name, which becomes anonymisedName(cardNumber).
void anonymiseClient(TRecCliente& record, std::int64_t cardNumber);
// The call with the client's fields (Cliente, CodFisc, Zona, Recapito, TelCel, Email) and the notes
// emptied the same way; the name becomes `name`. Date, time, direction, subject, outcome, satisfaction,
// duration and operator stay.
void anonymiseCall(TRecChiamata& record, const QString& name);

// What the archives hold about a subject: card numbers (from 1) and the attached files its client cards
// name (bare names, as stored).
struct PrivacyFindings {
    bool ok = true;
    QString error; // the archive's reason when !ok
    std::vector<std::int64_t> clients;
    std::vector<std::int64_t> calls;
    QStringList attachments;
};
// Reads the client archive and the call register of the program's folder (read access only).
PrivacyFindings findSubject(const PrivacySubject& subject);

// The folders of the subject's access requests in the data folder: what "Tutti i dati del cliente" wrote,
// "Richieste_dati_personali/<label>_<yyyy-MM-dd_HHmmss>", the label being the codice fiscale in capitals
// (or, without one, the name) with every run of characters other than letters and digits made "_".
inline const QString kPersonalDataFolder = QStringLiteral("Richieste_dati_personali");
QString personalDataFolderName(const PrivacySubject& subject, const QDateTime& when);
// The subject's existing request folders (full paths, sorted). Only names of exactly that form count: a
// longer name that starts alike ("ROSSI_MARIO_ANTONIO_...") is someone else's.
QStringList personalDataFolders(const PrivacySubject& subject);
// Removes them with everything inside (the card PDF, the calls with name, telephone and e-mail).
// `removed` and `failed` receive the folders' names.
void removePersonalDataFolders(const PrivacySubject& subject, QStringList* removed, QStringList* failed);

// What forgetting did.
struct ForgetReport {
    bool ok = true;
    QString error; // why it stopped, when !ok
    std::vector<std::int64_t> clientsDone, callsDone;
    std::vector<std::int64_t> clientsLeft, callsLeft; // still holding the subject's data
    QStringList filesDeleted;
    QStringList filesKept;   // also named by a card of someone else: kept
    QStringList filesFailed; // could not be deleted
    QStringList foldersDeleted, foldersFailed; // the subject's access-request folders
    // The sentence for the user: what was done, and which cards remain when something failed.
    QString summary() const;
};

// Forgets the subject in the program's folder. First the register gets its line (at `when`, invalid: now)
// naming every card and call found; when it cannot be written nothing is changed and the report says so.
// Then every record found is rewritten in place in an operation
// of its own, through the journal: the record is read again under the exclusive lock and anonymised from
// what is stored now, so a change made meanwhile by another workstation is never overwritten with stale
// bytes, and a record that no longer matches is left alone. Calls first, the client cards after them, so
// that a run stopped part-way still finds the client card, and a second run completes what the first
// left. Attached files are deleted last, once no card names them, and only when no other card (client
// or agent) names a file of the same name; then the subject's access-request folders.
ForgetReport forgetSubject(const PrivacySubject& subject, const QDateTime& when = {});

// What forgetting says when other programs use the data folder (Presence::Others): there the client's
// cards and calls already on screen still show the old data until they are opened again, so it is better
// to close the program there first. Empty when `others` is empty.
QString forgetWhileOthersPresent(const std::vector<Workstation>& others);

// The register of these operations, "Registro_Privacy.txt" in the data folder: one line appended per
// operation, holding no personal data (card numbers only):
// "dd/mm/yyyy;hh:mm:ss;user@workstation;operation;clienti: 1 2;chiamate: 3 4".
inline const QString kPrivacyRegisterFile = QStringLiteral("Registro_Privacy.txt");
QString privacyRegisterLine(const QDateTime& when, const QString& user, const QString& operation,
                            const std::vector<std::int64_t>& clients, const std::vector<std::int64_t>& calls);
// The user of this session and the workstation's name: "user@host".
QString workstationUser();
// Appends one line (flushed to the disk; a line cut short by a failure is taken back). False with an
// Italian `error` when it cannot.
bool appendPrivacyRegister(const QString& line, QString* error = nullptr);

inline const QString kOperationAccess = QStringLiteral("accesso ai dati");
inline const QString kOperationForget = QStringLiteral("oblio");

// Retention: the client cards with no call in the last `years` years before `today`, not created or
// changed in that time either (carddates.h), and not already forgotten, with the date of their last call
// (invalid when there is none) and of their last change (invalid when unknown: a card written before the
// dates were kept). A call is the client's when its codice fiscale equals the card's (trimmed,
// case-insensitive) or, for a card without codice fiscale, its name does.
struct RetentionCandidate {
    std::int64_t card = 0;
    QString name;
    QDate lastCall;
    QDate lastChange;
};
// The rule on one card: it may be proposed only when neither its last call nor its last known change
// (created or changed) lies on or after `limit`.
bool retentionDue(const QDate& lastCall, const QDate& lastChange, const QDate& limit);
struct RetentionList {
    bool ok = true;
    QString error;
    std::vector<RetentionCandidate> candidates;
};
RetentionList retentionCandidates(int years, const QDate& today);

} // namespace ombrisa
