#pragma once

#include "core/records/fieldtable.h"

#include <array>
#include <cstddef>
#include <type_traits>

namespace ombrisa {

// A client card of "Contatti.pro".
struct TRecCliente {
    ShortString<50> Cliente;
    ShortString<30> DataNasc;
    ShortString<50> ComuneNasc;
    ShortString<2> ProvNasc;
    ShortString<1> Sesso;
    ShortString<50> Recapito;
    ShortString<50> IndirizzoRes;
    ShortString<2> ProvRes;
    ShortString<50> ComuneRes;
    ShortString<5> CapRes;
    ShortString<250> Estremi;
    ShortString<30> TelCasa;
    ShortString<30> TelUff;
    ShortString<30> TelCel;
    ShortString<30> Fax;
    ShortString<50> Email;
    ShortString<16> CodFisc;
    ShortString<30> Carta;
    ShortString<30> ScadeCarta;
    ShortString<11> PartitaIva;
    ShortString<27> Iban;
    ShortString<120> Documento;
    ShortString<50> Occupazione;
    ShortString<50> Civile;
    ShortString<120> Titoli;
    ShortString<120> Prodotti;
    ShortString<50> Zona;
    ShortString<250> Questioni;
    ShortString<250> Note;
    ShortString<2> Ricontatta;
    ShortString<250> File01;
    ShortString<250> File02;
    ShortString<250> File03;
    ShortString<250> Desc01;
    ShortString<250> Desc02;
    ShortString<250> Desc03;
};
static_assert(sizeof(TRecCliente) == 3372 && std::is_standard_layout_v<TRecCliente>);

inline constexpr std::array<FieldDef, 36> kClienteFields{{
    OMBRISA_FIELD(TRecCliente, Cliente),      OMBRISA_FIELD(TRecCliente, DataNasc),
    OMBRISA_FIELD(TRecCliente, ComuneNasc),   OMBRISA_FIELD(TRecCliente, ProvNasc),
    OMBRISA_FIELD(TRecCliente, Sesso),        OMBRISA_FIELD(TRecCliente, Recapito),
    OMBRISA_FIELD(TRecCliente, IndirizzoRes), OMBRISA_FIELD(TRecCliente, ProvRes),
    OMBRISA_FIELD(TRecCliente, ComuneRes),    OMBRISA_FIELD(TRecCliente, CapRes),
    OMBRISA_FIELD(TRecCliente, Estremi),      OMBRISA_FIELD(TRecCliente, TelCasa),
    OMBRISA_FIELD(TRecCliente, TelUff),       OMBRISA_FIELD(TRecCliente, TelCel),
    OMBRISA_FIELD(TRecCliente, Fax),          OMBRISA_FIELD(TRecCliente, Email),
    OMBRISA_FIELD(TRecCliente, CodFisc),      OMBRISA_FIELD(TRecCliente, Carta),
    OMBRISA_FIELD(TRecCliente, ScadeCarta),   OMBRISA_FIELD(TRecCliente, PartitaIva),
    OMBRISA_FIELD(TRecCliente, Iban),         OMBRISA_FIELD(TRecCliente, Documento),
    OMBRISA_FIELD(TRecCliente, Occupazione),  OMBRISA_FIELD(TRecCliente, Civile),
    OMBRISA_FIELD(TRecCliente, Titoli),       OMBRISA_FIELD(TRecCliente, Prodotti),
    OMBRISA_FIELD(TRecCliente, Zona),         OMBRISA_FIELD(TRecCliente, Questioni),
    OMBRISA_FIELD(TRecCliente, Note),         OMBRISA_FIELD(TRecCliente, Ricontatta),
    OMBRISA_FIELD(TRecCliente, File01),       OMBRISA_FIELD(TRecCliente, File02),
    OMBRISA_FIELD(TRecCliente, File03),       OMBRISA_FIELD(TRecCliente, Desc01),
    OMBRISA_FIELD(TRecCliente, Desc02),       OMBRISA_FIELD(TRecCliente, Desc03),
}};
static_assert(isPackedTable(kClienteFields, sizeof(TRecCliente)));
inline constexpr ArchiveInfo kClienteArchive{"clienti", "Contatti.pro", sizeof(TRecCliente), kClienteFields};

// A call card of "Registro_Chiamate.pro".
struct TRecChiamata {
    ShortString<2> GiornoRit;
    ShortString<10> MeseRit;
    ShortString<4> AnnoRit;
    ShortString<10> DataRit;
    ShortString<2> OreRit;
    ShortString<2> MinutiRit;
    ShortString<5> OraRit;
    ShortString<20> Tipo;
    ShortString<250> Oggetto;
    ShortString<250> Esito;
    ShortString<50> Grado;
    ShortString<50> Durata;
    ShortString<50> Cliente;
    ShortString<16> CodFisc;
    ShortString<50> Zona;
    ShortString<50> Recapito;
    ShortString<30> TelCel;
    ShortString<50> Email;
    ShortString<250> Note;
    ShortString<120> Operatore;
};
static_assert(sizeof(TRecChiamata) == 1291 && std::is_standard_layout_v<TRecChiamata>);

inline constexpr std::array<FieldDef, 20> kChiamataFields{{
    OMBRISA_FIELD(TRecChiamata, GiornoRit), OMBRISA_FIELD(TRecChiamata, MeseRit),
    OMBRISA_FIELD(TRecChiamata, AnnoRit),   OMBRISA_FIELD(TRecChiamata, DataRit),
    OMBRISA_FIELD(TRecChiamata, OreRit),    OMBRISA_FIELD(TRecChiamata, MinutiRit),
    OMBRISA_FIELD(TRecChiamata, OraRit),    OMBRISA_FIELD(TRecChiamata, Tipo),
    OMBRISA_FIELD(TRecChiamata, Oggetto),   OMBRISA_FIELD(TRecChiamata, Esito),
    OMBRISA_FIELD(TRecChiamata, Grado),     OMBRISA_FIELD(TRecChiamata, Durata),
    OMBRISA_FIELD(TRecChiamata, Cliente),   OMBRISA_FIELD(TRecChiamata, CodFisc),
    OMBRISA_FIELD(TRecChiamata, Zona),      OMBRISA_FIELD(TRecChiamata, Recapito),
    OMBRISA_FIELD(TRecChiamata, TelCel),    OMBRISA_FIELD(TRecChiamata, Email),
    OMBRISA_FIELD(TRecChiamata, Note),      OMBRISA_FIELD(TRecChiamata, Operatore),
}};
static_assert(isPackedTable(kChiamataFields, sizeof(TRecChiamata)));
inline constexpr ArchiveInfo kChiamataArchive{"chiamate", "Registro_Chiamate.pro", sizeof(TRecChiamata),
                                              kChiamataFields};

// An agent card of "Archivio_Dipendenti.pro". The photo of card n is Anagrafica/Scheda_Dipendente_n.jpg.
struct TRecDipendente {
    ShortString<50> Dipendente;
    ShortString<1> Sesso;
    ShortString<10> DataNasc;
    ShortString<50> Cittadinanza;
    ShortString<50> LuogoNasc;
    ShortString<120> Indirizzo;
    ShortString<50> Citta;
    ShortString<10> Cap;
    ShortString<50> Nazione;
    ShortString<16> CodFisc;
    ShortString<50> Civile;
    ShortString<11> PartitaIva;
    ShortString<120> Studio;
    ShortString<120> Lingue;
    ShortString<50> Email;
    ShortString<30> Tel;
    ShortString<30> Cel;
    ShortString<50> Qualifica;
    ShortString<50> Reparto;
    ShortString<120> Disponibilita;
    ShortString<250> Mansioni;
    ShortString<27> Iban;
    ShortString<10> DataAss;
    ShortString<250> Retribuzione;
    ShortString<250> Note;
    ShortString<250> File01;
    ShortString<250> File02;
    ShortString<250> File03;
    ShortString<250> Desc01;
    ShortString<250> Desc02;
    ShortString<250> Desc03;
};
static_assert(sizeof(TRecDipendente) == 3356 && std::is_standard_layout_v<TRecDipendente>);

inline constexpr std::array<FieldDef, 31> kDipendenteFields{{
    OMBRISA_FIELD(TRecDipendente, Dipendente), OMBRISA_FIELD(TRecDipendente, Sesso),
    OMBRISA_FIELD(TRecDipendente, DataNasc),   OMBRISA_FIELD(TRecDipendente, Cittadinanza),
    OMBRISA_FIELD(TRecDipendente, LuogoNasc),  OMBRISA_FIELD(TRecDipendente, Indirizzo),
    OMBRISA_FIELD(TRecDipendente, Citta),      OMBRISA_FIELD(TRecDipendente, Cap),
    OMBRISA_FIELD(TRecDipendente, Nazione),    OMBRISA_FIELD(TRecDipendente, CodFisc),
    OMBRISA_FIELD(TRecDipendente, Civile),     OMBRISA_FIELD(TRecDipendente, PartitaIva),
    OMBRISA_FIELD(TRecDipendente, Studio),     OMBRISA_FIELD(TRecDipendente, Lingue),
    OMBRISA_FIELD(TRecDipendente, Email),      OMBRISA_FIELD(TRecDipendente, Tel),
    OMBRISA_FIELD(TRecDipendente, Cel),        OMBRISA_FIELD(TRecDipendente, Qualifica),
    OMBRISA_FIELD(TRecDipendente, Reparto),    OMBRISA_FIELD(TRecDipendente, Disponibilita),
    OMBRISA_FIELD(TRecDipendente, Mansioni),   OMBRISA_FIELD(TRecDipendente, Iban),
    OMBRISA_FIELD(TRecDipendente, DataAss),    OMBRISA_FIELD(TRecDipendente, Retribuzione),
    OMBRISA_FIELD(TRecDipendente, Note),       OMBRISA_FIELD(TRecDipendente, File01),
    OMBRISA_FIELD(TRecDipendente, File02),     OMBRISA_FIELD(TRecDipendente, File03),
    OMBRISA_FIELD(TRecDipendente, Desc01),     OMBRISA_FIELD(TRecDipendente, Desc02),
    OMBRISA_FIELD(TRecDipendente, Desc03),
}};
static_assert(isPackedTable(kDipendenteFields, sizeof(TRecDipendente)));
inline constexpr ArchiveInfo kDipendenteArchive{"dipendenti", "Archivio_Dipendenti.pro", sizeof(TRecDipendente),
                                                kDipendenteFields};

// One piece of work in an agent's register, Archivio_Lavori/Lavori_Dipendente_CF_<codice fiscale>.pro.
struct TRecLavoro {
    ShortString<10> Data;
    ShortString<50> Attivita;
    ShortString<28> Luogo;
    ShortString<28> Orario;
    ShortString<28> TotOre;
};
static_assert(sizeof(TRecLavoro) == 149 && std::is_standard_layout_v<TRecLavoro>);

inline constexpr std::array<FieldDef, 5> kLavoroFields{{
    OMBRISA_FIELD(TRecLavoro, Data),
    OMBRISA_FIELD(TRecLavoro, Attivita),
    OMBRISA_FIELD(TRecLavoro, Luogo),
    OMBRISA_FIELD(TRecLavoro, Orario),
    OMBRISA_FIELD(TRecLavoro, TotOre),
}};
static_assert(isPackedTable(kLavoroFields, sizeof(TRecLavoro)));
inline constexpr ArchiveInfo kLavoroArchive{"lavori", "Archivio_Lavori/Lavori_Dipendente_CF_", sizeof(TRecLavoro),
                                            kLavoroFields};

inline constexpr std::array<const ArchiveInfo*, 4> kArchives{&kClienteArchive, &kChiamataArchive, &kDipendenteArchive,
                                                             &kLavoroArchive};

} // namespace ombrisa
