#include "core/privacy/privacy.h"

#include "core/attachments/attachedfiles.h"
#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/records/carddates.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "core/storage/syscalls.h"
#include "core/storage/syserror.h"
#include "core/storage/textfield.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrisa {

namespace {

template <std::size_t N> void wipe(ShortString<N>& field) {
    std::memset(&field, 0, sizeof field);
}

QString joinNumbers(const std::vector<std::int64_t>& numbers) {
    QStringList parts;
    for (std::int64_t n : numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char(' '));
}

QString codeKey(QStringView codFisc) {
    return trimView(codFisc).toString().toUpper();
}

// Reads every record of an archive of the program's folder, read access only. A missing archive is
// an empty one.
template <class Record, class Visit> bool scanArchive(const QString& fileName, QString& error, Visit visit) {
    const QString path = appPath(fileName);
    if (!TRecordFile::Present(path))
        return true;
    TRecordFile file;
    Record record;
    bool ok = file.OpenOrCreate(path, sizeof record, TRecordFile::Access::Read);
    while (ok && !file.AtEnd()) {
        const std::int64_t number = file.Position() + 1;
        ok = file.ReadRecord(record);
        if (ok)
            visit(number, record);
    }
    if (!ok) {
        error = file.ErrorString();
        return false;
    }
    file.Close();
    return true;
}

// Rewrites record `number` of an archive in an operation of its own: read again under the exclusive
// lock, changed by `change` when it still concerns the subject, written and flushed. Returns false with
// `error` when the archive could not be read or written (the journal then leaves the record as it was);
// `changed` says whether the record still matched.
template <class Record, class Change>
bool rewriteRecord(const QString& fileName, std::int64_t number, QString& error, bool& changed, Change change) {
    changed = false;
    TRecordFile file;
    Record record;
    if (!file.OpenOrCreate(appPath(fileName), sizeof record, TRecordFile::Access::Write) || !file.Seek(number - 1) ||
        !file.ReadRecord(record)) {
        error = file.ErrorString();
        return false;
    }
    if (!change(record)) {
        if (file.Close())
            return true;
        error = file.ErrorString();
        return false;
    }
    if (!file.Seek(number - 1) || !file.WriteRecord(record) || !file.Close()) {
        error = file.ErrorString();
        return false;
    }
    changed = true;
    return true;
}

// The bare names of the files a client or agent card names (both keep them in File01..File03).
template <class Card> QStringList attachedNames(const Card& r) {
    QStringList names;
    for (const auto* f : {&r.File01, &r.File02, &r.File03}) {
        const QString bare = attachmentBareName(trimText(GetText(*f)));
        if (!bare.isEmpty())
            names << bare;
    }
    return names;
}

} // namespace

QString foldedName(QStringView name) {
    return trimView(name).toString().simplified().toLower();
}

bool PrivacySubject::empty() const {
    return trimView(codFisc).isEmpty() && foldedName(name).isEmpty();
}

bool PrivacySubject::matches(QStringView storedCodFisc, QStringView storedName) const {
    const QStringView code = trimView(codFisc);
    if (!code.isEmpty() && trimView(storedCodFisc).compare(code, Qt::CaseInsensitive) == 0)
        return true;
    const QString wanted = foldedName(name);
    return !wanted.isEmpty() && foldedName(storedName) == wanted;
}

QString anonymisedName(std::int64_t cardNumber) {
    return QStringLiteral("Anonimizzato %1").arg(cardNumber);
}

bool isAnonymisedName(QStringView name) {
    const QStringView t = trimView(name);
    return t == QLatin1String("Anonimizzato") || t.startsWith(QLatin1String("Anonimizzato "));
}

void anonymiseClient(TRecCliente& record, std::int64_t cardNumber) {
    std::memset(&record, 0, sizeof record);
    PutText(record.Cliente, anonymisedName(cardNumber));
}

void anonymiseCall(TRecChiamata& record, const QString& name) {
    wipe(record.Cliente);
    wipe(record.CodFisc);
    wipe(record.Zona);
    wipe(record.Recapito);
    wipe(record.TelCel);
    wipe(record.Email);
    wipe(record.Note);
    PutText(record.Cliente, name);
}

PrivacyFindings findSubject(const PrivacySubject& subject) {
    PrivacyFindings found;
    if (subject.empty())
        return found;
    QString error;
    found.ok = scanArchive<TRecCliente>(kClientiFile, error, [&](std::int64_t n, const TRecCliente& r) {
        if (!subject.matches(GetText(r.CodFisc), GetText(r.Cliente)))
            return;
        found.clients.push_back(n);
        for (const QString& name : attachedNames(r))
            if (!found.attachments.contains(name))
                found.attachments << name;
    });
    if (found.ok)
        found.ok = scanArchive<TRecChiamata>(kChiamateFile, error, [&](std::int64_t n, const TRecChiamata& r) {
            if (subject.matches(GetText(r.CodFisc), GetText(r.Cliente)))
                found.calls.push_back(n);
        });
    if (!found.ok) {
        found.error = error;
        found.clients.clear();
        found.calls.clear();
        found.attachments.clear();
    }
    return found;
}

namespace {

QString requestFoldersSummary(const QStringList& deleted, const QStringList& failed) {
    QString text;
    if (!deleted.isEmpty())
        text += QStringLiteral(" Cartelle dei dati raccolti su richiesta eliminate: %1.").arg(deleted.size());
    if (!failed.isEmpty())
        text += QStringLiteral(" Cartelle dei dati raccolti su richiesta che non è stato possibile eliminare: %1.")
                    .arg(failed.join(QStringLiteral(", ")));
    return text;
}

} // namespace

QString ForgetReport::summary() const {
    QString text = QStringLiteral("Schede cliente anonimizzate: %1; chiamate anonimizzate: %2.")
                       .arg(clientsDone.size())
                       .arg(callsDone.size());
    if (!filesDeleted.isEmpty())
        text += QStringLiteral(" Documenti allegati eliminati: %1.").arg(filesDeleted.size());
    if (!filesKept.isEmpty())
        text += QStringLiteral(" Documenti conservati perché nominati anche da altre schede: %1.")
                    .arg(filesKept.join(QStringLiteral(", ")));
    if (!filesFailed.isEmpty())
        text += QStringLiteral(" Documenti che non è stato possibile eliminare: %1.")
                    .arg(filesFailed.join(QStringLiteral(", ")));
    text += requestFoldersSummary(foldersDeleted, foldersFailed);
    if (!ok) {
        text += QStringLiteral(" L'operazione si è interrotta: %1.").arg(error);
        if (!clientsLeft.empty())
            text += QStringLiteral(" Schede cliente ancora da anonimizzare: %1.").arg(joinNumbers(clientsLeft));
        if (!callsLeft.empty())
            text += QStringLiteral(" Chiamate ancora da anonimizzare: %1.").arg(joinNumbers(callsLeft));
        text += QStringLiteral(" Ripetere l'operazione per completarla.");
    }
    return text;
}

QString personalDataFolderName(const PrivacySubject& subject, const QDateTime& when) {
    QString label = subject.codFisc.isEmpty() ? subject.name.simplified() : subject.codFisc.toUpper();
    label.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
    return label + QLatin1Char('_') + when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
}

QStringList personalDataFolders(const PrivacySubject& subject) {
    if (subject.empty())
        return {};
    const QString label = personalDataFolderName(subject, {}); // "<label>_"
    const QRegularExpression form(
        QStringLiteral("^%1\\d{4}-\\d{2}-\\d{2}_\\d{6}$").arg(QRegularExpression::escape(label)));
    QStringList folders;
    const QDir dir(appPath(kPersonalDataFolder));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        if (form.match(name).hasMatch())
            folders << dir.filePath(name);
    return folders;
}

void removePersonalDataFolders(const PrivacySubject& subject, QStringList* removed, QStringList* failed) {
    for (const QString& path : personalDataFolders(subject)) {
        const QString name = QFileInfo(path).fileName();
        if (QFileInfo(path).isSymLink() ? QFile::remove(path) : QDir(path).removeRecursively())
            *removed << name;
        else
            *failed << name;
    }
}

ForgetReport forgetSubject(const PrivacySubject& subject, const QDateTime& when) {
    ForgetReport report;
    const PrivacyFindings found = findSubject(subject);
    if (!found.ok) {
        report.ok = false;
        report.error = found.error;
        return report;
    }
    // The register names the operation before anything changes: a run whose line cannot be written
    // changes nothing, and the next run still finds every card and writes its line.
    if (!found.clients.empty() || !found.calls.empty()) {
        QString error;
        if (!appendPrivacyRegister(privacyRegisterLine(when.isValid() ? when : QDateTime::currentDateTime(),
                                                       workstationUser(), kOperationForget, found.clients, found.calls),
                                   &error)) {
            report.ok = false;
            report.error = QStringLiteral("l'operazione non si può annotare nel registro (%1): nessun dato è stato "
                                          "cambiato")
                               .arg(error);
            report.clientsLeft = found.clients;
            report.callsLeft = found.calls;
            return report;
        }
    }
    // The calls take the name of the client's card, so that the register still says which (forgotten)
    // client they were about.
    const QString callName = found.clients.empty() ? QStringLiteral("Anonimizzato") : anonymisedName(found.clients[0]);

    auto stop = [&](const QString& error, std::size_t callIndex, std::size_t clientIndex) {
        report.ok = false;
        report.error = error;
        report.callsLeft.assign(found.calls.begin() + static_cast<std::ptrdiff_t>(callIndex), found.calls.end());
        report.clientsLeft.assign(found.clients.begin() + static_cast<std::ptrdiff_t>(clientIndex),
                                  found.clients.end());
        return report;
    };

    for (std::size_t i = 0; i < found.calls.size(); ++i) {
        QString error;
        bool changed = false;
        if (!rewriteRecord<TRecChiamata>(kChiamateFile, found.calls[i], error, changed, [&](TRecChiamata& r) {
                if (!subject.matches(GetText(r.CodFisc), GetText(r.Cliente)))
                    return false;
                anonymiseCall(r, callName);
                return true;
            }))
            return stop(error, i, 0);
        if (changed)
            report.callsDone.push_back(found.calls[i]);
    }
    for (std::size_t i = 0; i < found.clients.size(); ++i) {
        QString error;
        bool changed = false;
        const std::int64_t card = found.clients[i];
        if (!rewriteRecord<TRecCliente>(kClientiFile, card, error, changed, [&](TRecCliente& r) {
                if (!subject.matches(GetText(r.CodFisc), GetText(r.Cliente)))
                    return false;
                anonymiseClient(r, card);
                return true;
            }))
            return stop(error, found.calls.size(), i);
        if (changed)
            report.clientsDone.push_back(card);
    }

    // The files go once no card of the subject names them, and only when no other card names the same
    // stored file; then the folders of the subject's access requests.
    removePersonalDataFolders(subject, &report.foldersDeleted, &report.foldersFailed);
    if (found.attachments.isEmpty())
        return report;
    QSet<QString> namedElsewhere;
    QString error;
    bool ok = scanArchive<TRecCliente>(kClientiFile, error, [&](std::int64_t, const TRecCliente& r) {
        for (const QString& name : attachedNames(r))
            namedElsewhere.insert(name);
    });
    ok = ok && scanArchive<TRecDipendente>(kDipendentiFile, error, [&](std::int64_t, const TRecDipendente& r) {
             for (const QString& name : attachedNames(r))
                 namedElsewhere.insert(name);
         });
    if (!ok) {
        report.ok = false;
        report.error = error;
        report.filesKept = found.attachments;
        return report;
    }
    for (const QString& name : found.attachments) {
        const QString path = attachmentPath(name);
        if (namedElsewhere.contains(name)) {
            report.filesKept << name;
        } else if (!QFileInfo::exists(path) || QFile::remove(path)) {
            report.filesDeleted << name;
        } else {
            report.filesFailed << name;
        }
    }
    return report;
}

QString privacyRegisterLine(const QDateTime& when, const QString& user, const QString& operation,
                            const std::vector<std::int64_t>& clients, const std::vector<std::int64_t>& calls) {
    QString cleanUser = user;
    cleanUser.replace(QLatin1Char(';'), QLatin1Char(',')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("%1;%2;%3;%4;clienti: %5;chiamate: %6")
        .arg(formatDate(when.date()), when.time().toString(QStringLiteral("hh:mm:ss")), cleanUser, operation,
             joinNumbers(clients), joinNumbers(calls));
}

QString workstationUser() {
    QString user;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        user = QString::fromLocal8Bit(pw->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER", QStringLiteral("?"));
    return user + QLatin1Char('@') + QSysInfo::machineHostName();
}

bool appendPrivacyRegister(const QString& line, QString* error) {
    const QString path = appPath(kPrivacyRegisterFile);
    const QByteArray local = QFile::encodeName(path);
    const auto fail = [&](int err) {
        if (error)
            *error = QStringLiteral("impossibile scrivere %1: %2").arg(path, systemErrorText(err));
        return false;
    };
    const int fd =
        storageSyscalls().open(local.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return fail(errno);
    struct stat st {};
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    qint64 done = 0;
    int err = ::fstat(fd, &st) == 0 ? 0 : errno;
    while (err == 0 && done < bytes.size()) {
        // Opened to append: every write goes to the end, whatever the offset says.
        const ssize_t n =
            storageSyscalls().pwrite(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done),
                                     static_cast<off_t>(st.st_size + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            err = n < 0 ? errno : ENOSPC;
        else
            done += n;
    }
    if (err == 0 && storageSyscalls().fdatasync(fd) != 0)
        err = errno;
    // A line cut short is taken back, so that the register holds whole lines only.
    if (err != 0 && done > 0)
        storageSyscalls().ftruncate(fd, st.st_size);
    ::close(fd);
    return err == 0 || fail(err);
}

RetentionList retentionCandidates(int years, const QDate& today) {
    RetentionList list;
    struct Card {
        std::int64_t number;
        QString name;
        QString code;
    };
    std::vector<Card> cards;
    QString error;
    list.ok = scanArchive<TRecCliente>(kClientiFile, error, [&](std::int64_t n, const TRecCliente& r) {
        const QString name = trimText(GetText(r.Cliente));
        if (isAnonymisedName(name))
            return;
        cards.push_back({n, name, codeKey(GetText(r.CodFisc))});
    });
    QHash<QString, QDate> lastByCode;
    QHash<QString, QDate> lastByName;
    if (list.ok)
        list.ok = scanArchive<TRecChiamata>(kChiamateFile, error, [&](std::int64_t, const TRecChiamata& r) {
            const std::optional<QDate> date = parseDate(GetText(r.DataRit));
            if (!date)
                return;
            auto later = [&](QHash<QString, QDate>& map, const QString& key) {
                if (key.isEmpty())
                    return;
                QDate& d = map[key];
                if (!d.isValid() || *date > d)
                    d = *date;
            };
            later(lastByCode, codeKey(GetText(r.CodFisc)));
            later(lastByName, foldedName(GetText(r.Cliente)));
        });
    std::vector<CardDates> dates;
    if (list.ok)
        list.ok = readCardDates(appPath(kClientiFile), &dates, &error);
    if (!list.ok) {
        list.error = error;
        return list;
    }
    const QDate limit = today.addYears(-years);
    for (const Card& c : cards) {
        const QDate last = c.code.isEmpty() ? lastByName.value(foldedName(c.name)) : lastByCode.value(c.code);
        const QDate changed = lastKnownChange(dates, c.number);
        if (retentionDue(last, changed, limit))
            list.candidates.push_back({c.number, c.name, last, changed});
    }
    return list;
}

bool retentionDue(const QDate& lastCall, const QDate& lastChange, const QDate& limit) {
    // A card imported or written today has no call yet: its own date keeps it.
    const auto recent = [&limit](const QDate& d) { return d.isValid() && d >= limit; };
    return !recent(lastCall) && !recent(lastChange);
}

QString forgetWhileOthersPresent(const std::vector<Workstation>& others) {
    if (others.empty())
        return {};
    QStringList names;
    for (const Workstation& w : others)
        names << Presence::Describe(w);
    return QStringLiteral("La cartella dei dati è in uso anche %1 %2: là le schede e le chiamate di questo cliente "
                          "già aperte mostrano ancora i dati finché non vengono riaperte. Conviene chiudere il "
                          "programma sulle altre postazioni prima di procedere.")
        .arg(others.size() == 1 ? QStringLiteral("dalla postazione") : QStringLiteral("dalle postazioni"),
             names.join(QStringLiteral(", ")));
}

} // namespace ombrisa
