#include "ui/common/helptexts.h"

#include "core/password/passwordfile.h"

namespace ombrisa {

namespace {
// The agents' first paragraph, in the two parts that the general help shows as two paragraphs.
const QString kDipendentiIntro =
    QStringLiteral("L'app Agenti e Prestazioni è uno schedario in cui registrare i dati del personale che collabora "
                   "con la propria ditta e ogni singola prestazione lavorativa svolta. In ciascuna scheda è "
                   "possibile indicare il cognome e il nome dell'agente, il sesso, il luogo e la data di nascita, la "
                   "cittadinanza, l'indirizzo di residenza, il codice fiscale, lo stato civile, il numero di partita "
                   "IVA, il titolo di studio posseduto, le lingue conosciute, l'indirizzo e-mail, il numero di "
                   "telefono di casa e quello del cellulare, la qualifica, il reparto, i giorni e gli orari di "
                   "disponibilità, le mansioni svolte, l'IBAN bancario, la data di assunzione, la retribuzione "
                   "percepita e ogni ulteriore annotazione.");
const QString kDipendentiFoto =
    QStringLiteral("Ogni scheda può essere corredata della foto del collaboratore in formato Jpeg o Bitmap che viene "
                   "ridotta in scala in automatico per adeguarsi alle dimensioni del riquadro di anteprima. E' "
                   "comunque possibile visualizzare l'immagine nelle sue dimensioni reali a tutto schermo facendo "
                   "clic sull'icona della lente di ingrandimento.");
} // namespace

// The client archive.
const QStringList& helpClienti() {
    static const QStringList paragraphs{
        QStringLiteral(
            "L'app Archivio Clienti memorizza le informazioni relative a persone o aziende con cui si hanno "
            "rapporti professionali o commerciali. La creazione delle schede anagrafiche facilita la "
            "compilazione del registro delle chiamate grazie ad una semplice funzione di importazione dei "
            "dati dall'archivio. Questa app è, in effetti, una completa rubrica elettronica dotata di "
            "funzioni avanzate con cui è possibile controllare la validità del numero di partita IVA, del "
            "codice fiscale, dell'IBAN bancario e del numero di carta di credito, nonché inviare un messaggio "
            "e-mail al nominativo selezionato."),
        QStringLiteral(
            "Nell'archivio dei clienti è possibile annotare cognome, nome, data e luogo di nascita della "
            "persona, l'indirizzo di residenza, le modalità di pagamento preferite, i recapiti telefonici di "
            "casa, ufficio, cellulare e PEC, l'indirizzo e-mail, il recapito preferenziale dove il cliente "
            "desidera essere contattato, il codice fiscale, il numero di partita IVA, il numero di carta di "
            "credito con relativa data di scadenza e l'IBAN bancario. La scheda del cliente consente, "
            "inoltre, di registrare gli estremi di un documento di riconoscimento, l'occupazione, lo stato "
            "civile, i titoli e le qualifiche possedute, i prodotti e servizi di interesse, e la zona di "
            "appartenenza."),
        QStringLiteral(
            "Per inserire una scheda in archivio, bisogna fare clic sul pulsante Nuovo, compilare i campi di "
            "testo che interessano e premere il pulsante Salva. Si tenga presente che i campi relativi al "
            "nome del cliente, al suo numero di telefono preferenziale e al suo codice fiscale sono a "
            "compilazione obbligatoria. Per modificare una scheda esistente, bisogna visualizzarla nella "
            "schermata di lavoro usando le frecce di scorrimento dei record o la funzione di ricerca, "
            "apportare le modifiche desiderate e premere Salva."),
        QStringLiteral(
            "Se esistono importanti questioni in sospeso con il cliente, è possibile prenderne nota nel "
            "relativo campo di testo. Mettendo il segno di spunta sulla casella Da ricontattare, si inserisce "
            "la scheda in un elenco contenente tutti i clienti con questioni in sospeso che vogliono essere "
            "richiamati, ad esempio, nel momento in cui il problema è stato risolto o quando ci sono novità. "
            "Per visualizzare tale elenco, basta fare clic sul pulsante Da ricontattare."),
        QStringLiteral("Il pulsante Duplica è utile se si ha bisogno di registrare due o più schede con dati molto "
                       "simili perché riferite, ad esempio, ai familiari del cliente che risiedono allo stesso "
                       "indirizzo. Per duplicare la scheda di un cliente, basta visualizzare quella già registrata in "
                       "archivio, fare clic sul pulsante Duplica, inserire i nuovi dati e premere Salva."),
        QStringLiteral(
            "Per trovare le schede dei clienti in archivio è possibile utilizzare uno o più filtri di ricerca "
            "contemporaneamente. Ad esempio, si può ottenere l'elenco di tutti i clienti che risiedono in una "
            "certa zona, a cui interessano determinati prodotti o servizi, che hanno particolari questioni in "
            "sospeso o per i quali è stata registrata una certa parola o espressione distintiva nel campo "
            "delle note."),
        QStringLiteral("La funzione Allega file consente di abbinare alla scheda di ciascun cliente fino a tre file di "
                       "qualsiasi genere che potrebbero contenere, ad esempio, la copia digitale del documento di "
                       "riconoscimento oppure un file di Word in cui annotare tutti gli acquisti effettuati o tutti i "
                       "servizi di cui ha usufruito. Il contenuto di ogni allegato può essere descritto nell'apposito "
                       "campo di testo e il file può essere aperto in qualsiasi momento premendo il pulsante Apri."),
        QStringLiteral(
            "Appositi pulsanti consentono di controllare la validità del codice fiscale del cliente, del "
            "numero di carta di credito, dell'IBAN bancario e del numero di partita IVA. Se il numero di "
            "partita IVA è esatto, il software indicherà quale Ufficio provinciale lo ha rilasciato. Il campo "
            "\"E-mail\" è affiancato da un pulsante che permette di lanciare l'applicazione presente sul "
            "proprio computer per la gestione della posta elettronica compilando in automatico la casella "
            "dell'indirizzo del destinatario."),
        QStringLiteral("Il pulsante Storico chiamate visualizza l'elenco di tutte le telefonate fatte dal cliente o al "
                       "cliente attingendo i dati dalle schede archiviate nel registro delle chiamate."),
        QStringLiteral("La scheda di ogni singolo cliente può essere visualizzata in anteprima, stampata su carta o "
                       "salvata in un file PDF. L'intero archivio anagrafico può essere esportato in un file di "
                       "Microsoft Excel utilizzando una semplice funzione accessibile con pochi clic del mouse."),
    };
    return paragraphs;
}

// The call register.
const QStringList& helpChiamate() {
    static const QStringList paragraphs{
        QStringLiteral(
            "L'app Registro Chiamate è progettata per aiutare i call center delle aziende a schedare le "
            "telefonate effettuate o ricevute relative a ogni singolo cliente. Il software consente anche di "
            "visualizzare con un solo clic il riepilogo di tutte le chiamate archiviate nella data corrente."),
        QStringLiteral(
            "Per schedare una nuova chiamata, bisogna fare clic sul pulsante Nuovo e indicare la data e l'ora "
            "della telefonata (se diverse dalla data e dall'ora in cui si effettua la registrazione), il tipo "
            "di chiamata (in entrata o in uscita), l'oggetto della stessa, l'esito ottenuto alla fine della "
            "chiamata, il grado di soddisfazione riscontrato da parte del cliente, la durata della "
            "telefonata, il nome del cliente che ha chiamato o che è stato contattato, il suo codice fiscale, "
            "la zona di appartenenza, il recapito telefonico preferenziale, il numero di cellulare, "
            "l'indirizzo e-mail, ogni ulteriore annotazione personale e il nome dell'operatore o agente che "
            "effettua la registrazione. I campi a compilazione obbligatoria sono quelli riguardanti, la data, "
            "l'ora e l'oggetto della chiamata, il nome del cliente, il suo telefono preferenziale e il suo "
            "codice fiscale. Dopo aver inserito i dati, bisogna fare clic sul pulsante Salva per memorizzare "
            "la scheda in archivio."),
        QStringLiteral(
            "I campi relativi al cliente possono essere compilati velocemente importando i dati dall'archivio "
            "anagrafico facendo clic sull'icona della freccia rossa posta a destra della casella di testo "
            "riservata al cognome e nome."),
        QStringLiteral("Il pulsante Duplica consente di registrare in archivio una nuova chiamata duplicando i dati di "
                       "una telefonata salvata precedentemente. A tal fine, basta visualizzare la scheda della vecchia "
                       "chiamata, fare clic su Duplica, apportare le modifiche desiderate e fare clic su Salva."),
        QStringLiteral(
            "La scheda della chiamata può essere stampata su foglio A4 o visualizzata in anteprima servendosi "
            "degli appositi pulsanti."),
        QStringLiteral(
            "Il campo \"E-mail\" è affiancato da un pulsante che permette di inviare al cliente un messaggio "
            "di posta elettronica."),
        QStringLiteral("La funzione Trova consente di rintracciare le chiamate in archivio utilizzando più filtri di "
                       "ricerca contemporaneamente. Ciò rende possibile, ad esempio, ottenere l'elenco di tutte le "
                       "telefonate effettuate da un determinato operatore in un certo mese dell'anno oppure delle "
                       "chiamate con lo stesso oggetto o che hanno avuto lo stesso esito."),
        QStringLiteral("Il pulsante Chiamate di oggi permette di visualizzare il riepilogo di tutte le chiamate "
                       "telefoniche registrate in data odierna, che all'occorrenza può essere esportato in Excel."),
        QStringLiteral(
            "Il pulsante con l'icona di Excel consente, infine, di esportare in Excel l'intero registro delle "
            "chiamate."),
    };
    return paragraphs;
}

// Agents and work.
const QStringList& helpDipendenti() {
    static const QStringList paragraphs{
        kDipendentiIntro + QLatin1Char(' ') + kDipendentiFoto,
        QStringLiteral(
            "Questa app è quindi un archivio storico in cui bisogna conservare le informazioni anagrafiche e "
            "i recapiti degli agenti indicando al contempo le prestazioni svolte nell'arco dell'intera "
            "carriera lavorativa. E' possibile usufruire di funzioni avanzate quali l'invio di e-mail "
            "all'agente e il controllo della validità del codice fiscale, della partita IVA e dell'IBAN."),
        QStringLiteral(
            "Per inserire una scheda in archivio, bisogna fare clic sul pulsante Nuovo, compilare i campi di "
            "testo che interessano, caricare la foto dell'agente e premere il pulsante Salva. Si tenga "
            "presente che i campi riguardanti il cognome e nome del collaboratore, il codice fiscale, il "
            "numero di cellulare, la qualifica e il reparto di appartenenza sono a compilazione obbligatoria. "
            "Per modificare una scheda esistente, bisogna visualizzarla nella schermata di lavoro usando le "
            "frecce di scorrimento dei record o la funzione di ricerca, apportare le modifiche desiderate e "
            "premere Salva."),
        QStringLiteral(
            "Il pulsante Duplica è utile se si ha bisogno di registrare due o più schede con dati molto "
            "simili perché riferite, ad esempio, ad agenti inseriti nello stesso reparto o che hanno la "
            "stessa qualifica. Per duplicare la scheda di un agente, basta visualizzare quella già registrata "
            "in archivio, fare clic sul pulsante Duplica, inserire i nuovi dati e premere Salva."),
        QStringLiteral(
            "Per allegare una foto del collaboratore, si può acquisirne l'immagine con la propria webcam. Una "
            "volta aperta la finestra per l'acquisizione fotografica, bisogna premere il pulsante Accendi "
            "webcam, far posizionare il collaboratore di fronte all'obiettivo e scattargli una foto premendo "
            "il pulsante Cattura foto. Fatto ciò, si può importare la foto nella scheda dei dati anagrafici "
            "servendosi dell'apposito pulsante. Infine, bisogna memorizzare la scheda dell'agente premendo il "
            "pulsante Salva."),
        QStringLiteral(
            "E' possibile visualizzare la foto a tutto schermo facendo clic sull'icona dello zoom. Se si "
            "vuole ritoccare la foto acquisita, la si può salvare su disco, apportare le modifiche con un "
            "software di grafica e ricaricarla nella scheda con il pulsante Carica. Se si preferisce, anziché "
            "fotografare l'agente con una webcam, si può scattargli una foto in formato Jpeg con una macchina "
            "fotografica digitale e importarla nella scheda anagrafica sempre utilizzando il pulsante Carica."),
        QStringLiteral(
            "Il pulsante Slide Show mostra in sequenza, ad intervalli di sei secondi e a schermo intero, "
            "tutte le foto dei collaboratori in archivio. Una volta visualizzata l'ultima foto archiviata, la "
            "presentazione riprende dal principio. Per uscire dalla modalità Slide Show è sufficiente fare "
            "clic su un punto qualsiasi della schermata."),
        QStringLiteral("Per trovare le schede degli agenti in archivio è possibile utilizzare uno o più filtri di "
                       "ricerca contemporaneamente. Ad esempio, si può ottenere l'elenco di tutti i collaboratori "
                       "appartenenti a un certo reparto, che possiedono un specifica qualifica o che hanno dato la "
                       "disponibilità a essere chiamati in determinati giorni e orari."),
        QStringLiteral("La funzione Allega file consente di abbinare a ciascun agente fino a tre file di qualsiasi "
                       "genere che potrebbero contenere, ad esempio, la copia acquisita allo scanner del documento di "
                       "identità o del contratto di lavoro firmato con la ditta. Il contenuto di ogni allegato può "
                       "essere descritto nell'apposito campo di testo e il file può essere aperto in qualsiasi momento "
                       "premendo il pulsante Apri."),
        QStringLiteral(
            "Dopo aver salvato la scheda anagrafica del collaboratore, è possibile registrare i lavori svolti "
            "per conto dell'azienda. A tal fine, bisogna premere il pulsante Prestazioni e, all'interno della "
            "finestra che appare, scegliere se inserire una nuova attività o modificare un'attività già "
            "archiviata. Di ogni attività bisogna indicare la data in cui è stata svolta, la tipologia di "
            "lavoro, il luogo in cui è stata effettuata la prestazione lavorativa, l'orario di lavoro e il "
            "numero totale di ore lavorate. Il pulsante Stampa riepilogo permette di stampare l'elenco di "
            "tutte le prestazioni svolte dal collaboratore selezionato."),
        QStringLiteral("La scheda anagrafica di ogni singolo agente può essere visualizzata in anteprima o stampata su "
                       "carta."),
    };
    return paragraphs;
}

// The hours summary.
const QStringList& helpRiepilogoOre() {
    static const QStringList paragraphs{
        QStringLiteral(
            "L'app Riepilogo Ore di Lavoro consente di visualizzare e stampare riepiloghi delle prestazioni "
            "svolte dagli agenti della propria ditta calcolando in automatico il totale delle ore effettuate. "
            "Il riepilogo può riguardare un qualsiasi arco di tempo e comprendere uno o più anni solari. Per "
            "visualizzarlo è sufficiente usare come filtro di ricerca il codice fiscale dell'agente e "
            "indicare la data di inizio e di fine intervallo."),
        QStringLiteral(
            "Il codice fiscale utilizzato come filtro di ricerca può essere digitato sul momento o importato "
            "dall'archivio anagrafico degli agenti. In quest'ultimo caso bisogna utilizzare il pulsante con "
            "la freccia verde presente a destra dello stesso campo. Questa app legge quindi i dati inseriti "
            "nel registro delle prestazioni associato alla scheda dell'agente e totalizza le ore lavorate "
            "riferite all'intervallo di tempo indicato."),
        QStringLiteral(
            "Il riepilogo che si ottiene visualizza un elenco di tutti i lavori archiviati nel registro delle "
            "prestazioni nel periodo specificato, riportando per ognuno di essi il tipo di attività, la data, "
            "il luogo e l'orario in cui tale attività è stata svolta e le ore di lavoro effettuate. In calce "
            "alla schermata compare il totale delle ore di lavoro relativamente all'arco di tempo "
            "selezionato."),
        QStringLiteral("Il riepilogo visualizzato può essere stampato su carta premendo l'apposito pulsante."),
    };
    return paragraphs;
}

// The call statistics screen, opened from the call card and from the start menu's call tile.
const QStringList& helpStatistiche() {
    static const QStringList paragraphs{
        QStringLiteral(
            "La schermata Statistiche delle chiamate mostra con grafici e tabelle l'andamento delle telefonate "
            "registrate: le chiamate di ogni mese (in entrata e in uscita), gli esiti più frequenti, il grado di "
            "soddisfazione dei clienti, il numero di chiamate e la durata media di ogni operatore, gli oggetti più "
            "frequenti e la distribuzione delle chiamate per giorno della settimana e ora del giorno."),
        QStringLiteral(
            "Per scegliere il periodo, bisogna indicare il giorno, il mese e l'anno di inizio e di fine "
            "dell'intervallo e fare clic su Calcola, oppure servirsi delle scelte rapide (questo mese, il mese "
            "scorso, quest'anno, gli ultimi dodici mesi, tutto il registro). Lasciando vuote tutte le date si "
            "ottengono le statistiche dell'intero registro. Durante il calcolo si può continuare a usare la "
            "schermata; il pulsante Annulla interrompe il calcolo."),
        QStringLiteral(
            "Le durate sono lette dal testo scritto nella scheda (ad esempio \"4 minuti\", \"mezz'ora\", "
            "\"1 ora e 10\", \"00:07:30\" per ore, minuti e secondi, \"7:30\" per minuti e secondi): le durate "
            "che non si riescono a leggere non entrano nella media e sono contate a parte. Le chiamate con una "
            "data illeggibile contano solo nel totale."),
        QStringLiteral(
            "Passando con il mouse su una barra o su uno spicchio compare il valore esatto. Ogni grafico, con la "
            "sua tabella e il periodo nel titolo, può essere stampato o salvato come documento PDF o come "
            "immagine PNG con gli appositi pulsanti, appena compaiono le cifre. Il grafico degli operatori ha "
            "una barra per ogni operatore, con il nome intero; se sono molti, scorre."),
    };
    return paragraphs;
}

const QStringList& generalHelpParagraphs() {
    static const QStringList paragraphs = [] {
        QStringList all{
            QStringLiteral(
                "Ombrisa è un software progettato per semplificare e ottimizzare l'organizzazione delle attività "
                "aziendali legate alla gestione dei clienti e del personale collaborativo. Il programma consente "
                "di amministrare in modo efficiente collaboratori, agenti e operatori che lavorano con l'azienda "
                "sia in maniera continuativa sia su chiamata, offrendo un controllo completo delle attività "
                "svolte e delle ore lavorative maturate. Grazie a strumenti intuitivi e automatizzati, il "
                "software permette di monitorare incarichi e prestazioni lavorative, calcolando con precisione le "
                "ore da retribuire e riducendo il rischio di errori amministrativi."),
            QStringLiteral(
                "Le funzioni presenti nel software consentono di tenere traccia di tutte le chiamate in entrata e "
                "in uscita dei propri clienti riguardanti proposte commerciali, programmazione di appuntamenti, "
                "assistenza tecnica e così via. E' possibile archiviare i dati anagrafici dei clienti e annotare "
                "in un apposito registro i dettagli di ogni singola telefonata. Lo storico delle telefonate "
                "abbinate a ciascun cliente può essere visualizzato all'interno dell'archivio anagrafico "
                "attingendo i dati dal registro delle chiamate. Si può anche prendere nota di tutti i clienti da "
                "ricontattare per determinate questioni in sospeso. Di ogni telefonata si può annotare non solo "
                "l'oggetto trattato ma anche l'esito della chiamata. Le informazioni archiviate possono essere "
                "recuperate utilizzando diversi filtri di ricerca, ottenendo riepiloghi personalizzati pronti per "
                "essere stampati."),
            QStringLiteral(
                "Come già accennato, il programma semplifica la raccolta dei dati dei collaboratori e l'analisi "
                "delle prestazioni lavorative. Uno schedario digitale del personale permette di registrare la "
                "foto e i dati anagrafici e fiscali degli agenti che collaborano con la ditta, oltre a "
                "memorizzare ogni singola attività svolta in modo ordinato e sempre consultabile. Questo permette "
                "di avere uno storico completo e aggiornato dei servizi prestati da ciascun collaboratore. Il "
                "software facilita la consultazione e la stampa dei riepiloghi delle prestazioni. Attraverso un "
                "sistema di calcolo automatico, l'app determina il totale delle ore lavorate dai singoli agenti. "
                "I riepiloghi possono essere generati per qualsiasi arco temporale, anche su più anni solari, "
                "offrendo la massima flessibilità di analisi."),
        };
        all += helpClienti();
        all += helpChiamate();
        all += kDipendentiIntro;
        all += kDipendentiFoto;
        all += helpDipendenti().mid(1);
        all += helpRiepilogoOre();
        all += QStringLiteral(
            "Ombrisa può essere utilizzato anche su chiavetta USB. A tal fine, basta copiare la cartella del "
            "programma su pen-drive e fare doppio clic sull'icona dell'applicazione per eseguirla. La copia "
            "della cartella su dispositivo esterno è anche il metodo più veloce per effettuare il backup di "
            "tutti gli archivi.");
        all += helpCopiaSicurezza();
        all += QStringLiteral(
                   "L'accesso al software è protetto da una password aggiornabile dall'utente che può essere "
                   "cambiata tutte le volte che si desidera. Per il primo accesso al programma, bisogna utilizzare "
                   "la parola chiave ") +
               QLatin1Char('"') + kFirstAccessPassword.toLower() + QLatin1Char('"') +
               QStringLiteral(" (scritta senza le virgolette).");
        all += QStringLiteral(
            "Ombrisa può essere usato anche in una rete locale se si ha necessità di condividere gli archivi "
            "fra più postazioni di lavoro.");
        all += QStringLiteral(
            "Con Ombrisa diventa semplice registrare tutto ciò che viene comunicato e concordato nelle "
            "conversazioni telefoniche con i clienti, nonché controllare le prestazioni lavorative dei propri "
            "collaboratori. L'utente resterà piacevolmente sorpreso nel constatare come il software richieda "
            "tempi di apprendimento praticamente nulli.");
        return all;
    }();
    return paragraphs;
}

const QStringList& helpCopiaSicurezza() {
    static const QStringList paragraphs{
        QStringLiteral(
            "Per una copia sempre coerente, anche mentre altre postazioni stanno lavorando, conviene però usare il "
            "pulsante Copia di sicurezza del menu iniziale: salva in un unico file compresso tutti gli archivi, i "
            "registri dei lavori, le foto degli agenti, i documenti allegati e il file della password. Ogni archivio "
            "viene copiato mentre è bloccato in lettura, solo con schede intere: chi salva in quel momento attende "
            "qualche istante."),
        QStringLiteral(
            "Il programma propone un nome con la data e l'ora, per esempio Ombrisa_2026-12-10_1730.tar.zst, nella "
            "cartella usata l'ultima volta. Finita la scrittura, la copia viene riletta e ogni file confrontato con "
            "la sua impronta di controllo; solo allora riceve il suo nome. Se la scrittura non riesce (disco pieno, "
            "chiavetta protetta dalla scrittura) o viene annullata, non resta alcun file."),
        QStringLiteral(
            "Controlla una copia dice se un file di copia è integro. Ripristina da una copia rimette gli archivi "
            "della copia nella cartella dei dati: prima di sostituire qualunque cosa controlla l'intera copia e "
            "rifiuta quella danneggiata indicando il primo file non integro; procede solo se nessun'altra "
            "postazione ha il programma aperto e conserva i file sostituiti nella cartella Sostituiti seguita da "
            "data e ora. Quando l'ultima copia è più vecchia dei giorni indicati nella finestra (7 se non si "
            "cambia, mai con 0), il menu iniziale lo ricorda una volta al giorno."),
    };
    return paragraphs;
}

QString joinHelp(const QStringList& paragraphs) {
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}

} // namespace ombrisa
