#include "options.h"
#include "commands.h"

#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/datafolder.h"
#include "core/storage/folderswitch.h"
#include "core/storage/sharedfolder.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>

#include <cstdio>

namespace tool {

int usageError(const QString& message) {
    QTextStream(stderr) << "ombrisa-tool: " << message << '\n';
    return 2;
}

int finishOutput(int code) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::clearerr(stdout);
        return usageError(QStringLiteral("impossibile scrivere l'uscita"));
    }
    return code;
}

Options Options::parse(const QStringList& args, const QStringList& valued, const QStringList& switches) {
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            o.words << a;
        } else if (valued.contains(a.mid(2))) {
            if (i + 1 >= args.size()) {
                o.error = QStringLiteral("manca il valore di %1").arg(a);
                return o;
            }
            o.values[a.mid(2)] = args[++i];
        } else if (switches.contains(a.mid(2))) {
            o.flags << a.mid(2);
        } else {
            o.error = QStringLiteral("opzione sconosciuta %1").arg(a);
            return o;
        }
    }
    return o;
}

std::optional<qint64> Options::number(const QString& name, qint64 fallback, qint64 min, qint64 max) {
    if (!values.contains(name))
        return fallback;
    bool ok = false;
    const qint64 n = values[name].toLongLong(&ok);
    if (!ok || n < min || n > max) {
        error = QStringLiteral("--%1 vuole un numero intero da %2 a %3").arg(name).arg(min).arg(max);
        return std::nullopt;
    }
    return n;
}

namespace {
QString completedSwitchText;
} // namespace

QString completedSwitchNotice() {
    return completedSwitchText.isEmpty()
               ? QString()
               : QStringLiteral("un'operazione interrotta (%1) è stata completata ora: gli archivi sono tutti quelli "
                                "nuovi")
                     .arg(completedSwitchText);
}

QStringList interruptedGenerationFiles() {
    QStringList found;
    if (QFileInfo::exists(ombrisa::appPath(kGenerationMarker)))
        found << ombrisa::appPath(kGenerationMarker);
    for (const QString& folder : {ombrisa::appFolder(), ombrisa::appPath(ombrisa::kLavoriFolder)}) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.nuovo"), QStringLiteral("*.nuovo.journal")}, QDir::Files | QDir::Hidden))
            found << dir.filePath(name);
    }
    return found;
}

QString noProgramDataMessage(const QString& dir) {
    return QStringLiteral("la cartella %1 non contiene i dati del programma (nessun archivio né file della "
                          "password): è la cartella giusta? Se è una cartella di rete, è collegata?")
        .arg(QDir::toNativeSeparators(dir));
}

QString useProgramFolder(const Options& options) {
    if (QString e = useFolder(options); !e.isEmpty())
        return e;
    if (!ombrisa::holdsProgramData(ombrisa::appFolder()))
        return noProgramDataMessage(options.values.value(QStringLiteral("dir")));
    return {};
}

QString useNewOrDataFolder(const Options& options, bool create) {
    const QString dir = options.values.value(QStringLiteral("dir"));
    if (!options.flags.contains(kNewFolderOption) || dir.isEmpty())
        return useDataFolder(options);
    const QFileInfo info(dir);
    if (!info.exists() && !info.isSymLink()) {
        if (!create) {
            ombrisa::setAppFolderOverride(info.absoluteFilePath());
            return {};
        }
        if (!QDir().mkpath(dir))
            return QStringLiteral("impossibile creare la cartella %1").arg(dir);
    }
    if (QString e = useFolder(options); !e.isEmpty())
        return e;
    if (ombrisa::holdsProgramData(ombrisa::appFolder()))
        return useDataFolder(options);
    // A restore into this new folder killed before its switch leaves only its staging folder, which the next
    // restore removes: the folder still counts as empty.
    QStringList others = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    others.removeIf([](const QString& name) { return name.startsWith(QLatin1String(".Ombrisa_ripristino_")); });
    if (!others.isEmpty())
        return QStringLiteral("la cartella %1 contiene altri file ma non i dati del programma: --nuova-cartella vale "
                              "solo per una cartella vuota o che non esiste")
            .arg(QDir::toNativeSeparators(dir));
    return {};
}

QString useDataFolder(const Options& options) {
    if (QString e = useProgramFolder(options); !e.isEmpty())
        return e;
    const QString folder = ombrisa::appFolder();
    const QDir dir(folder);
    for (const QString& name : {ombrisa::kClientiFile, ombrisa::kChiamateFile, ombrisa::kDipendentiFile}) {
        const QFileInfo info(dir.filePath(name));
        if (info.exists() && info.isFile() && !info.isReadable())
            return QStringLiteral("impossibile leggere %1: %2").arg(info.filePath(), ombrisa::systemErrorText(EACCES));
    }
    const QFileInfo works(dir.filePath(ombrisa::kLavoriFolder));
    if (works.exists() && (!works.isDir() || !works.isReadable() || !works.isExecutable()))
        return QStringLiteral("impossibile leggere la cartella %1: %2")
            .arg(works.filePath(), ombrisa::systemErrorText(works.isDir() ? EACCES : ENOTDIR));
    // A journal is rolled back by the next open that may write; without that right the card it belongs
    // to may be half written, and reading on would show it as if whole.
    const QFileInfo here(folder);
    if (!here.isWritable()) {
        QStringList journals = dir.entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden);
        if (works.isDir())
            for (const QString& name :
                 QDir(works.filePath()).entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden))
                journals << ombrisa::kLavoriFolder + QLatin1Char('/') + name;
        if (!journals.isEmpty())
            return QStringLiteral("un salvataggio non è stato concluso (%1) e la cartella è in sola lettura: una "
                                  "scheda può essere incompleta; aprire la cartella da una postazione che può "
                                  "scrivervi")
                .arg(journals.join(QStringLiteral(", ")));
    }
    return {};
}

QString unseenLockText(const ombrisa::Workstation& w) {
    return QStringLiteral("la postazione %1 usa la cartella dei dati ma il suo blocco non si vede da qui: se il "
                          "programma vi è aperto, i blocchi non raggiungono questa postazione e scrivere da "
                          "entrambe non è sicuro")
        .arg(ombrisa::Presence::Describe(w));
}

ToolPresence::ToolPresence(const QString& folder, std::chrono::milliseconds beat, Sink sink)
    : presence_(folder), sink_(std::move(sink)) {
    // Without a slot the command still works (a read-only folder); verify lists who is present.
    if (!QFileInfo(folder).isDir() || !presence_.Register())
        return;
    if (const QString locks = ombrisa::sharedFolderLockProblem(folder); !locks.isEmpty())
        say(locks);
    for (const ombrisa::Workstation& w : ombrisa::Presence::Others(folder)) {
        if (w.lockSeen)
            continue;
        unseen_.push_back(w);
        presence_.Warned(w);
    }
    // The workstations seen now are said by the command itself (a warning, or its refusal).
    heart_ = std::thread([this, beat] {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, beat, [this] { return stop_; }))
            if (const QString warning = presence_.Beat(); !warning.isEmpty())
                say(warning);
    });
}

ToolPresence::~ToolPresence() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (heart_.joinable())
        heart_.join();
}

void ToolPresence::say(const QString& warning) const {
    if (sink_) {
        sink_(warning);
        return;
    }
    // One line on standard error, as every message of the tool.
    QString line = warning;
    line.replace(QStringLiteral("\n\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    std::fprintf(stderr, "ombrisa-tool: avviso: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

std::unique_ptr<ToolPresence> registerPresence(const QString& folder) {
    return std::make_unique<ToolPresence>(folder);
}

QString unseenLocksRefusal(const Options& options, const QString& what, const ToolPresence& presence) {
    if (presence.unseen().empty())
        return {};
    QStringList said;
    for (const ombrisa::Workstation& w : presence.unseen())
        said << unseenLockText(w);
    if (options.flags.contains(kForceOption)) {
        for (const QString& text : said)
            std::fprintf(stderr, "ombrisa-tool: avviso: %s; si procede perché è stato indicato --forza\n",
                         text.toUtf8().constData());
        std::fflush(stderr);
        return {};
    }
    return QStringLiteral("%1: %2. Chiudere il programma su quella postazione e riprovare, oppure ripetere il comando "
                          "con --forza")
        .arg(what, said.join(QStringLiteral("; ")));
}

QString useFolder(const Options& options) {
    const QString dir = options.values.value(QStringLiteral("dir"));
    if (dir.isEmpty())
        return QStringLiteral("manca --dir CARTELLA");
    const QFileInfo info(dir);
    if (!info.exists())
        return QStringLiteral("la cartella %1 non esiste").arg(dir);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return QStringLiteral("la cartella %1 non è leggibile").arg(dir);
    ombrisa::setAppFolderOverride(info.absoluteFilePath());
    // A restore or generate --force killed after its switch was decided is finished before anything
    // reads or writes the folder; one that cannot be finished from here is never read as it is.
    QString error;
    if (!ombrisa::completeFolderSwitch(ombrisa::appFolder(), &completedSwitchText, &error))
        return error;
    if (!completedSwitchText.isEmpty())
        QTextStream(stderr) << "ombrisa-tool: avviso: " << completedSwitchNotice() << '\n';
    return {};
}

} // namespace tool
