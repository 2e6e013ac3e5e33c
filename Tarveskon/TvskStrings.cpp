// The program's own strings: the built-in Italian texts by id.
#include "TvskStrings.h"

#include <ZoSupport/ResourceString.h>

#include <iterator>

namespace
{

constexpr RESOURCE_STRING kStrings[] = {
    {100, "Inizializzazione OLE non riuscita.\nIl programma viene chiuso."},
    {107, "Versione del browser errata.\nInstallare Internet Explorer 4.0 o superiore"},
    {2000, "Impossibile caricare il Plugin"},
    {2001, "Impossibile caricare il componente del Plugin"},
    {2002, "File dati (*.dat)|*.dat|Tutti i Files (*.*)|*.*||"},
    {2003, "Salvo la configurazione corrente ?"},
    {2004, "Errore nel salvataggio della configurazione"},
    {2005, "Oscilloscopio"},
    {2006, "Download parametri"},
    {2007, "Editor camme"},
    {2008, "Errore nel caricamento della configurazione"},
    {2009, "Errore nel caricamento del file parametri associato"},
    {2010, "Errore di sintassi nel database motori"},
    {2011, "Memoria insufficiente per il database motori"},
    {2012, "Impossibile leggere il database motori"},
    {2013, "Database motori non trovato"},
    {2014, "Errore di sintassi nel database drives"},
    {2015, "Memoria insufficiente per il database drives"},
    {2016, "Impossibile leggere il database drives"},
    {2017, "Database drives non trovato"},
    {2018, "Il database drives non contiene drives"},
    {2019, "Il database motori non contiene motori"},
    {2020, "time out"},
    {2021, "tipo parametro non valido"},
    {2022, "canale di comunicazione bloccato"},
    {2023, "errore nel pacchetto dati"},
    {2024, "checksum errata"},
    {2025, "indice di parametro non valido"},
    {2026, "errore nella risposta"},
    {2027, "porta di comunicazione non valida"},
    {2028, "baud rate non valido"},
    {2029, "impostazione della linea non corretta"},
    {2030, "parametri di connessione non indicati"},
    {2031, "porta di comunicazione non attiva"},
    {2032, "porta di comunicazione non aperta"},
    {2033, "tipo di porta non valido"},
    {2034, "Errore di comunicazione"},
    {2035, "Impossibile copiare il motore nella configurazione"},
    {2036, "Impossibile copiare il drive nella configurazione"},
    {2037, "&Informazioni su..."},
    {2038, "Versioni"},
    {2039, "Tarveskon"},
    {2040, "Parametri"},
    {2041, "DB Motori"},
    {2042, "DB Drives"},
    {2043, "Senza nome"},
    {2044, "n/a"},
    {2045, "Nome parametro non trovato"},
    {2046, "Parametro non trovato"},
    {2047, "File parametri chiuso"},
    {2048, "Valore fuori dai limiti"},
    {2049, "Errore nella lettura del parametro"},
    {2050, "Parametro non presente nel monitor"},
    {2051, "Errore nella scrittura del parametro"},
    {2052, "Errore nella scrittura del parametro.\nRitentare ?"},
    {2053, "Errore nella lettura del parametro.\nRitentare ?"},
    {2054, "Comando non disponibile"},
    {2055, "Avanti"},
    {2056, "Esci"},
    {2057, "Operazione annullata"},
    {2058, "Con questa operazione verranno caricati i valori di default\ndei parametri associati al nuovo "
           "modo operativo"},
    {2059, "Errore nell'invio del comando"},
    {2060, "Impossibile eseguire l'operazione\nDownload in modalità esclusiva"},
    {2061, "Operazione non disponibile"},
    {2062, "Drive sconosciuto"},
    {2063, "Entrando in OnLine i dati configurati verranno persi!\nContinuare ?"},
    {2064, "Errore in fase di scrittura del LumoPLC nel drive"},
    {2065, "Errore di comunicazione con il drive"},
    {2066, "Parametri"},
    {2067, "LumoPLC"},
    {2068, "Camma"},
    {2069, "Parametri"},
    {2070, "LumoPLC"},
    {2071, "Invia e salva"},
    {2072, "Salva"},
    {2073, "Scarica"},
    {2074, "Lettura parametri in corso ..."},
    {2075, "Comunicazione attiva"},
    {2076, "Comunicazione interrotta"},
    {2077, "Corrente nominale motore incompatibile con il drive selezionato\nProseguire?"},
    {2078, "Corrente nominale drive incompatibile con il motore selezionato\nProseguire?"},
    {2079, "Motore non compatibile con il drive"},
    {2080, "Chiudi"},
    {2081, "Errore nel caricamento del file di VB script associato"},
    {2082, "Pagine"},
    {2083, "Impossibile scrivere in un parametro di sola lettura"},
    {2084,
     "Specifica di indirizzo non valida, formati possibili:\n\n\t- addr\n\t- addr.bit\n\t- addrHi:AddrLo\n"},
    {2085, "Indirizzo e dimensione di parametro già esistente"},
    {2086, "File importato.\nSelezionare drive e motore prima di avviare il wizard."},
    {2087, "File dati (*.dat)|*.dat|File dati desueti(*.slv)|*.slv|Tutti i Files (*.*)|*.*||"},
    {2088, "Un file .slv si può importare solo dalla pagina iniziale"},
    {2089, "Release %s"},
    {2090, "Installati"},
    {2091, "Motore sconosciuto"},
    {2092, "Selezionare prima il drive"},
    {2093, "Riconoscimento del motore non disponibile per questo drive"},
    {2094, "Comparazione parametri in corso ..."},
    {2095, "Lettura parametri dal drive"},
    {2096, "Scrittura parametri nel drive"},
    {2097, "Comparazione parametri con il drive"},
    {2098, "Connessione"},
    {2099, "Mantengo i parametri motore importati ?"},
    {2100, "Errore di apertura del file"},
    {2101, "Comparazione parametri con un file"},
    {2102, "Comparazione tra tipi di drive differenti"},
    {2103, "Salva logfile come .."},
    {2104, "Scrittura parametri in corso ..."},
    {2105, "Scrittura dati camme in corso ..."},
    {2106, "Scrittura LumoPLC in corso ..."},
    {2107, "Timeot di comunicazione con il drive.\nLa connessione con il drive viene interrotta."},
    {2108, "Dati del motore incompleti"},
    {2109, "Dati del drive incompleti"},
    {2110, "Errore. Encoder ignoto"},
    {2111, "Avvio del programma non riuscito"},
    {2112, "Pagina non trovata"},
    {2113, "Nome del file non valido"},
    {2130,
     "Nessuna configurazione aperta.\nAprire un file o avviare il wizard prima di leggere o confrontare i "
     "parametri."},
    {2131, "Selezionare il motore prima di avviare il wizard"},
    {2132, "Drive non connesso.\nConnettersi al drive prima di leggere o scrivere i parametri."},
    {2133, "Il drive non ha risposto alla lettura del bit di abilitazione del LumoPLC: nulla è stato scritto "
           "nel drive"},
    {2134, "Il LumoPLC del drive non è abilitato: nulla è stato scritto nel drive"},
    {2135, "%d di %d"},
    {2136, "La linea è molto più lenta della sua velocità nominale: %d ms per scambio invece di circa %d ms"},
    {2137, "Scrittura camme annullata: il drive contiene i primi %d punti nuovi su %d, gli altri sono quelli "
           "di prima"},
    {2138, "Scrittura LumoPLC annullata: il programma nel drive ora è vuoto (solo END)"},
    {2139, "Scrittura LumoPLC annullata: il programma nel drive è incompleto (%d parole nuove su %d), "
           "riscriverlo prima di usarlo"},
    {2140, "Scrittura parametri annullata dopo %d parametri su %d: per gli altri il drive mantiene i valori "
           "di prima"},
    {2141, "Lettura parametri annullata dopo %d parametri su %d: il drive non è cambiato, per gli altri la "
           "configurazione mantiene i suoi valori"},
};

constexpr UINT kIds[] = {
    100,  107,  2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009, 2010, 2011, 2012, 2013,
    2014, 2015, 2016, 2017, 2018, 2019, 2020, 2021, 2022, 2023, 2024, 2025, 2026, 2027, 2028, 2029,
    2030, 2031, 2032, 2033, 2034, 2035, 2036, 2037, 2038, 2039, 2040, 2041, 2042, 2043, 2044, 2045,
    2046, 2047, 2048, 2049, 2050, 2051, 2052, 2053, 2054, 2055, 2056, 2057, 2058, 2059, 2060, 2061,
    2062, 2063, 2064, 2065, 2066, 2067, 2068, 2069, 2070, 2071, 2072, 2073, 2074, 2075, 2076, 2077,
    2078, 2079, 2080, 2081, 2082, 2083, 2084, 2085, 2086, 2087, 2088, 2089, 2090, 2091, 2092, 2093,
    2094, 2095, 2096, 2097, 2098, 2099, 2100, 2101, 2102, 2103, 2104, 2105, 2106, 2107, 2108, 2109,
    2110, 2111, 2112, 2113, 2130, 2131, 2132, 2133, 2134, 2135, 2136, 2137, 2138, 2139, 2140, 2141,
};

} // namespace

void RegisterTvskStrings()
{
    RegisterResourceStrings(nullptr, kStrings, static_cast<int>(std::size(kStrings)));
}

const UINT* TvskStringIds(int* count)
{
    *count = static_cast<int>(std::size(kIds));
    return kIds;
}
