// check cf|piva|iban|carta VALUE: the code checks of the program's dialogs, from the command line.
#include "commands.h"

#include "core/storage/textfield.h"
#include "core/validators/carta.h"
#include "core/validators/codicefiscale.h"
#include "core/validators/iban.h"
#include "core/validators/partitaiva.h"

#include <QTextStream>
#include <cstdio>

namespace tool {

namespace {

struct Check {
    const char* word;
    ombrisa::CheckOutcome (*run)(QStringView);
};

const Check kChecks[] = {
    {"cf", ombrisa::checkCodiceFiscale},
    {"piva", ombrisa::checkPartitaIva},
    {"iban", ombrisa::checkIban},
    {"carta", ombrisa::checkCarta},
};

} // namespace

// Prints the message the dialog would show, its CR LF pairs as line breaks. The value is trimmed, as
// the card screens trim a field before they hand it to the dialog. Exit 0 for a valid code, 1 for a
// wrong one or a length warning.
int check(const QStringList& args) {
    if (args.size() != 2)
        return usageError(QStringLiteral("check: indicare il tipo di codice (cf, piva, iban, carta) e il valore"));
    for (const Check& c : kChecks) {
        if (args[0] != QLatin1String(c.word))
            continue;
        const ombrisa::CheckOutcome outcome = c.run(ombrisa::trimView(args[1]));
        QString text = outcome.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QTextStream(stdout) << text << '\n';
        return outcome.verdict == ombrisa::CheckVerdict::Valid ? 0 : 1;
    }
    return usageError(QStringLiteral("check: tipo di codice sconosciuto \"%1\" (cf, piva, iban, carta)").arg(args[0]));
}

} // namespace tool
