// The help of each command, printed by "ombrisa-tool COMMAND --help".
#include "options.h"

namespace tool {

namespace {

struct CommandHelp {
    const char* name;
    const char* text; // UTF-8
};

const CommandHelp kHelp[] = {
    {"generate",
     "Uso: ombrisa-tool generate --dir D [--clients N] [--calls M] [--agents K] [--works W] [--seed S] [--force]\n"
     "\n"
     "Scrive nella cartella D archivi di prova verosimili: clienti, chiamate, dipendenti e lavori.\n"
     "  --clients N, --calls M, --agents K, --works W   quante schede scrivere\n"
     "  --seed S   lo stesso seme dà gli stessi archivi\n"
     "  --force    sostituisce gli archivi esistenti (solo quando i nuovi sono completi)\n"},
    {"dump",
     "Uso: ombrisa-tool dump clienti|chiamate|dipendenti|lavori [CF] --dir D\n"
     "\n"
     "Stampa ogni scheda dell'archivio come un oggetto JSON per riga; per i lavori, CF sceglie il dipendente.\n"
     "Basta il permesso di lettura: funziona anche su una copia o una cartella di sola lettura.\n"},
    {"verify",
     "Uso: ombrisa-tool verify --dir D\n"
     "\n"
     "Controlla l'integrità di tutti gli archivi della cartella D: schede danneggiate, collegamenti rotti o\n"
     "circolari, cartelle illeggibili, blocchi dei file non disponibili. Esce con 1 se trova un problema.\n"},
    {"check",
     "Uso: ombrisa-tool check cf|piva|iban|carta VALORE\n"
     "\n"
     "Controlla un codice fiscale, una partita IVA, un IBAN o un numero di carta di credito e stampa il\n"
     "messaggio del programma. Esce con 0 se il codice è valido, con 1 se è errato.\n"},
    {"hours",
     "Uso: ombrisa-tool hours --dir D --cf CF --from gg/mm/aaaa --to gg/mm/aaaa\n"
     "\n"
     "Stampa il riepilogo delle ore del dipendente con codice fiscale CF nel periodo indicato (estremi\n"
     "compresi): le righe dell'elenco e i tre totali. Esce con 1 se qualche lavoro ha dati illeggibili.\n"},
    {"search",
     "Uso: ombrisa-tool search clienti|chiamate|dipendenti --dir D [--box txtNOME=TESTO]...\n"
     "\n"
     "Stampa le righe che la schermata di ricerca elenca per le caselle indicate (nome della casella e\n"
     "testo, quante se ne vuole), nello stesso ordine, e poi il numero delle righe trovate.\n"},
    {"export",
     "Uso: ombrisa-tool export chiamate|clienti|oggi|storico CF --dir D [--out FILE] [--today gg/mm/aaaa]\n"
     "\n"
     "Scrive il foglio di calcolo del registro chiamate, dell'archivio clienti, delle chiamate di oggi o\n"
     "dello storico di un cliente, come le schermate di esportazione del programma.\n"
     "  --out FILE   il file da scrivere (altrimenti il nome solito nella cartella D)\n"
     "  --today      la data da usare come oggi\n"},
    {"import",
     "Uso: ombrisa-tool import clienti|chiamate FILE --dir D [--map \"Intestazione=txtCampo\"]... [--sep ';']\n"
     "         [--encoding utf-8|cp1252] [--duplicates skip|import] [--dry-run] [--report FILE]\n"
     "         [--nuova-cartella] [--forza]\n"
     "\n"
     "Aggiunge schede clienti o chiamate da un foglio (CSV, TSV, .xls del programma, .xlsx e .ods).\n"
     "Il foglio è un file normale fino a 128 MB; una riga fino a 1048576 caratteri, una cella fino a\n"
     "32768, al massimo 1000 colonne.\n"
     "  --map         sceglie il campo di una colonna (\"Intestazione=\" la ignora)\n"
     "  --sep         il separatore (';', ',' o tab)\n"
     "  --encoding    la codifica del testo\n"
     "  --duplicates  salta (skip) o importa (import) le schede già presenti\n"
     "  --dry-run     controlla soltanto, senza scrivere\n"
     "  --report FILE scrive anche il resoconto in FILE\n"
     "  --nuova-cartella  importa anche in una cartella vuota o che non esiste (un archivio nuovo)\n"
     "  --forza       importa anche se il blocco di un'altra postazione presente non si vede da qui\n"},
    {"chi",
     "Uso: ombrisa-tool chi NUMERO --dir D\n"
     "\n"
     "Dice di chi è un numero di telefono: stampa una riga per ogni scheda cliente che lo ha in uno dei\n"
     "campi telefonici (numero della scheda, nome, campo), separati da una tabulazione.\n"
     "Si confrontano solo le cifre: spazi, punti, trattini, barre e il prefisso +39 o 0039 non contano.\n"
     "Esce con 0 se trova qualcuno, con 1 se nessuno, con 2 se l'archivio non si legge o NUMERO non è un\n"
     "numero di telefono.\n"},
    {"duplicates",
     "Uso: ombrisa-tool duplicates clienti --dir D\n"
     "\n"
     "Elenca i clienti che sembrano registrati più di una volta.\n"},
    {"access",
     "Uso: ombrisa-tool access --dir D --cf CF [--name \"Cognome Nome\"] --out CARTELLA\n"
     "\n"
     "Scrive nella CARTELLA tutti i dati che l'archivio conserva sulla persona con codice fiscale CF\n"
     "(o con quel nome), per rispondere a una richiesta di accesso.\n"},
    {"forget",
     "Uso: ombrisa-tool forget --dir D --cf CF [--name \"Cognome Nome\"] [--dry-run] [--forza]\n"
     "\n"
     "Rende anonimi negli archivi i dati della persona con codice fiscale CF (o con quel nome).\n"
     "  --dry-run   elenca soltanto le schede che verrebbero modificate\n"
     "  --forza     procede anche se il blocco di un'altra postazione presente non si vede da qui\n"},
    {"retention",
     "Uso: ombrisa-tool retention --dir D --years N [--today gg/mm/aaaa]\n"
     "\n"
     "Elenca i clienti senza chiamate negli ultimi N anni.\n"
     "  --today   la data da usare come oggi\n"},
    {"stats",
     "Uso: ombrisa-tool stats --dir D [--from gg/mm/aaaa] [--to gg/mm/aaaa] [--csv]\n"
     "\n"
     "Stampa le statistiche del registro delle chiamate nel periodo indicato (estremi compresi; senza\n"
     "date, tutto il registro): totale, mesi, tipo, esito, grado di soddisfazione, operatore, oggetto,\n"
     "giorno della settimana e ora. Le chiamate con una data illeggibile contano solo nel totale e sono\n"
     "elencate sullo standard error.\n"
     "  --csv   una riga per cifra: sezione;voce;chiamate;minuti;durate_non_lette\n"},
};

} // namespace

bool asksForHelp(const QStringList& args) {
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

QString commandHelp(const QString& command) {
    for (const CommandHelp& h : kHelp)
        if (command == QLatin1String(h.name))
            return QString::fromUtf8(h.text);
    return {};
}

} // namespace tool
