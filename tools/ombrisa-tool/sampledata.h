#pragma once

// Words from which ombrisa-tool generate builds its sample archives.
namespace tool::sample {

struct Town {
    const char* name;
    const char* province;
    const char* cadastral; // the town's code inside a codice fiscale
    const char* cap;
};

inline constexpr Town kTowns[] = {
    {"Roma", "RM", "H501", "00185"},    {"Milano", "MI", "F205", "20121"},     {"Napoli", "NA", "F839", "80133"},
    {"Torino", "TO", "L219", "10121"},  {"Palermo", "PA", "G273", "90133"},    {"Genova", "GE", "D969", "16121"},
    {"Bologna", "BO", "A944", "40121"}, {"Firenze", "FI", "D612", "50122"},    {"Bari", "BA", "A662", "70121"},
    {"Catania", "CT", "C351", "95121"}, {"Venezia", "VE", "L736", "30121"},    {"Verona", "VR", "L781", "37121"},
    {"Messina", "ME", "F158", "98122"}, {"Padova", "PD", "G224", "35121"},     {"Trieste", "TS", "L424", "34121"},
    {"Brescia", "BS", "B157", "25121"}, {"Parma", "PR", "G337", "43121"},      {"Taranto", "TA", "L049", "74121"},
    {"Prato", "PO", "G999", "59100"},   {"Modena", "MO", "F257", "41121"},     {"Perugia", "PG", "G478", "06121"},
    {"Livorno", "LI", "E625", "57123"}, {"Ravenna", "RA", "H199", "48121"},    {"Cagliari", "CA", "B354", "09123"},
    {"Foggia", "FG", "D643", "71121"},  {"Rimini", "RN", "H294", "47921"},     {"Salerno", "SA", "H703", "84121"},
    {"Ferrara", "FE", "D548", "44121"}, {"Sassari", "SS", "I452", "07100"},    {"Latina", "LT", "E472", "04100"},
    {"Bergamo", "BG", "A794", "24121"}, {"Pescara", "PE", "G482", "65121"},    {"Trento", "TN", "L378", "38121"},
    {"Vicenza", "VI", "L840", "36100"}, {"Bolzano", "BZ", "A952", "39100"},    {"Ancona", "AN", "A271", "60121"},
    {"Lecce", "LE", "E506", "73100"},   {"Udine", "UD", "L483", "33100"},      {"Como", "CO", "C933", "22100"},
    {"Forlì", "FC", "D704", "47121"},   {"Cosenza", "CS", "D086", "87100"},    {"L'Aquila", "AQ", "A345", "67100"},
    {"Potenza", "PZ", "G942", "85100"}, {"Campobasso", "CB", "B519", "86100"}, {"Aosta", "AO", "A326", "11100"},
    {"Sondrio", "SO", "I829", "23100"}, {"Cuneo", "CN", "D205", "12100"},      {"Siena", "SI", "I726", "53100"},
};

inline constexpr const char* kSurnames[] = {
    "Rossi",      "Russo",     "Ferrari",   "Esposito",   "Bianchi",    "Romano",    "Colombo",    "Ricci",
    "Marino",     "Greco",     "Bruno",     "Gallo",      "Conti",      "De Luca",   "Mancini",    "Costa",
    "Giordano",   "Rizzo",     "Lombardi",  "Moretti",    "Barbieri",   "Fontana",   "Santoro",    "Mariani",
    "Rinaldi",    "Caruso",    "Ferrara",   "Galli",      "Martini",    "Leone",     "Longo",      "Gentile",
    "Martinelli", "Vitale",    "Lombardo",  "Serra",      "Coppola",    "De Santis", "D'Angelo",   "Marchetti",
    "Parisi",     "Villa",     "Conte",     "Ferraro",    "Ferri",      "Fabbri",    "Bianco",     "Marini",
    "Grasso",     "Valentini", "Messina",   "Sala",       "De Angelis", "Gatti",     "Pellegrini", "Palumbo",
    "Sanna",      "Farina",    "Rizzi",     "Monti",      "Cattaneo",   "Morelli",   "Amato",      "Silvestri",
    "Mazza",      "Testa",     "Grassi",    "Pellegrino", "Carbone",    "Giuliani",  "Benedetti",  "Barone",
    "Orlando",    "Damico",    "Fumagalli", "Bernardi",   "Negri",      "Sartori",   "Piras",      "Bellini",
    "Basile",
};

inline constexpr const char* kMaleNames[] = {
    "Marco",   "Giuseppe", "Luca",     "Andrea",   "Francesco", "Alessandro", "Matteo",    "Lorenzo",
    "Davide",  "Simone",   "Stefano",  "Paolo",    "Roberto",   "Giovanni",   "Antonio",   "Fabio",
    "Massimo", "Nicolò",   "Riccardo", "Emanuele", "Federico",  "Gabriele",   "Salvatore", "Pietro",
    "Daniele", "Mattia",   "Claudio",  "Enrico",   "Vincenzo",  "Carlo",
};

inline constexpr const char* kFemaleNames[] = {
    "Giulia",   "Francesca", "Chiara", "Sara",    "Martina", "Valentina", "Alessia", "Elena",  "Federica", "Silvia",
    "Laura",    "Anna",      "Paola",  "Maria",   "Giorgia", "Elisa",     "Roberta", "Ilaria", "Claudia",  "Monica",
    "Beatrice", "Aurora",    "Noemi",  "Arianna", "Simona",  "Cristina",  "Barbara", "Lucia",  "Marta",    "Irene",
};

inline constexpr const char* kStreets[] = {
    "Via Roma",
    "Via Garibaldi",
    "Corso Italia",
    "Via Mazzini",
    "Piazza della Repubblica",
    "Via Dante Alighieri",
    "Via Cavour",
    "Viale dei Mille",
    "Via Verdi",
    "Corso Vittorio Emanuele",
    "Via XX Settembre",
    "Via Manzoni",
    "Via San Francesco",
    "Piazza Duomo",
    "Via dei Tigli",
    "Via delle Rose",
    "Via Leopardi",
    "Viale Europa",
};

inline constexpr const char* kOccupations[] = {
    "Impiegato",  "Commerciante", "Libero professionista",
    "Insegnante", "Artigiano",    "Pensionato",
    "Medico",     "Avvocato",     "Geometra",
    "Ingegnere",  "Agricoltore",  "Ristoratore",
    "Studente",   "Architetto",   "Farmacista",
};

// Civil status agrees with the person's sex: the two lists run in parallel.
inline constexpr const char* kCivilStatusMale[] = {"Celibe", "Coniugato", "Separato", "Divorziato", "Vedovo"};
inline constexpr const char* kCivilStatusFemale[] = {"Nubile", "Coniugata", "Separata", "Divorziata", "Vedova"};

inline constexpr const char* kPayments[] = {
    "Bonifico bancario a 30 giorni", "Carta di credito", "RID bancario mensile",          "Contanti alla consegna",
    "Bonifico anticipato",           "Assegno bancario", "Ricevuta bancaria a 60 giorni",
};

inline constexpr const char* kProducts[] = {
    "Assicurazione auto",          "Polizza casa",           "Consulenza fiscale",
    "Fornitura energia elettrica", "Fornitura gas",          "Abbonamento telefonico",
    "Manutenzione caldaia",        "Pannelli solari",        "Conto corrente aziendale",
    "Piano di accumulo",           "Assistenza informatica", "Servizi di pulizia",
};

inline constexpr const char* kZones[] = {"Nord",  "Nord-Est",         "Nord-Ovest",     "Centro",   "Sud",
                                         "Isole", "Zona industriale", "Centro storico", "Periferia"};

inline constexpr const char* kSubjects[] = {
    "Richiesta preventivo",
    "Sollecito pagamento fattura",
    "Informazioni sul contratto",
    "Reclamo per ritardo consegna",
    "Rinnovo polizza",
    "Appuntamento con l'agente",
    "Variazione indirizzo",
    "Chiarimenti sulla bolletta",
    "Proposta nuova offerta",
    "Conferma ordine",
    "Disdetta servizio",
    "Richiesta documentazione",
    "Assistenza tecnica",
    "Verifica stato pratica",
};

inline constexpr const char* kOutcomes[] = {
    "Risolto durante la telefonata",
    "Da richiamare la prossima settimana",
    "Inviata documentazione via e-mail",
    "Fissato appuntamento in sede",
    "Cliente non interessato",
    "Pratica inoltrata all'ufficio competente",
    "Preventivo accettato",
    "In attesa di risposta del cliente",
    "Trasferito al reparto tecnico",
};

inline constexpr const char* kGrades[] = {"Molto soddisfatto", "Soddisfatto", "Abbastanza soddisfatto",
                                          "Poco soddisfatto", "Insoddisfatto"};

inline constexpr const char* kNotes[] = {
    "",
    "",
    "",
    "Preferisce essere contattato la mattina",
    "Chiedere della signora all'amministrazione",
    "Cliente storico, trattamento di riguardo",
    "Parla anche inglese",
    "Richiamare dopo le 17",
};

inline constexpr const char* kQualifications[] = {"Agente junior", "Agente senior", "Capo area",           "Consulente",
                                                  "Tecnico",       "Coordinatore",  "Operatore telefonico"};

inline constexpr const char* kDepartments[] = {"Vendite", "Assistenza clienti", "Amministrazione",
                                               "Tecnico", "Marketing",          "Logistica"};

inline constexpr const char* kStudies[] = {
    "Diploma di ragioneria",         "Laurea in economia",   "Diploma di geometra", "Laurea in giurisprudenza",
    "Diploma di perito informatico", "Laurea in ingegneria", "Licenza media"};

inline constexpr const char* kLanguages[] = {"Inglese",           "Inglese, francese", "Inglese, tedesco", "Spagnolo",
                                             "Inglese, spagnolo", "Francese",          "Tedesco"};

inline constexpr const char* kActivities[] = {
    "Visita cliente",   "Consegna documentazione", "Installazione impianto", "Riunione di coordinamento",
    "Formazione",       "Sopralluogo tecnico",     "Presentazione prodotti", "Assistenza post-vendita",
    "Fiera di settore", "Recupero crediti",
};

} // namespace tool::sample
