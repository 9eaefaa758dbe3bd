// generate: realistic sample archives, the same for the same seed.
#include "commands.h"
#include "options.h"
#include "sampledata.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/records/carddates.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/folderswitch.h"
#include "core/storage/recordfile.h"
#include "core/storage/syserror.h"
#include "core/validators/carta.h"
#include "core/validators/codicefiscale.h"
#include "core/validators/iban.h"
#include "core/validators/partitaiva.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tool {
namespace {

using namespace ombrisa;

// splitmix64: small, fast, and the same sequence on every platform for a seed.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(static_cast<int>(N))]; }
    QString pickText(const char* const* items, std::size_t n) {
        return QString::fromUtf8(items[below(static_cast<int>(n))]);
    }
    QString digits(int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QLatin1Char(static_cast<char>('0' + below(10)));
        return s;
    }

private:
    quint64 state_;
};

#define PICK(r, list) (r).pickText(list, std::size(list))

// Letters A-Z of a name, accents and other characters dropped.
QString plainLetters(const QString& text) {
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D).toUpper())
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            out += c;
    return out;
}

QString cfPart(const QString& name, bool firstName) {
    const QString letters = plainLetters(name);
    QString consonants;
    QString vowels;
    for (QChar c : letters)
        (QStringLiteral("AEIOU").contains(c) ? vowels : consonants) += c;
    if (firstName && consonants.size() >= 4)
        return QString(consonants[0]) + consonants[2] + consonants[3];
    return (consonants + vowels + QStringLiteral("XXX")).left(3);
}

struct Person {
    QString surname, name, fullName, codFisc, birthDate, sex;
    const sample::Town* birthTown;
};

QString civilStatus(Random& r, const Person& p) {
    return p.sex == QLatin1String("M") ? PICK(r, sample::kCivilStatusMale) : PICK(r, sample::kCivilStatusFemale);
}

Person makePerson(Random& r, int fromYear, int toYear) {
    Person p;
    p.sex = r.chance(50) ? QStringLiteral("M") : QStringLiteral("F");
    p.surname = PICK(r, sample::kSurnames);
    p.name = p.sex == QLatin1String("M") ? PICK(r, sample::kMaleNames) : PICK(r, sample::kFemaleNames);
    p.fullName = p.surname + QLatin1Char(' ') + p.name;
    p.birthTown = &r.pick(sample::kTowns);
    const QDate birth =
        QDate(fromYear, 1, 1).addDays(r.below(static_cast<int>(QDate(fromYear, 1, 1).daysTo(QDate(toYear, 12, 31)))));
    p.birthDate = formatDate(birth);
    static const QString months = QStringLiteral("ABCDEHLMPRST");
    const int day = birth.day() + (p.sex == QLatin1String("F") ? 40 : 0);
    const QString first15 = cfPart(p.surname, false) + cfPart(p.name, true) +
                            QStringLiteral("%1").arg(birth.year() % 100, 2, 10, QLatin1Char('0')) +
                            months[birth.month() - 1] + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')) +
                            QLatin1String(p.birthTown->cadastral);
    p.codFisc = first15 + codiceFiscaleCheckChar(first15).value_or(QLatin1Char('X'));
    return p;
}

QString partitaIva(Random& r) {
    static const char* offices[] = {"001", "015", "021", "037", "058", "063", "080", "096", "120", "121"};
    const QString first10 = r.digits(7) + QLatin1String(r.pick(offices));
    return first10 + QString::number(partitaIvaCheckDigit(first10).value_or(0));
}

QString iban(Random& r) {
    const QString bban = QLatin1Char(static_cast<char>('A' + r.below(26))) + r.digits(5) + r.digits(5) + r.digits(12);
    return QStringLiteral("IT") + ibanCheckDigits(bban).value_or(QStringLiteral("00")) + bban;
}

QString cardNumber(Random& r) {
    static const char* prefixes[] = {"4", "4", "4", "51", "53", "55", "34", "37"};
    const QString prefix = QLatin1String(r.pick(prefixes));
    const int length = prefix.startsWith(QLatin1Char('3')) ? 15 : 16;
    const QString payload = prefix + r.digits(length - 1 - static_cast<int>(prefix.size()));
    return payload + QString::number(luhnCheckDigit(payload).value_or(0));
}

QString mobile(Random& r) {
    return QStringLiteral("3") + r.digits(2) + QLatin1Char(' ') + r.digits(7);
}
QString landline(Random& r) {
    return QStringLiteral("0") + r.digits(2) + QLatin1Char(' ') + r.digits(6);
}

QString mailName(const Person& p) {
    return plainLetters(p.name).toLower() + QLatin1Char('.') + plainLetters(p.surname).toLower();
}

// Appends records to one archive; the file reaches the disk when finish() closes it.
template <class Record> class Writer {
public:
    explicit Writer(const QString& path) : ok_(file_.OpenOrCreate(path, sizeof(Record))) {
        ok_ = ok_ && file_.Seek(file_.Count());
    }
    Record& fresh() {
        std::memset(&record_, 0, sizeof record_);
        return record_;
    }
    void write() { ok_ = ok_ && file_.WriteRecord(record_); }
    bool finish(QString& error) {
        const bool closed = file_.Close();
        if (!ok_ || !closed)
            error = file_.ErrorString();
        return ok_ && closed;
    }

private:
    TRecordFile file_;
    bool ok_;
    Record record_{};
};

// The new archives are written under temporary names beside the old ones and take their place only
// when all of them are complete, so that a failure (a full disk) leaves the old archives whole.
class Staging {
public:
    Staging() = default;
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;
    ~Staging() {
        if (!committed_)
            for (const auto& [temporary, final] : files_)
                QFile::remove(temporary);
    }
    // The temporary name under which the archive for `finalPath` is written.
    QString add(const QString& finalPath) {
        const QString temporary = finalPath + QStringLiteral(".nuovo");
        for (const auto& staged : files_)
            if (staged.second == finalPath)
                return temporary; // a second agent with the same codice fiscale adds to the same register
        QFile::remove(temporary);
        files_.push_back({temporary, finalPath});
        return temporary;
    }
    // Puts every new archive in place of the old one and removes the old archives that have no new one,
    // as one switch (core/storage/folderswitch.h): killed at any point, the folder keeps the old archives
    // or, once the switch's journal is named, the next open finishes it. Returns an error text, empty
    // when all went well.
    QString commit(const QStringList& old) {
        const QDir root(appFolder());
        FolderSwitch change;
        change.what = QStringLiteral("generazione degli archivi (ombrisa-tool generate --force)");
        QStringList written;
        for (const auto& [temporary, final] : files_) {
            change.moves.emplace_back(root.relativeFilePath(temporary), root.relativeFilePath(final));
            written << QFileInfo(final).absoluteFilePath();
        }
        for (const QString& path : old)
            if (!written.contains(QFileInfo(path).absoluteFilePath()))
                change.dropped << root.relativeFilePath(path);
        QString error;
        const bool switched = switchFolder(appFolder(), change, &error);
        // Once the switch is decided its files are its own, also when it stopped part way.
        committed_ = switched || QFileInfo::exists(appPath(kSwitchJournal));
        return error;
    }

private:
    std::vector<std::pair<QString, QString>> files_;
    bool committed_ = false;
};

// Removes the temporary archives and the marker of an interrupted generation. An error text, empty when
// all went well.
QString removeInterruptedGeneration() {
    for (const QString& path : interruptedGenerationFiles())
        if (!QFile::remove(path))
            return QStringLiteral("impossibile rimuovere %1, lasciato da una generazione interrotta").arg(path);
    return {};
}

struct ClientLink {
    QString name, codFisc, zone, phone, mobile, email;
};

} // namespace

int generate(const QStringList& args) {
    Options o = Options::parse(args,
                               {QStringLiteral("dir"), QStringLiteral("clients"), QStringLiteral("calls"),
                                QStringLiteral("agents"), QStringLiteral("works"), QStringLiteral("seed")},
                               {QStringLiteral("force")});
    const auto clients = o.number(QStringLiteral("clients"), 500, 0, 1000000);
    const auto calls = o.number(QStringLiteral("calls"), 5000, 0, 5000000);
    const auto agents = o.number(QStringLiteral("agents"), 12, 0, 100000);
    const auto works = o.number(QStringLiteral("works"), 150, 0, 100000);
    const auto seed = o.number(QStringLiteral("seed"), 1, 0, std::numeric_limits<qint64>::max());
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (!o.words.isEmpty())
        return usageError(QStringLiteral("argomento inatteso \"%1\"").arg(o.words.first()));
    if (*calls > 0 && *clients == 0)
        return usageError(QStringLiteral("le chiamate vanno legate ai clienti: --clients deve essere almeno 1"));
    const QString dir = o.values.value(QStringLiteral("dir"));
    if (!dir.isEmpty() && !QFileInfo::exists(dir) && !QDir().mkpath(dir))
        return usageError(QStringLiteral("impossibile creare la cartella %1").arg(dir));
    if (const QString e = useFolder(o); !e.isEmpty())
        return usageError(e);
    const auto present = registerPresence(appFolder());

    // Archives already there are replaced only when asked to.
    QStringList existing;
    for (const QString& name : {kClientiFile, kChiamateFile, kDipendentiFile})
        if (TRecordFile::Present(appPath(name)))
            existing << appPath(name);
    const QDir worksDir(appPath(kLavoriFolder));
    for (const QString& name : worksDir.entryList({QStringLiteral("*.pro")}, QDir::Files | QDir::System))
        existing << worksDir.filePath(name);
    if (!existing.isEmpty() && !o.flags.contains(QStringLiteral("force")))
        return usageError(QStringLiteral("la cartella contiene già archivi (%1): usare --force per sostituirli")
                              .arg(QFileInfo(existing.first()).fileName()));
    // What an interrupted earlier generation left behind goes first.
    if (const QString e = removeInterruptedGeneration(); !e.isEmpty())
        return usageError(e);
    Staging staging;

    Random r(static_cast<quint64>(*seed));
    QString error;

    // Clients.
    std::vector<ClientLink> links;
    links.reserve(static_cast<std::size_t>(*clients));
    {
        Writer<TRecCliente> w(staging.add(appPath(kClientiFile)));
        for (qint64 i = 0; i < *clients; ++i) {
            const Person p = makePerson(r, 1940, 2002);
            const sample::Town& home = r.pick(sample::kTowns);
            const QString email = mailName(p) + QStringLiteral("@example.it");
            const QString phone = r.chance(60) ? mobile(r) : landline(r);
            ClientLink link{p.fullName, p.codFisc, PICK(r, sample::kZones), phone, mobile(r), email};
            auto& rec = w.fresh();
            PutText(rec.Cliente, p.fullName);
            PutText(rec.DataNasc, p.birthDate);
            PutText(rec.ComuneNasc, QString::fromUtf8(p.birthTown->name));
            PutText(rec.ProvNasc, QString::fromLatin1(p.birthTown->province));
            PutText(rec.Sesso, p.sex);
            PutText(rec.Recapito, link.phone);
            PutText(rec.IndirizzoRes, PICK(r, sample::kStreets) + QLatin1Char(' ') + QString::number(1 + r.below(180)));
            PutText(rec.ProvRes, QString::fromLatin1(home.province));
            PutText(rec.ComuneRes, QString::fromUtf8(home.name));
            PutText(rec.CapRes, QString::fromLatin1(home.cap));
            PutText(rec.Estremi, PICK(r, sample::kPayments));
            PutText(rec.TelCasa, landline(r));
            PutText(rec.TelUff, r.chance(50) ? landline(r) : QString());
            PutText(rec.TelCel, link.mobile);
            PutText(rec.Fax,
                    r.chance(30) ? plainLetters(p.surname).toLower() + QStringLiteral("@pec.example.it") : QString());
            PutText(rec.Email, email);
            PutText(rec.CodFisc, p.codFisc);
            const bool card = r.chance(40);
            PutText(rec.Carta, card ? cardNumber(r) : QString());
            PutText(rec.ScadeCarta,
                    card ? QStringLiteral("%1/%2").arg(1 + r.below(12), 2, 10, QLatin1Char('0')).arg(2026 + r.below(6))
                         : QString());
            PutText(rec.PartitaIva, r.chance(35) ? partitaIva(r) : QString());
            PutText(rec.Iban, r.chance(70) ? iban(r) : QString());
            PutText(rec.Documento, QStringLiteral("Carta d'identità n. CA%1%2 rilasciata dal Comune di %3")
                                       .arg(r.digits(5), QString(QLatin1Char(static_cast<char>('A' + r.below(26)))),
                                            QString::fromUtf8(home.name)));
            PutText(rec.Occupazione, PICK(r, sample::kOccupations));
            PutText(rec.Civile, civilStatus(r, p));
            PutText(rec.Titoli, PICK(r, sample::kStudies));
            PutText(rec.Prodotti, PICK(r, sample::kProducts));
            PutText(rec.Zona, link.zone);
            PutText(rec.Questioni, r.chance(25) ? PICK(r, sample::kSubjects) : QString());
            PutText(rec.Note, PICK(r, sample::kNotes));
            PutText(rec.Ricontatta, r.chance(20) ? QStringLiteral("Sì") : QStringLiteral("No"));
            w.write();
            links.push_back(std::move(link));
        }
        if (!w.finish(error))
            return usageError(error);
    }

    // Agents first in memory: the calls name them as operators.
    std::vector<Person> staff;
    for (qint64 i = 0; i < *agents; ++i)
        staff.push_back(makePerson(r, 1960, 2000));

    // Calls, in date order over ten years.
    {
        const QDate first(2016, 1, 1);
        const int span = static_cast<int>(first.daysTo(QDate(2025, 12, 31))) + 1;
        std::vector<int> days(static_cast<std::size_t>(*calls));
        for (int& d : days)
            d = r.below(span);
        std::sort(days.begin(), days.end());
        Writer<TRecChiamata> w(staging.add(appPath(kChiamateFile)));
        for (const int d : days) {
            const QDate date = first.addDays(d);
            const ClientLink& c = links[static_cast<std::size_t>(r.below(static_cast<int>(links.size())))];
            const QString day = QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
            const QString month = kMonthNames[static_cast<std::size_t>(date.month() - 1)];
            const QString year = QString::number(date.year());
            const QString hour = QStringLiteral("%1").arg(8 + r.below(11), 2, 10, QLatin1Char('0'));
            const QString minutes = QStringLiteral("%1").arg(r.below(60), 2, 10, QLatin1Char('0'));
            auto& rec = w.fresh();
            PutText(rec.GiornoRit, day);
            PutText(rec.MeseRit, month);
            PutText(rec.AnnoRit, year);
            PutText(rec.DataRit, callDateText(day, month, year));
            PutText(rec.OreRit, hour);
            PutText(rec.MinutiRit, minutes);
            PutText(rec.OraRit, callTimeText(hour, minutes));
            PutText(rec.Tipo, r.chance(55) ? QStringLiteral("In entrata") : QStringLiteral("In uscita"));
            PutText(rec.Oggetto, PICK(r, sample::kSubjects));
            PutText(rec.Esito, PICK(r, sample::kOutcomes));
            PutText(rec.Grado, PICK(r, sample::kGrades));
            PutText(rec.Durata, QStringLiteral("%1 minuti").arg(1 + r.below(40)));
            PutText(rec.Cliente, c.name);
            PutText(rec.CodFisc, c.codFisc);
            PutText(rec.Zona, c.zone);
            PutText(rec.Recapito, c.phone);
            PutText(rec.TelCel, c.mobile);
            PutText(rec.Email, c.email);
            PutText(rec.Note, PICK(r, sample::kNotes));
            PutText(rec.Operatore,
                    staff.empty() ? QStringLiteral("Centralino")
                                  : staff[static_cast<std::size_t>(r.below(static_cast<int>(staff.size())))].fullName);
            w.write();
        }
        if (!w.finish(error))
            return usageError(error);
    }

    // Agents and their work registers.
    {
        Writer<TRecDipendente> w(staging.add(appPath(kDipendentiFile)));
        if (!staff.empty() && !ensureAppSubfolder(kLavoriFolder))
            return usageError(QStringLiteral("impossibile creare la cartella %1").arg(kLavoriFolder));
        for (const Person& p : staff) {
            const sample::Town& home = r.pick(sample::kTowns);
            auto& rec = w.fresh();
            PutText(rec.Dipendente, p.fullName);
            PutText(rec.Sesso, p.sex);
            PutText(rec.DataNasc, p.birthDate);
            PutText(rec.Cittadinanza, QStringLiteral("Italiana"));
            PutText(rec.LuogoNasc, QString::fromUtf8(p.birthTown->name));
            PutText(rec.Indirizzo, PICK(r, sample::kStreets) + QLatin1Char(' ') + QString::number(1 + r.below(180)));
            PutText(rec.Citta, QString::fromUtf8(home.name));
            PutText(rec.Cap, QString::fromLatin1(home.cap));
            PutText(rec.Nazione, QStringLiteral("Italia"));
            PutText(rec.CodFisc, p.codFisc);
            PutText(rec.Civile, civilStatus(r, p));
            PutText(rec.PartitaIva, r.chance(50) ? partitaIva(r) : QString());
            PutText(rec.Studio, PICK(r, sample::kStudies));
            PutText(rec.Lingue, PICK(r, sample::kLanguages));
            PutText(rec.Email, mailName(p) + QStringLiteral("@example.com"));
            PutText(rec.Tel, landline(r));
            PutText(rec.Cel, mobile(r).remove(QLatin1Char(' ')));
            PutText(rec.Qualifica, PICK(r, sample::kQualifications));
            PutText(rec.Reparto, PICK(r, sample::kDepartments));
            PutText(rec.Disponibilita, r.chance(50) ? QStringLiteral("Dal lunedì al venerdì, 9-18")
                                                    : QStringLiteral("Part-time, mattina"));
            PutText(rec.Mansioni, QStringLiteral("Gestione clienti della zona assegnata, visite e preventivi"));
            PutText(rec.Iban, iban(r));
            PutText(rec.DataAss, formatDate(QDate(2005, 1, 1).addDays(r.below(7000))));
            PutText(rec.Retribuzione, QStringLiteral("%1,00 euro lordi mensili").arg(1300 + 50 * r.below(30)));
            PutText(rec.Note, PICK(r, sample::kNotes));
            w.write();

            Writer<TRecLavoro> register_(staging.add(workRegisterPath(p.codFisc)));
            QDate day(2023, 1, 2);
            for (qint64 k = 0; k < *works; ++k) {
                day = day.addDays(1 + r.below(4));
                const int start = 8 + r.below(5);
                const int hours = 2 + r.below(7);
                auto& work = register_.fresh();
                PutText(work.Data, formatDate(day));
                PutText(work.Attivita, PICK(r, sample::kActivities));
                PutText(work.Luogo, QString::fromUtf8(r.pick(sample::kTowns).name));
                PutText(work.Orario, QStringLiteral("%1:00 - %2:00")
                                         .arg(start, 2, 10, QLatin1Char('0'))
                                         .arg(start + hours, 2, 10, QLatin1Char('0')));
                PutText(work.TotOre, QString::number(hours));
                register_.write();
            }
            if (!register_.finish(error))
                return usageError(error);
        }
        if (!w.finish(error))
            return usageError(error);
    }

    // The old client cards' dates would speak for the new cards: they go with the old archive.
    if (TRecordFile::Present(appPath(kClientDatesFile)))
        existing << appPath(kClientDatesFile);
    if (const QString e = staging.commit(existing); !e.isEmpty())
        return usageError(e);

    QTextStream(stdout) << "Creati in " << appFolder() << ": " << *clients << " clienti, " << *calls << " chiamate, "
                        << *agents << " agenti con " << *works << " prestazioni ciascuno.\n";
    return 0;
}

} // namespace tool
