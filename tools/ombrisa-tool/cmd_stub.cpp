#include "commands.h"
namespace tool {
int generate(const QStringList&) { return usageError(QStringLiteral("generate: non disponibile")); }
int dump(const QStringList&) { return usageError(QStringLiteral("dump: non disponibile")); }
int verify(const QStringList&) { return usageError(QStringLiteral("verify: non disponibile")); }
} // namespace tool
