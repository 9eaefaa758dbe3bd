#include "ui/export/exporthelp.h"

namespace ombrisa {

namespace {

const QString kDopo = QStringLiteral(
    "Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di Excel. Questa "
    "operazione crea in tempo reale un file in formato XLS contenente le schede in %1, che potrà essere aperto "
    "immediatamente rispondendo affermativamente al messaggio di domanda che appare.");
const QString kSalvare = QStringLiteral(
    "A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi.");
const QString kSoftware = QStringLiteral(
    ", che potrà essere aperto con qualsiasi software in grado di gestire i file in formato XLS (ad esempio, con Open "
    "Office, Libre Office o Microsoft Office).");

} // namespace

const QStringList& exportHelpParagraphs(ExportKind kind) {
    static const QStringList chiamate{
        QStringLiteral("Il pulsante Esporta archivio consente di esportare il Registro annuale delle chiamate in un "
                       "file di Microsoft Excel") +
            kSoftware,
        kDopo.arg(QStringLiteral("archivio")), kSalvare};
    static const QStringList clienti{
        QStringLiteral("Il pulsante Esporta archivio consente di esportare i dati anagrafici di tutti i clienti in un "
                       "foglio di lavoro di Microsoft Excel") +
            kSoftware,
        kDopo.arg(QStringLiteral("archivio")), kSalvare};
    static const QStringList oggi{
        QStringLiteral(
            "Il pulsante Chiamate di oggi consente di visualizzare il riepilogo di tutte le telefonate "
            "effettuate e ricevute nella data odierna e di esportare lo stesso riepilogo in un file di Excel") +
            kSoftware,
        kDopo.arg(QStringLiteral("elenco")), kSalvare};
    static const QStringList storico{
        QStringLiteral("Il pulsante Storico chiamate consente di visualizzare il riepilogo di tutte le telefonate "
                       "effettuate al cliente e ricevute dal cliente e di esportare lo stesso riepilogo in un file di "
                       "Excel") +
            kSoftware,
        kDopo.arg(QStringLiteral("elenco")), kSalvare};
    switch (kind) {
    case ExportKind::Chiamate:
        return chiamate;
    case ExportKind::Clienti:
        return clienti;
    case ExportKind::Oggi:
        return oggi;
    case ExportKind::Storico:
        break;
    }
    return storico;
}

} // namespace ombrisa
