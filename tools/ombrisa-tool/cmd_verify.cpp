// verify: an integrity report of every archive in a folder.
#include "commands.h"
#include "options.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/datafolder.h"
#include "core/storage/presence.h"
#include "core/storage/recordfile.h"
#include "core/storage/sharedfolder.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <vector>

namespace tool {
namespace {

// Up to this many card numbers are named for each kind of problem.
constexpr int kExamples = 5;

struct Finding {
    qint64 count = 0;
    QStringList examples;
    void add(const QString& where) {
        if (count++ < kExamples)
            examples << where;
    }
    QString describe(const QString& what) const {
        return QStringLiteral("%1 %2 (%3%4)")
            .arg(count)
            .arg(what, examples.join(QStringLiteral(", ")), count > kExamples ? QStringLiteral(", …") : QString());
    }
};

// Checks one archive file; prints its line and returns the number of problems found.
qint64 verifyFile(QTextStream& out, const QString& relativeName, const ombrisa::ArchiveInfo& archive) {
    const QString path = ombrisa::appPath(relativeName);
    if (!ombrisa::TRecordFile::Present(path)) {
        out << relativeName << ": assente (archivio vuoto)\n";
        return 0;
    }
    ombrisa::TRecordFile file;
    if (!file.OpenOrCreate(path, archive.recordSize, ombrisa::TRecordFile::Access::Read)) {
        out << relativeName << ": ERRORE " << file.ErrorString() << '\n';
        return 1;
    }
    const bool locksRefused = file.LocksRefused();
    const QStringList setAside = ombrisa::TRecordFile::SetAsideJournals(path);
    const bool journalPending = file.JournalPending();
    Finding overCapacity;
    Finding badDates;
    const int dataRit =
        archive.fields.data() == ombrisa::kChiamataFields.data() ? ombrisa::fieldIndex(archive.fields, u"DataRit") : -1;
    std::vector<std::uint8_t> record(archive.recordSize);
    qint64 readErrors = 0;
    while (!file.AtEnd()) {
        if (!file.ReadRecord(record.data())) {
            out << relativeName << ": ERRORE " << file.ErrorString() << '\n';
            readErrors = 1;
            break;
        }
        const QString card = QString::number(file.Position());
        for (const ombrisa::FieldDef& f : archive.fields)
            if (ombrisa::lengthOverCapacity(record.data() + f.offset, f.capacity))
                overCapacity.add(QStringLiteral("scheda %1 campo %2").arg(card, QLatin1String(f.name)));
        if (dataRit >= 0) {
            const QString date = ombrisa::GetText(record.data(), archive.fields[static_cast<std::size_t>(dataRit)]);
            if (!date.isEmpty() && (date.size() != 10 || !ombrisa::parseDate(date)))
                badDates.add(QStringLiteral("scheda %1: \"%2\"").arg(card, date));
        }
    }
    const qint64 tail = file.PartialTailBytes();
    file.Close();

    QStringList problems;
    if (locksRefused)
        problems << QStringLiteral("il file system rifiuta i blocchi: la cartella non può essere condivisa in "
                                   "sicurezza tra più postazioni");
    if (journalPending)
        problems << QStringLiteral("giornale di ripristino non applicato (serve il permesso di scrittura)");
    for (const QString& journal : setAside)
        problems << QStringLiteral("giornale di ripristino messo da parte, mai applicato: %1")
                        .arg(QFileInfo(journal).fileName());
    if (tail > 0)
        problems << QStringLiteral("coda parziale di %1 byte dopo l'ultima scheda").arg(tail);
    if (overCapacity.count > 0)
        problems << overCapacity.describe(QStringLiteral("lunghezze oltre la capacità del campo"));
    if (badDates.count > 0)
        problems << badDates.describe(QStringLiteral("date di chiamata inesistenti"));
    out << relativeName << ": " << file.Count() << " schede";
    for (const QString& p : problems)
        out << "; " << p;
    out << '\n';
    return readErrors + (tail > 0 ? 1 : 0) + (locksRefused ? 1 : 0) + (journalPending ? 1 : 0) + setAside.size() + overCapacity.count +
           badDates.count;
}

// The work registers: every file of the folder named like one (a link or a folder so named included, so
// that its problem is reported). A folder that cannot be listed is a problem, not an empty folder.
qint64 verifyRegisters(QTextStream& out) {
    const QString folder = ombrisa::appPath(ombrisa::kLavoriFolder);
    if (!ombrisa::TRecordFile::Present(folder))
        return 0;
    const QByteArray local = folder.toLocal8Bit();
    DIR* d = ::opendir(local.constData());
    if (!d) {
        out << ombrisa::kLavoriFolder << ": ERRORE impossibile leggere la cartella (" << ombrisa::systemErrorText(errno)
            << ")\n";
        return 1;
    }
    ::closedir(d);
    const QStringList registers = QDir(folder).entryList(
        {QStringLiteral("Lavori_Dipendente_CF_*.pro")},
        QDir::Files | QDir::Dirs | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    qint64 problems = 0;
    for (const QString& name : registers)
        problems += verifyFile(out, ombrisa::kLavoriFolder + QLatin1Char('/') + name, ombrisa::kLavoroArchive);
    return problems;
}

} // namespace

int verify(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\"").arg(o.words.first()));
    if (const QString e = useFolder(o); !e.isEmpty())
        return usageError(e);
    if (!ombrisa::holdsProgramData(ombrisa::appFolder()))
        return usageError(noProgramDataMessage(o.values.value(QStringLiteral("dir"))));

    QTextStream out(stdout);
    qint64 problems = 0;
    problems += verifyFile(out, ombrisa::kClientiFile, ombrisa::kClienteArchive);
    problems += verifyFile(out, ombrisa::kChiamateFile, ombrisa::kChiamataArchive);
    problems += verifyFile(out, ombrisa::kDipendentiFile, ombrisa::kDipendenteArchive);
    problems += verifyRegisters(out);
    // A restore or generate --force interrupted after its switch was decided: useFolder finished it.
    if (const QString completed = completedSwitchNotice(); !completed.isEmpty()) {
        out << "Sostituzione interrotta: " << completed << '\n';
        ++problems;
    }
    // Interrupted before its switch, generate --force leaves its new archives beside the old ones, which
    // are whole; an earlier version's marker says that old and new archives may be side by side.
    const QStringList interrupted = interruptedGenerationFiles();
    if (!interrupted.isEmpty()) {
        QStringList names;
        bool marker = false;
        for (const QString& path : interrupted) {
            names << QDir(ombrisa::appFolder()).relativeFilePath(path);
            marker = marker || QFileInfo(path).fileName() == kGenerationMarker;
        }
        out << (marker ? "Generazione interrotta: gli archivi possono essere in parte vecchi e in parte nuovi (file "
                         "rimasti: "
                       : "Generazione interrotta prima della sostituzione: gli archivi sono quelli di prima (file "
                         "rimasti: ")
            << names.join(QStringLiteral(", ")) << "); ripetere ombrisa-tool generate --force\n";
        ++problems;
    }
    // A restore that stopped before its switch leaves its staging folder; the archives are the old ones.
    for (const QString& left :
         QDir(ombrisa::appFolder())
             .entryList({QStringLiteral(".Ombrisa_ripristino_*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        out << "Avviso: ripristino interrotto prima della sostituzione, gli archivi sono quelli di prima; la "
               "cartella temporanea "
            << left << " si può eliminare (il prossimo ripristino la elimina)\n";
    // What the folder lacks for saving from several workstations. Locks that do not reach the others
    // put the archives at risk; missing rights only stop saves (a read-only copy is sound), so they are
    // said but not counted.
    if (const QString locks = ombrisa::sharedFolderLockProblem(ombrisa::appFolder()); !locks.isEmpty()) {
        out << "Cartella dei dati: " << locks << '\n';
        ++problems;
    }
    for (const QString& p : ombrisa::sharedFolderRightsProblems(ombrisa::appFolder()))
        out << "Avviso: " << p << '\n';
    // The programs using the folder now; one whose slot's lock cannot be seen from here is on a
    // workstation whose locks do not reach this one (or ended moments ago without saying so).
    for (const ombrisa::Workstation& w : ombrisa::Presence::Read(ombrisa::appFolder())) {
        out << "Postazione presente: " << w.host << (w.user.isEmpty() ? QString() : QStringLiteral(" (utente %1)").arg(w.user))
            << ", dal " << w.started.toLocalTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        if (!w.lockSeen) {
            out << "; il suo blocco non si vede da qui: se il programma vi è aperto, i blocchi non raggiungono "
                   "questa postazione e salvare da entrambe non è sicuro";
            ++problems;
        }
        out << '\n';
    }
    out << (problems == 0 ? QStringLiteral("Esito: nessun problema.")
                          : QStringLiteral("Esito: %1 problemi trovati.").arg(problems))
        << '\n';
    out.flush();
    if (out.status() != QTextStream::Ok)
        return usageError(QStringLiteral("impossibile scrivere l'uscita"));
    return finishOutput(problems == 0 ? 0 : 1);
}

} // namespace tool
