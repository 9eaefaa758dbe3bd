#include "core/storage/syserror.h"

#include <cerrno>

namespace ombrisa {

QString systemErrorText(int err) {
    switch (err) {
    case 0:
        return QStringLiteral("nessun errore");
    case ENOENT:
        return QStringLiteral("file o cartella inesistente");
    case EACCES:
        return QStringLiteral("permesso negato");
    case EPERM:
        return QStringLiteral("operazione non permessa");
    case ENOSPC:
        return QStringLiteral("spazio esaurito sul disco");
    case EDQUOT:
        return QStringLiteral("quota disco superata");
    case EROFS:
        return QStringLiteral("file system in sola lettura");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura sul dispositivo");
    case EISDIR:
        return QStringLiteral("è una cartella");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case ELOOP:
        return QStringLiteral("troppi collegamenti simbolici");
    case ENAMETOOLONG:
        return QStringLiteral("nome troppo lungo");
    case EAGAIN:
        return QStringLiteral("risorsa temporaneamente occupata");
    case EBUSY:
        return QStringLiteral("risorsa occupata");
    case EEXIST:
        return QStringLiteral("esiste già");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case ENOLCK:
        return QStringLiteral("blocchi dei file non disponibili");
    case EINVAL:
        return QStringLiteral("argomento non valido");
    case EFBIG:
        return QStringLiteral("file troppo grande");
    case ETIMEDOUT:
        return QStringLiteral("tempo scaduto");
    case ESTALE:
        return QStringLiteral("riferimento a un file di rete non più valido");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("dispositivo inesistente");
    case EXDEV:
        return QStringLiteral("spostamento tra file system diversi non possibile");
    case EINTR:
        return QStringLiteral("operazione interrotta");
    case EBADF:
        return QStringLiteral("descrittore di file non valido");
    case ENOMEM:
        return QStringLiteral("memoria esaurita");
    case ENOTEMPTY:
        return QStringLiteral("cartella non vuota");
    case EOPNOTSUPP:
        return QStringLiteral("operazione non supportata dal file system");
    default:
        return QStringLiteral("errore di sistema n. %1").arg(err);
    }
}

} // namespace ombrisa
